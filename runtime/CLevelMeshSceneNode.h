#ifndef VISTEL_C_LEVEL_MESH_SCENE_NODE_H_INCLUDED
#define VISTEL_C_LEVEL_MESH_SCENE_NODE_H_INCLUDED

#include "ILoadProgress.h"

#include <IMeshBuffer.h>
#include <IMeshSceneNode.h>
#include <SMaterial.h>

#include <vector>

namespace vistel
{

//! Scene node of the level: draws the level mesh's own buffers, culled by
//! spatial chunks.
/** Behaves as the engine's octree scene node does for the preview: one
material per mesh buffer with geometry (a copy, changed through getMaterial),
solid buffers drawn in the solid pass and transparent ones in the transparent
pass, the mesh's bounding box as the node's own, and the node's scale applied
to everything. Unlike the engine's node it keeps no copy of the vertices or
indices: at construction it reorders each buffer's triangles along a
space-filling curve and renumbers its vertices in order of first use, so that
every run of minimalPolysPerNode triangles is a chunk with a small bounding
box, a contiguous index range and a compact vertex range. A balanced tree of
chunk boxes per buffer is tested against the view frustum at every pass, and
the visible index ranges are drawn straight from the buffer (one draw when they
join up, else gathered into one index list per buffer). The mesh is grabbed
and its buffers must not change while the node lives.

The reordering changes the mesh itself, which the scene manager keeps in its
mesh cache and hands to whoever asks for the level: each buffer keeps the same
triangles, with the same vertex values, but under other triangle and vertex
numbers, and its triangles with an index past the buffer's vertices are moved
to the end. Nothing may keep such numbers across the node's construction:
whatever keeps them (CLevelTriangleSelector does) is made after the node, and
what copies the triangles (the engine's selectors, a mesh copy with tangents)
may be made before or after. */
class CLevelMeshSceneNode : public irr::scene::IMeshSceneNode
{
public:
	//! progress, when given, is told after every buffer how the building
	//! goes (the building stage); when it asks to stop, the buffers not yet
	//! ordered are left out.
	CLevelMeshSceneNode(irr::scene::IMesh* mesh, irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager,
		irr::s32 id, irr::u32 minimalPolysPerNode, ILoadProgress* progress = 0);
	~CLevelMeshSceneNode() override;

	void OnRegisterSceneNode() override;
	void render() override;
	const irr::core::aabbox3d<irr::f32>& getBoundingBox() const override;
	irr::video::SMaterial& getMaterial(irr::u32 i) override;
	irr::u32 getMaterialCount() const override;
	irr::scene::ESCENE_NODE_TYPE getType() const override { return irr::scene::ESNT_OCTREE; }

	//! Rebuilds the chunks for another mesh; the materials are taken anew.
	void setMesh(irr::scene::IMesh* mesh) override;
	irr::scene::IMesh* getMesh() override { return Mesh; }
	//! Shadow volumes are not used by the preview.
	irr::scene::IShadowVolumeSceneNode* addShadowVolumeSceneNode(const irr::scene::IMesh* shadowMesh = 0,
		irr::s32 id = -1, bool zfailmethod = true, irr::f32 infinity = 1000.0f) override;
	void setReadOnlyMaterials(bool) override {}
	bool isReadOnlyMaterials() const override { return false; }

	//! Number of chunks over all buffers (for tests and measurements).
	irr::u32 getChunkCount() const;

	//! A buffer's triangles as the node ordered them: its first
	//! TriangleCount triangles are the drawable ones, and triangles
	//! k × getChunkSize() up to the next (at most TriangleCount) are chunk k,
	//! whose corners all lie in ChunkBoxes[k]. A buffer whose ordering was
	//! stopped has no chunks.
	struct SChunkedBuffer
	{
		irr::scene::IMeshBuffer* Buffer;
		irr::u32 TriangleCount;
		irr::u32 ChunkCount;
		const irr::core::aabbox3df* ChunkBoxes;
	};
	//! Every buffer the node draws, in the mesh's order; valid while the
	//! node keeps its mesh.
	std::vector<SChunkedBuffer> getChunkedBuffers() const;
	irr::u32 getChunkSize() const { return ChunkSize; }

private:
	struct SChunkTree
	{
		irr::scene::IMeshBuffer* Buffer;
		irr::u32 Material;      //!< position in Materials
		irr::u32 TriangleCount; //!< drawable triangles, first in the index list
		irr::u32 LeafCount;
		//! Boxes of a complete binary tree in heap order: node 1 is the root,
		//! node n has children 2n and 2n + 1; the leaves start at
		//! FirstLeaf, leaf l holds triangles l × ChunkSize up to the next.
		std::vector<irr::core::aabbox3df> Boxes;
		irr::u32 FirstLeaf;
	};

	void build(irr::scene::IMesh* mesh, ILoadProgress* progress = 0);
	static SChunkTree makeEmptyTree(irr::scene::IMeshBuffer* buffer, irr::u32 material);
	//! Orders the tree's buffer along the curve and fills its boxes; touches
	//! nothing but that buffer and the tree, so buffers can be built at once.
	void buildBuffer(SChunkTree& tree) const;
	void clear();
	//! Appends the triangle ranges of node n that lie not wholly outside the
	//! planes; ranges that touch are joined.
	void collect(const SChunkTree& tree, irr::u32 n, const irr::core::plane3df* planes, irr::u32 planeCount);
	void drawBuffer(const SChunkTree& tree);

	irr::scene::IMesh* Mesh;
	irr::u32 ChunkSize;
	irr::core::aabbox3df Box;
	std::vector<irr::video::SMaterial> Materials;
	std::vector<SChunkTree> Trees;
	//! Per-pass scratch: the visible ranges (first triangle, count) and the
	//! gathered indices of one buffer.
	std::vector<irr::u32> Ranges;
	std::vector<irr::u8> GatheredIndices;
};

} // end namespace vistel

#endif

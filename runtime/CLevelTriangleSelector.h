#ifndef VISTEL_C_LEVEL_TRIANGLE_SELECTOR_H_INCLUDED
#define VISTEL_C_LEVEL_TRIANGLE_SELECTOR_H_INCLUDED

#include "ILoadProgress.h"

#include <ITriangleSelector.h>

#include <vector>

namespace irr
{
namespace scene
{
class IMesh;
class IMeshBuffer;
}
}

namespace vistel
{

class CLevelMeshSceneNode;

//! Octree triangle selector over the level mesh itself.
/** Answers like the engine's octree triangle selector (a box query returns
every triangle that is not wholly outside the box, in the node's world
space), but keeps no copy of the triangles: its octree holds 4-byte triangle
numbers over the mesh's own vertices and indices, all in one list, and every
triangle sits in a leaf (node boxes are those of their triangles). That
makes it several times faster to build on a large level, a small fraction of
the memory, and a query tests few triangles. The mesh is grabbed and must not
change while the selector lives: its octree holds the mesh's triangle numbers,
so a CLevelMeshSceneNode, which reorders the triangles of the mesh it is given,
must be made before the selector. Triangles with an index past their buffer's
vertices are left out, from the count as from every query. The node is not
grabbed, as with the engine's selectors. */
class CLevelTriangleSelector : public irr::scene::ITriangleSelector
{
public:
	//! minimalPolysPerNode: a node with no more triangles is not split.
	//! progress, when given, is told how the building goes (the collision
	//! stage); when it asks to stop, the selector is left without triangles.
	CLevelTriangleSelector(irr::scene::IMesh* mesh, irr::scene::ISceneNode* node, irr::u32 minimalPolysPerNode,
		ILoadProgress* progress = 0);
	//! The selector of a level node's own mesh, built from the chunks the
	//! node has already ordered: each chunk is a leaf with the node's box for
	//! it, and the leaves are grouped eight by eight along the node's order,
	//! which keeps neighbours in space together. It answers every query with
	//! the same triangles as a selector built from scratch over the mesh,
	//! and takes a small part of its time: no triangle is read or sorted.
	explicit CLevelTriangleSelector(CLevelMeshSceneNode* levelNode, ILoadProgress* progress = 0);
	~CLevelTriangleSelector() override;

	irr::s32 getTriangleCount() const override;
	void getTriangles(irr::core::triangle3df* triangles, irr::s32 arraySize, irr::s32& outTriangleCount,
		const irr::core::matrix4* transform = 0) const override;
	void getTriangles(irr::core::triangle3df* triangles, irr::s32 arraySize, irr::s32& outTriangleCount,
		const irr::core::aabbox3d<irr::f32>& box, const irr::core::matrix4* transform = 0) const override;
	void getTriangles(irr::core::triangle3df* triangles, irr::s32 arraySize, irr::s32& outTriangleCount,
		const irr::core::line3d<irr::f32>& line, const irr::core::matrix4* transform = 0) const override;
	irr::scene::ISceneNode* getSceneNodeForTriangle(irr::u32 triangleIndex) const override;
	irr::u32 getSelectorCount() const override;
	irr::scene::ITriangleSelector* getSelector(irr::u32 index) override;
	const irr::scene::ITriangleSelector* getSelector(irr::u32 index) const override;

private:
	struct SBuffer
	{
		const irr::u8* Vertices;
		irr::u32 Pitch;
		irr::u32 VertexCount;
		const irr::u16* Indices16;
		const irr::u32* Indices32;
		irr::u32 FirstTriangle;
	};
	struct SNode
	{
		irr::core::aabbox3df Box; //!< every triangle of the node and below
		irr::u32 First, Count;    //!< its own triangles in Order
		irr::u32 Children[8];     //!< node numbers; 0 for none
	};

	//! Takes the buffers with triangles into Buffers, numbering their
	//! triangles one after the other.
	void addBuffer(irr::scene::IMeshBuffer* buffer);
	//! Notes every triangle's buffer where 16 bits number them.
	void noteTriangleBuffers();
	//! A node over the given ones: no triangles of its own, their boxes.
	irr::u32 addParent(const irr::u32* children, irr::u32 count);
	//! Puts every eight neighbours of nodes under a parent, until at most
	//! most are left; nodes then holds those.
	void groupByEight(std::vector<irr::u32>& nodes, std::vector<irr::u32>& scratch, std::size_t most);
	//! Forgets everything of a stopped build.
	void forgetTriangles();
	//! Triangle t in the mesh's own space; false for one whose index runs
	//! past its buffer.
	bool getTriangle(irr::u32 t, irr::core::triangle3df& triangle) const;
	irr::u32 build(irr::u32 first, irr::u32 count, irr::u32 depth, const irr::core::aabbox3df& centres,
		const std::vector<irr::core::vector3df>& centroids, irr::u32* scratch, irr::u8* groups);
	//! Tells the progress hook how far the building got; throws SBuildStopped
	//! when it asks to stop.
	void reportProgress();
	irr::core::matrix4 getOutputTransform(const irr::core::matrix4* transform) const;
	void collect(irr::u32 nodeIndex, const irr::core::aabbox3df& box, const irr::core::matrix4& output,
		irr::core::triangle3df* triangles, irr::s32 arraySize, irr::s32& written) const;

	irr::scene::IMesh* Mesh;
	irr::scene::ISceneNode* SceneNode;
	irr::u32 MinimalPolysPerNode;
	std::vector<SBuffer> Buffers;
	irr::u32 TriangleCount; //!< every triangle of the index lists, readable or not
	//! The buffer of every triangle (empty when there are too many buffers
	//! to number in 16 bits).
	std::vector<irr::u16> TriangleBuffers;
	//! The readable triangles' numbers, grouped node by node.
	std::vector<irr::u32> Order;
	std::vector<SNode> Nodes;

	// While the constructor builds: the hook, and how many triangles had
	// their centres taken and reached a leaf.
	struct SBuildStopped
	{
	};
	ILoadProgress* Progress;
	irr::u32 CentresTaken, TrianglesPlaced;
};

} // end namespace vistel

#endif

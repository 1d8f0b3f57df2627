#include "CLevelMeshSceneNode.h"
#include "HelperThreadLoop.h"

#include <ICameraSceneNode.h>
#include <IMaterialRenderer.h>
#include <IMesh.h>
#include <IMeshBuffer.h>
#include <ISceneManager.h>
#include <IVideoDriver.h>
#include <SViewFrustum.h>

#include <algorithm>
#include <cstring>
#include <limits>

using namespace irr;

namespace vistel
{

namespace
{

const u32 NoVertex = std::numeric_limits<u32>::max();

u32 readIndex(const void* indices, video::E_INDEX_TYPE type, u32 k)
{
	return type == video::EIT_16BIT ? static_cast<const u16*>(indices)[k] : static_cast<const u32*>(indices)[k];
}

void writeIndex(void* indices, video::E_INDEX_TYPE type, u32 k, u32 value)
{
	if (type == video::EIT_16BIT)
		static_cast<u16*>(indices)[k] = static_cast<u16>(value);
	else
		static_cast<u32*>(indices)[k] = value;
}

u32 indexSize(video::E_INDEX_TYPE type)
{
	return type == video::EIT_16BIT ? 2 : 4;
}

core::vector3df readPosition(const u8* vertices, u32 pitch, u32 v)
{
	// Every vertex type of the engine starts with its position.
	f32 position[3];
	std::memcpy(position, vertices + static_cast<std::size_t>(v) * pitch, sizeof(position));
	return core::vector3df(position[0], position[1], position[2]);
}

// Spreads the low 10 bits of x to every third bit.
u32 spreadBits(u32 x)
{
	x &= 0x3FF;
	x = (x | (x << 16)) & 0x030000FF;
	x = (x | (x << 8)) & 0x0300F00F;
	x = (x | (x << 4)) & 0x030C30C3;
	x = (x | (x << 2)) & 0x09249249;
	return x;
}

u32 quantise(f32 value, f32 low, f32 scale)
{
	const f32 q = (value - low) * scale;
	if (!(q > 0.f))
		return 0;
	return q >= 1023.f ? 1023u : static_cast<u32>(q);
}

// The plane in the node's own space, for a node whose absolute
// transformation is m: a point y of the node lies at m × y, so the plane
// n·x + d = 0 becomes (mᵀ n)·y + (n·t + d) = 0, t being m's translation. No
// inverse is needed, so a node scaled to zero along an axis still culls.
core::plane3df toNodeSpace(const core::plane3df& plane, const core::matrix4& m)
{
	const core::vector3df& n = plane.Normal;
	core::plane3df local;
	local.Normal.X = n.X * m[0] + n.Y * m[1] + n.Z * m[2];
	local.Normal.Y = n.X * m[4] + n.Y * m[5] + n.Z * m[6];
	local.Normal.Z = n.X * m[8] + n.Y * m[9] + n.Z * m[10];
	local.D = n.X * m[12] + n.Y * m[13] + n.Z * m[14] + plane.D;
	return local;
}

} // end anonymous namespace

CLevelMeshSceneNode::CLevelMeshSceneNode(scene::IMesh* mesh, scene::ISceneNode* parent,
	scene::ISceneManager* manager, s32 id, u32 minimalPolysPerNode, ILoadProgress* progress)
	: IMeshSceneNode(parent, manager, id), Mesh(0), ChunkSize(std::max<u32>(minimalPolysPerNode, 1))
{
	build(mesh, progress);
}

CLevelMeshSceneNode::~CLevelMeshSceneNode()
{
	clear();
}

void CLevelMeshSceneNode::clear()
{
	Trees.clear();
	Materials.clear();
	Box.reset(0.f, 0.f, 0.f);
	if (Mesh)
		Mesh->drop();
	Mesh = 0;
}

void CLevelMeshSceneNode::setMesh(scene::IMesh* mesh)
{
	if (mesh)
		mesh->grab(); // the same mesh may be given again
	clear();
	build(mesh);
	if (mesh)
		mesh->drop();
}

void CLevelMeshSceneNode::build(scene::IMesh* mesh, ILoadProgress* progress)
{
	if (!mesh)
		return;
	mesh->grab();
	Mesh = mesh;
	Box = mesh->getBoundingBox();
	const u32 bufferCount = mesh->getMeshBufferCount();
	SLoadProgress report;
	report.Stage = ELS_BUILDING;
	if (progress)
		for (u32 i = 0; i < bufferCount; ++i)
			report.Triangles += mesh->getMeshBuffer(i)->getIndexCount() / 3;
	// As the engine's octree node: a material for every buffer that has
	// vertices and indices, in buffer order.
	std::vector<scene::IMeshBuffer*> drawn;
	for (u32 i = 0; i < bufferCount; ++i)
	{
		scene::IMeshBuffer* buffer = mesh->getMeshBuffer(i);
		if (!buffer || !buffer->getVertexCount() || !buffer->getIndexCount())
			continue;
		Materials.push_back(buffer->getMaterial());
		drawn.push_back(buffer);
	}
	// The buffers are independent of each other: a second core orders half
	// of them while this thread orders the rest and tells the progress hook
	// how far both got. A buffer whose turn never came (the user stopped)
	// keeps an empty tree and is not drawn.
	Trees.resize(drawn.size());
	for (std::size_t i = 0; i < drawn.size(); ++i)
		Trees[i] = makeEmptyTree(drawn[i], static_cast<u32>(i));
	runWithHelperThread(static_cast<unsigned>(drawn.size()),
		[&](unsigned i) { buildBuffer(Trees[i]); },
		[&](unsigned done) {
			report.StageDone = drawn.empty() ? 0.f : static_cast<f32>(done) / static_cast<f32>(drawn.size());
			return !progress || progress->onLoadProgress(report);
		});
}

CLevelMeshSceneNode::SChunkTree CLevelMeshSceneNode::makeEmptyTree(scene::IMeshBuffer* buffer, u32 material)
{
	SChunkTree tree;
	tree.Buffer = buffer;
	tree.Material = material;
	tree.TriangleCount = 0;
	tree.LeafCount = 0;
	tree.FirstLeaf = 1;
	return tree;
}

void CLevelMeshSceneNode::buildBuffer(SChunkTree& tree) const
{
	scene::IMeshBuffer* buffer = tree.Buffer;

	const u32 vertexCount = buffer->getVertexCount();
	const u32 pitch = video::getVertexPitchFromType(buffer->getVertexType());
	u8* vertices = static_cast<u8*>(buffer->getVertices());
	const video::E_INDEX_TYPE indexType = buffer->getIndexType();
	void* indices = buffer->getIndices();
	const u32 indexCount = buffer->getIndexCount();
	const u32 triangleCount = indexCount / 3;
	if (!vertices || !indices || !triangleCount)
		return;

	// Centres of the drawable triangles; one with an index past the buffer's
	// vertices is never drawn.
	std::vector<core::vector3df> centres;
	std::vector<u32> valid;
	centres.reserve(triangleCount);
	valid.reserve(triangleCount);
	core::aabbox3df bounds;
	for (u32 t = 0; t < triangleCount; ++t)
	{
		const u32 a = readIndex(indices, indexType, 3 * t);
		const u32 b = readIndex(indices, indexType, 3 * t + 1);
		const u32 c = readIndex(indices, indexType, 3 * t + 2);
		if (a >= vertexCount || b >= vertexCount || c >= vertexCount)
			continue;
		const core::vector3df centre = (readPosition(vertices, pitch, a) + readPosition(vertices, pitch, b)
			+ readPosition(vertices, pitch, c)) / 3.f;
		if (valid.empty())
			bounds.reset(centre);
		else
			bounds.addInternalPoint(centre);
		centres.push_back(centre);
		valid.push_back(t);
	}

	// Order the triangles along a Morton curve through their centres, so that
	// neighbours in the list are neighbours in space.
	const core::vector3df extent = bounds.getExtent();
	const f32 scaleX = extent.X > 0.f ? 1023.f / extent.X : 0.f;
	const f32 scaleY = extent.Y > 0.f ? 1023.f / extent.Y : 0.f;
	const f32 scaleZ = extent.Z > 0.f ? 1023.f / extent.Z : 0.f;
	std::vector<u64> keys(valid.size());
	for (std::size_t i = 0; i < valid.size(); ++i)
	{
		const core::vector3df& p = centres[i];
		const u32 code = spreadBits(quantise(p.X, bounds.MinEdge.X, scaleX))
			| (spreadBits(quantise(p.Y, bounds.MinEdge.Y, scaleY)) << 1)
			| (spreadBits(quantise(p.Z, bounds.MinEdge.Z, scaleZ)) << 2);
		keys[i] = (static_cast<u64>(code) << 32) | valid[i];
	}
	std::vector<core::vector3df>().swap(centres);
	std::sort(keys.begin(), keys.end());

	// Renumber the vertices in order of first use, so that a chunk's
	// vertices lie close together and a draw of a few chunks reads few of
	// them; unused vertices go last.
	std::vector<u32> renumber(vertexCount, NoVertex);
	u32 next = 0;
	const std::size_t oldIndexBytes = static_cast<std::size_t>(indexCount) * indexSize(indexType);
	std::vector<u8> oldIndices(static_cast<const u8*>(indices), static_cast<const u8*>(indices) + oldIndexBytes);
	tree.TriangleCount = static_cast<u32>(keys.size());
	tree.LeafCount = (tree.TriangleCount + ChunkSize - 1) / ChunkSize;
	while (tree.FirstLeaf < tree.LeafCount)
		tree.FirstLeaf *= 2;
	tree.Boxes.resize(2 * static_cast<std::size_t>(tree.FirstLeaf));
	for (u32 k = 0; k < tree.TriangleCount; ++k)
	{
		const u32 t = static_cast<u32>(keys[k] & 0xFFFFFFFFu);
		core::aabbox3df& leafBox = tree.Boxes[tree.FirstLeaf + k / ChunkSize];
		for (u32 j = 0; j < 3; ++j)
		{
			const u32 v = readIndex(oldIndices.data(), indexType, 3 * t + j);
			if (renumber[v] == NoVertex)
				renumber[v] = next++;
			writeIndex(indices, indexType, 3 * k + j, renumber[v]);
			const core::vector3df p = readPosition(vertices, pitch, v);
			if (k % ChunkSize == 0 && j == 0)
				leafBox.reset(p);
			else
				leafBox.addInternalPoint(p);
		}
	}
	std::vector<u64>().swap(keys);
	for (u32 v = 0; v < vertexCount; ++v)
		if (renumber[v] == NoVertex)
			renumber[v] = next++;
	// The triangles that are never drawn follow, with what indices they can
	// keep, and the index count's remainder stays as it was.
	u32 k = tree.TriangleCount;
	std::size_t nextValid = 0;
	for (u32 t = 0; t < triangleCount; ++t)
	{
		if (nextValid < valid.size() && valid[nextValid] == t)
		{
			++nextValid;
			continue;
		}
		for (u32 j = 0; j < 3; ++j)
		{
			const u32 v = readIndex(oldIndices.data(), indexType, 3 * t + j);
			writeIndex(indices, indexType, 3 * k + j, v < vertexCount ? renumber[v] : v);
		}
		++k;
	}
	std::vector<u8>().swap(oldIndices);

	// Move the vertices to their new numbers.
	std::vector<u8> oldVertices(vertices, vertices + static_cast<std::size_t>(vertexCount) * pitch);
	for (u32 v = 0; v < vertexCount; ++v)
		std::memcpy(vertices + static_cast<std::size_t>(renumber[v]) * pitch,
			oldVertices.data() + static_cast<std::size_t>(v) * pitch, pitch);
	buffer->setDirty();

	// Inner boxes, from the leaves up; a node whose leaves are all past the
	// last is empty and never looked at.
	for (u32 n = tree.FirstLeaf - 1; n >= 1; --n)
	{
		const u32 left = 2 * n, right = 2 * n + 1;
		tree.Boxes[n] = tree.Boxes[left];
		u32 first = right;
		while (first < tree.FirstLeaf)
			first *= 2;
		if (first - tree.FirstLeaf < tree.LeafCount)
			tree.Boxes[n].addInternalBox(tree.Boxes[right]);
	}
}

u32 CLevelMeshSceneNode::getChunkCount() const
{
	u32 count = 0;
	for (const SChunkTree& tree : Trees)
		count += tree.LeafCount;
	return count;
}

std::vector<CLevelMeshSceneNode::SChunkedBuffer> CLevelMeshSceneNode::getChunkedBuffers() const
{
	std::vector<SChunkedBuffer> buffers;
	buffers.reserve(Trees.size());
	for (const SChunkTree& tree : Trees)
	{
		SChunkedBuffer buffer;
		buffer.Buffer = tree.Buffer;
		buffer.TriangleCount = tree.LeafCount ? tree.TriangleCount : 0;
		buffer.ChunkCount = tree.LeafCount;
		buffer.ChunkBoxes = tree.LeafCount ? &tree.Boxes[tree.FirstLeaf] : 0;
		buffers.push_back(buffer);
	}
	return buffers;
}

void CLevelMeshSceneNode::OnRegisterSceneNode()
{
	if (!IsVisible)
		return;
	// Solid and transparent buffers may be mixed: the node is drawn in each
	// pass that one of its materials needs.
	video::IVideoDriver* driver = SceneManager->getVideoDriver();
	bool solid = false, transparent = false;
	for (const video::SMaterial& material : Materials)
	{
		const video::IMaterialRenderer* renderer = driver->getMaterialRenderer(material.MaterialType);
		if (renderer && renderer->isTransparent())
			transparent = true;
		else
			solid = true;
		if (solid && transparent)
			break;
	}
	if (solid)
		SceneManager->registerNodeForRendering(this, scene::ESNRP_SOLID);
	if (transparent)
		SceneManager->registerNodeForRendering(this, scene::ESNRP_TRANSPARENT);
	ISceneNode::OnRegisterSceneNode();
}

void CLevelMeshSceneNode::collect(const SChunkTree& tree, u32 n, const core::plane3df* planes, u32 planeCount)
{
	// The node's leaves: from first on, as many as lie below it.
	u32 first = n, span = 1;
	while (first < tree.FirstLeaf)
	{
		first *= 2;
		span *= 2;
	}
	first -= tree.FirstLeaf;
	if (first >= tree.LeafCount)
		return;

	const core::aabbox3df& box = tree.Boxes[n];
	bool inside = true;
	for (u32 i = 0; i < planeCount; ++i)
	{
		// The planes face outwards: the box is outside when even its corner
		// farthest against the normal is in front.
		const core::vector3df& normal = planes[i].Normal;
		const core::vector3df nearest(normal.X >= 0.f ? box.MinEdge.X : box.MaxEdge.X,
			normal.Y >= 0.f ? box.MinEdge.Y : box.MaxEdge.Y, normal.Z >= 0.f ? box.MinEdge.Z : box.MaxEdge.Z);
		if (normal.dotProduct(nearest) + planes[i].D > 0.f)
			return;
		const core::vector3df farthest(normal.X >= 0.f ? box.MaxEdge.X : box.MinEdge.X,
			normal.Y >= 0.f ? box.MaxEdge.Y : box.MinEdge.Y, normal.Z >= 0.f ? box.MaxEdge.Z : box.MinEdge.Z);
		if (normal.dotProduct(farthest) + planes[i].D > 0.f)
			inside = false;
	}
	if (inside || n >= tree.FirstLeaf)
	{
		const u32 begin = first * ChunkSize;
		const u32 end = std::min(std::min(first + span, tree.LeafCount) * ChunkSize, tree.TriangleCount);
		if (!Ranges.empty() && Ranges[Ranges.size() - 2] + Ranges.back() == begin)
			Ranges.back() += end - begin;
		else
		{
			Ranges.push_back(begin);
			Ranges.push_back(end - begin);
		}
		return;
	}
	collect(tree, 2 * n, planes, planeCount);
	collect(tree, 2 * n + 1, planes, planeCount);
}

void CLevelMeshSceneNode::drawBuffer(const SChunkTree& tree)
{
	video::IVideoDriver* driver = SceneManager->getVideoDriver();
	scene::IMeshBuffer* buffer = tree.Buffer;
	const video::E_INDEX_TYPE indexType = buffer->getIndexType();
	const std::size_t triangleBytes = 3 * static_cast<std::size_t>(indexSize(indexType));
	const u8* indices = reinterpret_cast<const u8*>(buffer->getIndices());
	u32 triangles = Ranges[1];
	if (Ranges.size() == 2)
		indices += Ranges[0] * triangleBytes;
	else
	{
		// Several runs: one draw of their indices gathered costs less than a
		// draw per run.
		GatheredIndices.clear();
		triangles = 0;
		for (std::size_t r = 0; r < Ranges.size(); r += 2)
		{
			const u8* from = indices + Ranges[r] * triangleBytes;
			GatheredIndices.insert(GatheredIndices.end(), from, from + Ranges[r + 1] * triangleBytes);
			triangles += Ranges[r + 1];
		}
		indices = GatheredIndices.data();
	}
	driver->drawVertexPrimitiveList(buffer->getVertices(), buffer->getVertexCount(), indices, triangles,
		buffer->getVertexType(), scene::EPT_TRIANGLES, indexType);
}

void CLevelMeshSceneNode::render()
{
	video::IVideoDriver* driver = SceneManager->getVideoDriver();
	scene::ICameraSceneNode* camera = SceneManager->getActiveCamera();
	if (!driver || !camera || Trees.empty())
		return;
	const bool transparentPass = SceneManager->getSceneNodeRenderPass() == scene::ESNRP_TRANSPARENT;
	driver->setTransform(video::ETS_WORLD, AbsoluteTransformation);

	const scene::SViewFrustum* frustum = camera->getViewFrustum();
	core::plane3df planes[scene::SViewFrustum::VF_PLANE_COUNT];
	const u32 planeCount = frustum ? static_cast<u32>(scene::SViewFrustum::VF_PLANE_COUNT) : 0u;
	for (u32 i = 0; i < planeCount; ++i)
		planes[i] = toNodeSpace(frustum->planes[i], AbsoluteTransformation);

	for (const SChunkTree& tree : Trees)
	{
		const video::SMaterial& material = Materials[tree.Material];
		const video::IMaterialRenderer* renderer = driver->getMaterialRenderer(material.MaterialType);
		if ((renderer && renderer->isTransparent()) != transparentPass)
			continue;
		Ranges.clear();
		collect(tree, 1, planes, planeCount);
		if (Ranges.empty())
			continue;
		driver->setMaterial(material);
		drawBuffer(tree);
	}
}

const core::aabbox3d<f32>& CLevelMeshSceneNode::getBoundingBox() const
{
	return Box;
}

video::SMaterial& CLevelMeshSceneNode::getMaterial(u32 i)
{
	if (i >= Materials.size())
		return ISceneNode::getMaterial(i);
	return Materials[i];
}

u32 CLevelMeshSceneNode::getMaterialCount() const
{
	return static_cast<u32>(Materials.size());
}

scene::IShadowVolumeSceneNode* CLevelMeshSceneNode::addShadowVolumeSceneNode(const scene::IMesh*, s32, bool, f32)
{
	return 0;
}

} // end namespace vistel

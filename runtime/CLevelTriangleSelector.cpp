#include "CLevelTriangleSelector.h"

#include <IMesh.h>
#include <IMeshBuffer.h>
#include <ISceneNode.h>
#include <S3DVertex.h>

#include <algorithm>
#include <cstring>

using namespace irr;

namespace vistel
{

namespace
{

// Deep enough for any level; it bounds the work on a degenerate one.
const u32 MAX_DEPTH = 32;
// A triangle that cannot be placed stays with the node; 0 to 7 name the
// octant below.
const u8 STAYS = 8;

} // end anonymous namespace

CLevelTriangleSelector::CLevelTriangleSelector(scene::IMesh* mesh, scene::ISceneNode* node, u32 minimalPolysPerNode) :
	Mesh(mesh), SceneNode(node), MinimalPolysPerNode(minimalPolysPerNode), TriangleCount(0)
{
	if (Mesh)
		Mesh->grab();
	const u32 bufferCount = Mesh ? Mesh->getMeshBufferCount() : 0;
	for (u32 b = 0; b < bufferCount; ++b)
	{
		scene::IMeshBuffer* buffer = Mesh->getMeshBuffer(b);
		const u32 triangles = buffer->getIndexCount() / 3;
		if (triangles == 0 || buffer->getVertexCount() == 0 || TriangleCount + triangles < TriangleCount)
			continue;
		SBuffer entry;
		entry.Vertices = static_cast<const u8*>(buffer->getVertices());
		entry.Pitch = video::getVertexPitchFromType(buffer->getVertexType());
		entry.VertexCount = buffer->getVertexCount();
		const bool wide = buffer->getIndexType() == video::EIT_32BIT;
		entry.Indices16 = wide ? 0 : buffer->getIndices();
		entry.Indices32 = wide ? reinterpret_cast<const u32*>(buffer->getIndices()) : 0;
		entry.FirstTriangle = TriangleCount;
		Buffers.push_back(entry);
		TriangleCount += triangles;
	}

	if (Buffers.size() <= 0x10000)
	{
		TriangleBuffers.resize(TriangleCount);
		for (size_t b = 0; b < Buffers.size(); ++b)
		{
			const u32 end = b + 1 < Buffers.size() ? Buffers[b + 1].FirstTriangle : TriangleCount;
			std::fill(TriangleBuffers.begin() + Buffers[b].FirstTriangle, TriangleBuffers.begin() + end,
				static_cast<u16>(b));
		}
	}
	Order.resize(TriangleCount);
	for (u32 t = 0; t < TriangleCount; ++t)
		Order[t] = t;
	if (TriangleCount > 0)
	{
		std::vector<u32> scratch(TriangleCount);
		build(0, TriangleCount, 0, scratch);
	}
}

CLevelTriangleSelector::~CLevelTriangleSelector()
{
	if (Mesh)
		Mesh->drop();
}

bool CLevelTriangleSelector::getTriangle(u32 t, core::triangle3df& triangle) const
{
	// The buffer holding triangle t: noted per triangle where the numbers
	// fit, else the last buffer starting at or before it.
	size_t low = 0;
	if (!TriangleBuffers.empty())
		low = TriangleBuffers[t];
	else
	{
		size_t high = Buffers.size();
		while (high - low > 1)
		{
			const size_t middle = (low + high) / 2;
			if (Buffers[middle].FirstTriangle <= t)
				low = middle;
			else
				high = middle;
		}
	}
	const SBuffer& buffer = Buffers[low];
	const u32 first = (t - buffer.FirstTriangle) * 3;
	u32 corners[3];
	for (u32 k = 0; k < 3; ++k)
	{
		corners[k] = buffer.Indices16 ? buffer.Indices16[first + k] : buffer.Indices32[first + k];
		if (corners[k] >= buffer.VertexCount)
			return false;
	}
	// Every vertex type of the engine extends S3DVertex, position first.
	triangle.pointA = reinterpret_cast<const video::S3DVertex*>(buffer.Vertices + static_cast<size_t>(corners[0]) * buffer.Pitch)->Pos;
	triangle.pointB = reinterpret_cast<const video::S3DVertex*>(buffer.Vertices + static_cast<size_t>(corners[1]) * buffer.Pitch)->Pos;
	triangle.pointC = reinterpret_cast<const video::S3DVertex*>(buffer.Vertices + static_cast<size_t>(corners[2]) * buffer.Pitch)->Pos;
	return true;
}

core::aabbox3df CLevelTriangleSelector::getTriangleBox(u32 t) const
{
	core::triangle3df triangle;
	if (!getTriangle(t, triangle))
		return core::aabbox3df(1.f, 1.f, 1.f, -1.f, -1.f, -1.f); // fits nowhere, stays on top
	core::aabbox3df box(triangle.pointA);
	box.addInternalPoint(triangle.pointB);
	box.addInternalPoint(triangle.pointC);
	return box;
}

u32 CLevelTriangleSelector::build(u32 first, u32 count, u32 depth, std::vector<u32>& scratch)
{
	const u32 nodeIndex = static_cast<u32>(Nodes.size());
	Nodes.push_back(SNode());
	SNode node;
	std::memset(node.Children, 0, sizeof(node.Children));
	node.First = first;
	node.Count = count;

	// The node's box holds all its triangles. Every triangle goes down into
	// the octant around the box's centre that holds its own centre; a child's
	// box is that of its triangles, so it may reach past its octant. Unlike
	// the engine's octree, no triangle that crosses a dividing plane stays
	// behind in a large node, where every query near it would test it.
	bool boxStarted = false;
	for (u32 i = first; i < first + count; ++i)
	{
		const core::aabbox3df box = getTriangleBox(Order[i]);
		if (box.MinEdge.X > box.MaxEdge.X)
			continue;
		if (boxStarted)
			node.Box.addInternalBox(box);
		else
			node.Box = box;
		boxStarted = true;
	}
	if (!boxStarted)
		node.Box.reset(0.f, 0.f, 0.f);

	if (count > MinimalPolysPerNode && depth < MAX_DEPTH && !node.Box.isEmpty())
	{
		const core::vector3df middle = node.Box.getCenter();
		u32 groupSizes[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
		std::vector<u8> groups(count);
		for (u32 i = 0; i < count; ++i)
		{
			const core::aabbox3df box = getTriangleBox(Order[first + i]);
			u8 group = STAYS;
			if (box.MinEdge.X <= box.MaxEdge.X)
			{
				const core::vector3df centre = box.getCenter();
				group = static_cast<u8>((centre.X > middle.X ? 1 : 0) | (centre.Y > middle.Y ? 2 : 0)
					| (centre.Z > middle.Z ? 4 : 0));
			}
			groups[i] = group;
			++groupSizes[group];
		}
		if (groupSizes[STAYS] < count)
		{
			// Stable counting sort: the node's own triangles, then octant 0 to 7.
			u32 starts[9];
			starts[STAYS] = 0;
			u32 next = groupSizes[STAYS];
			for (u32 g = 0; g < 8; ++g)
			{
				starts[g] = next;
				next += groupSizes[g];
			}
			u32 positions[9];
			std::memcpy(positions, starts, sizeof(positions));
			for (u32 i = 0; i < count; ++i)
				scratch[positions[groups[i]]++] = Order[first + i];
			std::memcpy(&Order[first], &scratch[0], count * sizeof(u32));
			groups.clear();
			groups.shrink_to_fit();

			node.Count = groupSizes[STAYS];
			Nodes[nodeIndex] = node;
			for (u32 g = 0; g < 8; ++g)
			{
				if (groupSizes[g] == 0)
					continue;
				const u32 child = build(first + starts[g], groupSizes[g], depth + 1, scratch);
				Nodes[nodeIndex].Children[g] = child;
			}
			return nodeIndex;
		}
	}
	Nodes[nodeIndex] = node;
	return nodeIndex;
}

core::matrix4 CLevelTriangleSelector::getOutputTransform(const core::matrix4* transform) const
{
	core::matrix4 output;
	if (transform)
		output = *transform;
	if (SceneNode)
		output *= SceneNode->getAbsoluteTransformation();
	return output;
}

s32 CLevelTriangleSelector::getTriangleCount() const
{
	return static_cast<s32>(TriangleCount);
}

void CLevelTriangleSelector::getTriangles(core::triangle3df* triangles, s32 arraySize, s32& outTriangleCount,
	const core::matrix4* transform) const
{
	const core::matrix4 output = getOutputTransform(transform);
	s32 written = 0;
	for (u32 t = 0; t < TriangleCount && written < arraySize; ++t)
	{
		core::triangle3df& triangle = triangles[written];
		if (!getTriangle(t, triangle))
			continue;
		output.transformVect(triangle.pointA);
		output.transformVect(triangle.pointB);
		output.transformVect(triangle.pointC);
		++written;
	}
	outTriangleCount = written;
}

void CLevelTriangleSelector::collect(u32 nodeIndex, const core::aabbox3df& box, const core::matrix4& output,
	core::triangle3df* triangles, s32 arraySize, s32& written) const
{
	const SNode& node = Nodes[nodeIndex];
	if (!node.Box.intersectsWithBox(box))
		return;
	for (u32 i = node.First; i < node.First + node.Count; ++i)
	{
		if (written >= arraySize)
			return;
		core::triangle3df& triangle = triangles[written];
		if (!getTriangle(Order[i], triangle) || triangle.isTotalOutsideBox(box))
			continue;
		output.transformVect(triangle.pointA);
		output.transformVect(triangle.pointB);
		output.transformVect(triangle.pointC);
		++written;
	}
	for (u32 g = 0; g < 8 && written < arraySize; ++g)
		if (node.Children[g])
			collect(node.Children[g], box, output, triangles, arraySize, written);
}

void CLevelTriangleSelector::getTriangles(core::triangle3df* triangles, s32 arraySize, s32& outTriangleCount,
	const core::aabbox3d<f32>& box, const core::matrix4* transform) const
{
	outTriangleCount = 0;
	if (Nodes.empty() || arraySize <= 0)
		return;
	// The box into the mesh's own space, the triangles out of it.
	core::aabbox3df localBox(box);
	if (SceneNode)
	{
		core::matrix4 inverse;
		if (SceneNode->getAbsoluteTransformation().getInverse(inverse))
			inverse.transformBoxEx(localBox);
	}
	s32 written = 0;
	collect(0, localBox, getOutputTransform(transform), triangles, arraySize, written);
	outTriangleCount = written;
}

void CLevelTriangleSelector::getTriangles(core::triangle3df* triangles, s32 arraySize, s32& outTriangleCount,
	const core::line3d<f32>& line, const core::matrix4* transform) const
{
	// Every triangle near the line's box; callers test the line themselves.
	core::aabbox3df box(line.start);
	box.addInternalPoint(line.end);
	getTriangles(triangles, arraySize, outTriangleCount, box, transform);
}

scene::ISceneNode* CLevelTriangleSelector::getSceneNodeForTriangle(u32) const
{
	return SceneNode;
}

u32 CLevelTriangleSelector::getSelectorCount() const
{
	return 1;
}

scene::ITriangleSelector* CLevelTriangleSelector::getSelector(u32 index)
{
	return index == 0 ? this : 0;
}

const scene::ITriangleSelector* CLevelTriangleSelector::getSelector(u32 index) const
{
	return index == 0 ? this : 0;
}

} // end namespace vistel

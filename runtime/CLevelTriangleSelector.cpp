#include "CLevelTriangleSelector.h"
#include "CLevelMeshSceneNode.h"

#include <IMesh.h>
#include <IMeshBuffer.h>
#include <ISceneNode.h>
#include <S3DVertex.h>

#include <algorithm>
#include <cstring>
#include <memory>

using namespace irr;

namespace vistel
{

namespace
{

// Deep enough for any level; it bounds the work on a degenerate one.
const u32 MAX_DEPTH = 32;
// The progress hook is told after every 2^16 triangles of a pass.
const u32 PROGRESS_MASK = (1u << 16) - 1;

} // end anonymous namespace

CLevelTriangleSelector::CLevelTriangleSelector(scene::IMesh* mesh, scene::ISceneNode* node, u32 minimalPolysPerNode,
	ILoadProgress* progress) :
	Mesh(mesh), SceneNode(node), MinimalPolysPerNode(minimalPolysPerNode), TriangleCount(0), Progress(progress),
	CentresTaken(0), TrianglesPlaced(0)
{
	if (Mesh)
		Mesh->grab();
	const u32 bufferCount = Mesh ? Mesh->getMeshBufferCount() : 0;
	for (u32 b = 0; b < bufferCount; ++b)
		addBuffer(Mesh->getMeshBuffer(b));

	try
	{
		noteTriangleBuffers();
		// Only triangles that can be read go into the octree; the centres are
		// needed while it is built.
		std::vector<core::vector3df> centroids;
		centroids.reserve(TriangleCount);
		core::aabbox3df centres;
		Order.reserve(TriangleCount);
		core::triangle3df triangle;
		for (u32 t = 0; t < TriangleCount; ++t)
		{
			if ((t & PROGRESS_MASK) == 0)
			{
				CentresTaken = t;
				reportProgress();
			}
			if (!getTriangle(t, triangle))
			{
				centroids.push_back(core::vector3df());
				continue;
			}
			centroids.push_back((triangle.pointA + triangle.pointB + triangle.pointC) / 3.f);
			if (Order.empty())
				centres.reset(centroids[t]);
			else
				centres.addInternalPoint(centroids[t]);
			Order.push_back(t);
		}
		CentresTaken = TriangleCount;
		if (!Order.empty())
		{
			// Left uninitialised: it is written before it is read.
			std::unique_ptr<u32[]> scratch(new u32[Order.size()]);
			std::unique_ptr<u8[]> groups(new u8[Order.size()]);
			build(0, static_cast<u32>(Order.size()), 0, centres, centroids, scratch.get(), groups.get());
		}
	}
	catch (const SBuildStopped&)
	{
		forgetTriangles();
	}
	Progress = 0;
}

CLevelTriangleSelector::CLevelTriangleSelector(CLevelMeshSceneNode* levelNode, ILoadProgress* progress) :
	Mesh(levelNode ? levelNode->getMesh() : 0), SceneNode(levelNode),
	MinimalPolysPerNode(levelNode ? levelNode->getChunkSize() : 1), TriangleCount(0), Progress(progress),
	CentresTaken(0), TrianglesPlaced(0)
{
	if (Mesh)
		Mesh->grab();
	std::vector<CLevelMeshSceneNode::SChunkedBuffer> chunked;
	if (levelNode)
		chunked = levelNode->getChunkedBuffers();
	// The node's buffers with triangles, as the other constructor takes the
	// mesh's: the triangles are numbered the same way.
	std::vector<CLevelMeshSceneNode::SChunkedBuffer> taken;
	for (const CLevelMeshSceneNode::SChunkedBuffer& buffer : chunked)
	{
		const std::size_t before = Buffers.size();
		addBuffer(buffer.Buffer);
		if (Buffers.size() != before)
			taken.push_back(buffer);
	}

	try
	{
		noteTriangleBuffers();
		u32 drawable = 0;
		for (const CLevelMeshSceneNode::SChunkedBuffer& buffer : taken)
			drawable += buffer.TriangleCount;
		Order.reserve(drawable);
		CentresTaken = TriangleCount;
		// Node 0 is the root; it takes its children at the end.
		Nodes.push_back(SNode());
		std::vector<u32> tops, level, parents;
		for (std::size_t b = 0; b < taken.size(); ++b)
		{
			const CLevelMeshSceneNode::SChunkedBuffer& buffer = taken[b];
			reportProgress();
			// The node's drawable triangles come first in its buffer, in its
			// order: chunk after chunk, each a leaf.
			const u32 firstTriangle = Buffers[b].FirstTriangle;
			level.clear();
			for (u32 k = 0; k < buffer.ChunkCount; ++k)
			{
				const u32 begin = k * MinimalPolysPerNode;
				const u32 end = std::min(begin + MinimalPolysPerNode, buffer.TriangleCount);
				SNode leaf;
				std::memset(leaf.Children, 0, sizeof(leaf.Children));
				leaf.Box = buffer.ChunkBoxes[k];
				leaf.First = static_cast<u32>(Order.size());
				leaf.Count = end - begin;
				for (u32 t = begin; t < end; ++t)
					Order.push_back(firstTriangle + t);
				level.push_back(static_cast<u32>(Nodes.size()));
				Nodes.push_back(leaf);
			}
			TrianglesPlaced += buffer.TriangleCount;
			// Eight neighbours along the node's curve under one parent,
			// until one node holds the buffer.
			groupByEight(level, parents, 1);
			if (!level.empty())
				tops.push_back(level[0]);
		}
		// The buffers' nodes, eight at a time, until the root can hold them.
		groupByEight(tops, parents, 8);
		if (tops.empty())
			Nodes.clear();
		else
		{
			const u32 root = addParent(tops.data(), static_cast<u32>(tops.size()));
			Nodes[0] = Nodes[root];
			Nodes.pop_back();
		}
		reportProgress();
	}
	catch (const SBuildStopped&)
	{
		forgetTriangles();
	}
	Progress = 0;
}

void CLevelTriangleSelector::addBuffer(scene::IMeshBuffer* buffer)
{
	const u32 triangles = buffer ? buffer->getIndexCount() / 3 : 0;
	if (triangles == 0 || buffer->getVertexCount() == 0 || TriangleCount + triangles < TriangleCount)
		return;
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

void CLevelTriangleSelector::noteTriangleBuffers()
{
	// Large lists are filled as they grow, between progress reports: the
	// first touch of a fresh page costs, and hundreds of megabytes of them
	// at once would keep the hook waiting.
	if (Buffers.size() > 0x10000)
		return;
	TriangleBuffers.reserve(TriangleCount);
	for (size_t b = 0; b < Buffers.size(); ++b)
	{
		if ((b & 15) == 0)
			reportProgress();
		const u32 end = b + 1 < Buffers.size() ? Buffers[b + 1].FirstTriangle : TriangleCount;
		TriangleBuffers.insert(TriangleBuffers.end(), end - Buffers[b].FirstTriangle, static_cast<u16>(b));
	}
}

u32 CLevelTriangleSelector::addParent(const u32* children, u32 count)
{
	SNode parent;
	std::memset(parent.Children, 0, sizeof(parent.Children));
	parent.First = 0;
	parent.Count = 0;
	parent.Box = Nodes[children[0]].Box;
	for (u32 i = 0; i < count; ++i)
	{
		parent.Children[i] = children[i];
		parent.Box.addInternalBox(Nodes[children[i]].Box);
	}
	Nodes.push_back(parent);
	return static_cast<u32>(Nodes.size() - 1);
}

void CLevelTriangleSelector::groupByEight(std::vector<u32>& nodes, std::vector<u32>& scratch, std::size_t most)
{
	while (nodes.size() > most)
	{
		scratch.clear();
		for (std::size_t i = 0; i < nodes.size(); i += 8)
			scratch.push_back(addParent(&nodes[i], static_cast<u32>(std::min<std::size_t>(8, nodes.size() - i))));
		nodes.swap(scratch);
	}
}

void CLevelTriangleSelector::forgetTriangles()
{
	// A selector without triangles: nothing of the stopped build is kept.
	Buffers.clear();
	TriangleCount = 0;
	std::vector<u16>().swap(TriangleBuffers);
	std::vector<u32>().swap(Order);
	std::vector<SNode>().swap(Nodes);
}

void CLevelTriangleSelector::reportProgress()
{
	if (!Progress)
		return;
	// Taking the centres is about a quarter of the work, sorting them into
	// the octree the rest.
	SLoadProgress report;
	report.Stage = ELS_COLLISION;
	report.Triangles = TriangleCount;
	report.StageDone = TriangleCount == 0 ? 1.f
		: (0.25f * static_cast<f32>(CentresTaken) + 0.75f * static_cast<f32>(TrianglesPlaced))
			/ static_cast<f32>(TriangleCount);
	if (!Progress->onLoadProgress(report))
		throw SBuildStopped();
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

u32 CLevelTriangleSelector::build(u32 first, u32 count, u32 depth, const core::aabbox3df& centres,
	const std::vector<core::vector3df>& centroids, u32* scratch, u8* groups)
{
	// Every triangle goes down into the octant, around the middle of the
	// centres' box, that holds its centre, until few are left: no triangle
	// that crosses a dividing plane stays behind in a large node, where every
	// query near it would test it (as in the engine's octree). A node's box
	// is that of its triangles, found on the way back up, so it may reach
	// past its octant.
	if (count > PROGRESS_MASK / 16)
		reportProgress();
	const u32 nodeIndex = static_cast<u32>(Nodes.size());
	Nodes.push_back(SNode());
	SNode node;
	std::memset(node.Children, 0, sizeof(node.Children));
	node.First = first;
	node.Count = count;

	if (count > MinimalPolysPerNode && depth < MAX_DEPTH && !centres.isEmpty())
	{
		const core::vector3df middle = centres.getCenter();
		u32 groupSizes[8] = {0, 0, 0, 0, 0, 0, 0, 0};
		for (u32 i = 0; i < count; ++i)
		{
			if ((i & PROGRESS_MASK) == PROGRESS_MASK)
				reportProgress();
			const core::vector3df& centre = centroids[Order[first + i]];
			const u8 group = static_cast<u8>((centre.X > middle.X ? 1 : 0) | (centre.Y > middle.Y ? 2 : 0)
				| (centre.Z > middle.Z ? 4 : 0));
			groups[i] = group;
			++groupSizes[group];
		}
		// Stable counting sort by octant.
		u32 starts[8];
		u32 next = 0;
		for (u32 g = 0; g < 8; ++g)
		{
			starts[g] = next;
			next += groupSizes[g];
		}
		u32 positions[8];
		std::memcpy(positions, starts, sizeof(positions));
		for (u32 i = 0; i < count; ++i)
		{
			if ((i & PROGRESS_MASK) == PROGRESS_MASK)
				reportProgress();
			scratch[positions[groups[i]]++] = Order[first + i];
		}
		std::memcpy(&Order[first], &scratch[0], count * sizeof(u32));

		node.Count = 0;
		bool boxStarted = false;
		for (u32 g = 0; g < 8; ++g)
		{
			if (groupSizes[g] == 0)
				continue;
			core::aabbox3df octant;
			octant.MinEdge.X = (g & 1) ? middle.X : centres.MinEdge.X;
			octant.MaxEdge.X = (g & 1) ? centres.MaxEdge.X : middle.X;
			octant.MinEdge.Y = (g & 2) ? middle.Y : centres.MinEdge.Y;
			octant.MaxEdge.Y = (g & 2) ? centres.MaxEdge.Y : middle.Y;
			octant.MinEdge.Z = (g & 4) ? middle.Z : centres.MinEdge.Z;
			octant.MaxEdge.Z = (g & 4) ? centres.MaxEdge.Z : middle.Z;
			const u32 child = build(first + starts[g], groupSizes[g], depth + 1, octant, centroids, scratch, groups);
			node.Children[g] = child;
			if (boxStarted)
				node.Box.addInternalBox(Nodes[child].Box);
			else
				node.Box = Nodes[child].Box;
			boxStarted = true;
		}
		Nodes[nodeIndex] = node;
		return nodeIndex;
	}

	// A leaf: the box of its own triangles.
	TrianglesPlaced += count;
	core::triangle3df triangle;
	bool boxStarted = false;
	for (u32 i = first; i < first + count; ++i)
	{
		if (!getTriangle(Order[i], triangle))
			continue;
		if (!boxStarted)
			node.Box.reset(triangle.pointA);
		else
			node.Box.addInternalPoint(triangle.pointA);
		node.Box.addInternalPoint(triangle.pointB);
		node.Box.addInternalPoint(triangle.pointC);
		boxStarted = true;
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
	// The triangles getTriangles can give: one with an index past its
	// buffer's vertices is never read, so it is not counted either.
	return static_cast<s32>(Order.size());
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

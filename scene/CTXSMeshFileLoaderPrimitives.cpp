// Primitives: their vertices and polygons, and the mesh built from them.
#include "CTXSMeshFileLoader.h"

#include "CXMLStreamReader.h"
#include "LargeMemory.h"
#include "TXSReadingRules.h"
#include "TXSTriangulation.h"

#include <IAttributes.h>
#include <ISceneManager.h>
#include <IMeshSceneNode.h>
#include <SAnimatedMesh.h>
#include <SMesh.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace vistel
{

namespace
{

bool isFinite(const irr::core::vector3df& v)
{
	return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

// (P1 - P0) x (P2 - P0) over its length, a zero length counting as 0.001 so
// that a degenerate polygon gets the normal (0, 0, 0). Computed in double
// so that large coordinates cannot overflow to infinity.
irr::core::vector3df faceNormal(const irr::core::vector3df& p0, const irr::core::vector3df& p1,
	const irr::core::vector3df& p2)
{
	const double ax = static_cast<double>(p1.X) - p0.X, ay = static_cast<double>(p1.Y) - p0.Y,
				 az = static_cast<double>(p1.Z) - p0.Z;
	const double bx = static_cast<double>(p2.X) - p0.X, by = static_cast<double>(p2.Y) - p0.Y,
				 bz = static_cast<double>(p2.Z) - p0.Z;
	const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
	double length = std::sqrt(nx * nx + ny * ny + nz * nz);
	if (length == 0.0)
		length = 0.001;
	return irr::core::vector3df(static_cast<irr::f32>(nx / length), static_cast<irr::f32>(ny / length),
		static_cast<irr::f32>(nz / length));
}

} // end namespace

void CTXSMeshFileLoader::startMesh()
{
	// A second primitives element starts over; the mesh of the first is
	// released, not leaked.
	if (Mesh)
		Mesh->drop();
	Mesh = new irr::scene::SMesh();
	// Forget the buffers of the previous mesh; only the entries it used are
	// reset, so a new mesh costs nothing per material.
	for (const irr::u32 position : BufferMaterials)
		OpenBuffers[position] = nullptr;
	BufferMaterials.clear();
}

irr::scene::SMeshBufferLightMap* CTXSMeshFileLoader::addBuffer(irr::u32 materialIndex)
{
	irr::scene::SMeshBufferLightMap* buffer = new irr::scene::SMeshBufferLightMap();
	buffer->Material = makeBufferMaterial(Materials[materialIndex]);
	Mesh->addMeshBuffer(buffer);
	buffer->drop(); // the mesh holds the only reference
	BufferMaterials.push_back(materialIndex);
	if (OpenBuffers.size() <= materialIndex)
		OpenBuffers.resize(materialIndex + 1, nullptr);
	OpenBuffers[materialIndex] = buffer;
	return buffer;
}

void CTXSMeshFileLoader::createMaterialBuffers()
{
	for (irr::u32 i = 0; i < Materials.size(); ++i)
		addBuffer(i);
}

void CTXSMeshFileLoader::createPrimitiveBuffers()
{
	// Only the materials the primitive's polygons name get a buffer, in
	// material order: the buffers of the others would stay empty and be
	// removed, and making them for every primitive would cost materials
	// times primitives.
	std::vector<irr::u32> used;
	for (const STXSPolygon& polygon : PrimitivePolygons)
	{
		const irr::s32 position = findMaterial(polygon.MaterialId);
		if (position >= 0)
			used.push_back(static_cast<irr::u32>(position));
	}
	std::sort(used.begin(), used.end());
	used.erase(std::unique(used.begin(), used.end()), used.end());
	for (const irr::u32 position : used)
		addBuffer(position);
}

void CTXSMeshFileLoader::readPrimitives(CXMLStreamReader& reader)
{
	const bool wholeScene = isWholeSceneMode();
	if (wholeScene)
	{
		startMesh();
		createMaterialBuffers();
	}

	bool anyPrimitive = false;
	readChildren(reader, "primitives", [&](const char* child) {
		if (!isKeyword(child, "primitive"))
			return false;
		readPrimitive(reader);
		anyPrimitive = true;
		return true;
	});

	if (wholeScene)
	{
		// Finishing gives every buffer the same values whenever it runs, so
		// once after the last primitive equals once after each.
		if (anyPrimitive)
			finishMaterials();
		finishMesh();
	}
}

void CTXSMeshFileLoader::readPrimitive(CXMLStreamReader& reader)
{
	PrimitiveVertices.clear();
	PrimitivePolygons.clear();
	PrimitiveCorners.clear();
	PrimitivePairs.clear();
	const bool wholeScene = isWholeSceneMode();
	if (!wholeScene)
		startMesh();

	const char* nameText = reader.getAttributeValue("name");
	const irr::core::stringc name = nameText ? nameText : "";
	const irr::s32 id = reader.getAttributeValueAsInt("id");

	readChildren(reader, "primitive", [&](const char* child) {
		if (isKeyword(child, "vertices"))
			readVertices(reader);
		else if (isKeyword(child, "polygons"))
			readPolygons(reader);
		else
			return false; // tag elements and anything else
		return true;
	});

	if (!Mesh)
		return;
	if (!wholeScene)
		createPrimitiveBuffers();

	FlipAlpha = SceneManager->getParameters()->getAttributeAsBool("TXS_FlipAlpha");
	reserveBufferSpace();
	for (const STXSPolygon& polygon : PrimitivePolygons)
	{
		buildPolygon(polygon);
		noteProgress();
	}

	if (wholeScene)
		return;
	finishMaterials();
	finishMesh();
	irr::io::IAttributes* parameters = SceneManager->getParameters();
	irr::scene::ISceneNode* node = parameters->getAttributeAsBool("TXS_LoadAsOCT")
		? SceneManager->addOctreeSceneNode(Mesh, ParentNode, id, 128)
		: SceneManager->addMeshSceneNode(Mesh, ParentNode, id, irr::core::vector3df(0, 0, 0),
			  irr::core::vector3df(0, 0, 0), irr::core::vector3df(1, 1, 1));
	if (node)
		node->setName(name);
	// The animated mesh's bounding box is computed once all frames are in
	// (createMesh): per frame it would cost frames squared.
	AnimatedMesh->Type = irr::scene::EAMT_UNKNOWN;
	AnimatedMesh->addMesh(Mesh);
	Mesh->drop();
	Mesh = nullptr;
}

void CTXSMeshFileLoader::readVertices(CXMLStreamReader& reader)
{
	readChildren(reader, "vertices", [&](const char* child) {
		if (!isKeyword(child, "vertex"))
			return false;
		STXSVertex vertex;
		vertex.Id = reader.getAttributeValueAsInt("id");
		vertex.Position.set(reader.getAttributeValueAsFloat("x"), reader.getAttributeValueAsFloat("y"),
			reader.getAttributeValueAsFloat("z"));
		PrimitiveVertices.push_back(vertex);
		noteProgress();
		return true;
	});
}

void CTXSMeshFileLoader::readPolygons(CXMLStreamReader& reader)
{
	readChildren(reader, "polygons", [&](const char* child) {
		if (!isKeyword(child, "poly"))
			return false;
		STXSPolygon polygon;
		polygon.MaterialId = reader.getAttributeValueAsInt("mid");
		polygon.FirstCorner = PrimitiveCorners.size();
		polygon.FirstPair = PrimitivePairs.size();
		readPolygon(reader, polygon);
		polygon.CornerCount = PrimitiveCorners.size() - polygon.FirstCorner;
		PrimitivePolygons.push_back(polygon);
		noteProgress();
		return true;
	});
}

void CTXSMeshFileLoader::readPolygon(CXMLStreamReader& reader, STXSPolygon& polygon)
{
	// A polygon of an unknown material is skipped when built, so its pairs
	// are not read.
	const irr::s32 position = findMaterial(polygon.MaterialId);
	irr::s32 pairs = 0;
	char second[2][16] = {"u1", "v1"};
	if (position >= 0)
	{
		const STXSMaterial& material = Materials[static_cast<std::size_t>(position)];
		// Only the first two pairs reach a vertex; storing no more keeps a
		// material with thousands of layers from multiplying the memory of
		// every corner. When the lightmap moved from position n to slot 1,
		// the second pair is read from u<n>/v<n>.
		pairs = material.TextureCount < 2 ? material.TextureCount : 2;
		if (material.TextureCount >= 2 && material.LightmapIndex >= 1)
		{
			std::snprintf(second[0], sizeof(second[0]), "u%d", material.LightmapIndex);
			std::snprintf(second[1], sizeof(second[1]), "v%d", material.LightmapIndex);
		}
	}

	polygon.PairsPerCorner = static_cast<std::size_t>(pairs);
	readChildren(reader, "poly", [&](const char* child) {
		if (!isKeyword(child, "vertex"))
			return false;
		PrimitiveCorners.push_back(reader.getAttributeValueAsInt("vid"));
		if (pairs >= 1)
			PrimitivePairs.emplace_back(reader.getAttributeValueAsFloat("u0"), reader.getAttributeValueAsFloat("v0"));
		if (pairs >= 2)
			PrimitivePairs.emplace_back(
				reader.getAttributeValueAsFloat(second[0]), reader.getAttributeValueAsFloat(second[1]));
		return true;
	});
}

namespace
{

// Gives the array room for capacity elements. The engine's reallocate copies
// element by element; vertices and indices hold only numbers, so one block
// copy moves them.
template <typename T>
void growArray(irr::core::array<T>& array, irr::u32 capacity)
{
	// The engine's vertex types declare constructors but hold only numbers.
	static_assert(std::is_trivially_destructible<T>::value, "moved as bytes");
	irr::core::irrAllocator<T> allocator;
	T* data = allocator.allocate(capacity);
	// A full buffer's vertices fill megabytes that are all written once:
	// large pages spare most of the faults of their first touch.
	platform::adviseLargePages(data, sizeof(T) * capacity);
	const irr::u32 used = array.size();
	if (used > 0)
		std::memcpy(static_cast<void*>(data), array.const_pointer(), sizeof(T) * used);
	array.set_pointer(data, capacity); // frees the old storage
	array.set_used(used);
}

// Appends count elements left for the caller to write, and returns the
// first. Growth is geometric, so an estimate that fell short costs little.
template <typename T>
T* appendElements(irr::core::array<T>& array, irr::u32 count)
{
	const irr::u32 used = array.size();
	const irr::u32 allocated = array.allocated_size();
	if (used + count > allocated)
		growArray(array, std::max(used + count, allocated + allocated / 2));
	array.set_used(used + count);
	return array.pointer() + used;
}

// Room in the buffer for the vertices and indices still to come, as far as
// the buffer takes them: each vertex is then written once, into its final
// place, instead of being moved along as the buffer grows. A buffer that
// keeps receiving primitives grows by half at least, so its moves stay few.
void reserveSpace(irr::scene::SMeshBufferLightMap* buffer, irr::u32 vertices, irr::u32 indices)
{
	const irr::u32 cap = CTXSMeshFileLoader::MaxBufferVertices;
	const irr::u32 used = buffer->Vertices.size();
	const irr::u32 fitting = std::min(vertices, cap - std::min(cap, used));
	if (fitting == 0)
		return;
	const irr::u32 allocated = buffer->Vertices.allocated_size();
	if (used + fitting > allocated)
		growArray(buffer->Vertices, std::max(used + fitting, std::min(cap, allocated + allocated / 2)));
	// The indices that come with the vertices that fit.
	const irr::u32 indexCount = static_cast<irr::u32>(static_cast<irr::u64>(indices) * fitting / vertices);
	const irr::u32 indexUsed = buffer->Indices.size();
	const irr::u32 indexAllocated = buffer->Indices.allocated_size();
	if (indexUsed + indexCount > indexAllocated)
		growArray(buffer->Indices, std::max(indexUsed + indexCount, indexAllocated + indexAllocated / 2));
}

// Maps at once the pages that the next vertices and indices of the buffer
// will be written to, as far as its room reaches: one call instead of a
// fault per page at their first touch (the largest part of writing them).
void prepareBufferSpace(irr::scene::SMeshBufferLightMap* buffer, irr::u32 vertices, irr::u32 indices)
{
	const irr::u32 vertexUsed = buffer->Vertices.size();
	const irr::u32 vertexRoom = buffer->Vertices.allocated_size() - vertexUsed;
	if (vertexRoom > 0 && vertices > 0)
		platform::prepareForWriting(buffer->Vertices.pointer() + vertexUsed,
			sizeof(irr::video::S3DVertex2TCoords) * std::min(vertices, vertexRoom));
	const irr::u32 indexUsed = buffer->Indices.size();
	const irr::u32 indexRoom = buffer->Indices.allocated_size() - indexUsed;
	if (indexRoom > 0 && indices > 0)
		platform::prepareForWriting(buffer->Indices.pointer() + indexUsed,
			sizeof(irr::u16) * std::min(indices, indexRoom));
}

} // end namespace

void CTXSMeshFileLoader::reserveBufferSpace()
{
	// What each material's buffer gets from this primitive; only the
	// materials it names are touched, so this costs nothing per material.
	if (PendingVertices.size() < Materials.size())
	{
		PendingVertices.resize(Materials.size(), 0);
		PendingIndices.resize(Materials.size(), 0);
	}
	for (const irr::u32 p : PendingMaterials)
	{
		PendingVertices[p] = 0;
		PendingIndices[p] = 0;
	}
	PendingMaterials.clear();
	for (const STXSPolygon& polygon : PrimitivePolygons)
	{
		if (polygon.CornerCount < 3 || polygon.CornerCount > MaxBufferVertices)
			continue;
		const irr::s32 position = findMaterial(polygon.MaterialId);
		if (position < 0)
			continue;
		const std::size_t p = static_cast<std::size_t>(position);
		if (PendingVertices[p] == 0)
			PendingMaterials.push_back(static_cast<irr::u32>(p));
		// Sums stop short of wrapping; a buffer takes far fewer anyway.
		const irr::u32 count = static_cast<irr::u32>(polygon.CornerCount);
		PendingVertices[p] = static_cast<irr::u32>(
			std::min<irr::u64>(0x7FFFFFFF, static_cast<irr::u64>(PendingVertices[p]) + count));
		PendingIndices[p] = static_cast<irr::u32>(
			std::min<irr::u64>(0x7FFFFFFF, static_cast<irr::u64>(PendingIndices[p]) + (count - 2) * 3));
	}
	for (const irr::u32 p : PendingMaterials)
		if (p < OpenBuffers.size() && OpenBuffers[p])
		{
			reserveSpace(OpenBuffers[p], PendingVertices[p], PendingIndices[p]);
			prepareBufferSpace(OpenBuffers[p], PendingVertices[p], PendingIndices[p]);
		}
}

void CTXSMeshFileLoader::buildPolygon(const STXSPolygon& polygon)
{
	if (polygon.CornerCount < 3 || polygon.CornerCount > MaxBufferVertices)
		return;
	const irr::u32 count = static_cast<irr::u32>(polygon.CornerCount);
	const irr::s32* vertexIndices = &PrimitiveCorners[polygon.FirstCorner];
	const std::size_t pairs = polygon.PairsPerCorner;
	const irr::core::vector2df* texCoords = pairs ? &PrimitivePairs[polygon.FirstPair] : nullptr;
	// Polygons of a material without a buffer (unknown id, or read after
	// primitives began) are skipped whole, as are those with a vertex
	// reference out of range or a coordinate that is not finite.
	const irr::s32 position = findMaterial(polygon.MaterialId);
	if (position < 0 || static_cast<std::size_t>(position) >= OpenBuffers.size() ||
		!OpenBuffers[static_cast<std::size_t>(position)])
		return;
	const STXSMaterial& material = Materials[static_cast<std::size_t>(position)];

	CornerPositions.clear();
	for (irr::u32 c = 0; c < count; ++c)
	{
		const irr::s32 vid = vertexIndices[c];
		if (vid < 0 || static_cast<std::size_t>(vid) >= PrimitiveVertices.size())
			return;
		const irr::core::vector3df& p = PrimitiveVertices[static_cast<std::size_t>(vid)].Position;
		if (!isFinite(p))
			return;
		CornerPositions.push_back(p);
	}
	for (std::size_t i = 0; i < count * pairs; ++i)
		if (!std::isfinite(texCoords[i].X) || !std::isfinite(texCoords[i].Y))
			return;

	// Convex polygons keep the editor's zig-zag split and the normal of
	// their first three corners; others are ear-clipped, and their normal
	// comes from the whole outline, since the first three corners may turn
	// the wrong way.
	irr::core::vector3df normal;
	TriangleCorners.clear();
	if (isConvexPolygon(CornerPositions))
	{
		appendZigZagTriangles(count, TriangleCorners);
		normal = faceNormal(CornerPositions[0], CornerPositions[1], CornerPositions[2]);
	}
	else
	{
		appendEarClippedTriangles(CornerPositions, TriangleCorners);
		normal = polygonPlaneNormal(CornerPositions);
	}
	// The normal above belongs to the document's corners. Drawn, the polygon
	// has its z mirrored, which also turns its corners' sense, so it is seen
	// from the other side: the normal of the drawn face, (P1' - P0') x
	// (P2' - P0') of the mirrored corners, is the document's with x and y
	// negated. It points to the side the face is seen from, as the engine's
	// lighting expects.
	normal.set(-normal.X, -normal.Y, normal.Z);

	// 16-bit indices never wrap: a full buffer is continued by a new one
	// with the same material.
	irr::scene::SMeshBufferLightMap* buffer = OpenBuffers[static_cast<std::size_t>(position)];
	if (buffer->Vertices.size() + count > MaxBufferVertices)
	{
		// A material that filled a buffer is a big one: its next buffer gets
		// room for a full buffer at once instead of growing by copies (those
		// copies and the fresh pages they touched were a quarter of a big
		// level's load). At most the last buffer of such a material keeps
		// room it does not use.
		buffer = addBuffer(static_cast<irr::u32>(position));
		const irr::u64 vertices = PendingVertices[static_cast<std::size_t>(position)];
		const irr::u64 indices = PendingIndices[static_cast<std::size_t>(position)];
		// Indices in the proportion of the primitive's polygons (below three
		// per vertex).
		reserveSpace(buffer, MaxBufferVertices,
			static_cast<irr::u32>(vertices > 0 ? indices * MaxBufferVertices / vertices : 0));
		// Only what this primitive still brings: the room of a material's
		// last buffer may never be used.
		prepareBufferSpace(buffer, static_cast<irr::u32>(vertices), static_cast<irr::u32>(indices));
	}
	irr::u32& pendingVertices = PendingVertices[static_cast<std::size_t>(position)];
	irr::u32& pendingIndices = PendingIndices[static_cast<std::size_t>(position)];
	pendingVertices -= std::min(pendingVertices, count);
	pendingIndices -= std::min(pendingIndices, (count - 2) * 3);

	const bool flip = FlipAlpha && !material.LayerBlends.empty() && material.LayerBlends[0] == "alphablend";
	// Written in place: room for them was mostly made before the primitive's
	// polygons were built.
	const irr::u32 base = buffer->Vertices.size();
	irr::video::S3DVertex2TCoords* vertices = appendElements(buffer->Vertices, count);
	const irr::video::SColor white(0x00FFFFFF);
	for (irr::u32 c = 0; c < count; ++c)
	{
		const irr::core::vector3df& p = CornerPositions[c];
		irr::core::vector2df first(0.f, 0.f), second(0.f, 0.f);
		if (pairs >= 1)
		{
			first = texCoords[c * pairs];
			if (flip)
				first.Y = -first.Y;
		}
		if (pairs >= 2)
			second = texCoords[c * pairs + 1];
		// The editor's z axis points the other way.
		vertices[c] = irr::video::S3DVertex2TCoords(irr::core::vector3df(p.X, p.Y, -p.Z), normal, white, first, second);
	}
	irr::u16* indices = appendElements(buffer->Indices, static_cast<irr::u32>(TriangleCorners.size()));
	for (const irr::u32 corner : TriangleCorners)
		*indices++ = static_cast<irr::u16>(base + corner);
	LoadedTriangles += static_cast<irr::u32>(TriangleCorners.size() / 3);
}

void CTXSMeshFileLoader::finishMesh()
{
	if (!Mesh)
		return;
	// The boxes first, between progress reports: on a level of millions of
	// triangles this pass takes a while, and nothing is dropped yet.
	for (irr::u32 i = 0; i < Mesh->MeshBuffers.size(); ++i)
	{
		irr::scene::IMeshBuffer* buffer = Mesh->MeshBuffers[i];
		if (buffer->getVertexCount() != 0 && buffer->getIndexCount() != 0 && buffer->getMaterial().getTexture(0))
			buffer->recalculateBoundingBox();
		noteProgress();
	}
	// Buffers without geometry or without a first texture are dropped; the
	// rest keep their order. A texture file that could not be loaded left a
	// placeholder, so its buffer stays: only a material without any texture
	// or colour layer has no first texture.
	irr::core::array<irr::scene::IMeshBuffer*> kept;
	kept.reallocate(Mesh->MeshBuffers.size());
	for (irr::u32 i = 0; i < Mesh->MeshBuffers.size(); ++i)
	{
		irr::scene::IMeshBuffer* buffer = Mesh->MeshBuffers[i];
		if (buffer->getVertexCount() == 0 || buffer->getIndexCount() == 0 || !buffer->getMaterial().getTexture(0))
			buffer->drop();
		else
			kept.push_back(buffer);
	}
	Mesh->MeshBuffers = kept;
	Mesh->recalculateBoundingBox();
	// From here buffer positions no longer follow BufferMaterials; the mesh
	// takes no further polygons.
}

} // end namespace vistel

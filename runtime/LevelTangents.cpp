#include "LevelTangents.h"

#include "ILoadProgress.h"

#include <IMeshManipulator.h>
#include <SMesh.h>
#include <SMeshBufferTangents.h>
#include <irrMap.h>

using namespace irr;

namespace vistel
{

namespace
{

// Indices copied between two questions to the progress hook: a few
// milliseconds of work at most, even in a sanitizer build.
const u32 INDICES_PER_PIECE = 4096;

// The vertex as a tangent vertex, whatever its type.
video::S3DVertexTangents toTangentVertex(const u8* vertices, video::E_VERTEX_TYPE type, u32 index)
{
	switch (type)
	{
	case video::EVT_2TCOORDS:
	{
		const video::S3DVertex2TCoords& v = reinterpret_cast<const video::S3DVertex2TCoords*>(vertices)[index];
		return video::S3DVertexTangents(v.Pos, v.Normal, v.Color, v.TCoords);
	}
	case video::EVT_TANGENTS:
		return reinterpret_cast<const video::S3DVertexTangents*>(vertices)[index];
	default:
	{
		const video::S3DVertex& v = reinterpret_cast<const video::S3DVertex*>(vertices)[index];
		return video::S3DVertexTangents(v.Pos, v.Normal, v.Color, v.TCoords);
	}
	}
}

class CTangentCopy
{
public:
	CTangentCopy(scene::IMesh* mesh, ILoadProgress* progress) : Progress(progress)
	{
		for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
			TotalIndices += mesh->getMeshBuffer(b)->getIndexCount();
		Report.Stage = ELS_BUILDING;
		Report.Triangles = static_cast<u32>(TotalIndices / 3);
	}

	// False when progress asked to stop.
	bool report()
	{
		if (!Progress)
			return true;
		Report.StageDone = TotalIndices == 0 ? 1.f
			: static_cast<f32>(static_cast<double>(IndicesDone) / static_cast<double>(TotalIndices));
		return Progress->onLoadProgress(Report);
	}

	// The copy of one buffer, or 0 when stopped. The equal vertices are
	// found through the engine's own ordered map, so that vertices that
	// compare equal only within the engine's rounding tolerance merge just
	// as they merge there.
	scene::SMeshBufferTangents* copyBuffer(const scene::IMeshBuffer* original)
	{
		const u32 indexCount = original->getIndexCount();
		const bool wide = original->getIndexType() == video::EIT_32BIT;
		const u16* indices16 = original->getIndices();
		const u32* indices32 = reinterpret_cast<const u32*>(indices16);
		const u8* vertices = static_cast<const u8*>(original->getVertices());
		const video::E_VERTEX_TYPE type = original->getVertexType();

		scene::SMeshBufferTangents* buffer = new scene::SMeshBufferTangents();
		buffer->Material = original->getMaterial();
		// No more vertices than the original has, however many indices
		// use them.
		buffer->Vertices.reallocate(original->getVertexCount());
		buffer->Indices.reallocate(indexCount);
		core::map<video::S3DVertexTangents, u32> locations;
		for (u32 i = 0; i < indexCount; ++i)
		{
			if (i % INDICES_PER_PIECE == 0 && !report())
			{
				buffer->drop();
				return 0;
			}
			const video::S3DVertexTangents vertex
				= toTangentVertex(vertices, type, wide ? indices32[i] : indices16[i]);
			u32 location;
			core::map<video::S3DVertexTangents, u32>::Node* found = locations.find(vertex);
			if (found)
				location = found->getValue();
			else
			{
				location = buffer->Vertices.size();
				buffer->Vertices.push_back(vertex);
				locations.insert(vertex, location);
			}
			buffer->Indices.push_back(static_cast<u16>(location));
			++IndicesDone;
		}
		buffer->recalculateBoundingBox();
		return buffer;
	}

private:
	ILoadProgress* Progress;
	unsigned long long TotalIndices = 0, IndicesDone = 0;
	SLoadProgress Report;
};

} // end anonymous namespace

scene::IMesh* createLevelMeshWithTangents(scene::IMesh* mesh, const scene::IMeshManipulator* manipulator,
	ILoadProgress* progress)
{
	if (!mesh || !manipulator)
		return 0;
	CTangentCopy copy(mesh, progress);
	scene::SMesh* clone = new scene::SMesh();
	for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
	{
		scene::SMeshBufferTangents* buffer = copy.copyBuffer(mesh->getMeshBuffer(b));
		if (!buffer)
		{
			clone->drop();
			return 0;
		}
		// One buffer's tangents are a few milliseconds of work.
		manipulator->recalculateTangents(buffer, false, false, false);
		clone->addMeshBuffer(buffer);
		buffer->drop();
	}
	clone->recalculateBoundingBox();
	if (!copy.report())
	{
		clone->drop();
		return 0;
	}
	return clone;
}

} // end namespace vistel

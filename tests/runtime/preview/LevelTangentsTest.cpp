// The level's copy with tangents against the engine's createMeshWithTangents:
// the same vertices, in the same order, merged the same way (exactly equal
// ones and ones within the engine's rounding tolerance), the same indices and
// tangents; and the copy reports its progress and stops when asked.

#include "ILoadProgress.h"
#include "LevelTangents.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstring>
#include <type_traits>
#include <vector>

using namespace irr;

namespace vistel
{

namespace
{

struct LevelTangentsTest : public ::testing::Test
{
	void SetUp() override
	{
		Device = createDevice(video::EDT_NULL);
		ASSERT_TRUE(Device != 0);
		Manipulator = Device->getSceneManager()->getMeshManipulator();
	}
	void TearDown() override
	{
		if (Device)
			Device->drop();
	}
	IrrlichtDevice* Device = 0;
	scene::IMeshManipulator* Manipulator = 0;
};

// A strip of quads over a bumpy surface, with a vertex no index uses, a
// vertex repeated exactly and one repeated within the engine's tolerance.
template <typename TBuffer>
TBuffer* makeBuffer(u32 quads, f32 offset)
{
	TBuffer* buffer = new TBuffer();
	typedef typename std::remove_reference<decltype(buffer->Vertices[0])>::type TVertex;
	buffer->Vertices.push_back(TVertex()); // never used
	for (u32 q = 0; q <= quads; ++q)
		for (u32 side = 0; side < 2; ++side)
		{
			TVertex v;
			v.Pos.set(offset + static_cast<f32>(q), static_cast<f32>((q * 7 + side * 3) % 5) * 0.25f,
				static_cast<f32>(side));
			v.Normal.set(0.f, 1.f, 0.f);
			v.Color = video::SColor(255, 10 * q, 20, 30);
			v.TCoords.set(static_cast<f32>(q) * 0.5f, static_cast<f32>(side) + 0.125f * static_cast<f32>(q % 3));
			buffer->Vertices.push_back(v);
		}
	const u16 twin = static_cast<u16>(buffer->Vertices.size());
	buffer->Vertices.push_back(buffer->Vertices[1]);
	TVertex close = buffer->Vertices[2];
	close.Pos.X += 1e-7f;
	const u16 nearTwin = static_cast<u16>(buffer->Vertices.size());
	buffer->Vertices.push_back(close);
	for (u32 q = 0; q < quads; ++q)
	{
		const u16 a = static_cast<u16>(1 + 2 * q), b = static_cast<u16>(a + 1), c = static_cast<u16>(a + 2),
			d = static_cast<u16>(a + 3);
		const u16 first[] = {q == 0 ? twin : a, b, c, c, b, d};
		const u16 second[] = {a, q == 0 ? nearTwin : b, c, c, b, d};
		for (u16 index : (q % 2) ? second : first)
			buffer->Indices.push_back(index);
	}
	buffer->recalculateBoundingBox();
	return buffer;
}

scene::SMesh* makeMesh(u32 quads)
{
	scene::SMesh* mesh = new scene::SMesh();
	scene::IMeshBuffer* buffers[] = {makeBuffer<scene::SMeshBufferLightMap>(quads, 0.f),
		makeBuffer<scene::SMeshBuffer>(quads, 100.f), makeBuffer<scene::SMeshBufferLightMap>(1, -50.f)};
	for (scene::IMeshBuffer* buffer : buffers)
	{
		buffer->getMaterial().MaterialType = video::EMT_LIGHTMAP;
		mesh->addMeshBuffer(buffer);
		buffer->drop();
	}
	mesh->recalculateBoundingBox();
	return mesh;
}

class CRecordingProgress : public ILoadProgress
{
public:
	explicit CRecordingProgress(u32 stopAfter = 0xffffffffu) : StopAfter(stopAfter) {}
	bool onLoadProgress(const SLoadProgress& progress) override
	{
		Reports.push_back(progress);
		return Reports.size() < StopAfter;
	}
	std::vector<SLoadProgress> Reports;
	u32 StopAfter;
};

} // end anonymous namespace

TEST_F(LevelTangentsTest, CopyWithTangentsIsTheEnginesByteForByte)
{
	for (const u32 quads : {1u, 40u, 3000u})
	{
		SCOPED_TRACE(quads);
		scene::SMesh* mesh = makeMesh(quads);
		scene::IMesh* expected = Manipulator->createMeshWithTangents(mesh);
		CRecordingProgress progress;
		scene::IMesh* copy = createLevelMeshWithTangents(mesh, Manipulator, &progress);
		ASSERT_TRUE(copy != 0);
		ASSERT_EQ(copy->getMeshBufferCount(), expected->getMeshBufferCount());
		for (u32 b = 0; b < copy->getMeshBufferCount(); ++b)
		{
			const scene::IMeshBuffer* ours = copy->getMeshBuffer(b);
			const scene::IMeshBuffer* theirs = expected->getMeshBuffer(b);
			ASSERT_EQ(ours->getVertexType(), video::EVT_TANGENTS);
			ASSERT_EQ(ours->getIndexType(), theirs->getIndexType());
			ASSERT_EQ(ours->getVertexCount(), theirs->getVertexCount());
			ASSERT_EQ(ours->getIndexCount(), theirs->getIndexCount());
			EXPECT_EQ(0, std::memcmp(ours->getVertices(), theirs->getVertices(),
				ours->getVertexCount() * sizeof(video::S3DVertexTangents)));
			EXPECT_EQ(0, std::memcmp(ours->getIndices(), theirs->getIndices(), ours->getIndexCount() * sizeof(u16)));
			EXPECT_TRUE(ours->getMaterial() == theirs->getMaterial());
			EXPECT_EQ(ours->getBoundingBox(), theirs->getBoundingBox());
		}
		// Both twins merged: two vertices fewer than used, and the unused one
		// left out.
		EXPECT_EQ(copy->getMeshBuffer(0)->getVertexCount(), 2 * (quads + 1));
		EXPECT_EQ(copy->getBoundingBox(), expected->getBoundingBox());

		// The building stage, growing to the whole.
		ASSERT_FALSE(progress.Reports.empty());
		f32 done = 0.f;
		for (const SLoadProgress& report : progress.Reports)
		{
			EXPECT_EQ(report.Stage, ELS_BUILDING);
			EXPECT_GE(report.StageDone, done);
			done = report.StageDone;
		}
		EXPECT_EQ(done, 1.f);
		copy->drop();
		expected->drop();
		mesh->drop();
	}
}

TEST_F(LevelTangentsTest, CopyReportsBetweenSmallPiecesAndStopsWhenAsked)
{
	scene::SMesh* mesh = makeMesh(20000); // 120,000 indices per large buffer
	CRecordingProgress whole;
	scene::IMesh* copy = createLevelMeshWithTangents(mesh, Manipulator, &whole);
	ASSERT_TRUE(copy != 0);
	copy->drop();
	EXPECT_GE(whole.Reports.size(), 2u * 120000u / 4096u);

	for (const u32 stopAfter : {1u, 5u, static_cast<u32>(whole.Reports.size())})
	{
		CRecordingProgress stopping(stopAfter);
		EXPECT_TRUE(createLevelMeshWithTangents(mesh, Manipulator, &stopping) == 0) << stopAfter;
		// Told once that it should stop, it asks no more.
		EXPECT_EQ(stopping.Reports.size(), stopAfter);
	}
	mesh->drop();
}

} // end namespace vistel

// The loader's progress reports while it reads, and a load stopped through
// them.
#include "SceneTestSupport.h"

#include "CRecordingLoadProgress.h"

namespace vistel
{
namespace test
{
namespace
{

class LoadProgressTest : public SceneLoaderTest
{
protected:
	void SetUp() override
	{
		SceneLoaderTest::SetUp();
		usePreviewParameters();
		provideTexture("tex/a.tga");
		// Several of the reader's blocks, so that reports come while it reads.
		std::string primitives;
		for (int i = 0; i < PrimitiveCount; ++i)
			primitives += trianglePrimitive(1, "P", i);
		Document = sceneDocument(textureMaterial(1, "a.tga"), primitives);
	}

	static irr::u32 countTriangles(irr::scene::IAnimatedMesh* mesh)
	{
		irr::u32 triangles = 0;
		irr::scene::IMesh* frame = mesh->getMesh(0);
		for (irr::u32 b = 0; b < frame->getMeshBufferCount(); ++b)
			triangles += frame->getMeshBuffer(b)->getIndexCount() / 3;
		return triangles;
	}

	static const int PrimitiveCount = 6000;
	std::string Document;
	CRecordingLoadProgress Progress;
};

TEST_F(LoadProgressTest, ReportsFollowTheBytesReadAndTheTrianglesBuilt)
{
	ASSERT_GT(Document.size(), 1u << 20);
	Loader->setProgress(&Progress);
	irr::scene::IAnimatedMesh* mesh = load(Document);
	ASSERT_NE(mesh, nullptr);
	EXPECT_FALSE(Loader->wasLastLoadStopped());
	EXPECT_EQ(countTriangles(mesh), static_cast<irr::u32>(PrimitiveCount));

	ASSERT_GT(Progress.Reports.size(), 10u);
	const SLoadProgress* previous = nullptr;
	bool midway = false;
	for (const SLoadProgress& report : Progress.Reports)
	{
		EXPECT_EQ(report.Stage, ELS_READING);
		EXPECT_EQ(report.BytesTotal, Document.size());
		EXPECT_LE(report.BytesRead, report.BytesTotal);
		EXPECT_FLOAT_EQ(report.StageDone, static_cast<irr::f32>(report.BytesRead) / report.BytesTotal);
		EXPECT_LE(report.Triangles, static_cast<irr::u32>(PrimitiveCount));
		if (previous)
		{
			EXPECT_GE(report.BytesRead, previous->BytesRead);
			EXPECT_GE(report.Triangles, previous->Triangles);
		}
		midway |= report.BytesRead > 0 && report.BytesRead < report.BytesTotal && report.Triangles > 0;
		previous = &report;
	}
	EXPECT_TRUE(midway) << "no report came while the document was being read";
	EXPECT_GT(Progress.Reports.back().Triangles, static_cast<irr::u32>(PrimitiveCount) / 2);
}

TEST_F(LoadProgressTest, AStoppedLoadEndsAtOnceAndHandsOutNothing)
{
	Progress.StopAt = 5;
	Loader->setProgress(&Progress);
	EXPECT_EQ(load(Document), nullptr);
	EXPECT_TRUE(Loader->wasLastLoadStopped());
	// Asked once to stop, the loader asks no more.
	EXPECT_EQ(Progress.Reports.size(), 5u);
	EXPECT_LT(Progress.Reports.back().BytesRead, Document.size());
	// A stop is no fault of the document.
	EXPECT_EQ(Loader->getLastLoadFault(), "");

	// The loader reads the next document whole, without a hook as with one.
	Loader->setProgress(nullptr);
	irr::scene::IAnimatedMesh* mesh = load(Document);
	ASSERT_NE(mesh, nullptr);
	EXPECT_FALSE(Loader->wasLastLoadStopped());
	EXPECT_EQ(countTriangles(mesh), static_cast<irr::u32>(PrimitiveCount));
}

} // end anonymous namespace
} // end namespace test
} // end namespace vistel

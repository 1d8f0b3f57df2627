#include "CLoadingScreen.h"
#include "SPreviewRunState.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
#include <vector>

using namespace irr;

namespace vistel
{

namespace
{

SLoadProgress makeProgress(ELoadStage stage, f32 done, unsigned long long bytesRead = 0,
	unsigned long long bytesTotal = 0, u32 triangles = 0)
{
	SLoadProgress progress;
	progress.Stage = stage;
	progress.StageDone = done;
	progress.BytesRead = bytesRead;
	progress.BytesTotal = bytesTotal;
	progress.Triangles = triangles;
	return progress;
}

// Calls the screen until it answers false, for at most a generous while:
// it pumps and looks at the window only every RedrawInterval milliseconds.
bool stopsWithin(CLoadingScreen& screen, double seconds)
{
	const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
	while (std::chrono::steady_clock::now() < deadline)
		if (!screen.onLoadProgress(makeProgress(ELS_READING, 0.5f)))
			return true;
	return false;
}

} // end anonymous namespace

TEST(LoadingScreen, TextsAndShareDoneFollowTheStages)
{
	struct SCase
	{
		SLoadProgress Progress;
		f32 Done;
		const wchar_t* Stage;
		const wchar_t* Triangles;
		const wchar_t* Caption;
	};
	const unsigned long long mebibyte = 1ull << 20;
	const SCase cases[] = {
		{makeProgress(ELS_READING, 0.f), 0.f, L"Reading the level", L"0 triangles", L"Loading the level: 0%"},
		{makeProgress(ELS_READING, 0.5f, 1400 * mebibyte, 2800 * mebibyte, 10123456), 0.375f,
			L"Reading the level: 1,400 of 2,800 MB", L"10,123,456 triangles", L"Loading the level: 37%"},
		// A part of a mebibyte counts as one of the whole.
		{makeProgress(ELS_READING, 1.f, 1000, 1000, 12), 0.75f, L"Reading the level: 0 of 1 MB", L"12 triangles",
			L"Loading the level: 75%"},
		{makeProgress(ELS_BUILDING, 0.5f, 0, 0, 999), 0.825f, L"Building the mesh", L"999 triangles",
			L"Loading the level: 82%"},
		{makeProgress(ELS_COLLISION, 1.f, 0, 0, 1000), 1.f, L"Building the collision data", L"1,000 triangles",
			L"Loading the level: 100%"},
		// Shares out of range are held to the stage.
		{makeProgress(ELS_BUILDING, 7.f), 0.9f, L"Building the mesh", L"0 triangles", L"Loading the level: 90%"},
		{makeProgress(ELS_COLLISION, -1.f), 0.9f, L"Building the collision data", L"0 triangles",
			L"Loading the level: 90%"},
	};
	for (const SCase& c : cases)
	{
		const SLoadingScreenTexts texts = buildLoadingScreenTexts(c.Progress);
		EXPECT_NEAR(texts.Done, c.Done, 1e-5f) << c.Caption;
		EXPECT_EQ(getLoadShareDone(c.Progress), texts.Done);
		EXPECT_STREQ(texts.Stage.c_str(), c.Stage);
		EXPECT_STREQ(texts.Triangles.c_str(), c.Triangles);
		EXPECT_STREQ(texts.Caption.c_str(), c.Caption);
	}
}

TEST(LoadingScreen, PicturesLeaveTheLoadMostOfTheTime)
{
	// A cheap picture is drawn every RedrawInterval; a dear one (a software
	// renderer on a slow machine, where a picture took seconds and the load
	// did little but draw) only after five times its cost. The clock may
	// wrap between pictures.
	struct SCase
	{
		u32 Now, LastDrawn, LastDrawCost;
		bool Due;
	};
	const SCase cases[] = {
		{ 1039, 1000, 2, false },
		{ 1040, 1000, 2, true },
		{ 1040, 1000, 8, true },
		{ 1040, 1000, 9, false },
		{ 1000 + 2499, 1000, 500, false },
		{ 1000 + 2500, 1000, 500, true },
		{ 10, 0xFFFFFFF0u, 3, false },
		{ 30, 0xFFFFFFF0u, 3, true },
	};
	for (const SCase& c : cases)
		EXPECT_EQ(isLoadingPictureDue(c.Now, c.LastDrawn, c.LastDrawCost), c.Due)
			<< c.Now << " " << c.LastDrawn << " " << c.LastDrawCost;
}

TEST(LoadingScreen, OneDearPictureDoesNotHoldTheNextBack)
{
	// The pacing takes the cheapest of the last three pictures: a picture
	// the thread spent waiting for a core (400 ms among pictures of 5 ms)
	// lets the next one come after RedrawInterval, not after two seconds;
	// pictures that are all dear stay spaced out.
	struct SCase
	{
		std::vector<u32> Costs;
		u32 Typical;
	};
	const SCase cases[] = {
		{{}, 0},
		{{300}, 300},
		{{10, 10, 400}, 10},
		{{400, 10}, 10},
		{{500, 700, 600}, 500},
		// Only the last three count.
		{{1, 500, 700, 600}, 500},
		{{500, 700, 600, 2}, 2},
	};
	for (const SCase& c : cases)
	{
		CPictureCosts costs;
		for (const u32 cost : c.Costs)
			costs.add(cost);
		EXPECT_EQ(costs.getTypical(), c.Typical) << ::testing::PrintToString(c.Costs);
	}
	CPictureCosts costs;
	for (const u32 cost : {5u, 5u, 400u})
		costs.add(cost);
	EXPECT_TRUE(isLoadingPictureDue(1000 + CLoadingScreen::RedrawInterval, 1000, costs.getTypical()));
}

TEST(LoadingScreen, AsksToStopOnceTheWindowClosesOrEscapeWasPressed)
{
	for (const bool escape : {false, true})
	{
		IrrlichtDevice* device = createDevice(video::EDT_NULL);
		ASSERT_TRUE(device != 0);
		{
			CLoadingScreen screen(device);
			screen.show();
			EXPECT_TRUE(screen.onLoadProgress(makeProgress(ELS_READING, 0.1f)));
			EXPECT_FALSE(stopsWithin(screen, 0.2));
			if (escape)
				getPreviewRunState().quitRequested = true;
			else
				device->closeDevice();
			EXPECT_TRUE(stopsWithin(screen, 60.0));
			EXPECT_TRUE(screen.isStopped());
			// Once stopped, every later step is told to stop at once.
			EXPECT_FALSE(screen.onLoadProgress(makeProgress(ELS_COLLISION, 0.f)));
			screen.finish();
		}
		getPreviewRunState().clearRunReferences();
		device->drop();
	}
}

} // end namespace vistel

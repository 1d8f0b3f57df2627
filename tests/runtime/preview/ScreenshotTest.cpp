#include "PreviewTestSupport.h"

#include "CPreviewEventReceiver.h"
#include "CRecordingPlatform.h"
#include "RenderLoop.h"
#include "Screenshot.h"

using namespace irr;
using vistel::test::CPreviewTest;

namespace vistel
{

namespace
{

class ScreenshotTest : public CPreviewTest
{
protected:
	void SetUp() override
	{
		CPreviewTest::SetUp();
		Settings.engine.screenWidth = 64;
		Settings.engine.screenHeight = 48;
		ASSERT_TRUE(setUpBoxLevel());
		State.screenshotRequested = true;
		State.screenshotLabel->setVisible(true);
	}

	void expectFinished()
	{
		EXPECT_FALSE(State.screenshotRequested);
		EXPECT_FALSE(State.screenshotLabel->isVisible());
	}

	void expectBoxes(const std::vector<std::pair<std::string, std::string> >& expected)
	{
		const std::vector<platform::SRecordedMessageBox>& boxes = Platform.MessageBoxes;
		ASSERT_EQ(expected.size(), boxes.size());
		for (size_t i = 0; i < boxes.size(); ++i)
		{
			EXPECT_EQ(expected[i].first, boxes[i].Text);
			EXPECT_EQ(expected[i].second, boxes[i].Caption);
			EXPECT_TRUE(boxes[i].Owner == 0);
			EXPECT_EQ(platform::EMBS_OK, boxes[i].Style);
		}
	}

	// The frame of the request is read before the buffers swap, the rest
	// after the frame is presented.
	void shoot()
	{
		SScreenshotFrame frame;
		captureScreenshotFrame(Device, Settings, frame);
		takeScreenshot(Device, Settings, frame);
	}

	platform::CRecordingPlatform& Platform = platform::getRecordingPlatform();
};

typedef std::vector<std::string> Calls;
typedef std::vector<std::pair<std::string, std::string> > Boxes;

TEST_F(ScreenshotTest, CopiesAsksAndWritesTheWindowPictureAtTheWindowSize)
{
	Platform.SaveFileName = "/pictures/shot.jpg";
	shoot();

	EXPECT_EQ(Calls({ "copyDrawnFrame", "askSaveFileName", "writeJpegFile" }),
		Platform.ScreenshotCalls);
	ASSERT_EQ(1u, Platform.SaveDialogs.size());
	const platform::SSaveFileDialog& dialog = Platform.SaveDialogs[0];
	EXPECT_EQ("Save your screenshot to file...", dialog.Title);
	EXPECT_EQ("JPEG Image", dialog.FilterName);
	EXPECT_EQ("*.jpg", dialog.FilterPattern);
	EXPECT_EQ("jpg", dialog.DefaultSuffix);
	EXPECT_TRUE(dialog.ConfirmOverwrite);

	// The driver's surface is what gets read, at the size it draws.
	ASSERT_EQ(1u, Platform.CopiedSurfaces.size());
	EXPECT_EQ(640, Platform.CopiedSurfaces[0].Width);
	EXPECT_EQ(480, Platform.CopiedSurfaces[0].Height);

	ASSERT_EQ(1u, Platform.JpegFiles.size());
	const platform::SRecordedJpegFile& file = Platform.JpegFiles[0];
	EXPECT_EQ("/pictures/shot.jpg", file.FileName);
	EXPECT_EQ(64, file.Picture.Width);
	EXPECT_EQ(48, file.Picture.Height);
	EXPECT_EQ(std::vector<std::uint32_t>(64 * 48, Platform.CopiedColour), file.Picture.Pixels);
	expectBoxes(Boxes());
	expectFinished();
}

TEST_F(ScreenshotTest, FailuresAreReportedAndTheLabelAlwaysGoes)
{
	struct SCase
	{
		const char* what;
		bool copySucceeds;
		std::string fileName;
		bool writeSucceeds;
		Calls calls;
		Boxes boxes;
	};
	const SCase cases[] = {
		{ "cancelled dialog", true, "", true, { "copyDrawnFrame", "askSaveFileName" }, {} },
		{ "copy fails: the black picture is still saved", false, "a.jpg", true,
			{ "copyDrawnFrame", "askSaveFileName", "writeJpegFile" },
			{ { "Stretch Error", "Error" } } },
		{ "file cannot be written", true, "a.jpg", false,
			{ "copyDrawnFrame", "askSaveFileName", "writeJpegFile" }, { { "Error", "Error" } } },
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.what);
		Platform = platform::CRecordingPlatform();
		Platform.CopySucceeds = c.copySucceeds;
		Platform.SaveFileName = c.fileName;
		Platform.JpegWriteSucceeds = c.writeSucceeds;
		State.screenshotRequested = true;
		State.screenshotLabel->setVisible(true);
		shoot();
		EXPECT_EQ(c.calls, Platform.ScreenshotCalls);
		expectBoxes(c.boxes);
		if (!c.copySucceeds)
		{
			EXPECT_EQ(std::vector<std::uint32_t>(64 * 48, 0xFF000000u),
				Platform.JpegFiles.at(0).Picture.Pixels);
		}
		expectFinished();
	}
}

TEST_F(ScreenshotTest, PictureOfImpossibleSizeIsReportedWithoutDialog)
{
	const int sizes[][2] = { { 0, 48 }, { 64, -1 }, { 100000, 48 } };
	for (const auto& size : sizes)
	{
		Platform = platform::CRecordingPlatform();
		Settings.engine.screenWidth = size[0];
		Settings.engine.screenHeight = size[1];
		State.screenshotRequested = true;
		State.screenshotLabel->setVisible(true);
		shoot();
		EXPECT_TRUE(Platform.ScreenshotCalls.empty());
		expectBoxes(Boxes({ { "Errore creazione", "Errore" } }));
		expectFinished();
	}
}

TEST_F(ScreenshotTest, FullScreenWindowHidesWhileTheDialogIsOpen)
{
	Settings.engine.fullscreen = true;
	const std::string names[] = { "a.jpg", "" };
	for (const std::string& name : names)
	{
		Platform = platform::CRecordingPlatform();
		Platform.SaveFileName = name;
		shoot();
		Calls expected = { "copyDrawnFrame", "hideWindow", "askSaveFileName" };
		if (!name.empty())
			expected.push_back("writeJpegFile");
		expected.push_back("showWindow");
		EXPECT_EQ(expected, Platform.ScreenshotCalls);
	}
}

TEST_F(ScreenshotTest, TwoRequestsBeforeTheFrameTakeOnePicture)
{
	State.screenshotRequested = false;
	State.screenshotLabel->setVisible(false);
	CPreviewEventReceiver receiver;
	for (int i = 0; i < 2; ++i)
	{
		receiver.OnEvent(test::makeKeyEvent(KEY_KEY_P, true));
		receiver.OnEvent(test::makeKeyEvent(KEY_KEY_P, false));
	}
	s32 lastFrameRate = 0;
	renderActiveFrame(Device, Settings, lastFrameRate);
	EXPECT_EQ(1u, Platform.JpegFiles.size());
	expectFinished();
	renderActiveFrame(Device, Settings, lastFrameRate);
	EXPECT_EQ(1u, Platform.JpegFiles.size());
}

} // end anonymous namespace

} // end namespace vistel

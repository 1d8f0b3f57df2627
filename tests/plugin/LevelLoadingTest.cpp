// Loading the level in the preview run: a scene file that gives nothing to
// walk through is explained to the user in an error box, and the run ends.

#include "CRecordingPlatform.h"
#include "CTXSMeshFileLoader.h"
#include "PreviewRun.h"
#include "CPreviewEventReceiver.h"
#include "SPreviewRunState.h"
#include "CTemporaryDirectory.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstring>
#include <string>

using namespace irr;
using namespace vistel;

namespace
{

const char Settings[] = "<settings name=\"Test\" author=\"\" comments=\"\" shadowOpacity=\"75\">"
						"<ambient r=\"92\" g=\"92\" b=\"92\" /></settings>";
const char Material[] = "<materials><category name=\"C\"><material name=\"M\" id=\"1\" used=\"true\">"
						"<layer type=\"texture\" blend=\"\"><color a=\"255\" r=\"200\" g=\"200\" b=\"200\" />"
						"</layer></material></category></materials>";
const char Triangle[] = "<primitives><primitive name=\"P\" id=\"1\"><vertices>"
						"<vertex id=\"0\" x=\"0\" y=\"0\" z=\"0\" /><vertex id=\"1\" x=\"1\" y=\"0\" z=\"0\" />"
						"<vertex id=\"2\" x=\"0\" y=\"1\" z=\"0\" /></vertices><polygons><poly mid=\"1\">"
						"<vertex vid=\"0\" u0=\"0\" v0=\"0\" /><vertex vid=\"1\" u0=\"1\" v0=\"0\" />"
						"<vertex vid=\"2\" u0=\"0\" v0=\"1\" /></poly></polygons></primitive></primitives>";

class LevelLoadingTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Platform = platform::CRecordingPlatform();
		SIrrlichtCreationParameters parameters;
		parameters.DriverType = video::EDT_NULL;
		parameters.LoggingLevel = ELL_NONE;
		Device = createDeviceEx(parameters);
		ASSERT_TRUE(Device);
		Loader = registerSceneLoader(Device, (Directory.path() + "/Textures").c_str());
		ASSERT_TRUE(Loader);
	}

	void TearDown() override
	{
		if (Device)
			Device->drop();
	}

	platform::CRecordingPlatform& Platform = platform::getRecordingPlatform();
	test::CTemporaryDirectory Directory;
	IrrlichtDevice* Device = 0;
	CTXSMeshFileLoader* Loader = 0;
};

TEST_F(LevelLoadingTest, NoLevelToWalkThroughIsExplainedInAnErrorBox)
{
	struct SCase
	{
		const char* what;
		const char* document; // 0: no scene file at all
		const char* reason;   // what the box says after the file's name
	};
	const SCase cases[] = {
		{"no scene file", 0, "the file could not be opened"},
		{"cut off before any polygon",
			"<scene version=\"1.6\">\n<materials>\n<category name=\"C\"\n<material", "line "},
		{"nothing in the scene", "<scene version=\"1.6\"></scene>",
			"it holds no polygons that can be drawn"},
	};
	int index = 0;
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.what);
		Platform = platform::CRecordingPlatform();
		const std::string path = Directory / ("level" + std::to_string(index++) + ".txs");
		if (c.document)
			test::writeFile(path, c.document);

		EXPECT_EQ(loadLevelMesh(Device, Loader, path.c_str()), nullptr);

		ASSERT_EQ(Platform.MessageBoxes.size(), 1u);
		const platform::SRecordedMessageBox& box = Platform.MessageBoxes[0];
		EXPECT_EQ(box.Owner, nullptr);
		EXPECT_EQ(box.Style, platform::EMBS_ICON_ERROR);
		EXPECT_EQ(box.Caption, "Tarvo Vistel Plugin");
		const std::string start = "The level could not be read from the scene file \"" + path + "\": ";
		EXPECT_EQ(box.Text.compare(0, start.size(), start), 0) << box.Text;
		EXPECT_EQ(box.Text.compare(start.size(), std::strlen(c.reason), c.reason), 0) << box.Text;
		const std::string end = ". The preview closes.";
		ASSERT_GT(box.Text.size(), end.size());
		EXPECT_EQ(box.Text.substr(box.Text.size() - end.size()), end) << box.Text;
	}
}

TEST_F(LevelLoadingTest, FaultIsToldWithItsLineAndColumn)
{
	const std::string path = Directory / "broken.txs";
	// The third line opens a tag that the end of the file cuts off.
	test::writeFile(path, "<scene version=\"1.6\">\n<materials>\n<category name=\"C\"\n<material");
	EXPECT_EQ(loadLevelMesh(Device, Loader, path.c_str()), nullptr);
	ASSERT_EQ(Platform.MessageBoxes.size(), 1u);
	const std::string fault = Loader->getLastLoadFault();
	ASSERT_FALSE(fault.empty());
	EXPECT_NE(Platform.MessageBoxes[0].Text.find(": line 3, column 1: "), std::string::npos)
		<< Platform.MessageBoxes[0].Text;
	EXPECT_EQ(Platform.MessageBoxes[0].Text, describeUnreadableLevel(path.c_str(), true, fault));
}

// The run writes the editor's lines after the first one joined on one line
// behind the settings element; the box gives the position in the editor's
// document, where the user can find it.
TEST_F(LevelLoadingTest, FaultIsToldInTheEditorsLines)
{
	struct SCase
	{
		const char* what;
		std::string reply;
		const char* position;
	};
	const SCase cases[] = {
		{"cut tag, indented", "<scene version=\"1.6\">\n<materials>\n  <category name=\"C\"\n<material",
			"line 3, column 3 of the editor's document: "},
		{"after a declaration and an empty line",
			"<?xml version=\"1.0\"?>\n<scene version=\"1.6\">\n\n<materials>\n\t<category name=\"C\"",
			"line 5, column 2 of the editor's document: "},
		{"carriage returns stay in the lines",
			"<scene version=\"1.6\">\r\n<materials>\r\n<category name=\"C\"\r\n",
			"line 3, column 1 of the editor's document: "},
	};
	int index = 0;
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.what);
		Platform = platform::CRecordingPlatform();
		const std::string path = Directory / ("editor" + std::to_string(index++) + ".txs");
		std::string reply = c.reply;
		SSceneFileOrigin origin;
		ASSERT_TRUE(writeSceneFile(path.c_str(), &reply[0], reply.size(), &origin.LineMap));

		EXPECT_EQ(loadLevelMesh(Device, Loader, path.c_str(), origin), nullptr);
		ASSERT_EQ(Platform.MessageBoxes.size(), 1u);
		EXPECT_NE(Platform.MessageBoxes[0].Text.find(std::string(": ") + c.position), std::string::npos)
			<< Platform.MessageBoxes[0].Text << "\nreader: " << Loader->getLastLoadFault();
	}
}

TEST(SceneLineMap, PositionsOutsideTheEditorsLines)
{
	// "  <a>" then "<b/>" and " <c/>": the settings element's own lines
	// stand where the first line ended; past the end is past the last line.
	CSceneLineMap map;
	map.addLine(2, 3);
	map.addLine(0, 4);
	map.addLine(1, 4);
	struct SCase
	{
		unsigned long long sceneLine, sceneColumn, line, column;
	};
	const SCase cases[] = {
		{1, 2, 1, 4}, {1, 9, 1, 6}, {2, 5, 1, 6}, {3, 1, 1, 6},
		{4, 1, 2, 1}, {4, 4, 2, 4}, {4, 5, 3, 2}, {4, 9, 3, 6}, {4, 11, 3, 8},
		{7, 3, 7, 3},
	};
	for (const SCase& c : cases)
	{
		unsigned long long line = 0, column = 0;
		map.toEditorPosition(c.sceneLine, c.sceneColumn, line, column);
		EXPECT_EQ(line, c.line) << c.sceneLine << ":" << c.sceneColumn;
		EXPECT_EQ(column, c.column) << c.sceneLine << ":" << c.sceneColumn;
	}
	EXPECT_EQ(map.translateFault("no position here"), "no position here");
	EXPECT_EQ(CSceneLineMap().translateFault("line 4, column 2: x"), "line 4, column 2: x");
}

// A level the host reports empty leaves no scene file: the box says the
// level is empty, not that a file could not be opened.
TEST_F(LevelLoadingTest, EmptyLevelIsToldAsEmpty)
{
	SSceneFileOrigin origin;
	origin.LevelEmpty = true;
	EXPECT_EQ(loadLevelMesh(Device, Loader, (Directory / "myfile.txs").c_str(), origin), nullptr);
	ASSERT_EQ(Platform.MessageBoxes.size(), 1u);
	EXPECT_EQ(Platform.MessageBoxes[0].Text,
		"The level is empty: the editor has nothing to walk through. The preview closes.");
	EXPECT_EQ(Platform.MessageBoxes[0].Caption, "Tarvo Vistel Plugin");
}

TEST_F(LevelLoadingTest, ReadableLevelShowsNoBox)
{
	const std::string path = Directory / "good.txs";
	test::writeFile(path, std::string("<scene version=\"1.6\">") + Settings + Material + Triangle + "</scene>");
	scene::IAnimatedMesh* mesh = loadLevelMesh(Device, Loader, path.c_str());
	ASSERT_NE(mesh, nullptr);
	EXPECT_EQ(mesh->getFrameCount(), 1u);
	EXPECT_TRUE(Platform.MessageBoxes.empty());
}

TEST(LevelLoadingText, ReaderTextEndsInOneFullStop)
{
	EXPECT_EQ(describeUnreadableLevel("/e/myfile.txs", true, "line 3, column 7: bad tag.\n"),
		"The level could not be read from the scene file \"/e/myfile.txs\": line 3, column 7: "
		"bad tag. The preview closes.");
}

// The engine's logger drops a line that the receiver answers as handled, so
// log lines always pass, with or without a camera to steer.
TEST(PreviewEventReceiverLog, LogLinesAreNeverSwallowed)
{
	SIrrlichtCreationParameters parameters;
	parameters.DriverType = video::EDT_NULL;
	parameters.LoggingLevel = ELL_NONE;
	IrrlichtDevice* device = createDeviceEx(parameters);
	ASSERT_TRUE(device);
	SPreviewRunState& state = getPreviewRunState();
	state.clearRunReferences();
	CPreviewEventReceiver receiver;
	SEvent log;
	log.EventType = EET_LOG_TEXT_EVENT;
	log.LogEvent.Text = "Scene document is not well-formed";
	log.LogEvent.Level = ELL_WARNING;

	EXPECT_FALSE(receiver.OnEvent(log)) << "without a camera";
	state.camera = device->getSceneManager()->addCameraSceneNodeFPS();
	EXPECT_FALSE(receiver.OnEvent(log)) << "with the camera";
	state.clearRunReferences();
	device->drop();
}

} // end anonymous namespace

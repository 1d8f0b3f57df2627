#include "HostExchange.h"
#include "HostReplies.h"
#include "PreviewRun.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "CRecordingPlatform.h"
#include "CRecordingLoadProgress.h"
#include "CGrowingReadFile.h"
#include "CSceneFileWriter.h"
#include "CTemporaryDirectory.h"
#include "SystemPath.h"

#include "SPreviewRunState.h"

#include <gtest/gtest.h>
#include <irrlicht.h>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace vistel;
using vistel::platform::getRecordingPlatform;
using vistel::test::systemPath;

namespace
{

// A scripted host: answers every call from a table and records what came.
struct SCall
{
	int Reason;
	std::string Request;
	unsigned int ReplySizeOnEntry;
};

struct SFakeHost
{
	std::vector<SCall> Calls;
	std::string Reply;
	int GetMemResult;
	int GetDataResult;
	unsigned int ReportedSize; // what GetMem answers

	void reset(const std::string& reply)
	{
		Calls.clear();
		Reply = reply;
		GetMemResult = 0;
		GetDataResult = 0;
		ReportedSize = static_cast<unsigned int>(reply.size());
	}
};

SFakeHost fakeHost;

int VISTEL_CALL fakeCallback(SCallbackRecord* record)
{
	SCall call = { record->reason, record->request, record->replySize };
	fakeHost.Calls.push_back(call);
	if (record->reason == ECR_GET_MEM)
	{
		if (fakeHost.GetMemResult == 0)
			record->replySize = fakeHost.ReportedSize;
		return fakeHost.GetMemResult;
	}
	if (fakeHost.GetDataResult == 0)
	{
		// Exactly replySize bytes, then junk where a terminator would be.
		std::memcpy(record->reply, fakeHost.Reply.data(), record->replySize);
		record->reply[record->replySize] = '#';
	}
	return fakeHost.GetDataResult;
}

class HostExchange : public ::testing::Test
{
protected:
	void SetUp()
	{
		setHostCallback(&fakeCallback);
		getRecordingPlatform().MessageBoxes.clear();
	}
};

} // end anonymous namespace

TEST_F(HostExchange, ErrorBoxTextForEachCode)
{
	struct SCase
	{
		int Code;
		const char* Text;
	};
	const SCase cases[] = {
		{ 1, "Error Code 1: No Data present." },
		{ 2, "Error Code 2: Invalid Version." },
		{ 3, "Error Code 3: Invalid GetMem Command." },
		{ 4, "Error Code 4: Invalid GetData Command." },
		{ 5, "Error Code 5: Invalid SetData Command." },
		{ 6, "Error Code 6: Invalid Header." },
		{ 7, "Error Code 7: Invalid Data String." },
		{ 8, "Error Code 8: Invalid Data Property." },
		{ 9, "Error Code 9: Unknown Error Code." },
		{ 10, "Error Code 10: Unknown Error Code." },
		{ 11, "Error Code 11: Error in Object Data." },
		{ 12, "Error Code 12: Error in Light Data." },
		{ 13, "Error Code 13: Error in Material Data." },
		{ 14, "Error Code 14: Unknown Error Code." },
		{ 98, "Error Code 98: Unknown Callback Reason." },
		{ 99, "Error Code 99: Unknown Error." },
		{ -1, "Error Code 4294967295: Unknown Error Code." },
	};
	for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
	{
		fakeHost.reset("x");
		fakeHost.GetMemResult = cases[i].Code;
		getRecordingPlatform().MessageBoxes.clear();
		std::string reply;
		EXPECT_FALSE(exchangeWithHost(WHOLE_LEVEL_REQUEST, EHRK_SCENE, reply));
		ASSERT_EQ(getRecordingPlatform().MessageBoxes.size(), 1u) << cases[i].Code;
		const platform::SRecordedMessageBox& box = getRecordingPlatform().MessageBoxes[0];
		EXPECT_EQ(box.Text, cases[i].Text);
		EXPECT_EQ(box.Caption, "Error in Callback");
		EXPECT_EQ(box.Style, platform::EMBS_ICON_ERROR);
		EXPECT_EQ(box.Owner, (void*)0);
		EXPECT_EQ(fakeHost.Calls.size(), 1u) << "no GetData after a failed GetMem";
	}
}

TEST_F(HostExchange, TwoPhasesWithTheSameRequestAndATerminatedReply)
{
	fakeHost.reset("<scene>\nabc</scene>");
	std::string reply;
	ASSERT_TRUE(exchangeWithHost(WHOLE_LEVEL_REQUEST, EHRK_SCENE, reply));
	EXPECT_EQ(reply, "<scene>\nabc</scene>");
	ASSERT_EQ(fakeHost.Calls.size(), 2u);
	EXPECT_EQ(fakeHost.Calls[0].Reason, ECR_GET_MEM);
	EXPECT_EQ(fakeHost.Calls[0].ReplySizeOnEntry, 0u);
	EXPECT_EQ(fakeHost.Calls[1].Reason, ECR_GET_DATA);
	EXPECT_EQ(fakeHost.Calls[0].Request, WHOLE_LEVEL_REQUEST);
	EXPECT_EQ(fakeHost.Calls[1].Request, WHOLE_LEVEL_REQUEST);
	EXPECT_TRUE(getRecordingPlatform().MessageBoxes.empty());
}

TEST_F(HostExchange, ReplyEndsAtItsFirstZeroByte)
{
	fakeHost.reset(std::string("<scene>\0junk", 12));
	SHostReply reply;
	ASSERT_TRUE(exchangeWithHost(WHOLE_LEVEL_REQUEST, EHRK_SCENE, reply));
	EXPECT_EQ(reply.Size, 7u);
	EXPECT_STREQ(reply.Data.get(), "<scene>");
}

TEST(HostReplyBuffer, SizeThatCannotHoldItsTerminatorIsRefused)
{
	// On a 32-bit system the largest size is 0xFFFFFFFF, and the largest
	// reply plus its terminator would wrap to a zero-byte buffer.
	const std::size_t limit32 = 0xFFFFFFFFu;
	struct SCase
	{
		irr::u32 ReplySize;
		std::size_t Limit;
		bool Fits;
		std::size_t Bytes;
	};
	const SCase cases[] = {
		{ 0xFFFFFFFFu, limit32, false, 0 },
		{ 0xFFFFFFFEu, limit32, true, 0xFFFFFFFFu },
		{ 0u, limit32, true, 1 },
		{ 0xFFFFFFFFu, static_cast<std::size_t>(-1), sizeof(std::size_t) > 4, sizeof(std::size_t) > 4 ? 0x100000000ull : 0 },
	};
	for (const SCase& c : cases)
	{
		std::size_t bytes = 0;
		EXPECT_EQ(getReplyBufferSize(c.ReplySize, c.Limit, bytes), c.Fits) << c.ReplySize;
		if (c.Fits)
		{
			EXPECT_EQ(bytes, c.Bytes) << c.ReplySize;
		}
	}
}

TEST_F(HostExchange, EmptySceneReplyEndsSilently)
{
	fakeHost.reset("");
	std::string reply;
	EXPECT_FALSE(exchangeWithHost(SELECTION_REQUEST, EHRK_SCENE, reply));
	EXPECT_EQ(fakeHost.Calls.size(), 1u);
	EXPECT_TRUE(getRecordingPlatform().MessageBoxes.empty());

	// The run learns that the level is empty, and a refused request is not.
	SSceneFileOrigin origin;
	fetchSceneFile("/nonexistent/myfile.txs", false, &origin);
	EXPECT_TRUE(origin.LevelEmpty);
	fakeHost.GetMemResult = 1;
	fetchSceneFile("/nonexistent/myfile.txs", false, &origin);
	EXPECT_FALSE(origin.LevelEmpty);
}

TEST_F(HostExchange, GetDataFailureIsReportedOnlyForTheScene)
{
	fakeHost.reset("<r>\n<installdirectory>/e/</installdirectory>\n</r>");
	fakeHost.GetDataResult = 4;
	EXPECT_TRUE(requestInstallDirectory().empty());
	EXPECT_TRUE(getRecordingPlatform().MessageBoxes.empty());

	std::string reply;
	EXPECT_FALSE(exchangeWithHost(WHOLE_LEVEL_REQUEST, EHRK_SCENE, reply));
	ASSERT_EQ(getRecordingPlatform().MessageBoxes.size(), 1u);
	EXPECT_EQ(getRecordingPlatform().MessageBoxes[0].Text, "Error Code 4: Invalid GetData Command.");
}

TEST_F(HostExchange, RequestDocumentsAreExact)
{
	EXPECT_STREQ(INSTALL_DIRECTORY_REQUEST, "<request>\n   <installdirectory />\n</request>");
	const std::string whole = WHOLE_LEVEL_REQUEST;
	EXPECT_EQ(whole,
		"<request>\n   <materials subset=\"all\" retrieveID=\"false\" />\n"
		"   <primitives subset=\"all\" retrieveID=\"false\" />\n"
		"   <lights subset=\"all\" retrieveID=\"false\" />\n</request>");
	std::string selection = whole;
	selection.replace(selection.find("subset=\"all\" retrieveID=\"false\" />\n   <lights"), 12,
		"subset=\"selection\"");
	EXPECT_EQ(std::string(SELECTION_REQUEST), selection);

	// The run picks the document by the engine setting.
	fakeHost.reset("");
	fetchSceneFile("/nonexistent/myfile.txs", true);
	fetchSceneFile("/nonexistent/myfile.txs", false);
	ASSERT_EQ(fakeHost.Calls.size(), 2u);
	EXPECT_EQ(fakeHost.Calls[0].Request, SELECTION_REQUEST);
	EXPECT_EQ(fakeHost.Calls[1].Request, WHOLE_LEVEL_REQUEST);
}

TEST(HostReplies, InstallDirectory)
{
	struct SCase
	{
		const char* Reply;
		const char* Directory;
	};
	const SCase cases[] = {
		{ "<tarvo>\n<installdirectory>/opt/tarvo/</installdirectory>\n</tarvo>", "/opt/tarvo/" },
		{ "anything at all\n   <dir>  /opt/tarvo/  </dir>  \n", "/opt/tarvo/" },
		{ "<r>\r\n<d>C:\\Editor\\</d>\r\n</r>", "C:\\Editor\\" },
		{ "one line only <d>/x/</d>", "" },
		{ "<r>\nno element here\n", "" },
		{ "<r>\n<d>/open/ended", "/open/ended" },
		{ "<r>\n<d></d>\n", "" },
		{ "", "" },
	};
	for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
		EXPECT_STREQ(parseInstallDirectory(cases[i].Reply).c_str(), cases[i].Directory) << "case " << i;
}

TEST(HostReplies, SceneFileTextInsertsTheSettingsAfterTheFirstLine)
{
	const std::string expected = std::string("A") + SCENE_SETTINGS_ELEMENT + "BC";
	EXPECT_EQ(buildSceneFileText("A\nB\n\nC"), expected);
	EXPECT_EQ(buildSceneFileText("  A \t\n\tB  \n \nC\n"), expected);
	// Carriage returns are no blanks: they stay where the host put them.
	EXPECT_EQ(buildSceneFileText("A\r\nB"), std::string("A\r") + SCENE_SETTINGS_ELEMENT + "B");
	EXPECT_EQ(buildSceneFileText(""), SCENE_SETTINGS_ELEMENT);
	EXPECT_EQ(buildSceneFileText("\n\nA"), std::string(SCENE_SETTINGS_ELEMENT) + "A");
}

TEST_F(HostExchange, SceneFileIsTheReplyWithTheSettingsElement)
{
	test::CTemporaryDirectory directory;
	const std::string path = directory / "myfile.txs";
	std::string reply = "<scene version=\"1.6\">\n";
	for (int i = 0; i < 20000; ++i)
		reply += "  <vertex id=\"" + std::to_string(i) + "\" x=\"1\" />\t\n";
	reply += "</scene>";
	fakeHost.reset(reply);
	fetchSceneFile(path.c_str(), false);
	std::ifstream file(path, std::ios::binary);
	std::ostringstream written;
	written << file.rdbuf();
	EXPECT_EQ(written.str(), test::textFileBytes(buildSceneFileText(reply)));
	const std::string head = test::textFileBytes(std::string("<scene version=\"1.6\">")
		+ SCENE_SETTINGS_ELEMENT + "<vertex");
	EXPECT_EQ(written.str().compare(0, head.size(), head), 0);
}

TEST_F(HostExchange, SceneFileWrittenOnItsOwnThreadKeepsTheEditorsLines)
{
	test::CTemporaryDirectory directory;
	const std::string path = directory / "myfile.txs";
	const std::string reply = "<scene>\n  <a/>\n\n  <b x=\"1\"/>\n</scene>";
	fakeHost.reset(reply);
	CSceneFileWriter writer;
	SSceneFileOrigin origin;
	ASSERT_TRUE(beginSceneFile(path.c_str(), false, writer, &origin));
	test::CRecordingLoadProgress progress;
	EXPECT_TRUE(endSceneFile(writer, &origin, &progress));
	for (const SLoadProgress& report : progress.Reports)
		EXPECT_EQ(report.Stage, ELS_READING);
	std::ifstream file(path, std::ios::binary);
	std::ostringstream written;
	written << file.rdbuf();
	EXPECT_EQ(written.str(), test::textFileBytes(buildSceneFileText(reply)));
	// The same map of the editor's lines as the file written in place gives.
	ASSERT_FALSE(origin.LineMap.empty());
	std::string copy = reply;
	CSceneLineMap direct;
	ASSERT_TRUE(writeSceneFile((directory / "direct.txs").c_str(), &copy[0], copy.size(), &direct));
	for (unsigned long long sceneLine = 1; sceneLine <= 4; ++sceneLine)
		for (unsigned long long sceneColumn = 1; sceneColumn <= 12; ++sceneColumn)
		{
			unsigned long long line = 0, column = 0, directLine = 0, directColumn = 0;
			origin.LineMap.toEditorPosition(sceneLine, sceneColumn, line, column);
			direct.toEditorPosition(sceneLine, sceneColumn, directLine, directColumn);
			EXPECT_EQ(line, directLine);
			EXPECT_EQ(column, directColumn);
		}
	// Asked again, with nothing more to wait for, the answer stays.
	EXPECT_TRUE(writer.finish());
	CSceneFileWriter idle;
	EXPECT_FALSE(idle.finish());
}

TEST_F(HostExchange, SceneFileReadAlongIsTheWholeFile)
{
	// Megabytes of lines, so the file is read while its pieces are written.
	test::CTemporaryDirectory directory;
	const std::string path = directory / "myfile.txs";
	std::string reply = "<scene version=\"1.6\">\n";
	for (int i = 0; i < 300000; ++i)
		reply += "  <vertex id=\"" + std::to_string(i) + "\" x=\"1\" />\n";
	reply += "</scene>";
	fakeHost.reset(reply);
	CSceneFileWriter writer;
	SSceneFileOrigin origin;
	ASSERT_TRUE(beginSceneFile(path.c_str(), false, writer, &origin));
	ASSERT_EQ(writer.waitUntilReadable(), CSceneFileWriter::ER_READ_ALONG);
	CGrowingReadFile* file = CGrowingReadFile::open(path.c_str(), writer.getExpectedSize(), writer);
	ASSERT_NE(file, nullptr);
	std::string read;
	char block[100000];
	for (irr::s32 got; (got = file->read(block, sizeof(block))) > 0;)
		read.append(block, static_cast<std::size_t>(got));
	const long size = file->getSize();
	file->drop();
	EXPECT_TRUE(endSceneFile(writer, &origin, nullptr));
	const std::string expected = test::textFileBytes(buildSceneFileText(reply));
	EXPECT_EQ(read, expected);
	EXPECT_EQ(size, static_cast<long>(expected.size()));
	EXPECT_FALSE(origin.LineMap.empty());
}

TEST(SceneFile, AStopLeavesTheRestUnwritten)
{
	test::CTemporaryDirectory directory;
	const std::string path = directory / "myfile.txs";
	std::string reply = "<scene>\n" + std::string(20u << 20, ' ') + "<a/>\n</scene>";
	const std::atomic<bool> stop(true);
	EXPECT_FALSE(writeSceneFile(path.c_str(), &reply[0], reply.size(), nullptr, &stop));
	std::ifstream file(path, std::ios::binary);
	std::ostringstream written;
	written << file.rdbuf();
	EXPECT_EQ(written.str(), test::textFileBytes(std::string("<scene>") + SCENE_SETTINGS_ELEMENT));
}

#ifndef _WIN32
// The file's reader (a pipe's) takes nothing until the wait has told the
// progress hook once: the writing cannot end before, and a stop asked then
// ends it after the block under way.
TEST_F(HostExchange, WaitingForTheSceneFileAnswersProgressAndStops)
{
	// Waiting for the whole file, and for a first piece to read along.
	for (const bool waitAlong : {false, true})
	{
		SCOPED_TRACE(waitAlong);
		test::CTemporaryDirectory directory;
		const std::string path = directory / "myfile.txs";
		ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
		const std::size_t size = 40u << 20;
		fakeHost.reset("<scene>\n" + std::string(size, 'x') + "\n</scene>");
		std::atomic<bool> told(false);
		std::size_t received = 0;
		std::thread reader([&]() {
			FILE* pipe = std::fopen(path.c_str(), "rb");
			if (!pipe)
				return;
			while (!told)
				std::this_thread::sleep_for(std::chrono::milliseconds(1));
			char block[65536];
			for (std::size_t got; (got = std::fread(block, 1, sizeof(block), pipe)) > 0;)
				received += got;
			std::fclose(pipe);
		});
		struct SToldProgress : test::CRecordingLoadProgress
		{
			std::atomic<bool>* Told = nullptr;
			bool onLoadProgress(const SLoadProgress& progress) override
			{
				*Told = true;
				return CRecordingLoadProgress::onLoadProgress(progress);
			}
		} progress;
		progress.Told = &told;
		progress.StopAt = 1;
		CSceneFileWriter writer;
		SSceneFileOrigin origin;
		ASSERT_TRUE(beginSceneFile(path.c_str(), false, writer, &origin));
		if (waitAlong)
		{
			// A pipe tells no position, so it is not read along: the wait is for
			// the whole file, and the stop ends it as well.
			EXPECT_EQ(writer.waitUntilReadable(&progress), CSceneFileWriter::ER_STOPPED);
			EXPECT_FALSE(writer.finish());
		}
		else
			EXPECT_FALSE(endSceneFile(writer, &origin, &progress));
		reader.join();
		EXPECT_EQ(progress.Reports.size(), 1u);
		EXPECT_GT(received, 0u);
		EXPECT_LT(received, size / 2);
	}
}
#endif

TEST(HostReplies, TextureDirectoryFromTheIni)
{
	struct SCase
	{
		const char* Ini;
		const char* Directory;
	};
	const SCase cases[] = {
		{ "texturefiles=D:/Tex/\ntexturefiles=E:/Maps\n", "E:/Maps" },
		{ "texturefiles=D:/Tex/\n", "D:/Tex" },
		{ "texturefiles=D:\\Tex\\\r\n", "D:\\Tex" },
		{ "texturefiles=/t//\n", "/t/" },
		{ "[a]\n  texturefiles=/indented  \n", "/indented" },
		{ "TextureFiles=/x\n", "/editor/Textures" },
		{ "", "/editor/Textures" },
		{ "texturefiles=/last/line/without/end", "/last/line/without/end" },
		{ "texturefiles=x", "x" },
	};
	for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
		EXPECT_STREQ(parseTextureDirectory(systemPath(cases[i].Ini), systemPath("/editor/").c_str()).c_str(),
			systemPath(cases[i].Directory).c_str()) << "case " << i;
}

TEST(PreviewRunSteps, SettingsDirectoryAndTheUserDirBox)
{
	getRecordingPlatform().MessageBoxes.clear();
	EXPECT_STREQ(chooseSettingsDirectory("/opt/tarvo/", "/opt/tarvo").c_str(), "/opt/tarvo");
	EXPECT_TRUE(getRecordingPlatform().MessageBoxes.empty());

	EXPECT_STREQ(chooseSettingsDirectory("/Opt/TARVO", "/opt/tarvo").c_str(), "/Opt/TARVO");
	ASSERT_EQ(getRecordingPlatform().MessageBoxes.size(), 1u);
	const platform::SRecordedMessageBox& box = getRecordingPlatform().MessageBoxes[0];
	EXPECT_EQ(box.Text, "Tarvo User Dir");
	EXPECT_EQ(box.Caption, "/opt/tarvo");
	EXPECT_EQ(box.Style, platform::EMBS_OK);
}

TEST(PreviewRunSteps, ExecuteWithoutCallbackDoesNothing)
{
	setHostCallback(0);
	getRecordingPlatform().MessageBoxes.clear();
	runPreview();
	EXPECT_TRUE(getRecordingPlatform().MessageBoxes.empty());
}

// An exception in the run (here the settings sheet running out of memory)
// never reaches the host: the run is torn down and says why in a box of its
// own.
TEST_F(HostExchange, FailingRunReturnsToTheHostWithABox)
{
	test::CTemporaryDirectory editor;
	platform::CRecordingPlatform& platform = getRecordingPlatform();
	platform.ExecutablePath = editor / "tarvo";
	fakeHost.reset("<r>\n<installdirectory>" + editor.path() + "/</installdirectory>\n</r>");
	struct SCase
	{
		std::function<void(platform::CRecordingSheet&)> failure;
		const char* reason;
	};
	const SCase cases[] = {
		{[](platform::CRecordingSheet&) { throw std::bad_alloc(); }, "there was not enough memory"},
		{[](platform::CRecordingSheet&) { throw std::runtime_error("sheet broke"); }, "sheet broke"},
		{[](platform::CRecordingSheet&) { throw 7; }, "an unexpected error occurred"},
	};
	for (const SCase& c : cases)
	{
		platform.MessageBoxes.clear();
		platform.SheetScript = c.failure;
		EXPECT_NO_THROW(executePreview());
		ASSERT_EQ(platform.MessageBoxes.size(), 1u) << c.reason;
		EXPECT_EQ(platform.MessageBoxes[0].Owner, nullptr);
		EXPECT_EQ(platform.MessageBoxes[0].Text, std::string("The preview stopped: ") + c.reason
			+ ". Everything it had opened is closed again.");
		EXPECT_EQ(platform.MessageBoxes[0].Style, platform::EMBS_ICON_ERROR);
		EXPECT_EQ(getPreviewRunState().device, nullptr);
	}
	platform.SheetScript = nullptr;
	platform.ExecutablePath = platform::CRecordingPlatform().ExecutablePath;
}

// A reply to the install-directory request is a path in a few lines; a huge
// announced size is refused before any buffer is made for it.
TEST_F(HostExchange, HugeInstallDirectoryReplyIsRefused)
{
	const std::string head = "<r>\n<installdirectory>/e/</installdirectory>\n";
	fakeHost.reset(head + std::string(MAX_INSTALL_DIRECTORY_REPLY - head.size(), ' '));
	EXPECT_STREQ(requestInstallDirectory().c_str(), "/e/");
	fakeHost.reset(head + std::string(MAX_INSTALL_DIRECTORY_REPLY - head.size() + 1, ' '));
	EXPECT_STREQ(requestInstallDirectory().c_str(), "");
	EXPECT_EQ(fakeHost.Calls.size(), 1u) << "no GetData";
	EXPECT_TRUE(getRecordingPlatform().MessageBoxes.empty());
}

TEST(PreviewRunSteps, TearDownGivesTheCursorBackAfterTheDeviceIsGone)
{
	// The engine hides the cursor of the editor's thread; the run puts it back
	// on every way out, once the device that could change it again is gone.
	irr::SIrrlichtCreationParameters parameters;
	parameters.DriverType = irr::video::EDT_NULL;
	SPreviewRunState& state = getPreviewRunState();
	state.device = irr::createDeviceEx(parameters);
	ASSERT_TRUE(state.device);
	getRecordingPlatform().CursorCalls.clear();
	tearDownRun();
	EXPECT_EQ(state.device, nullptr);
	EXPECT_EQ(getRecordingPlatform().CursorCalls, std::vector<std::string>(1, "restore"));
}

TEST(PreviewRunSteps, UndisplayableWindowSizeFallsBackToTheDefaultMode)
{
	struct SCase
	{
		irr::s32 Width, Height, ExpectedWidth, ExpectedHeight;
	};
	const SCase cases[] = {
		{ 1280, 1024, 1280, 1024 },
		{ 1, 16384, 1, 16384 },
		{ 0, 480, 640, 480 },
		{ 800, -1, 640, 480 },
		{ 16385, 600, 640, 480 },
		{ -2147483647 - 1, 2147483647, 640, 480 },
	};
	for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
	{
		SEngineSettings engine = makeDefaultPreviewSettings().engine;
		engine.screenWidth = cases[i].Width;
		engine.screenHeight = cases[i].Height;
		engine.colorBits = 16;
		keepDisplayableScreenMode(engine);
		EXPECT_EQ(engine.screenWidth, cases[i].ExpectedWidth) << "case " << i;
		EXPECT_EQ(engine.screenHeight, cases[i].ExpectedHeight) << "case " << i;
		EXPECT_EQ(engine.colorBits, 16);
	}
}

#include "PreviewSettingsFile.h"
#include "PathParts.h"
#include "SPreviewRunState.h"
#include "CTemporaryDirectory.h"
#include "SystemPath.h"

#include <gtest/gtest.h>
#include <cstring>
#include <iterator>
#ifndef _WIN32
#include <unistd.h>
#endif

using namespace vistel;
using vistel::test::CTemporaryDirectory;
using vistel::test::readFile;
using vistel::test::systemPath;
using vistel::test::writeFile;

namespace
{

irr::u32 u32At(const std::vector<irr::u8>& b, size_t offset)
{
	return b[offset] | (b[offset + 1] << 8) | (b[offset + 2] << 16) | (static_cast<irr::u32>(b[offset + 3]) << 24);
}

irr::f32 f32At(const std::vector<irr::u8>& b, size_t offset)
{
	const irr::u32 bits = u32At(b, offset);
	irr::f32 v;
	std::memcpy(&v, &bits, 4);
	return v;
}

// A settings directory whose ini names a plug-in directory inside it.
struct SEditorDirectory
{
	CTemporaryDirectory Root;
	SEditorDirectory()
	{
		writeFile(Root / "tarvo.ini", "[Paths]\npluginfiles=" + Root.path() + "/Plugins/\n");
		std::filesystem::create_directories(Root / "Plugins");
	}
	irr::core::stringc directory() const { return Root.path().c_str(); }
	std::string configPath() const { return Root / "Plugins/vistel.cfg"; }
};

} // end anonymous namespace

TEST(PreviewSettingsFile, DefaultsEncodeToTheDocumentedLayout)
{
	const std::vector<irr::u8> b = encodePreviewSettings(makeDefaultPreviewSettings());
	ASSERT_EQ(b.size(), 175u);

	struct { size_t Offset; irr::u32 Value; } words[] = {
		{ 0, 50 }, { 68, 480 }, { 72, 640 }, { 76, 32 }, { 112, 0xFFFFFFFF },
		{ 124, 75 }, { 128, 100 }, { 132, 100 }, { 136, 100 }, { 140, 0xFFFFFFFF },
	};
	for (size_t i = 0; i < sizeof(words) / sizeof(words[0]); ++i)
		EXPECT_EQ(u32At(b, words[i].Offset), words[i].Value) << "offset " << words[i].Offset;

	struct { size_t Offset; irr::f32 Value; } floats[] = {
		{ 8, 0.f }, { 12, 0.f }, { 16, 0.f }, { 20, 500.f }, { 24, 100.f }, { 28, 2.f },
		{ 32, 5000.f }, { 36, 1.f }, { 44, 30.f }, { 48, 50.f }, { 52, 30.f }, { 56, -3.f },
		{ 60, 2.f }, { 84, 2.f }, { 92, 2.f }, { 96, 30.f }, { 100, 500.f }, { 104, 4.f },
		{ 108, 3.f }, { 120, 2.f },
	};
	for (size_t i = 0; i < sizeof(floats) / sizeof(floats[0]); ++i)
		EXPECT_EQ(f32At(b, floats[i].Offset), floats[i].Value) << "offset " << floats[i].Offset;

	struct { size_t Offset; irr::u8 Value; } bytes[] = {
		{ 4, 0 }, { 5, 0 }, { 6, 0 }, { 7, 0 },                 // start flags, reserved
		{ 40, 1 }, { 41, 1 }, { 42, 0 }, { 43, 0 },             // collision, gravity
		{ 64, 0 }, { 65, 1 }, { 66, 0 }, { 67, 1 },             // fullscreen .. hide cursor
		{ 80, 0 }, { 81, 0 }, { 82, 0 }, { 83, 0 },             // normal mapping, reserved
		{ 88, 1 }, { 89, 0 }, { 90, 0 }, { 91, 0 },             // culling, wireframe
		{ 116, 0 }, { 117, 1 }, { 118, 0 }, { 119, 0 },         // laser, shader
		{ 144, 0 }, { 150, 0 },
	};
	for (size_t i = 0; i < sizeof(bytes) / sizeof(bytes[0]); ++i)
		EXPECT_EQ(b[bytes[i].Offset], bytes[i].Value) << "offset " << bytes[i].Offset;
	for (size_t offset = 151; offset < 175; ++offset)
		EXPECT_EQ(b[offset], 0) << "path counts must be zero";
}

TEST(PreviewSettingsFile, ColoursAreStoredBlueGreenRedAlpha)
{
	SPreviewSettings s = makeDefaultPreviewSettings();
	s.fx.flashlightColor = irr::video::SColor(0x00FF0000);
	s.level.backgroundColor = irr::video::SColor(0x11223344);
	const std::vector<irr::u8> b = encodePreviewSettings(s);
	const irr::u8 flashlight[] = { 0x00, 0x00, 0xFF, 0x00 };
	const irr::u8 background[] = { 0x44, 0x33, 0x22, 0x11 };
	EXPECT_EQ(0, std::memcmp(&b[112], flashlight, 4));
	EXPECT_EQ(0, std::memcmp(&b[140], background, 4));
}

TEST(PreviewSettingsFile, RoundTripKeepsEveryField)
{
	SPreviewSettings s = makeDefaultPreviewSettings();
	s.camera.reserved = 7.5f;
	s.fx.reserved = -1.25f;
	s.camera.userPosition.set(1.5f, -2.f, 1e10f);
	s.engine.fullscreen = true;
	s.level.useSkybox = true;
	s.level.hasBackTexture = true;
	s.level.topTexture = irr::core::stringc(std::string(MAX_TEXTURE_PATH_LENGTH, 'x').c_str());
	s.level.backTexture = "/textures/sky/back.jpg";

	const std::vector<irr::u8> bytes = encodePreviewSettings(s);
	EXPECT_EQ(bytes.size(), 175u + MAX_TEXTURE_PATH_LENGTH + 22u);
	SPreviewSettings read = SPreviewSettings();
	ASSERT_TRUE(decodePreviewSettings(bytes, read));
	EXPECT_TRUE(read == s);
	EXPECT_EQ(read.level.topTexture.size(), MAX_TEXTURE_PATH_LENGTH);
	EXPECT_TRUE(read.level.leftTexture.empty());
}

TEST(PreviewSettingsFile, MissingFileGivesDefaultsAndIsCreated)
{
	SEditorDirectory editor;
	getPreviewSettings() = SPreviewSettings();
	getPreviewRunState().quitRequested = true;

	loadPreviewSettings(editor.directory());

	EXPECT_TRUE(getPreviewSettings() == makeDefaultPreviewSettings());
	EXPECT_EQ(readFile(editor.configPath()).size(), 175u);
	EXPECT_FALSE(getPreviewRunState().quitRequested);
}

TEST(PreviewSettingsFile, SavedSettingsLoadBack)
{
	SEditorDirectory editor;
	SPreviewSettings s = makeDefaultPreviewSettings();
	s.level.shadowOpacity = 42;
	s.level.rightTexture = "/a/b c/right.tga";
	getPreviewSettings() = s;
	savePreviewSettings(editor.directory());

	getPreviewSettings() = SPreviewSettings();
	loadPreviewSettings(editor.directory());
	EXPECT_TRUE(getPreviewSettings() == s);
}

// A damaged file never yields a mix of read and default values, and stays on
// disk as it was until the next save.
TEST(PreviewSettingsFile, DamagedFileGivesDefaultsAndIsLeftUntouched)
{
	SPreviewSettings custom = makeDefaultPreviewSettings();
	custom.camera.moveSpeed = 123.f;
	custom.level.topTexture = "/t.jpg";
	const std::vector<irr::u8> good = encodePreviewSettings(custom);

	std::vector<std::string> damaged;
	damaged.push_back(std::string());
	damaged.push_back(std::string(good.begin(), good.begin() + 100));
	damaged.push_back(std::string(good.begin(), good.end() - 1));
	std::string tooLong(good.begin(), good.begin() + 151);
	tooLong += std::string("\x00\x02\x00\x00", 4); // 512 characters
	tooLong += std::string(512, 'p') + std::string(20, '\0');
	damaged.push_back(tooLong);
	std::string hugeCount(good.begin(), good.begin() + 151);
	hugeCount += std::string("\xFF\xFF\xFF\xFF", 4);
	damaged.push_back(hugeCount);

	for (size_t i = 0; i < damaged.size(); ++i)
	{
		SEditorDirectory editor;
		writeFile(editor.configPath(), damaged[i]);
		getPreviewSettings() = custom;
		loadPreviewSettings(editor.directory());
		EXPECT_TRUE(getPreviewSettings() == makeDefaultPreviewSettings()) << "case " << i;
		EXPECT_EQ(readFile(editor.configPath()), damaged[i]) << "case " << i;
	}
}

// Replacing the file must work when it already exists, every time.
TEST(PreviewSettingsFile, EverySaveReplacesThePreviousOne)
{
	SEditorDirectory editor;
	SPreviewSettings s = makeDefaultPreviewSettings();
	for (irr::s32 opacity : { 10, 20, 30 })
	{
		s.level.shadowOpacity = opacity;
		getPreviewSettings() = s;
		savePreviewSettings(editor.directory());
	}
	getPreviewSettings() = SPreviewSettings();
	loadPreviewSettings(editor.directory());
	EXPECT_EQ(getPreviewSettings().level.shadowOpacity, 30);
	EXPECT_EQ(std::distance(std::filesystem::directory_iterator(editor.Root / "Plugins"),
		std::filesystem::directory_iterator()), 1) << "no temporary file stays behind";
}

#ifndef _WIN32
// A save keeps what the user set up around the file: a link keeps leading to
// its target, which gets the settings, and the file keeps its permissions.
TEST(PreviewSettingsFile, SaveKeepsLinksAndPermissions)
{
	namespace fs = std::filesystem;
	SPreviewSettings s = makeDefaultPreviewSettings();
	s.camera.moveSpeed = 77.f;
	const std::string saved(reinterpret_cast<const char*>(encodePreviewSettings(s).data()), 175);

	{
		SEditorDirectory editor;
		writeFile(editor.Root / "shared/vistel.cfg", "old");
		fs::create_symlink("../shared/vistel.cfg", editor.configPath());
		getPreviewSettings() = s;
		savePreviewSettings(editor.directory());
		EXPECT_TRUE(fs::is_symlink(editor.configPath()));
		EXPECT_EQ(readFile(editor.Root / "shared/vistel.cfg"), saved);
	}
	for (fs::perms mode : { fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
	                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read })
	{
		SEditorDirectory editor;
		writeFile(editor.configPath(), "old");
		fs::permissions(editor.configPath(), mode);
		getPreviewSettings() = s;
		savePreviewSettings(editor.directory());
		EXPECT_EQ(fs::status(editor.configPath()).permissions(), mode);
		// A read-only file is only ever written by a process that may write it
		// regardless (root); it then stays read-only.
		const bool writable = (mode & fs::perms::owner_write) != fs::perms::none || geteuid() == 0;
		EXPECT_EQ(readFile(editor.configPath()), writable ? saved : std::string("old"));
	}
}

// A file that opened but broke off while being read may be intact: it gives
// the defaults for this run and is not replaced by them.
TEST(PreviewSettingsFile, FileThatCannotBeReadWholeIsLeftAlone)
{
	SEditorDirectory editor;
	// Opening the process's memory file works; reading from its start fails.
	std::filesystem::create_symlink("/proc/self/mem", editor.configPath());
	getPreviewSettings() = SPreviewSettings();
	loadPreviewSettings(editor.directory());
	EXPECT_TRUE(getPreviewSettings() == makeDefaultPreviewSettings());
	EXPECT_TRUE(std::filesystem::is_symlink(editor.configPath()));
	EXPECT_EQ(std::distance(std::filesystem::directory_iterator(editor.Root / "Plugins"),
		std::filesystem::directory_iterator()), 1);
}
// A path that leads to something without end is read only as far as a
// settings file can go: the defaults for this run, and the path is left as
// it is.
TEST(PreviewSettingsFile, EndlessFileIsNotReadToItsEnd)
{
	SEditorDirectory editor;
	std::filesystem::create_symlink("/dev/zero", editor.configPath());
	getPreviewSettings() = SPreviewSettings();
	loadPreviewSettings(editor.directory());
	EXPECT_TRUE(getPreviewSettings() == makeDefaultPreviewSettings());
	EXPECT_TRUE(std::filesystem::is_symlink(editor.configPath()));
}
#endif

TEST(PreviewSettingsFile, UnwritableDirectoryLeavesSettingsInMemory)
{
	CTemporaryDirectory root;
	const irr::core::stringc missing = (root / "no/such/editor").c_str();
	getPreviewSettings() = SPreviewSettings();
	loadPreviewSettings(missing);
	EXPECT_TRUE(getPreviewSettings() == makeDefaultPreviewSettings());
	savePreviewSettings(missing);
	EXPECT_FALSE(std::filesystem::exists(root / "no"));
}

TEST(PreviewSettingsFile, PluginDirectoryFromTheIni)
{
	struct SCase
	{
		const char* Ini; // 0: no ini file at all
		const char* Expected; // "$" stands for the settings directory
	};
	const SCase cases[] = {
		{ 0, "$/Plugins" },
		{ "pluginfiles=/e/Plugins\\\n", "/e/Plugins" },
		{ "pluginfiles=/e/Plugins/\r\n", "/e/Plugins" },
		{ "pluginfiles=/e/Plug ins/\\/\n\n", "/e/Plug ins" },
		{ "[x]\npluginfiles=/first\npluginfiles=/second\n", "/first" },
		{ "PluginFiles=/e\n", "$/Plugins" },
		{ " pluginfiles=/e\n", "$/Plugins" },
		{ "pluginfiles=\n", "" },
		{ "pluginfiles=/no/line/end", "/no/line/end" },
		{ "texturefiles=/t\n", "$/Plugins" },
	};
	for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
	{
		CTemporaryDirectory root;
		if (cases[i].Ini)
			writeFile(root / "tarvo.ini", systemPath(cases[i].Ini));
		std::string expected = systemPath(cases[i].Expected);
		if (!expected.empty() && expected[0] == '$')
			expected = root.path() + expected.substr(1);
		EXPECT_STREQ(getPluginDirectory(root.path().c_str()).c_str(), expected.c_str()) << "case " << i;
	}
	// An empty value makes the file's path the bare file name after a separator.
	CTemporaryDirectory root;
	writeFile(root / "tarvo.ini", "pluginfiles=\n");
	EXPECT_STREQ(getPreviewSettingsPath(root.path().c_str()).c_str(), systemPath("/vistel.cfg").c_str());
}

TEST(PathParts, DirectoryAndFileName)
{
	struct SCase
	{
		const char* Path;
		const char* Directory;
		const char* FileName;
	};
	const SCase cases[] = {
		{ "/usr/bin/tarvo", "/usr/bin", "tarvo" },
		{ "tarvo", "", "tarvo" },
		{ "/tarvo", "", "tarvo" },
		{ "/sky/", "/sky", "" },
		{ "", "", "" },
		{ "a/b", "a", "b" },
	};
	for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
	{
		const std::string path = systemPath(cases[i].Path);
		EXPECT_STREQ(getDirectoryPart(path.c_str()).c_str(), systemPath(cases[i].Directory).c_str()) << path;
		EXPECT_STREQ(getFileNamePart(path.c_str()).c_str(), cases[i].FileName) << path;
	}
}

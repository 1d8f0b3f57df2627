#include "CSheetTest.h"
#include "CTemporaryDirectory.h"
#include "SystemPath.h"
#include "SheetColors.h"

namespace vistel
{
namespace test
{

typedef CSheetTest LevelPage;

namespace
{

const int FACE_BUTTONS[] = { ELEV_TOP_TEXTURE, ELEV_LEFT_TEXTURE, ELEV_RIGHT_TEXTURE,
	ELEV_BOTTOM_TEXTURE, ELEV_BACK_TEXTURE, ELEV_CENTER_TEXTURE };

// The dialog's colour value: red in the low byte.
const unsigned int DIALOG_BLUE = 0x00FF0000;

struct SFace
{
	int Button;
	const char* Title;
	irr::core::stringc SLevelSettings::*Path;
	bool SLevelSettings::*Flag;
};

const SFace FACES[] = {
	{ ELEV_TOP_TEXTURE, "Get Top Texture image...", &SLevelSettings::topTexture,
		&SLevelSettings::hasTopTexture },
	{ ELEV_LEFT_TEXTURE, "Get Left Texture image...", &SLevelSettings::leftTexture,
		&SLevelSettings::hasLeftTexture },
	{ ELEV_CENTER_TEXTURE, "Get Center Texture image...", &SLevelSettings::centerTexture,
		&SLevelSettings::hasCenterTexture },
	{ ELEV_RIGHT_TEXTURE, "Get Right Texture image...", &SLevelSettings::rightTexture,
		&SLevelSettings::hasRightTexture },
	{ ELEV_BOTTOM_TEXTURE, "Get Bottom Texture image...", &SLevelSettings::bottomTexture,
		&SLevelSettings::hasBottomTexture },
	{ ELEV_BACK_TEXTURE, "Get Back Texture image...", &SLevelSettings::backTexture,
		&SLevelSettings::hasBackTexture },
};

} // end anonymous namespace

TEST_F(LevelPage, OpensWithPercentagesAndGreyedFaceButtons)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_LEVEL);
		const struct
		{
			int Trackbar, Display, Position;
			const char* Shown;
		} bars[] = {
			{ ELEV_SHADOW_TRACKBAR, ELEV_SHADOW_PERCENT, 75, "75%" },
			{ ELEV_SCALE_X_TRACKBAR, ELEV_SCALE_X_PERCENT, 100, "100%" },
			{ ELEV_SCALE_Y_TRACKBAR, ELEV_SCALE_Y_PERCENT, 100, "100%" },
			{ ELEV_SCALE_Z_TRACKBAR, ELEV_SCALE_Z_PERCENT, 100, "100%" },
		};
		for (const auto& bar : bars)
		{
			const platform::SRecordedControl& trackbar = control(sheet, bar.Trackbar);
			EXPECT_EQ(trackbar.Position, bar.Position) << bar.Trackbar;
			EXPECT_EQ(trackbar.Minimum, 0);
			EXPECT_EQ(trackbar.Maximum, 100);
			EXPECT_EQ(trackbar.TickFrequency, 10);
			EXPECT_EQ(text(sheet, bar.Display), bar.Shown) << bar.Display;
		}
		EXPECT_FALSE(checked(sheet, ELEV_USE_SKYBOX));
		for (int id : FACE_BUTTONS)
		{
			EXPECT_FALSE(enabled(sheet, id)) << id;
			EXPECT_FALSE(sheet.clickButton(id)) << id;
		}
		sheet.clickCheckBox(ELEV_USE_SKYBOX);
		for (int id : FACE_BUTTONS)
			EXPECT_TRUE(enabled(sheet, id)) << id;
		EXPECT_EQ(changes(sheet, ESPI_LEVEL), 1);
		sheet.clickCheckBox(ELEV_USE_SKYBOX);
		for (int id : FACE_BUTTONS)
			EXPECT_FALSE(enabled(sheet, id)) << id;
		sheet.clickCheckBox(ELEV_USE_SKYBOX);
		sheet.pressOk();
	});
	EXPECT_TRUE(Settings.level.useSkybox);
}

TEST_F(LevelPage, EachTrackbarShowsAndStoresItsOwnPercentage)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_LEVEL);
		sheet.dragTrackbar(ELEV_SHADOW_TRACKBAR, 10);
		sheet.dragTrackbar(ELEV_SCALE_X_TRACKBAR, 20);
		sheet.dragTrackbar(ELEV_SCALE_Y_TRACKBAR, 30);
		// a page step is shown only when its action ends
		sheet.scrollTrackbar(ELEV_SCALE_Z_TRACKBAR, 40, platform::ESSC_PAGE_UP);
		EXPECT_EQ(text(sheet, ELEV_SCALE_Z_PERCENT), "100%");
		sheet.scrollTrackbar(ELEV_SCALE_Z_TRACKBAR, 40, platform::ESSC_END_TRACK);
		EXPECT_EQ(text(sheet, ELEV_SHADOW_PERCENT), "10%");
		EXPECT_EQ(text(sheet, ELEV_SCALE_X_PERCENT), "20%");
		EXPECT_EQ(text(sheet, ELEV_SCALE_Y_PERCENT), "30%");
		EXPECT_EQ(text(sheet, ELEV_SCALE_Z_PERCENT), "40%");

		// A scroll message that does not come from a trackbar is ignored.
		platform::SSheetMessage stray = platform::makeSheetMessage(platform::ESMT_HSCROLL, 0,
			platform::ESSC_END_TRACK);
		const int before = changes(sheet, ESPI_LEVEL);
		EXPECT_FALSE(sheet.getPage(ESPI_LEVEL).send(stray));
		EXPECT_EQ(changes(sheet, ESPI_LEVEL), before);
		sheet.pressOk();
	});
	EXPECT_EQ(Settings.level.shadowOpacity, 10);
	EXPECT_EQ(Settings.level.scaleX, 20);
	EXPECT_EQ(Settings.level.scaleY, 30);
	EXPECT_EQ(Settings.level.scaleZ, 40);
}

TEST_F(LevelPage, BackgroundColourIsWrittenAtOnceOpaqueAndRepainted)
{
	Settings.level.backgroundColor = irr::video::SColor(0x80112233);
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_LEVEL);
		unsigned int swatch = 0;
		EXPECT_TRUE(sheet.getSwatchColor(ELEV_COLOR_SWATCH, swatch));
		EXPECT_EQ(swatch, 0x00332211u);

		sheet.ColorDialog = [](unsigned int& color, unsigned int (&)[16]) {
			color = DIALOG_BLUE;
			return true;
		};
		EXPECT_TRUE(sheet.clickButton(ELEV_CHANGE_COLOR));
		ASSERT_EQ(sheet.ColorDialogs.size(), 1u);
		EXPECT_EQ(sheet.ColorDialogs[0].InitialColor, 0x00332211u);
		EXPECT_EQ(sheet.PageRequests, std::vector<int>({ ESPI_ABOUT, ESPI_LEVEL }));
		EXPECT_EQ(sheet.getCurrentPage(), static_cast<std::size_t>(ESPI_LEVEL));
		EXPECT_TRUE(sheet.getSwatchColor(ELEV_COLOR_SWATCH, swatch));
		EXPECT_EQ(swatch, DIALOG_BLUE);
		EXPECT_EQ(changes(sheet, ESPI_LEVEL), 0);

		// cancelled: nothing changes, nothing is shown again
		sheet.ColorDialog = nullptr;
		sheet.clickButton(ELEV_CHANGE_COLOR);
		EXPECT_EQ(sheet.PageRequests.size(), 2u);
		sheet.pressCancel();
	});
	EXPECT_EQ(Settings.level.backgroundColor.color, 0xFF0000FFu);
}

TEST_F(LevelPage, OnlyTheSwatchIsFilledWithTheColour)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_LEVEL);
		for (int id : { ELEV_COLOR_GROUP, ELEV_SHADOW_PERCENT, ELEV_USE_SKYBOX })
		{
			platform::SSheetMessage message =
				platform::makeSheetMessage(platform::ESMT_PAINT_STATIC, id);
			sheet.getPage(ESPI_LEVEL).send(message);
			EXPECT_FALSE(message.FillWithColor) << id;
		}
		sheet.pressOk();
	});
}

TEST_F(LevelPage, PickerStartsFromTheFacePathAndStoresTheChoiceAtOnce)
{
	for (const SFace& face : FACES)
	{
		Settings = makeDefaultPreviewSettings();
		Settings.level.useSkybox = true;
		Settings.level.*face.Path = systemPath("/textures/sky/old.jpg").c_str();
		run([&](CSheet& sheet) {
			sheet.showPage(ESPI_LEVEL);
			sheet.FileDialog = [](const platform::SOpenFileRequest&, std::string& path) {
				path = "/new/place/face.tga";
				return true;
			};
			EXPECT_TRUE(sheet.clickButton(face.Button));
			ASSERT_EQ(sheet.FileDialogs.size(), 1u);
			const platform::SOpenFileRequest& request = sheet.FileDialogs[0];
			EXPECT_EQ(request.Title, face.Title);
			EXPECT_EQ(request.FilterName, "All supported images");
			EXPECT_EQ(request.FilterPatterns, "*.jpg;*.bmp;*.tga");
			EXPECT_EQ(request.InitialDirectory, systemPath("/textures/sky"));
			EXPECT_EQ(request.FileName, "old.jpg");
			EXPECT_EQ(request.PathCapacity, 512u);
			EXPECT_EQ(changes(sheet, ESPI_LEVEL), 0);
			sheet.pressCancel();
		});
		// written at once: the cancelled sheet keeps it in the record
		EXPECT_EQ(Settings.level.*face.Path, "/new/place/face.tga") << face.Title;
		EXPECT_TRUE(Settings.level.*face.Flag) << face.Title;
		int flags = 0;
		for (const SFace& other : FACES)
			flags += (Settings.level.*other.Flag) ? 1 : 0;
		EXPECT_EQ(flags, 1) << face.Title;
	}
}

TEST_F(LevelPage, CancelledPickerClearsTheFlagOfAFileThatIsGone)
{
	CTemporaryDirectory directory;
	const std::string existing = directory / "top.jpg";
	writeFile(existing, "picture");
	const std::string tooLong(600, 'a');
	const struct
	{
		std::string Path;
		bool FlagBefore;
		bool FlagAfter;
		std::string Answer; // empty: the user cancels
	} cases[] = {
		{ existing, true, true, "" },
		{ existing, false, false, "" },
		{ directory / "gone.jpg", true, false, "" },
		{ "", true, false, "" },
		// a choice longer than the dialog's buffer counts as a cancel
		{ directory / "gone.jpg", true, false, "/" + tooLong },
		{ existing, true, true, "/" + tooLong },
	};
	for (const auto& c : cases)
	{
		Settings.level.useSkybox = true;
		Settings.level.topTexture = c.Path.c_str();
		Settings.level.hasTopTexture = c.FlagBefore;
		run([&](CSheet& sheet) {
			sheet.showPage(ESPI_LEVEL);
			if (!c.Answer.empty())
				sheet.FileDialog = [&](const platform::SOpenFileRequest&, std::string& path) {
					path = c.Answer;
					return true;
				};
			sheet.clickButton(ELEV_TOP_TEXTURE);
			sheet.pressOk();
		});
		EXPECT_EQ(Settings.level.topTexture, c.Path.c_str());
		EXPECT_EQ(Settings.level.hasTopTexture, c.FlagAfter) << c.Path;
	}
}

TEST_F(LevelPage, PickerBuffersHoldAtMost511Characters)
{
	const std::string longName(600, 'n');
	Settings.level.useSkybox = true;
	Settings.level.leftTexture = (systemPath("/dir/") + longName).c_str();
	run([&](CSheet& sheet) {
		sheet.showPage(ESPI_LEVEL);
		sheet.clickButton(ELEV_LEFT_TEXTURE);
		ASSERT_EQ(sheet.FileDialogs.size(), 1u);
		EXPECT_EQ(sheet.FileDialogs[0].FileName, longName.substr(0, 511));
		EXPECT_EQ(sheet.FileDialogs[0].InitialDirectory, systemPath("/dir"));
		sheet.pressOk();
	});
}

} // end namespace test
} // end namespace vistel

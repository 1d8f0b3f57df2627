// The sheet around the pages: its pages and captions, when pages open, what
// OK, Cancel and closing leave in the record.

#include "CSheetTest.h"
#include "PluginTexts.h"
#include "SheetTemplates.h"

namespace vistel
{
namespace test
{

namespace
{

const platform::SSheetControlTemplate* findTemplateControl(int pageId, int controlId)
{
	const platform::SSheetPageTemplate* page = getSheetTemplates().find(pageId);
	for (std::size_t i = 0; page && i < page->ControlCount; ++i)
		if (page->Controls[i].Id == controlId)
			return &page->Controls[i];
	return 0;
}

} // end anonymous namespace

typedef CSheetTest SheetFrame;

TEST_F(SheetFrame, ShowsSixPagesInTabOrderStartingOnAbout)
{
	std::size_t openedAtStart = 0;
	EXPECT_EQ(run([&](CSheet& sheet) {
		EXPECT_EQ(sheet.getCurrentPage(), 0u);
		for (std::size_t i = 0; i < sheet.getPageCount(); ++i)
			openedAtStart += sheet.getPage(i).isOpen() ? 1 : 0;
		sheet.pressOk();
	}), 1);
	EXPECT_EQ(openedAtStart, 1u);

	ASSERT_EQ(Platform.Sheets.size(), 1u);
	const platform::SRecordedSheet& shown = Platform.Sheets[0];
	EXPECT_EQ(shown.Caption, "Tarvo Vistel Plugin - Version 2.0");
	EXPECT_EQ(shown.StartPage, 0u);
	const std::vector<int> templates = { 5000, 2000, 3000, 4000, 7000, 6000 };
	EXPECT_EQ(shown.TemplateIds, templates);
	const char* const labels[] = { "About...", "Camera Settings", "Collision Settings",
		"Engine Settings", "Level Settings", "FX Settings" };
	for (std::size_t i = 0; i < templates.size(); ++i)
	{
		const platform::SSheetPageTemplate* page = getSheetTemplates().find(templates[i]);
		ASSERT_TRUE(page);
		EXPECT_STREQ(page->Caption, labels[i]);
	}
}

TEST_F(SheetFrame, OkWithoutVisitingPagesKeepsEveryLoadedValue)
{
	// Values no page would write back as they are.
	Settings.engine.useNormalMapping = true;
	Settings.engine.screenWidth = 641;
	Settings.camera.ellipsoidPosition = 250;
	Settings.fx.screenRatioX = 4.5f;
	const SPreviewSettings loaded = Settings;

	EXPECT_EQ(run([](CSheet& sheet) { sheet.pressOk(); }), 1);
	EXPECT_TRUE(Settings == loaded);

	// Without a script the recording sheet is confirmed at once, likewise.
	Platform.SheetScript = nullptr;
	EXPECT_EQ(showSettingsSheet(&Settings.camera, &Settings.engine, &Settings.collision,
		&Settings.level, &Settings.fx), 1);
	EXPECT_TRUE(Settings == loaded);
}

TEST_F(SheetFrame, CancelAndClosingStoreNothingTyped)
{
	const SPreviewSettings loaded = Settings;
	const std::function<void(CSheet&)> edits = [](CSheet& sheet) {
		sheet.showPage(ESPI_CAMERA);
		sheet.typeText(ECAM_MOVE_SPEED_EDIT, "12");
		sheet.dragTrackbar(ECAM_ELLIPSOID_TRACKBAR, 0);
		sheet.showPage(ESPI_COLLISION);
		sheet.clickCheckBox(ECOL_ENABLE_COLLISION);
		sheet.showPage(ESPI_ENGINE);
		sheet.selectListEntry(EENG_RESOLUTION_LIST, "800x600x16");
		sheet.showPage(ESPI_LEVEL);
		sheet.dragTrackbar(ELEV_SHADOW_TRACKBAR, 10);
		sheet.showPage(ESPI_FX);
		sheet.typeText(EFX_ANGLE_EDIT, "45");
	};
	EXPECT_EQ(run([&](CSheet& sheet) {
		edits(sheet);
		sheet.pressCancel();
	}), 0);
	EXPECT_TRUE(Settings == loaded);

	EXPECT_EQ(run([&](CSheet& sheet) {
		edits(sheet);
		sheet.closeWindow();
	}), 0);
	EXPECT_TRUE(Settings == loaded);
}

TEST_F(SheetFrame, SheetThatCannotBeShownIsNotOk)
{
	Platform.SheetAvailable = false;
	EXPECT_NE(run([](CSheet& sheet) { sheet.pressOk(); }), 1);
}

TEST_F(SheetFrame, PageOpensOnceHoweverOftenItIsShown)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_ENGINE);
		sheet.showPage(ESPI_CAMERA);
		sheet.showPage(ESPI_ENGINE);
		EXPECT_EQ(control(sheet, EENG_RESOLUTION_LIST).Entries.size(), 24u);
		EXPECT_EQ(control(sheet, EENG_DEVICE_LIST).Entries.size(), 1u);
		sheet.pressOk();
	});
}

TEST_F(SheetFrame, AboutPageShowsItsTextsAndPicture)
{
	const std::string title = std::string("Irrlicht Tarvo Vistel\n Version:2.0.0 \n\n \n Info: ")
		+ PLUGIN_EMAIL + "\n\n";
	const struct
	{
		int Id;
		std::string Text;
	} texts[] = {
		{ EABT_FRAME, "Irrlicht Tarvo Vistel by Quennel 'Brisko'" },
		{ EABT_TITLE_TEXT, title },
		{ EABT_HELP_TEXT, "Help:\nUsing this settings dialog configure rendering engine and then "
			"click OK to start.\nYou can change a lot of options from camera position to "
			"resolution and collision ellipsoid properties.\n" },
		{ EABT_COMMANDS_TEXT, "RealTime Commands:\nYou can use your mouse to rotate camera and "
			"standard WASD or arrows to walk around. Press ESC or ALT+F4 to close engine.\n"
			"Press F to toggle flashlight or laser.\nPress C to reset camera position.\n"
			"Press P for screenshot." },
		{ EABT_MORE_COMMANDS_TEXT, "Press B to toggle backface culling.\nPress M to toggle "
			"wireframe mode.\nPress G to toggle gravity.\nPress K to toggle collisions.\n"
			"Press I (i) to show some infos.\nPress F1 for command help.\nPlease give a look "
			"to readme.txt for more infos." },
	};
	for (const auto& expected : texts)
	{
		const platform::SSheetControlTemplate* control = findTemplateControl(ESPT_ABOUT, expected.Id);
		ASSERT_TRUE(control && control->Caption) << expected.Id;
		EXPECT_EQ(control->Caption, expected.Text) << expected.Id;
	}
	const platform::SSheetControlTemplate* logo = findTemplateControl(ESPT_ABOUT, EABT_LOGO);
	ASSERT_TRUE(logo);
	EXPECT_EQ(logo->Kind, platform::ESCK_PICTURE);
	EXPECT_EQ(logo->ImageId, 1500);
}

} // end namespace test
} // end namespace vistel

#include "CSheetTest.h"
#include "SheetColors.h"

namespace vistel
{
namespace test
{

typedef CSheetTest FxPage;

TEST_F(FxPage, OpensWithFloatsAndBoxes)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_FX);
		EXPECT_EQ(text(sheet, EFX_ANGLE_EDIT), "30.000000");
		EXPECT_EQ(text(sheet, EFX_DISTANCE_EDIT), "500.000000");
		EXPECT_EQ(text(sheet, EFX_RATIO_X_EDIT), "4.000000");
		EXPECT_EQ(text(sheet, EFX_RATIO_Y_EDIT), "3.000000");
		EXPECT_FALSE(checked(sheet, EFX_LASER_MODE));
		EXPECT_TRUE(checked(sheet, EFX_USE_SHADER));
		unsigned int swatch = 0;
		EXPECT_TRUE(sheet.getSwatchColor(EFX_COLOR_SWATCH, swatch));
		EXPECT_EQ(swatch, 0x00FFFFFFu);
		sheet.pressCancel();
	});
}

TEST_F(FxPage, LaserModeSwapsTheBeamAndWritesItsColourAtOnce)
{
	const struct
	{
		const char* Angle;
		const char* Distance;
		irr::u32 Color;
	} states[] = {
		{ "1.0", "2000.0", 0x00FF0000 }, // laser on: red, alpha 0
		{ "30.0", "500.0", 0x00FFFFFF }, // off again: white, alpha 0
		{ "1.0", "2000.0", 0x00FF0000 },
	};
	run([&](CSheet& sheet) {
		sheet.showPage(ESPI_FX);
		const int changesAtOpen = changes(sheet, ESPI_FX);
		for (std::size_t i = 0; i < std::size(states); ++i)
		{
			sheet.clickCheckBox(EFX_LASER_MODE);
			EXPECT_EQ(text(sheet, EFX_ANGLE_EDIT), states[i].Angle);
			EXPECT_EQ(text(sheet, EFX_DISTANCE_EDIT), states[i].Distance);
			EXPECT_EQ(Settings.fx.flashlightColor.color, states[i].Color);
			// repainted by showing the page again
			EXPECT_EQ(sheet.PageRequests.size(), 2 * (i + 1));
			EXPECT_EQ(sheet.PageRequests[2 * i], ESPI_ABOUT);
			EXPECT_EQ(sheet.PageRequests[2 * i + 1], ESPI_FX);
			unsigned int swatch = 0;
			sheet.getSwatchColor(EFX_COLOR_SWATCH, swatch);
			EXPECT_EQ(swatch, toDialogColor(irr::video::SColor(states[i].Color)));
		}
		// the two new texts report the changes
		EXPECT_EQ(changes(sheet, ESPI_FX) - changesAtOpen, 6);
		sheet.pressOk();
	});
	EXPECT_TRUE(Settings.fx.laserMode);
	EXPECT_EQ(Settings.fx.flashlightAngle, 1.f);
	EXPECT_EQ(Settings.fx.flashlightDistance, 2000.f);
	EXPECT_EQ(Settings.fx.flashlightColor.color, 0x00FF0000u);
}

TEST_F(FxPage, ChosenColourHasNoAlpha)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_FX);
		sheet.ColorDialog = [](unsigned int& color, unsigned int (&)[16]) {
			color = 0x00FF0000; // blue
			return true;
		};
		sheet.clickButton(EFX_CHANGE_COLOR);
		ASSERT_EQ(sheet.ColorDialogs.size(), 1u);
		EXPECT_EQ(sheet.ColorDialogs[0].InitialColor, 0x00FFFFFFu);
		EXPECT_EQ(sheet.PageRequests, std::vector<int>({ ESPI_ABOUT, ESPI_FX }));
		EXPECT_EQ(changes(sheet, ESPI_FX), 4); // the four texts set at opening
		sheet.pressOk();
	});
	EXPECT_EQ(Settings.fx.flashlightColor.color, 0x000000FFu);
}

TEST_F(FxPage, CustomColoursAreSharedByBothChoosersAndKeptBetweenSheets)
{
	run([](CSheet& sheet) {
		sheet.ColorDialog = [](unsigned int&, unsigned int (&custom)[16]) {
			custom[3] = 0x00123456;
			return false; // defined a custom colour, then cancelled
		};
		sheet.showPage(ESPI_LEVEL);
		sheet.clickButton(ELEV_CHANGE_COLOR);
		sheet.showPage(ESPI_FX);
		sheet.clickButton(EFX_CHANGE_COLOR);
		ASSERT_EQ(sheet.ColorDialogs.size(), 2u);
		EXPECT_EQ(sheet.ColorDialogs[1].CustomColors[3], 0x00123456u);
		sheet.pressCancel();
	});
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_FX);
		sheet.clickButton(EFX_CHANGE_COLOR);
		ASSERT_EQ(sheet.ColorDialogs.size(), 1u);
		EXPECT_EQ(sheet.ColorDialogs[0].CustomColors[3], 0x00123456u);
		sheet.pressCancel();
	});
	EXPECT_EQ(getSheetCustomColors()[3], 0x00123456u);
}

TEST_F(FxPage, RatioFieldsTakeDigitsOnly)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_FX);
		const int before = changes(sheet, ESPI_FX);
		sheet.typeText(EFX_RATIO_X_EDIT, "abc");
		EXPECT_EQ(text(sheet, EFX_RATIO_X_EDIT), "4.000000");
		EXPECT_EQ(changes(sheet, ESPI_FX), before);
		sheet.typeText(EFX_RATIO_X_EDIT, "16");
		sheet.typeText(EFX_RATIO_Y_EDIT, "1x0");
		EXPECT_EQ(text(sheet, EFX_RATIO_Y_EDIT), "10");
		EXPECT_EQ(changes(sheet, ESPI_FX), before + 2);
		sheet.clickCheckBox(EFX_USE_SHADER); // stored on OK only
		sheet.pressOk();
	});
	EXPECT_EQ(Settings.fx.screenRatioX, 16.f);
	EXPECT_EQ(Settings.fx.screenRatioY, 10.f);
	EXPECT_FALSE(Settings.fx.useShader);
}

TEST_F(FxPage, AnyNotificationOfItsFieldsReportsAChange)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_FX);
		const int before = changes(sheet, ESPI_FX);
		// focus notifications of the edit fields, say
		for (int id : { EFX_ANGLE_EDIT, EFX_DISTANCE_EDIT, EFX_RATIO_X_EDIT, EFX_RATIO_Y_EDIT })
		{
			platform::SSheetMessage message =
				platform::makeSheetMessage(platform::ESMT_COMMAND, id, 0x100);
			EXPECT_TRUE(sheet.getPage(ESPI_FX).send(message)) << id;
		}
		EXPECT_EQ(changes(sheet, ESPI_FX), before + 4);
		sheet.pressOk();
	});
}

} // end namespace test
} // end namespace vistel

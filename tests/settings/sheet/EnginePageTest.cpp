#include "CSheetTest.h"

namespace vistel
{
namespace test
{

typedef CSheetTest EnginePage;

TEST_F(EnginePage, OpensWithTheLoadedModeAndLocksWhatCannotBeChosen)
{
	Settings.engine.selectedOnly = true;
	Settings.engine.useNormalMapping = true;
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_ENGINE);
		const platform::SRecordedControl& list = control(sheet, EENG_RESOLUTION_LIST);
		ASSERT_EQ(list.Entries.size(), 24u);
		EXPECT_EQ(list.Entries[0], "320x240x16");
		EXPECT_EQ(list.Entries[6], "1280x1024x16");
		EXPECT_EQ(list.Entries[12], "320x240x32");
		EXPECT_EQ(list.Entries[23], "1800x1440x32");
		ASSERT_GE(list.Selection, 0);
		EXPECT_EQ(list.Entries[static_cast<std::size_t>(list.Selection)], "640x480x32");

		const platform::SRecordedControl& device = control(sheet, EENG_DEVICE_LIST);
		EXPECT_EQ(device.Entries, std::vector<std::string>(1, "DirectX 9.0c"));
		EXPECT_EQ(device.Selection, 0);

		const struct
		{
			int Id;
			bool Checked;
			bool Enabled;
		} boxes[] = {
			{ EENG_IGNORE_SHADOWS, true, true },
			{ EENG_HIDE_MOUSE_CURSOR, true, true },
			{ EENG_BACKFACE_CULLING, true, true },
			{ EENG_FULLSCREEN, false, true },
			{ EENG_WIREFRAME, false, true },
			{ EENG_NORMAL_MAPPING, false, false }, // off whatever was loaded
			{ EENG_SELECTED_ONLY, true, false },   // shows the loaded value, locked
		};
		for (const auto& box : boxes)
		{
			EXPECT_EQ(checked(sheet, box.Id), box.Checked) << box.Id;
			EXPECT_EQ(enabled(sheet, box.Id), box.Enabled) << box.Id;
		}
		EXPECT_FALSE(enabled(sheet, EENG_DEVICE_LIST));
		EXPECT_FALSE(sheet.clickCheckBox(EENG_SELECTED_ONLY));
		sheet.pressOk();
	});
	EXPECT_TRUE(Settings.engine.selectedOnly);
	EXPECT_FALSE(Settings.engine.useNormalMapping);
}

TEST_F(EnginePage, SelectsTheEntryEqualToTheLoadedMode)
{
	const struct
	{
		irr::s32 Width, Height, Bits;
		const char* Entry; // 0: no entry selected
	} cases[] = {
		{ 1280, 1024, 16, "1280x1024x16" },
		{ 320, 240, 32, "320x240x32" },
		{ 1800, 1440, 16, "1800x1440x16" },
		{ 641, 480, 32, 0 },
		{ 640, 480, 24, 0 },
		{ 0, 0, 0, 0 },
	};
	for (const auto& c : cases)
	{
		Settings.engine.screenWidth = c.Width;
		Settings.engine.screenHeight = c.Height;
		Settings.engine.colorBits = c.Bits;
		run([&](CSheet& sheet) {
			sheet.showPage(ESPI_ENGINE);
			const platform::SRecordedControl& list = control(sheet, EENG_RESOLUTION_LIST);
			if (!c.Entry)
				EXPECT_EQ(list.Selection, -1) << c.Width;
			else if (list.Selection < 0)
				ADD_FAILURE() << "nothing selected for " << c.Entry;
			else
				EXPECT_EQ(list.Entries[static_cast<std::size_t>(list.Selection)], c.Entry);
			sheet.pressOk();
		});
		// OK without a selection keeps the loaded mode.
		EXPECT_EQ(Settings.engine.screenWidth, c.Width);
		EXPECT_EQ(Settings.engine.screenHeight, c.Height);
		EXPECT_EQ(Settings.engine.colorBits, c.Bits);
	}
}

TEST_F(EnginePage, OkStoresTheChosenModeAndBoxes)
{
	EXPECT_EQ(run([](CSheet& sheet) {
		sheet.showPage(ESPI_ENGINE);
		EXPECT_TRUE(sheet.selectListEntry(EENG_RESOLUTION_LIST, "1280x1024x16"));
		for (int id : { EENG_FULLSCREEN, EENG_IGNORE_SHADOWS, EENG_HIDE_MOUSE_CURSOR,
				EENG_BACKFACE_CULLING, EENG_WIREFRAME })
			EXPECT_TRUE(sheet.clickCheckBox(id)) << id;
		// every click and the selection report a change
		EXPECT_EQ(changes(sheet, ESPI_ENGINE), 6);
		sheet.pressOk();
	}), 1);
	EXPECT_EQ(Settings.engine.screenWidth, 1280);
	EXPECT_EQ(Settings.engine.screenHeight, 1024);
	EXPECT_EQ(Settings.engine.colorBits, 16);
	EXPECT_TRUE(Settings.engine.fullscreen);
	EXPECT_FALSE(Settings.engine.ignoreShadows);
	EXPECT_FALSE(Settings.engine.hideMouseCursor);
	EXPECT_FALSE(Settings.engine.backfaceCulling);
	EXPECT_TRUE(Settings.engine.wireframe);
	EXPECT_FALSE(Settings.engine.selectedOnly);
}

} // end namespace test
} // end namespace vistel

#include "CSheetTest.h"

#include <climits>

namespace vistel
{
namespace test
{

typedef CSheetTest CameraPage;

TEST_F(CameraPage, OpensWithTheTrackbarUpsideDownAndTheFieldsAsFloats)
{
	Settings.camera.ellipsoidPosition = 30;
	Settings.camera.userPosition.set(1.5f, -2.f, 1e6f);
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_CAMERA);
		const platform::SRecordedControl& trackbar = control(sheet, ECAM_ELLIPSOID_TRACKBAR);
		EXPECT_EQ(trackbar.Minimum, 0);
		EXPECT_EQ(trackbar.Maximum, 100);
		EXPECT_EQ(trackbar.TickFrequency, 10);
		EXPECT_EQ(trackbar.Position, 70);
		EXPECT_EQ(text(sheet, ECAM_ELLIPSOID_PERCENT), "30%");
		EXPECT_EQ(text(sheet, ECAM_MOVE_SPEED_EDIT), "500.000000");
		EXPECT_EQ(text(sheet, ECAM_ROTATE_SPEED_EDIT), "100.000000");
		EXPECT_EQ(text(sheet, ECAM_NEAR_EDIT), "1.000000");
		EXPECT_EQ(text(sheet, ECAM_FAR_EDIT), "5000.000000");
		EXPECT_EQ(text(sheet, ECAM_X_EDIT), "1.500000");
		EXPECT_EQ(text(sheet, ECAM_Y_EDIT), "-2.000000");
		EXPECT_EQ(text(sheet, ECAM_Z_EDIT), "1000000.000000");
		sheet.pressCancel();
	});
}

TEST_F(CameraPage, TrackbarTopIsAHundredPercent)
{
	Settings.camera.ellipsoidPosition = 30;
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_CAMERA);
		sheet.dragTrackbar(ECAM_ELLIPSOID_TRACKBAR, 0);
		EXPECT_EQ(text(sheet, ECAM_ELLIPSOID_PERCENT), "100%");
		sheet.pressOk();
	});
	EXPECT_EQ(Settings.camera.ellipsoidPosition, 100);

	run([](CSheet& sheet) {
		sheet.showPage(ESPI_CAMERA);
		sheet.dragTrackbar(ECAM_ELLIPSOID_TRACKBAR, 100);
		EXPECT_EQ(text(sheet, ECAM_ELLIPSOID_PERCENT), "0%");
		sheet.pressOk();
	});
	EXPECT_EQ(Settings.camera.ellipsoidPosition, 0);
}

TEST_F(CameraPage, DisplayFollowsLineThumbAndEndCodesOnly)
{
	const struct
	{
		int Code;
		bool Shown;
	} cases[] = {
		{ platform::ESSC_LINE_UP, true }, { platform::ESSC_LINE_DOWN, true },
		{ platform::ESSC_PAGE_UP, false }, { platform::ESSC_PAGE_DOWN, false },
		{ platform::ESSC_THUMB_POSITION, false }, { platform::ESSC_THUMB_TRACK, true },
		{ platform::ESSC_TOP, false }, { platform::ESSC_BOTTOM, false },
		{ platform::ESSC_END_TRACK, true },
	};
	for (const auto& c : cases)
	{
		run([&](CSheet& sheet) {
			sheet.showPage(ESPI_CAMERA);
			const int before = changes(sheet, ESPI_CAMERA);
			sheet.scrollTrackbar(ECAM_ELLIPSOID_TRACKBAR, 20, c.Code);
			EXPECT_EQ(text(sheet, ECAM_ELLIPSOID_PERCENT), c.Shown ? "80%" : "50%") << c.Code;
			EXPECT_EQ(changes(sheet, ESPI_CAMERA) - before, c.Shown ? 1 : 0) << c.Code;
			// OK takes the position, shown or not.
			sheet.pressOk();
		});
		EXPECT_EQ(Settings.camera.ellipsoidPosition, 80) << c.Code;
		Settings.camera.ellipsoidPosition = 50;
	}
}

TEST_F(CameraPage, PercentFromAnywhereStaysOnTheTrackbar)
{
	const struct
	{
		irr::s32 Loaded;
		int Position;
		const char* Shown;
		irr::s32 Stored;
	} cases[] = {
		{ INT_MIN, 100, "-2147483648%", 0 },
		{ -5, 100, "-5%", 0 },
		{ 150, 0, "150%", 100 },
		{ INT_MAX, 0, "2147483647%", 100 },
	};
	for (const auto& c : cases)
	{
		Settings.camera.ellipsoidPosition = c.Loaded;
		run([&](CSheet& sheet) {
			sheet.showPage(ESPI_CAMERA);
			EXPECT_EQ(position(sheet, ECAM_ELLIPSOID_TRACKBAR), c.Position) << c.Loaded;
			EXPECT_EQ(text(sheet, ECAM_ELLIPSOID_PERCENT), c.Shown);
			sheet.pressOk();
		});
		EXPECT_EQ(Settings.camera.ellipsoidPosition, c.Stored) << c.Loaded;
	}
}

TEST_F(CameraPage, UserPositionBoxGreysTheCentreBoxAndOpensTheCoordinates)
{
	const int coordinates[] = { ECAM_X_EDIT, ECAM_Y_EDIT, ECAM_Z_EDIT };
	run([&](CSheet& sheet) {
		sheet.showPage(ESPI_CAMERA);
		for (int id : coordinates)
			EXPECT_FALSE(enabled(sheet, id));
		const int opened = changes(sheet, ESPI_CAMERA);
		EXPECT_TRUE(sheet.clickCheckBox(ECAM_PLACE_IN_CENTER));
		EXPECT_EQ(changes(sheet, ESPI_CAMERA) - opened, 1);

		sheet.clickCheckBox(ECAM_USE_USER_POSITION);
		EXPECT_FALSE(checked(sheet, ECAM_PLACE_IN_CENTER));
		EXPECT_FALSE(enabled(sheet, ECAM_PLACE_IN_CENTER));
		for (int id : coordinates)
			EXPECT_TRUE(enabled(sheet, id));
		EXPECT_EQ(changes(sheet, ESPI_CAMERA) - opened, 2);

		sheet.clickCheckBox(ECAM_USE_USER_POSITION);
		EXPECT_TRUE(enabled(sheet, ECAM_PLACE_IN_CENTER));
		EXPECT_FALSE(checked(sheet, ECAM_PLACE_IN_CENTER));
		for (int id : coordinates)
			EXPECT_FALSE(enabled(sheet, id));
		sheet.pressOk();
	});
	EXPECT_FALSE(Settings.camera.placeInCenter);
	EXPECT_FALSE(Settings.camera.useUserPosition);
}

TEST_F(CameraPage, OpenedWithUserPositionBothStartBoxesCanBeOn)
{
	Settings.camera.useUserPosition = true;
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_CAMERA);
		EXPECT_TRUE(enabled(sheet, ECAM_PLACE_IN_CENTER));
		EXPECT_TRUE(enabled(sheet, ECAM_X_EDIT));
		EXPECT_TRUE(sheet.clickCheckBox(ECAM_PLACE_IN_CENTER));
		sheet.pressOk();
	});
	EXPECT_TRUE(Settings.camera.placeInCenter);
	EXPECT_TRUE(Settings.camera.useUserPosition);
}

TEST_F(CameraPage, FieldsPassThroughAtof)
{
	const struct
	{
		std::string Typed;
		float Stored;
	} cases[] = {
		{ "12.5", 12.5f },
		{ "abc", 0.f },
		{ "", 0.f },
		{ "7.25xyz", 7.25f },
		{ "  -3", -3.f },
		{ "1e3", 1000.f },
		{ ".5", 0.5f },
		// a read stops after 254 characters
		{ std::string(254, ' ') + "7", 0.f },
		{ std::string(253, ' ') + "7", 7.f },
	};
	for (const auto& c : cases)
	{
		Settings = makeDefaultPreviewSettings();
		run([&](CSheet& sheet) {
			sheet.showPage(ESPI_CAMERA);
			sheet.clickCheckBox(ECAM_USE_USER_POSITION);
			const int before = changes(sheet, ESPI_CAMERA);
			for (int id : { ECAM_MOVE_SPEED_EDIT, ECAM_ROTATE_SPEED_EDIT, ECAM_NEAR_EDIT,
					ECAM_FAR_EDIT, ECAM_X_EDIT, ECAM_Y_EDIT, ECAM_Z_EDIT })
				EXPECT_TRUE(sheet.typeText(id, c.Typed)) << id;
			EXPECT_EQ(changes(sheet, ESPI_CAMERA) - before, 7);
			sheet.pressOk();
		});
		const SCameraSettings& camera = Settings.camera;
		for (float value : { camera.moveSpeed, camera.rotateSpeed, camera.nearValue,
				camera.farValue, camera.userPosition.X, camera.userPosition.Y,
				camera.userPosition.Z })
			EXPECT_EQ(value, c.Stored) << '"' << c.Typed << '"';
	}
}

TEST_F(CameraPage, EachFieldGoesToItsOwnValue)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_CAMERA);
		sheet.clickCheckBox(ECAM_USE_USER_POSITION);
		sheet.typeText(ECAM_MOVE_SPEED_EDIT, "1");
		sheet.typeText(ECAM_ROTATE_SPEED_EDIT, "2");
		sheet.typeText(ECAM_X_EDIT, "3");
		sheet.typeText(ECAM_Y_EDIT, "4");
		sheet.typeText(ECAM_Z_EDIT, "5");
		sheet.typeText(ECAM_FAR_EDIT, "6");
		sheet.typeText(ECAM_NEAR_EDIT, "7");
		sheet.pressOk();
	});
	EXPECT_EQ(Settings.camera.moveSpeed, 1.f);
	EXPECT_EQ(Settings.camera.rotateSpeed, 2.f);
	EXPECT_EQ(Settings.camera.userPosition, irr::core::vector3df(3.f, 4.f, 5.f));
	EXPECT_EQ(Settings.camera.farValue, 6.f);
	EXPECT_EQ(Settings.camera.nearValue, 7.f);
}

} // end namespace test
} // end namespace vistel

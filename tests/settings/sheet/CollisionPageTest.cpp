#include "CSheetTest.h"

namespace vistel
{
namespace test
{

typedef CSheetTest CollisionPage;

namespace
{
const int RADII[] = { ECOL_X_RADIUS_EDIT, ECOL_Y_RADIUS_EDIT, ECOL_Z_RADIUS_EDIT };
}

TEST_F(CollisionPage, OpeningEnablesGravityWithCollisionAndItsValueWithGravity)
{
	const struct
	{
		bool Collision, Gravity;
		bool GravityBoxEnabled, GravityValueEnabled;
	} cases[] = {
		{ true, true, true, true },
		{ true, false, true, false },
		{ false, true, false, true }, // the value follows gravity alone
		{ false, false, false, false },
	};
	for (const auto& c : cases)
	{
		Settings.collision.collisionEnabled = c.Collision;
		Settings.collision.gravityEnabled = c.Gravity;
		run([&](CSheet& sheet) {
			sheet.showPage(ESPI_COLLISION);
			EXPECT_EQ(checked(sheet, ECOL_ENABLE_COLLISION), c.Collision);
			EXPECT_EQ(checked(sheet, ECOL_ENABLE_GRAVITY), c.Gravity);
			EXPECT_EQ(enabled(sheet, ECOL_ENABLE_GRAVITY), c.GravityBoxEnabled);
			EXPECT_EQ(enabled(sheet, ECOL_GRAVITY_EDIT), c.GravityValueEnabled);
			for (int id : RADII)
				EXPECT_EQ(enabled(sheet, id), c.Collision) << id;
			EXPECT_EQ(text(sheet, ECOL_GRAVITY_EDIT), "-3.000000");
			EXPECT_EQ(text(sheet, ECOL_X_RADIUS_EDIT), "30.000000");
			EXPECT_EQ(text(sheet, ECOL_Y_RADIUS_EDIT), "50.000000");
			EXPECT_EQ(text(sheet, ECOL_Z_RADIUS_EDIT), "30.000000");
			sheet.pressOk();
		});
		EXPECT_EQ(Settings.collision.collisionEnabled, c.Collision);
		EXPECT_EQ(Settings.collision.gravityEnabled, c.Gravity);
	}
}

TEST_F(CollisionPage, CollisionOffTurnsGravityOffAndOnAgainLeavesItOff)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_COLLISION);
		const int opened = changes(sheet, ESPI_COLLISION);
		sheet.clickCheckBox(ECOL_ENABLE_COLLISION);
		EXPECT_FALSE(checked(sheet, ECOL_ENABLE_GRAVITY));
		EXPECT_FALSE(enabled(sheet, ECOL_ENABLE_GRAVITY));
		EXPECT_FALSE(enabled(sheet, ECOL_GRAVITY_EDIT));
		for (int id : RADII)
			EXPECT_FALSE(enabled(sheet, id));
		EXPECT_FALSE(sheet.clickCheckBox(ECOL_ENABLE_GRAVITY));

		sheet.clickCheckBox(ECOL_ENABLE_COLLISION);
		EXPECT_TRUE(enabled(sheet, ECOL_ENABLE_GRAVITY));
		EXPECT_FALSE(checked(sheet, ECOL_ENABLE_GRAVITY));
		EXPECT_FALSE(enabled(sheet, ECOL_GRAVITY_EDIT));
		for (int id : RADII)
			EXPECT_TRUE(enabled(sheet, id));
		EXPECT_EQ(changes(sheet, ESPI_COLLISION) - opened, 2);
		sheet.pressOk();
	});
	EXPECT_TRUE(Settings.collision.collisionEnabled);
	EXPECT_FALSE(Settings.collision.gravityEnabled);
}

TEST_F(CollisionPage, GravityBoxOpensItsValue)
{
	Settings.collision.gravityEnabled = false;
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_COLLISION);
		const int opened = changes(sheet, ESPI_COLLISION);
		sheet.clickCheckBox(ECOL_ENABLE_GRAVITY);
		EXPECT_TRUE(enabled(sheet, ECOL_GRAVITY_EDIT));
		EXPECT_TRUE(sheet.typeText(ECOL_GRAVITY_EDIT, "-9.81"));
		sheet.clickCheckBox(ECOL_ENABLE_GRAVITY);
		EXPECT_FALSE(enabled(sheet, ECOL_GRAVITY_EDIT));
		sheet.clickCheckBox(ECOL_ENABLE_GRAVITY);
		EXPECT_EQ(changes(sheet, ESPI_COLLISION) - opened, 4);
		sheet.pressOk();
	});
	EXPECT_TRUE(Settings.collision.gravityEnabled);
	EXPECT_EQ(Settings.collision.gravity, -9.81f);
}

TEST_F(CollisionPage, OkStoresRadiiAsTyped)
{
	run([](CSheet& sheet) {
		sheet.showPage(ESPI_COLLISION);
		const int opened = changes(sheet, ESPI_COLLISION);
		sheet.typeText(ECOL_X_RADIUS_EDIT, "-4");   // not validated
		sheet.typeText(ECOL_Y_RADIUS_EDIT, "x");
		sheet.typeText(ECOL_Z_RADIUS_EDIT, "2.5e1");
		EXPECT_EQ(changes(sheet, ESPI_COLLISION) - opened, 3);
		sheet.pressOk();
	});
	EXPECT_EQ(Settings.collision.ellipsoidRadius, irr::core::vector3df(-4.f, 0.f, 25.f));
	EXPECT_EQ(Settings.collision.gravity, -3.f);
}

} // end namespace test
} // end namespace vistel

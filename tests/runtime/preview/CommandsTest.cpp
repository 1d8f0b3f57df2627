#include "PreviewTestSupport.h"

#include "CPreviewEventReceiver.h"

using namespace irr;
using vistel::test::CPreviewTest;
using vistel::test::makeKeyEvent;

namespace vistel
{

namespace
{

const core::aabbox3df LEVEL_BOX(-10.f, 0.f, -10.f, 30.f, 40.f, 50.f);

class CommandsTest : public CPreviewTest
{
protected:
	//! Presses and releases a key, as a user does, at the given engine time.
	void tap(EKEY_CODE key, u32 time = 5000, bool shift = false)
	{
		Device->getTimer()->setTime(time);
		Receiver.OnEvent(makeKeyEvent(key, true, shift));
		Receiver.OnEvent(makeKeyEvent(key, false, shift));
	}

	void expectMessage(const wchar_t* text, u32 time)
	{
		EXPECT_EQ(core::stringw(text), messageText());
		EXPECT_FLOAT_EQ(static_cast<f32>(time), State.messageTime);
	}

	void clearMessage()
	{
		State.messageText->setText(L"");
		State.messageTime = 0.f;
	}

	std::vector<s32> materialTypes() const
	{
		std::vector<s32> types;
		for (u32 i = 0; i < State.levelNode->getMaterialCount(); ++i)
			types.push_back(State.levelNode->getMaterial(i).MaterialType);
		return types;
	}

	CPreviewEventReceiver Receiver;
};

TEST_F(CommandsTest, CullingAndWireframeToggleTheSettingEveryMaterialAndSayIt)
{
	std::vector<video::E_MATERIAL_TYPE> types(2, video::EMT_SOLID);
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX, types));
	struct SCase
	{
		EKEY_CODE key;
		bool* setting;
		video::E_MATERIAL_FLAG flag;
		const wchar_t* on;
		const wchar_t* off;
	};
	const SCase cases[] = {
		{ KEY_KEY_B, &Settings.engine.backfaceCulling, video::EMF_BACK_FACE_CULLING,
			L"BACKFACE CULLING MODE: ON!!!", L"BACKFACE CULLING MODE: OFF!!!" },
		{ KEY_KEY_M, &Settings.engine.wireframe, video::EMF_WIREFRAME,
			L"WIREFRAME MODE: ON!!!", L"WIREFRAME MODE: OFF!!!" },
	};
	for (const SCase& c : cases)
	{
		for (int round = 0; round < 2; ++round)
		{
			const bool before = *c.setting;
			const u32 time = 6000 + 100 * round;
			tap(c.key, time);
			EXPECT_EQ(!before, *c.setting);
			for (u32 i = 0; i < State.levelNode->getMaterialCount(); ++i)
				EXPECT_EQ(!before, State.levelNode->getMaterial(i).getFlag(c.flag));
			expectMessage(before ? c.off : c.on, time);
		}
	}

	// Without a level node: nothing changes, nothing is said.
	clearMessage();
	State.levelNode = 0;
	const SPreviewSettings settingsBefore = Settings;
	tap(KEY_KEY_B);
	tap(KEY_KEY_M);
	EXPECT_TRUE(settingsBefore == Settings);
	expectMessage(L"", 0);
}

TEST_F(CommandsTest, ResetPutsTheCameraBackWithAFreshAnimatorAndGravityRestored)
{
	Settings.camera.placeInCenter = true;
	Settings.collision.gravity = -5.f;
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	scene::ISceneNodeAnimator* fps = cameraFPSAnimator();

	tap(KEY_KEY_G);
	EXPECT_EQ(0.f, State.collisionAnimator->getGravity().Y);
	State.camera->setPosition(core::vector3df(100.f, 5.f, -3.f));
	const core::vector3df target = State.camera->getTarget();
	scene::ISceneNodeAnimatorCollisionResponse* old = State.collisionAnimator;
	old->grab(); // kept alive only to tell it apart from the new one
	tap(KEY_KEY_C, 7000, true); // with Shift, as without

	EXPECT_EQ(core::vector3df(10.f, 20.f, 20.f), State.camera->getPosition());
	EXPECT_EQ(target, State.camera->getTarget());
	ASSERT_TRUE(State.collisionAnimator != 0);
	EXPECT_NE(old, State.collisionAnimator);
	EXPECT_FALSE(cameraHas(old));
	EXPECT_TRUE(cameraHas(State.collisionAnimator));
	EXPECT_EQ(fps, cameraFPSAnimator());
	EXPECT_EQ(core::vector3df(0.f, -5.f, 0.f), State.collisionAnimator->getGravity());
	EXPECT_EQ(State.triangleSelector, State.collisionAnimator->getWorld());
	EXPECT_EQ(1, old->getReferenceCount());
	old->drop();
	expectMessage(L"CAMERA RESETTED!!!", 7000);
}

TEST_F(CommandsTest, WithCollisionsOffGravityAndResetLeaveTheAnimatorDetached)
{
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	scene::ISceneNodeAnimator* fps = cameraFPSAnimator();

	tap(KEY_KEY_K, 5000);
	EXPECT_FALSE(State.collisionsActive);
	EXPECT_FALSE(cameraHas(State.collisionAnimator));
	expectMessage(L"COLLISIONS DISABLED!!!", 5000);

	tap(KEY_KEY_G, 5100);
	EXPECT_EQ(0.f, State.collisionAnimator->getGravity().Y);
	EXPECT_FALSE(cameraHas(State.collisionAnimator));
	expectMessage(L"GRAVITY DISABLED!!!", 5100);

	tap(KEY_KEY_C, 5200);
	EXPECT_FALSE(cameraHas(State.collisionAnimator));
	EXPECT_EQ(Settings.collision.gravity, State.collisionAnimator->getGravity().Y);

	tap(KEY_KEY_K, 5300);
	EXPECT_TRUE(State.collisionsActive);
	EXPECT_TRUE(cameraHas(State.collisionAnimator));
	expectMessage(L"COLLISIONS ENABLED!!!", 5300);

	tap(KEY_KEY_G, 5400);
	EXPECT_EQ(0.f, State.collisionAnimator->getGravity().Y);
	EXPECT_TRUE(cameraHas(State.collisionAnimator));
	tap(KEY_KEY_G, 5500);
	EXPECT_EQ(Settings.collision.gravity, State.collisionAnimator->getGravity().Y);
	EXPECT_TRUE(cameraHas(State.collisionAnimator));
	expectMessage(L"GRAVITY ENABLED!!!", 5500);

	// The camera keeps its own steering through all of it.
	EXPECT_EQ(fps, cameraFPSAnimator());
	EXPECT_EQ(2u, State.camera->getAnimators().getSize());
}

TEST_F(CommandsTest, WithoutAnimatorGravityAndCollisionsDoNothingAndResetOnlyMoves)
{
	Settings.collision.collisionEnabled = false;
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	tap(KEY_KEY_G);
	tap(KEY_KEY_K);
	expectMessage(L"", 0);
	EXPECT_FALSE(State.collisionsActive);

	State.camera->setPosition(core::vector3df(1.f, 2.f, 3.f));
	tap(KEY_KEY_C, 8000);
	EXPECT_EQ(core::vector3df(0.f, 20.f, 0.f), State.camera->getPosition());
	EXPECT_TRUE(State.collisionAnimator == 0);
	EXPECT_EQ(1u, State.camera->getAnimators().getSize());
	expectMessage(L"CAMERA RESETTED!!!", 8000);
}

TEST_F(CommandsTest, WithoutCameraEveryEventIsHandledAndCameraCommandsDoNothing)
{
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	scene::ICameraSceneNode* camera = State.camera;
	const f32 gravity = State.collisionAnimator->getGravity().Y;
	camera->setPosition(core::vector3df(1.f, 2.f, 3.f));
	State.camera = 0;
	const EKEY_CODE keys[] = { KEY_KEY_C, KEY_KEY_G, KEY_KEY_K, KEY_KEY_W };
	for (EKEY_CODE key : keys)
	{
		EXPECT_TRUE(Receiver.OnEvent(makeKeyEvent(key, true)));
		EXPECT_TRUE(Receiver.OnEvent(makeKeyEvent(key, false)));
	}
	SEvent mouse;
	mouse.EventType = EET_MOUSE_INPUT_EVENT;
	mouse.MouseInput.Event = EMIE_MOUSE_MOVED;
	mouse.MouseInput.X = mouse.MouseInput.Y = 10;
	mouse.MouseInput.Wheel = 0.f;
	mouse.MouseInput.ButtonStates = 0;
	mouse.MouseInput.Shift = mouse.MouseInput.Control = false;
	EXPECT_TRUE(Receiver.OnEvent(mouse));
	expectMessage(L"", 0);
	EXPECT_EQ(core::vector3df(1.f, 2.f, 3.f), camera->getPosition());
	EXPECT_EQ(gravity, State.collisionAnimator->getGravity().Y);
	EXPECT_TRUE(State.collisionsActive);
	State.camera = camera;
}

TEST_F(CommandsTest, FlashlightWithoutShadersOnlySwitchesTheLightOnRelease)
{
	std::vector<video::E_MATERIAL_TYPE> types;
	types.push_back(video::EMT_SOLID);
	types.push_back(video::EMT_LIGHTMAP_LIGHTING);
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX, types));
	Settings.fx.useShader = false;
	const std::vector<s32> before = materialTypes();
	ASSERT_TRUE(State.flashlightNode->isVisible());

	// Held down, the key repeats its press; only the release counts.
	for (int i = 0; i < 5; ++i)
		Receiver.OnEvent(makeKeyEvent(KEY_KEY_F, true));
	EXPECT_TRUE(State.flashlightNode->isVisible());
	Device->getTimer()->setTime(9000);
	Receiver.OnEvent(makeKeyEvent(KEY_KEY_F, false));
	EXPECT_FALSE(State.flashlightNode->isVisible());
	expectMessage(L"FLASHLIGHT OR LASERMODE: OFF!!!", 9000);

	tap(KEY_KEY_F, 9100);
	EXPECT_TRUE(State.flashlightNode->isVisible());
	expectMessage(L"FLASHLIGHT OR LASERMODE: ON!!!", 9100);
	EXPECT_EQ(before, materialTypes());
}

TEST_F(CommandsTest, FlashlightWithShadersSwapsTheMaterialTypes)
{
	const s32 OTHER = video::EMT_DETAIL_MAP;
	const s32 SOLID = video::EMT_SOLID, LIGHTMAP = video::EMT_LIGHTMAP_LIGHTING,
		ALPHA = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
	struct SCase
	{
		const char* what;
		std::vector<s32> start;
		std::vector<std::vector<s32> > afterEachPress; // off, on, off, on
	};
	const SCase cases[] = {
		{ "lightmapped level: alpha keeps its lightmap while off",
			{ LIGHTMAP, ALPHA, SOLID, OTHER },
			{ { 101, 102, 100, OTHER }, { LIGHTMAP, 104, SOLID, OTHER },
				{ 101, 102, 100, OTHER }, { LIGHTMAP, 104, SOLID, OTHER } } },
		{ "level without lightmaps",
			{ SOLID, ALPHA },
			{ { 100, 103 }, { SOLID, ALPHA }, { 100, 103 }, { SOLID, ALPHA } } },
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.what);
		TearDown();
		SetUp();
		std::vector<video::E_MATERIAL_TYPE> types;
		for (s32 type : c.start)
			types.push_back(static_cast<video::E_MATERIAL_TYPE>(type));
		ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX, types));
		Settings.fx.useShader = true;
		State.flashlightSolidMaterial = 100;
		State.flashlightLightmapMaterial = 101;
		State.flashlightLightmapAlphaMaterial = 102;
		State.flashlightAlphaMaterial = 103;
		State.lightmapAlphaMaterial = 104;
		// The flashlight starts off here, with the plain types.
		State.flashlightNode->setVisible(false);

		for (size_t i = 0; i < c.afterEachPress.size(); ++i)
		{
			const bool on = i % 2 == 0;
			tap(KEY_KEY_F, static_cast<u32>(5000 + i));
			EXPECT_EQ(c.afterEachPress[i], materialTypes());
			EXPECT_EQ(on, State.flashlightNode->isVisible());
			expectMessage(on ? L"FLASHLIGHT OR LASERMODE: ON!!!" : L"FLASHLIGHT OR LASERMODE: OFF!!!",
				static_cast<u32>(5000 + i));
		}
	}
}

TEST_F(CommandsTest, ScreensQuitAndScreenshotRequestSayNothing)
{
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	State.messageText->setText(L"KEEP");
	State.messageTime = 123.f;

	const struct
	{
		EKEY_CODE key;
		bool info;
		bool help;
	} screens[] = {
		{ KEY_F1, false, true },   // help on
		{ KEY_KEY_I, true, false }, // info replaces help
		{ KEY_KEY_I, false, false }, // info off, nothing shown
		{ KEY_KEY_I, true, false },
		{ KEY_F1, false, true },   // help replaces info
		{ KEY_F1, false, false },
	};
	for (const auto& step : screens)
	{
		tap(step.key);
		EXPECT_EQ(step.info, State.infoVisible);
		EXPECT_EQ(step.help, State.helpVisible);
	}

	tap(KEY_KEY_P);
	EXPECT_TRUE(State.screenshotRequested);
	EXPECT_TRUE(State.screenshotLabel->isVisible());
	EXPECT_FALSE(State.quitRequested);
	tap(KEY_ESCAPE);
	EXPECT_TRUE(State.quitRequested);

	EXPECT_EQ(core::stringw(L"KEEP"), messageText());
	EXPECT_FLOAT_EQ(123.f, State.messageTime);
}

TEST_F(CommandsTest, ReleaseWithoutItsPressIsNoCommand)
{
	// Escape that closed the Save dialog sends its release to the preview.
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	const EKEY_CODE keys[] = { KEY_ESCAPE, KEY_KEY_F, KEY_KEY_M, KEY_KEY_I, KEY_KEY_P };
	for (EKEY_CODE key : keys)
		Receiver.OnEvent(makeKeyEvent(key, false));
	EXPECT_FALSE(State.quitRequested);
	EXPECT_TRUE(State.flashlightNode->isVisible());
	EXPECT_FALSE(Settings.engine.wireframe);
	EXPECT_FALSE(State.infoVisible);
	EXPECT_FALSE(State.screenshotRequested);
	expectMessage(L"", 0);

	// Key codes beyond the table of keys are passed on and nothing more.
	Receiver.OnEvent(makeKeyEvent(static_cast<EKEY_CODE>(0x1FF), true));
	Receiver.OnEvent(makeKeyEvent(static_cast<EKEY_CODE>(0x1FF), false));
	expectMessage(L"", 0);
}

TEST_F(CommandsTest, ScreenshotNeedsADevice)
{
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	State.device = 0;
	tap(KEY_KEY_P);
	EXPECT_FALSE(State.screenshotRequested);
	EXPECT_FALSE(State.screenshotLabel->isVisible());
	State.device = Device;
}

} // end anonymous namespace

} // end namespace vistel

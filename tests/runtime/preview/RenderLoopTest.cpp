#include "PreviewTestSupport.h"

#include "CPreviewEventReceiver.h"
#include "FlashlightNode.h"
#include "OnScreenTexts.h"
#include "RenderLoop.h"

#include <vector>

using namespace irr;
using vistel::test::CPreviewTest;

namespace vistel
{

namespace
{

typedef CPreviewTest RenderLoopTest;

const core::aabbox3df LEVEL_BOX(-100.f, 0.f, -100.f, 100.f, 40.f, 100.f);

//! A window that has the focus and whose message pump delivers the given key
//! presses, one each time the engine pumps; everything else is the null
//! device's.
class CKeyPumpingDevice : public IrrlichtDevice
{
public:
	CKeyPumpingDevice(IrrlichtDevice* device, IEventReceiver* receiver, const std::vector<EKEY_CODE>& keys)
		: Device(device), Receiver(receiver), Keys(keys), Pumped(0)
	{
	}

	bool run() override
	{
		if (Pumped < Keys.size())
		{
			Receiver->OnEvent(test::makeKeyEvent(Keys[Pumped], true));
			Receiver->OnEvent(test::makeKeyEvent(Keys[Pumped], false));
			++Pumped;
		}
		return Device->run();
	}
	bool isWindowActive() const override { return true; }
	bool isWindowFocused() const override { return true; }

	void yield() override { Device->yield(); }
	void sleep(u32 timeMs, bool pauseTimer) override { Device->sleep(timeMs, pauseTimer); }
	video::IVideoDriver* getVideoDriver() override { return Device->getVideoDriver(); }
	io::IFileSystem* getFileSystem() override { return Device->getFileSystem(); }
	gui::IGUIEnvironment* getGUIEnvironment() override { return Device->getGUIEnvironment(); }
	scene::ISceneManager* getSceneManager() override { return Device->getSceneManager(); }
	gui::ICursorControl* getCursorControl() override { return Device->getCursorControl(); }
	ILogger* getLogger() override { return Device->getLogger(); }
	video::IVideoModeList* getVideoModeList() override { return Device->getVideoModeList(); }
	IOSOperator* getOSOperator() override { return Device->getOSOperator(); }
	ITimer* getTimer() override { return Device->getTimer(); }
	IRandomizer* getRandomizer() const override { return Device->getRandomizer(); }
	void setRandomizer(IRandomizer* r) override { Device->setRandomizer(r); }
	IRandomizer* createDefaultRandomizer() const override { return Device->createDefaultRandomizer(); }
	void setWindowCaption(const wchar_t* text) override { Device->setWindowCaption(text); }
	bool isWindowMinimized() const override { return false; }
	bool isFullscreen() const override { return false; }
	video::ECOLOR_FORMAT getColorFormat() const override { return Device->getColorFormat(); }
	void closeDevice() override { Device->closeDevice(); }
	const c8* getVersion() const override { return Device->getVersion(); }
	void setEventReceiver(IEventReceiver* receiver) override { Receiver = receiver; }
	IEventReceiver* getEventReceiver() override { return Receiver; }
	bool postEventFromUser(const SEvent& event) override { return Receiver->OnEvent(event); }
	void setInputReceivingSceneManager(scene::ISceneManager* sceneManager) override
	{
		Device->setInputReceivingSceneManager(sceneManager);
	}
	void setResizable(bool resize) override { Device->setResizable(resize); }
	void minimizeWindow() override {}
	void maximizeWindow() override {}
	void restoreWindow() override {}
	bool activateJoysticks(core::array<SJoystickInfo>&) override { return false; }
	bool setGammaRamp(f32, f32, f32, f32, f32) override { return false; }
	bool getGammaRamp(f32&, f32&, f32&, f32&, f32&) override { return false; }
	void clearSystemMessages() override {}
	E_DEVICE_TYPE getType() const override { return Device->getType(); }

private:
	IrrlichtDevice* Device;
	IEventReceiver* Receiver;
	std::vector<EKEY_CODE> Keys;
	size_t Pumped;
};

//! Counts the frames drawn: the scene manager animates its nodes once a frame.
class CFrameCounter : public scene::ISceneNodeAnimator
{
public:
	CFrameCounter() : Frames(0) {}
	void animateNode(scene::ISceneNode*, u32) override { ++Frames; }
	scene::ISceneNodeAnimator* createClone(scene::ISceneNode*, scene::ISceneManager*) override { return 0; }
	u32 Frames;
};

TEST_F(RenderLoopTest, InfoScreenShowsFrameRatePositionTogglesAndPrimitives)
{
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	Settings.fx.useShader = true; // the null driver has none; as if it had
	State.camera->setPosition(core::vector3df(-0.9f, 12.5f, 3.f));
	EXPECT_EQ(core::stringw(L"Tarvo Vistel Plugin 2.0.0\nAuthor: Quennel\nFPS: 60\n"
		L"CAMERA POSITION: 0,12,3;\nCOLLISIONS ENABLED\nGRAVITY ENABLED\nUSING SHADERS\n"
		L"FLASHLIGHT ENABLED\nBACKFACE CULLING MODE: ON\nWIREFRAME MODE: OFF\nTRIANGLES: 1234"),
		buildInfoScreen(60, 1234, Settings));
}

TEST_F(RenderLoopTest, InfoScreenLinesFollowTheState)
{
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	scene::ISceneNodeAnimatorCollisionResponse* animator = State.collisionAnimator;
	const f32 nan = std::numeric_limits<f32>::quiet_NaN();
	struct SCase
	{
		const char* what;
		core::vector3df position;
		bool collisionsActive;
		bool withAnimator;
		f32 gravityY;
		bool useShader;
		bool laserMode;
		bool flashlightOn;
		bool culling;
		bool wireframe;
		const wchar_t* expected; // from the camera position to the wireframe line
	};
	const SCase cases[] = {
		{ "negative and huge coordinates", core::vector3df(-12.7f, -0.5f, 1e10f), true, true, -3.f,
			true, false, true, true, false,
			L"-12,0,2147483647;\nCOLLISIONS ENABLED\nGRAVITY ENABLED\nUSING SHADERS\n"
			L"FLASHLIGHT ENABLED\nBACKFACE CULLING MODE: ON\nWIREFRAME MODE: OFF\n" },
		{ "not a number", core::vector3df(nan, -1e10f, 0.f), false, true, 0.f, true, false,
			false, false, true,
			L"0,-2147483648,0;\nCOLLISIONS DISABLED\nGRAVITY DISABLED\nUSING SHADERS\n"
			L"FLASHLIGHT DISABLED\nBACKFACE CULLING MODE: OFF\nWIREFRAME MODE: ON\n" },
		{ "no animator, whatever the gravity setting", core::vector3df(), false, false, -3.f,
			true, false, true, true, false,
			L"0,0,0;\nCOLLISIONS DISABLED\nGRAVITY DISABLED\nUSING SHADERS\n"
			L"FLASHLIGHT ENABLED\nBACKFACE CULLING MODE: ON\nWIREFRAME MODE: OFF\n" },
		{ "laser without shaders is the flashlight", core::vector3df(), true, true, -3.f, false,
			true, true, true, false,
			L"0,0,0;\nCOLLISIONS ENABLED\nGRAVITY ENABLED\nSHADERS DISABLED\n"
			L"FLASHLIGHT ENABLED\nBACKFACE CULLING MODE: ON\nWIREFRAME MODE: OFF\n" },
		{ "laser without shaders, off", core::vector3df(), true, true, -3.f, false, true, false,
			true, false,
			L"0,0,0;\nCOLLISIONS ENABLED\nGRAVITY ENABLED\nSHADERS DISABLED\n"
			L"FLASHLIGHT DISABLED\nBACKFACE CULLING MODE: ON\nWIREFRAME MODE: OFF\n" },
		{ "laser with shaders", core::vector3df(), true, true, -3.f, true, true, true, true, false,
			L"0,0,0;\nCOLLISIONS ENABLED\nGRAVITY ENABLED\nUSING SHADERS\n"
			L"LASERMODE ENABLED\nBACKFACE CULLING MODE: ON\nWIREFRAME MODE: OFF\n" },
		{ "laser with shaders, off", core::vector3df(), true, true, -3.f, true, true, false, true,
			false,
			L"0,0,0;\nCOLLISIONS ENABLED\nGRAVITY ENABLED\nUSING SHADERS\n"
			L"LASERMODE DISABLED\nBACKFACE CULLING MODE: ON\nWIREFRAME MODE: OFF\n" },
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.what);
		State.camera->setPosition(c.position);
		State.collisionsActive = c.collisionsActive;
		State.collisionAnimator = c.withAnimator ? animator : 0;
		animator->setGravity(core::vector3df(0.f, c.gravityY, 0.f));
		Settings.collision.gravityEnabled = true;
		Settings.fx.useShader = c.useShader;
		Settings.fx.laserMode = c.laserMode;
		State.flashlightNode->setVisible(c.flashlightOn);
		Settings.engine.backfaceCulling = c.culling;
		Settings.engine.wireframe = c.wireframe;

		core::stringw expected = L"Tarvo Vistel Plugin 2.0.0\nAuthor: Quennel\nFPS: 0\n"
			L"CAMERA POSITION: ";
		expected += c.expected;
		expected += L"TRIANGLES: 0";
		EXPECT_EQ(expected, buildInfoScreen(0, 0, Settings));
	}
	State.collisionAnimator = animator;
}

TEST_F(RenderLoopTest, HelpScreenAndWindowTitle)
{
	EXPECT_EQ(core::stringw(L"COMMAND LIST\n(W,A,S,D),ARROWS: MOVEMENT\nMOUSE MOVEMENT: ROTATION\n"
		L"(ESC),(ALT+F4): QUIT PLUGIN\n(C): RESET CAMERA\n(B): TOGGLE BACKFACE CULLING\n"
		L"(M): TOGGLE WIREFRAME\n(F): TOGGLE FLASHLIGHT\n(G): TOGGLE GRAVITY\n"
		L"(K): TOGGLE COLLISIONS\n(P): TAKE A SCREENSHOT\n(F1): TOGGLE HELP SCREEN\n"
		L"(I): TOGGLE INFO SCREEN\n"), buildHelpScreen());
	EXPECT_EQ(core::stringw(L"Irrlicht - Tarvo Vistel Plugin 2.0.0 FPS:60"), buildWindowTitle(60));
	EXPECT_EQ(core::stringw(L"Irrlicht - Tarvo Vistel Plugin 2.0.0 FPS:-1"), buildWindowTitle(-1));
}

TEST_F(RenderLoopTest, MessageExpiresAfterFourSecondsUnlessAScreenIsShown)
{
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	s32 lastFrameRate = 0;
	ITimer* timer = Device->getTimer();

	timer->setTime(10000);
	showMessage(L"WIREFRAME MODE: ON!!!");
	EXPECT_FLOAT_EQ(10000.f, State.messageTime);
	timer->setTime(13999);
	renderActiveFrame(Device, Settings, lastFrameRate);
	EXPECT_EQ(core::stringw(L"WIREFRAME MODE: ON!!!"), messageText());
	timer->setTime(14000);
	renderActiveFrame(Device, Settings, lastFrameRate);
	EXPECT_EQ(core::stringw(), messageText());

	// A screen replaces a message in the same frame and is never expired.
	showMessage(L"WIREFRAME MODE: OFF!!!");
	State.infoVisible = true;
	timer->setTime(20000);
	renderActiveFrame(Device, Settings, lastFrameRate);
	const core::stringw info = messageText();
	EXPECT_TRUE(info.equalsn(L"Tarvo Vistel Plugin 2.0.0\n", 26));
	State.infoVisible = false;
	State.helpVisible = true;
	renderActiveFrame(Device, Settings, lastFrameRate);
	EXPECT_EQ(buildHelpScreen(), messageText());

	// Turned off, a screen's text goes as soon as the last message is old.
	State.helpVisible = false;
	timer->setTime(15000);
	showMessage(L"GRAVITY ENABLED!!!");
	State.helpVisible = true;
	renderActiveFrame(Device, Settings, lastFrameRate);
	State.helpVisible = false;
	timer->setTime(18999);
	renderActiveFrame(Device, Settings, lastFrameRate);
	EXPECT_EQ(buildHelpScreen(), messageText());
	timer->setTime(19000);
	renderActiveFrame(Device, Settings, lastFrameRate);
	EXPECT_EQ(core::stringw(), messageText());
}

TEST_F(RenderLoopTest, EscapeEndsTheLoopWithoutAnotherFrame)
{
	// Escape comes with the window's messages; under a software renderer
	// one more frame after it kept the user waiting for seconds.
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	CFrameCounter* counter = new CFrameCounter;
	Device->getSceneManager()->addEmptySceneNode()->addAnimator(counter);
	CPreviewEventReceiver receiver;
	const struct
	{
		const char* what;
		std::vector<EKEY_CODE> keys;
		u32 frames;
	} cases[] = {
		{ "at once", { KEY_ESCAPE }, 0 },
		{ "after two frames", { KEY_KEY_I, KEY_KEY_I, KEY_ESCAPE }, 2 },
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(c.what);
		State.quitRequested = false;
		counter->Frames = 0;
		CKeyPumpingDevice device(Device, &receiver, c.keys);
		runRenderLoop(&device, Settings);
		EXPECT_EQ(c.frames, counter->Frames);
		EXPECT_TRUE(State.quitRequested);
	}
	counter->drop();
}

TEST_F(RenderLoopTest, FlashlightFollowsTheCameraAndKeepsItsTurnWithoutDirection)
{
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	scene::ICameraSceneNode* camera = State.camera;
	camera->setPosition(core::vector3df(5.f, 10.f, 15.f));
	camera->setTarget(core::vector3df(5.f, 10.f, 115.f));
	aimFlashlight(State.flashlightNode, camera);
	EXPECT_EQ(core::vector3df(5.f, 10.f, 15.f), State.flashlightNode->getPosition());
	EXPECT_EQ(core::vector3df(0.f, 0.f, 1.f).getHorizontalAngle(),
		State.flashlightNode->getRotation());

	camera->setTarget(core::vector3df(6.f, 10.f, 15.f));
	aimFlashlight(State.flashlightNode, camera);
	const core::vector3df turned = State.flashlightNode->getRotation();
	EXPECT_EQ(core::vector3df(1.f, 0.f, 0.f).getHorizontalAngle(), turned);
	// The light node's spot direction follows its rotation.
	State.flashlightNode->updateAbsolutePosition();
	State.flashlightNode->OnRegisterSceneNode();
	const core::vector3df direction = State.flashlightNode->getLightData().Direction;
	EXPECT_NEAR(1.f, direction.X, 1e-5f);
	EXPECT_NEAR(0.f, direction.Y, 1e-5f);
	EXPECT_NEAR(0.f, direction.Z, 1e-5f);

	camera->setPosition(core::vector3df(7.f, 8.f, 9.f));
	camera->setTarget(core::vector3df(7.f, 8.f, 9.f));
	aimFlashlight(State.flashlightNode, camera);
	EXPECT_EQ(core::vector3df(7.f, 8.f, 9.f), State.flashlightNode->getPosition());
	EXPECT_EQ(turned, State.flashlightNode->getRotation());
}

TEST_F(RenderLoopTest, LosingTheFocusStopsTheCameraAndForgetsHeldCommandKeys)
{
	Settings.collision.collisionEnabled = false;
	ASSERT_TRUE(setUpBoxLevel(LEVEL_BOX));
	CPreviewEventReceiver receiver;
	ITimer* timer = Device->getTimer();
	scene::ISceneManager* sceneManager = Device->getSceneManager();
	timer->setTime(1000);
	sceneManager->drawAll(); // the camera's first animation only starts its clock

	receiver.OnEvent(test::makeKeyEvent(KEY_KEY_W, true));
	const core::vector3df start = State.camera->getPosition();
	timer->setTime(1100);
	sceneManager->drawAll();
	const core::vector3df moved = State.camera->getPosition();
	EXPECT_GT(moved.getDistanceFrom(start), 1.f);

	// Escape pressed here, released in another window after the focus left.
	receiver.OnEvent(test::makeKeyEvent(KEY_ESCAPE, true));
	forgetHeldKeys();
	timer->setTime(1200);
	sceneManager->drawAll();
	EXPECT_EQ(moved, State.camera->getPosition());
	receiver.OnEvent(test::makeKeyEvent(KEY_ESCAPE, false));
	EXPECT_FALSE(State.quitRequested);
}

} // end anonymous namespace

} // end namespace vistel

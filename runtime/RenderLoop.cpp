#include "RenderLoop.h"

#include "CameraKeyMap.h"
#include "FlashlightNode.h"
#include "OnScreenTexts.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "Screenshot.h"

#include <irrlicht.h>

using namespace irr;

namespace vistel
{

namespace
{

// Long enough to leave the processor to others, short enough that the
// window answers at once when it gets the focus back.
const u32 INACTIVE_SLEEP_MS = 10;

} // end anonymous namespace

void forgetHeldKeys()
{
	SPreviewRunState& state = getPreviewRunState();
	releaseCameraKeys(state.camera);
	for (u32 i = 0; i < KEY_KEY_CODES_COUNT; ++i)
		state.keysDown[i] = false;
}

void expireMessage()
{
	SPreviewRunState& state = getPreviewRunState();
	if (!state.timer || !state.messageText)
		return;
	const f32 now = static_cast<f32>(state.timer->getTime());
	if (now - state.messageTime >= MESSAGE_LIFETIME_MS && !state.infoVisible && !state.helpVisible)
		state.messageText->setText(L"");
}

void renderActiveFrame(IrrlichtDevice* device, SPreviewSettings& settings, s32& lastFrameRate)
{
	SPreviewRunState& state = getPreviewRunState();
	video::IVideoDriver* driver = device->getVideoDriver();

	driver->beginScene(true, true, settings.level.backgroundColor);
	aimFlashlight(state.flashlightNode, state.camera);
	device->getSceneManager()->drawAll();
	device->getGUIEnvironment()->drawAll();
	// A screenshot is read from the frame drawn, before the buffers swap:
	// on screen, other windows may cover parts of it.
	SScreenshotFrame screenshot;
	if (state.screenshotRequested)
		captureScreenshotFrame(device, settings, screenshot);
	driver->endScene();

	const s32 frameRate = driver->getFPS();
	if (frameRate != lastFrameRate)
	{
		device->setWindowCaption(buildWindowTitle(frameRate).c_str());
		lastFrameRate = frameRate;
	}

	if (state.infoVisible && state.messageText)
		state.messageText->setText(
			buildInfoScreen(frameRate, driver->getPrimitiveCountDrawn(), settings).c_str());
	if (state.helpVisible && state.messageText)
		state.messageText->setText(buildHelpScreen().c_str());

	if (state.screenshotRequested)
		takeScreenshot(device, settings, screenshot);

	expireMessage();
}

void runRenderLoop(IrrlichtDevice* device, SPreviewSettings& settings)
{
	SPreviewRunState& state = getPreviewRunState();
	state.infoVisible = false;
	state.helpVisible = false;

	s32 lastFrameRate = 0;
	bool wasActive = false;
	// Escape is seen while the engine pumps the window's messages: the loop
	// ends there, before another frame is drawn (a frame can take seconds
	// on a software renderer). The run's tear-down closes the device.
	while (device->run() && !state.quitRequested)
	{
		if (!device->isWindowActive())
		{
			if (wasActive)
				forgetHeldKeys();
			wasActive = false;
			device->sleep(INACTIVE_SLEEP_MS);
			continue;
		}
		wasActive = true;
		renderActiveFrame(device, settings, lastFrameRate);
	}
}

} // end namespace vistel

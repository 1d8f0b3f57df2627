#include "PreviewCommands.h"

#include "CameraStart.h"
#include "FlashlightMaterials.h"
#include "OnScreenTexts.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <irrlicht.h>

using namespace irr;

namespace vistel
{

namespace
{

// The engine's first-person camera is steered by an animator of its own, so
// the commands detach only the collision animator, never all animators.
void detachCollisionAnimator(SPreviewRunState& state)
{
	if (state.camera && state.collisionAnimator)
		state.camera->removeAnimator(state.collisionAnimator);
}

} // end anonymous namespace

void runKeyCommand(EKEY_CODE key, SPreviewSettings& settings)
{
	switch (key)
	{
	case KEY_ESCAPE: requestQuit(); break;
	case KEY_KEY_C: resetCamera(settings); break;
	case KEY_KEY_B: toggleBackfaceCulling(settings); break;
	case KEY_KEY_M: toggleWireframe(settings); break;
	case KEY_KEY_F: toggleFlashlight(settings); break;
	case KEY_KEY_G: toggleGravity(settings); break;
	case KEY_KEY_K: toggleCollisions(); break;
	case KEY_KEY_P: requestScreenshot(); break;
	case KEY_KEY_I: toggleInfoScreen(); break;
	case KEY_F1: toggleHelpScreen(); break;
	default: break;
	}
}

void requestQuit()
{
	getPreviewRunState().quitRequested = true;
}

void resetCamera(const SPreviewSettings& settings)
{
	SPreviewRunState& state = getPreviewRunState();
	if (!state.camera)
		return;
	if (state.levelNode)
	{
		detachCollisionAnimator(state);
		state.camera->setPosition(getStartPosition(state.levelNode->getBoundingBox(),
			settings.camera));
	}
	if (state.collisionAnimator && state.triangleSelector && state.device)
	{
		// A new animator starts from the new position; the old one would
		// sweep the camera back through the level to it.
		detachCollisionAnimator(state);
		state.collisionAnimator->drop();
		state.collisionAnimator = createCollisionAnimator(state.device->getSceneManager(),
			state.triangleSelector, state.camera, settings);
		if (state.collisionAnimator && state.collisionsActive)
			state.camera->addAnimator(state.collisionAnimator);
	}
	showMessage(L"CAMERA RESETTED!!!");
}

void toggleBackfaceCulling(SPreviewSettings& settings)
{
	SPreviewRunState& state = getPreviewRunState();
	if (!state.levelNode)
		return;
	settings.engine.backfaceCulling = !settings.engine.backfaceCulling;
	state.levelNode->setMaterialFlag(video::EMF_BACK_FACE_CULLING,
		settings.engine.backfaceCulling);
	showMessage(settings.engine.backfaceCulling ? L"BACKFACE CULLING MODE: ON!!!"
		: L"BACKFACE CULLING MODE: OFF!!!");
}

void toggleWireframe(SPreviewSettings& settings)
{
	SPreviewRunState& state = getPreviewRunState();
	if (!state.levelNode)
		return;
	settings.engine.wireframe = !settings.engine.wireframe;
	state.levelNode->setMaterialFlag(video::EMF_WIREFRAME, settings.engine.wireframe);
	showMessage(settings.engine.wireframe ? L"WIREFRAME MODE: ON!!!" : L"WIREFRAME MODE: OFF!!!");
}

void toggleFlashlight(const SPreviewSettings& settings)
{
	SPreviewRunState& state = getPreviewRunState();
	const bool wasOn = state.flashlightNode && state.flashlightNode->isVisible();
	if (settings.fx.useShader)
	{
		// The shader materials carry the flashlight's look; swap them with
		// the plain ones.
		if (wasOn)
		{
			switchFlashlightMaterialsOff(state.levelNode);
			showMessage(L"FLASHLIGHT OR LASERMODE: OFF!!!");
		}
		else if (state.levelNode)
		{
			switchFlashlightMaterialsOn(state.levelNode);
			showMessage(L"FLASHLIGHT OR LASERMODE: ON!!!");
		}
	}
	if (state.flashlightNode)
	{
		state.flashlightNode->setVisible(!wasOn);
		showMessage(wasOn ? L"FLASHLIGHT OR LASERMODE: OFF!!!" : L"FLASHLIGHT OR LASERMODE: ON!!!");
	}
}

void toggleGravity(const SPreviewSettings& settings)
{
	SPreviewRunState& state = getPreviewRunState();
	if (!state.camera || !state.collisionAnimator)
		return;
	if (state.collisionAnimator->getGravity().Y != 0.f)
	{
		state.collisionAnimator->setGravity(core::vector3df(0.f, 0.f, 0.f));
		showMessage(L"GRAVITY DISABLED!!!");
	}
	else
	{
		state.collisionAnimator->setGravity(core::vector3df(0.f, settings.collision.gravity, 0.f));
		showMessage(L"GRAVITY ENABLED!!!");
	}
	detachCollisionAnimator(state);
	if (state.collisionsActive)
		state.camera->addAnimator(state.collisionAnimator);
}

void toggleCollisions()
{
	SPreviewRunState& state = getPreviewRunState();
	if (!state.camera || !state.collisionAnimator)
		return;
	if (state.collisionsActive)
	{
		showMessage(L"COLLISIONS DISABLED!!!");
		detachCollisionAnimator(state);
		state.collisionsActive = false;
	}
	else
	{
		showMessage(L"COLLISIONS ENABLED!!!");
		state.camera->addAnimator(state.collisionAnimator);
		state.collisionsActive = true;
	}
}

void requestScreenshot()
{
	SPreviewRunState& state = getPreviewRunState();
	if (!state.device)
		return;
	state.screenshotRequested = true;
	if (state.screenshotLabel)
		state.screenshotLabel->setVisible(true);
}

void toggleInfoScreen()
{
	SPreviewRunState& state = getPreviewRunState();
	state.infoVisible = !state.infoVisible;
	if (state.infoVisible)
		state.helpVisible = false;
}

void toggleHelpScreen()
{
	SPreviewRunState& state = getPreviewRunState();
	state.helpVisible = !state.helpVisible;
	if (state.helpVisible)
		state.infoVisible = false;
}

} // end namespace vistel

#include "OnScreenTexts.h"

#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <ICameraSceneNode.h>
#include <IGUIEnvironment.h>
#include <IGUIStaticText.h>
#include <ILightSceneNode.h>
#include <ISceneNodeAnimatorCollisionResponse.h>
#include <ITimer.h>

using namespace irr;

namespace vistel
{

namespace
{

const wchar_t SCREENSHOT_LABEL_TEXT[] = L"Tarvo Vistel 2.0.0\nScreenshot!!!";
const wchar_t WINDOW_TITLE[] = L"Irrlicht - Tarvo Vistel Plugin 2.0.0";
const video::SColor MESSAGE_COLOUR(0xFFFF0000);

// Numbers in the texts are written as signed integers. The engine's own
// conversion cannot negate the smallest integer; its digits are written here.
core::stringw number(s32 value)
{
	if (value >= 0)
		return core::stringw(value);
	core::stringw text = L"-";
	text += core::stringw(static_cast<u32>(-static_cast<s64>(value)));
	return text;
}

bool isGravityOn(const SPreviewRunState& state)
{
	return state.collisionAnimator && state.collisionAnimator->getGravity().Y != 0.f;
}

const wchar_t* flashlightLine(const SPreviewRunState& state, const SFxSettings& fx)
{
	const bool laser = fx.useShader && fx.laserMode;
	if (state.flashlightNode && state.flashlightNode->isVisible())
		return laser ? L"LASERMODE ENABLED\n" : L"FLASHLIGHT ENABLED\n";
	return laser ? L"LASERMODE DISABLED\n" : L"FLASHLIGHT DISABLED\n";
}

} // end anonymous namespace

void createOnScreenTexts(gui::IGUIEnvironment* gui, s32 width, s32 height)
{
	SPreviewRunState& state = getPreviewRunState();
	state.messageText = gui->addStaticText(L"", core::rect<s32>(10, 10, 150, 150), false, true,
		0, -1, false);
	state.messageText->enableOverrideColor(true);
	state.messageText->setOverrideColor(MESSAGE_COLOUR);

	state.screenshotLabel = gui->addStaticText(L"",
		core::rect<s32>(width - 130, height - 30, width - 10, height - 10), true, true, 0, -1,
		false);
	state.screenshotLabel->setText(SCREENSHOT_LABEL_TEXT);
	state.screenshotLabel->setVisible(false);
}

void showMessage(const wchar_t* text)
{
	SPreviewRunState& state = getPreviewRunState();
	if (state.messageText)
		state.messageText->setText(text);
	if (state.timer)
		state.messageTime = static_cast<f32>(state.timer->getTime());
}

core::stringw buildMissingTexturesMessage(u32 count)
{
	core::stringw text(count);
	text += count == 1 ? L" texture could not be loaded" : L" textures could not be loaded";
	return text;
}

void showMissingTexturesMessage(u32 count)
{
	if (count)
		showMessage(buildMissingTexturesMessage(count).c_str());
}

s32 truncateToInteger(f32 value)
{
	if (value != value)
		return 0;
	if (value >= 2147483648.f)
		return 2147483647;
	if (value <= -2147483648.f)
		return -2147483647 - 1;
	return static_cast<s32>(value);
}

core::stringw buildWindowTitle(s32 framesPerSecond)
{
	core::stringw title = WINDOW_TITLE;
	title += L" FPS:";
	title += number(framesPerSecond);
	return title;
}

core::stringw buildInfoScreen(s32 framesPerSecond, u32 primitivesDrawn,
	const SPreviewSettings& settings)
{
	const SPreviewRunState& state = getPreviewRunState();
	const core::vector3df position = state.camera ? state.camera->getPosition()
		: core::vector3df(0.f, 0.f, 0.f);

	core::stringw text = L"Tarvo Vistel Plugin ";
	text += L"2.0.0";
	text += L"\nAuthor: Quennel\nFPS: ";
	text += number(framesPerSecond);
	text += L"\nCAMERA POSITION: ";
	text += number(truncateToInteger(position.X));
	text += L",";
	text += number(truncateToInteger(position.Y));
	text += L",";
	text += number(truncateToInteger(position.Z));
	text += L";\n";
	text += state.collisionsActive ? L"COLLISIONS ENABLED\n" : L"COLLISIONS DISABLED\n";
	text += isGravityOn(state) ? L"GRAVITY ENABLED\n" : L"GRAVITY DISABLED\n";
	text += settings.fx.useShader ? L"USING SHADERS\n" : L"SHADERS DISABLED\n";
	text += flashlightLine(state, settings.fx);
	text += settings.engine.backfaceCulling ? L"BACKFACE CULLING MODE: ON\n"
		: L"BACKFACE CULLING MODE: OFF\n";
	text += settings.engine.wireframe ? L"WIREFRAME MODE: ON\n" : L"WIREFRAME MODE: OFF\n";
	text += L"TRIANGLES: ";
	// The count is never negative; written unsigned it cannot wrap.
	text += core::stringw(primitivesDrawn);
	return text;
}

core::stringw buildHelpScreen()
{
	return L"COMMAND LIST\n"
		L"(W,A,S,D),ARROWS: MOVEMENT\n"
		L"MOUSE MOVEMENT: ROTATION\n"
		L"(ESC),(ALT+F4): QUIT PLUGIN\n"
		L"(C): RESET CAMERA\n"
		L"(B): TOGGLE BACKFACE CULLING\n"
		L"(M): TOGGLE WIREFRAME\n"
		L"(F): TOGGLE FLASHLIGHT\n"
		L"(G): TOGGLE GRAVITY\n"
		L"(K): TOGGLE COLLISIONS\n"
		L"(P): TAKE A SCREENSHOT\n"
		L"(F1): TOGGLE HELP SCREEN\n"
		L"(I): TOGGLE INFO SCREEN\n";
}

} // end namespace vistel

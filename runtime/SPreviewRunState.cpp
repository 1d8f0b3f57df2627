#include "SPreviewRunState.h"

namespace vistel
{

bool pixelShader11Available = true;

SPreviewRunState::SPreviewRunState()
	: messageTime(0.f)
{
	clearRunReferences();
}

void SPreviewRunState::clearRunReferences()
{
	device = 0;
	timer = 0;
	levelNode = 0;
	camera = 0;
	flashlightNode = 0;
	collisionAnimator = 0;
	triangleSelector = 0;
	messageText = 0;
	screenshotLabel = 0;
	infoVisible = false;
	helpVisible = false;
	screenshotRequested = false;
	quitRequested = false;
	collisionsActive = false;
	for (irr::u32 i = 0; i < irr::KEY_KEY_CODES_COUNT; ++i)
		keysDown[i] = false;
	// Until the shader step registers its materials the built-in types stand in.
	flashlightSolidMaterial = irr::video::EMT_SOLID;
	flashlightLightmapMaterial = irr::video::EMT_LIGHTMAP_LIGHTING;
	flashlightLightmapAlphaMaterial = irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL;
	flashlightAlphaMaterial = irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL;
	lightmapAlphaMaterial = irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL;
}

SPreviewRunState& getPreviewRunState()
{
	static SPreviewRunState state;
	return state;
}

} // end namespace vistel

#include "TXSPlaceholderTextures.h"

#include <IImage.h>
#include <IVideoDriver.h>

#include <vector>

namespace vistel
{

// A colon after the first character and the angle brackets are refused in
// Windows file names, so no texture file of a document is found under these.
const char* const MISSING_TEXTURE_NAME = "<vistel:missing texture>";
const char* const FULLY_LIT_LIGHTMAP_NAME = "<vistel:fully lit lightmap>";

namespace
{

// 64 texels with cells of 8: an 8 x 8 board per repeat of the texture,
// coarse enough to be seen from afar once filtered.
const irr::u32 CHECKER_SIZE = 64;
const irr::u32 CHECKER_CELL = 8;
const irr::u32 CHECKER_LIGHT = 0xFFFF00FF; // magenta
const irr::u32 CHECKER_DARK = 0xFF000000;
const irr::u32 LIGHTMAP_SIZE = 8;
const irr::u32 LIGHTMAP_WHITE = 0xFFFFFFFF;

std::vector<irr::u32> makePixels(ETXSPlaceholder placeholder, irr::u32& side)
{
	if (placeholder == ETP_FULLY_LIT_LIGHTMAP)
	{
		side = LIGHTMAP_SIZE;
		return std::vector<irr::u32>(LIGHTMAP_SIZE * LIGHTMAP_SIZE, LIGHTMAP_WHITE);
	}
	side = CHECKER_SIZE;
	std::vector<irr::u32> pixels(CHECKER_SIZE * CHECKER_SIZE);
	for (irr::u32 y = 0; y < CHECKER_SIZE; ++y)
		for (irr::u32 x = 0; x < CHECKER_SIZE; ++x)
			pixels[y * CHECKER_SIZE + x] = ((x / CHECKER_CELL + y / CHECKER_CELL) % 2) ? CHECKER_DARK : CHECKER_LIGHT;
	return pixels;
}

} // end namespace

irr::video::ITexture* getPlaceholderTexture(irr::video::IVideoDriver* driver, ETXSPlaceholder placeholder)
{
	const char* name = placeholder == ETP_FULLY_LIT_LIGHTMAP ? FULLY_LIT_LIGHTMAP_NAME : MISSING_TEXTURE_NAME;
	if (irr::video::ITexture* existing = driver->findTexture(name))
		return existing;
	irr::u32 side = 0;
	std::vector<irr::u32> pixels = makePixels(placeholder, side);
	// The image copies the pixels.
	irr::video::IImage* image = driver->createImageFromData(irr::video::ECF_A8R8G8B8,
		irr::core::dimension2d<irr::u32>(side, side), pixels.data(), false, true);
	if (!image)
		return nullptr;
	irr::video::ITexture* texture = driver->addTexture(name, image);
	image->drop();
	return texture;
}

} // end namespace vistel

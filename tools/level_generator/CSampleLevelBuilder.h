// The bundled sample level: a pillared hall with a balcony, stairs and a tall
// window, a corridor that ramps down to a workshop, and a passage back into
// the hall. Laid out for the preview's default start: the camera starts at
// (0, centre of the level's height, 0) and faces along the document's -z,
// slightly downwards, so the level's height range is chosen to put that
// point on the balcony, overlooking the hall.
#ifndef VISTEL_LEVELGEN_CSAMPLE_LEVEL_BUILDER_H_INCLUDED
#define VISTEL_LEVELGEN_CSAMPLE_LEVEL_BUILDER_H_INCLUDED

#include "SGenLevel.h"

#include <string>
#include <vector>

namespace vistel::levelgen
{

// Texture files of the sample, relative to its texture folder.
struct SSampleTextureFiles
{
	static const char* const Brick;
	static const char* const Tiles;
	static const char* const Wood;
	static const char* const Metal;
	static const char* const Concrete;
	static const char* const Glass;
	static const char* const Lightmap;
	// The sky box faces, in the order of the preview's Level page buttons:
	// top, left, centre, right, bottom, back.
	static const char* const Sky[6];
};

// The direction towards the sun, in document axes (unit length).
SVec3 getSampleSunDirection();

SGenLevel buildSampleLevel();

} // namespace vistel::levelgen

#endif

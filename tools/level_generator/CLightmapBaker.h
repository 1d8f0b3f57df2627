// Bakes the direct light of a level's lights into one lightmap atlas: every
// polygon of a lightmapped material gets its own patch of texels, lit by the
// point lights and the sun with soft shadows (lights of some size, sampled
// by many shadow rays) and by an ambient term darkened in corners. The
// corners' lightmap coordinates are written into the level. Deterministic:
// no clock, no threads, fixed sample patterns.
#ifndef VISTEL_LEVELGEN_CLIGHTMAP_BAKER_H_INCLUDED
#define VISTEL_LEVELGEN_CLIGHTMAP_BAKER_H_INCLUDED

#include "CTextureWriter.h"
#include "SGenLevel.h"

namespace vistel::levelgen
{

struct SBakeOptions
{
	int AtlasWidth = 1024;
	float TexelSize = 5.5f;             // world units per lightmap texel
	float AmbientR = 0.16f, AmbientG = 0.17f, AmbientB = 0.2f;
	float OcclusionReach = 140.f;      // how far corners darken the ambient term
	int LightSamples = 24;             // shadow rays per light and texel in a penumbra
	float GlassTint[3] = {0.82f, 0.9f, 0.92f};
};

struct SBakeReport
{
	int AtlasWidth = 0, AtlasHeight = 0;
	std::size_t Patches = 0, Texels = 0, ShadowRays = 0;
};

// Fills the lightmap coordinates (SGenCorner::Local) of every polygon whose
// material has a lightmap layer and returns the atlas.
SImage bakeLightmaps(SGenLevel& level, const SBakeOptions& options, SBakeReport& report);

} // namespace vistel::levelgen

#endif

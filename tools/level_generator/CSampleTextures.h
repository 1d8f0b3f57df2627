// The sample level's textures: painted from noise and simple patterns by this
// program, the same pixels on every run, and stored as JPEG or PNG files.
#ifndef VISTEL_LEVELGEN_CSAMPLE_TEXTURES_H_INCLUDED
#define VISTEL_LEVELGEN_CSAMPLE_TEXTURES_H_INCLUDED

#include "CTextureWriter.h"

#include <string>

namespace vistel::levelgen
{

SImage paintBrickWall(int size);
SImage paintFloorTiles(int size);
SImage paintWoodPlanks(int size);
SImage paintMetalPanels(int size);
SImage paintConcrete(int size);
SImage paintWindowGlass(int size);

// The six faces of the sky box, named as the preview's Level page names them.
enum ESkyFace
{
	ESF_TOP,
	ESF_BOTTOM,
	ESF_LEFT,
	ESF_RIGHT,
	ESF_FRONT, // the page's "centre" face
	ESF_BACK
};

// One face of a sky with clouds and a sun glow around sunDirection (a unit
// vector in the engine's axes: y up, z mirrored against the document).
SImage paintSkyFace(ESkyFace face, int size, float sunX, float sunY, float sunZ);

// Writes JPEG (quality 1 to 100) or PNG through the engine's image writers.
class CImageFiles
{
public:
	CImageFiles();
	~CImageFiles();
	CImageFiles(const CImageFiles&) = delete;
	CImageFiles& operator=(const CImageFiles&) = delete;

	bool ok() const { return Device != nullptr; }
	bool writeJpeg(const SImage& image, const std::string& path, int quality);
	bool writePng(const SImage& image, const std::string& path);

private:
	bool write(const SImage& image, const std::string& path, int parameter);

	void* Device = nullptr;
};

} // namespace vistel::levelgen

#endif

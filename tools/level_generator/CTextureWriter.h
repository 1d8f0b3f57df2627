// Paints the level's textures procedurally and stores them as TGA or BMP files.
#ifndef VISTEL_LEVELGEN_CTEXTURE_WRITER_H_INCLUDED
#define VISTEL_LEVELGEN_CTEXTURE_WRITER_H_INCLUDED

#include <cstdint>
#include <string>
#include <vector>

namespace vistel::levelgen
{

struct SImage
{
	int Width = 0, Height = 0;
	bool HasAlpha = false;
	std::vector<std::uint8_t> Rgba; // row-major, top row first

	SImage(int w, int h, bool alpha) :
		Width(w), Height(h), HasAlpha(alpha), Rgba(static_cast<std::size_t>(w) * h * 4, 255)
	{
	}
	void set(int x, int y, int r, int g, int b, int a = 255);
};

SImage paintStone(int size, std::uint32_t seed);
SImage paintBrick(int size);
SImage paintWood(int size, std::uint32_t seed);
SImage paintGlass(int size);
SImage paintLightmap(int size);

// Uncompressed true-colour TGA (24 or 32 bit) and 24-bit BMP, both of which
// the engine's image loaders read.
bool writeTga(const SImage& image, const std::string& path);
bool writeBmp(const SImage& image, const std::string& path);

} // namespace vistel::levelgen

#endif

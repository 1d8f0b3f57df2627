#include "CTextureWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace vistel::levelgen
{

namespace
{

std::uint8_t clampByte(int v)
{
	return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Value noise on a periodic lattice, so textures tile without seams.
class CTileNoise
{
public:
	CTileNoise(int period, std::uint32_t seed) : Period(period), Values(static_cast<std::size_t>(period * period))
	{
		std::uint32_t s = seed ? seed : 1u;
		for (float& v : Values)
		{
			s ^= s << 13;
			s ^= s >> 17;
			s ^= s << 5;
			v = static_cast<float>(s % 1000) / 1000.f;
		}
	}

	float at(float x, float y) const
	{
		const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
		const float fx = x - static_cast<float>(xi), fy = y - static_cast<float>(yi);
		const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
		const float a = cell(xi, yi), b = cell(xi + 1, yi), c = cell(xi, yi + 1), d = cell(xi + 1, yi + 1);
		return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
	}

private:
	float cell(int x, int y) const
	{
		x = ((x % Period) + Period) % Period;
		y = ((y % Period) + Period) % Period;
		return Values[static_cast<std::size_t>(y * Period + x)];
	}

	int Period;
	std::vector<float> Values;
};

} // namespace

void SImage::set(int x, int y, int r, int g, int b, int a)
{
	std::uint8_t* p = &Rgba[(static_cast<std::size_t>(y) * Width + x) * 4];
	p[0] = clampByte(r);
	p[1] = clampByte(g);
	p[2] = clampByte(b);
	p[3] = clampByte(a);
}

SImage paintStone(int size, std::uint32_t seed)
{
	SImage img(size, size, false);
	const CTileNoise coarse(8, seed), fine(32, seed * 7 + 3);
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
			const float n = 0.6f * coarse.at(u * 8, v * 8) + 0.4f * fine.at(u * 32, v * 32);
			// Flagstone joints every quarter of the tile.
			const bool joint = (x % (size / 4)) < 2 || (y % (size / 4)) < 2;
			const int base = joint ? 70 : static_cast<int>(110 + n * 80);
			img.set(x, y, base + 8, base + 4, base);
		}
	return img;
}

SImage paintBrick(int size)
{
	SImage img(size, size, false);
	const CTileNoise noise(16, 99);
	const int rowHeight = size / 8, brickWidth = size / 4;
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const int row = y / rowHeight;
			const int shifted = x + (row % 2) * brickWidth / 2;
			const bool mortar = (y % rowHeight) < 2 || (shifted % brickWidth) < 2;
			const float n = noise.at(static_cast<float>(x) * 16 / size, static_cast<float>(y) * 16 / size);
			if (mortar)
				img.set(x, y, 180, 176, 168);
			else
				img.set(x, y, static_cast<int>(140 + n * 50), static_cast<int>(60 + n * 25), static_cast<int>(40 + n * 15));
		}
	return img;
}

SImage paintWood(int size, std::uint32_t seed)
{
	SImage img(size, size, false);
	const CTileNoise noise(8, seed);
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
			const float grain = std::sin((v * 12 + noise.at(u * 8, v * 8) * 2) * 6.2831853f) * 0.5f + 0.5f;
			const bool seam = (y % (size / 4)) == 0;
			const int t = seam ? 60 : static_cast<int>(120 + grain * 60);
			img.set(x, y, t + 30, t, t / 2);
		}
	return img;
}

SImage paintGlass(int size)
{
	SImage img(size, size, true);
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const bool frame = x < 3 || y < 3 || x >= size - 3 || y >= size - 3;
			const bool streak = ((x + y) % 16) < 3;
			if (frame)
				img.set(x, y, 60, 70, 80, 255);
			else
				img.set(x, y, 170, 210, 230, streak ? 140 : 70);
		}
	return img;
}

SImage paintLightmap(int size)
{
	SImage img(size, size, false);
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float dx = (static_cast<float>(x) + 0.5f) / size - 0.5f;
			const float dy = (static_cast<float>(y) + 0.5f) / size - 0.5f;
			const float light = 1.f - std::min(1.f, std::sqrt(dx * dx + dy * dy) * 1.6f);
			const int l = static_cast<int>(70 + light * 185);
			img.set(x, y, l, l, l - 10);
		}
	return img;
}

namespace
{

void putLe16(std::vector<std::uint8_t>& out, unsigned v)
{
	out.push_back(static_cast<std::uint8_t>(v & 0xFF));
	out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
	putLe16(out, v & 0xFFFF);
	putLe16(out, v >> 16);
}

bool store(const std::vector<std::uint8_t>& bytes, const std::string& path)
{
	std::ofstream file(path, std::ios::binary);
	file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
	return static_cast<bool>(file);
}

} // namespace

bool writeTga(const SImage& image, const std::string& path)
{
	std::vector<std::uint8_t> out;
	const int bpp = image.HasAlpha ? 32 : 24;
	out.insert(out.end(), {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0});
	putLe16(out, static_cast<unsigned>(image.Width));
	putLe16(out, static_cast<unsigned>(image.Height));
	out.push_back(static_cast<std::uint8_t>(bpp));
	// Top-left origin; alpha bits in the descriptor for 32-bit images.
	out.push_back(static_cast<std::uint8_t>(0x20 | (image.HasAlpha ? 8 : 0)));
	for (int y = 0; y < image.Height; ++y)
		for (int x = 0; x < image.Width; ++x)
		{
			const std::uint8_t* p = &image.Rgba[(static_cast<std::size_t>(y) * image.Width + x) * 4];
			out.insert(out.end(), {p[2], p[1], p[0]});
			if (image.HasAlpha)
				out.push_back(p[3]);
		}
	return store(out, path);
}

bool writeBmp(const SImage& image, const std::string& path)
{
	const int rowBytes = (image.Width * 3 + 3) & ~3;
	const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * image.Height);
	std::vector<std::uint8_t> out{'B', 'M'};
	putLe32(out, 54 + pixelBytes);
	putLe32(out, 0);
	putLe32(out, 54);
	putLe32(out, 40);
	putLe32(out, static_cast<std::uint32_t>(image.Width));
	putLe32(out, static_cast<std::uint32_t>(image.Height)); // positive: bottom row first
	putLe16(out, 1);
	putLe16(out, 24);
	putLe32(out, 0);
	putLe32(out, pixelBytes);
	putLe32(out, 2835);
	putLe32(out, 2835);
	putLe32(out, 0);
	putLe32(out, 0);
	for (int y = image.Height - 1; y >= 0; --y)
	{
		for (int x = 0; x < image.Width; ++x)
		{
			const std::uint8_t* p = &image.Rgba[(static_cast<std::size_t>(y) * image.Width + x) * 4];
			out.insert(out.end(), {p[2], p[1], p[0]});
		}
		out.resize(out.size() + static_cast<std::size_t>(rowBytes - image.Width * 3), 0);
	}
	return store(out, path);
}

} // namespace vistel::levelgen

#include "CSampleTextures.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vistel::levelgen
{

namespace
{

float clamp01(float v)
{
	return std::min(1.f, std::max(0.f, v));
}

float smoothstep(float lo, float hi, float v)
{
	const float t = clamp01((v - lo) / (hi - lo));
	return t * t * (3.f - 2.f * t);
}

float mix(float a, float b, float t)
{
	return a + (b - a) * t;
}

// A hash of two lattice coordinates and a seed, in [0, 1).
float hash(int x, int y, std::uint32_t seed)
{
	std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^ static_cast<std::uint32_t>(y) * 0xd8163841u
		^ seed * 0xcb1ab31fu;
	h ^= h >> 13;
	h *= 0x5bd1e995u;
	h ^= h >> 15;
	return static_cast<float>(h & 0xFFFFFFu) / 16777216.f;
}

// Value noise, smooth between lattice points; with a period above 0 it
// repeats after that many lattice cells, so textures tile without seams.
float valueNoise(float x, float y, int period, std::uint32_t seed)
{
	const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
	const float fx = x - static_cast<float>(xi), fy = y - static_cast<float>(yi);
	const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
	auto cell = [&](int cx, int cy) {
		if (period > 0)
		{
			cx = ((cx % period) + period) % period;
			cy = ((cy % period) + period) % period;
		}
		return hash(cx, cy, seed);
	};
	const float a = cell(xi, yi), b = cell(xi + 1, yi), c = cell(xi, yi + 1), d = cell(xi + 1, yi + 1);
	return mix(mix(a, b, sx), mix(c, d, sx), sy);
}

// Fractal noise over u, v in [0, 1): tiles with period 1 when base cells
// divide evenly (every octave doubles them).
float tileFbm(float u, float v, int cells, int octaves, std::uint32_t seed)
{
	float sum = 0.f, amplitude = 0.5f, total = 0.f;
	for (int o = 0; o < octaves; ++o)
	{
		sum += amplitude * valueNoise(u * static_cast<float>(cells), v * static_cast<float>(cells), cells, seed + static_cast<std::uint32_t>(o) * 101u);
		total += amplitude;
		amplitude *= 0.5f;
		cells *= 2;
	}
	return sum / total;
}

float freeFbm(float x, float y, int octaves, std::uint32_t seed)
{
	float sum = 0.f, amplitude = 0.5f, total = 0.f;
	for (int o = 0; o < octaves; ++o)
	{
		sum += amplitude * valueNoise(x, y, 0, seed + static_cast<std::uint32_t>(o) * 131u);
		total += amplitude;
		amplitude *= 0.5f;
		x *= 2.03f;
		y *= 2.03f;
	}
	return sum / total;
}

void setRgb(SImage& img, int x, int y, float r, float g, float b)
{
	img.set(x, y, static_cast<int>(std::lround(r)), static_cast<int>(std::lround(g)), static_cast<int>(std::lround(b)));
}

} // namespace

SImage paintBrickWall(int size)
{
	SImage img(size, size, false);
	const int rows = 8, perRow = 4;
	const float pixel = static_cast<float>(size) / 512.f;
	const float mortar = 5.f * pixel;
	const float brickW = static_cast<float>(size) / perRow, brickH = static_cast<float>(size) / rows;
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
			const int row = static_cast<int>(static_cast<float>(y) / brickH);
			const float shifted = std::fmod(static_cast<float>(x) + (row % 2) * brickW * 0.5f, static_cast<float>(size));
			const int col = static_cast<int>(shifted / brickW);
			const float lx = shifted - static_cast<float>(col) * brickW;
			const float ly = static_cast<float>(y) - static_cast<float>(row) * brickH;
			// Distance to the nearest joint, for the bevel of the brick's edge.
			const float edge = std::min(std::min(lx, brickW - lx), std::min(ly, brickH - ly)) - mortar * 0.5f;
			const float grain = tileFbm(u, v, 32, 4, 7);
			if (edge < 0.f)
			{
				const float m = 150.f + grain * 40.f;
				setRgb(img, x, y, m, m * 0.97f, m * 0.9f);
				continue;
			}
			const float id = hash(row, col % perRow, 11);
			const float burnt = id < 0.18f ? 0.7f : 1.f;
			const float tone = (0.82f + 0.3f * id) * burnt;
			const float speckle = tileFbm(u, v, 64, 3, 23);
			const float bevel = 0.78f + 0.22f * smoothstep(0.f, 4.f * pixel, edge);
			// Light from above: the upper edge of a brick catches it.
			const float top = (ly - mortar * 0.5f) < 3.f * pixel ? 1.12f : 1.f;
			const float s = tone * bevel * top * (0.8f + 0.4f * speckle);
			setRgb(img, x, y, 168.f * s, 78.f * s, 56.f * s);
		}
	return img;
}

SImage paintFloorTiles(int size)
{
	SImage img(size, size, false);
	const int tiles = 4;
	const float tile = static_cast<float>(size) / tiles;
	const float grout = 3.f * static_cast<float>(size) / 512.f;
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
			const int tx = static_cast<int>(static_cast<float>(x) / tile), ty = static_cast<int>(static_cast<float>(y) / tile);
			const float lx = static_cast<float>(x) - static_cast<float>(tx) * tile;
			const float ly = static_cast<float>(y) - static_cast<float>(ty) * tile;
			const float edge = std::min(std::min(lx, tile - lx), std::min(ly, tile - ly));
			if (edge < grout)
			{
				setRgb(img, x, y, 120, 116, 108);
				continue;
			}
			// Marble: a cloudy ground with veins that wander along the noise.
			const float cloud = tileFbm(u, v, 8, 5, 31 + static_cast<std::uint32_t>((tx + ty) % 2));
			const float vein = std::pow(1.f - std::fabs(std::sin((u + v) * 18.8495559f + cloud * 9.f)), 10.f);
			const float variation = 0.94f + 0.1f * hash(tx, ty, 5);
			const float bevel = 0.86f + 0.14f * smoothstep(grout, grout + 5.f, edge);
			if ((tx + ty) % 2 == 0)
			{
				const float s = variation * bevel * (0.9f + 0.12f * cloud) * (1.f - 0.35f * vein);
				setRgb(img, x, y, 232.f * s, 224.f * s, 206.f * s);
			}
			else
			{
				const float s = variation * bevel * (0.8f + 0.35f * cloud) * (1.f + 0.9f * vein);
				setRgb(img, x, y, 64.f * s, 84.f * s, 80.f * s);
			}
		}
	return img;
}

SImage paintWoodPlanks(int size)
{
	SImage img(size, size, false);
	const int planks = 8;
	const float plank = static_cast<float>(size) / planks;
	const float gap = 2.f * static_cast<float>(size) / 512.f;
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
			const int p = static_cast<int>(static_cast<float>(y) / plank);
			const float ly = static_cast<float>(y) - static_cast<float>(p) * plank;
			// Each plank row has one butt joint at its own place.
			const float joint = hash(p, 0, 17) * static_cast<float>(size);
			const float dx = std::fabs(static_cast<float>(x) - joint);
			const bool seam = ly < gap || std::min(dx, static_cast<float>(size) - dx) < gap;
			if (seam)
			{
				setRgb(img, x, y, 48, 30, 18);
				continue;
			}
			const float boardId = hash(p, x > joint ? 1 : 2, 19);
			const float warp = tileFbm(u, v, 4, 4, 41 + static_cast<std::uint32_t>(p));
			const float rings = 0.5f + 0.5f * std::sin((ly / plank * 5.f + warp * 7.f + boardId * 13.f) * 6.2831853f);
			const float fibres = tileFbm(u, v, 64, 2, 43);
			const float s = (0.78f + 0.3f * boardId) * (0.82f + 0.18f * rings) * (0.9f + 0.14f * fibres);
			setRgb(img, x, y, 176.f * s, 116.f * s, 66.f * s);
		}
	return img;
}

SImage paintMetalPanels(int size)
{
	SImage img(size, size, false);
	const float panel = static_cast<float>(size) / 2.f;
	const float pixel = static_cast<float>(size) / 512.f;
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
			const float lx = std::fmod(static_cast<float>(x), panel), ly = std::fmod(static_cast<float>(y), panel);
			const float edge = std::min(std::min(lx, panel - lx), std::min(ly, panel - ly));
			// Brushed along v: long streaks of fine noise.
			const float brush = 0.6f * valueNoise(u * 4.f, v * 256.f, 0, 53) + 0.4f * valueNoise(u * 16.f, v * 512.f, 0, 59);
			const float stain = tileFbm(u, v, 4, 4, 61);
			float s = 0.86f + 0.16f * brush - 0.12f * stain;
			if (edge < 2.f * pixel)
				s *= 0.45f;
			else if (edge < 5.f * pixel)
				s *= (lx < ly ? 1.18f : 0.9f);
			// Rivets near the panel corners.
			for (float cx : {14.f * pixel, panel - 14.f * pixel})
				for (float cy : {14.f * pixel, panel - 14.f * pixel})
				{
					const float ddx = lx - cx, ddy = ly - cy;
					const float r = std::sqrt(ddx * ddx + ddy * ddy);
					if (r < 6.f * pixel)
						s = 0.7f + 0.5f * clamp01(1.f - (ddx + ddy) / (8.f * pixel));
				}
			setRgb(img, x, y, 150.f * s, 156.f * s, 162.f * s);
		}
	return img;
}

SImage paintConcrete(int size)
{
	SImage img(size, size, false);
	const float slab = static_cast<float>(size) / 2.f;
	const float pixel = static_cast<float>(size) / 512.f;
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
			const float lx = std::fmod(static_cast<float>(x), slab), ly = std::fmod(static_cast<float>(y), slab);
			const float edge = std::min(std::min(lx, slab - lx), std::min(ly, slab - ly));
			const float cloud = tileFbm(u, v, 8, 5, 71);
			const float pores = tileFbm(u, v, 128, 1, 73);
			float s = 0.8f + 0.3f * cloud - (pores > 0.86f ? 0.25f : 0.f);
			if (edge < 2.f * pixel)
				s *= 0.6f;
			setRgb(img, x, y, 172.f * s, 168.f * s, 160.f * s);
		}
	return img;
}

SImage paintWindowGlass(int size)
{
	SImage img(size, size, true);
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
			// Soft diagonal reflections, the same upside down (the loader may
			// flip the glass's v).
			const float band = 0.5f + 0.5f * std::cos((u + std::fabs(v - 0.5f)) * 6.2831853f * 1.5f);
			const float haze = tileFbm(u, v, 4, 3, 83);
			const float alpha = 58.f + 50.f * band * band + 20.f * haze;
			img.set(x, y, static_cast<int>(170 + 40 * band), static_cast<int>(212 + 25 * band), 228, static_cast<int>(alpha));
		}
	return img;
}

namespace
{

// The corners of each sky box face as the engine's sky box node places them
// (engine axes), and the texture position they carry: Q2 at (0, 0), Q3 at
// (1, 0) and Q1 at (0, 1).
struct SFaceFrame
{
	float Q1[3], Q2[3], Q3[3];
};

const SFaceFrame SkyFrames[6] = {
	{{1, 1, 1}, {-1, 1, 1}, {-1, 1, -1}},    // top
	{{-1, -1, 1}, {1, -1, 1}, {1, -1, -1}},  // bottom: (0,0) at (1,-1,1)
	{{1, -1, 1}, {1, 1, 1}, {1, 1, -1}},     // left
	{{-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}}, // right
	{{1, -1, -1}, {1, 1, -1}, {-1, 1, -1}},  // front
	{{-1, -1, 1}, {-1, 1, 1}, {1, 1, 1}},    // back
};

} // namespace

SImage paintSkyFace(ESkyFace face, int size, float sunX, float sunY, float sunZ)
{
	SImage img(size, size, false);
	const SFaceFrame& f = SkyFrames[face];
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
		{
			const float u = (static_cast<float>(x) + 0.5f) / size, v = (static_cast<float>(y) + 0.5f) / size;
			float d[3];
			for (int k = 0; k < 3; ++k)
				d[k] = f.Q2[k] + u * (f.Q3[k] - f.Q2[k]) + v * (f.Q1[k] - f.Q2[k]);
			const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
			const float dx = d[0] / length, dy = d[1] / length, dz = d[2] / length;

			float r, g, b;
			if (dy >= 0.f)
			{
				const float t = std::pow(dy, 0.55f);
				r = mix(214.f, 58.f, t);
				g = mix(226.f, 112.f, t);
				b = mix(236.f, 198.f, t);
				// Clouds on a plane above the ground, fading towards the horizon.
				const float scale = 1.f / (dy + 0.12f);
				const float c = freeFbm(dx * scale * 2.2f + 40.f, dz * scale * 2.2f + 40.f, 6, 97);
				const float cover = smoothstep(0.5f, 0.72f, c) * smoothstep(0.02f, 0.25f, dy);
				const float shade = 0.82f + 0.2f * smoothstep(0.5f, 0.85f, c);
				r = mix(r, 246.f * shade, cover);
				g = mix(g, 246.f * shade, cover);
				b = mix(b, 250.f * shade, cover);
			}
			else
			{
				// Distant land in the haze below the horizon.
				const float t = smoothstep(0.f, 0.35f, -dy);
				const float fields = freeFbm(dx / (-dy + 0.05f) * 3.f, dz / (-dy + 0.05f) * 3.f, 4, 89);
				r = mix(196.f, 86.f + 30.f * fields, t);
				g = mix(208.f, 104.f + 30.f * fields, t);
				b = mix(214.f, 78.f + 10.f * fields, t);
			}
			const float towardsSun = std::max(0.f, dx * sunX + dy * sunY + dz * sunZ);
			const float glow = 0.9f * std::pow(towardsSun, 300.f) + 0.35f * std::pow(towardsSun, 12.f);
			r += 255.f * glow;
			g += 236.f * glow;
			b += 200.f * glow;
			if (towardsSun > 0.9996f)
				r = g = b = 255.f;
			setRgb(img, x, y, r, g, b);
		}
	return img;
}

CImageFiles::CImageFiles()
{
	irr::SIrrlichtCreationParameters parameters;
	parameters.DriverType = irr::video::EDT_NULL;
	parameters.LoggingLevel = irr::ELL_NONE;
	Device = irr::createDeviceEx(parameters);
}

CImageFiles::~CImageFiles()
{
	if (Device)
		static_cast<irr::IrrlichtDevice*>(Device)->drop();
}

bool CImageFiles::writeJpeg(const SImage& image, const std::string& path, int quality)
{
	return write(image, path, quality);
}

bool CImageFiles::writePng(const SImage& image, const std::string& path)
{
	return write(image, path, 0);
}

bool CImageFiles::write(const SImage& image, const std::string& path, int parameter)
{
	if (!Device)
		return false;
	irr::video::IVideoDriver* driver = static_cast<irr::IrrlichtDevice*>(Device)->getVideoDriver();
	std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.Width) * image.Height);
	for (std::size_t i = 0; i < pixels.size(); ++i)
	{
		const std::uint8_t* p = &image.Rgba[i * 4];
		pixels[i] = (static_cast<std::uint32_t>(image.HasAlpha ? p[3] : 255) << 24) | (static_cast<std::uint32_t>(p[0]) << 16)
			| (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
	}
	irr::video::IImage* picture = driver->createImageFromData(irr::video::ECF_A8R8G8B8,
		irr::core::dimension2d<irr::u32>(static_cast<irr::u32>(image.Width), static_cast<irr::u32>(image.Height)),
		pixels.data(), false, false);
	if (!picture)
		return false;
	const bool written = driver->writeImageToFile(picture, path.c_str(), static_cast<irr::u32>(parameter));
	picture->drop();
	return written;
}

} // namespace vistel::levelgen

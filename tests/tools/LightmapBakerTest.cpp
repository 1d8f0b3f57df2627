// The level generator: its lightmap baker on a small scene (a lit floor with a
// block hovering between it and a lamp), and the sample level's start.

#include "CLightmapBaker.h"
#include "CPrimitiveBuilder.h"
#include "CSampleLevelBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vistel::levelgen;

namespace
{

enum
{
	FLOOR = 1,
	BLOCK = 2,
	GLASS = 3
};

SGenLayer layer(const char* type, const char* file)
{
	SGenLayer l;
	l.Type = type;
	l.File = file;
	return l;
}

// A 400 x 400 floor at height 0, lightmapped; above its middle a square
// block of the given material, and a lamp above that.
SGenLevel blockedFloor(int blockMaterial)
{
	SGenLevel level;
	SGenMaterial floor{FLOOR, "Floor", "Test", true, {layer("texture", "a.jpg"), layer("lightmap", "lm.png")}};
	SGenMaterial block{BLOCK, "Block", "Test", true, {layer("texture", "b.jpg")}};
	SGenMaterial glass{GLASS, "Glass", "Test", true, {layer("texture", "g.png"), layer("lightmap", "lm.png")},
		EGS_GLASS};
	level.Materials = {floor, block, glass};

	SGenPrimitive primitive;
	CPrimitiveBuilder builder(primitive);
	const SSurfaceMapping mapping;
	builder.addPolygon({{-200.f, 0.f, -200.f}, {200.f, 0.f, -200.f}, {200.f, 0.f, 200.f}, {-200.f, 0.f, 200.f}},
		{0.f, 1.f, 0.f}, FLOOR, mapping);
	// The block's underside faces the floor; its top faces the lamp.
	for (const float y : {50.f, 60.f})
		builder.addPolygon({{-60.f, y, -60.f}, {60.f, y, -60.f}, {60.f, y, 60.f}, {-60.f, y, 60.f}},
			{0.f, y < 55.f ? -1.f : 1.f, 0.f}, blockMaterial, mapping);
	level.Primitives.push_back(primitive);

	SGenLight lamp;
	lamp.Position = {0.f, 300.f, 0.f};
	lamp.Radius = 2000.f;
	lamp.Size = 10.f;
	lamp.Intensity = 1.f;
	level.Lights.push_back(lamp);
	return level;
}

SBakeOptions smallAtlas()
{
	SBakeOptions options;
	options.AtlasWidth = 128;
	options.TexelSize = 8.f;
	return options;
}

// Brightness of the atlas where the floor's point (x, z) is mapped.
int floorBrightness(const SGenLevel& level, const SImage& atlas, float x, float z)
{
	const SGenPolygon& floor = level.Primitives[0].Polygons[0];
	// The patch is the floor's plane frame: interpolate from three corners.
	auto uvOf = [&](float px, float pz) {
		for (const SGenCorner& c : floor.Corners)
		{
			const SVec3& p = level.Primitives[0].Vertices[static_cast<std::size_t>(c.Vid)];
			if (p.X == px && p.Z == pz)
				return c.Local;
		}
		return SUv{};
	};
	const SUv origin = uvOf(-200.f, -200.f), alongX = uvOf(200.f, -200.f), alongZ = uvOf(-200.f, 200.f);
	const float fx = (x + 200.f) / 400.f, fz = (z + 200.f) / 400.f;
	const float u = origin.U + (alongX.U - origin.U) * fx + (alongZ.U - origin.U) * fz;
	const float v = origin.V + (alongX.V - origin.V) * fx + (alongZ.V - origin.V) * fz;
	const int px = static_cast<int>(u * static_cast<float>(atlas.Width));
	const int py = static_cast<int>(v * static_cast<float>(atlas.Height));
	const std::uint8_t* rgba = &atlas.Rgba[(static_cast<std::size_t>(py) * static_cast<std::size_t>(atlas.Width)
		+ static_cast<std::size_t>(px)) * 4];
	return (rgba[0] + rgba[1] + rgba[2]) / 3;
}

} // namespace

TEST(LightmapBakerTest, ShadowsFallBehindOpaqueSurfacesAndThroughGlass)
{
	SGenLevel blocked = blockedFloor(BLOCK);
	SBakeReport report;
	const SImage atlas = bakeLightmaps(blocked, smallAtlas(), report);
	EXPECT_EQ(report.AtlasWidth, 128);
	EXPECT_EQ(atlas.Width, 128);
	// Only the floor has a lightmap layer.
	EXPECT_EQ(report.Patches, 1u);

	const int shadowed = floorBrightness(blocked, atlas, 0.f, 0.f);
	const int lit = floorBrightness(blocked, atlas, 150.f, 0.f);
	EXPECT_GT(lit, shadowed + 60) << "the block casts a shadow";
	// The lamp has a size: the shadow's edge is a gradient, not a step.
	const int penumbra = floorBrightness(blocked, atlas, 75.f, 0.f);
	EXPECT_GT(penumbra, shadowed + 5);
	EXPECT_LT(penumbra, lit - 5);

	// Glass lets the light through, a little tinted.
	SGenLevel glazed = blockedFloor(GLASS);
	const SImage glazedAtlas = bakeLightmaps(glazed, smallAtlas(), report);
	EXPECT_GT(floorBrightness(glazed, glazedAtlas, 0.f, 0.f), shadowed + 40);
}

TEST(LightmapBakerTest, CornersMapIntoTheAtlasAndBakingRepeatsExactly)
{
	SGenLevel first = blockedFloor(GLASS), second = blockedFloor(GLASS);
	SBakeReport report;
	const SImage a = bakeLightmaps(first, smallAtlas(), report);
	const SImage b = bakeLightmaps(second, smallAtlas(), report);
	EXPECT_EQ(a.Rgba, b.Rgba);

	// Polygons of a material with a lightmap layer get their corners inside
	// the atlas; the block's material has none, and its corners stay as the
	// builder left them.
	struct SCase
	{
		int BlockMaterial;
		std::size_t Mapped, Unmapped;
	};
	const SCase cases[] = {{GLASS, 3, 0}, {BLOCK, 1, 2}};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.BlockMaterial == GLASS ? "glass" : "block");
		SGenLevel level = blockedFloor(c.BlockMaterial);
		const SGenLevel built = level;
		bakeLightmaps(level, smallAtlas(), report);
		std::size_t mapped = 0, unmapped = 0;
		for (std::size_t p = 0; p < level.Primitives.size(); ++p)
			for (std::size_t q = 0; q < level.Primitives[p].Polygons.size(); ++q)
			{
				const SGenPolygon& polygon = level.Primitives[p].Polygons[q];
				const bool lightmapped = polygon.MaterialId != BLOCK;
				(lightmapped ? mapped : unmapped) += 1;
				for (std::size_t k = 0; k < polygon.Corners.size(); ++k)
				{
					const SGenCorner& corner = polygon.Corners[k];
					if (lightmapped)
					{
						EXPECT_GT(corner.Local.U, 0.f);
						EXPECT_LT(corner.Local.U, 1.f);
						EXPECT_GT(corner.Local.V, 0.f);
						EXPECT_LT(corner.Local.V, 1.f);
					}
					else
					{
						const SGenCorner& before = built.Primitives[p].Polygons[q].Corners[k];
						EXPECT_EQ(corner.Local.U, before.Local.U);
						EXPECT_EQ(corner.Local.V, before.Local.V);
					}
				}
			}
		EXPECT_EQ(mapped, c.Mapped);
		EXPECT_EQ(unmapped, c.Unmapped);
	}
}

TEST(SampleLevelTest, StartsOnTheBalcony)
{
	// The preview starts the camera at (0, middle of the level's height, 0)
	// inside a collision ellipsoid of half height 50: the sample's balcony
	// floor lies just below the ellipsoid there, so the camera settles on it.
	const SGenLevel level = buildSampleLevel();
	float lo = 1e9f, hi = -1e9f;
	for (const SGenPrimitive& p : level.Primitives)
		for (const SVec3& v : p.Vertices)
		{
			lo = std::min(lo, v.Y);
			hi = std::max(hi, v.Y);
		}
	const float start = (lo + hi) * 0.5f;
	bool onBalcony = false;
	for (const SGenPrimitive& p : level.Primitives)
		for (const SGenPolygon& polygon : p.Polygons)
		{
			if (polygon.Normal.Y < 0.99f)
				continue;
			float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f, y = 0.f;
			for (const SGenCorner& c : polygon.Corners)
			{
				const SVec3& v = p.Vertices[static_cast<std::size_t>(c.Vid)];
				x0 = std::min(x0, v.X);
				x1 = std::max(x1, v.X);
				z0 = std::min(z0, v.Z);
				z1 = std::max(z1, v.Z);
				y = v.Y;
			}
			if (x0 < 0.f && x1 > 0.f && z0 < 0.f && z1 > 0.f && start - y >= 50.f && start - y <= 60.f)
				onBalcony = true;
		}
	EXPECT_TRUE(onBalcony) << "start height " << start;
}

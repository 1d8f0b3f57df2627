#include "CLevelBuilder.h"

#include "CPrimitiveBuilder.h"

#include <algorithm>
#include <cmath>

namespace vistel::levelgen
{

namespace
{

// Editor units: the preview's default collision ellipsoid is 60 x 100 x 60.
constexpr float RoomSize = 800.f;
constexpr float RoomSpacing = 1200.f;
constexpr float DoorWidth = 160.f;
constexpr float DoorHeight = 220.f;
constexpr float NotchSize = 300.f;  // the corner an L-shaped room lacks

enum EMaterialId
{
	EMI_STONE = 1,   // texture + lightmap
	EMI_BRICK = 2,   // texture in a subfolder, written with a backslash
	EMI_PLASTER = 3, // plain colour
	EMI_WOOD = 4,    // texture, BMP
	EMI_GLASS = 5,   // alpha-blended texture
	EMI_UNUSED = 6   // used="false": the loader skips it
};

SGenLayer textureLayer(const char* type, const char* file, const char* blend = "")
{
	SGenLayer layer;
	layer.Type = type;
	layer.File = file;
	layer.Blend = blend;
	return layer;
}

SGenLayer colorLayer(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
{
	SGenLayer layer;
	layer.Type = "color";
	layer.IsColor = true;
	layer.R = r;
	layer.G = g;
	layer.B = b;
	layer.A = a;
	return layer;
}

struct SPoint2
{
	float X, Z;
};

} // namespace

CLevelBuilder::CLevelBuilder(const SBuildOptions& options) :
	Options(options), RandomState(options.Seed ? options.Seed : 1u)
{
	Options.Rooms = std::max(Options.Rooms, 1);
	Options.Detail = std::max(Options.Detail, 1);
}

std::uint32_t CLevelBuilder::nextRandom()
{
	// xorshift32: small, deterministic across platforms.
	RandomState ^= RandomState << 13;
	RandomState ^= RandomState >> 17;
	RandomState ^= RandomState << 5;
	return RandomState;
}

void CLevelBuilder::addMaterials(SGenLevel& level) const
{
	SGenMaterial stone{EMI_STONE, "Stone", "Floors", true,
		{textureLayer("texture", "Floors\\Stone.tga"), textureLayer("lightmap", "Lightmaps\\Floor.tga", "modulate")}};
	SGenMaterial wood{EMI_WOOD, "Wood", "Floors", true, {textureLayer("texture", "Floors\\Wood.bmp", "replace")}};
	SGenMaterial brick{EMI_BRICK, "Brick", "Walls", true, {textureLayer("texture", "Walls\\Brick.tga")}};
	SGenMaterial plaster{EMI_PLASTER, "Plaster", "Walls", true, {colorLayer(214, 204, 186, 255)}};
	SGenMaterial glass{EMI_GLASS, "Glass", "Special", true, {textureLayer("texture", "Glass.tga", "alphablend")}};
	SGenMaterial unused{EMI_UNUSED, "Unused", "Special", false, {textureLayer("texture", "Missing.tga")}};
	level.Materials = {stone, wood, brick, plaster, glass, unused};
}

void CLevelBuilder::addRoom(SGenLevel& level, int index, float cx, float cz, bool lShaped,
	const std::vector<SDoor>& doors)
{
	const int d = Options.Detail;
	const float height = 280.f + static_cast<float>(nextRandom() % 5) * 20.f;
	const float x0 = cx - RoomSize / 2, x1 = cx + RoomSize / 2;
	const float z0 = cz - RoomSize / 2, z1 = cz + RoomSize / 2;

	SGenPrimitive primitive;
	primitive.Name = "Room_" + std::to_string(index);
	primitive.Id = NextPrimitiveId++;
	CPrimitiveBuilder builder(primitive);

	// Outline counter-clockwise in the (x, z) plane: the interior lies left of every edge.
	const std::vector<SPoint2> outline = lShaped
		? std::vector<SPoint2>{{x0, z0}, {x1, z0}, {x1, z1 - NotchSize}, {x1 - NotchSize, z1 - NotchSize},
			  {x1 - NotchSize, z1}, {x0, z1}}
		: std::vector<SPoint2>{{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}};

	SSurfaceMapping floorMap;
	floorMap.LocalUMin = x0;
	floorMap.LocalUMax = x1;
	floorMap.LocalVMin = z0;
	floorMap.LocalVMax = z1;
	SSurfaceMapping ceilingMap = floorMap;

	const SVec3 up{0.f, 1.f, 0.f}, down{0.f, -1.f, 0.f};
	if (lShaped)
	{
		// One non-convex polygon each for floor and ceiling.
		std::vector<SVec3> floor, ceiling;
		for (const SPoint2& p : outline)
		{
			floor.push_back({p.X, 0.f, p.Z});
			ceiling.push_back({p.X, height, p.Z});
		}
		builder.addPolygon(floor, up, EMI_STONE, floorMap);
		builder.addPolygon(ceiling, down, EMI_PLASTER, ceilingMap);
	}
	else
	{
		builder.addGrid({x0, 0.f, z0}, {RoomSize, 0.f, 0.f}, {0.f, 0.f, RoomSize}, d, d, up, EMI_STONE, floorMap);
		builder.addGrid({x0, height, z0}, {RoomSize, 0.f, 0.f}, {0.f, 0.f, RoomSize}, d, d, down, EMI_PLASTER,
			ceilingMap);
	}

	for (std::size_t i = 0; i < outline.size(); ++i)
	{
		const SPoint2 a = outline[i];
		const SPoint2 b = outline[(i + 1) % outline.size()];
		const bool alongX = a.Z == b.Z;
		const float sa = alongX ? a.X : a.Z;
		const float sb = alongX ? b.X : b.Z;
		const float dirSign = sb > sa ? 1.f : -1.f;
		// Interior to the left of a -> b: (-dz, dx).
		const SVec3 front = alongX ? SVec3{0.f, 0.f, dirSign} : SVec3{-dirSign, 0.f, 0.f};

		SSurfaceMapping wallMap;
		wallMap.UAxis = alongX ? 0 : 2;
		wallMap.VAxis = 1;
		wallMap.VDown = true;
		wallMap.VOrigin = height;

		auto segment = [&](float s0, float s1, float y0, float y1, int rows) {
			const float lo = std::min(s0, s1), hi = std::max(s0, s1);
			if (hi - lo <= 0.f || y1 - y0 <= 0.f)
				return;
			const SVec3 origin = alongX ? SVec3{lo, y0, a.Z} : SVec3{a.X, y0, lo};
			const SVec3 edgeA = alongX ? SVec3{hi - lo, 0.f, 0.f} : SVec3{0.f, 0.f, hi - lo};
			const int cols = std::max(1, static_cast<int>(std::lround(d * (hi - lo) / RoomSize)));
			builder.addGrid(origin, edgeA, {0.f, y1 - y0, 0.f}, cols, rows, front, EMI_BRICK, wallMap);
		};

		const float fixed = alongX ? a.Z : a.X;
		const SDoor* door = nullptr;
		for (const SDoor& candidate : doors)
			if (candidate.AlongX == alongX && candidate.Fixed == fixed &&
				candidate.Centre - DoorWidth / 2 > std::min(sa, sb) && candidate.Centre + DoorWidth / 2 < std::max(sa, sb))
				door = &candidate;
		if (!door)
		{
			segment(sa, sb, 0.f, height, d);
			continue;
		}
		const float h0 = door->Centre - DoorWidth / 2, h1 = door->Centre + DoorWidth / 2;
		segment(std::min(sa, sb), h0, 0.f, height, d);
		segment(h1, std::max(sa, sb), 0.f, height, d);
		segment(h0, h1, DoorHeight, height, 1);
	}

	if (!lShaped)
	{
		// A free-standing glass pane, visible from both sides.
		SSurfaceMapping paneMap;
		paneMap.UAxis = 0;
		paneMap.VAxis = 1;
		paneMap.VDown = true;
		paneMap.VOrigin = 200.f;
		paneMap.UScale = paneMap.VScale = 1.f / 300.f;
		paneMap.UOrigin = cx - 150.f; // one tile across the pane
		const float pz = cz + 200.f;
		const std::vector<SVec3> pane{{cx - 150.f, 0.f, pz}, {cx + 150.f, 0.f, pz}, {cx + 150.f, 200.f, pz},
			{cx - 150.f, 200.f, pz}};
		builder.addPolygon(pane, {0.f, 0.f, 1.f}, EMI_GLASS, paneMap);
		builder.addPolygon(pane, {0.f, 0.f, -1.f}, EMI_GLASS, paneMap);
	}

	primitive.Tags.push_back({"roomIndex", std::to_string(index)});
	if (index == 0)
		primitive.Tags.push_back({"spawn", "player start"});
	level.Primitives.push_back(std::move(primitive));

	SGenLight light;
	light.Position = {cx, height - 20.f, cz};
	light.R = static_cast<std::uint8_t>(200 + nextRandom() % 56);
	light.G = static_cast<std::uint8_t>(200 + nextRandom() % 56);
	light.B = static_cast<std::uint8_t>(160 + nextRandom() % 96);
	light.Radius = RoomSize;
	level.Lights.push_back(light);
}

void CLevelBuilder::addCorridor(SGenLevel& level, int index, float x0, float z0, float x1, float z1, bool alongX)
{
	SGenPrimitive primitive;
	primitive.Name = "Corridor_" + std::to_string(index);
	primitive.Id = NextPrimitiveId++;
	CPrimitiveBuilder builder(primitive);
	const int d = Options.Detail;
	const int cellsX = alongX ? d : 1, cellsZ = alongX ? 1 : d;

	SSurfaceMapping floorMap;
	floorMap.UScale = floorMap.VScale = 1.f / 128.f;
	const SVec3 ex{x1 - x0, 0.f, 0.f}, ez{0.f, 0.f, z1 - z0};
	builder.addGrid({x0, 0.f, z0}, ex, ez, cellsX, cellsZ, {0.f, 1.f, 0.f}, EMI_WOOD, floorMap);
	builder.addGrid({x0, DoorHeight, z0}, ex, ez, cellsX, cellsZ, {0.f, -1.f, 0.f}, EMI_PLASTER, floorMap);

	SSurfaceMapping wallMap;
	wallMap.UAxis = alongX ? 0 : 2;
	wallMap.VAxis = 1;
	wallMap.VDown = true;
	wallMap.VOrigin = DoorHeight;
	const SVec3 ey{0.f, DoorHeight, 0.f};
	if (alongX)
	{
		builder.addGrid({x0, 0.f, z0}, ex, ey, d, d, {0.f, 0.f, 1.f}, EMI_BRICK, wallMap);
		builder.addGrid({x0, 0.f, z1}, ex, ey, d, d, {0.f, 0.f, -1.f}, EMI_BRICK, wallMap);
	}
	else
	{
		builder.addGrid({x0, 0.f, z0}, ez, ey, d, d, {1.f, 0.f, 0.f}, EMI_BRICK, wallMap);
		builder.addGrid({x1, 0.f, z0}, ez, ey, d, d, {-1.f, 0.f, 0.f}, EMI_BRICK, wallMap);
	}
	level.Primitives.push_back(std::move(primitive));
}

SGenLevel CLevelBuilder::build()
{
	SGenLevel level;
	addMaterials(level);

	const int rooms = Options.Rooms;
	const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(rooms)))));
	auto centre = [&](int i) {
		return SPoint2{static_cast<float>(i % columns) * RoomSpacing, static_cast<float>(i / columns) * RoomSpacing};
	};

	// Rooms connect to their right neighbour; the first room of each row also
	// connects to the first room of the next row, so every room is reachable.
	std::vector<std::vector<SDoor>> doors(static_cast<std::size_t>(rooms));
	int corridor = 0;
	struct SLink
	{
		int A, B;
		bool AlongX;
	};
	std::vector<SLink> links;
	for (int i = 0; i < rooms; ++i)
	{
		if (i % columns + 1 < columns && i + 1 < rooms)
			links.push_back({i, i + 1, true});
		if (i % columns == 0 && i + columns < rooms)
			links.push_back({i, i + columns, false});
	}
	for (const SLink& link : links)
	{
		const SPoint2 a = centre(link.A), b = centre(link.B);
		if (link.AlongX)
		{
			doors[link.A].push_back({false, a.X + RoomSize / 2, a.Z});
			doors[link.B].push_back({false, b.X - RoomSize / 2, b.Z});
			addCorridor(level, corridor++, a.X + RoomSize / 2, a.Z - DoorWidth / 2, b.X - RoomSize / 2,
				a.Z + DoorWidth / 2, true);
		}
		else
		{
			doors[link.A].push_back({true, a.Z + RoomSize / 2, a.X});
			doors[link.B].push_back({true, b.Z - RoomSize / 2, b.X});
			addCorridor(level, corridor++, a.X - DoorWidth / 2, a.Z + RoomSize / 2, a.X + DoorWidth / 2,
				b.Z - RoomSize / 2, false);
		}
	}
	for (int i = 0; i < rooms; ++i)
	{
		const SPoint2 c = centre(i);
		addRoom(level, i, c.X, c.Z, i % 3 == 1, doors[static_cast<std::size_t>(i)]);
	}
	return level;
}

std::size_t SGenLevel::polygonCount() const
{
	std::size_t n = 0;
	for (const SGenPrimitive& p : Primitives)
		n += p.Polygons.size();
	return n;
}

std::size_t SGenLevel::triangleCount() const
{
	std::size_t n = 0;
	for (const SGenPrimitive& p : Primitives)
		for (const SGenPolygon& poly : p.Polygons)
			n += poly.Corners.size() >= 3 ? poly.Corners.size() - 2 : 0;
	return n;
}

} // namespace vistel::levelgen

#include "CSampleLevelBuilder.h"

#include "CPrimitiveBuilder.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

namespace vistel::levelgen
{

const char* const SSampleTextureFiles::Brick = "Walls\\Brick.jpg";
const char* const SSampleTextureFiles::Tiles = "Floors\\Tiles.jpg";
const char* const SSampleTextureFiles::Wood = "Floors\\Wood.jpg";
const char* const SSampleTextureFiles::Metal = "Metal\\Panels.jpg";
const char* const SSampleTextureFiles::Concrete = "Floors\\Concrete.jpg";
const char* const SSampleTextureFiles::Glass = "Glass.png";
const char* const SSampleTextureFiles::Lightmap = "Lightmaps\\Level.png";
const char* const SSampleTextureFiles::Sky[6] = {"Sky\\Top.jpg", "Sky\\Left.jpg", "Sky\\Centre.jpg",
	"Sky\\Right.jpg", "Sky\\Bottom.jpg", "Sky\\Back.jpg"};

namespace
{

// Heights. The preview starts the camera at the middle of the level's height
// range, above the document's origin, looking towards (0, 0, -100): the
// balcony floor lies just below that middle, so the camera settles there and
// looks a little downwards over the hall.
constexpr float HallFloor = -230.f;
constexpr float Upper = -30.f;       // balcony, corridor
constexpr float HallCeiling = 278.f; // (HallFloor + HallCeiling) / 2 = 24: the start height
constexpr float DoorHeight = 180.f;

// The hall.
constexpr float HallLeft = -650.f, HallRight = 650.f;
constexpr float HallBack = 250.f;   // behind the start
constexpr float BalconyEdge = -45.f;
constexpr float StairsHalfWidth = 150.f;
constexpr float HallFar = -700.f;   // the window wall
constexpr float WallDepth = 40.f;   // the window wall's thickness

// The corridor with its ramp, the workshop and the passage back.
constexpr float CorridorSouth = 60.f, CorridorNorth = 220.f;
constexpr float RampStart = 850.f, RampEnd = 1450.f;
constexpr float CorridorHeight = DoorHeight;
constexpr float WorkshopEast = 2050.f, WorkshopSouth = -760.f, WorkshopNorth = 300.f;
constexpr float WorkshopHeight = 320.f;
constexpr float PassageSouth = -680.f, PassageNorth = -520.f;

enum EMaterialId
{
	EMI_BRICK = 1,
	EMI_TILES = 2,
	EMI_WOOD = 3,
	EMI_METAL = 4,
	EMI_CONCRETE = 5,
	EMI_PLASTER = 6, // colour layers
	EMI_OCHRE = 7,
	EMI_TEAL = 8,
	EMI_GLASS = 9,
	EMI_LAMP = 10,
	EMI_UNUSED = 11, // used="false": the loader skips it
	EMI_PALE = 12
};

SGenLayer textureLayer(const char* type, const char* file, const char* blend = "")
{
	SGenLayer layer;
	layer.Type = type;
	layer.File = file;
	layer.Blend = blend;
	return layer;
}

SGenLayer colorLayer(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
	SGenLayer layer;
	layer.Type = "color";
	layer.IsColor = true;
	layer.R = r;
	layer.G = g;
	layer.B = b;
	layer.A = 255;
	return layer;
}

SGenMaterial material(int id, const char* name, const char* category, SGenLayer first,
	EGenSurface surface = EGS_OPAQUE)
{
	SGenMaterial m;
	m.Id = id;
	m.Name = name;
	m.Category = category;
	m.Layers = {first, textureLayer("lightmap", SSampleTextureFiles::Lightmap, "modulate")};
	m.Surface = surface;
	return m;
}

// World units per texture repeat, per material.
float repeatOf(int materialId)
{
	switch (materialId)
	{
	case EMI_TILES: return 400.f;
	case EMI_WOOD: return 160.f;
	case EMI_CONCRETE: return 300.f;
	case EMI_GLASS: return 300.f;
	case EMI_METAL: return 200.f;
	default: return 256.f;
	}
}

struct SOpening
{
	float A0, A1, Y0, Y1; // along the wall, and heights
};

class CSampleBuilder
{
public:
	SGenLevel build();

private:
	void begin(const char* name);
	void end();

	void quad(const SVec3& a, const SVec3& b, const SVec3& c, const SVec3& d, const SVec3& front, int materialId);
	// A horizontal rectangle seen from above (up) or below.
	void flat(float x0, float x1, float z0, float z1, float y, bool up, int materialId);
	// A vertical wall in the plane x = fixed (alongZ) or z = fixed, seen from
	// the side facing points to (+1 or -1), with rectangular openings.
	void wall(bool alongZ, float fixed, float a0, float a1, float y0, float y1, float facing, int materialId,
		std::vector<SOpening> openings = {});
	// An axis-aligned box seen from outside; bottom and top faces optional.
	void box(const SVec3& lo, const SVec3& hi, int materialId, bool bottom = false, bool top = true);
	// A window opening's reveal (thickness towards -facing) with glass and
	// a frame of mullions.
	void window(bool alongZ, float fixed, float facing, float a0, float a1, float y0, float y1, int columns, int rows);
	void light(float x, float y, float z, std::uint8_t r, std::uint8_t g, std::uint8_t b, float intensity, float reach,
		float size = 14.f);
	void lamp(float x, float y, float z, float w, float h, float d);

	void addMaterials();
	void addHall();
	void addCorridor();
	void addWorkshop();
	void addPassage();

	SGenLevel Level;
	std::unique_ptr<SGenPrimitive> Primitive;
	std::unique_ptr<CPrimitiveBuilder> Builder;
	int NextId = 1;
};

void CSampleBuilder::begin(const char* name)
{
	Primitive = std::make_unique<SGenPrimitive>();
	Primitive->Name = name;
	Primitive->Id = NextId++;
	Builder = std::make_unique<CPrimitiveBuilder>(*Primitive);
}

void CSampleBuilder::end()
{
	Builder.reset();
	Level.Primitives.push_back(std::move(*Primitive));
	Primitive.reset();
}

void CSampleBuilder::quad(const SVec3& a, const SVec3& b, const SVec3& c, const SVec3& d, const SVec3& front,
	int materialId)
{
	SSurfaceMapping mapping;
	const float scale = 1.f / repeatOf(materialId);
	mapping.UScale = mapping.VScale = scale;
	if (std::fabs(front.Y) > 0.5f)
	{
		mapping.UAxis = 0;
		mapping.VAxis = 2;
	}
	else
	{
		mapping.UAxis = std::fabs(front.Z) >= std::fabs(front.X) ? 0 : 2;
		mapping.VAxis = 1;
		mapping.VDown = true;
	}
	Builder->addPolygon({a, b, c, d}, front, materialId, mapping);
}

void CSampleBuilder::flat(float x0, float x1, float z0, float z1, float y, bool up, int materialId)
{
	quad({x0, y, z0}, {x1, y, z0}, {x1, y, z1}, {x0, y, z1}, {0.f, up ? 1.f : -1.f, 0.f}, materialId);
}

void CSampleBuilder::wall(bool alongZ, float fixed, float a0, float a1, float y0, float y1, float facing,
	int materialId, std::vector<SOpening> openings)
{
	const SVec3 front = alongZ ? SVec3{facing, 0.f, 0.f} : SVec3{0.f, 0.f, facing};
	auto rect = [&](float s0, float s1, float h0, float h1) {
		if (s1 - s0 <= 0.f || h1 - h0 <= 0.f)
			return;
		auto at = [&](float s, float h) { return alongZ ? SVec3{fixed, h, s} : SVec3{s, h, fixed}; };
		quad(at(s0, h0), at(s1, h0), at(s1, h1), at(s0, h1), front, materialId);
	};
	std::sort(openings.begin(), openings.end(), [](const SOpening& a, const SOpening& b) { return a.A0 < b.A0; });
	float cursor = a0;
	for (const SOpening& o : openings)
	{
		if (o.Y1 <= y0 || o.Y0 >= y1)
			continue; // the opening lies above or below this wall
		rect(cursor, o.A0, y0, y1);
		rect(o.A0, o.A1, y0, std::min(o.Y0, y1));
		rect(o.A0, o.A1, std::max(o.Y1, y0), y1);
		cursor = o.A1;
	}
	rect(cursor, a1, y0, y1);
}

void CSampleBuilder::box(const SVec3& lo, const SVec3& hi, int materialId, bool bottom, bool top)
{
	wall(false, lo.Z, lo.X, hi.X, lo.Y, hi.Y, -1.f, materialId);
	wall(false, hi.Z, lo.X, hi.X, lo.Y, hi.Y, 1.f, materialId);
	wall(true, lo.X, lo.Z, hi.Z, lo.Y, hi.Y, -1.f, materialId);
	wall(true, hi.X, lo.Z, hi.Z, lo.Y, hi.Y, 1.f, materialId);
	if (top)
		flat(lo.X, hi.X, lo.Z, hi.Z, hi.Y, true, materialId);
	if (bottom)
		flat(lo.X, hi.X, lo.Z, hi.Z, lo.Y, false, materialId);
}

void CSampleBuilder::window(bool alongZ, float fixed, float facing, float a0, float a1, float y0, float y1,
	int columns, int rows)
{
	const float back = fixed - facing * WallDepth;
	const float lo = std::min(fixed, back), hi = std::max(fixed, back);
	// The reveal: two sides, the sill and the head.
	if (alongZ)
	{
		wall(false, a0, lo, hi, y0, y1, 1.f, EMI_CONCRETE);
		wall(false, a1, lo, hi, y0, y1, -1.f, EMI_CONCRETE);
		flat(lo, hi, a0, a1, y0, true, EMI_CONCRETE);
		flat(lo, hi, a0, a1, y1, false, EMI_CONCRETE);
	}
	else
	{
		wall(true, a0, lo, hi, y0, y1, 1.f, EMI_CONCRETE);
		wall(true, a1, lo, hi, y0, y1, -1.f, EMI_CONCRETE);
		flat(a0, a1, lo, hi, y0, true, EMI_CONCRETE);
		flat(a0, a1, lo, hi, y1, false, EMI_CONCRETE);
	}
	// The glass near the outer face, seen from inside.
	const float glass = fixed - facing * (WallDepth - 8.f);
	wall(alongZ, glass, a0, a1, y0, y1, facing, EMI_GLASS);
	// Mullions and transoms in front of the glass.
	const float f0 = glass + facing * 1.f, f1 = glass + facing * 9.f;
	const float flo = std::min(f0, f1), fhi = std::max(f0, f1);
	auto bar = [&](float s0, float s1, float h0, float h1) {
		if (alongZ)
			box({flo, h0, s0}, {fhi, h1, s1}, EMI_METAL);
		else
			box({s0, h0, flo}, {s1, h1, fhi}, EMI_METAL);
	};
	const float half = 5.f;
	for (int c = 1; c < columns; ++c)
	{
		const float s = a0 + (a1 - a0) * static_cast<float>(c) / static_cast<float>(columns);
		bar(s - half, s + half, y0, y1);
	}
	for (int r = 1; r < rows; ++r)
	{
		const float h = y0 + (y1 - y0) * static_cast<float>(r) / static_cast<float>(rows);
		bar(a0, a1, h - half, h + half);
	}
}

void CSampleBuilder::light(float x, float y, float z, std::uint8_t r, std::uint8_t g, std::uint8_t b,
	float intensity, float reach, float size)
{
	SGenLight l;
	l.Position = {x, y, z};
	l.R = r;
	l.G = g;
	l.B = b;
	l.Intensity = intensity;
	l.Radius = reach;
	l.Size = size;
	Level.Lights.push_back(l);
}

void CSampleBuilder::lamp(float x, float y, float z, float w, float h, float d)
{
	box({x - w / 2, y - h / 2, z - d / 2}, {x + w / 2, y + h / 2, z + d / 2}, EMI_LAMP, true, true);
}

void CSampleBuilder::addMaterials()
{
	Level.Materials = {
		material(EMI_BRICK, "Brick", "Walls", textureLayer("texture", SSampleTextureFiles::Brick)),
		material(EMI_OCHRE, "Ochre paint", "Walls", colorLayer(214, 168, 104)),
		material(EMI_TEAL, "Teal paint", "Walls", colorLayer(86, 146, 150)),
		material(EMI_PALE, "Pale blue paint", "Walls", colorLayer(184, 200, 208)),
		material(EMI_TILES, "Marble tiles", "Floors", textureLayer("texture", SSampleTextureFiles::Tiles)),
		material(EMI_WOOD, "Oak planks", "Floors", textureLayer("texture", SSampleTextureFiles::Wood)),
		material(EMI_CONCRETE, "Concrete", "Floors", textureLayer("texture", SSampleTextureFiles::Concrete)),
		material(EMI_PLASTER, "Plaster", "Ceilings", colorLayer(236, 230, 218)),
		material(EMI_METAL, "Steel panels", "Metal", textureLayer("texture", SSampleTextureFiles::Metal)),
		material(EMI_GLASS, "Window glass", "Special",
			textureLayer("texture", SSampleTextureFiles::Glass, "alphablend"), EGS_GLASS),
		material(EMI_LAMP, "Lamp", "Special", colorLayer(255, 246, 222), EGS_EMISSIVE),
	};
	SGenMaterial unused;
	unused.Id = EMI_UNUSED;
	unused.Name = "Unused";
	unused.Category = "Special";
	unused.Used = false;
	unused.Layers = {textureLayer("texture", "Missing.tga")};
	Level.Materials.push_back(unused);
}

void CSampleBuilder::addHall()
{
	begin("Hall");
	flat(HallLeft, HallRight, HallFar, BalconyEdge, HallFloor, true, EMI_TILES);
	flat(HallLeft, HallRight, HallFar, HallBack, HallCeiling, false, EMI_PLASTER);
	// Brick walls on a concrete base band.
	const std::vector<SOpening> rightOpenings{{CorridorSouth, CorridorNorth, Upper, Upper + DoorHeight},
		{PassageSouth, PassageNorth, HallFloor, HallFloor + DoorHeight}};
	const SOpening hallWindow{-300.f, 300.f, -50.f, 230.f};
	const float band = HallFloor + 110.f;
	for (const auto& [y0, y1, materialId] : {std::make_tuple(HallFloor, band, int{EMI_CONCRETE}),
			 std::make_tuple(band, HallCeiling, int{EMI_BRICK})})
	{
		wall(true, HallLeft, HallFar, HallBack, y0, y1, 1.f, materialId);
		wall(true, HallRight, HallFar, HallBack, y0, y1, -1.f, materialId, rightOpenings);
		wall(false, HallFar, HallLeft, HallRight, y0, y1, 1.f, materialId, {hallWindow});
	}
	wall(false, HallBack, HallLeft, HallRight, Upper, HallCeiling, -1.f, EMI_BRICK);
	window(false, HallFar, 1.f, -300.f, 300.f, -50.f, 230.f, 4, 2);
	// Lamps on the side walls and one over the balcony.
	for (float z : {-300.f, -560.f})
	{
		lamp(HallLeft + 8.f, -20.f, z, 16.f, 36.f, 28.f);
		lamp(HallRight - 8.f, -20.f, z, 16.f, 36.f, 28.f);
		light(HallLeft + 40.f, -20.f, z, 255, 196, 130, 1.5f, 760.f);
		light(HallRight - 40.f, -20.f, z, 255, 196, 130, 1.5f, 760.f);
	}
	for (float x : {-470.f, 470.f})
	{
		lamp(x, -20.f, HallFar + 8.f, 28.f, 36.f, 16.f);
		light(x, -20.f, HallFar + 40.f, 255, 196, 130, 1.3f, 700.f);
	}
	lamp(0.f, 150.f, HallBack - 8.f, 60.f, 24.f, 16.f);
	light(0.f, 140.f, HallBack - 50.f, 255, 222, 176, 1.2f, 700.f, 20.f);
	end();

	begin("Balcony");
	flat(HallLeft, HallRight, BalconyEdge, HallBack, Upper, true, EMI_WOOD);
	wall(false, BalconyEdge, HallLeft, -StairsHalfWidth, HallFloor, Upper, -1.f, EMI_CONCRETE);
	wall(false, BalconyEdge, StairsHalfWidth, HallRight, HallFloor, Upper, -1.f, EMI_CONCRETE);
	// Railings along the edge on both sides of the stairs.
	const float railTop = Upper + 60.f;
	for (const float side : {-1.f, 1.f})
	{
		const float inner = side * StairsHalfWidth, outer = side * HallRight;
		for (int k = 0; k < 5; ++k)
		{
			const float x = inner + (outer - inner) * static_cast<float>(k) / 5.f + side * 4.f;
			box({x - 4.f, Upper, BalconyEdge - 4.f}, {x + 4.f, railTop - 6.f, BalconyEdge + 4.f}, EMI_METAL, false, false);
		}
		box({std::min(inner, outer), railTop - 6.f, BalconyEdge - 5.f}, {std::max(inner, outer), railTop, BalconyEdge + 5.f},
			EMI_METAL, true, true);
	}
	Primitive->Tags.push_back({"spawn", "player start"});
	end();

	begin("Stairs");
	// Ten steps straight down from the balcony edge towards the window.
	const int steps = 10;
	const float rise = (Upper - HallFloor) / steps, tread = 32.f;
	for (int k = 1; k < steps; ++k)
	{
		const float top = HallFloor + rise * static_cast<float>(k);
		const float front = BalconyEdge - tread * static_cast<float>(steps - k);
		flat(-StairsHalfWidth, StairsHalfWidth, front, front + tread, top, true, EMI_CONCRETE);
		wall(false, front, -StairsHalfWidth, StairsHalfWidth, top - rise, top, -1.f, EMI_CONCRETE);
		wall(true, -StairsHalfWidth, front, front + tread, HallFloor, top, -1.f, EMI_CONCRETE);
		wall(true, StairsHalfWidth, front, front + tread, HallFloor, top, 1.f, EMI_CONCRETE);
	}
	wall(false, BalconyEdge, -StairsHalfWidth, StairsHalfWidth, Upper - rise, Upper, -1.f, EMI_CONCRETE);
	end();

	begin("Pillars");
	for (float z : {-180.f, -420.f})
		for (float x : {-360.f, 360.f})
		{
			box({x - 45.f, HallFloor, z - 45.f}, {x + 45.f, HallFloor + 24.f, z + 45.f}, EMI_CONCRETE);
			box({x - 32.f, HallFloor + 24.f, z - 32.f}, {x + 32.f, HallCeiling, z + 32.f}, EMI_METAL, false, false);
		}
	end();
}

void CSampleBuilder::addCorridor()
{
	begin("Corridor");
	const float top = Upper + CorridorHeight;
	flat(HallRight, RampStart, CorridorSouth, CorridorNorth, Upper, true, EMI_WOOD);
	flat(HallRight, RampStart, CorridorSouth, CorridorNorth, top, false, EMI_PLASTER);
	wall(false, CorridorSouth, HallRight, RampStart, Upper, top, 1.f, EMI_OCHRE);
	wall(false, CorridorNorth, HallRight, RampStart, Upper, top, -1.f, EMI_OCHRE);
	lamp(750.f, top - 4.f, 140.f, 40.f, 8.f, 40.f);
	light(750.f, top - 30.f, 140.f, 255, 214, 160, 1.1f, 520.f);
	end();

	begin("Ramp");
	const float drop = Upper - HallFloor;
	auto at = [&](float x, float z, float above) {
		const float f = (x - RampStart) / (RampEnd - RampStart);
		return SVec3{x, Upper - drop * f + above, z};
	};
	const SVec3 rampUp = SVec3{drop, RampEnd - RampStart, 0.f};
	quad(at(RampStart, CorridorSouth, 0.f), at(RampEnd, CorridorSouth, 0.f), at(RampEnd, CorridorNorth, 0.f),
		at(RampStart, CorridorNorth, 0.f), rampUp, EMI_CONCRETE);
	quad(at(RampStart, CorridorSouth, CorridorHeight), at(RampEnd, CorridorSouth, CorridorHeight),
		at(RampEnd, CorridorNorth, CorridorHeight), at(RampStart, CorridorNorth, CorridorHeight),
		{-rampUp.X, -rampUp.Y, 0.f}, EMI_PLASTER);
	quad(at(RampStart, CorridorSouth, 0.f), at(RampEnd, CorridorSouth, 0.f), at(RampEnd, CorridorSouth, CorridorHeight),
		at(RampStart, CorridorSouth, CorridorHeight), {0.f, 0.f, 1.f}, EMI_BRICK);
	quad(at(RampStart, CorridorNorth, 0.f), at(RampEnd, CorridorNorth, 0.f), at(RampEnd, CorridorNorth, CorridorHeight),
		at(RampStart, CorridorNorth, CorridorHeight), {0.f, 0.f, -1.f}, EMI_BRICK);
	const SVec3 middle = at(1150.f, 140.f, CorridorHeight);
	lamp(middle.X, middle.Y - 6.f, middle.Z, 40.f, 8.f, 40.f);
	light(middle.X, middle.Y - 34.f, middle.Z, 255, 214, 160, 1.1f, 560.f);
	end();
}

void CSampleBuilder::addWorkshop()
{
	begin("Workshop");
	const float top = HallFloor + WorkshopHeight;
	flat(RampEnd, WorkshopEast, WorkshopSouth, WorkshopNorth, HallFloor, true, EMI_CONCRETE);
	flat(RampEnd, WorkshopEast, WorkshopSouth, WorkshopNorth, top, false, EMI_PLASTER);
	// Painted walls on a concrete base band.
	const std::vector<SOpening> westOpenings{{CorridorSouth, CorridorNorth, HallFloor, HallFloor + CorridorHeight},
		{PassageSouth, PassageNorth, HallFloor, HallFloor + DoorHeight}};
	const SOpening southWindow{1600.f, 1900.f, -120.f, 40.f};
	const float band = HallFloor + 110.f;
	for (const auto& [y0, y1, materialId] : {std::make_tuple(HallFloor, band, int{EMI_CONCRETE}),
			 std::make_tuple(band, top, int{EMI_PALE})})
	{
		wall(true, RampEnd, WorkshopSouth, WorkshopNorth, y0, y1, 1.f, materialId, westOpenings);
		wall(true, WorkshopEast, WorkshopSouth, WorkshopNorth, y0, y1, -1.f, materialId);
		wall(false, WorkshopNorth, RampEnd, WorkshopEast, y0, y1, -1.f, materialId);
		wall(false, WorkshopSouth, RampEnd, WorkshopEast, y0, y1, 1.f, materialId, {southWindow});
	}
	window(false, WorkshopSouth, 1.f, 1600.f, 1900.f, -120.f, 40.f, 3, 1);
	for (float z : {-330.f, 0.f})
	{
		box({1720.f, HallFloor, z - 30.f}, {1780.f, top, z + 30.f}, EMI_METAL, false, false);
		// A workbench beside each pillar.
		box({1820.f, HallFloor, z - 90.f}, {1940.f, HallFloor + 70.f, z + 90.f}, EMI_WOOD);
	}
	lamp(1750.f, top - 40.f, -165.f, 50.f, 12.f, 50.f);
	light(1750.f, top - 70.f, -165.f, 255, 230, 190, 1.4f, 900.f, 18.f);
	lamp(1600.f, top - 40.f, 180.f, 50.f, 12.f, 50.f);
	light(1600.f, top - 70.f, 180.f, 255, 230, 190, 1.1f, 700.f, 18.f);
	end();
}

void CSampleBuilder::addPassage()
{
	begin("Passage");
	const float top = HallFloor + DoorHeight;
	flat(HallRight, RampEnd, PassageSouth, PassageNorth, HallFloor, true, EMI_CONCRETE);
	flat(HallRight, RampEnd, PassageSouth, PassageNorth, top, false, EMI_PLASTER);
	wall(false, PassageSouth, HallRight, RampEnd, HallFloor, top, 1.f, EMI_TEAL);
	wall(false, PassageNorth, HallRight, RampEnd, HallFloor, top, -1.f, EMI_TEAL);
	for (float x : {850.f, 1250.f})
	{
		lamp(x, top - 4.f, -600.f, 36.f, 8.f, 36.f);
		light(x, top - 30.f, -600.f, 200, 236, 255, 1.0f, 480.f);
	}
	end();
}

SGenLevel CSampleBuilder::build()
{
	addMaterials();
	addHall();
	addCorridor();
	addWorkshop();
	addPassage();
	SGenLight sun;
	sun.Sun = true;
	sun.Position = getSampleSunDirection();
	sun.R = 255;
	sun.G = 240;
	sun.B = 214;
	sun.Intensity = 1.6f;
	sun.Size = 0.02f;
	Level.Lights.push_back(sun);
	return std::move(Level);
}

} // namespace

SVec3 getSampleSunDirection()
{
	const float x = -0.3f, y = 0.6f, z = -0.75f;
	const float l = std::sqrt(x * x + y * y + z * z);
	return {x / l, y / l, z / l};
}

SGenLevel buildSampleLevel()
{
	return CSampleBuilder().build();
}

} // namespace vistel::levelgen

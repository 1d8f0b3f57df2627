// In-memory picture of a generated level, shared by the builder and the writers.
#ifndef VISTEL_LEVELGEN_SGEN_LEVEL_H_INCLUDED
#define VISTEL_LEVELGEN_SGEN_LEVEL_H_INCLUDED

#include <cstdint>
#include <string>
#include <vector>

namespace vistel::levelgen
{

struct SVec3
{
	float X = 0.f, Y = 0.f, Z = 0.f;
};

struct SUv
{
	float U = 0.f, V = 0.f;
};

// One layer of a material as the editor writes it: either a texture file
// (relative to the texture folder) or a plain colour.
struct SGenLayer
{
	std::string Type;   // "texture", "lightmap" or "color"
	std::string Blend;  // empty, "alphablend", "modulate", ...
	bool IsColor = false;
	std::string File;   // as written into the document (may use '\')
	std::uint8_t R = 0, G = 0, B = 0, A = 255;
};

// How the lightmap baker treats a material's polygons.
enum EGenSurface
{
	EGS_OPAQUE,   // lit by the lights, casts shadows
	EGS_GLASS,    // lit, lets light through with a tint
	EGS_EMISSIVE  // a lamp: full brightness, casts no shadow
};

struct SGenMaterial
{
	int Id = 0;
	std::string Name;
	std::string Category;
	bool Used = true;
	std::vector<SGenLayer> Layers;
	EGenSurface Surface = EGS_OPAQUE;

	bool hasLightmap() const
	{
		for (const SGenLayer& layer : Layers)
			if (layer.Type == "lightmap")
				return true;
		return false;
	}
};

// A polygon corner carries two mappings; the document writer picks one per
// texture layer: lightmap layers get the surface-local one, others the world one.
struct SGenCorner
{
	int Vid = 0;
	SUv World;
	SUv Local;
};

struct SGenPolygon
{
	int MaterialId = 0;
	std::vector<SGenCorner> Corners;
	SVec3 Normal; // unit normal of the side the polygon is seen from
};

struct SGenTag
{
	std::string Name;
	std::string Value;
};

struct SGenPrimitive
{
	std::string Name;
	int Id = 0;
	std::vector<SVec3> Vertices;
	std::vector<SGenPolygon> Polygons;
	std::vector<SGenTag> Tags;
};

struct SGenLight
{
	SVec3 Position;     // a point light's position; a sun's direction towards the sun
	std::uint8_t R = 255, G = 255, B = 255;
	float Radius = 0.f; // reach of a point light
	bool Sun = false;   // a light infinitely far away, shining along -Position
	float Intensity = 1.f;
	float Size = 0.f;   // radius of a point light's bulb, or a sun's angular radius (radians)
};

struct SGenLevel
{
	std::vector<SGenMaterial> Materials;
	std::vector<SGenPrimitive> Primitives;
	std::vector<SGenLight> Lights;

	const SGenMaterial* findMaterial(int id) const
	{
		for (const SGenMaterial& m : Materials)
			if (m.Id == id)
				return &m;
		return nullptr;
	}

	std::size_t polygonCount() const;
	std::size_t triangleCount() const;
};

} // namespace vistel::levelgen

#endif

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

struct SGenMaterial
{
	int Id = 0;
	std::string Name;
	std::string Category;
	bool Used = true;
	std::vector<SGenLayer> Layers;
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
	SVec3 Position;
	std::uint8_t R = 255, G = 255, B = 255;
	float Radius = 0.f;
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

// Appends surfaces to one primitive: shares equal vertex positions and orients
// every polygon so that it faces the side the caller names.
#ifndef VISTEL_LEVELGEN_CPRIMITIVE_BUILDER_H_INCLUDED
#define VISTEL_LEVELGEN_CPRIMITIVE_BUILDER_H_INCLUDED

#include "SGenLevel.h"

#include <map>
#include <tuple>

namespace vistel::levelgen
{

// Maps a position to texture coordinates; the builder evaluates it per corner.
struct SSurfaceMapping
{
	// World mapping: u from one axis, v from another, in texture units.
	int UAxis = 0, VAxis = 2;       // 0 = x, 1 = y, 2 = z
	float UScale = 1.f / 256.f, VScale = 1.f / 256.f;
	float UOrigin = 0.f;            // u = (coordinate - UOrigin) * UScale
	float VOrigin = 0.f;            // v = (VOrigin - coordinate) * VScale when VDown
	bool VDown = false;
	// Local mapping (lightmaps): [LocalMin, LocalMax] of the two local axes maps to 0..1.
	int LocalUAxis = 0, LocalVAxis = 2;
	float LocalUMin = 0.f, LocalUMax = 1.f, LocalVMin = 0.f, LocalVMax = 1.f;
};

class CPrimitiveBuilder
{
public:
	explicit CPrimitiveBuilder(SGenPrimitive& primitive) : Primitive(primitive) {}

	// Adds a polygon whose corners lie in one plane. The corner order is
	// reversed when needed so that, seen from the side "front" points to, the
	// corners run clockwise: the winding the engine draws as front face.
	void addPolygon(std::vector<SVec3> corners, const SVec3& front, int materialId,
		const SSurfaceMapping& mapping);

	// Adds a rectangle from origin spanning edgeA and edgeB, cut into
	// cellsA x cellsB quads.
	void addGrid(const SVec3& origin, const SVec3& edgeA, const SVec3& edgeB, int cellsA, int cellsB,
		const SVec3& front, int materialId, const SSurfaceMapping& mapping);

private:
	int vertexIndex(const SVec3& p);

	SGenPrimitive& Primitive;
	std::map<std::tuple<float, float, float>, int> Known;
};

} // namespace vistel::levelgen

#endif

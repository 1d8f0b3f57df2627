#include "CPrimitiveBuilder.h"

#include <algorithm>
#include <cmath>

namespace vistel::levelgen
{

namespace
{

float component(const SVec3& v, int axis)
{
	return axis == 0 ? v.X : (axis == 1 ? v.Y : v.Z);
}

float unitCoordinate(float value, float lo, float hi)
{
	return hi > lo ? (value - lo) / (hi - lo) : 0.f;
}

SUv localUv(const SVec3& p, const SSurfaceMapping& m)
{
	return {unitCoordinate(component(p, m.LocalUAxis), m.LocalUMin, m.LocalUMax),
		unitCoordinate(component(p, m.LocalVAxis), m.LocalVMin, m.LocalVMax)};
}

} // namespace

int CPrimitiveBuilder::vertexIndex(const SVec3& p)
{
	const auto key = std::make_tuple(p.X, p.Y, p.Z);
	const auto found = Known.find(key);
	if (found != Known.end())
		return found->second;
	const int index = static_cast<int>(Primitive.Vertices.size());
	Primitive.Vertices.push_back(p);
	Known.emplace(key, index);
	return index;
}

void CPrimitiveBuilder::addPolygon(std::vector<SVec3> corners, const SVec3& front, int materialId,
	const SSurfaceMapping& mapping)
{
	// Newell's normal works for non-convex outlines too.
	SVec3 n;
	for (std::size_t i = 0; i < corners.size(); ++i)
	{
		const SVec3& a = corners[i];
		const SVec3& b = corners[(i + 1) % corners.size()];
		n.X += (a.Y - b.Y) * (a.Z + b.Z);
		n.Y += (a.Z - b.Z) * (a.X + b.X);
		n.Z += (a.X - b.X) * (a.Y + b.Y);
	}
	// A right-handed normal pointing to the front means the corners run
	// counter-clockwise seen from the front: reverse them.
	const bool reversed = n.X * front.X + n.Y * front.Y + n.Z * front.Z > 0.f;
	if (reversed)
		std::reverse(corners.begin(), corners.end());

	SGenPolygon polygon;
	polygon.MaterialId = materialId;
	// The plane's normal, turned to the front side.
	const float length = std::sqrt(n.X * n.X + n.Y * n.Y + n.Z * n.Z);
	if (length > 0.f)
	{
		const float sign = (n.X * front.X + n.Y * front.Y + n.Z * front.Z) >= 0.f ? 1.f : -1.f;
		polygon.Normal = {sign * n.X / length, sign * n.Y / length, sign * n.Z / length};
	}
	for (const SVec3& p : corners)
	{
		SGenCorner c;
		c.Vid = vertexIndex(p);
		c.World.U = (component(p, mapping.UAxis) - mapping.UOrigin) * mapping.UScale;
		const float vv = component(p, mapping.VAxis);
		c.World.V = (mapping.VDown ? mapping.VOrigin - vv : vv) * mapping.VScale;
		c.Local = localUv(p, mapping);
		polygon.Corners.push_back(c);
	}
	Primitive.Polygons.push_back(std::move(polygon));
}

void CPrimitiveBuilder::addGrid(const SVec3& origin, const SVec3& edgeA, const SVec3& edgeB, int cellsA,
	int cellsB, const SVec3& front, int materialId, const SSurfaceMapping& mapping)
{
	cellsA = std::max(cellsA, 1);
	cellsB = std::max(cellsB, 1);
	auto at = [&](int i, int j) {
		const float fa = static_cast<float>(i) / static_cast<float>(cellsA);
		const float fb = static_cast<float>(j) / static_cast<float>(cellsB);
		return SVec3{origin.X + edgeA.X * fa + edgeB.X * fb, origin.Y + edgeA.Y * fa + edgeB.Y * fb,
			origin.Z + edgeA.Z * fa + edgeB.Z * fb};
	};
	for (int j = 0; j < cellsB; ++j)
		for (int i = 0; i < cellsA; ++i)
			addPolygon({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)}, front, materialId, mapping);
}

} // namespace vistel::levelgen

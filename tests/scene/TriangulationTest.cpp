// Convexity detection and ear clipping on their own.
#include "TXSTriangulation.h"

#include <gtest/gtest.h>

namespace vistel
{
namespace
{

using Outline = std::vector<irr::core::vector3df>;

TEST(TriangulationTest, ConvexityTakesCollinearAndRepeatedCornersAsConvex)
{
	struct SCase
	{
		const char* Name;
		Outline Corners;
		bool Convex;
	};
	const SCase cases[] = {
		{"square", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true},
		{"square, clockwise", {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, true},
		{"collinear corner", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}}, true},
		{"repeated corner", {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true},
		{"tilted plane", {{0, 0, 0}, {1, 0, 1}, {1, 1, 1}, {0, 1, 0}}, true},
		{"flat (no area)", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}, true},
		{"L", {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}}, false},
		{"spike back along an edge", {{0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {1, 1, 0}}, false},
		{"pentagram",
			{{0, 1, 0}, {0.588f, -0.809f, 0}, {-0.951f, 0.309f, 0}, {0.951f, 0.309f, 0}, {-0.588f, -0.809f, 0}}, false},
	};
	for (const SCase& c : cases)
		EXPECT_EQ(isConvexPolygon(c.Corners), c.Convex) << c.Name;
}

TEST(TriangulationTest, EarClippingKeepsWindingInAnyPlane)
{
	// An L standing in the y-z plane, clockwise seen from +x.
	const Outline l = {{0, 0, 0}, {0, 2, 0}, {0, 2, 1}, {0, 1, 1}, {0, 1, 2}, {0, 0, 2}};
	std::vector<irr::u32> indices;
	triangulatePolygon(l, indices);
	ASSERT_EQ(indices.size(), 12u);
	const irr::core::vector3df n = polygonPlaneNormal(l);
	float area = 0;
	for (std::size_t t = 0; t < indices.size(); t += 3)
	{
		const irr::core::vector3df cross =
			(l[indices[t + 1]] - l[indices[t]]).crossProduct(l[indices[t + 2]] - l[indices[t]]);
		EXPECT_GT(cross.dotProduct(n), 0.f) << "triangle " << t / 3 << " turned over";
		area += cross.getLength() / 2;
	}
	EXPECT_FLOAT_EQ(area, 3.f);
}

TEST(TriangulationTest, SelfIntersectingOutlineStillGivesEveryTriangle)
{
	// A bow tie has no proper triangulation; it must neither hang nor lose
	// triangles.
	const Outline bowTie = {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}, {-1, 1, 0}};
	std::vector<irr::u32> indices;
	triangulatePolygon(bowTie, indices);
	EXPECT_EQ(indices.size(), 9u);
	for (irr::u32 i : indices)
		EXPECT_LT(i, 5u);
}

} // end namespace
} // end namespace vistel

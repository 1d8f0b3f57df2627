#ifndef VISTEL_TXS_TRIANGULATION_H_INCLUDED
#define VISTEL_TXS_TRIANGULATION_H_INCLUDED

#include <irrTypes.h>
#include <vector3d.h>

#include <vector>

namespace vistel
{

//! Polygons with more corners than this that are not convex keep the
//! zig-zag split; editor polygons are far smaller.
const irr::u32 TXSMaxEarClippingCorners = 1024;

//! The editor's split of a convex polygon into count - 2 triangles: a
//! zig-zag between the two ends, (right, left, next) each. Appends local
//! corner numbers, three per triangle, in the polygon's cyclic order.
void appendZigZagTriangles(irr::u32 count, std::vector<irr::u32>& indices);

//! True when the polygon is convex in its own plane. Collinear corners and
//! repeated points are allowed; a polygon with no area counts as convex.
bool isConvexPolygon(const std::vector<irr::core::vector3df>& corners);

//! Ear clipping in the polygon's plane for a polygon known not to be
//! convex; the triangles keep its winding and cover it exactly once when it
//! is simple. Past TXSMaxEarClippingCorners, for a rest that has no ear
//! (self-touching or flat), and once the work spent passes a bound that
//! grows with the square of the corner count (ear clipping can take the
//! cube in the worst case), the rest gets the zig-zag split instead.
void appendEarClippedTriangles(const std::vector<irr::core::vector3df>& corners, std::vector<irr::u32>& indices);

//! Splits a polygon into triangles that keep its winding: convex ones by the
//! zig-zag rule, simple non-convex ones by ear clipping in their plane so
//! that the triangles cover the polygon exactly once.
void triangulatePolygon(const std::vector<irr::core::vector3df>& corners, std::vector<irr::u32>& indices);

//! Normal of the polygon's plane by Newell's method (unit length, or zero
//! for a polygon without area); right-handed, so it points to the side from
//! which the corners run counter-clockwise.
irr::core::vector3df polygonPlaneNormal(const std::vector<irr::core::vector3df>& corners);

} // end namespace vistel

#endif

#include "TXSTriangulation.h"

#include <cmath>

namespace vistel
{

namespace
{

struct SPoint
{
	double X, Y;
};

const double Pi = 3.14159265358979323846;

// Relative tolerance under which a turn counts as straight.
const double CollinearTolerance = 1e-9;

double cross(const SPoint& a, const SPoint& b, const SPoint& c)
{
	return (b.X - a.X) * (c.Y - b.Y) - (b.Y - a.Y) * (c.X - b.X);
}

double edgeLength(const SPoint& a, const SPoint& b)
{
	return std::hypot(b.X - a.X, b.Y - a.Y);
}

// Projects the corners onto the coordinate plane most parallel to the
// polygon and returns their signed area's sign there (0 when flat).
std::vector<SPoint> projectToPlane(const std::vector<irr::core::vector3df>& corners, int& orientation)
{
	const irr::core::vector3df n = polygonPlaneNormal(corners);
	const double ax = std::fabs(n.X), ay = std::fabs(n.Y), az = std::fabs(n.Z);
	std::vector<SPoint> points;
	points.reserve(corners.size());
	for (const irr::core::vector3df& c : corners)
	{
		if (ax >= ay && ax >= az)
			points.push_back({c.Y, c.Z});
		else if (ay >= az)
			points.push_back({c.Z, c.X});
		else
			points.push_back({c.X, c.Y});
	}
	double area = 0;
	for (std::size_t i = 0; i < points.size(); ++i)
	{
		const SPoint& a = points[i];
		const SPoint& b = points[(i + 1) % points.size()];
		area += a.X * b.Y - b.X * a.Y;
	}
	orientation = area > 0 ? 1 : (area < 0 ? -1 : 0);
	return points;
}

bool isStraight(double turn, const SPoint& a, const SPoint& b, const SPoint& c)
{
	return std::fabs(turn) <= CollinearTolerance * edgeLength(a, b) * edgeLength(b, c);
}

bool samePoint(const SPoint& a, const SPoint& b)
{
	return a.X == b.X && a.Y == b.Y;
}

// Inside or on the border of triangle abc, whose orientation is given.
bool inTriangle(const SPoint& p, const SPoint& a, const SPoint& b, const SPoint& c, int orientation)
{
	const double d1 = cross(a, b, p) * orientation;
	const double d2 = cross(b, c, p) * orientation;
	const double d3 = cross(c, a, p) * orientation;
	return d1 >= 0 && d2 >= 0 && d3 >= 0;
}

} // end namespace

void appendZigZagTriangles(irr::u32 count, std::vector<irr::u32>& indices)
{
	if (count < 3)
		return;
	irr::u32 left = 0, right = count - 1;
	for (irr::u32 step = 0; step + 2 < count; ++step)
	{
		const bool odd = (step & 1) != 0;
		const irr::u32 next = odd ? right - 1 : left + 1;
		indices.push_back(right);
		indices.push_back(left);
		indices.push_back(next);
		if (odd)
			--right;
		else
			++left;
	}
}

irr::core::vector3df polygonPlaneNormal(const std::vector<irr::core::vector3df>& corners)
{
	double x = 0, y = 0, z = 0;
	for (std::size_t i = 0; i < corners.size(); ++i)
	{
		const irr::core::vector3df& a = corners[i];
		const irr::core::vector3df& b = corners[(i + 1) % corners.size()];
		x += (static_cast<double>(a.Y) - b.Y) * (static_cast<double>(a.Z) + b.Z);
		y += (static_cast<double>(a.Z) - b.Z) * (static_cast<double>(a.X) + b.X);
		z += (static_cast<double>(a.X) - b.X) * (static_cast<double>(a.Y) + b.Y);
	}
	const double length = std::sqrt(x * x + y * y + z * z);
	if (!(length > 0) || !std::isfinite(length))
		return irr::core::vector3df(0, 0, 0);
	return irr::core::vector3df(static_cast<irr::f32>(x / length), static_cast<irr::f32>(y / length),
		static_cast<irr::f32>(z / length));
}

bool isConvexPolygon(const std::vector<irr::core::vector3df>& corners)
{
	if (corners.size() <= 3)
		return true;
	int orientation = 0;
	const std::vector<SPoint> p = projectToPlane(corners, orientation);
	if (orientation == 0)
		return true;
	const std::size_t n = p.size();
	double turning = 0;
	for (std::size_t i = 0; i < n; ++i)
	{
		const SPoint& a = p[(i + n - 1) % n];
		const SPoint& b = p[i];
		const SPoint& c = p[(i + 1) % n];
		if (samePoint(a, b) || samePoint(b, c))
			continue;
		const double turn = cross(a, b, c);
		if (isStraight(turn, a, b, c))
		{
			// A straight corner is fine; one that doubles back is not.
			const double dot = (b.X - a.X) * (c.X - b.X) + (b.Y - a.Y) * (c.Y - b.Y);
			if (dot < 0)
				return false;
			continue;
		}
		if (turn * orientation < 0)
			return false;
		const double dot = (b.X - a.X) * (c.X - b.X) + (b.Y - a.Y) * (c.Y - b.Y);
		turning += std::atan2(std::fabs(turn), dot);
	}
	// All turns one way, and once around: a star polygon turns twice.
	return turning < 3 * Pi;
}

void triangulatePolygon(const std::vector<irr::core::vector3df>& corners, std::vector<irr::u32>& indices)
{
	if (isConvexPolygon(corners))
		appendZigZagTriangles(static_cast<irr::u32>(corners.size()), indices);
	else
		appendEarClippedTriangles(corners, indices);
}

void appendEarClippedTriangles(const std::vector<irr::core::vector3df>& corners, std::vector<irr::u32>& indices)
{
	const irr::u32 count = static_cast<irr::u32>(corners.size());
	if (count <= 3 || count > TXSMaxEarClippingCorners)
	{
		appendZigZagTriangles(count, indices);
		return;
	}

	int orientation = 0;
	const std::vector<SPoint> p = projectToPlane(corners, orientation);
	std::vector<irr::u32> remaining(count);
	for (irr::u32 i = 0; i < count; ++i)
		remaining[i] = i;

	// Point-in-triangle tests allowed before giving up on ears.
	std::size_t budget = 16 * static_cast<std::size_t>(count) * count;
	std::size_t start = 0;
	while (remaining.size() > 3)
	{
		const std::size_t m = remaining.size();
		bool clipped = false;
		for (std::size_t step = 0; step < m && !clipped && budget > m; ++step)
		{
			const std::size_t k = (start + step) % m;
			const irr::u32 i0 = remaining[(k + m - 1) % m], i1 = remaining[k], i2 = remaining[(k + 1) % m];
			const SPoint &a = p[i0], &b = p[i1], &c = p[i2];
			const double turn = cross(a, b, c) * orientation;
			if (turn <= 0 || isStraight(turn, a, b, c))
				continue; // reflex or straight: not an ear
			bool blocked = false;
			budget -= m;
			for (std::size_t j = 0; j < m && !blocked; ++j)
			{
				const irr::u32 other = remaining[j];
				if (other == i0 || other == i1 || other == i2)
					continue;
				const SPoint& q = p[other];
				if (samePoint(q, a) || samePoint(q, b) || samePoint(q, c))
					continue;
				blocked = inTriangle(q, a, b, c, orientation);
			}
			if (blocked)
				continue;
			indices.push_back(i0);
			indices.push_back(i1);
			indices.push_back(i2);
			remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(k));
			start = k % remaining.size();
			clipped = true;
		}
		if (!clipped)
		{
			// Only a self-touching or flat rest is left: split it the
			// editor's way rather than drop it.
			std::vector<irr::u32> local;
			appendZigZagTriangles(static_cast<irr::u32>(remaining.size()), local);
			for (irr::u32 l : local)
				indices.push_back(remaining[l]);
			return;
		}
	}
	indices.push_back(remaining[0]);
	indices.push_back(remaining[1]);
	indices.push_back(remaining[2]);
}

} // end namespace vistel

#include "CLightmapBaker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace vistel::levelgen
{

namespace
{

SVec3 operator+(const SVec3& a, const SVec3& b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
SVec3 operator-(const SVec3& a, const SVec3& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
SVec3 operator*(const SVec3& a, float s) { return {a.X * s, a.Y * s, a.Z * s}; }
float dot(const SVec3& a, const SVec3& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
SVec3 cross(const SVec3& a, const SVec3& b)
{
	return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
float length(const SVec3& a) { return std::sqrt(dot(a, a)); }
SVec3 normalised(const SVec3& a)
{
	const float l = length(a);
	return l > 0.f ? a * (1.f / l) : SVec3{0.f, 1.f, 0.f};
}
float axis(const SVec3& a, int k) { return k == 0 ? a.X : (k == 1 ? a.Y : a.Z); }

// Two unit vectors that span the plane perpendicular to n.
void planeBasis(const SVec3& n, SVec3& t, SVec3& b)
{
	if (std::fabs(n.Y) > 0.9f)
		t = normalised(cross({0.f, 0.f, 1.f}, n));
	else
		t = normalised(cross({0.f, 1.f, 0.f}, n));
	b = cross(n, t);
}

std::uint32_t mixBits(std::uint32_t h)
{
	h ^= h >> 16;
	h *= 0x7feb352du;
	h ^= h >> 15;
	h *= 0x846ca68bu;
	h ^= h >> 16;
	return h;
}

float unitHash(std::uint32_t a, std::uint32_t b)
{
	return static_cast<float>(mixBits(a * 0x9e3779b9u + mixBits(b)) & 0xFFFFFFu) / 16777216.f;
}

struct STriangle
{
	SVec3 P0, E1, E2;
	bool Glass;
};

struct SNode
{
	SVec3 Min, Max;
	int Left = -1, Right = -1; // children, or -1 for a leaf
	int First = 0, Count = 0;  // the leaf's triangles
};

// Bounding volume hierarchy over the occluding triangles, for shadow rays.
class CScene
{
public:
	void add(const STriangle& triangle) { Triangles.push_back(triangle); }

	void build()
	{
		Nodes.clear();
		Nodes.reserve(Triangles.size() * 2 + 1);
		Nodes.push_back(SNode());
		split(0, 0, static_cast<int>(Triangles.size()));
	}

	// Share of the light that travels from origin along dir (unit) for a
	// distance reach: 0 behind anything opaque, tinted behind glass.
	std::array<float, 3> transmit(const SVec3& origin, const SVec3& dir, float reach, const float tint[3],
		std::size_t& rays) const
	{
		++rays;
		std::array<float, 3> pass{1.f, 1.f, 1.f};
		if (Triangles.empty())
			return pass;
		const SVec3 inv{1.f / (dir.X != 0.f ? dir.X : 1e-30f), 1.f / (dir.Y != 0.f ? dir.Y : 1e-30f),
			1.f / (dir.Z != 0.f ? dir.Z : 1e-30f)};
		int stack[128];
		int top = 0;
		stack[top++] = 0;
		while (top > 0)
		{
			const SNode& node = Nodes[static_cast<std::size_t>(stack[--top])];
			if (!hitsBox(node, origin, inv, reach))
				continue;
			if (node.Left < 0)
			{
				for (int i = node.First; i < node.First + node.Count; ++i)
				{
					const STriangle& t = Triangles[static_cast<std::size_t>(i)];
					if (!hitsTriangle(t, origin, dir, reach))
						continue;
					if (!t.Glass)
						return {0.f, 0.f, 0.f};
					for (int k = 0; k < 3; ++k)
						pass[static_cast<std::size_t>(k)] *= tint[k];
				}
				continue;
			}
			if (top + 2 <= 128)
			{
				stack[top++] = node.Left;
				stack[top++] = node.Right;
			}
		}
		return pass;
	}

private:
	static bool hitsBox(const SNode& node, const SVec3& o, const SVec3& inv, float reach)
	{
		float t0 = 0.f, t1 = reach;
		for (int k = 0; k < 3; ++k)
		{
			const float oi = axis(o, k), ii = axis(inv, k);
			float a = (axis(node.Min, k) - oi) * ii, b = (axis(node.Max, k) - oi) * ii;
			if (a > b)
				std::swap(a, b);
			t0 = std::max(t0, a);
			t1 = std::min(t1, b);
			if (t0 > t1)
				return false;
		}
		return true;
	}

	static bool hitsTriangle(const STriangle& t, const SVec3& o, const SVec3& d, float reach)
	{
		const SVec3 p = cross(d, t.E2);
		const float det = dot(t.E1, p);
		if (std::fabs(det) < 1e-9f)
			return false;
		const float inv = 1.f / det;
		const SVec3 s = o - t.P0;
		const float u = dot(s, p) * inv;
		if (u < 0.f || u > 1.f)
			return false;
		const SVec3 q = cross(s, t.E1);
		const float v = dot(d, q) * inv;
		if (v < 0.f || u + v > 1.f)
			return false;
		const float dist = dot(t.E2, q) * inv;
		return dist > 1e-3f && dist < reach;
	}

	void bounds(int first, int count, SVec3& lo, SVec3& hi) const
	{
		lo = {1e30f, 1e30f, 1e30f};
		hi = {-1e30f, -1e30f, -1e30f};
		for (int i = first; i < first + count; ++i)
		{
			const STriangle& t = Triangles[static_cast<std::size_t>(i)];
			for (const SVec3& p : {t.P0, t.P0 + t.E1, t.P0 + t.E2})
			{
				lo = {std::min(lo.X, p.X), std::min(lo.Y, p.Y), std::min(lo.Z, p.Z)};
				hi = {std::max(hi.X, p.X), std::max(hi.Y, p.Y), std::max(hi.Z, p.Z)};
			}
		}
	}

	void split(int index, int first, int count)
	{
		SVec3 lo, hi;
		bounds(first, count, lo, hi);
		Nodes[static_cast<std::size_t>(index)].Min = lo;
		Nodes[static_cast<std::size_t>(index)].Max = hi;
		if (count <= 4)
		{
			Nodes[static_cast<std::size_t>(index)].First = first;
			Nodes[static_cast<std::size_t>(index)].Count = count;
			return;
		}
		const SVec3 extent = hi - lo;
		const int k = extent.X >= extent.Y && extent.X >= extent.Z ? 0 : (extent.Y >= extent.Z ? 1 : 2);
		auto centre = [k](const STriangle& t) { return axis(t.P0, k) * 3.f + axis(t.E1, k) + axis(t.E2, k); };
		const auto begin = Triangles.begin() + first;
		std::nth_element(begin, begin + count / 2, begin + count,
			[&](const STriangle& a, const STriangle& b) { return centre(a) < centre(b); });
		const int left = static_cast<int>(Nodes.size());
		Nodes.push_back(SNode());
		Nodes.push_back(SNode());
		Nodes[static_cast<std::size_t>(index)].Left = left;
		Nodes[static_cast<std::size_t>(index)].Right = left + 1;
		split(left, first, count / 2);
		split(left + 1, first + count / 2, count - count / 2);
	}

	std::vector<STriangle> Triangles;
	std::vector<SNode> Nodes;
};

// One polygon's patch of the atlas.
struct SPatch
{
	SGenPolygon* Polygon = nullptr;
	const SGenPrimitive* Primitive = nullptr;
	EGenSurface Surface = EGS_OPAQUE;
	SVec3 Origin, T, B, N;      // plane frame: position = Origin + T * s + B * t
	float Width = 0.f, Height = 0.f;
	std::vector<float> S, Tc;   // the corners in the plane frame
	int Nu = 0, Nv = 0;         // inner texels
	int X = 0, Y = 0;           // atlas position of the inner texels
};

constexpr int Padding = 2;

// The point of a convex polygon (in its plane frame) nearest to (s, t),
// nudged a little inwards when it lies on the outline.
void keepInside(const SPatch& patch, float& s, float& t)
{
	const std::size_t n = patch.S.size();
	bool inside = true;
	float area = 0.f;
	for (std::size_t i = 0; i < n; ++i)
	{
		const std::size_t j = (i + 1) % n;
		area += patch.S[i] * patch.Tc[j] - patch.S[j] * patch.Tc[i];
	}
	const float orientation = area >= 0.f ? 1.f : -1.f;
	for (std::size_t i = 0; i < n && inside; ++i)
	{
		const std::size_t j = (i + 1) % n;
		const float side = (patch.S[j] - patch.S[i]) * (t - patch.Tc[i]) - (patch.Tc[j] - patch.Tc[i]) * (s - patch.S[i]);
		if (side * orientation < 0.f)
			inside = false;
	}
	if (inside)
		return;
	float bestS = s, bestT = t, best = 1e30f;
	for (std::size_t i = 0; i < n; ++i)
	{
		const std::size_t j = (i + 1) % n;
		const float ex = patch.S[j] - patch.S[i], ey = patch.Tc[j] - patch.Tc[i];
		const float len2 = ex * ex + ey * ey;
		float k = len2 > 0.f ? ((s - patch.S[i]) * ex + (t - patch.Tc[i]) * ey) / len2 : 0.f;
		k = std::min(1.f, std::max(0.f, k));
		const float px = patch.S[i] + ex * k, py = patch.Tc[i] + ey * k;
		const float d = (px - s) * (px - s) + (py - t) * (py - t);
		if (d < best)
		{
			best = d;
			bestS = px;
			bestT = py;
		}
	}
	float cs = 0.f, ct = 0.f;
	for (std::size_t i = 0; i < n; ++i)
	{
		cs += patch.S[i];
		ct += patch.Tc[i];
	}
	cs /= static_cast<float>(n);
	ct /= static_cast<float>(n);
	const float dx = cs - bestS, dy = ct - bestT;
	const float d = std::sqrt(dx * dx + dy * dy);
	s = d > 1.f ? bestS + dx / d : cs;
	t = d > 1.f ? bestT + dy / d : ct;
}

struct SLightSample
{
	float S, T; // offsets on the unit disc
};

std::vector<SLightSample> discPattern(int count)
{
	std::vector<SLightSample> pattern;
	for (int k = 0; k < count; ++k)
	{
		const float r = std::sqrt((static_cast<float>(k) + 0.5f) / static_cast<float>(count));
		const float a = static_cast<float>(k) * 2.39996323f;
		pattern.push_back({r * std::cos(a), r * std::sin(a)});
	}
	return pattern;
}

class CBaker
{
public:
	CBaker(SGenLevel& level, const SBakeOptions& options) : Level(level), Options(options) {}

	SImage bake(SBakeReport& report);

private:
	void collect();
	bool pack(float texel, int& height);
	std::array<float, 3> shade(const SPatch& patch, const SVec3& p, std::uint32_t seed);
	float lightVisibility(const SVec3& origin, const SVec3& centre, float size, float reach, std::uint32_t seed,
		std::array<float, 3>& tint);

	SGenLevel& Level;
	SBakeOptions Options;
	CScene Scene;
	std::vector<SPatch> Patches;
	std::vector<SLightSample> Disc;
	std::size_t Rays = 0;
};

void CBaker::collect()
{
	for (SGenPrimitive& primitive : Level.Primitives)
		for (SGenPolygon& polygon : primitive.Polygons)
		{
			const SGenMaterial* material = Level.findMaterial(polygon.MaterialId);
			const EGenSurface surface = material ? material->Surface : EGS_OPAQUE;
			if (polygon.Corners.size() < 3)
				continue;
			// Lamps give light and take none away.
			if (surface != EGS_EMISSIVE)
			{
				const SVec3 p0 = primitive.Vertices[static_cast<std::size_t>(polygon.Corners[0].Vid)];
				for (std::size_t i = 1; i + 1 < polygon.Corners.size(); ++i)
				{
					const SVec3 p1 = primitive.Vertices[static_cast<std::size_t>(polygon.Corners[i].Vid)];
					const SVec3 p2 = primitive.Vertices[static_cast<std::size_t>(polygon.Corners[i + 1].Vid)];
					Scene.add({p0, p1 - p0, p2 - p0, surface == EGS_GLASS});
				}
			}
			if (!material || !material->hasLightmap())
				continue;

			SPatch patch;
			patch.Polygon = &polygon;
			patch.Primitive = &primitive;
			patch.Surface = surface;
			patch.N = normalised(polygon.Normal);
			planeBasis(patch.N, patch.T, patch.B);
			float s0 = 1e30f, s1 = -1e30f, t0 = 1e30f, t1 = -1e30f;
			for (const SGenCorner& c : polygon.Corners)
			{
				const SVec3 p = primitive.Vertices[static_cast<std::size_t>(c.Vid)];
				const float s = dot(p, patch.T), t = dot(p, patch.B);
				patch.S.push_back(s);
				patch.Tc.push_back(t);
				s0 = std::min(s0, s);
				s1 = std::max(s1, s);
				t0 = std::min(t0, t);
				t1 = std::max(t1, t);
			}
			for (float& s : patch.S)
				s -= s0;
			for (float& t : patch.Tc)
				t -= t0;
			const SVec3 p0 = primitive.Vertices[static_cast<std::size_t>(polygon.Corners[0].Vid)];
			patch.Origin = p0 - patch.T * dot(p0, patch.T) - patch.B * dot(p0, patch.B) + patch.T * s0 + patch.B * t0;
			patch.Width = s1 - s0;
			patch.Height = t1 - t0;
			Patches.push_back(patch);
		}
	Scene.build();
}

bool CBaker::pack(float texel, int& height)
{
	std::vector<std::size_t> order(Patches.size());
	for (std::size_t i = 0; i < order.size(); ++i)
	{
		SPatch& p = Patches[i];
		p.Nu = std::max(2, static_cast<int>(std::ceil(p.Width / texel)));
		p.Nv = std::max(2, static_cast<int>(std::ceil(p.Height / texel)));
		// Lamps and glass are one colour: a small patch does.
		if (p.Surface != EGS_OPAQUE)
			p.Nu = p.Nv = 2;
		order[i] = i;
	}
	std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
		return Patches[a].Nv > Patches[b].Nv;
	});
	int x = 0, y = 0, shelf = 0;
	for (std::size_t i : order)
	{
		SPatch& p = Patches[i];
		const int w = p.Nu + 2 * Padding, h = p.Nv + 2 * Padding;
		if (w > Options.AtlasWidth)
			return false;
		if (x + w > Options.AtlasWidth)
		{
			x = 0;
			y += shelf;
			shelf = 0;
		}
		p.X = x + Padding;
		p.Y = y + Padding;
		x += w;
		shelf = std::max(shelf, h);
	}
	const int used = y + shelf;
	height = 8;
	while (height < used)
		height *= 2;
	return height <= 4096;
}

// Share of a light that reaches origin, from rays spread over the light's
// disc (a point light of some size, or a sun's narrow cone of directions).
float CBaker::lightVisibility(const SVec3& origin, const SVec3& centre, float size, float reach,
	std::uint32_t seed, std::array<float, 3>& tint)
{
	const SVec3 toLight = centre - origin;
	const float distance = length(toLight);
	const SVec3 dir = toLight * (1.f / distance);
	SVec3 u, v;
	planeBasis(dir, u, v);
	const float turn = unitHash(seed, 7u) * 6.2831853f;
	const float c = std::cos(turn), s = std::sin(turn);
	const int count = static_cast<int>(Disc.size());
	auto sample = [&](int k) {
		const float ds = Disc[static_cast<std::size_t>(k)].S * c - Disc[static_cast<std::size_t>(k)].T * s;
		const float dt = Disc[static_cast<std::size_t>(k)].S * s + Disc[static_cast<std::size_t>(k)].T * c;
		if (reach > 0.f)
		{
			const SVec3 target = centre + u * (ds * size) + v * (dt * size);
			const float distance = length(target - origin);
			return std::make_pair((target - origin) * (1.f / distance), distance - 1.f);
		}
		// A sun: directions in a narrow cone around dir.
		const SVec3 d = normalised(dir + u * (ds * size) + v * (dt * size));
		return std::make_pair(d, 20000.f);
	};
	// A few rays spread over the light first; more only in a penumbra.
	std::array<float, 3> sum{0.f, 0.f, 0.f};
	int taken = 0;
	bool mixed = false;
	float first = -1.f;
	for (int k = 0; k < count; k += 3)
	{
		const auto ray = sample(k);
		const std::array<float, 3> pass = Scene.transmit(origin, ray.first, ray.second, Options.GlassTint, Rays);
		for (std::size_t i = 0; i < 3; ++i)
			sum[i] += pass[i];
		++taken;
		if (first < 0.f)
			first = pass[0];
		else if (pass[0] != first)
			mixed = true;
	}
	if (mixed)
		for (int k = 0; k < count; ++k)
		{
			if (k % 3 == 0)
				continue;
			const auto ray = sample(k);
			const std::array<float, 3> pass = Scene.transmit(origin, ray.first, ray.second, Options.GlassTint, Rays);
			for (std::size_t i = 0; i < 3; ++i)
				sum[i] += pass[i];
			++taken;
		}
	for (std::size_t i = 0; i < 3; ++i)
		tint[i] = sum[i] / static_cast<float>(taken);
	return (tint[0] + tint[1] + tint[2]) / 3.f;
}

std::array<float, 3> CBaker::shade(const SPatch& patch, const SVec3& p, std::uint32_t seed)
{
	const SVec3 n = patch.N;
	const SVec3 origin = p + n * 0.5f;
	std::array<float, 3> light{0.f, 0.f, 0.f};

	// Ambient light, darker where other surfaces are close.
	SVec3 t, b;
	planeBasis(n, t, b);
	const int occlusionRays = 12;
	int open = 0;
	const float turn = unitHash(seed, 3u) * 6.2831853f;
	for (int k = 0; k < occlusionRays; ++k)
	{
		const float r = std::sqrt((static_cast<float>(k) + 0.5f) / occlusionRays);
		const float a = static_cast<float>(k) * 2.39996323f + turn;
		const float up = std::sqrt(std::max(0.f, 1.f - r * r));
		const SVec3 d = normalised(t * (r * std::cos(a)) + b * (r * std::sin(a)) + n * up);
		const std::array<float, 3> pass = Scene.transmit(origin, d, Options.OcclusionReach, Options.GlassTint, Rays);
		if (pass[0] > 0.f)
			++open;
	}
	const float ambient = 0.45f + 0.55f * static_cast<float>(open) / occlusionRays;
	light[0] += Options.AmbientR * ambient;
	light[1] += Options.AmbientG * ambient;
	light[2] += Options.AmbientB * ambient;

	std::uint32_t lightIndex = 0;
	for (const SGenLight& l : Level.Lights)
	{
		++lightIndex;
		float cosine, strength, reach, size;
		SVec3 centre;
		if (l.Sun)
		{
			const SVec3 towards = normalised(l.Position);
			cosine = dot(n, towards);
			strength = l.Intensity;
			centre = origin + towards * 1000.f;
			reach = 0.f;
			size = std::tan(l.Size);
		}
		else
		{
			const SVec3 d = l.Position - origin;
			const float distance = length(d);
			if (distance >= l.Radius || distance < 1e-3f)
				continue;
			cosine = dot(n, d) * (1.f / distance);
			const float x = distance / l.Radius;
			const float window = (1.f - x * x) * (1.f - x * x);
			strength = l.Intensity * window / (1.f + 6.f * x * x);
			centre = l.Position;
			reach = distance;
			size = l.Size;
		}
		if (cosine <= 0.f || strength <= 0.f)
			continue;
		std::array<float, 3> tint;
		if (lightVisibility(origin, centre, size, reach, seed * 31u + lightIndex, tint) <= 0.f)
			continue;
		const float c[3] = {l.R / 255.f, l.G / 255.f, l.B / 255.f};
		for (std::size_t i = 0; i < 3; ++i)
			light[i] += c[i] * strength * cosine * tint[i];
	}
	return light;
}

SImage CBaker::bake(SBakeReport& report)
{
	collect();
	Disc = discPattern(std::max(3, Options.LightSamples));
	float texel = Options.TexelSize;
	int height = 0;
	while (!pack(texel, height))
		texel *= 1.25f;

	const int width = Options.AtlasWidth;
	std::vector<std::array<float, 3>> values(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
		std::array<float, 3>{0.f, 0.f, 0.f});
	auto at = [&](int x, int y) -> std::array<float, 3>& {
		return values[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
	};

	std::size_t texels = 0;
	std::uint32_t patchIndex = 0;
	for (SPatch& patch : Patches)
	{
		++patchIndex;
		// Lightmap coordinates: the polygon's plane frame onto its inner texels.
		for (std::size_t i = 0; i < patch.Polygon->Corners.size(); ++i)
		{
			const float fs = patch.Width > 0.f ? patch.S[i] / patch.Width : 0.f;
			const float ft = patch.Height > 0.f ? patch.Tc[i] / patch.Height : 0.f;
			patch.Polygon->Corners[i].Local = {(static_cast<float>(patch.X) + fs * static_cast<float>(patch.Nu)) / static_cast<float>(width),
				(static_cast<float>(patch.Y) + ft * static_cast<float>(patch.Nv)) / static_cast<float>(height)};
		}
		std::vector<std::array<float, 3>> own(static_cast<std::size_t>(patch.Nu * patch.Nv));
		for (int j = 0; j < patch.Nv; ++j)
			for (int i = 0; i < patch.Nu; ++i)
			{
				std::array<float, 3>& out = own[static_cast<std::size_t>(j * patch.Nu + i)];
				if (patch.Surface == EGS_EMISSIVE)
				{
					out = {1.6f, 1.5f, 1.3f};
					continue;
				}
				if (patch.Surface == EGS_GLASS)
				{
					out = {1.2f, 1.25f, 1.3f};
					continue;
				}
				float s = (static_cast<float>(i) + 0.5f) / static_cast<float>(patch.Nu) * patch.Width;
				float t = (static_cast<float>(j) + 0.5f) / static_cast<float>(patch.Nv) * patch.Height;
				keepInside(patch, s, t);
				const SVec3 p = patch.Origin + patch.T * s + patch.B * t;
				out = shade(patch, p, patchIndex * 65599u + static_cast<std::uint32_t>(j * patch.Nu + i));
				++texels;
			}
		// A light blur inside the patch smooths the sampling noise.
		std::vector<std::array<float, 3>> smooth(own.size());
		for (int j = 0; j < patch.Nv; ++j)
			for (int i = 0; i < patch.Nu; ++i)
			{
				std::array<float, 3> sum{0.f, 0.f, 0.f};
				float weight = 0.f;
				for (int dj = -1; dj <= 1; ++dj)
					for (int di = -1; di <= 1; ++di)
					{
						const int x = i + di, y = j + dj;
						if (x < 0 || y < 0 || x >= patch.Nu || y >= patch.Nv)
							continue;
						const float w = (di == 0 ? 2.f : 1.f) * (dj == 0 ? 2.f : 1.f);
						for (std::size_t k = 0; k < 3; ++k)
							sum[k] += own[static_cast<std::size_t>(y * patch.Nu + x)][k] * w;
						weight += w;
					}
				for (std::size_t k = 0; k < 3; ++k)
					smooth[static_cast<std::size_t>(j * patch.Nu + i)][k] = sum[k] / weight;
			}
		// Inner texels and a border that repeats the outermost ones, so that
		// filtering never reaches a neighbouring patch.
		for (int j = -Padding; j < patch.Nv + Padding; ++j)
			for (int i = -Padding; i < patch.Nu + Padding; ++i)
			{
				const int ci = std::min(patch.Nu - 1, std::max(0, i)), cj = std::min(patch.Nv - 1, std::max(0, j));
				at(patch.X + i, patch.Y + j) = smooth[static_cast<std::size_t>(cj * patch.Nu + ci)];
			}
	}

	SImage atlas(width, height, false);
	for (int y = 0; y < height; ++y)
		for (int x = 0; x < width; ++x)
		{
			const std::array<float, 3>& e = at(x, y);
			// A soft shoulder instead of a hard clip for bright spots.
			int rgb[3];
			for (std::size_t k = 0; k < 3; ++k)
				rgb[k] = static_cast<int>(std::lround(255.f * (1.f - std::exp(-1.7f * e[k]))));
			atlas.set(x, y, rgb[0], rgb[1], rgb[2]);
		}
	report.AtlasWidth = width;
	report.AtlasHeight = height;
	report.Patches = Patches.size();
	report.Texels = texels;
	report.ShadowRays = Rays;
	return atlas;
}

} // namespace

SImage bakeLightmaps(SGenLevel& level, const SBakeOptions& options, SBakeReport& report)
{
	CBaker baker(level, options);
	return baker.bake(report);
}

} // namespace vistel::levelgen

#ifndef VISTEL_TEST_FLASHLIGHT_REFERENCE_H_INCLUDED
#define VISTEL_TEST_FLASHLIGHT_REFERENCE_H_INCLUDED

// A CPU evaluation of the flashlight programs, written from the effect's
// description independently of the shader texts and the constant callback,
// to compare rendered pixels against.

#include "SPreviewSettings.h"

#include <algorithm>
#include <cmath>

namespace vistel
{
namespace reference
{

struct SRgba
{
	double r, g, b, a;
};

inline SRgba operator*(const SRgba& x, const SRgba& y) { return {x.r * y.r, x.g * y.g, x.b * y.b, x.a * y.a}; }
inline SRgba operator*(const SRgba& x, double s) { return {x.r * s, x.g * s, x.b * s, x.a * s}; }
inline SRgba operator+(const SRgba& x, const SRgba& y) { return {x.r + y.r, x.g + y.g, x.b + y.b, x.a + y.a}; }

inline SRgba fromColour(irr::u32 argb)
{
	return {((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0, (argb >> 24) / 255.0};
}

enum EProgram
{
	EP_FLASHLIGHT_SOLID,
	EP_FLASHLIGHT_LIGHTMAP,
	EP_FLASHLIGHT_ALPHA,
	EP_LIGHTMAP
};

struct SConstants
{
	double coneFactor; // 1 / cos(angle)
	double distance;
	double ratioX;
	double ratioY;
	SRgba light;
	double laser;
};

inline SConstants constantsFor(const SPreviewSettings& settings)
{
	const double pi = 3.14159265358979323846;
	SConstants c;
	c.coneFactor = 1.0 / std::cos(settings.fx.flashlightAngle * pi / 180.0);
	c.distance = settings.fx.flashlightDistance;
	c.ratioX = settings.fx.screenRatioX;
	c.ratioY = settings.fx.screenRatioY;
	c.light = fromColour(settings.fx.flashlightColor.color);
	const int s = settings.level.shadowOpacity;
	// Single precision, as the program sees it: at 70 percent it equals 0.3.
	c.laser = static_cast<float>(settings.fx.laserMode ? 1.0 : (s < 70 ? 0.15 : (100 - s) * 0.01));
	return c;
}

inline double falloff(double k)
{
	return -9.486 * k * k * k * k + 11.746 * k * k * k - 1.4796 * k * k - 2.1804 * k + 1.5;
}

struct SShaded
{
	SRgba colour;     // the program's output, unclamped
	bool nearConeEdge; // too close to the edge for rounding to decide the side
};

// spot: the point in clip space; light: the eye in the same clip space.
inline SShaded shade(EProgram program, const SConstants& c, SRgba col, SRgba lightmap, double spot[4], double light[4])
{
	if (program == EP_LIGHTMAP)
		return {col * lightmap, false};

	SRgba base = col;
	if (program == EP_FLASHLIGHT_LIGHTMAP)
	{
		base = lightmap * col;
		col = col * 0.5;
	}
	else if (program == EP_FLASHLIGHT_ALPHA)
	{
		base = SRgba{c.laser, c.laser, c.laser, 1.0} * col;
		col = col * 0.5;
	}

	const double dy = std::fabs(light[2] - spot[2]);
	if (c.ratioX <= c.ratioY)
	{
		spot[1] /= c.ratioX / c.ratioY;
		light[1] /= c.ratioX / c.ratioY;
	}
	else
	{
		spot[0] /= c.ratioY / c.ratioX;
		light[0] /= c.ratioY / c.ratioX;
	}
	const double d = std::sqrt((spot[0] - light[0]) * (spot[0] - light[0]) +
		(spot[1] - light[1]) * (spot[1] - light[1]) + (spot[2] - light[2]) * (spot[2] - light[2]));

	// k runs from 0 on the axis to 1 on the edge.
	const double k = (d / dy - 1.0) / (c.coneFactor - 1.0);
	const bool nearEdge = std::fabs(k - 1.0) < 0.01;
	const float laser = static_cast<float>(c.laser);
	const bool laserTestPasses = program == EP_FLASHLIGHT_LIGHTMAP ? laser <= 0.3f : laser < 0.3f;
	if (!(d < dy * c.coneFactor))
		return {program == EP_FLASHLIGHT_SOLID ? col * c.laser : base, nearEdge};

	const double fade = std::exp(-d / c.distance);
	if (program == EP_FLASHLIGHT_SOLID)
	{
		if (laserTestPasses)
			return {col * std::clamp(2.0 * falloff(k) * fade, c.laser, 2.0) * c.light, nearEdge};
		return {col * c.light, nearEdge};
	}
	if (laserTestPasses)
		return {base + col * std::clamp(2.0 * (falloff(k) - 0.11) * fade, 0.0, 2.0) * c.light, nearEdge};
	return {base + c.light * 0.5, nearEdge};
}

} // end namespace reference
} // end namespace vistel

#endif

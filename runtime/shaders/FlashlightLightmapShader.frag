// Flashlight on lightmapped materials: outside the cone the lightmapped
// texture stays as it is; inside, half the texture brightened by the falloff
// curve and tinted with the light colour is added, or, in laser mode, half
// the laser colour.

uniform sampler2D tex0;
uniform sampler2D tex1; // the lightmap
uniform vec4 mParameters; // 1 / cos(cone angle), light distance, screen ratio X, screen ratio Y
uniform vec4 mLightColor;
uniform float mLaser;     // brightness outside the cone; 1.0 in laser mode

varying vec2 TexCoord;
varying vec2 TexCoord1;
varying vec3 SpotOffset; // the point less the eye, in clip space, screen ratio corrected
varying vec2 Reciprocals; // 1 / (mParameters.x - 1), -1 / mParameters.y

float falloff(float k)
{
	// -9.486k^4 + 11.746k^3 - 1.4796k^2 - 2.1804k + 1.5, in Horner's form.
	return (((-9.486 * k + 11.746) * k - 1.4796) * k - 2.1804) * k + 1.5;
}

void main()
{
	vec4 col = texture2D(tex0, TexCoord);
	vec4 base = texture2D(tex1, TexCoord1) * col;
	col = col * 0.5;

	// The depth distance, and the distance to the eye with the screen ratio
	// corrected.
	float dy = abs(SpotOffset.z);
	float d = length(SpotOffset);

	if (d < dy * mParameters.x)
	{
		float k = (d / dy - 1.0) * Reciprocals.x;
		if (mLaser <= 0.3)
			gl_FragColor = base + col * clamp(2.0 * (falloff(k) - 0.11) * exp(d * Reciprocals.y), 0.0, 2.0) * mLightColor;
		else
			gl_FragColor = base + 0.5 * mLightColor;
	}
	else
		gl_FragColor = base;
}

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
varying vec4 spotTexC;
varying vec4 SpotPos;

float falloff(float k)
{
	return -9.486 * k * k * k * k + 11.746 * k * k * k - 1.4796 * k * k - 2.1804 * k + 1.5;
}

void main()
{
	vec4 col = texture2D(tex0, TexCoord);
	vec4 base = texture2D(tex1, TexCoord1) * col;
	col = col * 0.5;

	vec4 spot = SpotPos;
	vec4 light = spotTexC;
	float dy = abs(light.z - spot.z);
	if (mParameters.z <= mParameters.w)
	{
		spot.y /= mParameters.z / mParameters.w;
		light.y /= mParameters.z / mParameters.w;
	}
	else
	{
		spot.x /= mParameters.w / mParameters.z;
		light.x /= mParameters.w / mParameters.z;
	}
	float d = distance(spot.xyz, light.xyz);

	if (d < dy * mParameters.x)
	{
		float k = (d / dy - 1.0) / (mParameters.x - 1.0);
		if (mLaser <= 0.3)
			gl_FragColor = base + col * clamp(2.0 * (falloff(k) - 0.11) * exp(-d / mParameters.y), 0.0, 2.0) * mLightColor;
		else
			gl_FragColor = base + 0.5 * mLightColor;
	}
	else
		gl_FragColor = base;
}

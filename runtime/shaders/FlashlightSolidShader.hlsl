// Flashlight on solid materials: outside the cone the texture is dimmed to
// mLaser; inside it is brightened by the falloff curve and tinted with the
// light colour, or, in laser mode, takes the laser colour.

float4x4 mWorldViewProj;
// The eye, in the drawn node's own space. Three values, as the plug-in sets
// them: a float4 given three was read as the origin by Wine's Direct3D 9.
float3 mLightPos;
float4 mParameters; // 1 / cos(cone angle), light distance, screen ratio X, screen ratio Y
float4 mLightColor;
float mLaser;       // brightness outside the cone; 1.0 in laser mode

sampler2D tex0 : register(s0);

struct VS_OUTPUT
{
	float4 Position : POSITION;
	float2 TexCoord : TEXCOORD0;
	// The point less the eye in clip space: linear in the vertex, so its
	// interpolation is what the pixel would compute from the two points.
	float3 SpotOffset : TEXCOORD2;
};

VS_OUTPUT vertexMain(float4 vPosition : POSITION, float3 vNormal : NORMAL, float2 texCoord : TEXCOORD0)
{
	VS_OUTPUT Output;
	Output.Position = mul(vPosition, mWorldViewProj);
	Output.TexCoord = texCoord;
	// The matrix is linear: the point less the eye, transformed as a
	// direction, is the difference of the two transformed points.
	Output.SpotOffset = mul(float4(vPosition.xyz - mLightPos, 0.0), mWorldViewProj).xyz;
	return Output;
}

float falloff(float k)
{
	// -9.486k^4 + 11.746k^3 - 1.4796k^2 - 2.1804k + 1.5, in Horner's form.
	return (((-9.486 * k + 11.746) * k - 1.4796) * k - 2.1804) * k + 1.5;
}

float4 pixelMain(float2 TexCoord : TEXCOORD0, float3 SpotOffset : TEXCOORD2) : COLOR0
{
	float4 col = tex2D(tex0, TexCoord);

	// The depth distance, and the distance to the eye with the screen ratio
	// corrected: y divided by X / Y when X <= Y, else x by Y / X.
	// Every choice below is made by arithmetic (step and lerp) rather than
	// by branches: pixel programs of profile 2.0 have no branches, and not
	// every compiler flattens them.
	float dy = abs(SpotOffset.z);
	float2 ratio = lerp(float2(mParameters.z / mParameters.w, 1.0), float2(1.0, mParameters.w / mParameters.z),
		step(mParameters.z, mParameters.w));
	float d = length(float3(SpotOffset.xy * ratio, SpotOffset.z));
	// 1 inside the cone (d < dy / cos(angle)), 0 outside.
	float inside = 1.0 - step(dy * mParameters.x, d);
	// Outside the cone k is not needed: the larger divisor only keeps it finite
	// where dy is 0, so that no infinity reaches the selection.
	float k = (d / max(dy, 1e-6) - 1.0) / (mParameters.x - 1.0);

	// 1 in laser mode (mLaser >= 0.3), 0 for the flashlight.
	float laser = step(0.3, mLaser);
	float4 lit = col * clamp(2.0 * falloff(k) * exp(-d / mParameters.y), mLaser, 2.0) * mLightColor;
	return lerp(col * mLaser, lerp(lit, col * mLightColor, laser), inside);
}

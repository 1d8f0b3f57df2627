// Flashlight on alpha-channel materials of levels without lightmaps: outside
// the cone the colour is dimmed to mLaser, the alpha kept; inside, half the
// texture brightened by the falloff curve and tinted with the light colour is
// added, or, in laser mode, half the laser colour.

float4x4 mWorldViewProj;
float4 mLightPos;
float4 mParameters; // 1 / cos(cone angle), light distance, screen ratio X, screen ratio Y
float4 mLightColor;
float mLaser;       // brightness outside the cone; 1.0 in laser mode

sampler2D tex0 : register(s0);

struct VS_OUTPUT
{
	float4 Position : POSITION;
	float2 TexCoord : TEXCOORD0;
	float4 spotTexC : TEXCOORD2;
	float4 SpotPos  : TEXCOORD3;
};

VS_OUTPUT vertexMain(float4 vPosition : POSITION, float3 vNormal : NORMAL, float2 texCoord : TEXCOORD0)
{
	VS_OUTPUT Output;
	Output.Position = mul(vPosition, mWorldViewProj);
	Output.SpotPos = Output.Position;
	Output.TexCoord = texCoord;
	// The eye itself, in the same clip space as the point.
	Output.spotTexC = mul(float4(mLightPos.xyz, 1.0), mWorldViewProj);
	return Output;
}

float falloff(float k)
{
	return -9.486 * k * k * k * k + 11.746 * k * k * k - 1.4796 * k * k - 2.1804 * k + 1.5;
}

float4 pixelMain(float2 TexCoord : TEXCOORD0, float4 spotTexC : TEXCOORD2, float4 SpotPos : TEXCOORD3) : COLOR0
{
	float4 col = tex2D(tex0, TexCoord);
	float4 base = float4(mLaser, mLaser, mLaser, 1.0) * col;
	col = col * 0.5;

	float dy = abs(spotTexC.z - SpotPos.z);
	if (mParameters.z <= mParameters.w)
	{
		SpotPos.y /= mParameters.z / mParameters.w;
		spotTexC.y /= mParameters.z / mParameters.w;
	}
	else
	{
		SpotPos.x /= mParameters.w / mParameters.z;
		spotTexC.x /= mParameters.w / mParameters.z;
	}
	float d = distance(SpotPos.xyz, spotTexC.xyz);

	if (d < dy * mParameters.x)
	{
		float k = (d / dy - 1.0) / (mParameters.x - 1.0);
		if (mLaser < 0.3)
			return base + col * clamp(2.0 * (falloff(k) - 0.11) * exp(-d / mParameters.y), 0.0, 2.0) * mLightColor;
		return base + 0.5 * mLightColor;
	}
	return base;
}

// Keeps the lightmap on alpha-channel materials while the flashlight is off:
// the texture times the lightmap, alpha included.

float4x4 mWorldViewProj;

sampler2D tex0 : register(s0);
sampler2D tex1 : register(s1); // the lightmap

struct VS_OUTPUT
{
	float4 Position  : POSITION;
	float2 TexCoord  : TEXCOORD0;
	float2 TexCoord1 : TEXCOORD1;
};

VS_OUTPUT vertexMain(float4 vPosition : POSITION, float2 texCoord : TEXCOORD0, float2 texCoord1 : TEXCOORD1)
{
	VS_OUTPUT Output;
	Output.Position = mul(vPosition, mWorldViewProj);
	Output.TexCoord = texCoord;
	Output.TexCoord1 = texCoord1;
	return Output;
}

float4 pixelMain(float2 TexCoord : TEXCOORD0, float2 TexCoord1 : TEXCOORD1) : COLOR0
{
	return tex2D(tex0, TexCoord) * tex2D(tex1, TexCoord1);
}

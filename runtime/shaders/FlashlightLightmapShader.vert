// Vertex stage of the flashlight on lightmapped materials: the point and the
// eye in the same clip space, and both texture coordinates.

uniform mat4 mWorldViewProj;
uniform vec3 mLightPos; // the eye, in the drawn node's own space

varying vec2 TexCoord;
varying vec2 TexCoord1;
varying vec4 spotTexC;
varying vec4 SpotPos;

void main()
{
	SpotPos = mWorldViewProj * gl_Vertex;
	gl_Position = SpotPos;
	TexCoord = gl_MultiTexCoord0.xy;
	TexCoord1 = gl_MultiTexCoord1.xy;
	spotTexC = mWorldViewProj * vec4(mLightPos, 1.0);
}

// Vertex stage of the flashlight: the point and the eye in the same clip
// space, for the cone test of the pixel stage.

uniform mat4 mWorldViewProj;
uniform vec3 mLightPos; // the eye, in the drawn node's own space

varying vec2 TexCoord;
varying vec4 spotTexC;
varying vec4 SpotPos;

void main()
{
	SpotPos = mWorldViewProj * gl_Vertex;
	gl_Position = SpotPos;
	TexCoord = gl_MultiTexCoord0.xy;
	spotTexC = mWorldViewProj * vec4(mLightPos, 1.0);
}

// Vertex stage of the flashlight: where the point lies from the eye in clip
// space, for the cone test of the pixel stage.

uniform mat4 mWorldViewProj;
uniform vec3 mLightPos;   // the eye, in the drawn node's own space

varying vec2 TexCoord;
// The point less the eye, both in clip space: a linear function of the
// vertex, so interpolating it gives per fragment what the fragment would
// compute from the two clip-space points, in one value instead of two.
varying vec3 SpotOffset;

void main()
{
	vec4 spotPos = mWorldViewProj * gl_Vertex;
	gl_Position = spotPos;
	TexCoord = gl_MultiTexCoord0.xy;
	SpotOffset = spotPos.xyz - (mWorldViewProj * vec4(mLightPos, 1.0)).xyz;
}

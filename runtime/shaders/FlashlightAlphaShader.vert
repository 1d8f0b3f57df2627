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
	// The matrix is linear: the point less the eye, transformed as a
	// direction, is the difference of the two transformed points.
	SpotOffset = (mWorldViewProj * vec4(gl_Vertex.xyz - mLightPos, 0.0)).xyz;
}

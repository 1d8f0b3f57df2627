// Vertex stage of the flashlight: where the point lies from the eye in clip
// space, for the cone test of the pixel stage.

uniform mat4 mWorldViewProj;
uniform vec3 mLightPos;   // the eye, in the drawn node's own space
uniform vec4 mParameters; // 1 / cos(cone angle), light distance, screen ratio X, screen ratio Y

varying vec2 TexCoord;
// The point less the eye, both in clip space, with the screen ratio
// corrected: a linear function of the vertex, so interpolating it gives per
// fragment what the fragment would compute from the two clip-space points,
// in one value instead of two.
varying vec3 SpotOffset;
// What the pixel stage would divide by, as factors: 1 / (mParameters.x - 1)
// and -1 / mParameters.y. Divisions are the dearest steps of a fragment on
// a software rasteriser; these are the same at every vertex.
varying vec2 Reciprocals;

void main()
{
	vec4 spotPos = mWorldViewProj * gl_Vertex;
	gl_Position = spotPos;
	TexCoord = gl_MultiTexCoord0.xy;
	// The matrix is linear: the point less the eye, transformed as a
	// direction, is the difference of the two transformed points.
	vec3 offset = (mWorldViewProj * vec4(gl_Vertex.xyz - mLightPos, 0.0)).xyz;
	// The screen ratio: y divided by X / Y when X <= Y, else x by Y / X.
	vec2 ratio = mParameters.z <= mParameters.w ? vec2(1.0, mParameters.w / mParameters.z)
		: vec2(mParameters.z / mParameters.w, 1.0);
	SpotOffset = vec3(offset.xy * ratio, offset.z);
	Reciprocals = vec2(1.0 / (mParameters.x - 1.0), -1.0 / mParameters.y);
}

// Vertex stage of the lightmap material: position and both coordinates.

uniform mat4 mWorldViewProj;

varying vec2 TexCoord;
varying vec2 TexCoord1;

void main()
{
	gl_Position = mWorldViewProj * gl_Vertex;
	TexCoord = gl_MultiTexCoord0.xy;
	TexCoord1 = gl_MultiTexCoord1.xy;
}

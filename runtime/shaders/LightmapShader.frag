// The texture times the lightmap, alpha included.

uniform sampler2D tex0;
uniform sampler2D tex1; // the lightmap

varying vec2 TexCoord;
varying vec2 TexCoord1;

void main()
{
	gl_FragColor = texture2D(tex0, TexCoord) * texture2D(tex1, TexCoord1);
}

#ifndef VISTEL_SHADER_TEXTS_H_INCLUDED
#define VISTEL_SHADER_TEXTS_H_INCLUDED

namespace vistel
{

// The shader programs of this folder, embedded at build time as
// zero-terminated texts. The HLSL texts hold both entry points
// ("vertexMain", "pixelMain") for the Direct3D 9 driver; the GLSL pairs
// compute the same values for the OpenGL driver.
extern const char FlashlightSolidShaderHlsl[];
extern const char FlashlightLightmapShaderHlsl[];
extern const char FlashlightAlphaShaderHlsl[];
extern const char LightmapShaderHlsl[];

extern const char FlashlightSolidShaderVert[];
extern const char FlashlightSolidShaderFrag[];
extern const char FlashlightLightmapShaderVert[];
extern const char FlashlightLightmapShaderFrag[];
extern const char FlashlightAlphaShaderVert[];
extern const char FlashlightAlphaShaderFrag[];
extern const char LightmapShaderVert[];
extern const char LightmapShaderFrag[];

} // end namespace vistel

#endif

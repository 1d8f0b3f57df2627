#ifndef VISTEL_SHADER_CONSTANT_HELPERS_H_INCLUDED
#define VISTEL_SHADER_CONSTANT_HELPERS_H_INCLUDED

namespace irr
{
namespace video
{
class IMaterialRendererServices;
}
}

namespace vistel
{

//! Sets "mWorldViewProj", projection x view x world of the node being drawn,
//! as 16 floats of the vertex stage.
void setWorldViewProjConstant(irr::video::IMaterialRendererServices* services);

//! Points the GLSL samplers "tex0" and "tex1" at texture units 0 and 1, where
//! the driver binds a material's first two textures; without it every GLSL
//! sampler reads unit 0. The HLSL programs fix their samplers by register,
//! so the Direct3D 9 driver is left alone. A program without "tex1" ignores it.
void setTextureUnitConstants(irr::video::IMaterialRendererServices* services);

} // end namespace vistel

#endif

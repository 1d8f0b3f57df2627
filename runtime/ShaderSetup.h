#ifndef VISTEL_SHADER_SETUP_H_INCLUDED
#define VISTEL_SHADER_SETUP_H_INCLUDED

namespace irr
{
class IrrlichtDevice;
namespace scene
{
class ISceneNode;
}
}

namespace vistel
{

struct SPreviewSettings;

//! The shader step of the scene set-up. Checks what the driver can run and
//! logs a warning for each missing shader stage (clearing `fx.useShader` and
//! the library-wide `pixelShader11Available` as needed), registers the four
//! flashlight materials and the lightmap material into the run state, and
//! switches the level's materials to the flashlight types: the flashlight
//! starts on. A missing device does nothing; a missing level node only skips
//! the flashlight materials.
void setUpShaderMaterials(irr::IrrlichtDevice* device, irr::scene::ISceneNode* levelNode,
	SPreviewSettings& settings);

} // end namespace vistel

#endif

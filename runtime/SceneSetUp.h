#ifndef VISTEL_SCENE_SET_UP_H_INCLUDED
#define VISTEL_SCENE_SET_UP_H_INCLUDED

#include <irrString.h>
#include <vector3d.h>

namespace irr
{
class IrrlichtDevice;
namespace scene
{
class IAnimatedMesh;
}
}

namespace vistel
{

struct SLevelSettings;
struct SPreviewSettings;

//! Builds the scene the render loop draws, from the loaded level and the
//! settings: the level node, its triangle selector, the camera with its
//! collision animator, the flashlight, the shader materials, the material
//! flags, the sky box, the clipping planes and the on-screen texts. Every
//! result goes into the run state. The level mesh must have a frame.
/** \param installDirectory the host's install directory with its trailing
separator; the normal-mapping variant loads its two textures from below it.
\return false when no level node could be made; the run state then holds
nothing the loop could draw. */
bool setUpScene(irr::IrrlichtDevice* device, irr::scene::IAnimatedMesh* levelMesh,
	SPreviewSettings& settings, const irr::core::stringc& installDirectory);

//! The level node's scale: each axis' percentage times 0.01.
irr::core::vector3df getLevelScale(const SLevelSettings& level);

//! True when the sky box is wanted and all six of its textures are set.
bool wantsSkyBox(const SLevelSettings& level);

} // end namespace vistel

#endif

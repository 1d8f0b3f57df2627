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

class ILoadProgress;
struct SLevelSettings;
struct SPreviewSettings;

//! Builds the scene the render loop draws, from the loaded level and the
//! settings: the level node, its triangle selector, the camera with its
//! collision animator, the flashlight, the shader materials, the material
//! flags, the sky box, the clipping planes and the on-screen texts. Every
//! result goes into the run state. The level mesh must have a frame.
/** \param installDirectory the host's install directory with its trailing
separator; the normal-mapping variant loads its two textures from below it.
\param progress when given, is told how the level node and the collision
data are built, and between the later steps; when it asks to stop, the
set-up ends before the camera is made.
\return false when no level node could be made, or the set-up was stopped;
the run state then holds nothing the loop could draw. */
bool setUpScene(irr::IrrlichtDevice* device, irr::scene::IAnimatedMesh* levelMesh,
	SPreviewSettings& settings, const irr::core::stringc& installDirectory, ILoadProgress* progress = 0);

//! The level node's scale: each axis' percentage times 0.01.
irr::core::vector3df getLevelScale(const SLevelSettings& level);

//! True when the sky box is wanted and all six of its textures are set.
bool wantsSkyBox(const SLevelSettings& level);

} // end namespace vistel

#endif

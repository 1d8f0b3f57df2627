#ifndef VISTEL_FLASHLIGHT_NODE_H_INCLUDED
#define VISTEL_FLASHLIGHT_NODE_H_INCLUDED

namespace irr
{
namespace scene
{
class ICameraSceneNode;
class ILightSceneNode;
class ISceneManager;
}
}

namespace vistel
{

//! Adds the spot light the viewer carries: white, radius 1000, cones of
//! 22.5 and 30 degrees, falloff 0.8, at the camera and aimed where it looks.
irr::scene::ILightSceneNode* addFlashlight(irr::scene::ISceneManager* sceneManager,
	irr::scene::ICameraSceneNode* camera);

//! Moves the light to the camera and turns it the way the camera looks.
/** A light node takes its spot direction from its rotation; a camera whose
target equals its position gives no direction and leaves the rotation. */
void aimFlashlight(irr::scene::ILightSceneNode* flashlight, irr::scene::ICameraSceneNode* camera);

} // end namespace vistel

#endif

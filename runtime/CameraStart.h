#ifndef VISTEL_CAMERA_START_H_INCLUDED
#define VISTEL_CAMERA_START_H_INCLUDED

#include <aabbox3d.h>
#include <vector3d.h>

namespace irr
{
namespace scene
{
class ICameraSceneNode;
class ISceneManager;
class ISceneNodeAnimatorCollisionResponse;
class ITriangleSelector;
}
}

namespace vistel
{

struct SCameraSettings;
struct SCollisionSettings;
struct SPreviewSettings;

// Where the camera starts and how it collides. The scene set-up and the
// camera reset both use these, so a reset restores the start exactly.

//! The camera's start position in the level node's own box (before the
//! level scale): the user position when asked for, else the box centre when
//! asked for, else (0, centre Y, 0).
irr::core::vector3df getStartPosition(const irr::core::aabbox3df& levelBox,
	const SCameraSettings& camera);

//! (0, gravity, 0) while gravity is on, else the zero vector.
irr::core::vector3df getGravityVector(const SCollisionSettings& collision);

//! Moves the ellipsoid so that the eye sits at the configured height in it:
//! 0 percent at its bottom, 50 at its centre, 100 at its top.
irr::core::vector3df getEllipsoidTranslation(const SCameraSettings& camera,
	const SCollisionSettings& collision);

//! A new collision animator for the camera against the level, not yet
//! attached. The caller owns the returned reference.
irr::scene::ISceneNodeAnimatorCollisionResponse* createCollisionAnimator(
	irr::scene::ISceneManager* sceneManager, irr::scene::ITriangleSelector* selector,
	irr::scene::ICameraSceneNode* camera, const SPreviewSettings& settings);

} // end namespace vistel

#endif

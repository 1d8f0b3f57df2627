#include "CameraStart.h"

#include "SPreviewSettings.h"

#include <ICameraSceneNode.h>
#include <ISceneManager.h>
#include <ISceneNodeAnimatorCollisionResponse.h>

using namespace irr;

namespace vistel
{

namespace
{

const f32 COLLISION_SLIDING_VALUE = 0.0005f;
const f32 EYE_HEIGHT_PER_PERCENT = 0.01f;

} // end anonymous namespace

core::vector3df getStartPosition(const core::aabbox3df& levelBox, const SCameraSettings& camera)
{
	const core::vector3df centre = (levelBox.MinEdge + levelBox.MaxEdge) * 0.5f;
	if (camera.useUserPosition)
		return camera.userPosition;
	if (camera.placeInCenter)
		return centre;
	return core::vector3df(0.f, centre.Y, 0.f);
}

core::vector3df getGravityVector(const SCollisionSettings& collision)
{
	return collision.gravityEnabled ? core::vector3df(0.f, collision.gravity, 0.f)
		: core::vector3df(0.f, 0.f, 0.f);
}

core::vector3df getEllipsoidTranslation(const SCameraSettings& camera,
	const SCollisionSettings& collision)
{
	const f32 radiusY = collision.ellipsoidRadius.Y;
	const f32 eyeHeight = static_cast<f32>(camera.ellipsoidPosition) * EYE_HEIGHT_PER_PERCENT
		* radiusY;
	return core::vector3df(0.f, 2.f * eyeHeight - radiusY, 0.f);
}

scene::ISceneNodeAnimatorCollisionResponse* createCollisionAnimator(
	scene::ISceneManager* sceneManager, scene::ITriangleSelector* selector,
	scene::ICameraSceneNode* camera, const SPreviewSettings& settings)
{
	return sceneManager->createCollisionResponseAnimator(selector, camera,
		settings.collision.ellipsoidRadius, getGravityVector(settings.collision),
		getEllipsoidTranslation(settings.camera, settings.collision), COLLISION_SLIDING_VALUE);
}

} // end namespace vistel

#include "FlashlightNode.h"

#include <ICameraSceneNode.h>
#include <ILightSceneNode.h>
#include <ISceneManager.h>

using namespace irr;

namespace vistel
{

namespace
{

const f32 FLASHLIGHT_RADIUS = 1000.f;
const f32 FLASHLIGHT_INNER_CONE_DEGREES = 22.5f;
const f32 FLASHLIGHT_OUTER_CONE_DEGREES = 30.f;
const f32 FLASHLIGHT_FALLOFF = 0.8f;

core::vector3df getViewDirection(scene::ICameraSceneNode* camera)
{
	core::vector3df direction = camera->getTarget() - camera->getPosition();
	if (direction.getLength() != 0.f)
		direction.normalize();
	return direction;
}

void turnLight(scene::ILightSceneNode* light, const core::vector3df& direction)
{
	// getHorizontalAngle of the zero vector points straight down; keep the
	// old rotation instead.
	if (direction.getLength() != 0.f)
		light->setRotation(direction.getHorizontalAngle());
}

} // end anonymous namespace

scene::ILightSceneNode* addFlashlight(scene::ISceneManager* sceneManager,
	scene::ICameraSceneNode* camera)
{
	const core::vector3df position = camera->getPosition();
	scene::ILightSceneNode* light = sceneManager->addLightSceneNode(0, position,
		video::SColorf(1.f, 1.f, 1.f, 1.f), FLASHLIGHT_RADIUS, -1);
	if (!light)
		return 0;
	light->setLightType(video::ELT_SPOT);
	video::SLight& data = light->getLightData();
	data.InnerCone = FLASHLIGHT_INNER_CONE_DEGREES;
	data.OuterCone = FLASHLIGHT_OUTER_CONE_DEGREES;
	data.Falloff = FLASHLIGHT_FALLOFF;
	light->setRadius(FLASHLIGHT_RADIUS);
	turnLight(light, getViewDirection(camera));
	return light;
}

void aimFlashlight(scene::ILightSceneNode* flashlight, scene::ICameraSceneNode* camera)
{
	if (!flashlight || !camera)
		return;
	flashlight->setPosition(camera->getPosition());
	turnLight(flashlight, getViewDirection(camera));
}

} // end namespace vistel

#include "CFlashlightShaderCallBack.h"

#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "ShaderConstantHelpers.h"

#include <IrrlichtDevice.h>
#include <ICameraSceneNode.h>
#include <IMaterialRendererServices.h>
#include <ISceneManager.h>
#include <IVideoDriver.h>

#include <cmath>

using namespace irr;

namespace vistel
{

namespace
{

// Below the programs' laser test value 0.3, except at 70 percent exactly.
f32 brightnessOutsideCone(const SPreviewSettings& settings)
{
	if (settings.fx.laserMode)
		return 1.0f;
	const s32 shadowOpacity = settings.level.shadowOpacity;
	if (shadowOpacity < 70)
		return 0.15f;
	return static_cast<f32>((100 - shadowOpacity) * 0.01);
}

// 1 / cos of the cone angle; the shaders compare distances against it, so it
// is computed in extended precision and rounded once.
f32 inverseConeCosine(f32 angleDegrees)
{
	const f32 radiansPerDegree = 0.01745328f;
	const long double angle = static_cast<long double>(angleDegrees) * radiansPerDegree;
	return static_cast<f32>(1.0L / std::cos(angle));
}

// The eye in the drawn node's own space: the programs take it through the
// node's world matrix, so a scaled level would otherwise move the cone off
// the viewing direction.
core::vector3df eyeInNodeSpace(video::IVideoDriver* driver, const core::vector3df& eye)
{
	core::matrix4 worldInverse;
	if (!driver->getTransform(video::ETS_WORLD).getInverse(worldInverse))
		return eye;
	core::vector3df local(eye);
	worldInverse.transformVect(local);
	return local;
}

void setEyePositionConstant(video::IMaterialRendererServices* services)
{
	IrrlichtDevice* device = getPreviewRunState().device;
	scene::ISceneManager* sceneManager = device ? device->getSceneManager() : 0;
	scene::ICameraSceneNode* camera = sceneManager ? sceneManager->getActiveCamera() : 0;
	if (!camera)
		return;
	const core::vector3df eye = eyeInNodeSpace(services->getVideoDriver(), camera->getAbsolutePosition());
	const f32 lightPos[3] = {eye.X, eye.Y, eye.Z};
	services->setVertexShaderConstant("mLightPos", lightPos, 3);
}

} // end anonymous namespace

void CFlashlightShaderCallBack::OnSetConstants(video::IMaterialRendererServices* services, s32)
{
	setWorldViewProjConstant(services);
	setEyePositionConstant(services);

	const SPreviewSettings& settings = getPreviewSettings();
	const f32 laser = brightnessOutsideCone(settings);

	const f32 perChannel = 0.003921569f;
	const video::SColor colour = settings.fx.flashlightColor;
	const f32 lightColor[4] = {
		colour.getRed() * perChannel, colour.getGreen() * perChannel,
		colour.getBlue() * perChannel, colour.getAlpha() * perChannel};

	const f32 parameters[4] = {
		inverseConeCosine(settings.fx.flashlightAngle), settings.fx.flashlightDistance,
		settings.fx.screenRatioX, settings.fx.screenRatioY};

	services->setPixelShaderConstant("mParameters", parameters, 4);
	services->setPixelShaderConstant("mLightColor", lightColor, 4);
	services->setPixelShaderConstant("mLaser", &laser, 1);
	setTextureUnitConstants(services);
}

} // end namespace vistel

#include "ShaderConstantHelpers.h"

#include <IMaterialRendererServices.h>
#include <IVideoDriver.h>

using namespace irr;

namespace vistel
{

void setWorldViewProjConstant(video::IMaterialRendererServices* services)
{
	video::IVideoDriver* driver = services->getVideoDriver();
	core::matrix4 worldViewProj = driver->getTransform(video::ETS_PROJECTION);
	worldViewProj *= driver->getTransform(video::ETS_VIEW);
	worldViewProj *= driver->getTransform(video::ETS_WORLD);
	services->setVertexShaderConstant("mWorldViewProj", worldViewProj.pointer(), 16);
}

void setTextureUnitConstants(video::IMaterialRendererServices* services)
{
	if (services->getVideoDriver()->getDriverType() == video::EDT_DIRECT3D9)
		return;
	const s32 firstUnit = 0;
	const s32 secondUnit = 1;
	services->setPixelShaderConstant("tex0", &firstUnit, 1);
	services->setPixelShaderConstant("tex1", &secondUnit, 1);
}

} // end namespace vistel

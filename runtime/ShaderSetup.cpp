#include "ShaderSetup.h"

#include "CFlashlightShaderCallBack.h"
#include "CLightmapShaderCallBack.h"
#include "FlashlightMaterials.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "ShaderTexts.h"

#include <IrrlichtDevice.h>
#include <IGPUProgrammingServices.h>
#include <ILogger.h>
#include <ISceneNode.h>
#include <IVideoDriver.h>

using namespace irr;

namespace vistel
{

namespace
{

const char* const PixelShaderWarning =
	"WARNING: Pixel shaders disabled because of missing driver/hardware support.";
const char* const VertexShaderWarning =
	"WARNING: Vertex shaders disabled because of missing driver/hardware support.";
const char* const FlashlightProgramWarning =
	"WARNING: Flashlight shaders disabled because a shader program could not be built.";

// One program as the driver takes it: the Direct3D 9 driver compiles one
// HLSL text for both stages, the other drivers get a GLSL pair.
struct SShaderProgram
{
	const char* vertexText;
	const char* pixelText;
};

enum EShaderProgram
{
	ESP_FLASHLIGHT_SOLID,
	ESP_FLASHLIGHT_LIGHTMAP,
	ESP_FLASHLIGHT_ALPHA,
	ESP_LIGHTMAP
};

SShaderProgram getShaderProgram(video::E_DRIVER_TYPE driverType, EShaderProgram program)
{
	const bool hlsl = driverType == video::EDT_DIRECT3D9;
	switch (program)
	{
	case ESP_FLASHLIGHT_SOLID:
		return hlsl ? SShaderProgram{FlashlightSolidShaderHlsl, FlashlightSolidShaderHlsl}
			: SShaderProgram{FlashlightSolidShaderVert, FlashlightSolidShaderFrag};
	case ESP_FLASHLIGHT_LIGHTMAP:
		return hlsl ? SShaderProgram{FlashlightLightmapShaderHlsl, FlashlightLightmapShaderHlsl}
			: SShaderProgram{FlashlightLightmapShaderVert, FlashlightLightmapShaderFrag};
	case ESP_FLASHLIGHT_ALPHA:
		return hlsl ? SShaderProgram{FlashlightAlphaShaderHlsl, FlashlightAlphaShaderHlsl}
			: SShaderProgram{FlashlightAlphaShaderVert, FlashlightAlphaShaderFrag};
	case ESP_LIGHTMAP:
	default:
		return hlsl ? SShaderProgram{LightmapShaderHlsl, LightmapShaderHlsl}
			: SShaderProgram{LightmapShaderVert, LightmapShaderFrag};
	}
}

s32 registerMaterial(video::IVideoDriver* driver, EShaderProgram program,
	video::E_PIXEL_SHADER_TYPE pixelProfile, video::IShaderConstantSetCallBack* callback,
	video::E_MATERIAL_TYPE baseMaterial)
{
	const SShaderProgram text = getShaderProgram(driver->getDriverType(), program);
	return driver->getGPUProgrammingServices()->addHighLevelShaderMaterial(
		text.vertexText, "vertexMain", video::EVST_VS_1_1,
		text.pixelText, "pixelMain", pixelProfile,
		callback, baseMaterial);
}

void checkShaderSupport(video::IVideoDriver* driver, ILogger* logger, SPreviewSettings& settings)
{
	if (!driver->queryFeature(video::EVDF_PIXEL_SHADER_2_0) &&
		!driver->queryFeature(video::EVDF_ARB_FRAGMENT_PROGRAM_1))
	{
		logger->log(PixelShaderWarning, ELL_INFORMATION);
		settings.fx.useShader = false;
	}
	if (!driver->queryFeature(video::EVDF_PIXEL_SHADER_1_1) &&
		!driver->queryFeature(video::EVDF_ARB_FRAGMENT_PROGRAM_1))
	{
		logger->log(PixelShaderWarning, ELL_INFORMATION);
		pixelShader11Available = false;
	}
	if (!driver->queryFeature(video::EVDF_VERTEX_SHADER_1_1) &&
		!driver->queryFeature(video::EVDF_ARB_VERTEX_PROGRAM_1))
	{
		logger->log(VertexShaderWarning, ELL_INFORMATION);
		settings.fx.useShader = false;
		pixelShader11Available = false;
	}
}

// Registers the four flashlight materials; true when all four were built.
bool registerFlashlightMaterials(video::IVideoDriver* driver, SPreviewRunState& state)
{
	video::IShaderConstantSetCallBack* callback = new CFlashlightShaderCallBack();
	state.flashlightSolidMaterial = registerMaterial(driver, ESP_FLASHLIGHT_SOLID,
		video::EPST_PS_2_0, callback, video::EMT_SOLID);
	state.flashlightLightmapMaterial = registerMaterial(driver, ESP_FLASHLIGHT_LIGHTMAP,
		video::EPST_PS_2_0, callback, video::EMT_LIGHTMAP_LIGHTING);
	state.flashlightLightmapAlphaMaterial = registerMaterial(driver, ESP_FLASHLIGHT_LIGHTMAP,
		video::EPST_PS_2_0, callback, video::EMT_TRANSPARENT_ALPHA_CHANNEL);
	state.flashlightAlphaMaterial = registerMaterial(driver, ESP_FLASHLIGHT_ALPHA,
		video::EPST_PS_2_0, callback, video::EMT_TRANSPARENT_ALPHA_CHANNEL);
	callback->drop();
	return state.flashlightSolidMaterial >= 0 && state.flashlightLightmapMaterial >= 0 &&
		state.flashlightLightmapAlphaMaterial >= 0 && state.flashlightAlphaMaterial >= 0;
}

// A shader material takes its blending from its base material, but Irrlicht's
// OpenGL driver applies the material's own blend operation after the base, and
// with none it turns blending off: alpha-channel materials would be drawn
// opaque. An explicit additive operation keeps the base's alpha blending on
// every driver, and stays with the material through every later swap.
void keepAlphaBlending(scene::ISceneNode* levelNode)
{
	for (u32 i = 0; i < levelNode->getMaterialCount(); ++i)
	{
		video::SMaterial& material = levelNode->getMaterial(i);
		if (material.MaterialType == video::EMT_TRANSPARENT_ALPHA_CHANNEL)
			material.BlendOperation = video::EBO_ADD;
	}
}

} // end anonymous namespace

void setUpShaderMaterials(IrrlichtDevice* device, scene::ISceneNode* levelNode, SPreviewSettings& settings)
{
	video::IVideoDriver* driver = device ? device->getVideoDriver() : 0;
	if (!driver)
		return;
	ILogger* logger = device->getLogger();
	checkShaderSupport(driver, logger, settings);

	SPreviewRunState& state = getPreviewRunState();
	const bool servicesExist = driver->getGPUProgrammingServices() != 0;

	// A failed program gives -1, which as a material type would draw the level
	// with no renderer, and several of them would make the swap table lose
	// which material was which. Then the flashlight stays the spot light only.
	if (!servicesExist)
		settings.fx.useShader = false;
	else if (settings.fx.useShader && levelNode)
	{
		if (registerFlashlightMaterials(driver, state))
		{
			keepAlphaBlending(levelNode);
			switchFlashlightMaterialsOn(levelNode);
		}
		else
		{
			logger->log(FlashlightProgramWarning, ELL_INFORMATION);
			settings.fx.useShader = false;
		}
	}

	state.lightmapAlphaMaterial = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
	if (pixelShader11Available && servicesExist)
	{
		video::IShaderConstantSetCallBack* callback = new CLightmapShaderCallBack();
		const s32 type = registerMaterial(driver, ESP_LIGHTMAP, video::EPST_PS_1_1, callback,
			video::EMT_TRANSPARENT_ALPHA_CHANNEL);
		callback->drop();
		if (type >= 0)
			state.lightmapAlphaMaterial = type;
	}
}

} // end namespace vistel

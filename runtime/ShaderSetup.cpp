#include "ShaderSetup.h"

#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <IrrlichtDevice.h>
#include <ILogger.h>
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

void checkShaderSupport(IrrlichtDevice* device, SPreviewSettings& settings)
{
	video::IVideoDriver* driver = device->getVideoDriver();
	ILogger* logger = device->getLogger();
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

} // end anonymous namespace

void setUpShaderMaterials(IrrlichtDevice* device, scene::ISceneNode* levelNode, SPreviewSettings& settings)
{
	(void)levelNode;
	if (!device || !device->getVideoDriver())
		return;
	checkShaderSupport(device, settings);
	// The shader programs follow; until then the level keeps its built-in types.
	settings.fx.useShader = false;
}

} // end namespace vistel

// The shader step on a driver that runs no shaders: warnings in the log, the
// effect off for the run, the level's materials untouched.

#include "OnScreenTexts.h"
#include "PreviewCommands.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "ShaderSetup.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace irr;
using namespace vistel;

namespace
{

class CLogRecorder : public IEventReceiver
{
public:
	virtual bool OnEvent(const SEvent& event)
	{
		if (event.EventType == EET_LOG_TEXT_EVENT && std::string(event.LogEvent.Text).rfind("WARNING", 0) == 0)
			warnings.push_back(event.LogEvent.Text);
		return true;
	}
	std::vector<std::string> warnings;
};

const char* const PixelWarning = "WARNING: Pixel shaders disabled because of missing driver/hardware support.";
const char* const VertexWarning = "WARNING: Vertex shaders disabled because of missing driver/hardware support.";

class ShaderSetupWithoutShaders : public ::testing::Test
{
protected:
	void SetUp() override
	{
		device = createDevice(video::EDT_NULL, core::dimension2du(64, 64), 32, false, false, false, &recorder);
		ASSERT_TRUE(device);
		getPreviewRunState().clearRunReferences();
		getPreviewRunState().device = device;
		pixelShader11Available = true;
		settings = makeDefaultPreviewSettings();

		scene::SMesh* mesh = new scene::SMesh();
		const video::E_MATERIAL_TYPE types[] = {video::EMT_SOLID, video::EMT_LIGHTMAP_LIGHTING,
			video::EMT_TRANSPARENT_ALPHA_CHANNEL};
		for (video::E_MATERIAL_TYPE type : types)
		{
			scene::SMeshBuffer* buffer = new scene::SMeshBuffer();
			buffer->Material.MaterialType = type;
			mesh->addMeshBuffer(buffer);
			buffer->drop();
		}
		level = device->getSceneManager()->addMeshSceneNode(mesh);
		mesh->drop();
	}

	void TearDown() override
	{
		getPreviewRunState().clearRunReferences();
		pixelShader11Available = true;
		if (device)
			device->drop();
	}

	CLogRecorder recorder;
	IrrlichtDevice* device = nullptr;
	scene::ISceneNode* level = nullptr;
	SPreviewSettings settings;
};

TEST_F(ShaderSetupWithoutShaders, WarnsAndTurnsTheEffectOff)
{
	recorder.warnings.clear();
	setUpShaderMaterials(device, level, settings);

	EXPECT_EQ((std::vector<std::string>{PixelWarning, PixelWarning, VertexWarning}), recorder.warnings);
	EXPECT_FALSE(settings.fx.useShader);
	EXPECT_FALSE(pixelShader11Available);
	const SPreviewRunState& state = getPreviewRunState();
	EXPECT_EQ(video::EMT_TRANSPARENT_ALPHA_CHANNEL, state.lightmapAlphaMaterial);
	EXPECT_EQ(video::EMT_SOLID, level->getMaterial(0).MaterialType);
	EXPECT_EQ(video::EMT_LIGHTMAP_LIGHTING, level->getMaterial(1).MaterialType);
	EXPECT_EQ(video::EMT_TRANSPARENT_ALPHA_CHANNEL, level->getMaterial(2).MaterialType);
}

// Without shaders the info screen says so and F only shows and hides the
// spot light.
TEST_F(ShaderSetupWithoutShaders, FlashlightIsTheSpotLightAlone)
{
	setUpShaderMaterials(device, level, settings);
	SPreviewRunState& state = getPreviewRunState();
	state.levelNode = level;
	state.flashlightNode = device->getSceneManager()->addLightSceneNode();

	EXPECT_NE(-1, buildInfoScreen(0, 0, settings).find(L"SHADERS DISABLED\n"));
	const video::E_MATERIAL_TYPE loaded[] = {video::EMT_SOLID, video::EMT_LIGHTMAP_LIGHTING,
		video::EMT_TRANSPARENT_ALPHA_CHANNEL};
	for (bool visibleAfter : {false, true})
	{
		toggleFlashlight(settings);
		EXPECT_EQ(visibleAfter, state.flashlightNode->isVisible());
		for (u32 i = 0; i < 3; ++i)
			EXPECT_EQ(loaded[i], level->getMaterial(i).MaterialType);
	}
}

TEST_F(ShaderSetupWithoutShaders, MissingDeviceOrLevelIsHarmless)
{
	setUpShaderMaterials(0, level, settings);
	EXPECT_TRUE(settings.fx.useShader);
	setUpShaderMaterials(device, 0, settings);
	EXPECT_FALSE(settings.fx.useShader);
}

} // end anonymous namespace

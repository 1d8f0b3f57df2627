// The shader step on an OpenGL driver that has the ARB programs, which the
// capability checks accept, but no GLSL to build the programs with: Mesa is
// asked for such a context. Needs an X display; runs in a process of its own.

#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "ShaderSetup.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>
#include <vector>

using namespace irr;
using namespace vistel;

namespace
{

class CWarningRecorder : public IEventReceiver
{
public:
	virtual bool OnEvent(const SEvent& event)
	{
		if (event.EventType == EET_LOG_TEXT_EVENT && std::string(event.LogEvent.Text).rfind("WARNING", 0) == 0)
			warnings.push_back(event.LogEvent.Text);
		return false;
	}
	std::vector<std::string> warnings;
};

// Failed programs leave the level as it was loaded and the effect off for the
// run, so the flashlight is the spot light alone and F swaps nothing.
TEST(ShaderSetupWithoutGlsl, LevelKeepsItsMaterialsAndTheEffectIsOff)
{
	setenv("MESA_GL_VERSION_OVERRIDE", "1.5", 1);
	setenv("MESA_EXTENSION_OVERRIDE",
		"-GL_ARB_shader_objects -GL_ARB_vertex_shader -GL_ARB_fragment_shader -GL_ARB_shading_language_100", 1);
	CWarningRecorder recorder;
	IrrlichtDevice* device = createDevice(video::EDT_OPENGL, core::dimension2du(64, 48), 32, false, false, false,
		&recorder);
	ASSERT_TRUE(device) << "no OpenGL device (an X display is needed)";
	video::IVideoDriver* driver = device->getVideoDriver();
	ASSERT_TRUE(driver->queryFeature(video::EVDF_ARB_FRAGMENT_PROGRAM_1));
	ASSERT_FALSE(driver->queryFeature(video::EVDF_ARB_GLSL));

	scene::SMesh* mesh = new scene::SMesh();
	const video::E_MATERIAL_TYPE loaded[] = {video::EMT_SOLID, video::EMT_LIGHTMAP_LIGHTING,
		video::EMT_TRANSPARENT_ALPHA_CHANNEL};
	for (video::E_MATERIAL_TYPE type : loaded)
	{
		scene::SMeshBuffer* buffer = new scene::SMeshBuffer();
		buffer->Material.MaterialType = type;
		mesh->addMeshBuffer(buffer);
		buffer->drop();
	}
	scene::ISceneNode* level = device->getSceneManager()->addMeshSceneNode(mesh);
	mesh->drop();
	getPreviewRunState().clearRunReferences();
	getPreviewRunState().device = device;
	pixelShader11Available = true;
	SPreviewSettings settings = makeDefaultPreviewSettings();

	setUpShaderMaterials(device, level, settings);

	EXPECT_EQ(std::vector<std::string>{
		"WARNING: Flashlight shaders disabled because a shader program could not be built."}, recorder.warnings);
	EXPECT_FALSE(settings.fx.useShader);
	EXPECT_TRUE(pixelShader11Available) << "the hardware check passed; only this run's programs failed";
	EXPECT_EQ(video::EMT_TRANSPARENT_ALPHA_CHANNEL, getPreviewRunState().lightmapAlphaMaterial);
	for (u32 i = 0; i < 3; ++i)
		EXPECT_EQ(loaded[i], level->getMaterial(i).MaterialType);

	getPreviewRunState().clearRunReferences();
	device->drop();
}

} // end anonymous namespace

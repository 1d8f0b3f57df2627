// A lit level (shadows not ignored) with the flashlight switched off shows
// the scene's ambient light, drawn on the real OpenGL driver: the level is
// loaded from a scene file through the loader, set up as the preview does,
// and one frame is drawn. Needs an X display.

#include "CTXSMeshFileLoader.h"
#include "CTemporaryDirectory.h"
#include "HostReplies.h"
#include "PreviewCommands.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "SceneSetUp.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <string>

using namespace irr;
using namespace vistel;

namespace
{

const u32 Width = 160;
const u32 Height = 120;

// The editor's document of a wall 50 units ahead of the start pose, the left
// half lightmapped (white texture, white lightmap), the right half solid
// white. Both materials are plain colour layers, so no texture file is
// needed. The scene settings come from the element the run inserts after
// the first line, which may be an XML declaration (declaration empty: none).
std::string wallDocument(const std::string& declaration)
{
	const char* corners[] = {
		"x=\"-200\" y=\"-200\"", "x=\"0\" y=\"-200\"", "x=\"0\" y=\"200\"", "x=\"-200\" y=\"200\"",
		"x=\"0\" y=\"-200\"", "x=\"200\" y=\"-200\"", "x=\"200\" y=\"200\"", "x=\"0\" y=\"200\""};
	std::string vertices = "<vertices>";
	for (int i = 0; i < 8; ++i)
		vertices += "<vertex id=\"" + std::to_string(i) + "\" " + corners[i] + " z=\"-50\" />";
	vertices += "</vertices>";
	auto poly = [](int mid, int first) {
		std::string out = "<poly mid=\"" + std::to_string(mid) + "\">";
		for (int i = first; i < first + 4; ++i)
			out += "<vertex vid=\"" + std::to_string(i) + "\" u0=\"0\" v0=\"0\" u1=\"0\" v1=\"0\" />";
		return out + "</poly>";
	};
	const std::string white = "<color a=\"255\" r=\"255\" g=\"255\" b=\"255\" />";
	return (declaration.empty() ? std::string() : declaration + "\n") + "<scene version=\"1.6\">\n"
		   "<materials><category name=\"C\">"
		   "<material name=\"L\" id=\"1\" used=\"true\"><layer type=\"texture\" blend=\"\">" + white +
		"</layer><layer type=\"lightmap\" blend=\"\">" + white + "</layer></material>"
		   "<material name=\"S\" id=\"2\" used=\"true\"><layer type=\"texture\" blend=\"\">" + white +
		"</layer></material>"
		   "</category></materials><primitives><primitive name=\"Wall\" id=\"1\">" + vertices +
		"<polygons>" + poly(1, 0) + poly(2, 4) + "</polygons></primitive></primitives></scene>";
}

struct SLightingCase
{
	const char* name;
	bool useShader;
	const char* declaration;
};

void PrintTo(const SLightingCase& c, std::ostream* os) { *os << c.name; }

class AmbientLightPixels : public ::testing::TestWithParam<SLightingCase>
{
protected:
	void SetUp() override
	{
		Device = createDevice(video::EDT_OPENGL, core::dimension2du(Width, Height), 32, false, false, false, 0);
		ASSERT_TRUE(Device) << "no OpenGL device (an X display is needed)";
		SPreviewRunState& state = getPreviewRunState();
		state.clearRunReferences();
		state.device = Device;
		state.timer = Device->getTimer();
	}

	void TearDown() override
	{
		getPreviewRunState().clearRunReferences();
		if (Device)
			Device->drop();
	}

	// Loads the wall as the preview run does and sets the scene up.
	void setUpWall(SPreviewSettings& settings, const char* declaration)
	{
		const std::string path = Directory / "myfile.txs";
		test::writeFile(path, buildSceneFileText(wallDocument(declaration)));
		scene::ISceneManager* sceneManager = Device->getSceneManager();
		CTXSMeshFileLoader* loader = new CTXSMeshFileLoader(Device->getVideoDriver(), sceneManager,
			Device->getFileSystem());
		sceneManager->addExternalMeshLoader(loader);
		loader->drop();
		io::IAttributes* parameters = sceneManager->getParameters();
		parameters->setAttribute("TXS_TexturePath", Directory.path().c_str());
		parameters->setAttribute("TXS_MaterialsDir", "true");
		parameters->setAttribute("TXS_AlphaRef", "0.010000");
		parameters->setAttribute("TXS_FlipAlpha", "true");
		parameters->setAttribute("TXS_ParentName", "true");
		scene::IAnimatedMesh* level = sceneManager->getMesh(path.c_str());
		ASSERT_TRUE(level && level->getFrameCount() == 1);
		ASSERT_TRUE(setUpScene(Device, level, settings, (Directory.path() + "/").c_str()));
	}

	// One frame of the scene into a render target; the centre row.
	std::vector<video::SColor> drawCentreRow()
	{
		std::vector<video::SColor> row;
		video::IVideoDriver* driver = Device->getVideoDriver();
		video::ITexture* target = driver->addRenderTargetTexture(core::dimension2du(Width, Height), "rt",
			video::ECF_A8R8G8B8);
		if (!target)
		{
			ADD_FAILURE() << "no render target";
			return row;
		}
		const video::SColor background(255, 0, 0, 255);
		driver->beginScene(true, true, background);
		driver->setRenderTarget(target, true, true, background);
		Device->getSceneManager()->drawAll();
		driver->setRenderTarget(0, false, false);
		driver->endScene();
		const u8* pixels = static_cast<const u8*>(target->lock(video::ETLM_READ_ONLY));
		if (!pixels)
		{
			ADD_FAILURE() << "the render target cannot be read";
			return row;
		}
		const u32* line = reinterpret_cast<const u32*>(pixels + (Height / 2) * target->getPitch());
		for (u32 x = 0; x < Width; ++x)
			row.push_back(video::SColor(line[x]));
		target->unlock();
		return row;
	}

	IrrlichtDevice* Device = 0;
	test::CTemporaryDirectory Directory;
};

TEST_P(AmbientLightPixels, FlashlightOffShowsTheAmbientGrey)
{
	const SLightingCase& c = GetParam();
	SPreviewSettings& settings = getPreviewSettings();
	settings = makeDefaultPreviewSettings();
	settings.engine.ignoreShadows = false;
	settings.engine.backfaceCulling = false;
	settings.collision.collisionEnabled = false;
	settings.fx.useShader = c.useShader;
	setUpWall(settings, c.declaration);
	if (HasFatalFailure())
		return;
	toggleFlashlight(settings);
	ASSERT_FALSE(getPreviewRunState().flashlightNode->isVisible());

	const std::vector<video::SColor> row = drawCentreRow();
	ASSERT_EQ(Width, row.size());
	// White lit by the ambient light alone: 92 of 255 on the lightmapped
	// half; on the solid half the material's darkened ambient colour (23)
	// takes its part too: 92 x 23 / 255, about 8.
	const video::SColor lightmapped = row[Width / 4];
	const video::SColor solid = row[3 * Width / 4];
	for (const video::SColor& pixel : {lightmapped, solid})
	{
		EXPECT_EQ(pixel.getRed(), pixel.getGreen());
		EXPECT_EQ(pixel.getRed(), pixel.getBlue()) << "grey, not the background";
	}
	EXPECT_NEAR(92, int(lightmapped.getRed()), 3);
	EXPECT_NEAR(8, int(solid.getRed()), 3);
}

INSTANTIATE_TEST_SUITE_P(Shaders, AmbientLightPixels,
	::testing::Values(SLightingCase{"shadersOn", true, ""}, SLightingCase{"shadersOff", false, ""},
		SLightingCase{"shadersOnAfterDeclaration", true, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"},
		SLightingCase{"shadersOffAfterDeclaration", false, "<?xml version=\"1.0\"?>"}),
	[](const ::testing::TestParamInfo<SLightingCase>& info) { return std::string(info.param.name); });

} // end anonymous namespace

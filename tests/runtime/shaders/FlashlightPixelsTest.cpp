// Draws a textured wall that fills the view with each shader material on the
// real OpenGL driver and compares the row of pixels through the centre with
// the CPU reference. Needs an X display.

#include "FlashlightReference.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "FlashlightMaterials.h"
#include "PreviewCommands.h"
#include "ShaderSetup.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace irr;
using namespace vistel;
using namespace vistel::reference;

namespace
{

const u32 Width = 320;
const u32 Height = 240;
const f32 WallDistance = 100.f;
const core::vector3df Eye(10.f, 20.f, -30.f);
const video::SColor Background(255, 20, 40, 60);

// Two texels each: the wall's left half and right half. The lightmap is laid
// mirrored, so a program reading it with the wrong coordinates is caught.
const u32 BaseLeft = 0x005A3C1E;
const u32 BaseRight = 0x0028506E;
const u32 LightmapLeft = 0xFFFF8040;
const u32 LightmapRight = 0xFF40C8FF;

const video::E_MATERIAL_TYPE Solid = video::EMT_SOLID;
const video::E_MATERIAL_TYPE Lightmapped = video::EMT_LIGHTMAP_LIGHTING;
const video::E_MATERIAL_TYPE AlphaChannel = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
const u32 White = 0xFFFFFFFF;
const u32 DialogOrange = 0x00FF8040; // the colour dialog leaves alpha 0
const u32 LaserRed = 0x00FF0000;

class CLogRecorder : public IEventReceiver
{
public:
	virtual bool OnEvent(const SEvent& event)
	{
		if (event.EventType == EET_LOG_TEXT_EVENT)
			lines.push_back(event.LogEvent.Text);
		return false;
	}
	std::vector<std::string> lines;
};

video::ITexture* makeTwoTexelTexture(video::IVideoDriver* driver, const char* name, u32 left, u32 right)
{
	video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(2, 1));
	image->setPixel(0, 0, video::SColor(left));
	image->setPixel(1, 0, video::SColor(right));
	video::ITexture* texture = driver->addTexture(name, image);
	image->drop();
	return texture;
}

// The wall in the node's own space, so that the node's scale puts it at
// WallDistance in front of the eye, reaching past the view on every side.
scene::IMesh* makeWallMesh(f32 scale, bool withLightmappedBuffer = false)
{
	const f32 reach = 200.f;
	const f32 z = (Eye.Z + WallDistance) / scale;
	const f32 left = (Eye.X - reach) / scale, right = (Eye.X + reach) / scale;
	const f32 top = (Eye.Y + reach) / scale, bottom = (Eye.Y - reach) / scale;
	scene::SMeshBufferLightMap* buffer = new scene::SMeshBufferLightMap();
	const video::SColor white(255, 255, 255, 255);
	buffer->Vertices.push_back(video::S3DVertex2TCoords(left, top, z, white, 0.f, 0.f, 1.f, 0.f));
	buffer->Vertices.push_back(video::S3DVertex2TCoords(right, top, z, white, 1.f, 0.f, 0.f, 0.f));
	buffer->Vertices.push_back(video::S3DVertex2TCoords(right, bottom, z, white, 1.f, 1.f, 0.f, 1.f));
	buffer->Vertices.push_back(video::S3DVertex2TCoords(left, bottom, z, white, 0.f, 1.f, 1.f, 1.f));
	const u16 indices[] = {0, 1, 2, 0, 2, 3};
	for (u16 index : indices)
		buffer->Indices.push_back(index);
	buffer->recalculateBoundingBox();
	scene::SMesh* mesh = new scene::SMesh();
	mesh->addMeshBuffer(buffer);
	buffer->drop();
	if (withLightmappedBuffer)
	{
		// A lightmapped material elsewhere in the level, with nothing to draw.
		scene::SMeshBufferLightMap* lightmapped = new scene::SMeshBufferLightMap();
		lightmapped->Material.MaterialType = video::EMT_LIGHTMAP_LIGHTING;
		mesh->addMeshBuffer(lightmapped);
		lightmapped->drop();
	}
	mesh->recalculateBoundingBox();
	return mesh;
}

struct SPixelCase
{
	const char* name;
	EProgram program;             // what the wall should end up drawn with
	video::E_MATERIAL_TYPE level; // the wall's type as the level was loaded
	bool levelHasLightmaps;
	bool switchedOff;             // the flashlight switched off after the set-up
	s32 shadowOpacity;
	bool laserMode;
	f32 angle;
	f32 distance;
	u32 colour;
	u8 baseAlpha;
	f32 scale;
};

void PrintTo(const SPixelCase& c, std::ostream* os) { *os << c.name; }

class FlashlightPixels : public ::testing::TestWithParam<SPixelCase>
{
public:
	static void SetUpTestSuite()
	{
		recorder = new CLogRecorder();
		device = createDevice(video::EDT_OPENGL, core::dimension2du(Width, Height), 32, false, false, false, recorder);
		if (!device)
			return;
		video::IVideoDriver* driver = device->getVideoDriver();
		scene::ISceneManager* sceneManager = device->getSceneManager();
		driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
		target = driver->addRenderTargetTexture(core::dimension2du(Width, Height), "rt", video::ECF_A8R8G8B8);

		camera = sceneManager->addCameraSceneNode(0, Eye, Eye + core::vector3df(0.f, 0.f, 1.f));
		camera->setAspectRatio(f32(Width) / f32(Height));

		SPreviewRunState& state = getPreviewRunState();
		state.clearRunReferences();
		state.device = device;
		pixelShader11Available = true;
		SPreviewSettings& settings = getPreviewSettings();
		settings = makeDefaultPreviewSettings();

		// Registers the materials through the set-up's own shader step.
		scene::IMesh* mesh = makeWallMesh(1.f);
		scene::ISceneNode* node = sceneManager->addMeshSceneNode(mesh);
		mesh->drop();
		setUpShaderMaterials(device, node, settings);
		setUpLog = recorder->lines;
		shadersInUse = settings.fx.useShader;
		firstSwapType = node->getMaterial(0).MaterialType;
		node->remove();
	}

	static void TearDownTestSuite()
	{
		getPreviewRunState().clearRunReferences();
		if (device)
			device->drop();
		device = 0;
		delete recorder;
	}

protected:
	void SetUp() override
	{
		ASSERT_TRUE(device) << "no OpenGL device (an X display is needed)";
		ASSERT_TRUE(target);
		ASSERT_TRUE(shadersInUse) << "the shader step turned the shaders off";
	}

	// Renders the wall with the case's material and settings and returns the
	// centre row, top-to-bottom orientation being irrelevant for it.
	std::vector<video::SColor> renderCentreRow(const SPixelCase& c)
	{
		video::IVideoDriver* driver = device->getVideoDriver();
		scene::ISceneManager* sceneManager = device->getSceneManager();
		SPreviewSettings& settings = getPreviewSettings();
		settings = makeDefaultPreviewSettings();
		settings.level.shadowOpacity = c.shadowOpacity;
		settings.fx.laserMode = c.laserMode;
		settings.fx.flashlightAngle = c.angle;
		settings.fx.flashlightDistance = c.distance;
		settings.fx.flashlightColor = video::SColor(c.colour);

		// The wall goes through the set-up's shader step and, for some cases,
		// the flashlight command's switch, as a level does.
		const std::string suffix = std::to_string(c.baseAlpha);
		scene::IMesh* mesh = makeWallMesh(c.scale, c.levelHasLightmaps);
		scene::ISceneNode* wall = sceneManager->addMeshSceneNode(mesh);
		mesh->drop();
		wall->setScale(core::vector3df(c.scale, c.scale, c.scale));
		video::SMaterial& material = wall->getMaterial(0);
		material.MaterialType = c.level;
		material.Lighting = false;
		material.BackfaceCulling = false;
		material.setTexture(0, makeTwoTexelTexture(driver, ("base" + suffix).c_str(),
			BaseLeft | (u32(c.baseAlpha) << 24), BaseRight | (u32(c.baseAlpha) << 24)));
		material.setTexture(1, makeTwoTexelTexture(driver, "lightmap", LightmapLeft, LightmapRight));
		material.TextureLayer[0].BilinearFilter = false;
		material.TextureLayer[1].BilinearFilter = false;
		setUpShaderMaterials(device, wall, settings);
		if (c.switchedOff)
			switchFlashlightMaterialsOff(wall);
		EXPECT_EQ(materialTypeOf(c.program, isBlended(c)), wall->getMaterial(0).MaterialType);

		recorder->lines.clear();
		driver->beginScene(true, true, Background);
		driver->setRenderTarget(target, true, true, Background);
		sceneManager->drawAll();
		driver->setRenderTarget(0, false, false);
		driver->endScene();
		wall->remove();
		for (const std::string& line : recorder->lines)
			ADD_FAILURE() << "logged while drawing: " << line;

		std::vector<video::SColor> row;
		EXPECT_EQ(video::ECF_A8R8G8B8, target->getColorFormat());
		const u8* pixels = static_cast<const u8*>(target->lock(video::ETLM_READ_ONLY));
		if (!pixels)
		{
			ADD_FAILURE() << "the render target cannot be read";
			return row;
		}
		const u8* line = pixels + (Height / 2) * target->getPitch();
		for (u32 x = 0; x < Width; ++x)
			row.push_back(video::SColor(reinterpret_cast<const u32*>(line)[x]));
		target->unlock();
		return row;
	}

	static bool isBlended(const SPixelCase& c) { return c.level == video::EMT_TRANSPARENT_ALPHA_CHANNEL; }

	static s32 materialTypeOf(EProgram program, bool blended)
	{
		const SPreviewRunState& state = getPreviewRunState();
		switch (program)
		{
		case EP_FLASHLIGHT_SOLID: return state.flashlightSolidMaterial;
		case EP_FLASHLIGHT_LIGHTMAP:
			return blended ? state.flashlightLightmapAlphaMaterial : state.flashlightLightmapMaterial;
		case EP_FLASHLIGHT_ALPHA: return state.flashlightAlphaMaterial;
		default: return state.lightmapAlphaMaterial;
		}
	}

	// What the centre row's pixel x should be; nearEdge when the pixel centre
	// lies too close to the cone's edge to tell the side.
	static SShaded expectedPixel(const SPixelCase& c, u32 x)
	{
		const core::matrix4 viewProjection = camera->getProjectionMatrix() * camera->getViewMatrix();
		const f32 ndcX = (x + 0.5f) / Width * 2.f - 1.f;
		const f32 ndcY = 1.f - (Height / 2 + 0.5f) / Height * 2.f;
		const core::vector3df point = Eye + core::vector3df(
			ndcX * WallDistance / camera->getProjectionMatrix()[0],
			ndcY * WallDistance / camera->getProjectionMatrix()[5], WallDistance);
		f32 spot32[4], light32[4];
		viewProjection.transformVect(spot32, point);
		viewProjection.transformVect(light32, Eye);
		double spot[4] = {spot32[0], spot32[1], spot32[2], spot32[3]};
		double light[4] = {light32[0], light32[1], light32[2], light32[3]};

		const bool leftHalf = point.X < Eye.X;
		const SRgba base = fromColour((leftHalf ? BaseLeft : BaseRight) | (u32(c.baseAlpha) << 24));
		const SRgba lightmap = fromColour(leftHalf ? LightmapRight : LightmapLeft);
		SShaded shaded = shade(c.program, constantsFor(getPreviewSettings()), base, lightmap, spot, light);

		SRgba& out = shaded.colour;
		out = {std::clamp(out.r, 0.0, 1.0), std::clamp(out.g, 0.0, 1.0), std::clamp(out.b, 0.0, 1.0),
			std::clamp(out.a, 0.0, 1.0)};
		if (isBlended(c))
		{
			const SRgba background = fromColour(Background.color);
			out = out * out.a + background * (1.0 - out.a);
		}
		return shaded;
	}

	static IrrlichtDevice* device;
	static CLogRecorder* recorder;
	static video::ITexture* target;
	static scene::ICameraSceneNode* camera;
	static std::vector<std::string> setUpLog;
	static bool shadersInUse;
	static s32 firstSwapType;
};

IrrlichtDevice* FlashlightPixels::device = 0;
CLogRecorder* FlashlightPixels::recorder = 0;
video::ITexture* FlashlightPixels::target = 0;
scene::ICameraSceneNode* FlashlightPixels::camera = 0;
std::vector<std::string> FlashlightPixels::setUpLog;
bool FlashlightPixels::shadersInUse = false;
s32 FlashlightPixels::firstSwapType = -1;

int channelError(double expected, u32 actual)
{
	return std::abs(int(std::lround(expected * 255.0)) - int(actual));
}

TEST_P(FlashlightPixels, CentreRowMatchesTheReference)
{
	const SPixelCase& c = GetParam();
	const std::vector<video::SColor> row = renderCentreRow(c);
	ASSERT_EQ(Width, row.size());

	int worst = 0;
	u32 compared = 0;
	for (u32 x = 0; x < Width; ++x)
	{
		const SShaded expected = expectedPixel(c, x);
		if (expected.nearConeEdge)
			continue;
		++compared;
		const int error = std::max({channelError(expected.colour.r, row[x].getRed()),
			channelError(expected.colour.g, row[x].getGreen()), channelError(expected.colour.b, row[x].getBlue())});
		worst = std::max(worst, error);
		EXPECT_LE(error, 2) << "column " << x << ": drawn " << row[x].getRed() << "," << row[x].getGreen()
			<< "," << row[x].getBlue() << ", expected " << expected.colour.r * 255 << ","
			<< expected.colour.g * 255 << "," << expected.colour.b * 255;
	}
	EXPECT_GE(compared, Width - 6);
	std::printf("%s: largest channel error %d of 255 over %u pixels\n", c.name, worst, compared);
}


INSTANTIATE_TEST_SUITE_P(Materials, FlashlightPixels, ::testing::Values(
	SPixelCase{"solid", EP_FLASHLIGHT_SOLID, Solid, false, false, 75, false, 30.f, 500.f, White, 255, 1.f},
	SPixelCase{"solidTinted", EP_FLASHLIGHT_SOLID, Solid, false, false, 75, false, 30.f, 500.f, DialogOrange, 255, 1.f},
	SPixelCase{"solidOpacity0", EP_FLASHLIGHT_SOLID, Solid, false, false, 0, false, 30.f, 500.f, White, 255, 1.f},
	SPixelCase{"solidOpacity70", EP_FLASHLIGHT_SOLID, Solid, false, false, 70, false, 30.f, 500.f, DialogOrange, 255, 1.f},
	SPixelCase{"solidOpacity100", EP_FLASHLIGHT_SOLID, Solid, false, false, 100, false, 30.f, 500.f, White, 255, 1.f},
	SPixelCase{"solidNear", EP_FLASHLIGHT_SOLID, Solid, false, false, 75, false, 45.f, 60.f, White, 255, 1.f},
	SPixelCase{"solidLaser", EP_FLASHLIGHT_SOLID, Solid, false, false, 75, true, 1.f, 2000.f, LaserRed, 255, 1.f},
	SPixelCase{"solidScaledLevel", EP_FLASHLIGHT_SOLID, Solid, false, false, 75, false, 30.f, 500.f, DialogOrange, 255, 0.5f},
	SPixelCase{"lightmap", EP_FLASHLIGHT_LIGHTMAP, Lightmapped, true, false, 75, false, 30.f, 500.f, White, 255, 1.f},
	SPixelCase{"lightmapOpacity70", EP_FLASHLIGHT_LIGHTMAP, Lightmapped, true, false, 70, false, 30.f, 500.f, DialogOrange, 255, 1.f},
	SPixelCase{"lightmapLaser", EP_FLASHLIGHT_LIGHTMAP, Lightmapped, true, false, 75, true, 10.f, 2000.f, LaserRed, 255, 1.f},
	SPixelCase{"lightmapAlpha", EP_FLASHLIGHT_LIGHTMAP, AlphaChannel, true, false, 75, false, 30.f, 500.f, DialogOrange, 153, 1.f},
	SPixelCase{"alpha", EP_FLASHLIGHT_ALPHA, AlphaChannel, false, false, 75, false, 30.f, 500.f, DialogOrange, 153, 1.f},
	SPixelCase{"alphaWhiteLight", EP_FLASHLIGHT_ALPHA, AlphaChannel, false, false, 75, false, 30.f, 500.f, White, 153, 1.f},
	SPixelCase{"alphaOpacity70", EP_FLASHLIGHT_ALPHA, AlphaChannel, false, false, 70, false, 30.f, 500.f, DialogOrange, 255, 1.f},
	SPixelCase{"alphaLaser", EP_FLASHLIGHT_ALPHA, AlphaChannel, false, false, 75, true, 10.f, 2000.f, LaserRed, 255, 1.f},
	SPixelCase{"lightmapShader", EP_LIGHTMAP, AlphaChannel, true, true, 75, false, 30.f, 500.f, White, 153, 1.f}),
	[](const ::testing::TestParamInfo<SPixelCase>& info) { return std::string(info.param.name); });

TEST_F(FlashlightPixels, ShaderStepBuildsEveryProgramWithoutComplaint)
{
	const SPreviewRunState& state = getPreviewRunState();
	const s32 types[] = {state.flashlightSolidMaterial, state.flashlightLightmapMaterial,
		state.flashlightLightmapAlphaMaterial, state.flashlightAlphaMaterial, state.lightmapAlphaMaterial};
	for (s32 type : types)
		EXPECT_GT(type, s32(video::EMT_ONETEXTURE_BLEND)) << "not a registered shader material";
	for (const std::string& line : setUpLog)
		EXPECT_EQ(std::string::npos, line.find("rror")) << line;
	EXPECT_EQ(state.flashlightSolidMaterial, firstSwapType) << "the flashlight starts on";
}

// The lightmap material does not depend on the effect being wanted.
TEST_F(FlashlightPixels, WithTheEffectTurnedOffOnlyTheLightmapMaterialIsMade)
{
	SPreviewRunState& state = getPreviewRunState();
	const s32 solidBefore = state.flashlightSolidMaterial;
	const s32 lightmapBefore = state.lightmapAlphaMaterial;
	SPreviewSettings settings = makeDefaultPreviewSettings();
	settings.fx.useShader = false;
	scene::IMesh* mesh = makeWallMesh(1.f);
	scene::ISceneNode* node = device->getSceneManager()->addMeshSceneNode(mesh);
	mesh->drop();

	setUpShaderMaterials(device, node, settings);

	EXPECT_EQ(video::EMT_SOLID, node->getMaterial(0).MaterialType);
	EXPECT_EQ(solidBefore, state.flashlightSolidMaterial);
	EXPECT_GT(state.lightmapAlphaMaterial, lightmapBefore);
	EXPECT_FALSE(settings.fx.useShader);
	node->remove();
}

// F swaps the registered types and the spot light together, and back.
TEST_F(FlashlightPixels, FlashlightCommandSwitchesShadersAndSpotLight)
{
	SPreviewRunState& state = getPreviewRunState();
	SPreviewSettings& settings = getPreviewSettings();
	settings = makeDefaultPreviewSettings();
	scene::ISceneManager* sceneManager = device->getSceneManager();
	scene::IMesh* mesh = makeWallMesh(1.f, true);
	scene::ISceneNode* level = sceneManager->addMeshSceneNode(mesh);
	mesh->drop();
	setUpShaderMaterials(device, level, settings);
	state.levelNode = level;
	state.flashlightNode = sceneManager->addLightSceneNode();

	toggleFlashlight(settings);
	EXPECT_FALSE(state.flashlightNode->isVisible());
	EXPECT_EQ(video::EMT_SOLID, level->getMaterial(0).MaterialType);
	EXPECT_EQ(video::EMT_LIGHTMAP_LIGHTING, level->getMaterial(1).MaterialType);
	toggleFlashlight(settings);
	EXPECT_TRUE(state.flashlightNode->isVisible());
	EXPECT_EQ(state.flashlightSolidMaterial, level->getMaterial(0).MaterialType);
	EXPECT_EQ(state.flashlightLightmapMaterial, level->getMaterial(1).MaterialType);

	state.flashlightNode->remove();
	state.flashlightNode = 0;
	state.levelNode = 0;
	level->remove();
}

// The tinted light makes the edge a hard step; it lies where the cone of
// the set angle meets the wall, seen through the camera's projection.
TEST_F(FlashlightPixels, ConeEdgeLiesAtTheSetAngle)
{
	const SPixelCase c{"edge", EP_FLASHLIGHT_SOLID, Solid, false, false, 75, false, 30.f, 500.f, DialogOrange, 255, 1.f};
	const std::vector<video::SColor> row = renderCentreRow(c);
	ASSERT_EQ(Width, row.size());
	const u32 rgb = 0x00FFFFFF;
	const u32 outsideRight = row[Width - 1].color & rgb;
	const u32 outsideLeft = row[0].color & rgb;
	u32 lastInside = Width / 2;
	while (lastInside + 1 < Width && (row[lastInside + 1].color & rgb) != outsideRight)
		++lastInside;
	u32 firstInside = Width / 2 - 1;
	while (firstInside > 0 && (row[firstInside - 1].color & rgb) != outsideLeft)
		--firstInside;

	// With the 4:3 correction on a 4:3 view the cone reaches
	// tan(angle) x 3/4 x far / (far - near) in normalised x.
	const core::matrix4& projection = camera->getProjectionMatrix();
	const f64 edge = std::tan(30.0 * core::PI64 / 180.0) * 0.75 * projection[10];
	const f64 edgeColumns = edge * Width / 2;
	EXPECT_NEAR(Width / 2 + edgeColumns, lastInside + 1, 1.0);
	EXPECT_NEAR(Width / 2 - edgeColumns, firstInside, 1.0);
}

TEST_F(FlashlightPixels, LaserMarksANarrowConeAndLeavesTheRestUnchanged)
{
	const SPixelCase c{"laser", EP_FLASHLIGHT_SOLID, Solid, false, false, 75, true, 1.f, 2000.f, LaserRed, 255, 1.f};
	const std::vector<video::SColor> row = renderCentreRow(c);
	ASSERT_EQ(Width, row.size());
	const u32 rgb = 0x00FFFFFF;
	EXPECT_EQ(BaseLeft & 0x00FF0000, row[Width / 2 - 1].color & rgb);
	EXPECT_EQ(BaseRight & 0x00FF0000, row[Width / 2].color & rgb);
	for (u32 x = 0; x < Width / 2 - 4; ++x)
		EXPECT_EQ(BaseLeft, row[x].color & rgb) << x;
	for (u32 x = Width / 2 + 4; x < Width; ++x)
		EXPECT_EQ(BaseRight, row[x].color & rgb) << x;
}

TEST_F(FlashlightPixels, FullShadowOpacityBlackensSolidMaterialsOutsideTheCone)
{
	const SPixelCase c{"black", EP_FLASHLIGHT_SOLID, Solid, false, false, 100, false, 30.f, 500.f, White, 255, 1.f};
	const std::vector<video::SColor> row = renderCentreRow(c);
	ASSERT_EQ(Width, row.size());
	for (u32 x = 0; x < 60; ++x)
	{
		EXPECT_EQ(0u, row[x].color & 0x00FFFFFF) << x;
		EXPECT_EQ(0u, row[Width - 1 - x].color & 0x00FFFFFF) << Width - 1 - x;
	}
	EXPECT_NE(0u, row[Width / 2].color & 0x00FFFFFF);
}

} // end anonymous namespace

// The level node draws the same picture as the engine's octree node on the
// OpenGL driver: solid and alpha-channel buffers, the node's scale, and the
// wireframe and back-face culling flags. Needs an X display.

#include "CLevelMeshSceneNode.h"
#include "TestLevel.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace irr;
using namespace vistel;
using namespace vistel::test;

namespace
{

const u32 Width = 200;
const u32 Height = 150;
const video::SColor Background(255, 10, 10, 10);

struct SPicture
{
	std::vector<u32> pixels;
	u32 drawn = 0;
};

struct SPictureCase
{
	const char* name;
	core::vector3df scale;
	bool wireframe;
	bool backfaceCulling;
	core::vector3df eye, target;
	// The share of the picture the background may take: the level fills the
	// rest, and wireframe leaves most of it to the background between its
	// lines (the solid picture from the same eye leaves less than a third).
	f32 minBackground, maxBackground;
};

void PrintTo(const SPictureCase& c, std::ostream* os) { *os << c.name; }

class LevelMeshSceneNodePixels : public ::testing::TestWithParam<SPictureCase>
{
public:
	static void SetUpTestSuite()
	{
		device = createDevice(video::EDT_OPENGL, core::dimension2du(Width, Height), 32, false, false, false, 0);
		if (!device)
			return;
		video::IVideoDriver* driver = device->getVideoDriver();
		driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
		target = driver->addRenderTargetTexture(core::dimension2du(Width, Height), "rt", video::ECF_A8R8G8B8);
	}

	static void TearDownTestSuite()
	{
		if (device)
			device->drop();
		device = 0;
		target = 0;
	}

protected:
	void SetUp() override
	{
		ASSERT_TRUE(device) << "no OpenGL device (an X display is needed)";
		ASSERT_TRUE(target);
	}

	// Draws a fresh test level with the engine's octree node or with ours.
	SPicture draw(const SPictureCase& c, bool ours)
	{
		video::IVideoDriver* driver = device->getVideoDriver();
		scene::ISceneManager* sceneManager = device->getSceneManager();
		scene::SMesh* mesh = makeTestLevel(driver);
		scene::ISceneNode* node = 0;
		if (ours)
		{
			node = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 4);
			node->drop();
		}
		else
			node = sceneManager->addOctreeSceneNode(mesh, 0, -1, 4);
		mesh->drop();
		node->setScale(c.scale);
		node->setMaterialFlag(video::EMF_WIREFRAME, c.wireframe);
		node->setMaterialFlag(video::EMF_BACK_FACE_CULLING, c.backfaceCulling);
		scene::ICameraSceneNode* camera = sceneManager->addCameraSceneNode(0, c.eye, c.target);
		camera->setAspectRatio(f32(Width) / f32(Height));

		SPicture picture;
		driver->beginScene(true, true, Background);
		driver->setRenderTarget(target, true, true, Background);
		sceneManager->drawAll();
		driver->setRenderTarget(0, false, false);
		driver->endScene();
		picture.drawn = driver->getPrimitiveCountDrawn();
		node->remove();
		camera->remove();

		const u8* pixels = static_cast<const u8*>(target->lock(video::ETLM_READ_ONLY));
		if (!pixels)
		{
			ADD_FAILURE() << "the render target cannot be read";
			return picture;
		}
		for (u32 y = 0; y < Height; ++y)
			for (u32 x = 0; x < Width; ++x)
				picture.pixels.push_back(reinterpret_cast<const u32*>(pixels + y * target->getPitch())[x]);
		target->unlock();
		return picture;
	}

	static IrrlichtDevice* device;
	static video::ITexture* target;
};

IrrlichtDevice* LevelMeshSceneNodePixels::device = 0;
video::ITexture* LevelMeshSceneNodePixels::target = 0;

u32 channelDifference(u32 a, u32 b)
{
	u32 largest = 0;
	for (u32 shift = 0; shift < 32; shift += 8)
		largest = std::max<u32>(largest, static_cast<u32>(std::abs(s32((a >> shift) & 0xFF) - s32((b >> shift) & 0xFF))));
	return largest;
}

TEST_P(LevelMeshSceneNodePixels, DrawsWhatTheEnginesOctreeNodeDraws)
{
	const SPictureCase& c = GetParam();
	const SPicture engine = draw(c, false);
	const SPicture ours = draw(c, true);
	ASSERT_EQ(engine.pixels.size(), ours.pixels.size());
	ASSERT_EQ(std::size_t(Width) * Height, ours.pixels.size());

	u32 different = 0, background = 0;
	for (std::size_t i = 0; i < ours.pixels.size(); ++i)
	{
		if (channelDifference(engine.pixels[i], ours.pixels[i]) > 1)
		{
			if (different++ < 5)
				ADD_FAILURE() << "pixel " << i % Width << "," << i / Width << ": engine " << std::hex
							  << engine.pixels[i] << ", ours " << ours.pixels[i];
		}
		if (channelDifference(ours.pixels[i], Background.color) == 0)
			++background;
	}
	EXPECT_EQ(0u, different);
	const f32 backgroundShare = f32(background) / f32(ours.pixels.size());
	EXPECT_GE(backgroundShare, c.minBackground);
	EXPECT_LE(backgroundShare, c.maxBackground);
	// Culled by chunks and by the view's planes, never more than the engine.
	EXPECT_GT(ours.drawn, 0u);
	EXPECT_LE(ours.drawn, engine.drawn);
}

const core::vector3df Unscaled(1.f, 1.f, 1.f);

INSTANTIATE_TEST_SUITE_P(Cases, LevelMeshSceneNodePixels, ::testing::Values(
	SPictureCase{"forward", Unscaled, false, false, TestLevelEye, TestLevelTarget, 0.15f, 0.45f},
	SPictureCase{"scaled per axis", core::vector3df(0.6f, 1.3f, 0.8f), false, false, TestLevelEye, TestLevelTarget,
		0.15f, 0.45f},
	SPictureCase{"wireframe", Unscaled, true, false, TestLevelEye, TestLevelTarget, 0.55f, 0.85f},
	// From behind the back wall, looking back through the glass: culling
	// takes away the wall's back faces.
	SPictureCase{"back faces culled", Unscaled, false, true, core::vector3df(10.f, 20.f, 190.f),
		core::vector3df(0.f, 0.f, 0.f), 0.f, 0.25f},
	SPictureCase{"from the side", Unscaled, false, false, core::vector3df(-150.f, 30.f, 60.f),
		core::vector3df(0.f, 0.f, 100.f), 0.3f, 0.6f}),
	[](const ::testing::TestParamInfo<SPictureCase>& info) {
		std::string name = info.param.name;
		std::replace(name.begin(), name.end(), ' ', '_');
		return name;
	});

} // end anonymous namespace

// The normal-mapping variant on the real OpenGL driver: every buffer shares
// the one normal map, made from the height texture once. Needs an X display.

#include "CTemporaryDirectory.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "SceneSetUp.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace irr;
using namespace vistel;

namespace
{

std::vector<u32> texels(video::ITexture* texture)
{
	std::vector<u32> result;
	const core::dimension2du size = texture->getSize();
	const u8* data = static_cast<const u8*>(texture->lock(video::ETLM_READ_ONLY));
	if (!data)
		return result;
	for (u32 y = 0; y < size.Height; ++y)
		for (u32 x = 0; x < size.Width; ++x)
			result.push_back(reinterpret_cast<const u32*>(data + y * texture->getPitch())[x]);
	texture->unlock();
	return result;
}

scene::SAnimatedMesh* makeLevel(u32 buffers)
{
	scene::SMesh* mesh = new scene::SMesh();
	for (u32 i = 0; i < buffers; ++i)
	{
		scene::SMeshBufferLightMap* buffer = new scene::SMeshBufferLightMap();
		const f32 x = f32(i) * 10.f;
		const video::SColor white(255, 255, 255, 255);
		buffer->Vertices.push_back(video::S3DVertex2TCoords(x, 0, 0, white, 0, 0, 0, 0));
		buffer->Vertices.push_back(video::S3DVertex2TCoords(x + 5, 0, 0, white, 1, 0, 1, 0));
		buffer->Vertices.push_back(video::S3DVertex2TCoords(x, 5, 0, white, 0, 1, 0, 1));
		for (u16 index : {0, 1, 2})
			buffer->Indices.push_back(index);
		buffer->recalculateBoundingBox();
		mesh->addMeshBuffer(buffer);
		buffer->drop();
	}
	mesh->recalculateBoundingBox();
	scene::SAnimatedMesh* level = new scene::SAnimatedMesh(mesh);
	mesh->drop();
	return level;
}

TEST(NormalMapTexture, EveryBufferSharesTheNormalMapMadeOnce)
{
	IrrlichtDevice* device = createDevice(video::EDT_OPENGL, core::dimension2du(64, 64), 32, false,
		false, false, 0);
	ASSERT_TRUE(device) << "no OpenGL device (an X display is needed)";
	SPreviewRunState& state = getPreviewRunState();
	state.clearRunReferences();
	state.device = device;
	state.timer = device->getTimer();
	video::IVideoDriver* driver = device->getVideoDriver();

	// A height texture with slopes, so that a second conversion shows.
	test::CTemporaryDirectory install;
	const std::string floors = install.path() + "/Textures/Floors";
	ASSERT_EQ(0, std::system(("mkdir -p '" + floors + "'").c_str()));
	video::IImage* heights = driver->createImage(video::ECF_R8G8B8, core::dimension2du(16, 16));
	for (u32 y = 0; y < 16; ++y)
		for (u32 x = 0; x < 16; ++x)
			heights->setPixel(x, y, video::SColor(255, x * 16, (x * y) % 256, y * 16));
	const bool written = driver->writeImageToFile(heights, (floors + "/Floor11_b.jpg").c_str())
		&& driver->writeImageToFile(heights, (floors + "/Floor11.jpg").c_str())
		&& driver->writeImageToFile(heights, (install.path() + "/reference.jpg").c_str());
	heights->drop();
	ASSERT_TRUE(written);
	video::ITexture* reference = driver->getTexture((install.path() + "/reference.jpg").c_str());
	ASSERT_TRUE(reference);
	driver->makeNormalMapTexture(reference, 9.f);

	SPreviewSettings settings = makeDefaultPreviewSettings();
	settings.engine.useNormalMapping = true;
	settings.collision.collisionEnabled = false;
	scene::SAnimatedMesh* level = makeLevel(3);
	ASSERT_TRUE(setUpScene(device, level, settings, (install.path() + "/").c_str()));
	level->drop();

	ASSERT_EQ(3u, state.levelNode->getMaterialCount());
	video::ITexture* normalMap = state.levelNode->getMaterial(0).getTexture(1);
	ASSERT_TRUE(normalMap);
	for (u32 i = 1; i < 3; ++i)
		EXPECT_EQ(normalMap, state.levelNode->getMaterial(i).getTexture(1));
	EXPECT_EQ(texels(reference), texels(normalMap));

	state.clearRunReferences();
	device->drop();
}

} // end anonymous namespace

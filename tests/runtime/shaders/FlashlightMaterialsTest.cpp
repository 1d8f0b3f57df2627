// The swap between the level's built-in material types and the flashlight
// shader types, on a node of the null driver.

#include "FlashlightMaterials.h"
#include "SPreviewRunState.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <vector>

using namespace irr;
using namespace vistel;

namespace
{

const s32 Solid = video::EMT_SOLID;
const s32 Lightmap = video::EMT_LIGHTMAP_LIGHTING;
const s32 Alpha = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
const s32 NormalMap = video::EMT_NORMAL_MAP_SOLID;
const s32 Additive = video::EMT_TRANSPARENT_ADD_COLOR;

// Stand-ins for the registered shader types.
const s32 FlashSolid = 30;
const s32 FlashLightmap = 31;
const s32 FlashLightmapAlpha = 32;
const s32 FlashAlpha = 33;
const s32 LightmapAlpha = 34;

class FlashlightMaterials : public ::testing::Test
{
protected:
	void SetUp() override
	{
		device = createDevice(video::EDT_NULL);
		ASSERT_TRUE(device);
		SPreviewRunState& state = getPreviewRunState();
		state.clearRunReferences();
		state.flashlightSolidMaterial = FlashSolid;
		state.flashlightLightmapMaterial = FlashLightmap;
		state.flashlightLightmapAlphaMaterial = FlashLightmapAlpha;
		state.flashlightAlphaMaterial = FlashAlpha;
		state.lightmapAlphaMaterial = LightmapAlpha;
	}

	void TearDown() override
	{
		getPreviewRunState().clearRunReferences();
		if (device)
			device->drop();
	}

	scene::ISceneNode* makeLevel(const std::vector<s32>& types)
	{
		scene::SMesh* mesh = new scene::SMesh();
		for (s32 type : types)
		{
			scene::SMeshBuffer* buffer = new scene::SMeshBuffer();
			buffer->Material.MaterialType = static_cast<video::E_MATERIAL_TYPE>(type);
			mesh->addMeshBuffer(buffer);
			buffer->drop();
		}
		scene::ISceneNode* node = device->getSceneManager()->addMeshSceneNode(mesh);
		mesh->drop();
		return node;
	}

	static std::vector<s32> typesOf(scene::ISceneNode* node)
	{
		std::vector<s32> types;
		for (u32 i = 0; i < node->getMaterialCount(); ++i)
			types.push_back(node->getMaterial(i).MaterialType);
		return types;
	}

	IrrlichtDevice* device = nullptr;
};

struct SSwapCase
{
	const char* name;
	std::vector<s32> level;
	std::vector<s32> on;
	std::vector<s32> off;
};

TEST_F(FlashlightMaterials, OnOffAndOnAgainFollowTheTable)
{
	const SSwapCase cases[] = {
		{"lightmapped level", {Solid, Lightmap, Alpha, NormalMap, Additive},
			{FlashSolid, FlashLightmap, FlashLightmapAlpha, NormalMap, Additive},
			{Solid, Lightmap, LightmapAlpha, NormalMap, Additive}},
		{"level without lightmaps", {Solid, Alpha, Alpha},
			{FlashSolid, FlashAlpha, FlashAlpha},
			{Solid, Alpha, Alpha}},
		{"lightmap last", {Alpha, Solid, Lightmap},
			{FlashLightmapAlpha, FlashSolid, FlashLightmap},
			{LightmapAlpha, Solid, Lightmap}},
		{"normal-mapped level", {NormalMap, NormalMap}, {NormalMap, NormalMap}, {NormalMap, NormalMap}},
	};
	for (const SSwapCase& c : cases)
	{
		SCOPED_TRACE(c.name);
		scene::ISceneNode* level = makeLevel(c.level);
		switchFlashlightMaterialsOn(level);
		EXPECT_EQ(c.on, typesOf(level));
		switchFlashlightMaterialsOff(level);
		EXPECT_EQ(c.off, typesOf(level));
		// Switched off once, an alpha material of a lightmapped level keeps
		// its lightmap and comes back to the same flashlight type.
		switchFlashlightMaterialsOn(level);
		EXPECT_EQ(c.on, typesOf(level));
		level->remove();
	}
}

// Without the lightmap shader its type is the built-in alpha type, which
// must still come back as the lightmapped flashlight type.
TEST_F(FlashlightMaterials, LightmapShaderMissing)
{
	getPreviewRunState().lightmapAlphaMaterial = Alpha;
	scene::ISceneNode* level = makeLevel({Lightmap, Alpha});
	switchFlashlightMaterialsOn(level);
	switchFlashlightMaterialsOff(level);
	EXPECT_EQ((std::vector<s32>{Lightmap, Alpha}), typesOf(level));
	switchFlashlightMaterialsOn(level);
	EXPECT_EQ((std::vector<s32>{FlashLightmap, FlashLightmapAlpha}), typesOf(level));
}

TEST_F(FlashlightMaterials, MissingLevelIsIgnored)
{
	switchFlashlightMaterialsOn(0);
	switchFlashlightMaterialsOff(0);
}

} // end anonymous namespace

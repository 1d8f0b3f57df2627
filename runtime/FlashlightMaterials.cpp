#include "FlashlightMaterials.h"

#include "SPreviewRunState.h"

#include <ISceneNode.h>

using namespace irr;

namespace vistel
{

namespace
{

bool hasLightmappedMaterial(scene::ISceneNode* node)
{
	for (u32 i = 0; i < node->getMaterialCount(); ++i)
		if (node->getMaterial(i).MaterialType == video::EMT_LIGHTMAP_LIGHTING)
			return true;
	return false;
}

// The first matching row wins, so every material is mapped once even where
// two of the run's types are the same number.
s32 flashlightOnType(s32 type, bool levelHasLightmaps, const SPreviewRunState& state)
{
	if (type == video::EMT_SOLID)
		return state.flashlightSolidMaterial;
	if (type == video::EMT_LIGHTMAP_LIGHTING)
		return state.flashlightLightmapMaterial;
	if (type == video::EMT_TRANSPARENT_ALPHA_CHANNEL)
		return levelHasLightmaps ? state.flashlightLightmapAlphaMaterial : state.flashlightAlphaMaterial;
	if (type == state.lightmapAlphaMaterial)
		return state.flashlightLightmapAlphaMaterial;
	return type;
}

s32 flashlightOffType(s32 type, const SPreviewRunState& state)
{
	if (type == state.flashlightSolidMaterial)
		return video::EMT_SOLID;
	if (type == state.flashlightLightmapMaterial)
		return video::EMT_LIGHTMAP_LIGHTING;
	if (type == state.flashlightLightmapAlphaMaterial)
		return state.lightmapAlphaMaterial;
	if (type == state.flashlightAlphaMaterial)
		return video::EMT_TRANSPARENT_ALPHA_CHANNEL;
	return type;
}

} // end anonymous namespace

void switchFlashlightMaterialsOn(scene::ISceneNode* levelNode)
{
	if (!levelNode)
		return;
	const SPreviewRunState& state = getPreviewRunState();
	const bool levelHasLightmaps = hasLightmappedMaterial(levelNode);
	for (u32 i = 0; i < levelNode->getMaterialCount(); ++i)
	{
		video::SMaterial& material = levelNode->getMaterial(i);
		material.MaterialType = static_cast<video::E_MATERIAL_TYPE>(
			flashlightOnType(material.MaterialType, levelHasLightmaps, state));
	}
}

void switchFlashlightMaterialsOff(scene::ISceneNode* levelNode)
{
	if (!levelNode)
		return;
	const SPreviewRunState& state = getPreviewRunState();
	for (u32 i = 0; i < levelNode->getMaterialCount(); ++i)
	{
		video::SMaterial& material = levelNode->getMaterial(i);
		material.MaterialType = static_cast<video::E_MATERIAL_TYPE>(
			flashlightOffType(material.MaterialType, state));
	}
}

} // end namespace vistel

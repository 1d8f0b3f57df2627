#include "SceneSetUp.h"

#include "CameraKeyMap.h"
#include "CLevelMeshSceneNode.h"
#include "CLevelTriangleSelector.h"
#include "ILoadProgress.h"
#include "CameraStart.h"
#include "FlashlightNode.h"
#include "LevelTangents.h"
#include "OnScreenTexts.h"
#include "PathParts.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "ShaderSetup.h"
#include "StageTiming.h"

#include <irrlicht.h>

using namespace irr;

namespace vistel
{

namespace
{

const s32 OCTREE_MINIMAL_POLYGONS = 128;
const f64 LEVEL_SCALE_PER_PERCENT = 0.01;
const f32 NORMAL_MAP_AMPLITUDE = 9.f;

core::stringc getFloorTexturePath(const core::stringc& installDirectory, const char* fileName)
{
	core::stringc path = installDirectory;
	path += "Textures";
	path += PATH_SEPARATOR;
	path += "Floors";
	path += PATH_SEPARATOR;
	path += fileName;
	return path;
}

// The texture at path, or 0 with the missing file named in the engine's log.
video::ITexture* getNormalMappingTexture(IrrlichtDevice* device, const core::stringc& path)
{
	video::ITexture* texture = device->getVideoDriver()->getTexture(path);
	if (!texture)
	{
		core::stringc line = "Normal mapping left out: the texture ";
		line += path;
		line += " could not be loaded.";
		device->getLogger()->log(line.c_str(), ELL_WARNING);
	}
	return texture;
}

// The level with tangents and a fixed normal-mapped floor texture on every
// buffer, unscaled. Returns the node; the mesh copy's reference goes to the
// caller, who releases it once the triangle selector is made. Without both
// textures there is no normal-mapped look to give, and no node is made: a
// material with an empty slot would draw with whatever texture the driver
// used last.
scene::ISceneNode* addNormalMappedLevel(IrrlichtDevice* device, scene::IMesh* levelMesh,
	const core::stringc& installDirectory, scene::IMesh*& meshCopy, ILoadProgress* progress)
{
	scene::ISceneManager* sceneManager = device->getSceneManager();
	video::ITexture* normalMap = getNormalMappingTexture(device,
		getFloorTexturePath(installDirectory, "Floor11_b.jpg"));
	video::ITexture* colourMap = getNormalMappingTexture(device,
		getFloorTexturePath(installDirectory, "Floor11.jpg"));
	noteStageEnd("normal-textures");
	if (!normalMap || !colourMap)
		return 0;
	// The engine's copy would keep the window waiting for seconds on a large
	// level; this one reports between small pieces.
	meshCopy = createLevelMeshWithTangents(levelMesh, sceneManager->getMeshManipulator(), progress);
	noteStageEnd("tangents");
	if (!meshCopy)
		return 0;
	// Once: every buffer shares the one texture, and turning a normal map
	// into a normal map again would flatten it.
	device->getVideoDriver()->makeNormalMapTexture(normalMap, NORMAL_MAP_AMPLITUDE);
	for (u32 i = 0; i < meshCopy->getMeshBufferCount(); ++i)
	{
		video::SMaterial& material = meshCopy->getMeshBuffer(i)->getMaterial();
		material.MaterialType = video::EMT_NORMAL_MAP_SOLID;
		material.setTexture(1, normalMap);
		material.setTexture(0, colourMap);
	}
	return sceneManager->addMeshSceneNode(meshCopy, 0, -1, core::vector3df(0.f, 0.f, 0.f),
		core::vector3df(0.f, 0.f, 0.f), core::vector3df(1.f, 1.f, 1.f));
}

CLevelMeshSceneNode* addScaledLevel(scene::ISceneManager* sceneManager, scene::IMesh* levelMesh,
	const SLevelSettings& level, ILoadProgress* progress)
{
	// The level's own node draws the loaded buffers in place, culled by
	// spatial chunks: the engine's octree node copies every vertex and index
	// and takes seconds on a level of millions of triangles.
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(levelMesh, sceneManager->getRootSceneNode(),
		sceneManager, -1, OCTREE_MINIMAL_POLYGONS, progress);
	node->drop(); // the scene manager's root holds it
	node->setScale(getLevelScale(level));
	return node;
}

void attachTriangleSelector(scene::ISceneNode* levelNode, CLevelMeshSceneNode* chunkedNode, scene::IMesh* meshCopy,
	ILoadProgress* progress)
{
	SPreviewRunState& state = getPreviewRunState();
	// The level's octree selector works over the level mesh itself: the
	// engine's selectors copy every triangle and take seconds and hundreds of
	// megabytes on a level of millions of triangles, and its plain selector,
	// which answers the same triangles for a box, tests every one of them at
	// every query of the collision animator. The level's own node has already
	// put its triangles in chunks, which the selector takes as they are; a
	// normal-mapped copy with tangents gets an octree of its own.
	scene::ITriangleSelector* selector = chunkedNode
		? new CLevelTriangleSelector(chunkedNode, progress)
		: new CLevelTriangleSelector(meshCopy, levelNode, OCTREE_MINIMAL_POLYGONS, progress);
	state.triangleSelector = selector;
	state.collisionsActive = selector != 0;
	if (selector)
		levelNode->setTriangleSelector(selector);
}

void addCamera(IrrlichtDevice* device, const SPreviewSettings& settings)
{
	SPreviewRunState& state = getPreviewRunState();
	scene::ISceneManager* sceneManager = device->getSceneManager();
	SKeyMap keyMap[CAMERA_KEY_MAP_SIZE];
	getCameraKeyMap(keyMap);
	// The engine's first-person camera moves by units per millisecond; the
	// setting is in units per second.
	state.camera = sceneManager->addCameraSceneNodeFPS(0, settings.camera.rotateSpeed,
		settings.camera.moveSpeed / 1000.f, -1, keyMap, CAMERA_KEY_MAP_SIZE, false);
	if (!state.camera)
		return;
	state.camera->setPosition(getStartPosition(state.levelNode->getBoundingBox(),
		settings.camera));
	if (settings.collision.collisionEnabled && state.triangleSelector)
	{
		state.collisionAnimator = createCollisionAnimator(sceneManager, state.triangleSelector,
			state.camera, settings);
		if (state.collisionAnimator)
			state.camera->addAnimator(state.collisionAnimator);
	}
}

// Tells progress that a stage is done; false when it asks to stop.
bool finishStage(ILoadProgress* progress, ELoadStage stage, u32 triangles)
{
	if (!progress)
		return true;
	SLoadProgress report;
	report.Stage = stage;
	report.StageDone = 1.f;
	report.Triangles = triangles;
	return progress->onLoadProgress(report);
}

void addSkyBox(IrrlichtDevice* device, const SLevelSettings& level, ILoadProgress* progress, u32 triangles)
{
	video::IVideoDriver* driver = device->getVideoDriver();
	// Six pictures of the user's choice, each of them decoded and sent to
	// the driver: the loading screen stays alive between them.
	const core::stringc* const paths[] = {&level.topTexture, &level.bottomTexture, &level.leftTexture,
		&level.rightTexture, &level.centerTexture, &level.backTexture};
	video::ITexture* textures[6] = {};
	for (u32 i = 0; i < 6; ++i)
	{
		textures[i] = driver->getTexture(*paths[i]);
		finishStage(progress, ELS_COLLISION, triangles);
	}
	device->getSceneManager()->addSkyBoxSceneNode(textures[0], textures[1], textures[2], textures[3],
		textures[4], textures[5], 0, -1);
}

// False once progress asked to stop.
bool keepsGoing(ILoadProgress* progress, u32 triangles)
{
	SLoadProgress report;
	report.Stage = ELS_BUILDING;
	report.Triangles = triangles;
	return !progress || progress->onLoadProgress(report);
}

u32 countTriangles(const scene::IMesh* mesh)
{
	u32 triangles = 0;
	for (u32 i = 0; i < mesh->getMeshBufferCount(); ++i)
		triangles += mesh->getMeshBuffer(i)->getIndexCount() / 3;
	return triangles;
}

} // end anonymous namespace

core::vector3df getLevelScale(const SLevelSettings& level)
{
	return core::vector3df(static_cast<f32>(level.scaleX * LEVEL_SCALE_PER_PERCENT),
		static_cast<f32>(level.scaleY * LEVEL_SCALE_PER_PERCENT),
		static_cast<f32>(level.scaleZ * LEVEL_SCALE_PER_PERCENT));
}

bool wantsSkyBox(const SLevelSettings& level)
{
	return level.useSkybox && level.hasTopTexture && level.hasBottomTexture
		&& level.hasLeftTexture && level.hasRightTexture && level.hasCenterTexture
		&& level.hasBackTexture;
}

bool setUpScene(IrrlichtDevice* device, scene::IAnimatedMesh* levelMesh,
	SPreviewSettings& settings, const core::stringc& installDirectory, ILoadProgress* progress)
{
	SPreviewRunState& state = getPreviewRunState();
	scene::IMesh* frame = (levelMesh && levelMesh->getFrameCount() > 0)
		? levelMesh->getMesh(0, 255, -1, -1) : 0;
	if (!device || !frame)
		return false;
	scene::ISceneManager* sceneManager = device->getSceneManager();
	const u32 triangles = progress ? countTriangles(frame) : 0;

	// Level node and, with collisions, its triangle selector. A level whose
	// normal-mapped look cannot be made is shown as without normal mapping.
	scene::IMesh* meshCopy = 0;
	state.levelNode = settings.engine.useNormalMapping
		? addNormalMappedLevel(device, frame, installDirectory, meshCopy, progress) : 0;
	const bool normalMapped = state.levelNode != 0;
	// A normal-mapped level that was stopped is not made again without.
	CLevelMeshSceneNode* chunkedNode = 0;
	if (!state.levelNode && keepsGoing(progress, triangles))
		state.levelNode = chunkedNode = addScaledLevel(sceneManager, frame, settings.level, progress);
	noteStageEnd("octree");
	// The level node has put the mesh's triangles in its own order; the
	// selector keeps triangle numbers, so it comes second.
	const bool built = finishStage(progress, ELS_BUILDING, triangles);
	if (built && state.levelNode && settings.collision.collisionEnabled)
		attachTriangleSelector(state.levelNode, chunkedNode, normalMapped ? meshCopy : 0, progress);
	else
		state.collisionsActive = false;
	noteStageEnd("selector");
	// The node holds the copy now; the run's reference is no longer needed,
	// with collisions or without.
	if (meshCopy)
		meshCopy->drop();
	if (!state.levelNode || !built || !finishStage(progress, ELS_COLLISION, triangles))
		return false;

	if (settings.engine.hideMouseCursor && device->getCursorControl())
		device->getCursorControl()->setVisible(false);

	addCamera(device, settings);
	if (!state.camera)
		return false;

	state.levelNode->setMaterialFlag(video::EMF_LIGHTING, !settings.engine.ignoreShadows);
	state.flashlightNode = addFlashlight(sceneManager, state.camera);

	setUpShaderMaterials(device, state.levelNode, settings);
	noteStageEnd("shaders");
	// The shaders take a moment to compile: the loading screen stays alive.
	// Whether to go on is asked once the set-up is done.
	finishStage(progress, ELS_COLLISION, triangles);

	state.levelNode->setMaterialFlag(video::EMF_BACK_FACE_CULLING,
		settings.engine.backfaceCulling);
	state.levelNode->setMaterialFlag(video::EMF_WIREFRAME, settings.engine.wireframe);

	if (wantsSkyBox(settings.level))
		addSkyBox(device, settings.level, progress, triangles);

	state.camera->setNearValue(settings.camera.nearValue);
	state.camera->setFarValue(settings.camera.farValue);

	createOnScreenTexts(device->getGUIEnvironment(), settings.engine.screenWidth,
		settings.engine.screenHeight);
	return true;
}

} // end namespace vistel

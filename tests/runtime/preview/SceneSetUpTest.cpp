#include "PreviewTestSupport.h"

#include "CameraStart.h"
#include "CTemporaryDirectory.h"
#include "SystemPath.h"
#include "ILoadProgress.h"
#include "SceneSetUp.h"

using namespace irr;
using vistel::test::CPreviewTest;
using vistel::test::enginePath;
using vistel::test::systemPath;

namespace vistel
{

namespace
{

void expectVector(const core::vector3df& expected, const core::vector3df& actual)
{
	EXPECT_FLOAT_EQ(expected.X, actual.X);
	EXPECT_FLOAT_EQ(expected.Y, actual.Y);
	EXPECT_FLOAT_EQ(expected.Z, actual.Z);
}

u32 countChildrenOfType(scene::ISceneManager* sceneManager, scene::ESCENE_NODE_TYPE type)
{
	u32 count = 0;
	const core::list<scene::ISceneNode*>& children = sceneManager->getRootSceneNode()->getChildren();
	for (core::list<scene::ISceneNode*>::ConstIterator it = children.begin(); it != children.end();
		++it)
		if ((*it)->getType() == type)
			++count;
	return count;
}

typedef CPreviewTest SceneSetUpTest;

TEST_F(SceneSetUpTest, StandardLevelIsAScaledOctreeWithCameraCollisionFlashlightAndTexts)
{
	Settings.level.scaleX = 50;
	Settings.level.scaleY = 100;
	Settings.level.scaleZ = 0;
	Settings.camera.nearValue = 2.5f;
	Settings.camera.farValue = 4000.f;
	Settings.camera.moveSpeed = 250.f;
	Settings.engine.screenWidth = 800;
	Settings.engine.screenHeight = 600;
	ASSERT_TRUE(setUpBoxLevel());

	ASSERT_TRUE(State.levelNode != 0);
	EXPECT_EQ(scene::ESNT_OCTREE, State.levelNode->getType());
	expectVector(core::vector3df(0.5f, 1.f, 0.f), State.levelNode->getScale());

	// Collisions: the selector belongs to the level node, the animator to the camera.
	ASSERT_TRUE(State.triangleSelector != 0);
	EXPECT_EQ(State.triangleSelector, State.levelNode->getTriangleSelector());
	EXPECT_TRUE(State.collisionsActive);
	ASSERT_TRUE(State.collisionAnimator != 0);
	EXPECT_EQ(State.triangleSelector, State.collisionAnimator->getWorld());
	expectVector(Settings.collision.ellipsoidRadius, State.collisionAnimator->getEllipsoidRadius());

	// The camera: active, steered by the eight keys, clipping planes set.
	ASSERT_TRUE(State.camera != 0);
	EXPECT_EQ(State.camera, Device->getSceneManager()->getActiveCamera());
	EXPECT_TRUE(cameraHas(State.collisionAnimator));
	scene::ISceneNodeAnimatorCameraFPS* fps =
		static_cast<scene::ISceneNodeAnimatorCameraFPS*>(cameraFPSAnimator());
	ASSERT_TRUE(fps != 0);
	EXPECT_EQ(8u, fps->getKeyMap().size());
	EXPECT_FLOAT_EQ(Settings.camera.rotateSpeed, fps->getRotateSpeed());
	EXPECT_FLOAT_EQ(0.25f, fps->getMoveSpeed()); // the setting is per second, the engine's per ms
	EXPECT_FLOAT_EQ(2.5f, State.camera->getNearValue());
	EXPECT_FLOAT_EQ(4000.f, State.camera->getFarValue());

	// The flashlight: a visible spot light at the camera.
	ASSERT_TRUE(State.flashlightNode != 0);
	const video::SLight& light = State.flashlightNode->getLightData();
	EXPECT_EQ(video::ELT_SPOT, light.Type);
	EXPECT_FLOAT_EQ(1000.f, light.Radius);
	EXPECT_FLOAT_EQ(22.5f, light.InnerCone);
	EXPECT_FLOAT_EQ(30.f, light.OuterCone);
	EXPECT_FLOAT_EQ(0.8f, light.Falloff);
	EXPECT_EQ(video::SColorf(1.f, 1.f, 1.f, 1.f).toSColor(), light.DiffuseColor.toSColor());
	expectVector(State.camera->getPosition(), State.flashlightNode->getPosition());
	EXPECT_TRUE(State.flashlightNode->isVisible());

	// The texts: red message text upper left, hidden label lower right.
	ASSERT_TRUE(State.messageText != 0);
	EXPECT_EQ(core::rect<s32>(10, 10, 150, 150), State.messageText->getRelativePosition());
	EXPECT_TRUE(State.messageText->isOverrideColorEnabled());
	EXPECT_EQ(video::SColor(0xFFFF0000), State.messageText->getOverrideColor());
	EXPECT_TRUE(State.messageText->isWordWrapEnabled());
	EXPECT_FALSE(State.messageText->isDrawBorderEnabled());
	EXPECT_EQ(core::stringw(), messageText());
	ASSERT_TRUE(State.screenshotLabel != 0);
	EXPECT_EQ(core::rect<s32>(670, 570, 790, 590), State.screenshotLabel->getRelativePosition());
	EXPECT_TRUE(State.screenshotLabel->isDrawBorderEnabled());
	EXPECT_FALSE(State.screenshotLabel->isDrawBackgroundEnabled());
	EXPECT_EQ(core::stringw(L"Tarvo Vistel 2.0.0\nScreenshot!!!"),
		core::stringw(State.screenshotLabel->getText()));
	EXPECT_FALSE(State.screenshotLabel->isVisible());
}

TEST_F(SceneSetUpTest, StartPositionComesFromTheUnscaledBoxAndTheUserPositionWins)
{
	struct SCase
	{
		bool placeInCenter;
		bool useUserPosition;
		core::vector3df expected;
	};
	const SCase cases[] = {
		{ false, false, core::vector3df(0.f, 20.f, 0.f) },
		{ true, false, core::vector3df(10.f, 20.f, 20.f) },
		{ false, true, core::vector3df(1.f, 2.f, 3.f) },
		{ true, true, core::vector3df(1.f, 2.f, 3.f) },
	};
	const core::aabbox3df box(-10.f, 0.f, -10.f, 30.f, 40.f, 50.f);
	for (const SCase& c : cases)
	{
		SCameraSettings camera = Settings.camera;
		camera.placeInCenter = c.placeInCenter;
		camera.useUserPosition = c.useUserPosition;
		camera.userPosition = core::vector3df(1.f, 2.f, 3.f);
		expectVector(c.expected, getStartPosition(box, camera));
	}

	// Through the set-up the level scale changes nothing.
	Settings.camera.placeInCenter = true;
	Settings.level.scaleX = 300;
	Settings.level.scaleY = 25;
	Settings.collision.collisionEnabled = false;
	ASSERT_TRUE(setUpBoxLevel(box));
	expectVector(core::vector3df(10.f, 20.f, 20.f), State.camera->getPosition());
}

TEST_F(SceneSetUpTest, EllipsoidTranslationPutsTheEyeAtItsHeightInTheEllipsoid)
{
	const struct
	{
		s32 percent;
		f32 expectedY;
	} cases[] = { { 0, -50.f }, { 50, 0.f }, { 75, 25.f }, { 100, 50.f } };
	SCollisionSettings collision = Settings.collision;
	collision.ellipsoidRadius = core::vector3df(30.f, 50.f, 30.f);
	for (const auto& c : cases)
	{
		SCameraSettings camera = Settings.camera;
		camera.ellipsoidPosition = c.percent;
		expectVector(core::vector3df(0.f, c.expectedY, 0.f),
			getEllipsoidTranslation(camera, collision));
	}

	Settings.camera.ellipsoidPosition = 75;
	Settings.collision.ellipsoidRadius = core::vector3df(30.f, 50.f, 30.f);
	ASSERT_TRUE(setUpBoxLevel());
	expectVector(core::vector3df(0.f, 25.f, 0.f),
		State.collisionAnimator->getEllipsoidTranslation());
}

TEST_F(SceneSetUpTest, GravityFollowsItsSettingAndNoCollisionsMeansNoSelectorNoAnimator)
{
	Settings.collision.gravity = -7.f;
	Settings.collision.gravityEnabled = true;
	expectVector(core::vector3df(0.f, -7.f, 0.f), getGravityVector(Settings.collision));
	Settings.collision.gravityEnabled = false;
	expectVector(core::vector3df(0.f, 0.f, 0.f), getGravityVector(Settings.collision));

	ASSERT_TRUE(setUpBoxLevel());
	ASSERT_TRUE(State.collisionAnimator != 0);
	expectVector(core::vector3df(0.f, 0.f, 0.f), State.collisionAnimator->getGravity());
}

TEST_F(SceneSetUpTest, WithoutCollisionsTheCameraFliesFree)
{
	Settings.collision.collisionEnabled = false;
	ASSERT_TRUE(setUpBoxLevel());
	EXPECT_TRUE(State.triangleSelector == 0);
	EXPECT_TRUE(State.levelNode->getTriangleSelector() == 0);
	EXPECT_TRUE(State.collisionAnimator == 0);
	EXPECT_FALSE(State.collisionsActive);
	EXPECT_TRUE(cameraFPSAnimator() != 0);
}

TEST_F(SceneSetUpTest, MaterialFlagsOfEveryMaterialFollowTheSettings)
{
	const struct
	{
		bool ignoreShadows;
		bool backfaceCulling;
		bool wireframe;
	} cases[] = { { true, true, false }, { false, false, true } };
	for (const auto& c : cases)
	{
		TearDown();
		SetUp();
		Settings.engine.ignoreShadows = c.ignoreShadows;
		Settings.engine.backfaceCulling = c.backfaceCulling;
		Settings.engine.wireframe = c.wireframe;
		std::vector<video::E_MATERIAL_TYPE> types;
		types.push_back(video::EMT_SOLID);
		types.push_back(video::EMT_LIGHTMAP_LIGHTING);
		types.push_back(video::EMT_TRANSPARENT_ALPHA_CHANNEL);
		ASSERT_TRUE(setUpBoxLevel(core::aabbox3df(0.f, 0.f, 0.f, 10.f, 10.f, 10.f), types));
		ASSERT_EQ(3u, State.levelNode->getMaterialCount());
		for (u32 i = 0; i < State.levelNode->getMaterialCount(); ++i)
		{
			const video::SMaterial& material = State.levelNode->getMaterial(i);
			EXPECT_EQ(!c.ignoreShadows, material.Lighting);
			EXPECT_EQ(c.backfaceCulling, material.BackfaceCulling);
			EXPECT_EQ(c.wireframe, material.Wireframe);
		}
	}
}

TEST_F(SceneSetUpTest, SkyBoxIsMadeOnlyWithAllSixFaces)
{
	Settings.level.useSkybox = true;
	Settings.level.hasTopTexture = Settings.level.hasBottomTexture = true;
	Settings.level.hasLeftTexture = Settings.level.hasRightTexture = true;
	Settings.level.hasCenterTexture = Settings.level.hasBackTexture = true;
	EXPECT_TRUE(wantsSkyBox(Settings.level));
	bool* faces[] = { &Settings.level.hasTopTexture, &Settings.level.hasBottomTexture,
		&Settings.level.hasLeftTexture, &Settings.level.hasRightTexture,
		&Settings.level.hasCenterTexture, &Settings.level.hasBackTexture,
		&Settings.level.useSkybox };
	for (bool* face : faces)
	{
		*face = false;
		EXPECT_FALSE(wantsSkyBox(Settings.level));
		*face = true;
	}

	// Missing files leave the faces blank; the box is made all the same.
	Settings.level.topTexture = "/nonexistent/top.jpg";
	ASSERT_TRUE(setUpBoxLevel());
	EXPECT_EQ(1u, countChildrenOfType(Device->getSceneManager(), scene::ESNT_SKY_BOX));

	TearDown();
	SetUp();
	Settings.level.useSkybox = true;
	Settings.level.hasBackTexture = false;
	ASSERT_TRUE(setUpBoxLevel());
	EXPECT_EQ(0u, countChildrenOfType(Device->getSceneManager(), scene::ESNT_SKY_BOX));
}

TEST_F(SceneSetUpTest, LoadingScreenIsToldBetweenTheSkyBoxFaces)
{
	// Each face is a picture of the user's choice, maybe a large one: the
	// loading screen hears of the set-up after each face, so that it is
	// drawn and its window answered between them.
	class CCountingProgress : public ILoadProgress
	{
	public:
		bool onLoadProgress(const SLoadProgress&) override
		{
			++Reports;
			return true;
		}
		u32 Reports = 0;
	};
	u32 reports[2] = {0, 0};
	for (const bool skyBox : {false, true})
	{
		TearDown();
		SetUp();
		Settings.level.useSkybox = skyBox;
		Settings.level.hasTopTexture = Settings.level.hasBottomTexture = true;
		Settings.level.hasLeftTexture = Settings.level.hasRightTexture = true;
		Settings.level.hasCenterTexture = Settings.level.hasBackTexture = true;
		CCountingProgress progress;
		scene::SAnimatedMesh* level = test::makeBoxLevel(core::aabbox3df(-10.f, 0.f, -10.f, 30.f, 40.f, 50.f),
			std::vector<video::E_MATERIAL_TYPE>(1, video::EMT_LIGHTMAP_LIGHTING));
		EXPECT_TRUE(setUpScene(Device, level, Settings, "/editor/", &progress));
		level->drop();
		EXPECT_EQ(skyBox ? 1u : 0u, countChildrenOfType(Device->getSceneManager(), scene::ESNT_SKY_BOX));
		reports[skyBox] = progress.Reports;
	}
	EXPECT_EQ(reports[0] + 6, reports[1]);
}

TEST_F(SceneSetUpTest, NormalMappedLevelIsUnscaledWithTheFixedFloorTextures)
{
	test::CTemporaryDirectory install;
	std::string floors = install.path() + systemPath("/Textures/Floors");
	std::filesystem::create_directories(floors);
	video::IVideoDriver* driver = Device->getVideoDriver();
	video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2d<u32>(8, 8));
	image->fill(video::SColor(0xFF808080));
	ASSERT_TRUE(driver->writeImageToFile(image, (floors + "/Floor11.jpg").c_str()));
	ASSERT_TRUE(driver->writeImageToFile(image, (floors + "/Floor11_b.jpg").c_str()));
	image->drop();

	const struct
	{
		bool collisionEnabled;
	} cases[] = { { true }, { false } };
	for (const auto& c : cases)
	{
		TearDown();
		SetUp();
		Settings.engine.useNormalMapping = true;
		Settings.collision.collisionEnabled = c.collisionEnabled;
		Settings.level.scaleX = 50;
		Settings.camera.placeInCenter = true;
		scene::SAnimatedMesh* level = test::makeBoxLevel(
			core::aabbox3df(-10.f, 0.f, -10.f, 30.f, 40.f, 50.f),
			std::vector<video::E_MATERIAL_TYPE>(2, video::EMT_LIGHTMAP_LIGHTING));
		ASSERT_TRUE(setUpScene(Device, level, Settings, (install.path() + PATH_SEPARATOR).c_str()));
		level->drop();

		EXPECT_EQ(scene::ESNT_MESH, State.levelNode->getType());
		expectVector(core::vector3df(1.f, 1.f, 1.f), State.levelNode->getScale());
		expectVector(core::vector3df(10.f, 20.f, 20.f), State.camera->getPosition());
		EXPECT_EQ(c.collisionEnabled, State.triangleSelector != 0);
		EXPECT_EQ(c.collisionEnabled, State.collisionAnimator != 0);
		ASSERT_EQ(2u, State.levelNode->getMaterialCount());
		for (u32 i = 0; i < 2; ++i)
		{
			const video::SMaterial& material = State.levelNode->getMaterial(i);
			EXPECT_EQ(video::EMT_NORMAL_MAP_SOLID, material.MaterialType);
			ASSERT_TRUE(material.getTexture(0) != 0);
			ASSERT_TRUE(material.getTexture(1) != 0);
			EXPECT_EQ(enginePath(floors + "/Floor11.jpg"),
				enginePath(core::stringc(material.getTexture(0)->getName().getPath()).c_str()));
			EXPECT_EQ(enginePath(floors + "/Floor11_b.jpg"),
				enginePath(core::stringc(material.getTexture(1)->getName().getPath()).c_str()));
		}
	}
}

TEST_F(SceneSetUpTest, NoMeshOrNoFrameBuildsNothing)
{
	EXPECT_FALSE(setUpScene(Device, 0, Settings, "/editor/"));
	scene::SAnimatedMesh* empty = new scene::SAnimatedMesh();
	EXPECT_FALSE(setUpScene(Device, empty, Settings, "/editor/"));
	empty->drop();
	EXPECT_TRUE(State.levelNode == 0);
	EXPECT_TRUE(State.camera == 0);
}

} // end anonymous namespace

} // end namespace vistel

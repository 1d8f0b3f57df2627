// The level node on the null driver: it keeps the mesh's geometry while
// reordering it, takes the materials as the engine's octree node does, and
// leaves out what lies outside the view.

#include "CLevelMeshSceneNode.h"
#include "TestLevel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

using namespace irr;
using namespace vistel;
using namespace vistel::test;

namespace
{

typedef std::array<f32, 21> STriangleRecord; // three corners: position, texture coordinates, normal

std::vector<STriangleRecord> getTriangles(scene::IMeshBuffer* buffer)
{
	std::vector<STriangleRecord> triangles;
	const video::S3DVertex2TCoords* vertices = static_cast<const video::S3DVertex2TCoords*>(buffer->getVertices());
	for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3)
	{
		STriangleRecord record{};
		for (u32 j = 0; j < 3; ++j)
		{
			const u16 index = buffer->getIndices()[i + j];
			if (index >= buffer->getVertexCount())
			{
				record[7 * j] = f32(index); // kept as it was
				continue;
			}
			const video::S3DVertex2TCoords& v = vertices[index];
			const f32 values[] = {v.Pos.X, v.Pos.Y, v.Pos.Z, v.TCoords.X, v.TCoords.Y, v.TCoords2.X, v.Normal.Z};
			std::copy(values, values + 7, record.begin() + 7 * j);
		}
		triangles.push_back(record);
	}
	std::sort(triangles.begin(), triangles.end());
	return triangles;
}

class LevelMeshSceneNodeTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		device = createDevice(video::EDT_NULL, core::dimension2du(640, 480));
		ASSERT_TRUE(device);
		sceneManager = device->getSceneManager();
		mesh = makeTestLevel(0);
	}

	void TearDown() override
	{
		if (mesh)
			mesh->drop();
		if (device)
			device->drop();
	}

	u32 drawnFrom(const core::vector3df& eye, const core::vector3df& target)
	{
		scene::ICameraSceneNode* camera = sceneManager->addCameraSceneNode(0, eye, target);
		video::IVideoDriver* driver = device->getVideoDriver();
		driver->beginScene(true, true, video::SColor(0));
		sceneManager->drawAll();
		driver->endScene();
		camera->remove();
		return driver->getPrimitiveCountDrawn();
	}

	IrrlichtDevice* device = 0;
	scene::ISceneManager* sceneManager = 0;
	scene::SMesh* mesh = 0;
};

TEST_F(LevelMeshSceneNodeTest, ReordersEachBufferButKeepsItsTrianglesAndVertices)
{
	// A triangle whose index runs past its buffer stays, but is never drawn.
	scene::SMeshBufferLightMap* behind = static_cast<scene::SMeshBufferLightMap*>(mesh->getMeshBuffer(ETLB_BEHIND));
	const u16 broken[] = {0, 1, 60000};
	for (u16 index : broken)
		behind->Indices.push_back(index);

	std::vector<std::vector<STriangleRecord>> before;
	std::vector<u32> vertexCounts;
	for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
	{
		before.push_back(getTriangles(mesh->getMeshBuffer(b)));
		vertexCounts.push_back(mesh->getMeshBuffer(b)->getVertexCount());
	}
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 4);
	node->drop();

	for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
	{
		EXPECT_EQ(vertexCounts[b], mesh->getMeshBuffer(b)->getVertexCount()) << "buffer " << b;
		EXPECT_EQ(before[b], getTriangles(mesh->getMeshBuffer(b))) << "buffer " << b;
	}
	EXPECT_EQ(scene::ESNT_OCTREE, node->getType());
	EXPECT_EQ(mesh, node->getMesh());
	// Runs of four triangles: the broken one is in none.
	u32 expectedChunks = 0;
	for (u32 b = 0; b < ETLB_COUNT; ++b)
		expectedChunks += (getTestLevelTriangleCount(ETestLevelBuffer(b)) + 3) / 4;
	EXPECT_EQ(expectedChunks, node->getChunkCount());
	EXPECT_EQ(getTestLevelTriangleCount(ETLB_BEHIND),
		drawnFrom(TestLevelEye, TestLevelEye + core::vector3df(0.f, 0.f, -100.f)));
}

TEST_F(LevelMeshSceneNodeTest, HasAMaterialCopyPerBufferWithGeometryAndTheMeshsBox)
{
	mesh->getMeshBuffer(ETLB_BACK_WALL)->getMaterial().Wireframe = true;
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 128);
	node->drop();

	// The empty buffer has no material, as in the engine's octree node.
	ASSERT_EQ(u32(ETLB_COUNT - 1), node->getMaterialCount());
	const video::E_MATERIAL_TYPE types[] = {video::EMT_SOLID, video::EMT_SOLID, video::EMT_TRANSPARENT_ALPHA_CHANNEL,
		video::EMT_SOLID, video::EMT_SOLID};
	for (u32 i = 0; i < node->getMaterialCount(); ++i)
		EXPECT_EQ(types[i], node->getMaterial(i).MaterialType) << "material " << i;
	EXPECT_TRUE(node->getMaterial(ETLB_BACK_WALL).Wireframe);

	// Flags go to the node's materials, not to the mesh.
	node->setMaterialFlag(video::EMF_BACK_FACE_CULLING, true);
	for (u32 i = 0; i < node->getMaterialCount(); ++i)
		EXPECT_TRUE(node->getMaterial(i).BackfaceCulling);
	EXPECT_FALSE(mesh->getMeshBuffer(ETLB_FLOOR)->getMaterial().BackfaceCulling);

	EXPECT_EQ(mesh->getBoundingBox().MinEdge, node->getBoundingBox().MinEdge);
	EXPECT_EQ(mesh->getBoundingBox().MaxEdge, node->getBoundingBox().MaxEdge);
}

struct SViewCase
{
	const char* name;
	core::vector3df scale;
	core::vector3df eye, target;
	u32 drawn;
};

void PrintTo(const SViewCase& c, std::ostream* os) { *os << c.name; }

class LevelMeshSceneNodeViews : public LevelMeshSceneNodeTest, public ::testing::WithParamInterface<SViewCase>
{
};

// Views that see one buffer whole and nothing else of the level.
TEST_P(LevelMeshSceneNodeViews, DrawsOnlyTheBuffersInTheView)
{
	const SViewCase& c = GetParam();
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 4);
	node->drop();
	node->setScale(c.scale);
	EXPECT_EQ(c.drawn, drawnFrom(c.eye, c.target));
}

INSTANTIATE_TEST_SUITE_P(Cases, LevelMeshSceneNodeViews, ::testing::Values(
	SViewCase{"backwards", core::vector3df(1.f, 1.f, 1.f), TestLevelEye, TestLevelEye + core::vector3df(0.f, 0.f, -1.f),
		getTestLevelTriangleCount(ETLB_BEHIND)},
	SViewCase{"at the pillar", core::vector3df(1.f, 1.f, 1.f), core::vector3df(-1900.f, 5.f, 20.f),
		core::vector3df(-2000.f, 5.f, 20.f), getTestLevelTriangleCount(ETLB_LEFT_PILLAR)},
	// Scaled to half along x, the pillar stands at -1000.
	SViewCase{"at the scaled pillar", core::vector3df(0.5f, 1.f, 1.f), core::vector3df(-900.f, 5.f, 20.f),
		core::vector3df(-1000.f, 5.f, 20.f), getTestLevelTriangleCount(ETLB_LEFT_PILLAR)},
	SViewCase{"where the unscaled pillar was", core::vector3df(0.5f, 1.f, 1.f), core::vector3df(-1900.f, 5.f, 20.f),
		core::vector3df(-2000.f, 5.f, 20.f), 0u}),
	[](const ::testing::TestParamInfo<SViewCase>& info) {
		std::string name = info.param.name;
		std::replace(name.begin(), name.end(), ' ', '_');
		return name;
	});

TEST_F(LevelMeshSceneNodeTest, LeavesOutTheChunksOfABufferOutsideTheView)
{
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 4);
	node->drop();
	const u32 inFront = getTestLevelTriangleCount(ETLB_FLOOR) + getTestLevelTriangleCount(ETLB_BACK_WALL)
		+ getTestLevelTriangleCount(ETLB_GLASS);
	const u32 drawn = drawnFrom(TestLevelEye, TestLevelTarget);
	// The glass is seen whole; of the floor and the wall, only parts.
	EXPECT_GT(drawn, getTestLevelTriangleCount(ETLB_GLASS));
	EXPECT_LT(drawn, inFront);
}

TEST_F(LevelMeshSceneNodeTest, SetMeshTakesTheNewMeshAndAMeshWithoutGeometryDrawsNothing)
{
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 128);
	node->drop();
	scene::SMesh* empty = new scene::SMesh();
	node->setMesh(empty);
	empty->drop();
	EXPECT_EQ(0u, node->getMaterialCount());
	EXPECT_EQ(0u, drawnFrom(TestLevelEye, TestLevelTarget));
	node->setMesh(mesh);
	EXPECT_EQ(u32(ETLB_COUNT - 1), node->getMaterialCount());
	node->setMesh(mesh); // the same mesh again keeps it alive
	EXPECT_EQ(mesh, node->getMesh());
	EXPECT_EQ(getTestLevelTriangleCount(ETLB_BEHIND),
		drawnFrom(TestLevelEye, TestLevelEye + core::vector3df(0.f, 0.f, -1.f)));
}

} // end anonymous namespace

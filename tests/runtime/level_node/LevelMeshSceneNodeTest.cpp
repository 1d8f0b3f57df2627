// The level node on the null driver: it keeps the mesh's geometry while
// reordering it (16-bit and 32-bit indices alike), takes the materials as
// the engine's octree node does, and leaves out what lies outside the view.

#include "CLevelMeshSceneNode.h"
#include "CLevelTriangleSelector.h"
#include "TestLevel.h"
#include "WideIndexMesh.h"

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
	const bool wide = buffer->getIndexType() == video::EIT_32BIT;
	for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3)
	{
		STriangleRecord record{};
		for (u32 j = 0; j < 3; ++j)
		{
			const u32 index = wide ? reinterpret_cast<const u32*>(buffer->getIndices())[i + j]
								   : buffer->getIndices()[i + j];
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

	//! The test level with 32-bit indices instead.
	void useWideIndices()
	{
		scene::SMesh* wide = copyWithWideIndices(mesh);
		mesh->drop();
		mesh = wide;
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

class LevelMeshSceneNodeIndices : public LevelMeshSceneNodeTest, public ::testing::WithParamInterface<video::E_INDEX_TYPE>
{
protected:
	void SetUp() override
	{
		LevelMeshSceneNodeTest::SetUp();
		// A triangle whose index runs past its buffer stays, but is never drawn.
		scene::SMeshBufferLightMap* behind =
			static_cast<scene::SMeshBufferLightMap*>(mesh->getMeshBuffer(ETLB_BEHIND));
		const u16 broken[] = {0, 1, 60000};
		for (u16 index : broken)
			behind->Indices.push_back(index);
		if (GetParam() == video::EIT_32BIT)
			useWideIndices();
		ASSERT_EQ(GetParam(), mesh->getMeshBuffer(ETLB_BEHIND)->getIndexType());
	}
};

INSTANTIATE_TEST_SUITE_P(IndexTypes, LevelMeshSceneNodeIndices, ::testing::Values(video::EIT_16BIT, video::EIT_32BIT),
	[](const ::testing::TestParamInfo<video::E_INDEX_TYPE>& info) {
		return std::string(info.param == video::EIT_32BIT ? "Indices32" : "Indices16");
	});

TEST_P(LevelMeshSceneNodeIndices, ReordersEachBufferButKeepsItsTrianglesAndVertices)
{

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

typedef std::array<f32, 9> SCornersRecord;

SCornersRecord cornersOf(const core::triangle3df& t)
{
	return SCornersRecord{t.pointA.X, t.pointA.Y, t.pointA.Z, t.pointB.X, t.pointB.Y, t.pointB.Z, t.pointC.X,
		t.pointC.Y, t.pointC.Z};
}

// The drawable triangles of a mesh, read from its buffers, in a fixed order.
std::vector<SCornersRecord> meshTriangles(scene::IMesh* mesh)
{
	std::vector<SCornersRecord> triangles;
	for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
	{
		scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
		const bool wide = buffer->getIndexType() == video::EIT_32BIT;
		for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3)
		{
			u32 corners[3];
			bool drawable = true;
			for (u32 j = 0; j < 3; ++j)
			{
				corners[j] = wide ? reinterpret_cast<const u32*>(buffer->getIndices())[i + j]
								  : buffer->getIndices()[i + j];
				drawable = drawable && corners[j] < buffer->getVertexCount();
			}
			if (drawable)
				triangles.push_back(cornersOf(core::triangle3df(buffer->getPosition(corners[0]),
					buffer->getPosition(corners[1]), buffer->getPosition(corners[2]))));
		}
	}
	std::sort(triangles.begin(), triangles.end());
	return triangles;
}

// The level's selector keeps triangle numbers of the mesh, which the node
// changes: made after the node, as the preview makes it, it gives the
// triangles the mesh held before the node reordered them.
TEST_P(LevelMeshSceneNodeIndices, SelectorMadeAfterTheNodeSeesTheSameTriangles)
{
	const std::vector<SCornersRecord> before = meshTriangles(mesh);
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 4);
	node->drop();
	CLevelTriangleSelector* selector = new CLevelTriangleSelector(mesh, node, 4);
	ASSERT_EQ(static_cast<s32>(before.size()), selector->getTriangleCount());

	std::vector<core::triangle3df> given(before.size() + 1);
	s32 count = 0;
	selector->getTriangles(&given[0], static_cast<s32>(given.size()), count);
	std::vector<SCornersRecord> after;
	for (s32 i = 0; i < count; ++i)
		after.push_back(cornersOf(given[static_cast<std::size_t>(i)]));
	std::sort(after.begin(), after.end());
	EXPECT_EQ(before, after);

	// A box round the glass gives its triangles and those of the floor and
	// the wall behind it that reach into the box, no others.
	const core::aabbox3df box(-31.f, -11.f, 79.f, 31.f, 33.f, 81.f);
	std::vector<SCornersRecord> inBox;
	for (const SCornersRecord& t : before)
		if (!core::triangle3df(core::vector3df(t[0], t[1], t[2]), core::vector3df(t[3], t[4], t[5]),
				core::vector3df(t[6], t[7], t[8]))
				 .isTotalOutsideBox(box))
			inBox.push_back(t);
	selector->getTriangles(&given[0], static_cast<s32>(given.size()), count, box);
	std::vector<SCornersRecord> found;
	for (s32 i = 0; i < count; ++i)
		found.push_back(cornersOf(given[static_cast<std::size_t>(i)]));
	std::sort(found.begin(), found.end());
	EXPECT_EQ(inBox, found);
	EXPECT_GT(found.size(), static_cast<std::size_t>(getTestLevelTriangleCount(ETLB_GLASS)));
	selector->drop();
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

// Triangles of the mesh whose box is not wholly outside the view's planes,
// each plane moved outwards by margin.
u32 countNearTheView(scene::IMesh* mesh, const scene::SViewFrustum& view, f32 margin)
{
	u32 count = 0;
	for (const SCornersRecord& t : meshTriangles(mesh))
	{
		core::aabbox3df box(t[0], t[1], t[2], t[0], t[1], t[2]);
		box.addInternalPoint(t[3], t[4], t[5]);
		box.addInternalPoint(t[6], t[7], t[8]);
		bool outside = false;
		for (u32 i = 0; i < scene::SViewFrustum::VF_PLANE_COUNT && !outside; ++i)
		{
			const core::vector3df& n = view.planes[i].Normal;
			const core::vector3df nearest(n.X >= 0.f ? box.MinEdge.X : box.MaxEdge.X,
				n.Y >= 0.f ? box.MinEdge.Y : box.MaxEdge.Y, n.Z >= 0.f ? box.MinEdge.Z : box.MaxEdge.Z);
			outside = n.dotProduct(nearest) + view.planes[i].D > margin;
		}
		if (!outside)
			++count;
	}
	return count;
}

TEST_F(LevelMeshSceneNodeTest, LeavesOutTheChunksOfABufferOutsideTheView)
{
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 4);
	node->drop();
	scene::ICameraSceneNode* camera = sceneManager->addCameraSceneNode(0, TestLevelEye, TestLevelTarget);
	video::IVideoDriver* driver = device->getVideoDriver();
	driver->beginScene(true, true, video::SColor(0));
	sceneManager->drawAll();
	driver->endScene();
	const u32 drawn = driver->getPrimitiveCountDrawn();
	const scene::SViewFrustum view = *camera->getViewFrustum();

	// Every triangle the view may show is drawn; of the others, only those
	// that share a chunk of four with one of them, which lie within two floor
	// cells of the view's planes. Floor and wall are seen in part, the glass
	// whole; a node that culled nothing would draw all three whole.
	const u32 seen = countNearTheView(mesh, view, 0.f);
	const u32 nearby = countNearTheView(mesh, view, 25.f);
	EXPECT_GE(drawn, seen);
	EXPECT_LE(drawn, nearby);
	const u32 inFront = getTestLevelTriangleCount(ETLB_FLOOR) + getTestLevelTriangleCount(ETLB_BACK_WALL)
		+ getTestLevelTriangleCount(ETLB_GLASS);
	EXPECT_LT(nearby, inFront);
	EXPECT_GT(seen, getTestLevelTriangleCount(ETLB_GLASS));
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

#include "CLevelTriangleSelector.h"
#include "CLevelMeshSceneNode.h"
#include "WideIndexMesh.h"
#include "CRecordingLoadProgress.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

using namespace irr;

namespace vistel
{

namespace
{

typedef std::tuple<f32, f32, f32, f32, f32, f32, f32, f32, f32> TriangleKey;

TriangleKey keyOf(const core::triangle3df& t)
{
	return TriangleKey(t.pointA.X, t.pointA.Y, t.pointA.Z, t.pointB.X, t.pointB.Y, t.pointB.Z, t.pointC.X,
		t.pointC.Y, t.pointC.Z);
}

// The triangles a selector gives for a box, in a fixed order.
std::vector<TriangleKey> query(scene::ITriangleSelector* selector, const core::aabbox3df& box,
	const core::matrix4* transform)
{
	std::vector<core::triangle3df> triangles(static_cast<size_t>(selector->getTriangleCount()) + 1);
	s32 count = 0;
	selector->getTriangles(&triangles[0], static_cast<s32>(triangles.size()), count, box, transform);
	std::vector<TriangleKey> keys;
	for (s32 i = 0; i < count; ++i)
		keys.push_back(keyOf(triangles[static_cast<size_t>(i)]));
	std::sort(keys.begin(), keys.end());
	return keys;
}

// Scattered small and large triangles over several buffers, some of them
// wider than any octant, so triangles stay on every level of the octree.
scene::SMesh* makeScatteredMesh(u32 buffers, u32 trianglesPerBuffer)
{
	std::mt19937 random(7);
	std::uniform_real_distribution<f32> place(-500.f, 500.f), size(0.f, 20.f);
	scene::SMesh* mesh = new scene::SMesh();
	for (u32 b = 0; b < buffers; ++b)
	{
		scene::SMeshBufferLightMap* buffer = new scene::SMeshBufferLightMap();
		for (u32 t = 0; t < trianglesPerBuffer; ++t)
		{
			const core::vector3df corner(place(random), place(random), place(random));
			const f32 extent = (t % 50 == 0) ? 400.f : size(random);
			const core::vector3df points[3] = {corner, corner + core::vector3df(extent, 0.f, size(random)),
				corner + core::vector3df(0.f, extent, size(random))};
			for (const core::vector3df& p : points)
			{
				buffer->Indices.push_back(static_cast<u16>(buffer->Vertices.size()));
				buffer->Vertices.push_back(video::S3DVertex2TCoords(p, core::vector3df(0.f, 1.f, 0.f),
					video::SColor(0xFFFFFFFF), core::vector2df(0.f, 0.f), core::vector2df(0.f, 0.f)));
			}
		}
		buffer->recalculateBoundingBox();
		mesh->addMeshBuffer(buffer);
		buffer->drop();
	}
	mesh->recalculateBoundingBox();
	return mesh;
}

} // end anonymous namespace

// The triangles a selector gives for a line, or for everything when line is
// 0, in a fixed order.
std::vector<TriangleKey> queryLine(scene::ITriangleSelector* selector, const core::line3df* line,
	const core::matrix4* transform)
{
	std::vector<core::triangle3df> triangles(static_cast<size_t>(selector->getTriangleCount()) + 1);
	s32 count = 0;
	if (line)
		selector->getTriangles(&triangles[0], static_cast<s32>(triangles.size()), count, *line, transform);
	else
		selector->getTriangles(&triangles[0], static_cast<s32>(triangles.size()), count, transform);
	std::vector<TriangleKey> keys;
	for (s32 i = 0; i < count; ++i)
		keys.push_back(keyOf(triangles[static_cast<size_t>(i)]));
	std::sort(keys.begin(), keys.end());
	return keys;
}

// How the selector is built: from scratch over a mesh, or from the chunks of
// the level node that draws it.
enum ESelectorBuild
{
	ESB_FROM_MESH,
	ESB_FROM_LEVEL_NODE
};

class LevelTriangleSelectorQueries : public ::testing::TestWithParam<std::tuple<video::E_INDEX_TYPE, ESelectorBuild>>
{
};

// The engine's selector reads 16-bit indices only: on a mesh of 32-bit
// buffers ours is compared with the engine's on the same triangles in 16 bits.
TEST_P(LevelTriangleSelectorQueries, AnswerAsTheEngineSelectorDoes)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	ASSERT_TRUE(device != 0);
	scene::ISceneManager* sceneManager = device->getSceneManager();
	scene::SMesh* mesh = makeScatteredMesh(3, 3000);
	const video::E_INDEX_TYPE indexType = std::get<0>(GetParam());
	const bool fromLevelNode = std::get<1>(GetParam()) == ESB_FROM_LEVEL_NODE;
	scene::SMesh* ourMesh = indexType == video::EIT_32BIT ? test::copyWithWideIndices(mesh) : mesh;
	if (ourMesh != mesh)
		ASSERT_EQ(ourMesh->getMeshBuffer(0)->getIndexType(), video::EIT_32BIT);
	else
		ourMesh->grab();
	// The level node puts its mesh's triangles in an order of its own; the
	// engine's selector, which copies them, answers with the same ones.
	CLevelMeshSceneNode* levelNode = fromLevelNode
		? new CLevelMeshSceneNode(ourMesh, sceneManager->getRootSceneNode(), sceneManager, -1, 128) : 0;
	if (levelNode)
		levelNode->drop();
	scene::ISceneNode* node = levelNode ? levelNode : sceneManager->addOctreeSceneNode(mesh, 0, -1, 128);
	ASSERT_TRUE(node != 0);
	// A scaled, turned and moved node: triangles come out in world space.
	node->setScale(core::vector3df(0.5f, 1.f, 2.f));
	node->setRotation(core::vector3df(0.f, 30.f, 0.f));
	node->setPosition(core::vector3df(10.f, -5.f, 3.f));
	node->updateAbsolutePosition();

	scene::ITriangleSelector* engine = sceneManager->createTriangleSelector(mesh, node);
	CLevelTriangleSelector* ours = levelNode ? new CLevelTriangleSelector(levelNode)
											 : new CLevelTriangleSelector(ourMesh, node, 128);
	EXPECT_EQ(engine->getTriangleCount(), ours->getTriangleCount());
	EXPECT_EQ(ours->getSelectorCount(), 1u);
	EXPECT_EQ(ours->getSelector(0), ours);
	EXPECT_EQ(ours->getSceneNodeForTriangle(5), node);

	core::matrix4 ellipsoidSpace;
	ellipsoidSpace.setScale(core::vector3df(1.f / 30.f, 1.f / 50.f, 1.f / 30.f));
	std::mt19937 random(11);
	std::uniform_real_distribution<f32> place(-600.f, 600.f), size(1.f, 150.f);
	for (int i = 0; i < 200; ++i)
	{
		const core::vector3df corner(place(random), place(random), place(random));
		const core::aabbox3df box(corner, corner + core::vector3df(size(random), size(random), size(random)));
		const core::matrix4* transform = (i % 2) ? &ellipsoidSpace : 0;
		ASSERT_EQ(query(engine, box, transform), query(ours, box, transform)) << "box " << i;
	}
	// Lines, as a camera's pick or a collision's ray asks; some lie outside
	// the level, some run along an axis.
	for (int i = 0; i < 200; ++i)
	{
		const core::vector3df start(place(random), place(random), place(random));
		core::vector3df end(place(random), place(random), place(random));
		if (i % 5 == 0)
			end = start + core::vector3df(0.f, -size(random), 0.f);
		const core::line3df line(start, end);
		const core::matrix4* transform = (i % 2) ? &ellipsoidSpace : 0;
		const std::vector<TriangleKey> expected = queryLine(engine, &line, transform);
		ASSERT_EQ(expected, queryLine(ours, &line, transform)) << "line " << i;
	}

	// All triangles, moved by the node and by a further transformation.
	for (const core::matrix4* transform : {static_cast<const core::matrix4*>(0), static_cast<const core::matrix4*>(&ellipsoidSpace)})
	{
		const std::vector<TriangleKey> all = queryLine(ours, 0, transform);
		EXPECT_EQ(all.size(), static_cast<size_t>(ours->getTriangleCount()));
		EXPECT_EQ(queryLine(engine, 0, transform), all);
	}
	const core::aabbox3df everything(-5000.f, -5000.f, -5000.f, 5000.f, 5000.f, 5000.f);
	EXPECT_EQ(query(engine, everything, 0).size(), static_cast<size_t>(ours->getTriangleCount()));
	EXPECT_EQ(query(ours, everything, 0).size(), static_cast<size_t>(ours->getTriangleCount()));

	// A full output array stops the query where the array ends.
	std::vector<core::triangle3df> ten(10);
	s32 count = 0;
	ours->getTriangles(&ten[0], 10, count, everything);
	EXPECT_EQ(count, 10);

	ours->drop();
	engine->drop();
	ourMesh->drop();
	mesh->drop();
	device->drop();
}

INSTANTIATE_TEST_SUITE_P(IndexTypesAndBuilds, LevelTriangleSelectorQueries,
	::testing::Combine(::testing::Values(video::EIT_16BIT, video::EIT_32BIT),
		::testing::Values(ESB_FROM_MESH, ESB_FROM_LEVEL_NODE)),
	[](const ::testing::TestParamInfo<std::tuple<video::E_INDEX_TYPE, ESelectorBuild>>& info) {
		return std::string(std::get<0>(info.param) == video::EIT_32BIT ? "Indices32" : "Indices16")
			+ (std::get<1>(info.param) == ESB_FROM_LEVEL_NODE ? "FromLevelNode" : "FromMesh");
	});

TEST(LevelTriangleSelector, EmptyAndDegenerateMeshesAreSafe)
{
	scene::SMesh* empty = new scene::SMesh();
	CLevelTriangleSelector* none = new CLevelTriangleSelector(empty, 0, 128);
	core::triangle3df triangles[4];
	s32 count = -1;
	none->getTriangles(triangles, 4, count, core::aabbox3df(-1.f, -1.f, -1.f, 1.f, 1.f, 1.f));
	EXPECT_EQ(count, 0);
	none->drop();
	empty->drop();

	// Thousands of triangles on one point cannot be split: one leaf.
	scene::SMesh* point = new scene::SMesh();
	scene::SMeshBufferLightMap* buffer = new scene::SMeshBufferLightMap();
	buffer->Vertices.push_back(video::S3DVertex2TCoords());
	for (u32 i = 0; i < 3000; ++i)
		buffer->Indices.push_back(0);
	// An index past the buffer's vertices is passed over, not read.
	buffer->Indices.push_back(0);
	buffer->Indices.push_back(0);
	buffer->Indices.push_back(7);
	point->addMeshBuffer(buffer);
	buffer->drop();
	CLevelTriangleSelector* selector = new CLevelTriangleSelector(point, 0, 128);
	std::vector<core::triangle3df> all(1100);
	selector->getTriangles(&all[0], 1100, count, core::aabbox3df(-1.f, -1.f, -1.f, 1.f, 1.f, 1.f));
	EXPECT_EQ(count, 1000);
	// The count leaves it out as well: an array of that size takes every
	// triangle that is given.
	EXPECT_EQ(selector->getTriangleCount(), 1000);
	selector->getTriangles(&all[0], 1100, count);
	EXPECT_EQ(count, 1000);
	selector->drop();
	point->drop();
}

TEST(LevelTriangleSelector, FromALevelNodeTakesWhatTheNodeDraws)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	ASSERT_TRUE(device != 0);
	scene::ISceneManager* sceneManager = device->getSceneManager();
	const core::aabbox3df around(-1.f, -1.f, -1.f, 1.f, 1.f, 1.f);
	core::triangle3df triangles[4];
	s32 count = -1;

	// No node, and a node of an empty mesh: no triangles, no answers.
	CLevelTriangleSelector* none = new CLevelTriangleSelector(static_cast<CLevelMeshSceneNode*>(0));
	none->getTriangles(triangles, 4, count, around);
	EXPECT_EQ(count, 0);
	none->drop();
	scene::SMesh* empty = new scene::SMesh();
	CLevelMeshSceneNode* emptyNode = new CLevelMeshSceneNode(empty, sceneManager->getRootSceneNode(), sceneManager, -1, 128);
	CLevelTriangleSelector* nothing = new CLevelTriangleSelector(emptyNode);
	count = -1;
	nothing->getTriangles(triangles, 4, count, around);
	EXPECT_EQ(count, 0);
	EXPECT_EQ(nothing->getTriangleCount(), 0);
	nothing->drop();
	emptyNode->drop();
	empty->drop();

	// One buffer of 1,000 triangles on a point and one past the buffer's
	// vertices, beside a buffer of indices too few for a triangle.
	scene::SMesh* point = new scene::SMesh();
	scene::SMeshBufferLightMap* stub = new scene::SMeshBufferLightMap();
	stub->Vertices.push_back(video::S3DVertex2TCoords());
	stub->Indices.push_back(0);
	point->addMeshBuffer(stub);
	stub->drop();
	scene::SMeshBufferLightMap* buffer = new scene::SMeshBufferLightMap();
	buffer->Vertices.push_back(video::S3DVertex2TCoords());
	for (u32 i = 0; i < 3000; ++i)
		buffer->Indices.push_back(0);
	buffer->Indices.push_back(0);
	buffer->Indices.push_back(7);
	buffer->Indices.push_back(0);
	point->addMeshBuffer(buffer);
	buffer->drop();
	CLevelMeshSceneNode* node = new CLevelMeshSceneNode(point, sceneManager->getRootSceneNode(), sceneManager, -1, 128);
	CLevelTriangleSelector* selector = new CLevelTriangleSelector(node);
	EXPECT_EQ(selector->getTriangleCount(), 1000);
	EXPECT_EQ(selector->getSceneNodeForTriangle(0), node);
	std::vector<core::triangle3df> all(1100);
	selector->getTriangles(&all[0], 1100, count, around);
	EXPECT_EQ(count, 1000);
	selector->getTriangles(&all[0], 1100, count);
	EXPECT_EQ(count, 1000);
	count = -1;
	selector->getTriangles(&all[0], 1100, count, core::aabbox3df(5.f, 5.f, 5.f, 6.f, 6.f, 6.f));
	EXPECT_EQ(count, 0);
	selector->drop();
	node->drop();
	point->drop();
	device->drop();
}

} // end namespace vistel

namespace vistel
{

using test::CRecordingLoadProgress;

TEST(LevelTriangleSelector, ReportsItsBuildingAndAnswersAsWithoutReports)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	ASSERT_TRUE(device != 0);
	scene::SMesh* mesh = makeScatteredMesh(4, 20000);
	scene::ISceneNode* node = device->getSceneManager()->addMeshSceneNode(mesh);
	CRecordingLoadProgress progress;
	CLevelTriangleSelector reported(mesh, node, 128, &progress);
	CLevelTriangleSelector plain(mesh, node, 128);

	ASSERT_GT(progress.Reports.size(), 4u);
	f32 done = 0.f;
	for (const SLoadProgress& report : progress.Reports)
	{
		EXPECT_EQ(report.Stage, ELS_COLLISION);
		EXPECT_EQ(report.Triangles, 80000u);
		EXPECT_GE(report.StageDone, done);
		EXPECT_LE(report.StageDone, 1.f);
		done = report.StageDone;
	}
	EXPECT_GT(done, 0.5f);
	EXPECT_EQ(reported.getTriangleCount(), 80000);
	const core::aabbox3df boxes[] = {core::aabbox3df(-500.f, -500.f, -500.f, 500.f, 500.f, 500.f),
		core::aabbox3df(-100.f, -50.f, 0.f, 60.f, 80.f, 200.f), core::aabbox3df(300.f, 300.f, 300.f, 310.f, 320.f, 330.f)};
	for (const core::aabbox3df& box : boxes)
		EXPECT_EQ(query(&reported, box, 0), query(&plain, box, 0));
	mesh->drop();
	device->drop();
}

TEST(LevelTriangleSelector, AStoppedBuildLeavesNoTriangles)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	ASSERT_TRUE(device != 0);
	scene::SMesh* mesh = makeScatteredMesh(4, 20000);
	scene::ISceneManager* sceneManager = device->getSceneManager();
	CLevelMeshSceneNode* levelNode = new CLevelMeshSceneNode(mesh, sceneManager->getRootSceneNode(), sceneManager, -1, 128);
	for (const bool fromLevelNode : {false, true})
		for (const std::size_t stopAt : {std::size_t(1), std::size_t(3), std::size_t(6)})
		{
			CRecordingLoadProgress progress;
			progress.StopAt = stopAt;
			CLevelTriangleSelector* selector = fromLevelNode ? new CLevelTriangleSelector(levelNode, &progress)
															 : new CLevelTriangleSelector(mesh, 0, 128, &progress);
			EXPECT_EQ(progress.Reports.size(), stopAt);
			EXPECT_EQ(selector->getTriangleCount(), 0) << stopAt;
			EXPECT_TRUE(query(selector, core::aabbox3df(-500.f, -500.f, -500.f, 500.f, 500.f, 500.f), 0).empty());
			selector->drop();
		}
	levelNode->drop();
	mesh->drop();
	device->drop();
}

} // end namespace vistel

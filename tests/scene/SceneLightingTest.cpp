// What the loaded level gives the engine's lighting: the scene's ambient
// light and face normals that point to the side each face is drawn for.
// Also the fault of a document that could not be read, kept for the run.
#include "SceneTestSupport.h"

#include <triangle3d.h>

namespace vistel
{
namespace test
{
namespace
{

class SceneLightingTest : public SceneLoaderTest
{
protected:
	void SetUp() override
	{
		SceneLoaderTest::SetUp();
		usePreviewParameters();
		provideTexture("tex/a.tga");
	}
};

// The scene manager hands its own ambient light to the driver at every
// drawAll, so that is where the scene's ambient colour has to go.
TEST_F(SceneLightingTest, AmbientLightGoesToTheSceneManager)
{
	struct SCase
	{
		const char* settings;
		irr::video::SColorf expected;
	};
	const SCase cases[] = {
		{"<settings shadowOpacity=\"75\"><ambient r=\"92\" g=\"92\" b=\"92\" /></settings>",
			irr::video::SColorf(92 / 255.f, 92 / 255.f, 92 / 255.f, 1.f)},
		{"<settings shadowOpacity=\"0\"><ambient r=\"255\" g=\"300\" b=\"10\" /></settings>",
			irr::video::SColorf(1.f, 44 / 255.f, 10 / 255.f, 1.f)},
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.settings);
		SceneManager->setAmbientLight(irr::video::SColorf(0.f, 0.f, 0.f, 0.f));
		ASSERT_NE(load(std::string("<scene version=\"1.6\">") + c.settings + "</scene>"), nullptr);
		const irr::video::SColorf& ambient = SceneManager->getAmbientLight();
		EXPECT_FLOAT_EQ(c.expected.r, ambient.r);
		EXPECT_FLOAT_EQ(c.expected.g, ambient.g);
		EXPECT_FLOAT_EQ(c.expected.b, ambient.b);
		EXPECT_FLOAT_EQ(c.expected.a, ambient.a);
	}
}

// The run puts its settings element after the editor's first line: after an
// XML declaration that is in front of the scene, at the top level. There it
// counts for the scene that follows it directly, and for nothing else.
TEST_F(SceneLightingTest, SettingsInFrontOfTheSceneCountForIt)
{
	const std::string settings = "<settings shadowOpacity=\"75\"><ambient r=\"92\" g=\"92\" b=\"92\" /></settings>";
	const std::string scene = "<scene version=\"1.6\"></scene>";
	const float grey = 92 / 255.f;
	struct SCase
	{
		std::string document;
		float expected;
	};
	const SCase cases[] = {
		{"<?xml version=\"1.0\"?>" + settings + scene, grey},
		{"<?xml version=\"1.0\"?>" + settings + "<!-- c -->" + scene, grey},
		{settings + "<lights />" + scene, 0.f},
		{"<?xml version=\"1.0\"?><scene version=\"1.6\">" + settings + "</scene>", grey},
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.document);
		SceneManager->setAmbientLight(irr::video::SColorf(0.f, 0.f, 0.f, 0.f));
		ASSERT_NE(load(c.document), nullptr);
		EXPECT_FLOAT_EQ(c.expected, SceneManager->getAmbientLight().r);
	}
}

// A room's faces as the editor writes them, each seen from inside the room
// once drawn. The normal must point into the room, and agree with the face
// normal the engine derives from the drawn triangles (the side it calls the
// front).
TEST_F(SceneLightingTest, NormalsPointToTheSideTheFaceIsDrawnFor)
{
	struct SCase
	{
		const char* face;
		std::vector<irr::core::vector3df> corners; // document coordinates
		irr::core::vector3df expected;             // engine coordinates
	};
	const SCase cases[] = {
		{"floor", {{0, 0, 0}, {4, 0, 0}, {4, 0, 4}, {0, 0, 4}}, {0, 1, 0}},
		{"ceiling", {{0, 3, 0}, {0, 3, 4}, {4, 3, 4}, {4, 3, 0}}, {0, -1, 0}},
		{"west wall", {{0, 0, 0}, {0, 0, 4}, {0, 3, 4}, {0, 3, 0}}, {1, 0, 0}},
		{"east wall", {{4, 0, 0}, {4, 3, 0}, {4, 3, 4}, {4, 0, 4}}, {-1, 0, 0}},
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.face);
		irr::scene::IMesh* mesh = loadFrame(sceneDocument(textureMaterial(1, "a.tga"),
			primitiveElement(vertexList(c.corners) + "<polygons>" + polyElement(1, {0, 1, 2, 3}) +
				"</polygons>")));
		ASSERT_NE(mesh, nullptr);
		ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
		irr::scene::SMeshBufferLightMap* mb = buffer(mesh, 0);
		ASSERT_EQ(mb->Vertices.size(), 4u);
		ASSERT_EQ(mb->Indices.size(), 6u);
		for (irr::u32 i = 0; i < mb->Vertices.size(); ++i)
			EXPECT_EQ(mb->Vertices[i].Normal, c.expected) << "corner " << i;
		for (irr::u32 t = 0; t < mb->Indices.size(); t += 3)
		{
			irr::core::vector3df drawn = irr::core::triangle3df(mb->Vertices[mb->Indices[t]].Pos,
				mb->Vertices[mb->Indices[t + 1]].Pos, mb->Vertices[mb->Indices[t + 2]].Pos)
				.getNormal()
				.normalize();
			EXPECT_EQ(drawn, c.expected) << "triangle " << t / 3;
			// Looking at the face from the side its normal points to, the
			// engine takes it as a front face.
			EXPECT_TRUE(irr::core::triangle3df(mb->Vertices[mb->Indices[t]].Pos,
				mb->Vertices[mb->Indices[t + 1]].Pos, mb->Vertices[mb->Indices[t + 2]].Pos)
							.isFrontFacing(-c.expected));
		}
	}
}

TEST_F(SceneLightingTest, LoaderKeepsWhereTheLastDocumentFirstFailed)
{
	// Broken before any geometry: no frame, and a fault with its place.
	irr::scene::IAnimatedMesh* broken = load("<scene version=\"1.6\">\n<materials>\n<category name=\"C\"\n");
	ASSERT_NE(broken, nullptr);
	EXPECT_EQ(broken->getFrameCount(), 0u);
	const std::string fault = Loader->getLastLoadFault();
	EXPECT_EQ(fault.compare(0, 5, "line "), 0) << fault;
	EXPECT_NE(fault.find(", column "), std::string::npos) << fault;
	EXPECT_GT(fault.size(), fault.find(": ") + 2) << "a reason follows the place: " << fault;

	// The next document reads as written: nothing to report.
	ASSERT_NE(loadFrame(sceneDocument(textureMaterial(1, "a.tga"), trianglePrimitive())), nullptr);
	EXPECT_EQ(Loader->getLastLoadFault(), "");
}

} // end namespace
} // end namespace test
} // end namespace vistel

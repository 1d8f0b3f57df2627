// The shared reading rules as the whole loader sees them: what is skipped,
// what is read, and how the document's outer forms are treated.
#include "SceneTestSupport.h"

namespace vistel
{
namespace test
{
namespace
{

class DocumentReadingTest : public SceneLoaderTest
{
protected:
	void SetUp() override
	{
		SceneLoaderTest::SetUp();
		usePreviewParameters();
		provideTexture("tex/a.tga");
	}

	// Positions and indices of every buffer, for comparing two loads.
	std::string geometryOf(irr::scene::IMesh* mesh)
	{
		if (!mesh)
			return "no frame";
		std::string out;
		for (irr::u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
		{
			irr::scene::SMeshBufferLightMap* mb = buffer(mesh, b);
			out += "[";
			for (irr::u32 i = 0; i < mb->Vertices.size(); ++i)
			{
				const irr::video::S3DVertex2TCoords& v = mb->Vertices[i];
				out += std::to_string(v.Pos.X) + "," + std::to_string(v.Pos.Y) + "," + std::to_string(v.Pos.Z) + "," +
					std::to_string(v.TCoords.X) + ";";
			}
			for (irr::u32 i = 0; i < mb->Indices.size(); ++i)
				out += std::to_string(mb->Indices[i]) + " ";
			out += "]";
		}
		return out;
	}
};

TEST_F(DocumentReadingTest, UnknownElementsCommentsTextAndCdataChangeNothing)
{
	const std::string material = textureMaterial(1, "a.tga");
	const std::string plain = sceneDocument(material, trianglePrimitive());
	const std::string expected = geometryOf(loadFrame(plain));
	ASSERT_NE(expected, "no frame");
	ASSERT_NE(expected, "");

	// Noise that looks like content: a tag holding a whole primitive, lights,
	// comments, CDATA with markup, processing instructions, stray text.
	const std::string tagWithContent = "<tag name=\"t\"><primitive><vertices><vertex x=\"9\"/></vertices></primitive>"
									   "<poly mid=\"1\"><vertex vid=\"0\"/></poly></tag>";
	const std::string lights = "<lights><light id=\"1\" x=\"5\"/><light id=\"2\"><color r=\"1\"/></light></lights>";
	const std::string noise = "<!-- <vertex x=\"7\"/> --><![CDATA[<vertex x=\"8\"/>]]>text<?pi data?>";
	const std::string noisy = "<?xml version=\"1.0\"?><!-- lead -->"
							  "<scene version=\"1.6\">" + noise +
		"<settings name=\"Test\" shadowOpacity=\"75\"><ambient r=\"92\" g=\"92\" b=\"92\"/>" + noise +
		"</settings><materials>" + noise + "<category name=\"C\">" + noise + material + "</category></materials>" +
		lights + "<primitives>" + noise + "<primitive name=\"P\" id=\"1\">" + tagWithContent +
		vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) + noise + "<polygons>" + noise +
		"<poly mid=\"1\">" + noise + "<vertex vid=\"0\" u0=\"0\" v0=\"0\"/>" + tagWithContent +
		"<vertex vid=\"1\" u0=\"1\" v0=\"10\"/><vertex vid=\"2\" u0=\"2\" v0=\"20\"/></poly></polygons>" +
		tagWithContent + "</primitive></primitives>" + lights + "</scene>";
	EXPECT_EQ(geometryOf(loadFrame(noisy)), expected);
	EXPECT_TRUE(Logger->Lines.empty());
}

TEST_F(DocumentReadingTest, LeafElementsReadTheSameWithEndTags)
{
	const std::string material = textureMaterial(1, "a.tga");
	const std::string expected = geometryOf(loadFrame(sceneDocument(material, trianglePrimitive())));
	const std::string longForm = primitiveElement(
		"<vertices><vertex x=\"0\" y=\"0\" z=\"0\"></vertex><vertex x=\"1\"></vertex><vertex y=\"1\"></vertex></vertices>"
		"<polygons><poly mid=\"1\"><vertex vid=\"0\" u0=\"0\" v0=\"0\"></vertex><vertex vid=\"1\" u0=\"1\" "
		"v0=\"10\"></vertex><vertex vid=\"2\" u0=\"2\" v0=\"20\"></vertex></poly></polygons>");
	EXPECT_EQ(geometryOf(loadFrame(sceneDocument(
				  "<material id=\"1\" used=\"true\"><layer type=\"texture\"><texture file=\"a.tga\"></texture>"
				  "</layer></material>",
				  longForm))),
		expected);
}

TEST_F(DocumentReadingTest, EmptyContainerElementsHaveNoContent)
{
	// Each empty-element container is followed by the real content, which
	// must be read once and in its own place.
	const std::string triangle = trianglePrimitive();
	const std::string expected =
		geometryOf(loadFrame(sceneDocument(textureMaterial(1, "a.tga"), triangle)));
	const std::string cases[] = {
		sceneDocument("<material id=\"2\" used=\"true\"/>" + textureMaterial(1, "a.tga"), triangle),
		sceneDocument("<material id=\"1\" used=\"true\"><layer type=\"texture\"/><layer><texture file=\"a.tga\"/>"
					  "</layer></material>",
			triangle),
		sceneDocument(textureMaterial(1, "a.tga"), "<primitive name=\"E\" id=\"9\"/>" + triangle),
		sceneDocument(textureMaterial(1, "a.tga"),
			primitiveElement("<vertices/>" + vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) +
				"<polygons/><polygons><poly mid=\"1\"/>" + polyElement(1, {0, 1, 2}) + "</polygons>")),
		"<scene version=\"1.6\"><settings shadowOpacity=\"75\"/><materials/><materials><category name=\"C\"/>"
		"<category>" + textureMaterial(1, "a.tga") + "</category></materials><primitives>" + triangle +
			"</primitives></scene>",
	};
	for (const std::string& document : cases)
		EXPECT_EQ(geometryOf(loadFrame(document)), expected) << document;
}

TEST_F(DocumentReadingTest, OnlyUsedTrueMaterialsAreRead)
{
	struct SCase
	{
		const char* Used;
		irr::u32 Buffers;
	};
	const SCase cases[] = {{"used=\"true\"", 1}, {"used=\"TRUE\"", 0}, {"used=\"1\"", 0}, {"", 0}};
	for (const SCase& c : cases)
	{
		const std::string material = std::string("<material id=\"1\" ") + c.Used +
			"><layer type=\"texture\"><texture file=\"a.tga\"/></layer></material>";
		irr::scene::IMesh* mesh = loadFrame(sceneDocument(material, trianglePrimitive()));
		ASSERT_NE(mesh, nullptr);
		EXPECT_EQ(mesh->getMeshBufferCount(), c.Buffers) << c.Used;
	}
}

TEST_F(DocumentReadingTest, OuterFormsWithoutReadableSceneGiveNoFrames)
{
	const std::string body = "<materials><category>" + textureMaterial(1, "a.tga") + "</category></materials><primitives>" +
		trianglePrimitive() + "</primitives>";
	const std::string cases[] = {
		"<level>" + body + "</level>",                          // another root
		"<wrapper><scene version=\"1.6\">" + body + "</scene></wrapper>", // scene below a skipped root
		"<scene version=\"1.5\"/>",
		"<scene version=\"1.6\"/>",
		"<scene version=\"1.6\">" + std::string("<materials/></scene>"), // no primitives
	};
	for (const std::string& document : cases)
	{
		irr::scene::IAnimatedMesh* mesh = load(document);
		ASSERT_NE(mesh, nullptr) << document;
		EXPECT_EQ(mesh->getFrameCount(), 0u) << document;
	}
	// A scene with content is read whatever its version.
	irr::scene::IAnimatedMesh* old = load("<scene version=\"1.0\">" + body + "</scene>");
	ASSERT_EQ(old->getFrameCount(), 1u);
	EXPECT_EQ(old->getMesh(0)->getMeshBufferCount(), 1u);
}

TEST_F(DocumentReadingTest, BrokenDocumentKeepsWhatCameBeforeTheBreak)
{
	const std::string whole = sceneDocument(textureMaterial(1, "a.tga"),
		trianglePrimitive(1, "A", 1) +
			primitiveElement(vertexList({{5, 5, 5}, {6, 5, 5}, {5, 6, 5}}) + "<polygons>" + polyElement(1, {0, 1, 2}) +
				"</polygons>", "B", 2));
	// Cut inside the second primitive's polygon start tag.
	const std::string cut = whole.substr(0, whole.rfind("<poly mid") + 7);
	irr::scene::IMesh* mesh = loadFrame(cut);
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
	EXPECT_EQ(buffer(mesh, 0)->Vertices.size(), 3u);
	EXPECT_EQ(Logger->Lines.size(), 1u);
}

TEST_F(DocumentReadingTest, AttributeKindsInContext)
{
	// mid written 1.7 names material 1; a vertex without z lies at z = 0;
	// a poly without mid names material 0.
	const std::string materials = textureMaterial(1, "a.tga") + textureMaterial(0, "a.tga");
	const std::string primitive = primitiveElement(
		"<vertices><vertex x=\"0\" y=\"0\" z=\"4\"/><vertex x=\"1\" y=\"0\"/><vertex x=\"0\" y=\"1\" z=\"4\"/>"
		"</vertices><polygons><poly mid=\"1.7\"><vertex vid=\"0\"/><vertex vid=\"1.9\"/><vertex vid=\"2\"/></poly>"
		"<poly><vertex vid=\"0\"/><vertex vid=\"1\"/><vertex vid=\"2\"/></poly></polygons>");
	irr::scene::IMesh* mesh = loadFrame(sceneDocument(materials, primitive));
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getMeshBufferCount(), 2u);
	EXPECT_EQ(buffer(mesh, 0)->Vertices.size(), 3u);
	EXPECT_EQ(buffer(mesh, 1)->Vertices.size(), 3u);
	EXPECT_EQ(buffer(mesh, 0)->Vertices[1].Pos, irr::core::vector3df(1, 0, 0));
}

} // end namespace
} // end namespace test
} // end namespace vistel

// Primitives into mesh buffers: vertices, normals, the z mirror, triangle
// order, buffer removal and splitting, skipped polygons, both modes.
#include "SceneTestSupport.h"
#include "TXSPlaceholderTextures.h"

#include <cmath>

namespace vistel
{
namespace test
{
namespace
{

class MeshBuildingTest : public SceneLoaderTest
{
protected:
	void SetUp() override
	{
		SceneLoaderTest::SetUp();
		usePreviewParameters();
		provideTexture("tex/a.tga");
		provideTexture("tex/b.tga");
	}

	irr::scene::IMesh* loadPolygons(const std::vector<irr::core::vector3df>& positions, const std::string& polys,
		const std::string& materials = textureMaterial(1, "a.tga"))
	{
		return loadFrame(sceneDocument(materials, primitiveElement(vertexList(positions) + "<polygons>" + polys +
			"</polygons>")));
	}

	static std::vector<irr::u16> indicesOf(irr::scene::SMeshBufferLightMap* mb)
	{
		return std::vector<irr::u16>(mb->Indices.const_pointer(), mb->Indices.const_pointer() + mb->Indices.size());
	}
};

TEST_F(MeshBuildingTest, TriangleVerticesNormalAndMirror)
{
	irr::scene::IMesh* mesh = loadFrame(sceneDocument(textureMaterial(1, "a.tga"), trianglePrimitive()));
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
	irr::scene::SMeshBufferLightMap* mb = buffer(mesh, 0);
	EXPECT_EQ(mb->getVertexType(), irr::video::EVT_2TCOORDS);
	ASSERT_EQ(mb->Vertices.size(), 3u);
	const irr::core::vector3df expected[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
	for (irr::u32 i = 0; i < 3; ++i)
	{
		const irr::video::S3DVertex2TCoords& v = mb->Vertices[i];
		EXPECT_EQ(v.Pos, expected[i]);
		EXPECT_TRUE(std::signbit(v.Pos.Z)) << "z is mirrored: 0 becomes -0";
		// The drawn face's normal; for a face in the plane z = 0 the mirror
		// changes nothing of it.
		EXPECT_EQ(v.Normal, irr::core::vector3df(0, 0, 1));
		EXPECT_EQ(v.Color, irr::video::SColor(0x00FFFFFF));
		EXPECT_EQ(v.TCoords, irr::core::vector2df(float(i), float(10 * i)));
		EXPECT_EQ(v.TCoords2, irr::core::vector2df(0, 0));
	}
	EXPECT_EQ(indicesOf(mb), (std::vector<irr::u16>{2, 0, 1}));

	// Positions with z: the sign flips.
	irr::scene::IMesh* deep = loadPolygons({{0, 0, 5}, {1, 0, 5}, {0, 1, -2}}, polyElement(1, {0, 1, 2}));
	ASSERT_NE(deep, nullptr);
	EXPECT_EQ(buffer(deep, 0)->Vertices[0].Pos, irr::core::vector3df(0, 0, -5));
	EXPECT_EQ(buffer(deep, 0)->Vertices[2].Pos, irr::core::vector3df(0, 1, 2));
	EXPECT_EQ(deep->getBoundingBox().MinEdge, irr::core::vector3df(0, 0, -5));
}

TEST_F(MeshBuildingTest, DegeneratePolygons)
{
	// Three collinear corners: normal (0, 0, 0), still drawn.
	irr::scene::IMesh* collinear = loadPolygons({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, polyElement(1, {0, 1, 2}));
	ASSERT_NE(collinear, nullptr);
	ASSERT_EQ(collinear->getMeshBufferCount(), 1u);
	EXPECT_EQ(buffer(collinear, 0)->Vertices[0].Normal, irr::core::vector3df(0, 0, 0));

	// Two corners add nothing; the empty buffer is removed.
	irr::scene::IMesh* line = loadPolygons({{0, 0, 0}, {1, 0, 0}}, polyElement(1, {0, 1}));
	ASSERT_NE(line, nullptr);
	EXPECT_EQ(line->getMeshBufferCount(), 0u);
}

TEST_F(MeshBuildingTest, ConvexPolygonsKeepTheZigZagOrder)
{
	struct SCase
	{
		int Corners;
		std::vector<irr::u16> Indices;
	};
	const SCase cases[] = {
		{4, {3, 0, 1, 3, 1, 2}},
		{5, {4, 0, 1, 4, 1, 3, 3, 1, 2}},
		{6, {5, 0, 1, 5, 1, 4, 4, 1, 2, 4, 2, 3}},
	};
	for (const SCase& c : cases)
	{
		std::vector<irr::core::vector3df> positions;
		std::vector<int> vids;
		for (int i = 0; i < c.Corners; ++i)
		{
			const float angle = 6.2831853f * float(i) / float(c.Corners);
			positions.emplace_back(std::cos(angle), std::sin(angle), 0.f);
			vids.push_back(i);
		}
		irr::scene::IMesh* mesh = loadPolygons(positions, polyElement(1, vids));
		ASSERT_NE(mesh, nullptr);
		EXPECT_EQ(indicesOf(buffer(mesh, 0)), c.Indices) << c.Corners << " corners";
	}
}

TEST_F(MeshBuildingTest, NonConvexPolygonIsCoveredExactlyOnce)
{
	// An L whose second corner is the reflex one, so its first three corners
	// turn the wrong way; and a U with a collinear corner.
	const std::vector<std::vector<irr::core::vector3df>> outlines = {
		{{2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}},
		{{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {2, 3, 0}, {2, 1, 0}, {1, 1, 0}, {1, 3, 0}, {0, 3, 0}, {0, 1.5f, 0}},
	};
	for (const std::vector<irr::core::vector3df>& outline : outlines)
	{
		std::vector<int> vids;
		for (int i = 0; i < int(outline.size()); ++i)
			vids.push_back(i);
		irr::scene::IMesh* mesh = loadPolygons(outline, polyElement(1, vids));
		ASSERT_NE(mesh, nullptr);
		irr::scene::SMeshBufferLightMap* mb = buffer(mesh, 0);
		ASSERT_EQ(mb->Indices.size(), 3 * (outline.size() - 2));

		// Every sample point inside the outline lies in exactly one triangle,
		// every one outside in none, and every triangle keeps the outline's
		// winding (counter-clockwise in x, y here).
		auto inPolygon = [&](float x, float y) {
			bool inside = false;
			for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++)
				if ((outline[i].Y > y) != (outline[j].Y > y) &&
					x < (outline[j].X - outline[i].X) * (y - outline[i].Y) / (outline[j].Y - outline[i].Y) + outline[i].X)
					inside = !inside;
			return inside;
		};
		for (irr::u32 t = 0; t < mb->Indices.size(); t += 3)
		{
			const irr::core::vector3df& a = mb->Vertices[mb->Indices[t]].Pos;
			const irr::core::vector3df& b = mb->Vertices[mb->Indices[t + 1]].Pos;
			const irr::core::vector3df& c = mb->Vertices[mb->Indices[t + 2]].Pos;
			EXPECT_GT((b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X), 0.f);
		}
		// Off the grid of the corners and of their diagonals, so that no
		// sample lies on a shared triangle edge.
		for (float y = 0.037f; y < 3.f; y += 0.1f)
			for (float x = 0.05f; x < 3.f; x += 0.1f)
			{
				int covering = 0;
				for (irr::u32 t = 0; t < mb->Indices.size(); t += 3)
				{
					const irr::core::vector3df& a = mb->Vertices[mb->Indices[t]].Pos;
					const irr::core::vector3df& b = mb->Vertices[mb->Indices[t + 1]].Pos;
					const irr::core::vector3df& c = mb->Vertices[mb->Indices[t + 2]].Pos;
					const float d1 = (b.X - a.X) * (y - a.Y) - (b.Y - a.Y) * (x - a.X);
					const float d2 = (c.X - b.X) * (y - b.Y) - (c.Y - b.Y) * (x - b.X);
					const float d3 = (a.X - c.X) * (y - c.Y) - (a.Y - c.Y) * (x - c.X);
					if (d1 > 0 && d2 > 0 && d3 > 0)
						++covering;
				}
				EXPECT_EQ(covering, inPolygon(x, y) ? 1 : 0) << x << "," << y;
			}
		// The normal comes from the whole outline, not the reflex corner.
		EXPECT_EQ(mb->Vertices[0].Normal, irr::core::vector3df(0, 0, 1));
	}
}

TEST_F(MeshBuildingTest, PrimitivesShareTheBufferOfTheirMaterial)
{
	const std::string document = sceneDocument(textureMaterial(1, "a.tga") + textureMaterial(2, "b.tga"),
		trianglePrimitive(1, "A", 1) + trianglePrimitive(2, "B", 2) + trianglePrimitive(1, "C", 3));
	irr::scene::IMesh* mesh = loadFrame(document);
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getMeshBufferCount(), 2u);
	EXPECT_EQ(buffer(mesh, 0)->Vertices.size(), 6u);
	EXPECT_EQ(indicesOf(buffer(mesh, 0)), (std::vector<irr::u16>{2, 0, 1, 5, 3, 4}));
	EXPECT_EQ(buffer(mesh, 1)->Vertices.size(), 3u);
	// Whole-scene mode adds no scene nodes.
	EXPECT_TRUE(SceneManager->getRootSceneNode()->getChildren().empty());
}

TEST_F(MeshBuildingTest, UnusedBuffersAreRemovedAndMissingTexturesKeepTheirs)
{
	// Material 2's texture does not exist, material 3 is never used.
	const std::string materials = textureMaterial(1, "a.tga") + textureMaterial(2, "missing.tga") +
		textureMaterial(3, "b.tga");
	const std::string document = sceneDocument(materials, trianglePrimitive(2, "A", 1) + trianglePrimitive(1, "B", 2));
	irr::scene::IMesh* mesh = loadFrame(document);
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getMeshBufferCount(), 2u);
	EXPECT_STREQ(buffer(mesh, 0)->Material.getTexture(0)->getName().getPath().c_str(), "tex/a.tga");
	EXPECT_STREQ(buffer(mesh, 1)->Material.getTexture(0)->getName().getPath().c_str(), MISSING_TEXTURE_NAME);
	EXPECT_EQ(buffer(mesh, 1)->Indices.size(), 3u);
}

TEST_F(MeshBuildingTest, FaultyPolygonsAreSkippedWhole)
{
	const std::vector<irr::core::vector3df> positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
	const std::string good = polyElement(1, {0, 1, 2});
	const std::string cases[] = {
		polyElement(7, {0, 1, 2}),        // no material of that id
		polyElement(1, {0, 1, -1}),       // negative vid
		polyElement(1, {0, 1, 3}),        // vid past the vertices
		"<poly mid=\"1\"><vertex vid=\"0\" u0=\"0e99\"/><vertex vid=\"1\"/><vertex vid=\"2\"/></poly>",
		"<poly mid=\"1\"><vertex vid=\"0\" v0=\"1e39\"/><vertex vid=\"1\"/><vertex vid=\"2\"/></poly>",
	};
	for (const std::string& bad : cases)
	{
		irr::scene::IMesh* mesh = loadPolygons(positions, bad + good);
		ASSERT_NE(mesh, nullptr) << bad;
		ASSERT_EQ(mesh->getMeshBufferCount(), 1u) << bad;
		EXPECT_EQ(buffer(mesh, 0)->Vertices.size(), 3u) << bad;
	}
	// A corner at a position that is not finite.
	irr::scene::IMesh* infinite = loadFrame(sceneDocument(textureMaterial(1, "a.tga"),
		primitiveElement("<vertices><vertex x=\"1e39\"/><vertex x=\"1\"/><vertex y=\"1\"/><vertex x=\"0\"/></vertices>"
						 "<polygons>" + polyElement(1, {0, 1, 2}) + polyElement(1, {3, 1, 2}) + "</polygons>")));
	ASSERT_NE(infinite, nullptr);
	EXPECT_EQ(buffer(infinite, 0)->Vertices.size(), 3u);

	// A material read after primitives began has no buffer.
	const std::string lateDocument = "<scene version=\"1.6\"><primitives>" + trianglePrimitive(1) +
		"</primitives><materials><category>" + textureMaterial(1, "a.tga") + "</category></materials></scene>";
	irr::scene::IMesh* afterwards = loadFrame(lateDocument);
	ASSERT_NE(afterwards, nullptr);
	EXPECT_EQ(afterwards->getMeshBufferCount(), 0u);
}

TEST_F(MeshBuildingTest, FullBuffersContinueInANewOneOfTheSameMaterial)
{
	// 16,384 quads are 65,536 vertices: one more than a buffer takes.
	const int quads = 16384;
	std::string vertices = "<vertices><vertex x=\"0\" y=\"0\"/><vertex x=\"1\" y=\"0\"/><vertex x=\"1\" y=\"1\"/>"
						   "<vertex x=\"0\" y=\"1\"/></vertices>";
	std::string polys = "<polygons>";
	const std::string quad = polyElement(1, {0, 1, 2, 3});
	for (int i = 0; i < quads; ++i)
		polys += quad;
	polys += "</polygons>";
	irr::scene::IMesh* mesh = loadFrame(sceneDocument(textureMaterial(1, "a.tga") + textureMaterial(2, "b.tga"),
		primitiveElement(vertices + polys) + trianglePrimitive(2, "T", 2)));
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getMeshBufferCount(), 3u);
	irr::scene::SMeshBufferLightMap* full = buffer(mesh, 0);
	irr::scene::SMeshBufferLightMap* other = buffer(mesh, 1);
	irr::scene::SMeshBufferLightMap* rest = buffer(mesh, 2);
	EXPECT_EQ(full->Vertices.size(), 65532u);
	EXPECT_EQ(other->Vertices.size(), 3u);
	EXPECT_EQ(rest->Vertices.size(), 4u);
	EXPECT_EQ(indicesOf(rest), (std::vector<irr::u16>{3, 0, 1, 3, 1, 2}));
	irr::u16 highest = 0;
	for (irr::u32 i = 0; i < full->Indices.size(); ++i)
		highest = std::max(highest, full->Indices[i]);
	EXPECT_EQ(highest, 65531);
	// The continuation carries the material and its finish.
	EXPECT_EQ(rest->Material.getTexture(0), full->Material.getTexture(0));
	EXPECT_EQ(rest->Material.MaterialType, irr::video::EMT_SOLID);
	EXPECT_EQ(rest->Material.AmbientColor, irr::video::SColor(255, 23, 23, 23));
}

TEST_F(MeshBuildingTest, PolygonLargerThanABufferIsSkipped)
{
	const int corners = 65536;
	std::vector<int> vids(corners, 0);
	for (int i = 0; i < corners; ++i)
		vids[i] = i % 3;
	irr::scene::IMesh* mesh = loadPolygons({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
		polyElement(1, vids) + polyElement(1, {0, 1, 2}));
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
	EXPECT_EQ(buffer(mesh, 0)->Vertices.size(), 3u);
}

TEST_F(MeshBuildingTest, PerPrimitiveModeMakesAFrameAndANodePerPrimitive)
{
	for (const bool octree : {false, true})
	{
		Parameters->setAttribute("TXS_ParentName", false);
		Parameters->setAttribute("TXS_LoadAsOCT", octree);
		SceneManager->clear();
		const std::string document = sceneDocument(textureMaterial(1, "a.tga"),
			trianglePrimitive(1, "Hall", 11) + trianglePrimitive(1, "Stairs", 12));
		irr::scene::IAnimatedMesh* result = load(document);
		ASSERT_NE(result, nullptr);
		ASSERT_EQ(result->getFrameCount(), 2u);
		EXPECT_EQ(result->getMesh(1)->getMeshBufferCount(), 1u);

		const irr::core::list<irr::scene::ISceneNode*>& nodes = SceneManager->getRootSceneNode()->getChildren();
		ASSERT_EQ(nodes.size(), 2u);
		const char* names[] = {"Hall", "Stairs"};
		int i = 0;
		for (irr::scene::ISceneNode* node : nodes)
		{
			EXPECT_STREQ(node->getName(), names[i]);
			EXPECT_EQ(node->getID(), 11 + i);
			EXPECT_EQ(node->getType(), octree ? irr::scene::ESNT_OCTREE : irr::scene::ESNT_MESH);
			EXPECT_EQ(node->getPosition(), irr::core::vector3df(0, 0, 0));
			++i;
		}
		SceneManager->clear();
	}
}

TEST_F(MeshBuildingTest, PerPrimitiveBuffersFollowMaterialOrder)
{
	// The primitive names material 2 first; its mesh still lists material
	// 1's buffer first, and material 3, which it does not use, has none.
	Parameters->setAttribute("TXS_ParentName", false);
	const std::string materials = textureMaterial(1, "a.tga") + textureMaterial(2, "b.tga") +
		textureMaterial(3, "a.tga");
	const std::string primitive = primitiveElement(vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) + "<polygons>" +
		polyElement(2, {0, 1, 2}) + polyElement(1, {0, 1, 2}) + polyElement(2, {0, 1, 2}) + "</polygons>");
	irr::scene::IMesh* mesh = loadFrame(sceneDocument(materials, primitive));
	ASSERT_NE(mesh, nullptr);
	ASSERT_EQ(mesh->getMeshBufferCount(), 2u);
	EXPECT_STREQ(buffer(mesh, 0)->Material.getTexture(0)->getName().getPath().c_str(), "tex/a.tga");
	EXPECT_EQ(buffer(mesh, 0)->Vertices.size(), 3u);
	EXPECT_EQ(buffer(mesh, 1)->Vertices.size(), 6u);
	EXPECT_EQ(buffer(mesh, 1)->Material.MaterialType, irr::video::EMT_SOLID);
}

TEST_F(MeshBuildingTest, SecondPrimitivesElementStartsANewMesh)
{
	const std::string document = "<scene version=\"1.6\"><materials><category>" + textureMaterial(1, "a.tga") +
		"</category></materials><primitives>" + trianglePrimitive(1, "A", 1) + "</primitives><primitives>" +
		primitiveElement(vertexList({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}) + "<polygons>" +
			polyElement(1, {0, 1, 2, 3}) + "</polygons>") +
		"</primitives></scene>";
	irr::scene::IAnimatedMesh* result = load(document);
	ASSERT_EQ(result->getFrameCount(), 1u);
	EXPECT_EQ(buffer(result->getMesh(0), 0)->Vertices.size(), 4u);
}

} // end namespace
} // end namespace test
} // end namespace vistel

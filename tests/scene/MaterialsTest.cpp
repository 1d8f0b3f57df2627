// Materials: texture paths, layer slots and the lightmap move, colour
// textures, and the material types and ambient colours of the buffers.
#include "SceneTestSupport.h"
#include "TXSPaths.h"
#include "TXSPlaceholderTextures.h"
#include "SystemPath.h"
#include "CTemporaryDirectory.h"

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

namespace vistel
{
namespace test
{
namespace
{

std::vector<std::string> pieces(const char* text, char separator)
{
	std::vector<std::string> out;
	for (const irr::core::stringc& piece : splitAtSeparator(text, separator))
		out.push_back(piece.c_str());
	return out;
}

TEST(TexturePathTest, SplitAtSeparator)
{
	using V = std::vector<std::string>;
	EXPECT_EQ(pieces("", '\\'), V{});
	EXPECT_EQ(pieces("a\\", '\\'), V{"a"});
	EXPECT_EQ(pieces("a\\\\", '\\'), (V{"a", ""}));
	EXPECT_EQ(pieces("\\a\\\\b", '\\'), (V{"", "a", "", "b"}));
	EXPECT_EQ(pieces(" a \t\\\n b\r", '\\'), (V{"a", "b\r"})); // carriage returns stay
}

TEST(TexturePathTest, PrefixEndsInTheSeparatorOfThisPlatform)
{
	// "/" in the expected prefixes is the separator of this system.
	struct SCase
	{
		const char* Path;
		const char* Prefix;
	};
	const SCase cases[] = {
		{"C:\\Editor\\Textures", "C:/Editor/Textures/"},
		{"C:\\Editor\\Textures\\", "C:/Editor/Textures/"},
		{"D:/maps/tex", "D:/maps/tex/"},
		{" C:\\Editor\\ Textures ", "C:/Editor/Textures/"},
		{"/srv/editor/Textures", "/srv/editor/Textures/"},
		{"", ""},
	};
	for (const SCase& c : cases)
		EXPECT_STREQ(makeTexturePrefix(c.Path).c_str(), test::systemPath(c.Prefix).c_str()) << c.Path;
	// A tie: cut at the backslash, the slash stays inside.
	const std::string separator(1, PATH_SEPARATOR);
	EXPECT_EQ(std::string(makeTexturePrefix("C:\\a/b").c_str()), "C:" + separator + "a/b" + separator);
}

TEST(TexturePathTest, FileNamesTakeBothSlashesAsSeparators)
{
	EXPECT_STREQ(makeTextureFileName("Floors\\Stone.jpg", true).c_str(), test::systemPath("Floors/Stone.jpg").c_str());
	EXPECT_STREQ(makeTextureFileName("Floors\\Stone.jpg", false).c_str(), "Stone.jpg");
	EXPECT_STREQ(makeTextureFileName("Floors/Stone.jpg", false).c_str(), "Stone.jpg");
	EXPECT_STREQ(makeTextureFileName("", false).c_str(), "");
}

TEST(TexturePathTest, OnlyRegularFilesOrUnknownNamesAreOpened)
{
	const std::filesystem::path folder =
		std::filesystem::temp_directory_path() / ("vistel-pipe-" + std::to_string(::getpid()));
	std::filesystem::create_directories(folder / "Dir.jpg");
#ifndef _WIN32
	const std::string pipe = (folder / "Pipe.jpg").string();
	ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
#endif
	const std::string regular = (folder / "Plain.jpg").string();
	FILE* file = std::fopen(regular.c_str(), "wb");
	ASSERT_NE(file, nullptr);
	std::fclose(file);

	EXPECT_TRUE(isTextureFileReadable(regular.c_str()));
	EXPECT_TRUE(isTextureFileReadable((folder / "Missing.jpg").string().c_str()));
	EXPECT_FALSE(isTextureFileReadable((folder / "Dir.jpg").string().c_str()));
#ifndef _WIN32
	// A pipe would block the reader until someone writes to it.
	EXPECT_FALSE(isTextureFileReadable(pipe.c_str()));
	EXPECT_FALSE(isTextureFileReadable("/dev/zero"));
#endif
	std::filesystem::remove_all(folder);
}

class MaterialsTest : public SceneLoaderTest
{
protected:
	void SetUp() override
	{
		SceneLoaderTest::SetUp();
		usePreviewParameters();
	}

	// One triangle of material 1 whose corners carry pairs u0/v0 .. u3/v3,
	// pair k of corner c being (10k + c, -(10k + c)).
	static std::string layeredTriangle()
	{
		std::string corners;
		for (int c = 0; c < 3; ++c)
		{
			corners += "<vertex vid=\"" + std::to_string(c) + "\"";
			for (int k = 0; k < 4; ++k)
				corners += " u" + std::to_string(k) + "=\"" + std::to_string(10 * k + c) + "\" v" + std::to_string(k) +
					"=\"" + std::to_string(-(10 * k + c)) + "\"";
			corners += "/>";
		}
		return primitiveElement(vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) + "<polygons><poly mid=\"1\">" + corners +
			"</poly></polygons>");
	}

	static std::string layer(const char* type, const char* file, const char* blend = "")
	{
		return std::string("<layer type=\"") + type + "\" blend=\"" + blend + "\"><texture file=\"" + file +
			"\"/></layer>";
	}

	static std::string material(const std::string& layers, int id = 1)
	{
		return "<material name=\"M\" id=\"" + std::to_string(id) + "\" used=\"true\">" + layers + "</material>";
	}

	irr::scene::SMeshBufferLightMap* loadSingleBuffer(const std::string& layers, const std::string& settings = "")
	{
		std::string document = sceneDocument(material(layers), layeredTriangle());
		if (!settings.empty())
		{
			const std::size_t from = document.find("<settings"), to = document.find("</settings>") + 11;
			document.replace(from, to - from, settings);
		}
		irr::scene::IMesh* mesh = loadFrame(document);
		if (!mesh || mesh->getMeshBufferCount() != 1)
			return nullptr;
		return buffer(mesh, 0);
	}
};

TEST_F(MaterialsTest, TextureIsLookedUpUnderThePrefix)
{
	struct SCase
	{
		const char* TexturePath; // 0: parameter absent
		const char* MaterialsDir; // 0: parameter absent
		const char* Requested;
	};
	const SCase cases[] = {
		{"C:\\Editor\\Textures", "true", "C:/Editor/Textures/Floors/Stone.jpg"},
		{"C:\\Editor\\Textures", "false", "C:/Editor/Textures/Stone.jpg"},
		{"C:\\Editor\\Textures", nullptr, "C:/Editor/Textures/Stone.jpg"},
		{nullptr, "true", "Floors/Stone.jpg"},
		{"/srv/tex/", "true", "/srv/tex/Floors/Stone.jpg"},
	};
	for (const SCase& c : cases)
	{
		Parameters->clear();
		Parameters->setAttribute("TXS_ParentName", true);
		if (c.TexturePath)
			Parameters->setAttribute("TXS_TexturePath", c.TexturePath);
		if (c.MaterialsDir)
			Parameters->setAttribute("TXS_MaterialsDir", c.MaterialsDir);
		irr::video::ITexture* expected = provideTexture(c.Requested);
		irr::scene::SMeshBufferLightMap* b = loadSingleBuffer(layer("texture", "Floors\\Stone.jpg"));
		ASSERT_NE(b, nullptr) << c.Requested;
		EXPECT_EQ(b->Material.getTexture(0), expected) << c.Requested;
		Driver->removeTexture(expected);
	}
}

#ifndef _WIN32
// (On Windows the editor's names are the system's own ANSI names.)
// The document holds the editor's Windows-1252 names; a UTF-8 file system
// holds "Café.tga" under other bytes. The name as written comes first, then
// its Windows-1252 reading (0x80 is the euro sign there, not in Latin-1).
TEST_F(MaterialsTest, TextureNamedInWindows1252IsFoundOnAUtf8FileSystem)
{
	struct SCase
	{
		const char* written; // in the document
		const char* onDisk;  // the file's name
	};
	const SCase cases[] = {
		{"Caf\xE9.tga", "Caf\xC3\xA9.tga"},
		{"\x80uro.tga", "\xE2\x82\xACuro.tga"},
		{"Caf\xE9.tga", "Caf\xE9.tga"},
		{"Caf\xC3\xA9.tga", "Caf\xC3\xA9.tga"},
	};
	// A 1 x 1 uncompressed true-colour TGA.
	const std::string tga("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x18\0\xFF\xFF\xFF", 21);
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.onDisk);
		CTemporaryDirectory folder;
		writeFile(folder / c.onDisk, tga);
		Parameters->clear();
		Parameters->setAttribute("TXS_ParentName", true);
		Parameters->setAttribute("TXS_MaterialsDir", true);
		Parameters->setAttribute("TXS_TexturePath", folder.path().c_str());
		irr::scene::SMeshBufferLightMap* b = loadSingleBuffer(layer("texture", c.written));
		ASSERT_NE(b, nullptr);
		ASSERT_NE(b->Material.getTexture(0), nullptr);
		EXPECT_EQ(std::string(b->Material.getTexture(0)->getName().getPath().c_str()), folder / c.onDisk);
	}
}
#endif

TEST_F(MaterialsTest, LightmapMovesToTheSecondSlotWithItsCoordinates)
{
	irr::video::ITexture* a = provideTexture("tex/A.tga");
	provideTexture("tex/B.tga");
	irr::video::ITexture* l1 = provideTexture("tex/L1.tga");
	irr::video::ITexture* l2 = provideTexture("tex/L2.tga");
	struct SCase
	{
		std::string Layers;
		irr::video::ITexture* Slot0;
		irr::video::ITexture* Slot1;
		int SecondPair; // k of the pair in the second coordinate set; -1: (0, 0)
		irr::video::E_MATERIAL_TYPE Type;
	};
	const SCase cases[] = {
		{layer("texture", "A.tga") + layer("texture", "B.tga") + layer("lightmap", "L1.tga"), a, l1, 2,
			irr::video::EMT_LIGHTMAP_LIGHTING},
		{layer("texture", "A.tga") + layer("lightmap", "L1.tga"), a, l1, 1, irr::video::EMT_LIGHTMAP_LIGHTING},
		// Only the last of two lightmaps moves.
		{layer("texture", "A.tga") + layer("lightmap", "L1.tga") + layer("texture", "B.tga") +
				layer("lightmap", "L2.tga"),
			a, l2, 3, irr::video::EMT_LIGHTMAP_LIGHTING},
		// A lightmap in the first slot stays and makes no lightmapped material.
		{layer("lightmap", "L1.tga") + layer("texture", "A.tga"), l1, a, 1, irr::video::EMT_SOLID},
		// Keywords are case-sensitive; unknown types are texture layers.
		{layer("texture", "A.tga") + layer("Lightmap", "L1.tga"), a, l1, 1, irr::video::EMT_SOLID},
		{layer("bump", "A.tga") + layer("texture", "B.tga") + layer("lightmap", "L1.tga"), a, l1, 2,
			irr::video::EMT_LIGHTMAP_LIGHTING},
		{layer("texture", "A.tga"), a, nullptr, -1, irr::video::EMT_SOLID},
	};
	for (const SCase& c : cases)
	{
		irr::scene::SMeshBufferLightMap* mb = loadSingleBuffer(c.Layers);
		ASSERT_NE(mb, nullptr) << c.Layers;
		EXPECT_EQ(mb->Material.getTexture(0), c.Slot0) << c.Layers;
		EXPECT_EQ(mb->Material.getTexture(1), c.Slot1) << c.Layers;
		EXPECT_EQ(mb->Material.MaterialType, c.Type) << c.Layers;
		ASSERT_EQ(mb->Vertices.size(), 3u);
		for (irr::u32 corner = 0; corner < 3; ++corner)
		{
			const irr::video::S3DVertex2TCoords& v = mb->Vertices[corner];
			EXPECT_EQ(v.TCoords, irr::core::vector2df(float(corner), -float(corner))) << c.Layers;
			const float k = c.SecondPair < 0 ? 0.f : float(10 * c.SecondPair + int(corner));
			EXPECT_EQ(v.TCoords2, irr::core::vector2df(k, c.SecondPair < 0 ? 0.f : -k)) << c.Layers;
		}
	}
}

TEST_F(MaterialsTest, FirstLayerBlendDecidesAlphaBlending)
{
	provideTexture("tex/A.tga");
	provideTexture("tex/B.tga");
	irr::scene::SMeshBufferLightMap* first =
		loadSingleBuffer(layer("texture", "A.tga", "alphablend") + layer("lightmap", "B.tga"));
	ASSERT_NE(first, nullptr);
	EXPECT_EQ(first->Material.MaterialType, irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL);
	EXPECT_FLOAT_EQ(first->Material.MaterialTypeParam, 0.01f);
	// The first coordinate set has its v negated when TXS_FlipAlpha is set.
	EXPECT_EQ(first->Vertices[1].TCoords, irr::core::vector2df(1.f, 1.f));

	Parameters->setAttribute("TXS_FlipAlpha", false);
	irr::scene::SMeshBufferLightMap* unflipped = loadSingleBuffer(layer("texture", "A.tga", "alphablend"));
	ASSERT_NE(unflipped, nullptr);
	EXPECT_EQ(unflipped->Vertices[1].TCoords, irr::core::vector2df(1.f, -1.f));

	irr::scene::SMeshBufferLightMap* second =
		loadSingleBuffer(layer("texture", "A.tga") + layer("texture", "B.tga", "alphablend"));
	ASSERT_NE(second, nullptr);
	EXPECT_EQ(second->Material.MaterialType, irr::video::EMT_SOLID);
}

TEST_F(MaterialsTest, ColourLayersBecomeNamedTextures)
{
	const std::string layers = "<layer type=\"color\"><color a=\"255\" r=\"128\" g=\"64\" b=\"0\"/></layer>"
							   "<layer type=\"color\"><color a=\"255\" r=\"128\" g=\"64\" b=\"0\"/></layer>";
	irr::scene::SMeshBufferLightMap* mb = loadSingleBuffer(layers);
	ASSERT_NE(mb, nullptr);
	irr::video::ITexture* first = mb->Material.getTexture(0);
	irr::video::ITexture* second = mb->Material.getTexture(1);
	ASSERT_NE(first, nullptr);
	ASSERT_NE(second, nullptr);
	EXPECT_STREQ(first->getName().getPath().c_str(), "Color_255128640");
	// Equal colours make two textures of the same name.
	EXPECT_NE(first, second);
	EXPECT_STREQ(second->getName().getPath().c_str(), "Color_255128640");

	// The name takes the attribute texts as written; a missing one adds nothing.
	irr::scene::SMeshBufferLightMap* written =
		loadSingleBuffer("<layer type=\"color\"><color r=\"300\" g=\"07\"/></layer>");
	ASSERT_NE(written, nullptr);
	EXPECT_STREQ(written->Material.getTexture(0)->getName().getPath().c_str(), "Color_30007");
}

TEST_F(MaterialsTest, TextureCreationFlagFollowsTheLayers)
{
	struct SCase
	{
		const char* Layer;
		bool Flag;
	};
	const SCase cases[] = {
		{"<layer type=\"color\" blend=\"alphablend\"><color a=\"255\"/></layer>", false},
		{"<layer type=\"color\" blend=\"alphablend\"><color a=\"128\"/></layer>", true},
		{"<layer type=\"color\"><color a=\"128\"/></layer>", false},
		{"<layer type=\"texture\"><texture file=\"none.tga\"/></layer>", true},
	};
	for (const SCase& c : cases)
	{
		Driver->setTextureCreationFlag(irr::video::ETCF_ALWAYS_32_BIT, false);
		load(sceneDocument(material(c.Layer), ""));
		EXPECT_EQ(Driver->getTextureCreationFlag(irr::video::ETCF_ALWAYS_32_BIT), c.Flag) << c.Layer;
	}
}

TEST_F(MaterialsTest, SolidMaterialsGetTheDarkenedAmbientColour)
{
	provideTexture("tex/A.tga");
	struct SCase
	{
		std::string Settings; // replaces the preview's settings element; "" keeps it
		irr::video::SColor Ambient;
	};
	const SCase cases[] = {
		{"", irr::video::SColor(255, 23, 23, 23)},
		// Components use their low 8 bits: 300 is 44 and 256 is 0.
		{"<settings shadowOpacity=\"0\"><ambient r=\"300\" g=\"256\" b=\"92\"/></settings>",
			irr::video::SColor(255, 44, 0, 92)},
		{"<settings shadowOpacity=\"50\"><ambient r=\"1\" g=\"0\" b=\"0\"/><ambient r=\"101\" g=\"51\" b=\"3\"/>"
		 "</settings>",
			irr::video::SColor(255, 50, 25, 1)}, // the later ambient wins; truncated
		{"<settings/>", irr::video::SColor(255, 0, 0, 0)},
		{"<settings shadowOpacity=\"150\"><ambient r=\"92\" g=\"92\" b=\"92\"/></settings>",
			irr::video::SColor(255, 0, 0, 0)},
		{"<settings shadowOpacity=\"-50\"><ambient r=\"92\" g=\"92\" b=\"92\"/></settings>",
			irr::video::SColor(255, 92, 92, 92)},
		{"<unknown/>", irr::video::SColor(255, 0, 0, 0)}, // no settings at all
	};
	for (const SCase& c : cases)
	{
		irr::scene::SMeshBufferLightMap* mb = loadSingleBuffer(layer("texture", "A.tga"), c.Settings);
		ASSERT_NE(mb, nullptr) << c.Settings;
		EXPECT_EQ(mb->Material.MaterialType, irr::video::EMT_SOLID);
		EXPECT_EQ(mb->Material.AmbientColor, c.Ambient) << c.Settings;
		EXPECT_TRUE(mb->Material.Lighting);
		EXPECT_FALSE(mb->Material.Wireframe);
		EXPECT_TRUE(mb->Material.TextureLayer[0].BilinearFilter);
	}
}

TEST_F(MaterialsTest, MaterialWithoutLayersLoadsAndIsDropped)
{
	provideTexture("tex/A.tga");
	const std::string materials = material("", 2) + material(layer("texture", "A.tga"), 1);
	const std::string primitive = primitiveElement(vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) + "<polygons>" +
		polyElement(2, {0, 1, 2}) + polyElement(1, {0, 1, 2}) + "</polygons>");
	irr::scene::IMesh* mesh = loadFrame(sceneDocument(materials, primitive));
	ASSERT_NE(mesh, nullptr);
	// The layerless material's buffer has no texture and is removed.
	ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
	EXPECT_EQ(buffer(mesh, 0)->Vertices.size(), 3u);
}

TEST_F(MaterialsTest, MissingFilesGetPlaceholdersAndAreReportedOncePerLoad)
{
	irr::video::ITexture* a = provideTexture("tex/A.tga");
	const std::string colour = "<layer type=\"color\"><color a=\"255\" r=\"9\" g=\"9\" b=\"9\"/></layer>";
	// Two missing files, the lightmap shared by four materials.
	const std::string materials = material(layer("texture", "Gone.tga") + layer("lightmap", "LM.tga"), 1) +
		material(layer("texture", "A.tga") + layer("lightmap", "LM.tga"), 2) +
		material(colour + layer("lightmap", "LM.tga"), 3) + material(layer("texture", "Gone.tga", "alphablend"), 4) +
		material(layer("lightmap", "LM.tga") + layer("texture", "A.tga"), 5);
	std::string polygons;
	for (int mid = 1; mid <= 5; ++mid)
		polygons += polyElement(mid, {0, 1, 2});
	const std::string document =
		sceneDocument(materials, primitiveElement(vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) + "<polygons>" +
										   polygons + "</polygons>"));
	struct SExpected
	{
		const char* First;  // texture names; "A" for the file that is there
		const char* Second; // 0: none
		irr::video::E_MATERIAL_TYPE Type;
	};
	const SExpected expected[] = {
		{MISSING_TEXTURE_NAME, FULLY_LIT_LIGHTMAP_NAME, irr::video::EMT_LIGHTMAP_LIGHTING},
		{"A", FULLY_LIT_LIGHTMAP_NAME, irr::video::EMT_LIGHTMAP_LIGHTING},
		{"Color_255999", FULLY_LIT_LIGHTMAP_NAME, irr::video::EMT_LIGHTMAP_LIGHTING},
		{MISSING_TEXTURE_NAME, 0, irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL},
		{FULLY_LIT_LIGHTMAP_NAME, "A", irr::video::EMT_SOLID},
	};
	auto name = [&](irr::video::ITexture* texture) -> std::string {
		if (!texture)
			return "";
		return texture == a ? "A" : texture->getName().getPath().c_str();
	};

	for (int run = 0; run < 2; ++run)
	{
		SCOPED_TRACE(run == 0 ? "first load" : "second load");
		Logger->Lines.clear();
		irr::scene::IMesh* mesh = loadFrame(document);
		ASSERT_NE(mesh, nullptr);
		// Every buffer stays, its polygon with it.
		ASSERT_EQ(mesh->getMeshBufferCount(), 5u);
		for (irr::u32 b = 0; b < 5; ++b)
		{
			const irr::video::SMaterial& m = buffer(mesh, b)->Material;
			EXPECT_EQ(name(m.getTexture(0)), expected[b].First) << "buffer " << b;
			EXPECT_EQ(name(m.getTexture(1)), expected[b].Second ? expected[b].Second : "") << "buffer " << b;
			EXPECT_EQ(m.MaterialType, expected[b].Type) << "buffer " << b;
			EXPECT_EQ(buffer(mesh, b)->Indices.size(), 3u) << "buffer " << b;
		}
		// Each file once, in the order first met, in the list and in the log.
		const std::vector<std::string> missing = {systemPath("tex/Gone.tga"), systemPath("tex/LM.tga")};
		EXPECT_EQ(Loader->getMissingTextureFiles(), missing);
		ASSERT_EQ(Logger->Lines.size(), 2u);
		EXPECT_NE(Logger->Lines[0].find("Texture file could not be loaded: " + missing[0] + ";"), std::string::npos)
			<< Logger->Lines[0];
		EXPECT_NE(Logger->Lines[1].find("Lightmap file could not be loaded: " + missing[1] + ";"), std::string::npos)
			<< Logger->Lines[1];
	}

	// A level whose files are all there reports none.
	Logger->Lines.clear();
	loadFrame(sceneDocument(material(layer("texture", "A.tga")), trianglePrimitive()));
	EXPECT_TRUE(Loader->getMissingTextureFiles().empty());
	EXPECT_TRUE(Logger->Lines.empty());
}

TEST_F(MaterialsTest, EveryLoadStartsWithoutTheMaterialsOfEarlierLoads)
{
	irr::video::ITexture* a = provideTexture("tex/A.tga");
	irr::video::ITexture* b = provideTexture("tex/B.tga");
	loadFrame(sceneDocument(material(layer("texture", "A.tga")), trianglePrimitive()));
	irr::scene::IMesh* second = loadFrame(sceneDocument(material(layer("texture", "B.tga")), trianglePrimitive()));
	ASSERT_NE(second, nullptr);
	ASSERT_EQ(second->getMeshBufferCount(), 1u);
	EXPECT_EQ(buffer(second, 0)->Material.getTexture(0), b);
	EXPECT_NE(buffer(second, 0)->Material.getTexture(0), a);
}

} // end namespace
} // end namespace test
} // end namespace vistel

// The loader as the engine meets it: file names, createMesh on files, the
// bundled sample level, and every document that once broke the loader.
#include "SceneTestSupport.h"

#include <dirent.h>
#include <fstream>
#include <sstream>

namespace vistel
{
namespace test
{
namespace
{

std::string readWholeFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream text;
	text << in.rdbuf();
	return text.str();
}

class LoaderTest : public SceneLoaderTest
{
};

TEST_F(LoaderTest, RecognisesTxsAnywhereInTheName)
{
	struct SCase
	{
		const char* Name;
		bool Loadable;
	};
	const SCase cases[] = {
		{"myfile.txs", true},
		{"C:/Editor/myfile.txs.bak", true},
		{"myfile.TXS", false},
		{"myfile.xml", false},
		{"txs", false},
	};
	for (const SCase& c : cases)
		EXPECT_EQ(Loader->isALoadableFileExtension(c.Name), c.Loadable) << c.Name;
}

TEST_F(LoaderTest, NoFileGivesNoMesh)
{
	EXPECT_EQ(Loader->createMesh(nullptr), nullptr);
}

TEST_F(LoaderTest, SampleLevelLoadsThroughTheSceneManager)
{
	const std::string sampleFolder = VISTEL_SAMPLE_LEVEL_DIR;
	const std::string copy = ::testing::TempDir() + "vistel_sample_level.txs";
	{
		std::ofstream out(copy, std::ios::binary);
		out << readWholeFile(sampleFolder + "/level.xml");
	}
	usePreviewParameters();
	Parameters->setAttribute("TXS_TexturePath", (sampleFolder + "/Textures").c_str());

	irr::scene::IAnimatedMesh* result = SceneManager->getMesh(copy.c_str());
	ASSERT_NE(result, nullptr);
	ASSERT_EQ(result->getFrameCount(), 1u);
	irr::scene::IMesh* mesh = result->getMesh(0);

	// Eleven materials in document order, textures and colours alike
	// carrying the one baked lightmap in their second slot: all lightmapped
	// but the window glass (alpha-blended, tenth); the unused material and
	// its missing texture never appear.
	ASSERT_EQ(mesh->getMeshBufferCount(), 11u);
	irr::video::ITexture* lightmap = mesh->getMeshBuffer(0)->getMaterial().getTexture(1);
	ASSERT_NE(lightmap, nullptr);
	irr::u32 triangles = 0;
	for (irr::u32 b = 0; b < 11; ++b)
	{
		irr::scene::IMeshBuffer* mb = mesh->getMeshBuffer(b);
		EXPECT_EQ(mb->getMaterial().MaterialType,
			b == 9 ? irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL : irr::video::EMT_LIGHTMAP_LIGHTING) << b;
		EXPECT_NE(mb->getMaterial().getTexture(0), nullptr) << b;
		EXPECT_EQ(mb->getMaterial().getTexture(1), lightmap) << b;
		triangles += mb->getIndexCount() / 3;
	}
	EXPECT_EQ(triangles, 624u);
	// The balcony the camera starts on lies just below the middle of the
	// level's height, where the preview puts the camera.
	const irr::core::aabbox3df box = mesh->getBoundingBox();
	EXPECT_FLOAT_EQ((box.MinEdge.Y + box.MaxEdge.Y) * 0.5f, 24.f);
	EXPECT_TRUE(Logger->Lines.empty());
	std::remove(copy.c_str());
}

// Documents that once crashed, hung or leaked in the loader or in the
// engine's own XML reader. Each must load to some result in both modes.
TEST_F(LoaderTest, RegressionDocumentsLoad)
{
	const std::string folder = VISTEL_SCENE_REGRESSION_DIR;
	DIR* directory = opendir(folder.c_str());
	ASSERT_NE(directory, nullptr) << folder;
	std::vector<std::string> names;
	while (dirent* entry = readdir(directory))
		if (entry->d_name[0] != '.')
			names.push_back(entry->d_name);
	closedir(directory);
	ASSERT_FALSE(names.empty());

	for (const bool wholeScene : {true, false})
	{
		Parameters->setAttribute("TXS_ParentName", wholeScene);
		for (const std::string& name : names)
		{
			irr::scene::IAnimatedMesh* result = load(readWholeFile(folder + "/" + name));
			EXPECT_NE(result, nullptr) << name;
		}
		SceneManager->clear();
	}
}

} // end namespace
} // end namespace test
} // end namespace vistel

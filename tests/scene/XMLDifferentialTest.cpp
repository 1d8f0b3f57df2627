// The scene reader against the engine's own IXMLReaderUTF8 on the same
// documents: the corpus of lenient and broken documents, every document that
// ever read differently, and the sample level cut at many places.
#include "CXMLStreamReader.h"
#include "SceneTestSupport.h"
#include "XMLDifferential.h"

#include <dirent.h>

#include <algorithm>
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
	std::ostringstream out;
	out << in.rdbuf();
	return out.str();
}

std::vector<std::string> filesIn(const std::string& folder)
{
	std::vector<std::string> names;
	DIR* directory = opendir(folder.c_str());
	if (!directory)
		return names;
	while (dirent* entry = readdir(directory))
		if (entry->d_name[0] != '.')
			names.push_back(folder + "/" + entry->d_name);
	closedir(directory);
	std::sort(names.begin(), names.end());
	return names;
}

class XMLDifferentialTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		irr::SIrrlichtCreationParameters parameters;
		parameters.DriverType = irr::video::EDT_NULL;
		parameters.LoggingLevel = irr::ELL_NONE;
		Device = irr::createDeviceEx(parameters);
		ASSERT_NE(Device, nullptr);
	}
	void TearDown() override { Device->drop(); }

	irr::IrrlichtDevice* Device = nullptr;
};

TEST_F(XMLDifferentialTest, CorpusReadsAsWithTheEngineReader)
{
	const std::vector<std::string> files = filesIn(VISTEL_XML_CORPUS_DIR);
	ASSERT_FALSE(files.empty());
	int lenient = 0;
	for (const std::string& path : files)
	{
		const SXMLComparison comparison = compareWithEngineReader(Device, readWholeFile(path));
		EXPECT_TRUE(comparison.agrees()) << path << "\n" << comparison.explain();
		// The lenient documents are read whole by the engine's reader, and
		// by ours without a fault.
		if (path.find("/lenient-") != std::string::npos)
		{
			++lenient;
			EXPECT_FALSE(comparison.EngineFailed) << path << ": " << comparison.EngineFailure;
			EXPECT_EQ(comparison.OursFault, "") << path;
			EXPECT_NE(comparison.Ours.find("element scene"), std::string::npos) << path;
		}
	}
	EXPECT_GT(lenient, 0);
}

// Every input that ever read differently, from the fuzzer or elsewhere.
TEST_F(XMLDifferentialTest, RegressionDocumentsReadAsWithTheEngineReader)
{
	const std::vector<std::string> files = filesIn(VISTEL_SCENE_REGRESSION_DIR);
	ASSERT_FALSE(files.empty());
	for (const std::string& path : files)
	{
		const SXMLComparison comparison = compareWithEngineReader(Device, readWholeFile(path));
		EXPECT_TRUE(comparison.agrees()) << path << "\n" << comparison.explain();
	}
}

TEST_F(XMLDifferentialTest, SampleLevelCutAnywhereReadsAsWithTheEngineReader)
{
	const std::string level = readWholeFile(std::string(VISTEL_SAMPLE_LEVEL_DIR) + "/level.xml");
	ASSERT_GT(level.size(), 1000u);
	const SXMLComparison whole = compareWithEngineReader(Device, level);
	EXPECT_FALSE(whole.EngineFailed);
	EXPECT_EQ(whole.OursFault, "");
	EXPECT_TRUE(whole.agrees()) << whole.explain();
	// Cuts at a spread of places, inside and between tags.
	int failedEngines = 0;
	for (std::size_t cut = 1; cut < level.size(); cut += 97)
	{
		const SXMLComparison comparison = compareWithEngineReader(Device, level.substr(0, cut));
		EXPECT_TRUE(comparison.agrees()) << "cut at " << cut << "\n" << comparison.explain();
		failedEngines += comparison.EngineFailed ? 1 : 0;
	}
	RecordProperty("EngineFailures", failedEngines);
}

} // end namespace
} // end namespace test
} // end namespace vistel

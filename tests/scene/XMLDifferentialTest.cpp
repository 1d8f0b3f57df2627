// The scene reader against the engine's own IXMLReaderUTF8 on the same
// documents: the corpus of lenient and broken documents, every document that
// ever read differently, and the sample level cut at many places.
#include "CXMLStreamReader.h"
#include "SceneTestSupport.h"
#include "XMLDifferential.h"
#include "XMLNodeList.h"

#include <dirent.h>

#include <algorithm>
#include <iterator>
#include <memory>
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

// The inputs known to crash the engine's reader: short comment and CDATA
// forms ("<!>") that it reads with a negative length, and UTF-32 text whose
// last unit is cut. On every other input the engine's reader must read to
// the end, or the comparison would pass without comparing anything.
const char* const KnownEngineCrashes[] = {
	"empty-tags.txs",
	"engine-crash-short-comment.txs",
	"utf32be-with-bom-odd-length.txs",
};

bool isKnownEngineCrash(const std::string& path)
{
	const std::string name = path.substr(path.rfind('/') + 1);
	return std::find(std::begin(KnownEngineCrashes), std::end(KnownEngineCrashes), name)
		!= std::end(KnownEngineCrashes);
}

// The comparison held, and the engine's reader read the document unless it
// is known to crash on it.
void expectAgreement(const SXMLComparison& comparison, const std::string& what)
{
	EXPECT_TRUE(comparison.agrees()) << what << "\n" << comparison.explain();
	if (!isKnownEngineCrash(what))
	{
		EXPECT_FALSE(comparison.EngineFailed) << what << ": " << comparison.EngineFailure;
	}
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
		expectAgreement(comparison, path);
		// The lenient documents are read by ours without a fault.
		if (path.find("/lenient-") != std::string::npos)
		{
			++lenient;
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
		expectAgreement(compareWithEngineReader(Device, readWholeFile(path)), path);
}

TEST_F(XMLDifferentialTest, SampleLevelCutAnywhereReadsAsWithTheEngineReader)
{
	const std::string level = readWholeFile(std::string(VISTEL_SAMPLE_LEVEL_DIR) + "/level.xml");
	ASSERT_GT(level.size(), 1000u);
	const SXMLComparison whole = compareWithEngineReader(Device, level);
	EXPECT_EQ(whole.OursFault, "");
	expectAgreement(whole, "the whole sample");
	// Cuts at a spread of places, inside and between tags.
	for (std::size_t cut = 1; cut < level.size(); cut += 97)
		expectAgreement(compareWithEngineReader(Device, level.substr(0, cut)), "cut at " + std::to_string(cut));
}

// A document handed out one character per read: the reader's buffer then
// always ends right after the node it waits for, so every node is read by
// the steps that wait for more, never by the shortcut for nodes that lie
// complete in the buffer.
class COneCharacterFile : public irr::io::IReadFile
{
public:
	explicit COneCharacterFile(const std::string& text) : Text(text), Name("doc.txs") {}
	irr::s32 read(void* buffer, irr::u32 sizeToRead) override
	{
		if (sizeToRead == 0 || Position >= Text.size())
			return 0;
		static_cast<char*>(buffer)[0] = Text[Position++];
		return 1;
	}
	bool seek(long finalPos, bool relativeMovement) override
	{
		const long target = relativeMovement ? static_cast<long>(Position) + finalPos : finalPos;
		if (target < 0 || target > static_cast<long>(Text.size()))
			return false;
		Position = static_cast<std::size_t>(target);
		return true;
	}
	long getSize() const override { return static_cast<long>(Text.size()); }
	long getPos() const override { return static_cast<long>(Position); }
	const irr::io::path& getFileName() const override { return Name; }

private:
	std::string Text;
	irr::io::path Name;
	std::size_t Position = 0;
};

std::string readWithScene(irr::io::IReadFile* file)
{
	std::unique_ptr<CXMLStreamReader> reader = CXMLStreamReader::create(file, nullptr);
	file->drop();
	std::string nodes = describeNodes(*reader);
	return nodes + "fault: " + reader->describeFirstFault() + (reader->stoppedShort() ? ", stopped short" : "");
}

TEST_F(XMLDifferentialTest, NodesReadAsTheyDoWhenTheyArriveOneCharacterAtATime)
{
	std::vector<std::string> files = filesIn(VISTEL_XML_CORPUS_DIR);
	const std::vector<std::string> regressions = filesIn(VISTEL_SCENE_REGRESSION_DIR);
	files.insert(files.end(), regressions.begin(), regressions.end());
	files.push_back(std::string(VISTEL_SAMPLE_LEVEL_DIR) + "/level.xml");
	ASSERT_GT(files.size(), 3u);
	for (const std::string& path : files)
	{
		std::string text = readWholeFile(path);
		const std::string whole = readWithScene(Device->getFileSystem()->createMemoryReadFile(
			&text[0], static_cast<irr::s32>(text.size()), "doc.txs", false));
		EXPECT_EQ(whole, readWithScene(new COneCharacterFile(readWholeFile(path)))) << path;
	}
}

// Without the engine's reader nothing is compared: that is a failure, not
// an agreement.
TEST_F(XMLDifferentialTest, EngineReaderThatCannotStartFailsTheComparison)
{
	setEngineReaderProgram("/nonexistent/vistel_engine_xml_reader");
	const SXMLComparison comparison = compareWithEngineReader(Device, "<scene />");
	setEngineReaderProgram(VISTEL_ENGINE_XML_READER);
	EXPECT_TRUE(comparison.EngineNotStarted);
	EXPECT_FALSE(comparison.agrees());
	EXPECT_TRUE(compareWithEngineReader(Device, "<scene />").agrees()) << "the built reader again";
}

} // end namespace
} // end namespace test
} // end namespace vistel

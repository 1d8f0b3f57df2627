// The scene document reader: node stream, attribute conversion, the engine
// reader's leniency, and what happens with documents that are cut, hold
// zero bytes or try to reach outside.
#include "CXMLStreamReader.h"
#include "SceneTestSupport.h"

#include <fast_atof.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

namespace vistel
{
namespace test
{
namespace
{

class XMLPullReaderTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		irr::SIrrlichtCreationParameters parameters;
		parameters.DriverType = irr::video::EDT_NULL;
		parameters.LoggingLevel = irr::ELL_NONE;
		Device = irr::createDeviceEx(parameters);
		ASSERT_NE(Device, nullptr);
		Logger = new CRecordingLogger();
	}
	void TearDown() override
	{
		Reader.reset();
		Logger->drop();
		Device->drop();
	}

	CXMLStreamReader& open(const std::string& text)
	{
		Reader.reset();
		Logger->Lines.clear();
		Text = text;
		irr::io::IReadFile* file = Device->getFileSystem()->createMemoryReadFile(
			const_cast<char*>(Text.data()), static_cast<irr::s32>(Text.size()), "doc.txs", false);
		Reader = CXMLStreamReader::create(file, Logger);
		file->drop();
		return *Reader;
	}

	// Every node as "type:name", with "/" marking empty-element tags and the
	// attributes of start tags as name=value in brackets.
	std::vector<std::string> nodes(const std::string& text)
	{
		CXMLStreamReader& reader = open(text);
		std::vector<std::string> out;
		while (reader.read())
		{
			std::string entry = std::to_string(reader.getNodeType()) + ":" + reader.getNodeName();
			if (reader.isEmptyElement())
				entry += "/";
			for (irr::u32 i = 0; i < reader.getAttributeCount(); ++i)
				entry += std::string("[") + reader.getAttributeName(i) + "=" + reader.getAttributeValue(i) + "]";
			out.push_back(entry);
		}
		return out;
	}

	irr::IrrlichtDevice* Device = nullptr;
	CRecordingLogger* Logger = nullptr;
	std::string Text;
	std::unique_ptr<CXMLStreamReader> Reader;
};

const std::string E = std::to_string(irr::io::EXN_ELEMENT);
const std::string End = std::to_string(irr::io::EXN_ELEMENT_END);
const std::string Txt = std::to_string(irr::io::EXN_TEXT);
const std::string Cmt = std::to_string(irr::io::EXN_COMMENT);
const std::string Cd = std::to_string(irr::io::EXN_CDATA);
const std::string Unk = std::to_string(irr::io::EXN_UNKNOWN);

TEST_F(XMLPullReaderTest, ReportsNodesInDocumentOrder)
{
	const std::vector<std::string> expected{E + ":a", E + ":b/[x=1]", Cmt + ":", Txt + ":", Cd + ":", E + ":c",
		End + ":c", End + ":a"};
	EXPECT_EQ(nodes("<a><b x='1'/><!-- c --> text <![CDATA[<x>]]><c></c></a>"), expected);
	EXPECT_TRUE(Logger->Lines.empty());
	EXPECT_FALSE(Reader->isBroken());
	EXPECT_EQ(Reader->describeFirstFault(), "");
}

TEST_F(XMLPullReaderTest, ConvertsAttributesLikeTheEngine)
{
	struct SCase
	{
		const char* Text;
		irr::s32 Int;
		irr::f32 Float;
	};
	const SCase cases[] = {
		{"12.9", 12, 12.9f},
		{"-0.5", 0, -0.5f},
		{"-7.99", -7, -7.99f},
		{"300", 300, 300.f},
		{"1e3", 1000, 1000.f},
		{"+4", 4, 4.f},
		{"abc", 0, 0.f},
		{" 5", 0, 0.f},      // the engine's conversion takes no leading space
		{"7px", 7, 7.f},     // and stops at the first character it cannot use
		{"3e9", INT_MAX, 3e9f}, // out of range saturates instead of overflowing
		{"-3e9", INT_MIN, -3e9f},
	};
	for (const SCase& c : cases)
	{
		CXMLStreamReader& reader = open(std::string("<a v=\"") + c.Text + "\"/>");
		ASSERT_TRUE(reader.read());
		EXPECT_STREQ(reader.getAttributeValue("v"), c.Text);
		EXPECT_EQ(reader.getAttributeValueAsInt("v"), c.Int) << c.Text;
		EXPECT_FLOAT_EQ(reader.getAttributeValueAsFloat("v"), c.Float) << c.Text;
	}
	// A number that overflows to infinity times zero is not a number: the
	// integer reading must stay defined.
	EXPECT_EQ(convertXMLInt("0e99"), 0);
	EXPECT_EQ(convertXMLInt(nullptr), 0);
}

TEST(XMLNumberConversionTest, SameBitsAsTheEngineConversion)
{
	// Numbers of every form the documents hold and the edges of the short
	// path (nine digits, a tenth, exponents, signs, stray characters), then
	// random decimals: each must convert to the engine's float bit for bit.
	std::vector<std::string> texts{"0", "-0", "+0", "-", "+", ".", "-.", "5.", ".5", "-1.3671875", "0.0625",
		"123456789", "1234567890", "4294967295", "99999999999", "0.123456789", "0.1234567890", "1.00000000001",
		"1e3", "1E-3", "2.5e", "12345678", "123456789.987654321", "0.21484375", "-2.4414062", "99999999.9",
		"1/2", "1:2", "9\xff", "\xfa" "1", "-7.25e+2", "1..2", "3.4.5", "12px", "x1", " 1", "1 ", "-+1", "0x10", "1,5",
		"340282356779733661637539395458142568448", "1e39", "-1e39", "0.000000000000000001"};
	std::uint32_t state = 12345;
	auto next = [&state]() {
		state = state * 1664525u + 1013904223u;
		return state >> 8;
	};
	for (int i = 0; i < 200000; ++i)
	{
		std::string text = next() % 3 == 0 ? "-" : "";
		text += std::to_string(next() % (i % 2 ? 100000u : 1000000000u));
		const unsigned decimals = next() % 12;
		if (decimals > 0)
		{
			text += '.';
			for (unsigned d = 1; d < decimals; ++d)
				text += static_cast<char>('0' + next() % 10);
		}
		texts.push_back(text);
	}
	// The padded conversion reads past the text's zero byte: digits there, or
	// bytes whose arithmetic carries, must not count.
	const std::string fillers[] = {std::string(PaddedConversionReach, '9'),
		std::string(PaddedConversionReach / 2, '\xff') + std::string(PaddedConversionReach / 2, '\xfa')};
	for (const std::string& text : texts)
	{
		const irr::f32 engine = irr::core::fast_atof(text.c_str());
		const irr::f32 ours = convertXMLFloat(text.c_str());
		ASSERT_EQ(std::memcmp(&ours, &engine, sizeof(ours)), 0) << text << ": " << ours << " against " << engine;
		for (const std::string& filler : fillers)
		{
			const std::string padded = text + '\0' + filler;
			const irr::f32 fromPadded = convertPaddedXMLFloat(padded.c_str());
			ASSERT_EQ(std::memcmp(&fromPadded, &engine, sizeof(ours)), 0)
				<< text << ": " << fromPadded << " against " << engine;
		}
	}
	// The engine's list of decimal points is a global its host may change.
	const irr::core::stringc points = irr::core::LOCALE_DECIMAL_POINTS;
	irr::core::LOCALE_DECIMAL_POINTS = ",.";
	EXPECT_EQ(convertXMLFloat("1,5"), 1.5f);
	irr::core::LOCALE_DECIMAL_POINTS = points;
	EXPECT_EQ(convertXMLFloat("1,5"), 1.f);
}

TEST_F(XMLPullReaderTest, LooksUpNamesAsTheEngineCompares)
{
	// First, names that share their first characters, a duplicate, an empty
	// name, a long one and one with a zero byte, which the engine compares up
	// to the zero byte and then by length. Then plain names only, asked for
	// beside absent names that start like them or share their lookup bit
	// ("b" with "id", "file" with "y").
	CXMLStreamReader& reader = open(std::string("<a x=\"1\" xy=\"2\" xyz=\"3\" x=\"4\" =\"5\" longname12=\"6\" q") +
		'\0' + "r=\"7\"/><b id=\"1\" x=\"2\" y=\"3\" z=\"4\" vid=\"5\" u0=\"6\" id=\"7\"/>");
	struct SCase
	{
		const char* Name;
		const char* Value;
	};
	const std::vector<std::vector<SCase>> tags = {
		{{"x", "1"}, {"xy", "2"}, {"xyz", "3"}, {"xyzw", nullptr}, {"xz", nullptr}, {"y", nullptr}, {"", "5"},
			{"longname12", "6"}, {"longname1", nullptr}, {"qst", "7"}, {"q", nullptr}},
		{{"id", "1"}, {"x", "2"}, {"y", "3"}, {"z", "4"}, {"vid", "5"}, {"u0", "6"}, {"b", nullptr}, {"file", nullptr},
			{"i", nullptr}, {"idx", nullptr}, {"vi", nullptr}, {"u1", nullptr}, {"mid", nullptr}, {"", nullptr}}};
	for (const std::vector<SCase>& cases : tags)
	{
		ASSERT_TRUE(reader.read());
		for (const SCase& c : cases)
		{
			const char* value = reader.getAttributeValue(c.Name);
			if (c.Value)
				EXPECT_STREQ(value, c.Value) << reader.getNodeName() << ' ' << c.Name;
			else
				EXPECT_EQ(value, nullptr) << reader.getNodeName() << ' ' << c.Name;
		}
	}
}

TEST_F(XMLPullReaderTest, MissingAttributeIsNullAndZero)
{
	CXMLStreamReader& reader = open("<a x=\"1\"><b/></a>");
	ASSERT_TRUE(reader.read());
	EXPECT_EQ(reader.getAttributeValue("y"), nullptr);
	EXPECT_EQ(reader.getAttributeValueAsInt("y"), 0);
	EXPECT_EQ(reader.getAttributeValueAsFloat("y"), 0.f);
	ASSERT_TRUE(reader.read());
	// Attributes belong to the current start tag only.
	EXPECT_EQ(reader.getAttributeValue("x"), nullptr);
}

// Each document here is read whole by the engine's reader; ours reads it to
// the same nodes and values.
TEST_F(XMLPullReaderTest, ReadsWhatTheEngineReaderReads)
{
	struct SCase
	{
		const char* What;
		std::string Document;
		std::vector<std::string> Nodes;
	};
	const SCase cases[] = {
		{"unescaped & and < in a value", "<material name=\"Bricks & Mortar <old>\"/>",
			{E + ":material/[name=Bricks & Mortar <old>]"}},
		{"duplicate attribute: both kept, the first one counts", "<v x=\"1\" x=\"2\"/>", {E + ":v/[x=1][x=2]"}},
		{"no blank between attributes", "<v x=\"1\"y=\"2\"z='3'/>", {E + ":v/[x=1][y=2][z=3]"}},
		{"undefined entity and character references stay as written", "<t file=\"&nbsp;&#65;&#x42;\"/>",
			{E + ":t/[file=&nbsp;&#65;&#x42;]"}},
		{"several top-level elements", "<a/><scene></scene><b/>",
			{E + ":a/", E + ":scene", End + ":scene", E + ":b/"}},
		{"XML declaration first, settings after it", "<?xml version=\"1.0\"?>\n<settings/>\n<scene/>",
			{Unk + ":", E + ":settings/", E + ":scene/"}},
		{"Windows-1252 bytes in a document declared UTF-8",
			"<?xml version=\"1.0\" encoding=\"UTF-8\"?><m name=\"Fu\xDF" "boden \x80\"/>",
			{Unk + ":", E + ":m/[name=Fu\xDF" "boden \x80]"}},
		{"end tag names are taken up to '>'", "<a></a ><b></ b>", {E + ":a", End + ":a ", E + ":b", End + ": b"}},
		{"mismatched end tags are not checked", "<a><b></c></a>", {E + ":a", E + ":b", End + ":c", End + ":a"}},
		{"a name runs to a blank or '>'", "<a<b x=\"1\">", {E + ":a<b[x=1]"}},
		{"'/' then any character closes the tag", "<a x=\"1\"/ ><b/>", {E + ":a/[x=1]", Txt + ":", E + ":b/"}},
		{"a comment ends at its first balancing '>'", "<!-- a > b --><c/>", {Cmt + ":", Txt + ":", E + ":c/"}},
		{"a DOCTYPE reads as one node", "<!DOCTYPE a [<!ENTITY e \"1.5\">]><a t=\"&e;\"/>",
			{Cmt + ":", E + ":a/[t=&e;]"}},
		{"an attribute without a value takes the next quoted text", "<a b c=\"1\">", {E + ":a[b=1]"}},
	};
	for (const SCase& c : cases)
	{
		EXPECT_EQ(nodes(c.Document), c.Nodes) << c.What;
		EXPECT_FALSE(Reader->stoppedShort()) << c.What;
	}
	CXMLStreamReader& reader = open("<v x=\"1\" x=\"2\"/>");
	ASSERT_TRUE(reader.read());
	EXPECT_STREQ(reader.getAttributeValue("x"), "1");
}

TEST_F(XMLPullReaderTest, ReplacesOnlyThePredefinedReferencesAsTheEngineDoes)
{
	struct SCase
	{
		const char* Written;
		const char* Read;
	};
	const SCase cases[] = {
		{"&lt;&amp;&#65;&quot;&#38;", "<&&#65;\"&#38;"},
		{"&gt;&apos;x&quot;yz", ">'x\"yz"},
		{"a&b", "a&b"},
		{"&amp", "&amp"},
		// The engine's reader loses a single character after the last
		// reference, and a value that is a lone '&'.
		{"R&amp;D", "R&"},
		{"&amp;&", "&"},
		{"&", ""},
	};
	for (const SCase& c : cases)
	{
		CXMLStreamReader& reader = open(std::string("<a t=\"") + c.Written + "\" u=\"1\"/>");
		ASSERT_TRUE(reader.read());
		EXPECT_STREQ(reader.getAttributeValue("t"), c.Read) << c.Written;
		EXPECT_STREQ(reader.getAttributeValue("u"), "1") << c.Written;
	}
}

TEST_F(XMLPullReaderTest, ZeroBytesAndWideTextAsTheEngineReadsThem)
{
	// A zero byte outside a tag ends the document; inside a name it cuts the
	// name, and an attribute name holding one matches no name.
	EXPECT_EQ(nodes(std::string("<a/>\0<b/>", 9)), std::vector<std::string>{E + ":a/"});
	EXPECT_TRUE(Reader->isBroken());
	EXPECT_NE(Reader->describeFirstFault().find("zero byte"), std::string::npos);
	CXMLStreamReader& reader = open(std::string("<ab\0c x\0y=\"1\" z=\"2\"/>", 21));
	ASSERT_TRUE(reader.read());
	EXPECT_STREQ(reader.getNodeName(), "ab");
	EXPECT_EQ(reader.getAttributeValue("x"), nullptr);
	EXPECT_STREQ(reader.getAttributeValue("z"), "2");

	// A UTF-8 byte order mark is passed over; UTF-16 text becomes 8-bit.
	EXPECT_EQ(nodes("\xEF\xBB\xBF<a x=\"1\"/>"), std::vector<std::string>{E + ":a/[x=1]"});
	const std::string wide = "<a x=\"\xE9\"/>";
	std::string utf16le = "\xFF\xFE";
	std::string utf16be = "\xFE\xFF";
	for (char c : wide)
	{
		utf16le += c;
		utf16le += '\0';
		utf16be += '\0';
		utf16be += c;
	}
	EXPECT_EQ(nodes(utf16le), std::vector<std::string>{E + ":a/[x=\xE9]"});
	EXPECT_EQ(nodes(utf16be), std::vector<std::string>{E + ":a/[x=\xE9]"});
	EXPECT_FALSE(Reader->stoppedShort());
	// UTF-32 whose length is no multiple of four: the engine's reader swaps
	// its units past the end of its input; this one reads what is there.
	const std::string utf32be = std::string("\0\0\xFE\xFF\0\0\0<\0\0\0a\0\0\0/\0\0\0>xy", 22);
	EXPECT_EQ(nodes(utf32be), std::vector<std::string>{E + ":a/"});
	EXPECT_TRUE(Reader->stoppedShort());
}

TEST_F(XMLPullReaderTest, CutDocumentReadsUpToTheCutAndLogsOneLine)
{
	// Cut off inside a start tag: the case that crashes the engine's reader.
	const std::vector<std::string> expected{E + ":scene", E + ":materials"};
	EXPECT_EQ(nodes("<scene>\n<materials>\n<category name=\"x"), expected);
	EXPECT_TRUE(Reader->isBroken());
	EXPECT_TRUE(Reader->stoppedShort());
	ASSERT_EQ(Logger->Lines.size(), 1u);
	EXPECT_NE(Logger->Lines[0].find("doc.txs"), std::string::npos) << Logger->Lines[0];
	EXPECT_NE(Logger->Lines[0].find("not well-formed"), std::string::npos) << Logger->Lines[0];
	EXPECT_EQ(Reader->describeFirstFault(), "line 3, column 1: the document ends inside the start tag that begins here");
	// Further reads stay at the end and log nothing more.
	EXPECT_FALSE(Reader->read());
	EXPECT_EQ(Logger->Lines.size(), 1u);

	struct SCase
	{
		std::string Document;
		std::string Fault;
		bool Short;
	};
	const SCase cases[] = {
		{"<a>\n  <b", "line 2, column 3: the document ends inside the start tag that begins here", true},
		{"<a>\n<b x", "line 2, column 1: the document ends inside the start tag that begins here", true},
		{"<a></a", "line 1, column 4: the document ends inside the end tag that begins here", true},
		{"<a>\n<!-- x <y> ", "line 2, column 1: the document ends inside the comment that begins here", true},
		{"<a/><?pi", "line 1, column 5: the document ends inside the processing instruction that begins here", true},
		{"<a/><![CDATA[x", "line 1, column 5: the CDATA section that begins here is not closed", false},
		{"<a>\n<b>\n</b>\n", "line 4, column 1: the document ends before the end tags of 1 open element", false},
		{"", "line 1, column 1: the document is empty", false},
		{"\x01\x02 garbage", "line 1, column 11: the document holds no element", false},
	};
	for (const SCase& c : cases)
	{
		nodes(c.Document);
		EXPECT_EQ(Reader->describeFirstFault(), c.Fault) << c.Document;
		EXPECT_EQ(Reader->stoppedShort(), c.Short) << c.Document;
		EXPECT_EQ(Logger->Lines.size(), 1u) << c.Document;
	}
}

TEST_F(XMLPullReaderTest, LongDocumentsReadAcrossBlocks)
{
	// Tags of every length cross the reader's block boundaries, one value is
	// longer than a block, and tags are broken across lines: every value and
	// the line of a final cut must come out right, whether the tags go
	// through the full tokenizer (a reference in a value) or are read as a
	// shape seen before.
	for (const std::string reference : {"&amp;xy", ""})
	{
		std::string document = "<scene>\n";
		const int count = 60000;
		for (int i = 0; i < count; ++i)
			document += "<vertex\nid=\"" + std::to_string(i) + "\" name=\"" +
				std::string(static_cast<std::size_t>(i % 37), 'n') + reference + "\"/>\n";
		// The tags go on after the long value, for blocks more.
		const std::string huge(700000, 'h');
		document += "<texture file=\"" + huge + "\"/>\n";
		for (int i = 0; i < count; ++i)
			document += "<vertex\nid=\"" + std::to_string(i) + "\" name=\"" +
				std::string(static_cast<std::size_t>(i % 37), 'n') + reference + "\"/>\n";
		document += "<cut x=\"";
		CXMLStreamReader& reader = open(document);
		ASSERT_TRUE(reader.read());
		for (int run = 0; run < 2; ++run)
		{
			for (int i = 0; i < count; ++i)
			{
				ASSERT_TRUE(reader.read());
				ASSERT_STREQ(reader.getNodeName(), "vertex");
				ASSERT_EQ(reader.getAttributeValueAsInt("id"), i);
				ASSERT_EQ(std::strlen(reader.getAttributeValue("name")),
					static_cast<std::size_t>(i % 37) + (reference.empty() ? 0 : 3));
			}
			if (run == 0)
			{
				ASSERT_TRUE(reader.read());
				EXPECT_EQ(std::string(reader.getAttributeValue("file")), huge);
			}
		}
		EXPECT_FALSE(reader.read());
		EXPECT_EQ(reader.describeFirstFault(), "line " + std::to_string(4 * count + 3) +
				", column 1: the document ends inside the start tag that begins here")
			<< reference;
	}
}

// A document in memory whose reads fail from a given byte on.
class CFailingFile : public irr::io::IReadFile
{
public:
	CFailingFile(const std::string& text, std::size_t failAt) : Text(text), FailAt(failAt) {}
	irr::s32 read(void* buffer, irr::u32 sizeToRead) override
	{
		if (Position >= FailAt)
			return -1;
		const std::size_t n = std::min<std::size_t>(sizeToRead, FailAt - Position);
		std::memcpy(buffer, Text.data() + Position, n);
		Position += n;
		return static_cast<irr::s32>(n);
	}
	bool seek(long, bool) override { return false; }
	long getSize() const override { return static_cast<long>(Text.size()); }
	long getPos() const override { return static_cast<long>(Position); }
	const irr::io::path& getFileName() const override { return Name; }

private:
	std::string Text;
	std::size_t FailAt;
	std::size_t Position = 0;
	irr::io::path Name = "failing.txs";
};

TEST_F(XMLPullReaderTest, FileThatFailsEndsTheDocumentWhereItFailed)
{
	// Within the first block and blocks later, where the next block is read
	// while one is parsed: the nodes before the failure are read, and the
	// fault names the place.
	std::string document = "<scene>\n";
	for (int i = 0; i < 100000; ++i)
		document += "<vertex id=\"" + std::to_string(i) + "\" x=\"1.5\"/>\n";
	// 1048580 is where a read of the reader's 256 KiB blocks (after the four
	// bytes it reads first) would begin, so the failure is that whole read's.
	for (const std::size_t failAt : {std::size_t(100), std::size_t(1000000), std::size_t(1048580), std::size_t(2500007)})
	{
		const std::size_t lineStart = document.rfind('\n', failAt - 1) + 1;
		const std::size_t line = static_cast<std::size_t>(std::count(document.begin(), document.begin() + failAt, '\n')) + 1;
		const std::size_t completeTags =
			static_cast<std::size_t>(std::count(document.begin(), document.begin() + failAt, '>')) - 1;
		CFailingFile* file = new CFailingFile(document, failAt);
		std::unique_ptr<CXMLStreamReader> reader = CXMLStreamReader::create(file, nullptr);
		file->drop();
		ASSERT_TRUE(reader->read());
		for (std::size_t i = 0; i < completeTags; ++i)
		{
			ASSERT_TRUE(reader->read()) << failAt << " " << i;
			ASSERT_EQ(reader->getAttributeValueAsInt("id"), static_cast<irr::s32>(i));
		}
		EXPECT_FALSE(reader->read());
		EXPECT_EQ(reader->describeFirstFault(), "line " + std::to_string(line) + ", column " +
				std::to_string(failAt - lineStart + 1) + ": the file could not be read");
	}
}

TEST_F(XMLPullReaderTest, NodeLongerThanTheLimitEndsTheDocumentAndKeepsWhatCameBefore)
{
	// A value, comment or CDATA section that never ends would grow the
	// buffer until the allocation fails; past the limit the reader stops.
	const std::string tooLong(CXMLStreamReader::MaxNodeBytes + 1, 'x');
	struct SCase
	{
		std::string Open;
		const char* What;
	};
	const SCase cases[] = {
		{"<b v=\"", "start tag"},
		{"<!-- ", "comment"},
		{"<![CDATA[", "CDATA section"},
	};
	for (const SCase& c : cases)
	{
		const std::vector<std::string> expected{E + ":scene", E + ":a/"};
		EXPECT_EQ(nodes("<scene>\n<a/>\n  " + c.Open + tooLong + "\"/>\n</scene>"), expected) << c.What;
		EXPECT_EQ(Reader->describeFirstFault(), std::string("line 3, column 3: the ") + c.What +
				" that begins here is longer than 16 MiB, the most one node may hold");
		EXPECT_EQ(Logger->Lines.size(), 1u) << c.What;
		EXPECT_FALSE(Reader->read());
	}

	// Just below the limit a node still reads whole.
	const std::string longest(CXMLStreamReader::MaxNodeBytes - 16, 'y');
	CXMLStreamReader& reader = open("<scene><b v=\"" + longest + "\"/></scene>");
	ASSERT_TRUE(reader.read());
	ASSERT_TRUE(reader.read());
	EXPECT_EQ(std::strlen(reader.getAttributeValue("v")), longest.size());
	ASSERT_TRUE(reader.read());
	EXPECT_FALSE(reader.read());
	EXPECT_FALSE(reader.isBroken()) << reader.describeFirstFault();
}

TEST_F(XMLPullReaderTest, NothingIsLoadedOrExpanded)
{
	const std::string secretPath = ::testing::TempDir() + "vistel_secret.txt";
	{
		std::ofstream secret(secretPath);
		secret << "SECRET";
	}
	const std::string document = "<!DOCTYPE a [<!ENTITY s SYSTEM \"file://" + secretPath +
		"\">]><a>&s;<b t=\"&s;\"/></a>";
	CXMLStreamReader& reader = open(document);
	int elements = 0;
	while (reader.read())
	{
		if (reader.getNodeType() != irr::io::EXN_ELEMENT)
			continue;
		++elements;
		const char* t = reader.getAttributeValue("t");
		if (t)
		{
			EXPECT_STREQ(t, "&s;");
		}
	}
	EXPECT_EQ(elements, 2);
	std::remove(secretPath.c_str());

	// Entities the document defines are never expanded: the reference stays.
	std::string bomb = "<!DOCTYPE a [<!ENTITY e0 \"0123456789abcdef\">";
	for (int i = 1; i < 12; ++i)
	{
		const std::string prev = "&e" + std::to_string(i - 1) + ";";
		bomb += "<!ENTITY e" + std::to_string(i) + " \"" + prev + prev + prev + prev + prev + prev + prev + prev + prev +
			prev + "\">";
	}
	bomb += "]><a t=\"&e11;\"/>";
	EXPECT_EQ(nodes(bomb), (std::vector<std::string>{Cmt + ":", E + ":a/[t=&e11;]"}));
	EXPECT_FALSE(Reader->isBroken());
}

} // end namespace
} // end namespace test
} // end namespace vistel

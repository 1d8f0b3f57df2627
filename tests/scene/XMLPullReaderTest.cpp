// The pull reader over libxml2: node stream, attribute conversion, and what
// happens with documents that are broken or try to reach outside.
#include "CAnsiFallbackDecoder.h"
#include "CLibXmlPullReader.h"
#include "SceneTestSupport.h"

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

	CLibXmlPullReader& open(const std::string& text)
	{
		Text = text;
		irr::io::IReadFile* file = Device->getFileSystem()->createMemoryReadFile(
			const_cast<char*>(Text.data()), static_cast<irr::s32>(Text.size()), "doc.txs", false);
		Reader = CLibXmlPullReader::create(file, Logger);
		file->drop();
		return *Reader;
	}

	// Every node as "type:name", with "/" marking empty-element tags.
	std::vector<std::string> nodes(const std::string& text)
	{
		CLibXmlPullReader& reader = open(text);
		std::vector<std::string> out;
		while (reader.read())
		{
			std::string entry = std::to_string(reader.getNodeType()) + ":" + reader.getNodeName();
			if (reader.isEmptyElement())
				entry += "/";
			out.push_back(entry);
		}
		return out;
	}

	irr::IrrlichtDevice* Device = nullptr;
	CRecordingLogger* Logger = nullptr;
	std::string Text;
	std::unique_ptr<CLibXmlPullReader> Reader;
};

const std::string E = std::to_string(irr::io::EXN_ELEMENT);
const std::string End = std::to_string(irr::io::EXN_ELEMENT_END);
const std::string Txt = std::to_string(irr::io::EXN_TEXT);
const std::string Cmt = std::to_string(irr::io::EXN_COMMENT);
const std::string Cd = std::to_string(irr::io::EXN_CDATA);

TEST_F(XMLPullReaderTest, ReportsNodesInDocumentOrder)
{
	const std::vector<std::string> expected{E + ":a", E + ":b/", Cmt + ":", Txt + ":", Cd + ":", E + ":c", End + ":c",
		End + ":a"};
	EXPECT_EQ(nodes("<a><b x='1'/><!-- c --> text <![CDATA[<x>]]><c></c></a>"), expected);
	EXPECT_TRUE(Logger->Lines.empty());
	EXPECT_FALSE(Reader->isBroken());
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
		CLibXmlPullReader& reader = open(std::string("<a v=\"") + c.Text + "\"/>");
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

TEST_F(XMLPullReaderTest, MissingAttributeIsNullAndZero)
{
	CLibXmlPullReader& reader = open("<a x=\"1\"><b/></a>");
	ASSERT_TRUE(reader.read());
	EXPECT_EQ(reader.getAttributeValue("y"), nullptr);
	EXPECT_EQ(reader.getAttributeValueAsInt("y"), 0);
	EXPECT_EQ(reader.getAttributeValueAsFloat("y"), 0.f);
	ASSERT_TRUE(reader.read());
	// Attributes belong to the current start tag only.
	EXPECT_EQ(reader.getAttributeValue("x"), nullptr);
}

TEST_F(XMLPullReaderTest, EntitiesAndCharacterReferencesAreDecoded)
{
	CLibXmlPullReader& reader = open("<a t=\"&lt;&amp;&#65;&quot;&#38;\"/>");
	ASSERT_TRUE(reader.read());
	EXPECT_STREQ(reader.getAttributeValue("t"), "<&A\"&");
	// References to entities the document declares itself stay as written:
	// nothing is expanded, as with the engine's reader.
	CLibXmlPullReader& declared = open("<!DOCTYPE a [<!ENTITY e \"1.5\">]><a t=\"&e;\"/>");
	ASSERT_TRUE(declared.read());
	EXPECT_STREQ(declared.getAttributeValue("t"), "&e;");
	EXPECT_FALSE(declared.isBroken());
}

TEST_F(XMLPullReaderTest, BrokenDocumentReadsUpToTheBreakAndLogsOneLine)
{
	// Cut off inside a start tag: the case that crashes the engine's reader.
	const std::vector<std::string> expected{E + ":scene", E + ":materials"};
	EXPECT_EQ(nodes("<scene>\n<materials>\n<category name=\"x"), expected);
	EXPECT_TRUE(Reader->isBroken());
	ASSERT_EQ(Logger->Lines.size(), 1u);
	EXPECT_NE(Logger->Lines[0].find("doc.txs"), std::string::npos) << Logger->Lines[0];
	EXPECT_NE(Logger->Lines[0].find("line 3"), std::string::npos) << Logger->Lines[0];
	// Further reads stay at the end and log nothing more.
	EXPECT_FALSE(Reader->read());
	EXPECT_EQ(Logger->Lines.size(), 1u);
}

TEST_F(XMLPullReaderTest, MismatchedTagStopsThere)
{
	const std::vector<std::string> expected{E + ":a", E + ":b"};
	EXPECT_EQ(nodes("<a><b></c><d/></a>"), expected);
	EXPECT_EQ(Logger->Lines.size(), 1u);
}

TEST_F(XMLPullReaderTest, EmptyInputIsBrokenAndHasNoNodes)
{
	EXPECT_TRUE(nodes("").empty());
	EXPECT_TRUE(Reader->isBroken());
	EXPECT_TRUE(nodes("\x01\x02 garbage").empty());
}

TEST_F(XMLPullReaderTest, ExternalEntitiesAreNeverRead)
{
	const std::string secretPath = ::testing::TempDir() + "vistel_secret.txt";
	{
		std::ofstream secret(secretPath);
		secret << "SECRET";
	}
	const std::string document = "<!DOCTYPE a [<!ENTITY s SYSTEM \"file://" + secretPath +
		"\">]><a>&s;<b t=\"x\"/></a>";
	CLibXmlPullReader& reader = open(document);
	bool sawSecret = false;
	int elements = 0;
	while (reader.read())
	{
		if (reader.getNodeType() == irr::io::EXN_ELEMENT)
			++elements;
		const char* t = reader.getAttributeValue("t");
		if (t && std::string(t).find("SECRET") != std::string::npos)
			sawSecret = true;
	}
	EXPECT_FALSE(sawSecret);
	EXPECT_EQ(elements, 2);
	std::remove(secretPath.c_str());
}

TEST_F(XMLPullReaderTest, EntityExpansionBombIsRefused)
{
	std::string document = "<!DOCTYPE a [<!ENTITY e0 \"0123456789abcdef\">";
	for (int i = 1; i < 12; ++i)
	{
		const std::string prev = "&e" + std::to_string(i - 1) + ";";
		document += "<!ENTITY e" + std::to_string(i) + " \"" + prev + prev + prev + prev + prev + prev + prev + prev +
			prev + prev + "\">";
	}
	document += "]><a t=\"&e11;\"/>";
	CLibXmlPullReader& reader = open(document);
	while (reader.read())
	{
	}
	EXPECT_TRUE(reader.isBroken());
}

TEST_F(XMLPullReaderTest, AnsiTextIsReadAsWindows1252)
{
	// "Fußboden" and a euro sign in the editor's 8-bit code page.
	CLibXmlPullReader& reader = open("<a n=\"Fu\xDF" "boden \x80\"/>");
	ASSERT_TRUE(reader.read());
	EXPECT_STREQ(reader.getAttributeValue("n"), "Fu\xC3\x9F" "boden \xE2\x82\xAC");
	EXPECT_FALSE(reader.isBroken());
}

TEST_F(XMLPullReaderTest, Utf8TextAndDeclaredEncodingsStayAsWritten)
{
	CLibXmlPullReader& utf8 = open("<a n=\"Fu\xC3\x9F\"/>");
	ASSERT_TRUE(utf8.read());
	EXPECT_STREQ(utf8.getAttributeValue("n"), "Fu\xC3\x9F");

	CLibXmlPullReader& latin1 = open("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a n=\"Fu\xDF\"/>");
	ASSERT_TRUE(latin1.read());
	EXPECT_STREQ(latin1.getAttributeValue("n"), "Fu\xC3\x9F");
}

TEST(AnsiFallbackDecoderTest, SequencesSplitAcrossPiecesStayWhole)
{
	// U+20AC in UTF-8 is E2 82 AC; fed one byte at a time it must come out
	// unchanged, while a lone E2 at the very end is an ANSI byte.
	CAnsiFallbackDecoder decoder;
	std::string out;
	const char euro[] = "\xE2\x82\xAC";
	for (int i = 0; i < 3; ++i)
		decoder.decode(euro + i, 1, false, out);
	decoder.decode("\xE2", 1, false, out);
	decoder.decode(nullptr, 0, true, out);
	EXPECT_EQ(out, "\xE2\x82\xAC\xC3\xA2");
}

TEST(AnsiFallbackDecoderTest, InvalidUtf8FormsAreTakenAsAnsiBytes)
{
	struct SCase
	{
		const char* In;
		const char* Out;
	};
	const SCase cases[] = {
		{"\xC0\xAF", "\xC3\x80\xC2\xAF"},             // overlong
		{"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}, // surrogate
		{"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"}, // beyond U+10FFFF
		{"a\xE9z", "a\xC3\xA9z"},
	};
	for (const SCase& c : cases)
	{
		CAnsiFallbackDecoder decoder;
		std::string out;
		decoder.decode(c.In, std::strlen(c.In), true, out);
		EXPECT_EQ(out, c.Out) << c.In;
	}
}

} // end namespace
} // end namespace test
} // end namespace vistel

#ifndef VISTEL_C_LIBXML_PULL_READER_H_INCLUDED
#define VISTEL_C_LIBXML_PULL_READER_H_INCLUDED

#include "CAnsiFallbackDecoder.h"
#include "IXMLPullReader.h"

#include <memory>
#include <string>
#include <vector>

namespace irr
{
class ILogger;
namespace io
{
class IReadFile;
}
}

struct _xmlParserCtxt;
struct _xmlError;

namespace vistel
{

//! Pull reader over libxml2's push parser.
/** The document is fed to the parser a piece at a time as the reader
advances; the parser's callbacks queue the nodes of that piece, and no tree
of the document is kept. The parser stops calling back at the first fatal
error, so a document that is not well-formed reads exactly up to the point
where it breaks, as if it ended there, and one line saying where and why goes
to the logger. The parser is set up so that a document cannot make it read
anything else: no network, no external DTD or entities (entity references
are left as written), and libxml2's limits against entity expansion and
excessive nesting stay on. */
class CLibXmlPullReader : public IXMLPullReader
{
public:
	//! A reader for the file (grabbed while the reader lives), or null when
	//! there is no file or the parser cannot be set up. logger may be 0.
	static std::unique_ptr<CLibXmlPullReader> create(irr::io::IReadFile* file, irr::ILogger* logger);

	~CLibXmlPullReader() override;

	bool read() override;
	irr::io::EXML_NODE getNodeType() const override;
	const char* getNodeName() const override;
	bool isEmptyElement() const override;
	const char* getAttributeValue(const char* name) const override;
	std::string describeFirstFault() const override;

	//! True once the document turned out not to be well-formed.
	bool isBroken() const { return !ErrorMessage.empty() || InputFailed; }

private:
	CLibXmlPullReader(irr::io::IReadFile* file, irr::ILogger* logger);

	struct SNode
	{
		irr::io::EXML_NODE Type;
		irr::u32 Name;           // offset into Strings
		bool Empty;
		irr::u32 FirstAttribute; // index into Attributes
		irr::u32 AttributeCount;
	};
	struct SAttribute
	{
		irr::u32 Name, Value; // offsets into Strings
	};

	// Parser callbacks; ctx is the parser context, whose _private is the reader.
	static void onStartElement(void* ctx, const unsigned char* localName, const unsigned char* prefix,
		const unsigned char* uri, int namespaceCount, const unsigned char** namespaces, int attributeCount,
		int defaultedCount, const unsigned char** attributes);
	static void onEndElement(void* ctx, const unsigned char* localName, const unsigned char* prefix,
		const unsigned char* uri);
	static void onCharacters(void* ctx, const unsigned char* text, int length);
	static void onCData(void* ctx, const unsigned char* text, int length);
	static void onComment(void* ctx, const unsigned char* text);
	static void onProcessingInstruction(void* ctx, const unsigned char* target, const unsigned char* data);
	static void onReference(void* ctx, const unsigned char* name);
	static void onError(void* ctx, ::_xmlError* error);

	bool feedParser();
	const char* nextInput(std::size_t& size);
	void queue(irr::io::EXML_NODE type);
	irr::u32 storeName(const unsigned char* prefix, const unsigned char* localName);
	irr::u32 storeAttributeValue(const unsigned char* begin, std::size_t length);
	void reportBreak();

	_xmlParserCtxt* Parser = nullptr;
	irr::io::IReadFile* File;
	irr::ILogger* Logger;

	// Nodes of the piece fed last; Current indexes the node read.
	std::vector<SNode> Nodes;
	std::vector<SAttribute> Attributes;
	std::vector<char> Strings;
	std::size_t Current = 0;
	bool HasCurrent = false;
	bool SuppressNextEnd = false; // an empty-element tag's end comes as an end node
	bool ParserDone = false;
	bool Reported = false;

	// Input side: file bytes, decoded by the 8-bit fallback when needed.
	std::vector<char> RawInput;
	std::string Decoded;
	bool InputStarted = false;
	bool InputDecoded = false;
	bool InputAtEnd = false;
	bool InputFailed = false;
	CAnsiFallbackDecoder Decoder;

	// The first fatal error the parser reported.
	std::string ErrorMessage;
	int ErrorLine = 0;
	int ErrorColumn = 0;
};

} // end namespace vistel

#endif

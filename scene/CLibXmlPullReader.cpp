#include "CLibXmlPullReader.h"

#include <IReadFile.h>
#include <ILogger.h>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <cstring>

namespace vistel
{

namespace
{

// Bytes read from the engine file and fed to the parser per step.
const irr::u32 InputPiece = 64 * 1024;

CLibXmlPullReader* readerOf(void* ctx)
{
	return static_cast<CLibXmlPullReader*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
}

// No external resource is ever opened, whatever the document declares.
xmlParserInputPtr refuseExternalEntity(void*, const xmlChar*, const xmlChar*)
{
	return nullptr;
}

void ignoreExternalSubset(void*, const xmlChar*, const xmlChar*, const xmlChar*)
{
}

bool isBlank(const unsigned char* text, int length)
{
	for (int i = 0; i < length; ++i)
		if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r')
			return false;
	return true;
}

} // end namespace

std::unique_ptr<CLibXmlPullReader> CLibXmlPullReader::create(irr::io::IReadFile* file, irr::ILogger* logger)
{
	if (!file)
		return nullptr;
	std::unique_ptr<CLibXmlPullReader> reader(new CLibXmlPullReader(file, logger));

	// The default SAX2 handler keeps the DTD bookkeeping (internal entities,
	// attribute defaults); content goes to the reader's callbacks instead of
	// a tree.
	xmlSAXHandler sax;
	std::memset(&sax, 0, sizeof(sax));
	xmlSAXVersion(&sax, 2);
	sax.startElementNs = &CLibXmlPullReader::onStartElement;
	sax.endElementNs = &CLibXmlPullReader::onEndElement;
	sax.startElement = nullptr;
	sax.endElement = nullptr;
	sax.characters = &CLibXmlPullReader::onCharacters;
	sax.ignorableWhitespace = &CLibXmlPullReader::onCharacters;
	sax.cdataBlock = &CLibXmlPullReader::onCData;
	sax.comment = &CLibXmlPullReader::onComment;
	sax.processingInstruction = &CLibXmlPullReader::onProcessingInstruction;
	sax.reference = &CLibXmlPullReader::onReference;
	sax.resolveEntity = &refuseExternalEntity;
	sax.externalSubset = &ignoreExternalSubset;
	sax.warning = nullptr;
	sax.error = nullptr;
	sax.fatalError = nullptr;
	sax.serror = &CLibXmlPullReader::onError;

	reader->Parser = xmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr);
	if (!reader->Parser)
		return nullptr;
	reader->Parser->_private = reader.get();
	// NONET: no network. Neither NOENT nor DTDLOAD/DTDATTR/DTDVALID nor
	// XINCLUDE: external entities and DTDs are never fetched. HUGE stays off
	// so libxml2 keeps its limits on entity expansion, depth and text size.
	xmlCtxtUseOptions(reader->Parser, XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_COMPACT);
	return reader;
}

CLibXmlPullReader::CLibXmlPullReader(irr::io::IReadFile* file, irr::ILogger* logger) : File(file), Logger(logger)
{
	File->grab();
}

CLibXmlPullReader::~CLibXmlPullReader()
{
	if (Parser)
	{
		if (Parser->myDoc)
			xmlFreeDoc(Parser->myDoc);
		xmlFreeParserCtxt(Parser);
	}
	File->drop();
}

bool CLibXmlPullReader::read()
{
	if (HasCurrent && Current + 1 < Nodes.size())
	{
		++Current;
		return true;
	}
	while (!ParserDone)
	{
		if (feedParser())
		{
			Current = 0;
			HasCurrent = true;
			return true;
		}
	}
	HasCurrent = false;
	if (isBroken() && !Reported)
	{
		Reported = true;
		reportBreak();
	}
	return false;
}

irr::io::EXML_NODE CLibXmlPullReader::getNodeType() const
{
	return HasCurrent ? Nodes[Current].Type : irr::io::EXN_NONE;
}

const char* CLibXmlPullReader::getNodeName() const
{
	return HasCurrent ? &Strings[Nodes[Current].Name] : "";
}

bool CLibXmlPullReader::isEmptyElement() const
{
	return HasCurrent && Nodes[Current].Empty;
}

const char* CLibXmlPullReader::getAttributeValue(const char* name) const
{
	if (!HasCurrent || !name)
		return nullptr;
	const SNode& node = Nodes[Current];
	for (irr::u32 i = 0; i < node.AttributeCount; ++i)
	{
		const SAttribute& attribute = Attributes[node.FirstAttribute + i];
		if (std::strcmp(&Strings[attribute.Name], name) == 0)
			return &Strings[attribute.Value];
	}
	return nullptr;
}

bool CLibXmlPullReader::feedParser()
{
	// The queue is refilled only once every node in it was read, so the
	// texts of the current node stay valid until the next read.
	Nodes.clear();
	Attributes.clear();
	Strings.clear();
	Strings.push_back('\0'); // offset 0 is the empty text

	std::size_t size = 0;
	const char* data = nextInput(size);
	if (InputFailed)
		ParserDone = true;
	else if (data)
		xmlParseChunk(Parser, data, static_cast<int>(size), 0);
	else
	{
		xmlParseChunk(Parser, nullptr, 0, 1);
		ParserDone = true;
	}
	// After a fatal error the parser calls back no more.
	if (!ErrorMessage.empty())
		ParserDone = true;
	return !Nodes.empty();
}

const char* CLibXmlPullReader::nextInput(std::size_t& size)
{
	for (;;)
	{
		if (InputAtEnd)
		{
			// The decoder may still hold the bytes of an unfinished sequence.
			Decoded.clear();
			if (InputDecoded)
				Decoder.decode(nullptr, 0, true, Decoded);
			InputDecoded = false;
			size = Decoded.size();
			return size ? Decoded.data() : nullptr;
		}
		RawInput.resize(InputPiece);
		const irr::s32 got = File->read(RawInput.data(), InputPiece);
		if (got < 0)
		{
			InputFailed = true;
			return nullptr;
		}
		if (got == 0)
		{
			InputAtEnd = true;
			continue;
		}
		if (!InputStarted)
		{
			InputStarted = true;
			InputDecoded = CAnsiFallbackDecoder::isNeededFor(RawInput.data(), static_cast<std::size_t>(got));
		}
		if (!InputDecoded)
		{
			size = static_cast<std::size_t>(got);
			return RawInput.data();
		}
		Decoded.clear();
		Decoder.decode(RawInput.data(), static_cast<std::size_t>(got), false, Decoded);
		if (!Decoded.empty())
		{
			size = Decoded.size();
			return Decoded.data();
		}
	}
}

void CLibXmlPullReader::queue(irr::io::EXML_NODE type)
{
	// Text and CDATA may arrive in several calls; they form one node.
	if ((type == irr::io::EXN_TEXT || type == irr::io::EXN_CDATA) && !Nodes.empty() && Nodes.back().Type == type)
		return;
	Nodes.push_back({type, 0, false, 0, 0});
}

irr::u32 CLibXmlPullReader::storeAttributeValue(const unsigned char* begin, std::size_t length)
{
	// Without entity substitution the parser hands over an ampersand as
	// "&#38;" (to tell it from an entity reference, which stays as written).
	const irr::u32 offset = static_cast<irr::u32>(Strings.size());
	const char* p = reinterpret_cast<const char*>(begin);
	const char* const end = p + length;
	while (p < end)
	{
		if (*p == '&' && end - p >= 5 && std::memcmp(p, "&#38;", 5) == 0)
		{
			Strings.push_back('&');
			p += 5;
		}
		else
			Strings.push_back(*p++);
	}
	Strings.push_back('\0');
	return offset;
}

irr::u32 CLibXmlPullReader::storeName(const unsigned char* prefix, const unsigned char* localName)
{
	const irr::u32 offset = static_cast<irr::u32>(Strings.size());
	if (prefix)
	{
		const char* p = reinterpret_cast<const char*>(prefix);
		Strings.insert(Strings.end(), p, p + std::strlen(p));
		Strings.push_back(':');
	}
	const char* n = localName ? reinterpret_cast<const char*>(localName) : "";
	Strings.insert(Strings.end(), n, n + std::strlen(n));
	Strings.push_back('\0');
	return offset;
}

void CLibXmlPullReader::onStartElement(void* ctx, const xmlChar* localName, const xmlChar* prefix, const xmlChar*, int,
	const xmlChar**, int attributeCount, int, const xmlChar** attributes)
{
	CLibXmlPullReader* self = readerOf(ctx);
	SNode node{irr::io::EXN_ELEMENT, self->storeName(prefix, localName), false,
		static_cast<irr::u32>(self->Attributes.size()), static_cast<irr::u32>(attributeCount)};
	// Each attribute: local name, prefix, URI, value begin, value end.
	for (int i = 0; i < attributeCount; ++i)
	{
		const xmlChar** a = attributes + 5 * i;
		const irr::u32 name = self->storeName(a[1], a[0]);
		const irr::u32 value = self->storeAttributeValue(a[3], static_cast<std::size_t>(a[4] - a[3]));
		self->Attributes.push_back({name, value});
	}
	// The parser calls back with its input right after the attributes; "/>"
	// there marks an empty-element tag (libxml2's own reader tests the same).
	const xmlParserInputPtr input = static_cast<xmlParserCtxtPtr>(ctx)->input;
	node.Empty = input && input->cur && input->cur[0] == '/' && input->cur[1] == '>';
	self->SuppressNextEnd = node.Empty;
	self->Nodes.push_back(node);
}

void CLibXmlPullReader::onEndElement(void* ctx, const xmlChar* localName, const xmlChar* prefix, const xmlChar*)
{
	CLibXmlPullReader* self = readerOf(ctx);
	if (self->SuppressNextEnd)
	{
		self->SuppressNextEnd = false;
		return;
	}
	self->Nodes.push_back({irr::io::EXN_ELEMENT_END, self->storeName(prefix, localName), false, 0, 0});
}

void CLibXmlPullReader::onCharacters(void* ctx, const xmlChar* text, int length)
{
	// Blank text between elements is of no interest to any reader.
	if (!isBlank(text, length))
		readerOf(ctx)->queue(irr::io::EXN_TEXT);
}

void CLibXmlPullReader::onCData(void* ctx, const xmlChar*, int)
{
	readerOf(ctx)->queue(irr::io::EXN_CDATA);
}

void CLibXmlPullReader::onComment(void* ctx, const xmlChar*)
{
	readerOf(ctx)->queue(irr::io::EXN_COMMENT);
}

void CLibXmlPullReader::onProcessingInstruction(void* ctx, const xmlChar*, const xmlChar*)
{
	readerOf(ctx)->queue(irr::io::EXN_UNKNOWN);
}

void CLibXmlPullReader::onReference(void* ctx, const xmlChar*)
{
	readerOf(ctx)->queue(irr::io::EXN_UNKNOWN);
}

void CLibXmlPullReader::onError(void* ctx, xmlErrorPtr error)
{
	void* context = error && error->ctxt ? error->ctxt : ctx;
	if (!context || !error)
		return;
	CLibXmlPullReader* self = readerOf(context);
	// Only the first fatal error marks the break; warnings and recoverable
	// errors (such as an undeclared namespace prefix) do not stop reading.
	if (!self || error->level != XML_ERR_FATAL || !self->ErrorMessage.empty())
		return;
	std::string message = error->message ? error->message : "";
	while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
		message.pop_back();
	self->ErrorMessage = message.empty() ? "unknown error" : message;
	self->ErrorLine = error->line;
	self->ErrorColumn = error->int2;
}

std::string CLibXmlPullReader::describeFirstFault() const
{
	if (!isBroken())
		return std::string();
	std::string fault;
	if (ErrorLine > 0)
		fault = "line " + std::to_string(ErrorLine) + ", column " + std::to_string(ErrorColumn) + ": ";
	fault += InputFailed ? std::string("the file could not be read") : ErrorMessage;
	return fault;
}

void CLibXmlPullReader::reportBreak()
{
	if (!Logger)
		return;
	std::string line = "Scene document ";
	line += File->getFileName().c_str();
	line += " is not well-formed (";
	line += describeFirstFault();
	line += "); read up to there.";
	Logger->log(line.c_str(), irr::ELL_WARNING);
}

} // end namespace vistel

#ifndef VISTEL_C_XML_STREAM_READER_H_INCLUDED
#define VISTEL_C_XML_STREAM_READER_H_INCLUDED

#include "CBlockReadAhead.h"
#include "IXMLPullReader.h"
#include "XMLNumberConversion.h"

#include <cstddef>
#include <cstring>
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

namespace vistel
{

//! Pull reader that reads a document as the engine's 8-bit XML reader does.
/** Scene documents are written for the engine's IXMLReaderUTF8, which is
lenient: it takes unescaped '&' and '<' in attribute values, duplicate
attributes (the first one counts), attributes with no blank between them,
undefined entities, several top-level elements, and 8-bit text whatever
encoding is declared. This reader follows the same tokenizing step by step,
so a document gives the same elements, end tags and attribute values as with
the engine's reader:
- in attribute values only &amp; &lt; &gt; &quot; &apos; are replaced;
  every other reference (&#65;, &x;) stays as written, nothing is ever
  loaded from outside the document, and a DTD is passed over like a comment
  (text content is not reported at all);
- bytes are kept as written: no encoding is applied. A UTF-8 byte order mark
  is passed over; UTF-16 and UTF-32 text (with a byte order mark) is cut to
  8-bit characters, as the engine does;
- a zero byte outside a tag ends the document.
Where the engine's reader would read past the end of its input (a document
cut inside a tag or comment), this reader stops before that tag, and a
start tag whose attribute value is cut off is dropped rather than reported
with a stale name. When reading ends early, describeFirstFault() and one
warning line say where and why: a cut tag, comment or CDATA section, a zero
byte, end tags missing at the end, or no element at all.

The file is read in large blocks and each node is parsed in place, so the
memory in use is one block plus the largest tag (and, for a document of more
than one block, the next block, read on a second thread meanwhile). Texts of the current node
stay valid until the next read. */
class CXMLStreamReader final : public IXMLPullReader
{
public:
	//! A reader for the file (grabbed while the reader lives), or null when
	//! there is no file. logger may be 0; it gets one warning line when the
	//! document cannot be read to its end.
	static std::unique_ptr<CXMLStreamReader> create(irr::io::IReadFile* file, irr::ILogger* logger);

	~CXMLStreamReader() override;

	bool read() override;
	irr::io::EXML_NODE getNodeType() const override { return NodeType; }
	const char* getNodeName() const override { return NodeName; }
	bool isEmptyElement() const override { return EmptyElement; }
	const char* getAttributeValue(const char* name) const override;
	irr::f32 getAttributeValueAsFloat(const char* name) const override;
	irr::s32 getAttributeValueAsInt(const char* name) const override;
	std::string describeFirstFault() const override;

	//! The attributes of the current start tag in document order, duplicates
	//! included; names are cut at a zero byte, as the engine's are.
	irr::u32 getAttributeCount() const { return AttributeCount; }
	const char* getAttributeName(irr::u32 index) const;
	const char* getAttributeValue(irr::u32 index) const;

	//! The most one node (a tag, comment, CDATA section or declaration) may
	//! hold. The reader keeps a node whole in its buffer and reads on until
	//! it is complete, so a value, comment or CDATA section that never ends
	//! would otherwise take memory until the allocation fails inside the
	//! editor's process. The editor's own nodes hold a few names, numbers and
	//! paths (well below a kilobyte); 16 MiB is thousands of times that, and
	//! a buffer of that size is still found in one piece in the crowded
	//! address space of a 32-bit editor holding a big level. The buffer never
	//! grows past it: a node still not complete there ends the document, as a
	//! cut tag does, and what came before it stays read.
	static constexpr std::size_t MaxNodeBytes = 16u * 1024u * 1024u;

	//! Characters of the document read so far (its bytes, for 8-bit text).
	unsigned long long getBytesConsumed() const { return Dropped + Begin; }

	//! True once something kept the document from being read to its end.
	bool isBroken() const { return !FaultMessage.empty(); }

	//! True where the engine's reader reads past the end of its input, or
	//! reports a start tag cut off by the end (or by a zero byte) under the
	//! name of the node before it: a document cut inside a tag or comment,
	//! where this reader stops, or UTF-32 text without a zero unit at its end.
	//! Up to there both readers give the same nodes.
	bool stoppedShort() const { return StoppedShort; }

	CXMLStreamReader(const CXMLStreamReader&) = delete;
	CXMLStreamReader& operator=(const CXMLStreamReader&) = delete;

private:
	CXMLStreamReader(irr::io::IReadFile* file, irr::ILogger* logger);

	// How the file's bytes become the engine's 8-bit characters.
	enum EInputForm
	{
		EIF_BYTES,
		EIF_UTF16_LE,
		EIF_UTF16_BE,
		EIF_UTF32_LE,
		EIF_UTF32_BE
	};

	// Outcome of one parsing step.
	enum EStep
	{
		ES_NODE,  // a node was read
		ES_END,   // the document ends here
		ES_MORE,  // the buffer ends before the node does: read on and retry
		ES_CUT    // the input ends before the node does
	};

	struct SAttribute
	{
		SAttribute() = default;
		SAttribute(const char* name, irr::u32 nameLength, irr::u32 compareLength, irr::u32 prefix, const char* value,
			irr::u32 valueLength) :
			Name(name),
			NameLength(nameLength), CompareLength(compareLength), Value(value), Prefix(prefix), ValueLength(valueLength)
		{
		}
		const char* Name;
		irr::u32 NameLength;
		irr::u32 CompareLength; // up to a zero byte inside the name
		const char* Value;
		// The first two characters of a name that has one or more and no
		// zero byte (the second being its end for a one-character name);
		// NoPrefix for other names.
		static constexpr irr::u32 NoPrefix = ~irr::u32(0);
		irr::u32 Prefix;
		// While the tag is parsed: the value's length, with HasReferences
		// set when it holds a '&'. A node is far shorter than 2 GiB.
		static constexpr irr::u32 HasReferences = irr::u32(1) << 31;
		irr::u32 ValueLength;
	};

	// The first two characters of a name of length characters (at least one,
	// no zero byte) as one number: the second is 0 for a one-character name.
	static irr::u32 namePrefix(const unsigned char* name, irr::u32 length)
	{
		return name[0] | (length > 1 ? static_cast<irr::u32>(name[1]) << 8 : 0);
	}
	// One bit of NameBits for each first-two-characters number of a name.
	static irr::u64 prefixBit(irr::u32 prefix) { return irr::u64(1) << ((prefix * 0x9E3779B1u) >> 26); }

	// A start tag as the plain path read it, with its values left out: the
	// editor writes tag after tag of the same few shapes (the same element
	// and attribute names, in the same order, with the same blanks), and a
	// tag whose text outside its values is byte for byte that of a shape
	// read before is read by comparing those pieces instead of scanning
	// them. Pieces[k] runs from the closing quote of value k - 1 (the '<'
	// for k = 0) to the opening quote of value k included; the last piece
	// runs to the tag's end.
	static constexpr irr::u32 MaxShapeAttributes = 12;
	static constexpr irr::u32 MaxPieceBytes = 16;
	struct STagShape
	{
		struct SPiece
		{
			alignas(16) char Text[MaxPieceBytes];
			irr::u32 Mask; // one bit for each of its characters
			irr::u32 Length;
		};
		SPiece Pieces[MaxShapeAttributes + 1];
		// The attributes of the tag last read in this shape. Their names are
		// the shape's own copies, terminated there, as is the element's name:
		// the buffer is left as it is but for the values' closing quotes.
		SAttribute Attributes[MaxShapeAttributes];
		char Names[MaxShapeAttributes + 1][MaxPieceBytes];
		irr::u32 Count = 0;
		bool Empty = false;
		bool Valid = false;
		irr::u64 NameBits = 0;
	};
	static constexpr irr::u32 ShapeCount = 4;

	bool readPlainNode();
	bool readShapedStartTag(std::size_t open);
	void noteShape(std::size_t open, std::size_t nameEnd, bool empty, std::size_t tagEnd);
	bool readPlainStartTag(std::size_t open);
	bool readPlainEndTag(std::size_t open);
	// strlen(text) == length, out of line: only names that hold a zero byte ask.
	VISTEL_RARE_PATH static bool hasLength(const char* text, std::size_t length);
	void reportStartTag(std::size_t nameBegin, std::size_t nameEnd, bool empty, std::size_t tagEnd);
	void reportEndTag(std::size_t nameBegin, std::size_t closeAt);
	EStep parseNode();
	EStep parseText();
	EStep parseTag(std::size_t open);
	EStep parseStartTag(std::size_t open);
	EStep parseEndTag(std::size_t open);
	EStep parseCData(std::size_t open);
	EStep parseComment(std::size_t open);
	EStep parseDeclaration(std::size_t open);
	EStep outOfData(std::size_t tagStart, const char* what);
	bool nodeTooLong();
	void decodeReferences(char* value, std::size_t length);

	bool fill();
	bool fillBlock();
	void countDroppedLines();
	bool takeBlockAhead();
	void askNextBlock();
	irr::s32 readInput(char* out, std::size_t size);
	void detectForm();
	std::size_t convertWide(const unsigned char* raw, std::size_t size, char* out);
	void appendPadding();
	void growBuffer(std::size_t size);
	void terminateAt(std::size_t at);
	void noteFault(std::size_t at, const std::string& message);
	void hideNewline(std::size_t at);
	void finish();

	irr::io::IReadFile* File;
	irr::ILogger* Logger;

	// Characters of the document from stream offset Dropped on; [Begin, End)
	// is still to be read. Once the input is exhausted, the engine's trailing
	// zero characters follow at RealEnd.
	std::vector<char> Buffer;
	// Where the buffer's characters begin: a block read ahead is read behind
	// room for the node not complete yet, which then moves into that room.
	std::size_t Origin = 0;
	std::size_t Begin = 0;
	std::size_t End = 0;
	std::size_t RealEnd = 0;
	unsigned long long Dropped = 0;
	bool InputDone = false;
	bool InputStarted = false;
	EInputForm Form = EIF_BYTES;
	bool WideSwapped = true; // big-endian units are swapped up to the first zero unit
	// 8-bit input of more than one block: the next block is read on a second
	// thread into Spare while this one is parsed. A node too long to move
	// in front of it ends reading ahead; the block is then read from Carry.
	std::unique_ptr<CBlockReadAhead> ReadAhead;
	bool ReadAheadFailed = false;
	std::vector<char> Spare;
	std::vector<char> Carry;
	std::size_t CarryBegin = 0;
	std::size_t CarryEnd = 0;
	std::vector<unsigned char> Raw; // undecoded bytes of wide input
	std::size_t RawKept = 0;
	std::size_t RawPaddingUsed = 0; // zero bytes after a short file that its byte order mark took

	// Lines and columns of what was dropped from the buffer, and newlines that
	// a terminating zero replaced where they were not dropped yet.
	unsigned long long Lines = 0;
	unsigned long long LineStart = 0;
	long long HiddenNewlines = 0;
	unsigned long long LastHiddenNewline = 0;
	bool HasHiddenNewline = false;

	// The current node.
	irr::io::EXML_NODE NodeType = irr::io::EXN_NONE;
	const char* NodeName = "";
	bool EmptyElement = false;
	std::vector<SAttribute> Attributes;
	// The current node's attributes: Attributes, or those of a shape.
	const SAttribute* AttributeList = nullptr;
	irr::u32 AttributeCount = 0;
	void listAttributes()
	{
		AttributeList = Attributes.data();
		AttributeCount = static_cast<irr::u32>(Attributes.size());
	}
	// The shapes of the start tags read last, the one that matched last
	// first; a tag of none of them takes the place of the oldest.
	std::unique_ptr<STagShape[]> Shapes;
	irr::u32 ShapeOrder[ShapeCount] = {0, 1, 2, 3};
	// The prefixBit() of every attribute of the current start tag, or every
	// bit when one of its names is empty or holds a zero byte: a lookup whose
	// bit is not set has no match, and is answered without a scan.
	irr::u64 NameBits = 0;
	enum EResume
	{
		ER_NODE, // at the start of a node
		ER_TEXT, // in the text before a tag
		ER_TAG   // at the '<' of a tag
	};
	EResume Resume = ER_NODE;
	const char* PendingNode = ""; // what the node that is not complete yet is
	bool TextHasContent = false;
	bool Finished = false;
	bool StoppedShort = false;
	unsigned long long OpenElements = 0;
	unsigned long long Elements = 0;

	std::string FaultMessage;
	unsigned long long FaultLine = 0;
	unsigned long long FaultColumn = 0;
};

// Lookups are inline: a caller that holds the reader itself, rather than
// the interface, does a start tag's lookups without a call each.
inline const char* CXMLStreamReader::getAttributeValue(const char* name) const
{
	if (!name)
		return nullptr;
	// The engine compares names up to a zero byte in either, and then their
	// lengths; the first attribute of a name wins. A name with no zero byte
	// in it is told first by its first two characters (the second being its
	// end for a one-character name), compared as one number; the name asked
	// for is most often known where this is compiled, and so is its number.
	const unsigned char first = static_cast<unsigned char>(name[0]);
	const irr::u32 prefix = first ? first | static_cast<irr::u32>(static_cast<unsigned char>(name[1])) << 8 : 0;
	if (!(NameBits & prefixBit(prefix)))
		return nullptr;
	for (const SAttribute *attribute = AttributeList, *end = AttributeList + AttributeCount; attribute != end; ++attribute)
	{
		if (attribute->Prefix == prefix)
		{
			// Equal numbers with no second character: both names are that
			// one character.
			if (!(prefix >> 8))
				return attribute->Value;
			std::size_t i = 2;
			while (i < attribute->NameLength && attribute->Name[i] == name[i])
				++i;
			if (i == attribute->NameLength && name[i] == 0)
				return attribute->Value;
			continue;
		}
		if (attribute->Prefix != SAttribute::NoPrefix)
			continue;
		const std::size_t compareLength = attribute->CompareLength;
		std::size_t i = 0;
		while (i < compareLength && attribute->Name[i] == name[i])
			++i;
		if (i < compareLength)
			continue;
		if (attribute->CompareLength == attribute->NameLength ? name[i] == 0
															: hasLength(name, attribute->NameLength))
			return attribute->Value;
	}
	return nullptr;
}

// Values lie in the buffer, which always has PaddedConversionReach bytes
// after its last character.
inline irr::f32 CXMLStreamReader::getAttributeValueAsFloat(const char* name) const
{
	const char* value = getAttributeValue(name);
	return value ? convertPaddedXMLFloat(value) : 0.f;
}

inline irr::s32 CXMLStreamReader::getAttributeValueAsInt(const char* name) const
{
	return truncateXMLInt(getAttributeValueAsFloat(name));
}

} // end namespace vistel

#endif

#include "CXMLStreamReader.h"

#include <IReadFile.h>
#include <ILogger.h>

#include <algorithm>
#include <cstring>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vistel
{

namespace
{

// Characters read from the file per step; a tag longer than what the buffer
// holds makes the next step read as much again, so long tags cost linear time.
const std::size_t BlockSize = 256 * 1024;

// Room before a block read ahead for the node not complete at the end of
// the one before: the editor's nodes are far shorter.
const std::size_t Headroom = 64 * 1024;

// The engine's reader ends its input with four zero bytes; what it reads of
// them stays within its input.
const std::size_t Padding = 4;

enum ECharClass : unsigned char
{
	ECC_PLAIN = 0,
	ECC_BLANK = 1, // ' ', '\t', '\n', '\r': the engine's whitespace
	ECC_STOP = 2
};

struct SCharTables
{
	unsigned char Text[256];          // stops at '<' and the zero byte
	unsigned char ElementName[256];   // stops at '>' and blanks
	unsigned char AttributeName[256]; // stops at '=' and blanks; the zero byte is noted
	unsigned char Quote[256];         // stops at either quote and the zero byte
	unsigned char Value[256];         // stops at either quote, '&' and the zero byte
	unsigned char PlainValue[256];    // stops at '"', '&' and the zero byte

	SCharTables()
	{
		std::memset(this, ECC_PLAIN, sizeof(*this));
		for (const char blank : {' ', '\t', '\n', '\r'})
		{
			const unsigned char c = static_cast<unsigned char>(blank);
			Text[c] = ECC_BLANK;
			ElementName[c] = ECC_STOP;
			AttributeName[c] = ECC_STOP;
		}
		Text[static_cast<unsigned char>('<')] = Text[0] = ECC_STOP;
		ElementName[static_cast<unsigned char>('>')] = ECC_STOP;
		AttributeName[static_cast<unsigned char>('=')] = AttributeName[0] = ECC_STOP;
		for (const char stop : {'"', '\'', '&', '\0'})
		{
			Value[static_cast<unsigned char>(stop)] = ECC_STOP;
			if (stop != '&')
				Quote[static_cast<unsigned char>(stop)] = ECC_STOP;
			if (stop != '\'')
				PlainValue[static_cast<unsigned char>(stop)] = ECC_STOP;
		}
	}
};

const SCharTables Tables;

inline bool isBlank(unsigned char c)
{
	return Tables.Text[c] == ECC_BLANK;
}

// The first position in [j, end) that holds either quote, '&' or the zero
// byte, or end. Values are most of a start tag's characters: where the
// processor has SSE2 (every x86-64 one), sixteen are tested at once.
inline std::size_t findValueStop(const unsigned char* d, std::size_t j, std::size_t end)
{
#ifdef __SSE2__
	const __m128i doubleQuote = _mm_set1_epi8('"');
	const __m128i singleQuote = _mm_set1_epi8('\'');
	const __m128i ampersand = _mm_set1_epi8('&');
	const __m128i zero = _mm_setzero_si128();
	while (j + 16 <= end)
	{
		const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + j));
		const __m128i quotes = _mm_or_si128(_mm_cmpeq_epi8(chunk, doubleQuote), _mm_cmpeq_epi8(chunk, singleQuote));
		const __m128i others = _mm_or_si128(_mm_cmpeq_epi8(chunk, ampersand), _mm_cmpeq_epi8(chunk, zero));
		const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(quotes, others)));
		if (mask != 0)
			return j + static_cast<std::size_t>(__builtin_ctz(mask));
		j += 16;
	}
#endif
	while (j < end && Tables.Value[d[j]] == ECC_PLAIN)
		++j;
	return j;
}

// The plain path's scans (readPlainStartTag): the first position from j
// that ends an element name there (a blank, '>', or any other control
// character, the zero byte included), or that ends a value there ('"', '&'
// or the zero byte). The zero byte after the buffer's last character stops
// both, so sixteen characters are tested at once where the processor has
// SSE2, with no test of the buffer's end.
inline std::size_t findPlainNameStop(const unsigned char* d, std::size_t j)
{
#ifdef __SSE2__
	const __m128i space = _mm_set1_epi8(' ');
	const __m128i close = _mm_set1_epi8('>');
	const __m128i lastControl = _mm_set1_epi8(0x1F);
	for (;; j += 16)
	{
		const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + j));
		const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(chunk, lastControl), chunk);
		const __m128i stops = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, space), _mm_cmpeq_epi8(chunk, close)), control);
		const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(stops));
		if (mask != 0)
			return j + static_cast<std::size_t>(__builtin_ctz(mask));
	}
#else
	while (d[j] != ' ' && d[j] != '>' && d[j] >= 0x20)
		++j;
	return j;
#endif
}

inline std::size_t findPlainValueStop(const unsigned char* d, std::size_t j)
{
#ifdef __SSE2__
	const __m128i quote = _mm_set1_epi8('"');
	const __m128i ampersand = _mm_set1_epi8('&');
	const __m128i zero = _mm_setzero_si128();
	for (;; j += 16)
	{
		const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + j));
		const __m128i stops = _mm_or_si128(
			_mm_or_si128(_mm_cmpeq_epi8(chunk, quote), _mm_cmpeq_epi8(chunk, ampersand)), _mm_cmpeq_epi8(chunk, zero));
		const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(stops));
		if (mask != 0)
			return j + static_cast<std::size_t>(__builtin_ctz(mask));
	}
#else
	while (Tables.PlainValue[d[j]] == ECC_PLAIN)
		++j;
	return j;
#endif
}

// True when the characters at text are those of the piece. The buffer keeps
// readable bytes after its last character for the sixteen compared at once.
template <typename TPiece>
inline bool matchesPiece(const unsigned char* text, const TPiece& piece)
{
#ifdef __SSE2__
	const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
	const __m128i expected = _mm_load_si128(reinterpret_cast<const __m128i*>(piece.Text));
	const unsigned same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, expected)));
	return (same & piece.Mask) == piece.Mask;
#else
	return std::memcmp(text, piece.Text, piece.Length) == 0;
#endif
}

// The five references the engine's reader replaces in attribute values.
struct SReference
{
	const char* Name; // without the leading '&'
	std::size_t Length;
	char Character;
};
const SReference References[] = {
	{"amp;", 4, '&'}, {"lt;", 3, '<'}, {"gt;", 3, '>'}, {"quot;", 5, '"'}, {"apos;", 5, '\''}};

std::size_t countNewlines(const char* begin, const char* end)
{
	std::size_t count = 0;
#ifdef __SSE2__
	// Every block that is dropped is counted: sixty-four characters at a
	// time, in byte counters that are summed before they can overflow.
	const __m128i newline = _mm_set1_epi8('\n');
	const __m128i zero = _mm_setzero_si128();
	while (end - begin >= 16)
	{
		__m128i counters = zero;
		// 63 rounds of four chunks: no byte counter passes 252.
		for (int round = 0; round < 63 && end - begin >= 64; ++round, begin += 64)
		{
			const __m128i* chunks = reinterpret_cast<const __m128i*>(begin);
			const __m128i first = _mm_add_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(chunks), newline),
				_mm_cmpeq_epi8(_mm_loadu_si128(chunks + 1), newline));
			const __m128i second = _mm_add_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(chunks + 2), newline),
				_mm_cmpeq_epi8(_mm_loadu_si128(chunks + 3), newline));
			counters = _mm_sub_epi8(counters, _mm_add_epi8(first, second));
		}
		for (int round = 0; round < 3 && end - begin >= 16; ++round, begin += 16)
		{
			const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
			counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(chunk, newline));
		}
		const __m128i sums = _mm_sad_epu8(counters, zero);
		count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
			static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
	}
#endif
	while (begin < end)
	{
		const void* hit = std::memchr(begin, '\n', static_cast<std::size_t>(end - begin));
		if (!hit)
			break;
		++count;
		begin = static_cast<const char*>(hit) + 1;
	}
	return count;
}

// Index of the last '\n' in [begin, end), or -1.
long long lastNewline(const char* begin, const char* end)
{
	for (const char* p = end; p > begin;)
		if (*--p == '\n')
			return p - begin;
	return -1;
}

} // end namespace

std::unique_ptr<CXMLStreamReader> CXMLStreamReader::create(irr::io::IReadFile* file, irr::ILogger* logger)
{
	if (!file)
		return nullptr;
	return std::unique_ptr<CXMLStreamReader>(new CXMLStreamReader(file, logger));
}

CXMLStreamReader::CXMLStreamReader(irr::io::IReadFile* file, irr::ILogger* logger) :
	File(file), Logger(logger), Shapes(new STagShape[ShapeCount])
{
	File->grab();
}

CXMLStreamReader::~CXMLStreamReader()
{
	ReadAhead.reset(); // its thread may still be reading the file
	File->drop();
}

bool CXMLStreamReader::read()
{
	if (Finished)
		return false;
	if (readPlainNode())
		return true;
	for (;;)
	{
		const EStep step = parseNode();
		if (step == ES_NODE)
		{
			listAttributes();
			return true;
		}
		if (step == ES_MORE && !nodeTooLong())
		{
			fill();
			continue;
		}
		Finished = true;
		NodeType = irr::io::EXN_NONE;
		NodeName = "";
		EmptyElement = false;
		Attributes.clear();
		listAttributes();
		finish();
		return false;
	}
}

const char* CXMLStreamReader::getAttributeName(irr::u32 index) const
{
	return index < AttributeCount ? AttributeList[index].Name : nullptr;
}

const char* CXMLStreamReader::getAttributeValue(irr::u32 index) const
{
	return index < AttributeCount ? AttributeList[index].Value : nullptr;
}

bool CXMLStreamReader::hasLength(const char* text, std::size_t length)
{
	return std::strlen(text) == length;
}

std::string CXMLStreamReader::describeFirstFault() const
{
	if (FaultMessage.empty())
		return std::string();
	return "line " + std::to_string(FaultLine) + ", column " + std::to_string(FaultColumn) + ": " + FaultMessage;
}

// The plain path: most nodes of a scene document are a start tag whose
// attributes are written name="value" with no reference in the value, or
// an end tag, after a few blanks, complete in the buffer. Those are read
// here in one pass and with fewer questions than parseNode asks: a node
// that is anything else (a text, comment or declaration, a tag cut off by
// the buffer's end, a name with a zero byte, a value in single quotes or
// with a '&', blanks around '=') is left untouched, and parseNode reads it
// from its start, so every node reads exactly as there. The zero byte the
// buffer keeps after its last character (fill) ends every scan here.
bool CXMLStreamReader::readPlainNode()
{
	if (Resume != ER_NODE || Begin >= End)
		return false;
	const unsigned char* d = reinterpret_cast<const unsigned char*>(Buffer.data());
	std::size_t i = Begin;
	while (isBlank(d[i]))
		++i;
	if (d[i] != '<')
		return false;
	switch (d[i + 1])
	{
	case '/':
		return readPlainEndTag(i);
	case '?':
	case '!':
	case 0:
		return false;
	default:
		return readShapedStartTag(i) || readPlainStartTag(i);
	}
}

// A start tag whose text outside its values is that of a shape read
// before: its pieces are compared sixteen characters at a time where the
// processor has SSE2, each value is scanned to its closing quote as the
// plain path scans it, and the names are the shape's. Every byte the plain
// path would look at is compared, so the tag reads exactly as there.
bool CXMLStreamReader::readShapedStartTag(std::size_t open)
{
	unsigned char* const d = reinterpret_cast<unsigned char*>(Buffer.data());
	for (irr::u32 attempt = 0; attempt < ShapeCount; ++attempt)
	{
		STagShape& shape = Shapes[ShapeOrder[attempt]];
		if (!shape.Valid)
			return false; // shapes not yet noted come last
		const STagShape::SPiece* piece = shape.Pieces;
		if (!matchesPiece(d + open, *piece))
			continue;
		std::size_t next = open + piece->Length;
		SAttribute* const attributes = shape.Attributes;
		const irr::u32 count = shape.Count;
		irr::u32 k = 0;
		for (; k < count; ++k)
		{
			const std::size_t valueEnd = findPlainValueStop(d, next);
			++piece;
			if (!matchesPiece(d + valueEnd, *piece))
				break;
			// Terminated at once: a piece after it that does not match puts
			// the quote back.
			d[valueEnd] = 0;
			attributes[k].Value = reinterpret_cast<char*>(d + next);
			attributes[k].ValueLength = static_cast<irr::u32>(valueEnd - next);
			next = valueEnd + piece->Length;
		}
		// A last piece that ends past the buffer's end matched the zero byte
		// after it, which the plain path does not pass over.
		if (k < count || next > End)
		{
			while (k > 0)
			{
				--k;
				d[attributes[k].Value - reinterpret_cast<const char*>(d) + attributes[k].ValueLength] = '"';
			}
			continue;
		}

		NodeType = irr::io::EXN_ELEMENT;
		NodeName = shape.Names[count];
		EmptyElement = shape.Empty;
		Begin = next;
		++Elements;
		if (!shape.Empty)
			++OpenElements;
		NameBits = shape.NameBits;
		AttributeList = attributes;
		AttributeCount = count;
		// The shape that matched is tried first next time.
		if (attempt > 0)
		{
			const irr::u32 matched = ShapeOrder[attempt];
			ShapeOrder[attempt] = ShapeOrder[0];
			ShapeOrder[0] = matched;
		}
		return true;
	}
	return false;
}

// Keeps the shape of the start tag the plain path has just read (its texts
// not yet terminated) in the place of the oldest shape, unless a piece or
// the number of its attributes is too long for one.
void CXMLStreamReader::noteShape(std::size_t open, std::size_t nameEnd, bool empty, std::size_t tagEnd)
{
	const std::size_t count = Attributes.size();
	if (count > MaxShapeAttributes)
		return;
	const char* const base = Buffer.data();
	const irr::u32 slot = ShapeOrder[ShapeCount - 1];
	STagShape& shape = Shapes[slot];
	shape.Valid = false;
	std::size_t pieceBegin = open;
	for (std::size_t k = 0; k <= count; ++k)
	{
		const std::size_t pieceEnd =
			k < count ? static_cast<std::size_t>(Attributes[k].Value - base) : tagEnd;
		const std::size_t length = pieceEnd - pieceBegin;
		if (length > MaxPieceBytes)
			return;
		STagShape::SPiece& piece = shape.Pieces[k];
		std::memset(piece.Text, 0, sizeof(piece.Text));
		std::memcpy(piece.Text, base + pieceBegin, length);
		piece.Length = static_cast<irr::u32>(length);
		piece.Mask = static_cast<irr::u32>((1u << length) - 1);
		if (k < count)
		{
			// A name is shorter than its piece, which holds its '=' and quote.
			SAttribute& attribute = shape.Attributes[k];
			attribute = Attributes[k];
			std::memcpy(shape.Names[k], attribute.Name, attribute.NameLength);
			shape.Names[k][attribute.NameLength] = 0;
			attribute.Name = shape.Names[k];
			pieceBegin = pieceEnd + attribute.ValueLength;
		}
	}
	// The element's name as reportStartTag takes it, shorter than the first
	// piece, which holds its '<'.
	std::size_t nameLength = nameEnd - open - 1;
	if (nameLength > 0 && base[open + nameLength] == '/')
	{
		empty = true;
		--nameLength;
	}
	std::memcpy(shape.Names[count], base + open + 1, nameLength);
	shape.Names[count][nameLength] = 0;
	shape.Count = static_cast<irr::u32>(count);
	shape.Empty = empty;
	shape.NameBits = NameBits;
	shape.Valid = true;
	for (irr::u32 i = ShapeCount - 1; i > 0; --i)
		ShapeOrder[i] = ShapeOrder[i - 1];
	ShapeOrder[0] = slot;
}

bool CXMLStreamReader::readPlainStartTag(std::size_t open)
{
	char* const base = Buffer.data();
	const unsigned char* d = reinterpret_cast<const unsigned char*>(base);
	const std::size_t nameBegin = open + 1;
	std::size_t j = findPlainNameStop(d, nameBegin);
	// Other control characters belong to the name, and are left to
	// parseStartTag with the zero byte.
	if (d[j] == 0 || Tables.ElementName[d[j]] != ECC_STOP)
		return false;
	std::size_t nameEnd = j;

	Attributes.clear();
	bool empty = false;
	std::size_t tagEnd;
	for (;;)
	{
		while (isBlank(d[j]))
			++j;
		const unsigned char c = d[j];
		if (c == '>')
		{
			tagEnd = j + 1;
			break;
		}
		if (c == '/')
		{
			empty = true;
			tagEnd = j + 2;
			if (tagEnd > End)
				return false;
			break;
		}
		const std::size_t attributeBegin = j;
		while (Tables.AttributeName[d[j]] == ECC_PLAIN)
			++j;
		if (j == attributeBegin || d[j] != '=' || d[j + 1] != '"')
			return false;
		const std::size_t attributeEnd = j;
		const std::size_t valueBegin = j + 2;
		j = findPlainValueStop(d, valueBegin);
		if (d[j] != '"')
			return false;
		const irr::u32 nameLength = static_cast<irr::u32>(attributeEnd - attributeBegin);
		Attributes.emplace_back(base + attributeBegin, nameLength, nameLength, namePrefix(d + attributeBegin, nameLength),
			base + valueBegin, static_cast<irr::u32>(j - valueBegin));
		++j;
	}

	// Complete: the texts are terminated in place, as parseStartTag does,
	// once the tag's shape is noted.
	irr::u64 nameBits = 0;
	for (const SAttribute& attribute : Attributes)
		nameBits |= prefixBit(attribute.Prefix);
	NameBits = nameBits;
	noteShape(open, nameEnd, empty, tagEnd);
	for (const SAttribute& attribute : Attributes)
	{
		base[attribute.Name - base + attribute.NameLength] = 0; // the '='
		base[attribute.Value - base + attribute.ValueLength] = 0; // the closing quote
	}
	reportStartTag(nameBegin, nameEnd, empty, tagEnd);
	return true;
}

bool CXMLStreamReader::readPlainEndTag(std::size_t open)
{
	char* const base = Buffer.data();
	std::size_t j = open + 2;
	while (base[j] != '>' && base[j] != 0)
		++j;
	if (base[j] != '>')
		return false;
	reportEndTag(open + 2, j);
	return true;
}

// One node, as the engine's reader takes it: text up to the next '<' (a
// node only when it holds more than blanks), then the tag that '<' opens.
CXMLStreamReader::EStep CXMLStreamReader::parseNode()
{
	if (Resume == ER_NODE)
	{
		// The engine's reader stops at its input's last character and at a
		// zero byte where a node would begin.
		if (InputDone ? Begin + 1 >= End : Begin >= End)
		{
			// Wide input too short for one character leaves the engine's
			// reader an empty text, which it reads past.
			if (InputDone && End == 0 && Form != EIF_BYTES)
				StoppedShort = true;
			return InputDone ? ES_END : ES_MORE;
		}
		if (Buffer[Begin] == 0)
		{
			if (Begin < RealEnd || !InputDone)
				noteFault(Begin, "a zero byte ends the document here");
			return ES_END;
		}
		Resume = ER_TEXT;
		TextHasContent = false;
	}
	if (Resume == ER_TEXT)
	{
		const EStep step = parseText();
		if (step != ES_MORE || Resume != ER_TAG)
			return step;
	}
	const EStep step = parseTag(Begin);
	if (step != ES_MORE)
		Resume = ER_NODE;
	return step;
}

// Passes over the text before a tag. Returns ES_MORE with Resume at ER_TAG
// and Begin on the '<' when the tag is to be parsed next.
CXMLStreamReader::EStep CXMLStreamReader::parseText()
{
	const unsigned char* d = reinterpret_cast<const unsigned char*>(Buffer.data());
	std::size_t i = Begin;
	unsigned char kind = ECC_PLAIN;
	while (i < End)
	{
		kind = Tables.Text[d[i]];
		if (kind == ECC_STOP)
			break;
		if (kind == ECC_PLAIN)
			TextHasContent = true;
		++i;
	}
	if (i >= End)
	{
		if (!InputDone)
		{
			Begin = End; // text is not kept: nothing of it is reported
			return ES_MORE;
		}
		// Only wide input can end without a zero character.
		StoppedShort = true;
		noteFault(End, "the document ends inside text");
		return ES_END;
	}
	if (d[i] == 0)
	{
		// The engine's reader drops the text and ends here.
		if (i < RealEnd || !InputDone)
			noteFault(i, "a zero byte ends the document here");
		return ES_END;
	}
	Begin = i;
	if (TextHasContent)
	{
		Resume = ER_NODE;
		NodeType = irr::io::EXN_TEXT;
		NodeName = "";
		EmptyElement = false;
		Attributes.clear();
		return ES_NODE;
	}
	Resume = ER_TAG;
	return ES_MORE;
}

CXMLStreamReader::EStep CXMLStreamReader::outOfData(std::size_t tagStart, const char* what)
{
	if (!InputDone)
	{
		Begin = tagStart;
		PendingNode = what;
		return ES_MORE;
	}
	StoppedShort = true;
	noteFault(tagStart, std::string("the document ends inside the ") + what + " that begins here");
	return ES_CUT;
}

// A node that is not complete yet holds [Begin, End), which fill() lets grow
// to one character more than MaxNodeBytes at most; text before a tag is not
// kept, so only tags, comments, CDATA sections and declarations count.
bool CXMLStreamReader::nodeTooLong()
{
	if (End - Begin <= MaxNodeBytes)
		return false;
	noteFault(Begin, std::string("the ") + PendingNode + " that begins here is longer than " +
			std::to_string(MaxNodeBytes / (1024 * 1024)) + " MiB, the most one node may hold");
	return true;
}

CXMLStreamReader::EStep CXMLStreamReader::parseTag(std::size_t open)
{
	if (open + 1 >= End)
		return outOfData(open, "start tag");
	switch (Buffer[open + 1])
	{
	case '/':
		return parseEndTag(open);
	case '?':
		return parseDeclaration(open);
	case '!':
		if (open + 2 >= End)
			return outOfData(open, "comment");
		return Buffer[open + 2] == '[' ? parseCData(open) : parseComment(open);
	default:
		return parseStartTag(open);
	}
}

CXMLStreamReader::EStep CXMLStreamReader::parseStartTag(std::size_t open)
{
	char* const base = Buffer.data();
	const unsigned char* d = reinterpret_cast<const unsigned char*>(base);
	const std::size_t end = End;

	// The name runs to the first blank or '>', whatever it holds.
	const std::size_t nameBegin = open + 1;
	std::size_t j = nameBegin;
	while (j < end && Tables.ElementName[d[j]] == ECC_PLAIN)
		++j;
	if (j >= end)
		return outOfData(open, "start tag");
	std::size_t nameEnd = j;

	Attributes.clear();
	NameBits = ~irr::u64(0); // every lookup scans until the tag is complete
	bool empty = false;
	std::size_t tagEnd;
	for (;;)
	{
		if (j >= end)
			return outOfData(open, "start tag");
		const unsigned char c = d[j];
		if (c == '>')
		{
			tagEnd = j + 1;
			break;
		}
		if (isBlank(c))
		{
			++j;
			continue;
		}
		if (c == '/')
		{
			// The character after '/' is passed over unseen, '>' or not.
			empty = true;
			tagEnd = j + 2;
			if (!InputDone && tagEnd > end)
				return outOfData(open, "start tag");
			break;
		}

		// An attribute: its name runs to a blank or '='; the one character
		// after it is passed over, then the value is whatever stands between
		// the next quote and the next one of the same kind.
		const std::size_t attributeBegin = j;
		std::size_t compareEnd = 0;
		bool zeroInName = false;
		for (;;)
		{
			while (j < end && Tables.AttributeName[d[j]] == ECC_PLAIN)
				++j;
			if (j >= end)
				return outOfData(open, "start tag");
			if (d[j] != 0)
				break;
			if (!zeroInName)
			{
				zeroInName = true;
				compareEnd = j;
			}
			++j;
		}
		const std::size_t attributeEnd = j;
		++j;
		while (j < end && Tables.Quote[d[j]] == ECC_PLAIN)
			++j;
		if (j >= end)
			return outOfData(open, "start tag");
		if (d[j] == 0)
		{
			// The engine's reader gives up on the tag here and ends.
			StoppedShort = true;
			noteFault(open, j < RealEnd || !InputDone ? "a zero byte ends the document inside the start tag that begins here"
													   : "the document ends inside the start tag that begins here");
			return ES_CUT;
		}
		const unsigned char quote = d[j];
		const std::size_t valueBegin = ++j;
		bool references = false;
		for (;;)
		{
			j = findValueStop(d, j, end);
			if (j >= end)
				return outOfData(open, "start tag");
			if (d[j] == quote || d[j] == 0)
				break;
			references = references || d[j] == '&';
			++j;
		}
		if (d[j] == 0)
		{
			StoppedShort = true;
			noteFault(open, j < RealEnd || !InputDone ? "a zero byte ends the document inside the start tag that begins here"
													   : "the document ends inside the start tag that begins here");
			return ES_CUT;
		}
		// Built in place: a copy made on the stack costs a stalled load.
		const irr::u32 nameLength = static_cast<irr::u32>(attributeEnd - attributeBegin);
		const irr::u32 prefix =
			nameLength > 0 && !zeroInName ? namePrefix(d + attributeBegin, nameLength) : SAttribute::NoPrefix;
		Attributes.emplace_back(base + attributeBegin, nameLength,
			zeroInName ? static_cast<irr::u32>(compareEnd - attributeBegin) : nameLength, prefix, base + valueBegin,
			static_cast<irr::u32>(j - valueBegin) | (references ? SAttribute::HasReferences : 0));
		++j;
	}

	// The tag is complete: terminate its texts in place. No byte of it is
	// needed again.
	irr::u64 nameBits = 0;
	for (const SAttribute& attribute : Attributes)
	{
		terminateAt(static_cast<std::size_t>(attribute.Name - base) + attribute.NameLength);
		nameBits |= attribute.Prefix != SAttribute::NoPrefix ? prefixBit(attribute.Prefix) : ~irr::u64(0);
		char* value = base + (attribute.Value - base);
		const std::size_t valueLength = attribute.ValueLength & ~SAttribute::HasReferences;
		if (attribute.ValueLength & SAttribute::HasReferences)
			decodeReferences(value, valueLength);
		else
			value[valueLength] = 0;
	}
	NameBits = nameBits;
	reportStartTag(nameBegin, nameEnd, empty, tagEnd);
	return ES_NODE;
}

// Makes the start tag whose name runs from nameBegin to nameEnd the current
// node: a name that ends in '/' makes it an empty element, the name is
// terminated in place, and reading goes on at tagEnd.
inline void CXMLStreamReader::reportStartTag(std::size_t nameBegin, std::size_t nameEnd, bool empty, std::size_t tagEnd)
{
	if (nameEnd > nameBegin && Buffer[nameEnd - 1] == '/')
	{
		empty = true;
		--nameEnd;
	}
	terminateAt(nameEnd);
	NodeType = irr::io::EXN_ELEMENT;
	NodeName = Buffer.data() + nameBegin;
	EmptyElement = empty;
	Begin = tagEnd;
	listAttributes();
	++Elements;
	if (!empty)
		++OpenElements;
}

CXMLStreamReader::EStep CXMLStreamReader::parseEndTag(std::size_t open)
{
	// The name is everything up to '>', blanks included.
	const std::size_t nameBegin = open + 2;
	const void* close =
		nameBegin < End ? std::memchr(Buffer.data() + nameBegin, '>', End - nameBegin) : nullptr;
	if (!close)
		return outOfData(open, "end tag");
	reportEndTag(nameBegin, static_cast<std::size_t>(static_cast<const char*>(close) - Buffer.data()));
	return ES_NODE;
}

// Makes the end tag whose name runs from nameBegin to its '>' at closeAt the
// current node.
inline void CXMLStreamReader::reportEndTag(std::size_t nameBegin, std::size_t closeAt)
{
	Buffer[closeAt] = 0;
	NodeType = irr::io::EXN_ELEMENT_END;
	NodeName = Buffer.data() + nameBegin;
	EmptyElement = false;
	Attributes.clear();
	listAttributes();
	Begin = closeAt + 1;
	if (OpenElements > 0)
		--OpenElements;
}

CXMLStreamReader::EStep CXMLStreamReader::parseDeclaration(std::size_t open)
{
	// "<?" up to the first '>'.
	const void* close = std::memchr(Buffer.data() + open + 1, '>', End - open - 1);
	if (!close)
		return outOfData(open, "processing instruction");
	NodeType = irr::io::EXN_UNKNOWN;
	NodeName = "";
	EmptyElement = false;
	Attributes.clear();
	Begin = static_cast<std::size_t>(static_cast<const char*>(close) - Buffer.data()) + 1;
	return ES_NODE;
}

CXMLStreamReader::EStep CXMLStreamReader::parseCData(std::size_t open)
{
	// "<![" and the six characters after it are passed over unseen (a zero
	// byte among them ends the section), then the section runs to "]]>".
	const char* d = Buffer.data();
	std::size_t p = open + 1;
	for (int count = 0; count < 8; ++count, ++p)
	{
		if (p >= End)
			return outOfData(open, "CDATA section");
		if (d[p] == 0)
			break;
	}
	if (p >= End)
		return outOfData(open, "CDATA section");
	std::size_t j = p;
	bool closed = false;
	if (d[p] != 0)
	{
		for (;; ++j)
		{
			if (j >= End)
				return outOfData(open, "CDATA section");
			if (d[j] == 0)
				break;
			if (d[j] == '>' && d[j - 1] == ']' && d[j - 2] == ']')
			{
				closed = true;
				++j;
				break;
			}
		}
	}
	// Unclosed, the section reaches the zero byte where the document ends.
	if (!closed && j >= RealEnd && InputDone)
		noteFault(open, "the CDATA section that begins here is not closed");
	NodeType = irr::io::EXN_CDATA;
	NodeName = "";
	EmptyElement = false;
	Attributes.clear();
	Begin = j;
	return ES_NODE;
}

CXMLStreamReader::EStep CXMLStreamReader::parseComment(std::size_t open)
{
	// "<!" up to the '>' that balances it: each '<' inside needs a '>' of
	// its own. A DOCTYPE with an internal subset reads as one such node.
	const char* d = Buffer.data();
	std::size_t j = open + 2;
	unsigned long long depth = 1;
	for (;;)
	{
		if (j >= End)
			return outOfData(open, "comment");
		const char c = d[j++];
		if (c == '>')
		{
			if (--depth == 0)
				break;
		}
		else if (c == '<')
			++depth;
	}
	NodeType = irr::io::EXN_COMMENT;
	NodeName = "";
	EmptyElement = false;
	Attributes.clear();
	Begin = j;
	return ES_NODE;
}

// The engine's replacement of references in an attribute value, in place,
// and its quirks kept: a '&' that starts none of the five references stays,
// references are looked for only up to the value's third-last character, and
// a single character left after the last reference or '&' is dropped.
void CXMLStreamReader::decodeReferences(char* value, std::size_t length)
{
	const char* const newlineAt = static_cast<const char*>(std::memchr(value, '\n', length));
	const std::size_t newlinesBefore = newlineAt ? countNewlines(value, value + length) : 0;
	const long long lastNewlineBefore = newlineAt ? lastNewline(value, value + length) : -1;

	const long long size = static_cast<long long>(length);
	const char* amp = static_cast<const char*>(std::memchr(value, '&', length));
	long long pos = amp ? amp - value : -1;
	long long oldPos = 0;
	char* out = value;
	auto keep = [&](long long from, long long count) {
		if (count <= 0)
			return;
		std::memmove(out, value + from, static_cast<std::size_t>(count));
		out += count;
	};
	while (pos != -1 && pos < size - 2)
	{
		const SReference* match = nullptr;
		for (const SReference& reference : References)
			if (pos + 1 + static_cast<long long>(reference.Length) <= size &&
				std::memcmp(value + pos + 1, reference.Name, reference.Length) == 0)
			{
				match = &reference;
				break;
			}
		if (match)
		{
			keep(oldPos, pos - oldPos);
			*out++ = match->Character;
			pos += static_cast<long long>(match->Length) + 1;
		}
		else
		{
			keep(oldPos, pos - oldPos + 1);
			pos += 1;
		}
		oldPos = pos;
		amp = pos < size ? static_cast<const char*>(std::memchr(value + pos, '&', static_cast<std::size_t>(size - pos)))
						 : nullptr;
		pos = amp ? amp - value : -1;
	}
	if (oldPos < size - 1)
		keep(oldPos, size - oldPos);
	*out = 0;

	if (newlineAt)
	{
		// Moving text may have hidden or doubled newlines that the line count
		// of a later fault relies on.
		const std::size_t newlinesAfter = countNewlines(value, value + length);
		HiddenNewlines += static_cast<long long>(newlinesBefore) - static_cast<long long>(newlinesAfter);
		const unsigned long long at = Dropped + static_cast<unsigned long long>(value - Buffer.data() + lastNewlineBefore);
		if (!HasHiddenNewline || at > LastHiddenNewline)
			LastHiddenNewline = at;
		HasHiddenNewline = true;
	}
}

// Makes the buffer hold at least size characters, and as many readable
// bytes after them as a number conversion may look at past a value's end.
void CXMLStreamReader::growBuffer(std::size_t size)
{
	if (Buffer.size() < size + PaddedConversionReach)
		Buffer.resize(size + PaddedConversionReach);
}

inline void CXMLStreamReader::terminateAt(std::size_t at)
{
	if (Buffer[at] == '\n')
		hideNewline(at);
	Buffer[at] = 0;
}

void CXMLStreamReader::hideNewline(std::size_t at)
{
	++HiddenNewlines;
	const unsigned long long offset = Dropped + at;
	if (!HasHiddenNewline || offset > LastHiddenNewline)
		LastHiddenNewline = offset;
	HasHiddenNewline = true;
}

// Reads the next block, and keeps a zero byte after the last character,
// where the plain path's scans stop.
bool CXMLStreamReader::fill()
{
	const bool filled = fillBlock();
	if (!Buffer.empty())
		Buffer[End] = 0;
	return filled;
}

// What was read already is dropped, the node not yet complete moves to the
// front, and at least as much again as it holds is read after it.
bool CXMLStreamReader::fillBlock()
{
	if (InputDone)
		return false;
	if (ReadAhead && takeBlockAhead())
		return true;
	if (Begin > 0)
	{
		countDroppedLines();
		std::memmove(Buffer.data(), Buffer.data() + Begin, End - Begin);
		Dropped += Begin;
		End -= Begin;
		Begin = 0;
		Origin = 0;
	}
	if (!InputStarted)
	{
		InputStarted = true;
		detectForm();
		return true;
	}

	// A node still not complete after MaxNodeBytes characters is too long:
	// reading stops one character past that (nodeTooLong).
	std::size_t want = std::max(BlockSize, End);
	if (End <= MaxNodeBytes)
		want = std::min(want, MaxNodeBytes + 1 - End);
	if (Form == EIF_BYTES)
	{
		growBuffer(End + want + Padding);
		const irr::s32 got = readInput(Buffer.data() + End, want);
		if (got > 0)
		{
			End += static_cast<std::size_t>(got);
			// A full block: the file may well go on.
			if (static_cast<std::size_t>(got) == BlockSize)
				askNextBlock();
			return true;
		}
		if (got < 0)
			noteFault(End, "the file could not be read");
		appendPadding();
		return true;
	}

	const std::size_t unit = (Form == EIF_UTF16_LE || Form == EIF_UTF16_BE) ? 2 : 4;
	for (;;)
	{
		if (Raw.size() < RawKept + want + Padding)
			Raw.resize(RawKept + want + Padding);
		const irr::s32 got = File->read(Raw.data() + RawKept, static_cast<irr::u32>(want));
		if (got <= 0)
		{
			if (got < 0)
				noteFault(End, "the file could not be read");
			appendPadding();
			return true;
		}
		RawKept += static_cast<std::size_t>(got);
		const std::size_t units = RawKept / unit;
		if (units == 0)
			continue;
		growBuffer(End + units + Padding);
		End += convertWide(Raw.data(), units * unit, Buffer.data() + End);
		std::memmove(Raw.data(), Raw.data() + units * unit, RawKept - units * unit);
		RawKept -= units * unit;
		return true;
	}
}

// Counts the lines of what is read already, [Origin, Begin), which is
// about to leave the buffer.
void CXMLStreamReader::countDroppedLines()
{
	const char* d = Buffer.data();
	Lines += countNewlines(d + Origin, d + Begin);
	const long long last = lastNewline(d + Origin, d + Begin);
	if (last >= 0)
		LineStart = std::max(LineStart, Dropped + Origin + static_cast<unsigned long long>(last) + 1);
	if (HasHiddenNewline)
		LineStart = std::max(LineStart, LastHiddenNewline + 1);
	Lines = static_cast<unsigned long long>(static_cast<long long>(Lines) + HiddenNewlines);
	HiddenNewlines = 0;
	HasHiddenNewline = false;
}

// The block read ahead becomes the buffer, with the node not complete yet
// moved into the room before it, and the old buffer is read into next.
// False, with reading ahead ended, where that node does not fit there or
// the file is at its end or failed: the block's bytes, if any, are then
// read from Carry as the file's next ones.
bool CXMLStreamReader::takeBlockAhead()
{
	const irr::s32 got = ReadAhead->take(Spare);
	const std::size_t tail = End - Begin;
	if (got > 0 && tail <= Headroom)
	{
		countDroppedLines();
		std::memcpy(Spare.data() + Headroom - tail, Buffer.data() + Begin, tail);
		const unsigned long long tailAt = Dropped + Begin;
		Buffer.swap(Spare);
		Origin = Begin = Headroom - tail;
		// The first block was read whole before reading ahead began, so the
		// tail lies at least Headroom - tail characters into the document.
		Dropped = tailAt - Begin;
		End = Headroom + static_cast<std::size_t>(got);
		if (static_cast<std::size_t>(got) == BlockSize)
			askNextBlock();
		else
			ReadAhead.reset();
		return true;
	}
	ReadAhead.reset();
	if (got > 0)
	{
		Carry.swap(Spare);
		CarryBegin = Headroom;
		CarryEnd = Headroom + static_cast<std::size_t>(got);
	}
	else if (got < 0)
	{
		// The file failed where this block begins: the input ends there.
		noteFault(End, "the file could not be read");
		appendPadding();
		return true;
	}
	return false;
}

// Has the block after the buffer's read on the second thread, started at
// the first full block of 8-bit input.
void CXMLStreamReader::askNextBlock()
{
	if (Form != EIF_BYTES || ReadAheadFailed || CarryBegin < CarryEnd)
		return;
	// Where memory or a thread is short, the file is read on this thread.
	bool ready = false;
	try
	{
		if (!ReadAhead)
			ReadAhead.reset(new CBlockReadAhead(File));
		ready = ReadAhead->isStarted() || ReadAhead->start();
		const std::size_t size = Headroom + BlockSize + Padding + PaddedConversionReach;
		if (ready && Spare.size() < size)
			Spare.resize(size);
	}
	catch (const std::bad_alloc&)
	{
		ready = false;
	}
	if (!ready)
	{
		ReadAhead.reset();
		ReadAheadFailed = true;
		return;
	}
	ReadAhead->ask(Spare, Headroom, BlockSize);
}

// The file's next bytes: first those of a block read ahead and not used.
irr::s32 CXMLStreamReader::readInput(char* out, std::size_t size)
{
	if (CarryBegin < CarryEnd)
	{
		const std::size_t n = std::min(size, CarryEnd - CarryBegin);
		std::memcpy(out, Carry.data() + CarryBegin, n);
		CarryBegin += n;
		return static_cast<irr::s32>(n);
	}
	return File->read(out, static_cast<irr::u32>(size));
}

// Reads the first bytes and tells the input's form by its byte order mark,
// in the engine's order of tests; a file shorter than four bytes is taken
// with the zero bytes that follow it in the engine's reader.
void CXMLStreamReader::detectForm()
{
	unsigned char head[4] = {0, 0, 0, 0};
	std::size_t got = 0;
	while (got < 4)
	{
		const irr::s32 n = File->read(head + got, static_cast<irr::u32>(4 - got));
		if (n < 0)
			noteFault(0, "the file could not be read");
		if (n <= 0)
			break;
		got += static_cast<std::size_t>(n);
	}
	std::size_t mark = 0;
	if (head[0] == 0x00 && head[1] == 0x00 && head[2] == 0xFE && head[3] == 0xFF)
		Form = EIF_UTF32_BE, mark = 4;
	else if (head[0] == 0xFF && head[1] == 0xFE && head[2] == 0x00 && head[3] == 0x00)
		Form = EIF_UTF32_LE, mark = 4;
	else if (head[0] == 0xFE && head[1] == 0xFF)
		Form = EIF_UTF16_BE, mark = 2;
	else if (head[0] == 0xFF && head[1] == 0xFE)
		Form = EIF_UTF16_LE, mark = 2;
	else if (head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF)
		mark = 3;

	if (Form == EIF_BYTES)
	{
		growBuffer(BlockSize + Padding);
		const std::size_t rest = got > mark ? got - mark : 0;
		std::memcpy(Buffer.data(), head + mark, rest);
		End = rest;
		if (got < 4)
			appendPadding();
		return;
	}
	// A mark that reaches into the zero bytes after a short file uses them up.
	RawPaddingUsed = mark > got ? mark - got : 0;
	Raw.resize(BlockSize + Padding);
	RawKept = got > mark ? got - mark : 0;
	std::memcpy(Raw.data(), head + mark, RawKept);
	if (got < 4)
		appendPadding();
}

std::size_t CXMLStreamReader::convertWide(const unsigned char* raw, std::size_t size, char* out)
{
	// The engine cuts each unit to its low byte; big-endian units are
	// swapped first, but only up to the first zero unit.
	std::size_t n = 0;
	if (Form == EIF_UTF16_LE || Form == EIF_UTF16_BE)
	{
		for (std::size_t i = 0; i + 1 < size; i += 2)
		{
			unsigned char c = raw[i];
			if (Form == EIF_UTF16_BE && WideSwapped)
			{
				if ((raw[i] | raw[i + 1]) == 0)
					WideSwapped = false;
				c = raw[i + 1];
			}
			out[n++] = static_cast<char>(c);
		}
	}
	else
	{
		for (std::size_t i = 0; i + 3 < size; i += 4)
		{
			unsigned char c = raw[i];
			if (Form == EIF_UTF32_BE && WideSwapped)
			{
				if ((raw[i] | raw[i + 1] | raw[i + 2] | raw[i + 3]) == 0)
					WideSwapped = false;
				c = raw[i + 3];
			}
			out[n++] = static_cast<char>(c);
		}
	}
	return n;
}

// The input is exhausted: the engine's four zero bytes follow it (wide
// input turns them into as many zero characters as whole units come out).
void CXMLStreamReader::appendPadding()
{
	InputDone = true;
	if (Form == EIF_BYTES)
	{
		growBuffer(End + Padding);
		RealEnd = End;
		std::memset(Buffer.data() + End, 0, Padding);
		End += Padding;
		return;
	}
	const std::size_t unit = (Form == EIF_UTF16_LE || Form == EIF_UTF16_BE) ? 2 : 4;
	const std::size_t zeros = Padding - RawPaddingUsed;
	if (Raw.size() < RawKept + zeros)
		Raw.resize(RawKept + zeros);
	std::memset(Raw.data() + RawKept, 0, zeros);
	RawKept += zeros;
	const std::size_t units = RawKept / unit;
	growBuffer(End + units + 1);
	// Characters made only of the zero bytes count as the end, not as text.
	const std::size_t realUnits = (RawKept - zeros + unit - 1) / unit;
	RealEnd = End + std::min(realUnits, units);
	End += convertWide(Raw.data(), units * unit, Buffer.data() + End);
	RawKept = 0;
	// The engine swaps big-endian units in place up to the first zero unit.
	// UTF-32 text whose length is no multiple of four can have none within
	// the engine's input, which it then reads and writes past.
	if (Form == EIF_UTF32_BE && WideSwapped)
		StoppedShort = true;
}

void CXMLStreamReader::noteFault(std::size_t at, const std::string& message)
{
	if (!FaultMessage.empty())
		return;
	FaultMessage = message;
	at = std::max(std::min(at, End), Origin);
	const char* d = Buffer.data();
	const long long newlines = static_cast<long long>(Lines) + HiddenNewlines +
		static_cast<long long>(d ? countNewlines(d + Origin, d + at) : 0);
	FaultLine = static_cast<unsigned long long>(newlines) + 1;
	unsigned long long lineStart = LineStart;
	const long long last = d ? lastNewline(d + Origin, d + at) : -1;
	if (last >= 0)
		lineStart = std::max(lineStart, Dropped + Origin + static_cast<unsigned long long>(last) + 1);
	if (HasHiddenNewline)
		lineStart = std::max(lineStart, LastHiddenNewline + 1);
	FaultColumn = Dropped + at - lineStart + 1;
}

// At the document's end: a document that the engine's reader reads whole can
// still be cut short of its end tags, or hold no element at all.
void CXMLStreamReader::finish()
{
	ReadAhead.reset();
	const std::size_t end = InputDone ? std::min(RealEnd, End) : End;
	if (FaultMessage.empty())
	{
		if (Elements == 0)
			noteFault(end, Dropped + RealEnd == 0 ? "the document is empty" : "the document holds no element");
		else if (OpenElements > 0)
			noteFault(end, "the document ends before the end tags of " + std::to_string(OpenElements) +
					" open element" + (OpenElements == 1 ? "" : "s"));
	}
	if (FaultMessage.empty() || !Logger)
		return;
	std::string line = "Scene document ";
	line += File->getFileName().c_str();
	line += " is not well-formed (";
	line += describeFirstFault();
	line += "); read up to there.";
	Logger->log(line.c_str(), irr::ELL_WARNING);
}

} // end namespace vistel

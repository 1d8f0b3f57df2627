#include "CAnsiFallbackDecoder.h"

#include <cstring>

namespace vistel
{

namespace
{

// Windows-1252 code points of the bytes 0x80 to 0x9F; the five unassigned
// bytes keep their Latin-1 value.
const unsigned short Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
	0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
	0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendCodePoint(unsigned cp, std::string& out)
{
	if (cp < 0x800)
	{
		out += static_cast<char>(0xC0 | (cp >> 6));
		out += static_cast<char>(0x80 | (cp & 0x3F));
	}
	else
	{
		out += static_cast<char>(0xE0 | (cp >> 12));
		out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
		out += static_cast<char>(0x80 | (cp & 0x3F));
	}
}

void appendAnsiByte(unsigned char b, std::string& out)
{
	appendCodePoint(b < 0xA0 ? Cp1252High[b - 0x80] : b, out);
}

// Length of the valid UTF-8 sequence at p (1 to 4), 0 when it is invalid,
// -1 when the available bytes are a valid but incomplete start.
int utf8SequenceLength(const unsigned char* p, std::size_t available)
{
	const unsigned char b = p[0];
	int length;
	unsigned char lo = 0x80, hi = 0xBF; // range of the second byte
	if (b >= 0xC2 && b <= 0xDF)
		length = 2;
	else if (b >= 0xE0 && b <= 0xEF)
	{
		length = 3;
		if (b == 0xE0)
			lo = 0xA0;
		else if (b == 0xED)
			hi = 0x9F; // no surrogates
	}
	else if (b >= 0xF0 && b <= 0xF4)
	{
		length = 4;
		if (b == 0xF0)
			lo = 0x90;
		else if (b == 0xF4)
			hi = 0x8F;
	}
	else
		return 0;

	for (int i = 1; i < length; ++i)
	{
		if (static_cast<std::size_t>(i) >= available)
			return -1;
		const unsigned char c = p[i];
		if (i == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF))
			return 0;
	}
	return length;
}

} // end namespace

void CAnsiFallbackDecoder::decode(const char* input, std::size_t size, bool atEnd, std::string& out)
{
	const char* data = input;
	if (!Carry.empty())
	{
		Carry.append(input, size);
		data = Carry.data();
		size = Carry.size();
	}
	const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
	std::size_t i = 0;
	out.reserve(out.size() + size);
	while (i < size)
	{
		// Copy the run of plain ASCII in one go.
		std::size_t run = i;
		while (run < size && p[run] < 0x80)
			++run;
		out.append(data + i, run - i);
		i = run;
		if (i >= size)
			break;

		const int length = utf8SequenceLength(p + i, size - i);
		if (length > 0)
		{
			out.append(data + i, static_cast<std::size_t>(length));
			i += static_cast<std::size_t>(length);
		}
		else if (length < 0 && !atEnd)
			break; // wait for the rest of the sequence
		else
			appendAnsiByte(p[i++], out);
	}
	std::string rest(data + i, size - i);
	Carry.swap(rest);
}

bool CAnsiFallbackDecoder::isNeededFor(const char* start, std::size_t size)
{
	const unsigned char* p = reinterpret_cast<const unsigned char*>(start);
	if (size >= 2 && ((p[0] == 0xFE && p[1] == 0xFF) || (p[0] == 0xFF && p[1] == 0xFE)))
		return false;
	for (std::size_t i = 0; i < size && i < 4; ++i)
		if (p[i] == 0)
			return false;

	std::size_t offset = (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) ? 3 : 0;
	if (size - offset >= 5 && std::memcmp(start + offset, "<?xml", 5) == 0)
	{
		const std::string head(start + offset, size - offset);
		const std::size_t close = head.find("?>");
		const std::size_t encoding = head.find("encoding");
		if (encoding != std::string::npos && (close == std::string::npos || encoding < close))
			return false;
	}
	return true;
}

} // end namespace vistel

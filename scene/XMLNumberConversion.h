#ifndef VISTEL_XML_NUMBER_CONVERSION_H_INCLUDED
#define VISTEL_XML_NUMBER_CONVERSION_H_INCLUDED

#include <fast_atof.h>
#include <irrTypes.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vistel
{

// For work that is rare on the inline paths below: out of line and, where
// the compiler knows the word, cold, so that a caller's loop around an
// inline conversion keeps its own values in registers instead of saving
// them for a call on every pass.
#if defined(__GNUC__)
#define VISTEL_RARE_PATH __attribute__((cold, noinline))
#else
#define VISTEL_RARE_PATH
#endif

namespace numberDetail
{

//! The engine's fast_atof itself, out of line.
VISTEL_RARE_PATH irr::f32 convertWithEngine(const char* text);

// Up to nine decimal digits as an integer; count gets how many were taken.
// Nine digits never reach the point where the engine's strtof10 switches
// from integer to float arithmetic (UINT_MAX / 10 - 10).
inline irr::u32 readDigits(const char*& text, std::size_t& count)
{
	irr::u32 value = 0;
	const char* start = text;
	while (text - start < 9 && static_cast<unsigned char>(*text - '0') <= 9)
		value = value * 10 + static_cast<irr::u32>(*text++ - '0');
	count = static_cast<std::size_t>(text - start);
	return value;
}

inline bool isDigit(char c)
{
	return static_cast<unsigned char>(c - '0') <= 9;
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && defined(__GNUC__)
// readDigits for a text with at least sixteen readable bytes: the digits are
// found and summed eight at a time, with no branch per digit.
inline irr::u32 readDigitsPadded(const char*& text, std::size_t& count)
{
	std::uint64_t chunk;
	std::memcpy(&chunk, text, sizeof(chunk));
	// Digits become their values; any other byte gets its top bit set in
	// nonDigits (a carry out of such a byte only reaches the bytes after it).
	const std::uint64_t values = chunk ^ 0x3030303030303030ull;
	const std::uint64_t nonDigits = ((values + 0x7676767676767676ull) | values) & 0x8080808080808080ull;
	const unsigned taken = nonDigits ? static_cast<unsigned>(__builtin_ctzll(nonDigits)) / 8 : 8;
	if (taken == 0)
	{
		count = 0;
		return 0;
	}
	// The digits moved to the top bytes (zeros before them), then summed in
	// pairs, fours and the eight.
	std::uint64_t v = values << (8 * (8 - taken));
	v = v * 10 + (v >> 8);
	v = (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
			(((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >> 32;
	irr::u32 value = static_cast<irr::u32>(v);
	count = taken;
	text += taken;
	if (taken == 8 && isDigit(*text))
	{
		value = value * 10 + static_cast<irr::u32>(*text++ - '0');
		count = 9;
	}
	return value;
}
#else
inline irr::u32 readDigitsPadded(const char*& text, std::size_t& count)
{
	return readDigits(text, count);
}
#endif

// The numbers of scene documents are short decimals: those take a shortened
// copy of the engine's fast_atof that does the same float operations in the
// same order, so every result is the same to the bit. Longer digit runs,
// exponents and a changed list of decimal points go to the engine's
// function itself.
template <irr::u32 (*TReadDigits)(const char*&, std::size_t&)>
inline irr::f32 convertDecimal(const char* text)
{
	const irr::core::stringc& points = irr::core::LOCALE_DECIMAL_POINTS;
	if (points.size() == 1 && points[0] == '.')
	{
		const char* in = text;
		const bool negative = *in == '-';
		if (negative || *in == '+')
			++in;
		std::size_t digits = 0;
		irr::f32 value = static_cast<irr::f32>(TReadDigits(in, digits));
		bool plain = !isDigit(*in);
		if (plain && *in == '.')
		{
			++in;
			std::size_t decimals = 0;
			const irr::f32 decimal = static_cast<irr::f32>(TReadDigits(in, decimals));
			plain = !isDigit(*in);
			value += decimal * irr::core::fast_atof_table[decimals];
		}
		if (plain && *in != 'e' && *in != 'E')
			return negative ? -value : value;
	}
	return convertWithEngine(text);
}

} // end namespace numberDetail

//! The most bytes convertPaddedXMLFloat reads from the start of its text.
const unsigned PaddedConversionReach = 32;

//! convertXMLFloat for a text that is followed by at least
//! PaddedConversionReach readable bytes (past its zero byte, whatever they
//! hold): short decimals are then read eight digits at a time. Inline, as
//! it runs for most values of a scene document.
inline irr::f32 convertPaddedXMLFloat(const char* text)
{
	return text ? numberDetail::convertDecimal<numberDetail::readDigitsPadded>(text) : 0.f;
}

} // end namespace vistel

#endif

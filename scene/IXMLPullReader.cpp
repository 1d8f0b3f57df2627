#include "IXMLPullReader.h"

#include <fast_atof.h>

#include <cmath>

namespace vistel
{

namespace
{

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

} // end namespace

irr::f32 convertXMLFloat(const char* text)
{
	if (!text)
		return 0.f;
	// The numbers of scene documents are short decimals: those take a
	// shortened copy of the engine's fast_atof that does the same float
	// operations in the same order, so every result is the same to the bit.
	// Longer digit runs, exponents and a changed list of decimal points go
	// to the engine's function itself.
	const irr::core::stringc& points = irr::core::LOCALE_DECIMAL_POINTS;
	if (points.size() == 1 && points[0] == '.')
	{
		const char* in = text;
		const bool negative = *in == '-';
		if (negative || *in == '+')
			++in;
		std::size_t digits = 0;
		irr::f32 value = static_cast<irr::f32>(readDigits(in, digits));
		bool plain = !isDigit(*in);
		if (plain && *in == '.')
		{
			++in;
			std::size_t decimals = 0;
			const irr::f32 decimal = static_cast<irr::f32>(readDigits(in, decimals));
			plain = !isDigit(*in);
			value += decimal * irr::core::fast_atof_table[decimals];
		}
		if (plain && *in != 'e' && *in != 'E')
			return negative ? -value : value;
	}
	return irr::core::fast_atof(text);
}

irr::s32 convertXMLInt(const char* text)
{
	const irr::f32 value = convertXMLFloat(text);
	if (std::isnan(value))
		return 0;
	// 2147483648.f is the first float above INT_MAX.
	if (value >= 2147483648.f)
		return INT_MAX;
	if (value <= -2147483648.f)
		return INT_MIN;
	return static_cast<irr::s32>(value);
}

irr::f32 IXMLPullReader::getAttributeValueAsFloat(const char* name) const
{
	return convertXMLFloat(getAttributeValue(name));
}

irr::s32 IXMLPullReader::getAttributeValueAsInt(const char* name) const
{
	return convertXMLInt(getAttributeValue(name));
}

} // end namespace vistel

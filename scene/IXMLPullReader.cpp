#include "IXMLPullReader.h"

#include "XMLNumberConversion.h"

#include <cmath>

namespace vistel
{

irr::f32 numberDetail::convertWithEngine(const char* text)
{
	return irr::core::fast_atof(text);
}

irr::f32 convertXMLFloat(const char* text)
{
	return text ? numberDetail::convertDecimal<numberDetail::readDigits>(text) : 0.f;
}

irr::s32 convertXMLInt(const char* text)
{
	return truncateXMLInt(convertXMLFloat(text));
}

irr::s32 truncateXMLInt(irr::f32 value)
{
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

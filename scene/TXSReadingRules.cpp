#include "TXSReadingRules.h"

namespace vistel
{

void skipElement(IXMLPullReader& reader)
{
	if (reader.isEmptyElement())
		return;
	irr::u32 depth = 1;
	while (reader.read())
	{
		const irr::io::EXML_NODE type = reader.getNodeType();
		if (type == irr::io::EXN_ELEMENT && !reader.isEmptyElement())
			++depth;
		else if (type == irr::io::EXN_ELEMENT_END && --depth == 0)
			return;
	}
}

} // end namespace vistel

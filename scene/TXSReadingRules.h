#ifndef VISTEL_TXS_READING_RULES_H_INCLUDED
#define VISTEL_TXS_READING_RULES_H_INCLUDED

#include "IXMLPullReader.h"

#include <cstring>

namespace vistel
{

//! Passes over the start tag the reader is on together with all its
//! content, leaving the reader on its end tag (or the document's end). An
//! empty-element tag has nothing to pass over.
void skipElement(IXMLPullReader& reader);

//! The loop every element reader runs after taking its attributes: each
//! child start tag goes to handleChild(name), which returns false for a name
//! it does not read, and that child is then skipped whole. Text, comments,
//! CDATA and other end tags are passed over. Returns on the element's own
//! end tag or when the document is exhausted; an empty-element tag has no
//! children.
template <typename THandler>
void readChildren(IXMLPullReader& reader, const char* elementName, THandler handleChild)
{
	if (reader.isEmptyElement())
		return;
	for (;;)
	{
		if (reader.getNodeType() == irr::io::EXN_ELEMENT_END && std::strcmp(reader.getNodeName(), elementName) == 0)
			return;
		if (!reader.read())
			return;
		if (reader.getNodeType() == irr::io::EXN_ELEMENT && !handleChild(reader.getNodeName()))
			skipElement(reader);
	}
}

//! Byte-wise, case-sensitive comparison with a keyword; a null text is "".
inline bool isKeyword(const char* text, const char* keyword)
{
	return std::strcmp(text ? text : "", keyword) == 0;
}

} // end namespace vistel

#endif

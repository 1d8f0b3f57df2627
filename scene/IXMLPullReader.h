#ifndef VISTEL_I_XML_PULL_READER_H_INCLUDED
#define VISTEL_I_XML_PULL_READER_H_INCLUDED

#include <irrTypes.h>
#include <irrXML.h>

#include <string>

namespace vistel
{

//! Forward-only XML reading with just the operations the scene readers use.
/** Node types are the engine's (EXN_ELEMENT, EXN_ELEMENT_END, EXN_TEXT, ...),
and numbers convert exactly as the engine's own XML reader converts them, so
a document reads the same whichever parser sits behind this interface. */
class IXMLPullReader
{
public:
	virtual ~IXMLPullReader() {}

	//! Advances by one node. False when the document is exhausted: at its
	//! end, or at the point where it can be read no further.
	virtual bool read() = 0;

	virtual irr::io::EXML_NODE getNodeType() const = 0;

	//! Name of the current element or end tag; empty for other nodes.
	virtual const char* getNodeName() const = 0;

	//! True for a start tag that closes itself (<a/>): no end tag follows.
	virtual bool isEmptyElement() const = 0;

	//! Text of an attribute of the current start tag, 0 when it has none of
	//! that name.
	virtual const char* getAttributeValue(const char* name) const = 0;

	//! Where and why the document first failed to read as written, such as
	//! "line 12, column 5: ...", for telling the user why a level came out
	//! empty; empty while nothing went wrong.
	virtual std::string describeFirstFault() const = 0;

	//! The attribute as a number (the engine's fast_atof); 0 when missing.
	//! A reader that knows more about where its texts lie may convert
	//! faster, but always to the same bits.
	virtual irr::f32 getAttributeValueAsFloat(const char* name) const;

	//! The attribute read as a number and truncated toward zero; 0 when missing.
	virtual irr::s32 getAttributeValueAsInt(const char* name) const;
};

//! The engine's text-to-float conversion; 0 for a null text.
irr::f32 convertXMLFloat(const char* text);

//! A converted number truncated toward zero, as convertXMLInt gives it.
irr::s32 truncateXMLInt(irr::f32 value);

//! The float conversion truncated toward zero. Values outside the s32 range
//! saturate and NaN gives 0, where a plain cast would be undefined.
irr::s32 convertXMLInt(const char* text);

} // end namespace vistel

#endif

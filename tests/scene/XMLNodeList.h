#ifndef VISTEL_XML_NODE_LIST_H_INCLUDED
#define VISTEL_XML_NODE_LIST_H_INCLUDED

#include <irrlicht.h>

#include <cstdio>
#include <string>

namespace vistel
{
namespace test
{

// Every attribute name a reader of the scene loader asks for.
const char* const LoaderAttributes[] = {"version", "name", "author", "comments", "shadowOpacity", "r", "g", "b", "a",
	"id", "used", "type", "blend", "file", "x", "y", "z", "mid", "vid", "u0", "v0", "u1", "v1", "u2", "v2", "u3",
	"v3"};


inline void appendEscaped(std::string& out, const char* text)
{
	if (!text)
	{
		out += "(none)";
		return;
	}
	for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
	{
		if (*p < 0x20 || *p >= 0x7F || *p == '\\')
		{
			char escaped[8];
			std::snprintf(escaped, sizeof(escaped), "\\x%02X", *p);
			out += escaped;
		}
		else
			out += static_cast<char>(*p);
	}
}

//! One line per node; start tags add a line per attribute and per name the
//! loader would find. Works with the engine's reader and the scene reader.
template <typename TReader>
std::string describeNodes(TReader& reader)
{
	std::string out;
	while (reader.read())
	{
		switch (reader.getNodeType())
		{
		case irr::io::EXN_ELEMENT:
		{
			out += "element ";
			appendEscaped(out, reader.getNodeName());
			if (reader.isEmptyElement())
				out += " /";
			out += "\n";
			const int count = static_cast<int>(reader.getAttributeCount());
			for (int i = 0; i < count; ++i)
			{
				const char* name = reader.getAttributeName(i);
				out += "  attribute ";
				appendEscaped(out, name);
				out += " = ";
				appendEscaped(out, reader.getAttributeValue(i));
				out += " | by name: ";
				appendEscaped(out, name ? reader.getAttributeValue(name) : nullptr);
				out += "\n";
			}
			for (const char* probe : LoaderAttributes)
			{
				const char* value = reader.getAttributeValue(probe);
				if (!value)
					continue;
				out += "  ";
				out += probe;
				out += " -> ";
				appendEscaped(out, value);
				out += "\n";
			}
			break;
		}
		case irr::io::EXN_ELEMENT_END:
			out += "end ";
			appendEscaped(out, reader.getNodeName());
			out += "\n";
			break;
		case irr::io::EXN_TEXT:
			out += "text\n";
			break;
		case irr::io::EXN_COMMENT:
			out += "comment\n";
			break;
		case irr::io::EXN_CDATA:
			out += "cdata\n";
			break;
		case irr::io::EXN_UNKNOWN:
			out += "unknown\n";
			break;
		default:
			out += "type " + std::to_string(reader.getNodeType()) + "\n";
			break;
		}
	}
	return out;
}

} // end namespace test
} // end namespace vistel

#endif

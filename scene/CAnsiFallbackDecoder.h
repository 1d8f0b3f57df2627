#ifndef VISTEL_C_ANSI_FALLBACK_DECODER_H_INCLUDED
#define VISTEL_C_ANSI_FALLBACK_DECODER_H_INCLUDED

#include <cstddef>
#include <string>

namespace vistel
{

//! Makes 8-bit editor text readable by a UTF-8 parser.
/** The editor writes its documents in the Windows ANSI code page and
declares no encoding, so a parser that assumes UTF-8 would stop at the first
accented letter. Valid UTF-8 sequences pass unchanged; every other byte of
0x80 and above is taken as Windows-1252 and re-encoded as UTF-8. Works on a
stream: a sequence cut by the end of one piece is completed by the next. */
class CAnsiFallbackDecoder
{
public:
	//! Appends the decoded form of the next piece of input to out. With
	//! atEnd, a sequence still incomplete is decoded byte by byte.
	void decode(const char* input, std::size_t size, bool atEnd, std::string& out);

	//! Whether a document starting with these bytes needs the decoder: not
	//! for UTF-16/32 input, nor when an XML declaration names an encoding,
	//! which the parser then applies itself.
	static bool isNeededFor(const char* start, std::size_t size);

private:
	std::string Carry;
};

} // end namespace vistel

#endif

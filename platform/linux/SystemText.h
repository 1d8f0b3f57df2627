#ifndef VISTEL_SYSTEM_TEXT_H_INCLUDED
#define VISTEL_SYSTEM_TEXT_H_INCLUDED

#include <QString>
#include <string>

namespace vistel
{
namespace platform
{

//! An 8-bit text of the core (a path, a message) as Qt shows it, decoded
//! with the character set of the user's locale as the environment names it
//! (LC_ALL, LC_CTYPE, LANG). Where the environment names no usable locale,
//! or the text is not valid in it, Qt's own 8-bit decoding (UTF-8) is used.
QString decodeSystemText(const std::string& text);

} // end namespace platform
} // end namespace vistel

#endif

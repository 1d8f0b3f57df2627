#ifndef VISTEL_EDITOR_FILE_NAMES_H_INCLUDED
#define VISTEL_EDITOR_FILE_NAMES_H_INCLUDED

#include <string>

namespace vistel
{
namespace platform
{

//! The path of a file that the editor's document names in its 8-bit text
//! (Windows-1252 on the editor's system).
/** The name as written comes first: where a file has that name, or where
the name reads the same in every encoding, that is the path. Otherwise a
system whose file names are in another encoding (UTF-8 on Linux) also tries
the name's Windows-1252 reading in the encoding of the current locale. When
neither names a file, the name as written is returned, so that whoever
reports the missing file reports it as the document wrote it.
\param directory prefix put in front of the name as it is, never converted */
std::string locateEditorFile(const std::string& directory, const std::string& name);

} // end namespace platform
} // end namespace vistel

#endif

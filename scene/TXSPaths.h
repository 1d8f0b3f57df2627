#ifndef VISTEL_TXS_PATHS_H_INCLUDED
#define VISTEL_TXS_PATHS_H_INCLUDED

#include "SystemConventions.h"

#include <irrString.h>

#include <vector>

namespace vistel
{

//! Cuts text at every separator. An empty text gives no pieces; a leading
//! separator gives an empty first piece, two in a row an empty piece between
//! them, a single trailing one no empty last piece. Every piece is trimmed
//! of spaces, tabs and line feeds (not carriage returns).
std::vector<irr::core::stringc> splitAtSeparator(const irr::core::stringc& text, char separator);

//! Directory prefix for texture files: the path cut at backslashes or at
//! forward slashes, whichever gives more pieces (backslashes on a tie), the
//! pieces joined again each followed by the platform separator. Empty for
//! an empty path.
irr::core::stringc makeTexturePrefix(const irr::core::stringc& path);

//! Texture file name relative to the prefix, from a file attribute. Both
//! slashes count as separators (documents come from a Windows editor). With
//! keepDirectories the relative path stays whole, with the platform
//! separator; otherwise only its last piece is kept.
irr::core::stringc makeTextureFileName(const irr::core::stringc& file, bool keepDirectories);

//! False for a name that leads to a pipe, a device or a directory: such a
//! file is never handed to the engine, since reading a pipe can block the
//! preview for good. A name that is no file on disk is left to the engine
//! (its texture cache and archives may know it).
bool isTextureFileReadable(const irr::core::stringc& path);

} // end namespace vistel

#endif

#ifndef VISTEL_FILE_REPLACEMENT_H_INCLUDED
#define VISTEL_FILE_REPLACEMENT_H_INCLUDED

#include <cstddef>
#include <string>

namespace vistel
{
namespace platform
{

//! Gives the file at path the new contents in one step, so that a failed or
//! partial write never leaves a truncated file behind.
/** The contents are written beside the file and moved over it. What the user
set up stays as it was: a symbolic link keeps pointing where it did and the
file it leads to gets the contents; an existing file keeps its permissions.
A file the process may not write, or a path that leads to something other
than a plain file, is left alone, as opening it for writing would have
failed. A missing file is created. Where the folder refuses the file beside
it, or that file could not be given the old file's owner, a writable file is
overwritten in place instead. A save that could not be done is logged.
\return true when the file now holds the contents. */
bool replaceFileContents(const std::string& path, const void* data, std::size_t size);

} // end namespace platform
} // end namespace vistel

#endif

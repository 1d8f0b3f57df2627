#ifndef VISTEL_PATH_SEPARATOR_H_INCLUDED
#define VISTEL_PATH_SEPARATOR_H_INCLUDED

namespace vistel
{

//! The directory separator of the system the library is built for. Paths
//! are built by plain concatenation with it and cut at it.
#ifdef _WIN32
const char PATH_SEPARATOR = '\\';
#else
const char PATH_SEPARATOR = '/';
#endif

} // end namespace vistel

#endif

#ifndef VISTEL_TEST_SYSTEM_PATH_H_INCLUDED
#define VISTEL_TEST_SYSTEM_PATH_H_INCLUDED

#include "PathSeparator.h"

#include <string>

namespace vistel
{
namespace test
{

//! A path written with '/' in tables, in the separator of the system the
//! tests run on; backslashes stay as written.
inline std::string systemPath(std::string path)
{
	for (char& c : path)
		if (c == '/')
			c = PATH_SEPARATOR;
	return path;
}

//! A path as the engine names a file it opened: '/' between the parts on
//! every system.
inline std::string enginePath(std::string path)
{
	for (char& c : path)
		if (c == '\\')
			c = '/';
	return path;
}

} // end namespace test
} // end namespace vistel

#endif

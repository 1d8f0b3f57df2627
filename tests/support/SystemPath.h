#ifndef VISTEL_TEST_SYSTEM_PATH_H_INCLUDED
#define VISTEL_TEST_SYSTEM_PATH_H_INCLUDED

#include "SystemConventions.h"

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

//! The bytes a text written in text mode leaves in its file: on Windows
//! every line feed becomes CR LF, elsewhere nothing changes.
inline std::string textFileBytes(const std::string& text)
{
#ifdef _WIN32
	std::string bytes;
	for (char c : text)
	{
		if (c == '\n')
			bytes += '\r';
		bytes += c;
	}
	return bytes;
#else
	return text;
#endif
}

} // end namespace test
} // end namespace vistel

#endif

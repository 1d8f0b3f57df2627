#include "EditorFileNames.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <sys/stat.h>

namespace vistel
{
namespace platform
{

namespace
{

bool isPlainAscii(const std::string& text)
{
	for (const char c : text)
		if (static_cast<unsigned char>(c) >= 0x80)
			return false;
	return true;
}

bool exists(const std::string& path)
{
	struct stat info;
	return ::lstat(path.c_str(), &info) == 0;
}

// The encoding of the current locale's file names. A process still in the
// C locale has said nothing about it: names there are taken as UTF-8, as
// the toolkit and today's systems take them.
const char* getLocaleEncoding()
{
	const char* encoding = ::nl_langinfo(CODESET);
	if (!encoding || !*encoding || std::strcmp(encoding, "ANSI_X3.4-1968") == 0)
		return "UTF-8";
	return encoding;
}

// False when the text has no reading in the locale's encoding (a byte that
// Windows-1252 leaves undefined, a character the locale cannot hold).
bool convertFromWindows1252(const std::string& text, std::string& converted)
{
	const iconv_t conversion = ::iconv_open(getLocaleEncoding(), "WINDOWS-1252");
	if (conversion == reinterpret_cast<iconv_t>(-1))
		return false;
	// Four bytes per character hold any encoding of a Windows-1252 character.
	std::string input = text;
	converted.assign(text.size() * 4, '\0');
	char* in = &input[0];
	std::size_t inLeft = input.size();
	char* out = &converted[0];
	std::size_t outLeft = converted.size();
	const bool done = ::iconv(conversion, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)
		&& inLeft == 0;
	::iconv_close(conversion);
	converted.resize(converted.size() - outLeft);
	return done;
}

} // end anonymous namespace

std::string locateEditorFile(const std::string& directory, const std::string& name)
{
	const std::string asWritten = directory + name;
	if (isPlainAscii(name) || exists(asWritten))
		return asWritten;
	std::string converted;
	if (!convertFromWindows1252(name, converted) || converted == name)
		return asWritten;
	const std::string reading = directory + converted;
	return exists(reading) ? reading : asWritten;
}

} // end namespace platform
} // end namespace vistel

#include "FileReplacement.h"

#include <cstdio>
#include <io.h>
#include <windows.h>

namespace vistel
{
namespace platform
{

bool replaceFileContents(const std::string& path, const void* data, std::size_t size)
{
	// A file that is read-only, or a directory, is left alone, as opening it
	// for writing would have failed.
	const DWORD attributes = GetFileAttributesA(path.c_str());
	if (attributes != INVALID_FILE_ATTRIBUTES
		&& (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
		return false;

	const std::string temporary = path + ".new";
	FILE* file = std::fopen(temporary.c_str(), "wb");
	if (!file)
		return false;
	bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
	// The bytes reach the disk before the new file takes the old one's name:
	// a crash after the move must not leave an empty file in its place.
	written = written && std::fflush(file) == 0
		&& FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
	const bool closed = std::fclose(file) == 0;
	// Unlike rename, this replaces an existing file, in one step.
	if (written && closed
		&& MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
		return true;
	DeleteFileA(temporary.c_str());
	return false;
}

} // end namespace platform
} // end namespace vistel

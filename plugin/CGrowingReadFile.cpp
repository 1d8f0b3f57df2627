#include "CGrowingReadFile.h"

#include <algorithm>
#include <limits>

namespace vistel
{

CGrowingReadFile* CGrowingReadFile::open(const irr::io::path& path, unsigned long long expectedSize,
	IFileGrowth& growth)
{
	std::FILE* file = std::fopen(path.c_str(), "rb");
	if (!file)
		return nullptr;
	return new CGrowingReadFile(file, path, expectedSize, growth);
}

CGrowingReadFile::CGrowingReadFile(std::FILE* file, const irr::io::path& path, unsigned long long expectedSize,
	IFileGrowth& growth)
	: File(file), Name(path), ExpectedSize(expectedSize), Growth(growth)
{
}

CGrowingReadFile::~CGrowingReadFile()
{
	std::fclose(File);
}

irr::s32 CGrowingReadFile::read(void* buffer, irr::u32 sizeToRead)
{
	const std::size_t wanted = std::min<std::size_t>(sizeToRead, std::numeric_limits<irr::s32>::max());
	std::size_t got = 0;
	for (;;)
	{
		// Until the file is complete, only what has reached it is read: a
		// read never meets the end of a file still growing, whose mark some
		// C libraries keep below the stream (Windows' until the next seek).
		// Completeness is asked first: the size asked after it is then final.
		const bool complete = Growth.isFileComplete();
		std::size_t ask = wanted - got;
		if (!complete)
		{
			const unsigned long long at = Position + got;
			const unsigned long long written = Growth.getWrittenSize();
			ask = written > at ? static_cast<std::size_t>(std::min<unsigned long long>(ask, written - at)) : 0;
		}
		if (ask > 0)
		{
			const std::size_t read = std::fread(static_cast<char*>(buffer) + got, 1, ask, File);
			got += read;
			// The end of the complete file, or a failed read.
			if (read < ask)
				break;
		}
		if (got == wanted || complete)
			break;
		Growth.waitForGrowth();
	}
	Position += got;
	return static_cast<irr::s32>(got);
}

bool CGrowingReadFile::seek(long finalPos, bool relativeMovement)
{
	// Only back, or within what is written: a reader that starts over does.
	if (std::fseek(File, finalPos, relativeMovement ? SEEK_CUR : SEEK_SET) != 0)
		return false;
	Position = relativeMovement ? Position + static_cast<unsigned long long>(finalPos)
		: static_cast<unsigned long long>(finalPos);
	return true;
}

long CGrowingReadFile::getSize() const
{
	// Where a long cannot hold the size, it is told as unknown.
	return ExpectedSize <= static_cast<unsigned long long>(std::numeric_limits<long>::max())
		? static_cast<long>(ExpectedSize) : 0;
}

long CGrowingReadFile::getPos() const
{
	return Position <= static_cast<unsigned long long>(std::numeric_limits<long>::max())
		? static_cast<long>(Position) : std::numeric_limits<long>::max();
}

} // end namespace vistel

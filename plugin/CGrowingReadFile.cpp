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
		// Whether the file was complete is asked before the read: only a read
		// that began after the last byte was written finds the true end.
		const bool complete = Growth.isFileComplete();
		got += std::fread(static_cast<char*>(buffer) + got, 1, wanted - got, File);
		if (got == wanted || complete || std::ferror(File))
			break;
		// The end of what is written so far; the stream's end mark must go
		// before it is read on.
		std::clearerr(File);
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

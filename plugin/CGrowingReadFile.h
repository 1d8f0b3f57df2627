#ifndef VISTEL_C_GROWING_READ_FILE_H_INCLUDED
#define VISTEL_C_GROWING_READ_FILE_H_INCLUDED

#include "FileGrowth.h"

#include <IReadFile.h>

#include <cstdio>

namespace vistel
{

//! Reads a file while another thread still writes it: a read that reaches
//! what is written so far waits for the rest, so the reader sees the whole
//! file, as if it had been complete when opened. Only where the file is
//! complete does a read come back short. Reads come from one thread at a
//! time (not necessarily the same one).
class CGrowingReadFile : public irr::io::IReadFile
{
public:
	//! Opens path for reading, or gives 0. expectedSize is what getSize
	//! tells (the file's size once written whole); growth must outlive the
	//! file.
	static CGrowingReadFile* open(const irr::io::path& path, unsigned long long expectedSize, IFileGrowth& growth);
	~CGrowingReadFile() override;

	irr::s32 read(void* buffer, irr::u32 sizeToRead) override;
	bool seek(long finalPos, bool relativeMovement = false) override;
	long getSize() const override;
	long getPos() const override;
	const irr::io::path& getFileName() const override { return Name; }

private:
	CGrowingReadFile(std::FILE* file, const irr::io::path& path, unsigned long long expectedSize, IFileGrowth& growth);

	std::FILE* File;
	irr::io::path Name;
	unsigned long long ExpectedSize;
	unsigned long long Position = 0;
	IFileGrowth& Growth;
};

} // end namespace vistel

#endif

#ifndef VISTEL_FILE_GROWTH_H_INCLUDED
#define VISTEL_FILE_GROWTH_H_INCLUDED

namespace vistel
{

//! A file that another thread is still writing, as seen by one that reads
//! it along.
class IFileGrowth
{
public:
	virtual ~IFileGrowth() {}

	//! True once nothing more will be written to the file.
	virtual bool isFileComplete() const = 0;

	//! The bytes from the file's start that have reached it so far.
	virtual unsigned long long getWrittenSize() const = 0;

	//! Returns once more has reached the file or the file is complete; at
	//! once when that happened since the last call.
	virtual void waitForGrowth() = 0;
};

//! Told by a file's writer as the file grows.
class IFileGrowthListener
{
public:
	virtual ~IFileGrowthListener() {}

	//! The file's first writtenSize bytes have reached it; it will hold
	//! expectedSize bytes when it is written whole.
	virtual void onFileGrew(unsigned long long writtenSize, unsigned long long expectedSize) = 0;
};

} // end namespace vistel

#endif

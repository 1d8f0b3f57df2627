#ifndef VISTEL_C_BLOCK_READ_AHEAD_H_INCLUDED
#define VISTEL_C_BLOCK_READ_AHEAD_H_INCLUDED

#include "SystemSignal.h"
#include "SystemThread.h"

#include <irrTypes.h>

#include <atomic>
#include <cstddef>
#include <vector>

namespace irr
{
namespace io
{
class IReadFile;
}
}

namespace vistel
{

//! Reads a file's next block on a second thread while the caller works on
//! the one before, so that copying the file's bytes costs the caller no
//! time. While a block is asked for and not yet taken, only the thread uses
//! the file and the buffer. Not copyable.
class CBlockReadAhead
{
public:
	//! The file must outlive this object.
	explicit CBlockReadAhead(irr::io::IReadFile* file);
	//! Waits for a block being read, then ends the thread.
	~CBlockReadAhead();
	CBlockReadAhead(const CBlockReadAhead&) = delete;
	CBlockReadAhead& operator=(const CBlockReadAhead&) = delete;

	//! Starts the thread. False where the system cannot: the caller then
	//! reads the file itself.
	bool start();

	//! True once start() succeeded.
	bool isStarted() const { return Thread.isJoinable(); }

	//! Has the thread read the next size bytes of the file into buffer from
	//! offset on, which must fit; buffer is taken and left empty.
	void ask(std::vector<char>& buffer, std::size_t offset, std::size_t size);

	//! Waits for the block asked for and gives its buffer back; returns what
	//! the file's read returned (the bytes read, 0 at the file's end, below 0
	//! where it failed).
	irr::s32 take(std::vector<char>& buffer);

private:
	void run();

	irr::io::IReadFile* File;
	std::vector<char> Block;
	std::size_t Offset = 0;
	std::size_t Size = 0;
	irr::s32 Got = 0;
	std::atomic<bool> Stopping{ false };
	platform::CSystemSignal Wanted;
	platform::CSystemSignal Ready;
	// Last, so that it is joined before the signals close.
	platform::CSystemThread Thread;
};

} // end namespace vistel

#endif

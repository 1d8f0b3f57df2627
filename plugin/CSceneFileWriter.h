#ifndef VISTEL_C_SCENE_FILE_WRITER_H_INCLUDED
#define VISTEL_C_SCENE_FILE_WRITER_H_INCLUDED

#include "CSceneLineMap.h"
#include "FileGrowth.h"
#include "HostExchange.h"
#include "ILoadProgress.h"
#include "SystemSignal.h"
#include "SystemThread.h"

#include <irrString.h>

#include <atomic>
#include <exception>

namespace vistel
{

//! Writes the scene file from the host's reply on a thread of its own.
/** Writing a level's document takes a while (hundreds of megabytes through
the system's file cache), and the steps after it up to the load (the device,
its window, the texture directory, the loader's registration) do not need
the file: they go on meanwhile on the calling thread. The load need not wait
for the whole file either: once its first piece is written, the file can be
read along as it grows (see CGrowingReadFile; this writer is its growth).
The text written is the same as when written on the calling thread, in the
same pieces. Where no thread can be started, start writes the file itself
before it returns. The thread is joined by finish or, on every other way out,
by the destructor, which lets the file be finished (a run that ends before
its load leaves the whole file on disk). */
class CSceneFileWriter : public IFileGrowth, private IFileGrowthListener
{
public:
	CSceneFileWriter() = default;
	~CSceneFileWriter() override;
	CSceneFileWriter(const CSceneFileWriter&) = delete;
	CSceneFileWriter& operator=(const CSceneFileWriter&) = delete;

	//! Starts writing reply (which the writer keeps until the file is
	//! written) to path; with keepLineMap, the map of the editor's lines is
	//! made as well.
	void start(const irr::core::stringc& path, SHostReply&& reply, bool keepLineMap);

	//! How far the file is, for one who wants to read it along.
	enum EReadiness
	{
		ER_READ_ALONG, //!< its first piece is written; the rest follows
		ER_ENDED,      //!< its writing ended without a piece to read along:
		               //!< the file is whole (one that tells no position,
		               //!< such as a pipe) or could not be written
		ER_STOPPED     //!< progress asked to stop
	};

	//! Waits until the file can be read along (its first piece is written)
	//! or its writing ended, telling progress meanwhile as finish does.
	//! After a stop the writing ends after its current piece.
	EReadiness waitUntilReadable(ILoadProgress* progress = nullptr);

	//! The file's size once written whole, known once waitUntilReadable
	//! answered ER_READ_ALONG.
	unsigned long long getExpectedSize() const { return ExpectedSize; }

	//! Waits for the file, looking every 5 ms (the thread library's
	//! condition variables would need calls Windows XP does not have).
	//! progress, when given, is told every time meanwhile (the reading stage, nothing read yet), so a
	//! window showing it keeps answering; when it asks to stop, the writing
	//! ends after its current piece and the file is left incomplete. An
	//! exception of the writing (out of memory) is thrown here.
	//! \return true when the file was written whole (false also when
	//! nothing was started).
	bool finish(ILoadProgress* progress = nullptr);

	//! The editor's lines, once finish returned true and they were kept.
	CSceneLineMap& getLineMap() { return LineMap; }

	bool isFileComplete() const override { return Done; }
	unsigned long long getWrittenSize() const override { return WrittenSize; }
	void waitForGrowth() override;

private:
	void write();
	void join();
	void onFileGrew(unsigned long long writtenSize, unsigned long long expectedSize) override;

	irr::core::stringc Path;
	SHostReply Reply;
	CSceneLineMap LineMap;
	bool KeepLineMap = false;
	bool Written = false;
	std::exception_ptr Error;
	std::atomic<bool> Stop{ false };
	std::atomic<bool> Done{ true };
	std::atomic<bool> Readable{ false };
	std::atomic<unsigned long long> ExpectedSize{ 0 };
	std::atomic<unsigned long long> WrittenSize{ 0 };
	//! Raised after each piece written and when the writing ends.
	platform::CSystemSignal Grown;
	platform::CSystemThread Thread;
};

} // end namespace vistel

#endif

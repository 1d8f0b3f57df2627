#ifndef VISTEL_C_SCENE_FILE_WRITER_H_INCLUDED
#define VISTEL_C_SCENE_FILE_WRITER_H_INCLUDED

#include "CSceneLineMap.h"
#include "HostExchange.h"
#include "ILoadProgress.h"
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
the file: they go on meanwhile on the calling thread, and the load waits for
the file to be complete. The text written is the same as when written on the
calling thread, in the same pieces. Where no thread can be started, start
writes the file itself before it returns. The thread is joined by finish or,
on every other way out, by the destructor, which lets the file be finished
(a run that ends before its load leaves the whole file on disk). */
class CSceneFileWriter
{
public:
	CSceneFileWriter() = default;
	~CSceneFileWriter();
	CSceneFileWriter(const CSceneFileWriter&) = delete;
	CSceneFileWriter& operator=(const CSceneFileWriter&) = delete;

	//! Starts writing reply (which the writer keeps until the file is
	//! written) to path; with keepLineMap, the map of the editor's lines is
	//! made as well.
	void start(const irr::core::stringc& path, SHostReply&& reply, bool keepLineMap);

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

private:
	void write();
	void join();

	irr::core::stringc Path;
	SHostReply Reply;
	CSceneLineMap LineMap;
	bool KeepLineMap = false;
	bool Written = false;
	std::exception_ptr Error;
	std::atomic<bool> Stop{ false };
	std::atomic<bool> Done{ true };
	platform::CSystemThread Thread;
};

} // end namespace vistel

#endif

#ifndef VISTEL_SYSTEM_THREAD_H_INCLUDED
#define VISTEL_SYSTEM_THREAD_H_INCLUDED

#include <functional>

namespace vistel
{
namespace platform
{

//! A second thread of the system's own.
/** The plug-in's threads live inside the editor's process, so they must
leave nothing behind when they end. On Windows the C++ library's threads go
through a thread library that keeps the record of every ended thread for
reuse; a lock in such a record gets an event handle of its own the first
time the starting and the started thread meet on it, and that handle then
stays with the editor's process for good. This thread is the system's own
there (and the C++ library's elsewhere), so a run's threads hold nothing
after their join. Not copyable or movable: the running thread uses the
object. */
class CSystemThread
{
public:
	CSystemThread();
	//! Joins a thread that was started and not joined yet.
	~CSystemThread();
	CSystemThread(const CSystemThread&) = delete;
	CSystemThread& operator=(const CSystemThread&) = delete;

	//! Runs work on a new thread. work must not throw (an exception that
	//! leaves it is dropped). False, and nothing runs, where no thread can
	//! be started; the caller then does the work itself. Call only when no
	//! thread of this object is running.
	bool start(std::function<void()> work);

	//! Waits until the thread has ended; at once when none was started or
	//! it was joined already.
	void join();

	//! True from a successful start until the join.
	bool isJoinable() const { return Handle != 0; }

	//! What the new thread runs: the work, with any exception dropped.
	void runWork();

private:
	//! The system's thread (a handle on Windows, a std::thread elsewhere).
	void* Handle;
	std::function<void()> Work;
};

} // end namespace platform
} // end namespace vistel

#endif

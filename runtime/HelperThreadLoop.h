#ifndef VISTEL_HELPER_THREAD_LOOP_H_INCLUDED
#define VISTEL_HELPER_THREAD_LOOP_H_INCLUDED

#include "SystemThread.h"

#include <atomic>
#include <exception>

namespace vistel
{

//! Runs work(i) for every i below count, shared between the calling thread
//! and one helper thread that takes the next item whenever it is free.
//! Before each item it takes, the calling thread asks between(itemsDone):
//! false stops the loop, no item is started after that, and the call
//! returns false once the helper has finished the item it was doing. The
//! helper is always joined before the call returns; an exception thrown by
//! an item on either thread ends the loop the same way and reaches the
//! caller (the helper's after the join). Where no thread can be started,
//! the calling thread does every item itself.
template <class Work, class Between>
bool runWithHelperThread(unsigned count, Work work, Between between)
{
	std::atomic<unsigned> next(0);
	std::atomic<unsigned> done(0);
	std::atomic<bool> stopped(false);
	std::exception_ptr helperError;
	auto take = [&]() -> unsigned { return stopped.load() ? count : next.fetch_add(1); };

	// Joined on every way out, an exception from the calling thread's own
	// items included (the thread's destructor joins it).
	platform::CSystemThread helper;
	struct SStop
	{
		std::atomic<bool>& Stopped;
		~SStop() { Stopped = true; }
	};
	// Declared after the thread, so destroyed first: the helper is told to
	// stop before it is waited for.
	SStop stop{ stopped };
	if (count > 1)
	{
		helper.start([&]() {
			try
			{
				for (unsigned i = take(); i < count; i = take())
				{
					work(i);
					++done;
				}
			}
			catch (...)
			{
				helperError = std::current_exception();
				stopped = true;
			}
		});
	}

	bool going = true;
	for (;;)
	{
		if (!between(done.load()))
		{
			going = false;
			break;
		}
		const unsigned i = take();
		if (i >= count)
			break;
		work(i);
		++done;
	}
	stopped = true;
	helper.join();
	if (helperError)
		std::rethrow_exception(helperError);
	return going;
}

} // end namespace vistel

#endif

#include "HelperThreadLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace
{

using vistel::runWithHelperThread;

// Every item is done once, whatever the count, and the last look of the
// calling thread never sees more items done than there are.
TEST(HelperThreadLoop, DoesEveryItemOnceAndAsksBetweenItemsOnTheCallingThread)
{
	for (unsigned count : { 0u, 1u, 2u, 7u, 1000u })
	{
		std::vector<std::atomic<int>> runs(count);
		const std::thread::id caller = std::this_thread::get_id();
		bool askedOnOtherThread = false;
		unsigned lastDone = 0;
		const bool finished = runWithHelperThread(count, [&](unsigned i) { ++runs[i]; },
			[&](unsigned done) {
				askedOnOtherThread = askedOnOtherThread || std::this_thread::get_id() != caller;
				lastDone = done;
				return true;
			});
		EXPECT_TRUE(finished);
		EXPECT_FALSE(askedOnOtherThread);
		EXPECT_LE(lastDone, count);
		for (unsigned i = 0; i < count; ++i)
			EXPECT_EQ(runs[i].load(), 1) << "item " << i << " of " << count;
	}
}

TEST(HelperThreadLoop, AStopStartsNoFurtherItemAndWaitsForTheHelper)
{
	const unsigned count = 10000;
	std::atomic<unsigned> started(0), finishedItems(0);
	unsigned asks = 0;
	const bool finished = runWithHelperThread(count,
		[&](unsigned) {
			++started;
			std::this_thread::yield();
			++finishedItems;
		},
		[&](unsigned) { return ++asks < 3; });
	EXPECT_FALSE(finished);
	// The calling thread did two items; the helper at most what it could in
	// that time, and every item begun was completed before the return.
	EXPECT_LT(started.load(), count);
	EXPECT_EQ(started.load(), finishedItems.load());
}

TEST(HelperThreadLoop, AnExceptionFromEitherThreadReachesTheCaller)
{
	for (bool onCaller : { true, false })
	{
		const std::thread::id caller = std::this_thread::get_id();
		std::atomic<unsigned> after(0);
		std::atomic<bool> thrown(false);
		auto work = [&](unsigned) {
			if (thrown)
				++after;
			std::this_thread::yield();
			if (!thrown && (std::this_thread::get_id() == caller) == onCaller)
			{
				thrown = true;
				throw std::runtime_error("item failed");
			}
		};
		EXPECT_THROW(runWithHelperThread(100000u, work, [](unsigned) { return true; }), std::runtime_error)
			<< (onCaller ? "calling thread" : "helper thread");
		// The loop ended soon after the fault rather than running on.
		EXPECT_LT(after.load(), 100000u);
	}
}

} // end anonymous namespace

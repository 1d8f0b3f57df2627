#include "SystemSignal.h"

#include <condition_variable>
#include <mutex>
#include <new>

namespace vistel
{
namespace platform
{

namespace
{

struct SSignalState
{
	std::mutex Lock;
	std::condition_variable Changed;
	bool Raised = false;
};

} // end anonymous namespace

CSystemSignal::CSystemSignal() : Handle(0)
{
	try
	{
		Handle = new SSignalState;
	}
	catch (const std::bad_alloc&)
	{
	}
}

CSystemSignal::~CSystemSignal()
{
	delete static_cast<SSignalState*>(Handle);
}

void CSystemSignal::raise()
{
	SSignalState* state = static_cast<SSignalState*>(Handle);
	if (!state)
		return;
	{
		std::lock_guard<std::mutex> hold(state->Lock);
		state->Raised = true;
	}
	state->Changed.notify_one();
}

void CSystemSignal::wait()
{
	SSignalState* state = static_cast<SSignalState*>(Handle);
	if (!state)
		return;
	std::unique_lock<std::mutex> hold(state->Lock);
	state->Changed.wait(hold, [state]() { return state->Raised; });
	state->Raised = false;
}

} // end namespace platform
} // end namespace vistel

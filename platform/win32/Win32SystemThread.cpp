#include "SystemThread.h"

#include <windows.h>
#include <process.h>

namespace vistel
{
namespace platform
{

namespace
{

// Started through the C runtime, which sets up and frees its per-thread
// data with the thread.
unsigned __stdcall startThread(void* thread)
{
	static_cast<CSystemThread*>(thread)->runWork();
	return 0;
}

} // end anonymous namespace

bool CSystemThread::start(std::function<void()> work)
{
	Work = std::move(work);
	const uintptr_t handle = _beginthreadex(0, 0, startThread, this, 0, 0);
	if (!handle)
		return false;
	Handle = reinterpret_cast<void*>(handle);
	return true;
}

void CSystemThread::join()
{
	if (!Handle)
		return;
	WaitForSingleObject(static_cast<HANDLE>(Handle), INFINITE);
	CloseHandle(static_cast<HANDLE>(Handle));
	Handle = 0;
}

} // end namespace platform
} // end namespace vistel

#include "SystemThread.h"

#include <memory>
#include <system_error>
#include <thread>

namespace vistel
{
namespace platform
{

bool CSystemThread::start(std::function<void()> work)
{
	Work = std::move(work);
	std::unique_ptr<std::thread> thread(new std::thread);
	try
	{
		*thread = std::thread([this]() { runWork(); });
	}
	catch (const std::system_error&)
	{
		return false;
	}
	Handle = thread.release();
	return true;
}

void CSystemThread::join()
{
	if (!Handle)
		return;
	std::thread* thread = static_cast<std::thread*>(Handle);
	thread->join();
	delete thread;
	Handle = 0;
}

} // end namespace platform
} // end namespace vistel

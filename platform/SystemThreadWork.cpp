#include "SystemThread.h"

namespace vistel
{
namespace platform
{

CSystemThread::CSystemThread() : Handle(0)
{
}

CSystemThread::~CSystemThread()
{
	join();
}

void CSystemThread::runWork()
{
	// An exception must not leave a thread: that would end the editor.
	try
	{
		Work();
	}
	catch (...)
	{
	}
}

} // end namespace platform
} // end namespace vistel

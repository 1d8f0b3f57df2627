#include "SystemSignal.h"

#include <windows.h>

namespace vistel
{
namespace platform
{

CSystemSignal::CSystemSignal() : Handle(CreateEventW(0, FALSE, FALSE, 0))
{
}

CSystemSignal::~CSystemSignal()
{
	if (Handle)
		CloseHandle(static_cast<HANDLE>(Handle));
}

void CSystemSignal::raise()
{
	if (Handle)
		SetEvent(static_cast<HANDLE>(Handle));
}

void CSystemSignal::wait()
{
	if (Handle)
		WaitForSingleObject(static_cast<HANDLE>(Handle), INFINITE);
}

} // end namespace platform
} // end namespace vistel

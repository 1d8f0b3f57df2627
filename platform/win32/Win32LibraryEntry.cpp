// The library's entry point: it keeps the module handle (the sheet's dialog
// templates and the library's own path are found through it) and does
// nothing else.

#include "Win32Module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
	(void)reason;
	(void)reserved;
	vistel::platform::setLibraryModule(instance);
	return TRUE;
}

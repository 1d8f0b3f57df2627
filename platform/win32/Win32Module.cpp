#include "Win32Module.h"

namespace vistel
{
namespace platform
{

namespace
{
HINSTANCE libraryModule = 0;
}

void setLibraryModule(HINSTANCE module)
{
	libraryModule = module;
}

HINSTANCE getLibraryModule()
{
	if (libraryModule)
		return libraryModule;
	HMODULE module = 0;
	if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
			| GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
			reinterpret_cast<LPCSTR>(&getLibraryModule), &module))
		return 0;
	return module;
}

} // end namespace platform
} // end namespace vistel

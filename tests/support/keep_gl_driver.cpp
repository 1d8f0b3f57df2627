// Preloaded into test processes of the sanitizer build: keeps the OpenGL
// driver in memory until the process ends.
//
// Mesa unloads its driver (and the LLVM it pulled in) when the last GL
// context of a display ends. What the driver kept for its own lifetime then
// shows in the leak check as allocations of a module that no longer exists:
// the stack cannot be symbolised, so it can be neither told apart from a
// leak of ours nor suppressed by name. With the driver kept loaded every
// such stack names the library and function that made it.
//
// Only dlclose of the GL driver's own modules is skipped; every other
// module is closed as usual.

#include <dlfcn.h>
#include <link.h>
#include <cstring>

namespace
{

// File name beginnings and endings of the modules that make up the driver.
const char* const DRIVER_PREFIXES[] = { "libGLX_", "libEGL_", "libgallium", "libLLVM" };
const char DRIVER_SUFFIX[] = "_dri.so";

bool isGlDriver(void* handle)
{
	link_map* module = 0;
	if (!handle || dlinfo(handle, RTLD_DI_LINKMAP, &module) != 0 || !module || !module->l_name)
		return false;
	const char* name = std::strrchr(module->l_name, '/');
	name = name ? name + 1 : module->l_name;
	for (const char* prefix : DRIVER_PREFIXES)
		if (std::strncmp(name, prefix, std::strlen(prefix)) == 0)
			return true;
	return std::strstr(name, DRIVER_SUFFIX) != 0;
}

} // end anonymous namespace

extern "C" __attribute__((visibility("default"))) int dlclose(void* handle) noexcept
{
	if (isGlDriver(handle))
		return 0;
	using DlcloseFunction = int (*)(void*);
	static DlcloseFunction next =
		reinterpret_cast<DlcloseFunction>(dlsym(RTLD_NEXT, "dlclose"));
	return next ? next(handle) : -1;
}

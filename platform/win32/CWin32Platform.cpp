#include "CWin32Platform.h"
#include "Win32Module.h"

#include <vector>

namespace vistel
{
namespace platform
{

namespace
{

// GetModuleFileNameA cuts a path that does not fit; the buffer grows until
// it fits.
std::string getModulePath(HMODULE module)
{
	std::vector<char> buffer(MAX_PATH);
	for (;;)
	{
		const DWORD length = GetModuleFileNameA(module, &buffer[0], static_cast<DWORD>(buffer.size()));
		if (length == 0)
			return std::string();
		if (length < buffer.size())
			return std::string(&buffer[0], length);
		if (buffer.size() >= 32768)
			return std::string();
		buffer.resize(buffer.size() * 2);
	}
}

} // end anonymous namespace

void CWin32Platform::showMessageBox(void* owner, const std::string& text,
	const std::string& caption, EMessageBoxStyle style)
{
	MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(),
		style == EMBS_ICON_ERROR ? MB_ICONERROR : MB_OK);
}

std::string CWin32Platform::getExecutablePath()
{
	return getModulePath(0);
}

std::string CWin32Platform::getLibraryPath()
{
	return getModulePath(getLibraryModule());
}

IPlatform& getDefaultPlatform()
{
	static CWin32Platform platform;
	return platform;
}

} // end namespace platform
} // end namespace vistel

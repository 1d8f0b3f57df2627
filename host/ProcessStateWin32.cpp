// The process state on Windows: the calling thread's cursor (show count and
// handle), the engine's window class, and the counts of threads, kernel
// handles and GDI and USER objects of the process.

#include "ProcessState.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>

namespace vistelhost
{

namespace
{

// The window classes a run may register: the engine's window. Windows has
// no call that lists a module's classes, so they are asked for by name.
const char* const RUN_WINDOW_CLASSES[] = { "CIrrDeviceWin32" };

std::string pointerText(const void* pointer)
{
	char text[32];
	std::snprintf(text, sizeof(text), "%p", pointer);
	return text;
}

int getCursorShowCount()
{
	// ShowCursor answers with the new count only: one step up and back.
	const int count = ShowCursor(TRUE) - 1;
	ShowCursor(FALSE);
	return count;
}

std::string describeClass(const char* name, HMODULE plugin)
{
	WNDCLASSEXA info;
	info.cbSize = sizeof(info);
	std::string owners;
	if (GetClassInfoExA(GetModuleHandleA(0), name, &info))
		owners = "the editor's module";
	if (plugin && GetClassInfoExA(plugin, name, &info))
		owners += owners.empty() ? "the plug-in" : " and the plug-in";
	return owners.empty() ? "not registered" : "registered by " + owners;
}

size_t countThreads()
{
	HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
	if (snapshot == INVALID_HANDLE_VALUE)
		return 0;
	const DWORD process = GetCurrentProcessId();
	size_t count = 0;
	THREADENTRY32 entry;
	entry.dwSize = sizeof(entry);
	for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
		if (entry.th32OwnerProcessID == process)
			++count;
	CloseHandle(snapshot);
	return count;
}

} // end anonymous namespace

void prepareStateRecording()
{
	// The editor's thread shows the arrow over its own windows.
	SetCursor(LoadCursorA(0, IDC_ARROW));
}

void addSystemFigures(const SStateContext& context, SProcessState& state)
{
	HMODULE plugin = static_cast<HMODULE>(context.PluginLibrary);
	SStateFigure cursor[] = {
		{ "cursor show count", std::to_string(getCursorShowCount()), ESFK_KEPT },
		{ "cursor", pointerText(GetCursor()), ESFK_KEPT },
	};
	state.insert(state.end(), cursor, cursor + 2);
	for (size_t i = 0; i < sizeof(RUN_WINDOW_CLASSES) / sizeof(RUN_WINDOW_CLASSES[0]); ++i)
	{
		SStateFigure figure = { std::string("window class ") + RUN_WINDOW_CLASSES[i],
			describeClass(RUN_WINDOW_CLASSES[i], plugin), ESFK_KEPT };
		state.push_back(figure);
	}
	DWORD handles = 0;
	GetProcessHandleCount(GetCurrentProcess(), &handles);
	HANDLE process = GetCurrentProcess();
	SStateFigure counts[] = {
		{ "threads", std::to_string(countThreads()), ESFK_SETTLED },
		{ "handles", std::to_string(handles), ESFK_SETTLED },
		{ "GDI objects", std::to_string(GetGuiResources(process, GR_GDIOBJECTS)), ESFK_SETTLED },
		{ "USER objects", std::to_string(GetGuiResources(process, GR_USEROBJECTS)), ESFK_SETTLED },
	};
	state.insert(state.end(), counts, counts + 4);
}

} // end namespace vistelhost

// The process state on Windows: the calling thread's cursor (show count and
// handle), the engine's window class, and the counts of threads, kernel
// handles and GDI and USER objects of the process.

#include "ProcessState.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <vector>

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

// The system's handle table (NtQuerySystemInformation, class 16): one entry
// per open handle of every process.
struct SSystemHandleEntry
{
	ULONG OwnerProcessId;
	BYTE ObjectType;
	BYTE Flags;
	USHORT Value;
	PVOID Object;
	ULONG Access;
};

struct SSystemHandleTable
{
	ULONG Count;
	SSystemHandleEntry Handles[1];
};

typedef LONG (WINAPI *QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);
typedef LONG (WINAPI *QueryObject)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <class TFunction>
TFunction findNtFunction(const char* name)
{
	return reinterpret_cast<TFunction>(reinterpret_cast<void*>(
		GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

// The handle values this process holds, from the system's handle table
// (NtQuerySystemInformation, class 16: one entry per open handle of every
// process). False when the table cannot be read.
bool readOwnHandles(std::vector<USHORT>& handles)
{
	QuerySystemInformation query = findNtFunction<QuerySystemInformation>("NtQuerySystemInformation");
	if (!query)
		return false;
	const ULONG SYSTEM_HANDLE_INFORMATION = 16;
	const LONG INFO_LENGTH_MISMATCH = static_cast<LONG>(0xC0000004L);
	std::vector<unsigned char> buffer(1 << 16);
	for (int attempt = 0; attempt < 12; ++attempt)
	{
		ULONG needed = 0;
		const LONG status = query(SYSTEM_HANDLE_INFORMATION, &buffer[0],
			static_cast<ULONG>(buffer.size()), &needed);
		if (status == INFO_LENGTH_MISMATCH)
		{
			buffer.resize(buffer.size() * 2 > needed ? buffer.size() * 2 : needed + 4096);
			continue;
		}
		if (status < 0)
			return false;
		const SSystemHandleTable* table = reinterpret_cast<const SSystemHandleTable*>(&buffer[0]);
		const ULONG process = GetCurrentProcessId();
		handles.clear();
		for (ULONG i = 0; i < table->Count; ++i)
			if (table->Handles[i].OwnerProcessId == process)
				handles.push_back(table->Handles[i].Value);
		return true;
	}
	return false;
}

// The handles this process holds. GetProcessHandleCount answers 0 under Wine,
// which keeps no such count; the handle table it does keep.
std::string countHandles()
{
	DWORD counted = 0;
	if (GetProcessHandleCount(GetCurrentProcess(), &counted) && counted > 0)
		return std::to_string(counted);
	std::vector<USHORT> handles;
	return readOwnHandles(handles) ? std::to_string(handles.size()) : "(not counted)";
}

// A counted string of the object manager's (type or object name) as text.
std::string objectText(QueryObject query, HANDLE handle, ULONG informationClass)
{
	struct SCountedText
	{
		USHORT Length;
		USHORT MaximumLength;
		PWSTR Buffer;
	};
	// Pointer-aligned room for the record and the text that follows it.
	std::vector<void*> buffer(256);
	const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(void*));
	if (query(handle, informationClass, &buffer[0], size, 0) < 0)
		return "?";
	const SCountedText* text = reinterpret_cast<const SCountedText*>(&buffer[0]);
	std::string narrow;
	for (USHORT i = 0; text->Buffer && i < text->Length / 2; ++i)
		narrow += text->Buffer[i] < 128 ? static_cast<char>(text->Buffer[i]) : '?';
	return narrow;
}

} // end anonymous namespace

std::vector<std::string> listHeldObjects()
{
	std::vector<std::string> objects;
	std::vector<USHORT> handles;
	QueryObject query = findNtFunction<QueryObject>("NtQueryObject");
	if (!query || !readOwnHandles(handles))
		return objects;
	const ULONG OBJECT_NAME_INFORMATION = 1, OBJECT_TYPE_INFORMATION = 2;
	for (size_t i = 0; i < handles.size(); ++i)
	{
		HANDLE handle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handles[i]));
		const std::string type = objectText(query, handle, OBJECT_TYPE_INFORMATION);
		char value[16];
		std::snprintf(value, sizeof(value), "0x%04x", handles[i]);
		// A file's name is not asked: on Windows that can block on a pipe.
		objects.push_back("handle " + std::string(value) + " " + type
			+ (type == "File" ? std::string() : " " + objectText(query, handle, OBJECT_NAME_INFORMATION)));
	}
	return objects;
}

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
	// A quit message left on the editor's thread ends its message loop.
	MSG message;
	const bool quitting = PeekMessageA(&message, 0, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
	SStateFigure quit = { "quit message pending", quitting ? "yes" : "no", ESFK_KEPT };
	state.push_back(quit);
	for (size_t i = 0; i < sizeof(RUN_WINDOW_CLASSES) / sizeof(RUN_WINDOW_CLASSES[0]); ++i)
	{
		SStateFigure figure = { std::string("window class ") + RUN_WINDOW_CLASSES[i],
			describeClass(RUN_WINDOW_CLASSES[i], plugin), ESFK_KEPT };
		state.push_back(figure);
	}
	HANDLE process = GetCurrentProcess();
	SStateFigure counts[] = {
		{ "threads", std::to_string(countThreads()), ESFK_SETTLED },
		{ "handles", countHandles(), ESFK_SETTLED },
		{ "GDI objects", std::to_string(GetGuiResources(process, GR_GDIOBJECTS)), ESFK_SETTLED },
		{ "USER objects", std::to_string(GetGuiResources(process, GR_USEROBJECTS)), ESFK_SETTLED },
	};
	state.insert(state.end(), counts, counts + 4);
}

} // end namespace vistelhost

// What the host needs of Windows: LoadLibraryA, GetProcAddress, the module
// file name and CreateProcessA.

#include "HostSystem.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>

namespace vistelhost
{

const char HOST_SEPARATOR = '\\';
const char* const EDITOR_EXECUTABLE_NAME = "tarvo.exe";

namespace
{

// One argument of a command line as the C runtime splits it again.
std::string quoteArgument(const std::string& argument)
{
	if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
		return argument;
	std::string quoted = "\"";
	size_t backslashes = 0;
	for (size_t i = 0; i < argument.size(); ++i)
	{
		const char c = argument[i];
		if (c == '\\')
		{
			++backslashes;
			continue;
		}
		if (c == '"')
			quoted.append(backslashes * 2 + 1, '\\');
		else
			quoted.append(backslashes, '\\');
		backslashes = 0;
		quoted += c;
	}
	quoted.append(backslashes * 2, '\\');
	quoted += '"';
	return quoted;
}

} // end anonymous namespace

void* openPluginLibrary(const std::string& path, std::string& error)
{
	HMODULE library = LoadLibraryA(path.c_str());
	if (!library)
		error = "LoadLibraryA failed with error " + std::to_string(GetLastError());
	return reinterpret_cast<void*>(library);
}

void* findPluginEntry(void* library, const char* name)
{
	return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::string getOwnExecutablePath()
{
	char path[MAX_PATH * 4];
	const DWORD length = GetModuleFileNameA(0, path, sizeof(path));
	if (length == 0 || length >= sizeof(path))
		return std::string();
	return std::string(path, length);
}

void replaceProcess(const std::vector<std::string>& arguments)
{
	// Windows has no exec: the program runs as a child and its exit status
	// becomes this one's.
	std::string commandLine;
	for (size_t i = 0; i < arguments.size(); ++i)
	{
		if (i)
			commandLine += ' ';
		commandLine += quoteArgument(arguments[i]);
	}
	std::vector<char> line(commandLine.begin(), commandLine.end());
	line.push_back(0);
	STARTUPINFOA startup;
	ZeroMemory(&startup, sizeof(startup));
	startup.cb = sizeof(startup);
	PROCESS_INFORMATION process;
	if (!CreateProcessA(arguments[0].c_str(), &line[0], 0, 0, TRUE, 0, 0, 0, &startup, &process))
		return;
	CloseHandle(process.hThread);
	WaitForSingleObject(process.hProcess, INFINITE);
	DWORD status = 1;
	GetExitCodeProcess(process.hProcess, &status);
	CloseHandle(process.hProcess);
	std::exit(static_cast<int>(status));
}

std::string makeTemporaryDirectory()
{
	std::error_code failure;
	const std::filesystem::path base = std::filesystem::temp_directory_path(failure);
	if (failure)
		return std::string();
	for (unsigned int attempt = 0; attempt < 100; ++attempt)
	{
		const std::filesystem::path candidate = base / ("vistel-editor-"
			+ std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount() + attempt));
		if (CreateDirectoryA(candidate.string().c_str(), 0))
			return candidate.string();
	}
	return std::string();
}

} // end namespace vistelhost

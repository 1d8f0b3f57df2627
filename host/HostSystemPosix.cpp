// What the host needs of a POSIX system: the dynamic linker, /proc and exec.

#include "HostSystem.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vistelhost
{

const char HOST_SEPARATOR = '/';
const char* const EDITOR_EXECUTABLE_NAME = "tarvo";

void* openPluginLibrary(const std::string& path, std::string& error)
{
	void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
	if (!library)
		error = dlerror();
	return library;
}

void* findPluginEntry(void* library, const char* name)
{
	return dlsym(library, name);
}

std::string getOwnExecutablePath()
{
	std::error_code failure;
	const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", failure);
	return failure ? std::string() : path.string();
}

void replaceProcess(const std::vector<std::string>& arguments)
{
	std::vector<char*> pointers;
	for (size_t i = 0; i < arguments.size(); ++i)
		pointers.push_back(const_cast<char*>(arguments[i].c_str()));
	pointers.push_back(0);
	execv(pointers[0], &pointers[0]);
}

std::string makeTemporaryDirectory()
{
	std::error_code failure;
	std::filesystem::path base = std::filesystem::temp_directory_path(failure);
	if (failure)
		base = "/tmp";
	std::string pattern = (base / "vistel-editor-XXXXXX").string();
	std::vector<char> buffer(pattern.begin(), pattern.end());
	buffer.push_back(0);
	if (!mkdtemp(&buffer[0]))
		return std::string();
	return std::string(&buffer[0]);
}

} // end namespace vistelhost

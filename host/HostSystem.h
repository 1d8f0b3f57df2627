#ifndef VISTEL_HOST_SYSTEM_H_INCLUDED
#define VISTEL_HOST_SYSTEM_H_INCLUDED

#include <string>
#include <vector>

namespace vistelhost
{

//! The directory separator of the system, the one the editor writes.
extern const char HOST_SEPARATOR;

//! The editor executable's file name in the editor directory.
extern const char* const EDITOR_EXECUTABLE_NAME;

//! Loads the plug-in library; 0 with a reason in error when it cannot.
void* openPluginLibrary(const std::string& path, std::string& error);

//! An entry point of the loaded library, or 0.
void* findPluginEntry(void* library, const char* name);

//! Full path of the running program's file.
std::string getOwnExecutablePath();

//! Runs the program with the arguments (the first is the program itself) in
//! place of this one, or waits for it and passes its exit status on.
//! Returns only when it could not be started.
void replaceProcess(const std::vector<std::string>& arguments);

//! Makes a fresh, empty directory for an editor directory; empty on failure.
std::string makeTemporaryDirectory();

} // end namespace vistelhost

#endif

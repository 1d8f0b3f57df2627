#ifndef VISTEL_WIN32_MODULE_H_INCLUDED
#define VISTEL_WIN32_MODULE_H_INCLUDED

#include <windows.h>

namespace vistel
{
namespace platform
{

//! Keeps the module handle the library's entry point was given.
void setLibraryModule(HINSTANCE module);

//! The module that holds the library: the handle its entry point kept, or,
//! where the code is linked into a program and no entry point ran, the
//! module that contains this code.
HINSTANCE getLibraryModule();

} // end namespace platform
} // end namespace vistel

#endif

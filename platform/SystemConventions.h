#ifndef VISTEL_SYSTEM_CONVENTIONS_H_INCLUDED
#define VISTEL_SYSTEM_CONVENTIONS_H_INCLUDED

// What differs between the systems the library is built for, in one place:
// the core reads these constants and never tests the system itself.

namespace vistel
{

//! The directory separator of the system the library is built for. Paths
//! are built by plain concatenation with it and cut at it.
#ifdef _WIN32
const char PATH_SEPARATOR = '\\';
#else
const char PATH_SEPARATOR = '/';
#endif

//! The window system the preview's window belongs to, which decides the
//! video driver the preview asks for (Direct3D 9 with the HLSL programs on
//! Windows, OpenGL with the GLSL programs on X11) and how a driver names
//! its window.
enum EWindowSystem
{
	EWS_WIN32,
	EWS_X11
};

#ifdef _WIN32
const EWindowSystem WINDOW_SYSTEM = EWS_WIN32;
#else
const EWindowSystem WINDOW_SYSTEM = EWS_X11;
#endif

} // end namespace vistel

#endif

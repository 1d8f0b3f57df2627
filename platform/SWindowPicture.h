#ifndef VISTEL_S_WINDOW_PICTURE_H_INCLUDED
#define VISTEL_S_WINDOW_PICTURE_H_INCLUDED

#include <cstdint>
#include <string>
#include <vector>

namespace vistel
{
namespace platform
{

//! A window of the system, as the engine hands it over.
struct SNativeWindow
{
	//! The X11 Display the window belongs to; 0 where there is no such thing.
	void* Display;
	//! The window: an X11 window id, or a window handle's value.
	std::uintptr_t Window;
};

//! The programming interface a video driver draws with.
enum EDrawingInterface
{
	EDI_NONE = 0, //!< none the platform reads (software and null drivers)
	EDI_OPENGL,
	EDI_DIRECT3D9
};

//! What the engine draws a frame into, as its driver exposes it.
struct SDrawingSurface
{
	EDrawingInterface Interface;
	//! Direct3D 9: the driver's IDirect3DDevice9. OpenGL needs none: the
	//! driver's context is current on the thread that draws.
	void* Device;
	//! Size of the drawn frame, in pixels.
	int Width;
	int Height;
};

//! A picture in memory: rows from the top, each pixel 0xFFRRGGBB.
struct SWindowPicture
{
	int Width;
	int Height;
	std::vector<std::uint32_t> Pixels;
};

//! What the Save dialog shows and does.
struct SSaveFileDialog
{
	std::string Title;
	std::string FilterName;    //!< shown to the user, e.g. "JPEG Image"
	std::string FilterPattern; //!< e.g. "*.jpg"
	std::string DefaultSuffix; //!< appended to a name typed without one, without the dot
	bool ConfirmOverwrite;     //!< ask before an existing file is replaced
};

} // end namespace platform
} // end namespace vistel

#endif

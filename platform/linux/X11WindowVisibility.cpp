// The window's picture as the X server holds it, and hiding and showing the
// window. Kept apart from the Qt files: Xlib's macros clash with Qt's names.

#include "CLinuxPlatform.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>

namespace vistel
{
namespace platform
{

namespace
{

// Xlib's default error handler ends the process; a window that went away or
// cannot be read must only make the copy fail. Errors are collected while an
// instance lives.
class CXErrorTrap
{
public:
	explicit CXErrorTrap(Display* display)
		: DisplayHandle(display)
	{
		XSync(DisplayHandle, False);
		ErrorSeen = false;
		PreviousHandler = XSetErrorHandler(&CXErrorTrap::onError);
	}

	~CXErrorTrap()
	{
		XSync(DisplayHandle, False);
		XSetErrorHandler(PreviousHandler);
	}

	bool failed()
	{
		XSync(DisplayHandle, False);
		return ErrorSeen;
	}

private:
	static int onError(Display*, XErrorEvent*)
	{
		ErrorSeen = true;
		return 0;
	}

	Display* DisplayHandle;
	int (*PreviousHandler)(Display*, XErrorEvent*);
	static bool ErrorSeen;
};

bool CXErrorTrap::ErrorSeen = false;

// One colour channel of a TrueColor pixel, widened or narrowed to 8 bits.
struct SChannel
{
	unsigned long Mask;
	int Shift;
	unsigned long Maximum;

	explicit SChannel(unsigned long mask)
		: Mask(mask), Shift(0), Maximum(0)
	{
		if (!mask)
			return;
		while (!((mask >> Shift) & 1UL))
			++Shift;
		Maximum = mask >> Shift;
	}

	std::uint32_t read(unsigned long pixel) const
	{
		return static_cast<std::uint32_t>(((pixel & Mask) >> Shift) * 255UL / Maximum);
	}
};

void convertImage(XImage* image, int width, int height, int left, int top,
	SWindowPicture& picture)
{
	const SChannel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
	for (int y = 0; y < height; ++y)
	{
		std::uint32_t* row = &picture.Pixels[static_cast<size_t>(top + y) * picture.Width + left];
		for (int x = 0; x < width; ++x)
		{
			const unsigned long pixel = XGetPixel(image, x, y);
			row[x] = 0xFF000000u | (red.read(pixel) << 16) | (green.read(pixel) << 8)
				| blue.read(pixel);
		}
	}
}

} // end anonymous namespace

bool CLinuxPlatform::copyWindowPicture(const SNativeWindow& window, SWindowPicture& picture)
{
	Display* display = static_cast<Display*>(window.Display);
	const Window handle = static_cast<Window>(window.Window);
	if (!display || !handle || picture.Width <= 0 || picture.Height <= 0
		|| picture.Pixels.size() != static_cast<size_t>(picture.Width) * picture.Height)
		return false;

	CXErrorTrap trap(display);
	XWindowAttributes attributes;
	if (!XGetWindowAttributes(display, handle, &attributes) || trap.failed()
		|| attributes.map_state != IsViewable || attributes.c_class != InputOutput)
		return false;
	XWindowAttributes rootAttributes;
	int rootX = 0, rootY = 0;
	Window child = 0;
	if (!XGetWindowAttributes(display, attributes.root, &rootAttributes)
		|| !XTranslateCoordinates(display, handle, attributes.root, 0, 0, &rootX, &rootY, &child)
		|| trap.failed())
		return false;

	// The server gives only the part of a window that lies on the screen.
	const int left = std::max(0, -rootX);
	const int top = std::max(0, -rootY);
	const int right = std::min(std::min(picture.Width, attributes.width),
		rootAttributes.width - rootX);
	const int bottom = std::min(std::min(picture.Height, attributes.height),
		rootAttributes.height - rootY);
	if (right <= left || bottom <= top)
		return false;

	XImage* image = XGetImage(display, handle, left, top, static_cast<unsigned>(right - left),
		static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap);
	const bool readable = image && !trap.failed() && image->red_mask && image->green_mask
		&& image->blue_mask;
	if (readable)
		convertImage(image, right - left, bottom - top, left, top, picture);
	if (image)
		XDestroyImage(image);
	return readable;
}

void CLinuxPlatform::setWindowVisible(const SNativeWindow& window, bool visible)
{
	Display* display = static_cast<Display*>(window.Display);
	const Window handle = static_cast<Window>(window.Window);
	if (!display || !handle)
		return;
	CXErrorTrap trap(display);
	if (!visible)
	{
		XUnmapWindow(display, handle);
		XFlush(display);
		return;
	}
	XMapRaised(display, handle);
	XSync(display, False);
	// A full-screen window is mapped at once (no window manager decides), but
	// lost the keyboard while hidden: give it back. Errors are trapped.
	XWindowAttributes attributes;
	if (XGetWindowAttributes(display, handle, &attributes) && attributes.map_state == IsViewable)
		XSetInputFocus(display, handle, RevertToParent, CurrentTime);
	XFlush(display);
}

} // end namespace platform
} // end namespace vistel

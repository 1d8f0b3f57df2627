// Hiding and showing the preview window through X. Kept apart from the Qt
// files: Xlib's macros clash with Qt's names.

#include "CLinuxPlatform.h"

#include <X11/Xlib.h>

namespace vistel
{
namespace platform
{

namespace
{

// Xlib's default error handler ends the process; a window that went away
// must not take the host with it. Errors are collected while an instance
// lives.
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

} // end anonymous namespace

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

// Lists the viewable top-level windows of the display, one a line, oldest
// first: "ID WIDTH HEIGHT TITLE" (the id in hexadecimal, the title possibly
// empty). One connection for the whole list: tests poll it often, and a
// burst of short connections can make the X server refuse new ones.
// usage: vistel-x11-windows

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>

namespace
{

int ignoreErrors(Display*, XErrorEvent*)
{
	// A window may vanish while it is being asked about; it is left out.
	return 0;
}

} // end anonymous namespace

int main()
{
	Display* display = XOpenDisplay(0);
	if (!display)
	{
		std::fprintf(stderr, "vistel-x11-windows: no display\n");
		return 1;
	}
	XSetErrorHandler(ignoreErrors);
	Window root, parent;
	Window* children = 0;
	unsigned int count = 0;
	if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
	{
		for (unsigned int i = 0; i < count; ++i)
		{
			XWindowAttributes attributes;
			if (!XGetWindowAttributes(display, children[i], &attributes)
				|| attributes.map_state != IsViewable)
				continue;
			char* name = 0;
			XFetchName(display, children[i], &name);
			std::printf("0x%lx %d %d %s\n", children[i], attributes.width, attributes.height,
				name ? name : "");
			if (name)
				XFree(name);
		}
		if (children)
			XFree(children);
	}
	XCloseDisplay(display);
	return 0;
}

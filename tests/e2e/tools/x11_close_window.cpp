// Asks a window to close the way a desktop does: a WM_DELETE_WINDOW client
// message. Bare Xvfb runs no window manager that could send it.
// usage: vistel-x11-close WINDOW_ID

#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf(stderr, "usage: vistel-x11-close WINDOW_ID\n");
		return 2;
	}
	char* end = 0;
	const unsigned long window = std::strtoul(argv[1], &end, 0);
	if (!*argv[1] || *end)
	{
		std::fprintf(stderr, "vistel-x11-close: not a window id: %s\n", argv[1]);
		return 2;
	}
	Display* display = XOpenDisplay(0);
	if (!display)
	{
		std::fprintf(stderr, "vistel-x11-close: no display\n");
		return 1;
	}
	XEvent event = XEvent();
	event.xclient.type = ClientMessage;
	event.xclient.window = window;
	event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
	event.xclient.format = 32;
	event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
	event.xclient.data.l[1] = CurrentTime;
	const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
	XSync(display, False);
	XCloseDisplay(display);
	return sent ? 0 : 1;
}

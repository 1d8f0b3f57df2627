// Covers the left half of a window with a plain magenta window of its own,
// as another program's window on a desktop would, until it is ended. Prints
// "ready" once the cover is on screen. Takes no focus.
// usage: vistel-x11-cover WINDOW_ID

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace
{
volatile std::sig_atomic_t ended = 0;
void onSignal(int)
{
	ended = 1;
}
}

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf(stderr, "usage: vistel-x11-cover WINDOW_ID\n");
		return 2;
	}
	char* end = 0;
	const unsigned long target = std::strtoul(argv[1], &end, 0);
	if (!*argv[1] || *end)
	{
		std::fprintf(stderr, "vistel-x11-cover: not a window id: %s\n", argv[1]);
		return 2;
	}
	Display* display = XOpenDisplay(0);
	if (!display)
	{
		std::fprintf(stderr, "vistel-x11-cover: no display\n");
		return 1;
	}
	XWindowAttributes attributes;
	int x = 0, y = 0;
	Window child = 0;
	if (!XGetWindowAttributes(display, target, &attributes)
		|| !XTranslateCoordinates(display, target, attributes.root, 0, 0, &x, &y, &child))
	{
		std::fprintf(stderr, "vistel-x11-cover: no such window\n");
		return 1;
	}

	XColor magenta;
	XColor exact;
	const int screen = DefaultScreen(display);
	if (!XAllocNamedColor(display, DefaultColormap(display, screen), "magenta", &magenta, &exact))
		magenta.pixel = WhitePixel(display, screen);
	XSetWindowAttributes cover = XSetWindowAttributes();
	cover.override_redirect = True; // placed exactly, and no focus of its own
	cover.background_pixel = magenta.pixel;
	const Window window = XCreateWindow(display, attributes.root, x, y,
		static_cast<unsigned>(attributes.width / 2), static_cast<unsigned>(attributes.height), 0,
		CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &cover);
	XStoreName(display, window, "vistel cover");
	XSelectInput(display, window, ExposureMask);
	XMapRaised(display, window);
	XEvent event;
	do
		XNextEvent(display, &event);
	while (event.type != Expose);
	XSync(display, False);
	std::printf("ready\n");
	std::fflush(stdout);

	std::signal(SIGTERM, onSignal);
	std::signal(SIGINT, onSignal);
	while (!ended)
		pause();
	XDestroyWindow(display, window);
	XCloseDisplay(display);
	return 0;
}

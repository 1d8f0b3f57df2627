// Prints a line for every time a window's contents are drawn again, as the
// X server sees it (the DAMAGE extension): "SECONDS TITLE", the seconds on a
// monotonic clock, the window's title at that moment. Ends after the first
// redraw whose title does not start with PREFIX that follows one that does,
// or when the window goes away.
// usage: vistel-x11-redraws WINDOW_ID PREFIX

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace
{

bool windowGone = false;

int noteErrors(Display*, XErrorEvent* error)
{
	// The window went away while it was watched: that ends the watch.
	if (error->error_code == BadWindow || error->error_code == BadDrawable)
		windowGone = true;
	return 0;
}

double now()
{
	timespec time;
	clock_gettime(CLOCK_MONOTONIC, &time);
	return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

std::string title(Display* display, Window window)
{
	char* name = 0;
	XFetchName(display, window, &name);
	const std::string text = name ? name : "";
	if (name)
		XFree(name);
	return text;
}

} // end anonymous namespace

int main(int argc, char** argv)
{
	if (argc != 3)
	{
		std::fprintf(stderr, "usage: vistel-x11-redraws WINDOW_ID PREFIX\n");
		return 2;
	}
	char* end = 0;
	const Window window = std::strtoul(argv[1], &end, 0);
	if (!*argv[1] || *end)
	{
		std::fprintf(stderr, "vistel-x11-redraws: not a window id: %s\n", argv[1]);
		return 2;
	}
	const char* prefix = argv[2];
	Display* display = XOpenDisplay(0);
	if (!display)
	{
		std::fprintf(stderr, "vistel-x11-redraws: no display\n");
		return 1;
	}
	int eventBase = 0, errorBase = 0;
	if (!XDamageQueryExtension(display, &eventBase, &errorBase))
	{
		std::fprintf(stderr, "vistel-x11-redraws: the X server has no DAMAGE extension\n");
		XCloseDisplay(display);
		return 1;
	}
	XSetErrorHandler(noteErrors);
	XSelectInput(display, window, StructureNotifyMask);
	// One event each time the damage goes from none to some; it is taken
	// away again at once, so the next drawing reports anew.
	const Damage damage = XDamageCreate(display, window, XDamageReportNonEmpty);
	XSync(display, False);
	// Ready: the test starts its clock from this line.
	std::printf("watching\n");
	std::fflush(stdout);
	bool sawPrefix = false;
	while (!windowGone)
	{
		XEvent event;
		XNextEvent(display, &event);
		if (event.type == DestroyNotify || event.type == UnmapNotify)
			break;
		if (event.type != eventBase + XDamageNotify)
			continue;
		XDamageSubtract(display, damage, None, None);
		const std::string text = title(display, window);
		std::printf("%.4f %s\n", now(), text.c_str());
		std::fflush(stdout);
		const bool loading = text.compare(0, std::strlen(prefix), prefix) == 0;
		if (sawPrefix && !loading)
			break;
		sawPrefix = sawPrefix || loading;
	}
	if (!windowGone)
		XDamageDestroy(display, damage);
	XCloseDisplay(display);
	return 0;
}

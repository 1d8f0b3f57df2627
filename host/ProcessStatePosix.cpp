// The process state on a POSIX system with X11: umask, threads and file
// descriptors from /proc, and the cursor the X server shows over a window
// of the host's own (a pointer grab or a hidden cursor left behind shows
// there).

#include "ProcessState.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

namespace vistelhost
{

namespace
{

// The host's own window, standing in for the editor's main window.
Display* StateDisplay = 0;
Window StateWindow = 0;
const int STATE_WINDOW_SIZE = 16;

size_t countEntries(const char* directory)
{
	std::error_code failure;
	size_t count = 0;
	for (std::filesystem::directory_iterator entry(directory, failure), end;
		!failure && entry != end; entry.increment(failure))
		++count;
	return count;
}

std::string describeCursor()
{
	if (!StateDisplay)
		return "(no display)";
	XRaiseWindow(StateDisplay, StateWindow);
	XWarpPointer(StateDisplay, None, StateWindow, 0, 0, 0, 0,
		STATE_WINDOW_SIZE / 2, STATE_WINDOW_SIZE / 2);
	XSync(StateDisplay, False);
	XFixesCursorImage* image = XFixesGetCursorImage(StateDisplay);
	if (!image)
		return "(unreadable)";
	// FNV-1a over the pixels: a blank cursor and the arrow differ there.
	unsigned int hash = 2166136261u;
	const size_t pixels = static_cast<size_t>(image->width) * image->height;
	for (size_t i = 0; i < pixels; ++i)
		hash = (hash ^ static_cast<unsigned int>(image->pixels[i] & 0xFFFFFFFFu)) * 16777619u;
	char text[96];
	std::snprintf(text, sizeof(text), "%ux%u hot %u,%u pixels %08x", image->width, image->height,
		image->xhot, image->yhot, hash);
	XFree(image);
	return text;
}

} // end anonymous namespace

std::vector<std::string> listHeldObjects()
{
	std::vector<std::string> objects;
	std::error_code failure;
	for (std::filesystem::directory_iterator entry("/proc/self/fd", failure), end;
		!failure && entry != end; entry.increment(failure))
	{
		std::error_code unreadable;
		const std::filesystem::path target = std::filesystem::read_symlink(entry->path(), unreadable);
		objects.push_back("descriptor " + entry->path().filename().string() + " -> "
			+ (unreadable ? std::string("?") : target.string()));
	}
	return objects;
}

void prepareStateRecording()
{
	if (StateDisplay)
		return;
	StateDisplay = XOpenDisplay(0);
	if (!StateDisplay)
		return;
	int eventBase = 0, errorBase = 0;
	if (!XFixesQueryExtension(StateDisplay, &eventBase, &errorBase))
	{
		XCloseDisplay(StateDisplay);
		StateDisplay = 0;
		return;
	}
	XSetWindowAttributes attributes;
	attributes.override_redirect = True;
	StateWindow = XCreateWindow(StateDisplay, DefaultRootWindow(StateDisplay), 0, 0,
		STATE_WINDOW_SIZE, STATE_WINDOW_SIZE, 0, CopyFromParent, InputOutput, CopyFromParent,
		CWOverrideRedirect, &attributes);
	XStoreName(StateDisplay, StateWindow, "vistel-host editor window");
	XMapWindow(StateDisplay, StateWindow);
	XSync(StateDisplay, False);
}

void addSystemFigures(const SStateContext&, SProcessState& state)
{
	const mode_t mask = umask(022);
	umask(mask);
	char text[32];
	std::snprintf(text, sizeof(text), "%04o", static_cast<unsigned int>(mask));
	SStateFigure figures[] = {
		{ "umask", text, ESFK_KEPT },
		{ "cursor", describeCursor(), ESFK_KEPT },
		{ "threads", std::to_string(countEntries("/proc/self/task")), ESFK_SETTLED },
		{ "file descriptors", std::to_string(countEntries("/proc/self/fd")), ESFK_SETTLED },
	};
	state.insert(state.end(), figures, figures + sizeof(figures) / sizeof(figures[0]));
}

} // end namespace vistelhost

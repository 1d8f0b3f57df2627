// A plug-in that leaves the host's process changed, one way per name in the
// environment variable VISTEL_MISBEHAVE (comma-separated): the fixture that
// shows the reference host's --check-state notices each kind of change.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#if defined(__i386__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#define MISBEHAVING_EXPORT extern "C" __declspec(dllexport)
#else
#include <X11/Xlib.h>
#include <X11/cursorfont.h>
#include <sys/stat.h>
#include <unistd.h>
#define MISBEHAVING_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define MISBEHAVING_CALL __stdcall
#else
#define MISBEHAVING_CALL
#endif

namespace
{

bool asked(const char* fault)
{
	const char* list = std::getenv("VISTEL_MISBEHAVE");
	return list && (std::string(",") + list + ",").find(std::string(",") + fault + ",") != std::string::npos;
}

void changeSystemState()
{
#ifdef _WIN32
	if (asked("cursor"))
		ShowCursor(FALSE);
	if (asked("class"))
	{
		WNDCLASSA windowClass;
		std::memset(&windowClass, 0, sizeof(windowClass));
		windowClass.lpfnWndProc = DefWindowProcA;
		windowClass.hInstance = GetModuleHandleA(0);
		windowClass.lpszClassName = "CIrrDeviceWin32";
		RegisterClassA(&windowClass);
	}
	if (asked("gdi"))
		CreateSolidBrush(RGB(1, 2, 3));
	if (asked("user"))
		CreateMenu();
	if (asked("handle"))
		CreateEventA(0, TRUE, FALSE, 0);
	if (asked("quit"))
		PostQuitMessage(0);
#else
	if (asked("umask"))
		umask(077);
	if (asked("cursor"))
	{
		// A pointer grab left behind, with a cursor of its own, on a
		// connection that stays open.
		Display* display = XOpenDisplay(0);
		if (display)
		{
			XGrabPointer(display, DefaultRootWindow(display), False, 0, GrabModeAsync, GrabModeAsync,
				None, XCreateFontCursor(display, XC_watch), CurrentTime);
			XSync(display, False);
		}
	}
	if (asked("handle"))
		std::fopen("/dev/null", "r");
#endif
}

} // end anonymous namespace

MISBEHAVING_EXPORT void MISBEHAVING_CALL PluginExecute(void)
{
#if defined(__i386__) || defined(__x86_64__)
	if (asked("fpu"))
	{
		unsigned short controlWord = 0;
		__asm__ __volatile__("fnstcw %0" : "=m"(controlWord));
		controlWord = static_cast<unsigned short>(controlWord & ~0x0300u); // 24-bit precision
		__asm__ __volatile__("fldcw %0" : : "m"(controlWord));
	}
	if (asked("mxcsr"))
		_mm_setcsr(_mm_getcsr() | 0x8040u); // flush to zero, denormals are zero
#endif
	if (asked("directory"))
	{
#ifdef _WIN32
		_chdir("..");
#else
		if (chdir("..") != 0)
			std::perror("chdir");
#endif
	}
	if (asked("locale"))
		std::setlocale(LC_ALL, "C.UTF-8") || std::setlocale(LC_ALL, "");
	if (asked("thread"))
		std::thread([] { for (;;) std::this_thread::sleep_for(std::chrono::hours(1)); }).detach();
	changeSystemState();
}

MISBEHAVING_EXPORT void MISBEHAVING_CALL PluginSetCallback(void*) {}
MISBEHAVING_EXPORT const char* MISBEHAVING_CALL PluginName(void) { return "Misbehaving"; }
MISBEHAVING_EXPORT const char* MISBEHAVING_CALL PluginDescription(void) { return ""; }
MISBEHAVING_EXPORT const char* MISBEHAVING_CALL PluginTarvoVersion(void) { return "1.6"; }
MISBEHAVING_EXPORT const char* MISBEHAVING_CALL PluginVersion(void) { return "0"; }
MISBEHAVING_EXPORT const char* MISBEHAVING_CALL PluginAuthor(void) { return ""; }
MISBEHAVING_EXPORT const char* MISBEHAVING_CALL PluginEmail(void) { return ""; }

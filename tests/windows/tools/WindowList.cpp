// Lists the visible top-level windows of the Windows session it runs in
// (under Wine in the tests), with their controls' texts, so that a test on
// the build machine can read what a message box or dialog says.
// Output, one window per line, then one line per child control:
//   window <handle> <width> <height> <class>|<title>
//   control <id> <class>|<text>

#include <windows.h>

#include <cstdio>

namespace
{

BOOL CALLBACK listControl(HWND control, LPARAM)
{
	char className[256] = "";
	char text[1024] = "";
	GetClassNameA(control, className, sizeof(className));
	// GetWindowText does not ask a control of another process for its
	// current text (an edit field's typed text); WM_GETTEXT does.
	DWORD_PTR length = 0;
	SendMessageTimeoutA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
		SMTO_ABORTIFHUNG, 2000, &length);
	for (char* c = text; *c; ++c)
		if (*c == '\n' || *c == '\r')
			*c = ' ';
	std::printf("control %d %s|%s\n", GetDlgCtrlID(control), className, text);
	return TRUE;
}

BOOL CALLBACK listWindow(HWND window, LPARAM)
{
	if (!IsWindowVisible(window))
		return TRUE;
	char className[256] = "";
	char title[1024] = "";
	GetClassNameA(window, className, sizeof(className));
	GetWindowTextA(window, title, sizeof(title));
	RECT client = { 0, 0, 0, 0 };
	GetClientRect(window, &client);
	std::printf("window %p %ld %ld %s|%s\n", static_cast<void*>(window),
		static_cast<long>(client.right - client.left), static_cast<long>(client.bottom - client.top),
		className, title);
	EnumChildWindows(window, listControl, 0);
	return TRUE;
}

} // end anonymous namespace

int main()
{
	EnumWindows(listWindow, 0);
	return 0;
}

#include "QtApplication.h"

#include <QApplication>
#include <X11/Xlib.h>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <string>

namespace vistel
{
namespace platform
{

namespace
{
// QApplication keeps references to argc and argv for its whole life.
int applicationArgc = 1;
char applicationName[] = "vistel";
char* applicationArgv[] = { applicationName, 0 };
// Never destroyed: at process exit Qt's own statics may already be gone, and
// the host may unload the library while its windows still exist.
QApplication* ownApplication = 0;
}

bool ensureQtApplication()
{
	if (QCoreApplication::instance())
		return qobject_cast<QApplication*>(QCoreApplication::instance()) != 0;

	// Qt aborts the process when its platform cannot start; a plug-in must
	// not take its host down, so an X display is tried first.
	const char* platform = std::getenv("QT_QPA_PLATFORM");
	const bool usesX11 = !(platform && *platform) || std::strncmp(platform, "xcb", 3) == 0;
	if (usesX11)
	{
		// A busy X server may refuse a connection now and then; ask again
		// briefly before giving up on the display.
		Display* display = 0;
		for (int attempt = 0; attempt < 3 && !display; ++attempt)
		{
			if (attempt)
				usleep(50000);
			display = XOpenDisplay(0);
		}
		if (!display)
			return false;
		XCloseDisplay(display);
	}

	// QApplication sets the process locale from the environment; the host's
	// C library conversions ("%f", atof) must keep the locale they had.
	const char* current = std::setlocale(LC_ALL, 0);
	const std::string hostLocale = current ? current : "C";
	ownApplication = new QApplication(applicationArgc, applicationArgv);
	std::setlocale(LC_ALL, hostLocale.c_str());
	return true;
}

} // end namespace platform
} // end namespace vistel

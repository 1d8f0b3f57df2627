#include "QtApplication.h"

#include <QApplication>
#include <cstdlib>

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

	// Without a display and without an explicit platform Qt would abort the
	// process; a plug-in must not take its host down.
	const char* platform = std::getenv("QT_QPA_PLATFORM");
	const char* display = std::getenv("DISPLAY");
	const char* wayland = std::getenv("WAYLAND_DISPLAY");
	if (!(platform && *platform) && !(display && *display) && !(wayland && *wayland))
		return false;

	ownApplication = new QApplication(applicationArgc, applicationArgv);
	return true;
}

} // end namespace platform
} // end namespace vistel

#include "QtApplication.h"

#include <QApplication>
#include <cstdlib>
#include <memory>

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
std::unique_ptr<QApplication> ownApplication;
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

	ownApplication.reset(new QApplication(applicationArgc, applicationArgv));
	return true;
}

} // end namespace platform
} // end namespace vistel

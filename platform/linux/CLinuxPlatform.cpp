#include "CLinuxPlatform.h"
#include "QtApplication.h"
#include "SystemText.h"

#include <QMessageBox>
#include <QString>
#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>
#include <vector>

namespace vistel
{
namespace platform
{

void CLinuxPlatform::showMessageBox(void* owner, const std::string& text,
	const std::string& caption, EMessageBoxStyle style)
{
	(void)owner; // the preview's boxes never have an owner window
	if (!ensureQtApplication())
	{
		// No display to show a box on: keep the message where a user can
		// still find it.
		std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
		return;
	}
	// Texts are 8-bit texts of the system, such as a folder's name: decoded
	// as the user's locale encodes them.
	QMessageBox box(style == EMBS_ICON_ERROR ? QMessageBox::Critical : QMessageBox::NoIcon,
		decodeSystemText(caption), decodeSystemText(text), QMessageBox::Ok);
	box.exec();
}

std::string CLinuxPlatform::getExecutablePath()
{
	std::vector<char> buffer(4096);
	for (;;)
	{
		const ssize_t length = readlink("/proc/self/exe", &buffer[0], buffer.size());
		if (length < 0)
			return std::string();
		if (static_cast<size_t>(length) < buffer.size())
			return std::string(&buffer[0], static_cast<size_t>(length));
		buffer.resize(buffer.size() * 2);
	}
}

std::string CLinuxPlatform::getLibraryPath()
{
	Dl_info info;
	if (dladdr(reinterpret_cast<void*>(&getDefaultPlatform), &info) && info.dli_fname)
		return info.dli_fname;
	return std::string();
}

// On X11 the cursor the engine hides or shapes belongs to the engine's own
// window and goes with it: the host's windows keep theirs.
void CLinuxPlatform::keepCursor()
{
}

void CLinuxPlatform::restoreCursor()
{
}

IPlatform& getDefaultPlatform()
{
	static CLinuxPlatform platform;
	return platform;
}

} // end namespace platform
} // end namespace vistel

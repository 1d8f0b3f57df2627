#include "CRecordingPlatform.h"

namespace vistel
{
namespace platform
{

CRecordingPlatform::CRecordingPlatform()
	: ExecutablePath("/opt/tarvo/tarvo"), LibraryPath("/opt/tarvo/Plugins/libvistel.so")
{
}

void CRecordingPlatform::showMessageBox(void* owner, const std::string& text,
	const std::string& caption, EMessageBoxStyle style)
{
	SRecordedMessageBox box = { owner, text, caption, style };
	MessageBoxes.push_back(box);
}

std::string CRecordingPlatform::getExecutablePath()
{
	return ExecutablePath;
}

std::string CRecordingPlatform::getLibraryPath()
{
	return LibraryPath;
}

void CRecordingPlatform::keepCursor()
{
	CursorCalls.push_back("keep");
}

void CRecordingPlatform::restoreCursor()
{
	CursorCalls.push_back("restore");
}

CRecordingPlatform& getRecordingPlatform()
{
	static CRecordingPlatform platform;
	return platform;
}

IPlatform& getDefaultPlatform()
{
	return getRecordingPlatform();
}

} // end namespace platform
} // end namespace vistel

#ifndef VISTEL_C_WIN32_PLATFORM_H_INCLUDED
#define VISTEL_C_WIN32_PLATFORM_H_INCLUDED

#include "IPlatform.h"

#include <windows.h>

namespace vistel
{
namespace platform
{

//! Windows backend: the user interface and kernel calls of Win32, the
//! common dialogs, GDI and the engine's Direct3D 9 device.
class CWin32Platform : public IPlatform
{
public:
	virtual void showMessageBox(void* owner, const std::string& text,
		const std::string& caption, EMessageBoxStyle style);
	virtual std::string getExecutablePath();
	virtual std::string getLibraryPath();

	// The property sheet and its pages (Win32SettingsSheet.cpp).
	virtual int runSettingsSheet(const SSheetDescription& sheet);

	// Screenshots (Win32Screenshot.cpp): the drawn frame through a Direct3D 9
	// system-memory surface, the Save dialog and the JPEG file.
	virtual bool copyDrawnFrame(const SDrawingSurface& surface, SWindowPicture& picture);
	virtual void setWindowVisible(const SNativeWindow& window, bool visible);
	virtual bool askSaveFileName(const SNativeWindow& owner, const SSaveFileDialog& dialog,
		std::string& fileName);
	virtual bool writeJpegFile(const std::string& fileName, const SWindowPicture& picture);

	// The caller's cursor (Win32Cursor.cpp).
	virtual void keepCursor();
	virtual void restoreCursor();

private:
	bool CursorKept = false;
	int CursorShowCount = 0;
	HCURSOR Cursor = 0;
};

} // end namespace platform
} // end namespace vistel

#endif

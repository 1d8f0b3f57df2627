#ifndef VISTEL_C_LINUX_PLATFORM_H_INCLUDED
#define VISTEL_C_LINUX_PLATFORM_H_INCLUDED

#include "IPlatform.h"

namespace vistel
{
namespace platform
{

//! Linux backend: Qt 6 widgets for the dialogs, /proc and the dynamic
//! linker for the process facts.
class CLinuxPlatform : public IPlatform
{
public:
	virtual void showMessageBox(void* owner, const std::string& text,
		const std::string& caption, EMessageBoxStyle style);
	virtual std::string getExecutablePath();
	virtual std::string getLibraryPath();

	// The settings sheet as a Qt dialog (QtSettingsSheet.cpp).
	virtual int runSettingsSheet(const SSheetDescription& sheet);

	// Screenshots: the drawn frame from OpenGL's back buffer (GLDrawnFrame.cpp),
	// hiding the window through X (X11WindowVisibility.cpp), the Save dialog and
	// the JPEG file through Qt (QtScreenshotFile.cpp).
	virtual bool copyDrawnFrame(const SDrawingSurface& surface, SWindowPicture& picture);
	virtual void setWindowVisible(const SNativeWindow& window, bool visible);
	virtual bool askSaveFileName(const SNativeWindow& owner, const SSaveFileDialog& dialog,
		std::string& fileName);
	virtual bool writeJpegFile(const std::string& fileName, const SWindowPicture& picture);

	// The caller's cursor (nothing to do on X11).
	virtual void keepCursor();
	virtual void restoreCursor();
};

} // end namespace platform
} // end namespace vistel

#endif

#ifndef VISTEL_I_PLATFORM_H_INCLUDED
#define VISTEL_I_PLATFORM_H_INCLUDED

#include "SSheetDescription.h"
#include "SWindowPicture.h"

#include <string>

namespace vistel
{
namespace platform
{

//! How a message box looks: the plain OK box, or the one with the error icon.
enum EMessageBoxStyle
{
	EMBS_OK = 0,
	EMBS_ICON_ERROR
};

//! Everything the preview needs from the operating system and its toolkit.
/** The portable core calls only this interface; each backend implements it
for one system. Functions are named after what the preview needs, not after
the call that does it on one system. */
class IPlatform
{
public:
	virtual ~IPlatform() {}

	//! Shows a modal message box and returns when the user has closed it.
	/** \param owner Native window the box belongs to, or 0 for none. */
	virtual void showMessageBox(void* owner, const std::string& text,
		const std::string& caption, EMessageBoxStyle style) = 0;

	//! Full path of the executable file of the process (the host).
	virtual std::string getExecutablePath() = 0;

	//! Full path of the plug-in library file itself.
	virtual std::string getLibraryPath() = 0;

	// --- settings sheet ---

	//! Shows the property sheet modally and returns when it closes.
	/** \return 1 after OK, once every opened page has received ESMT_APPLY;
	0 after Cancel or when the window was closed; -1 when the sheet could
	not be shown. */
	virtual int runSettingsSheet(const SSheetDescription& sheet) = 0;

	// --- screenshots ---

	//! Copies the frame the engine has just drawn into the picture's top
	//! left corner, at most the picture's size; the rest stays as it was.
	/** Called on the thread that draws, after the frame is drawn and before
	it is presented: the frame is read back from the drawing surface itself,
	so it holds what was drawn even where another window covers the screen.
	\return false when the surface cannot be read. */
	virtual bool copyDrawnFrame(const SDrawingSurface& surface, SWindowPicture& picture) = 0;

	//! Hides the window or shows it again.
	virtual void setWindowVisible(const SNativeWindow& window, bool visible) = 0;

	//! Asks the user, modally, where to save a file.
	/** \return true with the chosen path in fileName; false when the user
	cancelled or no dialog could be shown. */
	virtual bool askSaveFileName(const SNativeWindow& owner, const SSaveFileDialog& dialog,
		std::string& fileName) = 0;

	//! Writes the picture as a JPEG file, whatever the file name's extension.
	/** \return false when the file could not be written. */
	virtual bool writeJpegFile(const std::string& fileName, const SWindowPicture& picture) = 0;

	// --- the caller's cursor ---

	//! Notes the calling thread's mouse cursor before the engine takes it
	//! over (hiding it, giving it a shape of its own).
	virtual void keepCursor() = 0;

	//! Puts the cursor noted by keepCursor back exactly as it was, once the
	//! engine is gone: the run returns into the host's own thread, whose
	//! cursor the host keeps using. Does nothing when nothing was noted.
	virtual void restoreCursor() = 0;
};

//! The backend in use: the one set with setPlatform, else the built-in one.
IPlatform& getPlatform();

//! Replaces the backend, for tests; 0 restores the built-in one.
void setPlatform(IPlatform* platform);

//! The built-in backend. Exactly one linked backend defines it.
IPlatform& getDefaultPlatform();

} // end namespace platform
} // end namespace vistel

#endif

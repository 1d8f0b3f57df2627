#ifndef VISTEL_C_RECORDING_PLATFORM_H_INCLUDED
#define VISTEL_C_RECORDING_PLATFORM_H_INCLUDED

#include "CRecordingSheet.h"
#include "IPlatform.h"
#include <functional>
#include <vector>

namespace vistel
{
namespace platform
{

//! One message box as the core asked for it.
struct SRecordedMessageBox
{
	void* Owner;
	std::string Text;
	std::string Caption;
	EMessageBoxStyle Style;
};

//! One JPEG file as the core asked for it.
struct SRecordedJpegFile
{
	std::string FileName;
	SWindowPicture Picture;
};

//! One settings sheet as the core asked for it.
struct SRecordedSheet
{
	std::string Caption;
	std::vector<int> TemplateIds;
	std::size_t StartPage;
	int Result;
};

//! Backend for tests: shows nothing, records what was asked and answers
//! with values the test sets.
class CRecordingPlatform : public IPlatform
{
public:
	CRecordingPlatform();

	virtual void showMessageBox(void* owner, const std::string& text,
		const std::string& caption, EMessageBoxStyle style);
	virtual std::string getExecutablePath();
	virtual std::string getLibraryPath();

	// --- settings sheet (RecordingSettingsSheet.cpp) ---
	//! Builds a CRecordingSheet, opens its start page and runs SheetScript
	//! on it; without a script the sheet is confirmed with OK at once. A
	//! sheet the script leaves open ends as if cancelled.
	virtual int runSettingsSheet(const SSheetDescription& sheet);

	std::function<void(CRecordingSheet&)> SheetScript;
	//! When false the sheet cannot be shown and the result is -1.
	bool SheetAvailable = true;
	//! What each sheet was asked to show, and its result.
	std::vector<SRecordedSheet> Sheets;

	// --- screenshots (RecordingScreenshots.cpp) ---
	virtual bool copyDrawnFrame(const SDrawingSurface& surface, SWindowPicture& picture);
	virtual void setWindowVisible(const SNativeWindow& window, bool visible);
	virtual bool askSaveFileName(const SNativeWindow& owner, const SSaveFileDialog& dialog,
		std::string& fileName);
	virtual bool writeJpegFile(const std::string& fileName, const SWindowPicture& picture);

	std::vector<SRecordedMessageBox> MessageBoxes;
	std::string ExecutablePath;
	std::string LibraryPath;

	// Screenshots: what was asked, in order, and the answers to give.
	//! "copyDrawnFrame", "hideWindow", "showWindow", "askSaveFileName",
	//! "writeJpegFile", in the order they were called.
	std::vector<std::string> ScreenshotCalls;
	std::vector<SSaveFileDialog> SaveDialogs;
	std::vector<SRecordedJpegFile> JpegFiles;
	//! The surface of every copyDrawnFrame, in order.
	std::vector<SDrawingSurface> CopiedSurfaces;
	bool CopySucceeds = true;
	std::uint32_t CopiedColour = 0xFF3366CCu; //!< what a successful copy paints
	std::string SaveFileName = "shot.jpg";     //!< the user's choice; empty cancels
	bool JpegWriteSucceeds = true;

	// --- the caller's cursor ---
	virtual void keepCursor();
	virtual void restoreCursor();
	//! "keep" and "restore", in the order they were called.
	std::vector<std::string> CursorCalls;
};

//! The recording backend that tests get as the built-in one.
CRecordingPlatform& getRecordingPlatform();

} // end namespace platform
} // end namespace vistel

#endif

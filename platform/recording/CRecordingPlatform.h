#ifndef VISTEL_C_RECORDING_PLATFORM_H_INCLUDED
#define VISTEL_C_RECORDING_PLATFORM_H_INCLUDED

#include "IPlatform.h"
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

	// --- screenshots (RecordingScreenshots.cpp) ---
	virtual bool copyWindowPicture(const SNativeWindow& window, SWindowPicture& picture);
	virtual void setWindowVisible(const SNativeWindow& window, bool visible);
	virtual bool askSaveFileName(const SNativeWindow& owner, const SSaveFileDialog& dialog,
		std::string& fileName);
	virtual bool writeJpegFile(const std::string& fileName, const SWindowPicture& picture);

	std::vector<SRecordedMessageBox> MessageBoxes;
	std::string ExecutablePath;
	std::string LibraryPath;

	// Screenshots: what was asked, in order, and the answers to give.
	//! "copyWindowPicture", "hideWindow", "showWindow", "askSaveFileName",
	//! "writeJpegFile", in the order they were called.
	std::vector<std::string> ScreenshotCalls;
	std::vector<SSaveFileDialog> SaveDialogs;
	std::vector<SRecordedJpegFile> JpegFiles;
	bool CopySucceeds = true;
	std::uint32_t CopiedColour = 0xFF3366CCu; //!< what a successful copy paints
	std::string SaveFileName = "shot.jpg";     //!< the user's choice; empty cancels
	bool JpegWriteSucceeds = true;
};

//! The recording backend that tests get as the built-in one.
CRecordingPlatform& getRecordingPlatform();

} // end namespace platform
} // end namespace vistel

#endif

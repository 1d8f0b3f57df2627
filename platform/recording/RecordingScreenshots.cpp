#include "CRecordingPlatform.h"

#include <algorithm>

namespace vistel
{
namespace platform
{

bool CRecordingPlatform::copyDrawnFrame(const SDrawingSurface& surface, SWindowPicture& picture)
{
	ScreenshotCalls.push_back("copyDrawnFrame");
	CopiedSurfaces.push_back(surface);
	if (!CopySucceeds)
		return false;
	std::fill(picture.Pixels.begin(), picture.Pixels.end(), CopiedColour);
	return true;
}

void CRecordingPlatform::setWindowVisible(const SNativeWindow& window, bool visible)
{
	(void)window;
	ScreenshotCalls.push_back(visible ? "showWindow" : "hideWindow");
}

bool CRecordingPlatform::askSaveFileName(const SNativeWindow& owner,
	const SSaveFileDialog& dialog, std::string& fileName)
{
	(void)owner;
	ScreenshotCalls.push_back("askSaveFileName");
	SaveDialogs.push_back(dialog);
	if (SaveFileName.empty())
		return false;
	fileName = SaveFileName;
	return true;
}

bool CRecordingPlatform::writeJpegFile(const std::string& fileName, const SWindowPicture& picture)
{
	ScreenshotCalls.push_back("writeJpegFile");
	SRecordedJpegFile file = { fileName, picture };
	JpegFiles.push_back(file);
	return JpegWriteSucceeds;
}

} // end namespace platform
} // end namespace vistel

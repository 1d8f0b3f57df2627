#include "Screenshot.h"

#include "IPlatform.h"
#include "PreviewWindow.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <IGUIStaticText.h>
#include <IrrlichtDevice.h>
#include <new>

namespace vistel
{

namespace
{

// Larger than any screen; a size beyond it is a broken setting, not a window.
const int MAX_PICTURE_SIDE = 16384;

void finishScreenshot()
{
	SPreviewRunState& state = getPreviewRunState();
	state.screenshotRequested = false;
	if (state.screenshotLabel)
		state.screenshotLabel->setVisible(false);
}

void showError(const char* text, const char* caption)
{
	platform::getPlatform().showMessageBox(0, text, caption, platform::EMBS_OK);
}

} // end anonymous namespace

bool createBlackPicture(int width, int height, platform::SWindowPicture& picture)
{
	if (width <= 0 || height <= 0 || width > MAX_PICTURE_SIDE || height > MAX_PICTURE_SIDE)
		return false;
	try
	{
		picture.Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height),
			0xFF000000u);
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
	picture.Width = width;
	picture.Height = height;
	return true;
}

platform::SSaveFileDialog getScreenshotSaveDialog()
{
	platform::SSaveFileDialog dialog;
	dialog.Title = "Save your screenshot to file...";
	dialog.FilterName = "JPEG Image";
	dialog.FilterPattern = "*.jpg";
	dialog.DefaultSuffix = "jpg";
	dialog.ConfirmOverwrite = true;
	return dialog;
}

void takeScreenshot(irr::IrrlichtDevice* device, const SPreviewSettings& settings)
{
	platform::IPlatform& system = platform::getPlatform();
	platform::SWindowPicture picture = platform::SWindowPicture();
	if (!device || !createBlackPicture(settings.engine.screenWidth, settings.engine.screenHeight,
			picture))
	{
		showError("Errore creazione", "Errore");
		finishScreenshot();
		return;
	}

	const platform::SNativeWindow window = getPreviewWindow(device->getVideoDriver());
	if (!system.copyWindowPicture(window, picture))
		showError("Stretch Error", "Error");

	// A full-screen window would cover the dialog.
	if (settings.engine.fullscreen)
		system.setWindowVisible(window, false);
	std::string fileName;
	if (system.askSaveFileName(window, getScreenshotSaveDialog(), fileName)
		&& !system.writeJpegFile(fileName, picture))
		showError("Error", "Error");
	if (settings.engine.fullscreen)
		system.setWindowVisible(window, true);

	finishScreenshot();
}

} // end namespace vistel

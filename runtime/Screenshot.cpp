#include "Screenshot.h"

#include "IPlatform.h"
#include "PreviewWindow.h"
#include "RenderLoop.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <IGUIStaticText.h>
#include <IrrlichtDevice.h>
#include <IVideoDriver.h>
#include <IImage.h>
#include <new>

using namespace irr;

namespace vistel
{

namespace
{

// Larger than any screen; a size beyond it is a broken setting, not a window.
const int MAX_PICTURE_SIDE = 16384;

// Key presses that reached the preview window while the picture was being
// saved (a second P, pressed before the dialog took the focus) wait in the
// window's queue until the engine reads it again. They are handled here, while this
// request is still pending, so they cannot ask for a new one; keys still
// held are forgotten, as when the window loses the focus, so their later
// release is no command either. Then the request ends.
void finishScreenshot(IrrlichtDevice* device)
{
	SPreviewRunState& state = getPreviewRunState();
	if (device)
		device->run();
	forgetHeldKeys();
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

namespace
{

// The engine's own copy of its frame, for drivers whose surface the platform
// does not read (the software renderer keeps its frame in memory).
bool copyEngineFrame(video::IVideoDriver* driver, platform::SWindowPicture& picture)
{
	video::IImage* image = driver->createScreenShot();
	if (!image)
		return false;
	const core::dimension2du size = image->getDimension();
	const u32 width = core::min_(size.Width, static_cast<u32>(picture.Width));
	const u32 height = core::min_(size.Height, static_cast<u32>(picture.Height));
	for (u32 y = 0; y < height; ++y)
		for (u32 x = 0; x < width; ++x)
			picture.Pixels[static_cast<size_t>(y) * picture.Width + x]
				= image->getPixel(x, y).color | 0xFF000000u;
	image->drop();
	return width > 0 && height > 0;
}

} // end anonymous namespace

void captureScreenshotFrame(IrrlichtDevice* device, const SPreviewSettings& settings,
	SScreenshotFrame& frame)
{
	frame.Copied = false;
	frame.Made = device && createBlackPicture(settings.engine.screenWidth,
		settings.engine.screenHeight, frame.Picture);
	if (!frame.Made)
		return;
	video::IVideoDriver* driver = device->getVideoDriver();
	frame.Copied = platform::getPlatform().copyDrawnFrame(getDrawingSurface(driver), frame.Picture)
		|| copyEngineFrame(driver, frame.Picture);
}

void takeScreenshot(IrrlichtDevice* device, const SPreviewSettings& settings,
	const SScreenshotFrame& frame)
{
	platform::IPlatform& system = platform::getPlatform();
	if (!device || !frame.Made)
	{
		showError("Errore creazione", "Errore");
		finishScreenshot(device);
		return;
	}
	if (!frame.Copied)
		showError("Stretch Error", "Error");

	// A full-screen window would cover the dialog.
	const platform::SNativeWindow window = getPreviewWindow(device->getVideoDriver());
	if (settings.engine.fullscreen)
		system.setWindowVisible(window, false);
	std::string fileName;
	if (system.askSaveFileName(window, getScreenshotSaveDialog(), fileName)
		&& !system.writeJpegFile(fileName, frame.Picture))
		showError("Error", "Error");
	if (settings.engine.fullscreen)
		system.setWindowVisible(window, true);

	finishScreenshot(device);
}

} // end namespace vistel

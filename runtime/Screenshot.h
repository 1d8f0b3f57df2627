#ifndef VISTEL_SCREENSHOT_H_INCLUDED
#define VISTEL_SCREENSHOT_H_INCLUDED

#include "SWindowPicture.h"

namespace irr
{
class IrrlichtDevice;
}

namespace vistel
{

struct SPreviewSettings;

//! The picture of a screenshot, read from the frame of its request.
struct SScreenshotFrame
{
	platform::SWindowPicture Picture;
	bool Made = false;   //!< a picture of the window's size could be had
	bool Copied = false; //!< the drawn frame is in it; else it is black
};

//! Reads the frame just drawn (label included) into the screenshot's
//! picture. Called after the frame is drawn and before the buffers swap, so
//! the picture is what the preview drew even where other windows cover it.
void captureScreenshotFrame(irr::IrrlichtDevice* device, const SPreviewSettings& settings,
	SScreenshotFrame& frame);

//! Takes the screenshot asked for with P, from the frame captured for it:
//! asks where to save it and writes it there as a JPEG file. Then handles
//! the input that reached the window meanwhile, while the request is still
//! pending, so that a P pressed again before the dialog showed takes no
//! second screenshot; and ends the request and hides the label, whatever
//! happened. Problems are reported in message boxes.
void takeScreenshot(irr::IrrlichtDevice* device, const SPreviewSettings& settings,
	const SScreenshotFrame& frame);

//! A black width x height picture; false when that size cannot be had.
bool createBlackPicture(int width, int height, platform::SWindowPicture& picture);

//! The Save dialog of a screenshot.
platform::SSaveFileDialog getScreenshotSaveDialog();

} // end namespace vistel

#endif

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

//! Takes the screenshot asked for with P: copies what the window shows (the
//! frame just presented, label included), asks where to save it and writes
//! it there as a JPEG file. Ends the request and hides the label, whatever
//! happened; problems are reported in message boxes.
void takeScreenshot(irr::IrrlichtDevice* device, const SPreviewSettings& settings);

//! A black width x height picture; false when that size cannot be had.
bool createBlackPicture(int width, int height, platform::SWindowPicture& picture);

//! The Save dialog of a screenshot.
platform::SSaveFileDialog getScreenshotSaveDialog();

} // end namespace vistel

#endif

#ifndef VISTEL_PREVIEW_WINDOW_H_INCLUDED
#define VISTEL_PREVIEW_WINDOW_H_INCLUDED

#include "SWindowPicture.h"

namespace irr
{
namespace video
{
class IVideoDriver;
}
}

namespace vistel
{

//! The window the driver draws into, as the driver exposes it. Both fields
//! are 0 for drivers that expose none (the software and null drivers).
platform::SNativeWindow getPreviewWindow(irr::video::IVideoDriver* driver);

//! What the driver draws a frame into, for reading the frame back.
platform::SDrawingSurface getDrawingSurface(irr::video::IVideoDriver* driver);

} // end namespace vistel

#endif

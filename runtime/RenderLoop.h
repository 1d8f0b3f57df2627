#ifndef VISTEL_RENDER_LOOP_H_INCLUDED
#define VISTEL_RENDER_LOOP_H_INCLUDED

#include <irrTypes.h>

namespace irr
{
class IrrlichtDevice;
}

namespace vistel
{

struct SPreviewSettings;

//! Draws the preview until the window closes or Escape was pressed.
/** A quit request ends the loop as soon as the window's messages were
handled, without another frame; the device is left for the run's tear-down
to close. While the window is inactive only the window's messages are handled,
with a short sleep each time so that a preview in the background does not
keep a processor busy. When the window loses the focus the camera is told
that its keys were released. */
void runRenderLoop(irr::IrrlichtDevice* device, SPreviewSettings& settings);

//! One frame of an active window: draw, keep the title and the screens up
//! to date, take a requested screenshot and expire old messages.
/** \param lastFrameRate the frame rate the title shows; updated when the
title is rewritten. Starts at 0, so the title is first set once the rate is
known. */
void renderActiveFrame(irr::IrrlichtDevice* device, SPreviewSettings& settings,
	irr::s32& lastFrameRate);

//! What the window forgets when it loses the focus: the keys held down in
//! it, whose releases now go to another window. The camera stops moving and
//! a release that comes back later is no command.
void forgetHeldKeys();

//! Clears the message text once its message is old enough, unless a screen
//! is shown.
void expireMessage();

} // end namespace vistel

#endif

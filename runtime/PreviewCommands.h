#ifndef VISTEL_PREVIEW_COMMANDS_H_INCLUDED
#define VISTEL_PREVIEW_COMMANDS_H_INCLUDED

#include <Keycodes.h>

namespace vistel
{

struct SPreviewSettings;

// The single-key commands of the preview. Each works on the run state and
// the settings record; one whose object is missing does nothing and shows
// nothing.

//! Carries out the command of a released key; other keys do nothing.
void runKeyCommand(irr::EKEY_CODE key, SPreviewSettings& settings);

//! Escape: the render loop closes the device.
void requestQuit();

//! C: the camera back at its start, with a fresh collision animator.
void resetCamera(const SPreviewSettings& settings);

//! B: back-face culling on or off in every material of the level.
void toggleBackfaceCulling(SPreviewSettings& settings);

//! M: wireframe on or off in every material of the level.
void toggleWireframe(SPreviewSettings& settings);

//! F: the flashlight, and with shaders its materials, on or off.
void toggleFlashlight(const SPreviewSettings& settings);

//! G: gravity on or off.
void toggleGravity(const SPreviewSettings& settings);

//! K: collisions on or off.
void toggleCollisions();

//! P: the render loop takes a screenshot after this frame is drawn.
void requestScreenshot();

//! I: the info screen on or off; on hides the help screen.
void toggleInfoScreen();

//! F1: the help screen on or off; on hides the info screen.
void toggleHelpScreen();

} // end namespace vistel

#endif

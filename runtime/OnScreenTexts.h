#ifndef VISTEL_ON_SCREEN_TEXTS_H_INCLUDED
#define VISTEL_ON_SCREEN_TEXTS_H_INCLUDED

#include <irrString.h>

namespace irr
{
namespace gui
{
class IGUIEnvironment;
}
}

namespace vistel
{

struct SPreviewSettings;

//! How long a command's confirmation stays on screen, in engine milliseconds.
const irr::f32 MESSAGE_LIFETIME_MS = 4000.f;

//! Makes the red message text in the upper left corner and the hidden
//! screenshot label in the lower right corner of a width x height window,
//! and keeps both in the run state.
void createOnScreenTexts(irr::gui::IGUIEnvironment* gui, irr::s32 width, irr::s32 height);

//! Shows a command's confirmation in the message text and notes the time,
//! so that the render loop clears it again after a while.
void showMessage(const wchar_t* text);

//! The message the preview starts with when texture files of the level could
//! not be loaded: "N textures could not be loaded" ("1 texture ..." for one).
irr::core::stringw buildMissingTexturesMessage(irr::u32 count);

//! Shows that message like a command's confirmation; nothing for a count of 0.
void showMissingTexturesMessage(irr::u32 count);

//! A floating-point value cut toward zero; values beyond the integer range
//! give its nearest end and NaN gives 0, so no input is undefined.
irr::s32 truncateToInteger(irr::f32 value);

//! The window title with the frame rate.
irr::core::stringw buildWindowTitle(irr::s32 framesPerSecond);

//! The info screen: version, frame rate, camera position, the state of every
//! toggle and the primitives drawn, from the run state and the settings.
irr::core::stringw buildInfoScreen(irr::s32 framesPerSecond, irr::u32 primitivesDrawn,
	const SPreviewSettings& settings);

//! The help screen: the list of commands.
irr::core::stringw buildHelpScreen();

} // end namespace vistel

#endif

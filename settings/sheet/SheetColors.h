#ifndef VISTEL_SHEET_COLORS_H_INCLUDED
#define VISTEL_SHEET_COLORS_H_INCLUDED

#include "ISheetPage.h"

#include <SColor.h>

namespace vistel
{

//! A record colour as the colour dialog takes it: red in the low byte, then
//! green and blue; the alpha is dropped.
unsigned int toDialogColor(irr::video::SColor color);

//! The dialog's colour back as a record colour with the given alpha.
irr::video::SColor fromDialogColor(unsigned int color, irr::u32 alpha);

//! The colour dialog's custom colours: zero when the library is loaded,
//! shared by every colour chooser, kept while the library stays loaded.
unsigned int (&getSheetCustomColors())[platform::SHEET_CUSTOM_COLOR_COUNT];

//! Runs the colour dialog from color; when the user chooses, stores the
//! choice into color with the given alpha and returns true.
bool chooseSheetColor(platform::ISheetPage& page, irr::video::SColor& color, irr::u32 alpha);

//! Answers a static control's paint question: the swatch is filled with
//! the colour, every other static control with the button face.
void answerSheetPaint(platform::SSheetMessage& message, int swatchId,
	irr::video::SColor swatchColor);

} // end namespace vistel

#endif

#ifndef VISTEL_SHEET_TEXT_H_INCLUDED
#define VISTEL_SHEET_TEXT_H_INCLUDED

#include "ISheetPage.h"

#include <irrTypes.h>
#include <string>

namespace vistel
{

//! Characters a page reads of a control's text; the rest is cut off.
const std::size_t SHEET_TEXT_READ_LIMIT = 254;

//! A float as the pages show it: "%f", six decimals.
std::string formatSheetFloat(irr::f32 value);

//! A percentage as the pages show it: "%d%%".
std::string formatSheetPercent(irr::s32 value);

//! A control's text as a page reads it: at most SHEET_TEXT_READ_LIMIT
//! characters.
std::string readSheetText(platform::ISheetPage& page, int id);

//! A control's text through the C library's atof: the longest leading part
//! that forms a number, 0.0 for a text that does not begin with one.
irr::f32 readSheetFloat(platform::ISheetPage& page, int id);

} // end namespace vistel

#endif

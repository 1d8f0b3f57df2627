#ifndef VISTEL_SHEET_TRACKBAR_H_INCLUDED
#define VISTEL_SHEET_TRACKBAR_H_INCLUDED

#include "ISheetPage.h"

#include <irrTypes.h>

namespace vistel
{

//! Range and tick spacing of the sheet's percentage trackbars.
const int SHEET_TRACKBAR_MINIMUM = 0;
const int SHEET_TRACKBAR_MAXIMUM = 100;
const int SHEET_TRACKBAR_TICK_SPACING = 10;

//! Sets up a percentage trackbar: range, position, ticks.
void openSheetTrackbar(platform::ISheetPage& page, int id, int position);

//! The trackbar position standing for a stored percentage counted from
//! the far end (100 - percent), kept within the range even for percentages
//! a file brought in from anywhere.
int getInvertedTrackbarPosition(irr::s32 percent);

//! True for the scroll codes after which a trackbar's display follows its
//! position; the other actions end with ESSC_END_TRACK, which follows them.
bool isSheetTrackbarDisplayCode(int scrollCode);

} // end namespace vistel

#endif

#include "SheetTrackbar.h"

namespace vistel
{

using namespace platform;

void openSheetTrackbar(ISheetPage& page, int id, int position)
{
	page.setTrackbarRange(id, SHEET_TRACKBAR_MINIMUM, SHEET_TRACKBAR_MAXIMUM);
	page.setTrackbarPosition(id, position);
	page.setTrackbarTickFrequency(id, SHEET_TRACKBAR_TICK_SPACING);
}

int getInvertedTrackbarPosition(irr::s32 percent)
{
	// In 64 bits: 100 - percent overflows an s32 for the lowest values.
	const long long position = 100LL - percent;
	if (position < SHEET_TRACKBAR_MINIMUM)
		return SHEET_TRACKBAR_MINIMUM;
	if (position > SHEET_TRACKBAR_MAXIMUM)
		return SHEET_TRACKBAR_MAXIMUM;
	return static_cast<int>(position);
}

bool isSheetTrackbarDisplayCode(int scrollCode)
{
	return scrollCode == ESSC_LINE_UP || scrollCode == ESSC_LINE_DOWN
		|| scrollCode == ESSC_THUMB_TRACK || scrollCode == ESSC_END_TRACK;
}

} // end namespace vistel

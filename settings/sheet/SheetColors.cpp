#include "SheetColors.h"

namespace vistel
{

using namespace platform;

namespace
{
unsigned int customColors[SHEET_CUSTOM_COLOR_COUNT] = {};
}

unsigned int toDialogColor(irr::video::SColor color)
{
	return color.getRed() | (color.getGreen() << 8) | (color.getBlue() << 16);
}

irr::video::SColor fromDialogColor(unsigned int color, irr::u32 alpha)
{
	return irr::video::SColor(alpha, color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

unsigned int (&getSheetCustomColors())[SHEET_CUSTOM_COLOR_COUNT]
{
	return customColors;
}

bool chooseSheetColor(ISheetPage& page, irr::video::SColor& color, irr::u32 alpha)
{
	unsigned int chosen = toDialogColor(color);
	if (!page.chooseColor(chosen, customColors))
		return false;
	color = fromDialogColor(chosen, alpha);
	return true;
}

void answerSheetPaint(SSheetMessage& message, int swatchId, irr::video::SColor swatchColor)
{
	message.FillWithColor = message.ControlId == swatchId;
	message.FillColor = message.FillWithColor ? toDialogColor(swatchColor) : 0;
}

} // end namespace vistel

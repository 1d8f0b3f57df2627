#include "SheetText.h"

#include <cstdio>
#include <cstdlib>

namespace vistel
{

namespace
{
// Large enough for "%f" of any float (at most 47 characters) and any s32.
const std::size_t FORMAT_BUFFER_SIZE = 64;
}

std::string formatSheetFloat(irr::f32 value)
{
	char buffer[FORMAT_BUFFER_SIZE];
	std::snprintf(buffer, sizeof(buffer), "%f", static_cast<double>(value));
	return buffer;
}

std::string formatSheetPercent(irr::s32 value)
{
	char buffer[FORMAT_BUFFER_SIZE];
	std::snprintf(buffer, sizeof(buffer), "%d%%", static_cast<int>(value));
	return buffer;
}

std::string readSheetText(platform::ISheetPage& page, int id)
{
	std::string text = page.getText(id);
	if (text.size() > SHEET_TEXT_READ_LIMIT)
		text.resize(SHEET_TEXT_READ_LIMIT);
	return text;
}

irr::f32 readSheetFloat(platform::ISheetPage& page, int id)
{
	// A text with an embedded zero byte ends there, as it would in a C buffer.
	return static_cast<irr::f32>(std::atof(readSheetText(page, id).c_str()));
}

} // end namespace vistel

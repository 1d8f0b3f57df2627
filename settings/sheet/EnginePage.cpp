#include "SheetPages.h"
#include "SheetResourceIds.h"
#include "SPreviewSettings.h"

#include <cstdio>
#include <cstdlib>

namespace vistel
{

using namespace platform;

namespace
{

// Width x height x colour depth; the list is shown in this order.
const char* const RESOLUTIONS[] = {
	"320x240x16", "640x480x16", "800x600x16", "1024x600x16", "1024x768x16", "1152x864x16",
	"1280x1024x16", "1400x1050x16", "1440x900x16", "1600x1200x16", "1792x1344x16",
	"1800x1440x16", "320x240x32", "640x480x32", "800x600x32", "1024x600x32", "1024x768x32",
	"1152x864x32", "1280x1024x32", "1400x1050x32", "1440x900x32", "1600x1200x32",
	"1792x1344x32", "1800x1440x32"
};

// Informational only: the preview always uses the engine's one driver.
const char DEVICE_NAME[] = "DirectX 9.0c";

SEngineSettings* engine = 0;

void openPage(ISheetPage& page)
{
	page.setChecked(EENG_IGNORE_SHADOWS, engine->ignoreShadows);
	page.setChecked(EENG_FULLSCREEN, engine->fullscreen);
	page.setChecked(EENG_SELECTED_ONLY, engine->selectedOnly);
	page.setChecked(EENG_HIDE_MOUSE_CURSOR, engine->hideMouseCursor);
	page.setChecked(EENG_BACKFACE_CULLING, engine->backfaceCulling);
	page.setChecked(EENG_WIREFRAME, engine->wireframe);
	// Normal mapping cannot be chosen here: the box is always off.
	page.setChecked(EENG_NORMAL_MAPPING, false);

	for (const char* resolution : RESOLUTIONS)
		page.addListEntry(EENG_RESOLUTION_LIST, resolution);
	char mode[64];
	std::snprintf(mode, sizeof(mode), "%dx%dx%d", static_cast<int>(engine->screenWidth),
		static_cast<int>(engine->screenHeight), static_cast<int>(engine->colorBits));
	// A mode that is none of the entries leaves the list without a selection.
	page.setListSelection(EENG_RESOLUTION_LIST,
		page.findListEntryExact(EENG_RESOLUTION_LIST, mode));

	page.addListEntry(EENG_DEVICE_LIST, DEVICE_NAME);
	page.setListSelection(EENG_DEVICE_LIST, 0);

	page.setEnabled(EENG_SELECTED_ONLY, false);
	page.setEnabled(EENG_DEVICE_LIST, false);
	page.setEnabled(EENG_NORMAL_MAPPING, false);
}

// Width, height and depth from an entry such as "1280x1024x16". Without a
// selection the loaded mode stays, so the fields always hold a mode.
void storeResolution(ISheetPage& page)
{
	const int selection = page.getListSelection(EENG_RESOLUTION_LIST);
	if (selection < 0)
		return;
	const std::string entry = page.getListEntry(EENG_RESOLUTION_LIST, selection);
	irr::s32* const fields[] = { &engine->screenWidth, &engine->screenHeight, &engine->colorBits };
	std::size_t start = 0;
	for (irr::s32* field : fields)
	{
		if (start > entry.size())
			break;
		const std::size_t end = entry.find('x', start);
		*field = std::atoi(entry.substr(start, end - start).c_str());
		start = end == std::string::npos ? entry.size() + 1 : end + 1;
	}
}

void applyPage(ISheetPage& page)
{
	engine->ignoreShadows = page.isChecked(EENG_IGNORE_SHADOWS);
	engine->fullscreen = page.isChecked(EENG_FULLSCREEN);
	engine->selectedOnly = page.isChecked(EENG_SELECTED_ONLY);
	engine->hideMouseCursor = page.isChecked(EENG_HIDE_MOUSE_CURSOR);
	engine->useNormalMapping = page.isChecked(EENG_NORMAL_MAPPING);
	engine->backfaceCulling = page.isChecked(EENG_BACKFACE_CULLING);
	engine->wireframe = page.isChecked(EENG_WIREFRAME);
	storeResolution(page);
}

bool handleCommand(ISheetPage& page, const SSheetMessage& message)
{
	switch (message.ControlId)
	{
	case EENG_FULLSCREEN:
	case EENG_IGNORE_SHADOWS:
	case EENG_HIDE_MOUSE_CURSOR:
	case EENG_BACKFACE_CULLING:
	case EENG_WIREFRAME:
		if (message.Code != ESN_CLICKED)
			return false;
		page.reportChange();
		return true;
	case EENG_RESOLUTION_LIST:
		if (message.Code != ESN_SELECTION_CHANGE)
			return false;
		page.reportChange();
		return true;
	default:
		return false;
	}
}

} // end anonymous namespace

bool enginePageProc(ISheetPage& page, SSheetMessage& message)
{
	if (message.Type == ESMT_OPEN)
	{
		engine = static_cast<SEngineSettings*>(message.Record);
		if (!engine)
			return false;
		openPage(page);
		return true;
	}
	if (!engine)
		return false;
	switch (message.Type)
	{
	case ESMT_COMMAND:
		return handleCommand(page, message);
	case ESMT_APPLY:
		applyPage(page);
		return true;
	default:
		return false;
	}
}

} // end namespace vistel

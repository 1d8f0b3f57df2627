#include "SheetColors.h"
#include "SheetPages.h"
#include "SheetResourceIds.h"
#include "SheetText.h"
#include "SheetTrackbar.h"
#include "SkyboxTexturePicker.h"

namespace vistel
{

using namespace platform;

namespace
{

SLevelSettings* level = 0;

// The background is drawn opaque.
const irr::u32 BACKGROUND_ALPHA = 255;

// Each percentage trackbar with its display and its field.
struct SPercentControl
{
	int TrackbarId;
	int DisplayId;
	irr::s32 SLevelSettings::*Field;
};

const SPercentControl PERCENT_CONTROLS[] = {
	{ ELEV_SHADOW_TRACKBAR, ELEV_SHADOW_PERCENT, &SLevelSettings::shadowOpacity },
	{ ELEV_SCALE_X_TRACKBAR, ELEV_SCALE_X_PERCENT, &SLevelSettings::scaleX },
	{ ELEV_SCALE_Y_TRACKBAR, ELEV_SCALE_Y_PERCENT, &SLevelSettings::scaleY },
	{ ELEV_SCALE_Z_TRACKBAR, ELEV_SCALE_Z_PERCENT, &SLevelSettings::scaleZ },
};

const int FACE_BUTTONS[] = { ELEV_TOP_TEXTURE, ELEV_LEFT_TEXTURE, ELEV_RIGHT_TEXTURE,
	ELEV_BOTTOM_TEXTURE, ELEV_BACK_TEXTURE, ELEV_CENTER_TEXTURE };

void enableFaceButtons(ISheetPage& page, bool enabled)
{
	for (int id : FACE_BUTTONS)
		page.setEnabled(id, enabled);
}

void openPage(ISheetPage& page)
{
	for (const SPercentControl& control : PERCENT_CONTROLS)
	{
		openSheetTrackbar(page, control.TrackbarId, level->*control.Field);
		page.setText(control.DisplayId, formatSheetPercent(level->*control.Field));
	}
	page.setChecked(ELEV_USE_SKYBOX, level->useSkybox);
	enableFaceButtons(page, level->useSkybox);
}

// Colours, paths and flags were written when chosen.
void applyPage(ISheetPage& page)
{
	for (const SPercentControl& control : PERCENT_CONTROLS)
		level->*control.Field = page.getTrackbarPosition(control.TrackbarId);
	level->useSkybox = page.isChecked(ELEV_USE_SKYBOX);
}

void changeBackgroundColor(ISheetPage& page)
{
	if (!chooseSheetColor(page, level->backgroundColor, BACKGROUND_ALPHA))
		return;
	// Showing the page afresh repaints the swatch in the new colour.
	page.showPage(ESPI_ABOUT);
	page.showPage(ESPI_LEVEL);
}

bool handleCommand(ISheetPage& page, const SSheetMessage& message)
{
	if (message.Code != ESN_CLICKED)
		return false;
	if (message.ControlId == ELEV_CHANGE_COLOR)
	{
		changeBackgroundColor(page);
		return true;
	}
	if (message.ControlId == ELEV_USE_SKYBOX)
	{
		enableFaceButtons(page, page.isChecked(ELEV_USE_SKYBOX));
		page.reportChange();
		return true;
	}
	const SSkyboxFace* face = findSkyboxFace(message.ControlId);
	if (!face)
		return false;
	pickSkyboxTexture(page, *face, *level);
	return true;
}

bool handleScroll(ISheetPage& page, const SSheetMessage& message)
{
	for (const SPercentControl& control : PERCENT_CONTROLS)
	{
		if (control.TrackbarId != message.ControlId)
			continue;
		if (isSheetTrackbarDisplayCode(message.Code))
		{
			page.setText(control.DisplayId,
				formatSheetPercent(page.getTrackbarPosition(control.TrackbarId)));
			page.reportChange();
		}
		return true;
	}
	return false;
}

} // end anonymous namespace

bool levelPageProc(ISheetPage& page, SSheetMessage& message)
{
	if (message.Type == ESMT_OPEN)
	{
		level = static_cast<SLevelSettings*>(message.Record);
		if (!level)
			return false;
		openPage(page);
		return true;
	}
	if (!level)
		return false;
	switch (message.Type)
	{
	case ESMT_COMMAND:
		return handleCommand(page, message);
	case ESMT_HSCROLL:
		return handleScroll(page, message);
	case ESMT_PAINT_STATIC:
		answerSheetPaint(message, ELEV_COLOR_SWATCH, level->backgroundColor);
		return true;
	case ESMT_APPLY:
		applyPage(page);
		return true;
	default:
		return false;
	}
}

} // end namespace vistel

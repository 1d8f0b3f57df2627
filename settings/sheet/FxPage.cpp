#include "SheetColors.h"
#include "SheetPages.h"
#include "SheetResourceIds.h"
#include "SheetText.h"
#include "SPreviewSettings.h"

namespace vistel
{

using namespace platform;

namespace
{

SFxSettings* fx = 0;

// The effect colour's alpha is not used for drawing and stays 0.
const irr::u32 EFFECT_ALPHA = 0;

void openPage(ISheetPage& page)
{
	page.setText(EFX_ANGLE_EDIT, formatSheetFloat(fx->flashlightAngle));
	page.setText(EFX_DISTANCE_EDIT, formatSheetFloat(fx->flashlightDistance));
	page.setText(EFX_RATIO_X_EDIT, formatSheetFloat(fx->screenRatioX));
	page.setText(EFX_RATIO_Y_EDIT, formatSheetFloat(fx->screenRatioY));
	page.setChecked(EFX_LASER_MODE, fx->laserMode);
	page.setChecked(EFX_USE_SHADER, fx->useShader);
}

// The colour was written when chosen.
void applyPage(ISheetPage& page)
{
	fx->flashlightAngle = readSheetFloat(page, EFX_ANGLE_EDIT);
	fx->flashlightDistance = readSheetFloat(page, EFX_DISTANCE_EDIT);
	fx->screenRatioX = readSheetFloat(page, EFX_RATIO_X_EDIT);
	fx->screenRatioY = readSheetFloat(page, EFX_RATIO_Y_EDIT);
	fx->laserMode = page.isChecked(EFX_LASER_MODE);
	fx->useShader = page.isChecked(EFX_USE_SHADER);
}

// Showing the page afresh repaints the swatch in the new colour.
void repaintSwatch(ISheetPage& page)
{
	page.showPage(ESPI_ABOUT);
	page.showPage(ESPI_FX);
}

// A laser is a thin, far-reaching red beam; the flashlight a wide white cone.
void switchLaserMode(ISheetPage& page)
{
	if (page.isChecked(EFX_LASER_MODE))
	{
		page.setText(EFX_ANGLE_EDIT, "1.0");
		page.setText(EFX_DISTANCE_EDIT, "2000.0");
		fx->flashlightColor = irr::video::SColor(0x00FF0000);
	}
	else
	{
		page.setText(EFX_ANGLE_EDIT, "30.0");
		page.setText(EFX_DISTANCE_EDIT, "500.0");
		fx->flashlightColor = irr::video::SColor(0x00FFFFFF);
	}
	repaintSwatch(page);
}

bool handleCommand(ISheetPage& page, const SSheetMessage& message)
{
	switch (message.ControlId)
	{
	case EFX_ANGLE_EDIT:
	case EFX_DISTANCE_EDIT:
	case EFX_RATIO_X_EDIT:
	case EFX_RATIO_Y_EDIT:
		page.reportChange();
		return true;
	case EFX_CHANGE_COLOR:
		if (message.Code != ESN_CLICKED)
			return false;
		if (chooseSheetColor(page, fx->flashlightColor, EFFECT_ALPHA))
			repaintSwatch(page);
		return true;
	case EFX_LASER_MODE:
		if (message.Code != ESN_CLICKED)
			return false;
		switchLaserMode(page);
		return true;
	case EFX_USE_SHADER:
		// Stored on OK.
		return message.Code == ESN_CLICKED;
	default:
		return false;
	}
}

} // end anonymous namespace

bool fxPageProc(ISheetPage& page, SSheetMessage& message)
{
	if (message.Type == ESMT_OPEN)
	{
		fx = static_cast<SFxSettings*>(message.Record);
		if (!fx)
			return false;
		openPage(page);
		return true;
	}
	if (!fx)
		return false;
	switch (message.Type)
	{
	case ESMT_COMMAND:
		return handleCommand(page, message);
	case ESMT_PAINT_STATIC:
		answerSheetPaint(message, EFX_COLOR_SWATCH, fx->flashlightColor);
		return true;
	case ESMT_APPLY:
		applyPage(page);
		return true;
	default:
		return false;
	}
}

} // end namespace vistel

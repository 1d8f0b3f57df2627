#include "SheetPages.h"
#include "SheetResourceIds.h"
#include "SheetText.h"
#include "SheetTrackbar.h"
#include "SPreviewSettings.h"

namespace vistel
{

using namespace platform;

namespace
{

SCameraSettings* camera = 0;

const int USER_POSITION_EDITS[] = { ECAM_X_EDIT, ECAM_Y_EDIT, ECAM_Z_EDIT };

void enableUserPosition(ISheetPage& page, bool enabled)
{
	for (int id : USER_POSITION_EDITS)
		page.setEnabled(id, enabled);
}

// The trackbar's top is 100 %: the display shows 100 - position.
void showEllipsoidPercent(ISheetPage& page)
{
	page.setText(ECAM_ELLIPSOID_PERCENT,
		formatSheetPercent(100 - page.getTrackbarPosition(ECAM_ELLIPSOID_TRACKBAR)));
}

void openPage(ISheetPage& page)
{
	openSheetTrackbar(page, ECAM_ELLIPSOID_TRACKBAR,
		getInvertedTrackbarPosition(camera->ellipsoidPosition));
	page.setText(ECAM_ELLIPSOID_PERCENT, formatSheetPercent(camera->ellipsoidPosition));

	page.setChecked(ECAM_PLACE_IN_CENTER, camera->placeInCenter);
	page.setChecked(ECAM_USE_USER_POSITION, camera->useUserPosition);
	enableUserPosition(page, camera->useUserPosition);

	page.setText(ECAM_X_EDIT, formatSheetFloat(camera->userPosition.X));
	page.setText(ECAM_Y_EDIT, formatSheetFloat(camera->userPosition.Y));
	page.setText(ECAM_Z_EDIT, formatSheetFloat(camera->userPosition.Z));
	page.setText(ECAM_MOVE_SPEED_EDIT, formatSheetFloat(camera->moveSpeed));
	page.setText(ECAM_ROTATE_SPEED_EDIT, formatSheetFloat(camera->rotateSpeed));
	page.setText(ECAM_FAR_EDIT, formatSheetFloat(camera->farValue));
	page.setText(ECAM_NEAR_EDIT, formatSheetFloat(camera->nearValue));
}

void applyPage(ISheetPage& page)
{
	camera->ellipsoidPosition = 100 - page.getTrackbarPosition(ECAM_ELLIPSOID_TRACKBAR);
	camera->placeInCenter = page.isChecked(ECAM_PLACE_IN_CENTER);
	camera->useUserPosition = page.isChecked(ECAM_USE_USER_POSITION);
	camera->moveSpeed = readSheetFloat(page, ECAM_MOVE_SPEED_EDIT);
	camera->rotateSpeed = readSheetFloat(page, ECAM_ROTATE_SPEED_EDIT);
	camera->userPosition.X = readSheetFloat(page, ECAM_X_EDIT);
	camera->userPosition.Y = readSheetFloat(page, ECAM_Y_EDIT);
	camera->userPosition.Z = readSheetFloat(page, ECAM_Z_EDIT);
	camera->farValue = readSheetFloat(page, ECAM_FAR_EDIT);
	camera->nearValue = readSheetFloat(page, ECAM_NEAR_EDIT);
}

bool handleCommand(ISheetPage& page, const SSheetMessage& message)
{
	switch (message.ControlId)
	{
	case ECAM_USE_USER_POSITION:
	{
		if (message.Code != ESN_CLICKED)
			return false;
		// The user position replaces the centre start: the centre box goes
		// off and grey while the user position is on.
		const bool userPosition = page.isChecked(ECAM_USE_USER_POSITION);
		if (userPosition)
			page.setChecked(ECAM_PLACE_IN_CENTER, false);
		page.setEnabled(ECAM_PLACE_IN_CENTER, !userPosition);
		enableUserPosition(page, userPosition);
		page.reportChange();
		return true;
	}
	case ECAM_PLACE_IN_CENTER:
		if (message.Code != ESN_CLICKED)
			return false;
		page.reportChange();
		return true;
	case ECAM_X_EDIT:
	case ECAM_Y_EDIT:
	case ECAM_Z_EDIT:
	case ECAM_MOVE_SPEED_EDIT:
	case ECAM_ROTATE_SPEED_EDIT:
	case ECAM_NEAR_EDIT:
	case ECAM_FAR_EDIT:
		if (message.Code != ESN_EDIT_CHANGE)
			return false;
		page.reportChange();
		return true;
	default:
		return false;
	}
}

bool handleScroll(ISheetPage& page, const SSheetMessage& message)
{
	if (message.ControlId != ECAM_ELLIPSOID_TRACKBAR)
		return false;
	if (isSheetTrackbarDisplayCode(message.Code))
	{
		showEllipsoidPercent(page);
		page.reportChange();
	}
	return true;
}

} // end anonymous namespace

bool cameraPageProc(ISheetPage& page, SSheetMessage& message)
{
	if (message.Type == ESMT_OPEN)
	{
		camera = static_cast<SCameraSettings*>(message.Record);
		if (!camera)
			return false;
		openPage(page);
		return true;
	}
	if (!camera)
		return false;
	switch (message.Type)
	{
	case ESMT_COMMAND:
		return handleCommand(page, message);
	case ESMT_VSCROLL:
		return handleScroll(page, message);
	case ESMT_APPLY:
		applyPage(page);
		return true;
	default:
		return false;
	}
}

} // end namespace vistel

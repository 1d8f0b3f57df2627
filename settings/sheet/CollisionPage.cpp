#include "SheetPages.h"
#include "SheetResourceIds.h"
#include "SheetText.h"
#include "SPreviewSettings.h"

namespace vistel
{

using namespace platform;

namespace
{

SCollisionSettings* collision = 0;

const int RADIUS_EDITS[] = { ECOL_X_RADIUS_EDIT, ECOL_Y_RADIUS_EDIT, ECOL_Z_RADIUS_EDIT };

// Gravity and the ellipsoid only matter while collision is on.
void enableCollisionControls(ISheetPage& page, bool enabled)
{
	page.setEnabled(ECOL_ENABLE_GRAVITY, enabled);
	for (int id : RADIUS_EDITS)
		page.setEnabled(id, enabled);
}

void openPage(ISheetPage& page)
{
	page.setText(ECOL_GRAVITY_EDIT, formatSheetFloat(collision->gravity));
	page.setChecked(ECOL_ENABLE_COLLISION, collision->collisionEnabled);
	enableCollisionControls(page, collision->collisionEnabled);
	page.setChecked(ECOL_ENABLE_GRAVITY, collision->gravityEnabled);
	page.setEnabled(ECOL_GRAVITY_EDIT, collision->gravityEnabled);
	page.setText(ECOL_X_RADIUS_EDIT, formatSheetFloat(collision->ellipsoidRadius.X));
	page.setText(ECOL_Y_RADIUS_EDIT, formatSheetFloat(collision->ellipsoidRadius.Y));
	page.setText(ECOL_Z_RADIUS_EDIT, formatSheetFloat(collision->ellipsoidRadius.Z));
}

void applyPage(ISheetPage& page)
{
	collision->collisionEnabled = page.isChecked(ECOL_ENABLE_COLLISION);
	collision->gravityEnabled = page.isChecked(ECOL_ENABLE_GRAVITY);
	collision->gravity = readSheetFloat(page, ECOL_GRAVITY_EDIT);
	collision->ellipsoidRadius.X = readSheetFloat(page, ECOL_X_RADIUS_EDIT);
	collision->ellipsoidRadius.Y = readSheetFloat(page, ECOL_Y_RADIUS_EDIT);
	collision->ellipsoidRadius.Z = readSheetFloat(page, ECOL_Z_RADIUS_EDIT);
}

bool handleCommand(ISheetPage& page, const SSheetMessage& message)
{
	switch (message.ControlId)
	{
	case ECOL_ENABLE_COLLISION:
		if (message.Code != ESN_CLICKED)
			return false;
		if (page.isChecked(ECOL_ENABLE_COLLISION))
		{
			// Gravity keeps its state: switched off with collision, it
			// stays off until the user turns it on again.
			enableCollisionControls(page, true);
		}
		else
		{
			page.setChecked(ECOL_ENABLE_GRAVITY, false);
			page.setEnabled(ECOL_GRAVITY_EDIT, false);
			enableCollisionControls(page, false);
		}
		page.reportChange();
		return true;
	case ECOL_ENABLE_GRAVITY:
		if (message.Code != ESN_CLICKED)
			return false;
		page.setEnabled(ECOL_GRAVITY_EDIT, page.isChecked(ECOL_ENABLE_GRAVITY));
		page.reportChange();
		return true;
	case ECOL_X_RADIUS_EDIT:
	case ECOL_Y_RADIUS_EDIT:
	case ECOL_Z_RADIUS_EDIT:
	case ECOL_GRAVITY_EDIT:
		if (message.Code != ESN_EDIT_CHANGE)
			return false;
		page.reportChange();
		return true;
	default:
		return false;
	}
}

} // end anonymous namespace

bool collisionPageProc(ISheetPage& page, SSheetMessage& message)
{
	if (message.Type == ESMT_OPEN)
	{
		collision = static_cast<SCollisionSettings*>(message.Record);
		if (!collision)
			return false;
		openPage(page);
		return true;
	}
	if (!collision)
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

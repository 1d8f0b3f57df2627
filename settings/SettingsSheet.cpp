#include "SettingsSheet.h"
#include "IPlatform.h"
#include "SheetPages.h"
#include "SheetResourceIds.h"
#include "SheetTemplates.h"

namespace vistel
{

namespace
{
const char SHEET_CAPTION[] = "Tarvo Vistel Plugin - Version 2.0";
}

irr::s32 showSettingsSheet(SCameraSettings* camera, SEngineSettings* engine,
	SCollisionSettings* collision, SLevelSettings* level, SFxSettings* fx)
{
	// In tab order; the About page has neither behaviour nor record.
	const platform::SSheetPageDescription pages[ESPI_COUNT] = {
		{ ESPT_ABOUT, 0, 0 },
		{ ESPT_CAMERA, cameraPageProc, camera },
		{ ESPT_COLLISION, collisionPageProc, collision },
		{ ESPT_ENGINE, enginePageProc, engine },
		{ ESPT_LEVEL, levelPageProc, level },
		{ ESPT_FX, fxPageProc, fx },
	};

	platform::SSheetDescription sheet;
	sheet.Caption = SHEET_CAPTION;
	sheet.Templates = &getSheetTemplates();
	sheet.Pages = pages;
	sheet.PageCount = ESPI_COUNT;
	sheet.StartPage = ESPI_ABOUT;
	return platform::getPlatform().runSettingsSheet(sheet);
}

} // end namespace vistel

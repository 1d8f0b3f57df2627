#ifndef VISTEL_SHEET_PAGES_H_INCLUDED
#define VISTEL_SHEET_PAGES_H_INCLUDED

#include "ISheetPage.h"

namespace vistel
{

//! The sheet's pages in tab order.
enum ESheetPageIndex
{
	ESPI_ABOUT = 0,
	ESPI_CAMERA,
	ESPI_COLLISION,
	ESPI_ENGINE,
	ESPI_LEVEL,
	ESPI_FX,
	ESPI_COUNT
};

// The procedures of the pages with settings. Each takes its record from the
// opening message (an SCameraSettings, SCollisionSettings, SEngineSettings,
// SLevelSettings or SFxSettings) and keeps it until the page opens again.
bool cameraPageProc(platform::ISheetPage& page, platform::SSheetMessage& message);
bool collisionPageProc(platform::ISheetPage& page, platform::SSheetMessage& message);
bool enginePageProc(platform::ISheetPage& page, platform::SSheetMessage& message);
bool levelPageProc(platform::ISheetPage& page, platform::SSheetMessage& message);
bool fxPageProc(platform::ISheetPage& page, platform::SSheetMessage& message);

} // end namespace vistel

#endif

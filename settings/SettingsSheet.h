#ifndef VISTEL_SETTINGS_SHEET_H_INCLUDED
#define VISTEL_SETTINGS_SHEET_H_INCLUDED

#include "SPreviewSettings.h"

namespace vistel
{

//! Shows the six-page settings sheet modally over the five page records.
/** \return 1 when the user closed the sheet with OK, after every page that
was shown stored its values; another value when the sheet was cancelled,
closed or could not be shown. */
irr::s32 showSettingsSheet(SCameraSettings* camera, SEngineSettings* engine,
	SCollisionSettings* collision, SLevelSettings* level, SFxSettings* fx);

} // end namespace vistel

#endif

#ifndef VISTEL_SHEET_TEMPLATES_H_INCLUDED
#define VISTEL_SHEET_TEMPLATES_H_INCLUDED

#include "SSheetDescription.h"

namespace vistel
{

//! The settings sheet's six page templates, in the library like dialog
//! resources: controls with their ids, captions and places.
const platform::SSheetTemplateSet& getSheetTemplates();

} // end namespace vistel

#endif

#ifndef VISTEL_QT_SHEET_DIALOGS_H_INCLUDED
#define VISTEL_QT_SHEET_DIALOGS_H_INCLUDED

#include "ISheetPage.h"

namespace vistel
{
namespace platform
{

//! Qt's colour dialog, without owner, starting from color (0x00BBGGRR),
//! showing customColors in Qt's custom-colour slots and handing back what
//! the user made of them.
bool runQtColorDialog(unsigned int& color, unsigned int (&customColors)[SHEET_CUSTOM_COLOR_COUNT]);

//! Qt's file dialog for one existing file.
bool runQtOpenFileDialog(const SOpenFileRequest& request, std::string& path);

} // end namespace platform
} // end namespace vistel

#endif

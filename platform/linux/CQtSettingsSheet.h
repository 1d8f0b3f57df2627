#ifndef VISTEL_C_QT_SETTINGS_SHEET_H_INCLUDED
#define VISTEL_C_QT_SETTINGS_SHEET_H_INCLUDED

#include "SSheetDescription.h"

#include <QDialog>
#include <vector>

class QTabWidget;

namespace vistel
{
namespace platform
{

class CQtSheetPage;

//! The settings sheet as a modal Qt dialog: one tab per page, OK and Cancel.
class CQtSettingsSheet : public QDialog
{
public:
	explicit CQtSettingsSheet(const SSheetDescription& sheet);

	//! False when a page's template is missing: such a sheet is not shown.
	bool isValid() const { return Valid; }

	//! Shows the page with the index; it opens when shown the first time.
	void showPage(int index);

	//! Runs the sheet: 1 after OK, 0 after Cancel or closing.
	int run();

private:
	void applyPages();

	QTabWidget* Tabs;
	std::vector<CQtSheetPage*> Pages;
	bool Valid;
};

//! Shows the sheet; -1 when it cannot be shown.
int runQtSettingsSheet(const SSheetDescription& sheet);

} // end namespace platform
} // end namespace vistel

#endif

#ifndef VISTEL_C_WIN32_SHEET_PAGE_H_INCLUDED
#define VISTEL_C_WIN32_SHEET_PAGE_H_INCLUDED

#include "ISheetPage.h"

#include <windows.h>

namespace vistel
{
namespace platform
{

//! A page of the property sheet as its procedure sees it: the page's dialog
//! window and its controls, the sheet around it, the common dialogs.
class CWin32SheetPage : public ISheetPage
{
public:
	explicit CWin32SheetPage(HWND dialog);

	virtual void setChecked(int id, bool checked);
	virtual bool isChecked(int id);
	virtual void setEnabled(int id, bool enabled);
	virtual void setText(int id, const std::string& text);
	virtual std::string getText(int id);
	virtual void setTrackbarRange(int id, int minimum, int maximum);
	virtual void setTrackbarPosition(int id, int position);
	virtual void setTrackbarTickFrequency(int id, int frequency);
	virtual int getTrackbarPosition(int id);
	virtual void addListEntry(int id, const std::string& text);
	virtual int findListEntryExact(int id, const std::string& text);
	virtual void setListSelection(int id, int index);
	virtual int getListSelection(int id);
	virtual std::string getListEntry(int id, int index);
	virtual void reportChange();
	virtual void showPage(int index);
	virtual bool chooseColor(unsigned int& color,
		unsigned int (&customColors)[SHEET_CUSTOM_COLOR_COUNT]);
	virtual bool chooseOpenFile(const SOpenFileRequest& request, std::string& path);

private:
	//! The control, or 0 when the page has none with that id.
	HWND control(int id) const;

	HWND Dialog;
};

} // end namespace platform
} // end namespace vistel

#endif

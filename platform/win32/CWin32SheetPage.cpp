#include "CWin32SheetPage.h"

#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>

#include <cstring>
#include <vector>

namespace vistel
{
namespace platform
{

namespace
{

// Texts of controls are read with at most 254 characters.
const int CONTROL_TEXT_CAPACITY = 255;

} // end anonymous namespace

CWin32SheetPage::CWin32SheetPage(HWND dialog)
	: Dialog(dialog)
{
}

HWND CWin32SheetPage::control(int id) const
{
	return GetDlgItem(Dialog, id);
}

void CWin32SheetPage::setChecked(int id, bool checked)
{
	if (control(id))
		CheckDlgButton(Dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool CWin32SheetPage::isChecked(int id)
{
	return control(id) && IsDlgButtonChecked(Dialog, id) == BST_CHECKED;
}

void CWin32SheetPage::setEnabled(int id, bool enabled)
{
	if (HWND window = control(id))
		EnableWindow(window, enabled ? TRUE : FALSE);
}

void CWin32SheetPage::setText(int id, const std::string& text)
{
	// An edit field notifies EN_CHANGE by itself.
	if (control(id))
		SetDlgItemTextA(Dialog, id, text.c_str());
}

std::string CWin32SheetPage::getText(int id)
{
	if (!control(id))
		return std::string();
	char text[CONTROL_TEXT_CAPACITY] = "";
	GetDlgItemTextA(Dialog, id, text, CONTROL_TEXT_CAPACITY);
	return text;
}

void CWin32SheetPage::setTrackbarRange(int id, int minimum, int maximum)
{
	if (HWND window = control(id))
		SendMessageA(window, TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
}

void CWin32SheetPage::setTrackbarPosition(int id, int position)
{
	if (HWND window = control(id))
		SendMessageA(window, TBM_SETPOS, TRUE, position);
}

void CWin32SheetPage::setTrackbarTickFrequency(int id, int frequency)
{
	if (HWND window = control(id))
		SendMessageA(window, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

int CWin32SheetPage::getTrackbarPosition(int id)
{
	HWND window = control(id);
	return window ? static_cast<int>(SendMessageA(window, TBM_GETPOS, 0, 0)) : 0;
}

void CWin32SheetPage::addListEntry(int id, const std::string& text)
{
	if (HWND window = control(id))
		SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int CWin32SheetPage::findListEntryExact(int id, const std::string& text)
{
	HWND window = control(id);
	if (!window)
		return -1;
	const LRESULT index = SendMessageA(window, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
		reinterpret_cast<LPARAM>(text.c_str()));
	return index == CB_ERR ? -1 : static_cast<int>(index);
}

void CWin32SheetPage::setListSelection(int id, int index)
{
	if (HWND window = control(id))
		SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int CWin32SheetPage::getListSelection(int id)
{
	HWND window = control(id);
	if (!window)
		return -1;
	const LRESULT index = SendMessageA(window, CB_GETCURSEL, 0, 0);
	return index == CB_ERR ? -1 : static_cast<int>(index);
}

std::string CWin32SheetPage::getListEntry(int id, int index)
{
	HWND window = control(id);
	if (!window || index < 0)
		return std::string();
	const LRESULT length = SendMessageA(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
	if (length == CB_ERR || length < 0)
		return std::string();
	std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
	if (SendMessageA(window, CB_GETLBTEXT, static_cast<WPARAM>(index),
			reinterpret_cast<LPARAM>(&text[0])) == CB_ERR)
		return std::string();
	return &text[0];
}

void CWin32SheetPage::reportChange()
{
	SendMessageA(GetParent(Dialog), PSM_CHANGED, reinterpret_cast<WPARAM>(Dialog), 0);
}

void CWin32SheetPage::showPage(int index)
{
	SendMessageA(GetParent(Dialog), PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool CWin32SheetPage::chooseColor(unsigned int& color,
	unsigned int (&customColors)[SHEET_CUSTOM_COLOR_COUNT])
{
	COLORREF custom[SHEET_CUSTOM_COLOR_COUNT];
	for (size_t i = 0; i < SHEET_CUSTOM_COLOR_COUNT; ++i)
		custom[i] = customColors[i];
	CHOOSECOLORA record;
	std::memset(&record, 0, sizeof(record));
	record.lStructSize = sizeof(record);
	record.hwndOwner = 0;
	record.rgbResult = color;
	record.lpCustColors = custom;
	record.Flags = CC_RGBINIT | CC_FULLOPEN;
	const BOOL chosen = ChooseColorA(&record);
	// The dialog keeps the custom colours the user set, also when cancelled.
	for (size_t i = 0; i < SHEET_CUSTOM_COLOR_COUNT; ++i)
		customColors[i] = custom[i];
	if (chosen != TRUE)
		return false;
	color = record.rgbResult;
	return true;
}

bool CWin32SheetPage::chooseOpenFile(const SOpenFileRequest& request, std::string& path)
{
	if (request.PathCapacity == 0)
		return false;
	std::string filter = request.FilterName;
	filter += '\0';
	filter += request.FilterPatterns;
	filter += '\0';
	filter += '\0';
	std::vector<char> fileName(request.PathCapacity, '\0');
	request.FileName.copy(&fileName[0], request.PathCapacity - 1);

	OPENFILENAMEA record;
	std::memset(&record, 0, sizeof(record));
	record.lStructSize = sizeof(record);
	record.hwndOwner = 0;
	record.lpstrFilter = filter.c_str();
	record.nFilterIndex = 1;
	record.lpstrFile = &fileName[0];
	record.nMaxFile = static_cast<DWORD>(request.PathCapacity);
	record.lpstrInitialDir = request.InitialDirectory.empty() ? 0 : request.InitialDirectory.c_str();
	record.lpstrTitle = request.Title.c_str();
	record.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
	if (GetOpenFileNameA(&record) != TRUE)
		return false;
	path = &fileName[0];
	return !path.empty();
}

} // end namespace platform
} // end namespace vistel

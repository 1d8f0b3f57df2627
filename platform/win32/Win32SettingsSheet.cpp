// The settings sheet on Windows: PropertySheetA with one page per page
// template, each page an in-memory dialog template in dialog units, its
// messages passed on to the page's procedure.

#include "CWin32Platform.h"
#include "CWin32SheetPage.h"
#include "Win32Module.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <memory>
#include <vector>

namespace vistel
{

extern const unsigned char AboutLogoBitmap[];
extern const std::size_t AboutLogoBitmapSize;

namespace platform
{

namespace
{

// The pages' dialog font.
const wchar_t PAGE_FONT[] = L"MS Sans Serif";
const WORD PAGE_FONT_POINTS = 8;

// Predefined control classes of a dialog template, by atom.
const WORD BUTTON_CLASS = 0x0080;
const WORD EDIT_CLASS = 0x0081;
const WORD STATIC_CLASS = 0x0082;
const WORD COMBO_BOX_CLASS = 0x0085;

// A drop-down list's template height includes its opened list.
const int DROPPED_LIST_HEIGHT = 120;

struct SSheetRun;

// What a page's dialog procedure needs; the page's lParam points at it.
struct SPageContext
{
	SSheetRun* Run;
	const SSheetPageDescription* Page;
	const SSheetPageTemplate* Template;
	HBRUSH SwatchBrush;
};

// Everything one showing of the sheet makes, released when it closes.
struct SSheetRun
{
	std::vector<std::vector<WORD> > Templates;
	std::vector<SPageContext> Pages;
	HBITMAP AboutLogo;

	SSheetRun() : AboutLogo(0) {}
	~SSheetRun()
	{
		for (size_t i = 0; i < Pages.size(); ++i)
			if (Pages[i].SwatchBrush)
				DeleteObject(Pages[i].SwatchBrush);
		if (AboutLogo)
			DeleteObject(AboutLogo);
	}
};

// Builds a dialog template word by word.
class CTemplateWriter
{
public:
	explicit CTemplateWriter(std::vector<WORD>& words) : Words(words) {}

	void word(WORD value) { Words.push_back(value); }
	void dword(DWORD value)
	{
		word(LOWORD(value));
		word(HIWORD(value));
	}
	void alignToDword()
	{
		if (Words.size() % 2)
			word(0);
	}
	// Texts of the templates are ANSI; a template holds UTF-16.
	void text(const char* ansi)
	{
		if (ansi && *ansi)
		{
			const int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, 0, 0);
			if (length > 0)
			{
				std::vector<wchar_t> wide(static_cast<size_t>(length));
				MultiByteToWideChar(CP_ACP, 0, ansi, -1, &wide[0], length);
				for (int i = 0; i + 1 < length; ++i)
					word(static_cast<WORD>(wide[static_cast<size_t>(i)]));
			}
		}
		word(0);
	}
	void wideText(const wchar_t* wide)
	{
		for (; *wide; ++wide)
			word(static_cast<WORD>(*wide));
		word(0);
	}

private:
	std::vector<WORD>& Words;
};

struct SControlClass
{
	WORD Atom;              // a predefined class, or 0
	const wchar_t* Name;    // else the class name
	DWORD Style;
	DWORD ExtendedStyle;
};

SControlClass getControlClass(const SSheetControlTemplate& control)
{
	const bool centered = (control.Style & ESCS_CENTERED) != 0;
	SControlClass result = { STATIC_CLASS, 0, 0, 0 };
	switch (control.Kind)
	{
	case ESCK_GROUP:
		result.Atom = BUTTON_CLASS;
		result.Style = BS_GROUPBOX;
		break;
	case ESCK_LABEL:
	case ESCK_TEXT:
		result.Style = centered ? SS_CENTER : SS_LEFT;
		break;
	case ESCK_EDIT:
		result.Atom = EDIT_CLASS;
		result.Style = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
		if (control.Style & ESCS_READ_ONLY)
			result.Style |= ES_READONLY;
		if (control.Style & ESCS_DIGITS_ONLY)
			result.Style |= ES_NUMBER;
		break;
	case ESCK_CHECK_BOX:
		result.Atom = BUTTON_CLASS;
		result.Style = BS_AUTOCHECKBOX | WS_TABSTOP;
		break;
	case ESCK_BUTTON:
		result.Atom = BUTTON_CLASS;
		result.Style = BS_PUSHBUTTON | WS_TABSTOP;
		break;
	case ESCK_DROP_DOWN_LIST:
		result.Atom = COMBO_BOX_CLASS;
		result.Style = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
		break;
	case ESCK_TRACKBAR:
		result.Atom = 0;
		result.Name = TRACKBAR_CLASSW;
		result.Style = ((control.Style & ESCS_VERTICAL) ? TBS_VERT : TBS_HORZ) | WS_TABSTOP;
		if (control.Style & ESCS_TICKS)
			result.Style |= TBS_AUTOTICKS;
		break;
	case ESCK_COLOR_SWATCH:
		result.Style = SS_LEFT | SS_SUNKEN;
		break;
	case ESCK_PICTURE:
		result.Style = SS_BITMAP | (centered ? SS_CENTERIMAGE : 0);
		break;
	}
	return result;
}

// The page's dialog template: a child dialog with a caption (the tab
// label), the dialog font, and its controls in focus order.
void buildPageTemplate(const SSheetPageTemplate& page, std::vector<WORD>& words)
{
	CTemplateWriter writer(words);
	writer.dword(DS_SETFONT | DS_3DLOOK | WS_CHILD | WS_DISABLED | WS_CAPTION);
	writer.dword(0);
	writer.word(static_cast<WORD>(page.ControlCount));
	writer.word(0);
	writer.word(0);
	writer.word(static_cast<WORD>(page.Width));
	writer.word(static_cast<WORD>(page.Height));
	writer.word(0); // no menu
	writer.word(0); // the dialog class
	writer.text(page.Caption);
	writer.word(PAGE_FONT_POINTS);
	writer.wideText(PAGE_FONT);

	for (size_t i = 0; i < page.ControlCount; ++i)
	{
		const SSheetControlTemplate& control = page.Controls[i];
		const SControlClass kind = getControlClass(control);
		int height = control.Height;
		if (control.Kind == ESCK_DROP_DOWN_LIST)
			height += DROPPED_LIST_HEIGHT;
		writer.alignToDword();
		writer.dword(WS_CHILD | WS_VISIBLE | kind.Style);
		writer.dword(kind.ExtendedStyle);
		writer.word(static_cast<WORD>(control.X));
		writer.word(static_cast<WORD>(control.Y));
		writer.word(static_cast<WORD>(control.Width));
		writer.word(static_cast<WORD>(height));
		writer.word(static_cast<WORD>(control.Id));
		if (kind.Atom)
		{
			writer.word(0xFFFF);
			writer.word(kind.Atom);
		}
		else
			writer.wideText(kind.Name);
		writer.text(control.Kind == ESCK_PICTURE ? 0 : control.Caption);
		writer.word(0); // no creation data
	}
}

// The About picture from the bitmap file embedded in the library.
HBITMAP createAboutLogo()
{
	const size_t headerSize = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
	if (AboutLogoBitmapSize < headerSize)
		return 0;
	BITMAPFILEHEADER file;
	std::memcpy(&file, AboutLogoBitmap, sizeof(file));
	const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(AboutLogoBitmap + sizeof(file));
	if (file.bfOffBits < headerSize || file.bfOffBits >= AboutLogoBitmapSize)
		return 0;
	HDC screen = GetDC(0);
	HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT,
		AboutLogoBitmap + file.bfOffBits, info, DIB_RGB_COLORS);
	ReleaseDC(0, screen);
	return bitmap;
}

void placePictures(HWND dialog, SPageContext& context)
{
	for (size_t i = 0; i < context.Template->ControlCount; ++i)
	{
		const SSheetControlTemplate& control = context.Template->Controls[i];
		if (control.Kind != ESCK_PICTURE)
			continue;
		if (!context.Run->AboutLogo)
			context.Run->AboutLogo = createAboutLogo();
		if (context.Run->AboutLogo)
			SendDlgItemMessageA(dialog, control.Id, STM_SETIMAGE, IMAGE_BITMAP,
				reinterpret_cast<LPARAM>(context.Run->AboutLogo));
	}
}

bool deliver(HWND dialog, SPageContext& context, SSheetMessage& message)
{
	if (!context.Page->Procedure)
		return false;
	CWin32SheetPage page(dialog);
	return context.Page->Procedure(page, message);
}

// Only the pages that paint their static controls themselves (Level and FX)
// get the button-face fill; the others leave painting to the dialog manager,
// which follows the visual theme.
INT_PTR answerStaticColor(HWND dialog, SPageContext& context, HDC deviceContext, HWND control)
{
	SSheetMessage message = makeSheetMessage(ESMT_PAINT_STATIC, GetDlgCtrlID(control));
	if (!deliver(dialog, context, message))
		return FALSE;
	SetBkMode(deviceContext, TRANSPARENT);
	if (message.FillWithColor)
	{
		if (context.SwatchBrush)
			DeleteObject(context.SwatchBrush);
		context.SwatchBrush = CreateSolidBrush(message.FillColor);
		if (context.SwatchBrush)
			return reinterpret_cast<INT_PTR>(context.SwatchBrush);
	}
	return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

INT_PTR CALLBACK pageDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
	if (message == WM_INITDIALOG)
	{
		const PROPSHEETPAGEA* description = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
		SPageContext* context = reinterpret_cast<SPageContext*>(description->lParam);
		SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
		placePictures(dialog, *context);
		SSheetMessage open = makeSheetMessage(ESMT_OPEN, 0, 0, context->Page->Record);
		deliver(dialog, *context, open);
		return TRUE;
	}
	SPageContext* context = reinterpret_cast<SPageContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
	if (!context)
		return FALSE;
	switch (message)
	{
	case WM_COMMAND:
	{
		SSheetMessage command = makeSheetMessage(ESMT_COMMAND, LOWORD(wParam), HIWORD(wParam));
		return deliver(dialog, *context, command) ? TRUE : FALSE;
	}
	case WM_VSCROLL:
	case WM_HSCROLL:
	{
		if (!lParam)
			return FALSE;
		SSheetMessage scroll = makeSheetMessage(message == WM_VSCROLL ? ESMT_VSCROLL : ESMT_HSCROLL,
			GetDlgCtrlID(reinterpret_cast<HWND>(lParam)), LOWORD(wParam));
		return deliver(dialog, *context, scroll) ? TRUE : FALSE;
	}
	case WM_NOTIFY:
	{
		const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
		if (!header || header->code != static_cast<UINT>(PSN_APPLY))
			return FALSE;
		SSheetMessage apply = makeSheetMessage(ESMT_APPLY);
		deliver(dialog, *context, apply);
		SetWindowLongPtrA(dialog, DWLP_MSGRESULT, PSNRET_NOERROR);
		return TRUE;
	}
	case WM_CTLCOLORSTATIC:
		return answerStaticColor(dialog, *context, reinterpret_cast<HDC>(wParam),
			reinterpret_cast<HWND>(lParam));
	default:
		return FALSE;
	}
}

} // end anonymous namespace

int CWin32Platform::runSettingsSheet(const SSheetDescription& sheet)
{
	if (!sheet.Templates || !sheet.Pages || sheet.PageCount == 0 || sheet.StartPage >= sheet.PageCount)
		return -1;
	// The trackbars and the sheet's tabs. An editor without a manifest gets
	// comctl32 5.8, which refuses flags it does not know (ICC_STANDARD_CLASSES
	// is version 6); the standard controls are there without asking.
	INITCOMMONCONTROLSEX controls = { sizeof(INITCOMMONCONTROLSEX),
		ICC_BAR_CLASSES | ICC_TAB_CLASSES };
	InitCommonControlsEx(&controls);

	SSheetRun run;
	run.Templates.resize(sheet.PageCount);
	run.Pages.resize(sheet.PageCount);
	// The sheet reads the pages as one packed array, each record as long as
	// its dwSize says: the first version of the record, which every comctl32
	// accepts (the pages use none of the later fields).
	std::vector<unsigned char> pages(sheet.PageCount * PROPSHEETPAGEA_V1_SIZE);
	HINSTANCE module = getLibraryModule();
	for (size_t i = 0; i < sheet.PageCount; ++i)
	{
		const SSheetPageTemplate* pageTemplate = sheet.Templates->find(sheet.Pages[i].TemplateId);
		if (!pageTemplate)
			return -1;
		buildPageTemplate(*pageTemplate, run.Templates[i]);
		SPageContext context = { &run, &sheet.Pages[i], pageTemplate, 0 };
		run.Pages[i] = context;

		PROPSHEETPAGEA page;
		std::memset(&page, 0, sizeof(page));
		page.dwSize = PROPSHEETPAGEA_V1_SIZE;
		page.dwFlags = PSP_DLGINDIRECT;
		page.hInstance = module;
		page.pResource = reinterpret_cast<LPCDLGTEMPLATE>(&run.Templates[i][0]);
		page.pfnDlgProc = pageDialogProcedure;
		page.lParam = reinterpret_cast<LPARAM>(&run.Pages[i]);
		std::memcpy(&pages[i * PROPSHEETPAGEA_V1_SIZE], &page, PROPSHEETPAGEA_V1_SIZE);
	}

	PROPSHEETHEADERA header;
	std::memset(&header, 0, sizeof(header));
	header.dwSize = PROPSHEETHEADERA_V1_SIZE;
	header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
	header.hwndParent = 0;
	header.hInstance = module;
	header.pszCaption = sheet.Caption.c_str();
	header.nPages = static_cast<UINT>(sheet.PageCount);
	header.nStartPage = static_cast<UINT>(sheet.StartPage);
	header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(&pages[0]);
	const INT_PTR result = PropertySheetA(&header);
	if (result < 0)
		return -1;
	return result > 0 ? 1 : 0;
}

} // end namespace platform
} // end namespace vistel

#ifndef VISTEL_S_SHEET_DESCRIPTION_H_INCLUDED
#define VISTEL_S_SHEET_DESCRIPTION_H_INCLUDED

#include "ISheetPage.h"

namespace vistel
{
namespace platform
{

//! Kinds of controls a page template places.
enum ESheetControlKind
{
	ESCK_GROUP = 0,      //!< captioned frame, drawn behind the controls placed in it
	ESCK_LABEL,          //!< one line of static text
	ESCK_TEXT,           //!< static text of several lines, wrapped at the control's width
	ESCK_EDIT,           //!< one-line edit field
	ESCK_CHECK_BOX,
	ESCK_BUTTON,
	ESCK_DROP_DOWN_LIST, //!< drop-down list without an edit part
	ESCK_TRACKBAR,
	ESCK_COLOR_SWATCH,   //!< frame filled as the page answers ESMT_PAINT_STATIC
	ESCK_PICTURE         //!< an image resource (ImageId) at its own size
};

//! Style bits of a control template.
enum ESheetControlStyle
{
	ESCS_NONE = 0,
	ESCS_CENTERED = 1,    //!< static text and pictures: centred in the rectangle
	ESCS_READ_ONLY = 2,   //!< edit field the user cannot change
	ESCS_DIGITS_ONLY = 4, //!< edit field that takes typed digits only
	ESCS_VERTICAL = 8,    //!< trackbar standing upright, its minimum at the top
	ESCS_TICKS = 16       //!< trackbar with tick marks
};

//! One control of a page template. Rectangles are in dialog units: a
//! quarter of the dialog font's average character width horizontally, an
//! eighth of its height vertically.
struct SSheetControlTemplate
{
	ESheetControlKind Kind;
	int Id;
	const char* Caption; //!< 0 for none
	int X;
	int Y;
	int Width;
	int Height;
	unsigned int Style;  //!< ESheetControlStyle bits
	int ImageId;         //!< ESCK_PICTURE only
};

//! A page's dialog template: its caption is the tab label. Controls are
//! listed in keyboard focus order.
struct SSheetPageTemplate
{
	int Id;
	const char* Caption;
	int Width;  //!< dialog units
	int Height; //!< dialog units
	const SSheetControlTemplate* Controls;
	std::size_t ControlCount;
};

//! The page templates a library carries, looked up by id.
struct SSheetTemplateSet
{
	const SSheetPageTemplate* Pages;
	std::size_t PageCount;

	const SSheetPageTemplate* find(int id) const
	{
		for (std::size_t i = 0; i < PageCount; ++i)
			if (Pages[i].Id == id)
				return &Pages[i];
		return 0;
	}
};

//! One page of a sheet: its template, its procedure (0 for a page without
//! behaviour) and the record handed to it when it opens.
struct SSheetPageDescription
{
	int TemplateId;
	SheetPageProcedure Procedure;
	void* Record;
};

//! A modal property sheet with OK and Cancel. A page opens when it is first
//! shown; OK sends ESMT_APPLY to every opened page, in page order.
struct SSheetDescription
{
	std::string Caption;
	const SSheetTemplateSet* Templates;
	const SSheetPageDescription* Pages;
	std::size_t PageCount;
	std::size_t StartPage;
};

} // end namespace platform
} // end namespace vistel

#endif

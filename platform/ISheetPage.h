#ifndef VISTEL_I_SHEET_PAGE_H_INCLUDED
#define VISTEL_I_SHEET_PAGE_H_INCLUDED

#include <cstddef>
#include <string>

namespace vistel
{
namespace platform
{

//! What a settings page's procedure is told by the sheet that shows it.
enum ESheetMessageType
{
	//! The page is shown for the first time. Record is the page's record.
	ESMT_OPEN = 0,
	//! A control notified the page: ControlId and the notification Code.
	ESMT_COMMAND,
	//! A vertical trackbar moved: ControlId and the scroll Code.
	ESMT_VSCROLL,
	//! A horizontal trackbar moved: ControlId and the scroll Code.
	ESMT_HSCROLL,
	//! The user pressed OK: the page stores its values.
	ESMT_APPLY,
	//! A static control (ControlId) asks how its background is filled.
	ESMT_PAINT_STATIC
};

//! Notification codes of ESMT_COMMAND. The values are those of the Windows
//! controls, so that a Windows backend can pass its codes through.
enum ESheetNotification
{
	ESN_CLICKED = 0,          //!< a button or check box was clicked
	ESN_SELECTION_CHANGE = 1, //!< the user picked another drop-down entry
	ESN_EDIT_CHANGE = 0x300   //!< an edit field's text changed, also when set by the page
};

//! Scroll codes of ESMT_VSCROLL and ESMT_HSCROLL, with the values of the
//! Windows trackbar. Up means towards the minimum (top or left end).
enum ESheetScrollCode
{
	ESSC_LINE_UP = 0,        //!< arrow key towards the minimum
	ESSC_LINE_DOWN = 1,      //!< arrow key towards the maximum
	ESSC_PAGE_UP = 2,        //!< page step towards the minimum (key or click in the channel)
	ESSC_PAGE_DOWN = 3,      //!< page step towards the maximum
	ESSC_THUMB_POSITION = 4, //!< the thumb was released after a drag
	ESSC_THUMB_TRACK = 5,    //!< the thumb is being dragged
	ESSC_TOP = 6,            //!< Home key
	ESSC_BOTTOM = 7,         //!< End key
	ESSC_END_TRACK = 8       //!< ends every action above
};

//! One message to a page procedure.
struct SSheetMessage
{
	ESheetMessageType Type;
	int ControlId;  //!< the control concerned; 0 when none
	int Code;       //!< ESheetNotification or ESheetScrollCode
	void* Record;   //!< ESMT_OPEN only: the page's record

	//! ESMT_PAINT_STATIC answer: fill the control with FillColor
	//! (0x00BBGGRR) when true, else with the system's button face.
	bool FillWithColor;
	unsigned int FillColor;
};

//! The file dialog's question: an existing file to open.
struct SOpenFileRequest
{
	std::string Title;
	std::string FilterName;     //!< shown name of the single filter
	std::string FilterPatterns; //!< patterns separated by ';', as "*.jpg;*.bmp"
	std::string InitialDirectory;
	std::string FileName;       //!< preset file name, without directory
	//! Bytes the chosen path may take including its terminator. A longer
	//! choice fails like a cancelled dialog.
	std::size_t PathCapacity;
};

//! Number of custom colours the colour dialog shows.
const std::size_t SHEET_CUSTOM_COLOR_COUNT = 16;

//! A page of the settings sheet as its procedure sees it: controls named by
//! the ids of the page's template, the sheet around it, and the two common
//! dialogs. An id that names no control of the page is ignored (queries give
//! false, 0, -1 or an empty text).
class ISheetPage
{
public:
	virtual ~ISheetPage() {}

	virtual void setChecked(int id, bool checked) = 0;
	virtual bool isChecked(int id) = 0;

	//! Greys (false) or enables (true) a control.
	virtual void setEnabled(int id, bool enabled) = 0;

	//! Sets a control's text. An edit field then notifies ESN_EDIT_CHANGE.
	virtual void setText(int id, const std::string& text) = 0;
	virtual std::string getText(int id) = 0;

	//! Trackbars. Positions are clamped to the range.
	virtual void setTrackbarRange(int id, int minimum, int maximum) = 0;
	virtual void setTrackbarPosition(int id, int position) = 0;
	virtual void setTrackbarTickFrequency(int id, int frequency) = 0;
	virtual int getTrackbarPosition(int id) = 0;

	//! Drop-down lists; entries keep the order they are added in, indices
	//! start at 0, -1 means none.
	virtual void addListEntry(int id, const std::string& text) = 0;
	virtual int findListEntryExact(int id, const std::string& text) = 0;
	virtual void setListSelection(int id, int index) = 0;
	virtual int getListSelection(int id) = 0;
	virtual std::string getListEntry(int id, int index) = 0;

	//! Tells the sheet that the page has been modified.
	virtual void reportChange() = 0;

	//! Makes the sheet show the page with the given index.
	virtual void showPage(int index) = 0;

	//! Modal colour dialog with no owner, starting from color (0x00BBGGRR)
	//! with its custom-colour part open on customColors, which it may change.
	//! \return true when the user chose a colour, which is left in color.
	virtual bool chooseColor(unsigned int& color,
		unsigned int (&customColors)[SHEET_CUSTOM_COLOR_COUNT]) = 0;

	//! Modal dialog asking for an existing file.
	//! \return true when the user chose one; its full path is left in path.
	virtual bool chooseOpenFile(const SOpenFileRequest& request, std::string& path) = 0;
};

//! A page's procedure. Returns true for the messages it handles.
typedef bool (*SheetPageProcedure)(ISheetPage& page, SSheetMessage& message);

//! A message with nothing but its type, control and code set.
inline SSheetMessage makeSheetMessage(ESheetMessageType type, int controlId = 0, int code = 0,
	void* record = 0)
{
	SSheetMessage message = { type, controlId, code, record, false, 0 };
	return message;
}

} // end namespace platform
} // end namespace vistel

#endif

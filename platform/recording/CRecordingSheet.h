#ifndef VISTEL_C_RECORDING_SHEET_H_INCLUDED
#define VISTEL_C_RECORDING_SHEET_H_INCLUDED

#include "SSheetDescription.h"

#include <functional>
#include <memory>
#include <vector>

namespace vistel
{
namespace platform
{

class CRecordingSheet;

//! One control of a page, with the state the page's procedure gave it.
struct SRecordedControl
{
	const SSheetControlTemplate* Template;
	std::string Text;
	bool Checked;
	bool Enabled;
	int Minimum;
	int Maximum;
	int Position;
	int TickFrequency;
	std::vector<std::string> Entries;
	int Selection;
};

//! One colour dialog as a page asked for it.
struct SRecordedColorDialog
{
	unsigned int InitialColor;
	std::vector<unsigned int> CustomColors;
};

//! A page of a CRecordingSheet: controls made from its template, no window.
/** Edit fields notify ESN_EDIT_CHANGE whenever their text is set, as the
Windows ones do. Ids the page does not have are collected in UnknownIds. */
class CRecordingSheetPage : public ISheetPage
{
public:
	CRecordingSheetPage(CRecordingSheet& sheet, const SSheetPageTemplate& pageTemplate,
		const SSheetPageDescription& description);

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

	//! The control with the id, or 0.
	SRecordedControl* findControl(int id);

	//! Sends a message to the page's procedure; false when it has none.
	bool send(SSheetMessage& message);

	const SSheetPageTemplate& getTemplate() const { return Template; }
	bool isOpen() const { return Open; }
	void open();

	int ChangeReports;
	std::vector<int> UnknownIds;

private:
	SRecordedControl* control(int id);

	CRecordingSheet& Sheet;
	const SSheetPageTemplate& Template;
	SSheetPageDescription Description;
	std::vector<SRecordedControl> Controls;
	bool Open;
};

//! A settings sheet without windows, driven by a test as a user would drive
//! the real one. User actions work on the current page only and fail
//! (false) on a control that is greyed, hidden on another page or absent.
class CRecordingSheet
{
public:
	//! Opens the start page at once. isValid is false when a page's
	//! template is missing; such a sheet cannot be shown.
	explicit CRecordingSheet(const SSheetDescription& sheet);

	bool isValid() const { return Valid; }
	std::size_t getPageCount() const { return Pages.size(); }
	CRecordingSheetPage& getPage(std::size_t index) { return *Pages[index]; }
	std::size_t getCurrentPage() const { return Current; }

	//! The control with the id on any page, or 0.
	SRecordedControl* findControl(int id);

	// --- what a user does ---

	//! Clicks a tab. The page opens when it is shown for the first time.
	void showPage(std::size_t index);
	//! Toggles a check box, then notifies its page.
	bool clickCheckBox(int id);
	bool clickButton(int id);
	//! Replaces an edit field's text by typing. A field taking digits only
	//! drops the other characters; when none is left nothing happens.
	bool typeText(int id, const std::string& text);
	//! Picks the drop-down entry with the text.
	bool selectListEntry(int id, const std::string& text);
	//! Puts a trackbar at a position (clamped) and sends one scroll code.
	bool scrollTrackbar(int id, int position, int code);
	//! Drags a trackbar's thumb to a position and lets it go.
	bool dragTrackbar(int id, int position);
	//! The fill colour (0x00BBGGRR) of a colour swatch on the current page
	//! as its page answers; false when the page leaves it to the system.
	bool getSwatchColor(int id, unsigned int& color);

	void pressOk();
	void pressCancel();
	void closeWindow();

	bool isClosed() const { return Closed; }
	//! 1 after OK, 0 after Cancel or closing.
	int getResult() const { return Result; }

	// --- the common dialogs, answered by the test ---

	//! Answers a colour dialog; empty: the user cancels.
	std::function<bool(unsigned int& color, unsigned int (&customColors)[SHEET_CUSTOM_COLOR_COUNT])>
		ColorDialog;
	//! Answers a file dialog; empty: the user cancels.
	std::function<bool(const SOpenFileRequest& request, std::string& path)> FileDialog;

	std::vector<SRecordedColorDialog> ColorDialogs;
	std::vector<SOpenFileRequest> FileDialogs;
	//! Page indices the pages asked the sheet to show, in order.
	std::vector<int> PageRequests;

private:
	friend class CRecordingSheetPage;

	//! The control on the current page, if the user can reach it.
	SRecordedControl* reachable(int id, ESheetControlKind kind);
	bool notify(int id, int code);
	void close(int result);

	std::vector<std::unique_ptr<CRecordingSheetPage> > Pages;
	std::size_t Current;
	bool Valid;
	bool Closed;
	int Result;
};

} // end namespace platform
} // end namespace vistel

#endif

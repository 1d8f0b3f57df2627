#ifndef VISTEL_C_QT_SHEET_PAGE_H_INCLUDED
#define VISTEL_C_QT_SHEET_PAGE_H_INCLUDED

#include "SSheetDescription.h"

#include <QWidget>
#include <map>

class QAbstractSlider;

namespace vistel
{
namespace platform
{

class CQtDialogUnits;
class CQtSettingsSheet;

//! A page of the Qt settings sheet: the template's controls placed in
//! dialog units, their notifications passed to the page's procedure.
class CQtSheetPage : public QWidget, public ISheetPage
{
public:
	CQtSheetPage(CQtSettingsSheet& sheet, const SSheetPageTemplate& pageTemplate,
		const SSheetPageDescription& description, const CQtDialogUnits& units);

	//! Sends the opening message the first time.
	void open();
	bool isOpen() const { return Open; }
	//! Sends a message to the procedure of an opened page.
	bool send(SSheetMessage& message);

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
	QWidget* createControl(const SSheetControlTemplate& control);
	void connectTrackbar(QAbstractSlider* slider, int id, bool vertical);
	void notify(int id, int code);
	void scrolled(int id, bool vertical, int code);
	template <class T> T* find(int id) const;

	CQtSettingsSheet& Sheet;
	SSheetPageDescription Description;
	std::map<int, QWidget*> Controls;
	bool Open;
};

} // end namespace platform
} // end namespace vistel

#endif

#include "CRecordingSheet.h"

#include <algorithm>
#include <cctype>

namespace vistel
{
namespace platform
{

// --- CRecordingSheetPage ---

CRecordingSheetPage::CRecordingSheetPage(CRecordingSheet& sheet,
	const SSheetPageTemplate& pageTemplate, const SSheetPageDescription& description)
	: ChangeReports(0), Sheet(sheet), Template(pageTemplate), Description(description), Open(false)
{
	for (std::size_t i = 0; i < pageTemplate.ControlCount; ++i)
	{
		const SSheetControlTemplate& control = pageTemplate.Controls[i];
		SRecordedControl recorded = { &control, control.Caption ? control.Caption : "", false,
			true, 0, 100, 0, 1, std::vector<std::string>(), -1 };
		Controls.push_back(recorded);
	}
}

SRecordedControl* CRecordingSheetPage::findControl(int id)
{
	for (SRecordedControl& control : Controls)
		if (control.Template->Id == id)
			return &control;
	return 0;
}

SRecordedControl* CRecordingSheetPage::control(int id)
{
	SRecordedControl* found = findControl(id);
	if (!found)
		UnknownIds.push_back(id);
	return found;
}

bool CRecordingSheetPage::send(SSheetMessage& message)
{
	return Description.Procedure && Description.Procedure(*this, message);
}

void CRecordingSheetPage::open()
{
	if (Open)
		return;
	Open = true;
	SSheetMessage message = makeSheetMessage(ESMT_OPEN, 0, 0, Description.Record);
	send(message);
}

void CRecordingSheetPage::setChecked(int id, bool checked)
{
	if (SRecordedControl* c = control(id))
		c->Checked = checked;
}

bool CRecordingSheetPage::isChecked(int id)
{
	SRecordedControl* c = control(id);
	return c && c->Checked;
}

void CRecordingSheetPage::setEnabled(int id, bool enabled)
{
	if (SRecordedControl* c = control(id))
		c->Enabled = enabled;
}

void CRecordingSheetPage::setText(int id, const std::string& text)
{
	SRecordedControl* c = control(id);
	if (!c)
		return;
	c->Text = text;
	if (c->Template->Kind == ESCK_EDIT)
	{
		SSheetMessage message = makeSheetMessage(ESMT_COMMAND, id, ESN_EDIT_CHANGE);
		send(message);
	}
}

std::string CRecordingSheetPage::getText(int id)
{
	SRecordedControl* c = control(id);
	return c ? c->Text : std::string();
}

void CRecordingSheetPage::setTrackbarRange(int id, int minimum, int maximum)
{
	if (SRecordedControl* c = control(id))
	{
		c->Minimum = minimum;
		c->Maximum = std::max(minimum, maximum);
		c->Position = std::clamp(c->Position, c->Minimum, c->Maximum);
	}
}

void CRecordingSheetPage::setTrackbarPosition(int id, int position)
{
	if (SRecordedControl* c = control(id))
		c->Position = std::clamp(position, c->Minimum, c->Maximum);
}

void CRecordingSheetPage::setTrackbarTickFrequency(int id, int frequency)
{
	if (SRecordedControl* c = control(id))
		c->TickFrequency = frequency;
}

int CRecordingSheetPage::getTrackbarPosition(int id)
{
	SRecordedControl* c = control(id);
	return c ? c->Position : 0;
}

void CRecordingSheetPage::addListEntry(int id, const std::string& text)
{
	if (SRecordedControl* c = control(id))
		c->Entries.push_back(text);
}

int CRecordingSheetPage::findListEntryExact(int id, const std::string& text)
{
	SRecordedControl* c = control(id);
	if (!c)
		return -1;
	const std::vector<std::string>::const_iterator found =
		std::find(c->Entries.begin(), c->Entries.end(), text);
	return found == c->Entries.end() ? -1 : static_cast<int>(found - c->Entries.begin());
}

void CRecordingSheetPage::setListSelection(int id, int index)
{
	if (SRecordedControl* c = control(id))
		c->Selection = (index >= 0 && index < static_cast<int>(c->Entries.size())) ? index : -1;
}

int CRecordingSheetPage::getListSelection(int id)
{
	SRecordedControl* c = control(id);
	return c ? c->Selection : -1;
}

std::string CRecordingSheetPage::getListEntry(int id, int index)
{
	SRecordedControl* c = control(id);
	if (!c || index < 0 || index >= static_cast<int>(c->Entries.size()))
		return std::string();
	return c->Entries[static_cast<std::size_t>(index)];
}

void CRecordingSheetPage::reportChange()
{
	++ChangeReports;
}

void CRecordingSheetPage::showPage(int index)
{
	Sheet.PageRequests.push_back(index);
	if (index >= 0 && static_cast<std::size_t>(index) < Sheet.getPageCount())
		Sheet.showPage(static_cast<std::size_t>(index));
}

bool CRecordingSheetPage::chooseColor(unsigned int& color,
	unsigned int (&customColors)[SHEET_CUSTOM_COLOR_COUNT])
{
	SRecordedColorDialog dialog = { color,
		std::vector<unsigned int>(customColors, customColors + SHEET_CUSTOM_COLOR_COUNT) };
	Sheet.ColorDialogs.push_back(dialog);
	return Sheet.ColorDialog && Sheet.ColorDialog(color, customColors);
}

bool CRecordingSheetPage::chooseOpenFile(const SOpenFileRequest& request, std::string& path)
{
	Sheet.FileDialogs.push_back(request);
	return Sheet.FileDialog && Sheet.FileDialog(request, path);
}

// --- CRecordingSheet ---

CRecordingSheet::CRecordingSheet(const SSheetDescription& sheet)
	: Current(sheet.StartPage), Valid(sheet.Templates != 0 && sheet.StartPage < sheet.PageCount),
	  Closed(false), Result(0)
{
	for (std::size_t i = 0; Valid && i < sheet.PageCount; ++i)
	{
		const SSheetPageTemplate* pageTemplate = sheet.Templates->find(sheet.Pages[i].TemplateId);
		if (!pageTemplate)
			Valid = false;
		else
			Pages.push_back(std::unique_ptr<CRecordingSheetPage>(
				new CRecordingSheetPage(*this, *pageTemplate, sheet.Pages[i])));
	}
	if (!Valid)
	{
		Pages.clear();
		Closed = true;
		Result = -1;
		return;
	}
	Pages[Current]->open();
}

SRecordedControl* CRecordingSheet::findControl(int id)
{
	for (const std::unique_ptr<CRecordingSheetPage>& page : Pages)
		if (SRecordedControl* control = page->findControl(id))
			return control;
	return 0;
}

void CRecordingSheet::showPage(std::size_t index)
{
	if (Closed || index >= Pages.size())
		return;
	Current = index;
	Pages[index]->open();
}

SRecordedControl* CRecordingSheet::reachable(int id, ESheetControlKind kind)
{
	if (Closed)
		return 0;
	SRecordedControl* control = Pages[Current]->findControl(id);
	if (!control || control->Template->Kind != kind || !control->Enabled)
		return 0;
	return control;
}

bool CRecordingSheet::notify(int id, int code)
{
	SSheetMessage message = makeSheetMessage(ESMT_COMMAND, id, code);
	Pages[Current]->send(message);
	return true;
}

bool CRecordingSheet::clickCheckBox(int id)
{
	SRecordedControl* control = reachable(id, ESCK_CHECK_BOX);
	if (!control)
		return false;
	control->Checked = !control->Checked;
	return notify(id, ESN_CLICKED);
}

bool CRecordingSheet::clickButton(int id)
{
	return reachable(id, ESCK_BUTTON) && notify(id, ESN_CLICKED);
}

bool CRecordingSheet::typeText(int id, const std::string& text)
{
	SRecordedControl* control = reachable(id, ESCK_EDIT);
	if (!control || (control->Template->Style & ESCS_READ_ONLY))
		return false;
	std::string typed = text;
	if (control->Template->Style & ESCS_DIGITS_ONLY)
	{
		typed.erase(std::remove_if(typed.begin(), typed.end(),
			[](char c) { return !std::isdigit(static_cast<unsigned char>(c)); }), typed.end());
		if (typed.empty() && !text.empty())
			return true;
	}
	control->Text = typed;
	return notify(id, ESN_EDIT_CHANGE);
}

bool CRecordingSheet::selectListEntry(int id, const std::string& text)
{
	SRecordedControl* control = reachable(id, ESCK_DROP_DOWN_LIST);
	if (!control)
		return false;
	const std::vector<std::string>::const_iterator found =
		std::find(control->Entries.begin(), control->Entries.end(), text);
	if (found == control->Entries.end())
		return false;
	control->Selection = static_cast<int>(found - control->Entries.begin());
	return notify(id, ESN_SELECTION_CHANGE);
}

bool CRecordingSheet::scrollTrackbar(int id, int position, int code)
{
	SRecordedControl* control = reachable(id, ESCK_TRACKBAR);
	if (!control)
		return false;
	control->Position = std::clamp(position, control->Minimum, control->Maximum);
	const bool vertical = (control->Template->Style & ESCS_VERTICAL) != 0;
	SSheetMessage message = makeSheetMessage(vertical ? ESMT_VSCROLL : ESMT_HSCROLL, id, code);
	Pages[Current]->send(message);
	return true;
}

bool CRecordingSheet::dragTrackbar(int id, int position)
{
	return scrollTrackbar(id, position, ESSC_THUMB_TRACK)
		&& scrollTrackbar(id, position, ESSC_THUMB_POSITION)
		&& scrollTrackbar(id, position, ESSC_END_TRACK);
}

bool CRecordingSheet::getSwatchColor(int id, unsigned int& color)
{
	if (!reachable(id, ESCK_COLOR_SWATCH))
		return false;
	SSheetMessage message = makeSheetMessage(ESMT_PAINT_STATIC, id);
	if (!Pages[Current]->send(message) || !message.FillWithColor)
		return false;
	color = message.FillColor;
	return true;
}

void CRecordingSheet::close(int result)
{
	Closed = true;
	Result = result;
}

void CRecordingSheet::pressOk()
{
	if (Closed)
		return;
	for (const std::unique_ptr<CRecordingSheetPage>& page : Pages)
	{
		if (!page->isOpen())
			continue;
		SSheetMessage message = makeSheetMessage(ESMT_APPLY);
		page->send(message);
	}
	close(1);
}

void CRecordingSheet::pressCancel()
{
	if (!Closed)
		close(0);
}

void CRecordingSheet::closeWindow()
{
	if (!Closed)
		close(0);
}

} // end namespace platform
} // end namespace vistel

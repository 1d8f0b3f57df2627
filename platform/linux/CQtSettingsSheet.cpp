#include "CQtSettingsSheet.h"
#include "CQtSheetControls.h"
#include "CQtSheetPage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vistel
{
namespace platform
{

CQtSettingsSheet::CQtSettingsSheet(const SSheetDescription& sheet)
	: Tabs(new QTabWidget(this)), Valid(sheet.Templates != 0 && sheet.StartPage < sheet.PageCount)
{
	setWindowTitle(QString::fromLatin1(sheet.Caption.c_str()));
	setObjectName(QStringLiteral("settings-sheet"));

	const CQtDialogUnits units(font());
	for (std::size_t i = 0; Valid && i < sheet.PageCount; ++i)
	{
		const SSheetPageTemplate* pageTemplate = sheet.Templates->find(sheet.Pages[i].TemplateId);
		if (!pageTemplate)
		{
			Valid = false;
			break;
		}
		CQtSheetPage* page = new CQtSheetPage(*this, *pageTemplate, sheet.Pages[i], units);
		Pages.push_back(page);
		Tabs->addTab(page, QString::fromLatin1(pageTemplate->Caption));
	}

	QDialogButtonBox* buttons = new QDialogButtonBox(QDialogButtonBox::Ok
		| QDialogButtonBox::Cancel, this);
	buttons->button(QDialogButtonBox::Ok)->setDefault(true);
	connect(buttons, &QDialogButtonBox::accepted, this, [this]() {
		applyPages();
		accept();
	});
	connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

	QVBoxLayout* layout = new QVBoxLayout(this);
	layout->addWidget(Tabs);
	layout->addWidget(buttons);
	layout->setSizeConstraint(QLayout::SetFixedSize);

	if (!Valid)
		return;
	Tabs->setCurrentIndex(static_cast<int>(sheet.StartPage));
	// Connected after the start page is set: that page opens in run().
	connect(Tabs, &QTabWidget::currentChanged, this, [this](int index) {
		if (index >= 0 && index < static_cast<int>(Pages.size()))
			Pages[static_cast<std::size_t>(index)]->open();
	});
}

void CQtSettingsSheet::showPage(int index)
{
	if (index < 0 || index >= static_cast<int>(Pages.size()))
		return;
	Tabs->setCurrentIndex(index);
	// Shown again as a page is after a tab change: the swatches repaint.
	Pages[static_cast<std::size_t>(index)]->update();
}

void CQtSettingsSheet::applyPages()
{
	for (CQtSheetPage* page : Pages)
	{
		if (!page->isOpen())
			continue;
		SSheetMessage message = makeSheetMessage(ESMT_APPLY);
		page->send(message);
	}
}

int CQtSettingsSheet::run()
{
	if (!Valid)
		return -1;
	Pages[static_cast<std::size_t>(Tabs->currentIndex())]->open();
	return exec() == QDialog::Accepted ? 1 : 0;
}

int runQtSettingsSheet(const SSheetDescription& sheet)
{
	CQtSettingsSheet dialog(sheet);
	return dialog.run();
}

} // end namespace platform
} // end namespace vistel

#include "CQtSheetPage.h"
#include "CQtSettingsSheet.h"
#include "CQtSheetControls.h"
#include "QtSheetDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>

// Resources compiled into a static library are registered explicitly; the
// macro must be used outside any namespace.
static void registerSheetResources()
{
	Q_INIT_RESOURCE(vistel_resources);
}

namespace vistel
{
namespace platform
{

namespace
{

// Control texts are 8-bit texts; Latin-1 keeps every byte.
QString toQt(const std::string& text)
{
	return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

std::string fromQt(const QString& text)
{
	return text.toLatin1().toStdString();
}

QPixmap loadImage(int imageId)
{
	static const bool registered = (registerSheetResources(), true);
	(void)registered;
	return QPixmap(QStringLiteral(":/vistel/%1").arg(imageId));
}

} // end anonymous namespace

CQtSheetPage::CQtSheetPage(CQtSettingsSheet& sheet, const SSheetPageTemplate& pageTemplate,
	const SSheetPageDescription& description, const CQtDialogUnits& units)
	: Sheet(sheet), Description(description), Open(false)
{
	setObjectName(QStringLiteral("page-%1").arg(pageTemplate.Id));
	setMinimumSize(units.toPixelsX(pageTemplate.Width), units.toPixelsY(pageTemplate.Height));
	for (std::size_t i = 0; i < pageTemplate.ControlCount; ++i)
	{
		const SSheetControlTemplate& control = pageTemplate.Controls[i];
		QWidget* widget = createControl(control);
		widget->setObjectName(getSheetControlName(control.Id));
		widget->setGeometry(units.toPixels(control.X, control.Y, control.Width, control.Height));
		Controls[control.Id] = widget;
	}
}

QWidget* CQtSheetPage::createControl(const SSheetControlTemplate& control)
{
	const QString caption = control.Caption ? QString::fromLatin1(control.Caption) : QString();
	const int id = control.Id;
	const Qt::Alignment horizontal =
		(control.Style & ESCS_CENTERED) ? Qt::AlignHCenter : Qt::AlignLeft;
	switch (control.Kind)
	{
	case ESCK_GROUP:
		return new QGroupBox(caption, this);
	case ESCK_LABEL:
	{
		QLabel* label = new QLabel(caption, this);
		label->setAlignment(horizontal | Qt::AlignVCenter);
		return label;
	}
	case ESCK_TEXT:
	{
		QLabel* label = new QLabel(caption, this);
		label->setAlignment(horizontal | Qt::AlignTop);
		label->setWordWrap(true);
		return label;
	}
	case ESCK_EDIT:
	{
		QLineEdit* edit = new QLineEdit(this);
		if (control.Style & ESCS_READ_ONLY)
		{
			// A display, not an input: drawn on the page's face.
			edit->setReadOnly(true);
			edit->setFocusPolicy(Qt::NoFocus);
			QPalette palette = edit->palette();
			palette.setBrush(QPalette::Base, palette.window());
			edit->setPalette(palette);
		}
		if (control.Style & ESCS_DIGITS_ONLY)
			edit->installEventFilter(new CQtDigitsOnlyFilter(edit));
		QObject::connect(edit, &QLineEdit::textChanged, this,
			[this, id]() { notify(id, ESN_EDIT_CHANGE); });
		return edit;
	}
	case ESCK_CHECK_BOX:
	{
		QCheckBox* box = new QCheckBox(caption, this);
		QObject::connect(box, &QCheckBox::clicked, this, [this, id]() { notify(id, ESN_CLICKED); });
		return box;
	}
	case ESCK_BUTTON:
	{
		QPushButton* button = new QPushButton(caption, this);
		QObject::connect(button, &QPushButton::clicked, this,
			[this, id]() { notify(id, ESN_CLICKED); });
		return button;
	}
	case ESCK_DROP_DOWN_LIST:
	{
		QComboBox* list = new QComboBox(this);
		QObject::connect(list, &QComboBox::activated, this,
			[this, id]() { notify(id, ESN_SELECTION_CHANGE); });
		return list;
	}
	case ESCK_TRACKBAR:
	{
		const bool vertical = (control.Style & ESCS_VERTICAL) != 0;
		QSlider* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, this);
		if (vertical)
		{
			// The minimum at the top, and the Up keys moving towards it.
			slider->setInvertedAppearance(true);
			slider->setInvertedControls(true);
		}
		slider->setTickPosition((control.Style & ESCS_TICKS) ? QSlider::TicksBelow
			: QSlider::NoTicks);
		slider->setPageStep(10);
		connectTrackbar(slider, id, vertical);
		return slider;
	}
	case ESCK_COLOR_SWATCH:
		return new CQtColorSwatch(this, [this, id](unsigned int& color) {
			SSheetMessage message = makeSheetMessage(ESMT_PAINT_STATIC, id);
			if (!send(message) || !message.FillWithColor)
				return false;
			color = message.FillColor;
			return true;
		});
	case ESCK_PICTURE:
	{
		QLabel* picture = new QLabel(this);
		picture->setPixmap(loadImage(control.ImageId));
		picture->setAlignment(horizontal | Qt::AlignTop);
		return picture;
	}
	}
	return new QWidget(this);
}

// Qt's slider actions as the trackbar's scroll codes. Every action but a
// drag ends at once; a drag ends when the thumb is let go.
void CQtSheetPage::connectTrackbar(QAbstractSlider* slider, int id, bool vertical)
{
	QObject::connect(slider, &QAbstractSlider::actionTriggered, this,
		[this, slider, id, vertical](int action) {
			int code;
			switch (action)
			{
			case QAbstractSlider::SliderSingleStepSub: code = ESSC_LINE_UP; break;
			case QAbstractSlider::SliderSingleStepAdd: code = ESSC_LINE_DOWN; break;
			case QAbstractSlider::SliderPageStepSub: code = ESSC_PAGE_UP; break;
			case QAbstractSlider::SliderPageStepAdd: code = ESSC_PAGE_DOWN; break;
			case QAbstractSlider::SliderToMinimum: code = ESSC_TOP; break;
			case QAbstractSlider::SliderToMaximum: code = ESSC_BOTTOM; break;
			case QAbstractSlider::SliderMove: code = ESSC_THUMB_TRACK; break;
			default: return;
			}
			scrolled(id, vertical, code);
			if (!slider->isSliderDown())
				scrolled(id, vertical, ESSC_END_TRACK);
		});
	QObject::connect(slider, &QAbstractSlider::sliderReleased, this, [this, id, vertical]() {
		scrolled(id, vertical, ESSC_THUMB_POSITION);
		scrolled(id, vertical, ESSC_END_TRACK);
	});
}

void CQtSheetPage::open()
{
	if (Open)
		return;
	Open = true;
	SSheetMessage message = makeSheetMessage(ESMT_OPEN, 0, 0, Description.Record);
	send(message);
}

bool CQtSheetPage::send(SSheetMessage& message)
{
	return Open && Description.Procedure && Description.Procedure(*this, message);
}

void CQtSheetPage::notify(int id, int code)
{
	SSheetMessage message = makeSheetMessage(ESMT_COMMAND, id, code);
	send(message);
}

void CQtSheetPage::scrolled(int id, bool vertical, int code)
{
	SSheetMessage message = makeSheetMessage(vertical ? ESMT_VSCROLL : ESMT_HSCROLL, id, code);
	send(message);
}

template <class T> T* CQtSheetPage::find(int id) const
{
	const std::map<int, QWidget*>::const_iterator found = Controls.find(id);
	return found == Controls.end() ? 0 : qobject_cast<T*>(found->second);
}

void CQtSheetPage::setChecked(int id, bool checked)
{
	if (QCheckBox* box = find<QCheckBox>(id))
		box->setChecked(checked);
}

bool CQtSheetPage::isChecked(int id)
{
	QCheckBox* box = find<QCheckBox>(id);
	return box && box->isChecked();
}

void CQtSheetPage::setEnabled(int id, bool enabled)
{
	if (QWidget* control = find<QWidget>(id))
		control->setEnabled(enabled);
}

void CQtSheetPage::setText(int id, const std::string& text)
{
	QWidget* control = find<QWidget>(id);
	if (QLineEdit* edit = qobject_cast<QLineEdit*>(control))
	{
		edit->setText(toQt(text));
		// Shown from its start, as a text is read.
		edit->setCursorPosition(0);
	}
	else if (QLabel* label = qobject_cast<QLabel*>(control))
		label->setText(toQt(text));
	else if (QAbstractButton* button = qobject_cast<QAbstractButton*>(control))
		button->setText(toQt(text));
	else if (QGroupBox* group = qobject_cast<QGroupBox*>(control))
		group->setTitle(toQt(text));
}

std::string CQtSheetPage::getText(int id)
{
	QWidget* control = find<QWidget>(id);
	if (QLineEdit* edit = qobject_cast<QLineEdit*>(control))
		return fromQt(edit->text());
	if (QLabel* label = qobject_cast<QLabel*>(control))
		return fromQt(label->text());
	if (QAbstractButton* button = qobject_cast<QAbstractButton*>(control))
		return fromQt(button->text());
	if (QGroupBox* group = qobject_cast<QGroupBox*>(control))
		return fromQt(group->title());
	return std::string();
}

void CQtSheetPage::setTrackbarRange(int id, int minimum, int maximum)
{
	if (QAbstractSlider* slider = find<QAbstractSlider>(id))
		slider->setRange(minimum, maximum);
}

void CQtSheetPage::setTrackbarPosition(int id, int position)
{
	if (QAbstractSlider* slider = find<QAbstractSlider>(id))
		slider->setValue(position);
}

void CQtSheetPage::setTrackbarTickFrequency(int id, int frequency)
{
	if (QSlider* slider = find<QSlider>(id))
		slider->setTickInterval(frequency);
}

int CQtSheetPage::getTrackbarPosition(int id)
{
	// The slider position: during an action it is ahead of the value.
	QAbstractSlider* slider = find<QAbstractSlider>(id);
	return slider ? slider->sliderPosition() : 0;
}

void CQtSheetPage::addListEntry(int id, const std::string& text)
{
	if (QComboBox* list = find<QComboBox>(id))
	{
		// A fresh list shows its first entry; the page chooses the selection.
		const bool empty = list->count() == 0;
		list->addItem(toQt(text));
		if (empty)
			list->setCurrentIndex(-1);
	}
}

int CQtSheetPage::findListEntryExact(int id, const std::string& text)
{
	QComboBox* list = find<QComboBox>(id);
	return list ? list->findText(toQt(text), Qt::MatchExactly | Qt::MatchCaseSensitive) : -1;
}

void CQtSheetPage::setListSelection(int id, int index)
{
	if (QComboBox* list = find<QComboBox>(id))
		list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

int CQtSheetPage::getListSelection(int id)
{
	QComboBox* list = find<QComboBox>(id);
	return list ? list->currentIndex() : -1;
}

std::string CQtSheetPage::getListEntry(int id, int index)
{
	QComboBox* list = find<QComboBox>(id);
	if (!list || index < 0 || index >= list->count())
		return std::string();
	return fromQt(list->itemText(index));
}

void CQtSheetPage::reportChange()
{
	// The sheet has no Apply button: a change has nothing to show.
}

void CQtSheetPage::showPage(int index)
{
	Sheet.showPage(index);
}

bool CQtSheetPage::chooseColor(unsigned int& color,
	unsigned int (&customColors)[SHEET_CUSTOM_COLOR_COUNT])
{
	return runQtColorDialog(color, customColors);
}

bool CQtSheetPage::chooseOpenFile(const SOpenFileRequest& request, std::string& path)
{
	return runQtOpenFileDialog(request, path);
}

} // end namespace platform
} // end namespace vistel

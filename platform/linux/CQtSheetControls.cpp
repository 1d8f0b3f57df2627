#include "CQtSheetControls.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace vistel
{
namespace platform
{

namespace
{
const char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int scale(int units, int base, int divisor)
{
	// Rounded like the Windows dialog manager does.
	return (units * base + divisor / 2) / divisor;
}
}

CQtDialogUnits::CQtDialogUnits(const QFont& font)
{
	const QFontMetrics metrics(font);
	const int alphabetWidth = metrics.horizontalAdvance(QLatin1String(ALPHABET));
	BaseWidth = (alphabetWidth / 26 + 1) / 2;
	BaseHeight = metrics.height();
	if (BaseWidth < 1)
		BaseWidth = 1;
	if (BaseHeight < 1)
		BaseHeight = 1;
}

int CQtDialogUnits::toPixelsX(int units) const
{
	return scale(units, BaseWidth, 4);
}

int CQtDialogUnits::toPixelsY(int units) const
{
	return scale(units, BaseHeight, 8);
}

QRect CQtDialogUnits::toPixels(int x, int y, int width, int height) const
{
	return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
}

CQtColorSwatch::CQtColorSwatch(QWidget* parent, FillQuery query)
	: QWidget(parent), Query(query)
{
}

void CQtColorSwatch::paintEvent(QPaintEvent* event)
{
	(void)event;
	QPainter painter(this);
	unsigned int color = 0;
	const QRect inner = rect().adjusted(1, 1, -1, -1);
	if (Query && Query(color))
		painter.fillRect(inner, QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
	else
		painter.fillRect(inner, palette().window());
	// A sunken frame keeps a swatch in the page's own colour visible.
	painter.setPen(palette().color(QPalette::Dark));
	painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

CQtDigitsOnlyFilter::CQtDigitsOnlyFilter(QObject* parent)
	: QObject(parent)
{
}

bool CQtDigitsOnlyFilter::eventFilter(QObject* watched, QEvent* event)
{
	if (event->type() == QEvent::KeyPress)
	{
		const QString text = static_cast<QKeyEvent*>(event)->text();
		for (const QChar c : text)
			if (c.isPrint() && !(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
				return true;
	}
	return QObject::eventFilter(watched, event);
}

QString getSheetControlName(int id)
{
	return QString::number(id);
}

} // end namespace platform
} // end namespace vistel

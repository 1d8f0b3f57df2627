#ifndef VISTEL_C_QT_SHEET_CONTROLS_H_INCLUDED
#define VISTEL_C_QT_SHEET_CONTROLS_H_INCLUDED

#include "ISheetPage.h"

#include <QFont>
#include <QObject>
#include <QRect>
#include <QWidget>
#include <functional>

namespace vistel
{
namespace platform
{

//! Converts template rectangles from dialog units to pixels of a font:
//! a quarter of its average character width, an eighth of its height.
class CQtDialogUnits
{
public:
	explicit CQtDialogUnits(const QFont& font);
	int toPixelsX(int units) const;
	int toPixelsY(int units) const;
	QRect toPixels(int x, int y, int width, int height) const;

private:
	int BaseWidth;
	int BaseHeight;
};

//! A colour swatch: asks its page how to fill itself on every paint.
class CQtColorSwatch : public QWidget
{
public:
	typedef std::function<bool(unsigned int& color)> FillQuery;
	CQtColorSwatch(QWidget* parent, FillQuery query);

protected:
	void paintEvent(QPaintEvent* event) override;

private:
	FillQuery Query;
};

//! Lets an edit field take typed digits only; other printable characters
//! are dropped. Texts set by the program are not filtered.
class CQtDigitsOnlyFilter : public QObject
{
public:
	explicit CQtDigitsOnlyFilter(QObject* parent);

protected:
	bool eventFilter(QObject* watched, QEvent* event) override;
};

//! The object name a control of a page carries: its id in decimal.
QString getSheetControlName(int id);

} // end namespace platform
} // end namespace vistel

#endif

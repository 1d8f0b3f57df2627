#include "QtSheetDialogs.h"

#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace vistel
{
namespace platform
{

namespace
{

QColor toQColor(unsigned int color)
{
	return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

unsigned int fromQColor(const QColor& color)
{
	return static_cast<unsigned int>(color.red()) | (static_cast<unsigned int>(color.green()) << 8)
		| (static_cast<unsigned int>(color.blue()) << 16);
}

} // end anonymous namespace

bool runQtColorDialog(unsigned int& color, unsigned int (&customColors)[SHEET_CUSTOM_COLOR_COUNT])
{
	const int slotCount = QColorDialog::customCount();
	for (int i = 0; i < slotCount && i < static_cast<int>(SHEET_CUSTOM_COLOR_COUNT); ++i)
		QColorDialog::setCustomColor(i, toQColor(customColors[i]));

	// Qt's own dialog: a desktop's native one would not show our custom colours.
	QColorDialog dialog(toQColor(color));
	dialog.setOption(QColorDialog::DontUseNativeDialog);
	const bool chosen = dialog.exec() == QDialog::Accepted;

	// Custom colours the user defined stay, chosen or not.
	for (int i = 0; i < slotCount && i < static_cast<int>(SHEET_CUSTOM_COLOR_COUNT); ++i)
		customColors[i] = fromQColor(QColorDialog::customColor(i));
	if (chosen)
		color = fromQColor(dialog.selectedColor());
	return chosen;
}

bool runQtOpenFileDialog(const SOpenFileRequest& request, std::string& path)
{
	QString patterns = QString::fromLatin1(request.FilterPatterns.c_str());
	patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
	const QString filter = QString::fromLatin1(request.FilterName.c_str())
		+ QStringLiteral(" (") + patterns + QStringLiteral(")");

	QFileDialog dialog(0, QString::fromLatin1(request.Title.c_str()),
		QFile::decodeName(request.InitialDirectory.c_str()), filter);
	dialog.setAcceptMode(QFileDialog::AcceptOpen);
	dialog.setFileMode(QFileDialog::ExistingFile);
	if (!request.FileName.empty())
		dialog.selectFile(QFile::decodeName(request.FileName.c_str()));
	if (dialog.exec() != QDialog::Accepted)
		return false;

	const QStringList files = dialog.selectedFiles();
	if (files.isEmpty())
		return false;
	const QByteArray chosen = QFile::encodeName(files.first());
	// A path longer than the caller's buffer fails like a cancel.
	if (chosen.isEmpty() || static_cast<std::size_t>(chosen.size()) >= request.PathCapacity)
		return false;
	path.assign(chosen.constData(), static_cast<std::size_t>(chosen.size()));
	return true;
}

} // end namespace platform
} // end namespace vistel

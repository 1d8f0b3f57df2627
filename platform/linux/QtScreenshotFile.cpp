// The Save dialog of a screenshot and its JPEG file, through Qt.

#include "CLinuxPlatform.h"
#include "QtApplication.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QImageWriter>
#include <QStringList>
#include <QWindow>
#include <memory>

namespace vistel
{
namespace platform
{

namespace
{

// Keeps the dialog above the preview window where a window manager honours
// it. The owner's stand-in must outlive the dialog's native window.
void setOwner(QFileDialog& dialog, const SNativeWindow& owner,
	std::unique_ptr<QWindow>& ownerWindow)
{
	if (!owner.Window)
		return;
	dialog.winId(); // makes the dialog's native window
	QWindow* dialogWindow = dialog.windowHandle();
	if (!dialogWindow)
		return;
	ownerWindow.reset(QWindow::fromWinId(static_cast<WId>(owner.Window)));
	if (ownerWindow)
		dialogWindow->setTransientParent(ownerWindow.get());
}

} // end anonymous namespace

bool CLinuxPlatform::askSaveFileName(const SNativeWindow& owner, const SSaveFileDialog& dialog,
	std::string& fileName)
{
	if (!ensureQtApplication())
		return false;
	std::unique_ptr<QWindow> ownerWindow;
	QFileDialog fileDialog(0, QString::fromLatin1(dialog.Title.c_str()));
	fileDialog.setAcceptMode(QFileDialog::AcceptSave);
	fileDialog.setFileMode(QFileDialog::AnyFile);
	fileDialog.setNameFilter(QString::fromLatin1((dialog.FilterName + " (" + dialog.FilterPattern
		+ ")").c_str()));
	fileDialog.setDefaultSuffix(QString::fromLatin1(dialog.DefaultSuffix.c_str()));
	fileDialog.setOption(QFileDialog::DontConfirmOverwrite, !dialog.ConfirmOverwrite);
	setOwner(fileDialog, owner, ownerWindow);
	if (fileDialog.exec() != QDialog::Accepted)
		return false;
	const QStringList chosen = fileDialog.selectedFiles();
	if (chosen.isEmpty() || chosen.first().isEmpty())
		return false;
	fileName = QFile::encodeName(chosen.first()).toStdString();
	return true;
}

bool CLinuxPlatform::writeJpegFile(const std::string& fileName, const SWindowPicture& picture)
{
	if (picture.Width <= 0 || picture.Height <= 0
		|| picture.Pixels.size() != static_cast<size_t>(picture.Width) * picture.Height)
		return false;
	// Image plug-ins are found through the application when there is one.
	ensureQtApplication();
	const QImage image(reinterpret_cast<const uchar*>(picture.Pixels.data()), picture.Width,
		picture.Height, picture.Width * 4, QImage::Format_RGB32);
	// The format is named, so a file name without ".jpg" still gets a JPEG.
	QImageWriter writer(QFile::decodeName(fileName.c_str()), "jpeg");
	return writer.write(image);
}

} // end namespace platform
} // end namespace vistel

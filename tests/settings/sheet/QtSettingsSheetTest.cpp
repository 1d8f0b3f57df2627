// The settings sheet as a real Qt dialog in Qt's offscreen platform,
// driven through its widgets with QTest.

#include "CTemporaryDirectory.h"
#include "QtApplication.h"
#include "SettingsSheet.h"
#include "SheetColors.h"
#include "SheetResourceIds.h"
#include "SPreviewSettings.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <functional>

namespace vistel
{
namespace test
{

namespace
{

// Set before Qt starts: Qt's colour dialog keeps its custom colours in the
// user's configuration, which a test must not touch; and a locale in the
// environment must not reach the plug-in's number conversions.
CTemporaryDirectory configHome;
const bool environmentSet = (setenv("XDG_CONFIG_HOME", configHome.path().c_str(), 1) == 0)
	&& (setenv("LC_ALL", "C.UTF-8", 1) == 0);

template <class T> T* control(QWidget& dialog, int id)
{
	T* found = dialog.findChild<T*>(QString::number(id));
	if (!found)
		throw std::runtime_error("no control " + std::to_string(id));
	return found;
}

QString text(QWidget& dialog, int id)
{
	return control<QLineEdit>(dialog, id)->text();
}

void showTab(QWidget& dialog, int index)
{
	QTabBar* tabs = dialog.findChild<QTabWidget*>()->tabBar();
	QTest::mouseClick(tabs, Qt::LeftButton, Qt::KeyboardModifiers(), tabs->tabRect(index).center());
	ASSERT_EQ(dialog.findChild<QTabWidget*>()->currentIndex(), index);
}

// A check box toggled with the Space key, as a keyboard user does.
void toggle(QWidget& dialog, int id)
{
	QCheckBox* box = control<QCheckBox>(dialog, id);
	box->setFocus();
	QTest::keyClick(box, Qt::Key_Space);
}

void press(QWidget& dialog, QDialogButtonBox::StandardButton which)
{
	QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
}

// Runs when the next modal dialog is up (nested ones included).
void whenModal(std::function<void(QWidget&)> action)
{
	QTimer::singleShot(0, [action]() {
		QWidget* modal = QApplication::activeModalWidget();
		if (!modal)
		{
			ADD_FAILURE() << "no modal dialog";
			return;
		}
		action(*modal);
	});
}

class QtSettingsSheet : public ::testing::Test
{
protected:
	QtSettingsSheet() : Settings(makeDefaultPreviewSettings())
	{
		EXPECT_TRUE(environmentSet);
		EXPECT_TRUE(platform::ensureQtApplication());
	}

	//! Shows the sheet and drives it with the script; a sheet the script
	//! leaves open is cancelled.
	int run(std::function<void(QWidget&)> script)
	{
		bool ran = false;
		whenModal([&](QWidget& dialog) {
			ran = true;
			try
			{
				script(dialog);
			}
			catch (const std::exception& error)
			{
				ADD_FAILURE() << error.what();
			}
			if (dialog.isVisible())
				static_cast<QDialog&>(dialog).reject();
		});
		const int result = showSettingsSheet(&Settings.camera, &Settings.engine,
			&Settings.collision, &Settings.level, &Settings.fx);
		EXPECT_TRUE(ran);
		return result;
	}

	SPreviewSettings Settings;
};

} // end anonymous namespace

TEST_F(QtSettingsSheet, ShowsTheDefaults)
{
	const SPreviewSettings loaded = Settings;
	EXPECT_EQ(run([](QWidget& dialog) {
		EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tarvo Vistel Plugin - Version 2.0"));
		QTabWidget* tabs = dialog.findChild<QTabWidget*>();
		const QStringList labels = { "About...", "Camera Settings", "Collision Settings",
			"Engine Settings", "Level Settings", "FX Settings" };
		ASSERT_EQ(tabs->count(), labels.size());
		for (int i = 0; i < tabs->count(); ++i)
			EXPECT_EQ(tabs->tabText(i), labels[i]);
		EXPECT_EQ(tabs->currentIndex(), 0);
		QDialogButtonBox* buttons = dialog.findChild<QDialogButtonBox*>();
		EXPECT_EQ(buttons->buttons().size(), 2);

		const QPixmap logo = control<QLabel>(dialog, EABT_LOGO)->pixmap();
		EXPECT_EQ(logo.size(), QSize(233, 60));

		showTab(dialog, 1);
		QSlider* eye = control<QSlider>(dialog, ECAM_ELLIPSOID_TRACKBAR);
		EXPECT_EQ(eye->orientation(), Qt::Vertical);
		EXPECT_EQ(eye->value(), 50);
		EXPECT_EQ(eye->tickInterval(), 10);
		EXPECT_EQ(text(dialog, ECAM_ELLIPSOID_PERCENT), "50%");
		EXPECT_EQ(text(dialog, ECAM_MOVE_SPEED_EDIT), "500.000000");
		EXPECT_EQ(text(dialog, ECAM_ROTATE_SPEED_EDIT), "100.000000");
		EXPECT_FALSE(control<QLineEdit>(dialog, ECAM_X_EDIT)->isEnabled());

		showTab(dialog, 3);
		EXPECT_EQ(control<QComboBox>(dialog, EENG_RESOLUTION_LIST)->currentText(), "640x480x32");
		QComboBox* device = control<QComboBox>(dialog, EENG_DEVICE_LIST);
		EXPECT_EQ(device->currentText(), "DirectX 9.0c");
		EXPECT_FALSE(device->isEnabled());
		for (int id : { EENG_IGNORE_SHADOWS, EENG_HIDE_MOUSE_CURSOR, EENG_BACKFACE_CULLING })
			EXPECT_TRUE(control<QCheckBox>(dialog, id)->isChecked()) << id;
		for (int id : { EENG_FULLSCREEN, EENG_WIREFRAME, EENG_NORMAL_MAPPING, EENG_SELECTED_ONLY })
			EXPECT_FALSE(control<QCheckBox>(dialog, id)->isChecked()) << id;
		EXPECT_FALSE(control<QCheckBox>(dialog, EENG_NORMAL_MAPPING)->isEnabled());
		EXPECT_FALSE(control<QCheckBox>(dialog, EENG_SELECTED_ONLY)->isEnabled());

		showTab(dialog, 4);
		EXPECT_EQ(control<QSlider>(dialog, ELEV_SHADOW_TRACKBAR)->orientation(), Qt::Horizontal);
		EXPECT_EQ(text(dialog, ELEV_SHADOW_PERCENT), "75%");
		EXPECT_EQ(text(dialog, ELEV_SCALE_Z_PERCENT), "100%");
		EXPECT_FALSE(control<QPushButton>(dialog, ELEV_TOP_TEXTURE)->isEnabled());

		press(dialog, QDialogButtonBox::Cancel);
	}), 0);
	EXPECT_TRUE(Settings == loaded);
}

TEST_F(QtSettingsSheet, ChosenModeIsStoredOnOk)
{
	EXPECT_EQ(run([](QWidget& dialog) {
		showTab(dialog, 3);
		QComboBox* list = control<QComboBox>(dialog, EENG_RESOLUTION_LIST);
		QTest::mouseClick(list, Qt::LeftButton);
		QAbstractItemView* view = list->view();
		ASSERT_TRUE(view->isVisible());
		const QModelIndex entry = list->model()->index(list->findText("1280x1024x16"), 0);
		view->scrollTo(entry);
		// The popup ignores a release that comes as fast as a double click.
		QTest::qWait(QApplication::doubleClickInterval() + 50);
		QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::KeyboardModifiers(),
			view->visualRect(entry).center());
		EXPECT_EQ(list->currentText(), "1280x1024x16");
		press(dialog, QDialogButtonBox::Ok);
	}), 1);
	EXPECT_EQ(Settings.engine.screenWidth, 1280);
	EXPECT_EQ(Settings.engine.screenHeight, 1024);
	EXPECT_EQ(Settings.engine.colorBits, 16);
}

TEST_F(QtSettingsSheet, CollisionOffGreysGravity)
{
	EXPECT_EQ(run([](QWidget& dialog) {
		showTab(dialog, 2);
		toggle(dialog, ECOL_ENABLE_COLLISION);
		QCheckBox* gravity = control<QCheckBox>(dialog, ECOL_ENABLE_GRAVITY);
		EXPECT_FALSE(gravity->isChecked());
		EXPECT_FALSE(gravity->isEnabled());
		EXPECT_FALSE(control<QLineEdit>(dialog, ECOL_GRAVITY_EDIT)->isEnabled());
		EXPECT_FALSE(control<QLineEdit>(dialog, ECOL_Y_RADIUS_EDIT)->isEnabled());

		toggle(dialog, ECOL_ENABLE_COLLISION);
		EXPECT_TRUE(gravity->isEnabled());
		EXPECT_FALSE(gravity->isChecked());
		press(dialog, QDialogButtonBox::Ok);
	}), 1);
	EXPECT_TRUE(Settings.collision.collisionEnabled);
	EXPECT_FALSE(Settings.collision.gravityEnabled);
}

TEST_F(QtSettingsSheet, LaserBoxSwapsTheBeamAndRepaintsTheSwatch)
{
	EXPECT_EQ(run([this](QWidget& dialog) {
		showTab(dialog, 5);
		toggle(dialog, EFX_LASER_MODE);
		EXPECT_EQ(text(dialog, EFX_ANGLE_EDIT), "1.0");
		EXPECT_EQ(text(dialog, EFX_DISTANCE_EDIT), "2000.0");
		EXPECT_EQ(Settings.fx.flashlightColor.color, 0x00FF0000u);
		EXPECT_EQ(dialog.findChild<QTabWidget*>()->currentIndex(), 5);

		QWidget* swatch = control<QWidget>(dialog, EFX_COLOR_SWATCH);
		const QImage picture = swatch->grab().toImage();
		EXPECT_EQ(picture.pixelColor(picture.rect().center()), QColor(255, 0, 0));
		press(dialog, QDialogButtonBox::Ok);
	}), 1);
	EXPECT_TRUE(Settings.fx.laserMode);
	EXPECT_EQ(Settings.fx.flashlightAngle, 1.f);
	EXPECT_EQ(Settings.fx.flashlightDistance, 2000.f);
}

TEST_F(QtSettingsSheet, CancelAndClosingWriteNothingTyped)
{
	const SPreviewSettings loaded = Settings;
	const std::function<void(QWidget&)> edits = [](QWidget& dialog) {
		showTab(dialog, 1);
		QLineEdit* speed = control<QLineEdit>(dialog, ECAM_MOVE_SPEED_EDIT);
		speed->selectAll();
		QTest::keyClicks(speed, "42");
		EXPECT_EQ(speed->text(), "42");
		QSlider* eye = control<QSlider>(dialog, ECAM_ELLIPSOID_TRACKBAR);
		QTest::keyClick(eye, Qt::Key_Home);
		showTab(dialog, 3);
		toggle(dialog, EENG_WIREFRAME);
	};
	EXPECT_EQ(run([&](QWidget& dialog) {
		edits(dialog);
		QTest::keyClick(&dialog, Qt::Key_Escape);
	}), 0);
	EXPECT_TRUE(Settings == loaded);

	EXPECT_EQ(run([&](QWidget& dialog) {
		edits(dialog);
		dialog.close();
	}), 0);
	EXPECT_TRUE(Settings == loaded);
}

TEST_F(QtSettingsSheet, TrackbarKeysMoveThePercentages)
{
	EXPECT_EQ(run([](QWidget& dialog) {
		showTab(dialog, 1);
		QSlider* eye = control<QSlider>(dialog, ECAM_ELLIPSOID_TRACKBAR);
		QTest::keyClick(eye, Qt::Key_Home);
		EXPECT_EQ(text(dialog, ECAM_ELLIPSOID_PERCENT), "100%");
		QTest::keyClick(eye, Qt::Key_Down);
		EXPECT_EQ(text(dialog, ECAM_ELLIPSOID_PERCENT), "99%");
		QTest::keyClick(eye, Qt::Key_PageDown);
		EXPECT_EQ(text(dialog, ECAM_ELLIPSOID_PERCENT), "89%");
		QTest::keyClick(eye, Qt::Key_Up);
		EXPECT_EQ(text(dialog, ECAM_ELLIPSOID_PERCENT), "90%");

		showTab(dialog, 4);
		QSlider* shadow = control<QSlider>(dialog, ELEV_SHADOW_TRACKBAR);
		QTest::keyClick(shadow, Qt::Key_Right);
		EXPECT_EQ(text(dialog, ELEV_SHADOW_PERCENT), "76%");
		QTest::keyClick(shadow, Qt::Key_End);
		EXPECT_EQ(text(dialog, ELEV_SHADOW_PERCENT), "100%");
		press(dialog, QDialogButtonBox::Ok);
	}), 1);
	EXPECT_EQ(Settings.camera.ellipsoidPosition, 90);
	EXPECT_EQ(Settings.level.shadowOpacity, 100);
}

TEST_F(QtSettingsSheet, RatioFieldsIgnoreTypedLetters)
{
	EXPECT_EQ(run([](QWidget& dialog) {
		showTab(dialog, 5);
		QLineEdit* ratio = control<QLineEdit>(dialog, EFX_RATIO_X_EDIT);
		ratio->setFocus();
		ratio->selectAll();
		QTest::keyClicks(ratio, "a.");
		EXPECT_EQ(ratio->text(), "4.000000");
		QTest::keyClicks(ratio, "16");
		EXPECT_EQ(ratio->text(), "16");
		press(dialog, QDialogButtonBox::Ok);
	}), 1);
	EXPECT_EQ(Settings.fx.screenRatioX, 16.f);
}

TEST_F(QtSettingsSheet, ColourDialogStartsFromTheColourAndSharesCustomColours)
{
	const QColor blue(0, 0, 255);
	EXPECT_EQ(run([&](QWidget& dialog) {
		showTab(dialog, 4);
		whenModal([&](QWidget& modal) {
			QColorDialog* chooser = qobject_cast<QColorDialog*>(&modal);
			ASSERT_TRUE(chooser);
			EXPECT_EQ(chooser->currentColor(), QColor(255, 255, 255));
			chooser->setCurrentColor(blue);
			// what "Add to Custom Colors" does: the current colour into a slot
			QColorDialog::setCustomColor(2, blue);
			chooser->accept();
		});
		QTest::mouseClick(control<QPushButton>(dialog, ELEV_CHANGE_COLOR), Qt::LeftButton);
		EXPECT_EQ(dialog.findChild<QTabWidget*>()->currentIndex(), 4);
		const QImage swatch = control<QWidget>(dialog, ELEV_COLOR_SWATCH)->grab().toImage();
		EXPECT_EQ(swatch.pixelColor(swatch.rect().center()), blue);

		// The FX chooser shows the library's custom colours, whatever else
		// was put into Qt's slots meanwhile.
		QColorDialog::setCustomColor(2, Qt::green);
		showTab(dialog, 5);
		whenModal([&](QWidget& modal) {
			EXPECT_EQ(QColorDialog::customColor(2), blue);
			static_cast<QDialog&>(modal).reject();
		});
		QTest::mouseClick(control<QPushButton>(dialog, EFX_CHANGE_COLOR), Qt::LeftButton);
		press(dialog, QDialogButtonBox::Cancel);
	}), 0);
	EXPECT_EQ(Settings.level.backgroundColor.color, 0xFF0000FFu);
	EXPECT_EQ(Settings.fx.flashlightColor.color, 0xFFFFFFFFu);
	EXPECT_EQ(getSheetCustomColors()[2], 0x00FF0000u);
}

TEST_F(QtSettingsSheet, TexturePickerStartsAtTheFaceFileAndTakesAnExistingOne)
{
	CTemporaryDirectory directory;
	const std::string old = directory / "sky/top.jpg";
	const std::string chosen = directory / "sky/new.tga";
	writeFile(old, "old");
	writeFile(chosen, "new");
	Settings.level.useSkybox = true;
	Settings.level.topTexture = old.c_str();
	EXPECT_EQ(run([&](QWidget& dialog) {
		showTab(dialog, 4);
		whenModal([&](QWidget& modal) {
			QFileDialog* files = qobject_cast<QFileDialog*>(&modal);
			ASSERT_TRUE(files);
			EXPECT_EQ(files->windowTitle(), "Get Top Texture image...");
			EXPECT_EQ(files->nameFilters(),
				QStringList("All supported images (*.jpg *.bmp *.tga)"));
			EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
			EXPECT_EQ(files->directory().absolutePath(),
				QDir(QString::fromStdString(directory / "sky")).absolutePath());
			EXPECT_EQ(files->selectedFiles(), QStringList(QString::fromStdString(old)));
			files->selectFile(QString::fromStdString(chosen));
			QTest::mouseClick(
				files->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open),
				Qt::LeftButton);
		});
		QTest::mouseClick(control<QPushButton>(dialog, ELEV_TOP_TEXTURE), Qt::LeftButton);
		press(dialog, QDialogButtonBox::Cancel);
	}), 0);
	// written at once, kept although the sheet was cancelled
	EXPECT_EQ(Settings.level.topTexture, chosen.c_str());
	EXPECT_TRUE(Settings.level.hasTopTexture);
}

TEST_F(QtSettingsSheet, CaptionsFitTheirControls)
{
	run([](QWidget& dialog) {
		QTabWidget* tabs = dialog.findChild<QTabWidget*>();
		for (int page = 0; page < tabs->count(); ++page)
		{
			showTab(dialog, page);
			QWidget* area = tabs->widget(page);
			EXPECT_LE(area->childrenRect().right(), tabs->currentWidget()->width()) << page;
			EXPECT_LE(area->childrenRect().bottom(), tabs->currentWidget()->height()) << page;
			for (QCheckBox* box : area->findChildren<QCheckBox*>())
				EXPECT_LE(box->sizeHint().width(), box->width()) << qPrintable(box->text());
			for (QLabel* label : area->findChildren<QLabel*>())
			{
				if (!label->wordWrap() && label->pixmap().isNull())
				{
					EXPECT_LE(label->sizeHint().width(), label->width())
						<< qPrintable(label->text());
				}
			}
			for (QPushButton* button : area->findChildren<QPushButton*>())
				EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8,
					button->width()) << qPrintable(button->text());
			for (QGroupBox* group : area->findChildren<QGroupBox*>())
				EXPECT_LE(group->fontMetrics().horizontalAdvance(group->title()), group->width())
					<< qPrintable(group->title());
			for (QLineEdit* edit : area->findChildren<QLineEdit*>())
			{
				if (!edit->text().isEmpty())
				{
					EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()) + 8,
						edit->width()) << qPrintable(edit->text());
				}
			}
		}
	});
}

TEST_F(QtSettingsSheet, NumberConversionsKeepTheHostLocale)
{
	// The environment asked for C.UTF-8; Qt's start-up must not apply it.
	EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

} // end namespace test
} // end namespace vistel

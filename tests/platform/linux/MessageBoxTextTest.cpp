// Message boxes of the Linux backend show the core's 8-bit texts as the
// user's locale encodes them (a folder name with umlauts, for instance).

#include "CTemporaryDirectory.h"
#include "IPlatform.h"
#include "QtApplication.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vistel
{
namespace test
{
namespace
{

struct SShownBox
{
	bool Seen = false;
	QString Title;
	QString Text;
	QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Shows a box through the backend and reads what it shows, then closes it.
SShownBox showBox(const std::string& text, const std::string& caption,
	platform::EMessageBoxStyle style)
{
	SShownBox shown;
	// The timer needs the application's event loop, which the box runs.
	if (!platform::ensureQtApplication())
	{
		ADD_FAILURE() << "Qt cannot start";
		return shown;
	}
	QTimer poll;
	QObject::connect(&poll, &QTimer::timeout, [&shown]() {
		QMessageBox* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
		if (!box || shown.Seen)
			return;
		shown.Seen = true;
		shown.Title = box->windowTitle();
		shown.Text = box->text();
		shown.Icon = box->icon();
		box->accept();
	});
	poll.start(10);
	platform::getDefaultPlatform().showMessageBox(0, text, caption, style);
	return shown;
}

// A locale with a one-byte character set, made for this test where the
// system has the locale sources; empty when it cannot be made.
std::string makeLatin1Locale(const CTemporaryDirectory& directory)
{
	const std::string name = "de_DE.ISO-8859-1";
	const std::string command = "localedef -i de_DE -f ISO-8859-1 '" + (directory / name)
		+ "' >/dev/null 2>&1";
	return std::system(command.c_str()) == 0 ? name : std::string();
}

TEST(MessageBoxText, EightBitTextsAreDecodedWithTheUsersLocale)
{
	CTemporaryDirectory locales;
	const std::string latin1 = makeLatin1Locale(locales);
	ASSERT_EQ(setenv("LOCPATH", locales.path().c_str(), 1), 0);

	const QString folder = QString::fromUtf8("C:/Spiele/M\xC3\xBCnchen/");
	struct SCase
	{
		std::string locale;
		std::string text; // as the core holds it
	};
	const SCase cases[] = {
		{"C.UTF-8", "C:/Spiele/M\xC3\xBCnchen/"},
		// Plain ASCII says nothing about other bytes: UTF-8, as Qt assumes.
		{"C", "C:/Spiele/M\xC3\xBCnchen/"},
		{latin1, "C:/Spiele/M\xFCnchen/"},
	};
	for (const SCase& c : cases)
	{
		if (c.locale.empty())
		{
			std::printf("no ISO-8859-1 locale could be made here; that case is left out\n");
			continue;
		}
		SCOPED_TRACE(c.locale);
		ASSERT_EQ(setenv("LC_ALL", c.locale.c_str(), 1), 0);
		const SShownBox shown = showBox(c.text, c.text, platform::EMBS_OK);
		ASSERT_TRUE(shown.Seen);
		EXPECT_EQ(shown.Text.toStdString(), folder.toStdString());
		EXPECT_EQ(shown.Title.toStdString(), folder.toStdString());
	}
	ASSERT_EQ(setenv("LC_ALL", "C.UTF-8", 1), 0);
}

TEST(MessageBoxText, ErrorStyleShowsTheErrorIcon)
{
	ASSERT_EQ(setenv("LC_ALL", "C.UTF-8", 1), 0);
	EXPECT_EQ(showBox("text", "caption", platform::EMBS_ICON_ERROR).Icon, QMessageBox::Critical);
	EXPECT_EQ(showBox("text", "caption", platform::EMBS_OK).Icon, QMessageBox::NoIcon);
}

} // end anonymous namespace
} // end namespace test
} // end namespace vistel

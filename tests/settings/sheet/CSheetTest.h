#ifndef VISTEL_TEST_C_SHEET_TEST_H_INCLUDED
#define VISTEL_TEST_C_SHEET_TEST_H_INCLUDED

#include "CRecordingPlatform.h"
#include "SettingsSheet.h"
#include "SheetPages.h"
#include "SheetResourceIds.h"
#include "SPreviewSettings.h"

#include <gtest/gtest.h>
#include <functional>
#include <stdexcept>
#include <string>

namespace vistel
{
namespace test
{

//! Runs the settings sheet over a record of defaults on the recording
//! backend, driven by a script as a user would drive it.
class CSheetTest : public ::testing::Test
{
protected:
	typedef platform::CRecordingSheet CSheet;

	CSheetTest()
		: Settings(makeDefaultPreviewSettings()), Platform(platform::getRecordingPlatform())
	{
		Platform.Sheets.clear();
		Platform.SheetAvailable = true;
	}

	~CSheetTest()
	{
		Platform.SheetScript = nullptr;
		Platform.SheetAvailable = true;
	}

	//! Shows the sheet; afterwards no page may have asked for a control its
	//! template lacks.
	int run(std::function<void(CSheet&)> script)
	{
		Platform.SheetScript = [script](CSheet& sheet) {
			script(sheet);
			for (std::size_t i = 0; i < sheet.getPageCount(); ++i)
				EXPECT_TRUE(sheet.getPage(i).UnknownIds.empty()) << "page " << i;
		};
		return showSettingsSheet(&Settings.camera, &Settings.engine, &Settings.collision,
			&Settings.level, &Settings.fx);
	}

	static platform::SRecordedControl& control(CSheet& sheet, int id)
	{
		platform::SRecordedControl* found = sheet.findControl(id);
		if (!found)
			throw std::runtime_error("no control " + std::to_string(id));
		return *found;
	}
	static bool checked(CSheet& sheet, int id) { return control(sheet, id).Checked; }
	static bool enabled(CSheet& sheet, int id) { return control(sheet, id).Enabled; }
	static const std::string& text(CSheet& sheet, int id) { return control(sheet, id).Text; }
	static int position(CSheet& sheet, int id) { return control(sheet, id).Position; }
	static int changes(CSheet& sheet, ESheetPageIndex page)
	{
		return sheet.getPage(page).ChangeReports;
	}

	SPreviewSettings Settings;
	platform::CRecordingPlatform& Platform;
};

} // end namespace test
} // end namespace vistel

#endif

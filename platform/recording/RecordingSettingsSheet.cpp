#include "CRecordingPlatform.h"

namespace vistel
{
namespace platform
{

int CRecordingPlatform::runSettingsSheet(const SSheetDescription& sheet)
{
	SRecordedSheet recorded = { sheet.Caption, std::vector<int>(), sheet.StartPage, -1 };
	for (std::size_t i = 0; i < sheet.PageCount; ++i)
		recorded.TemplateIds.push_back(sheet.Pages[i].TemplateId);

	if (SheetAvailable)
	{
		CRecordingSheet shown(sheet);
		if (shown.isValid())
		{
			if (SheetScript)
				SheetScript(shown);
			else
				shown.pressOk();
			shown.pressCancel();
		}
		recorded.Result = shown.getResult();
	}
	Sheets.push_back(recorded);
	return recorded.Result;
}

} // end namespace platform
} // end namespace vistel

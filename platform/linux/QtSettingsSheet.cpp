#include "CLinuxPlatform.h"
#include "CQtSettingsSheet.h"
#include "QtApplication.h"

namespace vistel
{
namespace platform
{

int CLinuxPlatform::runSettingsSheet(const SSheetDescription& sheet)
{
	if (!ensureQtApplication())
		return -1;
	return runQtSettingsSheet(sheet);
}

} // end namespace platform
} // end namespace vistel

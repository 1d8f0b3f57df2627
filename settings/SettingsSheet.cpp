#include "SettingsSheet.h"

namespace vistel
{

irr::s32 showSettingsSheet(SCameraSettings* camera, SEngineSettings* engine,
	SCollisionSettings* collision, SLevelSettings* level, SFxSettings* fx)
{
	// Until the sheet has its pages, the loaded settings are confirmed as
	// they are.
	(void)camera;
	(void)engine;
	(void)collision;
	(void)level;
	(void)fx;
	return 1;
}

} // end namespace vistel

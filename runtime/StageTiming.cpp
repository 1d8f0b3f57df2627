#include "StageTiming.h"

namespace vistel
{

namespace
{

StageTimingHook stageTimingHook = 0;

} // end anonymous namespace

void setStageTimingHook(StageTimingHook hook)
{
	stageTimingHook = hook;
}

void noteStageEnd(const char* stage)
{
	if (stageTimingHook)
		stageTimingHook(stage);
}

} // end namespace vistel

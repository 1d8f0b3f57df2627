#ifndef VISTEL_STAGE_TIMING_H_INCLUDED
#define VISTEL_STAGE_TIMING_H_INCLUDED

namespace vistel
{

//! Called with the name of a step of the preview run the moment it ends.
typedef void (*StageTimingHook)(const char* stage);

//! Turns the timing notes on (a hook) or off (0, the default). Only the
//! benchmark sets a hook; without one a note costs a test of a pointer.
void setStageTimingHook(StageTimingHook hook);

//! Notes the end of a step of the run.
void noteStageEnd(const char* stage);

} // end namespace vistel

#endif

#ifndef VISTEL_I_LOAD_PROGRESS_H_INCLUDED
#define VISTEL_I_LOAD_PROGRESS_H_INCLUDED

#include <irrTypes.h>

namespace vistel
{

//! The stages that bring a level from its document to the first frame.
enum ELoadStage
{
	ELS_READING,   //!< reading the document and building the loader's buffers
	ELS_BUILDING,  //!< ordering the level mesh for drawing
	ELS_COLLISION, //!< building the collision data
	ELS_COUNT
};

//! Where a load stands, as long work reports it between its pieces.
struct SLoadProgress
{
	ELoadStage Stage = ELS_READING;
	//! Bytes of the document read so far, and its size (0 when unknown).
	unsigned long long BytesRead = 0;
	unsigned long long BytesTotal = 0;
	//! The share of the current stage that is done, 0 to 1.
	irr::f32 StageDone = 0.f;
	//! Triangles of the level so far.
	irr::u32 Triangles = 0;
};

//! Told about the progress of a long load, on the thread that does the
//! work, between pieces of it: whoever shows the progress answers its
//! window's messages there. Work that is told to stop ends as soon as it
//! can, releasing what it built; once stopped, every later call answers
//! false as well, so the steps after it stop too.
class ILoadProgress
{
public:
	virtual ~ILoadProgress() {}

	//! False asks the work to stop.
	virtual bool onLoadProgress(const SLoadProgress& progress) = 0;
};

} // end namespace vistel

#endif

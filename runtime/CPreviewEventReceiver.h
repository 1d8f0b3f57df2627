#ifndef VISTEL_C_PREVIEW_EVENT_RECEIVER_H_INCLUDED
#define VISTEL_C_PREVIEW_EVENT_RECEIVER_H_INCLUDED

#include <IEventReceiver.h>

namespace vistel
{

//! The run's event receiver: carries out the single-key commands and hands
//! every event on to the camera. It has no data of its own; all it reads and
//! changes is the run's shared state.
class CPreviewEventReceiver : public irr::IEventReceiver
{
public:
	virtual ~CPreviewEventReceiver() {}
	virtual bool OnEvent(const irr::SEvent& event);
};

} // end namespace vistel

#endif

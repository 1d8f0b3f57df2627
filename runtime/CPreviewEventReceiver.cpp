#include "CPreviewEventReceiver.h"
#include "SPreviewRunState.h"

#include <ICameraSceneNode.h>

namespace vistel
{

bool CPreviewEventReceiver::OnEvent(const irr::SEvent& event)
{
	SPreviewRunState& state = getPreviewRunState();
	if (!state.camera)
		return true;
	return state.camera->OnEvent(event);
}

} // end namespace vistel

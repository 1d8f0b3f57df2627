#include "CPreviewEventReceiver.h"

#include "PreviewCommands.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <ICameraSceneNode.h>

namespace vistel
{

bool CPreviewEventReceiver::OnEvent(const irr::SEvent& event)
{
	// Commands act on the release, so a held key (and its repeated presses)
	// toggles once; modifiers are ignored.
	if (event.EventType == irr::EET_KEY_INPUT_EVENT && !event.KeyInput.PressedDown)
		runKeyCommand(event.KeyInput.Key, getPreviewSettings());

	// Every event, command keys included, goes on to the camera so that
	// movement and mouse look keep working.
	SPreviewRunState& state = getPreviewRunState();
	if (!state.camera)
		return true;
	return state.camera->OnEvent(event);
}

} // end namespace vistel

#include "CPreviewEventReceiver.h"

#include "PreviewCommands.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <ICameraSceneNode.h>

namespace vistel
{

bool CPreviewEventReceiver::OnEvent(const irr::SEvent& event)
{
	SPreviewRunState& state = getPreviewRunState();

	// Commands act on the release, so a held key (and its repeated presses)
	// toggles once; modifiers are ignored. A release counts only after a
	// press the window saw itself.
	if (event.EventType == irr::EET_KEY_INPUT_EVENT
		&& static_cast<irr::u32>(event.KeyInput.Key) < irr::KEY_KEY_CODES_COUNT)
	{
		bool& down = state.keysDown[event.KeyInput.Key];
		const bool wasDown = down;
		down = event.KeyInput.PressedDown;
		if (!event.KeyInput.PressedDown && wasDown)
			runKeyCommand(event.KeyInput.Key, getPreviewSettings());
	}

	// Every event, command keys included, goes on to the camera so that
	// movement and mouse look keep working.
	const bool handled = state.camera ? state.camera->OnEvent(event) : true;

	// A log line answered as handled is dropped by the engine's logger. The
	// log is where the engine and the loader say what went wrong (a scene
	// that could not be read, a missing texture), before the camera exists
	// as well as after: it always goes through.
	if (event.EventType == irr::EET_LOG_TEXT_EVENT)
		return false;
	return handled;
}

} // end namespace vistel

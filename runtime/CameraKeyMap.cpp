#include "CameraKeyMap.h"

#include <ICameraSceneNode.h>
#include <IEventReceiver.h>

using namespace irr;

namespace vistel
{

void getCameraKeyMap(SKeyMap (&keyMap)[CAMERA_KEY_MAP_SIZE])
{
	const SKeyMap entries[CAMERA_KEY_MAP_SIZE] = {
		{ EKA_MOVE_FORWARD, KEY_UP },
		{ EKA_MOVE_FORWARD, KEY_KEY_W },
		{ EKA_MOVE_BACKWARD, KEY_DOWN },
		{ EKA_MOVE_BACKWARD, KEY_KEY_S },
		{ EKA_STRAFE_LEFT, KEY_LEFT },
		{ EKA_STRAFE_LEFT, KEY_KEY_A },
		{ EKA_STRAFE_RIGHT, KEY_RIGHT },
		{ EKA_STRAFE_RIGHT, KEY_KEY_D },
	};
	for (u32 i = 0; i < CAMERA_KEY_MAP_SIZE; ++i)
		keyMap[i] = entries[i];
}

void releaseCameraKeys(scene::ICameraSceneNode* camera)
{
	if (!camera)
		return;
	SKeyMap keyMap[CAMERA_KEY_MAP_SIZE];
	getCameraKeyMap(keyMap);
	for (u32 i = 0; i < CAMERA_KEY_MAP_SIZE; ++i)
	{
		SEvent release;
		release.EventType = EET_KEY_INPUT_EVENT;
		release.KeyInput.Char = 0;
		release.KeyInput.Key = keyMap[i].KeyCode;
		release.KeyInput.PressedDown = false;
		release.KeyInput.Shift = false;
		release.KeyInput.Control = false;
		camera->OnEvent(release);
	}
}

} // end namespace vistel

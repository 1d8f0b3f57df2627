#ifndef VISTEL_CAMERA_KEY_MAP_H_INCLUDED
#define VISTEL_CAMERA_KEY_MAP_H_INCLUDED

#include <irrTypes.h>
#include <SKeyMap.h>

namespace irr
{
namespace scene
{
class ICameraSceneNode;
}
}

namespace vistel
{

//! Number of entries of the first-person camera's key map.
const irr::u32 CAMERA_KEY_MAP_SIZE = 8;

//! Fills the camera's key map: arrows and W/A/S/D, forward, backward, left,
//! right, the arrow key first in each pair.
void getCameraKeyMap(irr::SKeyMap (&keyMap)[CAMERA_KEY_MAP_SIZE]);

//! Hands the camera a key release for every key of its key map.
/** A window that loses the focus never sees the releases of the keys held
down at that moment; without them the camera would keep moving. */
void releaseCameraKeys(irr::scene::ICameraSceneNode* camera);

} // end namespace vistel

#endif

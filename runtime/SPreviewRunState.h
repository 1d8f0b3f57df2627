#ifndef VISTEL_S_PREVIEW_RUN_STATE_H_INCLUDED
#define VISTEL_S_PREVIEW_RUN_STATE_H_INCLUDED

#include <irrTypes.h>
#include <EMaterialTypes.h>
#include <Keycodes.h>

namespace irr
{
class IrrlichtDevice;
class ITimer;
namespace scene
{
class ISceneNode;
class ICameraSceneNode;
class ILightSceneNode;
class ISceneNodeAnimatorCollisionResponse;
class ITriangleSelector;
}
namespace gui
{
class IGUIStaticText;
}
}

namespace vistel
{

//! What one preview run shares between its set-up, the render loop, the
//! keyboard commands and the shader callbacks. One per process; the run's
//! tear-down clears it so the next run starts with none of it.
struct SPreviewRunState
{
	// Engine objects of the current run. The run holds its own references to
	// the selector and the animator only; the rest belong to the device.
	irr::IrrlichtDevice* device;
	irr::ITimer* timer;
	irr::scene::ISceneNode* levelNode;
	irr::scene::ICameraSceneNode* camera;
	irr::scene::ILightSceneNode* flashlightNode;
	irr::scene::ISceneNodeAnimatorCollisionResponse* collisionAnimator;
	irr::scene::ITriangleSelector* triangleSelector;

	// On-screen texts and the flags the loop acts on.
	irr::gui::IGUIStaticText* messageText;
	irr::gui::IGUIStaticText* screenshotLabel;
	bool infoVisible;
	bool helpVisible;
	bool screenshotRequested;
	bool quitRequested;
	irr::f32 messageTime; //!< engine milliseconds of the last transient message

	bool collisionsActive; //!< the collision animator is attached to the camera

	//! Keys whose press the preview window received and whose release it has
	//! not. A command runs on a release only after its press: the release of
	//! a key pressed in another window (Escape closing the Save dialog) is no
	//! command.
	bool keysDown[irr::KEY_KEY_CODES_COUNT];

	// Material types of the flashlight effect.
	irr::s32 flashlightSolidMaterial;
	irr::s32 flashlightLightmapMaterial;
	irr::s32 flashlightLightmapAlphaMaterial;
	irr::s32 flashlightAlphaMaterial;
	irr::s32 lightmapAlphaMaterial;

	SPreviewRunState();

	//! Forgets every engine object and flag of the run. The message time
	//! survives, as it does from one run to the next.
	void clearRunReferences();
};

//! The run state of the process.
SPreviewRunState& getPreviewRunState();

//! The hardware runs the lightmap shader. True when the library is loaded;
//! once cleared it stays cleared while the library is loaded.
extern bool pixelShader11Available;

} // end namespace vistel

#endif

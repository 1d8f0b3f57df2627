#ifndef VISTEL_S_PREVIEW_SETTINGS_H_INCLUDED
#define VISTEL_S_PREVIEW_SETTINGS_H_INCLUDED

#include <irrTypes.h>
#include <irrString.h>
#include <vector3d.h>
#include <SColor.h>

namespace vistel
{

//! Camera Settings page.
struct SCameraSettings
{
	irr::s32 ellipsoidPosition; //!< eye height in the ellipsoid, percent: 0 bottom, 100 top
	bool placeInCenter;
	bool useUserPosition;
	irr::core::vector3df userPosition;
	irr::f32 moveSpeed;
	irr::f32 rotateSpeed;
	irr::f32 reserved;
	irr::f32 farValue;
	irr::f32 nearValue;
};

//! Collision Settings page.
struct SCollisionSettings
{
	bool collisionEnabled;
	bool gravityEnabled;
	irr::core::vector3df ellipsoidRadius;
	irr::f32 gravity; //!< Y of the gravity vector while gravity is on
	irr::f32 reserved;
};

//! Engine Settings page. The height comes before the width.
struct SEngineSettings
{
	bool fullscreen;
	bool ignoreShadows;
	bool selectedOnly;
	bool hideMouseCursor;
	irr::s32 screenHeight;
	irr::s32 screenWidth;
	irr::s32 colorBits;
	bool useNormalMapping;
	irr::f32 reserved;
	bool backfaceCulling;
	bool wireframe;
};

//! FX Settings page.
struct SFxSettings
{
	irr::f32 reserved;
	irr::f32 flashlightAngle; //!< degrees
	irr::f32 flashlightDistance;
	irr::f32 screenRatioX;
	irr::f32 screenRatioY;
	irr::video::SColor flashlightColor;
	bool laserMode;
	bool useShader;
};

//! Level Settings page.
struct SLevelSettings
{
	irr::f32 reserved;
	irr::s32 shadowOpacity; //!< percent
	irr::s32 scaleX; //!< percent
	irr::s32 scaleY;
	irr::s32 scaleZ;
	irr::video::SColor backgroundColor;
	bool useSkybox;
	bool hasTopTexture;
	bool hasLeftTexture;
	bool hasCenterTexture;
	bool hasRightTexture;
	bool hasBottomTexture;
	bool hasBackTexture;
	irr::core::stringc topTexture;
	irr::core::stringc leftTexture;
	irr::core::stringc centerTexture;
	irr::core::stringc rightTexture;
	irr::core::stringc bottomTexture;
	irr::core::stringc backTexture;
};

//! Every option of the preview, in the order of the configuration file.
struct SPreviewSettings
{
	SCameraSettings camera;
	SCollisionSettings collision;
	SEngineSettings engine;
	SFxSettings fx;
	SLevelSettings level;
};

//! The one settings record of the library. All zero until the first load.
SPreviewSettings& getPreviewSettings();

//! The defaults of every field (the record a missing file gives).
SPreviewSettings makeDefaultPreviewSettings();

//! Field-by-field equality, for round trips.
bool operator==(const SPreviewSettings& a, const SPreviewSettings& b);

} // end namespace vistel

#endif

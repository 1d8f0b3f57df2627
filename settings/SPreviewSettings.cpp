#include "SPreviewSettings.h"

namespace vistel
{

namespace
{

// Zero-initialised: every field false, 0 or empty until the first load.
SPreviewSettings previewSettings = SPreviewSettings();

}

SPreviewSettings& getPreviewSettings()
{
	return previewSettings;
}

SPreviewSettings makeDefaultPreviewSettings()
{
	SPreviewSettings s = SPreviewSettings();

	s.camera.ellipsoidPosition = 50;
	s.camera.placeInCenter = false;
	s.camera.useUserPosition = false;
	s.camera.userPosition.set(0.f, 0.f, 0.f);
	s.camera.moveSpeed = 500.f;
	s.camera.rotateSpeed = 100.f;
	s.camera.reserved = 2.f;
	s.camera.farValue = 5000.f;
	s.camera.nearValue = 1.f;

	s.collision.collisionEnabled = true;
	s.collision.gravityEnabled = true;
	s.collision.ellipsoidRadius.set(30.f, 50.f, 30.f);
	s.collision.gravity = -3.f;
	s.collision.reserved = 2.f;

	s.engine.fullscreen = false;
	s.engine.ignoreShadows = true;
	s.engine.selectedOnly = false;
	s.engine.hideMouseCursor = true;
	s.engine.screenHeight = 480;
	s.engine.screenWidth = 640;
	s.engine.colorBits = 32;
	s.engine.useNormalMapping = false;
	s.engine.reserved = 2.f;
	s.engine.backfaceCulling = true;
	s.engine.wireframe = false;

	s.fx.reserved = 2.f;
	s.fx.flashlightAngle = 30.f;
	s.fx.flashlightDistance = 500.f;
	s.fx.screenRatioX = 4.f;
	s.fx.screenRatioY = 3.f;
	s.fx.flashlightColor = irr::video::SColor(0xFFFFFFFF);
	s.fx.laserMode = false;
	s.fx.useShader = true;

	s.level.reserved = 2.f;
	s.level.shadowOpacity = 75;
	s.level.scaleX = 100;
	s.level.scaleY = 100;
	s.level.scaleZ = 100;
	s.level.backgroundColor = irr::video::SColor(0xFFFFFFFF);
	s.level.useSkybox = false;
	// the six has-flags stay false and the six paths empty
	return s;
}

bool operator==(const SPreviewSettings& a, const SPreviewSettings& b)
{
	const SCameraSettings& ca = a.camera;
	const SCameraSettings& cb = b.camera;
	const SCollisionSettings& la = a.collision;
	const SCollisionSettings& lb = b.collision;
	const SEngineSettings& ea = a.engine;
	const SEngineSettings& eb = b.engine;
	const SFxSettings& fa = a.fx;
	const SFxSettings& fb = b.fx;
	const SLevelSettings& va = a.level;
	const SLevelSettings& vb = b.level;
	// Exact comparisons: a round trip through the file must not change a bit.
	return ca.ellipsoidPosition == cb.ellipsoidPosition && ca.placeInCenter == cb.placeInCenter
		&& ca.useUserPosition == cb.useUserPosition
		&& ca.userPosition.X == cb.userPosition.X && ca.userPosition.Y == cb.userPosition.Y
		&& ca.userPosition.Z == cb.userPosition.Z && ca.moveSpeed == cb.moveSpeed
		&& ca.rotateSpeed == cb.rotateSpeed && ca.reserved == cb.reserved
		&& ca.farValue == cb.farValue && ca.nearValue == cb.nearValue
		&& la.collisionEnabled == lb.collisionEnabled && la.gravityEnabled == lb.gravityEnabled
		&& la.ellipsoidRadius.X == lb.ellipsoidRadius.X && la.ellipsoidRadius.Y == lb.ellipsoidRadius.Y
		&& la.ellipsoidRadius.Z == lb.ellipsoidRadius.Z && la.gravity == lb.gravity
		&& la.reserved == lb.reserved
		&& ea.fullscreen == eb.fullscreen && ea.ignoreShadows == eb.ignoreShadows
		&& ea.selectedOnly == eb.selectedOnly && ea.hideMouseCursor == eb.hideMouseCursor
		&& ea.screenHeight == eb.screenHeight && ea.screenWidth == eb.screenWidth
		&& ea.colorBits == eb.colorBits && ea.useNormalMapping == eb.useNormalMapping
		&& ea.reserved == eb.reserved && ea.backfaceCulling == eb.backfaceCulling
		&& ea.wireframe == eb.wireframe
		&& fa.reserved == fb.reserved && fa.flashlightAngle == fb.flashlightAngle
		&& fa.flashlightDistance == fb.flashlightDistance && fa.screenRatioX == fb.screenRatioX
		&& fa.screenRatioY == fb.screenRatioY && fa.flashlightColor == fb.flashlightColor
		&& fa.laserMode == fb.laserMode && fa.useShader == fb.useShader
		&& va.reserved == vb.reserved && va.shadowOpacity == vb.shadowOpacity
		&& va.scaleX == vb.scaleX && va.scaleY == vb.scaleY && va.scaleZ == vb.scaleZ
		&& va.backgroundColor == vb.backgroundColor && va.useSkybox == vb.useSkybox
		&& va.hasTopTexture == vb.hasTopTexture && va.hasLeftTexture == vb.hasLeftTexture
		&& va.hasCenterTexture == vb.hasCenterTexture && va.hasRightTexture == vb.hasRightTexture
		&& va.hasBottomTexture == vb.hasBottomTexture && va.hasBackTexture == vb.hasBackTexture
		&& va.topTexture == vb.topTexture && va.leftTexture == vb.leftTexture
		&& va.centerTexture == vb.centerTexture && va.rightTexture == vb.rightTexture
		&& va.bottomTexture == vb.bottomTexture && va.backTexture == vb.backTexture;
}

} // end namespace vistel

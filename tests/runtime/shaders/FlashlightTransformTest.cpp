// The transform and eye position the flashlight callback hands to the
// programs, with the transforms kept by the OpenGL driver. Needs an X display.

#include "CFlashlightShaderCallBack.h"
#include "RecordingServices.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

using namespace irr;
using namespace vistel;

namespace
{

const core::vector3df Eye(10.f, 20.f, -30.f);

// The matrix takes a point of the drawn node to clip space, and the eye
// position, taken through the same world matrix, is the camera: the cone
// stays on the viewing direction however the level is scaled.
TEST(FlashlightTransform, MatrixAndEyeAreInTheDrawnNodesSpace)
{
	IrrlichtDevice* device = createDevice(video::EDT_OPENGL, core::dimension2du(64, 48));
	ASSERT_TRUE(device) << "no OpenGL device (an X display is needed)";
	video::IVideoDriver* driver = device->getVideoDriver();
	scene::ICameraSceneNode* camera =
		device->getSceneManager()->addCameraSceneNode(0, Eye, core::vector3df(0.f, 0.f, 100.f));
	camera->updateAbsolutePosition();
	getPreviewRunState().clearRunReferences();
	getPreviewRunState().device = device;
	getPreviewSettings() = makeDefaultPreviewSettings();

	core::matrix4 projection, view, world;
	projection.buildProjectionMatrixPerspectiveFovLH(1.2f, 4.f / 3.f, 1.f, 3000.f);
	view.buildCameraLookAtMatrixLH(Eye, core::vector3df(0.f, 0.f, 100.f), core::vector3df(0.f, 1.f, 0.f));
	world.setScale(core::vector3df(0.5f, 0.25f, 2.f));
	world.setTranslation(core::vector3df(5.f, -7.f, 3.f));
	driver->setTransform(video::ETS_PROJECTION, projection);
	driver->setTransform(video::ETS_VIEW, view);
	driver->setTransform(video::ETS_WORLD, world);

	CRecordingServices services(driver);
	CFlashlightShaderCallBack* callback = new CFlashlightShaderCallBack();
	callback->OnSetConstants(&services, 0);
	callback->drop();

	const CRecordingServices::SCall* matrix = services.find("mWorldViewProj");
	ASSERT_TRUE(matrix);
	ASSERT_EQ(16u, matrix->floats.size());
	core::matrix4 sent;
	sent.setM(matrix->floats.data());
	const core::vector3df point(3.f, -4.f, 60.f);
	core::vector3df inWorld, inView;
	world.transformVect(inWorld, point);
	view.transformVect(inView, inWorld);
	f32 expected[4], actual[4];
	projection.transformVect(expected, inView);
	sent.transformVect(actual, point);
	for (int i = 0; i < 4; ++i)
		EXPECT_NEAR(expected[i], actual[i], 1e-3f) << i;

	const CRecordingServices::SCall* eye = services.find("mLightPos");
	ASSERT_TRUE(eye);
	ASSERT_EQ(3u, eye->floats.size());
	core::vector3df eyeInWorld;
	world.transformVect(eyeInWorld, core::vector3df(eye->floats[0], eye->floats[1], eye->floats[2]));
	EXPECT_NEAR(Eye.X, eyeInWorld.X, 1e-4f);
	EXPECT_NEAR(Eye.Y, eyeInWorld.Y, 1e-4f);
	EXPECT_NEAR(Eye.Z, eyeInWorld.Z, 1e-4f);

	getPreviewRunState().clearRunReferences();
	device->drop();
}

} // end anonymous namespace

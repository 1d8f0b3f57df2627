// The constants the shader callbacks hand to the programs, recorded on the
// null driver (which keeps no transforms: those are checked on the OpenGL
// driver beside the pixel tests).

#include "CFlashlightShaderCallBack.h"
#include "CLightmapShaderCallBack.h"
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

class ShaderConstants : public ::testing::Test
{
protected:
	void SetUp() override
	{
		device = createDevice(video::EDT_NULL);
		ASSERT_TRUE(device);
		driver = device->getVideoDriver();
		camera = device->getSceneManager()->addCameraSceneNode(0, Eye, core::vector3df(0.f, 0.f, 100.f));
		camera->updateAbsolutePosition();
		getPreviewRunState().clearRunReferences();
		getPreviewRunState().device = device;
		getPreviewSettings() = makeDefaultPreviewSettings();
	}

	void TearDown() override
	{
		getPreviewRunState().clearRunReferences();
		if (device)
			device->drop();
	}

	CRecordingServices recordFlashlight()
	{
		CRecordingServices services(driver);
		CFlashlightShaderCallBack* callback = new CFlashlightShaderCallBack();
		callback->OnSetConstants(&services, 0);
		callback->drop();
		return services;
	}

	IrrlichtDevice* device = nullptr;
	video::IVideoDriver* driver = nullptr;
	scene::ICameraSceneNode* camera = nullptr;
};

void expectFloats(const CRecordingServices::SCall* call, const std::vector<f32>& expected, f32 tolerance)
{
	ASSERT_TRUE(call);
	ASSERT_EQ(expected.size(), call->floats.size()) << call->name;
	for (size_t i = 0; i < expected.size(); ++i)
		EXPECT_NEAR(expected[i], call->floats[i], tolerance) << call->name << "[" << i << "]";
}

TEST_F(ShaderConstants, FlashlightSetsItsFiveConstantsInOrderOnTheirStages)
{
	const CRecordingServices services = recordFlashlight();
	std::vector<std::string> floatConstants;
	for (const CRecordingServices::SCall& call : services.calls)
		if (!call.floats.empty())
			floatConstants.push_back((call.vertexStage ? "vertex " : "pixel ") + call.name + " " +
				std::to_string(call.floats.size()));
	EXPECT_EQ((std::vector<std::string>{"vertex mWorldViewProj 16", "vertex mLightPos 3",
		"pixel mParameters 4", "pixel mLightColor 4", "pixel mLaser 1"}), floatConstants);

	// The GLSL samplers are pointed at the units the driver binds the textures to.
	ASSERT_TRUE(services.find("tex0"));
	ASSERT_TRUE(services.find("tex1"));
	EXPECT_EQ(std::vector<s32>{0}, services.find("tex0")->ints);
	EXPECT_EQ(std::vector<s32>{1}, services.find("tex1")->ints);
}

struct SConstantCase
{
	const char* name;
	s32 shadowOpacity;
	bool laserMode;
	f32 angle;
	u32 colour;
	f32 laser;
	f32 coneFactor;
	f32 coneFactorTolerance;
	f32 lightColor[4];
};

void PrintTo(const SConstantCase& c, std::ostream* os) { *os << c.name; }

class FlashlightConstantTable : public ShaderConstants, public ::testing::WithParamInterface<SConstantCase>
{
};

TEST_P(FlashlightConstantTable, ValuesFollowTheSettings)
{
	const SConstantCase& c = GetParam();
	SPreviewSettings& settings = getPreviewSettings();
	settings.level.shadowOpacity = c.shadowOpacity;
	settings.fx.laserMode = c.laserMode;
	settings.fx.flashlightAngle = c.angle;
	settings.fx.flashlightDistance = 750.f;
	settings.fx.screenRatioX = 16.f;
	settings.fx.screenRatioY = 9.f;
	settings.fx.flashlightColor = video::SColor(c.colour);

	const CRecordingServices services = recordFlashlight();

	// Exact: the programs compare mLaser with 0.3 in single precision.
	ASSERT_TRUE(services.find("mLaser"));
	EXPECT_EQ(std::vector<f32>{c.laser}, services.find("mLaser")->floats);
	const CRecordingServices::SCall* parameters = services.find("mParameters");
	ASSERT_TRUE(parameters);
	ASSERT_EQ(4u, parameters->floats.size());
	EXPECT_NEAR(c.coneFactor, parameters->floats[0], c.coneFactorTolerance);
	EXPECT_EQ(750.f, parameters->floats[1]);
	EXPECT_EQ(16.f, parameters->floats[2]);
	EXPECT_EQ(9.f, parameters->floats[3]);
	expectFloats(services.find("mLightColor"),
		{c.lightColor[0], c.lightColor[1], c.lightColor[2], c.lightColor[3]}, 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(Settings, FlashlightConstantTable, ::testing::Values(
	SConstantCase{"opacity0", 0, false, 30.f, 0xFFFFFFFF, 0.15f, 1.1547f, 1e-4f, {1.f, 1.f, 1.f, 1.f}},
	SConstantCase{"opacity69", 69, false, 30.f, 0xFFFFFFFF, 0.15f, 1.1547f, 1e-4f, {1.f, 1.f, 1.f, 1.f}},
	SConstantCase{"opacity70", 70, false, 30.f, 0xFFFFFFFF, 0.3f, 1.1547f, 1e-4f, {1.f, 1.f, 1.f, 1.f}},
	SConstantCase{"opacity75", 75, false, 30.f, 0xFFFFFFFF, 0.25f, 1.1547f, 1e-4f, {1.f, 1.f, 1.f, 1.f}},
	SConstantCase{"opacity100", 100, false, 30.f, 0xFFFFFFFF, 0.f, 1.1547f, 1e-4f, {1.f, 1.f, 1.f, 1.f}},
	SConstantCase{"laser", 75, true, 1.f, 0x00FF0000, 1.f, 1.00015f, 1e-5f, {1.f, 0.f, 0.f, 0.f}},
	SConstantCase{"dialogColour", 75, false, 30.f, 0x00FF8040, 0.25f, 1.1547f, 1e-4f,
		{1.f, 128.f / 255.f, 64.f / 255.f, 0.f}}),
	[](const ::testing::TestParamInfo<SConstantCase>& info) { return std::string(info.param.name); });

TEST_F(ShaderConstants, LightmapSetsOnlyTheTransform)
{
	CRecordingServices services(driver);
	CLightmapShaderCallBack* callback = new CLightmapShaderCallBack();
	callback->OnSetConstants(&services, 0);
	callback->drop();

	std::vector<std::string> floatConstants;
	for (const CRecordingServices::SCall& call : services.calls)
		if (!call.floats.empty())
			floatConstants.push_back(call.name);
	EXPECT_EQ(std::vector<std::string>{"mWorldViewProj"}, floatConstants);
	ASSERT_TRUE(services.find("tex1"));
	EXPECT_EQ(std::vector<s32>{1}, services.find("tex1")->ints);
}

TEST_F(ShaderConstants, WithoutACameraTheEyeIsLeftAlone)
{
	getPreviewRunState().device = 0;
	const CRecordingServices withoutDevice = recordFlashlight();
	EXPECT_FALSE(withoutDevice.find("mLightPos"));
	EXPECT_TRUE(withoutDevice.find("mLaser"));

	getPreviewRunState().device = device;
	device->getSceneManager()->setActiveCamera(0);
	EXPECT_FALSE(recordFlashlight().find("mLightPos"));
}

} // end anonymous namespace

// The normal-mapping variant of the set-up when its floor textures are not
// where the editor keeps them: the level is shown as without normal mapping
// (never with an empty texture slot, which draws whatever texture the driver
// used last), and the engine's log names the missing file.

#include "PreviewTestSupport.h"

#include "CTemporaryDirectory.h"
#include "SystemPath.h"
#include "SceneSetUp.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace irr;

namespace vistel
{

namespace
{

class CLogRecorder : public IEventReceiver
{
public:
	bool OnEvent(const SEvent& event) override
	{
		if (event.EventType == EET_LOG_TEXT_EVENT)
			Lines.push_back(event.LogEvent.Text);
		return true;
	}
	std::vector<std::string> Lines;
};

class NormalMappingTest : public test::CPreviewTest
{
};

bool logged(const std::vector<std::string>& lines, const std::string& path)
{
	for (const std::string& line : lines)
		if (line.find(path) != std::string::npos && line.find("Normal mapping") != std::string::npos)
			return true;
	return false;
}

TEST_F(NormalMappingTest, MissingTextureLeavesTheLevelAsWithoutNormalMapping)
{
	struct SCase
	{
		const char* what;
		bool colourMap;
		bool normalMap;
	};
	const SCase cases[] = {
		{"both missing", false, false},
		{"normal map missing", true, false},
		{"colour map missing", false, true},
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.what);
		TearDown();
		SetUp();
		CLogRecorder log;
		Device->setEventReceiver(&log);
		Device->getLogger()->setLogLevel(ELL_INFORMATION);

		test::CTemporaryDirectory install;
		const std::string floors = install.path() + test::systemPath("/Textures/Floors");
		std::filesystem::create_directories(floors);
		video::IVideoDriver* driver = Device->getVideoDriver();
		video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2d<u32>(8, 8));
		image->fill(video::SColor(0xFF808080));
		const bool written = (!c.colourMap || driver->writeImageToFile(image, (floors + "/Floor11.jpg").c_str()))
			&& (!c.normalMap || driver->writeImageToFile(image, (floors + "/Floor11_b.jpg").c_str()));
		image->drop();
		ASSERT_TRUE(written);

		Settings.engine.useNormalMapping = true;
		Settings.level.scaleX = 50;
		const std::vector<video::E_MATERIAL_TYPE> types = {video::EMT_LIGHTMAP_LIGHTING,
			video::EMT_SOLID};
		scene::SAnimatedMesh* level = test::makeBoxLevel(
			core::aabbox3df(-10.f, 0.f, -10.f, 30.f, 40.f, 50.f), types);
		ASSERT_TRUE(setUpScene(Device, level, Settings, (install.path() + PATH_SEPARATOR).c_str()));

		// As the standard variant makes it: the level's own mesh, scaled,
		// with its own materials.
		EXPECT_EQ(scene::ESNT_OCTREE, State.levelNode->getType());
		EXPECT_FLOAT_EQ(0.5f, State.levelNode->getScale().X);
		ASSERT_EQ(types.size(), State.levelNode->getMaterialCount());
		for (u32 i = 0; i < types.size(); ++i)
		{
			const video::SMaterial& material = State.levelNode->getMaterial(i);
			EXPECT_EQ(types[i], material.MaterialType) << i;
			EXPECT_EQ(level->getMesh(0)->getMeshBuffer(i)->getMaterial().getTexture(0),
				material.getTexture(0)) << i;
		}
		level->drop();

		EXPECT_EQ(!c.colourMap, logged(log.Lines, floors + test::systemPath("/Floor11.jpg")));
		EXPECT_EQ(!c.normalMap, logged(log.Lines, floors + test::systemPath("/Floor11_b.jpg")));
		Device->setEventReceiver(0);
	}
}

} // end anonymous namespace

} // end namespace vistel

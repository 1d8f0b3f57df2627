// Texture files missing from the editor's texture folder: the level is set
// up as the preview sets it up, and every surface stays, drawn by the level
// node and found by the triangle selector. A missing texture is replaced by
// the placeholder, a missing lightmap by a white one, and the camera still
// stands on the floor below its start.

#include "CRecordingPlatform.h"
#include "CTXSMeshFileLoader.h"
#include "CTemporaryDirectory.h"
#include "OnScreenTexts.h"
#include "PreviewRun.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "TXSPlaceholderTextures.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace irr;
using namespace vistel;

namespace
{

namespace fs = std::filesystem;

// The sample level's texture files, as its document names them.
const char Brick[] = "Walls/Brick.jpg";
const char Lightmap[] = "Lightmaps/Level.png";
const char Tiles[] = "Floors/Tiles.jpg";
const char Wood[] = "Floors/Wood.jpg";
const char Concrete[] = "Floors/Concrete.jpg";
const char Panels[] = "Metal/Panels.jpg";
const char Glass[] = "Glass.png";

std::string readWholeFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream text;
	text << in.rdbuf();
	return text.str();
}

// A room of the kind the editor makes from plain colours: a floor with a
// texture file, walls and ceiling of colour layers, all three sharing one
// lightmap file. It spans x and z from -200 to 200 and y from 0 to 300.
std::string colourLayerRoom()
{
	const char* lightmapLayer = "<layer type=\"lightmap\" blend=\"modulate\"><texture file=\"Lightmaps\\Level.png\"/></layer>";
	std::string document = "<scene version=\"1.6\"><materials><category name=\"Room\">"
						   "<material name=\"Floor\" id=\"1\" used=\"true\"><layer type=\"texture\">"
						   "<texture file=\"Floors\\Wood.jpg\"/></layer>";
	document += lightmapLayer;
	document += "</material><material name=\"Walls\" id=\"2\" used=\"true\"><layer type=\"color\">"
				"<color r=\"200\" g=\"120\" b=\"60\" a=\"255\"/></layer>";
	document += lightmapLayer;
	document += "</material><material name=\"Ceiling\" id=\"3\" used=\"true\"><layer type=\"color\">"
				"<color r=\"60\" g=\"120\" b=\"200\" a=\"255\"/></layer>";
	document += lightmapLayer;
	document += "</material></category></materials><primitives><primitive name=\"Room\" id=\"1\"><vertices>";
	// Corner k has x from bit 0, y from bit 1 and z from bit 2.
	for (int k = 0; k < 8; ++k)
		document += "<vertex id=\"" + std::to_string(k) + "\" x=\"" + ((k & 1) ? "200" : "-200") + "\" y=\"" +
			((k & 2) ? "300" : "0") + "\" z=\"" + ((k & 4) ? "200" : "-200") + "\"/>";
	document += "</vertices><polygons>";
	struct SFace
	{
		int Material;
		int Corners[4];
	};
	const SFace faces[] = {{1, {0, 1, 5, 4}}, {3, {2, 6, 7, 3}}, {2, {0, 2, 3, 1}}, {2, {4, 5, 7, 6}},
		{2, {0, 4, 6, 2}}, {2, {1, 3, 7, 5}}};
	for (const SFace& face : faces)
	{
		document += "<poly mid=\"" + std::to_string(face.Material) + "\">";
		for (int c = 0; c < 4; ++c)
			document += "<vertex vid=\"" + std::to_string(face.Corners[c]) + "\" u0=\"" + std::to_string(c & 1) +
				"\" v0=\"" + std::to_string(c / 2) + "\" u1=\"0.5\" v1=\"0.5\"/>";
		document += "</poly>";
	}
	return document + "</polygons></primitive></primitives></scene>";
}

// What a level looks like once set up: the level node's textures, the
// selector's triangles and where a line straight down from the camera's
// start meets the level.
struct SSetUpLevel
{
	std::vector<std::string> FirstTextures, SecondTextures; // per node material; "" for none
	s32 SelectorTriangles = -1;
	bool FloorFound = false;
	core::vector3df FloorPoint;
	std::size_t MissingFiles = 0;
	core::stringw Message;
};

class MissingTexturesTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		platform::getRecordingPlatform() = platform::CRecordingPlatform();
		const fs::path from = fs::path(VISTEL_SAMPLE_LEVEL_DIR) / "Textures";
		fs::create_directories(Textures());
		for (const char* file : {Brick, Lightmap, Tiles, Wood, Concrete, Panels, Glass})
		{
			fs::create_directories((fs::path(Textures()) / file).parent_path());
			fs::copy_file(from / file, fs::path(Textures()) / file);
		}
	}

	std::string Textures() const { return Directory / "Textures"; }

	// Sets the level up as the preview does, with the given texture files
	// moved out of the texture folder, and reads what came of it.
	SSetUpLevel setUp(const std::string& document, const std::vector<const char*>& removed)
	{
		for (const char* file : removed)
			fs::rename(fs::path(Textures()) / file, fs::path(Directory.path()) / fs::path(file).filename());

		SSetUpLevel result;
		SIrrlichtCreationParameters parameters;
		parameters.DriverType = video::EDT_NULL;
		parameters.LoggingLevel = ELL_NONE;
		IrrlichtDevice* device = createDeviceEx(parameters);
		EXPECT_TRUE(device);
		getPreviewSettings() = makeDefaultPreviewSettings();
		SPreviewRunState& state = getPreviewRunState();
		state.clearRunReferences();
		state.device = device;
		state.timer = device->getTimer();

		const std::string scene = Directory / "myfile.txs";
		std::ofstream(scene, std::ios::binary) << document;
		const CTXSMeshFileLoader* loader = registerSceneLoader(device, Textures().c_str());
		scene::IAnimatedMesh* mesh = loadLevelMesh(device, loader, scene.c_str());
		if (mesh && setUpPreview(device, loader, mesh, (Directory.path() + PATH_SEPARATOR).c_str()))
		{
			result.MissingFiles = loader->getMissingTextureFiles().size();
			result.Message = state.messageText->getText();
			scene::ISceneNode* node = state.levelNode;
			for (u32 i = 0; i < node->getMaterialCount(); ++i)
			{
				const video::SMaterial& material = node->getMaterial(i);
				result.FirstTextures.push_back(textureName(material.getTexture(0)));
				result.SecondTextures.push_back(textureName(material.getTexture(1)));
			}
			node->updateAbsolutePosition();
			result.SelectorTriangles = state.triangleSelector->getTriangleCount();
			const core::vector3df start = state.camera->getPosition();
			core::triangle3df triangle;
			scene::ISceneNode* hit = 0;
			result.FloorFound = device->getSceneManager()->getSceneCollisionManager()->getCollisionPoint(
				core::line3df(start, start - core::vector3df(0.f, 1000.f, 0.f)), state.triangleSelector,
				result.FloorPoint, triangle, hit);
		}

		if (state.triangleSelector)
			state.triangleSelector->drop();
		if (state.collisionAnimator)
			state.collisionAnimator->drop();
		state.clearRunReferences();
		device->drop();
		for (const char* file : removed)
			fs::rename(fs::path(Directory.path()) / fs::path(file).filename(), fs::path(Textures()) / file);
		return result;
	}

	// A texture's file relative to the texture folder, with forward
	// slashes; other names as they are.
	std::string textureName(video::ITexture* texture) const
	{
		if (!texture)
			return "";
		std::string name = texture->getName().getPath().c_str();
		const std::string folder = Textures() + PATH_SEPARATOR;
		if (name.compare(0, folder.size(), folder) == 0)
			name = name.substr(folder.size());
		std::replace(name.begin(), name.end(), PATH_SEPARATOR, '/');
		return name;
	}

	test::CTemporaryDirectory Directory;
};

struct SCase
{
	const char* Level; // "sample" or "room"
	std::vector<const char*> Removed;
};

std::string describe(const SCase& c)
{
	std::string text = c.Level;
	for (const char* file : c.Removed)
		text += std::string(" -") + file;
	return text;
}

TEST_F(MissingTexturesTest, EverySurfaceStaysWithAPlaceholderAndTheFloorHolds)
{
	const std::string sample = readWholeFile(std::string(VISTEL_SAMPLE_LEVEL_DIR) + "/level.xml");
	const std::string room = colourLayerRoom();
	const SCase cases[] = {
		{"sample", {Brick}},
		{"sample", {Lightmap}},
		{"sample", {Tiles}},
		{"sample", {Wood}}, // the floor below the camera's start
		{"sample", {Concrete}},
		{"sample", {Panels}},
		{"sample", {Glass}},
		{"sample", {Wood, Lightmap, Glass}},
		{"sample", {Brick, Lightmap, Tiles, Wood, Concrete, Panels, Glass}},
		{"room", {Wood}},
		{"room", {Lightmap}},
		{"room", {Wood, Lightmap}},
	};
	const SSetUpLevel sampleWhole = setUp(sample, {});
	const SSetUpLevel roomWhole = setUp(room, {});
	// Every material of the sample that a polygon uses has a buffer.
	ASSERT_EQ(sampleWhole.FirstTextures.size(), 11u);
	ASSERT_EQ(roomWhole.FirstTextures.size(), 3u);
	for (const SSetUpLevel* whole : {&sampleWhole, &roomWhole})
	{
		EXPECT_TRUE(whole->FloorFound);
		EXPECT_EQ(whole->MissingFiles, 0u);
		EXPECT_EQ(whole->Message, L"");
	}
	EXPECT_FLOAT_EQ(roomWhole.FloorPoint.Y, 0.f);

	for (const SCase& c : cases)
	{
		SCOPED_TRACE(describe(c));
		const bool isSample = std::string(c.Level) == "sample";
		const SSetUpLevel& whole = isSample ? sampleWhole : roomWhole;
		const SSetUpLevel level = setUp(isSample ? sample : room, c.Removed);

		// The level node keeps every buffer and the selector every triangle.
		EXPECT_EQ(level.SelectorTriangles, whole.SelectorTriangles);
		// The camera's start stands over the same floor.
		EXPECT_TRUE(level.FloorFound);
		EXPECT_EQ(level.FloorPoint, whole.FloorPoint);
		EXPECT_EQ(level.FirstTextures.size(), whole.FirstTextures.size());
		if (level.FirstTextures.size() != whole.FirstTextures.size())
			continue;
		// Each missing file's slot holds its placeholder, every other slot
		// the texture it had.
		auto isRemoved = [&](const std::string& name) {
			return std::find_if(c.Removed.begin(), c.Removed.end(), [&](const char* file) { return name == file; }) !=
				c.Removed.end();
		};
		for (std::size_t i = 0; i < whole.FirstTextures.size(); ++i)
		{
			EXPECT_EQ(level.FirstTextures[i], isRemoved(whole.FirstTextures[i]) ? MISSING_TEXTURE_NAME
																				: whole.FirstTextures[i])
				<< "material " << i;
			EXPECT_EQ(level.SecondTextures[i], isRemoved(whole.SecondTextures[i]) ? FULLY_LIT_LIGHTMAP_NAME
																				  : whole.SecondTextures[i])
				<< "material " << i;
		}
		// Each file counts once, however many materials name it.
		EXPECT_EQ(level.MissingFiles, c.Removed.size());
		EXPECT_EQ(level.Message, buildMissingTexturesMessage(static_cast<u32>(c.Removed.size())));
	}
}

TEST(MissingTexturesMessage, CountsTheFiles)
{
	EXPECT_EQ(buildMissingTexturesMessage(1), L"1 texture could not be loaded");
	EXPECT_EQ(buildMissingTexturesMessage(7), L"7 textures could not be loaded");
	EXPECT_EQ(buildMissingTexturesMessage(12), L"12 textures could not be loaded");
}

} // end anonymous namespace

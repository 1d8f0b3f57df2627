#ifndef VISTEL_SCENE_TEST_SUPPORT_H_INCLUDED
#define VISTEL_SCENE_TEST_SUPPORT_H_INCLUDED

#include "CTXSMeshFileLoader.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <string>
#include <vector>

namespace vistel
{
namespace test
{

//! Keeps every line logged to it.
class CRecordingLogger : public irr::ILogger
{
public:
	irr::ELOG_LEVEL getLogLevel() const override { return irr::ELL_INFORMATION; }
	void setLogLevel(irr::ELOG_LEVEL) override {}
	void log(const irr::c8* text, irr::ELOG_LEVEL) override { Lines.push_back(text); }
	void log(const irr::c8* text, const irr::c8* hint, irr::ELOG_LEVEL) override
	{
		Lines.push_back(std::string(text) + " " + hint);
	}
	void log(const irr::c8* text, const wchar_t*, irr::ELOG_LEVEL) override { Lines.push_back(text); }
	void log(const wchar_t*, const wchar_t*, irr::ELOG_LEVEL) override { Lines.push_back("(wide)"); }
	void log(const wchar_t*, irr::ELOG_LEVEL) override { Lines.push_back("(wide)"); }

	std::vector<std::string> Lines;
};

//! A null-driver device with the loader registered, as the preview run
//! does it, and helpers to load documents from memory.
class SceneLoaderTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;

	//! Loads a document through the loader's createMesh. The result is
	//! dropped at tear-down.
	irr::scene::IAnimatedMesh* load(const std::string& document, const char* fileName = "level.txs");

	//! The first frame of a load, or null when it has none.
	irr::scene::IMesh* loadFrame(const std::string& document);

	//! Sets the parameters of the preview run: whole-scene mode, directories
	//! kept, alpha reference 0.01, flipped alpha; texture path "tex".
	void usePreviewParameters();

	//! A texture in the driver's cache under this name, so that the loader's
	//! getTexture of exactly this path finds it without a file.
	irr::video::ITexture* provideTexture(const char* path);

	irr::scene::SMeshBufferLightMap* buffer(irr::scene::IMesh* mesh, irr::u32 i);

	irr::IrrlichtDevice* Device = nullptr;
	irr::video::IVideoDriver* Driver = nullptr;
	irr::scene::ISceneManager* SceneManager = nullptr;
	irr::io::IAttributes* Parameters = nullptr;
	CTXSMeshFileLoader* Loader = nullptr;
	CRecordingLogger* Logger = nullptr;
	std::vector<irr::scene::IAnimatedMesh*> Results;
};

//! The document the tests build on: a scene with the preview's settings and
//! whatever materials and primitives are given.
std::string sceneDocument(const std::string& materials, const std::string& primitives);

//! One material of one texture layer; extra attributes may follow the id.
std::string textureMaterial(int id, const char* file, const char* blend = "");

//! A vertices element with the given positions, in order.
std::string vertexList(const std::vector<irr::core::vector3df>& positions);

//! A poly element of material mid whose corners name the given vids, each
//! corner with u0 = vid and v0 = 10 x vid.
std::string polyElement(int mid, const std::vector<int>& vids);

//! A primitive of the given name and id around some content.
std::string primitiveElement(const std::string& content, const char* name = "P", int id = 1);

//! The triangle (0,0,0), (1,0,0), (0,1,0) as one primitive of material mid.
std::string trianglePrimitive(int mid = 1, const char* name = "P", int id = 1);

} // end namespace test
} // end namespace vistel

#endif

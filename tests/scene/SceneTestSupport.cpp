#include "SceneTestSupport.h"

#include <cstdio>

namespace vistel
{
namespace test
{

void SceneLoaderTest::SetUp()
{
	irr::SIrrlichtCreationParameters parameters;
	parameters.DriverType = irr::video::EDT_NULL;
	parameters.LoggingLevel = irr::ELL_NONE;
	Device = irr::createDeviceEx(parameters);
	ASSERT_NE(Device, nullptr);
	Driver = Device->getVideoDriver();
	SceneManager = Device->getSceneManager();
	Parameters = SceneManager->getParameters();
	Loader = new CTXSMeshFileLoader(Driver, SceneManager, Device->getFileSystem());
	Logger = new CRecordingLogger();
	Loader->setLogger(Logger);
	SceneManager->addExternalMeshLoader(Loader);
}

void SceneLoaderTest::TearDown()
{
	for (irr::scene::IAnimatedMesh* mesh : Results)
		if (mesh)
			mesh->drop();
	if (Loader)
		Loader->drop();
	if (Device)
		Device->drop();
	if (Logger)
		Logger->drop();
}

irr::scene::IAnimatedMesh* SceneLoaderTest::load(const std::string& document, const char* fileName)
{
	irr::io::IReadFile* file = Device->getFileSystem()->createMemoryReadFile(
		const_cast<char*>(document.data()), static_cast<irr::s32>(document.size()), fileName, false);
	irr::scene::IAnimatedMesh* mesh = Loader->createMesh(file);
	file->drop();
	Results.push_back(mesh);
	return mesh;
}

irr::scene::IMesh* SceneLoaderTest::loadFrame(const std::string& document)
{
	irr::scene::IAnimatedMesh* mesh = load(document);
	if (!mesh || mesh->getFrameCount() == 0)
		return nullptr;
	return mesh->getMesh(0);
}

void SceneLoaderTest::usePreviewParameters()
{
	Parameters->setAttribute("TXS_TexturePath", "tex");
	Parameters->setAttribute("TXS_MaterialsDir", true);
	Parameters->setAttribute("TXS_AlphaRef", 0.01f);
	Parameters->setAttribute("TXS_FlipAlpha", true);
	Parameters->setAttribute("TXS_ParentName", true);
}

irr::video::ITexture* SceneLoaderTest::provideTexture(const char* path)
{
	irr::u32 pixels[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
	irr::video::IImage* image = Driver->createImageFromData(
		irr::video::ECF_A8R8G8B8, irr::core::dimension2d<irr::u32>(2, 2), pixels, false, true);
	irr::video::ITexture* texture = Driver->addTexture(path, image);
	image->drop();
	return texture;
}

irr::scene::SMeshBufferLightMap* SceneLoaderTest::buffer(irr::scene::IMesh* mesh, irr::u32 i)
{
	return static_cast<irr::scene::SMeshBufferLightMap*>(mesh->getMeshBuffer(i));
}

std::string sceneDocument(const std::string& materials, const std::string& primitives)
{
	return "<scene version=\"1.6\"><settings name=\"Test\" author=\"\" comments=\"\" shadowOpacity=\"75\">"
		   "<ambient r=\"92\" g=\"92\" b=\"92\" /></settings><materials><category name=\"C\">" +
		materials + "</category></materials><primitives>" + primitives + "</primitives></scene>";
}

std::string textureMaterial(int id, const char* file, const char* blend)
{
	return "<material name=\"M" + std::to_string(id) + "\" id=\"" + std::to_string(id) +
		"\" used=\"true\"><layer type=\"texture\" blend=\"" + blend + "\"><texture file=\"" + file +
		"\" /></layer></material>";
}

std::string vertexList(const std::vector<irr::core::vector3df>& positions)
{
	std::string out = "<vertices>";
	int id = 0;
	for (const irr::core::vector3df& p : positions)
	{
		char line[160];
		std::snprintf(line, sizeof(line), "<vertex id=\"%d\" x=\"%.9g\" y=\"%.9g\" z=\"%.9g\" />", id++, p.X, p.Y, p.Z);
		out += line;
	}
	return out + "</vertices>";
}

std::string polyElement(int mid, const std::vector<int>& vids)
{
	std::string out = "<poly mid=\"" + std::to_string(mid) + "\">";
	for (int vid : vids)
		out += "<vertex vid=\"" + std::to_string(vid) + "\" u0=\"" + std::to_string(vid) + "\" v0=\"" +
			std::to_string(10 * vid) + "\" />";
	return out + "</poly>";
}

std::string primitiveElement(const std::string& content, const char* name, int id)
{
	return std::string("<primitive name=\"") + name + "\" id=\"" + std::to_string(id) + "\">" + content + "</primitive>";
}

std::string trianglePrimitive(int mid, const char* name, int id)
{
	return primitiveElement(vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) + "<polygons>" + polyElement(mid, {0, 1, 2}) +
			"</polygons>",
		name, id);
}

} // end namespace test
} // end namespace vistel

// Registration, createMesh, and the scene and settings elements.
#include "CTXSMeshFileLoader.h"

#include "CXMLStreamReader.h"
#include "TXSReadingRules.h"

#include <IAttributes.h>
#include <ISceneManager.h>
#include <IReadFile.h>
#include <IVideoDriver.h>
#include <SAnimatedMesh.h>
#include <ITexture.h>
#include <SMesh.h>

#include <exception>
#include <new>

namespace vistel
{

CTXSMeshFileLoader::CTXSMeshFileLoader(irr::video::IVideoDriver* driver, irr::scene::ISceneManager* sceneManager,
	irr::io::IFileSystem* fileSystem) :
	Driver(driver), SceneManager(sceneManager), FileSystem(fileSystem)
{
}

CTXSMeshFileLoader::~CTXSMeshFileLoader()
{
	// Mesh and AnimatedMesh belong to the results handed out; between loads
	// the loader holds neither.
	for (irr::video::ITexture* texture : ColorTextures)
		texture->drop();
}

bool CTXSMeshFileLoader::isALoadableFileExtension(const irr::io::path& filename) const
{
	return filename.find(".txs") >= 0;
}

void CTXSMeshFileLoader::forgetSettings()
{
	SceneName = SceneAuthor = SceneComments = "";
	SceneShadowOpacity = 0.f;
	SceneAmbientColor = irr::video::SColor(0xFF000000);
}

bool CTXSMeshFileLoader::isWholeSceneMode() const
{
	return SceneManager->getParameters()->getAttributeAsBool("TXS_ParentName");
}

irr::scene::IAnimatedMesh* CTXSMeshFileLoader::createMesh(irr::io::IReadFile* file)
{
	LastLoadFault.clear();
	LastLoadStopped = false;
	// Nothing may leave through the engine's getMesh, which would keep the
	// file open: a level too large for the memory there is comes back as a
	// load that failed, with everything of it released.
	try
	{
		return readDocument(file);
	}
	catch (const SLoadStopped&)
	{
		// Nothing of a stopped load is handed out: what was built goes below.
		LastLoadStopped = true;
	}
	catch (const std::bad_alloc&)
	{
		LastLoadFault = "there is not enough memory to load it";
	}
	catch (const std::exception& error)
	{
		LastLoadFault = std::string("it could not be loaded (") + error.what() + ")";
	}
	ProgressReader = nullptr;
	if (Mesh)
		Mesh->drop();
	if (AnimatedMesh)
		AnimatedMesh->drop();
	Mesh = nullptr;
	AnimatedMesh = nullptr;
	Materials.clear();
	Materials.shrink_to_fit();
	MaterialPositions.clear();
	releaseLoadState();
	return nullptr;
}

irr::scene::IAnimatedMesh* CTXSMeshFileLoader::readDocument(irr::io::IReadFile* file)
{
	std::unique_ptr<CXMLStreamReader> reader = CXMLStreamReader::create(file, Logger);
	if (!reader)
		return nullptr;

	// Each load starts from nothing: materials or settings of an earlier
	// document must not leak into this one (its material ids would match
	// the old materials first).
	Materials.clear();
	MaterialPositions.clear();
	MissingTextureFiles.clear();
	MissingTextureSet.clear();
	forgetSettings();
	Mesh = nullptr;

	AnimatedMesh = new irr::scene::SAnimatedMesh();
	LoadedTriangles = 0;
	Report = SLoadProgress();
	Report.BytesTotal = file->getSize() > 0 ? static_cast<unsigned long long>(file->getSize()) : 0;
	ProgressReader = reader.get();
	ProgressCountdown = ProgressStride;
	// A settings element at the top level counts for the scene that follows
	// it directly: after a first line that is an XML declaration, the run's
	// settings element lands there, in front of the scene element. Before
	// anything else it counts for nothing.
	bool settingsBeforeScene = false;
	while (reader->read())
	{
		if (reader->getNodeType() != irr::io::EXN_ELEMENT)
			continue;
		const bool scene = isKeyword(reader->getNodeName(), "scene");
		const bool settings = isKeyword(reader->getNodeName(), "settings");
		if (settingsBeforeScene && scene)
			applySettings();
		else if (settingsBeforeScene)
			forgetSettings();
		settingsBeforeScene = settings;
		if (scene)
			readScene(*reader);
		else if (settings)
			readSettingsValues(*reader);
		else
			skipElement(*reader);
	}
	ProgressReader = nullptr;
	LastLoadFault = reader->describeFirstFault();
	reader.reset();

	if (isWholeSceneMode())
	{
		AnimatedMesh->Type = irr::scene::EAMT_UNKNOWN;
		if (Mesh)
		{
			AnimatedMesh->addMesh(Mesh);
			Mesh->drop();
			Mesh = nullptr;
		}
	}
	else if (Mesh)
	{
		// Per-primitive mode hands every mesh over at its primitive's end.
		Mesh->drop();
		Mesh = nullptr;
	}
	AnimatedMesh->recalculateBoundingBox();
	releaseLoadState();

	irr::scene::IAnimatedMesh* result = AnimatedMesh;
	AnimatedMesh = nullptr;
	return result;
}

void CTXSMeshFileLoader::releaseLoadState()
{
	PrimitiveVertices.clear();
	PrimitivePolygons.clear();
	PrimitiveCorners.clear();
	PrimitivePairs.clear();
	PrimitiveVertices.shrink_to_fit();
	PrimitivePolygons.shrink_to_fit();
	PrimitiveCorners.shrink_to_fit();
	PrimitivePairs.shrink_to_fit();
	BufferMaterials.clear();
	OpenBuffers.clear();
	PendingVertices.clear();
	PendingIndices.clear();
	PendingMaterials.clear();
}

void CTXSMeshFileLoader::reportProgress()
{
	ProgressCountdown = ProgressStride;
	if (!Progress || !ProgressReader)
		return;
	Report.BytesRead = ProgressReader->getBytesConsumed();
	if (Report.BytesTotal > 0 && Report.BytesRead > Report.BytesTotal)
		Report.BytesRead = Report.BytesTotal;
	Report.StageDone = Report.BytesTotal > 0
		? static_cast<irr::f32>(static_cast<double>(Report.BytesRead) / static_cast<double>(Report.BytesTotal))
		: 0.f;
	Report.Triangles = LoadedTriangles;
	if (!Progress->onLoadProgress(Report))
		throw SLoadStopped();
}

void CTXSMeshFileLoader::readScene(CXMLStreamReader& reader)
{
	// An empty-element scene has no content to read, whatever its version.
	if (reader.isEmptyElement())
		return;

	// The scene's content is read to the end of the document, past the
	// scene end tag.
	while (reader.read())
	{
		if (reader.getNodeType() != irr::io::EXN_ELEMENT)
			continue;
		const char* name = reader.getNodeName();
		if (isKeyword(name, "settings"))
			readSettings(reader);
		else if (isKeyword(name, "materials"))
			readMaterials(reader);
		else if (isKeyword(name, "primitives"))
			readPrimitives(reader);
		else
			skipElement(reader); // lights and anything else
	}
}

void CTXSMeshFileLoader::readSettings(CXMLStreamReader& reader)
{
	readSettingsValues(reader);
	applySettings();
}

void CTXSMeshFileLoader::readSettingsValues(CXMLStreamReader& reader)
{
	const char* name = reader.getAttributeValue("name");
	const char* author = reader.getAttributeValue("author");
	const char* comments = reader.getAttributeValue("comments");
	SceneName = name ? name : "";
	SceneAuthor = author ? author : "";
	SceneComments = comments ? comments : "";
	SceneShadowOpacity = reader.getAttributeValueAsFloat("shadowOpacity");

	readChildren(reader, "settings", [&](const char* child) {
		if (!isKeyword(child, "ambient"))
			return false;
		// Colour components use their low 8 bits only.
		SceneAmbientColor = irr::video::SColor(255, static_cast<irr::u32>(reader.getAttributeValueAsInt("r")) & 0xFF,
			static_cast<irr::u32>(reader.getAttributeValueAsInt("g")) & 0xFF,
			static_cast<irr::u32>(reader.getAttributeValueAsInt("b")) & 0xFF);
		return true;
	});
}

void CTXSMeshFileLoader::applySettings()
{
	// The scene manager hands its ambient light to the driver at every
	// drawAll; set on the driver alone it would be overwritten there.
	SceneManager->setAmbientLight(irr::video::SColorf(SceneAmbientColor));
}

} // end namespace vistel

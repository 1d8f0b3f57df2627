#ifndef VISTEL_C_TXS_MESH_FILE_LOADER_H_INCLUDED
#define VISTEL_C_TXS_MESH_FILE_LOADER_H_INCLUDED

#include "ILoadProgress.h"
#include "STXSRecords.h"

#include <CMeshBuffer.h>
#include <IMeshLoader.h>
#include <SColor.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace irr
{
class ILogger;
namespace io
{
class IFileSystem;
}
namespace scene
{
class ISceneManager;
class ISceneNode;
struct SAnimatedMesh;
struct SMesh;
}
namespace video
{
class IVideoDriver;
}
}

namespace vistel
{

class CXMLStreamReader;

//! Mesh loader for the level editor's XML scene documents (".txs" files).
/** Registered with the scene manager; each createMesh turns one document into
an SAnimatedMesh. Configured through the scene manager's parameters:
  - "TXS_TexturePath": directory in front of every texture file name;
  - "TXS_MaterialsDir": true keeps the directories of a texture's file name;
  - "TXS_AlphaRef": alpha reference of alpha-blended materials;
  - "TXS_FlipAlpha": negates v of the first coordinate set of alpha-blended materials;
  - "TXS_ParentName": true loads the whole scene into one mesh (one frame);
    otherwise every primitive becomes a mesh, a frame and a scene node;
  - "TXS_LoadAsOCT": per-primitive mode only, octree scene nodes. */
class CTXSMeshFileLoader : public irr::scene::IMeshLoader
{
public:
	//! The loader keeps no references of its own to the three; they must
	//! outlive every load.
	CTXSMeshFileLoader(irr::video::IVideoDriver* driver, irr::scene::ISceneManager* sceneManager,
		irr::io::IFileSystem* fileSystem);
	~CTXSMeshFileLoader() override;

	//! True when the name contains ".txs" anywhere (case-sensitive).
	bool isALoadableFileExtension(const irr::io::path& filename) const override;

	//! The level as an SAnimatedMesh (the caller gets its one reference), or
	//! null when there is no file to read, or not enough memory to load the
	//! level (getLastLoadFault says so; nothing of the load is kept).
	irr::scene::IAnimatedMesh* createMesh(irr::io::IReadFile* file) override;

	//! Where a broken document is reported; 0 (the default) reports nothing.
	void setLogger(irr::ILogger* logger) { Logger = logger; }

	//! Where and why the document of the last createMesh first failed to
	//! read ("line L, column C: ..."); empty when it read as written, or when
	//! there was no document to read.
	const std::string& getLastLoadFault() const { return LastLoadFault; }

	//! Every texture file of the last createMesh that could not be loaded,
	//! once each, in the order first met. Their layers got a placeholder: a
	//! texture layer a checkerboard, a lightmap layer plain white.
	const std::vector<std::string>& getMissingTextureFiles() const { return MissingTextureFiles; }

	//! Told how the reading goes while createMesh runs (bytes of the
	//! document, triangles built); 0 (the default) is told nothing. When it
	//! asks to stop, createMesh releases what it read and returns null.
	void setProgress(ILoadProgress* progress) { Progress = progress; }

	//! True when the last createMesh was stopped by its progress hook.
	bool wasLastLoadStopped() const { return LastLoadStopped; }

	//! Most vertices one mesh buffer gets: its 16-bit indices never wrap.
	static const irr::u32 MaxBufferVertices = 65535;

private:
	// Document and scene settings.
	irr::scene::IAnimatedMesh* readDocument(irr::io::IReadFile* file);
	void releaseLoadState();
	void readScene(CXMLStreamReader& reader);
	void readSettings(CXMLStreamReader& reader);
	void readSettingsValues(CXMLStreamReader& reader);
	void applySettings();
	void forgetSettings();

	// Materials and texture layers.
	void readMaterials(CXMLStreamReader& reader);
	void readCategory(CXMLStreamReader& reader, const irr::core::stringc& prefix);
	void readMaterial(CXMLStreamReader& reader, const irr::core::stringc& categoryName, const irr::core::stringc& prefix);
	void readLayer(CXMLStreamReader& reader, STXSMaterial& material, const irr::core::stringc& prefix);
	void addTextureLayer(CXMLStreamReader& reader, STXSMaterial& material, irr::s32 layerType, const irr::core::stringc& prefix);
	void addColorLayer(CXMLStreamReader& reader, STXSMaterial& material, irr::s32 layerType);
	irr::video::ITexture* loadLayerTexture(const irr::core::stringc& path, irr::s32 layerType);
	irr::video::SMaterial makeBufferMaterial(const STXSMaterial& material) const;
	void finishMaterials();
	irr::s32 findMaterial(irr::s32 id) const;

	// Primitives and mesh building.
	void readPrimitives(CXMLStreamReader& reader);
	void readPrimitive(CXMLStreamReader& reader);
	void readVertices(CXMLStreamReader& reader);
	void readPolygons(CXMLStreamReader& reader);
	void readPolygon(CXMLStreamReader& reader, STXSPolygon& polygon);
	void startMesh();
	void createMaterialBuffers();
	void createPrimitiveBuffers();
	void reserveBufferSpace();
	irr::scene::SMeshBufferLightMap* addBuffer(irr::u32 materialIndex);
	void buildPolygon(const STXSPolygon& polygon);
	void finishMesh();
	bool isWholeSceneMode() const;

	irr::video::IVideoDriver* Driver;
	irr::scene::ISceneManager* SceneManager;
	irr::io::IFileSystem* FileSystem;
	irr::core::stringc BasePath;
	irr::scene::SMesh* Mesh = nullptr;
	irr::scene::SAnimatedMesh* AnimatedMesh = nullptr;
	std::vector<STXSMaterial> Materials;
	irr::core::stringc SceneName;
	irr::core::stringc SceneAuthor;
	irr::core::stringc SceneComments;
	irr::f32 SceneShadowOpacity = 0.f;
	irr::video::SColor SceneAmbientColor{0xFF000000};
	std::vector<STXSVertex> PrimitiveVertices;
	std::vector<STXSPolygon> PrimitivePolygons;
	//! vid of every corner of the primitive's polygons, in document order.
	std::vector<irr::s32> PrimitiveCorners;
	//! The (u, v) pairs of every corner of the primitive's polygons.
	std::vector<irr::core::vector2df> PrimitivePairs;
	irr::scene::ISceneNode* ParentNode = nullptr;

	irr::ILogger* Logger = nullptr;
	std::string LastLoadFault;

	// Progress reports: every ProgressStride elements of the document (and
	// every material, whose textures may take long) the hook is told how far
	// the reader got; when it asks to stop, reportProgress throws
	// SLoadStopped, which createMesh catches.
	struct SLoadStopped
	{
	};
	void noteProgress()
	{
		if (Progress && --ProgressCountdown == 0)
			reportProgress();
	}
	void reportProgress();
	static const irr::u32 ProgressStride = 256;
	ILoadProgress* Progress = nullptr;
	const CXMLStreamReader* ProgressReader = nullptr;
	SLoadProgress Report;
	irr::u32 ProgressCountdown = ProgressStride;
	//! Triangles built into the mesh so far by this load.
	irr::u32 LoadedTriangles = 0;
	bool LastLoadStopped = false;
	//! First position in Materials of every material id.
	std::unordered_map<irr::s32, irr::u32> MaterialPositions;
	//! For each buffer of Mesh (in order, until finishMesh), its material's position.
	std::vector<irr::u32> BufferMaterials;
	//! By material position, the buffer that receives its next polygons;
	//! null (or past the end) for a material without a buffer in this mesh.
	std::vector<irr::scene::SMeshBufferLightMap*> OpenBuffers;
	//! The colour layers' textures, held by the loader rather than by the
	//! driver's texture list (addColorLayer); released with the loader, which
	//! the scene manager drops before the driver.
	std::vector<irr::video::ITexture*> ColorTextures;
	//! The texture files of this load that could not be loaded: in order, and
	//! as a set, so that each is asked for and logged once.
	std::vector<std::string> MissingTextureFiles;
	std::unordered_set<std::string> MissingTextureSet;
	//! "TXS_FlipAlpha", read once per primitive.
	bool FlipAlpha = false;
	//! By material position, the vertices and indices the current
	//! primitive's polygons add (reserveBufferSpace).
	std::vector<irr::u32> PendingVertices, PendingIndices;
	//! The positions with pending entries, reset at the next primitive.
	std::vector<irr::u32> PendingMaterials;
	// Scratch space of buildPolygon, kept to spare allocations.
	std::vector<irr::core::vector3df> CornerPositions;
	std::vector<irr::u32> TriangleCorners;
};

} // end namespace vistel

#endif

// Materials and their texture, colour and lightmap layers.
#include "CTXSMeshFileLoader.h"

#include "CXMLStreamReader.h"
#include "TXSPaths.h"
#include "TXSPlaceholderTextures.h"
#include "TXSReadingRules.h"
#include "EditorFileNames.h"

#include <IAttributes.h>
#include <IImage.h>
#include <ILogger.h>
#include <ISceneManager.h>
#include <IVideoDriver.h>
#include <SMesh.h>

#include <algorithm>

namespace vistel
{

namespace
{

const char* attributeText(const CXMLStreamReader& reader, const char* name)
{
	const char* value = reader.getAttributeValue(name);
	return value ? value : "";
}

irr::u32 colorComponent(const CXMLStreamReader& reader, const char* name)
{
	return static_cast<irr::u32>(reader.getAttributeValueAsInt(name)) & 0xFF;
}

// ambient x d + opaque black x (1 - d) per channel, truncated toward zero.
irr::video::SColor darkenedAmbient(irr::video::SColor ambient, irr::f32 shadowOpacity)
{
	irr::f32 d = (100.f - shadowOpacity) * 0.01f;
	// An opacity outside 0..100 (or not a number) would push channels out
	// of range; it counts as the nearest meaningful value.
	if (!(d >= 0.f))
		d = d < 0.f ? 0.f : 1.f;
	if (d > 1.f)
		d = 1.f;
	const irr::f32 inv = 1.f - d;
	return irr::video::SColor(static_cast<irr::u32>(ambient.getAlpha() * d + 255 * inv),
		static_cast<irr::u32>(ambient.getRed() * d + 0 * inv), static_cast<irr::u32>(ambient.getGreen() * d + 0 * inv),
		static_cast<irr::u32>(ambient.getBlue() * d + 0 * inv));
}

void storeTexture(STXSMaterial& material, irr::video::ITexture* texture)
{
	const irr::u32 slot = static_cast<irr::u32>(material.TextureCount);
	material.LayerTextures.push_back(texture);
	if (slot < 2)
		material.BaseMaterial.setTexture(slot, texture);
	++material.TextureCount;
}

} // end namespace

irr::s32 CTXSMeshFileLoader::findMaterial(irr::s32 id) const
{
	const auto found = MaterialPositions.find(id);
	return found == MaterialPositions.end() ? -1 : static_cast<irr::s32>(found->second);
}

void CTXSMeshFileLoader::readMaterials(CXMLStreamReader& reader)
{
	// Without a texture path the prefix is empty and file names are used as
	// they are (the fallback BasePath is always empty).
	irr::io::IAttributes* parameters = SceneManager->getParameters();
	const irr::core::stringc prefix = parameters->existsAttribute("TXS_TexturePath")
		? makeTexturePrefix(parameters->getAttributeAsString("TXS_TexturePath"))
		: irr::core::stringc();

	readChildren(reader, "materials", [&](const char* child) {
		if (!isKeyword(child, "category"))
			return false;
		readCategory(reader, prefix);
		return true;
	});
}

void CTXSMeshFileLoader::readCategory(CXMLStreamReader& reader, const irr::core::stringc& prefix)
{
	const irr::core::stringc name = attributeText(reader, "name");
	readChildren(reader, "category", [&](const char* child) {
		// Materials not marked used="true" are skipped with their layers.
		if (!isKeyword(child, "material") || !isKeyword(reader.getAttributeValue("used"), "true"))
			return false;
		readMaterial(reader, name, prefix);
		return true;
	});
}

void CTXSMeshFileLoader::readMaterial(CXMLStreamReader& reader, const irr::core::stringc& categoryName,
	const irr::core::stringc& prefix)
{
	STXSMaterial material;
	material.Name = attributeText(reader, "name");
	material.Category = categoryName;
	material.Id = reader.getAttributeValueAsInt("id");

	readChildren(reader, "material", [&](const char* child) {
		if (!isKeyword(child, "layer"))
			return false;
		readLayer(reader, material, prefix);
		// A layer may load a texture, which can take a while.
		if (Progress)
			reportProgress();
		return true;
	});

	if (material.TextureCount >= 2)
	{
		material.LightmapIndex = 0;
		for (irr::s32 k = material.TextureCount - 1; k >= 0; --k)
			if (material.LayerTypes[static_cast<std::size_t>(k)] == ETLT_LIGHTMAP)
			{
				material.LightmapIndex = k;
				break;
			}
		// The lightmap goes to slot 1; the texture there takes its place.
		const std::size_t from = static_cast<std::size_t>(material.LightmapIndex);
		if (from >= 2)
		{
			std::swap(material.LayerTextures[from], material.LayerTextures[1]);
			std::swap(material.LayerTypes[from], material.LayerTypes[1]);
			// A layer may hold several texture children, so the blend list
			// can be shorter than the slot list.
			if (from < material.LayerBlends.size())
				std::swap(material.LayerBlends[from], material.LayerBlends[1]);
			material.BaseMaterial.setTexture(1, material.LayerTextures[1]);
		}
	}

	MaterialPositions.emplace(material.Id, static_cast<irr::u32>(Materials.size()));
	Materials.push_back(std::move(material));
}

void CTXSMeshFileLoader::readLayer(CXMLStreamReader& reader, STXSMaterial& material, const irr::core::stringc& prefix)
{
	material.LayerBlends.push_back(attributeText(reader, "blend"));
	const char* type = reader.getAttributeValue("type");
	// Any type other than the three keywords counts as a texture layer.
	irr::s32 layerType = ETLT_TEXTURE;
	if (isKeyword(type, "lightmap"))
		layerType = ETLT_LIGHTMAP;
	else if (isKeyword(type, "color"))
		layerType = ETLT_COLOR;

	readChildren(reader, "layer", [&](const char* child) {
		if (isKeyword(child, "texture"))
			addTextureLayer(reader, material, layerType, prefix);
		else if (isKeyword(child, "color"))
			addColorLayer(reader, material, layerType);
		else
			return false;
		return true;
	});
}

void CTXSMeshFileLoader::addTextureLayer(CXMLStreamReader& reader, STXSMaterial& material, irr::s32 layerType,
	const irr::core::stringc& prefix)
{
	material.LayerTypes.push_back(layerType);
	Driver->setTextureCreationFlag(irr::video::ETCF_ALWAYS_32_BIT, true);
	irr::io::IAttributes* parameters = SceneManager->getParameters();
	const bool keepDirectories =
		parameters->existsAttribute("TXS_MaterialsDir") && parameters->getAttributeAsBool("TXS_MaterialsDir");
	const irr::core::stringc file = makeTextureFileName(attributeText(reader, "file"), keepDirectories);
	// The document's names are the editor's 8-bit text; the file system's
	// may be in another encoding.
	const irr::core::stringc path = platform::locateEditorFile(prefix.c_str(), file.c_str()).c_str();
	storeTexture(material, loadLayerTexture(path, layerType));
}

irr::video::ITexture* CTXSMeshFileLoader::loadLayerTexture(const irr::core::stringc& path, irr::s32 layerType)
{
	// A file that failed once is not asked for again: a shared lightmap
	// would otherwise be looked for, and logged, by every material.
	const std::string key(path.c_str(), path.size());
	const bool failedBefore = MissingTextureSet.count(key) != 0;
	if (!failedBefore)
	{
		irr::video::ITexture* texture = isTextureFileReadable(path) ? Driver->getTexture(path) : nullptr;
		if (texture)
			return texture;
		MissingTextureSet.insert(key);
		MissingTextureFiles.push_back(key);
	}
	// The surface stays, for the eye and for collisions: a floor whose file
	// was not copied is still walked on. A missing lightmap leaves it fully
	// lit rather than black.
	const bool lightmap = layerType == ETLT_LIGHTMAP;
	if (!failedBefore && Logger)
	{
		const std::string line = std::string(lightmap ? "Lightmap" : "Texture") + " file could not be loaded: " + key +
			(lightmap ? "; its surfaces are drawn fully lit." : "; its surfaces are drawn with a placeholder.");
		Logger->log(line.c_str(), irr::ELL_WARNING);
	}
	return getPlaceholderTexture(Driver, lightmap ? ETP_FULLY_LIT_LIGHTMAP : ETP_MISSING_TEXTURE);
}

void CTXSMeshFileLoader::addColorLayer(CXMLStreamReader& reader, STXSMaterial& material, irr::s32 layerType)
{
	material.LayerTypes.push_back(layerType);
	const irr::video::SColor color(colorComponent(reader, "a"), colorComponent(reader, "r"), colorComponent(reader, "g"),
		colorComponent(reader, "b"));

	// Named after the attribute texts as written, so equal colours written
	// alike share a name (each layer still makes its own texture).
	irr::core::stringc name = "Color_";
	name += attributeText(reader, "a");
	name += attributeText(reader, "r");
	name += attributeText(reader, "g");
	name += attributeText(reader, "b");

	if (color.getAlpha() != 255 && !material.LayerBlends.empty() && material.LayerBlends.back() == "alphablend")
		Driver->setTextureCreationFlag(irr::video::ETCF_ALWAYS_32_BIT, true);

	irr::u32 pixels[64];
	std::fill(pixels, pixels + 64, color.color);
	irr::video::IImage* image =
		Driver->createImageFromData(irr::video::ECF_A8R8G8B8, irr::core::dimension2d<irr::u32>(8, 8), pixels, false, true);
	irr::video::ITexture* texture = nullptr;
	if (image)
	{
		texture = Driver->addTexture(name, image);
		image->drop();
	}
	if (texture)
	{
		// The driver sorts its whole list of textures by name at every
		// addition, which makes thousands of colour layers cost seconds. The
		// loader keeps each colour texture itself and takes it out of that
		// list again at once, so the list stays short while a level loads.
		// No texture is ever looked up by a colour name.
		texture->grab();
		Driver->removeTexture(texture);
		ColorTextures.push_back(texture);
	}
	storeTexture(material, texture);
}

irr::video::SMaterial CTXSMeshFileLoader::makeBufferMaterial(const STXSMaterial& material) const
{
	irr::video::SMaterial result = material.BaseMaterial;
	result.MaterialType = irr::video::EMT_LIGHTMAP_LIGHTING;
	result.Wireframe = false;
	result.Lighting = true;
	result.setFlag(irr::video::EMF_BILINEAR_FILTER, true);
	return result;
}

void CTXSMeshFileLoader::finishMaterials()
{
	if (!Mesh)
		return;
	const irr::f32 alphaRef = SceneManager->getParameters()->getAttributeAsFloat("TXS_AlphaRef");
	const irr::video::SColor solidAmbient = darkenedAmbient(SceneAmbientColor, SceneShadowOpacity);
	// A material may own several buffers (see buildPolygon); each gets the
	// finish of its own material.
	const irr::u32 count = std::min<irr::u32>(Mesh->getMeshBufferCount(), static_cast<irr::u32>(BufferMaterials.size()));
	for (irr::u32 b = 0; b < count; ++b)
	{
		const STXSMaterial& m = Materials[BufferMaterials[b]];
		irr::video::SMaterial& target = Mesh->getMeshBuffer(b)->getMaterial();
		if (!m.LayerBlends.empty() && m.LayerBlends[0] == "alphablend")
		{
			// The first layer's blend decides for the whole material.
			target.MaterialType = irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL;
			target.MaterialTypeParam = alphaRef;
		}
		else if (m.LayerTypes.size() >= 2 && m.LayerTypes[1] == ETLT_LIGHTMAP)
			target.MaterialType = irr::video::EMT_LIGHTMAP_LIGHTING;
		else
		{
			target.MaterialType = irr::video::EMT_SOLID;
			target.AmbientColor = solidAmbient;
		}
	}
}

} // end namespace vistel

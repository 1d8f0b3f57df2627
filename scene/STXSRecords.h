#ifndef VISTEL_S_TXS_RECORDS_H_INCLUDED
#define VISTEL_S_TXS_RECORDS_H_INCLUDED

#include <SMaterial.h>
#include <irrString.h>
#include <vector2d.h>
#include <vector3d.h>

#include <cstddef>
#include <vector>

namespace irr
{
namespace video
{
class ITexture;
}
}

namespace vistel
{

//! Kind of a material layer, from the layer's type attribute.
enum ETXSLayerType
{
	ETLT_COLOR = 0,
	ETLT_TEXTURE = 1,
	ETLT_LIGHTMAP = 2
};

//! One material of the document, read only when its used attribute is "true".
struct STXSMaterial
{
	//! Default material whose texture slots 0 and 1 get the first two layers.
	irr::video::SMaterial BaseMaterial;
	irr::s32 Id = 0;
	irr::core::stringc Name;
	irr::core::stringc Category;
	//! blend attribute of every layer element, in document order.
	std::vector<irr::core::stringc> LayerBlends;
	//! The enclosing layer's type, once per texture or color child.
	std::vector<irr::s32> LayerTypes;
	//! Texture of every texture or color child, in slot order. Positions 2
	//! and above never reach BaseMaterial but stay here, so a lightmap can be
	//! moved to slot 1 from any position.
	std::vector<irr::video::ITexture*> LayerTextures;
	//! Number of texture layers, and so of coordinate pairs per polygon corner.
	irr::s32 TextureCount = 0;
	//! Position of the last lightmap layer; meaningful when TextureCount >= 2.
	irr::s32 LightmapIndex = 0;
};

//! One vertex of a primitive's vertices element.
struct STXSVertex
{
	irr::s32 Id = 0;
	irr::core::vector3df Position;
};

//! One poly element of a primitive. Its corners and coordinate pairs lie in
//! the loader's lists of the primitive's corners, one after another, so a
//! polygon costs no allocation of its own.
struct STXSPolygon
{
	irr::s32 MaterialId = 0;
	//! Position of its first corner (a vid) in the primitive's corner list.
	std::size_t FirstCorner = 0;
	std::size_t CornerCount = 0;
	//! Position of its first (u, v) pair in the primitive's pair list; every
	//! corner has PairsPerCorner pairs of the material's texture layers.
	std::size_t FirstPair = 0;
	std::size_t PairsPerCorner = 0;
};

} // end namespace vistel

#endif

#ifndef VISTEL_TXS_PLACEHOLDER_TEXTURES_H_INCLUDED
#define VISTEL_TXS_PLACEHOLDER_TEXTURES_H_INCLUDED

namespace irr
{
namespace video
{
class ITexture;
class IVideoDriver;
}
}

namespace vistel
{

//! What stands in for a texture file that cannot be loaded.
enum ETXSPlaceholder
{
	//! A texture layer: a magenta and black checkerboard that no level uses,
	//! so that the surface is seen at once and not mistaken for a design.
	ETP_MISSING_TEXTURE,
	//! A lightmap layer: plain white, which leaves the surface fully lit.
	ETP_FULLY_LIT_LIGHTMAP
};

//! The placeholder texture in the driver's texture list, made on first use
//! under a name no texture file can have on either system; 0 when the driver
//! cannot make it. The driver owns it.
irr::video::ITexture* getPlaceholderTexture(irr::video::IVideoDriver* driver, ETXSPlaceholder placeholder);

//! The names the placeholders are kept under in the driver's texture list.
extern const char* const MISSING_TEXTURE_NAME;
extern const char* const FULLY_LIT_LIGHTMAP_NAME;

} // end namespace vistel

#endif

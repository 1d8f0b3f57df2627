#ifndef VISTEL_FLASHLIGHT_MATERIALS_H_INCLUDED
#define VISTEL_FLASHLIGHT_MATERIALS_H_INCLUDED

namespace irr
{
namespace scene
{
class ISceneNode;
}
}

namespace vistel
{

//! Gives the level's materials the flashlight shader types of the run state:
//! solid, lightmapped and alpha-channel materials (and alpha-channel ones
//! that were switched off to the lightmap shader) get their flashlight type.
//! Alpha-channel materials take the lightmapped variant when any material of
//! the level is lightmapped. Other types stay; a missing node does nothing.
void switchFlashlightMaterialsOn(irr::scene::ISceneNode* levelNode);

//! Gives the flashlight materials their plain types back. An alpha-channel
//! material of a lightmapped level goes to the lightmap shader type so that
//! it keeps its lightmap. Other types stay; a missing node does nothing.
void switchFlashlightMaterialsOff(irr::scene::ISceneNode* levelNode);

} // end namespace vistel

#endif

#ifndef VISTEL_C_LIGHTMAP_SHADER_CALL_BACK_H_INCLUDED
#define VISTEL_C_LIGHTMAP_SHADER_CALL_BACK_H_INCLUDED

#include <IShaderConstantSetCallBack.h>

namespace vistel
{

//! Constants of the lightmap material that alpha-channel materials of a
//! lightmapped level get while the flashlight is off: the transform only.
class CLightmapShaderCallBack : public irr::video::IShaderConstantSetCallBack
{
public:
	virtual ~CLightmapShaderCallBack() {}
	virtual void OnSetConstants(irr::video::IMaterialRendererServices* services, irr::s32 userData);
};

} // end namespace vistel

#endif

#include "CLightmapShaderCallBack.h"

#include "ShaderConstantHelpers.h"

namespace vistel
{

void CLightmapShaderCallBack::OnSetConstants(irr::video::IMaterialRendererServices* services, irr::s32)
{
	setWorldViewProjConstant(services);
	setTextureUnitConstants(services);
}

} // end namespace vistel

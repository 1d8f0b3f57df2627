#ifndef VISTEL_C_FLASHLIGHT_SHADER_CALL_BACK_H_INCLUDED
#define VISTEL_C_FLASHLIGHT_SHADER_CALL_BACK_H_INCLUDED

#include <IShaderConstantSetCallBack.h>

namespace vistel
{

//! Constants of the four flashlight materials, read from the settings and the
//! run's camera each time one of them is set up for drawing: the transform,
//! the eye position, the cone parameters, the light colour and the brightness
//! outside the cone ("mLaser", 1.0 in laser mode).
class CFlashlightShaderCallBack : public irr::video::IShaderConstantSetCallBack
{
public:
	virtual ~CFlashlightShaderCallBack() {}
	virtual void OnSetConstants(irr::video::IMaterialRendererServices* services, irr::s32 userData);
};

} // end namespace vistel

#endif

#ifndef VISTEL_TEST_RECORDING_SERVICES_H_INCLUDED
#define VISTEL_TEST_RECORDING_SERVICES_H_INCLUDED

// Material renderer services that remember every named constant a shader
// callback sets, in order.

#include <IMaterialRendererServices.h>

#include <string>
#include <vector>

namespace vistel
{

class CRecordingServices : public irr::video::IMaterialRendererServices
{
public:
	struct SCall
	{
		bool vertexStage;
		std::string name;
		std::vector<irr::f32> floats;
		std::vector<irr::s32> ints;
	};

	explicit CRecordingServices(irr::video::IVideoDriver* driver) : Driver(driver) {}

	virtual void setBasicRenderStates(const irr::video::SMaterial&, const irr::video::SMaterial&, bool) {}
	virtual bool setVertexShaderConstant(const irr::c8* name, const irr::f32* floats, int count)
	{
		calls.push_back({true, name, std::vector<irr::f32>(floats, floats + count), {}});
		return true;
	}
	virtual bool setVertexShaderConstant(const irr::c8* name, const bool*, int)
	{
		calls.push_back({true, name, {}, {}});
		return true;
	}
	virtual bool setVertexShaderConstant(const irr::c8* name, const irr::s32* ints, int count)
	{
		calls.push_back({true, name, {}, std::vector<irr::s32>(ints, ints + count)});
		return true;
	}
	virtual void setVertexShaderConstant(const irr::f32*, irr::s32, irr::s32) {}
	virtual bool setPixelShaderConstant(const irr::c8* name, const irr::f32* floats, int count)
	{
		calls.push_back({false, name, std::vector<irr::f32>(floats, floats + count), {}});
		return true;
	}
	virtual bool setPixelShaderConstant(const irr::c8* name, const bool*, int)
	{
		calls.push_back({false, name, {}, {}});
		return true;
	}
	virtual bool setPixelShaderConstant(const irr::c8* name, const irr::s32* ints, int count)
	{
		calls.push_back({false, name, {}, std::vector<irr::s32>(ints, ints + count)});
		return true;
	}
	virtual void setPixelShaderConstant(const irr::f32*, irr::s32, irr::s32) {}
	virtual irr::video::IVideoDriver* getVideoDriver() { return Driver; }

	//! The last call that set the named constant, or null.
	const SCall* find(const std::string& name) const
	{
		for (auto call = calls.rbegin(); call != calls.rend(); ++call)
			if (call->name == name)
				return &*call;
		return nullptr;
	}

	std::vector<SCall> calls;

private:
	irr::video::IVideoDriver* Driver;
};

} // end namespace vistel

#endif

// libFuzzer target: arbitrary bytes through the scene loader's createMesh on
// the null driver, in both loading modes.
#include "CTXSMeshFileLoader.h"

#include <irrlicht.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

struct SFuzzEngine
{
	SFuzzEngine()
	{
		irr::SIrrlichtCreationParameters parameters;
		parameters.DriverType = irr::video::EDT_NULL;
		parameters.LoggingLevel = irr::ELL_NONE;
		Device = irr::createDeviceEx(parameters);
		Loader = new vistel::CTXSMeshFileLoader(
			Device->getVideoDriver(), Device->getSceneManager(), Device->getFileSystem());
		irr::io::IAttributes* p = Device->getSceneManager()->getParameters();
		// A directory that does not exist: texture names from the input can
		// then reach no file, whatever ".." they hold.
		p->setAttribute("TXS_TexturePath", "/nonexistent-vistel-fuzz-textures");
		p->setAttribute("TXS_MaterialsDir", true);
		p->setAttribute("TXS_AlphaRef", 0.01f);
		p->setAttribute("TXS_FlipAlpha", true);
	}

	irr::IrrlichtDevice* Device;
	vistel::CTXSMeshFileLoader* Loader;
};

} // end namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	static SFuzzEngine engine;
	// One spare byte keeps the buffer non-null for empty inputs.
	std::vector<char> bytes(size + 1, '\0');
	if (size)
		std::memcpy(bytes.data(), data, size);
	irr::scene::ISceneManager* sceneManager = engine.Device->getSceneManager();
	for (const bool wholeScene : {true, false})
	{
		sceneManager->getParameters()->setAttribute("TXS_ParentName", wholeScene);
		sceneManager->getParameters()->setAttribute("TXS_LoadAsOCT", !wholeScene && size % 2 == 1);
		irr::io::IReadFile* file = engine.Device->getFileSystem()->createMemoryReadFile(
			bytes.data(), static_cast<irr::s32>(size), "fuzz.txs", false);
		irr::scene::IAnimatedMesh* mesh = engine.Loader->createMesh(file);
		file->drop();
		if (mesh)
		{
			// Touch the result the way the scene set-up does.
			for (irr::u32 f = 0; f < mesh->getFrameCount(); ++f)
			{
				irr::scene::IMesh* frame = mesh->getMesh(static_cast<irr::s32>(f));
				for (irr::u32 b = 0; b < frame->getMeshBufferCount(); ++b)
				{
					irr::scene::IMeshBuffer* buffer = frame->getMeshBuffer(b);
					const irr::u16* indices = buffer->getIndices();
					for (irr::u32 i = 0; i < buffer->getIndexCount(); ++i)
						if (indices[i] >= buffer->getVertexCount())
							__builtin_trap();
				}
			}
			mesh->drop();
		}
		sceneManager->clear();
	}
	engine.Device->getVideoDriver()->removeAllTextures();
	return 0;
}

// Scene document reading speed: the loader's pull reader against the
// engine's own XML reader on the same document, and the full load.
//   SceneLoadBench <document> [texture folder] [repeats]
#include "CXMLStreamReader.h"
#include "CTXSMeshFileLoader.h"

#include <irrlicht.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace
{

using Clock = std::chrono::steady_clock;

// The attributes the loader asks for; both walks ask for them on every
// start tag, so they do the same work.
const char* const Probes[] = {"vid", "u0", "v0", "u1", "v1", "x", "y", "z", "mid", "id"};

template <typename TReader>
double walk(TReader& reader, unsigned long long& elements)
{
	double sink = 0;
	while (reader.read())
	{
		if (reader.getNodeType() != irr::io::EXN_ELEMENT)
			continue;
		++elements;
		sink += reader.getNodeName()[0];
		for (const char* name : Probes)
			sink += reader.getAttributeValueAsFloat(name);
	}
	return sink;
}

double seconds(Clock::time_point start)
{
	return std::chrono::duration<double>(Clock::now() - start).count();
}

} // end namespace

int main(int argc, char** argv)
{
	if (argc < 2)
	{
		std::fprintf(stderr, "usage: %s <document> [texture folder] [repeats]\n", argv[0]);
		return 2;
	}
	const char* path = argv[1];
	const char* textures = argc > 2 ? argv[2] : "";
	const int repeats = argc > 3 ? std::atoi(argv[3]) : 3;

	irr::SIrrlichtCreationParameters parameters;
	parameters.DriverType = irr::video::EDT_NULL;
	parameters.LoggingLevel = irr::ELL_WARNING;
	irr::IrrlichtDevice* device = irr::createDeviceEx(parameters);
	irr::io::IFileSystem* fileSystem = device->getFileSystem();

	irr::io::IReadFile* probe = fileSystem->createAndOpenFile(path);
	if (!probe)
	{
		std::fprintf(stderr, "cannot open %s\n", path);
		return 1;
	}
	const double megabytes = static_cast<double>(probe->getSize()) / (1024.0 * 1024.0);
	probe->drop();
	std::printf("document: %s, %.1f MB\n", path, megabytes);

	double bestPull = 1e30, bestEngine = 1e30, bestLoad = 1e30;
	unsigned long long pullElements = 0, engineElements = 0;
	irr::u32 triangles = 0, buffers = 0, frames = 0;
	for (int r = 0; r < repeats; ++r)
	{
		{
			const Clock::time_point start = Clock::now();
			irr::io::IReadFile* file = fileSystem->createAndOpenFile(path);
			std::unique_ptr<vistel::CXMLStreamReader> reader = vistel::CXMLStreamReader::create(file, nullptr);
			file->drop();
			pullElements = 0;
			volatile double sink = walk(*reader, pullElements);
			(void)sink;
			reader.reset();
			bestPull = std::min(bestPull, seconds(start));
		}
		{
			const Clock::time_point start = Clock::now();
			irr::io::IXMLReaderUTF8* reader = fileSystem->createXMLReaderUTF8(path);
			engineElements = 0;
			volatile double sink = walk(*reader, engineElements);
			(void)sink;
			reader->drop();
			bestEngine = std::min(bestEngine, seconds(start));
		}
		{
			irr::scene::ISceneManager* sceneManager = device->getSceneManager();
			irr::io::IAttributes* p = sceneManager->getParameters();
			p->setAttribute("TXS_TexturePath", textures);
			p->setAttribute("TXS_MaterialsDir", true);
			p->setAttribute("TXS_AlphaRef", 0.01f);
			p->setAttribute("TXS_FlipAlpha", true);
			p->setAttribute("TXS_ParentName", true);
			vistel::CTXSMeshFileLoader* loader = new vistel::CTXSMeshFileLoader(
				device->getVideoDriver(), sceneManager, fileSystem);
			const Clock::time_point start = Clock::now();
			irr::io::IReadFile* file = fileSystem->createAndOpenFile(path);
			irr::scene::IAnimatedMesh* mesh = loader->createMesh(file);
			file->drop();
			bestLoad = std::min(bestLoad, seconds(start));
			frames = mesh ? mesh->getFrameCount() : 0;
			triangles = buffers = 0;
			if (frames)
			{
				irr::scene::IMesh* level = mesh->getMesh(0);
				buffers = level->getMeshBufferCount();
				for (irr::u32 b = 0; b < buffers; ++b)
					triangles += level->getMeshBuffer(b)->getIndexCount() / 3;
			}
			if (mesh)
				mesh->drop();
			loader->drop();
		}
	}

	std::printf("elements: %llu (pull reader), %llu (engine reader)\n", pullElements, engineElements);
	std::printf("pull reader (CXMLStreamReader):    %.3f s, %.1f MB/s\n", bestPull, megabytes / bestPull);
	std::printf("engine reader (IXMLReaderUTF8):    %.3f s, %.1f MB/s\n", bestEngine, megabytes / bestEngine);
	std::printf("full load (createMesh): %.3f s, %.1f MB/s, %u frame(s), %u buffers, %u triangles\n", bestLoad,
		megabytes / bestLoad, frames, buffers, triangles);
	device->drop();
	return 0;
}

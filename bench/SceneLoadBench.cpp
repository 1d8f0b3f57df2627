// Scene document reading speed: the loader's pull reader against the
// engine's own XML reader and, where they are installed, the fastest XML
// readers Debian has (pugixml and RapidXML, both reading the whole document
// into a tree), all on the same document and asked for the same attributes;
// then the full load.
//   SceneLoadBench <document> [texture folder] [repeats] [only]
// where only (scene, engine, pugixml, rapidxml or load) runs one part alone,
// for profiling.
#include "CTXSMeshFileLoader.h"
#include "CXMLStreamReader.h"

#include <fast_atof.h>
#include <irrlicht.h>

#ifdef VISTEL_BENCH_PUGIXML
#include <pugixml.hpp>
#endif
#ifdef VISTEL_BENCH_RAPIDXML
#include <rapidxml/rapidxml.hpp>
#endif

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

// The attributes the loader asks for; every walk asks for them on every
// start tag, so they all do the same work. The loops over them are unrolled,
// so that each lookup has its name where it is compiled, as the loader's
// calls have.
const char* const Probes[] = {"vid", "u0", "v0", "u1", "v1", "x", "y", "z", "mid", "id"};
#define VISTEL_FOR_EACH_PROBE _Pragma("GCC unroll 16") for (const char* name : Probes)

// What a walk makes of the values, so that none is left out: their bits,
// mixed in at the cost of one instruction each. (A sum of doubles would make
// every value wait for the addition before it, which no real reader of the
// values does: the loader stores them.)
struct SSink
{
	unsigned long long Bits = 0;
	void add(float value)
	{
		irr::u32 bits;
		std::memcpy(&bits, &value, sizeof(bits));
		Bits ^= bits;
	}
	void add(char c) { Bits ^= static_cast<unsigned char>(c); }
};

template <typename TReader>
unsigned long long walk(TReader& reader, unsigned long long& elements)
{
	SSink sink;
	while (reader.read())
	{
		if (reader.getNodeType() != irr::io::EXN_ELEMENT)
			continue;
		++elements;
		sink.add(reader.getNodeName()[0]);
		VISTEL_FOR_EACH_PROBE
			sink.add(reader.getAttributeValueAsFloat(name));
	}
	return sink.Bits;
}

// Processor time of the process (user and system): on a shared machine it
// says more about a reader's own speed than the wall clock.
double cpuSeconds()
{
	timespec now;
	clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
	return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Resident memory of the process (VmRSS) or its peak (VmHWM), in MiB.
double residentMegabytes(const char* field)
{
	std::ifstream status("/proc/self/status");
	std::string line;
	const std::size_t length = std::strlen(field);
	while (std::getline(status, line))
		if (line.compare(0, length, field) == 0)
			return std::atof(line.c_str() + length) / 1024.0;
	return 0;
}

// Starts a new peak: the kernel sets VmHWM back to the current VmRSS.
void resetPeak()
{
	std::ofstream clear("/proc/self/clear_refs");
	clear << "5";
}

float probeValue(const char* text)
{
	return text && *text ? irr::core::fast_atof(text) : 0.f;
}

#ifdef VISTEL_BENCH_PUGIXML
unsigned long long walkPugi(const char* path, unsigned long long& elements)
{
	pugi::xml_document document;
	if (!document.load_file(path))
		return 0;
	SSink sink;
	// Depth first, in document order, without recursion.
	for (pugi::xml_node node = document.first_child(); node;)
	{
		if (node.type() == pugi::node_element)
		{
			++elements;
			sink.add(node.name()[0]);
			VISTEL_FOR_EACH_PROBE
				sink.add(probeValue(node.attribute(name).value()));
		}
		if (node.first_child())
			node = node.first_child();
		else
		{
			while (node && !node.next_sibling())
				node = node.parent();
			if (node)
				node = node.next_sibling();
		}
	}
	return sink.Bits;
}
#endif

#ifdef VISTEL_BENCH_RAPIDXML
unsigned long long walkRapid(const char* path, unsigned long long& elements)
{
	std::ifstream in(path, std::ios::binary | std::ios::ate);
	std::vector<char> text(static_cast<std::size_t>(in.tellg()) + 1, '\0');
	in.seekg(0);
	in.read(text.data(), static_cast<std::streamsize>(text.size() - 1));
	rapidxml::xml_document<> document;
	try
	{
		document.parse<0>(text.data());
	}
	catch (const rapidxml::parse_error&)
	{
		return 0;
	}
	SSink sink;
	for (rapidxml::xml_node<>* node = document.first_node(); node;)
	{
		if (node->type() == rapidxml::node_element)
		{
			++elements;
			sink.add(node->name()[0]);
			VISTEL_FOR_EACH_PROBE
			{
				const rapidxml::xml_attribute<>* attribute = node->first_attribute(name);
				sink.add(attribute ? probeValue(attribute->value()) : 0.f);
			}
		}
		if (node->first_node())
			node = node->first_node();
		else
		{
			while (node && !node->next_sibling())
				node = node->parent();
			if (node)
				node = node->next_sibling();
		}
	}
	return sink.Bits;
}
#endif

// Fastest of the repeats, and the peak memory one read adds to what the
// process held before it.
const char* Only = nullptr;

template <typename TWalk>
void measure(const char* key, const char* label, int repeats, double megabytes, TWalk walkOnce)
{
	if (Only && std::strcmp(Only, key) != 0)
		return;
	resetPeak();
	const double before = residentMegabytes("VmRSS:");
	double best = 1e30, bestCpu = 1e30;
	unsigned long long elements = 0;
	for (int r = 0; r < repeats; ++r)
	{
		elements = 0;
		const Clock::time_point start = Clock::now();
		const double cpuStart = cpuSeconds();
		volatile unsigned long long sink = walkOnce(elements);
		(void)sink;
		bestCpu = std::min(bestCpu, cpuSeconds() - cpuStart);
		best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
	}
	const double added = residentMegabytes("VmHWM:") - before;
	std::printf("%-32s %7.1f MB/s (%6.3f s CPU) %7.1f MB/s (%6.3f s wall) %7.1f MiB peak added, %llu elements\n",
		label, megabytes / bestCpu, bestCpu, megabytes / best, best, added, elements);
	std::fflush(stdout);
}

// FNV-1a over the level's vertex and index bytes: equal figures before and
// after a change of the loader say it built the same mesh.
unsigned long long meshDigest(irr::scene::IMesh* mesh)
{
	unsigned long long digest = 1469598103934665603ull;
	auto add = [&](const void* data, std::size_t size) {
		const unsigned char* bytes = static_cast<const unsigned char*>(data);
		for (std::size_t i = 0; i < size; ++i)
			digest = (digest ^ bytes[i]) * 1099511628211ull;
	};
	for (irr::u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
	{
		irr::scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
		add(buffer->getVertices(), buffer->getVertexCount() * irr::video::getVertexPitchFromType(buffer->getVertexType()));
		add(buffer->getIndices(), buffer->getIndexCount() * (buffer->getIndexType() == irr::video::EIT_16BIT ? 2 : 4));
	}
	return digest;
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
	Only = argc > 4 ? argv[4] : nullptr;

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

	// The readers one after the other on the same document, each asked for
	// the same attributes on every start tag.
	std::printf("reader throughput, best of %d, by processor time and by wall clock (every start tag asked for vid\n"
				"u0 v0 u1 v1 x y z mid id; the scene reader reads the file's next block on a second thread, and\n"
				"its processor time is both threads'):\n",
		repeats);
	measure("scene", "scene reader (CXMLStreamReader)", repeats, megabytes, [&](unsigned long long& elements) {
		irr::io::IReadFile* file = fileSystem->createAndOpenFile(path);
		std::unique_ptr<vistel::CXMLStreamReader> reader = vistel::CXMLStreamReader::create(file, nullptr);
		file->drop();
		return walk(*reader, elements);
	});
	measure("engine", "engine reader (IXMLReaderUTF8)", repeats, megabytes, [&](unsigned long long& elements) {
		irr::io::IXMLReaderUTF8* reader = fileSystem->createXMLReaderUTF8(path);
		const unsigned long long sink = walk(*reader, elements);
		reader->drop();
		return sink;
	});
#ifdef VISTEL_BENCH_PUGIXML
	measure("pugixml", "pugixml 1.13 (tree)", repeats, megabytes,
		[&](unsigned long long& elements) { return walkPugi(path, elements); });
#else
	std::printf("pugixml: not installed (libpugixml-dev)\n");
#endif
#ifdef VISTEL_BENCH_RAPIDXML
	measure("rapidxml", "RapidXML 1.13 (tree, in place)", repeats, megabytes,
		[&](unsigned long long& elements) { return walkRapid(path, elements); });
#else
	std::printf("RapidXML: not installed (librapidxml-dev)\n");
#endif

	double bestLoad = 1e30, bestLoadCpu = 1e30;
	irr::u32 triangles = 0, buffers = 0, frames = 0;
	unsigned long long digest = 0;
	for (int r = 0; r < (Only && std::strcmp(Only, "load") != 0 ? 0 : repeats); ++r)
	{
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
			const double cpuStart = cpuSeconds();
			irr::io::IReadFile* file = fileSystem->createAndOpenFile(path);
			irr::scene::IAnimatedMesh* mesh = loader->createMesh(file);
			file->drop();
			bestLoad = std::min(bestLoad, seconds(start));
			bestLoadCpu = std::min(bestLoadCpu, cpuSeconds() - cpuStart);
			frames = mesh ? mesh->getFrameCount() : 0;
			triangles = buffers = 0;
			if (frames)
			{
				irr::scene::IMesh* level = mesh->getMesh(0);
				buffers = level->getMeshBufferCount();
				for (irr::u32 b = 0; b < buffers; ++b)
					triangles += level->getMeshBuffer(b)->getIndexCount() / 3;
				digest = meshDigest(level);
			}
			if (mesh)
				mesh->drop();
			loader->drop();
		}
	}

	if (bestLoad < 1e30)
		std::printf("full load (createMesh): %.3f s CPU, %.1f MB/s; %.3f s wall, %.1f MB/s; %u frame(s), %u buffers, "
					"%u triangles, mesh digest %016llx\n",
			bestLoadCpu, megabytes / bestLoadCpu, bestLoad, megabytes / bestLoad, frames, buffers, triangles, digest);
	device->drop();
	return 0;
}

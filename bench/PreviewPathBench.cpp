// The preview's own path from the user's OK to the first frame, step by
// step as the preview run takes it: the host's reply, the scene file (started
// on a thread of its own), the device, the wait for the scene file's first
// piece, the load (which reads the file along as it is written), the octree
// node, the triangle selector, the rest of the set-up and the first frame.
// Then it draws for a while and prints the frame rate with the flashlight
// shaders (or without, --no-shaders).
//   PreviewPathBench <level.xml> [--fps-seconds S] [--move-seconds S] [--shot FILE]
//                    [--no-shaders] [--normal-mapping] [--loading-screen] [--empty]
// The level's folder plays the editor's install directory: the scene file
// is written there and its Textures folder is the texture directory. The
// benchmark keeps one copy of the document, as the editor does, and answers
// the plug-in's requests from it. --empty draws one frame of an empty window
// instead: the engine's baseline memory. --loading-screen loads as the
// preview does, with its loading screen, and prints each step's longest gap
// between progress reports; --normal-mapping turns the normal-mapped look
// on. --move-seconds holds the forward key down after the frame-rate run and
// prints how many frames the camera took to move, and the frame rate while
// it walks (collision queries included).
// Prints "stage NAME SECONDS" lines, the triangles of the level mesh and of
// the first frame, vertex and index bytes, the host's copy and the peak
// resident memory.
#include "HostExchange.h"
#include "PluginApi.h"
#include "PreviewRun.h"
#include "RenderLoop.h"
#include "SPreviewRunState.h"
#include "SPreviewSettings.h"
#include "SceneSetUp.h"
#include "StageTiming.h"
#include "CPreviewEventReceiver.h"
#include "CLoadingScreen.h"
#include "CTXSMeshFileLoader.h"
#include "CSceneFileWriter.h"

#include <irrlicht.h>

#include "BenchMeasures.h"
#include "CReportGapWatch.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace irr;

namespace
{

using namespace vistel::bench;

Clock::time_point stageMark;
double cpuMark = 0;
std::string hostDocument;
std::string installReply;
CReportGapWatch* gapWatch = nullptr;

void printStage(const char* name)
{
	std::printf("stage %s %.3f\n", name, secondsSince(stageMark));
	const double cpu = cpuSeconds();
	std::printf("cpu %s %.3f\n", name, cpu - cpuMark);
	cpuMark = cpu;
	std::printf("memory %s resident %ld peak %ld KiB\n", name, residentKiB(), peakResidentKiB());
	if (gapWatch)
		gapWatch->endStep(name);
	stageMark = Clock::now();
}

int VISTEL_CALL answer(SCallbackRecord* record)
{
	const bool install = std::strstr(record->request, "installdirectory") != nullptr;
	const std::string& reply = install ? installReply : hostDocument;
	if (record->reason == ECR_GET_MEM)
		record->replySize = static_cast<unsigned int>(reply.size());
	else
		std::memcpy(record->reply, reply.data(), reply.size());
	return 0;
}

// Holds the forward key down (or lets it go) as the window would report it.
void pressForward(IrrlichtDevice* device, bool down)
{
	SEvent key;
	key.EventType = EET_KEY_INPUT_EVENT;
	key.KeyInput.Char = 0;
	key.KeyInput.Key = KEY_KEY_W;
	key.KeyInput.PressedDown = down;
	key.KeyInput.Shift = false;
	key.KeyInput.Control = false;
	device->postEventFromUser(key);
}

// Holds the forward key for a while: the frames until the camera moved, and
// the frame rate while it walks.
void measureWalk(IrrlichtDevice* device, vistel::SPreviewSettings& settings, s32& lastFrameRate,
	double seconds)
{
	scene::ICameraSceneNode* camera = vistel::getPreviewRunState().camera;
	const core::vector3df start = camera->getAbsolutePosition();
	const Clock::time_point walkStart = Clock::now();
	const double cpuStart = cpuSeconds();
	pressForward(device, true);
	u32 frames = 0, framesToMove = 0;
	double secondsToMove = -1;
	while (device->run() && secondsSince(walkStart) < seconds)
	{
		vistel::renderActiveFrame(device, settings, lastFrameRate);
		++frames;
		if (secondsToMove < 0 && camera->getAbsolutePosition() != start)
		{
			framesToMove = frames;
			secondsToMove = secondsSince(walkStart);
		}
	}
	pressForward(device, false);
	std::printf("move-response frames %u seconds %.3f distance %.1f\n", framesToMove, secondsToMove,
		camera->getAbsolutePosition().getDistanceFrom(start));
	std::printf("fps-walking %.2f\n", frames / secondsSince(walkStart));
	std::printf("cpu-ms-per-frame-walking %.3f\n", frames ? (cpuSeconds() - cpuStart) * 1000.0 / frames : 0.0);
}

bool readDocument(const char* path, std::string& text)
{
	FILE* file = std::fopen(path, "rb");
	if (!file)
		return false;
	std::fseek(file, 0, SEEK_END);
	const long size = std::ftell(file);
	std::fseek(file, 0, SEEK_SET);
	text.resize(static_cast<size_t>(size));
	const bool read = std::fread(&text[0], 1, text.size(), file) == text.size();
	std::fclose(file);
	return read;
}

} // end namespace

int main(int argc, char** argv)
{
	if (argc < 2)
	{
		std::fprintf(stderr, "usage: %s <level.xml> [--fps-seconds S] [--shot FILE] [--no-shaders] [--empty]\n", argv[0]);
		return 2;
	}
	const std::string levelPath = argv[1];
	double fpsSeconds = 0, moveSeconds = 0;
	bool shaders = true, empty = false, normalMapping = false, withLoadingScreen = false;
	const char* shotPath = nullptr;
	for (int i = 2; i < argc; ++i)
	{
		if (std::strcmp(argv[i], "--fps-seconds") == 0 && i + 1 < argc)
			fpsSeconds = std::atof(argv[++i]);
		else if (std::strcmp(argv[i], "--move-seconds") == 0 && i + 1 < argc)
			moveSeconds = std::atof(argv[++i]);
		else if (std::strcmp(argv[i], "--no-shaders") == 0)
			shaders = false;
		else if (std::strcmp(argv[i], "--normal-mapping") == 0)
			normalMapping = true;
		else if (std::strcmp(argv[i], "--loading-screen") == 0)
			withLoadingScreen = true;
		else if (std::strcmp(argv[i], "--empty") == 0)
			empty = true;
		else if (std::strcmp(argv[i], "--shot") == 0 && i + 1 < argc)
			shotPath = argv[++i];
	}
	const size_t slash = levelPath.find_last_of('/');
	const std::string folder = slash == std::string::npos ? std::string("./") : levelPath.substr(0, slash + 1);
	installReply = "<tarvo version=\"1.6\">\n   <installdirectory>" + folder + "</installdirectory>\n</tarvo>";
	if (!empty && !readDocument(levelPath.c_str(), hostDocument))
	{
		std::fprintf(stderr, "cannot read %s\n", levelPath.c_str());
		return 1;
	}
	std::printf("host-copy-bytes %zu\n", hostDocument.size());

	vistel::SPreviewSettings& settings = vistel::getPreviewSettings();
	settings = vistel::makeDefaultPreviewSettings();
	settings.fx.useShader = shaders;
	settings.engine.useNormalMapping = normalMapping;
	settings.engine.hideMouseCursor = false;
	vistel::setHostCallback(&answer);
	vistel::setStageTimingHook(&printStage);

	// The user pressed OK.
	const Clock::time_point start = Clock::now();
	stageMark = start;
	cpuMark = cpuSeconds();
	const double cpuStart = cpuMark;
	const core::stringc installDirectory = vistel::requestInstallDirectory();
	core::stringc sceneFilePath = installDirectory;
	sceneFilePath += "myfile.txs";
	// The scene file is written on a thread of its own, as in the preview,
	// while the device is made; the load follows its writing.
	vistel::CSceneFileWriter sceneFileWriter;
	const bool sceneFileStarted = !empty && vistel::beginSceneFile(sceneFilePath, false, sceneFileWriter);
	if (!empty)
		printStage("scene-file");

	vistel::CPreviewEventReceiver receiver;
	vistel::SPreviewRunState& state = vistel::getPreviewRunState();
	state.device = vistel::createPreviewDevice(settings.engine, &receiver);
	if (!state.device || state.device->getVideoDriver()->getDriverType() != video::EDT_OPENGL)
	{
		std::fprintf(stderr, "no OpenGL device\n");
		return 1;
	}
	state.timer = state.device->getTimer();
	video::IVideoDriver* driver = state.device->getVideoDriver();
	printStage("device");

	if (empty)
	{
		state.device->run();
		driver->beginScene(true, true, settings.level.backgroundColor);
		state.device->getSceneManager()->drawAll();
		state.device->getGUIEnvironment()->drawAll();
		driver->endScene();
		std::printf("peak-rss-kib %ld\n", peakResidentKiB());
		vistel::tearDownRun();
		return 0;
	}

	const core::stringc textureDirectory = vistel::findTextureDirectory(state.device->getFileSystem(),
		installDirectory);
	driver->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, true);
	// As the preview: the loading screen from the window's first picture.
	vistel::CLoadingScreen loadingScreen(state.device);
	CReportGapWatch watch(&loadingScreen);
	vistel::ILoadProgress* progress = nullptr;
	if (withLoadingScreen)
	{
		loadingScreen.show();
		watch.start();
		gapWatch = &watch;
		progress = &watch;
	}
	vistel::CTXSMeshFileLoader* loader = vistel::registerSceneLoader(state.device, textureDirectory);
	// As the preview, the load reads the scene file along as it is written:
	// this step is the wait for its first piece.
	if (sceneFileStarted)
		sceneFileWriter.waitUntilReadable(progress);
	printStage("scene-file-wait");
	loader->setProgress(progress);
	vistel::SSceneFileOrigin origin;
	scene::IAnimatedMesh* levelMesh = sceneFileStarted
		? vistel::loadLevelMeshAsWritten(state.device, loader, sceneFilePath, sceneFileWriter, origin, progress)
		: vistel::loadLevelMesh(state.device, loader, sceneFilePath);
	loader->setProgress(nullptr);
	printStage("load");
	if (!levelMesh)
	{
		std::fprintf(stderr, "no level mesh\n");
		return 1;
	}
	u64 triangles = 0, geometryBytes = 0;
	scene::IMesh* frame = levelMesh->getMesh(0);
	for (u32 b = 0; b < frame->getMeshBufferCount(); ++b)
	{
		scene::IMeshBuffer* buffer = frame->getMeshBuffer(b);
		triangles += buffer->getIndexCount() / 3;
		geometryBytes += static_cast<u64>(buffer->getVertexCount()) * video::getVertexPitchFromType(buffer->getVertexType())
			+ static_cast<u64>(buffer->getIndexCount()) * sizeof(u16);
	}
	const u32 buffers = frame->getMeshBufferCount();

	if (!vistel::setUpScene(state.device, levelMesh, settings, installDirectory, progress))
	{
		std::fprintf(stderr, "no scene\n");
		return 1;
	}
	printStage("set-up");
	if (withLoadingScreen)
		loadingScreen.finish();

	s32 lastFrameRate = 0;
	state.device->run();
	vistel::renderActiveFrame(state.device, settings, lastFrameRate);
	const u32 drawn = driver->getPrimitiveCountDrawn();
	printStage("first-frame");
	if (gapWatch)
	{
		gapWatch->printSummary();
		gapWatch = nullptr;
	}
	std::printf("total %.3f\n", secondsSince(start));
	std::printf("total-cpu %.3f\n", cpuSeconds() - cpuStart);
	std::printf("triangles %llu buffers %u drawn %u\n", static_cast<unsigned long long>(triangles), buffers, drawn);
	std::printf("geometry-bytes %llu\n", static_cast<unsigned long long>(geometryBytes));
	std::printf("peak-rss-kib %ld\n", peakResidentKiB());
	std::fflush(stdout);

	if (fpsSeconds > 0)
	{
		u32 frames = 0;
		const Clock::time_point fpsStart = Clock::now();
		const double cpuStart = cpuSeconds();
		while (state.device->run() && secondsSince(fpsStart) < fpsSeconds)
		{
			vistel::renderActiveFrame(state.device, settings, lastFrameRate);
			++frames;
		}
		std::printf("fps %.2f\n", frames / secondsSince(fpsStart));
		// Processor time per frame, the driver's threads included: steadier
		// than the frame rate on a shared machine.
		std::printf("cpu-ms-per-frame %.3f\n", frames ? (cpuSeconds() - cpuStart) * 1000.0 / frames : 0.0);
	}
	if (moveSeconds > 0)
		measureWalk(state.device, settings, lastFrameRate, moveSeconds);
	if (shotPath)
	{
		// The view the frame rate was measured on, to compare by eye; read
		// before the buffers swap.
		driver->beginScene(true, true, video::SColor(0xFFFFFFFF));
		state.device->getSceneManager()->drawAll();
		video::IImage* shot = driver->createScreenShot();
		driver->endScene();
		if (shot)
		{
			driver->writeImageToFile(shot, shotPath);
			shot->drop();
		}
	}
	vistel::setStageTimingHook(nullptr);
	vistel::tearDownRun();
	return 0;
}

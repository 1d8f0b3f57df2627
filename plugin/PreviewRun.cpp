#include "PreviewRun.h"
#include "HostExchange.h"
#include "HostReplies.h"
#include "IPlatform.h"
#include "LargeMemory.h"
#include "PathParts.h"
#include "PreviewSettingsFile.h"
#include "SettingsSheet.h"
#include "SPreviewRunState.h"
#include "CLoadingScreen.h"
#include "CPreviewEventReceiver.h"
#include "CGrowingReadFile.h"
#include "CSceneFileWriter.h"
#include "CTXSMeshFileLoader.h"
#include "OnScreenTexts.h"
#include "RenderLoop.h"
#include "SceneSetUp.h"
#include "StageTiming.h"
#include "SystemConventions.h"

#include <irrlicht.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <utility>

namespace vistel
{

using namespace irr;

namespace
{

const char SCENE_FILE_NAME[] = "myfile.txs";
const char INI_FILE_NAME[] = "tarvo.ini";
const char UNREADABLE_LEVEL_CAPTION[] = "Tarvo Vistel Plugin";

// The driver the preview asks for: Direct3D 9 with the HLSL programs on
// Windows, OpenGL with the GLSL programs on X11.
const video::E_DRIVER_TYPE PREVIEW_DRIVER = WINDOW_SYSTEM == EWS_WIN32 ? video::EDT_DIRECT3D9 : video::EDT_OPENGL;

char toLowerAscii(char c)
{
	return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // end anonymous namespace

core::stringc requestInstallDirectory()
{
	std::string reply;
	if (!exchangeWithHost(INSTALL_DIRECTORY_REQUEST, EHRK_INSTALL_DIRECTORY, reply))
		return core::stringc();
	return parseInstallDirectory(reply);
}

core::stringc getExecutableDirectory()
{
	return getDirectoryPart(platform::getPlatform().getExecutablePath().c_str());
}

bool equalsIgnoringAsciiCase(const core::stringc& a, const core::stringc& b)
{
	if (a.size() != b.size())
		return false;
	for (u32 i = 0; i < a.size(); ++i)
		if (toLowerAscii(a[i]) != toLowerAscii(b[i]))
			return false;
	return true;
}

core::stringc chooseSettingsDirectory(const core::stringc& installDirectory,
	const core::stringc& executableDirectory)
{
	if (!equalsIgnoringAsciiCase(installDirectory, executableDirectory))
		return executableDirectory;
	platform::getPlatform().showMessageBox(0, "Tarvo User Dir", executableDirectory.c_str(),
		platform::EMBS_OK);
	return installDirectory;
}

bool editSettings(const core::stringc& settingsDirectory)
{
	loadPreviewSettings(settingsDirectory);
	SPreviewSettings& settings = getPreviewSettings();
	if (showSettingsSheet(&settings.camera, &settings.engine, &settings.collision,
			&settings.level, &settings.fx) != 1)
		return false;
	savePreviewSettings(settingsDirectory);
	return true;
}

bool writeSceneFile(const core::stringc& sceneFilePath, char* reply, std::size_t size, CSceneLineMap* lineMap,
	const std::atomic<bool>* stop, IFileGrowthListener* growth)
{
	FILE* file = std::fopen(sceneFilePath.c_str(), "w");
	if (!file)
		return false;
	// The reply is joined in its own buffer and written in three pieces:
	// the first line, the settings element, the rest; the rest in blocks
	// between which a stop is noticed. Each piece is flushed to the file
	// before growth hears of it, so a reader that follows finds it there.
	std::size_t firstLine = 0;
	const std::size_t joined = joinSceneReplyLines(reply, size, firstLine, lineMap);
	const std::size_t settings = std::strlen(SCENE_SETTINGS_ELEMENT);
	bool written = std::fwrite(reply, 1, firstLine, file) == firstLine
		&& std::fwrite(SCENE_SETTINGS_ELEMENT, 1, settings, file) == settings;
	// The file's own bytes so far: where the system writes text with
	// carriage returns, the settings element's lines take one more each (the
	// joined rest has no line feeds left). A file that tells no position (a
	// pipe) cannot be read along.
	unsigned long long head = 0;
	bool readAlong = false;
	if (written && growth)
	{
		written = std::fflush(file) == 0;
		const long position = std::ftell(file);
		readAlong = written && position >= 0;
		head = readAlong ? static_cast<unsigned long long>(position) : 0;
		if (readAlong)
			growth->onFileGrew(head, head + (joined - firstLine));
	}
	const std::size_t block = 1u << 20;
	for (std::size_t at = firstLine; written && at < joined; at += block)
	{
		if (stop && stop->load())
			written = false;
		else
		{
			const std::size_t piece = std::min(block, joined - at);
			written = std::fwrite(reply + at, 1, piece, file) == piece;
			if (written && readAlong)
			{
				written = std::fflush(file) == 0;
				if (written)
					growth->onFileGrew(head + (at + piece - firstLine), head + (joined - firstLine));
				// The load that reads the file along builds the level while
				// the rest is written: the written text's memory goes now,
				// not with the whole reply after the last piece.
				platform::discardContents(reply + at, piece);
			}
		}
	}
	return std::fclose(file) == 0 && written;
}

bool beginSceneFile(const core::stringc& sceneFilePath, bool selectedOnly, CSceneFileWriter& writer,
	SSceneFileOrigin* origin)
{
	SHostReply reply;
	const bool received = exchangeWithHost(selectedOnly ? SELECTION_REQUEST : WHOLE_LEVEL_REQUEST, EHRK_SCENE, reply);
	if (origin)
		origin->LevelEmpty = reply.Empty;
	if (!received)
		return false;
	noteStageEnd("transfer");
	writer.start(sceneFilePath, std::move(reply), origin != nullptr);
	return true;
}

bool endSceneFile(CSceneFileWriter& writer, SSceneFileOrigin* origin, ILoadProgress* progress)
{
	// A file that cannot be written is skipped: the run loads whatever an
	// earlier run left there.
	const bool written = writer.finish(progress);
	if (written && origin)
		origin->LineMap = std::move(writer.getLineMap());
	return written;
}

void fetchSceneFile(const core::stringc& sceneFilePath, bool selectedOnly, SSceneFileOrigin* origin)
{
	CSceneFileWriter writer;
	if (beginSceneFile(sceneFilePath, selectedOnly, writer, origin))
		endSceneFile(writer, origin, nullptr);
}

void keepDisplayableScreenMode(SEngineSettings& engine)
{
	// The configuration file is not validated, and a damaged one can hold any
	// size; no display shows such a window, and the engine hangs trying. The
	// default mode stands in for this run; the file keeps what it holds.
	const s32 largestSide = 16384;
	if (engine.screenWidth < 1 || engine.screenWidth > largestSide
		|| engine.screenHeight < 1 || engine.screenHeight > largestSide)
	{
		const SPreviewSettings defaults = makeDefaultPreviewSettings();
		engine.screenWidth = defaults.engine.screenWidth;
		engine.screenHeight = defaults.engine.screenHeight;
	}
}

IrrlichtDevice* createPreviewDevice(const SEngineSettings& engine, IEventReceiver* receiver)
{
	SIrrlichtCreationParameters parameters;
	parameters.DriverType = PREVIEW_DRIVER;
	parameters.WindowSize = core::dimension2d<u32>(static_cast<u32>(engine.screenWidth),
		static_cast<u32>(engine.screenHeight));
	parameters.Bits = static_cast<u8>(engine.colorBits);
	parameters.Fullscreen = engine.fullscreen;
	parameters.Stencilbuffer = false;
	parameters.Vsync = false;
	parameters.EventReceiver = receiver;
	// Direct3D 9 otherwise drops the calling thread's x87 precision to 24
	// bits for good, and that thread is the editor's: its own double
	// arithmetic would lose precision after the preview.
	parameters.HighPrecisionFPU = true;

	IrrlichtDevice* device = createDeviceEx(parameters);
	if (!device)
	{
		// No hardware driver to be had: the engine's own software renderer.
		parameters.DriverType = video::EDT_BURNINGSVIDEO;
		device = createDeviceEx(parameters);
	}
	return device;
}

core::stringc findTextureDirectory(io::IFileSystem* fileSystem, const core::stringc& installDirectory)
{
	std::string iniText;
	core::stringc iniPath = installDirectory;
	iniPath += INI_FILE_NAME;
	io::IReadFile* ini = fileSystem->createAndOpenFile(iniPath);
	if (ini)
	{
		const long size = ini->getSize();
		if (size > 0)
		{
			iniText.resize(static_cast<size_t>(size));
			iniText.resize(static_cast<size_t>(ini->read(&iniText[0], static_cast<u32>(size))));
		}
		ini->drop();
	}
	return parseTextureDirectory(iniText, installDirectory);
}

CTXSMeshFileLoader* registerSceneLoader(IrrlichtDevice* device, const core::stringc& textureDirectory)
{
	scene::ISceneManager* sceneManager = device->getSceneManager();
	CTXSMeshFileLoader* loader = new CTXSMeshFileLoader(device->getVideoDriver(), sceneManager,
		device->getFileSystem());
	// A broken document is reported in the engine's log.
	loader->setLogger(device->getLogger());
	sceneManager->addExternalMeshLoader(loader);
	loader->drop();

	// The parameters hold text: "true" for the flags, numbers as "%f" writes them.
	char alphaReference[64];
	std::snprintf(alphaReference, sizeof(alphaReference), "%f", 0.01);
	io::IAttributes* parameters = sceneManager->getParameters();
	parameters->setAttribute("TXS_TexturePath", textureDirectory.c_str());
	parameters->setAttribute("TXS_MaterialsDir", "true");
	parameters->setAttribute("TXS_AlphaRef", alphaReference);
	parameters->setAttribute("TXS_FlipAlpha", "true");
	parameters->setAttribute("TXS_ParentName", "true");
	// The scene manager keeps the loader as long as the device lives.
	return loader;
}

std::string describeUnreadableLevel(const core::stringc& sceneFilePath, bool documentRead,
	const std::string& fault, bool levelEmpty)
{
	if (!documentRead && fault.empty() && levelEmpty)
		return "The level is empty: the editor has nothing to walk through. The preview closes.";
	std::string reason;
	if (!documentRead && fault.empty())
		reason = "the file could not be opened";
	else if (fault.empty())
		reason = "it holds no polygons that can be drawn";
	else
	{
		// The reader's text may end in its own full stop or line feed.
		reason = fault;
		while (!reason.empty()
			&& (reason.back() == '.' || reason.back() == '\n' || reason.back() == '\r'
				|| reason.back() == ' '))
			reason.pop_back();
	}
	return std::string("The level could not be read from the scene file \"")
		+ sceneFilePath.c_str() + "\": " + reason + ". The preview closes.";
}

namespace
{

// Tells the user why there is no level to walk through, unless the user
// stopped the load; mesh is what the scene manager gave.
scene::IAnimatedMesh* keepWalkableLevel(scene::IAnimatedMesh* mesh, const CTXSMeshFileLoader* loader,
	const core::stringc& sceneFilePath, const SSceneFileOrigin& origin)
{
	if (mesh && mesh->getFrameCount() > 0)
		return mesh;
	// The user stopped the load: nothing to tell.
	if (loader && loader->wasLastLoadStopped())
		return 0;
	// Nothing to walk through: say so, rather than let the editor come back
	// as if the preview had never been asked for.
	// The reader counts the scene file's lines; the user knows the editor's.
	platform::getPlatform().showMessageBox(0,
		describeUnreadableLevel(sceneFilePath, mesh != 0,
			loader ? origin.LineMap.translateFault(loader->getLastLoadFault()) : std::string(),
			origin.LevelEmpty),
		UNREADABLE_LEVEL_CAPTION, platform::EMBS_ICON_ERROR);
	return 0;
}

} // end anonymous namespace

scene::IAnimatedMesh* loadLevelMesh(IrrlichtDevice* device, const CTXSMeshFileLoader* loader,
	const core::stringc& sceneFilePath, const SSceneFileOrigin& origin)
{
	return keepWalkableLevel(device->getSceneManager()->getMesh(sceneFilePath.c_str()), loader,
		sceneFilePath, origin);
}

scene::IAnimatedMesh* loadLevelMeshAsWritten(IrrlichtDevice* device, const CTXSMeshFileLoader* loader,
	const core::stringc& sceneFilePath, CSceneFileWriter& writer, SSceneFileOrigin& origin,
	ILoadProgress* progress)
{
	const CSceneFileWriter::EReadiness readiness = writer.waitUntilReadable(progress);
	if (readiness == CSceneFileWriter::ER_STOPPED)
	{
		// The writing ends after its current piece.
		endSceneFile(writer, nullptr, progress);
		return 0;
	}
	// Read along as it is written. Otherwise the file is whole, or it could
	// not be written and whatever an earlier run left there is loaded.
	io::IReadFile* file = readiness == CSceneFileWriter::ER_READ_ALONG
		? CGrowingReadFile::open(sceneFilePath, writer.getExpectedSize(), writer) : 0;
	scene::ISceneManager* sceneManager = device->getSceneManager();
	scene::IAnimatedMesh* mesh = file ? sceneManager->getMesh(file) : sceneManager->getMesh(sceneFilePath.c_str());
	if (file)
		file->drop();
	// The rest of the file (after a stop or a fault the load read no
	// further), and the editor's lines that a fault is told in.
	endSceneFile(writer, &origin, progress);
	return keepWalkableLevel(mesh, loader, sceneFilePath, origin);
}

bool setUpPreview(IrrlichtDevice* device, const CTXSMeshFileLoader* loader, scene::IAnimatedMesh* levelMesh,
	const core::stringc& installDirectory, ILoadProgress* progress)
{
	if (!setUpScene(device, levelMesh, getPreviewSettings(), installDirectory, progress))
		return false;
	// Surfaces whose texture files are missing look wrong on purpose; the
	// user is told how many files it takes to mend them.
	if (loader)
		showMissingTexturesMessage(static_cast<u32>(loader->getMissingTextureFiles().size()));
	return true;
}

void tearDownRun()
{
	// The references are forgotten before the device goes: the engine may
	// still call the event receiver while it shuts down, and the receiver
	// must not reach a camera that is already gone.
	SPreviewRunState& state = getPreviewRunState();
	scene::ITriangleSelector* triangleSelector = state.triangleSelector;
	scene::ISceneNodeAnimatorCollisionResponse* collisionAnimator = state.collisionAnimator;
	IrrlichtDevice* device = state.device;
	state.clearRunReferences();
	if (triangleSelector)
		triangleSelector->drop();
	if (collisionAnimator)
		collisionAnimator->drop();
	if (device)
	{
		// The engine destroys its window and unregisters its window class
		// only when it is closed itself: a window the user closed, or one
		// whose loop never ran (no level), would leave the class registered,
		// its procedure in this library, which the editor may unload. Closing
		// posts a quit message to the thread, the editor's own: one more turn
		// of the engine's pump takes it off the queue again.
		device->closeDevice();
		device->run();
		device->drop();
	}
	// The engine may have hidden the cursor of the editor's thread.
	platform::getPlatform().restoreCursor();
}

void executePreview() noexcept
{
	// The run is a guest in the host's process: whatever goes wrong in it
	// ends the run, never the host. The reason is copied out before the
	// tear-down, which releases what the run held, then it is shown.
	char reason[256] = "an unexpected error occurred";
	try
	{
		runPreview();
		return;
	}
	catch (const std::bad_alloc&)
	{
		std::snprintf(reason, sizeof(reason), "%s", "there was not enough memory");
	}
	catch (const std::exception& error)
	{
		std::snprintf(reason, sizeof(reason), "%s", error.what());
	}
	catch (...)
	{
	}
	try
	{
		tearDownRun();
		platform::getPlatform().showMessageBox(0,
			std::string("The preview stopped: ") + reason + ". Everything it had opened is closed again.",
			UNREADABLE_LEVEL_CAPTION, platform::EMBS_ICON_ERROR);
	}
	catch (...)
	{
		// Not even the box could be shown: the host goes on all the same.
	}
}

void runPreview()
{
	// Without the host's callback there is nobody to ask for anything.
	if (!getHostCallback())
		return;

	const core::stringc installDirectory = requestInstallDirectory();
	const core::stringc executableDirectory = getExecutableDirectory();
	const core::stringc settingsDirectory = chooseSettingsDirectory(installDirectory,
		executableDirectory);
	if (!editSettings(settingsDirectory))
		return;

	const SPreviewSettings& settings = getPreviewSettings();
	core::stringc sceneFilePath = installDirectory;
	sceneFilePath += SCENE_FILE_NAME;
	SSceneFileOrigin sceneOrigin;
	// The scene file is written on a thread of its own while the device and
	// the loader are made; the load waits for it.
	CSceneFileWriter sceneFileWriter;
	const bool sceneFileStarted = beginSceneFile(sceneFilePath, settings.engine.selectedOnly, sceneFileWriter,
		&sceneOrigin);

	keepDisplayableScreenMode(getPreviewSettings().engine);

	// The receiver outlives the device: the engine calls it until the drop.
	CPreviewEventReceiver receiver;
	SPreviewRunState& state = getPreviewRunState();
	platform::getPlatform().keepCursor();
	state.device = createPreviewDevice(settings.engine, &receiver);
	if (!state.device)
	{
		tearDownRun();
		return;
	}
	state.timer = state.device->getTimer();
	// From here to the first frame the window shows how the load goes and
	// answers its messages; closing it or Escape stops the load.
	CLoadingScreen loadingScreen(state.device);
	loadingScreen.show();

	const core::stringc textureDirectory = findTextureDirectory(state.device->getFileSystem(),
		installDirectory);
	state.device->getVideoDriver()->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, true);
	CTXSMeshFileLoader* loader = registerSceneLoader(state.device, textureDirectory);
	loader->setProgress(&loadingScreen);
	// The load reads the scene file along as it is written; a stop while
	// the file was written ends the run as a stopped load does.
	scene::IAnimatedMesh* levelMesh = sceneFileStarted
		? loadLevelMeshAsWritten(state.device, loader, sceneFilePath, sceneFileWriter, sceneOrigin, &loadingScreen)
		: loadLevelMesh(state.device, loader, sceneFilePath, sceneOrigin);
	loader->setProgress(0);
	sceneOrigin = SSceneFileOrigin();

	// Without a level to walk through, or when the user stopped the load,
	// the run ends here.
	const bool ready = levelMesh
		&& setUpPreview(state.device, loader, levelMesh, installDirectory, &loadingScreen)
		&& !loadingScreen.isStopped();
	loadingScreen.finish();
	if (ready)
		runRenderLoop(state.device, getPreviewSettings());
	tearDownRun();
}

} // end namespace vistel

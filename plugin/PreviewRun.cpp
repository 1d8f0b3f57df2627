#include "PreviewRun.h"
#include "HostExchange.h"
#include "HostReplies.h"
#include "IPlatform.h"
#include "PathParts.h"
#include "PreviewSettingsFile.h"
#include "SettingsSheet.h"
#include "SPreviewRunState.h"
#include "CLoadingScreen.h"
#include "CPreviewEventReceiver.h"
#include "CTXSMeshFileLoader.h"
#include "RenderLoop.h"
#include "SceneSetUp.h"
#include "StageTiming.h"
#include "SystemConventions.h"

#include <irrlicht.h>
#include <cstdio>
#include <cstring>

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

bool writeSceneFile(const core::stringc& sceneFilePath, char* reply, std::size_t size)
{
	FILE* file = std::fopen(sceneFilePath.c_str(), "w");
	if (!file)
		return false;
	// The reply is joined in its own buffer and written in three pieces:
	// the first line, the settings element, the rest.
	std::size_t firstLine = 0;
	const std::size_t joined = joinSceneReplyLines(reply, size, firstLine);
	const std::size_t settings = std::strlen(SCENE_SETTINGS_ELEMENT);
	const bool written = std::fwrite(reply, 1, firstLine, file) == firstLine
		&& std::fwrite(SCENE_SETTINGS_ELEMENT, 1, settings, file) == settings
		&& std::fwrite(reply + firstLine, 1, joined - firstLine, file) == joined - firstLine;
	return std::fclose(file) == 0 && written;
}

void fetchSceneFile(const core::stringc& sceneFilePath, bool selectedOnly)
{
	SHostReply reply;
	if (!exchangeWithHost(selectedOnly ? SELECTION_REQUEST : WHOLE_LEVEL_REQUEST, EHRK_SCENE, reply))
		return;
	noteStageEnd("transfer");
	// A file that cannot be written is skipped: the run loads whatever an
	// earlier run left there. The reply goes as soon as it is written.
	writeSceneFile(sceneFilePath, reply.Data.get(), reply.Size);
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
	const std::string& fault)
{
	std::string reason;
	if (!documentRead)
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

scene::IAnimatedMesh* loadLevelMesh(IrrlichtDevice* device, const CTXSMeshFileLoader* loader,
	const core::stringc& sceneFilePath)
{
	scene::IAnimatedMesh* mesh = device->getSceneManager()->getMesh(sceneFilePath.c_str());
	if (mesh && mesh->getFrameCount() > 0)
		return mesh;
	// The user stopped the load: nothing to tell.
	if (loader && loader->wasLastLoadStopped())
		return 0;
	// Nothing to walk through: say so, rather than let the editor come back
	// as if the preview had never been asked for.
	platform::getPlatform().showMessageBox(0,
		describeUnreadableLevel(sceneFilePath, mesh != 0,
			loader ? loader->getLastLoadFault() : std::string()),
		UNREADABLE_LEVEL_CAPTION, platform::EMBS_ICON_ERROR);
	return 0;
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
		device->drop();
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
	fetchSceneFile(sceneFilePath, settings.engine.selectedOnly);

	keepDisplayableScreenMode(getPreviewSettings().engine);

	// The receiver outlives the device: the engine calls it until the drop.
	CPreviewEventReceiver receiver;
	SPreviewRunState& state = getPreviewRunState();
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
	scene::IAnimatedMesh* levelMesh = loadLevelMesh(state.device, loader, sceneFilePath);
	loader->setProgress(0);

	// Without a level to walk through, or when the user stopped the load,
	// the run ends here.
	const bool ready = levelMesh
		&& setUpScene(state.device, levelMesh, getPreviewSettings(), installDirectory, &loadingScreen)
		&& !loadingScreen.isStopped();
	loadingScreen.finish();
	if (ready)
		runRenderLoop(state.device, getPreviewSettings());
	tearDownRun();
}

} // end namespace vistel

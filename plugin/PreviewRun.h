#ifndef VISTEL_PREVIEW_RUN_H_INCLUDED
#define VISTEL_PREVIEW_RUN_H_INCLUDED

#include "CSceneLineMap.h"

#include <irrString.h>
#include <atomic>
#include <cstddef>
#include <string>

namespace irr
{
class IEventReceiver;
class IrrlichtDevice;
namespace io
{
class IFileSystem;
}
namespace scene
{
class IAnimatedMesh;
}
}

namespace vistel
{

class CSceneFileWriter;
class IFileGrowthListener;
class CTXSMeshFileLoader;
class ILoadProgress;
struct SEngineSettings;

//! What the run knows of the scene file it loads.
struct SSceneFileOrigin
{
	//! The host had no scene data: an empty level.
	bool LevelEmpty = false;
	//! The editor's lines, when this run wrote the file.
	CSceneLineMap LineMap;
};

//! One preview run, from the host's first request to the tear-down.
void runPreview();

//! runPreview for the host: nothing leaves it. A run that fails with an
//! exception is torn down, its windows closed and its engine released, and
//! the reason is shown in a box with no owner.
void executePreview() noexcept;

// The steps of the run, in their order. Each is a function of its own so
// that the run reads like its list of steps and each step can be tested.

//! Asks the host where it is installed; empty when the request failed.
irr::core::stringc requestInstallDirectory();

//! The directory of the host's executable, without a trailing separator.
irr::core::stringc getExecutableDirectory();

//! ASCII letters compared without regard to case; same length required.
bool equalsIgnoringAsciiCase(const irr::core::stringc& a, const irr::core::stringc& b);

//! The directory the settings are loaded from and saved to. Shows the
//! "Tarvo User Dir" box when the two directories differ only in case.
irr::core::stringc chooseSettingsDirectory(const irr::core::stringc& installDirectory,
	const irr::core::stringc& executableDirectory);

//! Loads the settings, shows the sheet and saves on OK. False when the
//! user did not confirm the sheet: the run ends then.
bool editSettings(const irr::core::stringc& settingsDirectory);

//! Asks the host for the level and writes the scene file; leaves an
//! existing file as it is when the host has no new scene data. origin, when
//! given, learns whether the level was empty and where the editor's lines
//! went.
void fetchSceneFile(const irr::core::stringc& sceneFilePath, bool selectedOnly,
	SSceneFileOrigin* origin = nullptr);

//! The first half of fetchSceneFile: asks the host for the scene and, when
//! it sent one, starts writer on the scene file (false when there is nothing
//! to write). origin, when given, learns whether the level was empty.
bool beginSceneFile(const irr::core::stringc& sceneFilePath, bool selectedOnly, CSceneFileWriter& writer,
	SSceneFileOrigin* origin = nullptr);

//! The second half: waits for the file, telling progress meanwhile (see
//! CSceneFileWriter::finish), and gives origin the editor's lines.
//! \return true when the file was written whole.
bool endSceneFile(CSceneFileWriter& writer, SSceneFileOrigin* origin, ILoadProgress* progress);

//! Writes the scene file's text for a reply of size bytes, joining its
//! lines in the reply's own buffer; false when the file cannot be written,
//! or when stop became true before its last block was written. growth,
//! when given, hears of each piece once it is in the file, and the reply's
//! memory of each piece written is given back then (its text is lost).
bool writeSceneFile(const irr::core::stringc& sceneFilePath, char* reply, std::size_t size,
	CSceneLineMap* lineMap = nullptr, const std::atomic<bool>* stop = nullptr,
	IFileGrowthListener* growth = nullptr);

//! Replaces a window size no display can show (from a damaged settings
//! file) with the default one, for this run only.
void keepDisplayableScreenMode(SEngineSettings& engine);

//! The engine device with the configured window, or 0.
irr::IrrlichtDevice* createPreviewDevice(const SEngineSettings& engine,
	irr::IEventReceiver* receiver);

//! The host's texture directory as its ini file names it.
irr::core::stringc findTextureDirectory(irr::io::IFileSystem* fileSystem,
	const irr::core::stringc& installDirectory);

//! Registers the scene loader and sets its parameters on the scene manager.
//! The loader returned belongs to the scene manager and lives as long as
//! the device.
CTXSMeshFileLoader* registerSceneLoader(irr::IrrlichtDevice* device,
	const irr::core::stringc& textureDirectory);

//! Loads the scene file through the scene manager. When that gives no
//! level to walk through (no file, a document that could not be read, or
//! one without drawable polygons) the user is told why in an error box and
//! the result is 0.
/** \param loader the registered loader, asked where the document failed.
\param origin the fault's position is told in the editor's lines where the
run wrote the file; a missing file of an empty level is told as such. */
irr::scene::IAnimatedMesh* loadLevelMesh(irr::IrrlichtDevice* device,
	const CTXSMeshFileLoader* loader, const irr::core::stringc& sceneFilePath,
	const SSceneFileOrigin& origin = SSceneFileOrigin());

//! As loadLevelMesh, for the scene file that writer is writing: the load
//! starts once the file's first piece is written and reads it along as it
//! grows (where it could not be written, an earlier file is loaded). It waits
//! for the rest of the file before it returns, telling progress while it
//! waits; after a stop (while waiting or loading) the writing ends early and
//! the result is 0. origin receives the editor's lines of the file.
irr::scene::IAnimatedMesh* loadLevelMeshAsWritten(irr::IrrlichtDevice* device,
	const CTXSMeshFileLoader* loader, const irr::core::stringc& sceneFilePath, CSceneFileWriter& writer,
	SSceneFileOrigin& origin, ILoadProgress* progress);

//! The text of the box shown when no level could be loaded.
/** \param documentRead whether the loader got a document to read at all
\param fault where and why the document first failed, or empty
\param levelEmpty the host had no scene data (and there was no file) */
std::string describeUnreadableLevel(const irr::core::stringc& sceneFilePath, bool documentRead,
	const std::string& fault, bool levelEmpty = false);

//! Sets the scene up for the loaded level (false when it cannot be) and,
//! when texture files of the level could not be loaded, starts the message
//! text with their number: their surfaces are drawn with placeholders.
bool setUpPreview(irr::IrrlichtDevice* device, const CTXSMeshFileLoader* loader,
	irr::scene::IAnimatedMesh* levelMesh, const irr::core::stringc& installDirectory, ILoadProgress* progress = 0);

//! Releases what the run holds and forgets every run reference.
void tearDownRun();

} // end namespace vistel

#endif

#ifndef VISTEL_PREVIEW_SETTINGS_FILE_H_INCLUDED
#define VISTEL_PREVIEW_SETTINGS_FILE_H_INCLUDED

#include "SPreviewSettings.h"
#include <vector>

namespace vistel
{

//! Longest texture path the file may hold (the dialogs' 512-byte buffers).
const irr::u32 MAX_TEXTURE_PATH_LENGTH = 511;

//! Size of the configuration file when all six paths are empty.
const irr::u32 EMPTY_PATHS_FILE_SIZE = 175;

//! The plug-in directory the editor's ini file names, without a trailing
//! separator; the settings directory's "Plugins" when it names none.
irr::core::stringc getPluginDirectory(const irr::core::stringc& settingsDirectory);

//! Full path of "vistel.cfg" for a settings directory.
irr::core::stringc getPreviewSettingsPath(const irr::core::stringc& settingsDirectory);

//! Fills the library's record from the configuration file. A missing file
//! gives the defaults and is created at once; a file that ends early or
//! holds an impossible path length gives the defaults and stays untouched.
//! Clears the run's pending quit request in every case.
void loadPreviewSettings(const irr::core::stringc& settingsDirectory);

//! Writes the library's record to the configuration file. A file that
//! cannot be written leaves the old one in place; the run goes on silently.
void savePreviewSettings(const irr::core::stringc& settingsDirectory);

//! The file's bytes for a record: little-endian fields, reserved bytes zero.
std::vector<irr::u8> encodePreviewSettings(const SPreviewSettings& settings);

//! Reads a record from the file's bytes. False, leaving out untouched, when
//! the bytes end early or a path is longer than the limit.
bool decodePreviewSettings(const std::vector<irr::u8>& bytes, SPreviewSettings& out);

} // end namespace vistel

#endif

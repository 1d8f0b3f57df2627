#ifndef VISTEL_SKYBOX_TEXTURE_PICKER_H_INCLUDED
#define VISTEL_SKYBOX_TEXTURE_PICKER_H_INCLUDED

#include "ISheetPage.h"
#include "SPreviewSettings.h"

namespace vistel
{

//! One face of the sky box as the Level page offers it.
struct SSkyboxFace
{
	int ButtonId;
	const char* DialogTitle;
	irr::core::stringc SLevelSettings::*Path;
	bool SLevelSettings::*Flag;
};

//! The face whose button has the id, or 0.
const SSkyboxFace* findSkyboxFace(int buttonId);

//! Bytes of the file dialog's path buffers, terminator included.
const std::size_t SKYBOX_PATH_CAPACITY = 512;

//! Asks for a face's texture file, starting from its current path. A choice
//! is stored at once with the face's flag set; after a cancel the flag is
//! cleared when the current path can no longer be opened.
void pickSkyboxTexture(platform::ISheetPage& page, const SSkyboxFace& face, SLevelSettings& level);

} // end namespace vistel

#endif

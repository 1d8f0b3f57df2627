#include "SkyboxTexturePicker.h"
#include "PathParts.h"
#include "SheetResourceIds.h"

#include <cstdio>
#include <iterator>

namespace vistel
{

using namespace platform;

namespace
{

const SSkyboxFace FACES[] = {
	{ ELEV_TOP_TEXTURE, "Get Top Texture image...", &SLevelSettings::topTexture,
		&SLevelSettings::hasTopTexture },
	{ ELEV_LEFT_TEXTURE, "Get Left Texture image...", &SLevelSettings::leftTexture,
		&SLevelSettings::hasLeftTexture },
	{ ELEV_RIGHT_TEXTURE, "Get Right Texture image...", &SLevelSettings::rightTexture,
		&SLevelSettings::hasRightTexture },
	{ ELEV_BOTTOM_TEXTURE, "Get Bottom Texture image...", &SLevelSettings::bottomTexture,
		&SLevelSettings::hasBottomTexture },
	{ ELEV_BACK_TEXTURE, "Get Back Texture image...", &SLevelSettings::backTexture,
		&SLevelSettings::hasBackTexture },
	{ ELEV_CENTER_TEXTURE, "Get Center Texture image...", &SLevelSettings::centerTexture,
		&SLevelSettings::hasCenterTexture },
};

// What fits the dialog's fixed buffers.
std::string fitPathBuffer(const irr::core::stringc& text)
{
	std::string result(text.c_str());
	if (result.size() > SKYBOX_PATH_CAPACITY - 1)
		result.resize(SKYBOX_PATH_CAPACITY - 1);
	return result;
}

bool canOpenForReading(const irr::core::stringc& path)
{
	FILE* file = std::fopen(path.c_str(), "rb");
	if (!file)
		return false;
	std::fclose(file);
	return true;
}

} // end anonymous namespace

const SSkyboxFace* findSkyboxFace(int buttonId)
{
	for (const SSkyboxFace& face : FACES)
		if (face.ButtonId == buttonId)
			return &face;
	return 0;
}

void pickSkyboxTexture(ISheetPage& page, const SSkyboxFace& face, SLevelSettings& level)
{
	irr::core::stringc& path = level.*face.Path;
	bool& flag = level.*face.Flag;

	SOpenFileRequest request;
	request.Title = face.DialogTitle;
	request.FilterName = "All supported images";
	request.FilterPatterns = "*.jpg;*.bmp;*.tga";
	request.InitialDirectory = fitPathBuffer(getDirectoryPart(path));
	request.FileName = fitPathBuffer(getFileNamePart(path));
	request.PathCapacity = SKYBOX_PATH_CAPACITY;

	std::string chosen;
	if (page.chooseOpenFile(request, chosen) && !chosen.empty()
		&& chosen.size() < SKYBOX_PATH_CAPACITY)
	{
		flag = true;
		path = chosen.c_str();
		return;
	}
	// Cancelled: the path stays, but a file that has gone is no texture.
	if (!canOpenForReading(path))
		flag = false;
}

} // end namespace vistel

#include "EditorDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace vistelhost
{

namespace fs = std::filesystem;

bool layOutEditorDirectory(const std::string& directory, const std::string& levelPath,
	std::string& error)
{
	std::error_code failure;
	const fs::path root(directory);
	fs::create_directories(root / "Plugins", failure);
	if (!failure)
		fs::create_directories(root / "Textures", failure);
	if (failure)
	{
		error = "cannot make " + directory + ": " + failure.message();
		return false;
	}

	const fs::path levelTextures = fs::path(levelPath).parent_path() / "Textures";
	if (fs::is_directory(levelTextures, failure))
	{
		fs::copy(levelTextures, root / "Textures",
			fs::copy_options::recursive | fs::copy_options::overwrite_existing, failure);
		if (failure)
		{
			error = "cannot copy the level's textures: " + failure.message();
			return false;
		}
	}

	// Directories end in a separator, as the editor writes them.
	std::ofstream ini((root / "tarvo.ini").string(), std::ios::binary | std::ios::trunc);
	ini << "[Paths]\n"
		<< "pluginfiles=" << (root / "Plugins").string() << "/\n"
		<< "texturefiles=" << (root / "Textures").string() << "/\n";
	ini.close();
	if (!ini)
	{
		error = "cannot write " + (root / "tarvo.ini").string();
		return false;
	}
	return true;
}

std::string makeTemporaryDirectory()
{
	std::error_code failure;
	fs::path base = fs::temp_directory_path(failure);
	if (failure)
		base = "/tmp";
	std::string pattern = (base / "vistel-editor-XXXXXX").string();
	std::vector<char> buffer(pattern.begin(), pattern.end());
	buffer.push_back(0);
	if (!mkdtemp(&buffer[0]))
		return std::string();
	return std::string(&buffer[0]);
}

} // end namespace vistelhost

#include "EditorDirectory.h"
#include "HostSystem.h"

#include <filesystem>
#include <fstream>

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
		// File by file: a recursive copy into an existing directory fails
		// with some standard libraries (mingw's among them).
		for (fs::recursive_directory_iterator entry(levelTextures, failure), end;
			!failure && entry != end; entry.increment(failure))
		{
			const fs::path target = root / "Textures" / fs::relative(entry->path(), levelTextures, failure);
			if (failure)
				break;
			if (entry->is_directory(failure))
				fs::create_directories(target, failure);
			else if (!failure)
				fs::copy_file(entry->path(), target, fs::copy_options::overwrite_existing, failure);
		}
		if (failure)
		{
			error = "cannot copy the level's textures: " + failure.message();
			return false;
		}
	}

	// Directories end in a separator, as the editor writes them.
	std::ofstream ini((root / "tarvo.ini").string(), std::ios::binary | std::ios::trunc);
	ini << "[Paths]\n"
		<< "pluginfiles=" << (root / "Plugins").string() << HOST_SEPARATOR << "\n"
		<< "texturefiles=" << (root / "Textures").string() << HOST_SEPARATOR << "\n";
	ini.close();
	if (!ini)
	{
		error = "cannot write " + (root / "tarvo.ini").string();
		return false;
	}
	return true;
}

} // end namespace vistelhost

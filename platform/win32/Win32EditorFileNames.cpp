#include "EditorFileNames.h"

namespace vistel
{
namespace platform
{

// The editor's 8-bit names are in the system's ANSI code page, the one the
// file functions the engine calls take: the name as written is the name.
std::string locateEditorFile(const std::string& directory, const std::string& name)
{
	return directory + name;
}

} // end namespace platform
} // end namespace vistel

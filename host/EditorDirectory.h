#ifndef VISTEL_EDITOR_DIRECTORY_H_INCLUDED
#define VISTEL_EDITOR_DIRECTORY_H_INCLUDED

#include <string>

namespace vistelhost
{

//! Lays out a directory like the editor's install directory: the ini file
//! "tarvo.ini" naming the Plugins and Textures directories, both made, and
//! the level's textures (the "Textures" folder beside the level) copied.
/** \param directory Existing or new directory; made when missing.
\return false with a message in error when something could not be made. */
bool layOutEditorDirectory(const std::string& directory, const std::string& levelPath,
	std::string& error);

} // end namespace vistelhost

#endif

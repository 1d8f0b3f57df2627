#ifndef VISTEL_HOST_REPLIES_H_INCLUDED
#define VISTEL_HOST_REPLIES_H_INCLUDED

#include <irrString.h>
#include <cstddef>
#include <string>
#include <vector>

namespace vistel
{

class CSceneLineMap;

//! Trims spaces, tabs and line feeds at both ends; carriage returns stay.
std::string trimLineBlanks(const std::string& text);

//! Splits at every line feed, keeping empty pieces.
std::vector<std::string> splitAtLineFeeds(const std::string& text);

//! The install directory in the host's reply: the text of the second line
//! after its first '>' and before the next '<', trimmed. Empty when the
//! reply has fewer than two lines or no '>' in its second line.
irr::core::stringc parseInstallDirectory(const std::string& reply);

//! The fixed scene-settings element the run adds to every scene file.
extern const char SCENE_SETTINGS_ELEMENT[];

//! The scene file's content for a scene reply: every line trimmed, joined
//! without line breaks, the settings element after the first line.
std::string buildSceneFileText(const std::string& reply);

//! Turns a reply of size bytes into the scene file's text in place, in one
//! pass and without copying a line elsewhere: every line trimmed and joined
//! to the next without its line feed. The settings element belongs after
//! the first line, whose trimmed length goes to firstLineSize. Returns the
//! length of the joined text. lineMap, when given, gets every line's leading
//! blanks and trimmed length.
std::size_t joinSceneReplyLines(char* reply, std::size_t size, std::size_t& firstLineSize,
	CSceneLineMap* lineMap = nullptr);

//! The texture directory from the editor's ini text: the value of the last
//! "texturefiles=" line without one trailing separator; the install
//! directory's "Textures" when no line names one.
irr::core::stringc parseTextureDirectory(const std::string& iniText,
	const irr::core::stringc& installDirectory);

} // end namespace vistel

#endif

#ifndef VISTEL_HOST_REPLIES_H_INCLUDED
#define VISTEL_HOST_REPLIES_H_INCLUDED

#include <irrString.h>
#include <cstddef>
#include <string>
#include <vector>

namespace vistel
{

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

//! Receives the scene file's text piece by piece; false stops the writing.
typedef bool (*SceneFileSink)(void* context, const char* piece, std::size_t size);

//! Hands the scene file's text for a reply of size bytes to the sink in one
//! pass over the reply, without copying a line: the first trimmed line, the
//! settings element, then every further trimmed line. False when the sink
//! refused a piece.
bool writeSceneFileText(const char* reply, std::size_t size, SceneFileSink sink, void* context);

//! The texture directory from the editor's ini text: the value of the last
//! "texturefiles=" line without one trailing separator; the install
//! directory's "Textures" when no line names one.
irr::core::stringc parseTextureDirectory(const std::string& iniText,
	const irr::core::stringc& installDirectory);

} // end namespace vistel

#endif

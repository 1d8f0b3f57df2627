#include "HostReplies.h"
#include "CSceneLineMap.h"
#include "PathParts.h"

#include <cstring>

namespace vistel
{

const char SCENE_SETTINGS_ELEMENT[] =
	"<settings name=\"Test\" author=\"\" comments=\"\" shadowOpacity=\"75\">\n"
	"    <ambient r=\"92\" g=\"92\" b=\"92\" />\n"
	"  </settings>\n";

namespace
{

bool isLineBlank(char c)
{
	return c == ' ' || c == '\t' || c == '\n';
}

const char TEXTURE_DIRECTORY_KEY[] = "texturefiles=";

} // end anonymous namespace

std::string trimLineBlanks(const std::string& text)
{
	size_t begin = 0;
	size_t end = text.size();
	while (begin < end && isLineBlank(text[begin]))
		++begin;
	while (end > begin && isLineBlank(text[end - 1]))
		--end;
	return text.substr(begin, end - begin);
}

std::vector<std::string> splitAtLineFeeds(const std::string& text)
{
	std::vector<std::string> pieces;
	size_t start = 0;
	for (;;)
	{
		const size_t lineFeed = text.find('\n', start);
		if (lineFeed == std::string::npos)
		{
			pieces.push_back(text.substr(start));
			return pieces;
		}
		pieces.push_back(text.substr(start, lineFeed - start));
		start = lineFeed + 1;
	}
}

irr::core::stringc parseInstallDirectory(const std::string& reply)
{
	const std::vector<std::string> lines = splitAtLineFeeds(reply);
	if (lines.size() < 2)
		return irr::core::stringc();
	const std::string line = trimLineBlanks(lines[1]);
	const size_t open = line.find('>');
	if (open == std::string::npos)
		return irr::core::stringc();
	const size_t close = line.find('<', open + 1);
	const std::string inner = line.substr(open + 1,
		close == std::string::npos ? std::string::npos : close - open - 1);
	return irr::core::stringc(trimLineBlanks(inner).c_str());
}

std::size_t joinSceneReplyLines(char* reply, std::size_t size, std::size_t& firstLineSize,
	CSceneLineMap* lineMap)
{
	// Trimmed lines move towards the start; a line never moves past where
	// it was, so the text is rewritten from front to back in one pass.
	char* const end = reply + size;
	char* position = reply;
	std::size_t written = 0;
	firstLineSize = 0;
	bool first = true;
	for (;;)
	{
		char* lineFeed = static_cast<char*>(std::memchr(position, '\n', static_cast<std::size_t>(end - position)));
		char* lineEnd = lineFeed ? lineFeed : end;
		const char* begin = position;
		while (begin < lineEnd && isLineBlank(*begin))
			++begin;
		const char* last = lineEnd;
		while (last > begin && isLineBlank(last[-1]))
			--last;
		const std::size_t length = static_cast<std::size_t>(last - begin);
		if (lineMap)
			lineMap->addLine(static_cast<std::size_t>(begin - position), length);
		if (length && reply + written != begin)
			std::memmove(reply + written, begin, length);
		written += length;
		if (first)
			firstLineSize = written;
		first = false;
		if (!lineFeed)
			return written;
		position = lineFeed + 1;
	}
}

std::string buildSceneFileText(const std::string& reply)
{
	std::string text = reply;
	std::size_t firstLine = 0;
	text.resize(joinSceneReplyLines(&text[0], text.size(), firstLine));
	text.insert(firstLine, SCENE_SETTINGS_ELEMENT);
	return text;
}

irr::core::stringc parseTextureDirectory(const std::string& iniText,
	const irr::core::stringc& installDirectory)
{
	// Lines end in a line feed, optionally after a carriage return; a last
	// line without a line feed counts too.
	bool found = false;
	std::string value;
	const std::vector<std::string> pieces = splitAtLineFeeds(iniText);
	for (size_t i = 0; i < pieces.size(); ++i)
	{
		std::string line = pieces[i];
		if (!line.empty() && line[line.size() - 1] == '\r')
			line.erase(line.size() - 1);
		line = trimLineBlanks(line);
		if (line.compare(0, sizeof(TEXTURE_DIRECTORY_KEY) - 1, TEXTURE_DIRECTORY_KEY) == 0)
		{
			value = line.substr(sizeof(TEXTURE_DIRECTORY_KEY) - 1);
			found = true;
		}
	}
	if (found)
	{
		// One trailing separator goes; a Windows editor writes a backslash.
		if (!value.empty() && (value[value.size() - 1] == PATH_SEPARATOR
				|| value[value.size() - 1] == '\\'))
			value.erase(value.size() - 1);
		return irr::core::stringc(value.c_str());
	}
	irr::core::stringc fallback = installDirectory;
	fallback += "Textures";
	return fallback;
}

} // end namespace vistel

#include "CSceneLineMap.h"
#include "HostReplies.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace vistel
{

namespace
{

void appendNumber(std::vector<unsigned char>& bytes, unsigned long long value)
{
	while (value >= 0x80)
	{
		bytes.push_back(static_cast<unsigned char>(value | 0x80));
		value >>= 7;
	}
	bytes.push_back(static_cast<unsigned char>(value));
}

unsigned long long readNumber(const std::vector<unsigned char>& bytes, std::size_t& at)
{
	unsigned long long value = 0;
	for (int shift = 0; at < bytes.size(); shift += 7)
	{
		const unsigned char byte = bytes[at++];
		value |= static_cast<unsigned long long>(byte & 0x7F) << shift;
		if (!(byte & 0x80))
			break;
	}
	return value;
}

// Lines the settings element adds after the editor's first line.
unsigned long long countSettingsLines()
{
	unsigned long long lines = 0;
	for (const char* c = SCENE_SETTINGS_ELEMENT; *c; ++c)
		lines += *c == '\n';
	return lines;
}

} // end anonymous namespace

void CSceneLineMap::addLine(std::size_t leadingBlanks, std::size_t trimmedLength)
{
	if (LineCount++ == 0)
	{
		First = SLine{leadingBlanks, trimmedLength};
		return;
	}
	if (Incomplete)
		return;
	try
	{
		appendNumber(Lines, leadingBlanks);
		appendNumber(Lines, trimmedLength);
	}
	catch (const std::bad_alloc&)
	{
		Incomplete = true;
		std::vector<unsigned char>().swap(Lines);
	}
}

CSceneLineMap::SLine CSceneLineMap::readLine(std::size_t& at) const
{
	const unsigned long long leading = readNumber(Lines, at);
	return SLine{leading, readNumber(Lines, at)};
}

void CSceneLineMap::toEditorPosition(unsigned long long sceneLine, unsigned long long sceneColumn,
	unsigned long long& line, unsigned long long& column) const
{
	line = sceneLine;
	column = sceneColumn;
	const unsigned long long joinedLine = countSettingsLines() + 1;
	if (empty() || sceneLine == 0 || sceneColumn == 0 || sceneLine > joinedLine)
		return;
	// The editor's first line, then the settings element, which stands
	// where that line ended.
	line = 1;
	if (sceneLine == 1 && sceneColumn <= First.Length)
	{
		column = First.Leading + sceneColumn;
		return;
	}
	column = First.Leading + First.Length + 1;
	if (sceneLine < joinedLine)
		return;
	// The joined lines: the first one whose text holds the position; past
	// the last one, the end of the last line.
	unsigned long long offset = sceneColumn - 1;
	SLine last = First;
	std::size_t at = 0;
	for (std::size_t number = 2; number <= LineCount; ++number)
	{
		last = readLine(at);
		line = number;
		if (offset < last.Length)
		{
			column = last.Leading + offset + 1;
			return;
		}
		offset -= last.Length;
	}
	column = last.Leading + last.Length + offset + 1;
}

std::string CSceneLineMap::translateFault(const std::string& fault) const
{
	unsigned long long sceneLine = 0, sceneColumn = 0;
	int consumed = 0;
	if (empty() || std::sscanf(fault.c_str(), "line %llu, column %llu: %n", &sceneLine, &sceneColumn, &consumed) != 2
		|| consumed == 0)
		return fault;
	unsigned long long line = 0, column = 0;
	toEditorPosition(sceneLine, sceneColumn, line, column);
	return "line " + std::to_string(line) + ", column " + std::to_string(column) + " of the editor's document: "
		+ fault.substr(static_cast<std::size_t>(consumed));
}

} // end namespace vistel

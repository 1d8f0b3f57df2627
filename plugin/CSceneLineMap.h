#ifndef VISTEL_C_SCENE_LINE_MAP_H_INCLUDED
#define VISTEL_C_SCENE_LINE_MAP_H_INCLUDED

#include <cstddef>
#include <string>
#include <vector>

namespace vistel
{

//! Where the lines of the editor's document went in the scene file.
/** The scene file holds the editor's first line, the settings element (whose
own lines follow) and every further line of the editor trimmed and joined
without a line break, all on the line after the element. A reader reports
positions in the scene file; the user knows the editor's document. The map
keeps each line's trimmed length and leading blanks in a byte or two each. */
class CSceneLineMap
{
public:
	//! The next line of the editor's document, in order: its leading blanks
	//! and its length once trimmed.
	void addLine(std::size_t leadingBlanks, std::size_t trimmedLength);

	//! True when there is nothing to translate with: no line was added, or
	//! memory for the map ran out (the map is only a help for the report).
	bool empty() const { return LineCount == 0 || Incomplete; }

	//! The editor's line and column (counted from 1) of a scene file position.
	void toEditorPosition(unsigned long long sceneLine, unsigned long long sceneColumn,
		unsigned long long& line, unsigned long long& column) const;

	//! A reader's fault "line L, column C: ..." with the editor's line and
	//! column; any other text as it is.
	std::string translateFault(const std::string& fault) const;

private:
	struct SLine
	{
		unsigned long long Leading;
		unsigned long long Length;
	};
	SLine readLine(std::size_t& at) const;

	SLine First{0, 0};
	std::size_t LineCount = 0;
	bool Incomplete = false;
	//! Leading blanks and length of every line after the first, as numbers
	//! of seven bits per byte, the high bit set where another byte follows.
	std::vector<unsigned char> Lines;
};

} // end namespace vistel

#endif

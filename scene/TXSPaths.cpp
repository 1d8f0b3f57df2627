#include "TXSPaths.h"

#include <filesystem>

namespace vistel
{

namespace
{

bool isTrimmed(char c)
{
	return c == ' ' || c == '\t' || c == '\n';
}

irr::core::stringc trimmed(const char* begin, const char* end)
{
	while (begin < end && isTrimmed(*begin))
		++begin;
	while (end > begin && isTrimmed(end[-1]))
		--end;
	return irr::core::stringc(begin, static_cast<irr::u32>(end - begin));
}

} // end namespace

std::vector<irr::core::stringc> splitAtSeparator(const irr::core::stringc& text, char separator)
{
	std::vector<irr::core::stringc> pieces;
	const char* const begin = text.c_str();
	const char* const end = begin + text.size();
	const char* position = begin;
	while (position < end)
	{
		const char* stop = position;
		while (stop < end && *stop != separator)
			++stop;
		pieces.push_back(trimmed(position, stop));
		position = stop + 1;
	}
	return pieces;
}

irr::core::stringc makeTexturePrefix(const irr::core::stringc& path)
{
	std::vector<irr::core::stringc> pieces = splitAtSeparator(path, '\\');
	std::vector<irr::core::stringc> slashPieces = splitAtSeparator(path, '/');
	if (pieces.size() < slashPieces.size())
		pieces.swap(slashPieces);
	irr::core::stringc prefix;
	for (const irr::core::stringc& piece : pieces)
	{
		prefix += piece;
		prefix += PATH_SEPARATOR;
	}
	return prefix;
}

irr::core::stringc makeTextureFileName(const irr::core::stringc& file, bool keepDirectories)
{
	irr::core::stringc name = file;
	for (irr::u32 i = 0; i < name.size(); ++i)
		if (name[i] == '\\' || name[i] == '/')
			name[i] = PATH_SEPARATOR;
	if (keepDirectories)
		return name;
	const std::vector<irr::core::stringc> pieces = splitAtSeparator(name, PATH_SEPARATOR);
	return pieces.empty() ? irr::core::stringc() : pieces.back();
}

bool isTextureFileReadable(const irr::core::stringc& path)
{
	std::error_code error;
	const std::filesystem::file_status status = std::filesystem::status(path.c_str(), error);
	switch (status.type())
	{
	case std::filesystem::file_type::regular:
	case std::filesystem::file_type::not_found:
	case std::filesystem::file_type::none:
		return true;
	default:
		return false;
	}
}

} // end namespace vistel

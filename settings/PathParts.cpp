#include "PathParts.h"

namespace vistel
{

irr::core::stringc getDirectoryPart(const irr::core::stringc& path)
{
	const irr::s32 last = path.findLast(PATH_SEPARATOR);
	if (last <= 0)
		return irr::core::stringc();
	return path.subString(0, last);
}

irr::core::stringc getFileNamePart(const irr::core::stringc& path)
{
	const irr::s32 last = path.findLast(PATH_SEPARATOR);
	if (last < 0)
		return path;
	return path.subString(last + 1, path.size() - last - 1);
}

} // end namespace vistel

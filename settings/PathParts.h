#ifndef VISTEL_PATH_PARTS_H_INCLUDED
#define VISTEL_PATH_PARTS_H_INCLUDED

#include "SystemConventions.h"

#include <irrString.h>

namespace vistel
{

//! The text before the last separator; empty when there is none or when the
//! only one is the first character.
irr::core::stringc getDirectoryPart(const irr::core::stringc& path);

//! The text after the last separator, or the whole path without one.
irr::core::stringc getFileNamePart(const irr::core::stringc& path);

} // end namespace vistel

#endif

#include "LargeMemory.h"

namespace vistel
{
namespace platform
{

void adviseLargePages(void*, std::size_t)
{
	// Windows gives large pages only to a process holding the "lock pages in
	// memory" privilege, through allocations of their own: an editor's
	// process has neither, so a block keeps the usual pages.
}

} // end namespace platform
} // end namespace vistel

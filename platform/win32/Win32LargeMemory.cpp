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

void prepareForWriting(void*, std::size_t)
{
	// Windows XP has no call that maps a range's pages ahead of their first
	// touch (PrefetchVirtualMemory came with Windows 8, and reads only).
}

void discardContents(void*, std::size_t)
{
	// The block is the heap's: its pages stay committed until it is freed.
	// A 32-bit editor's limit is its address space, which giving pages back
	// would not widen anyway.
}

} // end namespace platform
} // end namespace vistel

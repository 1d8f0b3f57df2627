#include "LargeMemory.h"

#include <cstdint>
#include <sys/mman.h>

namespace vistel
{
namespace platform
{

void adviseLargePages(void* data, std::size_t size)
{
#ifdef MADV_HUGEPAGE
	// Only the whole large pages inside the block: advice given to the pages
	// around it would reach memory that belongs to someone else.
	const std::uintptr_t largePage = std::uintptr_t(2) << 20;
	const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(data);
	const std::uintptr_t first = (begin + largePage - 1) & ~(largePage - 1);
	const std::uintptr_t end = (begin + size) & ~(largePage - 1);
	if (!data || end <= first)
		return;
	// Advice only: a system without transparent huge pages refuses it, and
	// the block works as it did.
	::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
	(void)data;
	(void)size;
#endif
}

} // end namespace platform
} // end namespace vistel

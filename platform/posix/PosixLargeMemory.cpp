#include "LargeMemory.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

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

void prepareForWriting(void* data, std::size_t size)
{
#ifdef MADV_POPULATE_WRITE
	static const long pageSize = ::sysconf(_SC_PAGESIZE);
	if (!data || size == 0 || pageSize <= 0)
		return;
	// Every page that holds a byte of the part is the block's own memory, so
	// the part's pages taken whole are all mapped.
	const std::uintptr_t mask = static_cast<std::uintptr_t>(pageSize) - 1;
	const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(data) & ~mask;
	const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + size + mask) & ~mask;
	// A kernel without it (before Linux 5.14) refuses: the pages come with
	// their first touch.
	::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
	(void)data;
	(void)size;
#endif
}

void discardContents(void* data, std::size_t size)
{
	static const long pageSize = ::sysconf(_SC_PAGESIZE);
	if (!data || pageSize <= 0)
		return;
	const std::uintptr_t mask = static_cast<std::uintptr_t>(pageSize) - 1;
	const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + mask) & ~mask;
	const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~mask;
	if (end <= begin)
		return;
	// Private anonymous memory given back reads as zeros at its next touch.
	::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

} // end namespace platform
} // end namespace vistel

#ifndef VISTEL_LARGE_MEMORY_H_INCLUDED
#define VISTEL_LARGE_MEMORY_H_INCLUDED

#include <cstddef>

namespace vistel
{
namespace platform
{

//! Tells the system that a large block about to be written for the first
//! time is best given memory in large pages.
/** Each first touch of a fresh page is a fault that costs far more than
writing the page (in a virtual machine most of all); a level's document and
geometry are hundreds of megabytes, tens of thousands of such pages. Where
the system has large pages that need no privilege (Linux's transparent huge
pages, when they are left to the program's choice), the whole 2 MiB pages
within the block are marked for them, so such a block faults once per 2 MiB
instead of once per 4 KiB. Elsewhere, and for a small block, nothing
happens. The contents, and whether the block can be written, are unchanged.
*/
void adviseLargePages(void* data, std::size_t size);

//! Gives the pages of a part of a block, about to be written for the first
//! time, their memory at once.
/** One call in place of a fault at the first touch of every page: where a
fault is dear (a virtual machine's most of all) that is several times
cheaper, and the writes that follow find their pages ready. The pages that
hold the part's first and last bytes are included; they belong to the block.
Where the system cannot do it, nothing happens and the pages come with their
first touch as before; the contents are unchanged either way. Only for
memory that is written right after: it is then resident anyway. */
void prepareForWriting(void* data, std::size_t size);

//! Gives back the memory of a part of a block whose contents are no longer
//! needed, while the block stays allocated.
/** Only the pages wholly inside the part are given back: the pages at its
ends may hold bytes of someone else. Those pages read as zeros afterwards
(or as they were, where nothing is given back) and can be written again.
The block is freed as usual later. Where the system cannot do it, nothing
happens. */
void discardContents(void* data, std::size_t size);

} // end namespace platform
} // end namespace vistel

#endif

// GetTickCount64 for the 32-bit library. The C++ runtime's thread library,
// linked in statically, calls GetTickCount64, which kernel32 has only since
// Windows Vista: imported, it keeps the library from loading on Windows XP.
// Defining the import's pointer here resolves those calls to this
// function, built on GetTickCount, so nothing newer than XP is imported.

#include <windows.h>

#if defined(__i386__)

namespace
{

// High half: how often GetTickCount has wrapped (every 49.7 days); low
// half: the last tick seen. Updated with one 64-bit compare-and-swap.
volatile LONGLONG TickState = 0;

ULONGLONG WINAPI getTickCount64()
{
	const DWORD now = GetTickCount();
	LONGLONG seen = __atomic_load_n(&TickState, __ATOMIC_ACQUIRE);
	for (;;)
	{
		ULONGLONG wraps = static_cast<ULONGLONG>(seen) >> 32;
		const DWORD previous = static_cast<DWORD>(seen);
		// A tick far below the last one is the counter wrapping; a little
		// below is another thread that read the counter later and got here first.
		if (now < previous && previous - now > 0x80000000u)
			++wraps;
		else if (now < previous)
			return (wraps << 32) | previous;
		const LONGLONG next = static_cast<LONGLONG>((wraps << 32) | now);
		if (__atomic_compare_exchange_n(&TickState, &seen, next, false, __ATOMIC_ACQ_REL,
				__ATOMIC_ACQUIRE))
			return static_cast<ULONGLONG>(next);
	}
}

} // end anonymous namespace

// The name the linker looks for when code calls the imported function.
extern "C" ULONGLONG (WINAPI* const vistelTickCount64Import)(void) __asm__("__imp__GetTickCount64@0");
extern "C" ULONGLONG (WINAPI* const vistelTickCount64Import)(void) = getTickCount64;

#endif

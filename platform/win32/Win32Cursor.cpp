// The editor's cursor around a preview. The engine hides the cursor with
// ShowCursor, which counts per thread: the preview runs on the editor's own
// thread, so without this the editor's cursor stays hidden after the run.

#include "CWin32Platform.h"

namespace vistel
{
namespace platform
{

namespace
{

// Limits the steps back to the noted count: ShowCursor saturates nowhere,
// but a count this far off is not ours to chase.
const int MAX_SHOW_STEPS = 64;

int readShowCount()
{
	// ShowCursor answers with the new count only: one step up and back.
	const int count = ShowCursor(TRUE) - 1;
	ShowCursor(FALSE);
	return count;
}

} // end anonymous namespace

void CWin32Platform::keepCursor()
{
	CursorShowCount = readShowCount();
	Cursor = GetCursor();
	CursorKept = true;
}

void CWin32Platform::restoreCursor()
{
	if (!CursorKept)
		return;
	CursorKept = false;
	int count = readShowCount();
	for (int step = 0; count != CursorShowCount && step < MAX_SHOW_STEPS; ++step)
		count = ShowCursor(count < CursorShowCount ? TRUE : FALSE);
	SetCursor(Cursor);
}

} // end namespace platform
} // end namespace vistel

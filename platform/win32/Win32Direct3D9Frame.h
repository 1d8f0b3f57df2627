#ifndef VISTEL_WIN32_DIRECT3D9_FRAME_H_INCLUDED
#define VISTEL_WIN32_DIRECT3D9_FRAME_H_INCLUDED

#include "SWindowPicture.h"

namespace vistel
{
namespace platform
{

//! Reads the frame the Direct3D 9 device has drawn: its back buffer copied
//! into a system-memory D3DFMT_X8R8G8B8 surface, then into the picture's top
//! left corner. Call it after the frame is drawn and before it is presented:
//! afterwards a discarded back buffer holds nothing (Wine clears it).
/** \param device The engine's IDirect3DDevice9.
\return false when the back buffer cannot be read. */
bool readDirect3D9BackBuffer(void* device, SWindowPicture& picture);

} // end namespace platform
} // end namespace vistel

#endif

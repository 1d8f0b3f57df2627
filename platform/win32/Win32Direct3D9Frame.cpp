#include "Win32Direct3D9Frame.h"

#include <windows.h>
#include <d3d9.h>

namespace vistel
{
namespace platform
{

bool readDirect3D9BackBuffer(void* device, SWindowPicture& picture)
{
	IDirect3DDevice9* direct3D = static_cast<IDirect3DDevice9*>(device);
	if (!direct3D || picture.Width <= 0 || picture.Height <= 0)
		return false;
	IDirect3DSurface9* backBuffer = 0;
	if (FAILED(direct3D->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) || !backBuffer)
		return false;
	D3DSURFACE_DESC description;
	IDirect3DSurface9* copy = 0;
	bool copied = false;
	if (SUCCEEDED(backBuffer->GetDesc(&description))
		&& description.MultiSampleType == D3DMULTISAMPLE_NONE
		&& (description.Format == D3DFMT_X8R8G8B8 || description.Format == D3DFMT_A8R8G8B8)
		&& SUCCEEDED(direct3D->CreateOffscreenPlainSurface(description.Width, description.Height,
			description.Format, D3DPOOL_SYSTEMMEM, &copy, 0)) && copy
		&& SUCCEEDED(direct3D->GetRenderTargetData(backBuffer, copy)))
	{
		D3DLOCKED_RECT locked;
		if (SUCCEEDED(copy->LockRect(&locked, 0, D3DLOCK_READONLY)))
		{
			const int rows = static_cast<int>(description.Height) < picture.Height
				? static_cast<int>(description.Height) : picture.Height;
			const int columns = static_cast<int>(description.Width) < picture.Width
				? static_cast<int>(description.Width) : picture.Width;
			for (int y = 0; y < rows; ++y)
			{
				const DWORD* source = reinterpret_cast<const DWORD*>(
					static_cast<const unsigned char*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
				std::uint32_t* target = &picture.Pixels[static_cast<size_t>(y) * picture.Width];
				for (int x = 0; x < columns; ++x)
					target[x] = 0xFF000000u | (source[x] & 0x00FFFFFFu);
			}
			copy->UnlockRect();
			copied = true;
		}
	}
	if (copy)
		copy->Release();
	backBuffer->Release();
	return copied;
}

} // end namespace platform
} // end namespace vistel

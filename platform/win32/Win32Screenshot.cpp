// Screenshots on Windows: the window's picture through a Direct3D 9
// system-memory surface, the common Save dialog and a JPEG file.

#include "CWin32Platform.h"

#include <d3d9.h>
#include <commdlg.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace vistel
{
namespace platform
{

namespace
{

// The file-name buffer of the Save dialog, terminator included.
const DWORD SAVE_FILE_NAME_CAPACITY = 512;

// Reads the locked X8R8G8B8 surface into the picture's top left corner.
void readSurface(IDirect3DSurface9* surface, int width, int height, SWindowPicture& picture)
{
	D3DLOCKED_RECT locked;
	if (FAILED(surface->LockRect(&locked, 0, D3DLOCK_READONLY)))
		return;
	const int rows = height < picture.Height ? height : picture.Height;
	const int columns = width < picture.Width ? width : picture.Width;
	for (int y = 0; y < rows; ++y)
	{
		const DWORD* source = reinterpret_cast<const DWORD*>(
			static_cast<const unsigned char*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
		std::uint32_t* target = &picture.Pixels[static_cast<size_t>(y) * picture.Width];
		for (int x = 0; x < columns; ++x)
			target[x] = 0xFF000000u | (source[x] & 0x00FFFFFFu);
	}
	surface->UnlockRect();
}

// The window's picture copied with GDI into the surface's device context.
bool copyWithGdi(HWND window, IDirect3DSurface9* surface, int width, int height)
{
	HDC windowContext = GetDC(window);
	if (!windowContext)
		return false;
	HDC surfaceContext = 0;
	bool copied = false;
	if (SUCCEEDED(surface->GetDC(&surfaceContext)))
	{
		SetBkMode(surfaceContext, TRANSPARENT);
		copied = StretchBlt(surfaceContext, 0, 0, width, height, windowContext, 0, 0, width, height,
			SRCCOPY) != FALSE;
		surface->ReleaseDC(surfaceContext);
	}
	ReleaseDC(window, windowContext);
	return copied;
}

// The frame just drawn, read back from the device's back buffer. Windows
// that the device draws into with its own swap chain (and Wine, which draws
// Direct3D with OpenGL) do not show it to GDI.
bool copyBackBuffer(IDirect3DDevice9* device, IDirect3DSurface9* surface, int width, int height)
{
	IDirect3DSurface9* backBuffer = 0;
	if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) || !backBuffer)
		return false;
	D3DSURFACE_DESC description;
	bool copied = false;
	if (SUCCEEDED(backBuffer->GetDesc(&description))
		&& static_cast<int>(description.Width) == width && static_cast<int>(description.Height) == height
		&& description.MultiSampleType == D3DMULTISAMPLE_NONE
		&& (description.Format == D3DFMT_X8R8G8B8 || description.Format == D3DFMT_A8R8G8B8))
		copied = SUCCEEDED(device->GetRenderTargetData(backBuffer, surface));
	backBuffer->Release();
	return copied;
}

void onJpegError(j_common_ptr info)
{
	// Unwinds to writeJpegFile's setjmp; the message is not shown.
	std::longjmp(*static_cast<std::jmp_buf*>(info->client_data), 1);
}

} // end anonymous namespace

bool CWin32Platform::copyWindowPicture(const SNativeWindow& window, SWindowPicture& picture)
{
	IDirect3DDevice9* device = static_cast<IDirect3DDevice9*>(window.Device);
	HWND handle = reinterpret_cast<HWND>(window.Window);
	if (!device || picture.Width <= 0 || picture.Height <= 0)
		return false;
	const int width = picture.Width;
	const int height = picture.Height;

	IDirect3DSurface9* surface = 0;
	if (FAILED(device->CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(height),
			D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &surface, 0)) || !surface)
		return false;
	// The frame as the device drew it; where that cannot be had, what GDI
	// sees of the window.
	bool copied = copyBackBuffer(device, surface, width, height);
	if (!copied && handle)
		copied = copyWithGdi(handle, surface, width, height);
	if (copied)
		readSurface(surface, width, height, picture);
	surface->Release();
	return copied;
}

void CWin32Platform::setWindowVisible(const SNativeWindow& window, bool visible)
{
	if (window.Window)
		ShowWindow(reinterpret_cast<HWND>(window.Window), visible ? SW_SHOW : SW_HIDE);
}

bool CWin32Platform::askSaveFileName(const SNativeWindow& owner, const SSaveFileDialog& dialog,
	std::string& fileName)
{
	// One filter: its name and its pattern, each ended by a zero byte, the
	// list ended by a second one.
	std::string filter = dialog.FilterName;
	filter += '\0';
	filter += dialog.FilterPattern;
	filter += '\0';
	filter += '\0';
	char chosen[SAVE_FILE_NAME_CAPACITY] = "";

	OPENFILENAMEA record;
	std::memset(&record, 0, sizeof(record));
	record.lStructSize = sizeof(record);
	record.hwndOwner = reinterpret_cast<HWND>(owner.Window);
	record.lpstrFilter = filter.c_str();
	record.nFilterIndex = 1;
	record.lpstrFile = chosen;
	record.nMaxFile = SAVE_FILE_NAME_CAPACITY;
	record.lpstrTitle = dialog.Title.c_str();
	record.Flags = dialog.ConfirmOverwrite ? OFN_OVERWRITEPROMPT : 0;
	record.lpstrDefExt = dialog.DefaultSuffix.empty() ? 0 : dialog.DefaultSuffix.c_str();
	if (GetSaveFileNameA(&record) != TRUE)
		return false;
	fileName = chosen;
	return !fileName.empty();
}

bool CWin32Platform::writeJpegFile(const std::string& fileName, const SWindowPicture& picture)
{
	if (picture.Width <= 0 || picture.Height <= 0
		|| picture.Pixels.size() != static_cast<size_t>(picture.Width) * picture.Height)
		return false;
	FILE* file = std::fopen(fileName.c_str(), "wb");
	if (!file)
		return false;

	jpeg_compress_struct compressor;
	jpeg_error_mgr errors;
	std::jmp_buf failure;
	std::vector<JSAMPLE> row(static_cast<size_t>(picture.Width) * 3);
	compressor.err = jpeg_std_error(&errors);
	errors.error_exit = onJpegError;
	compressor.client_data = &failure;
	if (setjmp(failure))
	{
		jpeg_destroy_compress(&compressor);
		std::fclose(file);
		std::remove(fileName.c_str());
		return false;
	}
	jpeg_create_compress(&compressor);
	jpeg_stdio_dest(&compressor, file);
	compressor.image_width = static_cast<JDIMENSION>(picture.Width);
	compressor.image_height = static_cast<JDIMENSION>(picture.Height);
	compressor.input_components = 3;
	compressor.in_color_space = JCS_RGB;
	jpeg_set_defaults(&compressor);
	jpeg_start_compress(&compressor, TRUE);
	while (compressor.next_scanline < compressor.image_height)
	{
		const std::uint32_t* pixels = &picture.Pixels[static_cast<size_t>(compressor.next_scanline)
			* picture.Width];
		for (int x = 0; x < picture.Width; ++x)
		{
			row[x * 3] = static_cast<JSAMPLE>((pixels[x] >> 16) & 0xFF);
			row[x * 3 + 1] = static_cast<JSAMPLE>((pixels[x] >> 8) & 0xFF);
			row[x * 3 + 2] = static_cast<JSAMPLE>(pixels[x] & 0xFF);
		}
		JSAMPROW rows[1] = { &row[0] };
		jpeg_write_scanlines(&compressor, rows, 1);
	}
	jpeg_finish_compress(&compressor);
	jpeg_destroy_compress(&compressor);
	if (std::fclose(file) != 0)
	{
		std::remove(fileName.c_str());
		return false;
	}
	return true;
}

} // end namespace platform
} // end namespace vistel

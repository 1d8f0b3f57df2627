// Screenshots on Windows: the drawn frame read from the Direct3D 9 device,
// the common Save dialog and a JPEG file written with libjpeg (the library
// the engine's own JPEG writer uses; D3DX, which has a writer too, is not on
// every Windows machine).

#include "CWin32Platform.h"
#include "Win32Direct3D9Frame.h"

#include <windows.h>
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

void onJpegError(j_common_ptr info)
{
	// Unwinds to writeJpegFile's setjmp; the message is not shown.
	std::longjmp(*static_cast<std::jmp_buf*>(info->client_data), 1);
}

} // end anonymous namespace

bool CWin32Platform::copyDrawnFrame(const SDrawingSurface& surface, SWindowPicture& picture)
{
	// Other drivers' frames are copied by the engine itself.
	if (surface.Interface != EDI_DIRECT3D9)
		return false;
	return readDirect3D9BackBuffer(surface.Device, picture);
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

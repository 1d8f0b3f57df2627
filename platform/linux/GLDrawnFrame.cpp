// The frame just drawn, read back from OpenGL's back buffer before the
// buffers swap: what the preview drew, whatever covers its window on screen.

#include "CLinuxPlatform.h"

#include <GL/gl.h>
#include <algorithm>
#include <vector>

namespace vistel
{
namespace platform
{

namespace
{

// The pixel pack state glReadPixels depends on, kept for the driver, whose
// own reads expect it as it left it.
class CPackState
{
public:
	CPackState()
	{
		glGetIntegerv(GL_READ_BUFFER, &ReadBuffer);
		glGetIntegerv(GL_PACK_ALIGNMENT, &Alignment);
		glGetIntegerv(GL_PACK_ROW_LENGTH, &RowLength);
		glGetIntegerv(GL_PACK_SKIP_ROWS, &SkipRows);
		glGetIntegerv(GL_PACK_SKIP_PIXELS, &SkipPixels);
		glGetIntegerv(GL_PACK_SWAP_BYTES, &SwapBytes);
		glGetIntegerv(GL_PACK_LSB_FIRST, &LsbFirst);
	}

	~CPackState()
	{
		glReadBuffer(static_cast<GLenum>(ReadBuffer));
		glPixelStorei(GL_PACK_ALIGNMENT, Alignment);
		glPixelStorei(GL_PACK_ROW_LENGTH, RowLength);
		glPixelStorei(GL_PACK_SKIP_ROWS, SkipRows);
		glPixelStorei(GL_PACK_SKIP_PIXELS, SkipPixels);
		glPixelStorei(GL_PACK_SWAP_BYTES, SwapBytes);
		glPixelStorei(GL_PACK_LSB_FIRST, LsbFirst);
	}

private:
	GLint ReadBuffer = GL_BACK;
	GLint Alignment = 4;
	GLint RowLength = 0;
	GLint SkipRows = 0;
	GLint SkipPixels = 0;
	GLint SwapBytes = GL_FALSE;
	GLint LsbFirst = GL_FALSE;
};

} // end anonymous namespace

bool CLinuxPlatform::copyDrawnFrame(const SDrawingSurface& surface, SWindowPicture& picture)
{
	if (surface.Interface != EDI_OPENGL || picture.Width <= 0 || picture.Height <= 0
		|| picture.Pixels.size() != static_cast<size_t>(picture.Width) * picture.Height)
		return false;
	const int width = std::min(picture.Width, surface.Width);
	const int height = std::min(picture.Height, surface.Height);
	if (width <= 0 || height <= 0)
		return false;

	// Errors of earlier calls are not this read's.
	while (glGetError() != GL_NO_ERROR)
	{
	}
	std::vector<std::uint32_t> rows(static_cast<size_t>(width) * height);
	{
		CPackState kept;
		glReadBuffer(GL_BACK);
		glPixelStorei(GL_PACK_ALIGNMENT, 4);
		glPixelStorei(GL_PACK_ROW_LENGTH, 0);
		glPixelStorei(GL_PACK_SKIP_ROWS, 0);
		glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
		glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
		glPixelStorei(GL_PACK_LSB_FIRST, GL_FALSE);
		// The frame's top rows; OpenGL counts rows from the bottom. BGRA
		// bytes are 0xAARRGGBB words on a little-endian machine.
		glReadPixels(0, surface.Height - height, width, height, GL_BGRA, GL_UNSIGNED_BYTE,
			rows.data());
	}
	if (glGetError() != GL_NO_ERROR)
		return false;
	for (int y = 0; y < height; ++y)
	{
		const std::uint32_t* from = &rows[static_cast<size_t>(height - 1 - y) * width];
		std::uint32_t* to = &picture.Pixels[static_cast<size_t>(y) * picture.Width];
		for (int x = 0; x < width; ++x)
			to[x] = from[x] | 0xFF000000u;
	}
	return true;
}

} // end namespace platform
} // end namespace vistel

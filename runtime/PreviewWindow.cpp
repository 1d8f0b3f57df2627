#include "PreviewWindow.h"

#include <IVideoDriver.h>
#include <SExposedVideoData.h>

using namespace irr;

namespace vistel
{

platform::SNativeWindow getPreviewWindow(video::IVideoDriver* driver)
{
	platform::SNativeWindow window = { 0, 0 };
	if (!driver)
		return window;
	// Which member of the exposed data is valid depends on the driver and on
	// the system it runs on.
	const video::SExposedVideoData& data = driver->getExposedVideoData();
	switch (driver->getDriverType())
	{
	case video::EDT_DIRECT3D9:
		window.Window = reinterpret_cast<std::uintptr_t>(data.D3D9.HWnd);
		break;
	case video::EDT_OPENGL:
#ifdef _WIN32
		window.Window = reinterpret_cast<std::uintptr_t>(data.OpenGLWin32.HWnd);
#else
		window.Display = data.OpenGLLinux.X11Display;
		window.Window = data.OpenGLLinux.X11Window;
#endif
		break;
	default:
		break;
	}
	return window;
}

} // end namespace vistel

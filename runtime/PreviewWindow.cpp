#include "PreviewWindow.h"
#include "SystemConventions.h"

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
		if (WINDOW_SYSTEM == EWS_WIN32)
			window.Window = reinterpret_cast<std::uintptr_t>(data.OpenGLWin32.HWnd);
		else
		{
			window.Display = data.OpenGLLinux.X11Display;
			window.Window = data.OpenGLLinux.X11Window;
		}
		break;
	default:
		break;
	}
	return window;
}

platform::SDrawingSurface getDrawingSurface(video::IVideoDriver* driver)
{
	platform::SDrawingSurface surface = { platform::EDI_NONE, 0, 0, 0 };
	if (!driver)
		return surface;
	const core::dimension2du size = driver->getScreenSize();
	surface.Width = static_cast<int>(size.Width);
	surface.Height = static_cast<int>(size.Height);
	switch (driver->getDriverType())
	{
	case video::EDT_DIRECT3D9:
		surface.Interface = platform::EDI_DIRECT3D9;
		surface.Device = driver->getExposedVideoData().D3D9.D3DDev9;
		break;
	case video::EDT_OPENGL:
		surface.Interface = platform::EDI_OPENGL;
		break;
	default:
		break;
	}
	return surface;
}

} // end namespace vistel

#ifndef VISTEL_C_LINUX_PLATFORM_H_INCLUDED
#define VISTEL_C_LINUX_PLATFORM_H_INCLUDED

#include "IPlatform.h"

namespace vistel
{
namespace platform
{

//! Linux backend: Qt 6 widgets for the dialogs, /proc and the dynamic
//! linker for the process facts.
class CLinuxPlatform : public IPlatform
{
public:
	virtual void showMessageBox(void* owner, const std::string& text,
		const std::string& caption, EMessageBoxStyle style);
	virtual std::string getExecutablePath();
	virtual std::string getLibraryPath();
};

} // end namespace platform
} // end namespace vistel

#endif

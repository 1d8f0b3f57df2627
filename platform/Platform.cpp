#include "IPlatform.h"

namespace vistel
{
namespace platform
{

namespace
{
IPlatform* overridePlatform = 0;
}

IPlatform& getPlatform()
{
	return overridePlatform ? *overridePlatform : getDefaultPlatform();
}

void setPlatform(IPlatform* platform)
{
	overridePlatform = platform;
}

} // end namespace platform
} // end namespace vistel

#include "PluginApi.h"
#include "PluginTexts.h"
#include "HostExchange.h"
#include "PreviewRun.h"

extern "C" {

// The other exports hand out constant texts or keep a pointer: none of them
// can throw.
VISTEL_EXPORT void VISTEL_CALL PluginExecute(void)
{
	vistel::executePreview();
}

VISTEL_EXPORT const char* VISTEL_CALL PluginTarvoVersion(void)
{
	return vistel::PLUGIN_TARVO_VERSION;
}

VISTEL_EXPORT const char* VISTEL_CALL PluginDescription(void)
{
	return vistel::PLUGIN_DESCRIPTION;
}

VISTEL_EXPORT const char* VISTEL_CALL PluginEmail(void)
{
	return vistel::PLUGIN_EMAIL;
}

VISTEL_EXPORT const char* VISTEL_CALL PluginAuthor(void)
{
	return vistel::PLUGIN_AUTHOR;
}

VISTEL_EXPORT const char* VISTEL_CALL PluginName(void)
{
	return vistel::PLUGIN_NAME;
}

VISTEL_EXPORT void VISTEL_CALL PluginSetCallback(HostCallback callback)
{
	vistel::setHostCallback(callback);
}

VISTEL_EXPORT const char* VISTEL_CALL PluginVersion(void)
{
	return vistel::PLUGIN_VERSION;
}

} // extern "C"

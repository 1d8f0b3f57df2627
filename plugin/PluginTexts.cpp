#include "PluginTexts.h"

namespace vistel
{

const char PLUGIN_NAME[] = "Tarvo Vistel Plugin";
const char PLUGIN_DESCRIPTION[] = "This is just a plugin using Irrlicht to show a Tarvo level.";
const char PLUGIN_TARVO_VERSION[] = "1.6";
const char PLUGIN_VERSION[] = "2.0";
const char PLUGIN_AUTHOR[] = "Quennel";
const char PLUGIN_EMAIL[] = "vistel@tarvo-plugins.invalid";

} // end namespace vistel

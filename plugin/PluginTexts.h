#ifndef VISTEL_PLUGIN_TEXTS_H_INCLUDED
#define VISTEL_PLUGIN_TEXTS_H_INCLUDED

namespace vistel
{

// The texts the plug-in describes itself with. Constants with static
// storage: the pointers stay valid while the library is loaded.
extern const char PLUGIN_NAME[];
extern const char PLUGIN_DESCRIPTION[];
extern const char PLUGIN_TARVO_VERSION[];
extern const char PLUGIN_VERSION[];
extern const char PLUGIN_AUTHOR[];
extern const char PLUGIN_EMAIL[];

} // end namespace vistel

#endif

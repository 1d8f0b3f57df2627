#ifndef VISTEL_QT_APPLICATION_H_INCLUDED
#define VISTEL_QT_APPLICATION_H_INCLUDED

namespace vistel
{
namespace platform
{

//! Makes sure a Qt application object exists before a widget is shown.
/** The host's own application object is used when it has one; otherwise
one is created on first use and kept while the library is loaded. Returns
false when no application can be had (no display). */
bool ensureQtApplication();

} // end namespace platform
} // end namespace vistel

#endif

#ifndef VISTEL_HOST_EXCHANGE_H_INCLUDED
#define VISTEL_HOST_EXCHANGE_H_INCLUDED

#include "PluginApi.h"
#include <irrTypes.h>
#include <irrString.h>
#include <cstddef>
#include <memory>
#include <string>

namespace vistel
{

//! The three request documents the plug-in sends, byte for byte.
extern const char INSTALL_DIRECTORY_REQUEST[];
extern const char WHOLE_LEVEL_REQUEST[];
extern const char SELECTION_REQUEST[];

//! The largest install-directory reply taken, in bytes; a larger one counts
//! as a failed request. (A scene reply is bounded by its 32-bit size and by
//! the memory a buffer can be had from.)
extern const irr::u32 MAX_INSTALL_DIRECTORY_REPLY;

//! Keeps the host's callback for the life of the library.
void setHostCallback(HostCallback callback);
HostCallback getHostCallback();

//! The table text for a callback error code.
const char* getCallbackErrorText(irr::s32 code);

//! "Error Code <unsigned code>: <text>", as the error box shows it.
irr::core::stringc formatCallbackError(irr::s32 code);

//! Shows the error box for a callback error code.
void reportCallbackError(irr::s32 code);

//! Which of the two kinds of exchange: they differ in how failures and an
//! empty reply are handled.
enum EHostRequestKind
{
	EHRK_INSTALL_DIRECTORY,
	EHRK_SCENE
};

//! Fetches one reply with the two-phase GetMem / GetData exchange.
/** Host errors are reported with the error box where the protocol says so.
\return true with the reply text, or false when the exchange failed or a
scene request got an empty reply. */
bool exchangeWithHost(const char* request, EHostRequestKind kind, std::string& reply);

//! A reply in the buffer the host wrote it into: the text up to its first
//! zero byte, zero-terminated.
struct SHostReply
{
	std::unique_ptr<char[]> Data;
	std::size_t Size = 0;
	//! The host answered a scene request with a size of 0: it has no scene.
	bool Empty = false;
};

//! The same exchange, keeping the reply in the buffer the host filled: a
//! large scene is neither cleared before the host writes it nor copied
//! after.
bool exchangeWithHost(const char* request, EHostRequestKind kind, SHostReply& reply);

//! The bytes of a buffer for a reply of replySize bytes and its terminator,
//! false when that count does not fit a size of at most sizeLimit (on a
//! 32-bit system 0xFFFFFFFF + 1 would wrap to 0).
bool getReplyBufferSize(irr::u32 replySize, std::size_t sizeLimit, std::size_t& bytes);

} // end namespace vistel

#endif

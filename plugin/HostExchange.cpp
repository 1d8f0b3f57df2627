#include "HostExchange.h"
#include "IPlatform.h"
#include "LargeMemory.h"

#include <cstring>
#include <limits>
#include <new>

namespace vistel
{

const irr::u32 MAX_INSTALL_DIRECTORY_REPLY = 64 * 1024;

const char INSTALL_DIRECTORY_REQUEST[] = "<request>\n   <installdirectory />\n</request>";

const char WHOLE_LEVEL_REQUEST[] =
	"<request>\n"
	"   <materials subset=\"all\" retrieveID=\"false\" />\n"
	"   <primitives subset=\"all\" retrieveID=\"false\" />\n"
	"   <lights subset=\"all\" retrieveID=\"false\" />\n"
	"</request>";

const char SELECTION_REQUEST[] =
	"<request>\n"
	"   <materials subset=\"all\" retrieveID=\"false\" />\n"
	"   <primitives subset=\"selection\" retrieveID=\"false\" />\n"
	"   <lights subset=\"all\" retrieveID=\"false\" />\n"
	"</request>";

namespace
{

HostCallback hostCallback = 0;

struct SCallbackError
{
	irr::s32 Code;
	const char* Text;
};

const SCallbackError CALLBACK_ERRORS[] = {
	{ 1, "No Data present." },
	{ 2, "Invalid Version." },
	{ 3, "Invalid GetMem Command." },
	{ 4, "Invalid GetData Command." },
	{ 5, "Invalid SetData Command." },
	{ 6, "Invalid Header." },
	{ 7, "Invalid Data String." },
	{ 8, "Invalid Data Property." },
	{ 11, "Error in Object Data." },
	{ 12, "Error in Light Data." },
	{ 13, "Error in Material Data." },
	{ 98, "Unknown Callback Reason." },
	{ 99, "Unknown Error." },
};

} // end anonymous namespace

void setHostCallback(HostCallback callback)
{
	hostCallback = callback;
}

HostCallback getHostCallback()
{
	return hostCallback;
}

const char* getCallbackErrorText(irr::s32 code)
{
	for (size_t i = 0; i < sizeof(CALLBACK_ERRORS) / sizeof(CALLBACK_ERRORS[0]); ++i)
		if (CALLBACK_ERRORS[i].Code == code)
			return CALLBACK_ERRORS[i].Text;
	return "Unknown Error Code.";
}

irr::core::stringc formatCallbackError(irr::s32 code)
{
	irr::core::stringc message("Error Code ");
	message += irr::core::stringc(static_cast<irr::u32>(code));
	message += ": ";
	message += getCallbackErrorText(code);
	return message;
}

void reportCallbackError(irr::s32 code)
{
	platform::getPlatform().showMessageBox(0, formatCallbackError(code).c_str(),
		"Error in Callback", platform::EMBS_ICON_ERROR);
}

bool getReplyBufferSize(irr::u32 replySize, std::size_t sizeLimit, std::size_t& bytes)
{
	if (static_cast<unsigned long long>(replySize) >= sizeLimit)
		return false;
	bytes = static_cast<std::size_t>(replySize) + 1;
	return true;
}

bool exchangeWithHost(const char* request, EHostRequestKind kind, SHostReply& reply)
{
	reply.Data.reset();
	reply.Size = 0;
	reply.Empty = false;
	if (!hostCallback)
		return false;

	SCallbackRecord record;
	std::memset(&record, 0, sizeof(record));
	record.reason = ECR_GET_MEM;
	record.request = request;
	// The install-directory request leaves replySize as it was; here that is
	// the zero of the fresh record.
	record.replySize = 0;

	irr::s32 result = hostCallback(&record);
	if (result != 0)
	{
		reportCallbackError(result);
		return false;
	}
	if (kind == EHRK_SCENE && record.replySize == 0)
	{
		reply.Empty = true;
		return false;
	}

	// A size no buffer can be had for, with its terminator, is a failed
	// allocation: the exchange ends without data. The host writes every byte
	// of the buffer it is given, so it is not cleared first.
	const irr::u32 replySize = record.replySize;
	// The install directory is a path in a few lines of XML: a larger reply
	// is no answer to that request, and is not copied around.
	if (kind == EHRK_INSTALL_DIRECTORY && replySize > MAX_INSTALL_DIRECTORY_REPLY)
		return false;
	std::size_t bytes = 0;
	if (!getReplyBufferSize(replySize, std::numeric_limits<std::size_t>::max(), bytes))
		return false;
	std::unique_ptr<char[]> buffer(new (std::nothrow) char[bytes]);
	if (!buffer)
		return false;
	// A level's document is hundreds of megabytes that the host writes at
	// once: in large pages that costs a fault per 2 MiB instead of per 4 KiB.
	platform::adviseLargePages(buffer.get(), bytes);

	record.reason = ECR_GET_DATA;
	record.reply = buffer.get();
	record.replySize = replySize;
	result = hostCallback(&record);
	if (result != 0)
	{
		if (kind == EHRK_SCENE)
			reportCallbackError(result);
		return false;
	}

	// The plug-in terminates the reply itself: the host writes no terminator.
	// The text ends at its first zero byte, as a C string does.
	buffer[replySize] = 0;
	const void* zero = std::memchr(buffer.get(), 0, bytes);
	reply.Size = static_cast<std::size_t>(static_cast<const char*>(zero) - buffer.get());
	reply.Data = std::move(buffer);
	return true;
}

bool exchangeWithHost(const char* request, EHostRequestKind kind, std::string& reply)
{
	reply.clear();
	SHostReply buffer;
	if (!exchangeWithHost(request, kind, buffer))
		return false;
	reply.assign(buffer.Data.get(), buffer.Size);
	return true;
}

} // end namespace vistel

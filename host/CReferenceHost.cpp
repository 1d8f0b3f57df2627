#include "CReferenceHost.h"

#include <cstring>
#include <utility>

namespace vistelhost
{

namespace
{

// The documents the plug-in sends, as the editor knows them.
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

// Error codes of the editor's protocol.
const int INVALID_GET_DATA_COMMAND = 4;
const int INVALID_HEADER = 6;
const int UNKNOWN_CALLBACK_REASON = 98;

CReferenceHost* currentHost = 0;

} // end anonymous namespace

CReferenceHost::CReferenceHost(const SHostOptions& options, std::string&& levelText,
	std::string&& selectionText)
	: Options(options), LevelText(std::move(levelText)), SelectionText(std::move(selectionText)), Log(0)
{
	InstallDirectoryReply = "<tarvo version=\"1.6\">\n   <installdirectory>"
		+ options.InstallDirectory + "</installdirectory>\n</tarvo>";
}

CReferenceHost::~CReferenceHost()
{
	if (Log)
		std::fclose(Log);
	if (currentHost == this)
		currentHost = 0;
}

bool CReferenceHost::openLog()
{
	if (Options.LogPath.empty())
		return true;
	Log = std::fopen(Options.LogPath.c_str(), "ab");
	return Log != 0;
}

void CReferenceHost::makeCurrent()
{
	currentHost = this;
}

int VISTEL_CALL CReferenceHost::callback(SCallbackRecord* record)
{
	return currentHost ? currentHost->answer(record) : UNKNOWN_CALLBACK_REASON;
}

bool CReferenceHost::findReply(const char* request, EHostRequest& kind,
	const std::string*& reply) const
{
	if (!request)
		return false;
	if (std::strcmp(request, INSTALL_DIRECTORY_REQUEST) == 0)
	{
		kind = EHR_INSTALL_DIRECTORY;
		reply = &InstallDirectoryReply;
		return true;
	}
	if (std::strcmp(request, WHOLE_LEVEL_REQUEST) == 0)
	{
		kind = EHR_SCENE;
		reply = &LevelText;
		return true;
	}
	if (std::strcmp(request, SELECTION_REQUEST) == 0)
	{
		kind = EHR_SCENE;
		reply = Options.SelectionPath.empty() ? &LevelText : &SelectionText;
		return true;
	}
	return false;
}

bool CReferenceHost::findFailure(EHostRequest request, EHostPhase phase, int& code) const
{
	for (size_t i = 0; i < Options.Failures.size(); ++i)
	{
		if (Options.Failures[i].Request == request && Options.Failures[i].Phase == phase)
		{
			code = Options.Failures[i].Code;
			return true;
		}
	}
	return false;
}

int CReferenceHost::answer(SCallbackRecord* record)
{
	int result = 0;
	EHostRequest kind = EHR_INSTALL_DIRECTORY;
	const std::string* reply = 0;
	if (record->reason != ECR_GET_MEM && record->reason != ECR_GET_DATA)
		result = UNKNOWN_CALLBACK_REASON;
	else if (!findReply(record->request, kind, reply))
		result = INVALID_HEADER;
	else if (findFailure(kind, record->reason == ECR_GET_MEM ? EHP_GET_MEM : EHP_GET_DATA, result))
		;
	else if (record->reason == ECR_GET_MEM)
		record->replySize = (kind == EHR_SCENE && Options.EmptyScene)
			? 0 : static_cast<unsigned int>(reply->size());
	else if (!record->reply || record->replySize != reply->size())
		result = INVALID_GET_DATA_COMMAND;
	else
		// Exactly the reply's bytes: the plug-in terminates the text itself.
		std::memcpy(record->reply, reply->data(), reply->size());
	logCall(record, result);
	return result;
}

void CReferenceHost::logRunEnd()
{
	if (!Log)
		return;
	std::fputs("run returned\n", Log);
	std::fflush(Log);
}

void CReferenceHost::logCall(const SCallbackRecord* record, int result)
{
	if (!Log)
		return;
	const char* command = record->reason == ECR_GET_MEM ? "GetMem"
		: record->reason == ECR_GET_DATA ? "GetData" : "Unknown";
	const size_t requestLength = record->request ? std::strlen(record->request) : 0;
	std::fprintf(Log, "call %s\nrequest %zu\n", command, requestLength);
	if (requestLength)
		std::fwrite(record->request, 1, requestLength, Log);
	std::fprintf(Log, "\nresult %d replySize %u\n", result, record->replySize);
	std::fflush(Log);
}

} // end namespace vistelhost

#ifndef VISTEL_C_REFERENCE_HOST_H_INCLUDED
#define VISTEL_C_REFERENCE_HOST_H_INCLUDED

#include "HostOptions.h"
#include "PluginApi.h"

#include <cstdio>
#include <string>

namespace vistelhost
{

//! Answers the plug-in's requests the way the level editor does: the
//! install directory and the level, fetched in two phases, with optional
//! injected failures and a log of every call.
class CReferenceHost
{
public:
	//! The host takes the documents over; without a selection file the
	//! selection request is answered with the level itself, not a copy.
	CReferenceHost(const SHostOptions& options, std::string&& levelText,
		std::string&& selectionText);
	~CReferenceHost();

	//! False when the log file cannot be opened.
	bool openLog();

	//! Notes in the log that a run returned to the host, so that a test can
	//! see when the host has control again.
	void logRunEnd();

	//! One call of the callback.
	int answer(SCallbackRecord* record);

	//! The callback function to hand to the plug-in; it serves the host
	//! made current with makeCurrent.
	static int VISTEL_CALL callback(SCallbackRecord* record);
	void makeCurrent();

private:
	//! The reply for a request document, or false for an unknown document.
	bool findReply(const char* request, EHostRequest& kind, const std::string*& reply) const;
	bool findFailure(EHostRequest request, EHostPhase phase, int& code) const;
	void logCall(const SCallbackRecord* record, int result);

	const SHostOptions& Options;
	std::string InstallDirectoryReply;
	std::string LevelText;
	std::string SelectionText;
	FILE* Log;
};

} // end namespace vistelhost

#endif

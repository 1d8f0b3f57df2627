#include "HostOptions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace vistelhost
{

namespace
{

bool parseInteger(const std::string& text, long long low, long long high, long long& value)
{
	if (text.empty())
		return false;
	errno = 0;
	char* end = 0;
	value = std::strtoll(text.c_str(), &end, 10);
	return errno == 0 && *end == 0 && value >= low && value <= high;
}

bool parseFailure(const std::string& text, SInjectedFailure& failure)
{
	const size_t first = text.find(':');
	const size_t second = first == std::string::npos ? first : text.find(':', first + 1);
	if (second == std::string::npos)
		return false;
	const std::string request = text.substr(0, first);
	const std::string phase = text.substr(first + 1, second - first - 1);
	if (request == "installdir")
		failure.Request = EHR_INSTALL_DIRECTORY;
	else if (request == "scene")
		failure.Request = EHR_SCENE;
	else
		return false;
	if (phase == "getmem")
		failure.Phase = EHP_GET_MEM;
	else if (phase == "getdata")
		failure.Phase = EHP_GET_DATA;
	else
		return false;
	// Any 32-bit value, written signed or unsigned.
	long long code;
	if (!parseInteger(text.substr(second + 1), INT_MIN, UINT_MAX, code))
		return false;
	failure.Code = static_cast<int>(static_cast<unsigned int>(code));
	return true;
}

} // end anonymous namespace

const char* getHostUsage()
{
	return "usage: vistel-host [options] [LEVEL]\n"
		"Stands in for the level editor: loads the plug-in, answers its requests and runs the preview.\n"
		"  LEVEL                 scene document answered to the whole-level request\n"
		"                        (default: the bundled sample level)\n"
		"  --plugin PATH         plug-in library to load (default: the one built beside the host)\n"
		"  --install-dir DIR     install directory reported to the plug-in, with a trailing separator\n"
		"  --editor-dir DIR      lay the editor out in DIR and run from there (default: a fresh\n"
		"                        temporary directory) when --install-dir is not given\n"
		"  --selection FILE      document answered to the selection-only request (default: LEVEL)\n"
		"  --fail REQ:PHASE:CODE answer a call with an error code; REQ installdir|scene,\n"
		"                        PHASE getmem|getdata; repeatable\n"
		"  --empty-scene         answer the scene request with a size of 0\n"
		"  --log FILE            append every request, command and reply size to FILE,\n"
		"                        and a line when a run has returned\n"
		"  --runs N              run the preview N times in one process\n"
		"  --check-state         record the process state before the first run and after\n"
		"                        each run, print it, and end with status 4 when a run\n"
		"                        changed it (see the README)\n"
		"  --info                print the plug-in's six texts and exit\n"
		"  --help                print this text\n";
}

bool parseHostOptions(const std::vector<std::string>& arguments, SHostOptions& options,
	std::string& error)
{
	for (size_t i = 0; i < arguments.size(); ++i)
	{
		const std::string& argument = arguments[i];
		const bool hasValue = i + 1 < arguments.size();
		if (argument == "--help" || argument == "-h")
		{
			error = "help";
			return false;
		}
		else if (argument == "--info")
			options.Info = true;
		else if (argument == "--empty-scene")
			options.EmptyScene = true;
		else if (argument == "--check-state")
			options.CheckState = true;
		else if (argument == "--plugin" || argument == "--install-dir" || argument == "--editor-dir"
			|| argument == "--selection" || argument == "--log" || argument == "--fail"
			|| argument == "--runs")
		{
			if (!hasValue)
			{
				error = argument + " needs a value";
				return false;
			}
			const std::string& value = arguments[++i];
			if (argument == "--plugin")
				options.PluginPath = value;
			else if (argument == "--install-dir")
				options.InstallDirectory = value;
			else if (argument == "--editor-dir")
				options.EditorDirectory = value;
			else if (argument == "--selection")
				options.SelectionPath = value;
			else if (argument == "--log")
				options.LogPath = value;
			else if (argument == "--fail")
			{
				SInjectedFailure failure;
				if (!parseFailure(value, failure))
				{
					error = "--fail wants REQUEST:PHASE:CODE, got '" + value + "'";
					return false;
				}
				options.Failures.push_back(failure);
				options.FailureTexts.push_back(value);
			}
			else
			{
				long long runs;
				if (!parseInteger(value, 0, INT_MAX, runs))
				{
					error = "--runs wants a count, got '" + value + "'";
					return false;
				}
				options.Runs = static_cast<int>(runs);
			}
		}
		else if (!argument.empty() && argument[0] == '-')
		{
			error = "unknown option " + argument;
			return false;
		}
		else if (options.LevelPath.empty())
			options.LevelPath = argument;
		else
		{
			error = "more than one LEVEL given";
			return false;
		}
	}
	return true;
}

} // end namespace vistelhost

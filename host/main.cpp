// vistel-host: stands in for the level editor. It loads the plug-in, reads
// its texts, hands it the callback and runs the preview on a level file.

#include "CReferenceHost.h"
#include "EditorDirectory.h"
#include "HostOptions.h"

#include "HostSystem.h"
#include "ProcessState.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>
#include <utility>

using namespace vistelhost;

namespace
{

const int EXIT_USAGE = 2;
const int EXIT_PLUGIN = 3;
const int EXIT_STATE_CHANGED = 4;
// How often, 0.1 s apart, a changed state is read again before it counts.
const int STATE_SETTLE_WAITS = 20;

typedef const char* (VISTEL_CALL *TextFunction)(void);
typedef void (VISTEL_CALL *ExecuteFunction)(void);
typedef void (VISTEL_CALL *SetCallbackFunction)(HostCallback);

struct SPluginEntries
{
	TextFunction Name, Description, TarvoVersion, Version, Author, Email;
	SetCallbackFunction SetCallback;
	ExecuteFunction Execute;
	void* Library;
};

// The whole file in one string, read in one go: the host keeps exactly one
// copy of each document it serves, as the editor does.
bool readFile(const std::string& path, std::string& text)
{
	std::ifstream file(path.c_str(), std::ios::binary | std::ios::ate);
	if (!file)
		return false;
	const std::streamoff size = file.tellg();
	if (size < 0)
		return false;
	text.resize(static_cast<size_t>(size));
	file.seekg(0);
	return static_cast<bool>(file.read(&text[0], static_cast<std::streamsize>(text.size())));
}

bool isReadable(const std::string& path)
{
	return static_cast<bool>(std::ifstream(path.c_str(), std::ios::binary));
}

template <class T>
bool findEntry(void* library, const char* name, T& entry)
{
	entry = reinterpret_cast<T>(findPluginEntry(library, name));
	if (!entry)
		std::cerr << "vistel-host: the plug-in has no entry point " << name << "\n";
	return entry != 0;
}

bool loadPlugin(const std::string& path, SPluginEntries& entries)
{
	std::string error;
	void* library = openPluginLibrary(path, error);
	if (!library)
	{
		std::cerr << "vistel-host: cannot load the plug-in: " << error << "\n";
		return false;
	}
	entries.Library = library;
	// Every entry is looked up, so that all missing ones are named.
	bool found = findEntry(library, "PluginName", entries.Name);
	found &= findEntry(library, "PluginDescription", entries.Description);
	found &= findEntry(library, "PluginTarvoVersion", entries.TarvoVersion);
	found &= findEntry(library, "PluginVersion", entries.Version);
	found &= findEntry(library, "PluginAuthor", entries.Author);
	found &= findEntry(library, "PluginEmail", entries.Email);
	found &= findEntry(library, "PluginSetCallback", entries.SetCallback);
	found &= findEntry(library, "PluginExecute", entries.Execute);
	return found;
}

// Runs the host again from a copy of itself inside the editor directory, so
// that the plug-in finds the editor's executable where the editor keeps it.
int runFromEditorDirectory(const SHostOptions& options)
{
	std::string directory = options.EditorDirectory;
	if (directory.empty())
		directory = makeTemporaryDirectory();
	if (directory.empty())
	{
		std::cerr << "vistel-host: cannot make a temporary editor directory\n";
		return EXIT_USAGE;
	}
	std::error_code failure;
	directory = std::filesystem::absolute(directory, failure).lexically_normal().string();
	if (!directory.empty() && directory[directory.size() - 1] == HOST_SEPARATOR)
		directory.erase(directory.size() - 1);

	std::string error;
	if (!layOutEditorDirectory(directory, options.LevelPath, error))
	{
		std::cerr << "vistel-host: " << error << "\n";
		return EXIT_USAGE;
	}
	const std::string editor = directory + HOST_SEPARATOR + EDITOR_EXECUTABLE_NAME;
	std::filesystem::copy_file(getOwnExecutablePath(), editor,
		std::filesystem::copy_options::overwrite_existing, failure);
	if (failure)
	{
		std::cerr << "vistel-host: cannot place the editor in " << directory << ": "
			<< failure.message() << "\n";
		return EXIT_USAGE;
	}
	std::cerr << "vistel-host: editor directory " << directory << "\n";

	std::vector<std::string> arguments;
	arguments.push_back(editor);
	arguments.push_back("--install-dir");
	arguments.push_back(directory + HOST_SEPARATOR);
	arguments.push_back("--plugin");
	arguments.push_back(options.PluginPath);
	if (!options.SelectionPath.empty())
	{
		arguments.push_back("--selection");
		arguments.push_back(options.SelectionPath);
	}
	if (!options.LogPath.empty())
	{
		arguments.push_back("--log");
		arguments.push_back(options.LogPath);
	}
	for (size_t i = 0; i < options.FailureTexts.size(); ++i)
	{
		arguments.push_back("--fail");
		arguments.push_back(options.FailureTexts[i]);
	}
	if (options.EmptyScene)
		arguments.push_back("--empty-scene");
	if (options.CheckState)
		arguments.push_back("--check-state");
	arguments.push_back("--runs");
	arguments.push_back(std::to_string(options.Runs));
	arguments.push_back(options.LevelPath);

	replaceProcess(arguments);
	std::cerr << "vistel-host: cannot start " << editor << "\n";
	return EXIT_USAGE;
}

// Runs the preview the given number of times; with checkState, records the
// process state before the first run and after each run and reports every
// figure a run changed (see ProcessState.h for what counts as a change).
int runPreviews(const SPluginEntries& entries, CReferenceHost& host, int runs, bool checkState)
{
	SStateContext context;
	context.PluginLibrary = entries.Library;
	SProcessState beforeFirstRun, afterFirstRun;
	if (checkState)
	{
		prepareStateRecording();
		beforeFirstRun = captureProcessState(context);
		std::cerr << "vistel-host: state before the first run: "
			<< describeProcessState(beforeFirstRun) << std::endl;
	}
	std::vector<std::string> heldAfterFirstRun;
	bool changed = false;
	for (int run = 0; run < runs; ++run)
	{
		entries.Execute();
		host.logRunEnd();
		if (!checkState)
			continue;
		SProcessState after = captureProcessState(context);
		if (run == 0)
			afterFirstRun = after;
		std::vector<std::string> changes = findStateChanges(beforeFirstRun, afterFirstRun, after);
		// A thread or handle of the run may still be on its way out when
		// PluginExecute returns: the counts get a moment to settle.
		for (int wait = 0; wait < STATE_SETTLE_WAITS && !changes.empty(); ++wait)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(100));
			after = captureProcessState(context);
			changes = findStateChanges(beforeFirstRun, afterFirstRun, after);
		}
		std::cerr << "vistel-host: state after run " << run + 1 << ": "
			<< describeProcessState(after) << std::endl;
		for (size_t i = 0; i < changes.size(); ++i)
			std::cerr << "vistel-host: run " << run + 1 << " changed the process: " << changes[i]
				<< std::endl;
		const std::vector<std::string> held = listHeldObjects();
		if (run == 0)
			heldAfterFirstRun = held;
		else if (!changes.empty())
			for (size_t i = 0; i < held.size(); ++i)
				if (std::find(heldAfterFirstRun.begin(), heldAfterFirstRun.end(), held[i])
					== heldAfterFirstRun.end())
					std::cerr << "vistel-host: held after run " << run + 1 << ", not after the first: "
						<< held[i] << std::endl;
		changed |= !changes.empty();
	}
	return changed ? EXIT_STATE_CHANGED : 0;
}

} // end anonymous namespace

int main(int argc, char** argv)
{
	SHostOptions options;
	std::string error;
	if (!parseHostOptions(std::vector<std::string>(argv + 1, argv + argc), options, error))
	{
		if (error == "help")
		{
			std::cout << getHostUsage();
			return 0;
		}
		std::cerr << "vistel-host: " << error << "\n" << getHostUsage();
		return EXIT_USAGE;
	}
	if (options.PluginPath.empty())
		options.PluginPath = VISTEL_DEFAULT_PLUGIN;
	if (options.LevelPath.empty())
		options.LevelPath = VISTEL_SAMPLE_LEVEL;

	SPluginEntries entries;
	if (options.Info)
	{
		if (!loadPlugin(options.PluginPath, entries))
			return EXIT_PLUGIN;
		std::cout << "PluginName: " << entries.Name() << "\n"
			<< "PluginDescription: " << entries.Description() << "\n"
			<< "PluginTarvoVersion: " << entries.TarvoVersion() << "\n"
			<< "PluginVersion: " << entries.Version() << "\n"
			<< "PluginAuthor: " << entries.Author() << "\n"
			<< "PluginEmail: " << entries.Email() << "\n";
		return 0;
	}

	// The files are checked here and read only by the host that serves them:
	// a host that first lays out the editor directory hands over to a copy
	// of itself, which reads them.
	if (!isReadable(options.LevelPath))
	{
		std::cerr << "vistel-host: cannot read the level " << options.LevelPath << "\n";
		return EXIT_USAGE;
	}
	if (!options.SelectionPath.empty() && !isReadable(options.SelectionPath))
	{
		std::cerr << "vistel-host: cannot read the selection " << options.SelectionPath << "\n";
		return EXIT_USAGE;
	}

	if (options.InstallDirectory.empty())
		return runFromEditorDirectory(options);

	std::string levelText, selectionText;
	if (!readFile(options.LevelPath, levelText))
	{
		std::cerr << "vistel-host: cannot read the level " << options.LevelPath << "\n";
		return EXIT_USAGE;
	}
	if (!options.SelectionPath.empty() && !readFile(options.SelectionPath, selectionText))
	{
		std::cerr << "vistel-host: cannot read the selection " << options.SelectionPath << "\n";
		return EXIT_USAGE;
	}

	if (!loadPlugin(options.PluginPath, entries))
		return EXIT_PLUGIN;

	CReferenceHost host(options, std::move(levelText), std::move(selectionText));
	if (!host.openLog())
	{
		std::cerr << "vistel-host: cannot open the log " << options.LogPath << "\n";
		return EXIT_USAGE;
	}
	host.makeCurrent();
	entries.SetCallback(&CReferenceHost::callback);
	return runPreviews(entries, host, options.Runs, options.CheckState);
}

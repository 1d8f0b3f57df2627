#ifndef VISTEL_HOST_OPTIONS_H_INCLUDED
#define VISTEL_HOST_OPTIONS_H_INCLUDED

#include <string>
#include <vector>

namespace vistelhost
{

enum EHostRequest
{
	EHR_INSTALL_DIRECTORY,
	EHR_SCENE
};

enum EHostPhase
{
	EHP_GET_MEM,
	EHP_GET_DATA
};

//! One --fail REQUEST:PHASE:CODE option.
struct SInjectedFailure
{
	EHostRequest Request;
	EHostPhase Phase;
	int Code;
};

//! The command line of the reference host.
struct SHostOptions
{
	std::string LevelPath;
	std::string SelectionPath; //!< empty: the level
	std::string PluginPath;
	std::string InstallDirectory; //!< reported as is; empty: lay out an editor directory
	std::string EditorDirectory;  //!< where to lay out the editor; empty: a fresh temporary one
	std::string LogPath;
	std::vector<SInjectedFailure> Failures;
	std::vector<std::string> FailureTexts; //!< the --fail values as given
	bool EmptyScene;
	bool Info;
	bool CheckState; //!< record the process state around the runs, fail on a change
	int Runs;

	SHostOptions() : EmptyScene(false), Info(false), CheckState(false), Runs(1) {}
};

//! Parses the arguments; false with a message in error on a bad one.
bool parseHostOptions(const std::vector<std::string>& arguments, SHostOptions& options,
	std::string& error);

//! The usage text.
const char* getHostUsage();

} // end namespace vistelhost

#endif

#ifndef VISTEL_PROCESS_STATE_H_INCLUDED
#define VISTEL_PROCESS_STATE_H_INCLUDED

#include <string>
#include <vector>

namespace vistelhost
{

//! How a figure of the process state is judged after a run.
enum EStateFigureKind
{
	//! Must be as it was before the first run: the floating-point control
	//! words, the cursor, window classes, the current directory, the locale,
	//! the umask. The editor relies on them between two runs.
	ESFK_KEPT,
	//! A count of things the process holds (threads, handles, descriptors,
	//! GDI and USER objects). The first run may leave a fixed number behind
	//! (a system library's lasting workers and caches); no later run may
	//! leave more than the first one did.
	ESFK_SETTLED
};

//! One figure of the process state, as text so that any kind compares.
struct SStateFigure
{
	std::string Name;
	std::string Value;
	EStateFigureKind Kind;
};

typedef std::vector<SStateFigure> SProcessState;

//! What the system's recorder needs to know: the plug-in's module, whose
//! window classes are looked for.
struct SStateContext
{
	void* PluginLibrary;

	SStateContext() : PluginLibrary(0) {}
};

//! Records the calling thread's and the process's state.
SProcessState captureProcessState(const SStateContext& context);

//! The figures both systems have: the x87 control word and MXCSR (on x86),
//! the current directory and the C locale.
void addPortableFigures(SProcessState& state);

//! The system's own figures (cursor, classes, threads, handles, ...).
void addSystemFigures(const SStateContext& context, SProcessState& state);

//! One line per object the process holds (a handle with its type and name, a
//! file descriptor with its target), to tell what a run left behind.
std::vector<std::string> listHeldObjects();

//! Prepares the recorder once, before the first record (the system's side
//! may open what it reads through, so that opening it is no difference).
void prepareStateRecording();

//! One text per figure that changed: a KEPT figure of after that differs
//! from beforeFirstRun, a SETTLED count above afterFirstRun's.
std::vector<std::string> findStateChanges(const SProcessState& beforeFirstRun,
	const SProcessState& afterFirstRun, const SProcessState& after);

//! "name=value" for every figure, one line.
std::string describeProcessState(const SProcessState& state);

} // end namespace vistelhost

#endif

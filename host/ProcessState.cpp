// The figures of the process state that both systems read the same way, and
// the comparison of two records.

#include "ProcessState.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace vistelhost
{

namespace
{

std::string hex(unsigned int value)
{
	char text[16];
	std::snprintf(text, sizeof(text), "0x%04x", value);
	return text;
}

void add(SProcessState& state, const char* name, const std::string& value, EStateFigureKind kind)
{
	SStateFigure figure = { name, value, kind };
	state.push_back(figure);
}

const SStateFigure* find(const SProcessState& state, const std::string& name)
{
	for (size_t i = 0; i < state.size(); ++i)
		if (state[i].Name == name)
			return &state[i];
	return 0;
}

// A count above the reference; a text that is no count differs when it is
// not the same text. Fewer is no fault: a worker of an earlier run may end later.
bool isMore(const std::string& value, const std::string& reference)
{
	char* valueEnd = 0;
	char* referenceEnd = 0;
	const unsigned long long count = std::strtoull(value.c_str(), &valueEnd, 10);
	const unsigned long long referenceCount = std::strtoull(reference.c_str(), &referenceEnd, 10);
	if (value.empty() || reference.empty() || *valueEnd || *referenceEnd)
		return value != reference;
	return count > referenceCount;
}

} // end anonymous namespace

void addPortableFigures(SProcessState& state)
{
#if defined(__i386__) || defined(__x86_64__)
	unsigned short controlWord = 0;
	__asm__ __volatile__("fnstcw %0" : "=m"(controlWord));
	add(state, "x87 control word", hex(controlWord), ESFK_KEPT);
	// The low six bits of MXCSR are sticky exception flags that any
	// arithmetic sets, the editor's own included; the rest is control.
	// Read by the instruction itself: the 32-bit build targets processors
	// that may lack SSE, so the compiler's intrinsic is not available there.
	unsigned int mxcsr = 0;
	__asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
	add(state, "MXCSR control", hex(mxcsr & ~0x3Fu), ESFK_KEPT);
#endif
	std::error_code failure;
	const std::filesystem::path directory = std::filesystem::current_path(failure);
	add(state, "current directory", failure ? "(" + failure.message() + ")" : directory.string(),
		ESFK_KEPT);
	const char* locale = std::setlocale(LC_ALL, 0);
	add(state, "C locale", locale ? locale : "(none)", ESFK_KEPT);
}

SProcessState captureProcessState(const SStateContext& context)
{
	SProcessState state;
	addPortableFigures(state);
	addSystemFigures(context, state);
	return state;
}

std::vector<std::string> findStateChanges(const SProcessState& beforeFirstRun,
	const SProcessState& afterFirstRun, const SProcessState& after)
{
	std::vector<std::string> changes;
	for (size_t i = 0; i < after.size(); ++i)
	{
		const SStateFigure& figure = after[i];
		const SStateFigure* reference = find(
			figure.Kind == ESFK_KEPT ? beforeFirstRun : afterFirstRun, figure.Name);
		if (!reference)
			changes.push_back(figure.Name + " is " + figure.Value + ", not recorded before");
		else if (figure.Kind == ESFK_KEPT && reference->Value != figure.Value)
			changes.push_back(figure.Name + " is " + figure.Value + ", was " + reference->Value
				+ " before the first run");
		else if (figure.Kind == ESFK_SETTLED && isMore(figure.Value, reference->Value))
			changes.push_back(figure.Name + " is " + figure.Value + ", more than the "
				+ reference->Value + " after the first run");
	}
	return changes;
}

std::string describeProcessState(const SProcessState& state)
{
	std::string text;
	for (size_t i = 0; i < state.size(); ++i)
	{
		if (i)
			text += "; ";
		text += state[i].Name + "=" + state[i].Value;
	}
	return text;
}

} // end namespace vistelhost

#ifndef VISTEL_C_REPORT_GAP_WATCH_H_INCLUDED
#define VISTEL_C_REPORT_GAP_WATCH_H_INCLUDED

// Stands between the load and the loading screen and times the gaps between
// progress reports: the loading screen can only be drawn at a report, so the
// longest gap of a step is the longest the window could go undrawn in it.
// The run's step notes close a step: the gap up to the note counts for the
// step it ends, and the next step's gaps are counted from there.
// Each gap is timed twice: by the wall clock, and by the processor time of
// the calling thread (the editor's), which is the work done in it. On a
// shared machine a gap of little work and much wall time is the thread
// waiting for a core, which no report in the code can shorten.
#include "BenchMeasures.h"
#include "ILoadProgress.h"

#include <time.h>

#include <cstdio>
#include <string>

namespace vistel
{
namespace bench
{

inline double threadCpuSeconds()
{
	timespec now;
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class CReportGapWatch : public ILoadProgress
{
public:
	explicit CReportGapWatch(ILoadProgress* screen) : Screen(screen) { start(); }

	//! Counts from now: the screen's first picture has just been drawn.
	void start()
	{
		Last = Clock::now();
		LastCpu = threadCpuSeconds();
	}

	bool onLoadProgress(const SLoadProgress& progress) override
	{
		++StepReports;
		record(describe(progress));
		const Clock::time_point before = Clock::now();
		const bool goOn = Screen->onLoadProgress(progress);
		// The time in the screen is drawing and pumping: it is no gap.
		const double spent = secondsSince(before);
		if (spent > LongestCall)
		{
			LongestCall = spent;
			LongestCallWhere = describe(progress);
		}
		start();
		return goOn;
	}

	//! Ends the current step: prints its longest gaps (the one up to this
	//! note included) and where they were, and starts the next step's count.
	void endStep(const char* step)
	{
		record("the end of the step");
		std::printf("report-gap %s wall %.3f s (at %s), thread processor %.3f s (at %s), %u reports\n", step,
			StepWall.Seconds, StepWall.Where.c_str(), StepCpu.Seconds, StepCpu.Where.c_str(), StepReports);
		if (StepWall.Seconds > LongestWall.Seconds)
			LongestWall = SGap{StepWall.Seconds, step};
		if (StepCpu.Seconds > LongestCpu.Seconds)
			LongestCpu = SGap{StepCpu.Seconds, step};
		StepWall = StepCpu = SGap();
		StepReports = 0;
		start();
	}

	void printSummary() const
	{
		std::printf("report-gap-longest wall %.3f s in %s, thread processor %.3f s in %s\n", LongestWall.Seconds,
			LongestWall.Where.c_str(), LongestCpu.Seconds, LongestCpu.Where.c_str());
		std::printf("report-longest-call %.3f s at %s\n", LongestCall, LongestCallWhere.c_str());
	}

private:
	struct SGap
	{
		double Seconds = 0;
		std::string Where = "no report";
	};

	static std::string describe(const SLoadProgress& progress)
	{
		static const char* const names[ELS_COUNT] = {"reading", "building", "collision"};
		char text[96];
		std::snprintf(text, sizeof(text), "%s %.1f%%", progress.Stage < ELS_COUNT ? names[progress.Stage] : "?",
			progress.StageDone * 100.0);
		return text;
	}

	void record(const std::string& where)
	{
		const double wall = secondsSince(Last), cpu = threadCpuSeconds() - LastCpu;
		// Every gap the user could see as a stalled screen.
		if (wall > SlowGap)
			std::printf("report-gap-slow wall %.3f s, thread processor %.3f s, up to %s\n", wall, cpu,
				where.c_str());
		if (wall > StepWall.Seconds)
			StepWall = SGap{wall, where};
		if (cpu > StepCpu.Seconds)
			StepCpu = SGap{cpu, where};
	}

	static constexpr double SlowGap = 0.1;
	ILoadProgress* Screen;
	Clock::time_point Last;
	double LastCpu = 0;
	SGap StepWall, StepCpu, LongestWall, LongestCpu;
	double LongestCall = 0;
	std::string LongestCallWhere = "none";
	unsigned StepReports = 0;
};

} // end namespace bench
} // end namespace vistel

#endif

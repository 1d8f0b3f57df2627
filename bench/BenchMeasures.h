#ifndef VISTEL_BENCH_MEASURES_H_INCLUDED
#define VISTEL_BENCH_MEASURES_H_INCLUDED

// Clocks and memory figures shared by the benchmark programs.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace vistel
{
namespace bench
{

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start)
{
	return std::chrono::duration<double>(Clock::now() - start).count();
}

//! Processor time of the whole process, the driver's threads included: on a
//! busy machine it says more than the wall clock.
inline double cpuSeconds()
{
	rusage usage;
	getrusage(RUSAGE_SELF, &usage);
	return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

inline long peakResidentKiB()
{
	rusage usage;
	getrusage(RUSAGE_SELF, &usage);
	return usage.ru_maxrss;
}

inline long residentKiB()
{
	long pages = 0, resident = 0;
	FILE* statm = std::fopen("/proc/self/statm", "r");
	if (statm)
	{
		if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
			resident = 0;
		std::fclose(statm);
	}
	return resident * 4;
}

} // end namespace bench
} // end namespace vistel

#endif

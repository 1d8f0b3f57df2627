#ifndef VISTEL_C_RECORDING_LOAD_PROGRESS_H_INCLUDED
#define VISTEL_C_RECORDING_LOAD_PROGRESS_H_INCLUDED

#include "ILoadProgress.h"

#include <cstddef>
#include <vector>

namespace vistel
{
namespace test
{

//! Keeps every progress report; from the StopAt-th report on (1-based, 0
//! for never) it asks the work to stop.
class CRecordingLoadProgress : public ILoadProgress
{
public:
	bool onLoadProgress(const SLoadProgress& progress) override
	{
		Reports.push_back(progress);
		return StopAt == 0 || Reports.size() < StopAt;
	}

	std::vector<SLoadProgress> Reports;
	std::size_t StopAt = 0;
};

} // end namespace test
} // end namespace vistel

#endif

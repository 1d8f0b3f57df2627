#ifndef VISTEL_C_RECORDING_PLATFORM_H_INCLUDED
#define VISTEL_C_RECORDING_PLATFORM_H_INCLUDED

#include "IPlatform.h"
#include <vector>

namespace vistel
{
namespace platform
{

//! One message box as the core asked for it.
struct SRecordedMessageBox
{
	void* Owner;
	std::string Text;
	std::string Caption;
	EMessageBoxStyle Style;
};

//! Backend for tests: shows nothing, records what was asked and answers
//! with values the test sets.
class CRecordingPlatform : public IPlatform
{
public:
	CRecordingPlatform();

	virtual void showMessageBox(void* owner, const std::string& text,
		const std::string& caption, EMessageBoxStyle style);
	virtual std::string getExecutablePath();
	virtual std::string getLibraryPath();

	std::vector<SRecordedMessageBox> MessageBoxes;
	std::string ExecutablePath;
	std::string LibraryPath;
};

//! The recording backend that tests get as the built-in one.
CRecordingPlatform& getRecordingPlatform();

} // end namespace platform
} // end namespace vistel

#endif

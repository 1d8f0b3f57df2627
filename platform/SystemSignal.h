#ifndef VISTEL_SYSTEM_SIGNAL_H_INCLUDED
#define VISTEL_SYSTEM_SIGNAL_H_INCLUDED

namespace vistel
{
namespace platform
{

//! A flag one thread raises and another waits for, the wait taking it down
//! again (an auto-reset event). Like CSystemThread it is the system's own
//! object on Windows, closed with this object, so nothing of it stays in
//! the editor's process. Not copyable.
class CSystemSignal
{
public:
	CSystemSignal();
	~CSystemSignal();
	CSystemSignal(const CSystemSignal&) = delete;
	CSystemSignal& operator=(const CSystemSignal&) = delete;

	//! False where the system could not make one: raise and wait then do
	//! nothing, and the caller must not rely on it.
	bool isValid() const { return Handle != 0; }

	//! Raises the flag; a thread waiting for it wakes. Raising a raised flag
	//! changes nothing.
	void raise();

	//! Waits until the flag is raised, then lowers it.
	void wait();

private:
	void* Handle;
};

} // end namespace platform
} // end namespace vistel

#endif

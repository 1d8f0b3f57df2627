#include "CBlockReadAhead.h"

#include <IReadFile.h>

namespace vistel
{

CBlockReadAhead::CBlockReadAhead(irr::io::IReadFile* file) : File(file)
{
}

CBlockReadAhead::~CBlockReadAhead()
{
	if (!Thread.isJoinable())
		return;
	Stopping = true;
	Wanted.raise();
	Thread.join();
}

bool CBlockReadAhead::start()
{
	if (!Wanted.isValid() || !Ready.isValid())
		return false;
	return Thread.start([this]() { run(); });
}

void CBlockReadAhead::ask(std::vector<char>& buffer, std::size_t offset, std::size_t size)
{
	Block.swap(buffer);
	Offset = offset;
	Size = size;
	Wanted.raise();
}

irr::s32 CBlockReadAhead::take(std::vector<char>& buffer)
{
	Ready.wait();
	Block.swap(buffer);
	return Got;
}

void CBlockReadAhead::run()
{
	for (;;)
	{
		Wanted.wait();
		if (Stopping)
			return;
		irr::s32 got = -1;
		try
		{
			got = File->read(Block.data() + Offset, static_cast<irr::u32>(Size));
		}
		catch (...)
		{
			// A failed read, for the caller to report; the caller must not
			// wait for a block that never comes.
		}
		Got = got;
		Ready.raise();
	}
}

} // end namespace vistel

#include "CSceneFileWriter.h"
#include "PreviewRun.h"

#include <chrono>
#include <thread>
#include <utility>

namespace vistel
{

CSceneFileWriter::~CSceneFileWriter()
{
	// The file is finished even when the run ends before its load (no
	// device, say): it stays on disk for a later run, as the whole file.
	join();
}

void CSceneFileWriter::start(const irr::core::stringc& path, SHostReply&& reply, bool keepLineMap)
{
	join();
	Path = path;
	Reply = std::move(reply);
	KeepLineMap = keepLineMap;
	LineMap = CSceneLineMap();
	Written = false;
	Error = nullptr;
	Stop = false;
	Readable = false;
	ExpectedSize = 0;
	WrittenSize = 0;
	Done = false;
	if (!Thread.start([this]() { write(); }))
		write();
}

void CSceneFileWriter::write()
{
	try
	{
		Written = writeSceneFile(Path, Reply.Data.get(), Reply.Size, KeepLineMap ? &LineMap : nullptr, &Stop,
			this);
	}
	catch (...)
	{
		Error = std::current_exception();
	}
	// The reply goes as soon as it is written: the load must not find it
	// still held beside the mesh it builds.
	Reply = SHostReply();
	Done = true;
	Grown.raise();
}

void CSceneFileWriter::onFileGrew(unsigned long long writtenSize, unsigned long long expectedSize)
{
	ExpectedSize = expectedSize;
	WrittenSize = writtenSize;
	Readable = true;
	Grown.raise();
}

void CSceneFileWriter::waitForGrowth()
{
	if (Done)
		return;
	if (Grown.isValid())
		Grown.wait();
	else
		std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void CSceneFileWriter::join()
{
	Thread.join();
}

CSceneFileWriter::EReadiness CSceneFileWriter::waitUntilReadable(ILoadProgress* progress)
{
	SLoadProgress report;
	report.Stage = ELS_READING;
	while (!Done && !Readable)
	{
		if (progress && !Stop && !progress->onLoadProgress(report))
			Stop = true;
		if (Stop)
			return ER_STOPPED;
		std::this_thread::sleep_for(std::chrono::milliseconds(5));
	}
	return Readable ? ER_READ_ALONG : ER_ENDED;
}

bool CSceneFileWriter::finish(ILoadProgress* progress)
{
	SLoadProgress report;
	report.Stage = ELS_READING;
	while (!Done)
	{
		if (progress && !Stop && !progress->onLoadProgress(report))
			Stop = true;
		std::this_thread::sleep_for(std::chrono::milliseconds(5));
	}
	join();
	if (Error)
	{
		std::exception_ptr error = Error;
		Error = nullptr;
		std::rethrow_exception(error);
	}
	return Written && !Stop;
}

} // end namespace vistel

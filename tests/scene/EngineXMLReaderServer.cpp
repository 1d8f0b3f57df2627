// Reads documents with the engine's IXMLReaderUTF8 for the differential
// test, one after the other: from standard input a length (8 bytes) and the
// document, to standard output a length and the node list. A document that
// crashes the engine's reader ends this process; the test starts a new one.
// Built without sanitizers where the build allows, so that a crash costs
// little.
#include "XMLNodeList.h"

#include <csignal>
#include <cstdint>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

namespace
{

bool readAll(char* data, std::size_t size)
{
	while (size > 0)
	{
		const ssize_t n = read(0, data, size);
		if (n <= 0)
			return false;
		data += n;
		size -= static_cast<std::size_t>(n);
	}
	return true;
}

bool writeAll(const char* data, std::size_t size)
{
	while (size > 0)
	{
		const ssize_t n = write(1, data, size);
		if (n <= 0)
			return false;
		data += n;
		size -= static_cast<std::size_t>(n);
	}
	return true;
}

} // end namespace

int main()
{
	// A crash is an outcome here: die of the signal, leave no core file.
	struct sigaction plain;
	std::memset(&plain, 0, sizeof(plain));
	plain.sa_handler = SIG_DFL;
	for (int deadly : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGALRM, SIGTRAP})
		sigaction(deadly, &plain, nullptr);
	const struct rlimit noCore = {0, 0};
	setrlimit(RLIMIT_CORE, &noCore);

	irr::SIrrlichtCreationParameters parameters;
	parameters.DriverType = irr::video::EDT_NULL;
	parameters.LoggingLevel = irr::ELL_NONE;
	irr::IrrlichtDevice* device = irr::createDeviceEx(parameters);
	if (!device)
		return 1;
	const unsigned secondsPerDocument = 10;
	const std::uint64_t outputLimit = 64u * 1024u * 1024u;
	const std::uint64_t runaway = ~std::uint64_t(0);
	for (;;)
	{
		std::uint64_t size = 0;
		if (!readAll(reinterpret_cast<char*>(&size), sizeof(size)))
			break;
		std::string document(static_cast<std::size_t>(size), '\0');
		if (size && !readAll(&document[0], document.size()))
			break;
		alarm(secondsPerDocument);
		irr::io::IReadFile* file = device->getFileSystem()->createMemoryReadFile(
			&document[0], static_cast<irr::s32>(document.size()), "differential.txs", false);
		irr::io::IXMLReaderUTF8* reader = device->getFileSystem()->createXMLReaderUTF8(file);
		const std::string nodes = reader ? vistel::test::describeNodes(*reader) : std::string();
		if (reader)
			reader->drop();
		file->drop();
		alarm(0);
		const std::uint64_t answer = nodes.size() > outputLimit ? runaway : nodes.size();
		if (!writeAll(reinterpret_cast<const char*>(&answer), sizeof(answer)) ||
			(answer != runaway && !writeAll(nodes.data(), nodes.size())))
			break;
	}
	device->drop();
	return 0;
}

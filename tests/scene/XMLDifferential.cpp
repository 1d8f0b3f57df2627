#include "XMLDifferential.h"

#include "CXMLStreamReader.h"
#include "XMLNodeList.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vistel
{
namespace test
{
namespace
{

irr::io::IReadFile* memoryFile(irr::IrrlichtDevice* device, const std::string& document)
{
	return device->getFileSystem()->createMemoryReadFile(const_cast<char*>(document.data()),
		static_cast<irr::s32>(document.size()), "differential.txs", false);
}

bool sendAll(int socket, const char* data, std::size_t size)
{
	while (size > 0)
	{
		const ssize_t n = send(socket, data, size, MSG_NOSIGNAL);
		if (n <= 0)
			return false;
		data += n;
		size -= static_cast<std::size_t>(n);
	}
	return true;
}

bool receiveAll(int socket, char* data, std::size_t size)
{
	while (size > 0)
	{
		const ssize_t n = recv(socket, data, size, 0);
		if (n <= 0)
			return false;
		data += n;
		size -= static_cast<std::size_t>(n);
	}
	return true;
}

// The engine's reader runs in a child process (EngineXMLReaderServer) that
// serves one document after the other over a socket: a length, then the
// bytes, each way. A child that crashes is replaced at the next document.
class CEngineReaderServer
{
public:
	~CEngineReaderServer() { stop(); }

	void read(const std::string& document, SXMLComparison& result)
	{
		if (Child <= 0 && !start())
		{
			result.EngineFailed = true;
			result.EngineNotStarted = true;
			result.EngineFailure = "the child process could not be started: " + Program;
			return;
		}
		const std::uint64_t size = document.size();
		std::uint64_t answerSize = 0;
		if (sendAll(Socket, reinterpret_cast<const char*>(&size), sizeof(size)) &&
			sendAll(Socket, document.data(), document.size()) &&
			receiveAll(Socket, reinterpret_cast<char*>(&answerSize), sizeof(answerSize)))
		{
			if (answerSize == RunawayAnswer)
			{
				result.EngineFailed = true;
				result.EngineFailure = "read on without end";
				return;
			}
			result.Engine.resize(static_cast<std::size_t>(answerSize));
			if (receiveAll(Socket, &result.Engine[0], result.Engine.size()))
				return;
		}
		// The child died on this document.
		result.Engine.clear();
		result.EngineFailed = true;
		const int status = stop();
		if (WIFSIGNALED(status))
			result.EngineFailure = "killed by signal " + std::to_string(WTERMSIG(status));
		else
			result.EngineFailure = "exit status " + std::to_string(WEXITSTATUS(status));
	}

	void setProgram(const std::string& path)
	{
		stop();
		Program = path;
	}

private:
	// The child's answer when the engine's reader wrote without end.
	static constexpr std::uint64_t RunawayAnswer = ~std::uint64_t(0);

	// False when the program could not be started: the child reports a
	// failed exec through a pipe that a successful one closes.
	bool start()
	{
		int sockets[2];
		if (socketpair(AF_UNIX, SOCK_STREAM, 0, sockets) != 0)
			return false;
		int execReport[2];
		if (pipe2(execReport, O_CLOEXEC) != 0)
		{
			close(sockets[0]);
			close(sockets[1]);
			return false;
		}
		std::fflush(nullptr);
		const pid_t child = fork();
		if (child < 0)
		{
			close(sockets[0]);
			close(sockets[1]);
			close(execReport[0]);
			close(execReport[1]);
			return false;
		}
		if (child == 0)
		{
			dup2(sockets[1], 0);
			dup2(sockets[1], 1);
			// What the C library says as the engine's reader crashes is noise.
			const int quiet = open("/dev/null", O_WRONLY);
			if (quiet >= 0)
				dup2(quiet, 2);
			close(sockets[0]);
			close(sockets[1]);
			close(execReport[0]);
			execl(Program.c_str(), Program.c_str(), static_cast<char*>(nullptr));
			const int error = errno;
			if (write(execReport[1], &error, sizeof(error)) < 0)
				_exit(126);
			_exit(127);
		}
		close(sockets[1]);
		close(execReport[1]);
		int error = 0;
		ssize_t reported;
		while ((reported = ::read(execReport[0], &error, sizeof(error))) < 0 && errno == EINTR)
		{
		}
		close(execReport[0]);
		Child = child;
		Socket = sockets[0];
		if (reported == 0)
			return true;
		stop();
		return false;
	}

	int stop()
	{
		int status = 0;
		if (Child <= 0)
			return status;
		close(Socket);
		while (waitpid(Child, &status, 0) < 0 && errno == EINTR)
		{
		}
		Child = -1;
		Socket = -1;
		return status;
	}

	pid_t Child = -1;
	int Socket = -1;
	std::string Program = VISTEL_ENGINE_XML_READER;
};

CEngineReaderServer EngineServer;

} // end namespace

void setEngineReaderProgram(const std::string& path)
{
	EngineServer.setProgram(path);
}

bool SXMLComparison::agrees() const
{
	if (EngineNotStarted)
		return false;
	if (EngineFailed)
		return true;
	if (OursStoppedShort)
		return Engine.compare(0, Ours.size(), Ours) == 0;
	return Engine == Ours;
}

std::string SXMLComparison::explain() const
{
	std::size_t same = 0;
	std::size_t lineStart = 0;
	while (same < Engine.size() && same < Ours.size() && Engine[same] == Ours[same])
		if (Engine[same++] == '\n')
			lineStart = same;
	std::string out = "scene reader" + std::string(OursStoppedShort ? " (stopped short)" : "") +
		(OursFault.empty() ? "" : " [" + OursFault + "]") + " from the first difference:\n" +
		Ours.substr(lineStart, 600) + "\nengine reader" +
		(EngineFailed ? " (failed: " + EngineFailure + ")" : std::string()) + " from there:\n" +
		Engine.substr(lineStart, 600) + "\n";
	return out;
}

SXMLComparison compareWithEngineReader(
	irr::IrrlichtDevice* device, const std::string& document, bool engineInProcessWhenSafe)
{
	SXMLComparison result;
	{
		irr::io::IReadFile* file = memoryFile(device, document);
		std::unique_ptr<CXMLStreamReader> reader = CXMLStreamReader::create(file, nullptr);
		file->drop();
		result.Ours = describeNodes(*reader);
		result.OursStoppedShort = reader->stoppedShort();
		result.OursFault = reader->describeFirstFault();
	}
	// Short comments and CDATA sections ("<!>", "<![CDATA]]>") crash the
	// engine's reader with a negative length, inside its input, and wide
	// text is converted in place: documents with "<!" or a byte order mark
	// of UTF-16 or UTF-32 always go to the child.
	const unsigned char first = document.empty() ? 'x' : static_cast<unsigned char>(document[0]);
	const bool maybeWide = first == 0x00 || first == 0xFE || first == 0xFF;
	if (engineInProcessWhenSafe && !result.OursStoppedShort && !maybeWide && document.find("<!") == std::string::npos)
	{
		irr::io::IReadFile* file = memoryFile(device, document);
		irr::io::IXMLReaderUTF8* reader = device->getFileSystem()->createXMLReaderUTF8(file);
		file->drop();
		result.Engine = reader ? describeNodes(*reader) : std::string();
		if (reader)
			reader->drop();
	}
	else
		EngineServer.read(document, result);
	return result;
}

} // end namespace test
} // end namespace vistel

// A document whose attribute value never ends, read in a child process whose
// address space is limited as a 32-bit editor's is: the reader must stop at
// its node limit instead of growing until the allocation fails.
#include "CXMLStreamReader.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace vistel
{
namespace test
{
namespace
{

// A file that starts with a few elements and then holds one attribute value
// that never ends.
class CEndlessValueFile : public irr::io::IReadFile
{
public:
	irr::s32 read(void* buffer, irr::u32 sizeToRead) override
	{
		char* out = static_cast<char*>(buffer);
		const std::size_t fromHead = Position < Head.size() ? std::min<std::size_t>(Head.size() - Position, sizeToRead) : 0;
		std::memcpy(out, Head.data() + Position, fromHead);
		std::memset(out + fromHead, 'x', sizeToRead - fromHead);
		Position += sizeToRead;
		return static_cast<irr::s32>(sizeToRead);
	}
	bool seek(long, bool) override { return false; }
	long getSize() const override { return -1; }
	long getPos() const override { return static_cast<long>(Position); }
	const irr::io::path& getFileName() const override { return Name; }

private:
	const std::string Head = "<scene>\n<materials/>\n<primitives name=\"";
	std::size_t Position = 0;
	irr::io::path Name = "endless.txs";
};

// Exit codes of the child, each a failed expectation.
enum EChildResult
{
	ECR_OK = 0,
	ECR_NO_LIMIT = 10,
	ECR_NODES = 11,
	ECR_FAULT = 12
};

int readEndlessValue(bool limitAddressSpace)
{
	if (limitAddressSpace)
	{
		// 1.5 GB of address space: what a 32-bit editor has left at best.
		const rlimit limit{1536ull * 1024 * 1024, 1536ull * 1024 * 1024};
		if (setrlimit(RLIMIT_AS, &limit) != 0)
			return ECR_NO_LIMIT;
	}
	// A reader that does not stop would run until the address space or
	// this alarm ends the child.
	alarm(60);
	CEndlessValueFile* file = new CEndlessValueFile();
	std::unique_ptr<CXMLStreamReader> reader = CXMLStreamReader::create(file, nullptr);
	file->drop();
	std::string names;
	while (reader->read())
		names += std::string(reader->getNodeName()) + ";";
	if (names != "scene;materials;")
		return ECR_NODES;
	if (reader->describeFirstFault() !=
		"line 3, column 1: the start tag that begins here is longer than 16 MiB, the most one node may hold")
		return ECR_FAULT;
	return ECR_OK;
}

TEST(NodeSizeLimitTest, EndlessValueUnderAnAddressSpaceLimitEndsAsAFault)
{
	// The sanitizers reserve far more address space than any such limit;
	// there the alarm alone bounds the child.
#if defined(__SANITIZE_ADDRESS__)
	const bool limitAddressSpace = false;
#else
	const bool limitAddressSpace = true;
#endif
	const pid_t child = fork();
	ASSERT_NE(child, -1);
	if (child == 0)
		_exit(readEndlessValue(limitAddressSpace));
	int status = 0;
	ASSERT_EQ(waitpid(child, &status, 0), child);
	ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
	EXPECT_EQ(WEXITSTATUS(status), ECR_OK);
}

} // end namespace
} // end namespace test
} // end namespace vistel

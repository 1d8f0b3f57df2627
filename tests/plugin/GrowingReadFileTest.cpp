#include "CGrowingReadFile.h"
#include "CTemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace vistel;

namespace
{

// A file written piece by piece on demand: every wait of the reader writes
// the next piece, the last one completing the file. One thread does all,
// so the reader meets the end of what is written at known places.
class CPiecewiseGrowth : public IFileGrowth
{
public:
	CPiecewiseGrowth(const std::string& path, std::vector<std::string> pieces) : Path(path), Pieces(pieces)
	{
		writeNext();
	}
	bool isFileComplete() const override { return Next == Pieces.size(); }
	unsigned long long getWrittenSize() const override { return Written; }
	void waitForGrowth() override
	{
		++Waits;
		if (!isFileComplete())
			writeNext();
	}
	std::size_t Waits = 0;

private:
	void writeNext()
	{
		std::FILE* file = std::fopen(Path.c_str(), Next == 0 ? "wb" : "ab");
		std::fwrite(Pieces[Next].data(), 1, Pieces[Next].size(), file);
		std::fclose(file);
		Written += Pieces[Next].size();
		++Next;
	}
	std::string Path;
	std::vector<std::string> Pieces;
	std::size_t Next = 0;
	unsigned long long Written = 0;
};

} // end anonymous namespace

TEST(GrowingReadFile, ReadsTheWholeFileAsItGrows)
{
	test::CTemporaryDirectory directory;
	const std::string path = directory / "growing.txs";
	std::string whole;
	std::vector<std::string> pieces;
	// An empty piece (a flush that added nothing) among them.
	for (const std::size_t size : {std::size_t(5), std::size_t(0), std::size_t(70000), std::size_t(3), std::size_t(200000)})
	{
		std::string piece;
		for (std::size_t i = 0; i < size; ++i)
			piece += static_cast<char>('a' + (whole.size() + i) % 26);
		pieces.push_back(piece);
		whole += piece;
	}
	CPiecewiseGrowth growth(path, pieces);
	CGrowingReadFile* file = CGrowingReadFile::open(path.c_str(), whole.size(), growth);
	ASSERT_NE(file, nullptr);
	EXPECT_EQ(file->getSize(), static_cast<long>(whole.size()));
	// Reads that straddle the pieces come back whole; only at the end of the
	// complete file is one short.
	std::string read;
	char block[65536];
	for (irr::s32 got; (got = file->read(block, sizeof(block))) > 0;)
	{
		read.append(block, static_cast<std::size_t>(got));
		EXPECT_EQ(file->getPos(), static_cast<long>(read.size()));
		if (read.size() < whole.size())
		{
			EXPECT_EQ(got, static_cast<irr::s32>(sizeof(block)));
		}
	}
	EXPECT_EQ(read, whole);
	EXPECT_EQ(growth.Waits, pieces.size() - 1);
	// Read again from the start, as a reader that starts over does.
	ASSERT_TRUE(file->seek(0));
	EXPECT_EQ(file->read(block, 10), 10);
	EXPECT_EQ(std::string(block, 10), whole.substr(0, 10));
	file->drop();

	// A missing file gives none.
	EXPECT_EQ(CGrowingReadFile::open((directory / "missing.txs").c_str(), 0, growth), nullptr);
}

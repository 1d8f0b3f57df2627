// Replacing a file's contents as the settings save does: the process's umask
// is left alone, and where the folder refuses the temporary file or the
// replacement would change the file's owner, a writable file is written in
// place. Folder permissions do not hold for root, so those cases run in a
// child process that has given up its privileges.

#include "FileReplacement.h"
#include "CTemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

int umaskCalls = 0;

} // end anonymous namespace

// Every umask call of the program lands here: the replacement must make none,
// as changing the mask for a moment changes it for every thread.
extern "C" mode_t umask(mode_t mask)
{
	++umaskCalls;
	return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

namespace
{

using vistel::platform::replaceFileContents;
using vistel::test::CTemporaryDirectory;
using vistel::test::readFile;
using vistel::test::writeFile;

const uid_t Nobody = 65534;

mode_t modeOf(const std::string& path)
{
	struct stat info;
	return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(PosixFileReplacement, NewFileGetsTheUmasksModeWithoutTouchingTheUmask)
{
	CTemporaryDirectory folder;
	const mode_t before = static_cast<mode_t>(::syscall(SYS_umask, 027));
	umaskCalls = 0;
	EXPECT_TRUE(replaceFileContents(folder / "vistel.cfg", "new", 3));
	EXPECT_EQ(umaskCalls, 0);
	EXPECT_EQ(static_cast<mode_t>(::syscall(SYS_umask, before)), mode_t(027));
	EXPECT_EQ(modeOf(folder / "vistel.cfg"), mode_t(0640));
	EXPECT_EQ(readFile(folder / "vistel.cfg"), "new");
	EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
		std::filesystem::directory_iterator()), 1) << "no temporary file stays behind";
}

TEST(PosixFileReplacement, SaveThatCannotBeDoneIsLogged)
{
	CTemporaryDirectory folder;
	testing::internal::CaptureStderr();
	EXPECT_FALSE(replaceFileContents(folder / "missing/vistel.cfg", "new", 3));
	const std::string log = testing::internal::GetCapturedStderr();
	EXPECT_NE(log.find(folder / "missing/vistel.cfg"), std::string::npos) << log;
	EXPECT_NE(log.find("could not be written"), std::string::npos) << log;
}

// Runs the replacement in a child process as the user nobody; its result.
bool replaceAsNobody(const std::string& path)
{
	const pid_t child = ::fork();
	if (child == 0)
	{
		if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
			::_exit(2);
		::_exit(replaceFileContents(path, "new", 3) ? 0 : 1);
	}
	int status = 0;
	if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
		return false;
	EXPECT_NE(WEXITSTATUS(status), 2) << "could not become nobody";
	return WEXITSTATUS(status) == 0;
}

TEST(PosixFileReplacement, WritableFileIsWrittenInPlaceWhereTheFolderRefusesTheReplacement)
{
	if (::geteuid() != 0)
		GTEST_SKIP() << "needs root to set up files of other users";
	struct SCase
	{
		const char* what;
		mode_t folderMode;
		uid_t fileOwner;   // of an existing file
		mode_t fileMode;   // 0: no file
		bool saved;
	};
	const SCase cases[] = {
		{"folder closed, file writable", 0755, Nobody, 0644, true},
		{"folder closed, file read-only", 0755, Nobody, 0444, false},
		{"folder closed, no file", 0755, Nobody, 0, false},
		// The replacement could not be handed to the file's owner.
		{"file of another owner, writable by all", 0777, 12345, 0666, true},
		{"folder open, no file", 0777, Nobody, 0, true},
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.what);
		CTemporaryDirectory root;
		ASSERT_EQ(::chmod(root.path().c_str(), 0755), 0);
		const std::string folder = root / "Plugins";
		const std::string path = folder + "/vistel.cfg";
		std::filesystem::create_directory(folder);
		if (c.fileMode)
		{
			writeFile(path, "old contents");
			ASSERT_EQ(::chown(path.c_str(), c.fileOwner, c.fileOwner), 0);
			ASSERT_EQ(::chmod(path.c_str(), c.fileMode), 0);
		}
		ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);

		EXPECT_EQ(replaceAsNobody(path), c.saved);
		EXPECT_EQ(readFile(path), c.saved ? "new" : c.fileMode ? "old contents" : "");
		struct stat info;
		if (c.fileMode)
		{
			ASSERT_EQ(::stat(path.c_str(), &info), 0);
			EXPECT_EQ(info.st_uid, c.fileOwner) << "the file keeps its owner";
			EXPECT_EQ(info.st_mode & 07777, c.fileMode);
		}
		EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
			std::filesystem::directory_iterator()), c.fileMode || c.saved ? 1 : 0);
	}
}

} // end anonymous namespace

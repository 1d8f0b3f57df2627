#include "FileReplacement.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistel
{
namespace platform
{

namespace
{

// The last component of a chain of symbolic links, so that the contents go
// to the file the link leads to and the link itself stays. A chain longer
// than the system's own limit is refused like a loop.
bool followLinks(std::string& path)
{
	for (int hops = 0; hops < 40; ++hops)
	{
		struct stat info;
		if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
			return true;
		char target[PATH_MAX];
		const ssize_t length = ::readlink(path.c_str(), target, sizeof(target) - 1);
		if (length <= 0)
			return false;
		target[length] = 0;
		if (target[0] == '/')
			path = target;
		else
		{
			const std::string::size_type slash = path.rfind('/');
			path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
		}
	}
	return false;
}

bool writeAll(int descriptor, const void* data, std::size_t size)
{
	const char* bytes = static_cast<const char*>(data);
	while (size > 0)
	{
		const ssize_t written = ::write(descriptor, bytes, size);
		if (written < 0 && errno == EINTR)
			continue;
		if (written <= 0)
			return false;
		bytes += written;
		size -= static_cast<std::size_t>(written);
	}
	return true;
}

} // end anonymous namespace

bool replaceFileContents(const std::string& path, const void* data, std::size_t size)
{
	std::string target = path;
	if (!followLinks(target))
		return false;

	struct stat existing;
	const bool exists = ::stat(target.c_str(), &existing) == 0;
	if (exists && (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0))
		return false;

	std::string temporary = target + ".XXXXXX";
	const int descriptor = ::mkstemp(&temporary[0]);
	if (descriptor < 0)
		return false;

	// mkstemp makes the file private; give it what the old file had, or what
	// a newly created file gets under the process's umask.
	mode_t mode;
	if (exists)
		mode = existing.st_mode & 07777;
	else
	{
		const mode_t mask = ::umask(0);
		::umask(mask);
		mode = 0666 & ~mask;
	}
	bool ok = ::fchmod(descriptor, mode) == 0;
	if (ok && exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()))
	{
		// Only a privileged process can hand the file back to its owner; an
		// unprivileged one could not have written another user's file anyway.
		if (::fchown(descriptor, existing.st_uid, existing.st_gid) != 0)
		{
		}
	}
	ok = ok && writeAll(descriptor, data, size) && ::fsync(descriptor) == 0;
	ok = (::close(descriptor) == 0) && ok;
	if (ok && ::rename(temporary.c_str(), target.c_str()) == 0)
		return true;
	::unlink(temporary.c_str());
	return false;
}

} // end namespace platform
} // end namespace vistel

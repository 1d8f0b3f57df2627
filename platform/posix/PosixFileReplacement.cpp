#include "FileReplacement.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistel
{
namespace platform
{

namespace
{

// The target of one symbolic link, or false when it cannot be read whole.
// A result that fills the buffer may have been cut short: the buffer grows
// and the link is read again.
bool readLink(const std::string& path, std::string& target)
{
	for (std::size_t size = PATH_MAX; size <= 16 * PATH_MAX; size *= 2)
	{
		target.assign(size, '\0');
		const ssize_t length = ::readlink(path.c_str(), &target[0], size);
		if (length <= 0)
			return false;
		if (static_cast<std::size_t>(length) < size)
		{
			target.resize(static_cast<std::size_t>(length));
			return true;
		}
	}
	return false;
}

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
		std::string target;
		if (!readLink(path, target))
			return false;
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

std::string getFolder(const std::string& path)
{
	const std::string::size_type slash = path.rfind('/');
	if (slash == std::string::npos)
		return ".";
	return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a rename in the folder last: without it a crash soon after the save
// can bring back the old file, or none. Some file systems cannot sync a
// folder; the contents are in place either way.
void syncFolder(const std::string& folder)
{
	const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (descriptor < 0)
		return;
	::fsync(descriptor);
	::close(descriptor);
}

// A new file beside the target, created with its mode by open itself
// (O_EXCL: never one that exists), so that the process's umask is neither
// read nor changed: another thread may create files meanwhile. -1 when the
// folder refuses it.
int createTemporaryFile(const std::string& target, mode_t mode, std::string& temporary)
{
	static unsigned long counter = 0;
	const unsigned long seed = static_cast<unsigned long>(::getpid()) * 2654435761ul
		^ static_cast<unsigned long>(std::time(nullptr));
	for (int attempt = 0; attempt < 100; ++attempt)
	{
		char suffix[32];
		std::snprintf(suffix, sizeof(suffix), ".%08lx", (seed + ++counter * 40503ul) & 0xFFFFFFFFul);
		temporary = target + suffix;
		const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
		if (descriptor >= 0 || errno != EEXIST)
			return descriptor;
	}
	return -1;
}

// The file's own owner and permissions for the temporary file that replaces
// it. Only a privileged process can hand a file to another owner: where that
// fails the replacement would change the file's owner, so it is not used.
bool matchExistingFile(int descriptor, const struct stat& existing)
{
	if (::fchmod(descriptor, existing.st_mode & 07777) != 0)
		return false;
	if (existing.st_uid == ::geteuid() && existing.st_gid == ::getegid())
		return true;
	return ::fchown(descriptor, existing.st_uid, existing.st_gid) == 0;
}

// The contents written over the file itself: not in one step, but what a
// plain overwrite does, where the folder allows nothing else.
bool writeInPlace(const std::string& target, const void* data, std::size_t size)
{
	const int descriptor = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
	if (descriptor < 0)
		return false;
	bool ok = writeAll(descriptor, data, size) && ::ftruncate(descriptor, static_cast<off_t>(size)) == 0
		&& ::fsync(descriptor) == 0;
	ok = (::close(descriptor) == 0) && ok;
	return ok;
}

enum EReplacement
{
	ER_DONE,
	ER_FAILED,
	// The folder refused the temporary file, or it could not be made the
	// file's equal: a plain overwrite may still work.
	ER_NOT_BESIDE
};

EReplacement replaceBeside(const std::string& target, const struct stat* existing, const void* data,
	std::size_t size)
{
	std::string temporary;
	const int descriptor = createTemporaryFile(target, existing ? existing->st_mode & 07777 : 0666, temporary);
	if (descriptor < 0)
		return ER_NOT_BESIDE;
	if (existing && !matchExistingFile(descriptor, *existing))
	{
		::close(descriptor);
		::unlink(temporary.c_str());
		return ER_NOT_BESIDE;
	}
	bool ok = writeAll(descriptor, data, size) && ::fsync(descriptor) == 0;
	ok = (::close(descriptor) == 0) && ok;
	if (ok && ::rename(temporary.c_str(), target.c_str()) == 0)
	{
		syncFolder(getFolder(target));
		return ER_DONE;
	}
	::unlink(temporary.c_str());
	return ER_FAILED;
}

bool replaceFollowedFile(const std::string& target, const void* data, std::size_t size)
{
	struct stat existing;
	const bool exists = ::stat(target.c_str(), &existing) == 0;
	if (exists && !S_ISREG(existing.st_mode))
	{
		errno = EINVAL;
		return false;
	}
	if (exists && ::access(target.c_str(), W_OK) != 0)
		return false;
	const EReplacement result = replaceBeside(target, exists ? &existing : nullptr, data, size);
	if (result == ER_NOT_BESIDE && exists)
		return writeInPlace(target, data, size);
	return result == ER_DONE;
}

} // end anonymous namespace

bool replaceFileContents(const std::string& path, const void* data, std::size_t size)
{
	std::string target = path;
	const bool done = followLinks(target) && replaceFollowedFile(target, data, size);
	if (!done)
	{
		// The caller goes on with what it holds in memory; the process's
		// error output keeps a trace of the save that did not happen.
		const int error = errno;
		std::fprintf(stderr, "vistel: %s could not be written (%s)\n", path.c_str(), std::strerror(error));
	}
	return done;
}

} // end namespace platform
} // end namespace vistel

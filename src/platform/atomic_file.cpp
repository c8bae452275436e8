#include "platform/atomic_file.h"

#include "platform/native_path.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnis {
namespace {

// A link at the path stays a link: the file it points at is the one replaced.
std::string resolveLink(const std::string& path) {
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.rfind('/');
    if (separator == std::string::npos)
        return ".";
    return separator == 0 ? std::string("/") : path.substr(0, separator);
}

std::string nameOf(const std::string& path) {
    const std::size_t separator = path.rfind('/');
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The temporary file is created exclusively, so a stale one from a crashed run or another
// process saving at the same moment is never written into; the mode goes through the
// umask like any new file's.
int createTemporary(const std::string& target, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = folderOf(target);
    const std::string prefix =
        (folder == "/" ? folder : folder + "/") + "." + nameOf(target) + ".tmp-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = prefix + std::to_string(::getpid()) + "-" +
                        std::to_string(counter.fetch_add(1, std::memory_order_relaxed));
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself survive a power loss; a folder that cannot be flushed does not
// undo a save that has already taken place.
void flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool saveFileAtomically(const std::string& gbkPath, std::string_view bytes) {
    if (gbkPath.empty())
        return false;
    const std::string target = resolveLink(nativePath(gbkPath));

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // Writing a file in place needs write access to it; a file the user made read-only
    // keeps its content, as it would if we opened it for writing.
    if (exists && (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0))
        return false;

    std::string temporaryPath;
    const int fd = createTemporary(target, temporaryPath);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes);
    if (ok && exists)
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporaryPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporaryPath.c_str());
        return false;
    }
    flushFolder(folderOf(target));
    return true;
}

} // namespace tarnis

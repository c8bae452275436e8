#include "download/local_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tarnis {

LocalFolder::LocalFolder(const std::string& path)
    : m_fd(::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

LocalFolder::~LocalFolder() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<std::int64_t> LocalFolder::entrySize(const std::string& name) const {
    struct stat info {};
    if (::fstatat(m_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return static_cast<std::int64_t>(info.st_size);
}

LocalFile::~LocalFile() {
    close();
}

LocalFile::OpenResult LocalFile::createNew(const LocalFolder& folder, const std::string& name) {
    close();
    m_fd = ::openat(folder.fd(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0644);
    if (m_fd < 0) {
        if (errno == EEXIST)
            return OpenResult::NameTaken;
        fail("cannot create the file");
        return OpenResult::Failed;
    }
    m_created = true;
    m_name = name;
    return OpenResult::Opened;
}

LocalFile::OpenResult LocalFile::openExisting(const LocalFolder& folder, const std::string& name) {
    close();
    m_fd = ::openat(folder.fd(), name.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd < 0) {
        fail("cannot open the existing file");
        return OpenResult::Failed;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        errno = EINVAL;
        fail("the existing entry is not a regular file");
        close();
        return OpenResult::Failed;
    }
    m_created = false;
    m_name = name;
    return OpenResult::Opened;
}

bool LocalFile::allocate(std::int64_t size) {
    if (size < 0) {
        errno = EFBIG;
        fail("the announced size cannot be held");
        return false;
    }
    // An existing file being reused may be longer than the new download.
    if (::ftruncate(m_fd, 0) != 0) {
        fail("cannot set the file size");
        return false;
    }
    if (size == 0)
        return true;

    struct statvfs space {};
    if (::fstatvfs(m_fd, &space) == 0) {
        const auto available = static_cast<unsigned long long>(space.f_bavail) * space.f_frsize;
        if (available < static_cast<unsigned long long>(size)) {
            errno = ENOSPC;
            fail("not enough free space for the file");
            return false;
        }
    }
    if (::fallocate(m_fd, 0, 0, static_cast<off_t>(size)) == 0)
        return true;
    if (errno != EOPNOTSUPP && errno != ENOSYS) {
        fail("cannot allocate the file");
        return false;
    }
    // Only where the file system cannot reserve space is the size merely set.
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) {
        fail("cannot set the file size");
        return false;
    }
    return true;
}

bool LocalFile::writeAt(const char* data, std::size_t size, std::int64_t offset) {
    while (size > 0) {
        const ssize_t written = ::pwrite(m_fd, data, size, static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot write the file");
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += written;
    }
    return true;
}

void LocalFile::cutTo(std::int64_t size) {
    if (m_fd >= 0 && ::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
        fail("cannot cut the file");
}

void LocalFile::discardCreated(const LocalFolder& folder) {
    if (m_fd < 0 || !m_created)
        return;
    close();
    ::unlinkat(folder.fd(), m_name.c_str(), 0);
}

void LocalFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void LocalFile::fail(const char* what) {
    m_error = std::string(what) + ": " + std::strerror(errno);
}

} // namespace tarnis

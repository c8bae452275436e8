#include "platform/file_reading.h"

#include "platform/native_path.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarnis {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

ReadStatus statusOfFailedOpen(int error) {
    return error == ENOENT || error == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
}

} // namespace

ReadStatus readRegularFileInChunks(const std::string& gbkPath,
                                   const std::function<bool(std::string_view)>& consume,
                                   std::size_t chunkSize) {
    if (gbkPath.empty())
        return ReadStatus::Missing;
    // O_NONBLOCK keeps a pipe at the path from stalling the open; such a file is refused
    // below anyway. Reading only: a list the user made read-only is read like any other.
    Descriptor file(::open(nativePath(gbkPath).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return statusOfFailedOpen(errno);
    struct stat entry {};
    if (::fstat(file.get(), &entry) != 0 || !S_ISREG(entry.st_mode))
        return ReadStatus::Failed;

    std::vector<char> buffer(chunkSize > 0 ? chunkSize : 1);
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return ReadStatus::Failed;
        }
        if (got == 0)
            return ReadStatus::Ok;
        if (!consume(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            return ReadStatus::Ok;
    }
}

FileContent readRegularFile(const std::string& gbkPath) {
    FileContent content;
    content.status = readRegularFileInChunks(gbkPath, [&content](std::string_view chunk) {
        content.bytes.append(chunk);
        return true;
    });
    if (content.status != ReadStatus::Ok)
        content.bytes.clear();
    return content;
}

} // namespace tarnis

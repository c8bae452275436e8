#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tarnis {

// The target folder of a download, held open so that every file is made inside it and a
// symbolic link planted there is never followed. Paths are UTF-8.
class LocalFolder {
public:
    explicit LocalFolder(const std::string& path);
    ~LocalFolder();
    LocalFolder(const LocalFolder&) = delete;
    LocalFolder& operator=(const LocalFolder&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // Size of whatever entry carries the name (a link is not followed); nothing when free.
    std::optional<std::int64_t> entrySize(const std::string& name) const;

private:
    int m_fd = -1;
};

// One downloaded file, written at positions. Its own outcome texts explain failures.
class LocalFile {
public:
    enum class OpenResult { Opened, NameTaken, Failed };

    LocalFile() = default;
    ~LocalFile();
    LocalFile(const LocalFile&) = delete;
    LocalFile& operator=(const LocalFile&) = delete;

    // A new file of that name, never an existing one and never through a link.
    OpenResult createNew(const LocalFolder& folder, const std::string& name);
    // The existing regular file of that name, on the caller's explicit choice to reuse it.
    OpenResult openExisting(const LocalFolder& folder, const std::string& name);

    // Reserves the whole size on disk, so a full disk fails now and not halfway.
    bool allocate(std::int64_t size);
    bool writeAt(const char* data, std::size_t size, std::int64_t offset);
    // Cuts the file so its size tells how much of it is real.
    void cutTo(std::int64_t size);
    // Removes a file this object created that holds nothing yet.
    void discardCreated(const LocalFolder& folder);
    void close();

    bool isOpen() const { return m_fd >= 0; }
    const std::string& error() const { return m_error; }

private:
    void fail(const char* what);

    int m_fd = -1;
    bool m_created = false;
    std::string m_name;
    std::string m_error;
};

} // namespace tarnis

#pragma once

#include <string>

namespace tarnis::test {

// A fresh folder under the system's temporary folder, removed with all it holds.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, without a trailing '/'.
    const std::string& path() const { return m_path; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string m_path;
};

std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& content);

// Content of the given size that differs from byte to byte and from file to file.
std::string patternedContent(std::size_t size, unsigned seed = 1);

} // namespace tarnis::test

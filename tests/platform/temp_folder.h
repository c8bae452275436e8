#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnis::test {

// A fresh folder on the real disk for one test, removed with everything in it afterwards.
// Paths are ASCII, so they are the same in GBK and UTF-8.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const; // path() + "/" + name

    void write(std::string_view name, std::string_view bytes) const;
    std::optional<std::string> read(std::string_view name) const;
    // Names of the entries in the folder, sorted; shows leftovers such as temporary files.
    std::vector<std::string> entries() const;

private:
    std::string m_path;
};

// The whole content of a file by its native path, or nothing when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& nativePath);
void writeFileBytes(const std::string& nativePath, std::string_view bytes);

} // namespace tarnis::test

#include "platform/program_directory.h"

#include "platform/gbk_text.h"
#include "platform/native_path.h"

#include <unistd.h>
#include <vector>

namespace tarnis {

std::string programFilePath() {
    // readlink does not say how long the link is, so grow the buffer until it fits.
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return utf8ToGbk(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
        buffer.resize(buffer.size() * 2);
    }
}

std::string directoryOfProgramFile(const std::string& programFile) {
    const std::size_t separator = findLastAsciiChar(programFile, '/');
    if (separator == std::string::npos)
        return {};
    return programFile.substr(0, separator);
}

std::string programDirectory() {
    return directoryOfProgramFile(programFilePath());
}

bool enterProgramDirectory(const std::string& directory) {
    const std::string path = directory.empty() ? std::string("/") : nativePath(directory);
    return ::chdir(path.c_str()) == 0;
}

} // namespace tarnis

#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tarnis {

enum class ReadStatus {
    Ok,
    Missing, // nothing at the path (or the path runs through something that is no folder)
    Failed,  // something is there but it is not a readable regular file
};

struct FileContent {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
};

// Reads a regular file whole. Only regular files are read: a folder, a device or a pipe
// would block, never end or mean nothing as settings, so they count as Failed.
FileContent readRegularFile(const std::string& gbkPath);

// Hands a regular file to `consume` in chunks of at most `chunkSize` bytes, in order, until
// the end or until `consume` returns false, so a file of any size is read in bounded memory.
ReadStatus readRegularFileInChunks(const std::string& gbkPath,
                                   const std::function<bool(std::string_view)>& consume,
                                   std::size_t chunkSize = 64 * 1024);

} // namespace tarnis

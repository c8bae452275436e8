#pragma once

#include <cstdint>
#include <string>

namespace tarnis {

// The size in bytes that the file system's directory entry reports for the GBK path;
// -1 when nothing is found, including for the empty path.
std::int64_t fileSizeOf(const std::string& gbkPath);

} // namespace tarnis

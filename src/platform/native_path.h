#pragma once

#include <string>

namespace tarnis {

// The form of a GBK path that the file system calls take (UTF-8 on Linux). Bytes that are
// not valid GBK become U+FFFD, so such a path names a file that will usually not exist.
std::string nativePath(const std::string& gbkPath);

} // namespace tarnis

#include "platform/file_size.h"

#include "platform/gbk_text.h"

#include <sys/stat.h>

namespace tarnis {

std::int64_t fileSizeOf(const std::string& gbkPath) {
    if (gbkPath.empty())
        return -1;
    struct stat info {};
    if (::stat(gbkToUtf8(gbkPath).c_str(), &info) != 0)
        return -1;
    return static_cast<std::int64_t>(info.st_size);
}

} // namespace tarnis

#include "platform/file_size.h"

#include "platform/native_path.h"

#include <sys/stat.h>

namespace tarnis {

std::int64_t fileSizeOf(const std::string& gbkPath) {
    if (gbkPath.empty())
        return -1;
    struct stat entry {};
    if (::stat(nativePath(gbkPath).c_str(), &entry) != 0)
        return -1;
    // A folder's entry carries no byte count of its own (the number stat gives is the size
    // of its block list), so it reports 0 like any entry without content.
    if (!S_ISREG(entry.st_mode))
        return 0;
    return static_cast<std::int64_t>(entry.st_size);
}

} // namespace tarnis

#include "platform/native_path.h"

#include "platform/gbk_text.h"

namespace tarnis {

std::string nativePath(const std::string& gbkPath) {
    return gbkToUtf8(gbkPath);
}

} // namespace tarnis

#include "output_file.h"

#include <filesystem>
#include <system_error>

namespace tarnis::gifgen {

std::string partialPath(const std::string& path) {
    return path + ".partial";
}

bool commitPartial(const std::string& partial, const std::string& path, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code code;
    // giflib creates its files readable by the owner only; the pictures are for everyone.
    fs::permissions(partial,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::others_read,
                    code);
    if (!code) {
        fs::rename(partial, path, code);
    }
    if (code) {
        error = path + ": " + code.message();
        discardPartial(partial);
        return false;
    }
    return true;
}

void discardPartial(const std::string& partial) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
}

} // namespace tarnis::gifgen

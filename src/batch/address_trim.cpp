#include "batch/address_trim.h"

#include "platform/gbk_text.h"

namespace tarnis {
namespace {

// Length of the space character at `pos`, or 0 when the character there is no space.
std::size_t spaceLength(std::string_view text, std::size_t pos) {
    if (text[pos] == ' ')
        return 1;
    if (pos + 1 < text.size() && text[pos] == '\xA1' && text[pos + 1] == '\xA1')
        return 2;
    return 0;
}

} // namespace

std::string trimAddress(std::string_view address) {
    std::size_t begin = 0;
    std::size_t end = 0; // one past the last character that is not a space
    bool leading = true;
    for (std::size_t pos = 0; pos < address.size(); pos = nextCharPos(address, pos)) {
        if (spaceLength(address, pos) > 0) {
            if (leading)
                begin = nextCharPos(address, pos);
            continue;
        }
        leading = false;
        end = nextCharPos(address, pos);
    }
    return end > begin ? std::string(address.substr(begin, end - begin)) : std::string();
}

} // namespace tarnis

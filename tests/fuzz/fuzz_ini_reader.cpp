// Any bytes as a settings file, with a section, key and value cut from the input: reading
// must not fail, and an entry the writer accepts must read back as written, whatever
// the file held before.

#include "platform/gbk_text.h"
#include "platform/ini_profile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool endsInsideCharacter(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (tarnis::isLeadByte(text[pos]) && pos + 1 == text.size())
            return true;
        pos = tarnis::nextCharPos(text, pos);
    }
    return false;
}

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::string_view take(std::string_view& input, std::size_t count) {
    const std::string_view part = input.substr(0, count);
    input.remove_prefix(part.size());
    return part;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string kSection = "ZELM";
    static const std::string kListKey = tarnis::utf8ToGbk("下载文件地址路径");

    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::uint8_t lengths = input.empty() ? 0 : static_cast<std::uint8_t>(input[0]);
    const std::uint8_t valueLength = input.size() < 2 ? 0 : static_cast<std::uint8_t>(input[1]);
    take(input, 2);
    const std::string_view section = (lengths & 0x80) ? take(input, lengths & 0x07) : kSection;
    const std::string_view key = take(input, (lengths >> 3) & 0x0F);
    const std::string_view value = take(input, valueLength % 64);
    const std::string_view file = input;

    check(tarnis::profileStringIn(file, kSection, kListKey).size() <=
          tarnis::kProfileValueMaxBytes);
    check(tarnis::profileStringIn(file, section, key).size() <= tarnis::kProfileValueMaxBytes);

    const auto written = tarnis::withProfileString(file, section, key, value);
    if (!written)
        return 0;
    if (!endsInsideCharacter(value))
        check(tarnis::profileStringIn(*written, section, key) == value);
    // Writing the same entry again finds it where it now stands and changes nothing.
    check(tarnis::withProfileString(*written, section, key, value) == *written);
    return 0;
}

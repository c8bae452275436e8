#include "platform/gbk_text.h"

#include <cerrno>
#include <iconv.h>

namespace tarnis {
namespace {

// One converter per thread and direction: iconv descriptors carry shift state and must not
// be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Converter() {
        if (m_handle != invalidHandle())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(std::string_view input, std::string_view replacement) {
        std::string output;
        if (m_handle == invalidHandle())
            return output;
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        output.reserve(input.size() * 3 / 2 + 4);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(m_handle, &in, &inLeft, &out, &outLeft);
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            if (result != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated at the end): replace one byte and go on.
            output.append(replacement);
            ++in;
            --inLeft;
        }
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        iconv(m_handle, nullptr, nullptr, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        return output;
    }

private:
    static iconv_t invalidHandle() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t m_handle;
};

constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
constexpr std::string_view kGb18030Replacement = "\x84\x31\xA4\x37";

} // namespace

std::string gbkToUtf8(std::string_view gbk) {
    thread_local Converter converter("UTF-8", "GB18030");
    return converter.convert(gbk, kUtf8Replacement);
}

std::string utf8ToGbk(std::string_view utf8) {
    thread_local Converter converter("GB18030", "UTF-8");
    return converter.convert(utf8, kGb18030Replacement);
}

std::size_t findLastAsciiChar(std::string_view text, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size(); pos = nextCharPos(text, pos)) {
        if (text[pos] == c)
            found = pos;
    }
    return found;
}

inline namespace literals {
std::string operator""_gbk(const char* utf8, std::size_t size) {
    return utf8ToGbk(std::string_view(utf8, size));
}
} // namespace literals

} // namespace tarnis

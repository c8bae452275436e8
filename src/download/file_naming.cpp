#include "download/file_naming.h"

#include "download/url_text.h"
#include "platform/gbk_text.h"

#include <cctype>
#include <vector>

namespace tarnis {
namespace {

// Room below the usual 255-byte limit for a "(99)" and some slack.
constexpr std::size_t kMaxNameBytes = 240;
// Longer tails after the last '.' are not treated as an extension worth keeping.
constexpr std::size_t kMaxKeptExtensionBytes = 32;

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string percentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string latin1ToUtf8(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xc0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3f));
        }
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xc2 && lead <= 0xdf)
            length = 2;
        else if (lead >= 0xe0 && lead <= 0xef)
            length = 3;
        else if (lead >= 0xf0 && lead <= 0xf4)
            length = 4;
        else
            return false;
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

// Largest cut at or below `limit` that does not split a UTF-8 sequence.
std::size_t utf8CutPoint(std::string_view text, std::size_t limit) {
    if (limit >= text.size())
        return text.size();
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xc0) == 0x80)
        --limit;
    return limit;
}

// The parameters of a header value: name and value pairs, quoted values unescaped.
std::vector<std::pair<std::string, std::string>> headerParameters(std::string_view value) {
    std::vector<std::pair<std::string, std::string>> params;
    std::size_t i = 0;
    while (i < value.size()) {
        const std::size_t nameEnd = value.find_first_of("=;", i);
        if (nameEnd == std::string_view::npos)
            break;
        std::string name(trimBlanks(value.substr(i, nameEnd - i)));
        if (value[nameEnd] == ';') {
            i = nameEnd + 1;
            continue;
        }
        std::size_t j = nameEnd + 1;
        while (j < value.size() && value[j] == ' ')
            ++j;
        std::string parsed;
        if (j < value.size() && value[j] == '"') {
            ++j;
            while (j < value.size() && value[j] != '"') {
                // Only \" and \\ are escapes: senders that write Windows paths raw mean
                // their backslashes literally.
                if (value[j] == '\\' && j + 1 < value.size() &&
                    (value[j + 1] == '"' || value[j + 1] == '\\'))
                    ++j;
                parsed += value[j++];
            }
            const std::size_t next = value.find(';', j);
            i = next == std::string_view::npos ? value.size() : next + 1;
        } else {
            const std::size_t next = value.find(';', j);
            const std::size_t end = next == std::string_view::npos ? value.size() : next;
            parsed = std::string(trimBlanks(value.substr(j, end - j)));
            i = end + 1;
        }
        params.emplace_back(std::move(name), std::move(parsed));
    }
    return params;
}

// RFC 5987: charset'language'percent-encoded-bytes.
std::string decodeExtendedValue(std::string_view value) {
    const std::size_t first = value.find('\'');
    const std::size_t second =
        first == std::string_view::npos ? first : value.find('\'', first + 1);
    if (second == std::string_view::npos)
        return nameBytesAsUtf8(percentDecode(value));
    const std::string_view charset = value.substr(0, first);
    const std::string bytes = percentDecode(value.substr(second + 1));
    if (equalsNoCase(charset, "iso-8859-1"))
        return latin1ToUtf8(bytes);
    if (equalsNoCase(charset, "gbk") || equalsNoCase(charset, "gb2312") ||
        equalsNoCase(charset, "gb18030"))
        return gbkToUtf8(bytes);
    return nameBytesAsUtf8(bytes);
}

} // namespace

std::string nameBytesAsUtf8(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : gbkToUtf8(bytes);
}

std::string fileNameFromContentDisposition(std::string_view headerValue) {
    std::string plain;
    for (const auto& [name, value] : headerParameters(headerValue)) {
        if (equalsNoCase(name, "filename*")) {
            std::string decoded = decodeExtendedValue(value);
            if (!decoded.empty())
                return decoded;
        } else if (equalsNoCase(name, "filename") && plain.empty()) {
            plain = nameBytesAsUtf8(value);
        }
    }
    return plain;
}

std::string safeFileName(std::string_view name) {
    const std::size_t separator = name.find_last_of("/\\");
    if (separator != std::string_view::npos)
        name.remove_prefix(separator + 1);

    std::string cleaned;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f)
            cleaned += c;
    }
    // Leading dots would hide the file (or make it "." or ".."); blanks around a name are
    // never meant.
    std::string_view view = trimBlanks(cleaned);
    while (!view.empty() && (view.front() == '.' || view.front() == ' '))
        view.remove_prefix(1);
    view = trimBlanks(view);
    std::string result(view);

    if (result.size() > kMaxNameBytes) {
        const std::size_t dot = result.rfind('.');
        const std::string extension =
            dot != std::string::npos && result.size() - dot <= kMaxKeptExtensionBytes
                ? result.substr(dot)
                : std::string();
        const std::size_t stemLimit = kMaxNameBytes - extension.size();
        result = result.substr(0, utf8CutPoint(result, stemLimit)) + extension;
    }
    return result;
}

std::string chooseDownloadName(std::string_view contentDisposition, std::string_view finalUrl) {
    if (!contentDisposition.empty()) {
        std::string fromServer = safeFileName(fileNameFromContentDisposition(contentDisposition));
        if (!fromServer.empty())
            return fromServer;
    }
    std::string fromAddress = safeFileName(nameBytesAsUtf8(lastPathSegment(finalUrl)));
    if (!fromAddress.empty())
        return fromAddress;
    return "index.html";
}

std::optional<std::string> nextNumberedName(std::string_view name) {
    const std::size_t dot = name.find('.');
    std::string_view stem = name.substr(0, dot == std::string_view::npos ? name.size() : dot);
    const std::string_view tail = dot == std::string_view::npos ? "" : name.substr(dot);

    int number = 1;
    if (stem.size() >= 3 && stem.back() == ')') {
        const std::size_t open = stem.rfind('(');
        const std::string_view digits =
            open == std::string_view::npos ? "" : stem.substr(open + 1, stem.size() - open - 2);
        const bool allDigits = !digits.empty() && digits.size() <= 3 &&
                               digits.find_first_not_of("0123456789") == std::string_view::npos;
        if (allDigits) {
            number = std::stoi(std::string(digits)) + 1;
            stem = stem.substr(0, open);
        }
    }
    if (number >= 100)
        return std::nullopt;
    return std::string(stem) + "(" + std::to_string(number) + ")" + std::string(tail);
}

} // namespace tarnis

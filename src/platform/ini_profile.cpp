#include "platform/ini_profile.h"

#include "platform/atomic_file.h"
#include "platform/file_reading.h"
#include "platform/gbk_text.h"

namespace tarnis {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares by characters so that the trail byte of a double-byte character is never
// folded: 0x81 0x41 and 0x81 0x61 are different characters, not two cases of one.
bool namesMatch(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t pos = 0; pos < a.size();) {
        const std::size_t next = nextCharPos(a, pos);
        if (next - pos == 1) {
            if (asciiLower(a[pos]) != asciiLower(b[pos]))
                return false;
        } else if (a.substr(pos, next - pos) != b.substr(pos, next - pos)) {
            return false;
        }
        pos = next;
    }
    return true;
}

// Blanks are single-byte characters only; the walk finds where the last character that
// is not a blank ends, so a trail byte that happens to equal a blank is kept.
std::string_view trimBlanks(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    std::size_t end = begin;
    for (std::size_t pos = begin; pos < text.size();) {
        const std::size_t next = nextCharPos(text, pos);
        if (next - pos > 1 || !isBlank(text[pos]))
            end = next;
        pos = next;
    }
    return text.substr(begin, end - begin);
}

// Position of the first character equal to the ASCII `c`, walking characters.
std::size_t findAsciiChar(std::string_view text, char c) {
    for (std::size_t pos = 0; pos < text.size(); pos = nextCharPos(text, pos)) {
        if (text[pos] == c)
            return pos;
    }
    return std::string_view::npos;
}

// One matching pair of quotes around the whole value goes; a quote is a single-byte
// character, so the closing one must start a character of its own.
std::string_view unquote(std::string_view value) {
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\''))
        return value;
    std::size_t lastStart = 0;
    for (std::size_t pos = 0; pos < value.size(); pos = nextCharPos(value, pos))
        lastStart = pos;
    if (lastStart != value.size() - 1 || value.back() != value.front())
        return value;
    return value.substr(1, value.size() - 2);
}

enum class LineKind { Blank, Comment, Section, Entry, Other };

struct Line {
    std::size_t begin = 0; // first byte of the line in the file
    std::size_t next = 0;  // first byte of the following line (after the LF), or the file size
    bool terminated = false;
    LineKind kind = LineKind::Other;
    std::string_view name;  // section name or key, blanks trimmed
    std::string_view value; // text after '=' of an entry, untrimmed
};

Line classify(std::string_view file, std::size_t begin) {
    Line line;
    line.begin = begin;
    const std::size_t lf = file.find('\n', begin);
    line.terminated = lf != std::string_view::npos;
    line.next = line.terminated ? lf + 1 : file.size();
    std::string_view text = file.substr(begin, (line.terminated ? lf : file.size()) - begin);
    // The CR of a CR LF is part of the line end, not a trail byte of the last character.
    if (line.terminated && !text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    if (begin == 0 && text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        text.remove_prefix(kUtf8Bom.size());

    const std::string_view body = trimBlanks(text);
    if (body.empty()) {
        line.kind = LineKind::Blank;
    } else if (body.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (body.front() == '[') {
        const std::string_view inside = body.substr(1);
        const std::size_t close = findAsciiChar(inside, ']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trimBlanks(inside.substr(0, close));
        }
    } else if (const std::size_t equals = findAsciiChar(body, '=');
               equals != std::string_view::npos) {
        line.kind = LineKind::Entry;
        line.name = trimBlanks(body.substr(0, equals));
        line.value = body.substr(equals + 1);
    }
    return line;
}

// Where the first section of the name and, within it, the first entry of the key are.
struct Location {
    std::optional<Line> section;
    std::optional<Line> entry;
    Line lastNonBlankOfSection; // valid when the section was found
};

Location locate(std::string_view file, std::string_view section, std::string_view key) {
    section = trimBlanks(section);
    key = trimBlanks(key);
    Location found;
    bool inSection = false;
    for (std::size_t begin = 0; begin < file.size();) {
        const Line line = classify(file, begin);
        begin = line.next;
        if (line.kind == LineKind::Section) {
            if (inSection)
                break;
            if (!namesMatch(line.name, section))
                continue;
            inSection = true;
            found.section = line;
            found.lastNonBlankOfSection = line;
            continue;
        }
        if (!inSection)
            continue;
        if (line.kind != LineKind::Blank)
            found.lastNonBlankOfSection = line;
        if (line.kind == LineKind::Entry && namesMatch(line.name, key)) {
            found.entry = line;
            break;
        }
    }
    return found;
}

bool holdsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// A lone lead byte at the end would pair with the ']' or '=' written after it.
bool endsInsideCharacter(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (isLeadByte(text[pos]) && pos + 1 == text.size())
            return true;
        pos = nextCharPos(text, pos);
    }
    return false;
}

bool canBeWritten(std::string_view section, std::string_view key, std::string_view value) {
    if (trimBlanks(section).empty() || trimBlanks(key).empty())
        return false;
    if (endsInsideCharacter(section) || endsInsideCharacter(key))
        return false;
    if (holdsLineBreakOrNul(section) || holdsLineBreakOrNul(key) || holdsLineBreakOrNul(value))
        return false;
    if (findAsciiChar(section, ']') != std::string_view::npos)
        return false;
    if (findAsciiChar(key, '=') != std::string_view::npos)
        return false;
    const std::string_view keyBody = trimBlanks(key);
    return !keyBody.empty() && keyBody.front() != ';' && keyBody.front() != '[';
}

// Reading trims blanks and takes off one pair of quotes, so a value that begins or ends with
// a blank, or is itself quoted, would come back changed (a folder name on Linux may end
// in a blank). Only such a value is written inside quotes; every other value goes byte for
// byte. A value ending in a lone lead byte cannot be quoted: the byte would take the quote.
bool needsQuotes(std::string_view value) {
    return unquote(trimBlanks(value)) != value && !endsInsideCharacter(value);
}

} // namespace

std::string profileStringIn(std::string_view fileBytes, std::string_view section,
                            std::string_view key) {
    const Location found = locate(fileBytes, section, key);
    if (!found.entry)
        return {};
    const std::string_view value = unquote(trimBlanks(found.entry->value));
    return std::string(value.substr(0, kProfileValueMaxBytes));
}

std::optional<std::string> withProfileString(std::string_view fileBytes, std::string_view section,
                                             std::string_view key, std::string_view value) {
    if (!canBeWritten(section, key, value))
        return std::nullopt;
    std::string entryLine;
    entryLine.append(key).append("=");
    if (needsQuotes(value))
        entryLine.append("\"").append(value).append("\"");
    else
        entryLine.append(value);
    entryLine.append(kLineEnd);

    const Location found = locate(fileBytes, section, key);
    std::string result;
    result.reserve(fileBytes.size() + entryLine.size() + section.size() + 4);
    if (found.entry) {
        result.append(fileBytes.substr(0, found.entry->begin));
        result.append(entryLine);
        result.append(fileBytes.substr(found.entry->next));
    } else if (found.section) {
        const Line& after = found.lastNonBlankOfSection;
        result.append(fileBytes.substr(0, after.next));
        if (!after.terminated)
            result.append(kLineEnd);
        result.append(entryLine);
        result.append(fileBytes.substr(after.next));
    } else {
        result.append(fileBytes);
        if (!result.empty() && result.back() != '\n')
            result.append(kLineEnd);
        result.append("[").append(section).append("]").append(kLineEnd);
        result.append(entryLine);
    }
    return result;
}

std::string readProfileString(std::string_view section, std::string_view key,
                              const std::string& gbkFilePath) {
    const FileContent file = readRegularFile(gbkFilePath);
    if (file.status != ReadStatus::Ok)
        return {};
    return profileStringIn(file.bytes, section, key);
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& gbkFilePath) {
    const FileContent file = readRegularFile(gbkFilePath);
    // A file that is there but cannot be read is left alone rather than replaced by one
    // that holds only the new entry.
    if (file.status == ReadStatus::Failed)
        return false;
    const std::optional<std::string> updated = withProfileString(file.bytes, section, key, value);
    if (!updated)
        return false;
    return saveFileAtomically(gbkFilePath, *updated);
}

} // namespace tarnis

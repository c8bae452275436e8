#pragma once

// The program keeps every text as a GBK byte string (code page 936). Conversion to
// Unicode happens only at the edges: where Qt draws a text and where a path reaches the
// file system. GB18030 is used for both directions because it is a superset of GBK that
// can carry any Unicode character a file name may hold.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnis {

// Invalid or truncated GBK sequences become U+FFFD; never throws.
std::string gbkToUtf8(std::string_view gbk);

// Invalid UTF-8 sequences become the GB18030 form of U+FFFD; never throws.
std::string utf8ToGbk(std::string_view utf8);

// A byte from 0x80 to 0xFF starts a double-byte character; its partner is never a
// delimiter of its own. This is the one rule every byte walker of the program uses.
constexpr bool isLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// Position of the character after the one that starts at `pos` (clamped to the size).
constexpr std::size_t nextCharPos(std::string_view text, std::size_t pos) {
    const std::size_t step = isLeadByte(text[pos]) ? 2 : 1;
    return pos + step < text.size() ? pos + step : text.size();
}

// Position of the last character equal to the ASCII `c`, walking characters so that the
// trail byte of a double-byte character is never taken for it; npos when there is none.
std::size_t findLastAsciiChar(std::string_view text, char c);

inline namespace literals {
// "等候指令……"_gbk: the program's fixed texts are written in UTF-8 in the source and
// turned into GBK once, where they are used.
std::string operator""_gbk(const char* utf8, std::size_t size);
} // namespace literals

} // namespace tarnis

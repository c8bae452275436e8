#pragma once

// Reading and writing single entries of an INI file, the way the classic Windows profile
// functions do it, on GBK byte strings. A file looks like
//
//     [Section]\r\n
//     key=value\r\n
//
// The conventions, which files written by other tools may rely on:
// - A line ends at LF, always (also after a byte from 0x80 to 0xFF); one CR before it
//   belongs to the line end. Lines written here end
//   with CR LF; lines already in the file keep their bytes and their own line ends.
// - Section and key names match without regard to the case of ASCII letters; every other
//   byte (also both bytes of a double-byte character) must match exactly. Blanks around
//   a key, a value and a section name inside its brackets do not count.
// - A line whose first non-blank byte is ';' is a comment. A line that is neither a
//   section line, nor a comment, nor holds '=' (or starts with '[' but has no ']') is
//   no entry: it is never found, and writing keeps it as it stands.
// - Lines before the first section belong to no section.
// - When a section name or a key occurs more than once, the first one counts, for
//   reading and for writing; the later ones are kept but never looked at.
// - A UTF-8 byte-order mark at the very start is skipped when reading and kept when
//   writing; no byte-order mark is ever written.
// - A value is the text after the first '=' of its line with blanks (space, tab, CR,
//   VT, FF) trimmed on both sides, and with one matching pair of double or single quotes
//   around it removed. It is cut to its first kProfileValueMaxBytes bytes.
// The walk over a line always goes by characters: a byte from 0x80 to 0xFF and the byte
// after it are one character, so a trail byte never acts as ']', '=' or a blank.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarnis {

// Longest value handed back; the rest of a longer value is dropped.
inline constexpr std::size_t kProfileValueMaxBytes = 10239;

// The value of `key` in `section` of the file; empty when the file, the section or the key
// is missing, or the file cannot be read.
std::string readProfileString(std::string_view section, std::string_view key,
                              const std::string& gbkFilePath);

// Stores `value` byte for byte under `key` in `section`, without quotes unless it begins or
// ends with a blank or is itself enclosed in quotes: then it is written inside double
// quotes, so that it reads back exactly as given.
// - a missing file is created holding the section line and the entry line;
// - a key already in the section has its line replaced where it stands;
// - a new key goes after the last non-blank line of the section;
// - a new section goes, with the entry, at the end of the file.
// Every other line stays as it was. The file is replaced as one step (see atomic_file.h).
// False, with the file unchanged, when it cannot be read or written, or when the entry
// cannot be expressed in the format: an empty (or all blank) section or key, a line end or
// NUL in any of the three, ']' in the section name, '=' in the key, a key starting with ';'
// or '[', or a section or key ending in the first byte of a double-byte character.
bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& gbkFilePath);

// The same two operations on the bytes of a file, for the ones above and for testing.
std::string profileStringIn(std::string_view fileBytes, std::string_view section,
                            std::string_view key);
// The new bytes of the file, or nothing when the entry cannot be expressed (see above).
std::optional<std::string> withProfileString(std::string_view fileBytes, std::string_view section,
                                             std::string_view key, std::string_view value);

} // namespace tarnis

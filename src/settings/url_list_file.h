#pragma once

// The address-list file: GBK text, one address a line. Reading goes by these rules:
// - a line ends at LF, which is not part of it, and one CR before the LF is removed, so
//   CR LF and a lone LF both end a line; a CR anywhere else stays in the line;
// - a byte from 0x80 to 0xFF and the byte after it are one character, and that second
//   byte never ends a line; such a byte as the very last byte stays at the end of the
//   last line;
// - a 0x00 or 0x1A that is not the second byte of a character ends the text: the bytes
//   before it on its line are the last line read; a lead byte directly before 0x00 is
//   dropped and the 0x00 ends the text;
// - empty lines are skipped; every other line is kept byte for byte (blanks, a
//   byte-order mark at the start, anything);
// - lines have no length limit.
// Writing puts CR LF after every item, the last one included.

#include <string>
#include <string_view>
#include <vector>

namespace tarnis {

// The non-empty lines of a whole list file.
std::vector<std::string> readUrlListLines(std::string_view fileBytes);

// Reads the list a piece at a time, so a file of any size need not be held twice; feeding
// the bytes in any split gives the same lines as readUrlListLines on all of them.
class UrlListReader {
public:
    void feed(std::string_view bytes);
    // Ends the last line; call once, after the last feed.
    std::vector<std::string> finish();
    // True once the text has ended (0x00 or 0x1A); further bytes are ignored.
    bool ended() const { return m_ended; }

private:
    void endLine();

    std::vector<std::string> m_lines;
    std::string m_line;
    bool m_pendingLead = false; // m_leadByte waits for the byte that completes it
    char m_leadByte = 0;
    bool m_ended = false;
};

// The bytes of the list file for `items`: each item followed by CR LF.
std::string joinUrlList(const std::vector<std::string>& items);

} // namespace tarnis

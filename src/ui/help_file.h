#pragma once

#include <string>

namespace tarnis {

// The help file that belongs to a program file: its extension replaced by "hlp"
// ("/opt/tool.exe" gives "/opt/tool.hlp"), or ".hlp" appended when the name has none.
// GBK in and out.
std::string helpFilePathFor(const std::string& programFile);

// Opens the help file with the desktop's default viewer when it exists; otherwise
// does nothing. Answers whether a viewer was asked to open it.
bool openHelpFile(const std::string& helpFile);

} // namespace tarnis

#pragma once

#include <string>

namespace tarnis {

// The folder that holds the running program file (read from /proc/self/exe), as a GBK
// text without a trailing separator. The path is cut at its last '/' walking characters,
// so a program at the root gives the empty text and its settings file is "/ZELM.ini".
std::string programDirectory();

// The program file's own full path as a GBK text (used to name the help file).
std::string programFilePath();

// Cuts a program file path at its last separator, walking characters; a path without any
// separator gives the empty text.
std::string directoryOfProgramFile(const std::string& programFile);

// Makes `directory` the process's current directory, so relative paths in the settings
// resolve against it; the empty text (the root's directory) means "/". False when the
// folder cannot be entered (callers may ignore it: the settings then resolve elsewhere).
bool enterProgramDirectory(const std::string& directory);

} // namespace tarnis

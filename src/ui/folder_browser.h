#pragma once

#include <functional>
#include <string>

namespace tarnis {

// The folder picker the settings window asks. Given a GBK prompt, it answers the chosen
// folder as a GBK path: the root with its trailing '/', any other folder without one, and
// the empty text when the user cancels.
using FolderBrowser = std::function<std::string(const std::string& prompt)>;

// Asks the installed picker; by default Qt's folder dialog, modal to the whole program.
std::string browseForFolder(const std::string& prompt);

// Replaces the picker (tests answer it themselves); an empty function restores the dialog.
void setFolderBrowser(FolderBrowser browser);

// The dialog itself: folders only, browsable up to the root, with a field to type a name.
std::string browseWithFolderDialog(const std::string& prompt);

// A path as the picker answers it: trailing separators cut, except the root's own.
std::string normalizedFolderPath(std::string path);

} // namespace tarnis

#pragma once

#include <string>

namespace tarnis {

// A plain message box: the GBK text, title "信息：", one OK button, no icon, no owner
// window, modal to the whole program. Runs the event loop until the user closes it.
void showPlainMessage(const std::string& text);

// The Yes/No question with a question icon, Yes the default; true on Yes.
bool askYesNoQuestion(const std::string& text, const std::string& title);

} // namespace tarnis

#pragma once

#include <QDialog>

#include <string>

namespace tarnis {

// Opens the about window modally and returns when it has closed.
void runAboutWindow();

// The about text, line by line, each line ending in CR LF (GBK).
std::string aboutText();

// The program's name and version beside the dancing skeleton, and an OK button. Built
// afresh at every opening; it reads and changes nothing outside itself.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    void onAboutOkClicked();
};

} // namespace tarnis

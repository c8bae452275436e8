#pragma once

#include <QMessageBox>
#include <QString>
#include <QWidget>

#include <functional>
#include <stdexcept>
#include <vector>

namespace tarnis::testing {

// What a message box showed while a test action ran.
struct ShownMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    bool hasOkButton = false;
    bool hasOwner = true;
    Qt::WindowModality modality = Qt::NonModal;
};

// Runs the action and answers every message box it opens with OK (or by closing it),
// recording each box as it was shown.
std::vector<ShownMessage> answerMessages(const std::function<void()>& action);

// Runs the opener, which is expected to run a modal window; once that window is shown,
// calls onShown with it, which must close it. Returns whether onShown ran. A window left
// open is closed after a generous bound, so a failing test ends instead of hanging.
bool whileModal(const std::function<void(QWidget&)>& onShown, const std::function<void()>& opener);

// Processes events until the condition holds or the bound passes; answers the condition.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Processes events for the given time.
void processEventsFor(int milliseconds);

// A named child of the window, of the given kind; throws (failing the test) when missing.
template <typename Widget>
Widget& child(const QWidget& window, const char* utf8Name) {
    auto* found = window.findChild<Widget*>(QString::fromUtf8(utf8Name));
    if (!found)
        throw std::runtime_error(std::string("no control named ") + utf8Name);
    return *found;
}

} // namespace tarnis::testing

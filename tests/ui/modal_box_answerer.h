#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

namespace tarnis::test {

// What a test saw of one message box before it was answered.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool applicationModal = false;
    bool hasOwner = false;
};

// Watches for modal message boxes while the event loop runs (inside the box's own nested
// loop too), records each and answers it with the button the test chooses.
class ModalBoxAnswerer : public QObject {
public:
    using Choice = std::function<QMessageBox::StandardButton(const SeenBox&)>;

    explicit ModalBoxAnswerer(Choice choice);

    const std::vector<SeenBox>& seen() const { return m_seen; }

private:
    void poll();

    Choice m_choice;
    QTimer m_poll;
    std::vector<SeenBox> m_seen;
};

// Runs the event loop until `done` holds or `timeoutMs` has passed; answers whether it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 15000);

} // namespace tarnis::test

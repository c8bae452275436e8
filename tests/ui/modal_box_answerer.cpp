#include "modal_box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTest>

namespace tarnis::test {

ModalBoxAnswerer::ModalBoxAnswerer(Choice choice) : m_choice(std::move(choice)) {
    connect(&m_poll, &QTimer::timeout, this, &ModalBoxAnswerer::poll);
    m_poll.start(5);
}

void ModalBoxAnswerer::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    SeenBox seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.buttons = box->standardButtons();
    if (QPushButton* def = box->defaultButton())
        seen.defaultButton = box->standardButton(def);
    seen.applicationModal = box->windowModality() == Qt::ApplicationModal;
    seen.hasOwner = box->parentWidget() != nullptr;
    m_seen.push_back(seen);
    if (QAbstractButton* button = box->button(m_choice(seen)))
        button->click();
    else
        box->reject();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

} // namespace tarnis::test

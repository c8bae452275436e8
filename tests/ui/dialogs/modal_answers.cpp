#include "modal_answers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace tarnis::testing {

std::vector<ShownMessage> answerMessages(const std::function<void()>& action) {
    std::vector<ShownMessage> shown;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (!box || !box->isVisible())
                continue;
            ShownMessage message;
            message.title = box->windowTitle();
            message.text = box->text();
            message.icon = box->icon();
            message.buttonCount = static_cast<int>(box->buttons().size());
            message.hasOkButton = box->button(QMessageBox::Ok) != nullptr;
            message.hasOwner = box->parentWidget() != nullptr;
            message.modality = box->windowModality();
            shown.push_back(message);
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
        }
    });
    poll.start();
    action();
    poll.stop();
    return shown;
}

bool whileModal(const std::function<void(QWidget&)>& onShown, const std::function<void()>& opener) {
    bool handled = false;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (!handled) {
            handled = true;
            onShown(*modal);
        } else if (clock.elapsed() > 20000) {
            modal->close();
        }
    });
    poll.start();
    opener();
    poll.stop();
    return handled;
}

namespace {

// Lets the event loop run for a short slice without spinning the processor.
void runEventLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        runEventLoopFor(5);
    }
    return true;
}

void processEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        runEventLoopFor(5);
}

} // namespace tarnis::testing

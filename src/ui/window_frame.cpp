#include "ui/window_frame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tarnis {
namespace {

// The frame is known only once the window manager has decorated the window, so the
// client size is corrected when the window is first shown (and again if the frame changes).
class OuterFrameKeeper : public QObject {
public:
    OuterFrameKeeper(QWidget& window, QSize outer)
        : QObject(&window), m_window(window), m_outer(outer) {
        window.installEventFilter(this);
    }

    void apply() {
        const QRect frame = m_window.frameGeometry();
        const QRect client = m_window.geometry();
        const int extraWidth = frame.width() - client.width();
        const int extraHeight = frame.height() - client.height();
        const QSize clientSize(m_outer.width() - extraWidth, m_outer.height() - extraHeight);
        if (m_window.size() != clientSize)
            m_window.setFixedSize(clientSize);
        const QScreen* screen =
            m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
        if (!m_centred && screen) {
            const QSize screenSize = screen->geometry().size();
            m_window.move((screenSize.width() - m_outer.width()) / 2,
                          (screenSize.height() - m_outer.height()) / 2);
            m_centred = m_window.isVisible() && extraHeight > 0;
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange ||
            (event->type() == QEvent::Move && !m_centred))
            apply();
        return false;
    }

private:
    QWidget& m_window;
    QSize m_outer;
    bool m_centred = false;
};

} // namespace

void fixOuterFrame(QWidget& window, int outerWidth, int outerHeight) {
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    window.setFixedSize(outerWidth, outerHeight);
    auto* keeper = new OuterFrameKeeper(window, QSize(outerWidth, outerHeight));
    keeper->apply();
}

} // namespace tarnis

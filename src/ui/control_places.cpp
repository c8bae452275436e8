#include "ui/control_places.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tarnis {
namespace {

class PlaceKeeper : public QObject {
public:
    PlaceKeeper(QWidget& control, QRect place)
        : QObject(&control), m_control(control), m_place(place) {
        control.installEventFilter(this);
        restore();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::Resize:
        case QEvent::Move:
            // A style sheet's minimum size arrives as a resize after polishing.
            restore();
            break;
        case QEvent::StyleChange:
            // The style may still be at work; put the control back once it is done.
            QTimer::singleShot(0, this, [this] { restore(); });
            break;
        default:
            break;
        }
        return false;
    }

private:
    void restore() {
        if (m_control.minimumSize() != QSize(0, 0))
            m_control.setMinimumSize(0, 0);
        if (m_control.geometry() != m_place)
            m_control.setGeometry(m_place);
    }

    QWidget& m_control;
    QRect m_place;
};

} // namespace

void placeControl(QWidget& control, QRect place) {
    new PlaceKeeper(control, place);
}

} // namespace tarnis

#include "ui/balloon_tip.h"

#include "ui/line_breaks.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace tarnis {

// The tip window: drawn by hand so that no style sheet or skin of the program changes it.
class BalloonTipPopup : public QWidget {
public:
    explicit BalloonTipPopup(QWidget& owner)
        : QWidget(&owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
        setObjectName("balloonTipPopup");
        setAttribute(Qt::WA_ShowWithoutActivating);
        QFont font;
        font.setFamilies({"Verdana", "DejaVu Sans"});
        font.setPointSize(10);
        setFont(font);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, QColor(255, 255, 225));
        colours.setColor(QPalette::WindowText, Qt::black);
        setPalette(colours);
    }

    void setLines(const QString& text) {
        m_lines = text.split('\n');
        const QFontMetrics metrics(font());
        int width = 0;
        for (const QString& line : m_lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        resize(width + 2 * (borderWidth + paddingX),
               static_cast<int>(m_lines.size()) * metrics.lineSpacing() +
                   2 * (borderWidth + paddingY));
        update();
    }

    QString text() const { return m_lines.join('\n'); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics metrics(font());
        int baseline = borderWidth + paddingY + metrics.ascent();
        for (const QString& line : m_lines) {
            painter.drawText(borderWidth + paddingX, baseline, line);
            baseline += metrics.lineSpacing();
        }
    }

private:
    static constexpr int borderWidth = 1;
    static constexpr int paddingX = 4;
    static constexpr int paddingY = 2;
    QStringList m_lines;
};

BalloonTip::BalloonTip(QWidget& owner) : QObject(&owner), m_owner(owner) {
    m_showTimer.setSingleShot(true);
    m_showTimer.setTimerType(Qt::PreciseTimer);
    m_showTimer.setInterval(showDelayMs);
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setTimerType(Qt::PreciseTimer);
    m_hideTimer.setInterval(hideDelayMs);
    connect(&m_showTimer, &QTimer::timeout, this, &BalloonTip::showTip);
    connect(&m_hideTimer, &QTimer::timeout, this, [this] {
        hideTip();
        m_shownThisVisit = true;
    });
}

BalloonTip::~BalloonTip() {
    for (const Tool& tool : m_tools) {
        if (tool.target)
            tool.target->removeEventFilter(this);
    }
}

void BalloonTip::attach(QWidget& target, const std::string& text, int /*iconIndex*/,
                        std::optional<QRect> area) {
    const QRect key = area.value_or(QRect());
    for (Tool& tool : m_tools) {
        if (tool.target == &target && tool.area == key) {
            tool.text = text;
            if (m_popup && m_popup->isVisible() && m_hovered == &target)
                m_popup->setLines(toDisplayLines(text));
            return;
        }
    }
    const bool watched = std::any_of(m_tools.begin(), m_tools.end(),
                                     [&](const Tool& tool) { return tool.target == &target; });
    m_tools.push_back(Tool{&target, key, text});
    if (!watched) {
        // Without tracking, a control hears of the pointer only when it enters or leaves,
        // and a tip must wait until the pointer stops moving.
        target.setMouseTracking(true);
        target.installEventFilter(this);
    }
}

std::string BalloonTip::tipText(const QWidget& target, std::optional<QRect> area) const {
    const QRect key = area.value_or(QRect());
    for (const Tool& tool : m_tools) {
        if (tool.target == &target && tool.area == key)
            return tool.text;
    }
    return {};
}

QWidget* BalloonTip::visibleTip() const {
    return m_popup && m_popup->isVisible() ? m_popup.data() : nullptr;
}

QString BalloonTip::visibleTipText() const {
    return visibleTip() ? m_popup->text() : QString();
}

const BalloonTip::Tool* BalloonTip::toolAt(const QWidget* target, QPoint position) const {
    for (const Tool& tool : m_tools) {
        if (tool.target == target && (tool.area.isNull() || tool.area.contains(position)))
            return &tool;
    }
    return nullptr;
}

bool BalloonTip::eventFilter(QObject* watched, QEvent* event) {
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target)
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        m_shownThisVisit = false;
        pointerRests(target, static_cast<QEnterEvent*>(event)->position().toPoint());
        break;
    case QEvent::MouseMove:
        pointerRests(target, static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Leave:
    case QEvent::Hide:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        if (target == m_hovered) {
            hideTip();
            if (event->type() == QEvent::Leave || event->type() == QEvent::Hide)
                m_hovered = nullptr;
            else
                m_shownThisVisit = true; // the user is busy with the control
        }
        break;
    default:
        break;
    }
    return false;
}

void BalloonTip::pointerRests(QWidget* target, QPoint position) {
    const Tool* before = m_hovered == target ? toolAt(target, m_pointer) : nullptr;
    m_hovered = target;
    m_pointer = position;
    const Tool* now = toolAt(target, position);
    if (now != before && before) {
        hideTip();
        m_shownThisVisit = false;
    }
    if (!now) {
        hideTip();
        return;
    }
    // A tip shows once per visit, after the pointer has been still for the delay.
    if (!visibleTip() && !m_shownThisVisit)
        m_showTimer.start();
}

void BalloonTip::showTip() {
    if (!m_hovered || !m_hovered->isVisible())
        return;
    const Tool* tool = toolAt(m_hovered, m_pointer);
    if (!tool)
        return;
    if (!m_popup)
        m_popup = new BalloonTipPopup(m_owner);
    m_popup->setLines(toDisplayLines(tool->text));

    // Below the pointer, kept on the screen.
    QPoint place = m_hovered->mapToGlobal(m_pointer) + QPoint(0, 20);
    if (const QScreen* screen = m_hovered->screen()) {
        const QRect area = screen->availableGeometry();
        place.setX(std::clamp(place.x(), area.left(),
                              std::max(area.left(), area.right() + 1 - m_popup->width())));
        if (place.y() + m_popup->height() > area.bottom() + 1)
            place.setY(m_hovered->mapToGlobal(m_pointer).y() - 4 - m_popup->height());
    }
    m_popup->move(place);
    m_popup->show();
    m_popup->raise();
    m_hideTimer.start();
}

void BalloonTip::hideTip() {
    m_showTimer.stop();
    m_hideTimer.stop();
    if (m_popup)
        m_popup->hide();
}

void attachTip(BalloonTip& tipControl, QWidget& target, const std::string& text, int iconIndex,
               std::optional<QRect> area) {
    tipControl.attach(target, text, iconIndex, area);
}

} // namespace tarnis

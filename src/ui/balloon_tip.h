#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace tarnis {

class BalloonTipPopup;

// A window's balloon tip control: invisible itself, it shows the tip text of the control
// under the mouse pointer once the pointer has rested there for showDelayMs, and hides it
// again after hideDelayMs, when the pointer leaves or a button is pressed. Black text on
// pale yellow in a one-pixel black frame, 10-point Verdana, no icon, no title, no fading.
class BalloonTip : public QObject {
    Q_OBJECT
public:
    static constexpr int showDelayMs = 600;
    static constexpr int hideDelayMs = 3000;

    explicit BalloonTip(QWidget& owner);
    ~BalloonTip() override;

    // Attaches a GBK text (lines broken at CR LF) to the target, or to an area of it given
    // in the target's coordinates; attaching again to the same target and area replaces
    // the text. The control holds no images, so every icon index shows none.
    void attach(QWidget& target, const std::string& text, int iconIndex,
                std::optional<QRect> area = std::nullopt);

    // The GBK text attached to the target's whole area (or to `area`); empty when none.
    std::string tipText(const QWidget& target, std::optional<QRect> area = std::nullopt) const;

    // The tip window while one is shown, otherwise nullptr, and the text it shows.
    QWidget* visibleTip() const;
    QString visibleTipText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tool {
        QPointer<QWidget> target;
        QRect area; // null: the whole control
        std::string text;
    };

    const Tool* toolAt(const QWidget* target, QPoint position) const;
    void pointerRests(QWidget* target, QPoint position);
    void showTip();
    void hideTip();

    QWidget& m_owner;
    std::vector<Tool> m_tools;
    QPointer<QWidget> m_hovered;
    QPoint m_pointer; // in m_hovered's coordinates
    bool m_shownThisVisit = false;
    QTimer m_showTimer;
    QTimer m_hideTimer;
    QPointer<BalloonTipPopup> m_popup;
};

// Attaches a tip to a control through a window's tip control (see BalloonTip::attach).
void attachTip(BalloonTip& tipControl, QWidget& target, const std::string& text, int iconIndex,
               std::optional<QRect> area = std::nullopt);

} // namespace tarnis

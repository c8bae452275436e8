#include "ui/control_skin.h"

#include <QApplication>
#include <QString>

#include <array>
#include <utility>

namespace tarnis {
namespace {

// The colours of one scheme. Every control of the skin is drawn from these few, so the
// three schemes differ only here.
struct SkinColours {
    const char* border;      // button and frame outline
    const char* borderHover; // outline under the mouse
    const char* borderFocus; // outline of the focused and the default button
    const char* faceTop;     // button face, a soft vertical gradient
    const char* faceMiddle;
    const char* faceBottom;
    const char* hoverTop; // the face lit up under the mouse
    const char* hoverBottom;
    const char* pressedTop; // the face pushed in
    const char* pressedBottom;
    const char* disabledText;
    const char* disabledBorder;
    const char* disabledFace;
    const char* groupBorder;
    const char* groupTitle;
    const char* selection; // selected text in edit boxes, the mark of check boxes
};

constexpr SkinColours blueSkin{"#2a5d9f", "#3c7fd1", "#16407a", "#ffffff", "#edf2f9", "#cddaee",
                               "#ffffff", "#dbe7f7", "#b9cce8", "#e4ecf7", "#9aa3b0", "#b8c4d6",
                               "#f2f4f8", "#9db3d4", "#16407a", "#316ac5"};

constexpr SkinColours oliveSkin{"#6e7b3c", "#97a84f", "#4d5926", "#fefef6", "#eef0dc", "#d6dcb0",
                                "#ffffff", "#e4e9c4", "#c4cc98", "#e6e9d0", "#a3a68e", "#c4c8ae",
                                "#f3f4ea", "#a9b37e", "#4d5926", "#8c9c4a"};

constexpr SkinColours silverSkin{"#6d7483", "#8f96a6", "#474d59", "#ffffff", "#ededf1", "#d2d2db",
                                 "#ffffff", "#e2e2ea", "#c2c2cd", "#e4e4ea", "#a0a0a8", "#c4c4cc",
                                 "#f4f4f6", "#a8acb8", "#474d59", "#7c8599"};

// Rules only for the kinds of control the skin draws: no selector here matches a list
// box, a progress bar, a label or a picture box, so those keep the platform's look.
// A check box's mark is a filled square inside its box, a radio button's a round dot.
constexpr const char* sheetTemplate = R"(
QPushButton {
    color: black;
    border: 1px solid @border;
    border-radius: 3px;
    padding: 3px 4px;
    min-width: 64px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
        stop:0 @faceTop, stop:0.45 @faceMiddle, stop:1 @faceBottom);
}
QPushButton:hover {
    border-color: @borderHover;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @hoverTop, stop:1 @hoverBottom);
}
QPushButton:focus, QPushButton:default {
    border-color: @borderFocus;
}
QPushButton:pressed {
    border-color: @borderFocus;
    padding-top: 4px;
    padding-bottom: 2px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @pressedTop, stop:1 @pressedBottom);
}
QPushButton:disabled {
    color: @disabledText;
    border-color: @disabledBorder;
    background: @disabledFace;
}
QCheckBox, QRadioButton {
    spacing: 5px;
}
QCheckBox:disabled, QRadioButton:disabled {
    color: @disabledText;
}
QCheckBox::indicator, QRadioButton::indicator {
    width: 11px;
    height: 11px;
    border: 1px solid @border;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 @faceMiddle, stop:1 white);
}
QCheckBox::indicator {
    border-radius: 2px;
}
QRadioButton::indicator {
    border-radius: 6px;
}
QCheckBox::indicator:hover, QRadioButton::indicator:hover {
    border-color: @borderHover;
}
QCheckBox::indicator:checked {
    padding: 2px;
    width: 7px;
    height: 7px;
    background-clip: content;
    background: @borderFocus;
}
QRadioButton::indicator:checked {
    background: qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.4, fy:0.4,
        stop:0 @borderHover, stop:0.45 @borderFocus, stop:0.55 white, stop:1 white);
}
QCheckBox::indicator:disabled, QRadioButton::indicator:disabled {
    border-color: @disabledBorder;
    background: @disabledFace;
}
QGroupBox {
    border: 1px solid @groupBorder;
    border-radius: 4px;
    margin-top: 8px;
    padding-top: 4px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 8px;
    padding: 0 3px;
    color: @groupTitle;
}
QLineEdit, QAbstractSpinBox, QComboBox {
    border: 1px solid @border;
    border-radius: 2px;
    padding: 1px 2px;
    background: white;
    selection-background-color: @selection;
    selection-color: white;
}
QLineEdit:focus, QAbstractSpinBox:focus, QComboBox:focus {
    border-color: @borderFocus;
}
QLineEdit:read-only, QLineEdit:disabled, QAbstractSpinBox:disabled, QComboBox:disabled {
    background: @disabledFace;
    border-color: @disabledBorder;
}
QLineEdit:disabled, QAbstractSpinBox:disabled, QComboBox:disabled {
    color: @disabledText;
}
QAbstractSpinBox QLineEdit, QComboBox QLineEdit {
    border: none;
    padding: 0;
    background: transparent;
}
QComboBox:!editable {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
        stop:0 @faceTop, stop:0.45 @faceMiddle, stop:1 @faceBottom);
}
QComboBox::drop-down {
    subcontrol-origin: padding;
    subcontrol-position: top right;
    width: 16px;
    border-left: 1px solid @border;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
        stop:0 @faceTop, stop:0.45 @faceMiddle, stop:1 @faceBottom);
}
QComboBox QAbstractItemView {
    border: 1px solid @border;
    selection-background-color: @selection;
    selection-color: white;
}
QAbstractSpinBox {
    padding-right: 16px;
}
QAbstractSpinBox::up-button, QAbstractSpinBox::down-button {
    subcontrol-origin: border;
    width: 15px;
    border-left: 1px solid @border;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
        stop:0 @faceTop, stop:0.45 @faceMiddle, stop:1 @faceBottom);
}
QAbstractSpinBox::up-button {
    subcontrol-position: top right;
    border-bottom: 1px solid @border;
}
QAbstractSpinBox::down-button {
    subcontrol-position: bottom right;
}
QAbstractSpinBox::up-button:pressed, QAbstractSpinBox::down-button:pressed,
QComboBox::drop-down:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @pressedTop, stop:1 @pressedBottom);
}
)";

QString styleSheetFor(const SkinColours& colours) {
    // Longer names first, so "@border" does not eat the start of "@borderHover".
    const std::array<std::pair<const char*, const char*>, 16> names{{
        {"@borderHover", colours.borderHover},
        {"@borderFocus", colours.borderFocus},
        {"@border", colours.border},
        {"@faceTop", colours.faceTop},
        {"@faceMiddle", colours.faceMiddle},
        {"@faceBottom", colours.faceBottom},
        {"@hoverTop", colours.hoverTop},
        {"@hoverBottom", colours.hoverBottom},
        {"@pressedTop", colours.pressedTop},
        {"@pressedBottom", colours.pressedBottom},
        {"@disabledText", colours.disabledText},
        {"@disabledBorder", colours.disabledBorder},
        {"@disabledFace", colours.disabledFace},
        {"@groupBorder", colours.groupBorder},
        {"@groupTitle", colours.groupTitle},
        {"@selection", colours.selection},
    }};
    QString sheet = QString::fromLatin1(sheetTemplate);
    for (const auto& [name, colour] : names)
        sheet.replace(QLatin1String(name), QLatin1String(colour));
    return sheet;
}

const SkinColours* coloursOf(int scheme) {
    switch (scheme) {
    case 1:
        return &blueSkin;
    case 2:
        return &oliveSkin;
    case 3:
        return &silverSkin;
    default:
        return nullptr;
    }
}

int g_scheme = 0;

} // namespace

void setControlSkin(int scheme) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    const SkinColours* colours = coloursOf(scheme);
    app->setStyleSheet(colours ? styleSheetFor(*colours) : QString());
    g_scheme = colours ? scheme : 0;
}

int controlSkin() {
    return g_scheme;
}

} // namespace tarnis

#include "ui/about_window.h"

#include "platform/gbk_text.h"
#include "ui/control_places.h"
#include "ui/line_breaks.h"
#include "ui/modal_opening.h"
#include "ui/qt_text.h"
#include "ui/window_frame.h"

#include <QLabel>
#include <QMovie>
#include <QPushButton>

namespace tarnis {

void runAboutWindow() {
    AboutWindow window;
    runModally(window);
}

std::string aboutText() {
    return "Tarnis1.0\r\n"
           "作者:Tarnis 开发组\r\n"
           "联系:tarnis-team@example.com\r\n"
           "\r\n"
           "\r\n"_gbk;
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutWindow");
    setWindowTitle(toQString("关于"_gbk));
    fixOuterFrame(*this, 398, 114);
    markAsDialog(*this);

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    setAutoFillBackground(true);

    auto* picture = new QLabel(this);
    picture->setObjectName(toQString("图片框1"_gbk));
    placeControl(*picture, QRect(14, 15, 56, 56));
    picture->setScaledContents(true); // squeezed to the box, aspect ratio not kept
    auto* animation = new QMovie(QStringLiteral(":/about_animation.gif"), QByteArray(), picture);
    animation->setObjectName("aboutAnimation");
    animation->setCacheMode(QMovie::CacheAll);
    picture->setMovie(animation);
    animation->start();

    auto* text = new QLabel(this);
    text->setObjectName(toQString("标签1"_gbk));
    placeControl(*text, QRect(86, 11, 194, 62));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setText(toDisplayLines(aboutText()));

    auto* ok = new QPushButton(this);
    ok->setObjectName(toQString("按钮1"_gbk));
    ok->setText(toQString("确定"_gbk));
    placeControl(*ok, QRect(296, 32, 80, 24));
    // An ordinary button: Enter presses nothing here.
    ok->setAutoDefault(false);
    ok->setDefault(false);
    ok->setFocus(Qt::OtherFocusReason);
    connect(ok, &QPushButton::clicked, this, &AboutWindow::onAboutOkClicked);
}

void AboutWindow::onAboutOkClicked() {
    accept();
}

} // namespace tarnis

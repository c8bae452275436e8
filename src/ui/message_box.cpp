#include "ui/message_box.h"

#include "platform/gbk_text.h"
#include "ui/qt_text.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>

namespace tarnis {
namespace {

// Some styles put pictures on the standard buttons; the boxes show their words only.
void plainButtons(QMessageBox& box) {
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
}

} // namespace

void showPlainMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, toQString("信息："_gbk), toQString(text), QMessageBox::Ok);
    box.setObjectName("plainMessage");
    box.setWindowModality(Qt::ApplicationModal);
    plainButtons(box);
    box.exec();
}

bool askYesNoQuestion(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, toQString(title), toQString(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setObjectName("yesNoQuestion");
    box.setDefaultButton(QMessageBox::Yes);
    box.setWindowModality(Qt::ApplicationModal);
    plainButtons(box);
    return box.exec() == QMessageBox::Yes;
}

} // namespace tarnis

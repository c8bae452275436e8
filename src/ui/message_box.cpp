#include "ui/message_box.h"

#include "platform/gbk_text.h"
#include "ui/qt_text.h"

#include <QMessageBox>

namespace tarnis {

void showPlainMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, toQString("信息："_gbk), toQString(text), QMessageBox::Ok);
    box.setObjectName("plainMessage");
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool askYesNoQuestion(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, toQString(title), toQString(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setObjectName("yesNoQuestion");
    box.setDefaultButton(QMessageBox::Yes);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

} // namespace tarnis

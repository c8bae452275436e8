#include "ui/modal_opening.h"

#include <QApplication>
#include <QDialog>
#include <QWindow>

namespace tarnis {

void markAsDialog(QDialog& dialog) {
    dialog.setWindowFlags((dialog.windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
}

void runModally(QDialog& dialog) {
    dialog.setWindowModality(Qt::ApplicationModal);
    if (QWidget* owner = QApplication::activeWindow(); owner && owner != &dialog) {
        dialog.winId();
        if (dialog.windowHandle() && owner->windowHandle())
            dialog.windowHandle()->setTransientParent(owner->windowHandle());
    }
    dialog.exec();
}

} // namespace tarnis

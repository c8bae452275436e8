#pragma once

class QDialog;

namespace tarnis {

// Runs a freshly built dialog modally to the whole program and returns when it has closed.
// It stays above the window that was active and takes no taskbar button of its own, but
// it is not that window's child, so nothing of the main window's look passes into it.
void runModally(QDialog& dialog);

// The window type a dialog with a fixed frame keeps (a fixed frame may reset the type).
void markAsDialog(QDialog& dialog);

} // namespace tarnis

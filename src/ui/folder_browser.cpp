#include "ui/folder_browser.h"

#include "ui/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace tarnis {
namespace {

FolderBrowser& installedBrowser() {
    static FolderBrowser browser;
    return browser;
}

} // namespace

std::string browseForFolder(const std::string& prompt) {
    const FolderBrowser& browser = installedBrowser();
    return browser ? browser(prompt) : browseWithFolderDialog(prompt);
}

void setFolderBrowser(FolderBrowser browser) {
    installedBrowser() = std::move(browser);
}

std::string normalizedFolderPath(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string browseWithFolderDialog(const std::string& prompt) {
    // The platform's native picker may have no field to type a path into, so Qt's own is
    // used. The static call runs it application modal, owned by the active window.
    const QString folder = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), toQString(prompt), QDir::homePath(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty())
        return {};
    return normalizedFolderPath(fromQString(QDir::fromNativeSeparators(folder)));
}

} // namespace tarnis

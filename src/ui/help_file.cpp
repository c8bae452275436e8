#include "ui/help_file.h"

#include "platform/gbk_text.h"
#include "ui/qt_text.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace tarnis {

std::string helpFilePathFor(const std::string& programFile) {
    const std::size_t slash = findLastAsciiChar(programFile, '/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = findLastAsciiChar(programFile, '.');
    // A dot that starts the name (".tarnis") marks a hidden file, not an extension.
    if (dot == std::string::npos || dot <= nameStart)
        return programFile + ".hlp";
    return programFile.substr(0, dot + 1) + "hlp";
}

bool openHelpFile(const std::string& helpFile) {
    const QFileInfo file(toQString(helpFile));
    if (!file.isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

} // namespace tarnis

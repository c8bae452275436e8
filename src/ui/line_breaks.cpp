#include "ui/line_breaks.h"

#include "ui/qt_text.h"

namespace tarnis {

QString toDisplayLines(const std::string& gbk) {
    QString text = toQString(gbk);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace tarnis

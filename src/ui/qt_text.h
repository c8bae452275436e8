#pragma once

#include <QString>

#include <string>

namespace tarnis {

// The program's texts are GBK; Qt draws Unicode. These are the only two crossings.
QString toQString(const std::string& gbk);
std::string fromQString(const QString& text);

} // namespace tarnis

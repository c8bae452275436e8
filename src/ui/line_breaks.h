#pragma once

#include <QString>

#include <string>

namespace tarnis {

// The program's multi-line texts end their lines in CR LF; Qt breaks lines at LF alone and
// would draw the CR. Converts the GBK text for display with each CR LF made one line break.
QString toDisplayLines(const std::string& gbk);

} // namespace tarnis

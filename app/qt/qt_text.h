// The crossing between the program's UTF-8 strings and Qt's strings, at the widgets.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kelvara::app {

inline QString ToQt(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

inline std::string FromQt(const QString& text) { return text.toStdString(); }

}  // namespace kelvara::app

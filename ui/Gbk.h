#pragma once

// Conversions at the boundary between the program's GBK bytes and Qt / the platform.

#include <QString>
#include <string>
#include <string_view>

namespace ui {

// GBK bytes -> Qt text.
QString FromGbk(std::string_view gbk);
// Qt text -> GBK bytes; a character GBK cannot hold becomes "?".
std::string ToGbk(const QString& text);
// A UTF-8 literal of the source code as GBK bytes.
std::string Gbk(std::string_view utf8);
// GBK bytes <-> the file system's encoding (UTF-8 on Linux).
std::string GbkToLocalPath(std::string_view gbk);
std::string LocalPathToGbk(std::string_view local);

}  // namespace ui

// Core text (code page 850) to and from the QStrings Qt shows and gives: the one conversion
// of the Qt side of every platform interface.
#pragma once

#include "base/codepage.h"

#include <QString>

#include <string>
#include <string_view>

namespace kora {

inline QString FromCp850(std::string_view cp850) {
    return QString::fromStdString(Cp850ToUtf8(cp850));
}

inline std::string ToCp850(const QString& text) {
    return Utf8ToCp850(text.toStdString());
}

} // namespace kora

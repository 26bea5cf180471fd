// Number and text forms of the CAD files: fixed-point numbers with the configured decimals,
// the program's short value format, and the "CAD Text Mode" conversion of code page 850 texts.
#pragma once

#include "base/real.h"

#include <string>
#include <string_view>

namespace kora {

// Fixed-point text with `decimals` decimals and no leading blanks ("12.500000"); a value that
// rounds to zero never keeps a minus sign. With `comma` the point becomes a comma.
std::string FixedNumber(real value, int decimals, bool comma = false);
// Appends the same text to `out` (the writers' hot path).
void AppendFixedNumber(std::string& out, real value, int decimals, bool comma = false);

// The short value format (about four significant digits, trailing zeros dropped, "0" below
// 0.00001) with a point; `dezimalstellen` is the configured decimals adjustment (3 = none).
std::string ShortNumber(real value, int dezimalstellen = 3);

// "CAD Text Mode": 1 leaves the code page 850 bytes, 2 converts them to Windows-1252,
// 3 transliterates umlauts and signs to plain ASCII (ä → "ae", ± → "+/-", ° → "deg" …).
std::string ConvertCadText(std::string_view cp850, int mode);
std::string Cp850ToWindows1252(std::string_view cp850);

} // namespace kora

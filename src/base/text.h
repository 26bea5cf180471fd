// Small text helpers shared by every layer. Each name says exactly what it takes away or
// changes; all work on bytes, so code page 850 text passes through untouched above 0x7F.
#pragma once

#include <string>
#include <string_view>

namespace kora {

// Without leading and trailing blanks (' ' only).
std::string_view TrimmedSpaces(std::string_view text);
// Without trailing blanks (' ' only).
std::string_view TrimmedRightSpaces(std::string_view text);
// Without leading and trailing blanks and tabs.
std::string_view TrimmedBlanksAndTabs(std::string_view text);
// Without leading and trailing white space: blanks, tabs, CR and LF.
std::string_view TrimmedWhiteSpace(std::string_view text);
// Without leading and trailing control characters and blanks (every byte up to 0x20).
std::string_view TrimmedControls(std::string_view text);

// a..z made A..Z and A..Z made a..z; every other byte stays.
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

} // namespace kora

// Code page 850 (the spring's, the reports' and the tables' texts) to and from UTF-8
// (what windows show, dialogs take and outside programs receive).
#pragma once

#include <string>
#include <string_view>

namespace kora {

std::string Cp850ToUtf8(std::string_view cp850);
// Characters that code page 850 lacks become '?'.
std::string Utf8ToCp850(std::string_view utf8);

// Text for an HTML page: &, <, > and " as entities.
std::string HtmlEscaped(std::string_view utf8);

} // namespace kora

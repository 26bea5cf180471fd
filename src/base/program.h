// The program's name, version and maker as every file, report and drawing states them.
#pragma once

#include <string_view>

namespace kora {

inline constexpr std::string_view kProgramTitle = "KORA - Progressive zyl. Druckfeder";
inline constexpr std::string_view kProgramVersion = "11.4";
inline constexpr std::string_view kMakerName = "KALDORN";

} // namespace kora

// Texts the calculation itself puts into the message list (code page 850). The checks of the
// plausibility table, the strength Parts and the design keep theirs beside their own code.
#pragma once

#include <string_view>

namespace kora::text {

inline constexpr std::string_view kNoSections = "Fatal  : n = 0 !";
inline constexpr std::string_view kTooManySections = "Fatal  : zu viele Abschnitte !";
inline constexpr std::string_view kDNotPositive = "Fatal  : d <= 0 !";
inline constexpr std::string_view kDmNotPositive = "Fatal  : Dm <= 0 !";
inline constexpr std::string_view kNiNotPositiveFatal = "Fatal  : n <= 0 !";
inline constexpr std::string_view kNiNotPositive = "Fehler : n <= 0 !";
inline constexpr std::string_view kGNotPositive = "Fatal  : G <= 0 !";
inline constexpr std::string_view kHNotPositive = "Fatal  : h <= 0 !";
inline constexpr std::string_view kShNotPositive = "Fatal  : sh <= 0 !";
inline constexpr std::string_view kL2NotPositive = "Fatal  : l2 <= 0 !";
inline constexpr std::string_view kIterationF = "Fehler bei Iteration F !";
inline constexpr std::string_view kFactorRFc = "Fehler : Faktor R-Fc zu klein !";
inline constexpr std::string_view kGetW = "Fehler in GetW !";
inline constexpr std::string_view kDmZero = "Fatal  : Dm = 0 !";
inline constexpr std::string_view kNZero = "Fehler : n = 0 !";
inline constexpr std::string_view kEZero = "Fatal  : E = 0 !";
inline constexpr std::string_view kNueZero = "Fatal  : nue = 0 !";
inline constexpr std::string_view kL0Zero = "Fatal  : l0 = 0 !";
inline constexpr std::string_view kGNotBelowE = "Fatal  : G >= E !";
inline constexpr std::string_view kENegative = "Fatal  : E < 0 !";
inline constexpr std::string_view kEndType = "Fatal  : korend !";
inline constexpr std::string_view kResultNotANumber = "Fatal  : Ergebnis keine Zahl !";
// Built with an index or a name: prefix + i + suffix.
inline constexpr std::string_view kL0iZero = "Fatal  : L0i = 0 ! (";
inline constexpr std::string_view kNiZero = "Fatal  : ni";
inline constexpr std::string_view kNiZeroEnd = "=0!";
inline constexpr std::string_view kLciAboveL0i = "Fehler : Lc ";
inline constexpr std::string_view kLciAboveL0iMiddle = " > L0 ";
inline constexpr std::string_view kForceDeviates = "Warnung: F";
inline constexpr std::string_view kRateFalls = "Fehler : Ri < Ri-1 ! (i=";
inline constexpr std::string_view kInputNotANumber = " keine Zahl !"; // after "Fatal  : " + name

} // namespace kora::text

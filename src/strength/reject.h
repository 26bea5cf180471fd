// Statistical reject rate: the share of a centred normal production outside ±x standard
// deviations, and the evaluation that relates the spring's tolerances to the grade and
// sigma factor a production holds (statsGrade, sigmaFactor).
#pragma once

#include "base/real.h"

#include <array>
#include <string_view>

namespace kora {

struct Session;

// Names of statsGrade 1..4 (code page 850).
inline constexpr std::array<std::string_view, 4> kProductionGradeNames = {
    "EN 15800 G\x81tegrad 1",
    "EN 15800 G\x81tegrad 2",
    "EN 15800 G\x81tegrad 3",
    "DIN 2096",
};

// Percent of a standard normal population outside ±x: 100 at x = 0, above 100 for x < 0.
// Trapezoidal steps of 0.001 from -8; |x| beyond 8.5 gives the value at ±8.5, and a sigma
// factor that is no number counts as 0 (100 %).
real RejectPercent(real x);

// Calculation step (last, only while FatalFlag is clear): rejectAtSigma, statDevDm,
// statDevF1 and statDevF2 of the spring, when statsSwitch is not 'N'.
void StatisticalEvaluation(Session& session);

} // namespace kora

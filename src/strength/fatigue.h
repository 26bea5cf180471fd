// Fatigue strength of a dynamically loaded spring: the 10^7-cycle diagram of the material
// at the current d, the permissible stroke stress tauhz, the safety factors, the estimated
// load cycles to fracture with their tolerance band, and the data of the report's life lines.
#pragma once

#include "base/real.h"

#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;
struct SpringRecord;

// The fatigue diagram at the current d, handed to the Goodman and Haigh diagrams.
struct FatigueResult {
    real tauo = 0;     // upper limit, N/mm²
    real tauh = 0;     // permissible stroke at lower stress 0
    real m = 0;        // slope of the 10^7 upper-stress line
    real tauuLim = 0;  // lower stress where the 10^7 line reaches tauo: (tauo - tauh) / m
    std::string title; // name1 (name3) + peening state, code page 850
};

// Reads d, the stresses, tauz, loadType, shotPeened, materialKind, warnMode, the fatigue
// tolerances and CurrentMaterial; writes tauhz, S1, S2, Sh, N, Nmin, Nmax; adds its
// messages. Zero stresses set FatalFlag.
FatigueResult FatigueEvaluation(Session& session);

// 10^x as e^(x ln 10): an exponent product above 3000 gives e^3000, below -3000 gives 0.
// A NaN exponent gives 0 with a fatal message.
real PowerOfTen(Session& session, real x);

// One line of the report's life block: title, symbol, unit and what stands in the value
// column. Texts in code page 850.
struct LifeLine {
    enum class Kind {
        Value,         // first
        Range,         // first .. second (minimum, maximum)
        Text,          // text
        TolerancePair, // deviation pair: upper = first, lower = second (percent)
    };
    std::string title;
    std::string_view symbol;
    std::string_view unit;
    Kind kind = Kind::Value;
    real first = 0, second = 0;
    std::string_view text;
};

// The life lines for dynamic load with tauhz > 0 (otherwise none). Cycles in millions,
// times in hours; time lines are left out when the load frequency f is not positive.
std::vector<LifeLine> LifeReportLines(const Session& session);

} // namespace kora

// Wire-diameter tolerances: the twelve wire-standard choices, the tolerance ± of d from
// their built-in tables, and the two standard diameter series (DIN 2076, DIN 2077) to
// which the design rounds d.
#pragma once

#include "base/real.h"
#include "calc/spring_record.h"

#include <array>
#include <span>
#include <string_view>

namespace kora {

struct Session;

inline constexpr word kWireTolChoices = 12;
inline constexpr word kWireTolTyped = 12; // "andere ...": the user types wireTol

// Entries of the material form and the short entries of the text dialog, choice 1..12.
inline constexpr std::array<std::string_view, kWireTolChoices> kWireTolChoiceNames = {
    "DIN 2076 B (0,3 .. 20 mm)",       "DIN 2076 C (0,07 .. 20 mm)",
    "DIN 2077   (7 .. 80 mm)",         "T1 - EN 10218-2 (0,3 .. 25 mm)",
    "T2 - EN 10218-2 (0,2 .. 25 mm)",  "T3 - EN 10218-2 (0,05 .. 25 mm)",
    "T4 - EN 10218-2 (0,05 .. 25 mm)", "T5 - EN 10218-2 (0,05 .. 25 mm)",
    "EN 10270-1 (0,05 .. 25 mm)",      "EN 10270-2 (0,05 .. 25 mm)",
    "EN 10270-3 (0,10 .. 10 mm)",      "andere ...",
};
inline constexpr std::array<std::string_view, kWireTolChoices> kWireTolChoiceShortNames = {
    "DIN 2076 B",     "DIN 2076 C",     "DIN 2077",       "T1 - EN10218-2",
    "T2 - EN10218-2", "T3 - EN10218-2", "T4 - EN10218-2", "T5 - EN10218-2",
    "EN 10270-1",     "EN 10270-2",     "EN 10270-3",     "andere ...",
};

// Tolerance ± of d (mm) for wire choice 1..11; 0 for choice 12 and any other value.
// A d outside an EN 10218-2 or EN 10270-3 table gives 0 and an error message.
real WireDiameterTolerance(Session& session, word choice, real d);

// Calculation step: wireTol from the tables unless the user typed it (wireTolGrade 12).
void SpringWireTolerance(Session& session);

// Selector 3 picks the DIN 2077 series, any other value the DIN 2076 series.
inline constexpr word kSeriesDin2077 = 3;

// The standard diameters of a series, ascending (mm).
std::span<const real> StandardWireDiameterSeries(word series);

// Standard diameter for d: mode 1 the smallest series value >= d, mode 2 the one after it,
// mode -1 the one before it. A d above the series is returned unchanged (with a warning
// under warnMode 1); a d that is not a finite number gives 0 and the same warning.
real StandardWireDiameter(Session& session, word series, int mode, real d);

} // namespace kora

// Spring tolerances: permissible deviations of the coil diameter, the free length L0, the
// test forces F1 and F2, perpendicularity e1 and parallelism e2 after EN 15800 (grades 1..3)
// and DIN 2096 (grade 4); grade 5 keeps what the user typed. Also the range checks.
#pragma once

#include "base/real.h"
#include "calc/spring_record.h"

#include <array>
#include <string_view>

namespace kora {

struct Session;

inline constexpr word kGradeTyped = 5; // "andere ...": deviations typed by the user

// diameterInput / selector of CoilDiameterDeviation.
inline constexpr word kSelectDe = 1, kSelectDi = 2, kSelectDm = 3;

// "Fertigungsausgleich durch" texts, compensationMode 1..6 (code page 850).
inline constexpr std::array<std::string_view, 6> kCompensationModeNames = {
    "L0 bei 1 vorgegebener Federkraft",
    "n und d  bei 1 vorgegebener Federkraft",
    "n u.De,Di,Dm bei 1 vorgegebener Federkraft",
    "L0,n und d  bei 2 vorgegebenen Federkr\x84"
    "ften",
    "L0,n und De,Di,Dm bei 2 vorgegebenen Federkr\x84"
    "ften",
    "keine Angaben",
};

// A (mm) of the coil diameter. Grades 1..3 look up Dm; grade 4 the diameter named by the
// selector (Di has its own columns); other grades give 0.
real CoilDiameterDeviation(word grade, word selector, real w, real Dm, real Di, real De);

// kF (N) of the EN 15800 force and length deviations; 0 when Dm or d is 0.
real ForceFactor(Session& session, real Dm, real d);

// Factor for the active coils; n below 2 counts as 2.
real CoilFactor(real n);

// A_L0 (mm). R0 is the rate at F = 0; manufacturing 1 cold formed, 2 and 3 hot formed.
real FreeLengthDeviation(Session& session, word grade, word manufacturing, real Dm, real d, real R0,
                         real n, real L0, real sc);

// A_F (N) at force F with deflection s and rate R; messageFlag lets grade 4 with cold forming
// report "DIN 2096: warmgewalzt !".
real ForceDeviation(Session& session, bool messageFlag, word grade, word manufacturing, real F,
                    real s, real Dm, real d, real n, real L0, real R);

real PerpendicularityDeviation(word grade, real L0); // e1 (mm)
real ParallelismDeviation(word grade, real De);      // e2 (mm), De = Dm + d

// Calculation step: coil-diameter deviation from tolGradeD, w = Dm/d and Dm (grade < 5).
void CoilDiameterTolerance(Session& session);

// Calculation step after the fatigue values: deviations of L0, F1, F2 and e1, e2 (each only
// when its grade is below 5); spring ends "angelegt und unbearbeitet" get e1 = e2 = 0.
void SpringTolerances(Session& session);

// Calculation step: range of the chosen tolerance standard, Dm/d for the tolerance grades,
// dead coils of cold-formed springs, F1 and F2 with their deviations.
void ToleranceChecks(Session& session);

} // namespace kora

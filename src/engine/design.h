// Design from a wished characteristic: the coil and wire diameter proposals, the conversion of
// F,R-L rows into characteristic points, the design of coil sections from the points, and the
// section table operations of the editing dialogs (multiplier, mirror).
#pragma once

#include "base/real.h"
#include "calc/spring_record.h"

#include <string_view>

namespace kora {

struct Session;

// Texts of the design algorithms and section operations (code page 850).
namespace design_text {
inline constexpr std::string_view kFmaxNotPositive = "Fatal  : Fmax <= 0 !";
inline constexpr std::string_view kTauzZero = "Fatal  : tauz = 0 !";
inline constexpr std::string_view kNoPoints = "Fehler : i = 0 !";
inline constexpr std::string_view kSNotIncreasing = "Fatal  : si+1 <= si ! (";
inline constexpr std::string_view kFNotIncreasing = "Fatal  : Fi <= Fi-1 ! (";
inline constexpr std::string_view kRateFalls = "Fehler : Ri < Ri-1 ! (i=";
inline constexpr std::string_view kRateNegative = "Fatal  : Ri < 0 ! (";
inline constexpr std::string_view kSectionRateZero = "Warnung: R<=0";
inline constexpr std::string_view kFrlFNotIncreasing = "Fatal  : FLR: Fi <= Fi-1 !  (";
inline constexpr std::string_view kFrlLNotDecreasing = "Fatal  : FLR: Li >= Li-1 !  (";
inline constexpr std::string_view kFrlRateFalls = "Fatal  : FLR: Ri < Ri-1 !  (";
inline constexpr std::string_view kFrlRateBelowSecant = "Fatal  : FLR: Ri < Rmin !  (";
// Row 1 with a rate that is not positive puts L0 = L1 + F1/R1 at infinity.
inline constexpr std::string_view kFrlFirstRateNotPositive = "Fatal  : FLR: Ri <= 0 !  (";
inline constexpr std::string_view kNoSections = "Fehler : keine Abschnitte eingegeben !";
inline constexpr std::string_view kIndexEnd = ")";
} // namespace design_text

// Coil diameter for a force F (> 0, else 0), index w = 5, rounded to 0.1 mm. Leaves Rm and
// tauz refreshed for the wire the proposal implies.
real ProposeCoilDiameter(Session& session, real F);

// Step 4 of the calculation (d < 0.01) and the design dialogs: d from the force Fmax and Dm,
// then the next standard diameter of the series of wireTolGrade. Fmax <= 0 is fatal.
void ProposeWireDiameter(Session& session, real Fmax);

// Characteristic points 1..nchar (F over s) to coil sections. False with FatalFlag set when the
// points do not describe a progressive spring.
bool DesignSections(Session& session);

// F,R-L rows 1..nfrl to characteristic points (F over L) and L0 = L1 + F1/R1. False with
// FatalFlag set when a row breaks the rules.
bool ConvertFrlToPoints(Session& session);

// Section table operations. ScaleCoilCounts makes the total n equal nNew; ScaleFreeLength makes
// the free length L0new, the dead-coil blocks unchanged (false when Lend >= L0: nothing done).
// Both use n, L0 and Lend of the last calculation.
void ScaleCoilCounts(SpringRecord& spring, real nNew);
bool ScaleFreeLength(SpringRecord& spring, real L0new);

// Mirror about section 1 (An/2..A1/2, A1/2..An/2) or section n (A1/2..An/2, An/2..A1/2).
// Refused (false, table unchanged) when the doubled table would exceed 50 sections.
bool MirrorAboutFirst(SpringRecord& spring);
bool MirrorAboutLast(SpringRecord& spring);

// Pure steps of the design dialogs.

// Step 4 of F-L input: the free length where the line through the first two points meets
// F = 0. Points that do not rise in force as the length falls give L1.
real MinimumFreeLength(const SpringRecord& spring);

// Step 7: the change of Lc is spread over the dead coils, nend2 = nend1.
void SpreadSolidLength(SpringRecord& spring, real LcNew);

// Step 8: a free length more than 0.01 above the calculated one lengthens the last section
// and appends a point at the solid deflection (F left 0: the calculation fills it in). False,
// nothing changed, when no extension is needed or the point table is full.
bool ExtendFreeLength(SpringRecord& spring, real L0new);

// Step 9: F-s input gets L = L0 - s, F-L input s = L0 - L (points 1..nchar).
void AlignPointsWithFreeLength(SpringRecord& spring);

// The quick buttons of the working-length form.
real ProposedL1(const SpringRecord& spring); // L0 - 0.1 (L0 - Lc)
real ProposedL2(const SpringRecord& spring); // (Lc + L0) / 2
inline real ProposedLx(real L1, real L2) {
    return (L1 + L2) / 2;
}

struct WorkingLengths {
    real L1 = 0, L2 = 0, Lx = 0;
};
// The fourth button: lengths from the entered table (F,R-L rows when fromFrl, else the points;
// F-s points are taken at L0 - s). Fewer than two rows leave the current lengths.
WorkingLengths WorkingLengthsFromTable(const SpringRecord& spring, bool fromFrl);

} // namespace kora

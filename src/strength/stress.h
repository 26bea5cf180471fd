// Permissible stresses at the current wire diameter (Rm, tauz), the stress correction factor
// k, and the strength checks that the calculation runs after fatigue, tolerances and
// relaxation are known.
#pragma once

#include "base/real.h"

namespace kora {

struct Session;
struct SpringRecord;

// Load type 1 is static; every other value is treated as dynamic, the stricter case.
bool IsStaticLoad(const SpringRecord& spring);
// 'N' means not shot peened; any other flag value counts as peened.
bool IsShotPeened(const SpringRecord& spring);
// Manufacturing 1 (or less) is cold formed; 2 and 3 are hot formed.
bool IsHotFormed(const SpringRecord& spring);

// The static limit of hot-formed springs, 840 - 250 log10(0.05 d), d in mm.
real HotFormedShearLimit(real d);

// Calculation step: Rm and tauz for the current d from CurrentMaterial. An other material
// (materialKind 11 or more) keeps its typed values.
void PermissibleStress(Session& session);

// k = 1 + 1.25/w + 0.875/w² + 1/w³; 0 for a w that is not a positive number.
real StressCorrectionFactor(real w);

// Calculation step: k from the spring's w. False, with a fatal message and FatalFlag, when
// w is not a positive number; the calculation then stops.
bool SetStressCorrectionFactor(Session& session);

// Calculation step: the check list of the permissible stresses, the diameter ranges of the
// standard grades and wire tables, the material's diameter and temperature range, and shot
// peening of thin wire. Adds messages; "Fatal  : Rm = 0 !" sets FatalFlag, and so does a zero
// stress that a safety factor would have to divide by.
void StrengthChecks(Session& session);

} // namespace kora

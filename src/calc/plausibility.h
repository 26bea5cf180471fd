// The plausibility checks at the end of the calculation: lengths, forces, stresses,
// buckling, spring index, peening, coil count, tension, setting and the extra length Lx.
#pragma once

namespace kora {

struct Session;

void PlausibilityChecks(Session& session);

} // namespace kora

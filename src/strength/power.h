// The power rule of the strength, fatigue, tolerance and relaxation formulas:
// x^y = e^(y·ln x); a base of 0 gives 0; a negative base uses |x| and reports
// label + " (pow)" to the message list.
#pragma once

#include "base/real.h"

#include <string_view>

namespace kora {

struct Session;

real Power(Session& session, real x, real y, std::string_view label);

} // namespace kora

// The one floating type of the calculation: 80-bit x87 extended precision on x86-64.
#pragma once

namespace kora {
using real = long double;
}

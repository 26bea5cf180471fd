#include "strength/power.h"

#include "calc/session.h"

#include <cmath>
#include <string>

namespace kora {

real Power(Session& session, real x, real y, std::string_view label) {
    if (x == 0) return 0;
    if (x < 0) {
        session.Message(std::string(label) + " (pow)");
        x = -x;
    }
    return std::exp(y * std::log(x));
}

} // namespace kora

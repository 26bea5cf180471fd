#include "strength/reject.h"

#include "calc/session.h"
#include "strength/tolerances.h"

#include <cmath>
#include <numbers>

namespace kora {
namespace {

constexpr real kStep = 0.001L;
constexpr real kStart = -8;
constexpr real kLimit = 8.5L;  // beyond it the integral no longer changes
constexpr real kReach = 1e-9L; // a grid point this close to -x counts as reached

real Density(real a) {
    static const real scale = 200 / std::sqrt(2 * std::numbers::pi_v<real>);
    return scale * std::exp(-a * a / 2);
}

} // namespace

real RejectPercent(real x) {
    if (std::isnan(x)) x = 0;
    if (x > kLimit) x = kLimit;
    if (x < -kLimit) x = -kLimit;
    // The grid a = -8 + k·0.001 is computed from k, not summed, so that a grid point that
    // equals -x stops the integration there (2.6 gives 0.932, not one step more).
    real sum = 0, previous = 0, a = kStart;
    long k = 0;
    do {
        a = kStart + ++k * kStep;
        real f = Density(a);
        sum += (previous + f) * 0.5L * kStep;
        previous = f;
    } while (a < -x - kReach);
    return sum;
}

void StatisticalEvaluation(Session& session) {
    SpringRecord& s = session.spring;
    if (s.statsSwitch == 'N') return;
    s.rejectAtSigma = RejectPercent(s.sigmaFactor);
    if (session.FatalFlag) return;
    s.statDevDm = CoilDiameterDeviation(s.statsGrade, s.diameterInput, s.w, s.Dm, s.Di, s.De);
    if (session.FatalFlag) return;
    s.statDevF1 = ForceDeviation(session, false, s.statsGrade, s.manufacturing, s.F1, s.s1, s.Dm,
                                 s.d, s.n, s.L0, s.R1);
    if (session.FatalFlag) return;
    s.statDevF2 = ForceDeviation(session, false, s.statsGrade, s.manufacturing, s.F2, s.s2, s.Dm,
                                 s.d, s.n, s.L0, s.R2);
}

} // namespace kora

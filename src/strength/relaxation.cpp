#include "strength/relaxation.h"

#include "calc/session.h"
#include "strength/power.h"

#include <cmath>
#include <string_view>

namespace kora {
namespace {

constexpr std::string_view kLabelRelax = "Relax";

real Finite(real x) {
    return std::isfinite(x) ? x : 0;
}

} // namespace

real LinearInterpolation(real x, real x1, real y1, real x2, real y2) {
    if (x1 == x2) return y1 == y2 ? y1 : 0;
    return Finite(y1 + (x - x1) * (y2 - y1) / (x2 - x1));
}

real LogarithmicInterpolation(real x, real x1, real y1, real x2, real y2) {
    if (x1 == x2 && y1 == y2) return y1;
    if (x2 - x1 == 0 || x1 == 0 || x == 0) return 0;
    real ratio = x / x1, span = x2 / x1;
    if (!(ratio > 0) || !(span > 0)) return 0; // no logarithm across 0
    return Finite(y1 + (y2 - y1) * std::log(ratio) / std::log(span));
}

real PowerCurve(Session& session, real x, real x1, real y1, real x2, real y2) {
    if (y1 == 0 || x1 == 0) return 0;
    // Equal stresses: a curve only when the relaxations agree too.
    if (x1 == x2) return y1 == y2 ? y1 : 0;
    real yRatio = y2 / y1, xRatio = x2 / x1;
    if (!(yRatio > 0) || !(xRatio > 0)) return 0; // no power law through both points
    if (x == x2) return y2; // the second point itself, free of rounding in ln and exp
    real p = std::log(yRatio) / std::log(xRatio);
    return Finite(y1 * Power(session, x / x1, p, kLabelRelax));
}

real RelaxationAt(Session& session, real theta, real d, real tau) {
    if (!session.relaxationFound) return 0;
    const RelaxationRecord& r = session.CurrentRelaxation;
    real T = theta < r.T1 ? real(r.T1) : theta;
    real curve[4];
    for (int k = 0; k < 4; ++k) {
        const RelaxationRecord::Point& lo = r.points[2 * k];
        const RelaxationRecord::Point& hi = r.points[2 * k + 1];
        curve[k] = PowerCurve(session, tau, lo.tau, lo.relaxation, hi.tau, hi.relaxation);
    }
    // Curves 1, 2 at T1 and 3, 4 at T2; the first of each pair at d1, the second at d2.
    real atT1 = LogarithmicInterpolation(d, r.d1, curve[0], r.d2, curve[1]);
    real atT2 = LogarithmicInterpolation(d, r.d1, curve[2], r.d2, curve[3]);
    real result = LinearInterpolation(T, r.T1, atT1, r.T2, atT2);
    return result > 0 ? result : 0; // also turns a NaN into 0
}

void SpringRelaxation(Session& session) {
    SpringRecord& s = session.spring;
    s.rx2 = RelaxationAt(session, s.theta, s.d, s.tau2);
}

} // namespace kora

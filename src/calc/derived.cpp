#include "calc/derived.h"

#include "calc/characteristic.h"
#include "calc/message_texts.h"
#include "calc/session.h"

#include <array>
#include <cmath>

namespace kora {
namespace {

constexpr real kPi = 3.14159265358979323846264338327950288L;
constexpr real kPiBy4 = 0.7853981633974483L;
constexpr real kFourMinusPi = 0.8584073464102068L;

// End texts of the end types 1..3, as printed in the report.
constexpr std::array<const char*, 3> kEndTexts = {"angelegt", "angelegt und geschliffen",
                                                  "angelegt, geschmiedet und geschliffen"};

} // namespace

void ShearStresses(SpringRecord& s) {
    const real factor = 8 * s.Dm / (kPi * s.d * s.d * s.d);
    s.tau1 = s.F1 * factor;
    s.tauk1 = s.tau1 * s.k;
    s.tau2 = s.F2 * factor;
    s.tauk2 = s.tau2 * s.k;
    s.taux = s.Fx * factor;
    s.taukx = s.taux * s.k;
    s.taukh = s.tauk2 - s.tauk1;
    s.taun = s.Fn * factor;
    s.tauc = s.Fc * factor;
}

real CrossSectionArea(const SpringRecord& s) {
    auto roundedRectangle = [&](real r) { return s.d * s.h - kFourMinusPi * r * r; };
    switch (s.wireType) {
    case 1:
        return kPiBy4 * s.d * s.d;
    case 2:
        return kPi * s.d * s.h / 4;
    case 3:
    case 4:
        return s.d * s.h;
    case 5:
        return roundedRectangle(std::fmin(s.d, s.h) / 2);
    case 6:
        return roundedRectangle(s.edgeRadius);
    default:
        return 0;
    }
}

void WireLengthAndWeight(SpringRecord& s) {
    s.L = kPi * s.Dm * (s.n + s.nend1 + s.nend2);
    s.m = CrossSectionArea(s) * s.L * s.rho * 0.001L;
}

real NaturalFrequency(Session& session, real F) {
    real closed = 0;
    DeflectionAt(session, F, &closed);
    const SpringRecord& s = session.spring;
    real active = s.n - closed;
    if (active == 0 || s.Dm == 0 || !(s.rho > 0) || !(s.Gtheta > 0)) return 0;
    return 3560 * s.d / (active * s.Dm * s.Dm) * std::sqrt(s.Gtheta / s.rho);
}

real ClearanceSum(const SpringRecord& s) {
    const bool dynamic = s.loadType == 2;
    if (s.manufacturing == 1) {
        real Sa = (0.0015L * s.Dm * s.Dm / s.d + 0.1L * s.d) * s.n;
        return dynamic ? Sa * 1.5L : Sa;
    }
    if (s.manufacturing == 2 || s.manufacturing == 3) {
        real Sa = 0.02L * (s.Dm + s.d) * s.n;
        return dynamic ? Sa * 2 : Sa;
    }
    return 0;
}

real EndCoilAddend(word manufacturing, word endType) {
    const bool ground = endType == 2 || endType == 3;
    if (manufacturing == 1) return endType == 1 ? 1.5L : 0;
    if (manufacturing == 2 || manufacturing == 3) return endType == 1 ? 1.1L : ground ? -0.3L : 0;
    return 0;
}

void SetEndText(Session& session) {
    SpringRecord& s = session.spring;
    if (s.endType >= 1 && s.endType <= 3) {
        s.endText = kEndTexts[s.endType - 1];
    } else if (s.endType != 4) {
        s.endText = "undefined";
        session.Message(text::kEndType);
    }
}

real OuterDiameterGrowth(Session& session) {
    const SpringRecord& s = session.spring;
    if (s.Dm == 0) return session.Fatal(text::kDmZero), 0;
    if (s.n == 0) return session.Message(text::kNZero), 0;
    real S = 0;
    if (s.endType == 1)
        S = (s.L0 - 2.5L * s.d) / s.n;
    else if (s.endType >= 2)
        S = (s.L0 - s.d) / s.n;
    return 0.1L * (S * S - 0.8L * S * s.d - 0.2L * s.d * s.d) / s.Dm;
}

real BucklingDeflection(Session& session) {
    const SpringRecord& s = session.spring;
    if (s.E == 0) return session.Fatal(text::kEZero), 0;
    if (s.nue == 0) return session.Fatal(text::kNueZero), 0;
    if (s.L0 == 0) return session.Fatal(text::kL0Zero), 0;
    // A negative modulus is no material; with it 0.5 + G/E may reach zero.
    if (s.E < 0) return session.Fatal(text::kENegative), 0;
    const real r = s.Gtheta / s.E;
    // G < E holds for every real material; beyond it the formula divides by zero.
    if (!(r < 1)) return session.Fatal(text::kGNotBelowE), 0;
    if (!(0.5L + r > 0)) return session.Fatal(text::kENegative), 0;
    const real slenderness = kPi * s.Dm / (s.nue * s.L0);
    const real q = 1 - (1 - r) / (0.5L + r) * slenderness * slenderness;
    if (q <= 0) return kBucklingSafe;
    return s.L0 * 0.5L / (1 - r) * (1 - std::sqrt(q));
}

void ManufacturingDiameters(SpringRecord& s) {
    s.mandrelMax = s.Dm - s.d - s.wireTol + s.tolDLower;
    s.sleeveMin = s.Dm + s.d + s.wireTol + s.tolDUpper + s.deltaDe;
}

} // namespace kora

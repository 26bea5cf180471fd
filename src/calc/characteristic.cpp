#include "calc/characteristic.h"

#include "base/numformat.h"
#include "calc/message_texts.h"
#include "calc/session.h"
#include "calc/settings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace kora {
namespace {

using namespace text;

constexpr int kForceIterations = 500;
constexpr real kFourByPi = 1.2732395447351628L;
constexpr real kPi = 3.14159265358979323846264338327950288L;

bool IsNonRound(word wireType) {
    return wireType == 2 || wireType == 3 || wireType == 4;
}

struct BetaRow {
    real ratio, beta;
};
// Saint-Venant coefficient of the torsion constant of a rectangle, b/t -> beta.
constexpr std::array<BetaRow, 8> kBeta = {{{1.0L, 0.140L},
                                           {1.5L, 0.196L},
                                           {2.0L, 0.229L},
                                           {3.0L, 0.263L},
                                           {4.0L, 0.281L},
                                           {6.0L, 0.299L},
                                           {8.0L, 0.307L},
                                           {10.0L, 0.313L}}};

real RectangleBeta(real ratio) {
    if (ratio < 1) ratio = 1 / ratio;
    if (ratio >= 10) return 0.333L;
    for (std::size_t i = 1; i < kBeta.size(); ++i) {
        if (ratio <= kBeta[i].ratio) {
            const BetaRow& a = kBeta[i - 1];
            const BetaRow& b = kBeta[i];
            return a.beta + (b.beta - a.beta) * (ratio - a.ratio) / (b.ratio - a.ratio);
        }
    }
    return 0.333L;
}

// Deflection per newton and coil, the same for every section of one spring; 0 when the
// spring cannot deflect (the caller reports why).
real CompliancePerCoil(const SpringRecord& s) {
    if (IsNonRound(s.wireType)) {
        real It = TorsionConstant(s.d, s.h, s.wireType);
        if (!(It > 0)) return 0;
        return kPi * s.Dm * s.Dm * s.Dm / (4 * s.Gtheta * It);
    }
    return 8 * s.Dm * s.Dm * s.Dm / (s.Gtheta * s.d * s.d * s.d * s.d);
}

// Deflection of one section at F, limited to its travel; `closed` tells whether it is solid.
real SectionDeflection(const CoilSection& c, real F, real perCoil, bool& closed) {
    real free = F * c.ni * perCoil;
    real travel = c.L0i - c.Lci;
    closed = free >= travel;
    return closed ? travel : free;
}

// The checks of one section before its deflection, in their order: d, Dm, ni, G. A failed
// check leaves the section undeflected.
bool SectionCanDeflect(Session& session, const CoilSection& c) {
    const SpringRecord& s = session.spring;
    if (!(s.d > 0)) return session.Fatal(kDNotPositive), false;
    if (!(s.Dm > 0)) return session.Fatal(kDmNotPositive), false;
    if (!(c.ni > 0)) return session.Message(kNiNotPositive), false;
    if (!(s.Gtheta > 0)) return session.Fatal(kGNotPositive), false;
    return true;
}

} // namespace

real TorsionConstant(real d, real h, word wireType) {
    if (!IsNonRound(wireType)) return 0;
    real b = std::max(d, h);
    real t = std::min(d, h);
    if (b == 0 || t == 0) return 0;
    if (wireType == 2) {
        real a = b / 2, c = t / 2;
        return kPi * a * a * a * c * c * c / (a * a + c * c);
    }
    return RectangleBeta(b / t) * b * t * t * t;
}

real SectionRate(Session& session, int i) {
    const SpringRecord& s = session.spring;
    const CoilSection& c = s.sections[i];
    if (!(s.d > 0)) return session.Fatal(kDNotPositive), 0;
    if (!(s.Dm > 0)) return session.Fatal(kDmNotPositive), 0;
    if (!(c.ni > 0)) return session.Fatal(kNiNotPositiveFatal), 0;
    real Dm3 = s.Dm * s.Dm * s.Dm;
    if (IsNonRound(s.wireType)) {
        real It = TorsionConstant(s.d, s.h, s.wireType);
        if (!(It > 0)) return session.Fatal(kHNotPositive), 0;
        return kFourByPi * s.Gtheta * It / (Dm3 * c.ni);
    }
    return s.Gtheta * s.d * s.d * s.d * s.d / (8 * Dm3 * c.ni);
}

real DeflectionAt(Session& session, real F, real* closedCoils) {
    const SpringRecord& s = session.spring;
    if (closedCoils) *closedCoils = 0;
    // Sound spring values leave only ni to check per section; otherwise every section
    // reports its failed checks in their order.
    const bool springCanDeflect = s.d > 0 && s.Dm > 0 && s.Gtheta > 0;
    const real perCoil = springCanDeflect ? CompliancePerCoil(s) : 0;
    real total = 0, closed = 0;
    for (int i = 1; i <= s.nsec; ++i) {
        const CoilSection& c = s.sections[i];
        const bool deflects = springCanDeflect && c.ni > 0;
        if (!deflects) {
            SectionCanDeflect(session, c); // adds the messages of the failed checks
            continue;
        }
        bool isClosed = false;
        total += SectionDeflection(c, F, perCoil, isClosed);
        // The last section to close stays active, so at least its coils count.
        if (isClosed && closed + c.ni < s.n) closed += c.ni;
    }
    if (closedCoils) *closedCoils = closed;
    return total;
}

real ForceAt(Session& session, real s) {
    const SpringRecord& sp = session.spring;
    if (s > sp.sc) return sp.Fc;
    real lo = 0, hi = 2 * sp.Fc;
    for (int i = 0; i < kForceIterations; ++i) {
        real mid = (lo + hi) / 2;
        real sMid = DeflectionAt(session, mid);
        if (sMid < s)
            lo = mid;
        else
            hi = mid;
        if (std::fabs(sMid - s) < sp.seps) return mid;
    }
    session.Message(kIterationF);
    return 0;
}

real RateAt(Session& session, real F) {
    const SpringRecord& sp = session.spring;
    real dF = sp.Fc * sp.faktorRFc;
    real sa, sb;
    if (F >= sp.Fc - dF) {
        sa = DeflectionAt(session, F);
        sb = DeflectionAt(session, F - 2 * dF);
    } else {
        sa = DeflectionAt(session, F + dF);
        sb = DeflectionAt(session, F - dF);
    }
    if (sa == sb) {
        session.Fatal(kFactorRFc);
        return 0;
    }
    return 2 * dF / (sa - sb);
}

real WorkBetween(Session& session, real Fa, real Fb) {
    if (Fa == Fb) return 0;
    // F is taken from the step count, so exactly wsteps steps are made; the count is the
    // setting's, which the file reader and the settings form keep within kWstepsRange.
    const std::int32_t steps = std::clamp(session.spring.wsteps, 1, kWstepsRange.max);
    const real dF = (Fb - Fa) / steps;
    real W = 0, sPrevious = DeflectionAt(session, Fa);
    for (std::int32_t k = 1; k <= steps; ++k) {
        real F = Fa + k * dF;
        real sNew = DeflectionAt(session, F);
        W += (sNew - sPrevious) * F;
        sPrevious = sNew;
    }
    if (!std::isfinite(W)) session.Message(kGetW);
    return W;
}

bool BuildSectionTable(Session& session) {
    SpringRecord& s = session.spring;
    s.Lsec = 0;
    s.n = 0;
    s.Fc = 0;
    for (int i = 1; i <= s.nsec; ++i) {
        CoilSection& c = s.sections[i];
        s.Lsec += c.L0i;
        s.n += c.ni;
        c.Lci = c.ni * s.h;
        const std::string index = std::to_string(i);
        if (c.L0i == 0) {
            // Stopping without the flag would let callers show stale results.
            session.Fatal(std::string(kL0iZero) + index + ")");
            return false;
        }
        if (c.L0i < c.Lci)
            session.Message(std::string(kLciAboveL0i) + index + std::string(kLciAboveL0iMiddle) +
                            index + " !");
        c.Ri = SectionRate(session, i);
        c.Fci = (c.L0i - c.Lci) * c.Ri;
        if (c.Fci > s.Fc) s.Fc = c.Fci;
        if (c.ni == 0) {
            session.Message(std::string(kNiZero) + index + std::string(kNiZeroEnd));
            return false;
        }
        c.P = c.L0i / c.ni;
    }
    s.w = s.Dm / s.d;
    s.Lcth = s.n * s.h;
    s.nt = s.n + s.ne;
    return true;
}

void BuildLengths(SpringRecord& s) {
    s.Lend1 = (s.x / 2 + s.nend1) * s.h;
    s.Lend2 = (s.x / 2 + s.nend2) * s.h;
    s.Lend = s.Lend1 + s.Lend2;
    s.Lc = s.Lcth + s.Lend;
    s.L0 = s.Lsec + s.Lend;
    s.sc = s.L0 - s.Lc;
    s.s1 = s.L0 - s.L1;
    s.s2 = s.L0 - s.L2;
    s.sx = s.L0 - s.Lx;
    s.sh = s.L1 - s.L2;
    s.sn = s.sc - s.Sa;
    s.Ln = s.L0 - s.sn;
}

void WriteDeadCoilBlocks(SpringRecord& s) {
    auto block = [&](CoilSection& slot, real ni, real length) {
        slot = CoilSection{};
        slot.ni = ni;
        slot.L0i = length;
        slot.Lci = length;
        slot.P = s.d;
    };
    block(s.sections[0], s.nend1, s.Lend1);
    if (s.nsec + 1 < kSectionSlots) block(s.sections[s.nsec + 1], s.nend2, s.Lend2);
}

void CheckCharacteristicPoints(Session& session) {
    SpringRecord& s = session.spring;
    for (int i = 1; i <= s.nchar && i < kPointSlots; ++i) {
        CharacteristicPoint& p = s.points[i];
        const CharacteristicPoint& previous = s.points[i - 1];
        real Fcalc = ForceAt(session, p.s);
        if (p.F == 0) p.F = Fcalc;
        if (p.s != previous.s) p.R = (p.F - previous.F) / (p.s - previous.s);
        if (s.definitionMode != 2) continue;
        real deviation = p.F == 0 ? 0 : std::fabs(Fcalc - p.F) / p.F * 100;
        const std::string index = std::to_string(i);
        if (deviation > 0.1L)
            session.Message(std::string(kForceDeviates) + index + " " +
                            ShortFormat(session.config, p.F) + "<>" +
                            ShortFormat(session.config, Fcalc));
        if (p.R < 0.99L * previous.R) session.Message(std::string(kRateFalls) + index + ")");
    }
}

int SlotOfCoil(const SpringRecord& s, real c) {
    real sum = 0;
    const int last = std::min(s.nsec + 1, kSectionSlots - 1);
    for (int slot = 0; slot <= last; ++slot) {
        sum += s.sections[slot].ni;
        if (sum >= c) return slot;
    }
    return last;
}

namespace {

// Walks the slots up to the one holding coil count c; `lengthOf` gives a slot's length.
template <typename LengthOf>
real PositionAlongSlots(const SpringRecord& s, real c, LengthOf lengthOf) {
    const int target = SlotOfCoil(s, c);
    real position = 0, coilsBefore = 0;
    for (int slot = 0; slot < target; ++slot) {
        position += lengthOf(slot);
        coilsBefore += s.sections[slot].ni;
    }
    const CoilSection& c0 = s.sections[target];
    real pitch = c0.ni != 0 ? lengthOf(target) / c0.ni : s.d;
    return position + (c - coilsBefore) * pitch;
}

} // namespace

real CoilPosition(const SpringRecord& s, real c) {
    const int target = SlotOfCoil(s, c);
    real position = 0, coilsBefore = 0;
    for (int slot = 0; slot < target; ++slot) {
        position += s.sections[slot].L0i;
        coilsBefore += s.sections[slot].ni;
    }
    return position + (c - coilsBefore) * s.sections[target].P;
}

real CoilPositionUnderForce(Session& session, real c, real F) {
    auto loadedLength = [&](int slot) { return SectionLength(session, slot, F); };
    return PositionAlongSlots(session.spring, c, loadedLength);
}

real SectionLength(Session& session, int i, real F) {
    const SpringRecord& s = session.spring;
    if (i < 0 || i >= kSectionSlots) return 0;
    const CoilSection& sec = s.sections[i];
    if (i == 0 || i > s.nsec || !SectionCanDeflect(session, sec)) return sec.L0i;
    const real perCoil = s.d > 0 && s.Dm > 0 && s.Gtheta > 0 ? CompliancePerCoil(s) : 0;
    bool closed = false;
    return sec.L0i - SectionDeflection(sec, F, perCoil, closed);
}

std::string SlotName(const SpringRecord& s, int slot) {
    if (slot == 0) return "E1";
    if (slot == s.nsec + 1) return "E2";
    if (slot < 1 || slot > s.nsec) return "XX";
    char text[16];
    std::snprintf(text, sizeof text, "%2d", slot);
    return text;
}

} // namespace kora

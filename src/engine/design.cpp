#include "engine/design.h"

#include "calc/characteristic.h"
#include "calc/message_texts.h"
#include "calc/session.h"
#include "strength/material.h"
#include "strength/stress.h"
#include "strength/wire_tolerance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace kora {
namespace {

using text::kDmNotPositive;
using text::kDNotPositive;

constexpr int kProposalIterations = 6;
constexpr real kProposalIndexCubed = 125; // w = 5
constexpr real kCoilProposalFactor = 2.55L;
constexpr real kCoilProposalTauz = 400;
constexpr real kWireProposalTauz = 500;
constexpr real kEightByPi = 2.5464790894703255L;
constexpr real kFourByPi = 1.2732395447351628L;
constexpr real kSameRate = 0.001L;     // rates closer than this count as equal
constexpr real kSmallestCoils = 0.01L; // sections of fewer coils are left out
constexpr real kLengthSlack = 0.01L;

std::string Indexed(std::string_view start, int i, std::string_view end = design_text::kIndexEnd) {
    std::string text(start);
    text += std::to_string(i);
    text += end;
    return text;
}

int ValidRows(std::int32_t count) {
    return std::clamp<std::int32_t>(count, 0, kMaxPoints);
}

// The height the calculation will use: the entered h for elliptical and rectangular wire,
// otherwise d.
real EffectiveHeight(const SpringRecord& s) {
    if ((s.wireType == 2 || s.wireType == 4) && s.h != 0) return s.h;
    return s.d;
}

// Rate of one active coil, by the formula the calculation uses for the wire type.
real CoilRate(const SpringRecord& s) {
    const real Dm3 = s.Dm * s.Dm * s.Dm;
    if (s.wireType == 2 || s.wireType == 3 || s.wireType == 4)
        return kFourByPi * s.Gtheta * TorsionConstant(s.d, EffectiveHeight(s), s.wireType) / Dm3;
    return s.Gtheta * s.d * s.d * s.d * s.d / (8 * Dm3);
}

// Rm and tauz for the wire diameter d; the spring's own d is left as it was.
void RefreshStrengthAt(Session& session, real d) {
    SpringRecord& s = session.spring;
    const real kept = s.d;
    s.d = d;
    PermissibleStress(session);
    s.d = kept;
}

// Without a usable material the refresh gives tauz = 0; the iteration then goes on with the
// last value instead of dividing by zero.
real UsableTauz(real refreshed, real previous) {
    return refreshed > 0 && std::isfinite(refreshed) ? refreshed : previous;
}

// Slope of row i of the F,R-L table must not be flatter than row i-1, nor than the secant.
bool CheckFrlRow(Session& session, int i) {
    const FrlPoint& a = session.spring.frl[i - 1];
    const FrlPoint& b = session.spring.frl[i];
    std::string_view failed;
    if (!(b.F > a.F))
        failed = design_text::kFrlFNotIncreasing;
    else if (!(b.L < a.L))
        failed = design_text::kFrlLNotDecreasing;
    else if (!(b.R >= a.R))
        failed = design_text::kFrlRateFalls;
    else if (!(b.R >= (b.F - a.F) / (a.L - b.L)))
        failed = design_text::kFrlRateBelowSecant;
    if (failed.empty()) return true;
    session.Fatal(Indexed(failed, i));
    return false;
}

// Corner between the rate lines of two neighbouring F,R-L rows, in the L-F plane; parallel
// lines give the first row itself.
CharacteristicPoint Corner(const FrlPoint& a, const FrlPoint& b) {
    CharacteristicPoint p;
    const real slopes = b.R - a.R;
    if (slopes == 0) {
        p.L = a.L;
        p.F = a.F;
        return p;
    }
    p.L = (b.F - a.F + b.R * b.L - a.R * a.L) / slopes;
    p.F = a.F - a.R * (p.L - a.L);
    return p;
}

bool Mirror(SpringRecord& s, bool aboutFirst) {
    const int n = s.nsec;
    if (n < 0 || 2 * n > kMaxSections) return false;
    std::array<CoilSection, kMaxSections> half{};
    for (int i = 0; i < n; ++i) {
        half[i] = s.sections[i + 1];
        half[i].ni /= 2;
        half[i].L0i /= 2;
    }
    for (int k = 0; k < n; ++k) {
        const CoilSection& inner = half[aboutFirst ? n - 1 - k : k];
        const CoilSection& outer = half[aboutFirst ? k : n - 1 - k];
        s.sections[k + 1] = inner;
        s.sections[n + k + 1] = outer;
    }
    s.nsec = 2 * n;
    return true;
}

// Length of row i of the entered table as the working-length form reads it.
real RowLength(const SpringRecord& s, bool fromFrl, int i) {
    if (fromFrl) return s.frl[i].L;
    if (s.charCoordinate == 1) return s.L0 - s.points[i].s;
    return s.points[i].L;
}

} // namespace

real ProposeCoilDiameter(Session& session, real F) {
    SpringRecord& s = session.spring;
    if (!(F > 0) || !std::isfinite(F)) return 0;
    if (s.tauz == 0) s.tauz = kCoilProposalTauz;
    real tauz = UsableTauz(s.tauz, kCoilProposalTauz);
    real Dm = 0;
    for (int i = 0; i < kProposalIterations; ++i) {
        Dm = std::sqrt(kCoilProposalFactor * kProposalIndexCubed * F / tauz);
        // Before a wire is chosen, the strength is taken at the wire this index implies.
        RefreshStrengthAt(session, s.d >= 0.01L ? s.d : Dm / 5);
        tauz = UsableTauz(s.tauz, tauz);
    }
    return std::round(10 * Dm) / 10;
}

void ProposeWireDiameter(Session& session, real Fmax) {
    SpringRecord& s = session.spring;
    if (!(Fmax > 0) || !std::isfinite(Fmax)) {
        session.Fatal(design_text::kFmaxNotPositive);
        return;
    }
    if (!(s.Dm > 0) || !std::isfinite(s.Dm)) {
        session.Fatal(kDmNotPositive);
        return;
    }
    if (!(s.tauz > 0)) {
        session.Message(design_text::kTauzZero);
        s.tauz = kWireProposalTauz;
    }
    real tauz = s.tauz;
    for (int i = 0; i < kProposalIterations; ++i) {
        s.d = std::cbrt(kEightByPi * Fmax * s.Dm / tauz);
        PermissibleStress(session);
        tauz = UsableTauz(s.tauz, tauz);
    }
    s.d = StandardWireDiameter(session, s.wireTolGrade, 1, s.d);
}

bool DesignSections(Session& session) {
    SpringRecord& s = session.spring;
    session.ClearMessages();
    const int count = ValidRows(s.nchar);
    if (count == 0) {
        session.Fatal(design_text::kNoPoints);
        return false;
    }
    s.points[0].F = 0;
    s.points[0].s = 0;
    s.points[0].R = 0;
    if (!(s.d > 0)) return session.Fatal(kDNotPositive), false;
    if (!(s.Dm > 0)) return session.Fatal(kDmNotPositive), false;
    // The calculation takes G at the operating temperature; the sections must match it.
    if (!SetOperatingShearModulus(session)) return false;
    const real C = CoilRate(s);

    for (int i = 1; i <= count; ++i) {
        const CharacteristicPoint& a = s.points[i - 1];
        CharacteristicPoint& b = s.points[i];
        if (!(b.s > a.s)) return session.Fatal(Indexed(design_text::kSNotIncreasing, i)), false;
        if (!(b.F > a.F)) return session.Fatal(Indexed(design_text::kFNotIncreasing, i)), false;
        b.R = (b.F - a.F) / (b.s - a.s);
        if (b.R - a.R < kSameRate) session.Message(Indexed(design_text::kRateFalls, i));
        if (!(b.R > 0)) return session.Fatal(Indexed(design_text::kRateNegative, i)), false;
    }

    // The sections that are still open between points i-1 and i add up to the rate R_i, so the
    // section closing at point i has 1/Rsec = 1/R_i - 1/R_(i+1).
    s.nsec = 0;
    const real h = EffectiveHeight(s);
    for (int i = 1; i <= count; ++i) {
        const real Ri = s.points[i].R;
        real Rsec = Ri;
        if (i < count) {
            const real Rnext = s.points[i + 1].R;
            Rsec = std::fabs(Ri - Rnext) < kSameRate ? 0 : 1 / (1 / Ri - 1 / Rnext);
        }
        if (Rsec != 0 && C / Rsec > kSmallestCoils) {
            CoilSection section;
            section.ni = C / Rsec;
            section.L0i = section.ni * h + s.points[i].F / Rsec;
            s.sections[++s.nsec] = section;
        } else if (Rsec <= kSameRate) {
            session.Message(design_text::kSectionRateZero);
        }
    }
    s.definitionMode = 2;
    return true;
}

bool ConvertFrlToPoints(Session& session) {
    SpringRecord& s = session.spring;
    session.FatalFlag = false;
    const int count = ValidRows(s.nfrl);
    if (count >= 1 && !(s.frl[1].R > 0)) {
        session.Fatal(Indexed(design_text::kFrlFirstRateNotPositive, 1));
        return false;
    }
    for (int i = 2; i <= count; ++i)
        if (!CheckFrlRow(session, i)) return false;

    s.charCoordinate = 2;
    s.nchar = count;
    s.points[0] = CharacteristicPoint{};
    if (count == 0) return true;
    for (int i = 1; i < count; ++i)
        s.points[i] = Corner(s.frl[i], s.frl[i + 1]);
    s.points[count] = CharacteristicPoint{};
    s.points[count].L = s.frl[count].L;
    s.points[count].F = s.frl[count].F;
    s.L0 = s.frl[1].L + s.frl[1].F / s.frl[1].R;
    for (int i = 1; i <= count; ++i)
        s.points[i].s = s.L0 - s.points[i].L;
    return true;
}

void ScaleCoilCounts(SpringRecord& s, real nNew) {
    if (!(s.n > 0) || !std::isfinite(nNew)) return;
    const real factor = nNew / s.n;
    for (int i = 1; i <= std::min<std::int32_t>(s.nsec, kMaxSections); ++i)
        s.sections[i].ni *= factor;
}

bool ScaleFreeLength(SpringRecord& s, real L0new) {
    if (s.Lend >= s.L0 || !(L0new > s.Lend) || !std::isfinite(L0new)) return false;
    const real factor = (L0new - s.Lend) / (s.L0 - s.Lend);
    for (int i = 1; i <= std::min<std::int32_t>(s.nsec, kMaxSections); ++i)
        s.sections[i].L0i *= factor;
    return true;
}

bool MirrorAboutFirst(SpringRecord& spring) {
    return Mirror(spring, true);
}
bool MirrorAboutLast(SpringRecord& spring) {
    return Mirror(spring, false);
}

real MinimumFreeLength(const SpringRecord& s) {
    const CharacteristicPoint& p1 = s.points[1];
    if (s.nchar < 2) return p1.L;
    const CharacteristicPoint& p2 = s.points[2];
    if (!(p2.F > p1.F) || !(p2.L < p1.L)) return p1.L;
    return p1.L + p1.F * (p1.L - p2.L) / (p2.F - p1.F);
}

void SpreadSolidLength(SpringRecord& s, real LcNew) {
    const real h = EffectiveHeight(s);
    if (!(h > 0) || !std::isfinite(LcNew)) return;
    s.nend1 += (LcNew - s.Lc) / (2 * h);
    s.nend2 = s.nend1;
}

bool ExtendFreeLength(SpringRecord& s, real L0new) {
    if (!(L0new - s.L0 > kLengthSlack) || !std::isfinite(L0new)) return false;
    if (s.nsec < 1 || s.nsec > kMaxSections) return false;
    s.sections[s.nsec].L0i += L0new - s.L0;
    s.L0 = L0new;
    // A full point table keeps its points; only the extension itself is made.
    if (s.nchar >= 0 && s.nchar < kMaxPoints) {
        CharacteristicPoint& p = s.points[++s.nchar];
        p = CharacteristicPoint{};
        p.s = s.L0 - s.Lc;
        p.L = s.Lc;
    }
    return true;
}

void AlignPointsWithFreeLength(SpringRecord& s) {
    for (int i = 1; i <= ValidRows(s.nchar); ++i) {
        CharacteristicPoint& p = s.points[i];
        if (s.charCoordinate == 1)
            p.L = s.L0 - p.s;
        else
            p.s = s.L0 - p.L;
    }
}

real ProposedL1(const SpringRecord& s) {
    return s.L0 - 0.1L * (s.L0 - s.Lc);
}
real ProposedL2(const SpringRecord& s) {
    return (s.Lc + s.L0) / 2;
}

WorkingLengths WorkingLengthsFromTable(const SpringRecord& s, bool fromFrl) {
    const int rows = ValidRows(fromFrl ? s.nfrl : s.nchar);
    if (rows < 2) return {s.L1, s.L2, s.Lx};
    WorkingLengths lengths;
    lengths.L1 = RowLength(s, fromFrl, 1);
    if (rows > 2) {
        lengths.Lx = RowLength(s, fromFrl, 2);
        lengths.L2 = RowLength(s, fromFrl, 3);
    } else {
        lengths.L2 = RowLength(s, fromFrl, 2);
        lengths.Lx = (lengths.L1 + lengths.L2) / 2;
    }
    return lengths;
}

} // namespace kora

#include "strength/fatigue.h"

#include "base/numformat.h"
#include "base/text.h"
#include "calc/session.h"
#include "strength/material.h"
#include "strength/material_texts.h"
#include "strength/power.h"
#include "strength/stress.h"

#include <cmath>
#include <numbers>

namespace kora {
namespace {

// One surface condition of the material's fatigue diagram: upper limit, stroke at lower
// stress 0 (each at fatigueD0 with its decrease per decade of d) and slope.
struct FatigueSet {
    real tauo0, kTauo, tauh0, kTauh, m;
    bool HoldsData() const {
        return tauo0 != 0 || kTauo != 0 || tauh0 != 0 || kTauh != 0 || m != 0;
    }
};

FatigueSet NotPeenedSet(const KORWST_Record& r) {
    return {static_cast<real>(r.tauo0), static_cast<real>(r.kTauo), static_cast<real>(r.tauh0),
            static_cast<real>(r.kTauh), static_cast<real>(r.mSlope)};
}

FatigueSet PeenedSet(const KORWST_Record& r) {
    return {static_cast<real>(r.tauo0Peened), static_cast<real>(r.kTauoPeened),
            static_cast<real>(r.tauh0Peened), static_cast<real>(r.kTauhPeened),
            static_cast<real>(r.mSlopePeened)};
}

// tauh0Factor scales the stroke at lower stress 0 when one surface condition stands in for
// the other (5/6 for peened data used unpeened, 1.2 the other way round).
void ApplySet(FatigueResult& result, const FatigueSet& set, real L, real tauh0Factor = 1) {
    result.tauo = set.tauo0 - set.kTauo * L;
    result.tauh = tauh0Factor * set.tauh0 - set.kTauh * L;
    result.m = set.m;
}

// Fills tauo, tauh and m from the set that suits the surface; the other set stands in
// (approximately) when the suitable one is missing.
void ChooseFatigueSet(Session& session, FatigueResult& result) {
    const KORWST_Record& material = session.CurrentMaterial;
    const SpringRecord& spring = session.spring;
    const bool peened = IsShotPeened(spring);
    if (!(material.fatigueD0 > 0)) return; // no reference diameter: no diagram, no title
    result.title = std::string(TrimmedControls(material.name1)) + " (" +
                   std::string(TrimmedControls(material.name3)) + ") " +
                   std::string(peened ? text::kPeened : text::kNotPeened);
    const real L = Log10OrFloor(spring.d / static_cast<real>(material.fatigueD0));
    const FatigueSet own = peened ? PeenedSet(material) : NotPeenedSet(material);
    const FatigueSet other = peened ? NotPeenedSet(material) : PeenedSet(material);
    if (own.tauo0 != 0 && own.tauh0 != 0) {
        ApplySet(result, own, L);
        return;
    }
    ApplySet(result, other, L, peened ? 1.2L : 5.0L / 6.0L);
    // A material without any fatigue data (a typed material, a bare table row) is not
    // approximated: it simply has no diagram.
    if (other.HoldsData() && spring.warnMode == 1) session.Message(text::kApproxGoodman);
}

bool NoDiagram(const FatigueResult& r) {
    return r.tauo == 0 && r.tauh == 0 && r.m == 0;
}

// Load cycles to fracture with the permissible stroke tauhz: 10^7 where the stroke equals
// it, one decade less for every quarter of tauh by which the stroke exceeds it.
real CyclesToFracture(Session& session, real tauh, real tauhz) {
    const SpringRecord& s = session.spring;
    return PowerOfTen(session, 11 - 4 * (tauh + s.tauk2 - tauhz - s.tauk1) / tauh);
}

void ClearResults(SpringRecord& s) {
    s.tauhz = s.S1 = s.S2 = s.Sh = 0;
    s.N = s.Nmin = s.Nmax = 0;
}

bool InputsAreNumbers(const SpringRecord& s) {
    for (real v :
         {s.tau1, s.tau2, s.tauk1, s.tauk2, s.taukh, s.tauz, s.fatigueTolMin, s.fatigueTolMax})
        if (!std::isfinite(v)) return false;
    return true;
}

bool ResultsAreNumbers(const SpringRecord& s, const FatigueResult& r) {
    for (real v : {r.tauo, r.tauh, r.m, r.tauuLim, s.tauhz, s.S1, s.S2, s.Sh, s.N, s.Nmin, s.Nmax})
        if (!std::isfinite(v)) return false;
    return true;
}

} // namespace

real PowerOfTen(Session& session, real x) {
    if (std::isnan(x)) {
        session.Fatal(text::kFatigueInvalid);
        return 0;
    }
    constexpr real kLimit = 3000;
    const real product = x * std::numbers::ln10_v<real>;
    if (product > kLimit) return std::exp(kLimit);
    if (product < -kLimit) return 0;
    return Power(session, 10, x, "N");
}

FatigueResult FatigueEvaluation(Session& session) {
    SpringRecord& s = session.spring;
    FatigueResult result;
    if (!std::isfinite(s.d)) {
        ClearResults(s);
        session.Fatal(text::kDInvalid);
        return result;
    }
    if (!InputsAreNumbers(s)) {
        ClearResults(s);
        session.Fatal(text::kStressInvalid);
        return result;
    }
    ChooseFatigueSet(session, result);
    if (!std::isfinite(result.tauo) || !std::isfinite(result.tauh) || !std::isfinite(result.m)) {
        ClearResults(s); // a table row holding no number in its fatigue data
        session.Fatal(text::kFatigueInvalid);
        return FatigueResult{};
    }

    // Permissible stroke at the working lower stress tauk1.
    if (NoDiagram(result) || s.materialKind != 0) {
        s.tauhz = 0;
    } else if (result.m == 0) {
        session.Message(text::kGoodmanSlopeZero);
        s.tauhz = 0;
        return result; // safety factors and life values stay as they were
    } else {
        result.tauuLim = (result.tauo - result.tauh) / result.m;
        if (result.tauuLim > s.tauk1)
            s.tauhz = result.m * s.tauk1 + result.tauh - s.tauk1;
        else
            s.tauhz = result.tauo - s.tauk1;
    }

    // Zero stresses end the evaluation under either load type.
    struct ZeroCheck {
        real SpringRecord::*stress;
        std::string_view message;
    };
    static constexpr ZeroCheck kZeroChecks[] = {
        {&SpringRecord::tau2, text::kTau2Zero},
        {&SpringRecord::tauk2, text::kTauk2Zero},
        {&SpringRecord::taukh, text::kTaukhZero},
    };
    for (const ZeroCheck& check : kZeroChecks) {
        if (s.*check.stress == 0) {
            session.Fatal(check.message);
            return result;
        }
    }

    const bool dynamic = !IsStaticLoad(s);
    if (dynamic) {
        s.S1 = std::fabs(s.tauk1) < 1e-5L ? 99 : s.tauz / s.tauk1;
        s.S2 = s.tauz / s.tauk2;
        s.Sh = s.tauhz / s.taukh;
        if (s.Sh < 0.001L || s.tauk2 < 0 || s.tauk1 < 0 || !(result.tauh > 0)) {
            s.N = s.Nmin = s.Nmax = 0;
        } else {
            s.N = CyclesToFracture(session, result.tauh, s.tauhz);
            s.Nmin =
                CyclesToFracture(session, result.tauh, (1 + 0.01L * s.fatigueTolMin) * s.tauhz);
            s.Nmax =
                CyclesToFracture(session, result.tauh, (1 + 0.01L * s.fatigueTolMax) * s.tauhz);
        }
    } else {
        s.S1 = std::fabs(s.tau1) < 1e-5L ? 99 : s.tauz / s.tau1;
        s.S2 = s.tauz / s.tau2;
        s.Sh = 5;
        s.N = s.Nmin = s.Nmax = 0;
    }

    if (!ResultsAreNumbers(s, result)) {
        ClearResults(s);
        result = FatigueResult{};
        session.Fatal(text::kFatigueInvalid);
        return result;
    }

    if (dynamic && result.tauo > 0 && result.tauo < s.tauk2) session.Message(text::kTauk2OverTauo);
    if (dynamic && NoDiagram(result) && s.warnMode == 1) session.Message(text::kNoGoodman);
    return result;
}

std::vector<LifeLine> LifeReportLines(const Session& session) {
    using Kind = LifeLine::Kind;
    const SpringRecord& s = session.spring;
    std::vector<LifeLine> lines;
    if (IsStaticLoad(s) || !(s.tauhz > 0)) return lines;

    constexpr real kMillion = 1e6L, kTenMillion = 1e7L;
    const bool tolerance = s.fatigueTolMin != 0 || s.fatigueTolMax != 0;
    const bool timed = s.f > 0 && std::isfinite(s.f);
    const real hours = timed ? s.f * 3600 : 1;

    auto toleranceLines = [&] {
        lines.push_back({std::string(text::kFatigueTolerance),
                         text::kSymbolTol,
                         text::kUnitPercent,
                         Kind::TolerancePair,
                         s.fatigueTolMax,
                         s.fatigueTolMin,
                         {}});
        lines.push_back({std::string(text::kCyclesToFractureRange),
                         text::kSymbolN,
                         text::kUnitMillions,
                         Kind::Range,
                         s.Nmin / kMillion,
                         s.Nmax / kMillion,
                         {}});
    };
    auto lifeRangeLine = [&] {
        lines.push_back({std::string(text::kLifeRange),
                         text::kSymbolTN,
                         text::kUnitHours,
                         Kind::Range,
                         s.Nmin / hours,
                         s.Nmax / hours,
                         {}});
    };

    if (s.Sh < 1) {
        lines.push_back({std::string(text::kCyclesToFracture),
                         text::kSymbolN,
                         text::kUnitMillions,
                         Kind::Value,
                         s.N / kMillion,
                         0,
                         {}});
        if (tolerance) toleranceLines();
        if (timed && s.N < kTenMillion) {
            lines.push_back({std::string(text::kLifePrefix) + ShortFormat(session.config, s.f) +
                                 std::string(text::kLifeSuffix),
                             text::kSymbolTN,
                             text::kUnitHours,
                             Kind::Value,
                             s.N / hours,
                             0,
                             {}});
            if (tolerance) lifeRangeLine();
        }
    } else {
        lines.push_back({std::string(text::kCyclesToFracture),
                         text::kSymbolN,
                         {},
                         Kind::Text,
                         0,
                         0,
                         text::kAboveTenMillion});
        if (s.Nmin < kTenMillion) toleranceLines();
        lines.push_back(
            {std::string(text::kLife), text::kSymbolTN, {}, Kind::Text, 0, 0, text::kEndurance});
        // Without a load frequency there is no time to show.
        if (s.Nmin < kTenMillion && timed) lifeRangeLine();
    }
    return lines;
}

} // namespace kora

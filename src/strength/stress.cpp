#include "strength/stress.h"

#include "base/numformat.h"
#include "calc/session.h"
#include "strength/material.h"
#include "strength/material_texts.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <string_view>

namespace kora {

bool IsStaticLoad(const SpringRecord& spring) {
    return spring.loadType == 1;
}
bool IsShotPeened(const SpringRecord& spring) {
    return spring.shotPeened != 'N';
}
bool IsHotFormed(const SpringRecord& spring) {
    return spring.manufacturing > 1;
}

real HotFormedShearLimit(real d) {
    return 840 - 250 * Log10OrFloor(0.05L * d);
}

void PermissibleStress(Session& session) {
    SpringRecord& s = session.spring;
    if (s.materialKind >= kOtherMaterialKind) {
        // Typed values stay; only make sure they are numbers.
        if (!std::isfinite(s.Rm)) {
            s.Rm = 0;
            session.Fatal(text::kRmInvalid);
        }
        if (!std::isfinite(s.tauz)) {
            s.tauz = 0;
            session.Fatal(text::kTauzInvalid);
        }
        return;
    }
    s.Rm = TensileStrengthAt(session, s.d);
    s.tauz = 0.56L * s.Rm;
    if (IsHotFormed(s) && std::isfinite(s.d)) s.tauz = std::min(s.tauz, HotFormedShearLimit(s.d));
}

real StressCorrectionFactor(real w) {
    if (!(w > 0) || !std::isfinite(w)) return 0;
    return 1 + 1.25L / w + 0.875L / (w * w) + 1 / (w * w * w);
}

bool SetStressCorrectionFactor(Session& session) {
    SpringRecord& s = session.spring;
    const real w = s.w;
    s.k = StressCorrectionFactor(w);
    if (s.k > 0 && std::isfinite(s.k)) return true;
    s.k = 0;
    session.Fatal(std::isnan(w) || std::isinf(w) ? text::kWInvalid : text::kWNotPositive);
    return false;
}

namespace {

// A diameter range that a standard grade or a wire table holds for; d outside it warns.
struct DiameterRange {
    word key;   // materialKind (grade checks) or wireTolGrade (wire tables)
    word grade; // 0: any grade of the kind
    real dmin, dmax;
    std::string_view message;
};

// One of these is tested: the first row whose kind and grade match. Kind 2 with grades 3..6
// and kinds 7..11 have no range. The VD limit is 7.5 although the text says 7.
constexpr DiameterRange kGradeRanges[] = {
    {1, 1, 1, 10, "DIN: 1<d<10"},        {1, 2, 0.3L, 20, "DIN: 0.3<d<20"},
    {1, 3, 2, 20, "DIN: 2<d<20"},        {1, 4, 0.07L, 20, "DIN: 0.07<d<20"},
    {2, 1, 1, 14, "FD  DIN: 1<d<14"},    {2, 2, 1, 7.5L, "VD  DIN: 1<d<7"},
    {3, 0, 7, 80, "DIN: 7<d<80"},        {4, 0, 0.07L, 20, "DIN: 0.07<d<20"},
    {5, 0, 0.07L, 20, "DIN: 0.07<d<20"}, {6, 0, 0.07L, 20, "DIN: 0.07<d<20"},
};

constexpr DiameterRange kWireTableRanges[] = {
    {1, 0, 0.3L, 20, "DIN 2076 0.3<d<20"},
    {2, 0, 0.07L, 20, "DIN 2076 0.07<d<20"},
    {3, 0, 7, 80, "DIN 2077  7<d<80"},
};

const DiameterRange* RangeFor(std::span<const DiameterRange> table, word key, word grade) {
    for (const DiameterRange& row : table)
        if (row.key == key && (row.grade == 0 || row.grade == grade)) return &row;
    return nullptr;
}

bool Outside(const DiameterRange* range, real d) {
    return range && (d < range->dmin || d > range->dmax);
}

class Checks {
  public:
    explicit Checks(Session& session) : session_(session), s_(session.spring) {}

    void Run() {
        if (!(std::fabs(s_.Rm) >= 1)) session_.Fatal(text::kRmZero);
        if (!IsStaticLoad(s_)) {
            if (s_.tauz < s_.tauk2)
                ErrorWithSafety(text::kTauk2OverTauz, s_.tauk2, text::kTauk2Zero);
            if (s_.tauz < s_.tauk1) session_.Message(text::kTauk1OverTauz);
            if (s_.tauhz > 0 && s_.tauhz < s_.taukh)
                ErrorWithSafety(text::kTaukhOverTauhz, s_.taukh, text::kTaukhZero, s_.tauhz);
        } else {
            if (s_.tauz < s_.tau2) ErrorWithSafety(text::kTau2OverTauz, s_.tau2, text::kTau2Zero);
            if (s_.tauz < s_.tau1) session_.Message(text::kTau1OverTauz);
        }
        if (s_.theta > 50 && s_.tauz > 0 && s_.tauk2 / s_.tauz > 0.6L)
            Warn(std::string(text::kHotTauPrefix) + Short(s_.theta) +
                 std::string(text::kDegreesClose));
        const DiameterRange* grade = RangeFor(kGradeRanges, s_.materialKind, s_.materialGrade);
        if (Outside(grade, s_.d)) Warn(grade->message);
        if (s_.materialKind == 0) MaterialRangeChecks();
        const DiameterRange* wire = RangeFor(kWireTableRanges, s_.wireTolGrade, 0);
        if (Outside(wire, s_.d)) Warn(wire->message);
        if (IsShotPeened(s_) && s_.d < 1) Warn(text::kPeenedThinWire);
    }

  private:
    // The material row's own limits; a typed material has none.
    void MaterialRangeChecks() {
        const KORWST_Record& m = session_.CurrentMaterial;
        if (s_.d < m.dmin)
            Warn(std::string(text::kBelowDmin) + Short(m.dmin) + std::string(text::kClose));
        if (s_.d > m.dmax)
            Warn(std::string(text::kAboveDmax) + Short(m.dmax) + std::string(text::kClose));
        if (s_.theta > m.Tmax) Warn(Temperature(text::kAboveTmax, m.Tmax));
        const RelaxationRecord& r = session_.CurrentRelaxation;
        if (s_.rx2 > 0 && s_.theta > r.T2) Warn(Temperature(text::kAboveT2Relax, r.T2));
        if (s_.rx2 > 0 && s_.theta < r.T1) Warn(Temperature(text::kBelowT1Relax, r.T1));
    }

    // An error that names the safety factor permissible / stress; the stress cannot be 0 when
    // the permissible value is positive, but a negative tauz would divide by it.
    void ErrorWithSafety(std::string_view prefix, real stress, std::string_view zeroMessage) {
        ErrorWithSafety(prefix, stress, zeroMessage, s_.tauz);
    }
    void ErrorWithSafety(std::string_view prefix, real stress, std::string_view zeroMessage,
                         real permissible) {
        if (stress == 0) {
            session_.Fatal(zeroMessage);
            return;
        }
        session_.Message(std::string(prefix) +
                         FixedFormat(session_.config, permissible / stress, 1, 2));
    }

    void Warn(std::string_view message) {
        if (s_.warnMode == 1) session_.Message(message);
    }
    std::string Short(real x) const { return ShortFormat(session_.config, x); }
    std::string Temperature(std::string_view prefix, real T) const {
        return std::string(prefix) + AutoWidthFormat(session_.config, T, 0) +
               std::string(text::kDegreesClose);
    }

    Session& session_;
    const SpringRecord& s_;
};

} // namespace

void StrengthChecks(Session& session) {
    Checks(session).Run();
}

} // namespace kora

#include "strength/tolerances.h"

#include "calc/session.h"
#include "strength/power.h"

#include <cmath>
#include <limits>
#include <string>

namespace kora {
namespace {

constexpr real kNoLimit = std::numeric_limits<real>::infinity();

// Texts of the tolerance code.
constexpr std::string_view kMsgR0Zero = "Fatal  : R = 0 !";
constexpr std::string_view kMsgHotRolled = "DIN 2096: warmgewalzt !";
constexpr std::string_view kMsgManufacturing = "Tol l0 kaltwarm !";
constexpr std::string_view kLabelForceFactor = "Fehler : AF";
constexpr std::string_view kMsgEn15800Dm = "Warnung: EN15800: 0.63<Dm<200";
constexpr std::string_view kMsgEn15800d = "Warnung: EN15800: 0.07<d<16";
constexpr std::string_view kMsgDin2096Dm = "Warnung:  DIN 2096: 30<Dm<460";
constexpr std::string_view kMsgIndexRange = "Fehler : Toleranz Dm/d !";
constexpr std::string_view kMsgDeadCoilPrefix = "Warnung: Endwindung < 1  (";
constexpr std::string_view kMsgF1MinNegative = "Warnung: F1 min < 0 !";
constexpr std::string_view kMsgF2MinNegative = "Warnung: F2 min < 0 !";
constexpr std::string_view kMsgF2MaxAboveFn = "Warnung: F2 max > Fn !";
constexpr std::string_view kMsgF2MaxAboveFc = "Fehler : F2 max > Fc !";

// A deviation that came out as no number (hostile inputs) is no deviation at all.
real Finite(real x) {
    return std::isfinite(x) ? x : 0;
}

bool IsEn15800(word grade) {
    return grade >= 1 && grade <= 3;
}
constexpr word kGradeDin2096 = 4;

// Grade factor Q of EN 15800 grades 1..3 (lengths and forces alike).
constexpr real kGradeFactor[] = {0.63L, 1.0L, 1.6L};

// EN 15800 coil-diameter deviation, rows by Dm (upper bound included), A[grade-1][column]
// with the columns w <= 8, 8 < w <= 14, w > 14.
struct En15800Row {
    real DmUpTo;
    real A[3][3];
};
constexpr En15800Row kEn15800Diameter[] = {
    {1.0L, {{0.05L, 0.07L, 0.10L}, {0.07L, 0.10L, 0.15L}, {0.10L, 0.15L, 0.20L}}},
    {1.6L, {{0.05L, 0.07L, 0.10L}, {0.08L, 0.10L, 0.15L}, {0.15L, 0.20L, 0.30L}}},
    {2.5L, {{0.07L, 0.10L, 0.15L}, {0.10L, 0.15L, 0.20L}, {0.20L, 0.30L, 0.40L}}},
    {4.0L, {{0.10L, 0.10L, 0.15L}, {0.15L, 0.20L, 0.25L}, {0.30L, 0.40L, 0.50L}}},
    {6.3L, {{0.10L, 0.15L, 0.20L}, {0.20L, 0.25L, 0.30L}, {0.40L, 0.50L, 0.60L}}},
    {10.0L, {{0.15L, 0.15L, 0.20L}, {0.25L, 0.30L, 0.35L}, {0.50L, 0.60L, 0.70L}}},
    {16.0L, {{0.15L, 0.20L, 0.25L}, {0.30L, 0.35L, 0.40L}, {0.60L, 0.70L, 0.80L}}},
    {25.0L, {{0.20L, 0.25L, 0.30L}, {0.35L, 0.45L, 0.50L}, {0.70L, 0.90L, 1.00L}}},
    {31.5L, {{0.25L, 0.30L, 0.35L}, {0.40L, 0.50L, 0.60L}, {0.80L, 1.00L, 1.20L}}},
    {40.0L, {{0.25L, 0.30L, 0.35L}, {0.50L, 0.60L, 0.70L}, {1.00L, 1.20L, 1.50L}}},
    {50.0L, {{0.30L, 0.40L, 0.50L}, {0.60L, 0.80L, 0.90L}, {1.20L, 1.50L, 1.80L}}},
    {63.0L, {{0.40L, 0.50L, 0.60L}, {0.80L, 1.00L, 1.10L}, {1.50L, 2.00L, 2.30L}}},
    {80.0L, {{0.50L, 0.70L, 0.80L}, {1.00L, 1.20L, 1.40L}, {1.80L, 2.40L, 2.80L}}},
    {100.0L, {{0.60L, 0.80L, 0.90L}, {1.20L, 1.50L, 1.70L}, {2.30L, 3.00L, 3.50L}}},
    {125.0L, {{0.70L, 1.00L, 1.10L}, {1.40L, 1.90L, 2.20L}, {2.80L, 3.70L, 4.40L}}},
    {160.0L, {{0.90L, 1.20L, 1.40L}, {1.80L, 2.30L, 2.70L}, {3.50L, 4.60L, 5.40L}}},
    {kNoLimit, {{1.20L, 1.50L, 1.70L}, {2.10L, 2.90L, 3.30L}, {4.20L, 5.70L, 6.60L}}},
};

// DIN 2096 coil-diameter deviation, rows by the selected diameter (upper bound included).
struct Din2096Row {
    real DUpTo;
    real outerNarrow, outerWide; // De or Dm; w <= 8, w > 8
    real innerNarrow, innerWide; // Di
};
constexpr Din2096Row kDin2096Diameter[] = {
    {50.0L, 0.80L, 1.20L, 0.60L, 0.80L},  {65.0L, 1.00L, 1.50L, 0.70L, 1.00L},
    {80.0L, 1.20L, 1.80L, 0.80L, 1.20L},  {100.0L, 1.50L, 2.30L, 1.00L, 1.50L},
    {125.0L, 1.70L, 2.60L, 1.10L, 1.70L}, {160.0L, 2.00L, 3.00L, 1.30L, 2.00L},
    {200.0L, 2.20L, 3.30L, 1.50L, 2.20L}, {250.0L, 2.60L, 3.90L, 1.80L, 2.60L},
    {300.0L, 3.10L, 4.60L, 2.10L, 3.10L}, {kNoLimit, 4.00L, 5.50L, 2.50L, 4.00L},
};

// Perpendicularity and parallelism factors of grades 1..4.
struct FormFactorRow {
    real f1, f2;
};
constexpr FormFactorRow kFormFactors[] = {
    {0.03L, 0.015L}, {0.05L, 0.03L}, {0.08L, 0.06L}, {0.03L, 0.025L}};

int En15800Column(real w) {
    if (w <= 8) return 0;
    if (w <= 14) return 1;
    return 2;
}

real En15800DiameterDeviation(word grade, real w, real Dm) {
    for (const En15800Row& row : kEn15800Diameter)
        if (Dm <= row.DmUpTo) return row.A[grade - 1][En15800Column(w)];
    return 0; // Dm is no number
}

real Din2096DiameterDeviation(word selector, real w, real Dm, real Di, real De) {
    real D = selector == kSelectDe ? De : selector == kSelectDi ? Di : Dm;
    bool wide = w > 8;
    for (const Din2096Row& row : kDin2096Diameter) {
        if (!(D <= row.DUpTo)) continue;
        if (selector == kSelectDi) return wide ? row.innerWide : row.innerNarrow;
        return wide ? row.outerWide : row.outerNarrow;
    }
    return 0;
}

// DIN 2096 length change factor of hot-formed springs: 0.012 for machined, else 0.015.
real Din2096Factor(word manufacturing) {
    return manufacturing == 3 ? 0.012L : 0.015L;
}

real SpringIndexOf(real Dm, real d) {
    return d != 0 ? Dm / d : 0;
}

} // namespace

real CoilDiameterDeviation(word grade, word selector, real w, real Dm, real Di, real De) {
    if (IsEn15800(grade)) return En15800DiameterDeviation(grade, w, Dm);
    if (grade == kGradeDin2096) return Din2096DiameterDeviation(selector, w, Dm, Di, De);
    return 0;
}

real ForceFactor(Session& session, real Dm, real d) {
    if (Dm == 0 || d == 0) return 0;
    real v = Dm / d / 10;
    real shape = ((-0.84L * v + 3.781L) * v - 4.244L) * v + 2.274L;
    real dPart = Power(session, d, 3.3L, kLabelForceFactor);
    real DmPart = Power(session, Dm, 1.6L, kLabelForceFactor);
    return Finite(65.92L * dPart / DmPart * shape);
}

real CoilFactor(real n) {
    real nc = n > 2 ? n : 2; // also takes a NaN as 2
    return 1 / (3 * nc * nc) + 8 / (5 * nc) + 0.803L;
}

real FreeLengthDeviation(Session& session, word grade, word manufacturing, real Dm, real d, real R0,
                         real n, real L0, real sc) {
    if (R0 == 0) {
        session.Message(kMsgR0Zero);
        return 0;
    }
    if (IsEn15800(grade))
        return Finite(ForceFactor(session, Dm, d) * CoilFactor(n) * kGradeFactor[grade - 1] / R0);
    if (grade != kGradeDin2096) return 0;
    if (manufacturing < 1 || manufacturing > 3) {
        session.Message(kMsgManufacturing);
        return 0;
    }
    if (manufacturing == 1) session.Message(kMsgHotRolled);
    // Without active coils the DIN 2096 formula has no value.
    if (!(n > 0)) return 0;
    return Finite(Din2096Factor(manufacturing) * (L0 + sc) * (1 + 2 / n));
}

real ForceDeviation(Session& session, bool messageFlag, word grade, word manufacturing, real F,
                    real s, real Dm, real d, real n, real L0, real R) {
    // Written as "not above 0" so that a value that is no number counts as missing too.
    if (!(Dm > 0) || !(d > 0) || !(n > 0) || !(L0 > 0) || !(R > 0)) return 0;
    if (IsEn15800(grade))
        return Finite((ForceFactor(session, Dm, d) * CoilFactor(n) + 1.5L * F / 100) *
                      kGradeFactor[grade - 1]);
    if (grade != kGradeDin2096) return 0;
    if (manufacturing != 2 && manufacturing != 3 && messageFlag) session.Message(kMsgHotRolled);
    return Finite(Din2096Factor(manufacturing) * (L0 + s) * (1 + 2 / n) * R);
}

real PerpendicularityDeviation(word grade, real L0) {
    if (grade < 1 || grade > 4) return 0;
    return Finite(kFormFactors[grade - 1].f1 * L0);
}

real ParallelismDeviation(word grade, real De) {
    if (grade < 1 || grade > 4) return 0;
    return Finite(kFormFactors[grade - 1].f2 * De);
}

void CoilDiameterTolerance(Session& session) {
    SpringRecord& s = session.spring;
    if (s.tolGradeD >= kGradeTyped) return;
    real A = CoilDiameterDeviation(s.tolGradeD, kSelectDm, SpringIndexOf(s.Dm, s.d), s.Dm, 0, 0);
    s.tolDUpper = A;
    s.tolDLower = -A;
}

void SpringTolerances(Session& session) {
    SpringRecord& s = session.spring;
    if (s.tolGradeL0 < kGradeTyped) {
        real A = FreeLengthDeviation(session, s.tolGradeL0, s.manufacturing, s.Dm, s.d, s.R0, s.n,
                                     s.L0, s.sc);
        s.tolL0Upper = A;
        s.tolL0Lower = -A;
    }
    if (s.tolGradeF1 < kGradeTyped) {
        real A = ForceDeviation(session, true, s.tolGradeF1, s.manufacturing, s.F1, s.s1, s.Dm, s.d,
                                s.n, s.L0, s.R1);
        s.tolF1Upper = A;
        s.tolF1Lower = -A;
    }
    if (s.tolGradeF2 < kGradeTyped) {
        real A = ForceDeviation(session, true, s.tolGradeF2, s.manufacturing, s.F2, s.s2, s.Dm, s.d,
                                s.n, s.L0, s.R2);
        s.tolF2Upper = A;
        s.tolF2Lower = -A;
    }
    if (s.tolGradeE1 < kGradeTyped) s.e1 = PerpendicularityDeviation(s.tolGradeE1, s.L0);
    if (s.tolGradeE2 < kGradeTyped) s.e2 = ParallelismDeviation(s.tolGradeE2, s.Dm + s.d);
    if (s.endType == 1) { // "angelegt und unbearbeitet": unground ends have no e1, e2
        s.e1 = 0;
        s.e2 = 0;
    }
}

namespace {

// A range of the tolerance standard: a spring below it is always reported, one above it
// only while warnings are on.
void RangeCheck(Session& session, real value, real low, real high, std::string_view text) {
    if (value < low) session.Message(text);
    if (value > high) session.Warning(text);
}

void StandardRangeChecks(Session& session) {
    const SpringRecord& s = session.spring;
    if (IsEn15800(s.tolGradeD)) {
        RangeCheck(session, s.Dm, 0.63L, 200, kMsgEn15800Dm);
        RangeCheck(session, s.d, 0.07L, 16, kMsgEn15800d);
    } else if (s.tolGradeD == kGradeDin2096) {
        RangeCheck(session, s.Dm, 30, 460, kMsgDin2096Dm);
    }
}

void SpringIndexChecks(Session& session) {
    const SpringRecord& s = session.spring;
    bool din = s.tolGradeL0 == kGradeDin2096 || s.tolGradeF1 == kGradeDin2096;
    if (din && (s.w < 3 || s.w > 12)) session.Message(kMsgIndexRange);
    bool en = s.tolGradeL0 <= 3 || s.tolGradeF1 <= 3;
    if (en && (s.w < 4 || s.w > 20)) session.Message(kMsgIndexRange);
}

// Cold coiling cannot close a dead coil shorter than three quarters of a turn.
void DeadCoilChecks(Session& session) {
    const SpringRecord& s = session.spring;
    if (s.manufacturing != 1) return;
    const real nend[] = {s.nend1, s.nend2};
    for (int k = 1; k <= 2; ++k)
        if (nend[k - 1] > 0 && nend[k - 1] < 0.75L)
            session.Warning(std::string(kMsgDeadCoilPrefix) + std::to_string(k) + ")");
}

void ForceToleranceChecks(Session& session) {
    const SpringRecord& s = session.spring;
    if (s.F1 + s.tolF1Lower < 0 && s.F1 != 0) session.Warning(kMsgF1MinNegative);
    if (s.F2 + s.tolF2Lower < 0) session.Warning(kMsgF2MinNegative);
    if (s.F2 + s.tolF2Upper > s.Fn && s.loadType == 2) session.Warning(kMsgF2MaxAboveFn);
    // An error by its text, yet "Warnungen unterdrücken" silences it as well.
    if (s.F2 + s.tolF2Upper > s.Fc) session.Warning(kMsgF2MaxAboveFc);
}

} // namespace

void ToleranceChecks(Session& session) {
    StandardRangeChecks(session);
    SpringIndexChecks(session);
    DeadCoilChecks(session);
    ForceToleranceChecks(session);
}

} // namespace kora

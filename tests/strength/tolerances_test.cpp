// Spring tolerances after EN 15800 and DIN 2096, the calculation steps that fill them and the
// range checks of the chosen standard.
#include "strength/tolerances.h"

#include "calc/session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kora {
namespace {

constexpr real kInf = std::numeric_limits<real>::infinity();
constexpr real kNaN = std::numeric_limits<real>::quiet_NaN();
constexpr real kEps = 1e-4L;

const std::string kR0Zero = "Fatal  : R = 0 !";
const std::string kHotRolled = "DIN 2096: warmgewalzt !";
const std::string kKaltwarm = "Tol l0 kaltwarm !";
const std::string kAfPow = "Fehler : AF (pow)";
const std::string kEnDm = "Warnung: EN15800: 0.63<Dm<200";
const std::string kEnD = "Warnung: EN15800: 0.07<d<16";
const std::string kDinDm = "Warnung:  DIN 2096: 30<Dm<460";
const std::string kIndex = "Fehler : Toleranz Dm/d !";
const std::string kEnd1 = "Warnung: Endwindung < 1  (1)";
const std::string kEnd2 = "Warnung: Endwindung < 1  (2)";
const std::string kF1Min = "Warnung: F1 min < 0 !";
const std::string kF2Min = "Warnung: F2 min < 0 !";
const std::string kF2Fn = "Warnung: F2 max > Fn !";
const std::string kF2Fc = "Fehler : F2 max > Fc !";

std::vector<std::string> Messages(const Session& s) {
    return {s.messages.begin(), s.messages.end()};
}

// The force factor written out with std::pow, to check the power-rule version against.
real ExpectedForceFactor(real Dm, real d) {
    real v = Dm / d / 10;
    return 65.92L * std::pow(d, 3.3L) / std::pow(Dm, 1.6L) *
           (-0.84L * v * v * v + 3.781L * v * v - 4.244L * v + 2.274L);
}

// EN 15800: each row holds Dm above its lower bound up to and including its upper bound;
// columns grade 1 (w <= 8, 8 < w <= 14, w > 14), grade 2 (same), grade 3 (same).
TEST(CoilDiameterDeviation, En15800RowByRow) {
    struct Row {
        real above, upTo;
        real A[9];
    };
    const Row rows[] = {
        {-kInf, 1.0L, {0.05L, 0.07L, 0.10L, 0.07L, 0.10L, 0.15L, 0.10L, 0.15L, 0.20L}},
        {1.0L, 1.6L, {0.05L, 0.07L, 0.10L, 0.08L, 0.10L, 0.15L, 0.15L, 0.20L, 0.30L}},
        {1.6L, 2.5L, {0.07L, 0.10L, 0.15L, 0.10L, 0.15L, 0.20L, 0.20L, 0.30L, 0.40L}},
        {2.5L, 4.0L, {0.10L, 0.10L, 0.15L, 0.15L, 0.20L, 0.25L, 0.30L, 0.40L, 0.50L}},
        {4.0L, 6.3L, {0.10L, 0.15L, 0.20L, 0.20L, 0.25L, 0.30L, 0.40L, 0.50L, 0.60L}},
        {6.3L, 10.0L, {0.15L, 0.15L, 0.20L, 0.25L, 0.30L, 0.35L, 0.50L, 0.60L, 0.70L}},
        {10.0L, 16.0L, {0.15L, 0.20L, 0.25L, 0.30L, 0.35L, 0.40L, 0.60L, 0.70L, 0.80L}},
        {16.0L, 25.0L, {0.20L, 0.25L, 0.30L, 0.35L, 0.45L, 0.50L, 0.70L, 0.90L, 1.00L}},
        {25.0L, 31.5L, {0.25L, 0.30L, 0.35L, 0.40L, 0.50L, 0.60L, 0.80L, 1.00L, 1.20L}},
        {31.5L, 40.0L, {0.25L, 0.30L, 0.35L, 0.50L, 0.60L, 0.70L, 1.00L, 1.20L, 1.50L}},
        {40.0L, 50.0L, {0.30L, 0.40L, 0.50L, 0.60L, 0.80L, 0.90L, 1.20L, 1.50L, 1.80L}},
        {50.0L, 63.0L, {0.40L, 0.50L, 0.60L, 0.80L, 1.00L, 1.10L, 1.50L, 2.00L, 2.30L}},
        {63.0L, 80.0L, {0.50L, 0.70L, 0.80L, 1.00L, 1.20L, 1.40L, 1.80L, 2.40L, 2.80L}},
        {80.0L, 100.0L, {0.60L, 0.80L, 0.90L, 1.20L, 1.50L, 1.70L, 2.30L, 3.00L, 3.50L}},
        {100.0L, 125.0L, {0.70L, 1.00L, 1.10L, 1.40L, 1.90L, 2.20L, 2.80L, 3.70L, 4.40L}},
        {125.0L, 160.0L, {0.90L, 1.20L, 1.40L, 1.80L, 2.30L, 2.70L, 3.50L, 4.60L, 5.40L}},
        {160.0L, kInf, {1.20L, 1.50L, 1.70L, 2.10L, 2.90L, 3.30L, 4.20L, 5.70L, 6.60L}},
    };
    struct WColumn {
        real w;
        int column;
    };
    const WColumn ws[] = {{2, 0}, {8, 0}, {8 + kEps, 1}, {14, 1}, {14 + kEps, 2}, {40, 2}};
    for (const Row& row : rows) {
        std::vector<real> Dms;
        Dms.push_back(std::isfinite(row.upTo) ? row.upTo : 1000);
        Dms.push_back(std::isfinite(row.above) ? row.above + kEps : 0.1L);
        for (real Dm : Dms)
            for (word grade = 1; grade <= 3; ++grade)
                for (const WColumn& w : ws) {
                    // Grades 1..3 always look up Dm, whatever the selector and De, Di say.
                    for (word selector : {word(1), word(2), word(3)})
                        EXPECT_EQ(CoilDiameterDeviation(grade, selector, w.w, Dm, 999, 999),
                                  row.A[(grade - 1) * 3 + w.column])
                            << "Dm " << double(Dm) << " grade " << grade << " w " << double(w.w);
                }
    }
}

// DIN 2096: rows by the selected diameter; the inner diameter has its own columns.
TEST(CoilDiameterDeviation, Din2096RowByRow) {
    struct Row {
        real above, upTo;
        real outerNarrow, outerWide, innerNarrow, innerWide;
    };
    const Row rows[] = {
        {-kInf, 50.0L, 0.80L, 1.20L, 0.60L, 0.80L},   {50.0L, 65.0L, 1.00L, 1.50L, 0.70L, 1.00L},
        {65.0L, 80.0L, 1.20L, 1.80L, 0.80L, 1.20L},   {80.0L, 100.0L, 1.50L, 2.30L, 1.00L, 1.50L},
        {100.0L, 125.0L, 1.70L, 2.60L, 1.10L, 1.70L}, {125.0L, 160.0L, 2.00L, 3.00L, 1.30L, 2.00L},
        {160.0L, 200.0L, 2.20L, 3.30L, 1.50L, 2.20L}, {200.0L, 250.0L, 2.60L, 3.90L, 1.80L, 2.60L},
        {250.0L, 300.0L, 3.10L, 4.60L, 2.10L, 3.10L}, {300.0L, kInf, 4.00L, 5.50L, 2.50L, 4.00L},
    };
    constexpr real kOther = 5000; // the diameters not selected: far off the row under test
    for (const Row& row : rows) {
        std::vector<real> Ds;
        Ds.push_back(std::isfinite(row.upTo) ? row.upTo : 1000);
        Ds.push_back(std::isfinite(row.above) ? row.above + kEps : 10);
        for (real D : Ds)
            for (real w : {real(8), 8 + kEps}) {
                bool wide = w > 8;
                real outer = wide ? row.outerWide : row.outerNarrow;
                real inner = wide ? row.innerWide : row.innerNarrow;
                SCOPED_TRACE("D " + std::to_string(double(D)) + " w " + std::to_string(double(w)));
                EXPECT_EQ(CoilDiameterDeviation(4, kSelectDe, w, kOther, kOther, D), outer);
                EXPECT_EQ(CoilDiameterDeviation(4, kSelectDi, w, kOther, D, kOther), inner);
                EXPECT_EQ(CoilDiameterDeviation(4, kSelectDm, w, D, kOther, kOther), outer);
            }
    }
}

TEST(CoilDiameterDeviation, WorkedExamplesAndOtherGrades) {
    struct Case {
        word grade, selector;
        real w, Dm, Di, De;
        real expected;
    };
    const Case cases[] = {
        {2, 3, 8, 1.6L, 0, 0, 0.08L},
        {2, 3, 8, 1.61L, 0, 0, 0.10L},
        {4, 2, 10, 60, 60, 0, 1.00L},
        {4, 3, 10, 60, 60, 0, 1.50L},
        {5, 3, 10, 60, 60, 60, 0},
        {0, 3, 10, 60, 60, 60, 0},
        {6, 3, 10, 60, 60, 60, 0},
        {2, 3, kNaN, 20, 0, 0, 0.50L}, // a w that is no number falls into the last column
        {2, 3, 8, kNaN, 0, 0, 0},
        {4, 1, 8, 0, 0, kNaN, 0},
        {2, 3, 8, -5, 0, 0, 0.07L}, // below every bound: the first row
    };
    for (const Case& c : cases)
        EXPECT_EQ(CoilDiameterDeviation(c.grade, c.selector, c.w, c.Dm, c.Di, c.De), c.expected)
            << "grade " << c.grade << " Dm " << double(c.Dm);
}

TEST(CoilFactor, FewerThanTwoCoilsCountAsTwo) {
    auto formula = [](real n) { return 1 / (3 * n * n) + 8 / (5 * n) + 0.803L; };
    struct Case {
        real n, expected;
    };
    const Case cases[] = {
        {2, formula(2)},    {1, formula(2)},       {0, formula(2)},   {-3, formula(2)},
        {kNaN, formula(2)}, {2.5L, formula(2.5L)}, {10, formula(10)}, {kInf, 0.803L},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CoilFactor(c.n), c.expected, 1e-15L) << double(c.n);
}

TEST(ForceFactor, FormulaZeroDiametersAndNegativeBases) {
    struct Case {
        real Dm, d, expected;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {20, 2, ExpectedForceFactor(20, 2), {}},
        {30, 2.5L, ExpectedForceFactor(30, 2.5L), {}},
        {8, 1, ExpectedForceFactor(8, 1), {}},
        {0, 2, 0, {}},
        {20, 0, 0, {}},
        // A negative Dm enters the power as |Dm| with the message, the shape term as it is.
        {-20,
         2,
         65.92L * std::pow(2.0L, 3.3L) / std::pow(20.0L, 1.6L) * (0.84L + 3.781L + 4.244L + 2.274L),
         {kAfPow}},
        {kNaN, 2, 0, {}},
        {20, kInf, 0, {}},
    };
    for (const Case& c : cases) {
        Session s;
        real kF = ForceFactor(s, c.Dm, c.d);
        EXPECT_NEAR(kF, c.expected, 1e-12L * (1 + std::fabs(c.expected)))
            << double(c.Dm) << " " << double(c.d);
        EXPECT_TRUE(std::isfinite(kF));
        EXPECT_EQ(Messages(s), c.messages);
    }
}

TEST(FreeLengthDeviation, GradesManufacturingAndFailures) {
    const real kF = ExpectedForceFactor(20, 2);
    struct Case {
        word grade, manufacturing;
        real R0, n, L0, sc;
        real expected;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {1, 1, 10, 6, 50, 30, kF * CoilFactor(6) * 0.63L / 10, {}},
        {2, 1, 10, 6, 50, 30, kF * CoilFactor(6) * 1.0L / 10, {}},
        {3, 2, 10, 6, 50, 30, kF * CoilFactor(6) * 1.6L / 10, {}},
        {2, 1, 10, 1, 50, 30, kF * CoilFactor(2) / 10, {}},
        {4, 1, 10, 4, 50, 30, 0.015L * 80 * 1.5L, {kHotRolled}},
        {4, 2, 10, 4, 50, 30, 0.015L * 80 * 1.5L, {}},
        {4, 3, 10, 4, 50, 30, 0.012L * 80 * 1.5L, {}},
        {4, 0, 10, 4, 50, 30, 0, {kKaltwarm}},
        {4, 4, 10, 4, 50, 30, 0, {kKaltwarm}},
        {1, 1, 0, 6, 50, 30, 0, {kR0Zero}},
        {4, 2, 0, 6, 50, 30, 0, {kR0Zero}},
        {5, 1, 10, 6, 50, 30, 0, {}},
        {0, 1, 10, 6, 50, 30, 0, {}},
        // No active coils: the DIN 2096 formula has no value, not a division by zero.
        {4, 2, 10, 0, 50, 30, 0, {}},
        {4, 1, 10, 0, 50, 30, 0, {kHotRolled}},
        {4, 2, 10, -1, 50, 30, 0, {}},
        {4, 2, 10, kNaN, 50, 30, 0, {}},
        {2, 1, kNaN, 6, 50, 30, 0, {}},
        {2, 1, 1e-4945L, 6, 50, 30, 0, {}}, // overflows to infinity: no deviation
    };
    for (const Case& c : cases) {
        Session s;
        real A = FreeLengthDeviation(s, c.grade, c.manufacturing, 20, 2, c.R0, c.n, c.L0, c.sc);
        SCOPED_TRACE("grade " + std::to_string(c.grade) + " manufacturing " +
                     std::to_string(c.manufacturing) + " n " + std::to_string(double(c.n)));
        EXPECT_NEAR(A, c.expected, 1e-12L);
        EXPECT_EQ(Messages(s), c.messages);
        EXPECT_FALSE(s.FatalFlag);
    }
}

TEST(ForceDeviation, GradesManufacturingGuardsAndMessageFlag) {
    const real kF = ExpectedForceFactor(20, 2);
    struct Case {
        bool flag;
        word grade, manufacturing;
        real F, s, Dm, d, n, L0, R;
        real expected;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {true, 1, 1, 100, 10, 20, 2, 6, 50, 10, (kF * CoilFactor(6) + 1.5L) * 0.63L, {}},
        {true, 2, 1, 100, 10, 20, 2, 6, 50, 10, (kF * CoilFactor(6) + 1.5L) * 1.0L, {}},
        {true, 3, 1, 200, 10, 20, 2, 6, 50, 10, (kF * CoilFactor(6) + 3.0L) * 1.6L, {}},
        {true, 4, 2, 100, 10, 20, 2, 4, 50, 10, 0.015L * 60 * 1.5L * 10, {}},
        {true, 4, 3, 100, 10, 20, 2, 4, 50, 10, 0.012L * 60 * 1.5L * 10, {}},
        {true, 4, 1, 100, 10, 20, 2, 4, 50, 10, 0.015L * 60 * 1.5L * 10, {kHotRolled}},
        {false, 4, 1, 100, 10, 20, 2, 4, 50, 10, 0.015L * 60 * 1.5L * 10, {}},
        {true, 4, 7, 100, 10, 20, 2, 4, 50, 10, 0.015L * 60 * 1.5L * 10, {kHotRolled}},
        {true, 5, 1, 100, 10, 20, 2, 6, 50, 10, 0, {}},
        {true, 0, 1, 100, 10, 20, 2, 6, 50, 10, 0, {}},
        // Any of Dm, d, n, L0, R at or below 0 (or no number) gives no deviation.
        {true, 2, 1, 100, 10, 0, 2, 6, 50, 10, 0, {}},
        {true, 2, 1, 100, 10, 20, -2, 6, 50, 10, 0, {}},
        {true, 4, 1, 100, 10, 20, 2, 0, 50, 10, 0, {}},
        {true, 2, 1, 100, 10, 20, 2, 6, 0, 10, 0, {}},
        {true, 2, 1, 100, 10, 20, 2, 6, 50, -1, 0, {}},
        {true, 2, 1, 100, 10, kNaN, 2, 6, 50, 10, 0, {}},
        {true, 4, 2, 100, 10, 20, 2, kNaN, 50, 10, 0, {}},
        {true, 2, 1, 100, 10, 20, 2, 6, 50, kNaN, 0, {}},
        {true, 2, 1, kNaN, 10, 20, 2, 6, 50, 10, 0, {}},
    };
    for (const Case& c : cases) {
        Session s;
        real A = ForceDeviation(s, c.flag, c.grade, c.manufacturing, c.F, c.s, c.Dm, c.d, c.n, c.L0,
                                c.R);
        SCOPED_TRACE("grade " + std::to_string(c.grade) + " manufacturing " +
                     std::to_string(c.manufacturing));
        EXPECT_NEAR(A, c.expected, 1e-12L);
        EXPECT_EQ(Messages(s), c.messages);
    }
}

TEST(FormDeviations, PerpendicularityAndParallelismFactors) {
    struct Case {
        word grade;
        real f1, f2;
    };
    const Case cases[] = {{1, 0.03L, 0.015L}, {2, 0.05L, 0.03L}, {3, 0.08L, 0.06L},
                          {4, 0.03L, 0.025L}, {5, 0, 0},         {0, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(PerpendicularityDeviation(c.grade, 40), c.f1 * 40) << c.grade;
        EXPECT_EQ(ParallelismDeviation(c.grade, 25), c.f2 * 25) << c.grade;
        EXPECT_EQ(PerpendicularityDeviation(c.grade, kNaN), 0);
        EXPECT_EQ(ParallelismDeviation(c.grade, kInf), 0);
    }
}

// A spring with plausible results of the earlier calculation steps.
Session CalculatedSpring() {
    Session s;
    SpringRecord& r = s.spring;
    r.Dm = 20;
    r.d = 2;
    r.w = 10;
    r.Di = 18;
    r.De = 22;
    r.n = 6;
    r.L0 = 50;
    r.sc = 30;
    r.s1 = 10;
    r.s2 = 20;
    r.F1 = 100;
    r.F2 = 200;
    r.R0 = 10;
    r.R1 = 10;
    r.R2 = 10;
    r.Fn = 300;
    r.Fc = 400;
    r.manufacturing = 1;
    r.endType = 2;
    return s;
}

TEST(CoilDiameterTolerance, StepFillsBothDeviationsUnlessTyped) {
    struct Case {
        word grade;
        real Dm, d;
        real expected;
    };
    const Case cases[] = {
        {2, 22, 3, 0.35L}, // the default spring: w = 7.3, row 16..25
        {1, 20, 2, 0.25L}, // w = 10
        {3, 20, 1, 1.00L}, // w = 20
        {4, 60, 6, 1.50L}, // always as Dm
        {2, 22, 0, 0.35L}, // d = 0: no division, w counts as 0
        {2, kNaN, 3, 0},
    };
    for (const Case& c : cases) {
        Session s;
        s.spring.tolGradeD = c.grade;
        s.spring.Dm = c.Dm;
        s.spring.d = c.d;
        CoilDiameterTolerance(s);
        EXPECT_EQ(s.spring.tolDUpper, c.expected) << double(c.Dm) << " " << double(c.d);
        EXPECT_EQ(s.spring.tolDLower, -c.expected);
    }
    Session typed;
    typed.spring.tolGradeD = 5;
    typed.spring.tolDUpper = 0.3L;
    typed.spring.tolDLower = -0.1L;
    CoilDiameterTolerance(typed);
    EXPECT_EQ(typed.spring.tolDUpper, 0.3L);
    EXPECT_EQ(typed.spring.tolDLower, -0.1L);
}

TEST(SpringTolerances, FillsEveryDeviationOfAGradeBelow5) {
    Session s = CalculatedSpring();
    SpringRecord& r = s.spring;
    r.tolGradeL0 = 1;
    r.tolGradeF1 = 2;
    r.tolGradeF2 = 4;
    r.tolGradeE1 = 3;
    r.tolGradeE2 = 4;
    SpringTolerances(s);
    const real kF = ExpectedForceFactor(20, 2);
    EXPECT_NEAR(r.tolL0Upper, kF * CoilFactor(6) * 0.63L / 10, 1e-12L);
    EXPECT_EQ(r.tolL0Lower, -r.tolL0Upper);
    EXPECT_NEAR(r.tolF1Upper, kF * CoilFactor(6) + 1.5L, 1e-12L);
    EXPECT_EQ(r.tolF1Lower, -r.tolF1Upper);
    EXPECT_NEAR(r.tolF2Upper, 0.015L * (50 + 20) * (1 + 2.0L / 6) * 10, 1e-12L);
    EXPECT_EQ(r.tolF2Lower, -r.tolF2Upper);
    EXPECT_NEAR(r.e1, 0.08L * 50, 1e-15L);
    EXPECT_NEAR(r.e2, 0.025L * 22, 1e-15L);
    // Grade 4 on a cold-formed spring: the force reports DIN 2096 is for hot-rolled springs.
    EXPECT_EQ(Messages(s), std::vector<std::string>{kHotRolled});
}

TEST(SpringTolerances, Grade4ColdFormedWarnsForL0AndEachForce) {
    Session s = CalculatedSpring();
    s.spring.tolGradeL0 = s.spring.tolGradeF1 = s.spring.tolGradeF2 = 4;
    SpringTolerances(s);
    EXPECT_EQ(Messages(s), std::vector<std::string>{kHotRolled}); // one text, stored once
    EXPECT_GT(s.spring.tolL0Upper, 0);
    EXPECT_GT(s.spring.tolF1Upper, 0);
    EXPECT_GT(s.spring.tolF2Upper, 0);
}

TEST(SpringTolerances, TypedDeviationsOfGrade5Stay) {
    Session s = CalculatedSpring();
    SpringRecord& r = s.spring;
    r.tolGradeL0 = r.tolGradeF1 = r.tolGradeF2 = r.tolGradeE1 = r.tolGradeE2 = 5;
    r.tolL0Upper = 1.1L;
    r.tolL0Lower = -0.2L;
    r.tolF1Upper = 3;
    r.tolF1Lower = -4;
    r.tolF2Upper = 5;
    r.tolF2Lower = -6;
    r.e1 = 0.7L;
    r.e2 = 0.8L;
    SpringTolerances(s);
    EXPECT_EQ(r.tolL0Upper, 1.1L);
    EXPECT_EQ(r.tolL0Lower, -0.2L);
    EXPECT_EQ(r.tolF1Upper, 3);
    EXPECT_EQ(r.tolF1Lower, -4);
    EXPECT_EQ(r.tolF2Upper, 5);
    EXPECT_EQ(r.tolF2Lower, -6);
    EXPECT_EQ(r.e1, 0.7L);
    EXPECT_EQ(r.e2, 0.8L);
    EXPECT_EQ(s.messages.Count(), 0);
}

TEST(SpringTolerances, UngroundEndsHaveNoFormDeviationsWhateverTheGrade) {
    for (word grade : {word(1), word(4), word(5)}) {
        Session s = CalculatedSpring();
        s.spring.endType = 1;
        s.spring.tolGradeE1 = s.spring.tolGradeE2 = grade;
        s.spring.e1 = s.spring.e2 = 0.9L;
        SpringTolerances(s);
        EXPECT_EQ(s.spring.e1, 0) << grade;
        EXPECT_EQ(s.spring.e2, 0) << grade;
    }
}

TEST(SpringTolerances, ZeroRateAtRestIsReportedAndGivesNoDeviation) {
    Session s = CalculatedSpring();
    s.spring.R0 = 0;
    s.spring.tolL0Upper = 7;
    SpringTolerances(s);
    EXPECT_EQ(s.spring.tolL0Upper, 0);
    EXPECT_EQ(s.spring.tolL0Lower, 0);
    EXPECT_EQ(Messages(s), std::vector<std::string>{kR0Zero});
}

TEST(SpringTolerances, HostileSpringGivesFiniteDeviations) {
    for (real bad : {kNaN, kInf, real(0), real(-1)}) {
        Session s = CalculatedSpring();
        SpringRecord& r = s.spring;
        r.n = bad;
        r.L0 = bad;
        r.R1 = bad;
        r.F2 = bad;
        r.tolGradeL0 = 4;
        r.manufacturing = 2;
        SpringTolerances(s);
        for (real v : {r.tolL0Upper, r.tolF1Upper, r.tolF2Upper, r.e1, r.e2})
            EXPECT_TRUE(std::isfinite(v)) << double(bad);
    }
}

// Each case starts from a spring that passes every check and changes a few values.
struct CheckCase {
    const char* what;
    word warnMode = 1;
    word tolGradeD = 2, tolGradeL0 = 2, tolGradeF1 = 2;
    real Dm = 22, d = 3, w = 7.3L;
    real nend1 = 1, nend2 = 1;
    word manufacturing = 1, loadType = 2;
    real F1 = 100, tolF1Lower = -5;
    real F2 = 200, tolF2Lower = -6, tolF2Upper = 6;
    real Fn = 300, Fc = 400;
    std::vector<std::string> expected = {};
};

TEST(ToleranceChecks, MessagesAndWarnModeRules) {
    const CheckCase cases[] = {
        {.what = "clean spring"},
        {.what = "clean spring, warnings off", .warnMode = 2},
        {.what = "Dm below EN range", .Dm = 0.5L, .expected = {kEnDm}},
        {.what = "Dm below EN range, warnings off", .warnMode = 2, .Dm = 0.5L, .expected = {kEnDm}},
        {.what = "Dm above EN range", .Dm = 250, .expected = {kEnDm}},
        {.what = "Dm above EN range, warnings off", .warnMode = 2, .Dm = 250},
        {.what = "Dm at EN bounds", .Dm = 200},
        {.what = "Dm at EN lower bound", .Dm = 0.63L},
        {.what = "d below EN range, warnings off", .warnMode = 2, .d = 0.05L, .expected = {kEnD}},
        {.what = "d above EN range", .d = 17, .expected = {kEnD}},
        {.what = "d above EN range, warnings off", .warnMode = 2, .d = 17},
        {.what = "grade 1 and 3 check EN too", .tolGradeD = 3, .Dm = 0.5L, .expected = {kEnDm}},
        {.what = "DIN Dm below range, warnings off",
         .warnMode = 2,
         .tolGradeD = 4,
         .expected = {kDinDm}},
        {.what = "DIN Dm above range", .tolGradeD = 4, .Dm = 500, .expected = {kDinDm}},
        {.what = "DIN Dm above range, warnings off", .warnMode = 2, .tolGradeD = 4, .Dm = 500},
        {.what = "DIN Dm inside, d outside EN", .tolGradeD = 4, .Dm = 100, .d = 20},
        {.what = "typed diameter deviation", .tolGradeD = 5, .Dm = 0.5L, .d = 20},
        {.what = "EN w below 4", .w = 3.5L, .expected = {kIndex}},
        {.what = "EN w above 20", .w = 21, .expected = {kIndex}},
        {.what = "EN w at 4 and 20", .w = 4},
        {.what = "EN w at 20", .w = 20},
        {.what = "EN w is an error", .warnMode = 2, .w = 21, .expected = {kIndex}},
        {.what = "DIN w below 3",
         .tolGradeL0 = 4,
         .tolGradeF1 = 4,
         .w = 2.5L,
         .expected = {kIndex}},
        {.what = "DIN w above 12", .tolGradeL0 = 4, .tolGradeF1 = 4, .w = 13, .expected = {kIndex}},
        {.what = "DIN w at 12", .tolGradeL0 = 4, .tolGradeF1 = 4, .w = 12},
        {.what = "DIN w 3.5 is fine for DIN", .tolGradeL0 = 4, .tolGradeF1 = 4, .w = 3.5L},
        {.what = "mixed grades: DIN fails", .tolGradeL0 = 4, .w = 13, .expected = {kIndex}},
        {.what = "mixed grades: EN fails", .tolGradeF1 = 4, .w = 3.5L, .expected = {kIndex}},
        {.what = "both fail: stored once", .tolGradeL0 = 4, .w = 2.5L, .expected = {kIndex}},
        {.what = "typed L0 and F1", .tolGradeL0 = 5, .tolGradeF1 = 5, .w = 100},
        {.what = "short dead coil 1", .nend1 = 0.5L, .expected = {kEnd1}},
        {.what = "short dead coil 2", .nend2 = 0.7L, .expected = {kEnd2}},
        {.what = "both short", .nend1 = 0.5L, .nend2 = 0.5L, .expected = {kEnd1, kEnd2}},
        {.what = "no dead coil", .nend1 = 0, .nend2 = 0},
        {.what = "three quarters", .nend1 = 0.75L},
        {.what = "hot formed", .nend1 = 0.5L, .manufacturing = 2},
        {.what = "short dead coil, warnings off", .warnMode = 2, .nend1 = 0.5L},
        {.what = "F1 min below 0", .F1 = 3, .expected = {kF1Min}},
        {.what = "F1 = 0 is not checked", .F1 = 0},
        {.what = "F1 min, warnings off", .warnMode = 2, .F1 = 3},
        {.what = "F2 min below 0", .F2 = 3, .expected = {kF2Min}},
        {.what = "F2 = 0 is checked", .F2 = 0, .expected = {kF2Min}},
        {.what = "F2 max above Fn", .Fn = 205, .expected = {kF2Fn}},
        {.what = "F2 max above Fn, static load", .loadType = 1, .Fn = 205},
        {.what = "F2 max at Fn", .Fn = 206},
        {.what = "F2 max above Fc", .Fc = 205, .expected = {kF2Fc}},
        {.what = "F2 max above Fc, warnings off", .warnMode = 2, .Fc = 205},
        {.what = "order of the checks",
         .Dm = 0.5L,
         .w = 3.5L,
         .nend1 = 0.5L,
         .F1 = 3,
         .F2 = 3,
         .Fn = 2,
         .Fc = 2,
         .expected = {kEnDm, kIndex, kEnd1, kF1Min, kF2Min, kF2Fn, kF2Fc}},
        {.what = "order, warnings off",
         .warnMode = 2,
         .Dm = 0.5L,
         .w = 3.5L,
         .nend1 = 0.5L,
         .F1 = 3,
         .F2 = 3,
         .Fn = 2,
         .Fc = 2,
         .expected = {kEnDm, kIndex}},
        {.what = "no numbers", .Dm = kNaN, .d = kNaN, .w = kNaN, .F1 = kNaN, .F2 = kNaN},
    };
    for (const CheckCase& c : cases) {
        Session s;
        SpringRecord& r = s.spring;
        r.warnMode = c.warnMode;
        r.tolGradeD = c.tolGradeD;
        r.tolGradeL0 = c.tolGradeL0;
        r.tolGradeF1 = c.tolGradeF1;
        r.Dm = c.Dm;
        r.d = c.d;
        r.w = c.w;
        r.nend1 = c.nend1;
        r.nend2 = c.nend2;
        r.manufacturing = c.manufacturing;
        r.loadType = c.loadType;
        r.F1 = c.F1;
        r.tolF1Lower = c.tolF1Lower;
        r.F2 = c.F2;
        r.tolF2Lower = c.tolF2Lower;
        r.tolF2Upper = c.tolF2Upper;
        r.Fn = c.Fn;
        r.Fc = c.Fc;
        ToleranceChecks(s);
        EXPECT_EQ(Messages(s), c.expected) << c.what;
        EXPECT_FALSE(s.FatalFlag) << c.what;
    }
}

TEST(CompensationModes, SixTextsInCodePage850) {
    EXPECT_EQ(kCompensationModeNames[0], "L0 bei 1 vorgegebener Federkraft");
    EXPECT_EQ(kCompensationModeNames[3], "L0,n und d  bei 2 vorgegebenen Federkr\x84"
                                         "ften");
    EXPECT_EQ(kCompensationModeNames[5], "keine Angaben");
}

} // namespace
} // namespace kora

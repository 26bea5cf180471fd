// Statistical reject rate: the normal tail integral and the evaluation step of the
// calculation.
#include "strength/reject.h"

#include "calc/session.h"
#include "strength/tolerances.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kora {
namespace {

constexpr real kInf = std::numeric_limits<real>::infinity();
constexpr real kNaN = std::numeric_limits<real>::quiet_NaN();

// Percent of a standard normal population outside ±x.
real TwoSidedTail(real x) {
    return 100 * std::erfc(x / std::sqrt(2.0L));
}

TEST(RejectPercent, WorkedExamples) {
    struct Case {
        real x, expected, tolerance;
    };
    const Case cases[] = {
        {0, 100, 1e-6L},         {1, 31.73L, 0.005L},         {2, 4.550L, 0.0005L},
        {2.5L, 1.242L, 0.0005L}, {2.6L, 0.932L, 0.0005L},     {3, 0.270L, 0.0005L},
        {4, 0.0063L, 0.00005L},  {5.2L, 0.00002L, 0.000001L},
    };
    for (const Case& c : cases) {
        real r = RejectPercent(c.x);
        EXPECT_NEAR(r, c.expected, c.tolerance) << double(c.x);
        // The trapezoid with steps of 0.001 ends exactly at -x on the grid.
        EXPECT_NEAR(r, TwoSidedTail(c.x), 2e-5L) << double(c.x);
    }
}

// The grid a = -8 + k·0.001 is reached exactly: one step more would add about 0.0027 % at 2.6.
TEST(RejectPercent, StopsOnTheGridPointOfMinusX) {
    EXPECT_NEAR(RejectPercent(2.6L), 0.93224L, 0.00002L);
    EXPECT_NEAR(RejectPercent(0.1L), TwoSidedTail(0.1L), 2e-5L);
    EXPECT_NEAR(RejectPercent(7.5L), TwoSidedTail(7.5L), 1e-9L);
}

TEST(RejectPercent, NegativeFactorsExceedHundred) {
    EXPECT_NEAR(RejectPercent(-1), 200 - TwoSidedTail(1), 1e-5L);
    EXPECT_NEAR(RejectPercent(-3), 200 - TwoSidedTail(3), 1e-5L);
}

TEST(RejectPercent, FallsAsTheSigmaFactorGrows) {
    real previous = RejectPercent(-8.5L);
    for (real x = -8.25L; x <= 7.75L; x += 0.25L) {
        real r = RejectPercent(x);
        EXPECT_LT(r, previous) << double(x);
        previous = r;
    }
}

// Outside ±8.5 the integral no longer changes; NaN counts as a factor of 0.
TEST(RejectPercent, HostileFactorsEndAtTheirLimit) {
    struct Case {
        real x, expected;
    };
    const Case cases[] = {
        {kNaN, RejectPercent(0)},   {kInf, RejectPercent(8.5L)},   {1e300L, RejectPercent(8.5L)},
        {9, RejectPercent(8.5L)},   {-kInf, RejectPercent(-8.5L)}, {-1e4000L, RejectPercent(-8.5L)},
        {-9, RejectPercent(-8.5L)}, {1e-300L, RejectPercent(0)},
    };
    for (const Case& c : cases) {
        real r = RejectPercent(c.x);
        EXPECT_TRUE(std::isfinite(r)) << double(c.x);
        EXPECT_EQ(r, c.expected) << double(c.x);
    }
    EXPECT_NEAR(RejectPercent(-kInf), 200, 1e-6L);
    EXPECT_GE(RejectPercent(kInf), 0);
    EXPECT_LT(RejectPercent(kInf), 1e-10L);
}

Session StatisticsSpring() {
    Session s;
    SpringRecord& r = s.spring;
    r.Dm = 20;
    r.d = 2;
    r.w = 10;
    r.Di = 18;
    r.De = 22;
    r.n = 6;
    r.L0 = 50;
    r.s1 = 10;
    r.s2 = 20;
    r.F1 = 100;
    r.F2 = 200;
    r.R1 = 10;
    r.R2 = 10;
    r.manufacturing = 1;
    r.statsSwitch = 'J';
    r.statsGrade = 2;
    r.sigmaFactor = 2.6L;
    r.diameterInput = 3;
    r.rejectAtSigma = r.statDevDm = r.statDevF1 = r.statDevF2 = -1; // "not computed"
    return s;
}

TEST(StatisticalEvaluation, FillsTheResultsOfStatsGrade) {
    Session s = StatisticsSpring();
    StatisticalEvaluation(s);
    const SpringRecord& r = s.spring;
    Session probe;
    EXPECT_EQ(r.rejectAtSigma, RejectPercent(2.6L));
    EXPECT_EQ(r.statDevDm, CoilDiameterDeviation(2, 3, 10, 20, 18, 22));
    EXPECT_EQ(r.statDevF1, ForceDeviation(probe, false, 2, 1, 100, 10, 20, 2, 6, 50, 10));
    EXPECT_EQ(r.statDevF2, ForceDeviation(probe, false, 2, 1, 200, 20, 20, 2, 6, 50, 10));
    EXPECT_GT(r.statDevF2, r.statDevF1);
}

TEST(StatisticalEvaluation, UsesTheDiameterTheToleranceRefersTo) {
    Session s = StatisticsSpring();
    s.spring.statsGrade = 4;
    s.spring.diameterInput = kSelectDi;
    s.spring.Di = 60;
    s.spring.Dm = 20;
    StatisticalEvaluation(s);
    EXPECT_EQ(s.spring.statDevDm, 1.00L); // DIN 2096, Di 50..65, w > 8
}

// The evaluation asks for the force deviations with the message flag clear.
TEST(StatisticalEvaluation, AddsNoMessageOfItsOwn) {
    Session s = StatisticsSpring();
    s.spring.statsGrade = 4; // grade 4 with cold forming would warn with the flag set
    StatisticalEvaluation(s);
    EXPECT_EQ(s.messages.Count(), 0);
    EXPECT_GT(s.spring.statDevF2, 0);
}

TEST(StatisticalEvaluation, SwitchedOffLeavesTheResults) {
    Session s = StatisticsSpring();
    s.spring.statsSwitch = 'N';
    StatisticalEvaluation(s);
    EXPECT_EQ(s.spring.rejectAtSigma, -1);
    EXPECT_EQ(s.spring.statDevDm, -1);
    EXPECT_EQ(s.spring.statDevF1, -1);
    EXPECT_EQ(s.spring.statDevF2, -1);
}

TEST(StatisticalEvaluation, FatalFlagStopsAfterTheRejectRate) {
    Session s = StatisticsSpring();
    s.FatalFlag = true;
    StatisticalEvaluation(s);
    EXPECT_EQ(s.spring.rejectAtSigma, RejectPercent(2.6L));
    EXPECT_EQ(s.spring.statDevDm, -1);
    EXPECT_EQ(s.spring.statDevF1, -1);
    EXPECT_EQ(s.spring.statDevF2, -1);
}

// A spring toleranced exactly at the production grade rejects rejectAtSigma; twice that
// tolerance at k = 2.6 is z = 5.2 and rejects about 0.00002 %.
TEST(StatisticalEvaluation, OwnToleranceAgainstTheProductionGrade) {
    Session s = StatisticsSpring();
    s.spring.tolGradeF2 = s.spring.statsGrade;
    SpringTolerances(s);
    StatisticalEvaluation(s);
    const SpringRecord& r = s.spring;
    real T = (r.tolF2Upper - r.tolF2Lower) / 2;
    EXPECT_NEAR(RejectPercent(T * r.sigmaFactor / r.statDevF2), r.rejectAtSigma, 1e-12L);
    EXPECT_NEAR(RejectPercent(2 * T * r.sigmaFactor / r.statDevF2), 0.00002L, 0.000001L);
}

TEST(StatisticalEvaluation, HostileSigmaFactorsStayFinite) {
    for (real k : {kNaN, kInf, -kInf, real(0), real(-2)}) {
        Session s = StatisticsSpring();
        s.spring.sigmaFactor = k;
        StatisticalEvaluation(s);
        EXPECT_TRUE(std::isfinite(s.spring.rejectAtSigma)) << double(k);
    }
    Session unconvertible = StatisticsSpring();
    unconvertible.spring.sigmaFactor = 0;
    StatisticalEvaluation(unconvertible);
    EXPECT_NEAR(unconvertible.spring.rejectAtSigma, 100, 1e-6L);
}

TEST(ProductionGrades, NamesInCodePage850) {
    EXPECT_EQ(kProductionGradeNames[0], "EN 15800 G\x81tegrad 1");
    EXPECT_EQ(kProductionGradeNames[2], "EN 15800 G\x81tegrad 3");
    EXPECT_EQ(kProductionGradeNames[3], "DIN 2096");
}

} // namespace
} // namespace kora

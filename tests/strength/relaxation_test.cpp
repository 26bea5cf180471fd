// Relaxation after 48 hours: the interpolation rules, the power curve and the evaluation of
// the material's relaxation row at temperature, wire diameter and stress.
#include "strength/relaxation.h"

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

std::vector<std::string> Messages(const Session& s) {
    return {s.messages.begin(), s.messages.end()};
}

struct Interpolation {
    real x, x1, y1, x2, y2, expected;
};

TEST(LinearInterpolation, LineAndEqualSupportPoints) {
    const Interpolation cases[] = {
        {5, 0, 0, 10, 10, 5},    {15, 0, 0, 10, 10, 15},  {-5, 0, 0, 10, 10, -5},
        {20, 20, 3, 100, 7, 3},  {100, 20, 3, 100, 7, 7}, {60, 20, 3, 100, 7, 5},
        {60, 20, 3, 20, 3, 3},   {60, 20, 3, 20, 4, 0},   {kNaN, 0, 0, 10, 10, 0},
        {kInf, 0, 0, 10, 10, 0},
    };
    for (const Interpolation& c : cases)
        EXPECT_EQ(LinearInterpolation(c.x, c.x1, c.y1, c.x2, c.y2), c.expected) << double(c.x);
}

TEST(LogarithmicInterpolation, LineOverLnXAndItsGuards) {
    const Interpolation cases[] = {
        {1, 1, 2, 100, 6, 2},    {100, 1, 2, 100, 6, 6},
        {10, 1, 2, 100, 6, 4},   // the geometric mean gives the mean
        {1000, 1, 2, 100, 6, 8}, // extrapolates
        {5, 3, 4, 3, 4, 4},      // equal points: that value
        {5, 3, 4, 3, 5, 0},      // equal x, different y
        {5, 0, 4, 10, 5, 0},     // x1 = 0
        {0, 1, 4, 10, 5, 0},     // x = 0
        {-5, 1, 4, 10, 5, 0},    // across 0: no logarithm
        {5, -1, 4, 10, 5, 0},    {kNaN, 1, 4, 10, 5, 0},
        {kInf, 1, 4, 10, 5, 0},
    };
    for (const Interpolation& c : cases)
        EXPECT_NEAR(LogarithmicInterpolation(c.x, c.x1, c.y1, c.x2, c.y2), c.expected, 1e-15L)
            << double(c.x) << " " << double(c.x1) << " " << double(c.x2);
}

TEST(PowerCurve, PowerLawThroughTwoPoints) {
    struct Case {
        real x, x1, y1, x2, y2, expected;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {400, 400, 2, 800, 8, 2, {}},    // the first point exactly
        {800, 400, 2, 800, 8, 8, {}},    // the second point exactly
        {600, 400, 2, 800, 8, 4.5L, {}}, // p = 2
        {1200, 400, 2, 800, 8, 18, {}},  // extrapolates
        {200, 400, 2, 800, 8, 0.5L, {}},
        {717,
         300,
         1.3L,
         900,
         4.1L,
         1.3L * std::pow(717.0L / 300, std::log(4.1L / 1.3L) / std::log(3.0L)),
         {}},
        {600, 400, 0, 800, 8, 0, {}}, // y1 = 0
        {600, 0, 2, 800, 8, 0, {}},   // x1 = 0
        {0, 400, 2, 800, 8, 0, {}},   // zero base
        {-600, 400, 2, 800, 8, 4.5L, {"Relax (pow)"}},
        // No power law through the points: 0, or the constant when both points agree.
        {600, 500, 3, 500, 3, 3, {}},
        {600, 500, 3, 500, 4, 0, {}},
        {600, 400, 2, 800, 0, 0, {}},
        {600, 400, 2, 800, -1, 0, {}},
        {600, 400, -2, 800, 8, 0, {}},
        {600, 400, 2, -800, 8, 0, {}},
        {600, 400, -2, 800, -8, -4.5L, {}}, // both negative: a law, clamped later
        {1e6L, 1, 1, 2, 1e300L, 0, {}},     // overflows: no value
        {kNaN, 400, 2, 800, 8, 0, {}},
        {600, kNaN, 2, 800, 8, 0, {}},
        {600, 400, kNaN, 800, 8, 0, {}},
    };
    for (const Case& c : cases) {
        Session s;
        real y = PowerCurve(s, c.x, c.x1, c.y1, c.x2, c.y2);
        EXPECT_NEAR(y, c.expected, 1e-15L * (1 + std::fabs(c.expected)))
            << double(c.x) << " (" << double(c.x1) << "," << double(c.y1) << ") (" << double(c.x2)
            << "," << double(c.y2) << ")";
        EXPECT_EQ(Messages(s), c.messages);
    }
}

// T1 = 20, T2 = 100 °C, d1 = 1, d2 = 10 mm; every curve has p = 2 between 400 and 800 N/mm².
// At 600 N/mm²: curve 1 (T1, d1) 4.5, curve 2 (T1, d2) 2.25, curve 3 (T2, d1) 9,
// curve 4 (T2, d2) 6.75.
Session WithRelaxationRow() {
    Session s;
    s.relaxationFound = true;
    RelaxationRecord& r = s.CurrentRelaxation;
    r.materialNumber = 3;
    r.T1 = 20;
    r.T2 = 100;
    r.d1 = 1;
    r.d2 = 10;
    r.points = {{{400, 2}, {800, 8}, {400, 1}, {800, 4}, {400, 4}, {800, 16}, {400, 3}, {800, 12}}};
    return s;
}

TEST(RelaxationAt, InterpolatesInStressLogDiameterAndTemperature) {
    const real d = std::sqrt(10.0L);
    struct Case {
        const char* what;
        real theta, d, tau, expected;
    };
    const Case cases[] = {
        {"curve 1", 20, 1, 600, 4.5L},
        {"curve 2", 20, 10, 600, 2.25L},
        {"curve 3", 100, 1, 600, 9},
        {"curve 4", 100, 10, 600, 6.75L},
        {"first stress of curve 1", 20, 1, 400, 2},
        {"second stress of curve 1", 20, 1, 800, 8},
        {"log-mean diameter at T1: mean", 20, d, 600, 3.375L},
        {"log-mean diameter at T2: mean", 100, d, 600, 7.875L},
        {"halfway in T", 60, d, 600, 5.625L},
        {"below T1 counts as T1", 0, d, 600, 3.375L},
        {"above T2 extrapolates", 150, d, 600, 3.375L + 130 * 4.5L / 80},
        {"negative value gives 0", 20, 1000, 600, 0},
        {"d = 0", 20, 0, 600, 0},
        {"no stress", 20, 1, 0, 0},
    };
    for (const Case& c : cases) {
        Session s = WithRelaxationRow();
        EXPECT_NEAR(RelaxationAt(s, c.theta, c.d, c.tau), c.expected, 1e-15L) << c.what;
        EXPECT_EQ(s.messages.Count(), 0) << c.what;
    }
}

TEST(RelaxationAt, NoRowGivesZero) {
    Session s = WithRelaxationRow();
    s.relaxationFound = false;
    EXPECT_EQ(RelaxationAt(s, 20, 1, 600), 0);
    Session reset; // a reset record (all zeros) yields 0 even when taken as found
    reset.relaxationFound = true;
    EXPECT_EQ(RelaxationAt(reset, 20, 1, 600), 0);
}

TEST(RelaxationAt, EqualLevelsGiveTheirValueOrZero) {
    struct Case {
        const char* what;
        std::int32_t T2;
        double d2;
        bool sameCurves;
        real expected;
    };
    const Case cases[] = {
        {"T1 = T2, different levels", 20, 10, false, 0},
        {"T1 = T2, equal levels", 20, 10, true, 4.5L},
        {"d1 = d2, different levels", 100, 1, false, 0},
        {"d1 = d2, equal levels", 100, 1, true, 4.5L},
    };
    for (const Case& c : cases) {
        Session s = WithRelaxationRow();
        RelaxationRecord& r = s.CurrentRelaxation;
        r.T2 = c.T2;
        r.d2 = c.d2;
        if (c.sameCurves)
            for (int i = 2; i < 8; ++i)
                r.points[i] = r.points[i % 2];
        EXPECT_NEAR(RelaxationAt(s, 50, 3, 600), c.expected, 1e-15L) << c.what;
    }
}

TEST(RelaxationAt, CurvesWithoutPowerLawStayFinite) {
    Session s = WithRelaxationRow();
    s.CurrentRelaxation.points[1] = {400, 5}; // curve 1: equal stresses, different values
    s.CurrentRelaxation.points[3] = {800, 0}; // curve 2: second relaxation 0
    real r = RelaxationAt(s, 20, std::sqrt(10.0L), 600);
    EXPECT_TRUE(std::isfinite(r));
    EXPECT_EQ(r, 0); // both curves at T1 give 0
}

TEST(RelaxationAt, HostileInputsGiveFiniteResults) {
    struct Case {
        real theta, d, tau;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {kNaN, 3, 600, {}},  {20, kNaN, 600, {}}, {20, 3, kNaN, {}}, {kInf, 3, 600, {}},
        {20, kInf, 600, {}}, {20, 3, kInf, {}},   {20, -3, 600, {}}, {20, 3, -600, {"Relax (pow)"}},
    };
    for (const Case& c : cases) {
        Session s = WithRelaxationRow();
        real r = RelaxationAt(s, c.theta, c.d, c.tau);
        EXPECT_TRUE(std::isfinite(r))
            << double(c.theta) << " " << double(c.d) << " " << double(c.tau);
        EXPECT_GE(r, 0);
        EXPECT_EQ(Messages(s), c.messages);
    }
}

TEST(SpringRelaxation, StoresRx2AtTau2) {
    Session s = WithRelaxationRow();
    s.spring.theta = 60;
    s.spring.d = std::sqrt(10.0L);
    s.spring.tau2 = 600;
    s.spring.rx2 = 99;
    SpringRelaxation(s);
    EXPECT_NEAR(s.spring.rx2, 5.625L, 1e-15L);
    s.relaxationFound = false;
    SpringRelaxation(s);
    EXPECT_EQ(s.spring.rx2, 0);
}

} // namespace
} // namespace kora

#include "calc/derived.h"

#include "calc/session.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kora {
namespace {

constexpr real kPi = 3.14159265358979323846264338327950288L;

TEST(Derived, WeightOfTheWorkedExample) {
    SpringRecord s;
    s.d = 3;
    s.h = 3;
    s.Dm = 22;
    s.n = 5;
    s.nend1 = 1;
    s.nend2 = 1;
    s.rho = 7.85L;
    WireLengthAndWeight(s);
    EXPECT_NEAR(s.L, 483.8L, 0.05L);
    EXPECT_NEAR(CrossSectionArea(s), 7.069L, 0.0005L);
    EXPECT_NEAR(s.m, 26.8L, 0.05L);
}

TEST(Derived, CrossSectionAreaOfEveryWireShape) {
    struct Case {
        word wireType;
        real d, h, edgeRadius, expected;
    };
    const Case cases[] = {
        {1, 2, 2, 0, kPi}, {2, 4, 2, 0, kPi * 2},           {3, 3, 3, 0, 9},
        {4, 4, 2, 0, 8},   {5, 4, 2, 0, 8 - (4 - kPi) * 1}, {6, 4, 2, 0.5L, 8 - (4 - kPi) * 0.25L},
        {7, 4, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SpringRecord s;
        s.wireType = c.wireType;
        s.d = c.d;
        s.h = c.h;
        s.edgeRadius = c.edgeRadius;
        EXPECT_NEAR(CrossSectionArea(s), c.expected, 1e-12) << c.wireType;
    }
}

TEST(Derived, ClearanceSumByManufacturingAndLoad) {
    struct Case {
        word manufacturing, loadType;
        real expected;
    };
    // d = 2, Dm = 20, n = 10.
    const real cold = (0.0015L * 400 / 2 + 0.2L) * 10;
    const Case cases[] = {
        {1, 1, cold}, {1, 2, cold * 1.5L}, {2, 1, 0.02L * 22 * 10}, {3, 2, 0.02L * 22 * 10 * 2},
        {4, 1, 0},
    };
    for (const Case& c : cases) {
        SpringRecord s;
        s.d = 2;
        s.Dm = 20;
        s.n = 10;
        s.manufacturing = c.manufacturing;
        s.loadType = c.loadType;
        EXPECT_NEAR(ClearanceSum(s), c.expected, 1e-12) << c.manufacturing << c.loadType;
    }
}

TEST(Derived, EndCoilAddendTable) {
    struct Case {
        word manufacturing, endType;
        real x;
    };
    const Case cases[] = {{1, 1, 1.5L},  {1, 2, 0},     {1, 3, 0}, {1, 5, 0}, {2, 1, 1.1L},
                          {2, 2, -0.3L}, {3, 3, -0.3L}, {3, 0, 0}, {4, 1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(EndCoilAddend(c.manufacturing, c.endType), c.x) << c.manufacturing << c.endType;
}

TEST(Derived, EndTextFromTheEndType) {
    Session session;
    session.spring.endType = 3;
    SetEndText(session);
    EXPECT_EQ(session.spring.endText, "angelegt, geschmiedet und geschliffen");
    session.spring.endType = 4;
    session.spring.endText = "eigene Enden";
    SetEndText(session);
    EXPECT_EQ(session.spring.endText, "eigene Enden");
    session.spring.endType = 9;
    SetEndText(session);
    EXPECT_EQ(session.spring.endText, "undefined");
    EXPECT_TRUE(session.messages.Contains("Fatal  : korend !"));
}

TEST(Derived, OuterDiameterGrowth) {
    Session session;
    SpringRecord& s = session.spring;
    s.d = 2;
    s.Dm = 20;
    s.n = 10;
    s.L0 = 52;
    s.endType = 1;
    real S = (52 - 5) / 10.0L;
    EXPECT_NEAR(OuterDiameterGrowth(session), 0.1L * (S * S - 0.8L * S * 2 - 0.8L) / 20, 1e-15);
    s.endType = 2;
    S = 5;
    EXPECT_NEAR(OuterDiameterGrowth(session), 0.1L * (25 - 8 - 0.8L) / 20, 1e-15);
    s.n = 0;
    EXPECT_EQ(OuterDiameterGrowth(session), 0);
    EXPECT_TRUE(session.messages.Contains("Fehler : n = 0 !"));
    EXPECT_FALSE(session.FatalFlag);
    s.Dm = 0;
    EXPECT_EQ(OuterDiameterGrowth(session), 0);
    EXPECT_TRUE(session.messages.Contains("Fatal  : Dm = 0 !"));
    EXPECT_TRUE(session.FatalFlag);
}

TEST(Derived, BucklingDeflection) {
    Session session;
    SpringRecord& s = session.spring;
    s.Gtheta = 80000;
    s.E = 210000;
    s.Dm = 20;
    s.nue = 1;
    s.L0 = 200;
    const real r = 80000.0L / 210000;
    const real t = kPi * 20 / 200;
    const real q = 1 - (1 - r) / (0.5L + r) * t * t;
    EXPECT_NEAR(BucklingDeflection(session), 100 / (1 - r) * (1 - std::sqrt(q)), 1e-12);
    s.L0 = 40; // short and stout: cannot buckle
    EXPECT_EQ(BucklingDeflection(session), kBucklingSafe);
    EXPECT_FALSE(session.FatalFlag);
}

TEST(Derived, BucklingFailures) {
    struct Case {
        real E, nue, L0, G;
        const char* message;
    };
    const Case cases[] = {
        {0, 1, 100, 80000, "Fatal  : E = 0 !"},
        {210000, 0, 100, 80000, "Fatal  : nue = 0 !"},
        {210000, 1, 0, 80000, "Fatal  : l0 = 0 !"},
        {80000, 1, 100, 80000, "Fatal  : G >= E !"},
        {-100000, 1, 100, 80000, "Fatal  : E < 0 !"},
        {-1e6L, 1, 100, 80000, "Fatal  : E < 0 !"}, // |E| > 2G: the formula would still run
    };
    for (const Case& c : cases) {
        Session session;
        SpringRecord& s = session.spring;
        s.E = c.E;
        s.nue = c.nue;
        s.L0 = c.L0;
        s.Gtheta = c.G;
        s.Dm = 20;
        EXPECT_EQ(BucklingDeflection(session), 0) << c.message;
        EXPECT_TRUE(session.messages.Contains(c.message)) << c.message;
        EXPECT_TRUE(session.FatalFlag);
    }
}

TEST(Derived, NaturalFrequencyOfAnUnloadedSpring) {
    Session session;
    SpringRecord& s = session.spring;
    s.d = 3;
    s.h = 3;
    s.Dm = 22;
    s.Gtheta = 80000;
    s.rho = 7.85L;
    s.nsec = 1;
    s.sections[1].L0i = 40;
    s.sections[1].ni = 5;
    s.sections[1].Lci = 15;
    s.n = 5;
    EXPECT_NEAR(NaturalFrequency(session, 0), 3560 * 3 / (5 * 484.0L) * std::sqrt(80000 / 7.85L),
                1e-9);
    s.rho = 0;
    EXPECT_EQ(NaturalFrequency(session, 0), 0);
}

} // namespace
} // namespace kora

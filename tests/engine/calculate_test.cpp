#include "engine/calculate.h"

#include "base/numformat.h"
#include "calc/characteristic.h"
#include "calc/derived.h"
#include "calc/plausibility.h"
#include "common/designed_springs.h"
#include "common/example_springs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace kora {
namespace {

std::string Messages(const Session& session) {
    std::string all;
    for (const auto& m : session.messages)
        all += "[" + m + "]";
    return all;
}

TEST(CalculateSpring, QuietSpringCalculatesEveryResult) {
    Session session;
    examples::QuietSpring(session);
    CalculateSpring(session);
    const SpringRecord& s = session.spring;
    EXPECT_FALSE(session.FatalFlag) << Messages(session);
    const real R = s.G * 81 / (8 * 22 * 22 * 22 * 5.0L);
    EXPECT_NEAR(s.R1, R, 1e-6);
    EXPECT_NEAR(s.F1, 11 * R, R * s.seps);
    EXPECT_NEAR(s.F2, 21 * R, R * s.seps);
    EXPECT_NEAR(s.Fc, 25 * R, 1e-9);
    EXPECT_NEAR(s.sh, 10, 1e-15);
    EXPECT_NEAR(s.Di, 19, 1e-15);
    EXPECT_NEAR(s.De, 25, 1e-15);
    EXPECT_NEAR(s.w, 22 / 3.0L, 1e-15);
    EXPECT_EQ(s.Lview, s.L2);
    EXPECT_GT(s.fe0, 0);
    EXPECT_EQ(s.endText, "angelegt und geschliffen");
    EXPECT_NEAR(s.tauk2, s.tau2 * s.k, 1e-9);
}

TEST(CalculateSpring, WithoutSectionsKeepsTheEarlierMessages) {
    Session session;
    examples::QuietSpring(session);
    session.spring.L1 = 50; // L1 > L0
    CalculateSpring(session);
    ASSERT_TRUE(session.messages.Contains("Fehler : L1 > L0 !"));
    session.spring.nsec = 0;
    CalculateSpring(session);
    EXPECT_TRUE(session.messages.Contains("Fehler : L1 > L0 !"));
    EXPECT_TRUE(session.messages.Contains("Fatal  : n = 0 !"));
    EXPECT_TRUE(session.FatalFlag);
}

TEST(CalculateSpring, DeadCoilSlotsAfterEveryCalculation) {
    Session session;
    examples::ThreeSections(session);
    examples::TypedSteel(session);
    SpringRecord& s = session.spring;
    s.sections[0].L0i = 99;
    s.sections[4].ni = 42;
    for (real nend : {1.0L, 1.5L}) {
        s.nend1 = nend;
        s.nend2 = nend + 0.25L;
        CalculateSpring(session);
        EXPECT_EQ(s.sections[0].ni, s.nend1);
        EXPECT_EQ(s.sections[0].L0i, s.Lend1);
        EXPECT_EQ(s.sections[0].Lci, s.Lend1);
        EXPECT_EQ(s.sections[0].P, s.d);
        EXPECT_EQ(s.sections[4].ni, s.nend2);
        EXPECT_EQ(s.sections[4].L0i, s.Lend2);
        EXPECT_EQ(s.sections[4].P, s.d);
    }
}

TEST(CalculateSpring, RoundAndSquareWireTakeTheirHeightFromD) {
    for (word wireType : {1, 3}) {
        Session session;
        examples::QuietSpring(session);
        session.spring.wireType = wireType;
        session.spring.h = 7;
        CalculateSpring(session);
        EXPECT_EQ(session.spring.h, session.spring.d);
    }
    Session rectangular;
    examples::QuietSpring(rectangular);
    rectangular.spring.wireType = 4;
    rectangular.spring.h = 2;
    CalculateSpring(rectangular);
    EXPECT_EQ(rectangular.spring.h, 2);
}

TEST(CalculateSpring, NonRoundWireRatesFollowTheTorsionConstant) {
    struct Case {
        word wireType;
        real d, h;
    };
    const Case cases[] = {{2, 4, 2.5L}, {3, 3, 3}, {4, 4, 2.5L}};
    for (const Case& c : cases) {
        Session session;
        examples::NonRound(session, c.wireType, c.d, c.h);
        examples::TypedSteel(session);
        CalculateSpring(session);
        const SpringRecord& s = session.spring;
        EXPECT_FALSE(session.FatalFlag) << c.wireType << Messages(session);
        const real It = TorsionConstant(s.d, s.h, s.wireType);
        const real coilRate = 1.2732395447351628L * s.Gtheta * It / (s.Dm * s.Dm * s.Dm);
        EXPECT_NEAR(s.sections[1].Ri, coilRate / 2, 1e-9) << c.wireType;
        EXPECT_EQ(s.h, c.h) << c.wireType; // square wire takes h = d anyway
        EXPECT_NEAR(s.Lc, (s.n + 2) * s.h, 1e-12) << c.wireType;
        EXPECT_GT(s.F2, s.F1);
    }
}

TEST(CalculateSpring, HotFormedSpringWithEachEndType) {
    for (word endType : {1, 2, 3, 4}) {
        Session session;
        examples::HotFormed(session, endType);
        examples::TypedSteel(session);
        session.spring.x = 0.5L;
        session.spring.endText = "Sonderenden";
        CalculateSpring(session);
        const SpringRecord& s = session.spring;
        EXPECT_FALSE(session.FatalFlag) << endType << Messages(session);
        const real expectedX = endType == 1 ? 1.1L : endType == 4 ? 0.5L : -0.3L;
        EXPECT_EQ(s.x, expectedX);
        EXPECT_NEAR(s.Lc, (s.n + s.nend1 + s.nend2 + expectedX) * s.h, 1e-12);
        if (endType == 4) {
            EXPECT_EQ(s.endText, "Sonderenden");
        }
    }
}

TEST(CalculateSpring, EarlyStopsLeaveLaterResultsInPlace) {
    struct Case {
        const char* message;
        std::function<void(SpringRecord&)> spoil;
    };
    const Case cases[] = {
        {"Fatal  : sh <= 0 !", [](SpringRecord& s) { s.L2 = s.L1; }},
        {"Fatal  : l2 <= 0 !", [](SpringRecord& s) { s.L1 = 1, s.L2 = -1; }},
        {"Fatal  : L0i = 0 ! (1)", [](SpringRecord& s) { s.sections[1].L0i = 0; }},
        {"Fatal  : G <= 0 !", [](SpringRecord& s) { s.G = 0; }},
    };
    for (const Case& c : cases) {
        Session session;
        examples::QuietSpring(session);
        CalculateSpring(session);
        const real F1 = session.spring.F1, W12 = session.spring.W12;
        ASSERT_GT(F1, 0);
        c.spoil(session.spring);
        CalculateSpring(session);
        EXPECT_TRUE(session.messages.Contains(c.message)) << c.message << Messages(session);
        EXPECT_TRUE(session.FatalFlag) << c.message;
        EXPECT_EQ(session.spring.F1, F1) << c.message;
        EXPECT_EQ(session.spring.W12, W12) << c.message;
    }
}

// A message of the calculation's own catalogue, a spring that triggers it, and whether
// "Warnungen unterdrücken" hides it.
struct CatalogueCase {
    const char* text;
    bool suppressible;
    std::function<void(Session&)> setup;
};

const CatalogueCase kCatalogue[] = {
    {"Fehler : Lc 1 > L0 1 !", false,
     [](Session& s) {
         examples::SetSections(s.spring, {{14, 5}});
         s.spring.L1 = 19;
         s.spring.L2 = 18;
         s.spring.Lx = 18.5L;
     }},
    {"Fehler : L2<Lc !", false, [](Session& s) { s.spring.L2 = 20; }},
    {"Warnung: L2<Ln !", false, [](Session& s) { s.spring.L2 = 22; }},
    {"Fehler : L2 > L0 !", false, [](Session& s) { s.spring.L1 = 60, s.spring.L2 = 50; }},
    {"Fehler : L1 > L0 !", false, [](Session& s) { s.spring.L1 = 50; }},
    {"Fehler : Lx > L0 !", false, [](Session& s) { s.spring.Lx = 50; }},
    {"Warnung: Lx < L2", false, [](Session& s) { s.spring.Lx = 24; }},
    {"Warnung: taun>tauz !", true, [](Session& s) { s.spring.tauz = 300; }},
    {"Warnung: tauc>tauz !", true, [](Session& s) { s.spring.tauz = 300; }},
    {"Warnung: Setzgefahr", true, [](Session& s) { s.spring.tauz = 300; }},
    {"Warnung: Feder knickt !", true,
     [](Session& s) {
         examples::SetSections(s.spring, {{300, 20}});
         s.spring.L1 = 250;
         s.spring.L2 = 100;
         s.spring.Lx = 200;
         s.spring.Dm = 15;
     }},
    {"Warnung: Wickelverh. Dm/d !", true, [](Session& s) { s.spring.Dm = 54; }},
    {"Warnung: Wickelverh. Dm/d !", true, [](Session& s) { s.spring.Dm = 9; }},
    {"Warnung: Windungszahl !", true,
     [](Session& s) {
         examples::SetSections(s.spring, {{5, 0.5L}});
         s.spring.L1 = 10;
         s.spring.L2 = 9;
         s.spring.Lx = 9.5L;
     }},
    {"Fatal  : korend !", false, [](Session& s) { s.spring.endType = 7; }},
};

TEST(CalculateSpring, EveryCatalogueMessageWithItsClassAndSuppression) {
    for (const CatalogueCase& c : kCatalogue) {
        for (word warnMode : {1, 2}) {
            Session session;
            examples::QuietSpring(session);
            session.spring.warnMode = warnMode;
            c.setup(session);
            CalculateSpring(session);
            const bool expected = warnMode == 1 || !c.suppressible;
            EXPECT_EQ(session.messages.Contains(c.text), expected)
                << c.text << " warnMode " << warnMode << " " << Messages(session);
        }
    }
}

// L1 < L2 stops the calculation (sh <= 0) and the bisection never yields a negative force,
// so these checks only guard results that other paths may bring.
TEST(PlausibilityChecks, ChecksTheCalculationCannotReach) {
    struct Case {
        const char* text;
        bool suppressible;
        std::function<void(SpringRecord&)> setup;
    };
    const Case cases[] = {
        {"Fehler : L2>L1 !", false, [](SpringRecord& s) { s.L1 = 25, s.L2 = 35; }},
        {"Fehler : F2<F1 !", false, [](SpringRecord& s) { s.F1 = 20, s.F2 = 10; }},
        {"Warnung: Zugbeanspruchung !", true, [](SpringRecord& s) { s.F1 = -1; }},
    };
    for (const Case& c : cases) {
        for (word warnMode : {1, 2}) {
            Session session;
            examples::QuietSpring(session);
            CalculateSpring(session);
            session.ClearMessages();
            session.spring.warnMode = warnMode;
            c.setup(session.spring);
            PlausibilityChecks(session);
            EXPECT_EQ(session.messages.Contains(c.text), warnMode == 1 || !c.suppressible)
                << c.text << warnMode;
        }
    }
}

TEST(CalculateSpring, SectionFailuresOfNegativeValues) {
    Session negativeCoils;
    examples::QuietSpring(negativeCoils);
    negativeCoils.spring.sections[1].ni = -5;
    CalculateSpring(negativeCoils);
    EXPECT_TRUE(negativeCoils.messages.Contains("Fatal  : n <= 0 !")) << Messages(negativeCoils);
    EXPECT_TRUE(negativeCoils.FatalFlag);

    Session negativeDiameter;
    examples::QuietSpring(negativeDiameter);
    negativeDiameter.spring.Dm = -22;
    CalculateSpring(negativeDiameter);
    EXPECT_TRUE(negativeDiameter.messages.Contains("Fatal  : Dm <= 0 !"));
    EXPECT_TRUE(negativeDiameter.FatalFlag);
}

TEST(CalculateSpring, EnteredPointsAreFilledAndDesignedOnesChecked) {
    Session session;
    designed::DesignedFromPoints(session);
    CalculateSpring(session);
    ASSERT_FALSE(session.FatalFlag) << Messages(session);
    SpringRecord& s = session.spring;
    ASSERT_EQ(s.nchar, 3);
    const real calculated = s.points[2].F;
    s.points[2].F = calculated * 1.05L; // 5 % off the designed line
    CalculateSpring(session);
    const std::string expected = "Warnung: F2 " + ShortFormat(session.config, s.points[2].F) + "<>";
    bool found = false;
    for (const auto& m : session.messages)
        found |= m.rfind(expected, 0) == 0;
    EXPECT_TRUE(found) << expected << Messages(session);
    // A point whose rate falls below 0.99 times the one before.
    s.points[2].F = calculated;
    s.points[3].F = s.points[2].F + 0.5L * (s.points[2].F - s.points[1].F);
    CalculateSpring(session);
    EXPECT_TRUE(session.messages.Contains("Fehler : Ri < Ri-1 ! (i=3)")) << Messages(session);
    // Recalculation mode: a missing force is filled in, nothing is checked.
    s.definitionMode = 1;
    s.points[3].F = 0;
    CalculateSpring(session);
    EXPECT_NEAR(s.points[3].F, ForceAt(session, s.points[3].s), 1e-9);
    for (const auto& m : session.messages)
        EXPECT_NE(m.rfind("Warnung: F", 0), 0u) << m;
}

TEST(CalculateSpring, PeeningWarningForHighStrokeStressOnly) {
    Session session;
    examples::QuietSpring(session);
    session.spring.loadType = 2;
    session.spring.L1 = 44; // large stroke: taukh well above 300
    session.spring.L2 = 22;
    session.spring.Lx = 30;
    CalculateSpring(session);
    ASSERT_GE(session.spring.taukh, 300);
    EXPECT_TRUE(session.messages.Contains("Warnung: Kugelstrahlen !")) << Messages(session);
    session.spring.shotPeened = 'J';
    CalculateSpring(session);
    EXPECT_FALSE(session.messages.Contains("Warnung: Kugelstrahlen !"));
}

TEST(CalculateSpring, HostileInputsEndInFiniteResultsOrAFatalMessage) {
    const real nan = std::nanl(""), inf = INFINITY;
    std::mt19937 random(12345);
    const real specials[] = {0, -1, -1e6, 1e-30L, 1e30L, nan, inf, -inf, 0.5L, 3, 22, 100};
    auto pick = [&](real typical) {
        std::uniform_int_distribution<int> which(0, 15);
        int k = which(random);
        if (k < 12) return specials[k];
        return typical * std::uniform_real_distribution<double>(0.1, 3)(random);
    };
    for (int run = 0; run < 3000; ++run) {
        Session session;
        examples::QuietSpring(session);
        SpringRecord& s = session.spring;
        std::uniform_int_distribution<int> count(0, kMaxSections);
        s.nsec = run % 7 == 0 ? count(random) : (run % 4) + 1;
        for (int i = 1; i <= s.nsec; ++i) {
            s.sections[i].L0i = pick(10);
            s.sections[i].ni = pick(3);
        }
        real* fields[] = {&s.d,   &s.Dm,    &s.L1, &s.L2,  &s.Lx,    &s.G,    &s.E,
                          &s.nue, &s.nend1, &s.h,  &s.rho, &s.theta, &s.tauz, &s.Rm};
        for (real* field : fields)
            if (random() % 4 == 0) *field = pick(*field == 0 ? 1 : *field);
        s.wireType = static_cast<word>(random() % 6);
        s.endType = static_cast<word>(random() % 5);
        s.manufacturing = static_cast<word>(random() % 4);
        CalculateSpring(session);
        if (session.FatalFlag) continue;
        const real results[] = {s.L0,    s.Lc,  s.F1,  s.F2, s.Fc, s.R1, s.R2,
                                s.tauk2, s.W12, s.fe0, s.sk, s.m,  s.rx2};
        for (real r : results)
            ASSERT_TRUE(std::isfinite(r)) << "run " << run << Messages(session);
    }
}

} // namespace
} // namespace kora

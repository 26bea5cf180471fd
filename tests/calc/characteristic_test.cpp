#include "calc/characteristic.h"
#include "calc/derived.h"
#include "common/example_springs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kora {
namespace {

// The characteristic line alone: section table and lengths, as the calculation builds them.
void PrepareLine(Session& session) {
    SpringRecord& s = session.spring;
    if (s.wireType != 2 && s.wireType != 4) s.h = s.d;
    s.Gtheta = s.G;
    s.ne = s.nend1 + s.nend2;
    ASSERT_TRUE(BuildSectionTable(session));
    s.x = EndCoilAddend(s.manufacturing, s.endType);
    BuildLengths(s);
}

real CoilRate(const SpringRecord& s) {
    return s.G * s.d * s.d * s.d * s.d / (8 * s.Dm * s.Dm * s.Dm);
}

TEST(CharacteristicLine, SingleSectionIsLinearUpToSolid) {
    Session session;
    examples::SingleSection(session);
    PrepareLine(session);
    const SpringRecord& s = session.spring;
    const real R = CoilRate(s) / 5;
    EXPECT_NEAR(s.sections[1].Ri, R, 1e-12);
    EXPECT_NEAR(s.Lc, 21, 1e-12);
    EXPECT_NEAR(s.L0, 46, 1e-12);
    EXPECT_NEAR(s.Fc, 25 * R, 1e-9);
    for (real F : {0.0L, 10.0L, 100.0L, 300.0L})
        EXPECT_NEAR(DeflectionAt(session, F), F / R, 1e-12);
    EXPECT_NEAR(DeflectionAt(session, 2 * s.Fc), 25, 1e-12); // solid: stays at its travel
    EXPECT_EQ(ForceAt(session, s.sc + 1), s.Fc);
    EXPECT_NEAR(ForceAt(session, 11), 11 * R, R * s.seps);
    EXPECT_NEAR(ForceAt(session, s.sc), s.Fc, R * s.seps); // s = sc iterates, no short cut
    EXPECT_NEAR(RateAt(session, 100), R, 1e-9);
    EXPECT_NEAR(RateAt(session, s.Fc), R, 1e-9); // backward difference below solid
    EXPECT_EQ(session.messages.Count(), 0);
}

TEST(CharacteristicLine, WorkIntegralMakesExactlyWstepsSteps) {
    // With F taken at the end of each step the sum is F²/(2R)·(1 + 1/wsteps) exactly; a
    // step lost to rounding would be 1 % off.
    Session session;
    examples::SingleSection(session);
    PrepareLine(session);
    const real R = session.spring.sections[1].Ri;
    for (int wsteps : {3, 7, 100, 333, 5000}) {
        session.spring.wsteps = wsteps;
        for (real F : {1.0L, 33.3L, 100.0L, 123.456L}) {
            real expected = F * F / (2 * R) * (1 + 1.0L / wsteps);
            EXPECT_NEAR(WorkBetween(session, 0, F), expected, 1e-9 * expected)
                << "wsteps " << wsteps << " F " << static_cast<double>(F);
        }
    }
    EXPECT_EQ(WorkBetween(session, 50, 50), 0);
    EXPECT_EQ(session.messages.Count(), 0);
}

TEST(CharacteristicLine, WorkIntegralTakesEveryStepUpToTheSettingsMaximum) {
    // The exact work of a linear spring is F²/(2R); 10 000 end-point steps are 0.01 % above.
    Session session;
    examples::SingleSection(session);
    PrepareLine(session);
    const real R = session.spring.sections[1].Ri;
    const real exact = 100.0L * 100.0L / (2 * R);
    session.spring.wsteps = 10000;
    real W = WorkBetween(session, 0, 100);
    EXPECT_NEAR(W, exact, 1e-4 * exact + 1e-12);
    EXPECT_GT(W, exact);
    EXPECT_FALSE(session.messages.Contains("Fehler in GetW !"));
    EXPECT_EQ(session.messages.Count(), 0);
}

TEST(CharacteristicLine, WorkIntegralThatIsNoNumberSaysSo) {
    Session session;
    examples::SingleSection(session);
    PrepareLine(session);
    WorkBetween(session, 0, std::numeric_limits<real>::quiet_NaN());
    EXPECT_TRUE(session.messages.Contains("Fehler in GetW !"));
}

TEST(CharacteristicLine, SectionsCloseOneAfterAnother) {
    Session session;
    examples::ThreeSections(session);
    PrepareLine(session);
    const SpringRecord& s = session.spring;
    const real C = CoilRate(s);
    EXPECT_NEAR(s.sections[1].Fci, 2 * C, 1e-9);
    EXPECT_NEAR(s.sections[2].Fci, 11 * C / 3, 1e-9);
    EXPECT_NEAR(s.sections[3].Fci, 7 * C, 1e-9);
    EXPECT_NEAR(s.Fc, 7 * C, 1e-9);
    // Below 2C all 8 coils deflect; between 2C and 11/3·C the first section is solid.
    EXPECT_NEAR(DeflectionAt(session, C), 8, 1e-12);
    real closed = 0;
    EXPECT_NEAR(DeflectionAt(session, 3 * C, &closed), 4 + 3 * 6, 1e-12);
    EXPECT_EQ(closed, 2);
    // At Fc the last section to close stays active.
    DeflectionAt(session, s.Fc, &closed);
    EXPECT_EQ(closed, 5);
    EXPECT_NEAR(RateAt(session, C), C / 8, 1e-9);
    EXPECT_NEAR(RateAt(session, 3 * C), C / 6, 1e-9);
    EXPECT_NEAR(RateAt(session, 5 * C), C / 3, 1e-9);
}

TEST(CharacteristicLine, EqualClosingForcesKeepTheFirstSectionAsFc) {
    Session session;
    examples::SingleSection(session);
    examples::SetSections(session.spring, {{20, 2}, {20, 2}});
    PrepareLine(session);
    const SpringRecord& s = session.spring;
    EXPECT_EQ(s.Fc, s.sections[1].Fci);
    EXPECT_EQ(s.sections[1].Fci, s.sections[2].Fci);
    real closed = 0;
    DeflectionAt(session, s.Fc * (1 + 1e-12L), &closed);
    EXPECT_EQ(closed, 2); // the second stays active
}

TEST(CharacteristicLine, TinyRateStepIsFatal) {
    Session session;
    examples::SingleSection(session);
    PrepareLine(session);
    session.spring.faktorRFc = 1e-30L;
    EXPECT_EQ(RateAt(session, 100), 0);
    EXPECT_TRUE(session.messages.Contains("Fehler : Faktor R-Fc zu klein !"));
    EXPECT_TRUE(session.FatalFlag);
}

TEST(CharacteristicLine, NegativeDeflectionReportsTheIteration) {
    Session session;
    examples::SingleSection(session);
    PrepareLine(session);
    EXPECT_EQ(ForceAt(session, -5), 0);
    EXPECT_TRUE(session.messages.Contains("Fehler bei Iteration F !"));
    EXPECT_FALSE(session.FatalFlag);
}

// Each section is checked on its own, d, Dm, ni and G in this order; a failed check leaves
// that section undeflected and the others go on.
TEST(CharacteristicLine, SectionDeflectionChecksInTheirOrder) {
    struct Case {
        const char* name;
        void (*spoil)(SpringRecord&);
        std::vector<std::string> messages;
        bool fatal;
    };
    const Case cases[] = {
        {"G <= 0 behind a section without coils",
         [](SpringRecord& s) { s.Gtheta = 0, s.sections[1].ni = 0; },
         {"Fehler : n <= 0 !", "Fatal  : G <= 0 !"},
         true},
        {"only a section without coils, G <= 0",
         [](SpringRecord& s) { s.Gtheta = 0, s.nsec = 1, s.sections[1].ni = -1; },
         {"Fehler : n <= 0 !"},
         false},
        {"d <= 0 before everything",
         [](SpringRecord& s) { s.d = 0, s.sections[1].ni = 0; },
         {"Fatal  : d <= 0 !"},
         true},
        {"Dm <= 0 before ni",
         [](SpringRecord& s) { s.Dm = -1, s.sections[1].ni = 0; },
         {"Fatal  : Dm <= 0 !"},
         true},
        {"no sections, nothing to check",
         [](SpringRecord& s) { s.nsec = 0, s.Gtheta = 0; },
         {},
         false},
    };
    for (const Case& c : cases) {
        Session session;
        examples::ThreeSections(session);
        PrepareLine(session);
        session.ClearMessages();
        c.spoil(session.spring);
        const real s = DeflectionAt(session, 1);
        std::vector<std::string> got(session.messages.begin(), session.messages.end());
        EXPECT_EQ(got, c.messages) << c.name;
        EXPECT_EQ(session.FatalFlag, c.fatal) << c.name;
        EXPECT_EQ(s, 0) << c.name; // every section failed a check
    }
}

TEST(TorsionConstant, RectangleCoefficientsAndEllipse) {
    struct Case {
        real d, h;
        word wireType;
        real expected;
    };
    const real pi = 3.14159265358979323846264338327950288L;
    const Case cases[] = {
        {2, 2, 3, 0.140L * 16},          // square
        {4, 2, 4, 0.229L * 4 * 8},       // b/t = 2
        {2, 4, 4, 0.229L * 4 * 8},       // h > d: swapped
        {5, 2, 4, 0.246L * 5 * 8},       // b/t = 2.5 between 2 and 3
        {20, 2, 4, 0.333L * 20 * 8},     // b/t >= 10
        {10, 1, 4, 0.333L * 10},         // b/t = 10 exactly: the ">= 10" rule
        {3, 3, 2, pi * 81 / 32},         // ellipse with d = h: a circle
        {4, 2, 2, pi * 8 * 1 / (4 + 1)}, // a = 2, c = 1
        {3, 0, 4, 0},
        {3, 3, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(TorsionConstant(c.d, c.h, c.wireType), c.expected, 1e-12)
            << c.d << " " << c.h << " " << c.wireType;
}

TEST(CharacteristicLine, EllipticalWireOfEqualAxesHasTheRoundRate) {
    Session round, elliptic;
    examples::ThreeSections(round);
    examples::NonRound(elliptic, 2, 3, 3);
    PrepareLine(round);
    PrepareLine(elliptic);
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(elliptic.spring.sections[i].Ri, round.spring.sections[i].Ri, 1e-9);
}

TEST(CharacteristicLine, SectionFailuresStopTheBuild) {
    Session zeroLength;
    examples::ThreeSections(zeroLength);
    zeroLength.spring.sections[2].L0i = 0;
    zeroLength.spring.Gtheta = 80000;
    zeroLength.spring.h = 3;
    EXPECT_FALSE(BuildSectionTable(zeroLength));
    EXPECT_TRUE(zeroLength.messages.Contains("Fatal  : L0i = 0 ! (2)"));
    EXPECT_TRUE(zeroLength.FatalFlag);

    Session zeroCoils;
    examples::ThreeSections(zeroCoils);
    zeroCoils.spring.sections[3].ni = 0;
    zeroCoils.spring.Gtheta = 80000;
    zeroCoils.spring.h = 3;
    EXPECT_FALSE(BuildSectionTable(zeroCoils));
    EXPECT_TRUE(zeroCoils.messages.Contains("Fatal  : n <= 0 !"));
    EXPECT_TRUE(zeroCoils.messages.Contains("Fatal  : ni3=0!"));
    EXPECT_TRUE(zeroCoils.FatalFlag);

    Session tooShort;
    examples::ThreeSections(tooShort);
    tooShort.spring.sections[1].L0i = 5; // 2 coils of 3 mm need 6
    tooShort.spring.Gtheta = 80000;
    tooShort.spring.h = 3;
    EXPECT_TRUE(BuildSectionTable(tooShort));
    EXPECT_TRUE(tooShort.messages.Contains("Fehler : Lc 1 > L0 1 !"));
}

TEST(CoilPosition, WalksTheSlotsFromEndOne) {
    Session session;
    examples::ThreeSections(session);
    PrepareLine(session);
    SpringRecord& s = session.spring;
    WriteDeadCoilBlocks(s);
    // Slots: E1 (1 coil, 3 mm), 1 (2 coils, 10 mm), 2 (3, 20), 3 (3, 30), E2 (1, 3).
    EXPECT_EQ(SlotOfCoil(s, 0.5L), 0);
    EXPECT_EQ(SlotOfCoil(s, 1), 0);
    EXPECT_EQ(SlotOfCoil(s, 2), 1);
    EXPECT_EQ(SlotOfCoil(s, 4), 2);
    EXPECT_NEAR(CoilPosition(s, 1), 3, 1e-12);
    EXPECT_NEAR(CoilPosition(s, 2), 3 + 5, 1e-12);
    EXPECT_NEAR(CoilPosition(s, 4.5L), 3 + 10 + 1.5L * 20 / 3, 1e-12);
    EXPECT_NEAR(CoilPosition(s, 10), s.L0, 1e-12);
    EXPECT_NEAR(CoilPositionUnderForce(session, 10, 0), s.L0, 1e-12);
    EXPECT_NEAR(CoilPositionUnderForce(session, 10, s.Fc), s.Lc, 1e-9);
    EXPECT_EQ(SlotName(s, 0), "E1");
    EXPECT_EQ(SlotName(s, 2), " 2");
    EXPECT_EQ(SlotName(s, 4), "E2");
    EXPECT_EQ(SlotName(s, 7), "XX");
}

} // namespace
} // namespace kora

#include "engine/design.h"

#include "calc/characteristic.h"
#include "calc/session.h"
#include "common/designed_springs.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "strength/stress.h"
#include "strength/wire_tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

namespace kora {
namespace {

namespace text = design_text;

struct Point {
    real s, F;
};

void SetPoints(SpringRecord& s, std::initializer_list<Point> points) {
    s.nchar = 0;
    for (const Point& p : points) {
        ++s.nchar;
        s.points[s.nchar] = CharacteristicPoint{};
        s.points[s.nchar].s = p.s;
        s.points[s.nchar].F = p.F;
    }
}

void SetRows(SpringRecord& s, std::initializer_list<FrlPoint> rows) {
    s.nfrl = 0;
    for (const FrlPoint& row : rows)
        s.frl[++s.nfrl] = row;
}

std::string Messages(const Session& session) {
    std::string all;
    for (const auto& m : session.messages)
        all += "[" + m + "]";
    return all;
}

real OneCoilRate(const SpringRecord& s) {
    return s.G * s.d * s.d * s.d * s.d / (8 * s.Dm * s.Dm * s.Dm);
}

// The section table and lengths as the calculation builds them, without the rest of it.
void BuildLine(Session& session) {
    SpringRecord& s = session.spring;
    if (s.wireType != 2 && s.wireType != 4) s.h = s.d;
    s.Gtheta = s.G * (3620 - s.theta) / 3600;
    s.ne = s.nend1 + s.nend2;
    ASSERT_TRUE(BuildSectionTable(session));
    BuildLengths(s);
}

// An other material (typed Rm and tauz) keeps tauz through every refresh.
void TypedMaterial(Session& session, real tauz) {
    session.spring.materialKind = 11;
    session.spring.Rm = 2 * tauz;
    session.spring.tauz = tauz;
}

// --- Proposals -------------------------------------------------------------------------------

TEST(WireDiameterProposal, ForceNotPositiveIsFatalAndKeepsD) {
    for (real F : {0.0L, -5.0L, std::numeric_limits<real>::quiet_NaN()}) {
        Session session;
        session.spring.d = 0;
        ProposeWireDiameter(session, F);
        EXPECT_TRUE(session.FatalFlag);
        EXPECT_TRUE(session.messages.Contains(text::kFmaxNotPositive));
        EXPECT_EQ(session.spring.d, 0);
    }
}

TEST(WireDiameterProposal, ZeroTauzIsReportedAndTakenAs500) {
    Session session;
    TypedMaterial(session, 0);
    session.spring.Dm = 22;
    ProposeWireDiameter(session, 200);
    EXPECT_TRUE(session.messages.Contains(text::kTauzZero));
    EXPECT_FALSE(session.FatalFlag); // reported, but the proposal goes on
    EXPECT_EQ(session.spring.tauz, 500);
    const real raw = std::cbrt(2.5464790894703255L * 200 * 22 / 500);
    EXPECT_EQ(session.spring.d, StandardWireDiameter(session, session.spring.wireTolGrade, 1, raw));
    EXPECT_GE(session.spring.d, raw);
}

TEST(WireDiameterProposal, FollowsTheStrengthOfTheNewDiameter) {
    Session session;
    designed::SpringWire(session);
    SpringRecord& s = session.spring;
    s.d = 0;
    const real F = 300;
    ProposeWireDiameter(session, F);
    // Independent solution of d³ = 8/π·F·Dm / tauz(d) by bisection.
    auto excess = [&](real d) {
        Session probe;
        designed::SpringWire(probe);
        probe.spring.d = d;
        PermissibleStress(probe);
        return d * d * d - 8 / 3.14159265358979323846L * F * 22 / probe.spring.tauz;
    };
    real lo = 0.5L, hi = 10;
    for (int i = 0; i < 200; ++i)
        ((excess((lo + hi) / 2) < 0) ? lo : hi) = (lo + hi) / 2;
    EXPECT_EQ(s.d, StandardWireDiameter(session, s.wireTolGrade, 1, lo));
    EXPECT_FALSE(session.FatalFlag);
}

TEST(WireDiameterProposal, WithoutMaterialStillGivesAUsableDiameter) {
    Session session; // empty material row: the refresh gives tauz = 0
    session.spring.d = 0;
    ProposeWireDiameter(session, 200);
    EXPECT_TRUE(std::isfinite(session.spring.d));
    EXPECT_GT(session.spring.d, 0);
}

TEST(WireDiameterProposal, CoilDiameterNotPositiveIsFatal) {
    Session session;
    session.spring.Dm = 0;
    ProposeWireDiameter(session, 200);
    EXPECT_TRUE(session.FatalFlag);
    EXPECT_TRUE(session.messages.Contains("Fatal  : Dm <= 0 !"));
}

TEST(CoilDiameterProposal, IndexFiveRoundedToTenthMillimetre) {
    const struct {
        real tauz, F, expected;
    } cases[] = {
        {400, 100, 8.9L},   // √(2.55·125·100/400) = 8.927
        {0, 100, 8.9L},     // tauz 0 is taken as 400
        {800, 1000, 20.0L}, // √(398.4) = 19.96
        {400, 0, 0},        {400, -3, 0},
    };
    for (const auto& c : cases) {
        Session session;
        TypedMaterial(session, c.tauz);
        EXPECT_NEAR(ProposeCoilDiameter(session, c.F), c.expected, 1e-12)
            << "tauz " << static_cast<double>(c.tauz) << " F " << static_cast<double>(c.F);
    }
}

TEST(CoilDiameterProposal, WithoutWireOrMaterialStaysFinite) {
    Session session;
    session.spring.d = 0;
    real Dm = ProposeCoilDiameter(session, 100);
    EXPECT_NEAR(Dm, 8.9L, 1e-12); // the 400 N/mm² of the empty material are kept
    EXPECT_EQ(session.spring.d, 0);
}

TEST(CoilDiameterProposal, MaterialStrengthIsTakenAtTheImpliedWire) {
    Session session;
    designed::SpringWire(session);
    session.spring.d = 0;
    const real Dm = ProposeCoilDiameter(session, 500);
    Session probe;
    designed::SpringWire(probe);
    probe.spring.d = Dm / 5;
    PermissibleStress(probe);
    EXPECT_NEAR(Dm, std::sqrt(2.55L * 125 * 500 / probe.spring.tauz), 0.06L);
    EXPECT_EQ(session.spring.d, 0); // the wire itself is the next proposal's business
}

// --- Design algorithm ------------------------------------------------------------------------

TEST(DesignSections, RatesTenTwentyFortyGiveSectionRatesTwentyFortyForty) {
    Session session;
    SpringRecord& s = session.spring;
    s.d = 3;
    s.Dm = 22;
    SetPoints(s, {{5, 50}, {7.5L, 100}, {10, 200}});
    ASSERT_TRUE(DesignSections(session));
    EXPECT_EQ(session.messages.Count(), 0) << Messages(session);
    EXPECT_EQ(s.definitionMode, 2);
    const real rates[] = {10, 20, 40};
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(s.points[i].R, rates[i - 1], 1e-12);
    ASSERT_EQ(s.nsec, 3);
    const real C = OneCoilRate(s);
    const struct { real rate, F; } sections[] = {{20, 50}, {40, 100}, {40, 200}};
    for (int i = 1; i <= 3; ++i) {
        const CoilSection& c = s.sections[i];
        EXPECT_NEAR(C / c.ni, sections[i - 1].rate, 1e-12) << "section " << i;
        // It closes at the force of its point.
        EXPECT_NEAR((c.L0i - c.ni * s.d) * sections[i - 1].rate, sections[i - 1].F, 1e-9);
    }
}

TEST(DesignSections, SectionsReproduceTheEnteredDeflections) {
    const std::pair<word, real> wires[] = {{1, 3}, {2, 2}, {3, 3}, {4, 2}}; // type, h
    for (auto [wireType, h] : wires) {
        Session session;
        SpringRecord& s = session.spring;
        s.wireType = wireType;
        s.d = 3;
        s.h = h;
        s.Dm = 22;
        SetPoints(s, {{4, 30}, {9, 100}, {11, 150}, {12, 200}});
        ASSERT_TRUE(DesignSections(session));
        BuildLine(session);
        for (int i = 1; i <= s.nchar; ++i)
            EXPECT_NEAR(DeflectionAt(session, s.points[i].F), s.points[i].s, 1e-9)
                << "wire type " << wireType << " point " << i;
        EXPECT_NEAR(s.Fc, 200, 1e-9);
    }
}

TEST(DesignSections, EqualRatesGiveNoSectionAndAWarning) {
    Session session;
    SpringRecord& s = session.spring;
    SetPoints(s, {{5, 50}, {10, 100}, {12.5L, 200}}); // rates 10, 10, 40
    ASSERT_TRUE(DesignSections(session));
    EXPECT_FALSE(session.FatalFlag);
    EXPECT_TRUE(session.messages.Contains(text::kSectionRateZero)) << Messages(session);
    EXPECT_TRUE(session.messages.Contains("Fehler : Ri < Ri-1 ! (i=2)"));
    ASSERT_EQ(s.nsec, 2); // none for point 1
    const real C = OneCoilRate(s);
    EXPECT_NEAR(C / s.sections[1].ni, 1 / (1 / 10.0L - 1 / 40.0L), 1e-9);
    EXPECT_NEAR(C / s.sections[2].ni, 40, 1e-9);
    BuildLine(session);
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(DeflectionAt(session, s.points[i].F), s.points[i].s, 1e-9) << i;
}

TEST(DesignSections, MessagesOfBadPoints) {
    const struct {
        const char* name;
        std::initializer_list<Point> points;
        const char* message;
        bool fatal;
        int nsec; // -1: left as it was
    } cases[] = {
        {"no points", {}, "Fehler : i = 0 !", true, -1},
        {"first force zero", {{5, 0}, {10, 100}}, "Fatal  : Fi <= Fi-1 ! (1)", true, -1},
        {"first deflection zero", {{0, 50}}, "Fatal  : si+1 <= si ! (1)", true, -1},
        {"deflection repeats", {{5, 50}, {5, 100}}, "Fatal  : si+1 <= si ! (2)", true, -1},
        {"force falls", {{5, 50}, {8, 40}}, "Fatal  : Fi <= Fi-1 ! (2)", true, -1},
        {"rate falls", {{5, 50}, {10, 200}, {20, 300}}, "Fehler : Ri < Ri-1 ! (i=3)", false, 2},
        {"rate falls, no section", {{5, 50}, {10, 200}, {20, 300}}, "Warnung: R<=0", false, 2},
    };
    for (const auto& c : cases) {
        Session session;
        session.spring.nsec = 7;
        SetPoints(session.spring, c.points);
        EXPECT_EQ(DesignSections(session), !c.fatal) << c.name;
        EXPECT_EQ(session.FatalFlag, c.fatal) << c.name;
        EXPECT_TRUE(session.messages.Contains(c.message)) << c.name << ": " << Messages(session);
        EXPECT_EQ(session.spring.nsec, c.nsec < 0 ? 7 : c.nsec) << c.name;
    }
}

TEST(DesignSections, StartsWithAClearListAndNeedsAWire) {
    Session session;
    session.Fatal("Fatal  : alt");
    SetPoints(session.spring, {{5, 50}, {10, 150}});
    ASSERT_TRUE(DesignSections(session));
    EXPECT_FALSE(session.messages.Contains("Fatal  : alt"));
    EXPECT_FALSE(session.FatalFlag);

    for (auto [d, Dm, message] : {std::tuple{0.0L, 22.0L, "Fatal  : d <= 0 !"},
                                  std::tuple{3.0L, 0.0L, "Fatal  : Dm <= 0 !"}}) {
        Session bad;
        bad.spring.d = d;
        bad.spring.Dm = Dm;
        SetPoints(bad.spring, {{5, 50}, {10, 150}});
        EXPECT_FALSE(DesignSections(bad));
        EXPECT_TRUE(bad.messages.Contains(message));
    }
}

TEST(DesignSections, UsesTheShearModulusAtTheOperatingTemperature) {
    Session session;
    SpringRecord& s = session.spring;
    s.theta = 200;
    s.Gtheta = s.G; // stale from an earlier calculation at 20 °C
    SetPoints(s, {{5, 50}, {10, 150}});
    ASSERT_TRUE(DesignSections(session));
    BuildLine(session);
    EXPECT_NEAR(DeflectionAt(session, 150), 10, 1e-9);
}

// --- F,R-L conversion ------------------------------------------------------------------------

TEST(FrlConversion, CornersOfTheRateLinesAndFreeLength) {
    Session session;
    SpringRecord& s = session.spring;
    session.FatalFlag = true; // cleared at the start
    SetRows(s, {designed::kWishedRows[0], designed::kWishedRows[1], designed::kWishedRows[2]});
    ASSERT_TRUE(ConvertFrlToPoints(session));
    EXPECT_FALSE(session.FatalFlag);
    EXPECT_EQ(s.charCoordinate, 2);
    ASSERT_EQ(s.nchar, 3);
    EXPECT_NEAR(s.L0, 50, 1e-12); // L1 + F1/R1 = 47 + 30/10
    for (int i = 1; i <= 3; ++i) {
        const auto& wished = designed::kWished[i - 1];
        EXPECT_NEAR(s.points[i].L, wished.L, 1e-12) << i;
        EXPECT_NEAR(s.points[i].F, wished.F, 1e-12) << i;
        EXPECT_NEAR(s.points[i].s, wished.s, 1e-12) << i;
    }
    EXPECT_EQ(s.points[0].F, 0);
    EXPECT_EQ(s.points[0].L, 0);
}

TEST(FrlConversion, ParallelRateLinesKeepTheRow) {
    Session session;
    SpringRecord& s = session.spring;
    SetRows(s, {{30, 47, 10}, {60, 44, 10}});
    ASSERT_TRUE(ConvertFrlToPoints(session));
    EXPECT_EQ(s.points[1].L, 47);
    EXPECT_EQ(s.points[1].F, 30);
    EXPECT_EQ(s.points[2].L, 44);
    EXPECT_EQ(s.points[2].F, 60);
}

TEST(FrlConversion, FatalChecksStopAtTheFirstFailure) {
    const struct {
        const char* name;
        std::initializer_list<FrlPoint> rows; // F, L, R
        const char* message;
    } cases[] = {
        {"second force lower", {{100, 30, 10}, {90, 25, 20}}, "Fatal  : FLR: Fi <= Fi-1 !  (2)"},
        {"second force equal", {{100, 30, 10}, {100, 25, 20}}, "Fatal  : FLR: Fi <= Fi-1 !  (2)"},
        {"length grows", {{100, 30, 10}, {150, 31, 20}}, "Fatal  : FLR: Li >= Li-1 !  (2)"},
        {"rate falls", {{100, 30, 10}, {150, 25, 9}}, "Fatal  : FLR: Ri < Ri-1 !  (2)"},
        {"rate below secant", {{100, 30, 10}, {200, 25, 15}}, "Fatal  : FLR: Ri < Rmin !  (2)"},
        {"third row",
         {{100, 30, 10}, {150, 25, 12}, {140, 20, 30}},
         "Fatal  : FLR: Fi <= Fi-1 !  (3)"},
        {"first rate zero", {{100, 30, 0}, {150, 25, 12}}, "Fatal  : FLR: Ri <= 0 !  (1)"},
    };
    for (const auto& c : cases) {
        Session session;
        session.spring.nchar = 9;
        session.spring.L0 = 77;
        SetRows(session.spring, c.rows);
        EXPECT_FALSE(ConvertFrlToPoints(session)) << c.name;
        EXPECT_TRUE(session.FatalFlag) << c.name;
        EXPECT_EQ(session.messages.Count(), 1) << c.name << ": " << Messages(session);
        EXPECT_TRUE(session.messages.Contains(c.message)) << c.name << ": " << Messages(session);
        EXPECT_EQ(session.spring.nchar, 9) << c.name; // the points stay as they were
        EXPECT_EQ(session.spring.L0, 77) << c.name;
    }
}

TEST(FrlConversion, NoRowsGiveNoPointsAndKeepL0) {
    Session session;
    session.spring.L0 = 77;
    session.spring.nfrl = 0;
    EXPECT_TRUE(ConvertFrlToPoints(session));
    EXPECT_EQ(session.spring.nchar, 0);
    EXPECT_EQ(session.spring.L0, 77);
}

// --- Section table operations ----------------------------------------------------------------

TEST(SectionOperations, CoilCountsScaleToTheNewTotal) {
    Session session;
    SpringRecord& s = session.spring;
    examples::SetSections(s, {{10, 2}, {20, 3}, {30, 3}});
    s.n = 8;
    ScaleCoilCounts(s, 12);
    const real expected[] = {3, 4.5L, 4.5L};
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(s.sections[i].ni, expected[i - 1], 1e-15);
    EXPECT_EQ(s.sections[1].L0i, 10); // lengths untouched
}

TEST(SectionOperations, FreeLengthScalesTheSectionsAndKeepsTheDeadCoils) {
    Session session;
    examples::ThreeSections(session);
    designed::SpringWire(session);
    CalculateSpring(session);
    SpringRecord& s = session.spring;
    ASSERT_FALSE(session.FatalFlag);
    const real Lend = s.Lend, L0new = s.L0 + 15;
    ASSERT_TRUE(ScaleFreeLength(s, L0new));
    CalculateSpring(session);
    EXPECT_NEAR(s.L0, L0new, 1e-12);
    EXPECT_NEAR(s.Lend, Lend, 1e-15);
    EXPECT_NEAR(s.n, 8, 1e-15);

    s.Lend = s.L0; // nothing to scale: the sections have no length
    const real L0i = s.sections[1].L0i;
    EXPECT_FALSE(ScaleFreeLength(s, 200));
    EXPECT_EQ(s.sections[1].L0i, L0i);
}

TEST(SectionOperations, MirrorHalvesAndDoubles) {
    struct Half {
        real L0i, ni;
    };
    const struct {
        bool aboutFirst;
        Half expected[6];
    } cases[] = {
        {true, {{3, 1.5L}, {2, 1}, {1, 0.5L}, {1, 0.5L}, {2, 1}, {3, 1.5L}}},
        {false, {{1, 0.5L}, {2, 1}, {3, 1.5L}, {3, 1.5L}, {2, 1}, {1, 0.5L}}},
    };
    for (const auto& c : cases) {
        Session session;
        SpringRecord& s = session.spring;
        examples::SetSections(s, {{2, 1}, {4, 2}, {6, 3}});
        ASSERT_TRUE(c.aboutFirst ? MirrorAboutFirst(s) : MirrorAboutLast(s));
        ASSERT_EQ(s.nsec, 6);
        real n = 0, Lsec = 0;
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(s.sections[i].L0i, c.expected[i - 1].L0i) << c.aboutFirst << " " << i;
            EXPECT_EQ(s.sections[i].ni, c.expected[i - 1].ni) << c.aboutFirst << " " << i;
            n += s.sections[i].ni;
            Lsec += s.sections[i].L0i;
        }
        EXPECT_EQ(n, 6);
        EXPECT_EQ(Lsec, 12);
    }
}

TEST(SectionOperations, MirrorIsRefusedAboveFiftySections) {
    for (auto [count, allowed] : {std::pair{25, true}, std::pair{26, false}}) {
        for (bool aboutFirst : {true, false}) {
            Session session;
            SpringRecord& s = session.spring;
            s.nsec = count;
            for (int i = 1; i <= count; ++i)
                s.sections[i] = CoilSection{real(i), 0, 0, 0, 1, 0, 0};
            const auto before = s.sections;
            EXPECT_EQ(aboutFirst ? MirrorAboutFirst(s) : MirrorAboutLast(s), allowed) << count;
            EXPECT_EQ(s.nsec, allowed ? 2 * count : count);
            for (int i = 0; !allowed && i < kSectionSlots; ++i) {
                EXPECT_EQ(s.sections[i].L0i, before[i].L0i) << count << " slot " << i;
            }
            EXPECT_EQ(session.messages.Count(), 0); // refused silently
        }
    }
}

// --- Pure steps of the design dialogs --------------------------------------------------------

TEST(DesignSteps, MinimumFreeLengthFromTheFirstTwoPoints) {
    const struct {
        real L1, F1, L2, F2, expected;
    } cases[] = {
        {45, 50, 42.5L, 100, 47.5L}, // slope 20 N/mm: F = 0 at 2.5 mm above L1
        {45, 0, 40, 100, 45},
        {45, 50, 42.5L, 50, 45}, // no rise in force: no line to follow
        {45, 50, 46, 100, 45},   // length grows
    };
    for (const auto& c : cases) {
        SpringRecord s;
        s.nchar = 2;
        s.points[1].L = c.L1;
        s.points[1].F = c.F1;
        s.points[2].L = c.L2;
        s.points[2].F = c.F2;
        EXPECT_NEAR(MinimumFreeLength(s), c.expected, 1e-15);
    }
}

TEST(DesignSteps, SolidLengthChangeGoesIntoTheDeadCoils) {
    const struct {
        real nend1, nend2, d, Lc, LcNew, expected;
    } cases[] = {
        {1, 1, 2, 20, 24, 2},
        {1, 1, 2, 20, 18, 0.5L},
        {1, 0.5L, 2, 20, 22, 1.5L}, // end 2 follows end 1
        {0.75L, 0.75L, 4, 30, 30, 0.75L},
    };
    for (const auto& c : cases) {
        SpringRecord s;
        s.nend1 = c.nend1;
        s.nend2 = c.nend2;
        s.d = c.d;
        s.Lc = c.Lc;
        SpreadSolidLength(s, c.LcNew);
        EXPECT_NEAR(s.nend1, c.expected, 1e-15);
        EXPECT_NEAR(s.nend2, c.expected, 1e-15);
    }
}

TEST(DesignSteps, SolidLengthOfRectangularWireCountsInWireHeight) {
    SpringRecord s;
    s.wireType = 4;
    s.d = 4;
    s.h = 2;
    s.Lc = 20;
    SpreadSolidLength(s, 24);
    EXPECT_NEAR(s.nend1, 2, 1e-15); // 4 mm more over two ends of h = 2
}

TEST(DesignSteps, FreeLengthExtensionLengthensTheLastSection) {
    SpringRecord s;
    examples::SetSections(s, {{10, 2}, {20, 3}});
    s.L0 = 50;
    s.Lc = 30;
    s.nchar = 2;
    EXPECT_FALSE(ExtendFreeLength(s, 50.005L)); // within 0.01: nothing
    EXPECT_EQ(s.nchar, 2);
    ASSERT_TRUE(ExtendFreeLength(s, 60));
    EXPECT_EQ(s.sections[2].L0i, 30);
    EXPECT_EQ(s.sections[1].L0i, 10);
    EXPECT_EQ(s.L0, 60);
    ASSERT_EQ(s.nchar, 3);
    EXPECT_EQ(s.points[3].s, 30);
    EXPECT_EQ(s.points[3].L, 30);
    EXPECT_EQ(s.points[3].F, 0); // filled in by the calculation

    s.nchar = kMaxPoints; // a full table: the extension only
    ASSERT_TRUE(ExtendFreeLength(s, 70));
    EXPECT_EQ(s.nchar, kMaxPoints);
    EXPECT_EQ(s.sections[2].L0i, 40);
}

TEST(DesignSteps, ExtendedSpringFillsTheAppendedPoint) {
    Session session;
    designed::DesignedFromPoints(session);
    SpringRecord& s = session.spring;
    CalculateSpring(session);
    ASSERT_FALSE(session.FatalFlag) << Messages(session);
    ASSERT_TRUE(ExtendFreeLength(s, s.L0 + 5));
    AlignPointsWithFreeLength(s);
    CalculateSpring(session);
    ASSERT_FALSE(session.FatalFlag) << Messages(session);
    EXPECT_NEAR(s.points[4].F, s.Fc, 1e-3L * s.Fc);
    EXPECT_NEAR(s.points[4].s, s.sc, 1e-12);
}

TEST(DesignSteps, PointsFollowTheFreeLength) {
    for (word coordinate : {word{1}, word{2}}) {
        SpringRecord s;
        s.charCoordinate = coordinate;
        s.L0 = 50;
        s.nchar = 2;
        s.points[1].s = 5;
        s.points[1].L = 40;
        s.points[2].s = 8;
        s.points[2].L = 30;
        AlignPointsWithFreeLength(s);
        if (coordinate == 1) {
            EXPECT_EQ(s.points[1].L, 45);
            EXPECT_EQ(s.points[2].L, 42);
        } else {
            EXPECT_EQ(s.points[1].s, 10);
            EXPECT_EQ(s.points[2].s, 20);
        }
    }
}

TEST(DesignSteps, WorkingLengthQuickButtons) {
    SpringRecord s;
    s.L0 = 50;
    s.Lc = 30;
    EXPECT_NEAR(ProposedL1(s), 48, 1e-15);
    EXPECT_NEAR(ProposedL2(s), 40, 1e-15);
    EXPECT_NEAR(ProposedLx(48, 40), 44, 1e-15);
}

TEST(DesignSteps, WorkingLengthsFromTheEnteredTable) {
    SpringRecord s;
    s.L0 = 50;
    s.L1 = 1;
    s.L2 = 2;
    s.Lx = 3;
    s.charCoordinate = 2;
    s.nchar = 3;
    s.points[1].L = 45;
    s.points[2].L = 42;
    s.points[3].L = 40;
    s.points[1].s = 1;
    s.points[2].s = 2;
    s.points[3].s = 3;
    SetRows(s, {{10, 47, 1}, {20, 44, 2}});
    const struct {
        const char* name;
        word coordinate;
        int nchar;
        bool fromFrl;
        WorkingLengths expected;
    } cases[] = {
        {"three F-L points", 2, 3, false, {45, 40, 42}},
        {"two F-L points", 2, 2, false, {45, 42, 43.5L}},
        {"F-s points at L0 - s", 1, 3, false, {49, 47, 48}},
        {"two F,R-L rows", 2, 3, true, {47, 44, 45.5L}},
        {"one point: unchanged", 2, 1, false, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        s.charCoordinate = c.coordinate;
        s.nchar = c.nchar;
        WorkingLengths got = WorkingLengthsFromTable(s, c.fromFrl);
        EXPECT_NEAR(got.L1, c.expected.L1, 1e-15) << c.name;
        EXPECT_NEAR(got.L2, c.expected.L2, 1e-15) << c.name;
        EXPECT_NEAR(got.Lx, c.expected.Lx, 1e-15) << c.name;
    }
}

// --- Designed springs through the whole calculation ------------------------------------------

void ExpectReproducesTheWishedCharacteristic(Session& session, const char* name) {
    CalculateSpring(session);
    const SpringRecord& s = session.spring;
    ASSERT_FALSE(session.FatalFlag) << name << ": " << Messages(session);
    ASSERT_EQ(s.nchar, 3) << name;
    for (int i = 1; i <= 3; ++i) {
        const real F = designed::kWished[i - 1].F;
        EXPECT_NEAR(ForceAt(session, s.points[i].s), F, 1e-3L * F) << name << " point " << i;
        EXPECT_NEAR(s.points[i].F, F, 1e-12) << name; // not overwritten
    }
    for (const char* deviation : {"Warnung: F1 ", "Warnung: F2 ", "Warnung: F3 "})
        for (const auto& m : session.messages)
            EXPECT_NE(m.rfind(deviation, 0), 0u) << name << ": " << m;
    EXPECT_NEAR(s.F1, 40, 0.04L) << name;
    EXPECT_NEAR(s.F2, 160, 0.16L) << name;
    EXPECT_NEAR(s.Fx, 80, 0.08L) << name;
}

TEST(DesignedSprings, FromFsPointsCalculatesAndReproducesThePoints) {
    Session session;
    designed::DesignedFromPoints(session);
    EXPECT_EQ(session.spring.definitionMode, 2);
    ExpectReproducesTheWishedCharacteristic(session, "F-s");
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(session.spring.points[i].s, designed::kWished[i - 1].s, 1e-12);
}

TEST(DesignedSprings, FromFrlRowsCalculatesAndReproducesTheRows) {
    Session session;
    designed::DesignedFromFrlRows(session);
    ExpectReproducesTheWishedCharacteristic(session, "F,R-L");
    const SpringRecord& s = session.spring;
    EXPECT_NEAR(s.L0, designed::kWishedL0, 1e-9);
    EXPECT_NEAR(s.Lc, designed::kWished[2].L, 1e-9);
    for (int i = 1; i <= 3; ++i) {
        const FrlPoint& row = designed::kWishedRows[i - 1];
        EXPECT_NEAR(ForceAt(session, s.L0 - row.L), row.F, 1e-3L * row.F) << "row " << i;
        EXPECT_NEAR(RateAt(session, row.F), row.R, 1e-3L * row.R) << "row " << i;
    }
}

} // namespace
} // namespace kora

#include "calc/session.h"
#include "strength/fatigue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kora {
namespace {

constexpr real kNaN = std::numeric_limits<real>::quiet_NaN();
constexpr real kInf = std::numeric_limits<real>::infinity();

using Strings = std::vector<std::string>;
Strings Messages(const Session& s) {
    return {s.messages.begin(), s.messages.end()};
}

double D(real x) {
    return static_cast<double>(x);
}

// The worked diagram: tauo = 700, tauh = 400, m = 0.6 (tau u lim = 500) at d = d0.
void UnpeenedData(KORWST_Record& m) {
    m.fatigueD0 = 1;
    m.tauo0 = 700;
    m.tauh0 = 400;
    m.mSlope = 0.6;
}

void PeenedData(KORWST_Record& m, std::int32_t tauh0) {
    m.fatigueD0 = 1;
    m.tauo0Peened = 700;
    m.tauh0Peened = tauh0;
    m.mSlopePeened = 0.6;
}

// A dynamically loaded spring of d = d0 between tauk1 and tauk2 (nominal = corrected / 1.2).
void Working(Session& s, real tauk1, real tauk2) {
    SpringRecord& p = s.spring;
    p.d = 1;
    p.loadType = 2;
    p.shotPeened = 'N';
    p.materialKind = 0;
    p.warnMode = 1;
    p.tauz = 840;
    p.tauk1 = tauk1;
    p.tauk2 = tauk2;
    p.taukh = tauk2 - tauk1;
    p.tau1 = tauk1 / 1.2L;
    p.tau2 = tauk2 / 1.2L;
    p.f = 10;
    s.CurrentMaterial.name1 = "  Federstahl ";
    s.CurrentMaterial.name3 = "DH ";
}

TEST(FatigueEvaluation, PermissibleStrokeOfTheWorkedExamples) {
    struct Case {
        real tauk1, tauhz;
    };
    const Case cases[] = {{300, 280}, {600, 100}, {500, 200}, {0, 400}};
    for (const Case& c : cases) {
        Session s;
        UnpeenedData(s.CurrentMaterial);
        Working(s, c.tauk1, c.tauk1 + 150);
        const FatigueResult r = FatigueEvaluation(s);
        EXPECT_NEAR(D(r.tauo), 700, 1e-12);
        EXPECT_NEAR(D(r.tauh), 400, 1e-12);
        EXPECT_NEAR(D(r.m), 0.6, 1e-12);
        EXPECT_NEAR(D(r.tauuLim), 500, 1e-9);
        EXPECT_NEAR(D(s.spring.tauhz), D(c.tauhz), 1e-9) << D(c.tauk1);
        EXPECT_EQ(r.title, "Federstahl (DH) nicht kugelgestrahlt");
        EXPECT_FALSE(s.FatalFlag);
    }
}

TEST(FatigueEvaluation, DataFollowTheDiameter) {
    Session s;
    UnpeenedData(s.CurrentMaterial);
    s.CurrentMaterial.kTauo = 50;
    s.CurrentMaterial.kTauh = 30;
    Working(s, 300, 450);
    s.spring.d = 10; // one decade above d0
    const FatigueResult r = FatigueEvaluation(s);
    EXPECT_NEAR(D(r.tauo), 650, 1e-9);
    EXPECT_NEAR(D(r.tauh), 370, 1e-9);
}

TEST(FatigueEvaluation, LifeIsTenMillionAtThePermissibleStroke) {
    struct Case {
        real tauk2; // tauk1 = 300, tauhz = 280, tauh = 400
        real N;
    };
    const Case cases[] = {
        {580, 1e7}, // taukh = tauhz
        {680, 1e6}, // taukh = tauhz + tauh/4
        {780, 1e5}, // two quarters more
        {480, 1e8}, // a quarter below
    };
    for (const Case& c : cases) {
        Session s;
        UnpeenedData(s.CurrentMaterial);
        Working(s, 300, c.tauk2);
        FatigueEvaluation(s);
        EXPECT_NEAR(D(s.spring.N / c.N), 1, 1e-12) << D(c.tauk2);
        EXPECT_EQ(s.spring.Nmin, s.spring.N);
        EXPECT_EQ(s.spring.Nmax, s.spring.N);
    }
}

TEST(FatigueEvaluation, SafetyFactorsUnderDynamicLoad) {
    Session s;
    UnpeenedData(s.CurrentMaterial);
    Working(s, 300, 580);
    FatigueEvaluation(s);
    EXPECT_NEAR(D(s.spring.S1), 2.8, 1e-12);
    EXPECT_NEAR(D(s.spring.S2), 840.0 / 580.0, 1e-12);
    EXPECT_NEAR(D(s.spring.Sh), 1, 1e-12);
    EXPECT_EQ(s.messages.Count(), 0);
}

TEST(FatigueEvaluation, NoLowerStressGivesS1Of99) {
    for (real tauk1 : {real{0}, real{5e-6L}, real{-5e-6L}}) {
        Session s;
        UnpeenedData(s.CurrentMaterial);
        Working(s, tauk1, 300);
        FatigueEvaluation(s);
        EXPECT_EQ(s.spring.S1, 99);
        EXPECT_TRUE(std::isfinite(s.spring.N));
    }
}

TEST(FatigueEvaluation, ToleranceBandsTheLife) {
    Session s;
    UnpeenedData(s.CurrentMaterial);
    Working(s, 300, 680);
    s.spring.fatigueTolMin = -5;
    s.spring.fatigueTolMax = 5;
    FatigueEvaluation(s);
    EXPECT_LT(s.spring.Nmin, s.spring.N);
    EXPECT_LT(s.spring.N, s.spring.Nmax);
    // 5 % of tauhz = 14 N/mm² moves the exponent by 4 * 14 / 400.
    EXPECT_NEAR(D(std::log10(s.spring.Nmin)), 6 - 0.14, 1e-12);
    EXPECT_NEAR(D(std::log10(s.spring.Nmax)), 6 + 0.14, 1e-12);
}

TEST(FatigueEvaluation, NoLifeForTinySafetyOrNegativeStresses) {
    struct Case {
        const char* name;
        real tauk1, tauk2;
    };
    const Case cases[] = {
        {"Sh below 0.001", 699.9L, 899.9L}, // tauhz = 0.1, taukh = 200
        {"negative lower stress", -50, 300},
        {"negative upper stress", -300, -100},
    };
    for (const Case& c : cases) {
        Session s;
        UnpeenedData(s.CurrentMaterial);
        Working(s, c.tauk1, c.tauk2);
        s.spring.fatigueTolMin = -5;
        FatigueEvaluation(s);
        EXPECT_EQ(s.spring.N, 0) << c.name;
        EXPECT_EQ(s.spring.Nmin, 0) << c.name;
        EXPECT_EQ(s.spring.Nmax, 0) << c.name;
    }
}

TEST(FatigueEvaluation, StaticLoad) {
    Session s;
    UnpeenedData(s.CurrentMaterial);
    Working(s, 300, 580);
    s.spring.loadType = 1;
    s.spring.tau1 = 210;
    s.spring.tau2 = 420;
    FatigueEvaluation(s);
    EXPECT_NEAR(D(s.spring.S1), 4, 1e-12);
    EXPECT_NEAR(D(s.spring.S2), 2, 1e-12);
    EXPECT_EQ(s.spring.Sh, 5);
    EXPECT_EQ(s.spring.N, 0);
    EXPECT_EQ(s.spring.Nmin, 0);
    EXPECT_EQ(s.spring.Nmax, 0);
    EXPECT_NEAR(D(s.spring.tauhz), 280, 1e-9); // still computed
    EXPECT_EQ(s.messages.Count(), 0);

    s.spring.tau1 = 0;
    FatigueEvaluation(s);
    EXPECT_EQ(s.spring.S1, 99);
}

TEST(FatigueEvaluation, StaticLoadIgnoresTheStressesForTheStrokeFactor) {
    Session s;
    UnpeenedData(s.CurrentMaterial);
    Working(s, 300, 1580);
    s.spring.loadType = 1;
    FatigueEvaluation(s);
    EXPECT_EQ(s.spring.Sh, 5);
    EXPECT_EQ(s.messages.Count(), 0); // no "tauk2 > tauo" for static load
}

TEST(FatigueEvaluation, ZeroStressesStopWithFatalFlag) {
    struct Case {
        const char* name;
        word loadType;
        real tau2, tauk2, taukh;
        const char* message;
    };
    const Case cases[] = {
        {"tau2 = 0", 2, 0, 500, 200, "Fehler : tau2=0 !"},
        {"tauk2 = 0", 2, 400, 0, 200, "Fehler : tauk2=0 !"},
        {"taukh = 0", 2, 400, 500, 0, "Fehler : taukh=0 !"},
        {"static with F1 = F2", 1, 400, 500, 0, "Fehler : taukh=0 !"},
        {"tau2 first", 1, 0, 0, 0, "Fehler : tau2=0 !"},
    };
    for (const Case& c : cases) {
        Session s;
        UnpeenedData(s.CurrentMaterial);
        Working(s, 300, 500);
        s.spring.loadType = c.loadType;
        s.spring.tau2 = c.tau2;
        s.spring.tauk2 = c.tauk2;
        s.spring.taukh = c.taukh;
        s.spring.S1 = 7;
        FatigueEvaluation(s);
        EXPECT_EQ(Messages(s), Strings{c.message}) << c.name;
        EXPECT_TRUE(s.FatalFlag) << c.name;
        EXPECT_EQ(s.spring.S1, 7) << c.name; // the evaluation ended before the factors
    }
}

TEST(FatigueEvaluation, OneSurfaceStandsInForTheOther) {
    struct Case {
        const char* name;
        char peened;
        bool unpeenedData, peenedData;
        std::int32_t peenedTauh0;
        real tauh;
        const char* suffix;
        bool approx;
    };
    const Case cases[] = {
        {"unpeened spring, unpeened data", 'N', true, false, 0, 400, "nicht kugelgestrahlt", false},
        {"unpeened spring, only peened data", 'N', false, true, 480, 400, "nicht kugelgestrahlt",
         true},
        {"peened spring, peened data", 'J', true, true, 450, 450, "kugelgestrahlt", false},
        {"peened spring, only unpeened data", 'J', true, false, 0, 480, "kugelgestrahlt", true},
        {"any flag but N is peened", 'j', true, false, 0, 480, "kugelgestrahlt", true},
    };
    for (const Case& c : cases) {
        for (word warnMode : {word{1}, word{2}}) {
            Session s;
            if (c.unpeenedData) UnpeenedData(s.CurrentMaterial);
            if (c.peenedData) PeenedData(s.CurrentMaterial, c.peenedTauh0);
            Working(s, 300, 580);
            s.spring.shotPeened = c.peened;
            s.spring.warnMode = warnMode;
            const FatigueResult r = FatigueEvaluation(s);
            EXPECT_NEAR(D(r.tauh), D(c.tauh), 1e-9) << c.name;
            EXPECT_NEAR(D(r.tauo), 700, 1e-9) << c.name;
            EXPECT_EQ(r.title, std::string("Federstahl (DH) ") + c.suffix) << c.name;
            const bool warned = s.messages.Contains("Warnung: approx.Goodman");
            EXPECT_EQ(warned, c.approx && warnMode == 1) << c.name << ", warnMode " << warnMode;
        }
    }
}

TEST(FatigueEvaluation, WithoutFatigueDataThereIsNoPermissibleStrokeAndNoApproximation) {
    struct Case {
        const char* name;
        word kind;
        bool resetRow;
    };
    // A typed material holds the reset row; a bare table row has no fatigue columns either.
    const Case cases[] = {{"typed material", 11, true}, {"bare table row", 0, false}};
    for (const Case& c : cases) {
        for (char peened : {'N', 'J'}) {
            for (word warnMode : {word{1}, word{2}}) {
                Session s;
                Working(s, 300, 580);
                if (c.resetRow) s.CurrentMaterial = KORWST_Record{};
                s.spring.materialKind = c.kind;
                s.spring.shotPeened = peened;
                s.spring.warnMode = warnMode;
                s.spring.tauhz = 123;
                const FatigueResult r = FatigueEvaluation(s);
                EXPECT_EQ(r.tauo, 0);
                EXPECT_EQ(r.tauh, 0);
                EXPECT_EQ(r.m, 0);
                EXPECT_EQ(s.spring.tauhz, 0);
                EXPECT_EQ(s.spring.Sh, 0);
                EXPECT_EQ(s.spring.N, 0);
                EXPECT_FALSE(s.FatalFlag);
                EXPECT_EQ(Messages(s),
                          warnMode == 1 ? Strings{"Warnung: kein Goodman-Diagramm"} : Strings{})
                    << c.name << " " << peened;
            }
        }
    }
}

TEST(FatigueEvaluation, NoGoodmanWarningOnlyUnderDynamicLoad) {
    Session s;
    Working(s, 300, 580);
    s.spring.loadType = 1;
    FatigueEvaluation(s);
    EXPECT_EQ(s.messages.Count(), 0);
}

TEST(FatigueEvaluation, StandardTypeOrTypedMaterialGetsNoPermissibleStroke) {
    for (word kind : {word{1}, word{10}, word{11}}) {
        Session s;
        UnpeenedData(s.CurrentMaterial);
        Working(s, 300, 580);
        s.spring.materialKind = kind;
        FatigueEvaluation(s);
        EXPECT_EQ(s.spring.tauhz, 0);
        EXPECT_EQ(s.spring.N, 0);
        EXPECT_EQ(s.messages.Count(), 0);
    }
}

TEST(FatigueEvaluation, ZeroSlopeEndsTheEvaluationWithAnError) {
    Session s;
    UnpeenedData(s.CurrentMaterial);
    s.CurrentMaterial.mSlope = 0;
    Working(s, 300, 580);
    s.spring.tauhz = 50;
    s.spring.S1 = 7;
    s.spring.N = 3;
    s.spring.tau2 = 0; // the zero checks do not run either
    FatigueEvaluation(s);
    EXPECT_EQ(Messages(s), Strings{"Fehler : KORWST Goodman"});
    EXPECT_FALSE(s.FatalFlag);
    EXPECT_EQ(s.spring.tauhz, 0);
    EXPECT_EQ(s.spring.S1, 7);
    EXPECT_EQ(s.spring.N, 3);
}

TEST(FatigueEvaluation, NoReferenceDiameterMeansNoDiagram) {
    for (double d0 : {0.0, -1.0}) {
        Session s;
        UnpeenedData(s.CurrentMaterial);
        s.CurrentMaterial.fatigueD0 = d0;
        Working(s, 300, 580);
        const FatigueResult r = FatigueEvaluation(s);
        EXPECT_EQ(r.tauo, 0);
        EXPECT_TRUE(r.title.empty());
        EXPECT_EQ(s.spring.tauhz, 0);
        EXPECT_EQ(Messages(s), Strings{"Warnung: kein Goodman-Diagramm"});
    }
}

TEST(FatigueEvaluation, UpperStressAboveTheLimit) {
    Session s;
    UnpeenedData(s.CurrentMaterial);
    Working(s, 300, 750);
    FatigueEvaluation(s);
    EXPECT_EQ(Messages(s), Strings{"Fehler : tauk2 > tauo !"});
    s.ClearMessages();
    s.spring.warnMode = 2; // an error is never suppressed
    FatigueEvaluation(s);
    EXPECT_EQ(Messages(s), Strings{"Fehler : tauk2 > tauo !"});
}

TEST(FatigueEvaluation, HostileValuesGiveFiniteResultsOrAFatalMessage) {
    struct Case {
        const char* name;
        real d, tauk1;
        double mSlope;
        std::int32_t kTauh;
        real tolMax;
        const char* fatal; // nullptr: finite results, no fatal message
    };
    const Case cases[] = {
        {"d = 0", 0, 300, 0.6, 30, 0, nullptr},
        {"d < 0", -2, 300, 0.6, 30, 0, nullptr},
        {"huge tolerance", 1, 300, 0.6, 0, 1e6L, nullptr},
        {"d NaN", kNaN, 300, 0.6, 0, 0, "Fatal  : d ung\x81ltig !"},
        {"d inf", kInf, 300, 0.6, 0, 0, "Fatal  : d ung\x81ltig !"},
        {"tauk1 NaN", 1, kNaN, 0.6, 0, 0, "Fatal  : Spannung ung\x81ltig !"},
        {"slope NaN", 1, 300, std::nan(""), 0, 0, "Fatal  : Dauerfestigkeit ung\x81ltig"},
        {"slope inf", 1, 300, HUGE_VAL, 0, 0, "Fatal  : Dauerfestigkeit ung\x81ltig"},
        {"tolerance inf", 1, 300, 0.6, 0, kInf, "Fatal  : Spannung ung\x81ltig !"},
    };
    for (const Case& c : cases) {
        Session s;
        UnpeenedData(s.CurrentMaterial);
        s.CurrentMaterial.mSlope = c.mSlope;
        s.CurrentMaterial.kTauh = c.kTauh;
        Working(s, c.tauk1, 580);
        s.spring.d = c.d;
        s.spring.fatigueTolMax = c.tolMax;
        const FatigueResult r = FatigueEvaluation(s);
        for (real v : {r.tauo, r.tauh, r.m, r.tauuLim, s.spring.tauhz, s.spring.S1, s.spring.S2,
                       s.spring.Sh, s.spring.N, s.spring.Nmin, s.spring.Nmax})
            EXPECT_TRUE(std::isfinite(v)) << c.name;
        if (c.fatal) {
            EXPECT_TRUE(s.FatalFlag) << c.name;
            EXPECT_TRUE(s.messages.Contains(c.fatal)) << c.name;
        } else {
            EXPECT_FALSE(s.FatalFlag) << c.name;
        }
    }
}

TEST(PowerOfTen, ClampsTheExponent) {
    Session s;
    EXPECT_NEAR(D(PowerOfTen(s, 7) / 1e7L), 1, 1e-15);
    EXPECT_NEAR(D(PowerOfTen(s, -2) / 1e-2L), 1, 1e-15);
    EXPECT_EQ(PowerOfTen(s, 2000), std::exp(3000.0L)); // 2000 ln 10 > 3000
    EXPECT_EQ(PowerOfTen(s, kInf), std::exp(3000.0L));
    EXPECT_EQ(PowerOfTen(s, -2000), 0);
    EXPECT_EQ(PowerOfTen(s, -kInf), 0);
    EXPECT_EQ(s.messages.Count(), 0);
    EXPECT_EQ(PowerOfTen(s, kNaN), 0);
    EXPECT_TRUE(s.FatalFlag);
}

// Life lines: dynamic spring of the worked diagram, tauk1 = 300, tauhz = 280.
struct LifeCase {
    real tauk2;
    real tolMin, tolMax;
    real f;
};

std::vector<LifeLine> Lines(const LifeCase& c, Session& s) {
    UnpeenedData(s.CurrentMaterial);
    Working(s, 300, c.tauk2);
    s.spring.fatigueTolMin = c.tolMin;
    s.spring.fatigueTolMax = c.tolMax;
    s.spring.f = c.f;
    FatigueEvaluation(s);
    return LifeReportLines(s);
}

void ExpectLine(const LifeLine& line, const std::string& title, std::string_view symbol,
                std::string_view unit, LifeLine::Kind kind) {
    EXPECT_EQ(line.title, title);
    EXPECT_EQ(line.symbol, symbol);
    EXPECT_EQ(line.unit, unit);
    EXPECT_EQ(line.kind, kind);
}

TEST(LifeReportLines, BelowTheEnduranceLimit) {
    using Kind = LifeLine::Kind;
    Session s;
    const auto lines = Lines({680, 0, 0, 10}, s); // N = 10^6
    ASSERT_EQ(lines.size(), 2u);
    ExpectLine(lines[0], "Lastspiele bis Bruch", "N", "Mio", Kind::Value);
    EXPECT_NEAR(D(lines[0].first), 1, 1e-12);
    ExpectLine(lines[1], "Lebensdauer (f=10Hz)", "tN", "h", Kind::Value);
    EXPECT_NEAR(D(lines[1].first), 1e6 / 36000, 1e-9);
}

TEST(LifeReportLines, BelowTheEnduranceLimitWithTolerance) {
    using Kind = LifeLine::Kind;
    Session s;
    const auto lines = Lines({680, -5, 5, 2.5L}, s);
    ASSERT_EQ(lines.size(), 5u);
    ExpectLine(lines[0], "Lastspiele bis Bruch", "N", "Mio", Kind::Value);
    ExpectLine(lines[1], "Toleranz Dauerfestigkeit", "tol", "%", Kind::TolerancePair);
    EXPECT_EQ(lines[1].first, 5);
    EXPECT_EQ(lines[1].second, -5);
    ExpectLine(lines[2], "Lastspiele bis Bruch min/max", "N", "Mio", Kind::Range);
    EXPECT_NEAR(D(lines[2].first), D(s.spring.Nmin / 1e6L), 1e-12);
    EXPECT_NEAR(D(lines[2].second), D(s.spring.Nmax / 1e6L), 1e-12);
    ExpectLine(lines[3], "Lebensdauer (f=2.5Hz)", "tN", "h", Kind::Value);
    ExpectLine(lines[4], "Lebensdauer min/max", "tN", "h", Kind::Range);
    EXPECT_NEAR(D(lines[4].first), D(s.spring.Nmin / 9000), 1e-9);
    EXPECT_NEAR(D(lines[4].second), D(s.spring.Nmax / 9000), 1e-9);
}

TEST(LifeReportLines, NoTimeWithoutLoadFrequency) {
    for (real f : {real{0}, real{-1}, kNaN}) {
        Session s;
        const auto lines = Lines({680, -5, 5, f}, s);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[2].title, "Lastspiele bis Bruch min/max");
    }
}

TEST(LifeReportLines, AtTheEnduranceLimit) {
    using Kind = LifeLine::Kind;
    Session s;
    const auto lines = Lines({570, 0, 0, 10}, s); // Sh = 280/270, N = 10^7.1
    ASSERT_EQ(lines.size(), 2u);
    ExpectLine(lines[0], "Lastspiele bis Bruch", "N", "", Kind::Text);
    EXPECT_EQ(lines[0].text, "> 10 Mio.");
    ExpectLine(lines[1], "Lebensdauer", "tN", "", Kind::Text);
    EXPECT_EQ(lines[1].text, "dauerfest");
}

TEST(LifeReportLines, EnduranceWithALowerToleranceShowsTheBand) {
    using Kind = LifeLine::Kind;
    Session s;
    const auto lines = Lines({480, -50, 5, 10}, s); // N = 10^8, Nmin below 10^7
    ASSERT_LT(s.spring.Nmin, 1e7L);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "> 10 Mio.");
    ExpectLine(lines[1], "Toleranz Dauerfestigkeit", "tol", "%", Kind::TolerancePair);
    ExpectLine(lines[2], "Lastspiele bis Bruch min/max", "N", "Mio", Kind::Range);
    EXPECT_EQ(lines[3].text, "dauerfest");
    ExpectLine(lines[4], "Lebensdauer min/max", "tN", "h", Kind::Range);
    EXPECT_NEAR(D(lines[4].first), D(s.spring.Nmin / 36000), 1e-6);

    Session t;
    EXPECT_EQ(Lines({480, -50, 5, 0}, t).size(), 4u); // no band in hours without f
}

TEST(LifeReportLines, OnlyForDynamicLoadWithAPermissibleStroke) {
    Session s;
    Working(s, 300, 580); // no fatigue data: tauhz = 0
    FatigueEvaluation(s);
    EXPECT_TRUE(LifeReportLines(s).empty());

    Session t;
    UnpeenedData(t.CurrentMaterial);
    Working(t, 300, 580);
    t.spring.loadType = 1;
    FatigueEvaluation(t);
    EXPECT_TRUE(LifeReportLines(t).empty());
}

} // namespace
} // namespace kora

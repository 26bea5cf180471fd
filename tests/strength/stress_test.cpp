#include "calc/session.h"
#include "strength/stress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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

void UseMaterial(Session& s, std::int32_t Rm0, std::int32_t kRm) {
    s.CurrentMaterial.Rm0 = Rm0;
    s.CurrentMaterial.kRm = kRm;
    s.CurrentMaterial.d0 = 1;
}

TEST(PermissibleStress, ColdAndHotFormed) {
    struct Case {
        const char* name;
        word manufacturing;
        std::int32_t Rm0;
        real d, Rm, tauz;
    };
    const Case cases[] = {
        {"cold", 1, 1500, 20, 1500, 840},
        {"cold, manufacturing 0", 0, 2000, 3, 2000, 1120},
        {"hot, d = 20: both terms 840", 2, 1500, 20, 1500, 840},
        {"hot, d = 10: 0.56 Rm below 915.26", 3, 1500, 10, 1500, 840},
        {"hot, d = 10: 915.26 below 0.56 Rm", 2, 2000, 10, 2000, 840 - 250 * std::log10(0.5L)},
    };
    for (const Case& c : cases) {
        Session s;
        UseMaterial(s, c.Rm0, 0);
        s.spring.manufacturing = c.manufacturing;
        s.spring.d = c.d;
        PermissibleStress(s);
        EXPECT_NEAR(static_cast<double>(s.spring.Rm), static_cast<double>(c.Rm), 1e-9) << c.name;
        EXPECT_NEAR(static_cast<double>(s.spring.tauz), static_cast<double>(c.tauz), 1e-9)
            << c.name;
        EXPECT_EQ(s.messages.Count(), 0) << c.name;
    }
}

TEST(PermissibleStress, HotFormedLimitAtTheWorkedDiameters) {
    EXPECT_NEAR(static_cast<double>(HotFormedShearLimit(20)), 840.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(HotFormedShearLimit(10)), 915.26, 0.005);
    EXPECT_TRUE(std::isfinite(HotFormedShearLimit(0)));
}

TEST(PermissibleStress, RmFollowsTheDiameter) {
    Session s;
    UseMaterial(s, 2000, 300);
    s.spring.d = 10;
    PermissibleStress(s);
    EXPECT_NEAR(static_cast<double>(s.spring.Rm), 1700.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(s.spring.tauz), 952.0, 1e-9);
}

TEST(PermissibleStress, OtherMaterialKeepsItsTypedValues) {
    for (word kind : {word{11}, word{12}}) {
        Session s;
        UseMaterial(s, 2000, 300);
        s.spring.materialKind = kind;
        s.spring.Rm = 1234;
        s.spring.tauz = 567;
        s.spring.d = 0; // not even looked at
        PermissibleStress(s);
        EXPECT_EQ(s.spring.Rm, 1234);
        EXPECT_EQ(s.spring.tauz, 567);
        EXPECT_EQ(s.messages.Count(), 0);
    }
}

TEST(PermissibleStress, HostileValuesGiveFiniteStressesAndAMessage) {
    struct Case {
        const char* name;
        word kind;
        real d, Rm, tauz;
        Strings messages;
        bool fatalFlag;
    };
    const Case cases[] = {
        {"d = 0", 0, 0, 0, 0, {"Fatal  : d <= 0 !"}, false},
        {"d < 0, hot", 0, -3, 0, 0, {"Fatal  : d <= 0 !"}, false},
        {"d NaN", 0, kNaN, 0, 0, {"Fatal  : d ung\x81ltig !"}, true},
        {"d inf", 0, kInf, 0, 0, {"Fatal  : d ung\x81ltig !"}, true},
        {"typed Rm NaN", 11, 3, kNaN, 500, {"Fatal  : Rm ung\x81ltig !"}, true},
        {"typed tauz inf", 11, 3, 1500, kInf, {"Fatal  : tauz ung\x81ltig !"}, true},
    };
    for (const Case& c : cases) {
        Session s;
        UseMaterial(s, 2000, 300);
        s.spring.manufacturing = 2;
        s.spring.materialKind = c.kind;
        s.spring.d = c.d;
        s.spring.Rm = c.Rm;
        s.spring.tauz = c.tauz;
        PermissibleStress(s);
        EXPECT_TRUE(std::isfinite(s.spring.Rm)) << c.name;
        EXPECT_TRUE(std::isfinite(s.spring.tauz)) << c.name;
        EXPECT_EQ(Messages(s), c.messages) << c.name;
        EXPECT_EQ(s.FatalFlag, c.fatalFlag) << c.name;
    }
}

TEST(PermissibleStress, TableDiameterZeroDerivesTauzFromTheFallback) {
    Session s;
    UseMaterial(s, 2000, 300);
    s.spring.d = 0;
    PermissibleStress(s);
    EXPECT_EQ(s.spring.Rm, 0.1L);
    EXPECT_NEAR(static_cast<double>(s.spring.tauz), 0.056, 1e-15);
}

TEST(StressCorrectionFactor, WorkedExampleAndOtherIndices) {
    EXPECT_NEAR(static_cast<double>(StressCorrectionFactor(5)), 1.293, 1e-15);
    EXPECT_NEAR(static_cast<double>(StressCorrectionFactor(10)), 1.13475, 1e-15);
    EXPECT_NEAR(static_cast<double>(StressCorrectionFactor(2.5L)), 1.704, 1e-15);
    for (real w : {real{0}, real{-5}, kNaN, kInf})
        EXPECT_EQ(StressCorrectionFactor(w), 0);
}

TEST(StressCorrectionFactor, CalculationStepSetsKOrStops) {
    struct Case {
        real w;
        bool ok;
        real k;
        const char* message;
    };
    const Case cases[] = {
        {5, true, 1.293L, nullptr},
        {0, false, 0, "Fatal  : w <= 0 !"},
        {-4, false, 0, "Fatal  : w <= 0 !"},
        {kNaN, false, 0, "Fatal  : w ung\x81ltig !"},
        {kInf, false, 0, "Fatal  : w ung\x81ltig !"},
    };
    for (const Case& c : cases) {
        Session s;
        s.spring.w = c.w;
        s.spring.k = 7;
        EXPECT_EQ(SetStressCorrectionFactor(s), c.ok);
        EXPECT_NEAR(static_cast<double>(s.spring.k), static_cast<double>(c.k), 1e-15);
        EXPECT_EQ(s.FatalFlag, !c.ok);
        EXPECT_EQ(Messages(s), c.message ? Strings{c.message} : Strings{});
    }
}

// A dynamically loaded spring that passes every check.
void SoundSpring(Session& s) {
    SpringRecord& p = s.spring;
    p.Rm = 1500;
    p.tauz = 840;
    p.loadType = 2;
    p.tau1 = 250;
    p.tau2 = 400;
    p.tauk1 = 300;
    p.tauk2 = 500;
    p.taukh = 200;
    p.tauhz = 300;
    p.theta = 20;
    p.d = 3;
    p.materialKind = 0;
    p.materialGrade = 0;
    p.wireTolGrade = 9;
    p.shotPeened = 'N';
    p.rx2 = 0;
    p.warnMode = 1;
    s.CurrentMaterial.dmin = 0.05;
    s.CurrentMaterial.dmax = 100;
    s.CurrentMaterial.Tmax = 120;
    s.CurrentRelaxation.T1 = 20;
    s.CurrentRelaxation.T2 = 80;
}

TEST(StrengthChecks, SoundSpringGivesNoMessage) {
    Session s;
    SoundSpring(s);
    StrengthChecks(s);
    EXPECT_EQ(s.messages.Count(), 0);
    EXPECT_FALSE(s.FatalFlag);
}

struct CheckCase {
    const char* name;
    std::function<void(Session&)> change;
    Strings messages;
    bool warning; // suppressed by warnMode 2
    bool fatalFlag = false;
};

void RunCheckCases(const std::vector<CheckCase>& cases) {
    for (const CheckCase& c : cases) {
        for (word warnMode : {word{1}, word{2}}) {
            Session s;
            SoundSpring(s);
            s.spring.warnMode = warnMode;
            c.change(s);
            StrengthChecks(s);
            const bool suppressed = c.warning && warnMode == 2;
            EXPECT_EQ(Messages(s), suppressed ? Strings{} : c.messages)
                << c.name << ", warnMode " << warnMode;
            EXPECT_EQ(s.FatalFlag, c.fatalFlag) << c.name;
        }
    }
}

TEST(StrengthChecks, FatalAndErrorsStayWhateverTheWarnMode) {
    RunCheckCases({
        {"Rm below 1", [](Session& s) { s.spring.Rm = 0.5L; }, {"Fatal  : Rm = 0 !"}, false, true},
        {"Rm above -1",
         [](Session& s) { s.spring.Rm = -0.5L; },
         {"Fatal  : Rm = 0 !"},
         false,
         true},
        {"Rm NaN", [](Session& s) { s.spring.Rm = kNaN; }, {"Fatal  : Rm = 0 !"}, false, true},
        {"Rm = -1 is not 0", [](Session& s) { s.spring.Rm = -1; }, {}, false},
        {"tauk2 over tauz",
         [](Session& s) { s.spring.tauk2 = 900; },
         {"Fehler : tauk2>tau zul! S=0.93"},
         false},
        {"tauk1 over tauz",
         [](Session& s) { s.spring.tauk1 = 850; },
         {"Fehler : tauk1>tau zul !"},
         false},
        {"stroke over permissible stroke",
         [](Session& s) { s.spring.taukh = 400; },
         {"Fehler : taukh>tauhzul! S=0.75"},
         false},
        {"no permissible stroke, no stroke check",
         [](Session& s) {
             s.spring.taukh = 400;
             s.spring.tauhz = 0;
         },
         {},
         false},
        {"static tau2 over tauz",
         [](Session& s) {
             s.spring.loadType = 1;
             s.spring.tau2 = 1000;
             s.spring.tauk2 = 1200;
         },
         {"Fehler : tau2>tau zul! S=0.84"},
         false},
        {"static tau1 over tauz",
         [](Session& s) {
             s.spring.loadType = 1;
             s.spring.tau1 = 900;
             s.spring.taukh = 400;
         },
         {"Fehler : tau1>tau zul !"},
         false},
        {"dynamic ignores the nominal stresses",
         [](Session& s) { s.spring.tau2 = 1000; },
         {},
         false},
        {"negative tauz with tauk2 = 0 does not divide by zero",
         [](Session& s) {
             s.spring.tauz = -5;
             s.spring.tauk2 = 0;
         },
         {"Fehler : tauk2=0 !", "Fehler : tauk1>tau zul !"},
         false,
         true},
        {"static: negative tauz with tau2 = 0",
         [](Session& s) {
             s.spring.loadType = 1;
             s.spring.tauz = -5;
             s.spring.tau2 = 0;
         },
         {"Fehler : tau2=0 !", "Fehler : tau1>tau zul !"},
         false,
         true},
    });
}

TEST(StrengthChecks, TemperatureWarning) {
    RunCheckCases({
        {"hot and highly stressed",
         [](Session& s) {
             s.spring.theta = 60;
             s.spring.tauk2 = 600; // 0.714 of tauz
         },
         {"Warnung: tau(T=60\370C)"},
         true},
        {"short format of theta",
         [](Session& s) {
             s.spring.theta = 62.5L;
             s.spring.tauk2 = 600;
         },
         {"Warnung: tau(T=62.5\370C)"},
         true},
        {"hot but below 0.6 tauz",
         [](Session& s) {
             s.spring.theta = 60;
             s.spring.tauk2 = 500;
         },
         {},
         true},
        {"50 degrees is not hot",
         [](Session& s) {
             s.spring.theta = 50;
             s.spring.tauk2 = 600;
         },
         {},
         true},
        {"no tauz, no ratio",
         [](Session& s) {
             s.spring.theta = 60;
             s.spring.tauz = 0;
             s.spring.tauk2 = 0;
             s.spring.tauk1 = 0;
         },
         {},
         true},
    });
}

std::function<void(Session&)> Grade(word kind, word grade, real d) {
    return [=](Session& s) {
        s.spring.materialKind = kind;
        s.spring.materialGrade = grade;
        s.spring.d = d;
    };
}

TEST(StrengthChecks, DiameterRangesOfTheStandardGrades) {
    RunCheckCases({
        {"17223-1 A thin", Grade(1, 1, 0.9L), {"DIN: 1<d<10"}, true},
        {"17223-1 A thick", Grade(1, 1, 10.5L), {"DIN: 1<d<10"}, true},
        {"17223-1 A inside", Grade(1, 1, 10), {}, true},
        {"17223-1 B", Grade(1, 2, 0.25L), {"DIN: 0.3<d<20"}, true},
        {"17223-1 C", Grade(1, 3, 1.5L), {"DIN: 2<d<20"}, true},
        {"17223-1 D", Grade(1, 4, 21), {"DIN: 0.07<d<20"}, true},
        {"FD", Grade(2, 1, 15), {"FD  DIN: 1<d<14"}, true},
        {"VD 7.2 is allowed", Grade(2, 2, 7.2L), {}, true},
        {"VD 7.6 is not", Grade(2, 2, 7.6L), {"VD  DIN: 1<d<7"}, true},
        {"VD thin", Grade(2, 2, 0.8L), {"VD  DIN: 1<d<7"}, true},
        {"17223-2 FD-CrV has no range", Grade(2, 3, 50), {}, true},
        {"17221 any grade", Grade(3, 5, 6), {"DIN: 7<d<80"}, true},
        {"17221 thick", Grade(3, 0, 81), {"DIN: 7<d<80"}, true},
        {"Nirosta 1.4310", Grade(4, 0, 25), {"DIN: 0.07<d<20"}, true},
        {"Nirosta 1.4568", Grade(5, 1, 0.05L), {"DIN: 0.07<d<20"}, true},
        {"Nirosta 1.4401", Grade(6, 0, 20.5L), {"DIN: 0.07<d<20"}, true},
        {"copper alloy has no range", Grade(7, 0, 50), {}, true},
        {"other material has no range", Grade(11, 0, 50), {}, true},
    });
}

TEST(StrengthChecks, RangeOfTheMaterialRow) {
    RunCheckCases({
        {"below dmin",
         [](Session& s) {
             s.CurrentMaterial.dmin = 0.5;
             s.spring.d = 0.4L;
         },
         {"Warnung: d<dmin (0.5)"},
         true},
        {"above dmax",
         [](Session& s) {
             s.CurrentMaterial.dmax = 10;
             s.spring.d = 12;
         },
         {"Warnung: d>dmax (10)"},
         true},
        {"above Tmax",
         [](Session& s) { s.spring.theta = 130; },
         {"Warnung: T>Tmax (120\370C)"},
         true},
        {"above T2 of the relaxation data",
         [](Session& s) {
             s.spring.rx2 = 2.5L;
             s.spring.theta = 90;
         },
         {"Warnung: T>T2relax (80\370C)"},
         true},
        {"below T1 of the relaxation data",
         [](Session& s) {
             s.spring.rx2 = 2.5L;
             s.spring.theta = 10;
         },
         {"Warnung: T<T1relax (20\370C)"},
         true},
        {"no relaxation, no relaxation range", [](Session& s) { s.spring.theta = 10; }, {}, true},
        {"other material: no row limits",
         [](Session& s) {
             s.spring.materialKind = 11;
             s.spring.d = 0.01L;
             s.spring.theta = 200;
             s.spring.rx2 = 3;
             s.CurrentMaterial.dmax = 0.001;
         },
         {},
         true},
        {"standard type: no row limits",
         [](Session& s) {
             s.spring.materialKind = 2;
             s.spring.materialGrade = 4;
             s.spring.d = 0.01L;
         },
         {},
         true},
    });
}

TEST(StrengthChecks, WireTablesAndPeening) {
    RunCheckCases({
        {"DIN 2076 B",
         [](Session& s) {
             s.spring.wireTolGrade = 1;
             s.spring.d = 0.25L;
         },
         {"DIN 2076 0.3<d<20"},
         true},
        {"DIN 2076 C",
         [](Session& s) {
             s.spring.wireTolGrade = 2;
             s.spring.d = 25;
         },
         {"DIN 2076 0.07<d<20"},
         true},
        {"DIN 2077",
         [](Session& s) {
             s.spring.wireTolGrade = 3;
             s.spring.d = 6;
         },
         {"DIN 2077  7<d<80"},
         true},
        {"DIN 2077 inside",
         [](Session& s) {
             s.spring.wireTolGrade = 3;
             s.spring.d = 80;
         },
         {},
         true},
        {"EN 10218 has no range here",
         [](Session& s) {
             s.spring.wireTolGrade = 4;
             s.spring.d = 60;
         },
         {},
         true},
        {"peened thin wire",
         [](Session& s) {
             s.spring.shotPeened = 'J';
             s.spring.d = 0.8L;
         },
         {"Warnung: d<1 (Kugelstrahlen !)"},
         true},
        {"not peened thin wire", [](Session& s) { s.spring.d = 0.8L; }, {}, true},
        {"peened d = 1",
         [](Session& s) {
             s.spring.shotPeened = 'J';
             s.spring.d = 1;
         },
         {},
         true},
    });
}

TEST(StrengthChecks, MessagesComeInTheOrderOfTheList) {
    Session s;
    SoundSpring(s);
    s.spring.Rm = 0;
    s.spring.tauk2 = 900;
    s.spring.tauk1 = 850;
    s.spring.taukh = 400;
    s.spring.theta = 130;
    s.spring.d = 0.04L;
    s.spring.wireTolGrade = 2;
    s.spring.shotPeened = 'J';
    StrengthChecks(s);
    EXPECT_EQ(Messages(s), (Strings{
                               "Fatal  : Rm = 0 !",
                               "Fehler : tauk2>tau zul! S=0.93",
                               "Fehler : tauk1>tau zul !",
                               "Fehler : taukh>tauhzul! S=0.75",
                               "Warnung: tau(T=130\370C)",
                               "Warnung: d<dmin (0.05)",
                               "Warnung: T>Tmax (120\370C)",
                               "DIN 2076 0.07<d<20",
                               "Warnung: d<1 (Kugelstrahlen !)",
                           }));
}

TEST(StrengthChecks, NumbersFollowTheConfiguredFormat) {
    Session s;
    SoundSpring(s);
    s.spring.tauk2 = 900;
    s.config.decimalSeparator = 2;
    StrengthChecks(s);
    EXPECT_EQ(Messages(s), Strings{"Fehler : tauk2>tau zul! S=0,93"});

    Session t;
    SoundSpring(t);
    t.spring.tauk2 = 900;
    t.config.Dezimalstellen = 5;
    StrengthChecks(t);
    EXPECT_EQ(Messages(t), Strings{"Fehler : tauk2>tau zul! S=0.9333"});
}

TEST(StrengthChecks, HostileDiameterAndTemperatureAddNothingAndChangeNothing) {
    for (real bad : {kNaN, kInf, -kInf}) {
        Session s;
        SoundSpring(s);
        s.spring.d = std::isnan(bad) ? bad : 3;
        s.spring.theta = bad;
        const SpringRecord before = s.spring;
        StrengthChecks(s);
        EXPECT_FALSE(s.FatalFlag);
        EXPECT_EQ(s.spring.Rm, before.Rm);
        EXPECT_EQ(s.spring.tauz, before.tauz);
        for (const std::string& m : s.messages)
            EXPECT_EQ(m.find("nan"), std::string::npos) << m;
    }
}

} // namespace
} // namespace kora

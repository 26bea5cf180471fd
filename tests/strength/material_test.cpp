#include "base/codepage.h"
#include "calc/session.h"
#include "strength/material.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kora {
namespace {

constexpr real kNaN = std::numeric_limits<real>::quiet_NaN();
constexpr real kInf = std::numeric_limits<real>::infinity();

std::vector<std::string> Messages(const Session& s) {
    return {s.messages.begin(), s.messages.end()};
}

TEST(CurrentMaterial, ResetClearsTheRowAndSelectsMaterial3) {
    Session s;
    s.CurrentMaterial.name1 = "Federstahl";
    s.CurrentMaterial.G = 81500;
    s.CurrentMaterial.rho = 8.2;
    s.CurrentMaterial.d0 = 2.5;
    s.CurrentMaterial.fatigueD0 = 3;
    s.CurrentMaterial.tauo0Peened = 700;
    s.CurrentMaterial.materialNumber = 17;
    s.spring.materialNumber = 17;
    ResetCurrentMaterial(s);
    const KORWST_Record& m = s.CurrentMaterial;
    EXPECT_TRUE(m.name1.empty());
    EXPECT_EQ(m.G, 0);
    EXPECT_EQ(m.tauo0Peened, 0);
    EXPECT_EQ(m.materialNumber, 0);
    EXPECT_DOUBLE_EQ(m.rho, 7.8);
    EXPECT_DOUBLE_EQ(m.d0, 1.0);
    EXPECT_DOUBLE_EQ(m.fatigueD0, 1.0);
    EXPECT_EQ(s.spring.materialNumber, 3);
}

TEST(Log10OrFloor, NonPositiveValuesGiveMinus1e30) {
    EXPECT_EQ(Log10OrFloor(0), -1e30L);
    EXPECT_EQ(Log10OrFloor(-5), -1e30L);
    EXPECT_NEAR(static_cast<double>(Log10OrFloor(100)), 2.0, 1e-15);
    EXPECT_TRUE(std::isnan(Log10OrFloor(kNaN))); // left for the callers' guards
}

TEST(TensileStrengthAt, FollowsTheLogarithmicLawAndTheCap) {
    struct Case {
        real d;
        std::int32_t RmMax;
        real Rm;
    };
    // Rm0 = 2000 at d0 = 1 mm, 300 N/mm² less per decade.
    const Case cases[] = {
        {1, 0, 2000},       {10, 0, 1700}, {0.1L, 0, 2300}, {0.1L, 1, 2300}, // < 2: no cap
        {0.1L, 2200, 2200},                                                  // capped below d0
        {10, 1500, 1500},   {10, 2, 2},    {100, 0, 1400},
    };
    for (const Case& c : cases) {
        Session s;
        s.CurrentMaterial.Rm0 = 2000;
        s.CurrentMaterial.kRm = 300;
        s.CurrentMaterial.RmMax = c.RmMax;
        EXPECT_NEAR(static_cast<double>(TensileStrengthAt(s, c.d)), static_cast<double>(c.Rm), 1e-9)
            << "d=" << static_cast<double>(c.d) << " RmMax=" << c.RmMax;
        EXPECT_EQ(s.messages.Count(), 0);
    }
}

TEST(TensileStrengthAt, BadDiametersGiveTheFallbackAndAMessage) {
    struct Case {
        const char* name;
        real d;
        double d0;
        const char* message;
        bool fatalFlag;
    };
    const Case cases[] = {
        {"d = 0", 0, 1, "Fatal  : d <= 0 !", false},
        {"d < 0", -2, 1, "Fatal  : d <= 0 !", false},
        {"d0 = 0", 3, 0, "Fatal  : DR0 = 0 !", false},
        {"d NaN", kNaN, 1, "Fatal  : d ung\x81ltig !", true},
        {"d inf", kInf, 1, "Fatal  : d ung\x81ltig !", true},
        {"d0 NaN", 3, std::nan(""), "Fatal  : Rm ung\x81ltig !", true},
    };
    for (const Case& c : cases) {
        Session s;
        s.CurrentMaterial.Rm0 = 2000;
        s.CurrentMaterial.kRm = 300;
        s.CurrentMaterial.d0 = c.d0;
        EXPECT_EQ(TensileStrengthAt(s, c.d), 0.1L) << c.name;
        EXPECT_EQ(Messages(s), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(s.FatalFlag, c.fatalFlag) << c.name;
    }
}

TEST(TensileStrengthAt, NegativeReferenceDiameterStaysFinite) {
    Session s;
    s.CurrentMaterial.Rm0 = 2000;
    s.CurrentMaterial.kRm = 300;
    s.CurrentMaterial.d0 = -1;
    s.CurrentMaterial.RmMax = 2500;
    EXPECT_EQ(TensileStrengthAt(s, 3), 2500); // log10 of a negative ratio is -1e30
    s.CurrentMaterial.RmMax = 0;
    EXPECT_TRUE(std::isfinite(TensileStrengthAt(s, 3)));
}

TEST(ShearModulus, EqualsGAt20DegreesAndFallsLinearly) {
    EXPECT_EQ(ShearModulusAt(80000, 20), 80000);
    EXPECT_NEAR(static_cast<double>(ShearModulusAt(80000, 200)), 76000.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(ShearModulusAt(80000, -40)), 81333.333333333, 1e-6);
}

TEST(ShearModulus, OperatingValueIsWrittenOrTheCalculationStops) {
    struct Case {
        const char* name;
        real G, theta;
        bool ok;
        real Gtheta;
        const char* message;
    };
    const Case cases[] = {
        {"normal", 80000, 20, true, 80000, nullptr},
        {"hot", 72000, 320, true, 72000 * 3300.0L / 3600, nullptr},
        {"theta 3620", 80000, 3620, false, 0, "Fatal  : G <= 0 !"},
        {"theta above 3620", 80000, 5000, false, 0, "Fatal  : G <= 0 !"},
        {"G = 0", 0, 20, false, 0, "Fatal  : G <= 0 !"},
        {"G < 0", -80000, 20, false, 0, "Fatal  : G <= 0 !"},
        {"G NaN", kNaN, 20, false, 0, "Fatal  : G <= 0 !"},
        {"theta NaN", 80000, kNaN, false, 0, "Fatal  : theta ung\x81ltig !"},
        {"theta -inf", 80000, -kInf, false, 0, "Fatal  : theta ung\x81ltig !"},
    };
    for (const Case& c : cases) {
        Session s;
        s.spring.G = c.G;
        s.spring.theta = c.theta;
        EXPECT_EQ(SetOperatingShearModulus(s), c.ok) << c.name;
        EXPECT_NEAR(static_cast<double>(s.spring.Gtheta), static_cast<double>(c.Gtheta), 1e-9)
            << c.name;
        EXPECT_EQ(s.FatalFlag, !c.ok) << c.name;
        if (c.message)
            EXPECT_EQ(Messages(s), std::vector<std::string>{c.message}) << c.name;
        else
            EXPECT_EQ(s.messages.Count(), 0) << c.name;
    }
}

TEST(StandardGradeList, HoldsTheTenTypesWithTheirTextsAndGrades) {
    ASSERT_EQ(StandardGradeList.size(), 10u);
    EXPECT_EQ(StandardGradeList[0].entry, "Federstahldraht DIN 17223  Teil 1");
    EXPECT_EQ(StandardGradeList[0].gradePrompt, "Federstahldraht nach DIN 17223 Blatt1");
    ASSERT_EQ(StandardGradeList[0].grades.size(), 4u);
    EXPECT_EQ(StandardGradeList[0].grades[3], "Drahtsorte D");
    EXPECT_EQ(StandardGradeList[1].gradePrompt, "Federstahldraht nach DIN 17223 Blatt 2");
    ASSERT_EQ(StandardGradeList[1].grades.size(), 6u);
    EXPECT_EQ(Cp850ToUtf8(StandardGradeList[1].grades[0]), "Vergüteter Federstahldraht FD");
    EXPECT_EQ(StandardGradeList[1].grades[5], "VD - SiCr (Oteva 70, Becrosi 36)");
    EXPECT_EQ(StandardGradeList[2].entry, "Federstahldraht DIN 17221 und 54SiCr6");
    ASSERT_EQ(StandardGradeList[2].grades.size(), 7u);
    EXPECT_EQ(StandardGradeList[2].grades[6], "54 Si Cr 6");
    EXPECT_EQ(StandardGradeList[5].entry, "Nirosta 1.4401 DIN 17224 (X5CrNiMo18 10)");
    EXPECT_EQ(StandardGradeList[9].entry, "2.1285.97 DIN 17682 (Cu Co Be)");
    for (std::size_t i = 3; i < StandardGradeList.size(); ++i) {
        EXPECT_TRUE(StandardGradeList[i].grades.empty());
        EXPECT_TRUE(StandardGradeList[i].gradePrompt.empty());
    }
}

TEST(StandardGradeList, ForwardMappingGivesTheMaterialNumbers) {
    struct Case {
        word type, grade, number;
    };
    const Case cases[] = {
        {1, 1, 1},  {1, 4, 4},  {2, 1, 5},   {2, 6, 10}, {3, 1, 11},
        {3, 7, 17}, {4, 0, 18}, {5, 0, 19},  {6, 0, 20}, {7, 0, 21},
        {8, 0, 22}, {9, 0, 23}, {10, 0, 24}, {4, 1, 18}, // the grade of an ungraded type does not
                                                         // matter
    };
    for (const Case& c : cases) {
        Session s;
        EXPECT_EQ(MaterialNumberOf(s, c.type, c.grade), c.number) << c.type << "/" << c.grade;
        EXPECT_EQ(s.messages.Count(), 0);
    }
}

TEST(StandardGradeList, UnknownTypeOrGradeGivesMaterial0AndAMessage) {
    struct Case {
        word type, grade;
        const char* message;
    };
    const Case cases[] = {
        {0, 0, "Mat 0 !"}, {11, 0, "Mat 11 !"}, {65535, 1, "Mat 65535 !"},
        {1, 0, "Mat 1 !"}, {1, 5, "Mat 1 !"},   {3, 8, "Mat 3 !"},
    };
    for (const Case& c : cases) {
        Session s;
        EXPECT_EQ(MaterialNumberOf(s, c.type, c.grade), 0);
        EXPECT_EQ(Messages(s), std::vector<std::string>{c.message});
        EXPECT_FALSE(s.FatalFlag);
    }
}

TEST(StandardGradeList, InverseMappingGivesTypeAndGrade) {
    struct Case {
        word number, type, grade;
    };
    const Case cases[] = {
        {1, 1, 1},  {4, 1, 4},  {5, 2, 1},  {10, 2, 6},  {11, 3, 1},
        {17, 3, 7}, {18, 4, 1}, {21, 7, 1}, {24, 10, 1},
    };
    for (const Case& c : cases) {
        Session s;
        const MaterialType t = MaterialTypeOf(s, c.number);
        EXPECT_EQ(t.type, c.type) << c.number;
        EXPECT_EQ(t.grade, c.grade) << c.number;
        EXPECT_EQ(s.messages.Count(), 0);
    }
}

TEST(StandardGradeList, InverseOfAnyOtherNumberIsAnOtherMaterial) {
    for (word number : {word{0}, word{25}, word{3000}}) {
        Session s;
        const MaterialType t = MaterialTypeOf(s, number);
        EXPECT_EQ(t.type, 11);
        EXPECT_EQ(t.grade, 0);
        EXPECT_EQ(Messages(s), std::vector<std::string>{"Mat " + std::to_string(number) + " !"});
    }
}

TEST(StandardGradeList, EveryGradeRoundTrips) {
    Session s;
    for (word number = 1; number <= 24; ++number) {
        const MaterialType t = MaterialTypeOf(s, number);
        const word grade = StandardGradeList[t.type - 1].grades.empty() ? 0 : t.grade;
        EXPECT_EQ(MaterialNumberOf(s, t.type, grade), number);
    }
    EXPECT_EQ(s.messages.Count(), 0);
}

} // namespace
} // namespace kora

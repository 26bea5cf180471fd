#include "base/numformat.h"
#include "base/units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kora {
namespace {

Configuration Units(int unitSystem, bool plain = false) {
    Configuration config;
    config.unitSystem = unitSystem;
    config.plainCharacters = plain;
    return config;
}

TEST(Units, EachDirectionUsesItsOwnConstant) {
    struct ConversionCase {
        Quantity quantity;
        real internal, imperial; // internal * constant, and imperial * its constant back
        real back;
    };
    constexpr ConversionCase kCases[] = {
        {Quantity::Length, 1, 0.03937007874015748L, 25.4L},
        {Quantity::Force, 1, 0.2248090247334889L, 4.44822L},
        {Quantity::Stress, 1, 145.037L, 0.006894792363327978L},
        {Quantity::Rate, 1, 5.7101492L, 0.17512677251935904L},
        {Quantity::Work, 1, 0.008850749005255468L, 1 / 0.008850749005255468L},
        {Quantity::Density, 7.85L, 7.85L, 7.85L},
        {Quantity::Angle, 2, 2, 2},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ToImperial(c.quantity, c.internal), c.imperial);
        EXPECT_EQ(FromImperial(c.quantity, c.internal), c.back);
    }
    EXPECT_EQ(ToImperial(Quantity::Temperature, 20), 20 * 1.8L + 32);
    EXPECT_EQ(FromImperial(Quantity::Temperature, 68), (68 - 32) * 0.5555555555555556L);
}

TEST(Units, ThereAndBackStaysCloseForEveryQuantity) {
    for (Quantity q : {Quantity::Length, Quantity::Force, Quantity::Stress, Quantity::Rate,
                       Quantity::Work, Quantity::Temperature, Quantity::Density, Quantity::Angle})
        EXPECT_NEAR(static_cast<double>(FromImperial(q, ToImperial(q, 123.456L))), 123.456, 1e-3);
}

TEST(Units, MetricModeConvertsNothing) {
    const Configuration metric = Units(0);
    for (Quantity q : {Quantity::Length, Quantity::Force, Quantity::Stress, Quantity::Rate,
                       Quantity::Work, Quantity::Temperature}) {
        EXPECT_EQ(ToDisplayUnit(metric, q, 12.5L), 12.5L);
        EXPECT_EQ(FromDisplayUnit(metric, q, 12.5L), 12.5L);
        EXPECT_EQ(ScaleValue(metric, q, 12.5L), 12.5L);
    }
}

TEST(Units, LabelsInEachSystemAndWithPlainCharacters) {
    struct LabelCase {
        Quantity quantity;
        const char *metric, *imperial, *plainMetric, *plainImperial;
    };
    constexpr LabelCase kCases[] = {
        {Quantity::Length, "mm", "in", "mm", "in"},
        {Quantity::Force, "N", "lbf", "N", "lbf"},
        {Quantity::Stress, "MPa", "psi", "MPa", "psi"},
        {Quantity::Rate, "N/mm", "lbf/in", "N/mm", "lbf/in"},
        {Quantity::Work, "Nmm", "lbfin", "Nmm", "lbfin"},
        {Quantity::Temperature,
         "\xF8"
         "C",
         "\xF8"
         "F",
         " C", " F"},
        {Quantity::Density, "kg/dm\xFC", "kg/dm\xFC", "kg/dm3", "kg/dm3"},
        {Quantity::Angle, "\xF8", "\xF8", "deg", "deg"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(UnitLabel(Units(0), c.quantity), c.metric);
        EXPECT_EQ(UnitLabel(Units(1), c.quantity), c.imperial);
        EXPECT_EQ(UnitLabel(Units(0, true), c.quantity), c.plainMetric);
        EXPECT_EQ(UnitLabel(Units(1, true), c.quantity), c.plainImperial);
    }
}

TEST(Units, ToleranceSignAndPlainCharacters) {
    EXPECT_EQ(ToleranceSign(Units(0)), " \xF1 ");
    EXPECT_EQ(ToleranceSign(Units(1, true)), "+/-");
    EXPECT_EQ(PlainCharacters("N/mm\xFD"), "N/mm2");
    EXPECT_EQ(PlainCharacters("\xE6m kg/dm\xFC"), "um kg/dm3");
    EXPECT_EQ(PlainCharacters("20\xF8 \xF1"), "20deg +/-");
    EXPECT_EQ(PlainCharacters("Gr\x94\xE1"
                              "e"),
              "Gr\x94\xE1"
              "e");
}

TEST(Units, WorkedExamplesOfTheImperialDisplay) {
    const Configuration imperial = Units(1);
    EXPECT_EQ(ShowShort(imperial, Quantity::Length, 25.4L), "1.0000");
    EXPECT_EQ(ReadValue(imperial, Quantity::Length, "2"), 50.8L);
    EXPECT_EQ(ShowShort(imperial, Quantity::Force, 100), "22.48");
    EXPECT_EQ(ShowShort(imperial, Quantity::Stress, 1000), "145037");
    EXPECT_EQ(ShowShort(imperial, Quantity::Temperature, 20), "68");
    EXPECT_EQ(ShowShort(imperial, Quantity::Density, 7.85L), "7.85");
    EXPECT_EQ(ShowShort(Units(0), Quantity::Density, 7.85L), "7.85");
    EXPECT_EQ(ShowShort(Units(0), Quantity::Length, 25.4L), "25.4");
}

TEST(Units, FixedAndAutoWidthDisplayPerQuantity) {
    struct ShowCase {
        int unitSystem;
        Quantity quantity;
        real value;
        int w, d;
        const char* fixed;
    };
    constexpr ShowCase kFixed[] = {
        {0, Quantity::Length, 22, 5, 3, "   22.000"},
        {1, Quantity::Length, 25.4L, 5, 3, "   1.0000"}, // 4.4
        {1, Quantity::Force, 100, 6, 2, "   22.481"},    // 5.3
        {1, Quantity::Stress, 1000, 6, 2, "  145037"},   // 8.0
        {1, Quantity::Rate, 10, 6, 2, "    57.10"},      // 6.2
        {1, Quantity::Work, 1000, 6, 2, "   8.8507"},    // 4.4
        {1, Quantity::Temperature, 20, 4, 1, "  68.0"},  // 4.1
        {1, Quantity::Density, 7.85L, 4, 2, "   7.85"},  // 4.2
        {1, Quantity::Length, 25.4L, 1, 0, "1.0"},       // width stays at least 1
    };
    for (const auto& c : kFixed)
        EXPECT_EQ(ShowFixed(Units(c.unitSystem), c.quantity, c.value, c.w, c.d), c.fixed)
            << static_cast<int>(c.quantity);

    const Configuration imperial = Units(1);
    EXPECT_EQ(ShowAutoWidth(Units(0), Quantity::Length, 22, 2), "22.00");
    EXPECT_EQ(ShowAutoWidth(imperial, Quantity::Length, 25.4L, 2), "1.000");
    EXPECT_EQ(ShowAutoWidth(imperial, Quantity::Stress, 1000, 3), "145037.0");
    EXPECT_EQ(ShowAutoWidth(imperial, Quantity::Temperature, 20, 1), "68.0");
}

TEST(Units, ReadersConvertTypedValuesBack) {
    const Configuration imperial = Units(1);
    EXPECT_EQ(ReadValue(imperial, Quantity::Force, "22,48"), 22.48L * 4.44822L);
    EXPECT_NEAR(static_cast<double>(ReadValue(imperial, Quantity::Stress, "145037")), 1000.0, 1e-3);
    EXPECT_EQ(ReadValue(imperial, Quantity::Rate, "1"), 0.17512677251935904L);
    EXPECT_NEAR(static_cast<double>(ReadValue(imperial, Quantity::Temperature, "68")), 20.0, 1e-12);
    EXPECT_EQ(ReadValue(Units(0), Quantity::Length, "0,5"), 0.5L);
    EXPECT_EQ(ReadValue(Units(0), Quantity::Length, "x"), 0);
}

TEST(Units, DiagramScalesConvertLengthsForcesStressesRatesAndWorks) {
    const Configuration imperial = Units(1);
    for (Quantity q :
         {Quantity::Length, Quantity::Force, Quantity::Stress, Quantity::Rate, Quantity::Work})
        EXPECT_EQ(ScaleValue(imperial, q, 10), ToImperial(q, 10));
    for (Quantity q : {Quantity::Temperature, Quantity::Density, Quantity::Angle})
        EXPECT_EQ(ScaleValue(imperial, q, 10), 10);
}

} // namespace
} // namespace kora

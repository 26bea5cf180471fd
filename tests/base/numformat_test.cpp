#include "base/numformat.h"

#include "common/interop.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace kora {
namespace {

Configuration Config(int dezimalstellen = 3, int decimalSeparator = 1, int unitSystem = 0) {
    Configuration config;
    config.Dezimalstellen = dezimalstellen;
    config.decimalSeparator = decimalSeparator;
    config.unitSystem = unitSystem;
    return config;
}

struct FormatCase {
    real x;
    int budget;
    const char* text;
};

TEST(ShortFormat, WritesAboutFourSignificantDigitsWithoutTrailingZeros) {
    constexpr FormatCase kCases[] = {
        {22, 3, "22"},
        {22.5L, 3, "22.5"},
        {1.23456L, 3, "1.235"},
        {0.05L, 3, "0.05"},
        {1234.6L, 3, "1235"},
        {-22.5L, 3, "-22.5"},
        {0, 3, "0"},
        {0.000009L, 3, "0"},
        {-0.000009L, 3, "0"},
        {0.00001L, 3, "0.00001"},
        {0.0000123L, 3, "0.0000123"},
        {0.001L, 3, "0.001"},
        {0.1L, 3, "0.1"},
        {100, 3, "100"},
        {1000, 3, "1000"},
        {145037, 3, "145037"},
        {0.2L, 2, "0.2"},
        {0.25L, 2, "0.25"},
        {1.234L, 2, "1.23"},
        {22.5L, 2, "22.5"},
        {123.4L, 2, "123"},
        {1.234L, 3, "1.234"},
    };
    const Configuration config = Config();
    for (const auto& c : kCases)
        EXPECT_EQ(ShortFormat(config, c.x, c.budget), c.text) << static_cast<double>(c.x);
}

TEST(ShortFormat, FollowsDezimalstellenAndTheDecimalComma) {
    EXPECT_EQ(ShortFormat(Config(5), 22), "22.00");
    EXPECT_EQ(ShortFormat(Config(1), 1.23456L), "1.2");
    EXPECT_EQ(ShortFormat(Config(3, 2), 22.5L), "22,5");
    EXPECT_EQ(ShortFormat(Config(3, 2), 0), "0");
}

TEST(ShortFormat, NonFiniteValuesAreWrittenNotCrashedOn) {
    const Configuration config = Config();
    EXPECT_EQ(ShortFormat(config, std::numeric_limits<real>::infinity()), "inf");
    EXPECT_NE(ShortFormat(config, std::numeric_limits<real>::quiet_NaN()).find("nan"),
              std::string::npos);
}

struct FixedCase {
    int dezimalstellen, separator;
    real x;
    int w, d;
    const char* text;
};

TEST(FixedFormat, PadsAdjustsDecimalsAndSwapsTheSeparator) {
    constexpr FixedCase kCases[] = {
        {3, 1, 22, 5, 3, "   22.000"},
        {5, 1, 22, 5, 3, "   22.00000"}, // 11 characters
        {5, 2, 22, 5, 3, "   22,00000"},
        {3, 1, 22, 5, 0, "   22"},
        {3, 1, -22.5L, 0, 1, "-22.5"},
        {3, 1, 0.000000001L, 0, 3, "0.000"},
        {3, 1, 123456.5L, 2, 1, "123456.5"}, // a longer text is not cut
        {15, 1, 1, 0, 3, "1.0000000000"},    // adjusted decimals stop at 10
        {0, 1, 22, 4, 2, "  22"},            // and at 0
        {3, 1, 2.5L, 0, -1, "2"},            // a negative count of decimals means none
    };
    for (const auto& c : kCases)
        EXPECT_EQ(FixedFormat(Config(c.dezimalstellen, c.separator), c.x, c.w, c.d), c.text)
            << static_cast<double>(c.x) << " " << c.w << "." << c.d;
}

TEST(AutoWidthFormat, TakesTheShortFormatWidth) {
    const Configuration config = Config();
    EXPECT_EQ(AutoWidthFormat(config, 22, 2), "22.00");
    EXPECT_EQ(AutoWidthFormat(config, 0.5L, 2), "0.50");
    EXPECT_EQ(AutoWidthFormat(config, 1234.5L, 1), "1234.5");
    EXPECT_EQ(AutoWidthFormat(config, 1, 4), "1.0000");
    EXPECT_EQ(AutoWidthFormat(config, 0, 1), "0.0");
}

TEST(ToleranceFormat, UsesBudgetTwoInMetricAndThreeInImperialMode) {
    EXPECT_EQ(ToleranceFormat(Config(3, 1, 0), 1.234L), "1.23");
    EXPECT_EQ(ToleranceFormat(Config(3, 1, 1), 1.234L), "1.234");
}

TEST(EngineeringFormat, WritesExponentsInStepsOfThree) {
    constexpr FormatCase kCases[] = {
        {123456, 3, "123.5E3"},
        {-123456, 3, "-123.5E3"},
        {12340, 3, "12.34E3"},
        {1000000, 3, "1E6"},
        {5000, 3, "5000"},
        {0.0000123L, 3, "0.0000123"}, // at or above 0.00001 the short format holds
        {0.00000123L, 3, "1.23E-6"},
        {0.00000015L, 3, "0.15E-6"},
        {1e-13L, 3, "0"},
        {0, 3, "0"},
    };
    const Configuration config = Config();
    for (const auto& c : kCases)
        EXPECT_EQ(EngineeringFormat(config, c.x), c.text) << static_cast<double>(c.x);
}

struct LongRealCase {
    int dezimalstellen, separator;
    real x;
    const char* text;
};

TEST(LongRealFormat, WritesTheRealsOfTheSpringFile) {
    constexpr LongRealCase kCases[] = {
        {3, 1, 22, "22.0000000"},
        {3, 1, 0.5L, "0.5000000"},
        {3, 1, -1.25L, "-1.2500000"},
        {3, 1, -3, "-3"},
        {3, 1, 0, "0"},
        {3, 1, 1, "1.0000000"},
        {3, 1, -2.00000000001L, "-2"},
        {5, 1, 22, "22.000000000"},
        {1, 1, 22, "22.00000"},
        {10, 1, 22, "22.0000000000"},
        {12, 1, 22, "22.0000000000"},
        {3, 2, 0.5L, "0,5000000"},
        {3, 2, -1.25L, "-1,2500000"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(LongRealFormat(Config(c.dezimalstellen, c.separator), c.x), c.text)
            << static_cast<double>(c.x);
}

TEST(LongRealFormat, TinyNonZeroValuesSurviveAReload) {
    constexpr real kValues[] = {1e-9L, 5e-9L, -5e-9L, 9.99e-9L, 1e-10L, 1.234567890123e-12L};
    for (int separator : {1, 2}) {
        const Configuration config = Config(3, separator);
        for (real x : kValues) {
            std::string text = LongRealFormat(config, x);
            EXPECT_NE(text, "0");
            EXPECT_EQ(ParseReal(text), x) << text;
        }
    }
    EXPECT_EQ(LongRealFormat(Config(), 1e-9L), "1E-09");
}

TEST(LongRealFormat, ValuesTheDecimalsWouldRoundToZeroAreNeverWrittenAsZero) {
    struct Case {
        int dezimalstellen;
        real x;
    };
    const Case cases[] = {{3, 3e-8L}, {3, 4.4e-8L}, {3, -4.9e-8L}, {1, 4e-6L}, {0, 0.004L}};
    for (const Case& c : cases) {
        std::string text = LongRealFormat(Config(c.dezimalstellen, 1), c.x);
        EXPECT_NE(ParseReal(text), 0) << text;
    }
    EXPECT_EQ(LongRealFormat(Config(), 6e-8L), "0.0000001"); // still the fixed form
}

TEST(DeviationText, SignedValueAndPairs) {
    const Configuration metric = Config();
    EXPECT_EQ(DeviationText(metric, Quantity::Length, 0.2L), "+0.2");
    EXPECT_EQ(DeviationText(metric, Quantity::Length, -0.1L), "-0.1");
    EXPECT_EQ(DeviationText(metric, Quantity::Length, 0), "");

    struct PairCase {
        real upper, lower;
        const char* text;
    };
    constexpr PairCase kPairs[] = {
        {0.2L, -0.2L, " \xF1 0.2"},   {0.2L, 0, "+0.2"},
        {0, -0.1L, "-0.1"},           {0, 0, ""},
        {0.2L, -0.1L, "+0.2/-0.1"},   {0.25L, -0.25L, " \xF1 0.25"},
        {1.234L, 0.5L, "+1.23/+0.5"},
    };
    for (const auto& c : kPairs)
        EXPECT_EQ(DeviationText(metric, Quantity::Length, c.upper, c.lower), c.text)
            << static_cast<double>(c.upper) << " " << static_cast<double>(c.lower);

    Configuration plain = metric;
    plain.plainCharacters = true;
    EXPECT_EQ(DeviationText(plain, Quantity::Length, 0.2L, -0.2L), "+/-0.2");
}

TEST(DeviationText, ImperialConvertsLengthsAndForcesWithBudgetThree) {
    const Configuration imperial = Config(3, 1, 1);
    EXPECT_EQ(DeviationText(imperial, Quantity::Length, 0.254L, -0.254L), " \xF1 0.01");
    EXPECT_EQ(DeviationText(imperial, Quantity::Force, 4.44822L), "+1");
    EXPECT_EQ(DeviationText(imperial, Quantity::Length, 1, -0.5L), "+0.0394/-0.0197");
    // Other quantities keep their value and budget 2.
    EXPECT_EQ(DeviationText(imperial, Quantity::Angle, 1.234L), "+1.23");
}

TEST(DateText, FollowsTheDateCode) {
    struct DateCase {
        int code;
        const char* text;
    };
    constexpr DateCase kCases[] = {
        {1, "07.03.2024"}, {2, "03/07/2024"}, {3, "2024/03/07"},
        {4, "07/03/2024"}, {0, "2024/03/07"}, {9, "2024/03/07"},
    };
    for (const auto& c : kCases) {
        Configuration config;
        config.dateCode = c.code;
        EXPECT_EQ(DateText(config, 2024, 3, 7), c.text) << c.code;
    }
    std::string today = TodayText(Configuration{});
    ASSERT_EQ(today.size(), 10u);
    EXPECT_EQ(today[2], '.');
    EXPECT_EQ(today[5], '.');
}

TEST(ParseReal, ReadsTypedNumbersAndGivesZeroForAnythingElse) {
    struct ParseCase {
        const char* text;
        real value;
    };
    constexpr ParseCase kCases[] = {
        {"0,005", 0.005L}, {"1.5", 1.5L},   {"  2.5 ", 2.5L}, {"-2", -2}, {"+3", 3},
        {".5", 0.5L},      {"1e-3", 1e-3L}, {"1E-09", 1e-9L}, {"22", 22}, {"abc", 0},
        {"", 0},           {"1,5,3", 0},    {"12abc", 0},     {"inf", 0}, {"nan", 0},
        {"0x10", 0},       {"1e99999", 0},  {"+-1", 0},       {"+", 0},   {"1 2", 0},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ParseReal(c.text), c.value) << c.text;
}

TEST(ParseInteger, ReadsWholeNumbersOnly) {
    struct IntCase {
        const char* text;
        std::int32_t value;
    };
    constexpr IntCase kCases[] = {
        {"15", 15}, {" 20000 ", 20000}, {"-3", -3}, {"+7", 7},
        {"1.5", 0}, {"abc", 0},         {"", 0},    {"99999999999", 0},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

// A process locale with a decimal comma must not leak into any format or reader.
TEST(NumberFormats, IgnoreTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            switched = true;
            break;
        }
    if (!switched) KORA_SKIP_OR_FAIL("no locale with a decimal comma installed");
    const Configuration config = Config();
    EXPECT_EQ(ShortFormat(config, 22.5L), "22.5");
    EXPECT_EQ(LongRealFormat(config, 0.5L), "0.5000000");
    EXPECT_EQ(ParseReal("1.5"), 1.5L);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
} // namespace kora

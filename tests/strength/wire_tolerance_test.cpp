// Wire-diameter tolerances of the twelve wire choices and the standard diameter series.
#include "strength/wire_tolerance.h"

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
constexpr real kEps = 1e-4L; // a step inside a range, far above rounding

const std::string kMsgT1 = "Fehler : EN10218-2,T1: 0.3 < d < 25.0 !";
const std::string kMsgT2 = "Fehler : EN10218-2,T2: 0.2 < d < 25.0 !";
const std::string kMsgT3 = "Fehler : EN10218-3,T2: 0.05 < d < 25.0 !";
const std::string kMsgT4 = "Fehler : EN10218-3,T4: 0.05 < d < 25.0 !";
const std::string kMsgE = "Fehler : EN10270-3: d < 10.0 !";
const std::string kMsg2076 = "Drahtdurchmesser nicht nach DIN 2076 !";
const std::string kMsg2077 = "Drahtdurchmesser nicht nach DIN 2077 !";

// The message list keeps the first 36 characters of a text.
std::vector<std::string> Stored(std::vector<std::string> texts) {
    for (std::string& t : texts)
        t = t.substr(0, 36);
    return texts;
}

std::vector<std::string> Messages(const Session& s) {
    return {s.messages.begin(), s.messages.end()};
}

struct Lookup {
    word choice;
    real d;
    real expected;
    std::string message; // empty: none
};

void ExpectLookups(const std::vector<Lookup>& cases, word warnMode = 1) {
    for (const Lookup& c : cases) {
        Session s;
        s.spring.warnMode = warnMode;
        real tol = WireDiameterTolerance(s, c.choice, c.d);
        SCOPED_TRACE("choice " + std::to_string(c.choice) + ", d " + std::to_string(double(c.d)));
        EXPECT_NEAR(tol, c.expected, 1e-12L);
        std::vector<std::string> expected;
        if (!c.message.empty()) expected.push_back(c.message);
        EXPECT_EQ(Messages(s), Stored(expected));
    }
}

TEST(WireDiameterTolerance, WorkedExamples) {
    ExpectLookups({
        {1, 0.48L, 0.015L, ""},
        {1, 0.49L, 0.02L, ""},
        {3, 70.0L, 0.7L, ""},
        {8, 0.1L, 0.004L, ""},
        {9, 0.1L, 0.004L, ""},
        {11, 10.005L, 0.035L, ""},
        {11, 10.01L, 0, kMsgE},
        {4, 25.0L, 0.18L, ""},
        {4, 25.01L, 0, kMsgT1},
        {12, 2.0L, 0, ""},
    });
}

// DIN 2076 B and C: a range holds its upper bound; no lower limit.
TEST(WireDiameterTolerance, Din2076RowsIncludeTheirUpperBound) {
    struct Row {
        real above, upTo, tolB, tolC;
    };
    const Row rows[] = {
        {-kInf, 0.18L, 0.015L, 0.004L}, {0.18L, 0.34L, 0.015L, 0.008L},
        {0.34L, 0.48L, 0.015L, 0.01L},  {0.48L, 0.8L, 0.02L, 0.01L},
        {0.8L, 1.4L, 0.025L, 0.015L},   {1.4L, 3.2L, 0.035L, 0.02L},
        {3.2L, 5.6L, 0.045L, 0.025L},   {5.6L, 8.5L, 0.06L, 0.035L},
        {8.5L, 10.0L, 0.07L, 0.05L},    {10.0L, 15.0L, 0.09L, 0.07L},
        {15.0L, 17.0L, 0.12L, 0.08L},   {17.0L, kInf, 0.15L, 0.1L},
    };
    std::vector<Lookup> cases;
    for (const Row& r : rows) {
        std::vector<real> ds;
        if (std::isfinite(r.upTo)) ds.push_back(r.upTo);
        if (std::isfinite(r.above)) ds.push_back(r.above + kEps);
        for (real d : ds) {
            cases.push_back({1, d, r.tolB, ""});
            cases.push_back({2, d, r.tolC, ""});
        }
    }
    cases.push_back({1, 0.001L, 0.015L, ""});
    cases.push_back({2, -1.0L, 0.004L, ""}); // no lower limit, no message
    cases.push_back({1, 500.0L, 0.15L, ""});
    ExpectLookups(cases);
}

TEST(WireDiameterTolerance, Din2077RowsAndGrowthAbove65) {
    ExpectLookups({
        {3, 0.5L, 0.15L, ""},
        {3, 11.5L, 0.15L, ""},
        {3, 11.5L + kEps, 0.2L, ""},
        {3, 21.5L, 0.2L, ""},
        {3, 21.5L + kEps, 0.25L, ""},
        {3, 30.0L, 0.25L, ""},
        {3, 30.0L + kEps, 0.3L, ""},
        {3, 39.0L, 0.3L, ""},
        {3, 39.0L + kEps, 0.4L, ""},
        {3, 50.0L, 0.4L, ""},
        {3, 50.0L + kEps, 0.5L, ""},
        {3, 65.0L, 0.5L, ""},
        {3, 65.5L, 0.655L, ""},
        {3, 80.0L, 0.8L, ""},
    });
}

// EN 10218-2 classes and EN 10270-3: a range holds its lower bound, not its upper one; the
// T tables end with 25 included.
TEST(WireDiameterTolerance, LowerBoundTablesRowByRow) {
    struct Row {
        real from, below, tol;
    };
    struct Table {
        word choice;
        std::vector<Row> rows;
        std::string message;
    };
    const Table tables[] = {
        {4,
         {{0.3L, 0.52L, 0.025L},
          {0.52L, 0.74L, 0.03L},
          {0.74L, 1.01L, 0.035L},
          {1.01L, 1.31L, 0.04L},
          {1.31L, 1.66L, 0.045L},
          {1.66L, 2.05L, 0.05L},
          {2.05L, 2.94L, 0.06L},
          {2.94L, 4.01L, 0.07L},
          {4.01L, 5.23L, 0.08L},
          {5.23L, 6.62L, 0.09L},
          {6.62L, 8.17L, 0.1L},
          {8.17L, 11.76L, 0.12L},
          {11.76L, 16.01L, 0.14L},
          {16.01L, 20.9L, 0.16L},
          {20.9L, 25.0L, 0.18L}},
         kMsgT1},
        {5,
         {{0.2L, 0.31L, 0.015L},
          {0.31L, 0.55L, 0.02L},
          {0.55L, 0.86L, 0.025L},
          {0.86L, 1.24L, 0.03L},
          {1.24L, 1.69L, 0.035L},
          {1.69L, 2.2L, 0.04L},
          {2.2L, 2.78L, 0.045L},
          {2.78L, 3.43L, 0.05L},
          {3.43L, 4.94L, 0.06L},
          {4.94L, 6.73L, 0.07L},
          {6.73L, 8.78L, 0.08L},
          {8.78L, 11.12L, 0.09L},
          {11.12L, 13.72L, 0.1L},
          {13.72L, 19.76L, 0.12L},
          {19.76L, 25.0L, 0.14L}},
         kMsgT2},
        {6,
         {{0.05L, 0.12L, 0.006L},
          {0.12L, 0.15L, 0.008L},
          {0.15L, 0.23L, 0.01L},
          {0.23L, 0.33L, 0.012L},
          {0.33L, 0.52L, 0.015L},
          {0.52L, 0.91L, 0.02L},
          {0.91L, 1.42L, 0.025L},
          {1.42L, 2.05L, 0.03L},
          {2.05L, 2.78L, 0.035L},
          {2.78L, 3.63L, 0.04L},
          {3.63L, 4.6L, 0.045L},
          {4.6L, 5.67L, 0.05L},
          {5.67L, 8.17L, 0.06L},
          {8.17L, 11.12L, 0.07L},
          {11.12L, 14.52L, 0.08L},
          {14.52L, 18.37L, 0.09L},
          {18.37L, 22.68L, 0.1L},
          {22.68L, 25.0L, 0.12L}},
         kMsgT3},
        {7,
         {{0.05L, 0.072L, 0.004L},
          {0.072L, 0.12L, 0.005L},
          {0.12L, 0.17L, 0.006L},
          {0.17L, 0.29L, 0.008L},
          {0.29L, 0.45L, 0.01L},
          {0.45L, 0.65L, 0.012L},
          {0.65L, 1.01L, 0.015L},
          {1.01L, 1.78L, 0.02L},
          {1.78L, 2.78L, 0.025L},
          {2.78L, 4.01L, 0.03L},
          {4.01L, 5.45L, 0.035L},
          {5.45L, 7.12L, 0.04L},
          {7.12L, 9.01L, 0.045L},
          {9.01L, 11.12L, 0.05L},
          {11.12L, 16.01L, 0.06L},
          {16.01L, 21.77L, 0.07L},
          {21.77L, 25.0L, 0.08L}},
         kMsgT4},
        {8,
         {{0.05L, 0.091L, 0.003L},
          {0.091L, 0.17L, 0.004L},
          {0.17L, 0.26L, 0.005L},
          {0.26L, 0.37L, 0.006L},
          {0.37L, 0.65L, 0.008L},
          {0.65L, 1.01L, 0.01L},
          {1.01L, 1.45L, 0.012L},
          {1.45L, 2.26L, 0.015L},
          {2.26L, 4.01L, 0.02L},
          {4.01L, 6.26L, 0.025L},
          {6.26L, 9.01L, 0.03L},
          {9.01L, 12.26L, 0.035L},
          {12.26L, 16.01L, 0.04L},
          {16.01L, 20.26L, 0.045L},
          {20.26L, 25.0L, 0.05L}},
         kMsgT3}, // T5 reports with the T3 text
        {11,
         {{-kInf, 0.26L, 0.005L},
          {0.26L, 0.65L, 0.008L},
          {0.65L, 1.01L, 0.01L},
          {1.01L, 2.26L, 0.015L},
          {2.26L, 4.01L, 0.02L},
          {4.01L, 6.26L, 0.025L},
          {6.26L, 9.01L, 0.03L},
          {9.01L, 10.01L, 0.035L}},
         kMsgE},
    };
    for (const Table& t : tables) {
        std::vector<Lookup> cases;
        for (const Row& r : t.rows) {
            if (std::isfinite(r.from)) cases.push_back({t.choice, r.from, r.tol, ""});
            cases.push_back({t.choice, r.below - kEps, r.tol, ""});
        }
        const Row& first = t.rows.front();
        const Row& last = t.rows.back();
        if (std::isfinite(first.from)) {
            cases.push_back({t.choice, first.from - kEps, 0, t.message});
        } else {
            cases.push_back({t.choice, -1.0L, first.tol, ""});
        }
        if (t.choice == 11) {
            cases.push_back({t.choice, last.below, 0, t.message});
        } else {
            cases.push_back({t.choice, last.below, last.tol, ""}); // 25 belongs to the table
            cases.push_back({t.choice, last.below + kEps, 0, t.message});
        }
        ExpectLookups(cases);
    }
}

// EN 10270-1 and -2 wire takes T5 below 0.8 mm, T4 up to 10 mm, T3 above.
TEST(WireDiameterTolerance, En10270ChoosesTheClassByDiameter) {
    for (word choice : {word(9), word(10)}) {
        ExpectLookups({
            {choice, 0.79L, 0.01L, ""},  // T5
            {choice, 0.8L, 0.015L, ""},  // T4
            {choice, 10.0L, 0.05L, ""},  // T4
            {choice, 10.01L, 0.07L, ""}, // T3
            {choice, 25.0L, 0.12L, ""},  // T3
            {choice, 25.5L, 0, kMsgT3},
            {choice, 0.04L, 0, kMsgT3}, // T5 below its range
        });
    }
}

TEST(WireDiameterTolerance, ErrorsAreNotSuppressedByWarnMode) {
    ExpectLookups({{4, 30.0L, 0, kMsgT1}, {7, 0.01L, 0, kMsgT4}, {11, 12.0L, 0, kMsgE}}, 2);
}

TEST(WireDiameterTolerance, HostileValuesGiveFiniteResults) {
    ExpectLookups({
        {0, 2.0L, 0, ""},
        {13, 2.0L, 0, ""},
        {1, kNaN, 0, ""},
        {3, kNaN, 0, ""},
        {4, kNaN, 0, kMsgT1},
        {5, kNaN, 0, kMsgT2},
        {9, kNaN, 0, kMsgT3},
        {11, kNaN, 0, kMsgE},
        {4, 0, 0, kMsgT1},
        {4, -2.0L, 0, kMsgT1},
        {11, 0, 0.005L, ""},
        {3, kInf, 0, ""},
        {6, kInf, 0, kMsgT3},
    });
}

TEST(SpringWireTolerance, RecomputesUnlessTyped) {
    struct Case {
        word grade;
        real d;
        real typed;
        real expected;
    };
    const Case cases[] = {
        {1, 0.48L, 9, 0.015L},
        {11, 1.0L, 9, 0.01L},
        {12, 1.0L, 0.123L, 0.123L}, // "andere ...": typed value stays
    };
    for (const Case& c : cases) {
        Session s;
        s.spring.wireTolGrade = c.grade;
        s.spring.d = c.d;
        s.spring.wireTol = c.typed;
        SpringWireTolerance(s);
        EXPECT_EQ(s.spring.wireTol, c.expected) << "grade " << c.grade;
    }
}

TEST(WireToleranceChoices, NamesOfTheTwelveChoices) {
    EXPECT_EQ(kWireTolChoiceNames[0], "DIN 2076 B (0,3 .. 20 mm)");
    EXPECT_EQ(kWireTolChoiceNames[2], "DIN 2077   (7 .. 80 mm)");
    EXPECT_EQ(kWireTolChoiceNames[10], "EN 10270-3 (0,10 .. 10 mm)");
    EXPECT_EQ(kWireTolChoiceNames[11], "andere ...");
    EXPECT_EQ(kWireTolChoiceShortNames[3], "T1 - EN10218-2");
    EXPECT_EQ(kWireTolChoiceShortNames[8], "EN 10270-1");
}

struct Rounding {
    word series;
    int mode;
    real d;
    real expected;
    std::string message;
};

void ExpectRoundings(const std::vector<Rounding>& cases, word warnMode = 1) {
    for (const Rounding& c : cases) {
        Session s;
        s.spring.warnMode = warnMode;
        real result = StandardWireDiameter(s, c.series, c.mode, c.d);
        SCOPED_TRACE("series " + std::to_string(c.series) + " mode " + std::to_string(c.mode) +
                     " d " + std::to_string(double(c.d)));
        EXPECT_EQ(result, c.expected);
        std::vector<std::string> expected;
        if (!c.message.empty()) expected.push_back(c.message);
        EXPECT_EQ(Messages(s), Stored(expected));
    }
}

TEST(StandardWireDiameter, WorkedExamples) {
    ExpectRoundings({
        {1, 1, 2.2L, 2.25L, ""},
        {1, 2, 2.2L, 2.4L, ""},
        {1, -1, 2.2L, 2.1L, ""},
        {1, 1, 2.25L, 2.25L, ""},
        {1, 1, 19.5L, 20.0L, ""},
        {1, 1, 21.0L, 21.0L, kMsg2076},
    });
}

TEST(StandardWireDiameter, SeriesEndsAndSelectors) {
    ExpectRoundings({
        {1, 2, 20.0L, 20.0L, ""},  // after the last: the last
        {1, -1, 0.07L, 0.07L, ""}, // before the first: the first
        {1, -1, 0.01L, 0.07L, ""}, {1, 1, 0.0L, 0.07L, ""},        {1, 1, -3.0L, 0.07L, ""},
        {1, 0, 2.2L, 2.25L, ""}, // any other mode: the found value
        {2, 1, 2.2L, 2.25L, ""}, // every selector but 3 is DIN 2076
        {11, 1, 2.2L, 2.25L, ""},  {0, 1, 2.2L, 2.25L, ""},        {3, 1, 2.2L, 7.0L, ""},
        {3, 1, 7.2L, 7.5L, ""},    {3, 1, 30.2L, 31.0L, ""},       {3, 1, 40.5L, 42.0L, ""},
        {3, 1, 61.0L, 65.0L, ""},  {3, -1, 42.0L, 40.0L, ""},      {3, 2, 60.0L, 65.0L, ""},
        {3, 2, 80.0L, 80.0L, ""},  {3, 1, 81.0L, 81.0L, kMsg2077}, {1, 1, 30.0L, 30.0L, kMsg2076},
    });
}

TEST(StandardWireDiameter, WarnMode2SilencesTheSeriesWarning) {
    ExpectRoundings({{1, 1, 21.0L, 21.0L, ""}, {3, 1, 90.0L, 90.0L, ""}}, 2);
}

TEST(StandardWireDiameter, AbortFlagKeepsD) {
    Session s;
    s.AbortFlag = true;
    EXPECT_EQ(StandardWireDiameter(s, 1, 1, 2.2L), 2.2L);
    EXPECT_EQ(StandardWireDiameter(s, 1, 2, 2.2L), 2.2L);
    EXPECT_EQ(s.messages.Count(), 0);
}

TEST(StandardWireDiameter, NonFiniteDiameterGivesZeroAndTheWarning) {
    ExpectRoundings({
        {1, 1, kNaN, 0, kMsg2076},
        {3, 1, kNaN, 0, kMsg2077},
        {1, 2, kInf, 0, kMsg2076},
        {1, -1, -kInf, 0.07L, ""},
    });
}

// Each series value is its own standard diameter, and modes 2 and -1 step to its neighbours.
TEST(StandardWireDiameter, StepsThroughBothSeries) {
    const std::vector<real> din2076 = {
        0.07L, 0.08L, 0.09L, 0.1L,  0.11L, 0.12L, 0.14L, 0.16L, 0.18L, 0.2L,  0.22L, 0.25L, 0.28L,
        0.3L,  0.32L, 0.34L, 0.36L, 0.38L, 0.4L,  0.43L, 0.45L, 0.48L, 0.5L,  0.53L, 0.56L, 0.6L,
        0.63L, 0.65L, 0.7L,  0.75L, 0.8L,  0.85L, 0.9L,  0.95L, 1.0L,  1.05L, 1.1L,  1.2L,  1.25L,
        1.3L,  1.4L,  1.5L,  1.6L,  1.7L,  1.8L,  1.9L,  2.0L,  2.1L,  2.25L, 2.4L,  2.5L,  2.6L,
        2.8L,  3.0L,  3.2L,  3.4L,  3.6L,  3.8L,  4.0L,  4.25L, 4.5L,  4.75L, 5.0L,  5.3L,  5.6L,
        6.0L,  6.3L,  6.5L,  7.0L,  7.5L,  8.0L,  8.5L,  9.0L,  9.5L,  10.0L, 10.5L, 11.0L, 12.0L,
        12.5L, 13.0L, 14.0L, 15.0L, 16.0L, 17.0L, 18.0L, 19.0L, 20.0L};
    std::vector<real> din2077;
    for (int i = 0; i <= 46; ++i)
        din2077.push_back(7.0L + 0.5L * i); // 7 .. 30
    for (int v = 31; v <= 40; ++v)
        din2077.push_back(v);
    for (int v = 42; v <= 60; v += 2)
        din2077.push_back(v);
    for (int v : {65, 70, 75, 80})
        din2077.push_back(v);

    struct Series {
        word selector;
        const std::vector<real>& values;
        std::size_t count;
    };
    const Series all[] = {{1, din2076, 87}, {3, din2077, 71}};
    for (const Series& series : all) {
        std::span<const real> stored = StandardWireDiameterSeries(series.selector);
        ASSERT_EQ(series.values.size(), series.count);
        ASSERT_EQ(stored.size(), series.count);
        for (std::size_t i = 0; i < series.count; ++i) {
            EXPECT_EQ(stored[i], series.values[i]) << i;
            Session s;
            real v = series.values[i];
            real next = series.values[std::min(i + 1, series.count - 1)];
            real previous = series.values[i == 0 ? 0 : i - 1];
            EXPECT_EQ(StandardWireDiameter(s, series.selector, 1, v), v);
            EXPECT_EQ(StandardWireDiameter(s, series.selector, 2, v), next);
            EXPECT_EQ(StandardWireDiameter(s, series.selector, -1, v), previous);
            if (i > 0) { // just above the previous value rounds up to this one
                EXPECT_EQ(StandardWireDiameter(s, series.selector, 1, previous + 1e-6L), v);
            }
            EXPECT_EQ(s.messages.Count(), 0);
        }
    }
}

} // namespace
} // namespace kora

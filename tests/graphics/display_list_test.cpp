// The display list: the records each published operation appends, the caches that keep
// colour, style and width records to changes, and the window set-up state.
#include "graphics/display_list.h"

#include "calc/session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kora {
namespace {

std::vector<std::string> Records(const DisplayList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.Count(); ++i)
        out.emplace_back(list[i]);
    return out;
}

struct Fixture {
    Session session;
    DisplayList list{session};
};

TEST(DisplayListRecords, PrimitivesWriteTheirFields) {
    Fixture f;
    f.list.line(1, 2, 3.5L, -4);
    f.list.circle(10, 20, 2.5L);
    f.list.Solid(0, 0, 1, 0, 1, 1, 0, 1);
    f.list.SetTextStyle(7, 90, 2.5L, 1.75L);
    f.list.SleepMs(250);
    f.list.OutTextXY("Fn = 12 N", 5, 6);
    const std::vector<std::string> expected{
        "4;1;2;3.5;-4",    "3;10;20;2.5", "7;0;0;1;0;1;1;0;1",
        "9;2.5;1.75;7;90", "13;250",      "6;5;6;Fn = 12 N",
    };
    EXPECT_EQ(Records(f.list), expected);
}

TEST(DisplayListRecords, RealsHaveEightSignificantDigits) {
    struct Case {
        real value;
        const char* record;
    };
    const Case cases[] = {
        {1.0L / 3, "3;0.33333333;0;1"},
        {12345.678901L, "3;12345.679;0;1"},
        {123456789.0L, "3;1.2345679e+08;0;1"},
        {0.0000001L, "3;1e-07;0;1"},
        {-0.5L, "3;-0.5;0;1"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.list.circle(c.value, 0, 1);
        EXPECT_EQ(f.list[0], c.record) << static_cast<double>(c.value);
    }
}

// The records are written without printf; every value must still read exactly as "%.8Lg"
// prints it: ties and near-ties, the switch between fixed and exponent form, values that round
// up to the next power of ten, and a spread of magnitudes and signs.
TEST(DisplayListRecords, RealsReadAsPrintfWritesThem) {
    std::vector<real> values = {0.0L,
                                -0.0L,
                                1,
                                10,
                                0.1L,
                                99999999.5L,
                                99999995,
                                9999999.95L,
                                0.00012345678L,
                                0.0001L,
                                0.000099999999L,
                                0.00009999999949L,
                                12345678.5L,
                                12345677.5L,
                                0.125L,
                                2.5e-5L,
                                1e30L,
                                1e-30L,
                                3e40L,
                                1e-25L,
                                123456785,
                                1.0L / 7,
                                1e8L,
                                1e7L};
    std::uint64_t state = 0x9E3779B97F4A7C15u; // a fixed xorshift sequence
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 200000; ++i) {
        const real mantissa = static_cast<real>(next() % 1000000007) / 1000000007;
        const int exponent = static_cast<int>(next() % 60) - 30;
        real v = mantissa * std::pow(10.0L, exponent);
        if (i % 3 == 0) v = std::round(v * 1000) / 1000; // millimetres with three decimals
        if (i % 2 == 0) v = -v;
        values.push_back(v);
    }
    Fixture f;
    for (real v : values)
        f.list.circle(v, 0, 1);
    ASSERT_EQ(f.list.Count(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "3;%.8Lg;0;1", values[i]);
        ASSERT_EQ(f.list[i], expected) << i;
    }
}

TEST(DisplayListRecords, RectangleIsFourLinesInOrder) {
    Fixture f;
    f.list.Rectangle(1, 2, 3, 4);
    const std::vector<std::string> expected{"4;1;2;3;2", "4;3;2;3;4", "4;3;4;1;4", "4;1;4;1;2"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(DisplayListRecords, TextKeepsSemicolons) {
    Fixture f;
    f.list.OutTextXY("a;b;;c", 1, 2);
    EXPECT_EQ(f.list[0], "6;1;2;a;b;;c");
}

TEST(DisplayListRecords, ArcBelowFourDegreesIsAChord) {
    struct Case {
        real start, end;
        int code;
    };
    const Case cases[] = {
        {0, 90, 5},   {10, 13.9L, 4}, {10, 14, 5}, {350, 2, 5}, {358, 1, 4},
        {350, 20, 5}, {90, 0, 5},     {30, 30, 4}, {-2, 1, 4},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.list.Arc(0, 0, 10, c.start, c.end);
        ASSERT_EQ(f.list.Count(), 1u);
        EXPECT_EQ(f.list[0].substr(0, 2), std::to_string(c.code) + ";")
            << c.start << " -> " << c.end;
    }
}

TEST(DisplayListRecords, ArcRecordHoldsBoxAndEndPoints) {
    Fixture f;
    f.list.Arc(5, 6, 2, 0, 90);
    EXPECT_EQ(f.list[0], "5;3;4;7;8;7;6;5;8");
    Fixture g;
    g.list.Arc(0, 0, 10, 0, 2); // chord from (10, 0) to the point at 2 degrees
    EXPECT_EQ(g.list[0], "4;10;0;9.9939083;0.34899497");
}

TEST(DisplayListRecords, WholeTurnArcIsACircle) {
    Fixture f;
    f.list.Arc(1, 2, 3, 0, 360);
    EXPECT_EQ(f.list[0], "3;1;2;3");
}

TEST(DisplayListColour, RecordedOnlyOnChangeAndUpTo16) {
    Fixture f;
    EXPECT_EQ(f.list.GetColor(), -1);
    f.list.SetColor(5);
    f.list.SetColor(5);
    EXPECT_EQ(f.list.Count(), 1u);
    f.list.SetColor(17);
    f.list.SetColor(-2);
    EXPECT_EQ(f.list.Count(), 1u);
    EXPECT_EQ(f.list.GetColor(), 5);
    f.list.SetColor(16);
    f.list.SetColor(0);
    const std::vector<std::string> expected{"8;5", "8;16", "8;0"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(DisplayListColour, CadColourNumbersMapToPalette) {
    struct Case {
        int cad, palette;
    };
    const Case cases[] = {
        {0, 0}, {1, 12}, {2, 14},  {3, 10},  {4, 11}, {5, 9},   {6, 13},  {7, 15},  {8, 1},
        {9, 2}, {15, 8}, {16, 12}, {17, 14}, {31, 9}, {32, 12}, {255, 9}, {256, 0}, {263, 15},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayList::GetColorTurbo(c.cad), c.palette) << c.cad;
    Fixture f;
    f.list.SetColorAcad(2);
    EXPECT_EQ(f.list[0], "8;14");
}

TEST(DisplayListStyle, LineStyleAndWidthOnlyOnChange) {
    Fixture f;
    f.list.SetLineWidth(1); // the replay starts with width 1
    f.list.SetLineStyle(2);
    f.list.SetLineStyle(2);
    f.list.SetLineWidth(3);
    f.list.SetLineWidth(3);
    f.list.SetLineStyle(0);
    const std::vector<std::string> expected{"11;2", "12;3", "11;0"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(DisplayListStyle, LineStyleNames) {
    struct Case {
        const char* name;
        int style;
    };
    const Case cases[] = {
        {"DOTTED", 1},      {"PUNKT", 1},  {"CENTER", 2}, {"DASHDOT", 2},
        {"STRICHPUNKT", 2}, {"DASHED", 3}, {"HIDDEN", 3}, {"VERDECKT", 3},
        {"CONTINUOUS", 0},  {"dotted", 0}, {"", 0},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.list.SetLineStyle(7);
        f.list.SetLineStyleName(c.name);
        EXPECT_EQ(f.list.GetLineStyle(), c.style) << c.name;
    }
}

TEST(DisplayListStyle, ClearForgetsTheCaches) {
    // After Clear the replay starts again at colour 1; a colour equal to the old list's last
    // one must still be recorded.
    Fixture f;
    f.list.SetColor(12);
    f.list.SetLineStyle(3);
    f.list.SetLineWidth(4);
    f.list.Clear();
    EXPECT_TRUE(f.list.Empty());
    f.list.SetColor(12);
    f.list.SetLineStyle(3);
    f.list.SetLineWidth(4);
    const std::vector<std::string> expected{"8;12", "11;3", "12;4"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(DisplayListStyle, ForgottenCacheRecordsTheNextCall) {
    Fixture f;
    f.list.SetLineWidth(3);
    f.list.ForgetStyleCache();
    f.list.SetLineWidth(3);
    f.list.SetLineWidth(1);
    f.list.SetLineStyle(0);
    const std::vector<std::string> expected{"12;3", "12;3", "12;1", "11;0"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(DisplayListWindow, SetWindowRecordAndState) {
    Fixture f;
    f.list.SetWindow(true, false, 0.1L, 0.2L, 0.6L, 0.9L, -5, 0, 5, 20);
    EXPECT_EQ(f.list[0], "10;64;48;384;384;-5;0;5;20");
    EXPECT_EQ(f.list.mapping.device, (DeviceRect{64, 48, 384, 384}));
    EXPECT_EQ(f.list.mapping.zoom, (DeviceRect{64, 48, 384, 384}));
    EXPECT_EQ(f.list.mapping.world, (WorldRect{-5, 0, 5, 20}));
    Fixture g;
    g.list.SetWindow(false, true, 0, 0, 1, 1, 0, 0, 100, 50);
    EXPECT_EQ(g.list[0], "10;1;1;639;479;0;0;100;50");
    EXPECT_FALSE(g.session.AbortFlag);
}

TEST(DisplayListWindow, DegenerateWorldSetsAbortAndKeepsMapping) {
    struct Case {
        real x0, y0, x1, y1;
    };
    const Case cases[] = {{3, 0, 3, 1}, {0, 2, 1, 2}, {0, 0, 0, 0}};
    for (const Case& c : cases) {
        Fixture f;
        f.list.SetWindow(true, true, 0, 0, 1, 1, 0, 0, 10, 10);
        const WindowMapping before = f.list.mapping;
        f.list.SetWindow(true, true, 0, 0, 0.5L, 0.5L, c.x0, c.y0, c.x1, c.y1);
        EXPECT_TRUE(f.session.AbortFlag);
        EXPECT_EQ(f.list.Count(), 2u); // the replay stops at this record as well
        EXPECT_EQ(f.list.mapping.world, before.world);
        EXPECT_EQ(f.list.mapping.device, before.device);
        EXPECT_EQ(f.list.mapping.sx, before.sx);
    }
}

TEST(DisplayListWindow, HeaderInstallsSavesAndSetsSolidStyle) {
    Fixture f;
    f.list.Header(0, 0, 420, 297);
    const std::vector<std::string> expected{"10;1;1;639;479;0;0;420;297", "11;0"};
    EXPECT_EQ(Records(f.list), expected);
    EXPECT_EQ(f.list.SavedLimit(), (WorldRect{0, 0, 420, 297}));
    EXPECT_TRUE(f.list.mapping.isotropic);
    // F = (0.75 A / B) (640 / 420) / (480 / 297)
    EXPECT_NEAR(static_cast<double>(f.list.AspectFactor()),
                0.75 * 640 / 480 * (640.0 / 420) / (480.0 / 297), 1e-12);
}

TEST(DisplayListWindow, RestoreLimitAndReSetWindow) {
    Fixture f;
    f.list.Header(0, 0, 200, 100);
    f.list.SetWindow(false, false, 0, 0, 1, 1, -1, -1, 1, 1);
    f.list.RestoreLimit();
    EXPECT_EQ(f.list[f.list.Count() - 1], "10;1;1;639;479;0;0;200;100");
    EXPECT_TRUE(f.list.mapping.isotropic);
    f.list.ReSetWindow();
    EXPECT_EQ(f.list[f.list.Count() - 1], "10;0;0;640;480;0;0;1;1");
    EXPECT_FALSE(f.list.mapping.isotropic);
    EXPECT_EQ(f.list.mapping.zoom, (DeviceRect{0, 0, 640, 480}));
}

TEST(DisplayListWindow, RegenKeepsTheZoomRectangle) {
    Fixture f;
    f.list.Header(0, 0, 200, 100);
    f.list.SetScale(100, 100, 300, 250);
    f.list.Regen();
    EXPECT_EQ(f.list.mapping.world, (WorldRect{0, 0, 1, 1}));
    EXPECT_EQ(f.list.mapping.zoom, (DeviceRect{100, 100, 300, 250}));
}

TEST(DisplayListWindow, SaveAndRetrieveViewPort) {
    Fixture f;
    f.list.SetWindow(false, false, 0, 0, 0.5L, 0.5L, 0, 0, 1, 1);
    f.list.SaveViewPort();
    f.list.SetWindow(false, false, 0, 0, 1, 1, 0, 0, 1, 1);
    const std::size_t count = f.list.Count();
    f.list.RetrieveViewPort();
    EXPECT_EQ(f.list.mapping.device, (DeviceRect{0, 240, 320, 480}));
    EXPECT_EQ(f.list.Count(), count);
}

TEST(DisplayListWindow, EinXAndEinY) {
    Fixture f;
    f.list.SetWindow(true, true, 0, 0, 1, 1, 10, 20, 110, 70);
    EXPECT_EQ(f.list.EinX(0.25L), 25);
    EXPECT_EQ(f.list.EinY(0.1L), 5);
}

TEST(DisplayListWindow, GetDirection) {
    struct Case {
        real angle;
        bool vertical;
    };
    const Case cases[] = {
        {0, false},   {45, false},   {46, true},   {90, true},   {135, false},
        {180, false}, {226, true},   {270, true},  {315, false}, {-90, true},
        {-45, false}, {-135, false}, {-100, true}, {360, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayList::GetDirection(c.angle), c.vertical) << c.angle;
}

TEST(DisplayListWindow, HostHearsClearAndViewPortRequests) {
    struct Host : GraphicsHost {
        int invalidated = 0, wait = 0, normal = 0;
        void Invalidate() override { ++invalidated; }
        void SetWaitCursor() override { ++wait; }
        void SetOldCursor() override { ++normal; }
    } host;
    Fixture f;
    f.list.host = &host;
    f.list.line(0, 0, 1, 1);
    f.list.ClearViewPort();
    EXPECT_EQ(f.list.Count(), 1u);
    f.list.Clear();
    f.list.SetOldCursor();
    EXPECT_EQ(host.invalidated, 2);
    EXPECT_EQ(host.wait, 1);
    EXPECT_EQ(host.normal, 1);
}

TEST(DisplayListWindow, LogoIsQuadrilateralsInColours9And13) {
    Fixture f;
    f.list.DrawKaldornLogo();
    int solids = 0;
    for (std::size_t i = 0; i < f.list.Count(); ++i) {
        const std::string_view r = f.list[i];
        if (r.starts_with("7;")) ++solids;
        if (r.starts_with("8;")) {
            EXPECT_TRUE(r == "8;9" || r == "8;13") << r;
        }
    }
    EXPECT_GE(solids, 2);
    EXPECT_TRUE(f.list[0].starts_with("10;"));
}

TEST(DisplayListWindow, TextSizeModeIsStored) {
    Fixture f;
    f.list.SetTextSizeMode(3);
    EXPECT_EQ(f.list.TextSizeMode(), 3);
    EXPECT_TRUE(f.list.Empty());
}

} // namespace
} // namespace kora

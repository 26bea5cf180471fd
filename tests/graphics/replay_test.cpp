// Replay of the display list onto a recording canvas: mapping of every record kind, colours,
// text placement, pen styles, the paper target, animation hooks and the stop at a degenerate
// world window.
#include "graphics/replay.h"

#include "calc/session.h"
#include "graphics/display_list.h"
#include "graphics/recording_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kora {
namespace {

// A 640 x 480 device showing the world 0..100 x 0..50: sx = 6.4, sy = 9.6.
struct Scene {
    Session session;
    DisplayList list{session};
    RecordingCanvas screen;
    Scene() { list.SetWindow(false, false, 0, 0, 1, 1, 0, 0, 100, 50); }
    ReplayResult Play(GraphicsHost* host = nullptr, const PaperTarget* paper = nullptr) {
        return Replay(list, screen, host, paper);
    }
};

struct Host : GraphicsHost {
    int wait = 0, normal = 0, services = 0, steps = 0;
    std::vector<int> sleeps;
    bool keepStepping = true;
    int stopAfterServices = -1;
    bool stopInSleep = false;
    void SetWaitCursor() override { ++wait; }
    void SetOldCursor() override { ++normal; }
    bool ServiceMessages() override { return ++services != stopAfterServices; }
    bool Sleep(int ms) override {
        sleeps.push_back(ms);
        return !stopInSleep;
    }
    bool AnimationStep() override {
        ++steps;
        return keepStepping;
    }
};

TEST(Replay, PrimitivesAreMappedToTheDevice) {
    Scene s;
    s.list.line(0, 0, 100, 50);
    s.list.circle(50, 25, 5);
    s.list.Arc(50, 25, 5, 0, 90);
    s.list.Solid(0, 0, 10, 0, 10, 5, 0, 5);
    const ReplayResult r = s.Play();
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.played, 5u);

    const auto moves = s.screen.Of(CanvasOp::moveTo);
    const auto lines = s.screen.Of(CanvasOp::lineTo);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(moves[0]->points[0], (DevicePoint{0, 480}));
    EXPECT_EQ(lines[0]->points[0], (DevicePoint{640, 0}));

    const auto ellipses = s.screen.Of(CanvasOp::ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0]->points[0], (DevicePoint{288, 192}));
    EXPECT_EQ(ellipses[0]->points[1], (DevicePoint{352, 288}));
    EXPECT_FALSE(ellipses[0]->brush.solid); // an outline only

    const auto arcs = s.screen.Of(CanvasOp::arc);
    ASSERT_EQ(arcs.size(), 1u);
    const std::vector<DevicePoint> arc{{288, 288}, {352, 192}, {352, 240}, {320, 192}};
    EXPECT_EQ(arcs[0]->points, arc);

    const auto polygons = s.screen.Of(CanvasOp::polygon);
    ASSERT_EQ(polygons.size(), 1u);
    const std::vector<DevicePoint> quad{{0, 480}, {64, 480}, {64, 432}, {0, 432}};
    EXPECT_EQ(polygons[0]->points, quad);
    EXPECT_TRUE(polygons[0]->brush.solid);
    EXPECT_EQ(polygons[0]->brush.colour, PaletteColour(1)); // the replay starts at colour 1
}

TEST(Replay, ColourRecordsSetPenAndBrush) {
    struct Case {
        bool colourGraphics;
        int index;
        Rgb expected;
    };
    const Case cases[] = {
        {true, 4, {255, 0, 0}}, {true, 14, {255, 255, 0}},  {true, 16, {0, 0, 0}},
        {false, 4, {0, 0, 0}},  {true, 0, {255, 255, 255}}, {false, 0, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        Scene s;
        s.list.settings.colourGraphics = c.colourGraphics;
        s.list.settings.backgroundColour = 15;
        s.list.SetColor(c.index);
        s.list.Solid(0, 0, 1, 0, 1, 1, 0, 1);
        s.Play();
        const auto polygons = s.screen.Of(CanvasOp::polygon);
        ASSERT_EQ(polygons.size(), 1u);
        EXPECT_EQ(polygons[0]->pen.colour, c.expected) << c.index;
        // With colour graphics off the brush is black, even for the background colour.
        EXPECT_EQ(polygons[0]->brush.colour, c.colourGraphics ? c.expected : Rgb{}) << c.index;
    }
}

TEST(Replay, ColourIndexOutOfRangeIsIgnored) {
    Scene s;
    s.list.SetColor(4);
    s.list.Append("8;17");
    s.list.Append("8;-1");
    s.list.line(0, 0, 1, 1);
    s.Play();
    EXPECT_EQ(s.screen.Of(CanvasOp::lineTo)[0]->pen.colour, PaletteColour(4));
}

TEST(Replay, TextPlacementFontAndSemicolons) {
    Scene s;
    s.list.SetTextStyle(0, 0, 2.5L, 2); // height 2.5 x 1.6 = 4, width 2 x 1.1 x 0.8 = 1.76
    s.list.OutTextXY("a;b;c", 10, 10);
    s.list.SetTextStyle(0, 90, 2.5L, 2);
    s.list.OutTextXY("up", 10, 10);
    s.Play();
    const auto texts = s.screen.Of(CanvasOp::text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, "a;b;c");
    // Cell top-left at (x, y + 0.75 h) = (10, 13): 13 x 9.6 = 124.8.
    EXPECT_EQ(texts[0]->points[0], (DevicePoint{64, 480 - 125}));
    EXPECT_EQ(texts[0]->font.height, 38); // 4 x 9.6
    EXPECT_EQ(texts[0]->font.width, 11);  // 1.76 x 6.4
    EXPECT_EQ(texts[0]->font.escapement, 0);
    EXPECT_EQ(texts[0]->font.weight, 100);
    // At 90 degrees: (x - 0.7 h, y) = (7.2, 10).
    EXPECT_EQ(texts[1]->points[0], (DevicePoint{46, 384}));
    EXPECT_EQ(texts[1]->font.escapement, 900);
    const auto fonts = s.screen.Of(CanvasOp::font);
    ASSERT_FALSE(fonts.empty());
    EXPECT_EQ(fonts[0]->typeface, "Arial");
}

TEST(Replay, TextFactorsAndStyleBits) {
    struct Case {
        int textStyle;
        int weight;
        bool italic, underline, strikeOut;
    };
    const Case cases[] = {
        {0, 100, false, false, false},  {1, 700, false, false, false},
        {3, 700, true, false, false},   {12, 100, false, true, true},
        {15, 700, true, true, true},    {16, 100, false, false, false},
        {17, 100, false, false, false},
    };
    for (const Case& c : cases) {
        Scene s;
        s.list.settings.textStyle = c.textStyle;
        s.list.settings.textHeightFactor = 2;
        s.list.settings.textWidthFactor = 1;
        s.list.SetTextStyle(0, 0, 2.5L, 2); // height 8, width 2.2
        s.list.OutTextXY("x", 0, 0);
        s.Play();
        const auto texts = s.screen.Of(CanvasOp::text);
        ASSERT_EQ(texts.size(), 1u);
        const Font& f = texts[0]->font;
        EXPECT_EQ(f.weight, c.weight) << c.textStyle;
        EXPECT_EQ(f.italic, c.italic) << c.textStyle;
        EXPECT_EQ(f.underline, c.underline) << c.textStyle;
        EXPECT_EQ(f.strikeOut, c.strikeOut) << c.textStyle;
        EXPECT_EQ(f.height, 77); // 8 x 9.6 = 76.8
        EXPECT_EQ(f.width, 14);  // 2.2 x 6.4 = 14.08
    }
}

TEST(Replay, TextColours) {
    struct Case {
        bool colourGraphics;
        int index;
        Rgb expected;
    };
    const Case cases[] = {
        {true, 5, {128, 0, 128}}, {true, 0, {255, 255, 0}}, {false, 5, {0, 0, 0}},
        {true, 16, {0, 0, 0}},    {true, 1, {0, 0, 128}},
    };
    for (const Case& c : cases) {
        Scene s;
        s.list.settings.backgroundColour = 14;
        s.list.settings.colourGraphics = c.colourGraphics;
        s.list.SetColor(c.index);
        s.list.OutTextXY("t", 0, 0);
        s.Play();
        const auto texts = s.screen.Of(CanvasOp::text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0]->colour, c.expected) << c.index;
    }
}

TEST(Replay, DegenerateWindowStopsTheReplay) {
    struct Case {
        const char* window;
    };
    const Case cases[] = {{"10;0;0;640;480;5;0;5;50"}, {"10;0;0;640;480;0;7;100;7"}};
    for (const Case& c : cases) {
        Scene s;
        s.list.line(0, 0, 10, 10);
        s.list.Append(c.window);
        s.list.line(20, 20, 30, 30);
        const ReplayResult r = s.Play();
        EXPECT_FALSE(r.completed);
        EXPECT_EQ(r.played, 3u);
        EXPECT_TRUE(s.session.AbortFlag);
        EXPECT_EQ(s.screen.Count(CanvasOp::lineTo), 1u); // the line before it is drawn
    }
}

TEST(Replay, WindowRecordsReapplyTheZoom) {
    Scene s;
    s.list.SetScale(160, 120, 480, 360);
    s.list.line(25, 12.5L, 75, 37.5L);
    s.Play();
    EXPECT_EQ(s.screen.Of(CanvasOp::moveTo)[0]->points[0], (DevicePoint{0, 480}));
    EXPECT_EQ(s.screen.Of(CanvasOp::lineTo)[0]->points[0], (DevicePoint{640, 0}));
    EXPECT_EQ(s.list.mapping.zoom, (DeviceRect{160, 120, 480, 360}));
}

TEST(Replay, LineStyleAndWidth) {
    struct Case {
        int style;
        PenStyle pen;
    };
    const Case cases[] = {{0, PenStyle::solid},
                          {1, PenStyle::dotted},
                          {2, PenStyle::dashDot},
                          {3, PenStyle::dashed},
                          {7, PenStyle::solid}};
    for (const Case& c : cases) {
        Scene s;
        s.list.SetLineStyle(c.style);
        s.list.SetLineWidth(2);
        s.list.line(0, 0, 1, 1);
        s.Play();
        const Pen& pen = s.screen.Of(CanvasOp::lineTo)[0]->pen;
        EXPECT_EQ(pen.style, c.pen) << c.style;
        EXPECT_EQ(pen.width, 2);
    }
}

TEST(Replay, PaperGetsFourTimesTheWidthAndNoSleep) {
    Scene s;
    RecordingCanvas paper;
    PaperTarget target{&paper, {}};
    target.page.PW = 2100;
    target.page.PH = 2970;
    Host host;
    s.list.SetLineWidth(2);
    s.list.SleepMs(40);
    s.list.line(0, 0, 100, 50);
    s.Play(&host, &target);
    ASSERT_EQ(paper.Count(CanvasOp::lineTo), 1u);
    ASSERT_EQ(s.screen.Count(CanvasOp::lineTo), 1u);
    EXPECT_EQ(paper.Of(CanvasOp::lineTo)[0]->pen.width, 8);
    EXPECT_EQ(s.screen.Of(CanvasOp::lineTo)[0]->pen.width, 2);
    EXPECT_EQ(host.sleeps, std::vector<int>{40});
    // X = round(PW ((x - vx0) sx + px0) / A): the world's right edge is the page's.
    EXPECT_EQ(paper.Of(CanvasOp::lineTo)[0]->points[0], (DevicePoint{2100, 0}));
    EXPECT_EQ(paper.Of(CanvasOp::moveTo)[0]->points[0], (DevicePoint{0, 2970}));
}

TEST(Replay, PaperColoursFollowThePrintMode) {
    struct Case {
        int printMode;
        Rgb expected;
    };
    const Case cases[] = {{1, {0, 0, 0}}, {2, {255, 0, 0}}};
    for (const Case& c : cases) {
        Scene s;
        s.list.settings.printMode = c.printMode;
        RecordingCanvas paper;
        PaperTarget target{&paper, {}};
        s.list.SetColor(4);
        s.list.line(0, 0, 1, 1);
        s.list.OutTextXY("t", 0, 0);
        s.Play(nullptr, &target);
        EXPECT_EQ(paper.Of(CanvasOp::lineTo)[0]->pen.colour, c.expected);
        EXPECT_EQ(paper.Of(CanvasOp::text)[0]->colour, c.expected);
        EXPECT_EQ(s.screen.Of(CanvasOp::lineTo)[0]->pen.colour, PaletteColour(4));
    }
}

TEST(Replay, PrintBorderOutlinesTheWorldWindow) {
    Scene s;
    RecordingCanvas paper;
    PaperTarget target{&paper, {}};
    target.page.PW = 640;
    target.page.PH = 480;
    target.page.border = true;
    s.list.settings.printMode = 2;
    s.list.line(10, 10, 20, 20);
    s.Play(nullptr, &target);
    const auto lines = paper.Of(CanvasOp::lineTo);
    ASSERT_EQ(lines.size(), 5u); // four border sides, then the line
    EXPECT_EQ(lines[0]->pen.colour, PaletteColour(11));
    EXPECT_EQ(lines[1]->points[0], (DevicePoint{640, 0}));
    EXPECT_EQ(lines[4]->pen.colour, PaletteColour(1));
    EXPECT_EQ(s.screen.Count(CanvasOp::lineTo), 1u);
}

TEST(Replay, SleepAndHostStops) {
    Scene s;
    Host host;
    host.stopInSleep = true;
    s.list.SleepMs(100);
    s.list.line(0, 0, 1, 1);
    const ReplayResult r = s.Play(&host);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(host.sleeps, std::vector<int>{100});
    EXPECT_EQ(s.screen.Count(CanvasOp::lineTo), 0u);
    EXPECT_EQ(host.wait, 1);
    EXPECT_EQ(host.normal, 1);
}

TEST(Replay, SingleStepAnimationPausesAtColourZero) {
    Scene s;
    Host host;
    s.list.singleStep = true;
    for (int frame = 0; frame < 3; ++frame) {
        s.list.SetColor(0);
        s.list.line(0, 0, 1, 1);
        s.list.SetColor(4);
        s.list.line(0, 0, 1, 1);
    }
    s.Play(&host);
    EXPECT_EQ(host.steps, 3);
    EXPECT_TRUE(s.list.singleStep);

    Host quick;
    quick.keepStepping = false; // "++": the rest plays without stopping
    s.Play(&quick);
    EXPECT_EQ(quick.steps, 1);
    EXPECT_FALSE(s.list.singleStep);
}

// Counts lines only: the long lists below need no recording.
struct CountingCanvas : Canvas {
    long lines = 0;
    void MoveTo(DevicePoint) override {}
    void LineTo(DevicePoint) override { ++lines; }
    void Ellipse(DevicePoint, DevicePoint) override {}
    void Arc(DevicePoint, DevicePoint, DevicePoint, DevicePoint) override {}
    void Polygon(const DevicePoint*, int) override {}
    void SetPen(const Pen&) override {}
    void SetBrush(const Brush&) override {}
    void SetFont(const Font&) override {}
    void SetTextColour(Rgb) override {}
    void Text(DevicePoint, std::string_view) override {}
};

TEST(Replay, MessagesAreServicedEvery50000Records) {
    Scene s;
    for (int i = 0; i < 120000; ++i)
        s.list.line(0, 0, 1, 1);
    CountingCanvas canvas;
    Host host;
    EXPECT_TRUE(Replay(s.list, canvas, &host).completed);
    EXPECT_EQ(host.services, 2);
    EXPECT_EQ(canvas.lines, 120000);
    Host stopper;
    stopper.stopAfterServices = 1;
    const ReplayResult r = Replay(s.list, canvas, &stopper);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.played, 50000u);
}

TEST(Replay, ReplayForgetsTheStyleCache) {
    Scene s;
    s.list.SetLineWidth(3);
    s.list.SetLineStyle(2);
    s.Play();
    const std::size_t n = s.list.Count();
    s.list.SetLineWidth(3);
    s.list.SetLineStyle(2);
    EXPECT_EQ(s.list.Count(), n + 2);
}

TEST(Replay, MalformedRecordsAreSkipped) {
    Scene s;
    for (const char* r :
         {"", "x", "4;1;2", "4;a;b;c;d", "6;1", "9;1;2", "10;1;2;3", "12;", "3;1;2;nan", "99;1;2"})
        s.list.Append(r);
    s.list.line(0, 0, 1, 1);
    const ReplayResult r = s.Play();
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(s.screen.Count(CanvasOp::lineTo), 1u);
    EXPECT_FALSE(s.session.AbortFlag);
}

} // namespace
} // namespace kora

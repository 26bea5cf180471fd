// The diagram engine (scales, mapping, clipping, axes, reference lines, markers) and the
// diagram sheets, read back from the DXF entities they write (layer, points, texts).
#include "base/codepage.h"
#include "base/numformat.h"
#include "base/units.h"
#include "cad_test_support.h"
#include "calc/session.h"
#include "common/designed_springs.h"
#include "common/example_springs.h"
#include "common/golden.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/diagram.h"
#include "graphics/diagram_sheets.h"
#include "graphics/display_list.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;
using cadtest::ReadFile;

// ---- DXF entities read back ----

struct Entity {
    std::string type, layer;
    std::multimap<int, std::string> groups;
    real Num(int code) const {
        auto it = groups.find(code);
        return it == groups.end() ? NAN : std::strtold(it->second.c_str(), nullptr);
    }
    std::string Str(int code) const {
        auto it = groups.find(code);
        return it == groups.end() ? std::string() : it->second;
    }
};

std::vector<Entity> EntitiesOf(const std::string& dxf) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < dxf.size()) {
        std::size_t end = dxf.find("\r\n", start);
        if (end == std::string::npos) end = dxf.size();
        lines.push_back(dxf.substr(start, end - start));
        start = end + 2;
    }
    std::vector<Entity> out;
    bool inEntities = false;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const int code = std::atoi(lines[i].c_str());
        const std::string& value = lines[i + 1];
        if (code == 0 && value == "SECTION" && i + 3 < lines.size() && lines[i + 3] == "ENTITIES") {
            inEntities = true;
            i += 2; // skip the section name
            continue;
        }
        if (!inEntities) continue;
        if (code == 0) {
            if (value == "ENDSEC") {
                inEntities = false;
                continue;
            }
            out.push_back({value, "", {}});
        } else if (!out.empty()) {
            if (code == 8) out.back().layer = value;
            out.back().groups.emplace(code, value);
        }
    }
    return out;
}

struct Seg {
    real x1, y1, x2, y2;
};
struct Txt {
    real x, y;
    std::string text;
};

std::vector<Seg> LinesOn(const std::vector<Entity>& es, const std::string& layer) {
    std::vector<Seg> out;
    for (const Entity& e : es)
        if (e.type == "LINE" && e.layer == layer)
            out.push_back({e.Num(10), e.Num(20), e.Num(11), e.Num(21)});
    return out;
}

std::vector<Txt> TextsOn(const std::vector<Entity>& es, const std::string& layer = "") {
    std::vector<Txt> out;
    for (const Entity& e : es)
        if (e.type == "TEXT" && (layer.empty() || e.layer == layer))
            out.push_back({e.Num(10), e.Num(20), e.Str(1)});
    return out;
}

std::optional<Txt> FindText(const std::vector<Txt>& texts, const std::string& text) {
    for (const Txt& t : texts)
        if (t.text == text) return t;
    return std::nullopt;
}

int CountOf(const std::vector<Entity>& es, const std::string& type) {
    int n = 0;
    for (const Entity& e : es)
        n += e.type == type;
    return n;
}

constexpr real kTol = 2e-6L; // six decimals in the file

#define EXPECT_POINT(ax, ay, bx, by)                                                               \
    do {                                                                                           \
        EXPECT_NEAR(ax, bx, kTol);                                                                 \
        EXPECT_NEAR(ay, by, kTol);                                                                 \
    } while (0)

// ---- NiceScale ----

TEST(NiceScale, WorkedExamples) {
    struct Case {
        real min, max;
        int n;
        real axisMin, axisMax, step;
    };
    // Worked by hand from the scaling rule:
    //  (0, 137.4): e = 22.9, p = 10, m = 2.29 -> step 20, top floor(6.87) + 1 = 7 -> 140.
    //  (0, 100):   top 99.999, e = 16.67, m = 1.67 -> 20; floor(4.99995) + 1 = 5 -> 100.
    //  (0, 0.75):  e = 0.125, p = 0.1, m = 1.25 -> 0.1; floor(7.4999) + 1 = 8 -> 0.8.
    //  (-20, 35):  e = 9.17, p = 1, m = 9.17 -> 10; floor(3.49995) + 1 = 4 -> 40; floor(-2) -> -20.
    //  (0, 0):     widened to (-1, 1): e = 0.333, p = 0.1, m = 3.33 -> 0.5; -1 .. 1.
    //  (0, 25):    e = 4.17, p = 1 -> 5; floor(4.99995) + 1 = 5 -> 25.
    //  (0, 20000): e = 3333, p = 1000, m = 3.33 -> 5000; 0 .. 20000.
    //  (5, 5):     widened to (4, 6): e = 0.333 -> 0.5; 4 .. 6.
    const Case cases[] = {
        {0, 137.4L, 6, 0, 140, 20},    {0, 100, 6, 0, 100, 20},
        {0, 0.75L, 6, 0, 0.8L, 0.1L},  {-20, 35, 6, -20, 40, 10},
        {0, 0, 6, -1, 1, 0.5L},        {0, 25, 6, 0, 25, 5},
        {0, 20000, 6, 0, 20000, 5000}, {5, 5, 6, 4, 6, 0.5L},
        {35, -20, 6, -20, 40, 10}, // limits in the wrong order are taken in the right one
        {0, 1000, 12, 0, 1000, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << " .. " << c.max << " / " << c.n);
        AxisScale s = NiceScale(c.min, c.max, c.n);
        EXPECT_NEAR(s.min, c.axisMin, 1e-12L);
        EXPECT_NEAR(s.max, c.axisMax, 1e-12L);
        EXPECT_NEAR(s.step, c.step, 1e-15L);
    }
}

TEST(NiceScale, NoNumberGivesTheWidenedZeroRange) {
    AxisScale s = NiceScale(NAN, 5, 6);
    EXPECT_EQ(s.min, -1);
    EXPECT_EQ(s.max, 1);
}

// ---- Engine on an open DXF output ----

class EngineTest : public ::testing::Test {
  protected:
    EngineTest() : session(dialogs), cad(session), frame(cad, session.config) {
        cad.SetTempFolder(temp.str());
    }
    void Open() {
        ASSERT_TRUE(cad.CadBeginFile(OutputKind::Dxf, temp / "engine.dxf"));
        cad.CadSheet(0, 0, 160, 120);
        cad.CadPageStart();
        frame.DiagReset();
    }
    std::vector<Entity> Close() {
        cad.CadSectionEnd();
        EXPECT_TRUE(cad.CadEnd());
        return EntitiesOf(ReadFile(temp / "engine.dxf"));
    }
    // A 100 x 100 frame at (10, 10) over 0..10 in both directions: data 1 = 10 mm.
    void TenByTen() {
        frame.DiagSetSize(100, 100);
        frame.DiagSetOrigin(10, 10);
        frame.DiagSetRanges(0, 10, 0, 10);
    }

    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    CadOutput cad;
    DiagramFrame frame;
};

TEST_F(EngineTest, ResetMakesTheWholeSheetTheFrame) {
    frame.DiagSetSize(10, 10);
    frame.DiagSetOrigin(3, 4);
    frame.DiagSetAxisKinds(true, true);
    frame.DiagReset();
    EXPECT_EQ(frame.W, 160);
    EXPECT_EQ(frame.H, 120);
    EXPECT_EQ(frame.x0, 0);
    EXPECT_EQ(frame.y0, 0);
    EXPECT_FALSE(frame.xLog);
    EXPECT_FALSE(frame.yLog);
}

TEST_F(EngineTest, MappingIsLinearAndLogarithmicPerAxis) {
    TenByTen();
    EXPECT_NEAR(frame.MapX(2.5L), 35, 1e-15L);
    EXPECT_NEAR(frame.MapY(7), 80, 1e-15L);
    frame.DiagSetAxisKinds(false, true);
    frame.DiagSetRanges(0, 10, 0, 3); // 10^0 .. 10^3
    EXPECT_NEAR(frame.MapY(100), 10 + 2.0L / 3 * 100, 1e-12L);
    // A value <= 0 lies far below the frame, never inside it.
    EXPECT_LT(frame.MapY(0), -1e9L);
}

TEST_F(EngineTest, ClippingKeepsThePartInsideTheFrame) {
    struct Case {
        real x1, y1, x2, y2;
        bool drawn;
        real ex1, ey1, ex2, ey2; // sheet mm of the drawn part
    };
    const Case cases[] = {
        {2, 3, 8, 9, true, 30, 40, 90, 100},      // wholly inside: unchanged
        {-5, 5, 15, 5, true, 10, 60, 110, 60},    // through both side edges
        {5, -5, 5, 20, true, 60, 10, 60, 110},    // through bottom and top
        {5, 5, 15, 10, true, 60, 60, 110, 85},    // leaves through the right edge
        {-5, -5, -1, -1, false, 0, 0, 0, 0},      // wholly outside: dropped
        {11, -5, 20, 30, false, 0, 0, 0, 0},      // beside the frame: dropped
        {-5, 5, 5, 15, false, 0, 0, 0, 0},        // touches only the corner: dropped
        {0, 10, 10, 0, true, 10, 110, 110, 10},   // on the diagonal corners
        {10, 0, 10, 10, true, 110, 10, 110, 110}, // on the right edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
        Open();
        TenByTen();
        frame.DiagLine(c.x1, c.y1, c.x2, c.y2);
        auto lines = LinesOn(Close(), "0");
        ASSERT_EQ(lines.size(), c.drawn ? 1u : 0u);
        if (!c.drawn) continue;
        EXPECT_POINT(lines[0].x1, lines[0].y1, c.ex1, c.ey1);
        EXPECT_POINT(lines[0].x2, lines[0].y2, c.ex2, c.ey2);
    }
}

TEST_F(EngineTest, PolylinePenMovesToTheUnclippedPoint) {
    Open();
    TenByTen();
    frame.DiagMoveTo(5, 5);
    frame.DiagLineTo(15, 5);  // clipped at x = 10
    frame.DiagLineTo(15, 8);  // wholly outside: nothing
    frame.DiagLineTo(5, 8);   // comes back in at x = 10
    frame.DiagLineTo(NAN, 1); // no number: nothing
    frame.DiagLineTo(2, 2);   // from a pen that is no number: nothing
    frame.DiagLineTo(3, 3);
    auto lines = LinesOn(Close(), "0");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_POINT(lines[0].x1, lines[0].y1, 60, 60);
    EXPECT_POINT(lines[0].x2, lines[0].y2, 110, 60);
    EXPECT_POINT(lines[1].x1, lines[1].y1, 110, 90);
    EXPECT_POINT(lines[1].x2, lines[1].y2, 60, 90);
    EXPECT_POINT(lines[2].x1, lines[2].y1, 30, 30);
    EXPECT_POINT(lines[2].x2, lines[2].y2, 40, 40);
}

TEST_F(EngineTest, ZeroRangeGetsAUnitRange) {
    Open();
    frame.DiagSetRanges(5, 5, 0, 0);
    EXPECT_EQ(frame.xmin, 5);
    EXPECT_EQ(frame.xmax, 6);
    EXPECT_EQ(frame.YRange(), 1);
    // Axes over an empty data range: NiceScale widens it to -1 .. 1, nothing divides by zero.
    frame.DiagAxes("x", "y", "leer", 0, 0, 0, 0, 1);
    EXPECT_EQ(frame.xmin, -1);
    EXPECT_EQ(frame.xmax, 1);
    EXPECT_EQ(frame.ymin, -1);
    EXPECT_EQ(frame.ymax, 1);
    // A hook that empties the scales still leaves a drawable frame.
    frame.limitsHook = [](std::string_view, std::string_view, std::string_view, AxisScale& x,
                          AxisScale& y) {
        x = {3, 3, 0};
        y = {NAN, NAN, 0};
    };
    frame.DiagAxes("x", "y", "leer", 0, 0, 10, 10, 1);
    EXPECT_EQ(frame.XRange(), 1);
    EXPECT_EQ(frame.YRange(), 1);
    frame.DiagUnitFactors(0, NAN); // no factor: the ranges stay
    EXPECT_EQ(frame.XRange(), 1);
    Close();
    EXPECT_EQ(ReadFile(temp / "engine.dxf").find("nan"), std::string::npos);
}

TEST_F(EngineTest, AxesDrawTitleTicksLabelsGridAndArrows) {
    Open();
    frame.DiagSetSize(95, 95);
    frame.DiagSetOrigin(15, 10);
    frame.DiagAxes("s [mm]", "F [N]", "Federkennlinie", 0, 0, 25, 20000, 1);
    auto es = Close();
    EXPECT_EQ(frame.xmax, 25);
    EXPECT_EQ(frame.xStep, 5);
    EXPECT_EQ(frame.ymax, 20000);
    EXPECT_EQ(frame.yStep, 5000);

    // Title on layer 4: x = 15 + 95/2 - 14 * 3.5 / 2 = 38, y = 10 + 95 + 3.
    auto titles = TextsOn(es, "4");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].text, "Federkennlinie");
    EXPECT_POINT(titles[0].x, titles[0].y, 38, 108);

    // Tick labels in the engineering format: at (value - 1 % of x range, bottom - 10 % of y
    // range) and (left - 10 % of x range, value - 1 % of y range).
    auto texts = TextsOn(es, "17");
    for (int i = 0; i <= 5; ++i) {
        const auto t = FindText(texts, std::to_string(i * 5));
        ASSERT_TRUE(t.has_value()) << i * 5;
        EXPECT_POINT(t->x, t->y, 15 + (i * 5 - 0.25L) / 25 * 95, 10 - 9.5L);
    }
    const char* yLabels[] = {"0", "5000", "10E3", "15E3", "20E3"};
    for (int i = 1; i <= 4; ++i) {
        const Txt* t = nullptr;
        for (const Txt& c : texts)
            if (c.text == yLabels[i] && c.x < 15) t = &c;
        ASSERT_NE(t, nullptr) << yLabels[i];
        EXPECT_POINT(t->x, t->y, 15 - 9.5L, 10 + (i * 5000 - 200.0L) / 20000 * 95);
    }
    // Axis names: x at 1.06 of the maximum, 7 % below; y above the axis.
    const auto xName = FindText(texts, "s [mm]");
    ASSERT_TRUE(xName.has_value());
    EXPECT_POINT(xName->x, xName->y, 15 + 1.06L * 95, 10 - 0.07L * 95);
    const auto yName = FindText(texts, "F [N]");
    ASSERT_TRUE(yName.has_value());
    EXPECT_POINT(yName->x, yName->y, 15 - 9.5L, 10 + 1.07L * 95);

    // Lines of layer 17: x axis to 5 % beyond the frame and the y axis likewise, 6 + 5 ticks,
    // 6 + 5 grid lines, and the two lines of the arrow heads.
    auto lines = LinesOn(es, "17");
    EXPECT_EQ(lines.size(), 2u + 11u + 11u + 2u);
    EXPECT_POINT(lines[0].x1, lines[0].y1, 15, 10);
    EXPECT_POINT(lines[0].x2, lines[0].y2, 15 + 1.05L * 95, 10);
    std::vector<const Entity*> solids;
    for (const Entity& e : es)
        if (e.type == "SOLID") solids.push_back(&e);
    ASSERT_EQ(solids.size(), 2u);
    // Filled arrow heads 4 % of the frame long: tip first, tail last.
    EXPECT_POINT(solids[0]->Num(10), solids[0]->Num(20), 15 + 1.05L * 95, 10);
    EXPECT_POINT(solids[0]->Num(13), solids[0]->Num(23), 15 + 1.05L * 95 - 3.8L, 10);
    EXPECT_POINT(solids[1]->Num(10), solids[1]->Num(20), 15, 10 + 1.05L * 95);
    EXPECT_POINT(solids[1]->Num(13), solids[1]->Num(23), 15, 10 + 1.05L * 95 - 3.8L);
}

TEST_F(EngineTest, NoAxisLineWhenTheRangeMissesZero) {
    Open();
    frame.DiagSetSize(95, 95);
    frame.DiagSetOrigin(15, 10);
    frame.DiagAxes("x", "y", "t", 10, 10, 40, 40, 2);
    auto es = Close();
    EXPECT_EQ(CountOf(es, "SOLID"), 0);
    // Mode 2 writes the x name 3 % above the bottom at 1.01 of the range.
    const auto xName = FindText(TextsOn(es, "17"), "x");
    ASSERT_TRUE(xName.has_value());
    EXPECT_POINT(xName->x, xName->y, 15 + 1.01L * 95, 10 + 0.03L * 95);
}

TEST_F(EngineTest, LogarithmicAxisInWholeDecades) {
    Open();
    frame.DiagSetSize(95, 95);
    frame.DiagSetOrigin(15, 10);
    frame.DiagSetAxisKinds(false, true);
    frame.DiagAxes("t [h]", "dF/F %", "Relaxation", 0, 0.01L, 60, 1000, 1);
    auto es = Close();
    // log10: -2 .. 3, one division per decade, labelled with the values.
    EXPECT_NEAR(frame.ymin, -2, 1e-15L);
    EXPECT_NEAR(frame.ymax, 3, 1e-15L);
    EXPECT_EQ(frame.yStep, 1);
    auto texts = TextsOn(es, "17");
    for (const char* label : {"0.01", "0.1", "1", "10", "100", "1000"})
        EXPECT_TRUE(FindText(texts, label).has_value()) << label;
    // 100 lies three fifths up the frame.
    EXPECT_NEAR(frame.MapY(100), 10 + 0.8L * 95, 1e-12L);
    // No x axis line at y = 0 on a logarithmic axis: one arrow head (the y axis) only.
    EXPECT_EQ(CountOf(es, "SOLID"), 1);
    // Grid: 7 + 6 division lines and 8 lines within each of the 5 decades.
    int horizontal = 0;
    for (const Seg& l : LinesOn(es, "17"))
        horizontal += l.y1 == l.y2 && l.x1 == 15 && std::fabs(l.x2 - 110) < kTol;
    EXPECT_EQ(horizontal, 6 + 5 * 8);
}

TEST_F(EngineTest, UnitFactorsLetInternalValuesLandOnDisplayAxes) {
    Open();
    TenByTen();
    frame.DiagSetRanges(0, 10, 0, 100); // axes in lbf
    frame.DiagUnitFactors(0.2248090247334889L, 1);
    // 222.4 N is 50 lbf: halfway up.
    EXPECT_NEAR(frame.MapY(50 / 0.2248090247334889L), 60, 1e-12L);
    Close();
}

TEST_F(EngineTest, TextStylesInDataUnitsAndScaled) {
    Open();
    TenByTen();
    frame.DiagSetRanges(0, 50, 0, 200);
    frame.DiagTextStyle(2, 0, 200.0L / 35, 50.0L / 45); // 100/35 mm high, 100/45 mm wide
    EXPECT_NEAR(cad.TextHeight(), 100.0L / 35, 1e-15L);
    EXPECT_NEAR(cad.TextWidthRatio(), 35.0L / 45, 1e-15L);
    frame.DiagSetSize(95, 95);
    frame.DiagScaledTextStyle(2, 0, 3.5L, 2.5L); // f = max(0.95, 0.59375)
    EXPECT_NEAR(cad.TextHeight(), 3.5L * 0.95L, 1e-15L);
    frame.DiagSetSize(160, 60);
    frame.DiagScaledTextStyle(2, 0, 2, 1); // f = max(0.6, 1.0)
    EXPECT_NEAR(cad.TextHeight(), 2, 1e-15L);
    Close();
}

TEST_F(EngineTest, ReferenceLineAndItsCentredLabel) {
    Open();
    TenByTen();
    frame.DiagTextStyle(2, 0, 1, 1);
    const real heightBefore = cad.TextHeight();
    frame.DiagRefLine("W02 = 7", 6, 4);
    EXPECT_EQ(cad.TextHeight(), heightBefore); // the caller's style is back
    auto es = Close();
    auto lines = LinesOn(es, "0");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_POINT(lines[0].x1, lines[0].y1, 10, 70);
    EXPECT_POINT(lines[0].x2, lines[0].y2, 50, 70);
    EXPECT_POINT(lines[1].x1, lines[1].y1, 50, 70);
    EXPECT_POINT(lines[1].x2, lines[1].y2, 50, 10);
    // Text 2.5 mm high, 2 mm wide (ratio 0.8), centred at x = 30, 1 mm above the line.
    auto texts = TextsOn(es);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_POINT(texts[0].x, texts[0].y, 30 - 7 * 2.5L * 0.8L / 2, 71);
    for (const Entity& e : es) {
        if (e.type == "TEXT") {
            EXPECT_NEAR(e.Num(40), 2.5L, kTol);
        }
    }
}

TEST_F(EngineTest, MarkersAroundAPointInsideTheFrame) {
    Open();
    TenByTen();
    for (int kind = 1; kind <= 4; ++kind)
        frame.DiagMarker(kind, 5, 5);
    frame.DiagMarker(1, 20, 5); // outside: nothing
    auto es = Close();
    // Half-size 1/150 of the range = 100/150 mm.
    const real h = 100.0L / 150;
    ASSERT_EQ(CountOf(es, "CIRCLE"), 1);
    for (const Entity& e : es)
        if (e.type == "CIRCLE") {
            EXPECT_POINT(e.Num(10), e.Num(20), 60, 60);
            EXPECT_NEAR(e.Num(40), 1.5L * h, kTol);
        }
    auto lines = LinesOn(es, "0");
    ASSERT_EQ(lines.size(), 4u + 4u + 3u); // square, diamond, triangle
    EXPECT_POINT(lines[0].x1, lines[0].y1, 60 - h, 60 - h);
    EXPECT_POINT(lines[4].x1, lines[4].y1, 60 - 1.5L * h, 60);
    EXPECT_POINT(lines[4].x2, lines[4].y2, 60, 60 + 1.2L * h);
    EXPECT_POINT(lines[8].x1, lines[8].y1, 60 - h, 60 - h);
    EXPECT_POINT(lines[9].x2, lines[9].y2, 60, 60 + h);
}

// ---- Sheets ----

class SheetTest : public ::testing::Test {
  protected:
    SheetTest() : session(dialogs), display(session), cad(session, &display), ctx(session, cad) {
        cad.SetTempFolder(temp.str());
        cad.SetCommandLineRun(true);
        cad.SetSpringFile(temp / "feder.kra");
    }
    // The single-section spring of typed steel: R = G d^4 / (8 Dm^3 n), L0 = 46, Lc = 21.
    void Quiet() {
        examples::QuietSpring(session);
        CalculateSpring(session);
        ASSERT_FALSE(session.FatalFlag);
    }
    std::vector<Entity> Sheet(DiagramSheet type) {
        EXPECT_TRUE(DrawDiagramSheet(ctx, type, OutputKind::Dxf));
        return EntitiesOf(ReadFile(temp / "feder.dxf"));
    }
    std::string TxtSheet(DiagramSheet type) {
        EXPECT_TRUE(DrawDiagramSheet(ctx, type, OutputKind::Txt));
        return ReadFile(temp / "feder.txt");
    }
    // Rate of the quiet spring from the spring formula.
    static real QuietRate() { return 81500.0L * 81 / (8 * 22.0L * 22 * 22 * 5); }

    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    DisplayList display;
    CadOutput cad;
    DiagramContext ctx;
};

TEST_F(SheetTest, MenuTextsAndBaseNames) {
    struct Row {
        DiagramSheet type;
        const char* menu;
        const char* base;
    };
    const Row rows[] = {{DiagramSheet::Fs, "Federkennlinie  F-s", "KORAFS"},
                        {DiagramSheet::Tau, "tau-s Diagramm", "KORATAU"},
                        {DiagramSheet::Rs, "R-s Diagramm", "KORARS"},
                        {DiagramSheet::Ws, "W-s Diagramm", "KORAWS"},
                        {DiagramSheet::Quick, "Quick", "KORAQUIK"},
                        {DiagramSheet::Frequency, "Fe-s Diagramm", "KORAFREQ"},
                        {DiagramSheet::FL, "Federkennlinie  F-L", "KORA"}};
    for (const Row& r : rows) {
        EXPECT_EQ(DiagramMenuText(r.type), r.menu);
        EXPECT_EQ(DiagramBaseName(r.type), r.base);
    }
}

TEST_F(SheetTest, FsAxisRangesFromTheSpring) {
    Quiet();
    const SpringRecord& s = session.spring;
    ASSERT_NEAR(s.sc, 25, 1e-9L);
    ASSERT_NEAR(s.Fc, 25 * QuietRate(), 1e-6L); // 387.5 N
    auto es = Sheet(DiagramSheet::Fs);
    // 0 .. 25 mm in steps of 5; 0 .. 387.5 N scales to 0 .. 400 in steps of 50.
    EXPECT_EQ(ctx.frame.xmax, 25);
    EXPECT_EQ(ctx.frame.ymax, 400);
    EXPECT_EQ(ctx.frame.yStep, 50);
    EXPECT_NE(FindText(TextsOn(es, "17"), "s [mm]"), std::nullopt);
    EXPECT_NE(FindText(TextsOn(es, "17"), "F [N]"), std::nullopt);
    EXPECT_NE(FindText(TextsOn(es, "17"), "400"), std::nullopt);
    EXPECT_NE(FindText(TextsOn(es, "4"), "Federkennlinie"), std::nullopt);
}

TEST_F(SheetTest, WorkingPointMarksOfTheFsSheet) {
    Quiet();
    const SpringRecord& s = session.spring;
    const real R = QuietRate();
    ASSERT_NEAR(s.F1, 11 * R, R * s.seps);
    ASSERT_NEAR(s.F2, 21 * R, R * s.seps);
    auto es = Sheet(DiagramSheet::Fs);
    // Frame 95 x 95 at (15, 10) over 0..25 mm and 0..400 N.
    auto X = [](real sv) { return 15 + sv / 25 * 95; };
    auto Y = [](real F) { return 10 + F / 400 * 95; };
    struct Mark {
        const char* layer;
        real sv, F;
        const char* name;
    };
    const Mark marks[] = {{"18", s.s1, s.F1, "F1 = "},
                          {"19", s.s2, s.F2, "F2 = "},
                          {"29", s.sx, s.Fx, "Fx = "},
                          {"24", s.sn, s.Fn, "Fn = "},
                          {"16", s.sc, s.Fc, "Fc = "}};
    EXPECT_NEAR(s.s1, 11, 1e-9L);
    EXPECT_NEAR(s.s2, 21, 1e-9L);
    EXPECT_NEAR(s.sx, 16, 1e-9L);
    for (const Mark& m : marks) {
        SCOPED_TRACE(m.name);
        auto lines = LinesOn(es, m.layer);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_POINT(lines[0].x1, lines[0].y1, X(m.sv), Y(m.F)); // to the y axis
        EXPECT_POINT(lines[0].x2, lines[0].y2, 15, Y(m.F));
        EXPECT_POINT(lines[1].x1, lines[1].y1, X(m.sv), Y(m.F)); // to the x axis
        EXPECT_POINT(lines[1].x2, lines[1].y2, X(m.sv), 10);
        const std::string label = m.name + ShortFormat(session.config, m.F);
        const auto t = FindText(TextsOn(es, m.layer), label);
        ASSERT_TRUE(t.has_value()) << label;
        EXPECT_POINT(t->x, t->y, X(0.3L * m.sv), Y(m.F + 0.01L * s.Fc));
    }
    EXPECT_NE(FindText(TextsOn(es, "18"), "F1 = 170.5"), std::nullopt); // 11 R = 170.49 N
}

TEST_F(SheetTest, WorkingPointMarksOfTheFLSheet) {
    Quiet();
    const SpringRecord& s = session.spring;
    auto es = Sheet(DiagramSheet::FL);
    // 0 .. 46 mm scales to 0 .. 50 in steps of 5.
    EXPECT_EQ(ctx.frame.xmax, 50);
    auto X = [](real L) { return 15 + L / 50 * 95; };
    auto Y = [](real F) { return 10 + F / 400 * 95; };
    auto lines = LinesOn(es, "18");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_POINT(lines[0].x1, lines[0].y1, X(35), Y(s.F1));
    EXPECT_POINT(lines[1].x2, lines[1].y2, X(35), 10);
    // The curve starts at (L0, 0) and runs towards shorter lengths.
    auto curve = LinesOn(es, "21");
    ASSERT_FALSE(curve.empty());
    EXPECT_POINT(curve[0].x1, curve[0].y1, X(46), 10);
    EXPECT_LT(curve.back().x2, curve[0].x1);
    EXPECT_NE(FindText(TextsOn(es, "17"), "L [mm]"), std::nullopt);
}

TEST_F(SheetTest, CurveDrawsEveryInnerStepAndEndsOneStepBeforeSolid) {
    struct Case {
        DiagramSheet type;
        std::int32_t steps;
        std::size_t segments; // R-s and fe-s: the first point only moves the pen
    };
    const Case cases[] = {{DiagramSheet::Fs, 250, 249},     {DiagramSheet::Fs, 40, 39},
                          {DiagramSheet::FL, 40, 39},       {DiagramSheet::Tau, 40, 39},
                          {DiagramSheet::Rs, 40, 38},       {DiagramSheet::Ws, 40, 38},
                          {DiagramSheet::Frequency, 40, 38}};
    Quiet();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.type) << " / " << c.steps);
        session.spring.ssteps = c.steps;
        auto es = Sheet(c.type);
        auto curve = LinesOn(es, "21");
        EXPECT_EQ(curve.size(), c.segments);
        if (c.type == DiagramSheet::Fs) {
            const real Fc = session.spring.Fc;
            const real last = Fc * (c.steps - 1) / c.steps;
            EXPECT_POINT(curve.front().x1, curve.front().y1, 15, 10);
            EXPECT_NEAR(curve.back().y2, 10 + last / 400 * 95, kTol);
            // One section: s = F / R.
            EXPECT_NEAR(curve.back().x2, 15 + last / QuietRate() / 25 * 95, 1e-5L);
        }
    }
}

TEST_F(SheetTest, RateCurveOfOneSectionIsItsRate) {
    Quiet();
    session.spring.ssteps = 20;
    auto es = Sheet(DiagramSheet::Rs);
    const real R = QuietRate(); // Rc = R: 15.5 scales to 0 .. 16 in steps of 2
    EXPECT_EQ(ctx.frame.ymax, 16);
    for (const Seg& seg : LinesOn(es, "21")) {
        EXPECT_NEAR(seg.y1, 10 + R / 16 * 95, 1e-5L);
        EXPECT_NEAR(seg.y2, 10 + R / 16 * 95, 1e-5L);
    }
    EXPECT_NE(FindText(TextsOn(es, "18"), "R1 = " + ShortFormat(session.config, R)), std::nullopt);
}

TEST_F(SheetTest, Tau1MarkOnlyAboveATenthOfAMegapascal) {
    Quiet();
    auto withF1 = Sheet(DiagramSheet::Tau);
    ASSERT_GT(session.spring.tau1, 0.1L);
    EXPECT_EQ(LinesOn(withF1, "18").size(), 2u);
    EXPECT_NE(FindText(TextsOn(withF1, "18"),
                       "tau1 = " + ShortFormat(session.config, session.spring.tau1)),
              std::nullopt);

    // L1 = L0: F1 = 0, tau1 = 0. No tau1 mark, the tau2 and tauc marks stay.
    session.spring.L1 = 46;
    CalculateSpring(session);
    ASSERT_LE(session.spring.tau1, 0.1L);
    auto es = Sheet(DiagramSheet::Tau);
    EXPECT_TRUE(LinesOn(es, "18").empty());
    EXPECT_TRUE(TextsOn(es, "18").empty());
    EXPECT_EQ(LinesOn(es, "16").size(), 2u);
    const std::string tau2 = "tau2 = " + ShortFormat(session.config, session.spring.tau2);
    EXPECT_NE(FindText(TextsOn(es, "19"), tau2), std::nullopt);
    EXPECT_NE(
        FindText(TextsOn(es, "16"), "tauc = " + ShortFormat(session.config, session.spring.tauc)),
        std::nullopt);
}

TEST_F(SheetTest, DynamicTauSheetUsesTheCorrectedStresses) {
    Quiet();
    session.spring.loadType = 2;
    CalculateSpring(session);
    const SpringRecord& s = session.spring;
    auto es = Sheet(DiagramSheet::Tau);
    EXPECT_NE(FindText(TextsOn(es, "4"), "Schubspannung tauk"), std::nullopt);
    EXPECT_NE(FindText(TextsOn(es, "17"), "tauk [MPa]"), std::nullopt);
    // k of w = 22/3 from the correction formula 1 + 1.25/w + 0.875/w^2 + 1/w^3.
    const real w = 22.0L / 3, k = 1 + 1.25L / w + 0.875L / (w * w) + 1 / (w * w * w);
    EXPECT_NE(FindText(TextsOn(es, "16"), "taukc = " + ShortFormat(session.config, k * s.tauc)),
              std::nullopt);
    EXPECT_EQ(ctx.frame.ymax, NiceScale(0, k * s.tauc, 6).max);
    // The curve's last point: tau = 8 F Dm / (pi d^3) times k.
    auto curve = LinesOn(es, "21");
    const real F = s.Fc * 249 / 250;
    const real tau = 8 * F * 22 / (3.14159265358979323846L * 27) * k;
    EXPECT_NEAR(curve.back().y2, 10 + tau / ctx.frame.ymax * 95, 1e-5L);
}

TEST_F(SheetTest, DataBlockTextsInTheirOrder) {
    Quiet();
    SpringRecord& s = session.spring;
    s.wireTol = 0.03L;
    s.tolDUpper = 0.2L;
    s.tolDLower = -0.2L;
    s.tolL0Upper = 0.5L;
    s.tolL0Lower = -0.5L;
    s.tolF1Upper = 2;
    s.tolF1Lower = -1;
    s.tolF2Upper = 0;
    s.tolF2Lower = 0;
    auto es = Sheet(DiagramSheet::Fs);
    std::vector<std::string> block;
    for (const Txt& t : TextsOn(es))
        if (t.x == 126) block.push_back(t.text);
    auto v = [&](real x) { return ShortFormat(session.config, x); };
    const std::vector<std::string> expected = {
        "Abmessungen",
        "d = 3 \xF1 0.03 mm", // ± is 0xF1 in code page 850
        "Dm = 22  \xF1 0.2",
        "n  = 5 Wdg.",
        "nt = 7 Wdg.",
        "L0 = 46 \xF1 0.5 mm",
        "Federl\x84ngen",
        "L1 = 35 mm",
        "Lx = 30 mm",
        "L2 = 25 mm",
        "Ln = " + v(s.Ln) + " mm",
        "Lc = 21 mm",
        "Federwege",
        "s1 = 11 mm",
        "sx = 16 mm",
        "s2 = 21 mm",
        "Federkr\x84"
        "fte",
        "F1 = 170.5+2/-1 N",
        "Fx = 248 N",
        "F2 = 325.5 N",
        "Fn = " + v(s.Fn) + " N",
        "Fc = 387.5 N",
        "Federrate",
        "R0 = " + v(s.R0) + " N/mm",
        "R1 = " + v(s.R1) + " N/mm",
        "R2 = " + v(s.R2) + " N/mm",
        "Rc = " + v(s.Rc) + " N/mm",
    };
    EXPECT_EQ(block, expected);
    // Headings on layer 21, the values on 19; lines 1.6 x 2.2 mm apart, 0.3 lines between groups.
    auto headings = TextsOn(es, "21");
    ASSERT_GE(headings.size(), 5u);
    EXPECT_EQ(headings[0].text, "Abmessungen");
    EXPECT_POINT(headings[0].x, headings[0].y, 126, 103);
    const auto lengths = FindText(headings, "Federl\x84ngen");
    ASSERT_TRUE(lengths.has_value());
    EXPECT_NEAR(lengths->y, 103 - 6.3L * 1.6L * 2.2L, kTol);
    EXPECT_NE(FindText(TextsOn(es, "19"), "Lc = 21 mm"), std::nullopt);
}

TEST_F(SheetTest, DataBlockOfNonRoundWire) {
    struct Case {
        word wireType;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {2, {"b = 4 mm", "h = 2 mm"}}, {4, {"b = 4 mm", "h = 2 mm"}}, {3, {"a = 4 \xF1 0.03 mm"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wireType);
        session = Session(dialogs);
        examples::NonRound(session, c.wireType, 4, 2);
        examples::TypedSteel(session);
        CalculateSpring(session);
        ASSERT_FALSE(session.FatalFlag);
        session.spring.wireTol = 0.03L;
        auto es = Sheet(DiagramSheet::Fs);
        std::vector<std::string> block;
        for (const Txt& t : TextsOn(es))
            if (t.x == 126) block.push_back(t.text);
        ASSERT_GT(block.size(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(block[i + 1], c.lines[i]);
        EXPECT_EQ(block[c.lines.size() + 1].rfind("Dm = 22", 0), 0u);
    }
}

TEST_F(SheetTest, F1OfZeroInTheDataBlockWhateverTheUnits) {
    for (int units : {0, 1}) {
        SCOPED_TRACE(units);
        session = Session(dialogs);
        session.config.unitSystem = units;
        examples::QuietSpring(session);
        CalculateSpring(session);
        session.spring.F1 = 0; // as at L1 = L0

        auto es = Sheet(DiagramSheet::Fs);
        EXPECT_NE(FindText(TextsOn(es, "19"), "F1 =    0 N"), std::nullopt);
        if (units == 1) {
            EXPECT_NE(FindText(TextsOn(es, "17"), "F [lbf]"), std::nullopt);
            EXPECT_NE(FindText(TextsOn(es, "17"), "s [in]"), std::nullopt);
        }
    }
}

TEST_F(SheetTest, ImperialAxesTakeTheCurveInNewtons) {
    session.config.unitSystem = 1;
    Quiet();
    const SpringRecord& s = session.spring;
    auto es = Sheet(DiagramSheet::Fs);
    // Fc = 387.5 N = 87.1 lbf -> 0 .. 90 lbf; sc = 25 mm = 0.984 in -> 0 .. 1 in (step 0.2).
    EXPECT_NEAR(ctx.frame.yStep, 10, 1e-12L);
    EXPECT_NEAR(ctx.frame.xStep, 0.2L, 1e-12L);
    auto lines = LinesOn(es, "18");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[0].y1, 10 + s.F1 * 0.2248090247334889L / 90 * 95, kTol);
    EXPECT_NEAR(lines[0].x1, 15 + s.s1 * 0.03937007874015748L / 1 * 95, kTol);
    EXPECT_NE(
        FindText(TextsOn(es, "18"), "F1 = " + ShowShort(session.config, Quantity::Force, s.F1)),
        std::nullopt);
}

TEST_F(SheetTest, WorkAndFrequencySheets) {
    Quiet();
    const SpringRecord& s = session.spring;
    auto work = Sheet(DiagramSheet::Ws);
    EXPECT_NE(FindText(TextsOn(work, "4"), "Federarbeit W"), std::nullopt);
    EXPECT_NE(FindText(TextsOn(work, "17"), "W [Nmm]"), std::nullopt);
    EXPECT_NE(FindText(TextsOn(work, "19"), "W02 = " + ShortFormat(session.config, s.W02)),
              std::nullopt);
    // The work curve of a linear spring ends near F s / 2 at Fc - dF.
    auto curve = LinesOn(work, "21");
    ASSERT_FALSE(curve.empty());
    const real F = s.Fc * 249 / 250, W = F * F / QuietRate() / 2;
    EXPECT_NEAR((curve.back().y2 - 10) / 95 * ctx.frame.ymax, W, 0.01L * W);

    auto freq = Sheet(DiagramSheet::Frequency);
    EXPECT_NE(FindText(TextsOn(freq, "17"), " s [mm]"), std::nullopt);
    EXPECT_NE(FindText(TextsOn(freq, "17"), "fe [Hz]"), std::nullopt);
    const auto fe0 = FindText(TextsOn(freq, "21"), "fe0= " + ShortFormat(session.config, s.fe0));
    ASSERT_TRUE(fe0.has_value());
    EXPECT_NEAR(fe0->x, 15 + 0.02L * 95, kTol);
}

TEST_F(SheetTest, QuickPageBlocks) {
    Quiet();
    session.messages.Add("Warnung: Probe");
    auto es = Sheet(DiagramSheet::Quick);
    auto texts = TextsOn(es);
    // Stress block at (78, 20), material block at (3, 40).
    const auto stress = FindText(texts, "Schubspannung");
    ASSERT_TRUE(stress.has_value());
    EXPECT_POINT(stress->x, stress->y, 78, 20);
    EXPECT_NE(
        FindText(texts, "tau1 = " + ShortFormat(session.config, session.spring.tau1) + " MPa"),
        std::nullopt);
    EXPECT_NE(FindText(texts, "tauz = 1064 MPa"), std::nullopt); // 0.56 x 1900
    const auto material = FindText(texts, "Werkstoff: Federstahl");
    ASSERT_TRUE(material.has_value());
    EXPECT_POINT(material->x, material->y, 3, 40);
    EXPECT_NE(FindText(texts, "Herstellung : Kaltgeformt (bis d = 17 mm)"), std::nullopt);
    EXPECT_NE(FindText(texts, "Beanspruchung : statisch oder quasistatisch"), std::nullopt);
    EXPECT_NE(FindText(texts, "Oberfl\x84"
                              "che : gezogen"),
              std::nullopt);
    EXPECT_NE(FindText(texts, "G  = 81500 MPa"), std::nullopt);
    EXPECT_EQ(FindText(texts, "Behandlung : Feder kugelgestrahlt"), std::nullopt);
    EXPECT_NE(FindText(texts, "Warnungen und Fehler"), std::nullopt);
    EXPECT_NE(FindText(texts, "Warnung: Probe"), std::nullopt);
    // The F-s diagram in 60 x 60 at (9, 50): the F1 mark from (s1, F1) to the y axis.
    auto lines = LinesOn(es, "18");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_POINT(lines[0].x1, lines[0].y1, 9 + 11.0L / 25 * 60, 50 + session.spring.F1 / 400 * 60);
    EXPECT_POINT(lines[0].x2, lines[0].y2, 9, 50 + session.spring.F1 / 400 * 60);
    // The frame is reset after the page.
    EXPECT_EQ(ctx.frame.W, 160);
    // The sketch: the front half of each of the 7 coils with a wire section at each end.
    EXPECT_EQ(CountOf(es, "CIRCLE"), 14);
    for (const Entity& e : es)
        if (e.type == "CIRCLE") {
            EXPECT_GE(e.Num(10), 82);
            EXPECT_LE(e.Num(10), 100);
        }
}

TEST_F(SheetTest, QuickPageTemperatureShotPeeningAndDynamicStresses) {
    examples::QuietSpring(session);
    session.spring.loadType = 2;
    session.spring.shotPeened = 'J';
    session.spring.theta = 80;
    CalculateSpring(session);
    ASSERT_FALSE(session.FatalFlag);
    auto texts = TextsOn(Sheet(DiagramSheet::Quick));
    EXPECT_NE(FindText(texts, "Behandlung : Feder kugelgestrahlt"), std::nullopt);
    EXPECT_NE(FindText(texts, "t  =    80 \xF8"
                              "C"),
              std::nullopt);
    EXPECT_NE(
        FindText(texts, "   G" + FixedFormat(session.config, session.spring.Gtheta, 6, 0) + " MPa"),
        std::nullopt);
    EXPECT_NE(FindText(texts, "Beanspruchung : dynamisch"), std::nullopt);
    EXPECT_NE(
        FindText(texts, "tauk2= " + ShortFormat(session.config, session.spring.tauk2) + " MPa"),
        std::nullopt);
    EXPECT_EQ(
        FindText(texts, "tau1 = " + ShortFormat(session.config, session.spring.tau1) + " MPa"),
        std::nullopt);
}

TEST_F(SheetTest, QuickPageKeepsEveryMessageOnTheSheet) {
    Quiet();
    session.spring.shotPeened = 'J';
    session.spring.theta = 80; // the longest material block
    for (int i = 0; i < MessageList::kSlots; ++i)
        session.messages.Add("Warnung: Nummer " + std::to_string(i));
    auto texts = TextsOn(Sheet(DiagramSheet::Quick));
    int found = 0;
    for (const Txt& t : texts) {
        if (t.text.rfind("Warnung: Nummer", 0) != 0) continue;
        ++found;
        EXPECT_GE(t.y, 1 - kTol) << t.text;
    }
    EXPECT_EQ(found, MessageList::kSlots);
}

TEST_F(SheetTest, QuickPageTableOfDesignedPoints) {
    designed::DesignedFromPoints(session);
    CalculateSpring(session);
    ASSERT_FALSE(session.FatalFlag);
    ASSERT_EQ(session.spring.definitionMode, 2);
    auto texts = TextsOn(Sheet(DiagramSheet::Quick));
    EXPECT_NE(FindText(texts, "   F"), std::nullopt);
    EXPECT_NE(FindText(texts, "  s"), std::nullopt);
    for (int i = 1; i <= session.spring.nchar; ++i)
        EXPECT_NE(FindText(texts, ShortFormat(session.config, session.spring.points[i].F)),
                  std::nullopt)
            << i;

    // Sections only (no design): no table.
    session.spring.definitionMode = 1;
    texts = TextsOn(Sheet(DiagramSheet::Quick));
    EXPECT_EQ(FindText(texts, "   F"), std::nullopt);
}

TEST_F(SheetTest, NoSketchFromTwentySections) {
    examples::QuietSpring(session);
    std::initializer_list<std::pair<real, real>> twenty = {
        {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1},
        {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}, {8, 1}};
    examples::SetSections(session.spring, twenty);
    session.spring.L1 = 150;
    session.spring.L2 = 120;
    session.spring.Lx = 130;
    CalculateSpring(session);
    ASSERT_FALSE(session.FatalFlag);
    EXPECT_EQ(CountOf(Sheet(DiagramSheet::Quick), "CIRCLE"), 0);
}

TEST_F(SheetTest, EverySheetStaysOnItsSheet) {
    Quiet();
    session.spring.TitleLine = "Druckfeder   Zeichn.Nr.: 4711";
    session.messages.Add("Warnung: Probe");
    for (int type = 1; type <= 7; ++type) {
        SCOPED_TRACE(type);
        auto es = Sheet(static_cast<DiagramSheet>(type));
        auto onSheet = [](real x, real y) {
            return x >= -kTol && x <= 160 + kTol && y >= -kTol && y <= 120 + kTol;
        };
        for (const Entity& e : es) {
            if (e.type == "LINE") {
                EXPECT_TRUE(onSheet(e.Num(10), e.Num(20)) && onSheet(e.Num(11), e.Num(21)));
            } else if (e.type == "CIRCLE") {
                EXPECT_TRUE(onSheet(e.Num(10) - e.Num(40), e.Num(20) - e.Num(40)) &&
                            onSheet(e.Num(10) + e.Num(40), e.Num(20) + e.Num(40)));
            } else if (e.type == "TEXT") {
                // The text box from its estimated width.
                const real n = static_cast<real>(e.Str(1).size());
                const real right = e.Num(10) + n * e.Num(40) * e.Num(41);
                EXPECT_TRUE(onSheet(e.Num(10), e.Num(20)) && onSheet(right, e.Num(20) + e.Num(40)))
                    << e.Str(1);
            }
        }
    }
}

TEST_F(SheetTest, FatalSpringShowsOnlyTheMessageList) {
    examples::QuietSpring(session);
    session.spring.nsec = 0;
    CalculateSpring(session);
    ASSERT_TRUE(session.FatalFlag);
    dialogs.Push(ScriptedDialogs::Chosen(session.messages.Count() + 1)); // "Weiter/zurück..."
    EXPECT_FALSE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Txt));
    EXPECT_FALSE(fs::exists(temp / "feder.txt"));
    EXPECT_TRUE(dialogs.unexpected.empty());
    bool listed = false;
    for (const std::string& shown : dialogs.shown)
        listed = listed || shown.find("Fatal  : n = 0 !") != std::string::npos;
    EXPECT_TRUE(listed);
}

TEST_F(SheetTest, SpringWithoutSectionsDrawsNothing) {
    Quiet();
    session.spring.nsec = 0; // sections removed after the calculation
    EXPECT_FALSE(DrawDiagramSheet(ctx, DiagramSheet::Quick, OutputKind::Txt));
    EXPECT_FALSE(fs::exists(temp / "feder.txt"));
}

TEST_F(SheetTest, SheetOfAnEmptyCharacteristicStaysDrawable) {
    Quiet();
    SpringRecord& s = session.spring;
    s.Fc = s.sc = 0; // nothing to scale
    const std::string txt = TxtSheet(DiagramSheet::Fs);
    EXPECT_EQ(ctx.frame.xmin, -1);
    EXPECT_EQ(ctx.frame.xmax, 1);
    EXPECT_EQ(txt.find("nan"), std::string::npos);
    EXPECT_EQ(txt.find("inf"), std::string::npos);
}

TEST_F(SheetTest, TxtSheetStartsWithTheSheetAndEndsWithEof) {
    Quiet();
    const std::string txt = TxtSheet(DiagramSheet::Fs);
    EXPECT_EQ(txt.rfind("MINMAX\t0.000000\t0.000000\t160.000000\t120.000000\r\n", 0), 0u);
    EXPECT_NE(txt.find("SECTION ENTITIES\r\n"), std::string::npos);
    EXPECT_EQ(txt.substr(txt.size() - 5), "EOF\r\n");
}

TEST_F(SheetTest, ScreenSheetFillsTheDisplayList) {
    Quiet();
    EXPECT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Screen));
    EXPECT_GT(display.Count(), 249u);
}

// ---- Limits dialog ----

TEST_F(SheetTest, LimitsDialogOnlyWhenTheUserChoosesTheOutput) {
    Quiet();
    session.config.enterDiagramLimits = true;
    int asked = 0;
    ctx.askLimits = [&](Session&, const DiagramLimitsQuestion&) {
        ++asked;
        return std::optional<DiagramLimits>();
    };
    // A given output kind (also the redraw's screen) asks nothing.
    EXPECT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Txt));
    // Two command-line parameters: no dialog either.
    session.arguments = {"feder.kra", "/CAD5:1"};
    dialogs.Push(ScriptedDialogs::Chosen(5));
    EXPECT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Ask));
    // Switched off in the configuration: no dialog.
    session.arguments.clear();
    session.config.enterDiagramLimits = false;
    dialogs.Push(ScriptedDialogs::Chosen(5));
    EXPECT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Ask));
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_TRUE(dialogs.script.empty());
    EXPECT_EQ(asked, 0);
}

TEST_F(SheetTest, LimitsAskedWithTheLastEnteredOnes) {
    Quiet();
    session.config.enterDiagramLimits = true;
    std::vector<std::string> offered;
    real typed = 600;
    ctx.askLimits = [&](Session& s, const DiagramLimitsQuestion& q) {
        offered.push_back(std::string(q.title) + ": " + ShortFormat(s.config, q.last.ymax));
        DiagramLimits entered = q.last;
        entered.ymax = typed;
        return std::optional<DiagramLimits>(entered);
    };
    dialogs.Push(ScriptedDialogs::Chosen(5));
    ASSERT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Ask));
    EXPECT_EQ(ctx.frame.ymax, 600);
    EXPECT_EQ(ctx.frame.xmax, 25);
    // The next time: what was entered for this diagram; another diagram starts from its own.
    typed = 700;
    dialogs.Push(ScriptedDialogs::Chosen(5));
    ASSERT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Ask));
    dialogs.Push(ScriptedDialogs::Chosen(5));
    ASSERT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Rs, OutputKind::Ask));
    EXPECT_EQ(offered, (std::vector<std::string>{"Federkennlinie: 400", "Federkennlinie: 600",
                                                 "Federrate R: 16"}));
    EXPECT_EQ(ctx.frame.ymax, 700);
}

TEST_F(SheetTest, CancelledLimitsKeepTheComputedOnes) {
    Quiet();
    session.config.enterDiagramLimits = true;
    ctx.askLimits = [](Session& s, const DiagramLimitsQuestion&) {
        s.AbortFlag = true;
        return std::optional<DiagramLimits>();
    };
    dialogs.Push(ScriptedDialogs::Chosen(5));
    ASSERT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Ask));
    EXPECT_EQ(ctx.frame.xmax, 25);
    EXPECT_EQ(ctx.frame.ymax, 400);
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_TRUE(ctx.enteredLimits.empty());
}

// ---- Menu and redraw ----

TEST_F(SheetTest, DiagramMenuRepeatsUntilBack) {
    Quiet();
    std::vector<OutputKind> goodman;
    ctx.goodmanDiagram = [&](OutputKind kind) { goodman.push_back(kind); };
    dialogs.Push(ScriptedDialogs::Chosen(1));   // F-s
    dialogs.Push(ScriptedDialogs::Chosen(5));   // as TXT
    dialogs.Push(ScriptedDialogs::Chosen(8));   // Goodman
    dialogs.Push(ScriptedDialogs::Chosen(3));   // R-s
    dialogs.Push(ScriptedDialogs::Cancelled()); // no output chosen: nothing drawn
    dialogs.Push(ScriptedDialogs::Chosen(10));  // "zurück..."
    ChooseDiagram(ctx);
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_TRUE(dialogs.script.empty());
    EXPECT_TRUE(fs::exists(temp / "feder.txt"));
    ASSERT_EQ(goodman.size(), 1u);
    EXPECT_EQ(goodman[0], OutputKind::Ask);
    EXPECT_FALSE(session.AbortFlag);
    // The menu lists the seven sheets, the two fatigue diagrams and "zurück...".
    auto shown = [&](const std::string& text) {
        return std::find(dialogs.shown.begin(), dialogs.shown.end(), text) != dialogs.shown.end();
    };
    EXPECT_TRUE(shown("Diagrammtyp w\xC3\xA4hlen"));
    EXPECT_TRUE(shown("  Federkennlinie  F-s"));
    EXPECT_TRUE(shown("  Federkennlinie  F-L"));
    EXPECT_TRUE(shown("  Goodman-Diagramm"));
    EXPECT_TRUE(shown("  Haigh-Goodman"));
    EXPECT_TRUE(shown("  zur\xC3\xBC"
                      "ck..."));
}

TEST_F(SheetTest, DiagramMenuEndsOnCancel) {
    Quiet();
    dialogs.Push(ScriptedDialogs::Cancelled());
    ChooseDiagram(ctx);
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_TRUE(dialogs.script.empty());
}

TEST_F(SheetTest, RedrawDrawsTheConfiguredResultGraphic) {
    Quiet();
    std::vector<std::string> calls;
    ctx.productionDrawing = [&](OutputKind k) {
        calls.push_back("drawing");
        EXPECT_EQ(k, OutputKind::Screen);
    };
    ctx.cutView = [&](OutputKind) { calls.push_back("cut"); };
    ctx.resultOverview = [&](OutputKind) { calls.push_back("overview"); };
    session.config.enterDiagramLimits = true; // never asked for a redraw
    struct Case {
        int graphic;
        const char* call; // "" = a diagram sheet on the screen
    };
    const Case cases[] = {{0, "overview"}, {1, ""}, {2, "overview"},
                          {3, "drawing"},  {4, ""}, {5, "cut"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.graphic);
        calls.clear();
        display.Clear();
        session.config.ResultGraphic = c.graphic;
        RedrawCurrentView(ctx);
        if (*c.call) {
            ASSERT_EQ(calls.size(), 1u);
            EXPECT_EQ(calls[0], c.call);
            EXPECT_TRUE(display.Empty());
        } else {
            EXPECT_TRUE(calls.empty());
            EXPECT_FALSE(display.Empty());
        }
    }
    EXPECT_TRUE(dialogs.unexpected.empty());
}

TEST_F(SheetTest, RedrawDoesNothingWhenItMayNot) {
    Quiet();
    session.config.ResultGraphic = 4;
    auto nothing = [&](const char* why) {
        SCOPED_TRACE(why);
        display.Clear();
        RedrawCurrentView(ctx);
        EXPECT_TRUE(display.Empty());
    };
    session.config.helpLevel = 0;
    nothing("help level 0");
    session.config.helpLevel = 1;
    session.messagesEnabled = false;
    nothing("messages suppressed");
    session.messagesEnabled = true;
    session.FatalFlag = true;
    nothing("fatal");
    session.FatalFlag = false;
    session.spring.nsec = 0;
    nothing("no sections");
    EXPECT_TRUE(dialogs.shown.empty());
}

// ---- Golden TXT sheets ----

using test::Utf8Lines;

void ExpectGolden(const std::string& txt, const std::string& name) {
    test::ExpectGoldenFile(Utf8Lines(txt), "diagrams", name);
}

TEST_F(SheetTest, GoldenFsSheetOfTheQuietSpring) {
    Quiet();
    session.spring.TitleLine = "Druckfeder   Zeichn.Nr.: 4711";
    session.spring.remark1 = "Probe";
    session.spring.ssteps = 25; // a short curve keeps the file readable
    ExpectGolden(TxtSheet(DiagramSheet::Fs), "fs_quiet.txt");
}

TEST_F(SheetTest, GoldenQuickSheetOfThreeSectionsUnderDynamicLoad) {
    examples::ThreeSections(session);
    examples::TypedSteel(session);
    session.spring.designation = "Ventilfeder";
    session.spring.drawingNumber = "K-0815";
    session.spring.remark2 = "zweite Zeile";
    session.spring.loadType = 2;
    session.spring.ssteps = 25;
    CalculateSpring(session);
    ASSERT_FALSE(session.FatalFlag);
    ExpectGolden(TxtSheet(DiagramSheet::Quick), "quick_three_sections.txt");
}

} // namespace
} // namespace kora

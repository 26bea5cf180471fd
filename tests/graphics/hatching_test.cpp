// Hatching: every hatch line of every face the drawings hatch stays inside its boundary, the
// worked examples, the layers of the three hatch modes and the failure messages.
#include "graphics/hatching.h"

#include "calc/session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace kora {
namespace {

constexpr real kPi = std::numbers::pi_v<real>;

struct Segment {
    real x1, y1, x2, y2;
    int layer;
};

// Records what the hatching draws.
struct FakeCad : HatchOutput {
    int layer = 0;
    std::vector<Segment> lines; // CadLine calls
    std::vector<std::vector<HatchPointXY>> polylines;
    std::vector<std::vector<real>> bulges;
    std::vector<int> polylineLayers;
    int circles = 0, arcs = 0, ellipses = 0, ellipseLayer = -1;
    bool open = false;

    void CadLayer(int n) override { layer = n; }
    void CadPolylineBegin(int) override {
        polylines.emplace_back();
        bulges.emplace_back();
        polylineLayers.push_back(layer);
        open = true;
    }
    void CadPolylineVertex(real bulge, real x, real y) override {
        EXPECT_TRUE(open);
        polylines.back().push_back({x, y});
        bulges.back().push_back(bulge);
    }
    void CadPolylineEnd() override { open = false; }
    void CadLine(real x1, real y1, real x2, real y2) override {
        lines.push_back({x1, y1, x2, y2, layer});
    }
    void CadCircle(real, real, real) override { ++circles; }
    void CadArc(real, real, real, real, real) override { ++arcs; }
    void CadEllipse(real, real, real, real) override {
        ++ellipses;
        ellipseLayer = layer;
    }
};

struct Rig {
    Session session;
    FakeCad cad;
    Hatching hatch{session, cad};
};

// Point in a closed polygon, or within eps of its boundary.
bool InsidePolygon(const std::vector<HatchPointXY>& poly, real x, real y, real eps = 1e-9L) {
    bool inside = false;
    const std::size_t n = poly.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const HatchPointXY a = poly[j], b = poly[i];
        const real ex = b.x - a.x, ey = b.y - a.y;
        const real len2 = ex * ex + ey * ey;
        real t = len2 > 0 ? ((x - a.x) * ex + (y - a.y) * ey) / len2 : 0;
        t = std::clamp(t, 0.0L, 1.0L);
        if (std::hypot(x - (a.x + t * ex), y - (a.y + t * ey)) <= eps) return true;
        if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) / (b.y - a.y) * ex) inside = !inside;
    }
    return inside;
}

template <class Inside>
void ExpectAllInside(const std::vector<Segment>& lines, Inside inside, const std::string& what) {
    ASSERT_FALSE(lines.empty()) << what;
    for (const Segment& s : lines) {
        const real mx = (s.x1 + s.x2) / 2, my = (s.y1 + s.y2) / 2;
        EXPECT_TRUE(inside(s.x1, s.y1)) << what << " start " << double(s.x1) << "," << double(s.y1);
        EXPECT_TRUE(inside(s.x2, s.y2)) << what << " end " << double(s.x2) << "," << double(s.y2);
        EXPECT_TRUE(inside(mx, my)) << what << " middle " << double(mx) << "," << double(my);
        EXPECT_GT(std::hypot(s.x2 - s.x1, s.y2 - s.y1), 0) << what;
    }
}

// Lines at 45 degrees: slope 1.
void ExpectAngle(const std::vector<Segment>& lines, real beta) {
    for (const Segment& s : lines) {
        const real a = std::atan2(s.y2 - s.y1, s.x2 - s.x1) * 180 / kPi;
        const real folded = std::fmod(a - beta + 360 + 90, 180.0L) - 90;
        EXPECT_NEAR(double(folded), 0, 1e-9);
    }
}

std::vector<HatchPointXY> CollectedPoints(const Hatching& h) {
    std::vector<HatchPointXY> pts;
    for (int i = 0; i < h.Count(); ++i)
        pts.push_back(h.Point(i));
    return pts;
}

// Wire sections of every cross-section (wire size d = 4, c = 0.2 d), sleeve walls and the
// mandrel, each checked against its true outline.
TEST(HatchingContainment, WireSections) {
    const real d = 4, c = 0.2L * d;
    {
        Rig r; // round wire
        r.hatch.HatchMode = 1;
        r.hatch.HatchCircle(c, d / 2, 30, 40);
        ExpectAllInside(
            r.cad.lines,
            [&](real x, real y) { return std::hypot(x - 30, y - 40) <= d / 2 + 1e-9L; }, "circle");
        ExpectAngle(r.cad.lines, 45);
        EXPECT_EQ(r.cad.circles, 1);
    }
    {
        Rig r; // elliptic wire: outline by HatchEllipse itself
        r.hatch.HatchMode = 2;
        const real a = 3, b = 1.5L;
        r.hatch.HatchEllipse(a, b, -10, 5, c);
        ExpectAllInside(
            r.cad.lines,
            [&](real x, real y) {
                const real u = (x + 10) / a, v = (y - 5) / b;
                return u * u + v * v <= 1 + 1e-9L;
            },
            "ellipse");
        // and inside the outline as drawn (points every 0.05 rad)
        std::vector<HatchPointXY> drawn;
        for (int k = 0; k < kEllipsePoints; ++k)
            drawn.push_back({-10 + a * std::cos(0.05L * k), 5 + b * std::sin(0.05L * k)});
        ExpectAllInside(
            r.cad.lines, [&](real x, real y) { return InsidePolygon(drawn, x, y); },
            "ellipse outline");
        ExpectAngle(r.cad.lines, 45);
        EXPECT_EQ(r.cad.ellipses, 1);
        EXPECT_EQ(r.cad.ellipseLayer, 5);
        EXPECT_TRUE(r.cad.polylines.empty());
    }
    struct Box {
        const char* name;
        real x1, y1, x2, y2;
    };
    const Box boxes[] = {{"square", 0, 0, 4, 4}, {"rectangle", 10, 2, 16, 4.5L}};
    for (const Box& b : boxes) {
        Rig r;
        r.hatch.HatchMode = 1;
        r.hatch.HatchRectangle(45, c, b.x1, b.y1, b.x2, b.y2);
        ExpectAllInside(
            r.cad.lines,
            [&](real x, real y) {
                return x >= b.x1 - 1e-9L && x <= b.x2 + 1e-9L && y >= b.y1 - 1e-9L &&
                       y <= b.y2 + 1e-9L;
            },
            b.name);
        ExpectAngle(r.cad.lines, 45);
    }
}

// True rounded rectangle with corner radius rr.
bool InsideRounded(real x, real y, real x1, real y1, real x2, real y2, real rr) {
    const real eps = 1e-9L;
    if (x < x1 - eps || x > x2 + eps || y < y1 - eps || y > y2 + eps) return false;
    const real cx = std::clamp(x, x1 + rr, x2 - rr), cy = std::clamp(y, y1 + rr, y2 - rr);
    return std::hypot(x - cx, y - cy) <= rr + eps;
}

TEST(HatchingContainment, OvalAndRoundedRectangleWire) {
    struct Case {
        const char* name;
        bool oval;
        real rr, x1, y1, x2, y2;
    };
    const Case cases[] = {
        {"oval flat", true, 0, 0, 0, 6, 3},
        {"oval upright", true, 0, 0, 0, 2, 5},
        {"oval square", true, 0, 0, 0, 3, 3},
        {"rounded", false, 0.6L, 1, 1, 7, 4},
        {"rounded big radius", false, 9, 0, 0, 5, 2},
        {"rounded reversed corners", false, 0.5L, 7, 4, 1, 1},
    };
    for (const Case& k : cases) {
        Rig r;
        r.hatch.HatchMode = 1;
        if (k.oval)
            r.hatch.HatchOval(45, 0.8L, k.x1, k.y1, k.x2, k.y2);
        else
            r.hatch.HatchRoundedRectangle(45, 0.8L, k.rr, k.x1, k.y1, k.x2, k.y2);
        const real x1 = std::min(k.x1, k.x2), x2 = std::max(k.x1, k.x2);
        const real y1 = std::min(k.y1, k.y2), y2 = std::max(k.y1, k.y2);
        const real rr = k.oval ? std::min(x2 - x1, y2 - y1) / 2
                               : std::min(k.rr, std::min(x2 - x1, y2 - y1) / 2);
        ExpectAllInside(
            r.cad.lines, [&](real x, real y) { return InsideRounded(x, y, x1, y1, x2, y2, rr); },
            k.name);
        const std::vector<HatchPointXY> pts = CollectedPoints(r.hatch);
        ExpectAllInside(
            r.cad.lines, [&](real x, real y) { return InsidePolygon(pts, x, y); }, k.name);
        // One boundary, with its quarter arcs, on layer 5; lines on layer 3.
        ASSERT_EQ(r.cad.polylines.size(), 1u) << k.name;
        EXPECT_EQ(r.cad.polylineLayers[0], 5);
        EXPECT_EQ(r.cad.polylines[0].size(), 9u);
        int arcs = 0;
        for (real b : r.cad.bulges[0])
            if (b != 0) {
                ++arcs;
                EXPECT_NEAR(double(b), 90, 1e-12);
            }
        EXPECT_EQ(arcs, 4);
        for (const Segment& s : r.cad.lines)
            EXPECT_EQ(s.layer, 3);
    }
}

TEST(HatchingContainment, SleeveWalls) {
    // Two walls of a sleeve around the spring, automatic distance, mode 2.
    struct Wall {
        real x1, y1, x2, y2;
    };
    const Wall walls[] = {{0, 0, 2.5L, 60}, {32.5L, 0, 35, 60}, {0, 0, 35, 3}};
    for (const Wall& w : walls) {
        Rig r;
        r.hatch.HatchMode = 2;
        r.hatch.HatchRectangle(45, 0, w.x1, w.y1, w.x2, w.y2);
        ExpectAllInside(
            r.cad.lines,
            [&](real x, real y) {
                return x >= w.x1 - 1e-9L && x <= w.x2 + 1e-9L && y >= w.y1 - 1e-9L &&
                       y <= w.y2 + 1e-9L;
            },
            "sleeve wall");
        EXPECT_TRUE(r.cad.polylines.empty()); // mode 2 draws no boundary
        for (const Segment& s : r.cad.lines)
            EXPECT_EQ(s.layer, 3);
    }
}

// A mandrel outline of 47 points: a stepped shaft with a collar, a groove and a rounded tip.
std::vector<HatchPointXY> Mandrel() {
    std::vector<HatchPointXY> p = {
        {0, 0},  {0, 12}, {8, 12}, {8, 9},  {10, 9}, {10, 10}, {14, 10},
        {14, 8}, {16, 7}, {40, 7}, {40, 6}, {42, 6}, {42, 7},  {60, 7},
    };
    // rounded tip: half circle of radius 7 around (60, 0), from 90 to -90 degrees
    for (int k = 1; k < 20; ++k) {
        const real a = kPi / 2 - kPi * k / 20;
        p.push_back({60 + 7 * std::cos(a), 7 * std::sin(a)});
    }
    const std::vector<HatchPointXY> tail = {
        {60, -7},  {42, -7},  {42, -6}, {40, -6}, {40, -7}, {16, -7}, {14, -8},
        {14, -10}, {10, -10}, {10, -9}, {8, -9},  {8, -12}, {0, -12}, {0, 0},
    };
    p.insert(p.end(), tail.begin(), tail.end());
    return p;
}

TEST(HatchingContainment, Mandrel) {
    const std::vector<HatchPointXY> outline = Mandrel();
    ASSERT_EQ(outline.size(), 47u);
    Rig r;
    r.hatch.HatchMode = 0;
    r.cad.layer = 4;
    r.hatch.HatchClear();
    for (const HatchPointXY& p : outline)
        ASSERT_TRUE(r.hatch.HatchPoint(p.x, p.y));
    r.hatch.HatchPolygon(0, 45, 0);
    EXPECT_EQ(r.session.messages.Count(), 0);
    ExpectAllInside(
        r.cad.lines, [&](real x, real y) { return InsidePolygon(outline, x, y); }, "mandrel");
    ExpectAngle(r.cad.lines, 45);
    for (const Segment& s : r.cad.lines)
        EXPECT_EQ(s.layer, 4); // mode 0: current layer
    ASSERT_EQ(r.cad.polylines.size(), 1u);
    EXPECT_EQ(r.cad.polylines[0].size(), 47u); // already closed: not closed twice
}

TEST(HatchingContainment, AnglesAndLinesThroughVertices) {
    // A non-convex outline at many angles, with spacings that put lines through vertices.
    const std::vector<HatchPointXY> star = {{0, 0}, {4, 2}, {8, 0}, {6, 4}, {8, 8},
                                            {4, 6}, {0, 8}, {2, 4}, {0, 0}};
    const real angles[] = {45, 30, 60, 90, 135, -45, 225, 10, 170};
    const real spacings[] = {0, 1, 0.5L, std::sqrt(2.0L)};
    for (real beta : angles)
        for (real c : spacings) {
            Rig r;
            for (const HatchPointXY& p : star)
                r.hatch.HatchPoint(p.x, p.y);
            r.hatch.HatchPolygon(0, beta, c);
            const std::string what =
                "beta " + std::to_string(double(beta)) + " c " + std::to_string(double(c));
            ExpectAllInside(
                r.cad.lines, [&](real x, real y) { return InsidePolygon(star, x, y); }, what);
            ExpectAngle(r.cad.lines, beta);
        }
}

TEST(HatchingExamples, SquareWithAutomaticDistance) {
    // c = 0 becomes round(0.2 x 10) = 2; lines 2 apart, i.e. 2 / cos 45 in the intercept.
    Rig r;
    r.hatch.HatchRectangle(45, 0, 0, 0, 10, 10);
    ASSERT_EQ(r.cad.lines.size(), 7u);
    std::vector<real> intercepts;
    for (const Segment& s : r.cad.lines)
        intercepts.push_back(s.y1 - s.x1);
    std::sort(intercepts.begin(), intercepts.end());
    for (std::size_t i = 1; i < intercepts.size(); ++i)
        EXPECT_NEAR(double(intercepts[i] - intercepts[i - 1]), 2 / std::cos(kPi / 4), 1e-12);
    EXPECT_NEAR(double(intercepts.front()), -10 + 2 / std::cos(kPi / 4), 1e-12);
    // The boundary: the four corners and the closing point.
    ASSERT_EQ(r.cad.polylines.size(), 1u);
    EXPECT_EQ(r.cad.polylines[0].size(), 5u);
}

TEST(HatchingExamples, TenLinesWithAutomaticDistance) {
    Rig r;
    for (const HatchPointXY& p : {HatchPointXY{0, 0}, {10, 0}, {10, 10}, {0, 10}})
        r.hatch.HatchPoint(p.x, p.y);
    r.hatch.HatchPolygon(4, 45, 0);
    // Intercepts from -10 to 10, step 2: -8 .. 8 drawn, 0 through two corners is a full
    // diagonal, 10 reaches the far corner only.
    std::vector<real> intercepts;
    for (const Segment& s : r.cad.lines)
        intercepts.push_back(s.y1 - s.x1);
    std::sort(intercepts.begin(), intercepts.end());
    ASSERT_EQ(intercepts.size(), 9u);
    for (std::size_t i = 0; i < intercepts.size(); ++i)
        EXPECT_NEAR(double(intercepts[i]), -8.0 + 2.0 * double(i), 1e-9);
}

TEST(HatchingExamples, ZeroDegreesDrawsOnlyTheBoundary) {
    for (real beta : {0.0L, 180.0L, -180.0L}) {
        Rig r;
        r.hatch.HatchMode = 1;
        r.hatch.HatchRectangle(beta, 1, 0, 0, 10, 5);
        EXPECT_TRUE(r.cad.lines.empty());
        EXPECT_EQ(r.cad.polylines.size(), 1u);
        EXPECT_EQ(r.cad.layer, 5); // no switch to the hatch layer
    }
}

TEST(HatchingExamples, NoSinglePointSegmentAtATip) {
    // A diamond whose tips lie exactly on hatch lines at 45 degrees.
    Rig r;
    for (const HatchPointXY& p : {HatchPointXY{0, 0}, {4, 4}, {0, 8}, {-4, 4}})
        r.hatch.HatchPoint(p.x, p.y);
    r.hatch.HatchPolygon(0, 45, std::sqrt(2.0L));
    for (const Segment& s : r.cad.lines)
        EXPECT_GT(std::hypot(s.x2 - s.x1, s.y2 - s.y1), 1e-9);
}

TEST(HatchingExamples, SectorChordsStayInTheSector) {
    struct Case {
        real start, end;
    };
    const Case cases[] = {{0, 90}, {30, 300}, {300, 60}, {-45, 45}, {90, 270}, {10, 11}};
    for (const Case& k : cases) {
        Rig r;
        r.hatch.HatchMode = 1;
        r.hatch.HatchSector(45, k.end, k.start, 0.5L, 5, 1, 2);
        real sweep = std::fmod(k.end - k.start, 360.0L);
        if (sweep < 0) sweep += 360;
        const auto inside = [&](real x, real y) {
            if (std::hypot(x - 1, y - 2) > 5 + 1e-9L) return false;
            if (std::hypot(x - 1, y - 2) < 1e-9L) return true;
            real a = std::fmod(std::atan2(y - 2, x - 1) * 180 / kPi - k.start, 360.0L);
            if (a < 0) a += 360;
            return a <= sweep + 1e-7L || a >= 360 - 1e-7L;
        };
        std::vector<Segment> hatch;
        for (const Segment& s : r.cad.lines)
            if (s.layer == 3) hatch.push_back(s);
        if (sweep > 20) ExpectAllInside(hatch, inside, "sector");
        for (const Segment& s : hatch) {
            EXPECT_TRUE(inside(s.x1, s.y1));
            EXPECT_TRUE(inside(s.x2, s.y2));
            EXPECT_TRUE(inside((s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2));
        }
        EXPECT_EQ(r.cad.arcs, 1);
        EXPECT_EQ(r.cad.lines.size() - hatch.size(), 2u); // the two radii on layer 5
    }
}

TEST(HatchingExamples, CircleIsAFullCircleWithChords) {
    Rig r;
    r.hatch.HatchCircle(1, 5, 0, 0);
    EXPECT_EQ(r.cad.circles, 1);
    EXPECT_EQ(r.cad.arcs, 0);
    ASSERT_EQ(r.cad.lines.size(), 9u); // offsets -4 .. 4
    for (const Segment& s : r.cad.lines) {
        EXPECT_NEAR(double(std::hypot(s.x1, s.y1)), 5, 1e-9);
        EXPECT_NEAR(double(std::hypot(s.x2, s.y2)), 5, 1e-9);
    }
}

TEST(HatchingModes, LayersOfTheThreeModes) {
    struct Case {
        int mode;
        std::size_t boundaries;
        int boundaryLayer, hatchLayer;
    };
    const Case cases[] = {{0, 1, 7, 7}, {1, 1, 5, 3}, {2, 0, -1, 3}};
    // A plain polygon and a boundary with arcs (collected through HatchBoundaryBegin..End).
    for (const bool rounded : {false, true})
        for (const Case& k : cases) {
            Rig r;
            r.cad.layer = 7;
            r.hatch.HatchMode = k.mode;
            if (rounded)
                r.hatch.HatchRoundedRectangle(45, 1, 1, 0, 0, 5, 5);
            else
                r.hatch.HatchRectangle(45, 1, 0, 0, 5, 5);
            ASSERT_EQ(r.cad.polylines.size(), k.boundaries) << rounded << " mode " << k.mode;
            if (k.boundaries) {
                EXPECT_EQ(r.cad.polylineLayers[0], k.boundaryLayer);
            }
            ASSERT_FALSE(r.cad.lines.empty());
            for (const Segment& s : r.cad.lines)
                EXPECT_EQ(s.layer, k.hatchLayer) << rounded << " mode " << k.mode;
            EXPECT_EQ(r.hatch.HatchMode, k.mode);
        }
}

TEST(HatchingModes, BoundaryPolylineCarriesArcsOnce) {
    Rig r;
    r.hatch.HatchMode = 0;
    r.hatch.HatchBoundaryBegin(1);
    r.hatch.HatchBoundaryVertex(0, 0, 0);
    r.hatch.HatchBoundaryVertex(kPi, 10, 0); // half circle from (10, 0) to (0, 0) above
    r.hatch.HatchBoundaryVertex(0, 0, 0);
    // max(3, round(180 / 15)) = 12 points along the arc.
    EXPECT_EQ(r.hatch.Count(), 3 + 12);
    for (int i = 2; i < 14; ++i) {
        const HatchPointXY p = r.hatch.Point(i);
        EXPECT_NEAR(double(std::hypot(p.x - 5, p.y)), 5, 1e-12);
        EXPECT_GT(double(p.y), 0); // counter-clockwise from (10, 0): above the chord
    }
    r.hatch.HatchBoundaryEnd(0, 45, 1);
    ASSERT_EQ(r.cad.polylines.size(), 1u); // not drawn a second time
    EXPECT_NEAR(double(r.cad.bulges[0][1]), 180, 1e-12);
    const std::vector<HatchPointXY> pts = CollectedPoints(r.hatch);
    ExpectAllInside(
        r.cad.lines, [&](real x, real y) { return InsidePolygon(pts, x, y); }, "half disc");
    EXPECT_EQ(r.hatch.HatchMode, 0);
}

TEST(HatchingFailures, FiftyPointsAtMost) {
    Rig r;
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(r.hatch.HatchPoint(i, i % 2));
    EXPECT_FALSE(r.hatch.HatchPoint(99, 99));
    EXPECT_EQ(r.hatch.Count(), 50);
    EXPECT_TRUE(r.session.messages.Contains("Schraffurfehler"));
    EXPECT_FALSE(r.session.AbortFlag);
}

TEST(HatchingFailures, NonFinitePointIsRefused) {
    Rig r;
    EXPECT_FALSE(r.hatch.HatchPoint(std::nan(""), 1));
    EXPECT_EQ(r.hatch.Count(), 0);
    EXPECT_TRUE(r.session.messages.Contains("Schraffurfehler"));
}

TEST(HatchingFailures, TooManyPointsForThePolygon) {
    for (int n : {51, 60, -1, 5}) {
        Rig r;
        for (int i = 0; i < 4; ++i)
            r.hatch.HatchPoint(i, i * i);
        r.hatch.HatchPolygon(n, 45, 1);
        EXPECT_TRUE(r.session.messages.Contains("Fatal  : n schraff !")) << n;
        EXPECT_TRUE(r.cad.lines.empty());
        EXPECT_TRUE(r.cad.polylines.empty());
    }
}

TEST(HatchingFailures, TooManyIntersectionsAbort) {
    // A comb: a nearly horizontal line crosses its twelve teeth.
    Rig r;
    r.hatch.HatchPoint(0, 0);
    for (int i = 0; i < 12; ++i) {
        r.hatch.HatchPoint(2 * i + 0.5L, 10);
        r.hatch.HatchPoint(2 * i + 1.5L, 1);
    }
    r.hatch.HatchPoint(25, 0);
    r.hatch.HatchPolygon(0, 1, 0.5L);
    EXPECT_TRUE(r.session.messages.Contains("Fatal  : schraff schnittp"));
    EXPECT_TRUE(r.session.AbortFlag);
}

TEST(HatchingFailures, BrokenDistancesNeverHang) {
    struct Case {
        real beta, c;
    };
    const Case cases[] = {{45, -1}, {135, 1}, {225, 1}, {-60, 1}, {45, 1e-12L}};
    for (const Case& k : cases) {
        Rig r;
        r.hatch.HatchRectangle(k.beta, k.c, 0, 0, 10, 10);
        if (k.c > 1e-6L || k.c < 0) {
            EXPECT_FALSE(r.cad.lines.empty()) << double(k.beta);
            EXPECT_LE(r.cad.lines.size(), 20u);
        } else {
            EXPECT_TRUE(r.session.messages.Contains("Schraffurfehler"));
        }
    }
    Rig r;
    r.hatch.HatchCircle(1e-12L, 5, 0, 0);
    EXPECT_TRUE(r.session.messages.Contains("Schraffurfehler"));
}

// The adapter forwards to a CAD object with the operations of the CAD layer.
struct CadLike {
    std::vector<std::string> calls;
    void CadLayer(int n) { calls.push_back("layer " + std::to_string(n)); }
    void CadPolylineBegin(int) { calls.push_back("begin"); }
    void CadPolylineVertex(real, real, real) { calls.push_back("vertex"); }
    void CadPolylineEnd() { calls.push_back("end"); }
    void CadLine(real, real, real, real) { calls.push_back("line"); }
    void CadCircle(real, real, real) { calls.push_back("circle"); }
    void CadArc(real, real, real, real, real) { calls.push_back("arc"); }
    void CadEllipse(real, real, real, real) { calls.push_back("ellipse"); }
};

TEST(HatchingModes, AdapterForwardsToTheCadLayer) {
    Session session;
    CadLike cad;
    HatchOutputFor<CadLike> out(cad);
    Hatching hatch(session, out);
    hatch.HatchMode = 1;
    hatch.HatchRectangle(45, 4, 0, 0, 10, 10);
    ASSERT_GE(cad.calls.size(), 9u);
    EXPECT_EQ(cad.calls[0], "layer 5");
    EXPECT_EQ(cad.calls[1], "begin");
    EXPECT_EQ(cad.calls[7], "end");
    EXPECT_EQ(cad.calls[8], "layer 3");
    EXPECT_EQ(cad.calls.back(), "line");
}

} // namespace
} // namespace kora

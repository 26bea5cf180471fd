// The strength diagrams (tau-d, k, Goodman, Haigh, relaxation, Gauss), read back from the DXF
// entities they write (layer, points, texts), from the display list and from a golden TXT file.
#include "base/codepage.h"
#include "base/numformat.h"
#include "cad_test_support.h"
#include "calc/session.h"
#include "common/example_springs.h"
#include "common/golden.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/diagram.h"
#include "graphics/diagram_sheets.h"
#include "graphics/display_list.h"
#include "graphics/dxf_block_reader.h"
#include "graphics/strength_diagrams.h"
#include "platform/scripted_dialogs.h"
#include "strength/fatigue.h"
#include "strength/reject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;
using cadtest::ReadFile;
using Type = DxfEntity::Type;

constexpr real kTol = 2e-6L; // six decimals in the file

// ---- DXF entities read back ----

struct Drawing {
    std::vector<DxfEntity> entities;

    std::vector<const DxfEntity*> Of(Type type, int layer = -1) const {
        std::vector<const DxfEntity*> out;
        for (const DxfEntity& e : entities)
            if (e.type == type && (layer < 0 || e.layer == std::to_string(layer)))
                out.push_back(&e);
        return out;
    }
    std::vector<const DxfEntity*> Lines(int layer) const { return Of(Type::Line, layer); }
    const DxfEntity* Text(const std::string& text) const {
        for (const DxfEntity& e : entities)
            if (e.type == Type::Text && e.text == text) return &e;
        return nullptr;
    }
    std::vector<std::string> TextsAt(real x) const {
        std::vector<std::string> out;
        for (const DxfEntity& e : entities)
            if (e.type == Type::Text && std::fabs(e.x[0] - x) < kTol) out.push_back(e.text);
        return out;
    }
    // A line between the two sheet points, in either direction.
    const DxfEntity* Line(int layer, real x1, real y1, real x2, real y2, real tol = 1e-5L) const {
        for (const DxfEntity* e : Lines(layer)) {
            auto near = [&](real ax, real ay, real bx, real by) {
                return std::fabs(ax - bx) < tol && std::fabs(ay - by) < tol;
            };
            if ((near(e->x[0], e->y[0], x1, y1) && near(e->x[1], e->y[1], x2, y2)) ||
                (near(e->x[0], e->y[0], x2, y2) && near(e->x[1], e->y[1], x1, y1)))
                return e;
        }
        return nullptr;
    }
};

// A frame on the sheet with its data ranges: data point -> sheet point.
struct Frame {
    real x0, y0, W, H, xmin, xmax, ymin, ymax;
    real X(real x) const { return x0 + (x - xmin) / (xmax - xmin) * W; }
    real Y(real y) const { return y0 + (y - ymin) / (ymax - ymin) * H; }
    real DataX(real sx) const { return xmin + (sx - x0) / W * (xmax - xmin); }
    real DataY(real sy) const { return ymin + (sy - y0) / H * (ymax - ymin); }
};

// Frames of the fatigue diagrams (90 x 85 at (15, 20)) and of the relaxation diagrams
// (100 x 90 at (15, 10)) over the given axes.
Frame Fatigue(real top) {
    return {15, 20, 90, 85, 0, top, 0, top};
}

// The material of the tests: Rm = 1800 - 400 log10(d), fatigue diagram tauo = 800 - 100 L,
// tauh = 450 - 60 L, m = 0.5 with L = log10(d) (not shot peened).
void SpringSteel(KORWST_Record& m) {
    m.name1 = "Federstahldraht";
    m.name3 = "DH";
    m.Rm0 = 1800;
    m.d0 = 1;
    m.kRm = 400;
    m.dmin = 0.3;
    m.dmax = 10;
    m.fatigueD0 = 1;
    m.tauo0 = 800;
    m.kTauo = 100;
    m.tauh0 = 450;
    m.kTauh = 60;
    m.mSlope = 0.5;
}

// The fatigue diagram of SpringSteel at d, from the row's formulas.
struct Diagram {
    real tauo, tauh, m, lim;
};
Diagram SteelAt(real d) {
    const real L = std::log10(d);
    Diagram g{800 - 100 * L, 450 - 60 * L, 0.5L, 0};
    g.lim = (g.tauo - g.tauh) / g.m;
    return g;
}

// A relaxation row: curve k from (300, a) to (900, b).
void RelaxationRow(Session& session) {
    RelaxationRecord& r = session.CurrentRelaxation;
    r.materialNumber = 3;
    r.name = "Federstahl";
    r.T1 = 20;
    r.T2 = 100;
    r.d1 = 1;
    r.d2 = 10;
    const double relax[8] = {2, 10, 1.5, 8, 5, 20, 4, 16};
    for (int i = 0; i < 8; ++i)
        r.points[i] = {i % 2 == 0 ? 300 : 900, relax[i]};
    session.relaxationFound = true;
}

class StrengthDiagramTest : public ::testing::Test {
  protected:
    StrengthDiagramTest()
        : session(dialogs), display(session), cad(session, &display), ctx(session, cad) {
        cad.SetTempFolder(temp.str());
        cad.SetCommandLineRun(true);
        cad.SetSpringFile(temp / "feder.kra");
    }
    // d = 3, Dm = 22, one section of 5 coils, between L1 = 40 and L2 = 33 under dynamic load, in
    // the spring steel of the table (material kind 0).
    void SteelSpring() {
        examples::SingleSection(session);
        SpringRecord& s = session.spring;
        s.L1 = 40;
        s.L2 = 33;
        s.loadType = 2;
        s.materialKind = 0;
        s.materialName = "Federstahldraht";
        s.G = 81500;
        s.E = 206000;
        s.rho = 7.85L;
        SpringSteel(session.CurrentMaterial);
        CalculateSpring(session);
        ASSERT_FALSE(session.FatalFlag);
    }
    // Draws as DXF and reads the entities back.
    Drawing Dxf(const std::function<bool(OutputKind)>& draw) {
        fs::remove(temp / "feder.dxf");
        EXPECT_TRUE(draw(OutputKind::Dxf));
        Drawing d;
        EXPECT_EQ(ReadDxfEntities(temp / "feder.dxf", d.entities), DxfReadStatus::Ok);
        return d;
    }
    Drawing Goodman() {
        return Dxf([&](OutputKind k) { return ShowGoodmanDiagram(ctx, k); });
    }
    Drawing Haigh() {
        return Dxf([&](OutputKind k) { return ShowHaighDiagram(ctx, k); });
    }
    Drawing Relaxation(int type) {
        return Dxf(
            [&](OutputKind k) { return ShowRelaxationDiagram(ctx, type, session.spring.F2, k); });
    }
    std::string Short(real x) const { return ShortFormat(session.config, x); }

    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    DisplayList display;
    CadOutput cad;
    DiagramContext ctx;
};

// ---- Goodman and Haigh ----

TEST_F(StrengthDiagramTest, GoodmanLinesFromTheMaterialAtTheWireDiameter) {
    SteelSpring();
    const Diagram g = SteelAt(3);
    const Frame f = Fatigue(1200); // NiceScale(0, 1200): step 200, 0 .. 1200
    const real g6 = 1.25L * g.tauh, h = (g.tauo - g6) / g.m;
    const real g5 = 1.5L * g.tauh, u = (g.tauo - g5) / g.m;
    ASSERT_LT(g5, g.tauo); // both shorter lines start below tauo
    const Drawing d = Goodman();
    struct Segment {
        int layer;
        real x1, y1, x2, y2;
    };
    const Segment segments[] = {
        {21, 0, g.tauh, g.lim, g.tauo}, {21, g.lim, g.tauo, g.tauo, g.tauo}, // 10^7
        {18, 0, g6, h, g.tauo},         {18, h, g.tauo, g.lim, g.tauo},      // 10^6
        {20, 0, g5, u, g.tauo},         {20, u, g.tauo, h, g.tauo},          // 10^5
        {17, 0, 0, 1200, 1200},                                              // the diagonal
    };
    for (const Segment& s : segments) {
        SCOPED_TRACE(testing::Message() << "layer " << s.layer << " from " << s.x1 << "," << s.y1);
        EXPECT_NE(d.Line(s.layer, f.X(s.x1), f.Y(s.y1), f.X(s.x2), f.Y(s.y2)), nullptr);
    }
    EXPECT_EQ(d.Lines(21).size(), 2u);
    EXPECT_EQ(d.Lines(18).size(), 2u);
    EXPECT_EQ(d.Lines(20).size(), 2u);
    // Each label beside the corner of its line, stacked above tauo.
    struct Label {
        const char* text;
        real x;
    };
    const Label labels[] = {{"  10 Mio.Lastsp.", g.lim}, {"   1Mio.", h}, {" 100000", u}};
    real previousY = 0;
    for (const Label& l : labels) {
        const DxfEntity* t = d.Text(l.text);
        ASSERT_NE(t, nullptr) << l.text;
        EXPECT_NEAR(t->x[0], f.X(l.x), kTol);
        EXPECT_GT(t->y[0], f.Y(g.tauo));
        EXPECT_GT(t->y[0], previousY + 2); // clear of the label below
        previousY = t->y[0];
    }
    // Axes, title and the lines below the diagram.
    for (const char* text :
         {"Goodman-Diagramm", "  tau u", "tau o", "Dauerfestigkeitsschaubild (Goodman-Diagramm)",
          "Federstahldraht (DH) nicht kugelgestrahlt"})
        EXPECT_NE(d.Text(text), nullptr) << text;
    // The evaluation ran again: tauhz of this diagram at tauk1.
    const SpringRecord& s = session.spring;
    EXPECT_NEAR(s.tauhz, g.m * s.tauk1 + g.tauh - s.tauk1, 1e-9L);
}

TEST_F(StrengthDiagramTest, WorkingStrokeBetweenTauk1AndTauk2) {
    SteelSpring();
    const SpringRecord& s = session.spring;
    // The spring's corrected stresses from the stress formula.
    const real w = 22.0L / 3, k = 1 + 1.25L / w + 0.875L / (w * w) + 1 / (w * w * w);
    const real c = 8 * 22 / (3.14159265358979323846L * 27);
    const real tauk1 = k * c * s.F1, tauk2 = k * c * s.F2;
    ASSERT_NEAR(s.tauk1, tauk1, 1e-9L);
    ASSERT_NEAR(s.tauk2, tauk2, 1e-9L);
    const Frame f = Fatigue(1200);
    struct Case {
        bool haigh;
        real lower, upper; // y of the two marks
        const char* upperLabel;
    };
    const Case cases[] = {{false, tauk1, tauk2, "tau k2"}, {true, 0, tauk2 - tauk1, "tau kh"}};
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.haigh ? "Haigh" : "Goodman");
        const Drawing d = cs.haigh ? Haigh() : Goodman();
        const real x = f.X(tauk1);
        EXPECT_NE(d.Line(19, x, f.Y(cs.lower), x, f.Y(cs.upper)), nullptr);
        // Circle markers at both ends.
        int marks = 0;
        for (const DxfEntity* e : d.Of(Type::Circle, 19))
            if (std::fabs(e->x[0] - x) < kTol && (std::fabs(e->y[0] - f.Y(cs.lower)) < kTol ||
                                                  std::fabs(e->y[0] - f.Y(cs.upper)) < kTol))
                ++marks;
        EXPECT_EQ(marks, 2);
        const DxfEntity* k1 = d.Text("tau k1");
        const DxfEntity* k2 = d.Text(cs.upperLabel);
        ASSERT_NE(k1, nullptr);
        ASSERT_NE(k2, nullptr);
        EXPECT_GT(k1->x[0], x);
        EXPECT_NEAR(k2->y[0], f.Y(cs.upper), kTol);
    }
}

TEST_F(StrengthDiagramTest, HaighLinesAreUpperMinusLowerStress) {
    SteelSpring();
    const Diagram g = SteelAt(3);
    const real g6 = 1.25L * g.tauh, h = (g.tauo - g6) / g.m;
    const real g5 = 1.5L * g.tauh, u = (g.tauo - g5) / g.m;
    const Frame f = Fatigue(1200);
    const Drawing d = Haigh();
    EXPECT_NE(d.Line(21, f.X(0), f.Y(g.tauh), f.X(g.lim), f.Y(g.tauo - g.lim)), nullptr);
    EXPECT_NE(d.Line(21, f.X(g.lim), f.Y(g.tauo - g.lim), f.X(g.tauo), f.Y(0)), nullptr);
    EXPECT_NE(d.Line(18, f.X(0), f.Y(g6), f.X(h), f.Y(g.tauo - h)), nullptr);
    EXPECT_NE(d.Line(18, f.X(h), f.Y(g.tauo - h), f.X(g.lim), f.Y(g.tauo - g.lim)), nullptr);
    EXPECT_NE(d.Line(20, f.X(0), f.Y(g5), f.X(u), f.Y(g.tauo - u)), nullptr);
    EXPECT_NE(d.Line(20, f.X(u), f.Y(g.tauo - u), f.X(h), f.Y(g.tauo - h)), nullptr);
    // No diagonal in the Haigh diagram.
    EXPECT_EQ(d.Line(17, f.X(0), f.Y(0), f.X(1200), f.Y(1200)), nullptr);
    // The 10^7 label at the stroke axis, written along its first segment.
    const DxfEntity* label = d.Text("10 Mio.Lastsp.");
    ASSERT_NE(label, nullptr);
    const real slope = (g.tauo - g.lim - g.tauh) / g.lim; // in data units
    const real expected =
        std::atan(slope * (85.0L / 1200) / (90.0L / 1200)) * 180 / 3.14159265358979323846L;
    EXPECT_NEAR(label->angle, expected, 0.006L); // two decimals in the file
    EXPECT_LT(label->x[0], f.X(50));
    EXPECT_NEAR(f.DataY(label->y[0]), g.tauh + slope * f.DataX(label->x[0]) + 12, 1e-3L);
    for (const char* text : {"1 Mio.Lastsp.", "100000 Lastsp.", "Haigh-Goodman-Diagramm", "tau h",
                             "Federstahldraht (DH) nicht kugelgestrahlt"})
        EXPECT_NE(d.Text(text), nullptr) << text;
    EXPECT_EQ(d.Text("Dauerfestigkeitsschaubild (Goodman-Diagramm)"), nullptr);
}

TEST_F(StrengthDiagramTest, AxesReachTauoAboveTwelveHundred) {
    SteelSpring();
    session.CurrentMaterial.tauo0 = 1500; // tauo = 1452 at d = 3
    const Drawing d = Goodman();
    // NiceScale(0, 1452): step 200, axis 0 .. 1600; the 10^7 line ends on the diagonal at tauo.
    const real tauo = 1500 - 100 * std::log10(3.0L);
    const Frame f = Fatigue(1600);
    EXPECT_NE(d.Text("1600"), nullptr);
    const auto lines = d.Lines(21);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[1]->x[1], f.X(tauo), 1e-5L);
    EXPECT_NEAR(lines[1]->y[1], f.Y(tauo), 1e-5L);
}

TEST_F(StrengthDiagramTest, SideTextOfTheFatigueDiagrams) {
    // A spring set by hand: d = 3, tauk1 300, tauk2 500, the fatigue values below.
    auto base = [](SpringRecord& s) {
        s.d = 3;
        s.tauk1 = 300;
        s.tauk2 = 500;
        s.taukh = 200;
        s.tauz = 901.4L;
        s.E = 206000;
        s.G = 81500;
        s.rho = 7.85L;
        s.Rm = 1609.6L;
        s.loadType = 2;
        s.f = 10;
        s.fatigueTolMin = s.fatigueTolMax = 0;
    };
    const std::vector<std::string> head = {
        "d  = 3 mm",      "tauk1= 300 MPa", "tauk2= 500 MPa",      "taukh= 200 MPa", "",
        "E = 206000 MPa", "G = 81500 MPa",  "rho= 7.85 kg/dm\xFC", "Rm =  1610 MPa",
    };
    struct Case {
        const char* name;
        real tauhz, Sh, N, Nmin, Nmax, tol, f;
        word loadType;
        std::vector<std::string> tail;
    };
    const Case cases[] = {
        {"enduring",
         250.4L,
         1.25L,
         3e7L,
         2e7L,
         4e7L,
         0,
         10,
         2,
         {"tauoz= 752 MPa", "tauhz= 250 MPa", "", "N > 10 Mio.Lastsp."}},
        // 5e6 / (10 * 3600) = 138.9 h, 2e7 / 36000 = 555.6 h
        {"enduring, tolerance reaching below 10^7",
         250.4L,
         1.25L,
         1e7L,
         5e6L,
         2e7L,
         5,
         10,
         2,
         {"tauoz= 752 MPa", "tauhz= 250 MPa", "tol. =  \xF1 5 %", "", "N > 10 Mio.Lastsp.",
          "(5 .. 20 Mio.Lastsp.)", "tN= 138.9 .. 555.6 h"}},
        {"enduring without a load frequency",
         250.4L,
         1.25L,
         1e7L,
         5e6L,
         2e7L,
         5,
         0,
         2,
         {"tauoz= 752 MPa", "tauhz= 250 MPa", "tol. =  \xF1 5 %", "", "N > 10 Mio.Lastsp.",
          "(5 .. 20 Mio.Lastsp.)"}},
        // 2e6 / 36000 = 55.56 h, 1e6 / 36000 = 27.78 h, 4e6 / 36000 = 111.1 h
        {"breaking",
         150,
         0.75L,
         2e6L,
         1e6L,
         4e6L,
         5,
         10,
         2,
         {"tauoz= 752 MPa", "tauhz= 150 MPa", "tol. =  \xF1 5 %", "", "N = 2 Mio.Lastsp.",
          "(1 .. 4 Mio.Lastsp.)", "tN= 55.56 h  (f=10/s)", "(27.78 .. 111.1 h)"}},
        {"breaking without tolerance",
         150,
         0.75L,
         2e6L,
         2e6L,
         2e6L,
         0,
         10,
         2,
         {"tauoz= 752 MPa", "tauhz= 150 MPa", "", "N = 2 Mio.Lastsp.", "tN= 55.56 h  (f=10/s)"}},
        {"breaking without a load frequency",
         150,
         0.75L,
         2e6L,
         2e6L,
         2e6L,
         0,
         0,
         2,
         {"tauoz= 752 MPa", "tauhz= 150 MPa", "", "N = 2 Mio.Lastsp."}},
        {"no permissible stroke", 0, 0, 0, 0, 0, 0, 10, 2, {"tauz = 901 MPa", ""}},
        {"static", 250.4L, 5, 0, 0, 0, 0, 10, 1, {"tauoz= 752 MPa", "tauhz= 250 MPa", ""}},
    };
    FatigueResult r;
    r.tauo = 752.3L;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpringRecord& s = session.spring;
        base(s);
        s.tauhz = c.tauhz;
        s.Sh = c.Sh;
        s.N = c.N;
        s.Nmin = c.Nmin;
        s.Nmax = c.Nmax;
        s.fatigueTolMin = -c.tol;
        s.fatigueTolMax = c.tol;
        s.f = c.f;
        s.loadType = c.loadType;
        std::vector<std::string> expected = head;
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(FatigueSideText(session, r), expected);
    }
}

TEST_F(StrengthDiagramTest, SideTextDrawnBesideTheDiagram) {
    SteelSpring();
    for (bool haigh : {false, true}) {
        SCOPED_TRACE(haigh);
        const Drawing d = haigh ? Haigh() : Goodman();
        const FatigueResult r = FatigueEvaluation(session);
        const std::vector<std::string> lines = FatigueSideText(session, r);
        std::vector<std::string> drawn = d.TextsAt(115);
        std::vector<std::string> expected;
        for (const std::string& l : lines)
            if (!l.empty()) expected.push_back(l);
        EXPECT_EQ(drawn, expected);
        // From (115, 102), 1.6 x 2.5 mm apart.
        const DxfEntity* first = d.Text(lines[0]);
        const DxfEntity* second = d.Text(lines[1]);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_NEAR(first->y[0], 102, kTol);
        EXPECT_NEAR(second->y[0], 102 - 4, kTol);
        EXPECT_NEAR(first->height, 2.5L, kTol);
    }
}

TEST_F(StrengthDiagramTest, MissingFatigueDataIsSaidInTheDiagram) {
    struct Case {
        const char* name;
        std::function<void(Session&)> change;
        const char* note;
        bool message; // "Fatal  : KORWST Goodman" in the list
    };
    const Case cases[] = {
        {"no fatigue data",
         [](Session& s) {
             KORWST_Record& m = s.CurrentMaterial;
             m.tauo0 = m.kTauo = m.tauh0 = m.kTauh = 0;
             m.mSlope = 0;
         },
         "F\x81r diesen Werkstoff sind keine Daten gespeichert", false},
        {"typed material",
         [](Session& s) {
             s.spring.materialKind = 11;
             s.spring.Rm = 1600;
             s.spring.tauz = 896;
         },
         "No data for self-defined materials", false},
        {"no slope", [](Session& s) { s.CurrentMaterial.mSlope = 0; }, "Fatal  : KORWST Goodman",
         true},
    };
    for (const Case& c : cases) {
        for (bool haigh : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (haigh ? " Haigh" : " Goodman"));
            session = Session(dialogs);
            SteelSpring();
            c.change(session);
            const Drawing d = haigh ? Haigh() : Goodman();
            EXPECT_NE(d.Text(c.note), nullptr);
            EXPECT_TRUE(d.Lines(21).empty());
            EXPECT_TRUE(d.Lines(18).empty());
            EXPECT_TRUE(d.Lines(20).empty());
            EXPECT_EQ(session.spring.tauhz, 0);
            EXPECT_EQ(session.messages.Contains("Fatal  : KORWST Goodman"), c.message);
            EXPECT_FALSE(session.FatalFlag);      // the next drawing is not blocked
            EXPECT_NE(d.Text("tau k1"), nullptr); // the working stroke is still shown
        }
    }
}

TEST_F(StrengthDiagramTest, DiagramMenuDrawsGoodmanAndHaigh) {
    SteelSpring();
    dialogs.Push(ScriptedDialogs::Chosen(8));  // "Goodman-Diagramm"
    dialogs.Push(ScriptedDialogs::Chosen(5));  // as TXT
    dialogs.Push(ScriptedDialogs::Chosen(9));  // "Haigh-Goodman"
    dialogs.Push(ScriptedDialogs::Chosen(1));  // as DXF
    dialogs.Push(ScriptedDialogs::Chosen(10)); // "zurück..."
    ChooseDiagram(ctx);
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_TRUE(dialogs.script.empty());
    EXPECT_NE(ReadFile(temp / "feder.txt").find("Goodman-Diagramm"), std::string::npos);
    EXPECT_NE(ReadFile(temp / "feder.dxf").find("Haigh-Goodman-Diagramm"), std::string::npos);
}

TEST_F(StrengthDiagramTest, FatigueDiagramsAskForLimitsLikeTheSheets) {
    SteelSpring();
    session.config.enterDiagramLimits = true;
    int asked = 0;
    ctx.askLimits = [&](Session&, const DiagramLimitsQuestion&) {
        ++asked; // the limits form (ui/diagram_limits_form.h) answers 0 .. 800 on both axes
        return std::optional<DiagramLimits>({0, 800, 0, 800});
    };
    dialogs.Push(ScriptedDialogs::Chosen(5)); // "TXT"
    EXPECT_TRUE(ShowGoodmanDiagram(ctx, OutputKind::Ask));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_TRUE(dialogs.script.empty());
    EXPECT_NE(ReadFile(temp / "feder.txt").find("\t800\r\n"), std::string::npos);
    // A given output kind asks nothing.
    EXPECT_TRUE(ShowHaighDiagram(ctx, OutputKind::Txt));
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_EQ(asked, 1);
}

// ---- tau-d and k ----

TEST_F(StrengthDiagramTest, TauDiagramCurvesFromTheMaterial) {
    SteelSpring();
    const Drawing d = Dxf([&](OutputKind k) { return ShowTauDiagram(ctx, k); });
    // Frame 95 x 70 at (15, 35) over d 0 .. 10 mm (dmax) and 0 .. 2500 MPa.
    const Frame f{15, 35, 95, 70, 0, 10, 0, 2500};
    auto Rm = [](real dd) { return 1800 - 400 * std::log10(dd); };
    // From d = 0.1 in steps of 0.05 mm up to d = 10: 198 segments each.
    const auto tauz = d.Lines(21), rm = d.Lines(16);
    ASSERT_EQ(tauz.size(), 198u);
    ASSERT_EQ(rm.size(), 198u);
    EXPECT_NEAR(tauz.front()->x[0], f.X(0.1L), kTol);
    EXPECT_NEAR(tauz.front()->y[0], f.Y(0.56L * Rm(0.1L)), kTol);
    EXPECT_NEAR(tauz.back()->x[1], f.X(10), kTol);
    EXPECT_NEAR(tauz.back()->y[1], f.Y(0.56L * Rm(10)), kTol);
    EXPECT_NEAR(rm.front()->y[0], f.Y(Rm(0.1L)), kTol);
    EXPECT_NEAR(rm.back()->y[1], f.Y(Rm(10)), kTol);
    for (std::size_t i = 0; i < rm.size(); ++i) { // every step from its count
        const real dd = 0.1L + static_cast<real>(i + 1) * 0.05L;
        ASSERT_NEAR(rm[i]->x[1], f.X(dd), kTol) << i;
        ASSERT_NEAR(rm[i]->y[1], f.Y(Rm(dd)), kTol) << i;
    }
    // Curve labels at 1.02 times the last d.
    const DxfEntity* label = d.Text("tau z");
    ASSERT_NE(label, nullptr);
    EXPECT_NEAR(label->x[0], f.X(10.2L), kTol);
    EXPECT_NE(d.Text("Rm"), nullptr);
    for (const char* text : {"tau-d-Diagramm      ", "d [mm]", "Rm,tauz[MPa]"})
        EXPECT_NE(d.Text(text), nullptr) << text;
}

TEST_F(StrengthDiagramTest, TauDiagramWorkingStressesAtTheWireDiameter) {
    struct Case {
        word loadType;
        const char *lower, *upper;
    };
    const Case cases[] = {{2, "tauk1", "tauk2"}, {1, "tau1", "tau2"}};
    const Frame f{15, 35, 95, 70, 0, 10, 0, 2500};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lower);
        session = Session(dialogs);
        SteelSpring();
        session.spring.loadType = c.loadType;
        CalculateSpring(session);
        const SpringRecord& s = session.spring;
        const real lower = c.loadType == 2 ? s.tauk1 : s.tau1;
        const real upper = c.loadType == 2 ? s.tauk2 : s.tau2;
        const Drawing d = Dxf([&](OutputKind k) { return ShowTauDiagram(ctx, k); });
        EXPECT_NE(d.Line(19, f.X(3), f.Y(lower), f.X(3), f.Y(upper)), nullptr);
        const DxfEntity* lo = d.Text(c.lower);
        const DxfEntity* up = d.Text(c.upper);
        ASSERT_NE(lo, nullptr);
        ASSERT_NE(up, nullptr);
        EXPECT_EQ(lo->layer, "18");
        EXPECT_EQ(up->layer, "19");
        EXPECT_NEAR(lo->y[0], f.Y(lower), kTol);
        EXPECT_NEAR(up->y[0], f.Y(upper), kTol);
        EXPECT_EQ(d.Of(Type::Circle, 18).size(), 1u);
        EXPECT_EQ(d.Of(Type::Circle, 19).size(), 1u);
    }
}

TEST_F(StrengthDiagramTest, TauDiagramTableAndFormula) {
    SteelSpring();
    const Drawing d = Dxf([&](OutputKind k) { return ShowTauDiagram(ctx, k); });
    std::vector<std::string> rm, tauz;
    for (real dd : {0.2L, 0.5L, 1.0L, 2.5L, 5.0L, 10.0L}) {
        const real value = 1800 - 400 * std::log10(dd);
        rm.push_back(Short(value));
        tauz.push_back(Short(0.56L * value));
    }
    const std::vector<std::string> header = {"d [mm]", "0.2", "0.5", "1", "2.5", "5", "10"};
    auto row = [&](real y) {
        std::vector<std::pair<real, std::string>> cells;
        for (const DxfEntity* e : d.Of(Type::Text, 19))
            if (std::fabs(e->y[0] - y) < kTol) cells.emplace_back(e->x[0], e->text);
        std::sort(cells.begin(), cells.end());
        std::vector<std::string> out;
        for (auto& cell : cells)
            out.push_back(cell.second);
        return out;
    };
    EXPECT_EQ(row(21), header);
    rm.insert(rm.begin(), "Rm MPa");
    tauz.insert(tauz.begin(), "tauzMPa");
    EXPECT_EQ(row(21 - 3.52L), rm);
    EXPECT_EQ(row(21 - 2 * 3.52L), tauz);
    EXPECT_NE(d.Text("Rm = 1800 - 400 * log ( d / 1 )"), nullptr);
    EXPECT_NE(d.Text("tauz = 0.56 * Rm"), nullptr);
}

TEST_F(StrengthDiagramTest, TauDiagramOfAHotFormedSpringAndARowWithoutDmax) {
    SteelSpring();
    session.spring.manufacturing = 2;
    session.CurrentMaterial.dmax = 0;
    const Drawing d = Dxf([&](OutputKind k) { return ShowTauDiagram(ctx, k); });
    // Drawn up to 20 mm; the material row keeps its dmax.
    EXPECT_EQ(session.CurrentMaterial.dmax, 0);
    const Frame f{15, 35, 95, 70, 0, 20, 0, 2500};
    const auto tauz = d.Lines(21);
    ASSERT_FALSE(tauz.empty());
    // 840 - 250 log10(0.05 d): 840 at d = 20.
    EXPECT_NEAR(tauz.back()->x[1], f.X(20), kTol);
    EXPECT_NEAR(tauz.back()->y[1], f.Y(840), 1e-5L);
    EXPECT_NEAR(tauz.front()->y[0], f.Y(840 - 250 * std::log10(0.005L)), 1e-5L);
}

TEST_F(StrengthDiagramTest, KDiagramFollowsTheCorrectionFactor) {
    SteelSpring(); // w = 22/3
    const Drawing d = Dxf([&](OutputKind k) { return ShowKDiagram(ctx, k); });
    // Frame 95 x 95 at (15, 10) over w 0 .. 18 and k 1.0 .. 1.6.
    const Frame f{15, 10, 95, 95, 0, 18, 1.0L, 1.6L};
    auto k = [](real w) { return 1 + 1.25L / w + 0.875L / (w * w) + 1 / (w * w * w); };
    const auto curve = d.Lines(21);
    ASSERT_GT(curve.size(), 200u);
    // Every point inside the frame lies on k(w), at a w of 2.5 + i/15.
    for (const DxfEntity* e : curve) {
        for (int p = 0; p < 2; ++p) {
            const real w = f.DataX(e->x[p]), y = f.DataY(e->y[p]);
            if (std::fabs(e->y[p] - 105) < kTol || std::fabs(e->x[p] - 110) < kTol)
                continue; // clipped at the frame
            ASSERT_NEAR(y, k(w), 1e-6L) << w;
            const real steps = (w - 2.5L) * 15;
            ASSERT_NEAR(steps, std::round(steps), 1e-4L) << w;
        }
    }
    // The curve leaves the frame at w = 18: the last drawn point is on the right edge.
    EXPECT_NEAR(curve.back()->x[1], 110, kTol);
    // The spring's point with its texts.
    const real w = 22.0L / 3;
    EXPECT_EQ(d.Of(Type::Circle, 19).size(), 1u);
    EXPECT_NE(d.Line(19, f.X(w), f.Y(1.0L), f.X(w), f.Y(k(w))), nullptr);
    EXPECT_NE(d.Text("D/d= " + Short(w)), nullptr);
    EXPECT_NE(d.Text("k  = " + Short(k(w))), nullptr);
    EXPECT_NE(d.Text("Spannungsbeiwert k      "), nullptr);
}

TEST(NiceScaleOfStrengthAxes, MinimumOnAStepStaysTheFirstDivision) {
    struct Case {
        real min, max, axisMin, axisMax, step;
    };
    // k from 1.0 to 1.6: 1.0 / 0.1 must not come out below 10 and make the axis start at 0.9.
    const Case cases[] = {{1.0L, 1.6L, 1.0L, 1.6L, 0.1L},
                          {0.3L, 0.9L, 0.3L, 0.9L, 0.1L},
                          {-0.3L, 0.3L, -0.3L, 0.3L, 0.1L}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << " .. " << c.max);
        const AxisScale s = NiceScale(c.min, c.max, 6);
        EXPECT_NEAR(s.min, c.axisMin, 1e-12L);
        EXPECT_NEAR(s.max, c.axisMax, 1e-12L);
        EXPECT_NEAR(s.step, c.step, 1e-15L);
    }
}

TEST_F(StrengthDiagramTest, KDiagramWidensForALargeSpringIndex) {
    SteelSpring();
    session.spring.w = 24; // beyond 18: the axis reaches w, and the curve ends at w >= 20
    session.spring.k = 1 + 1.25L / 24 + 0.875L / 576 + 1.0L / 13824;
    const Drawing d = Dxf([&](OutputKind k) { return ShowKDiagram(ctx, k); });
    const Frame f{15, 10, 95, 95, 0, 25, 1.0L, 1.6L}; // NiceScale(0, 24): step 5, 0 .. 25
    const auto curve = d.Lines(21);
    ASSERT_FALSE(curve.empty());
    // The first w of 2.5 + i/15 at or above 20 is i = 263.
    EXPECT_NEAR(curve.back()->x[1], f.X(2.5L + 263.0L / 15), kTol);
}

// ---- Relaxation ----

TEST_F(StrengthDiagramTest, RelaxationWithoutDataSaysSo) {
    SteelSpring();
    session.relaxationFound = false;
    for (int type = 1; type <= 3; ++type) {
        display.Clear();
        EXPECT_FALSE(ShowRelaxationDiagram(ctx, type, session.spring.F2));
        EXPECT_TRUE(display.Empty());
    }
    ASSERT_EQ(dialogs.infos.size(), 3u);
    EXPECT_EQ(dialogs.infos[0], "keine Relaxationsdaten vorhanden");
}

TEST_F(StrengthDiagramTest, RelaxationDiagramsThatDrawNothing) {
    struct Case {
        const char* name;
        std::function<void(Session&)> change;
        int type;
    };
    const Case cases[] = {
        {"typed material", [](Session& s) { s.spring.materialKind = 11; }, 1},
        {"curve 1 starting at 0 %",
         [](Session& s) { s.CurrentRelaxation.points[0].relaxation = 0; }, 2},
        {"type 0", [](Session&) {}, 0},
        {"type 4", [](Session&) {}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session = Session(dialogs);
        RelaxationRow(session);
        SteelSpring();
        c.change(session);
        display.Clear();
        EXPECT_FALSE(ShowRelaxationDiagram(ctx, c.type, session.spring.F2));
        EXPECT_TRUE(display.Empty());
    }
    EXPECT_TRUE(dialogs.infos.empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(StrengthDiagramTest, RelaxationCurvesThroughTheirPoints) {
    RelaxationRow(session);
    SteelSpring();
    const SpringRecord& s = session.spring;
    ASSERT_GT(s.rx2, 0);
    const Drawing d = Relaxation(1);
    // Frame 100 x 90 at (15, 10); NiceScale(0, 1200): 0 .. 1200 step 200; (0, 20): 0 .. 20.
    const Frame f{15, 10, 100, 90, 0, 1200, 0, 20};
    const RelaxationRecord& r = session.CurrentRelaxation;
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        const auto& p1 = r.points[2 * (k - 1)];
        const auto& p2 = r.points[2 * k - 1];
        const real p = std::log(p2.relaxation / p1.relaxation) / std::log(3.0L); // 900 = 3 x 300
        auto law = [&](real x) { return p1.relaxation * std::pow(x / p1.tau, p); };
        // The pieces of the curve (markers are drawn with lines too on layers 19 to 21).
        std::vector<const DxfEntity*> lines;
        for (const DxfEntity* e : d.Lines(17 + k)) {
            auto onCurve = [&](int i) {
                return std::fabs(f.DataY(e->y[i]) - law(f.DataX(e->x[i]))) < 1e-5L;
            };
            if (onCurve(0) && onCurve(1)) lines.push_back(e);
        }
        ASSERT_EQ(lines.size(), 100u);
        EXPECT_NEAR(lines.front()->x[0], f.X(p1.tau), kTol);
        EXPECT_NEAR(lines.front()->y[0], f.Y(p1.relaxation), kTol);
        EXPECT_NEAR(lines.back()->x[1], f.X(p2.tau), kTol);
        EXPECT_NEAR(lines.back()->y[1], f.Y(p2.relaxation), kTol);
        // Every piece 1/100 of the stress difference long.
        EXPECT_NEAR(lines[49]->x[1], f.X(600), kTol);
        EXPECT_NEAR(lines[49]->y[1], f.Y(law(600)), kTol);
        // Legend: "   T= 20 C,  d= 1 mm" and its marker.
        const std::string legend = std::string("   T= ") + (k <= 2 ? "20" : "100") +
                                   " C,  d= " + (k % 2 == 1 ? "1" : "10") + " mm";
        const DxfEntity* t = d.Text(legend);
        ASSERT_NE(t, nullptr) << legend;
        const real offsets[] = {4, 2, 3, 1};
        EXPECT_NEAR(t->x[0], f.X(1200 - 340), kTol);
        EXPECT_NEAR(t->y[0], f.Y(20 - offsets[k - 1]), kTol);
        EXPECT_NEAR(t->height, 2.0L, kTol);
    }
    // Markers where a curve crosses the x divisions 400, 600 and 800 (and 300 is none), one
    // per legend: circles for curve 1 on layer 18.
    EXPECT_EQ(d.Of(Type::Circle, 18).size(), 3u + 1u);
    // The working point: two circles of 0.15 and 0.1 units of the y axis around (tau2, rx2).
    const auto rings = d.Of(Type::Circle, 16);
    ASSERT_EQ(rings.size(), 2u);
    EXPECT_NEAR(rings[0]->x[0], f.X(s.tau2), kTol);
    EXPECT_NEAR(rings[0]->y[0], f.Y(s.rx2), kTol);
    EXPECT_NEAR(rings[0]->radius, 0.15L * 90 / 20, kTol);
    EXPECT_NEAR(rings[1]->radius, 0.1L * 90 / 20, kTol);
    EXPECT_NE(d.Line(16, f.X(s.tau1), 10, f.X(s.tau1), 100), nullptr);
    EXPECT_NE(d.Line(16, f.X(s.tau2), 10, f.X(s.tau2), 100), nullptr);
    const DxfEntity* rx = d.Text("Rx 2");
    ASSERT_NE(rx, nullptr);
    EXPECT_NEAR(rx->x[0], f.X(s.tau2 + 15), kTol);
}

TEST_F(StrengthDiagramTest, RelaxationOverTime) {
    RelaxationRow(session);
    SteelSpring();
    const SpringRecord& s = session.spring;
    // Type 2: 100 (1 - (t + 1)^-0.55), t = k/4 up to 60.25 (beyond the 60 h edge: the last
    // piece is dropped).
    {
        const Drawing d = Relaxation(2);
        const Frame f{15, 10, 100, 90, 0, 60, 0, 100};
        const auto lines = d.Lines(18);
        ASSERT_EQ(lines.size(), 240u);
        EXPECT_NEAR(lines[39]->x[1], f.X(10), kTol);
        EXPECT_NEAR(f.DataY(lines[39]->y[1]), 73.25L, 0.01L);  // 73.3 % at 10 h
        EXPECT_NEAR(f.DataY(lines[191]->y[1]), 88.24L, 0.01L); // 88.2 % at 48 h
        EXPECT_NEAR(lines.back()->x[1], f.X(60), kTol);
        EXPECT_NE(d.Text("dF/dFmax %"), nullptr);
    }
    // Type 3: F2 (1 - (1 - (t + 1)^-0.55) rx2 / 88), from (0, F2), t = k/20.
    {
        const Drawing d = Relaxation(3);
        const real F2 = s.F2;
        const AxisScale y = NiceScale(0, F2, 6);
        const Frame f{15, 10, 100, 90, 0, 60, y.min, y.max};
        const auto lines = d.Lines(18);
        ASSERT_GE(lines.size(), 1200u);
        EXPECT_NEAR(lines.front()->x[0], f.X(0), kTol);
        EXPECT_NEAR(lines.front()->y[0], f.Y(F2), kTol);
        const real at48 = F2 * (1 - s.rx2 / 100 * (1 - std::pow(49.0L, -0.55L)) / 0.88L);
        EXPECT_NEAR(lines[959]->x[1], f.X(48), kTol);
        EXPECT_NEAR(lines[959]->y[1], f.Y(at48), kTol);
        EXPECT_LT(at48, F2 * (1 - s.rx2 / 100) + 0.01L * F2);
        EXPECT_NE(d.Text("F2 [N]"), nullptr);
    }
}

TEST_F(StrengthDiagramTest, RelaxationSideText) {
    RelaxationRow(session);
    SteelSpring();
    SpringRecord& s = session.spring;
    s.theta = 150; // above T2 = 100
    CalculateSpring(session);
    ASSERT_GT(s.rx2, 0);
    const real F2 = s.F2;
    auto force = [&](real F) { return Short(F) + " N"; };
    std::vector<std::string> expected = {
        "Federstahldraht",
        "tau1= " + FormatC("%.0Lf", std::round(s.tau1)) + " MPa",
        "tau2= " + FormatC("%.0Lf", std::round(s.tau2)) + " MPa",
        "T = 150 \xF8"
        "C",
        "d = 3 mm",
        "dF/F2 = " + Short(s.rx2) + " %",
        "F2 = " + force(F2),
        "F2,10h = " + force(F2 * (1 - s.rx2 / 100 * 5 / 6)),
        "F2,48h = " + force(F2 * (1 - s.rx2 / 100)),
        " ",
        "Warnung: T>T2relax (100\xF8"
        "C)",
    };
    EXPECT_EQ(RelaxationSideText(session, F2), expected);
    s.warnMode = 2; // the warning line only with every warning
    expected.pop_back();
    EXPECT_EQ(RelaxationSideText(session, F2), expected);
    s.warnMode = 1;
    s.theta = 10; // below T1 = 20
    expected.back() = " ";
    expected[3] = "T = 10 \xF8"
                  "C";
    expected.push_back("Warnung: T<T1relax (20\xF8"
                       "C)");
    EXPECT_EQ(RelaxationSideText(session, F2), expected);

    // Drawn from (120, 100).
    const Drawing d = Relaxation(1);
    const DxfEntity* name = d.Text("Federstahldraht");
    ASSERT_NE(name, nullptr);
    EXPECT_NEAR(name->x[0], 120, kTol);
    EXPECT_NEAR(name->y[0], 100, kTol);
}

TEST_F(StrengthDiagramTest, RelaxationGoesToTheScreen) {
    RelaxationRow(session);
    SteelSpring();
    EXPECT_TRUE(ShowRelaxationDiagram(ctx, 2, session.spring.F2));
    EXPECT_GT(display.Count(), 241u);
    EXPECT_FALSE(fs::exists(temp / "feder.dxf"));
}

// ---- Gauss ----

TEST_F(StrengthDiagramTest, GaussHalfWidth) {
    struct Case {
        real z, sigma;
        int B;
    };
    const Case cases[] = {{1.3L, 2.6L, 3}, {7, 2.6L, 5}, {2.6L, 2.6L, 3}, {0, 0, 1},
                          {4.99L, 1, 5},   {3, 3, 4},    {-2, -1, 1},     {NAN, 2.6L, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(GaussHalfWidth(c.z, c.sigma), c.B) << c.z << " " << c.sigma;
}

struct GaussCase {
    real F, D, k, up, lo;
};

class GaussTest : public StrengthDiagramTest {
  protected:
    Drawing Gauss(const GaussCase& g) {
        return Dxf([&](OutputKind kind) {
            return ShowGaussDiagram(ctx, kind, "F2 [N]", g.F, g.D, g.k, g.up, g.lo);
        });
    }
    // The whole sheet over -(B + 0.5) .. B + 0.5 and -1 .. 1.05.
    static Frame SheetOf(int B) { return {0, 0, 160, 120, -(B + 0.5L), B + 0.5L, -1, 1.05L}; }
};

TEST_F(GaussTest, BellCurveAreaPeakAndStep) {
    struct Case {
        GaussCase g;
        int B;
    };
    // z = (up - lo) k / (2 D): 2.6 (B 3); 5.2 (B 5); 1.3 with k = 2.6 (B 3).
    const Case cases[] = {{{300, 20, 2.6L, 20, -20}, 3},
                          {{300, 20, 2.6L, 40, -40}, 5},
                          {{300, 20, 2.6L, 10, -10}, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.B);
        const Drawing d = Gauss(c.g);
        const Frame f = SheetOf(c.B);
        std::vector<std::pair<real, real>> verticals; // x, height
        real top = 0;
        for (const DxfEntity* e : d.Lines(21)) {
            if (std::fabs(e->x[0] - e->x[1]) > kTol) continue;
            EXPECT_NEAR(f.DataY(e->y[0]), 0, 1e-5L);
            verticals.emplace_back(f.DataX(e->x[0]), f.DataY(e->y[1]));
            top = std::max(top, f.DataY(e->y[1]));
        }
        // Every 0.1 from -B to B, each e^(-x^2/2) high.
        ASSERT_EQ(verticals.size(), static_cast<std::size_t>(20 * c.B + 1));
        real area = 0;
        for (std::size_t i = 0; i < verticals.size(); ++i) {
            const auto [x, y] = verticals[i];
            EXPECT_NEAR(x, -c.B + 0.1L * static_cast<real>(i), 1e-5L);
            EXPECT_NEAR(y, std::exp(-x * x / 2), 1e-5L);
            if (i > 0) area += (y + verticals[i - 1].second) / 2 * 0.1L;
        }
        // The area under the curve is sqrt(2 pi) less the tails beyond +-B.
        const real tails = c.B == 3 ? 0.0027L * 2.5066L : 0;
        EXPECT_NEAR(area, std::sqrt(2 * 3.14159265358979323846L) - tails, 2e-3L);
        EXPECT_NEAR(top, 1, 1e-5L);
        EXPECT_NEAR(verticals[10 * c.B].first, 0, 1e-5L); // the peak at x = 0
    }
}

TEST_F(GaussTest, LimitsOfTheSpringsTolerance) {
    const GaussCase g{300, 20, 2.6L, 10, -10}; // z = 1.3, B = 3
    const Drawing d = Gauss(g);
    const Frame f = SheetOf(3);
    for (real x : {-1.3L, 1.3L}) {
        SCOPED_TRACE(x);
        EXPECT_NE(d.Line(16, f.X(x), f.Y(0), f.X(x), f.Y(0.6L)), nullptr);
        // The text lines from (x - 0.2, 0.8): total reject, limit value, share, z.
        std::vector<std::string> texts = d.TextsAt(f.X(x - 0.2L));
        ASSERT_EQ(texts.size(), 4u);
        auto percent = [](std::string t) {
            EXPECT_EQ(t.back(), '%');
            t.pop_back();
            return ParseReal(t);
        };
        EXPECT_NEAR(percent(texts[0]), 19.36L, 0.01L); // 2 x 9.68 % below -1.3
        EXPECT_EQ(texts[1], x < 0 ? "290" : "310");
        EXPECT_NEAR(percent(texts[2]), x < 0 ? 9.68L : 90.32L, 0.01L);
        EXPECT_EQ(texts[3], x < 0 ? "-1.3" : "1.3");
    }
    EXPECT_NE(d.Text("90.3199%"), nullptr); // 100 - reject / 2 with 4 decimals
    // The header lines.
    EXPECT_NE(d.Text("F2 [N]: 300 \xF1 20 -> " + Short(RejectPercent(2.6L)) + " %  (Sigma=2.6)"),
              nullptr);
    EXPECT_NE(d.Text("F2 [N]: 300 \xF1 10 -> " + Short(RejectPercent(1.3L)) + " %"), nullptr);
    EXPECT_NE(d.Text("280 .. 320: -> " + Short(RejectPercent(2.6L)) + " %"), nullptr);
    EXPECT_NE(d.Text("290 .. 310: -> " + Short(RejectPercent(1.3L)) + " %"), nullptr);
}

TEST_F(GaussTest, ThreeScalesUnderTheCurve) {
    const GaussCase g{325.5L, 20, 2.6L, 20, -20}; // z = 2.6, B = 3
    const Drawing d = Gauss(g);
    const Frame f = SheetOf(3);
    auto labelsOn = [&](int layer) {
        std::vector<std::string> out;
        for (const DxfEntity* e : d.Of(Type::Text, layer))
            if (e->angle == 90) out.push_back(e->text);
        return out;
    };
    // Each scale's title, then its values. Force values: NiceScale(305.5, 345.5, 10) = 305 ..
    // 350 in steps of 5; 310 .. 345 drawn.
    const std::vector<std::string> forces = {"F2 [N]",  "310.000", "315.000", "320.000", "325.000",
                                             "330.000", "335.000", "340.000", "345.000"};
    EXPECT_EQ(labelsOn(17), forces);
    const DxfEntity* first = d.Text("310.000");
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->x[0], f.X((310 - 325.5L) * 2.6L / 20 + 0.05L), kTol);
    EXPECT_NEAR(first->y[0], f.Y(-0.2L - 0.08L), kTol);
    // Cumulative percentage and sigma at every half standard deviation from -3 to 3.
    const std::vector<std::string> sigma = {"Sigma", "-3.0", "-2.5", "-2.0", "-1.5", "-1.0", "-0.5",
                                            "0.0",   "0.5",  "1.0",  "1.5",  "2.0",  "2.5",  "3.0"};
    EXPECT_EQ(labelsOn(19), sigma);
    const auto percent = labelsOn(18);
    ASSERT_EQ(percent.size(), 14u);
    EXPECT_EQ(percent[0], "Prozent");
    EXPECT_EQ(percent[1], "  0.1350"); // below -3: width 3, 4 decimals
    EXPECT_NEAR(ParseReal(percent[7]), 50, 1e-3L);
    EXPECT_NEAR(ParseReal(percent[13]), 99.865L, 1e-3L);
    // Sigma has axis lines at both levels, each scale ticks at its labels.
    EXPECT_NE(d.Line(19, f.X(-3), f.Y(-0.95L), f.X(3.02L), f.Y(-0.95L)), nullptr);
    EXPECT_NE(d.Line(19, f.X(1), f.Y(-0.75L), f.X(1), f.Y(-0.78L)), nullptr);
    EXPECT_NE(d.Line(19, f.X(1), f.Y(-0.95L), f.X(1), f.Y(-0.92L)), nullptr);
}

TEST_F(GaussTest, LimitBeyondTheDiagramOnlyInTheTexts) {
    const GaussCase g{300, 10, 2.6L, 30, -30}; // z = 7.8, B = 5: the limits lie off the sheet
    const Drawing d = Gauss(g);
    EXPECT_TRUE(d.Lines(16).empty());
    for (const DxfEntity& e : d.entities) {
        if (e.type != Type::Text && e.type != Type::Line) continue;
        EXPECT_GE(e.x[0], 0) << e.text;
        EXPECT_LE(e.x[0], 160) << e.text;
    }
    EXPECT_NE(d.Text("270 .. 330: -> " + Short(RejectPercent(7.8L)) + " %"), nullptr);
}

TEST_F(GaussTest, NothingWithoutAReferenceDeviation) {
    EXPECT_FALSE(ShowGaussDiagram(ctx, OutputKind::Dxf, "F2 [N]", 300, 0, 2.6L, 10, -10));
    EXPECT_FALSE(fs::exists(temp / "feder.dxf"));
    EXPECT_FALSE(ShowGaussDiagram(ctx, OutputKind::Dxf, "F2 [N]", 300, NAN, 2.6L, 10, -10));
    EXPECT_FALSE(fs::exists(temp / "feder.dxf"));
}

TEST_F(GaussTest, F2AfterTheStatisticsDialog) {
    examples::QuietSpring(session);
    session.spring.statsSwitch = 'N';
    CalculateSpring(session);
    EXPECT_FALSE(ShowF2GaussDiagram(ctx, OutputKind::Dxf)); // switched off: no diagram
    EXPECT_FALSE(fs::exists(temp / "feder.dxf"));
    session.spring.statsSwitch = 'J';
    CalculateSpring(session);
    ASSERT_FALSE(session.FatalFlag);
    ASSERT_GT(session.spring.statDevF2, 0);
    const Drawing d = Dxf([&](OutputKind k) { return ShowF2GaussDiagram(ctx, k); });
    const std::string prefix = "F2 [N]: " + Short(session.spring.F2);
    bool found = false;
    for (const DxfEntity* e : d.Of(Type::Text))
        found = found || e->text.rfind(prefix, 0) == 0;
    EXPECT_TRUE(found);
}

// ---- Every strength diagram ----

TEST_F(StrengthDiagramTest, FatalSpringShowsOnlyTheMessageList) {
    RelaxationRow(session);
    SteelSpring();
    session.Fatal("Fatal  : n = 0 !");
    const std::function<bool(OutputKind)> draws[] = {
        [&](OutputKind k) { return ShowTauDiagram(ctx, k); },
        [&](OutputKind k) { return ShowKDiagram(ctx, k); },
        [&](OutputKind k) { return ShowGoodmanDiagram(ctx, k); },
        [&](OutputKind k) { return ShowHaighDiagram(ctx, k); },
        [&](OutputKind k) { return ShowRelaxationDiagram(ctx, 1, 100, k); },
        [&](OutputKind k) { return ShowGaussDiagram(ctx, k, "F2 [N]", 300, 20, 2.6L, 10, -10); },
    };
    for (const auto& draw : draws) {
        dialogs.Push(ScriptedDialogs::Chosen(session.messages.Count() + 1)); // "Weiter"
        EXPECT_FALSE(draw(OutputKind::Txt));
        EXPECT_FALSE(fs::exists(temp / "feder.txt"));
    }
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_TRUE(dialogs.script.empty());
    int listed = 0;
    for (const std::string& shown : dialogs.shown)
        listed += shown.find("Fatal  : n = 0 !") != std::string::npos;
    EXPECT_EQ(listed, 6);
}

TEST_F(StrengthDiagramTest, ZeroStressFoundByTheEvaluationShowsTheMessageList) {
    SteelSpring();
    session.spring.taukh = 0;                   // the evaluation stops with "Fehler : taukh=0 !"
    dialogs.Push(ScriptedDialogs::Cancelled()); // the message list
    EXPECT_FALSE(ShowGoodmanDiagram(ctx, OutputKind::Txt));
    EXPECT_TRUE(dialogs.script.empty());
    EXPECT_TRUE(session.FatalFlag);
    EXPECT_FALSE(fs::exists(temp / "feder.txt"));
}

TEST_F(StrengthDiagramTest, EveryDiagramStaysOnItsSheet) {
    RelaxationRow(session);
    SteelSpring();
    // Long side-text lines: a full material name and a cycle range reaching below 10^7.
    session.spring.materialName = "Federstahldraht DIN 17223  Teil 1";
    session.spring.fatigueTolMin = -20;
    session.spring.fatigueTolMax = 10;
    session.spring.theta = 150;
    CalculateSpring(session);
    const std::function<bool(OutputKind)> draws[] = {
        [&](OutputKind k) { return ShowTauDiagram(ctx, k); },
        [&](OutputKind k) { return ShowKDiagram(ctx, k); },
        [&](OutputKind k) { return ShowGoodmanDiagram(ctx, k); },
        [&](OutputKind k) { return ShowHaighDiagram(ctx, k); },
        [&](OutputKind k) { return ShowRelaxationDiagram(ctx, 1, session.spring.F2, k); },
        [&](OutputKind k) { return ShowRelaxationDiagram(ctx, 2, session.spring.F2, k); },
        [&](OutputKind k) { return ShowRelaxationDiagram(ctx, 3, session.spring.F2, k); },
        [&](OutputKind k) { return ShowGaussDiagram(ctx, k, "F2 [N]", 300, 20, 2.6L, 20, -20); },
    };
    auto onSheet = [](real x, real y) {
        return x >= -kTol && x <= 160 + kTol && y >= -kTol && y <= 120 + kTol;
    };
    int i = 0;
    for (const auto& draw : draws) {
        SCOPED_TRACE(++i);
        const Drawing d = Dxf(draw);
        ASSERT_FALSE(d.entities.empty());
        for (const DxfEntity& e : d.entities) {
            if (e.type == Type::Line) {
                EXPECT_TRUE(onSheet(e.x[0], e.y[0]) && onSheet(e.x[1], e.y[1]));
            } else if (e.type == Type::Text) {
                EXPECT_TRUE(onSheet(e.x[0], e.y[0])) << e.text;
                // A horizontal text ends on the sheet (its width estimated from the font size).
                const real n = static_cast<real>(e.text.size());
                if (e.angle == 0) {
                    EXPECT_LE(e.x[0] + n * e.height * e.widthFactor, 160 + kTol) << e.text;
                }
                EXPECT_EQ(e.text.find("nan"), std::string::npos);
                EXPECT_EQ(e.text.find("inf"), std::string::npos);
            }
        }
    }
}

// ---- Golden TXT ----

using test::Utf8Lines;

void ExpectGolden(const std::string& txt, const std::string& name) {
    test::ExpectGoldenFile(Utf8Lines(txt), "diagrams", name);
}

TEST_F(StrengthDiagramTest, GoldenGoodmanDiagramOfTheSteelSpring) {
    SteelSpring();
    session.spring.TitleLine = "Druckfeder   Zeichn.Nr.: 4711";
    session.spring.remark1 = "Goodman";
    session.spring.fatigueTolMin = -20; // the cycle range reaches below 10^7
    session.spring.fatigueTolMax = 10;
    ASSERT_TRUE(ShowGoodmanDiagram(ctx, OutputKind::Txt));
    ExpectGolden(ReadFile(temp / "feder.txt"), "goodman_steel.txt");
}

} // namespace
} // namespace kora

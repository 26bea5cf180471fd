// The spring views read back from the TXT entities they write: coil and section positions
// against a model of the coil sections in series, hatched sections, left-hand coiling, the
// schema, the 3D helix with its point cap, the animation's display list and its stop, the
// forms and their dialog sequences, the overview page and golden files of three views.
#include "base/codepage.h"
#include "base/numformat.h"
#include "base/units.h"
#include "cad_test_support.h"
#include "calc/characteristic.h"
#include "calc/session.h"
#include "common/example_springs.h"
#include "common/golden.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/diagram_sheets.h"
#include "graphics/display_list.h"
#include "graphics/spring_views.h"
#include "graphics/strength_diagrams.h"
#include "graphics/view_control.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;
using cadtest::ReadFile;

constexpr real kPi = std::numbers::pi_v<real>;
constexpr real kFile = 2e-6L; // six decimals in the file

// ---- TXT records read back ----

struct Rec {
    std::string type;
    std::vector<std::string> f;
    real N(std::size_t i) const { return std::strtold(f.at(i).c_str(), nullptr); }
};

std::vector<Rec> Records(const std::string& txt) {
    std::vector<Rec> out;
    std::size_t start = 0;
    while (start < txt.size()) {
        std::size_t end = txt.find("\r\n", start);
        if (end == std::string::npos) end = txt.size();
        const std::string line = txt.substr(start, end - start);
        start = end + 2;
        Rec r;
        std::size_t p = 0;
        for (;;) {
            std::size_t tab = line.find('\t', p);
            std::string field = line.substr(p, tab == std::string::npos ? tab : tab - p);
            if (r.type.empty() && p == 0)
                r.type = field;
            else
                r.f.push_back(field);
            if (tab == std::string::npos) break;
            p = tab + 1;
        }
        out.push_back(r);
    }
    return out;
}

std::vector<Rec> OfType(const std::vector<Rec>& rs, const std::string& type) {
    std::vector<Rec> out;
    for (const Rec& r : rs)
        if (r.type == type) out.push_back(r);
    return out;
}

const Rec* TextRecord(const std::vector<Rec>& rs, const std::string& text) {
    for (const Rec& r : rs)
        if (r.type == "TEXT" && r.f.size() >= 3 && r.f[2] == text) return &r;
    return nullptr;
}

bool HasTextStarting(const std::vector<Rec>& rs, const std::string& prefix) {
    for (const Rec& r : rs)
        if (r.type == "TEXT" && r.f.size() >= 3 && r.f[2].rfind(prefix, 0) == 0) return true;
    return false;
}

// ---- A model of the three-section spring: sections in series, each linear until solid ----

struct SlotModel {
    real ni, L0i, Lci;
};

std::vector<SlotModel> ThreeSectionSlots(const SpringRecord& s) {
    return {{s.nend1, s.Lend1, s.Lend1},
            {2, 10, 2 * s.h},
            {3, 20, 3 * s.h},
            {3, 30, 3 * s.h},
            {s.nend2, s.Lend2, s.Lend2}};
}

real Compliance(const SpringRecord& s) { // deflection per newton and coil
    return 8 * s.Dm * s.Dm * s.Dm / (s.Gtheta * s.d * s.d * s.d * s.d);
}

real SlotLength(const SpringRecord& s, const SlotModel& m, real F) {
    return m.L0i - std::min(F * m.ni * Compliance(s), m.L0i - m.Lci);
}

// Position of coil count c: the first slot whose running coil sum reaches c holds it.
real ModelPosition(const SpringRecord& s, real c, real F) {
    real position = 0, before = 0;
    for (const SlotModel& m : ThreeSectionSlots(s)) {
        const real length = SlotLength(s, m, F);
        if (c <= before + m.ni) return position + (c - before) * length / m.ni;
        position += length;
        before += m.ni;
    }
    return position;
}

// The force at which the model spring has the length L (bisection to 1e-12 mm).
real ModelForce(const SpringRecord& s, real L) {
    real lo = 0, hi = 1e6;
    for (int i = 0; i < 200; ++i) {
        const real mid = (lo + hi) / 2;
        if (ModelPosition(s, s.nt, mid) > L)
            lo = mid;
        else
            hi = mid;
    }
    return (lo + hi) / 2;
}

// ---- Fixture ----

class ViewTest : public ::testing::Test {
  protected:
    ViewTest()
        : session(dialogs), display(session), cad(session, &display), ctx(session, cad),
          views(ctx, &display) {
        cad.SetTempFolder(temp.str());
        cad.SetCommandLineRun(true);
        cad.SetSpringFile(temp / "feder.kra");
        session.config.edit3D = false; // tests that want the rotation form switch it on
    }
    // Three sections of typed steel under dynamic load: d 3, Dm 22, L0 = 66, Lc = 30, nt = 10.
    void Three() {
        examples::ThreeSections(session);
        examples::TypedSteel(session);
        CalculateSpring(session);
        ASSERT_FALSE(session.FatalFlag);
        ASSERT_EQ(session.spring.L0, 66);
        ASSERT_EQ(session.spring.Lc, 30);
        ASSERT_EQ(session.spring.nt, 10);
    }
    std::string TxtOf(bool drawn) {
        EXPECT_TRUE(drawn);
        return ReadFile(temp / "feder.txt");
    }
    std::vector<Rec> View(ViewKind kind) {
        return Records(TxtOf(views.SpringView(kind, OutputKind::Txt, false)));
    }
    // The length form's answer: `typed` read as a length into Lview (ui/view_forms.h holds
    // the form itself).
    static std::function<bool(Session&)> LengthTyped(std::string typed) {
        return [typed](Session& s) {
            s.spring.Lview = ReadValue(s.config, Quantity::Length, typed);
            s.AbortFlag = false;
            return true;
        };
    }
    // Draws at length L through the length form.
    std::vector<Rec> ViewAt(ViewKind kind, real L) {
        views.askInstallLength = LengthTyped(FormatC("%.12Lf", L));
        auto records = Records(TxtOf(views.SpringView(kind, OutputKind::Txt, true)));
        views.askInstallLength = nullptr;
        return records;
    }
    // The animation form's answer: its defaults (L0, Lc + 0.02, 25 frames, 1 repetition,
    // 50 ms) with the given changes.
    static AnimationSettings Animation(const Session& s, bool singleStep) {
        AnimationSettings a;
        a.largest = s.spring.L0;
        a.smallest = s.spring.Lc + 0.02L;
        a.singleStep = singleStep;
        return a;
    }
    int TextsInDisplay(const std::string& start) const {
        int n = 0;
        for (std::size_t i = 0; i < display.Count(); ++i)
            if (display[i].rfind("6;", 0) == 0 && display[i].find(";" + start) != std::string::npos)
                ++n;
        return n;
    }

    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    DisplayList display;
    CadOutput cad;
    DiagramContext ctx;
    SpringViews views;
};

// ---- Cut view ----

TEST_F(ViewTest, BaseNamesOfTheFourKinds) {
    EXPECT_EQ(ViewBaseName(ViewKind::Side), "KORAANS");
    EXPECT_EQ(ViewBaseName(ViewKind::Cut), "KORASCHN");
    EXPECT_EQ(ViewBaseName(ViewKind::Sections), "KORASCHK");
    EXPECT_EQ(ViewBaseName(ViewKind::Schema), "KORA");
}

TEST_F(ViewTest, ViewWithoutTheLengthDialogIsDrawnAtL0) {
    Three();
    EXPECT_EQ(session.spring.Lview, session.spring.L2); // every calculation leaves L2
    const auto rs = View(ViewKind::Cut);
    EXPECT_EQ(session.spring.Lview, 66);
    EXPECT_TRUE(dialogs.shown.empty());
    // Sheet: the spring at 1:1 with a margin of d around it.
    const auto minmax = OfType(rs, "MINMAX");
    ASSERT_EQ(minmax.size(), 1u);
    EXPECT_NEAR(minmax[0].N(0), -14, kFile);
    EXPECT_NEAR(minmax[0].N(1), -1.5L, kFile);
    EXPECT_NEAR(minmax[0].N(2), 14, kFile);
    EXPECT_NEAR(minmax[0].N(3), 67.5L, kFile);
    // At L0 there is no force: only the length line.
    EXPECT_FALSE(HasTextStarting(rs, "F= "));
    const Rec* length = TextRecord(rs, "L= 66 mm");
    ASSERT_NE(length, nullptr);
    EXPECT_NEAR(length->N(0), 11 + 6, kFile); // Dm/2 + 2d
    EXPECT_NEAR(length->N(1), 66.0L / 15, kFile);
}

// Every wire section is a hatched circle: the front half of coil k runs from the left at
// coil k + 1/2 to the right at coil k, k = 0 .. nt - 1, at the positions of the sections in
// series under the force of the length.
TEST_F(ViewTest, WireSectionsLieWhereTheCoilsAreAtTheLength) {
    Three();
    const SpringRecord& s = session.spring;
    struct Case {
        const char* name;
        real L;
    };
    const Case cases[] = {{"L0", 66}, {"L1", 60}, {"L2", 40}, {"Lc", 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const real F = ModelForce(s, c.L);
        const auto circles = OfType(ViewAt(ViewKind::Cut, c.L), "CIRCLE");
        ASSERT_EQ(circles.size(), 20u); // 2 per coil, nt = 10
        for (int k = 0; k < 10; ++k) {
            const real right = ModelPosition(s, k, F), left = ModelPosition(s, k + 0.5L, F);
            auto found = [&](real x, real y) {
                return std::any_of(circles.begin(), circles.end(), [&](const Rec& r) {
                    return std::fabs(r.N(0) - x) < kFile && std::fabs(r.N(1) - y) < 0.002L &&
                           std::fabs(r.N(2) - 1.5L) < kFile;
                });
            };
            EXPECT_TRUE(found(11, right)) << "right, coil " << k << " at " << (double)right;
            EXPECT_TRUE(found(-11, left)) << "left, coil " << k << " at " << (double)left;
        }
    }
    // At Lc every section is solid: the coils lie one wire diameter apart above end block 1.
    const auto solid = OfType(ViewAt(ViewKind::Cut, 30), "CIRCLE");
    for (int k = 1; k < 10; ++k)
        EXPECT_TRUE(std::any_of(solid.begin(), solid.end(), [&](const Rec& r) {
            return std::fabs(r.N(0) - 11) < kFile && std::fabs(r.N(1) - (3 + (k - 1) * 3)) < 0.002L;
        })) << k;
}

TEST_F(ViewTest, ForceLineAppearsUnderLoad) {
    Three();
    const auto rs = ViewAt(ViewKind::Cut, 40);
    EXPECT_TRUE(HasTextStarting(rs, "F= "));
    EXPECT_NE(TextRecord(rs, "L= 40 mm"), nullptr);
    // The two lines one below the other, 1.6 text heights apart (height L0 * 0.02).
    const Rec* f = nullptr;
    for (const Rec& r : rs)
        if (r.type == "TEXT" && r.f[2].rfind("F= ", 0) == 0) f = &r;
    ASSERT_NE(f, nullptr);
    EXPECT_NEAR(f->N(1) - TextRecord(rs, "L= 40 mm")->N(1), 1.6L * 66 * 0.02L, kFile);
}

// The force line needs a force above 0.001 Fc: R0 = 9.687 N/mm and Fc = 542.5 N put the limit
// between 0.01 and 0.1 mm of deflection.
TEST_F(ViewTest, SmallForcesPrintNoForceLine) {
    Three();
    ASSERT_NEAR(session.spring.R0 * 0.01L, 0.097L, 0.001L);
    ASSERT_NEAR(0.001L * session.spring.Fc, 0.54L, 0.01L);
    EXPECT_FALSE(HasTextStarting(ViewAt(ViewKind::Cut, 65.99L), "F= "));
    EXPECT_TRUE(HasTextStarting(ViewAt(ViewKind::Cut, 65.9L), "F= "));
    EXPECT_FALSE(HasTextStarting(ViewAt(ViewKind::Schema, 65.99L), "F= "));
    EXPECT_TRUE(HasTextStarting(ViewAt(ViewKind::Schema, 65.9L), "F= "));
}

// Hatch lines are chords of their circle; the kinds differ in what else they draw.
TEST_F(ViewTest, KindsDrawSectionsOutlinesAndTurns) {
    Three();
    const auto cut = View(ViewKind::Cut);
    const auto sections = View(ViewKind::Sections);
    const auto side = View(ViewKind::Side);
    auto longLines = [](const std::vector<Rec>& rs) { // wire edges span the coil diameter
        int n = 0;
        for (const Rec& r : OfType(rs, "LINE"))
            n += std::fabs(r.N(2) - r.N(0)) > 11;
        return n;
    };
    EXPECT_EQ(OfType(cut, "CIRCLE").size(), 20u);
    EXPECT_EQ(longLines(cut), 20); // two edges per coil
    EXPECT_EQ(OfType(sections, "CIRCLE").size(), 20u);
    EXPECT_EQ(longLines(sections), 0);
    EXPECT_GT(OfType(sections, "LINE").size(), 20u); // the hatch lines and the axis
    // The side view: the wire edges and the turns, no sections.
    EXPECT_EQ(OfType(side, "CIRCLE").size(), 0u);
    EXPECT_EQ(longLines(side), 20);
    const auto arcs = OfType(side, "ARC");
    ASSERT_EQ(arcs.size(), 20u);
    for (const Rec& a : arcs) {
        const real x = a.N(0), r = a.N(2), start = a.N(3), end = a.N(4);
        EXPECT_NEAR(std::fabs(x), 11, kFile);
        EXPECT_NEAR(r, 1.5L, kFile);
        real sweep = std::fmod(end - start + 720, 360);
        EXPECT_NEAR(sweep, 180, 1e-4L);
        // The half circle lies on the outer side of the coil.
        const real middle = (start + sweep / 2) * kPi / 180;
        EXPECT_GT(std::cos(middle) * (x > 0 ? 1 : -1), 0.95L);
    }
}

TEST_F(ViewTest, LeftHandCoilingMirrorsTheCoilSlope) {
    Three();
    auto slopes = [&]() {
        std::vector<real> out;
        for (const Rec& r : OfType(View(ViewKind::Cut), "LINE"))
            if (std::fabs(r.N(2) - r.N(0)) > 11)
                out.push_back((r.N(3) - r.N(1)) / (r.N(2) - r.N(0)));
        return out;
    };
    const auto right = slopes();
    session.spring.coilingDirection = 2;
    const auto left = slopes();
    ASSERT_EQ(right.size(), 20u);
    ASSERT_EQ(left.size(), right.size());
    for (std::size_t i = 0; i < right.size(); ++i) {
        EXPECT_LT(right[i], 0) << i; // from the left at coil k + 1/2 down to the right at k
        EXPECT_NEAR(left[i], -right[i], 1e-5L) << i;
    }
    // The sections swap sides: coil k on the left, k + 1/2 on the right.
    const SpringRecord& s = session.spring;
    const auto circles = OfType(View(ViewKind::Sections), "CIRCLE");
    for (int k = 0; k < 10; ++k)
        EXPECT_TRUE(std::any_of(circles.begin(), circles.end(), [&](const Rec& r) {
            return std::fabs(r.N(0) + 11) < kFile &&
                   std::fabs(r.N(1) - ModelPosition(s, k, 0)) < kFile;
        })) << k;
}

// Round wire: a hatched circle; the others: a boundary of lines around the hatch.
TEST_F(ViewTest, EachWireTypeHasItsSection) {
    for (word type : {word{2}, word{3}, word{4}}) {
        SCOPED_TRACE(type);
        examples::NonRound(session, type, 3, 2);
        examples::TypedSteel(session);
        CalculateSpring(session);
        ASSERT_FALSE(session.FatalFlag);
        const auto rs = View(ViewKind::Sections);
        EXPECT_EQ(OfType(rs, "CIRCLE").size(), 0u);
        EXPECT_GT(OfType(rs, "LINE").size(), 20u * 4);
        // Each section stays within d x h around its centre (x = ±11).
        for (const Rec& r : OfType(rs, "LINE")) {
            if (r.N(0) == 0 && r.N(2) == 0) continue; // the axis
            const real cx = r.N(0) > 0 ? 11 : -11;
            EXPECT_LE(std::fabs(r.N(0) - cx), 1.5L + 1e-5L);
            EXPECT_LE(std::fabs(r.N(2) - cx), 1.5L + 1e-5L);
        }
    }
}

// ---- Schema ----

TEST_F(ViewTest, SchemaStacksTheSlotsWithTheirCurrentLengths) {
    Three();
    const SpringRecord& s = session.spring;
    for (real L : {66.0L, 40.0L, 30.0L}) {
        SCOPED_TRACE((double)L);
        const real F = ModelForce(s, L);
        const auto rs = ViewAt(ViewKind::Schema, L);
        const auto lines = OfType(rs, "LINE");
        ASSERT_EQ(lines.size(), 1u + 5 * 4); // axis and four sides per slot
        EXPECT_NEAR(lines[0].N(3), L, kFile);
        real y = 0;
        const char* names[5] = {"E1", " 1", " 2", " 3", "E2"};
        const auto slots = ThreeSectionSlots(s);
        for (int i = 0; i < 5; ++i) {
            const real t = SlotLength(s, slots[static_cast<std::size_t>(i)], F);
            const Rec& bottom = lines[1 + 4 * i];
            EXPECT_NEAR(bottom.N(0), -11, kFile);
            EXPECT_NEAR(bottom.N(1), y, 0.002L) << names[i];
            EXPECT_NEAR(lines[1 + 4 * i + 2].N(1), y + t, 0.002L) << names[i]; // top side
            const Rec* label = TextRecord(rs, names[i]);
            ASSERT_NE(label, nullptr) << names[i];
            const real B = std::min(0.05L * 22, 0.8L * t);
            EXPECT_NEAR(label->N(0), 0.44L, kFile);
            EXPECT_NEAR(label->N(1), y + t / 2 - B / 2, 0.002L);
            y += t;
        }
        EXPECT_NEAR(y, L, 0.002L);
    }
}

TEST_F(ViewTest, SchemaDrawsSolidSlotsThick) {
    Three();
    auto layersOfSides = [&](real L) {
        views.askInstallLength = LengthTyped(FormatC("%.6Lf", L));
        EXPECT_TRUE(views.SpringView(ViewKind::Schema, OutputKind::Dxf, true));
        const std::string dxf = ReadFile(temp / "feder.dxf");
        // LINE entities name their layer right after the type.
        int thick = 0, open = 0;
        for (std::size_t p = dxf.find("LINE\r\n  8\r\n"); p != std::string::npos;
             p = dxf.find("LINE\r\n  8\r\n", p + 1)) {
            const char layer = dxf[p + 11];
            thick += layer == '5';
            open += layer == '1';
        }
        return std::pair{thick, open};
    };
    // At L0 only the end blocks are solid; at Lc all five slots (the axis is on layer 1).
    EXPECT_EQ(layersOfSides(66), (std::pair{8, 12 + 1}));
    EXPECT_EQ(layersOfSides(30), (std::pair{20, 1}));
}

// ---- Length form ----

TEST_F(ViewTest, CancelInTheLengthDialogDrawsNothing) {
    Three();
    // Cancelled in the form, and no form given at all.
    views.askInstallLength = [](Session& s) {
        s.AbortFlag = true;
        return false;
    };
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_FALSE(views.SpringView(ViewKind::Cut, OutputKind::Txt, true));
        EXPECT_TRUE(session.AbortFlag);
        EXPECT_FALSE(fs::exists(temp / "feder.txt"));
        EXPECT_EQ(session.spring.Lview, session.spring.L2);
        views.askInstallLength = nullptr;
    }
}

// ---- Guards ----

TEST_F(ViewTest, FatalSpringGetsTheMessageListOnly) {
    examples::ThreeSections(session);
    session.spring.d = 0;
    CalculateSpring(session);
    ASSERT_TRUE(session.FatalFlag);
    views.askInstallLength = [](Session&) {
        ADD_FAILURE() << "no length form for a fatal spring";
        return false;
    };
    const std::string list = "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und "
                             "Abhilfe.";
    for (int command = 0; command < 4; ++command) {
        SCOPED_TRACE(command);
        dialogs.Push(ScriptedDialogs::Cancelled()); // leaves the message list
        dialogs.shown.clear();
        bool drawn = true;
        switch (command) {
        case 0:
            drawn = views.SpringView(ViewKind::Cut, OutputKind::Txt, true);
            break;
        case 1:
            drawn = views.Spring3DView(OutputKind::Txt, false);
            break;
        case 2:
            drawn = views.ResultOverview(OutputKind::Txt);
            break;
        default:
            drawn = views.SpringAnimation(ViewKind::Cut);
            break;
        }
        EXPECT_FALSE(drawn);
        EXPECT_NE(std::find(dialogs.shown.begin(), dialogs.shown.end(), list), dialogs.shown.end());
        EXPECT_FALSE(fs::exists(temp / "feder.txt"));
        EXPECT_TRUE(display.Empty());
    }
}

// A spring never calculated has no coil sections: no view divides by nsec, De or L0.
TEST_F(ViewTest, SpringWithoutSectionsDrawsNothing) {
    session.spring.nsec = 0;
    session.spring.nend1 = session.spring.nend2 = session.spring.nt = 0;
    session.spring.L0 = 0;
    session.spring.De = 0;
    EXPECT_FALSE(views.SpringView(ViewKind::Schema, OutputKind::Txt, false));
    EXPECT_FALSE(views.ResultOverview(OutputKind::Txt));
    EXPECT_FALSE(views.Spring3DView(OutputKind::Txt, false));
    EXPECT_FALSE(fs::exists(temp / "feder.txt"));
    ASSERT_EQ(dialogs.infos.size(), 3u); // the message list of a calculation without messages
    // The drawings themselves draw nothing for it, and the helix has only its start.
    EXPECT_TRUE(cad.CadBeginFile(OutputKind::Txt, temp / "empty.txt"));
    CutDrawing(cad, session, ViewKind::Cut, 0, 0, true);
    EXPECT_TRUE(cad.CadEnd());
    EXPECT_EQ(ReadFile(temp / "empty.txt"), "EOF\r\n");
    long points = WalkHelix(session, 0, [](real x, real y, real z) {
        EXPECT_TRUE(std::isfinite((double)x) && std::isfinite((double)y) &&
                    std::isfinite((double)z));
    });
    EXPECT_EQ(points, 1);
}

TEST_F(ViewTest, AnEarlierEscDoesNotStopTheNextView) {
    Three();
    ViewControl control(display);
    control.FormKeyDown(kKeyEscape);
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_TRUE(views.SpringView(ViewKind::Cut, OutputKind::Txt, false));
}

// ---- 3D view ----

TEST_F(ViewTest, HelixStepsByCountInEachBlock) {
    Three();
    const SpringRecord& s = session.spring;
    std::vector<std::array<real, 3>> points;
    auto collect = [&](real x, real y, real z) { points.push_back({x, y, z}); };
    // 2 degrees: 180 steps per coil, nt = 10.
    EXPECT_EQ(WalkHelix(session, 0, collect), 1 + 1800);
    ASSERT_EQ(points.size(), 1801u);
    const real e = s.d + s.wireTol; // rise of a dead coil
    const real z0 = (s.Lc - s.nt * e) / 2;
    EXPECT_NEAR(points[0][0], 11, 1e-12L);
    EXPECT_NEAR(points[0][2], z0, 1e-12L);
    // End block 1 rises d + wireTol per coil, the sections by their pitch at the force.
    EXPECT_NEAR(points[180][2], z0 + e, 1e-9L);
    EXPECT_NEAR(points[180 + 360][2], z0 + e + 10, 1e-9L);
    EXPECT_NEAR(points.back()[2], z0 + e + 60 + e, 1e-9L);
    EXPECT_NEAR(points.back()[0], 11, 1e-9L); // whole coils end where they began
    EXPECT_NEAR(points.back()[1], 0, 1e-9L);
    EXPECT_GT(points[1][1], 0); // right-hand: counter-clockwise seen from above

    // At Lc the sections are solid: every coil rises one wire diameter.
    points.clear();
    WalkHelix(session, s.Fc, collect);
    EXPECT_NEAR(points.back()[2], z0 + 2 * e + 8 * 3, 1e-9L);

    // No dead coil at end 1: the first step already belongs to section 1.
    session.spring.nend1 = 0;
    session.spring.nt = 9;
    points.clear();
    EXPECT_EQ(WalkHelix(session, 0, collect), 1 + 1620);
    EXPECT_NEAR(points[1][2] - points[0][2], 10.0L / 2 / 180, 1e-12L);

    session.spring.coilingDirection = 2;
    points.clear();
    WalkHelix(session, 0, collect);
    EXPECT_LT(points[1][1], 0);
}

TEST_F(ViewTest, HelixNeverTakesMoreThanTheCap) {
    Three();
    session.spring.resolution3D = 0.0001L; // 36 million points asked for
    long calls = 0;
    real lastZ = 0;
    const long points = WalkHelix(session, 0, [&](real, real, real z) {
        ++calls;
        lastZ = z;
    });
    EXPECT_EQ(points, calls);
    EXPECT_LE(points, kMaxHelixPoints);
    EXPECT_GT(points, kMaxHelixPoints - 100);
    const SpringRecord& s = session.spring;
    const real e = s.d + s.wireTol;
    EXPECT_NEAR(lastZ, (s.Lc - s.nt * e) / 2 + 2 * e + 60, 1e-9L); // still the whole spring
    // Outside its range the setting still gives a step.
    session.spring.resolution3D = 0;
    EXPECT_LE(WalkHelix(session, 0, [](real, real, real) {}), kMaxHelixPoints);
}

TEST(Projection3D, AxesAndSuppressedAxes) {
    const real deg = kPi / 180;
    struct Case {
        const char* name;
        real ax, ay, az;
        real x, y, z, X, Y;
    };
    const Case cases[] = {
        {"xz: front view", 0, -360, 90, 2, 5, 7, 2, 7},
        {"xy: top view", 0, 90, -360, 2, 5, 7, 2, 5},
        {"yz: side view", -360, 0, 90, 2, 5, 7, 5, 7},
        {"default", -15, 90, 210, 1, 0, 0, std::cos(15 * deg), -std::sin(15 * deg)},
        {"default z", -15, 90, 210, 0, 0, 2, 2 * std::cos(210 * deg), 2 * std::sin(210 * deg)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Projection3D p{{c.ax * deg, c.ay * deg, c.az * deg}};
        const CadPoint q = p.Project(c.x, c.y, c.z);
        EXPECT_NEAR(q.x, c.X, 1e-12L);
        EXPECT_NEAR(q.y, c.Y, 1e-12L);
    }
}

TEST_F(ViewTest, ThreeDViewWithTheFrontPresetAndEqualAnglesReset) {
    Three();
    session.config.edit3D = true;
    views.angles3D = {0.5L, 0.5L, 0.5L}; // x and y equal: reset before the form
    std::array<real, 3> offered{};
    const real deg = kPi / 180;
    views.askRotation = [&](Session& s, const std::array<real, 3>& angles) {
        // As the form shows them: degrees in the short format.
        for (std::size_t i = 0; i < 3; ++i)
            offered[i] = ParseReal(ShortFormat(s.config, angles[i] / deg));
        return std::optional<std::array<real, 3>>({0, -360 * deg, 90 * deg}); // "xz"
    };
    const auto rs = Records(TxtOf(views.Spring3DView(OutputKind::Txt, false)));
    EXPECT_EQ(offered, (std::array<real, 3>{-15, 90, 210}));
    EXPECT_TRUE(Projection3D{views.angles3D}.Suppressed(1));
    EXPECT_EQ(session.spring.Lview, 66);
    // Front view: the axis letters x and z, no y; z runs up the frame, x across it.
    const Rec* x = TextRecord(rs, "x");
    const Rec* z = TextRecord(rs, "z");
    ASSERT_NE(x, nullptr);
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(TextRecord(rs, "y"), nullptr);
    EXPECT_GT(z->N(1), x->N(1) + 50);
    EXPECT_GT(x->N(0), z->N(0) + 5);
    // Everything inside the 160 x 120 sheet, no 3D vertices by default.
    for (const Rec& r : OfType(rs, "LINE"))
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(r.N(i) >= 0 && r.N(i) <= (i % 2 ? 120 : 160)) << r.N(i);
    EXPECT_TRUE(OfType(rs, "3D_LINE").empty());
    // Cancel in the rotation form: nothing written.
    fs::remove(temp / "feder.txt");
    views.askRotation = [](Session& s, const std::array<real, 3>&) {
        s.AbortFlag = true;
        return std::optional<std::array<real, 3>>();
    };
    EXPECT_FALSE(views.Spring3DView(OutputKind::Txt, false));
    EXPECT_FALSE(fs::exists(temp / "feder.txt"));
}

// A command-line run ("kora FILE /CAD5:11") asks nothing, whatever "Edit 3D x,y,z ?" says.
TEST_F(ViewTest, ThreeDViewOfACommandLineRunAsksNothing) {
    Three();
    session.config.edit3D = true;
    session.arguments = {"feder.kra", "/CAD5:11"};
    EXPECT_TRUE(views.Spring3DView(OutputKind::Txt, false));
    EXPECT_TRUE(fs::exists(temp / "feder.txt"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ViewTest, ThreeDOutputWritesTheTrueVerticesToFilesOnly) {
    Three();
    session.spring.resolution3D = 30; // 12 steps per coil
    session.config.output3D = true;
    const auto rs = Records(TxtOf(views.Spring3DView(OutputKind::Txt, false)));
    const auto vertices = OfType(rs, "3D_LINE");
    ASSERT_EQ(vertices.size(), 120u);
    EXPECT_NEAR(vertices[0].N(0), 11, kFile); // spring millimetres, not the sheet
    const SpringRecord& s = session.spring;
    const real e = s.d + s.wireTol;
    EXPECT_NEAR(vertices.back().N(5), (s.Lc - s.nt * e) / 2 + 2 * e + 60, kFile);
    // The screen shows the projection only.
    EXPECT_TRUE(views.Spring3DView(OutputKind::Screen, false));
    EXPECT_FALSE(display.Empty());
    session.config.output3D = false;
    EXPECT_TRUE(
        OfType(Records(TxtOf(views.Spring3DView(OutputKind::Txt, false))), "3D_LINE").empty());
}

// ---- Animation ----

// What the window sees of an animation: one frame at a time.
struct WatchingHost : GraphicsHost {
    std::function<void(int)> onFrame;
    int frames = 0, steps = 0;
    bool stepAnswer = true;
    void ShowFrame(int pause) override {
        ++frames;
        if (onFrame) onFrame(pause);
    }
    bool AnimationStep() override {
        ++steps;
        return stepAnswer;
    }
};

TEST_F(ViewTest, AnimationKeepsOneFrameInTheDisplayList) {
    Three();
    WatchingHost host;
    views.animationHost = &host;
    std::vector<std::string> lengths;
    host.onFrame = [&](int pause) {
        EXPECT_EQ(pause, 20);
        EXPECT_EQ(TextsInDisplay("L= "), 1) << "frame " << host.frames;
        for (std::size_t i = 0; i < display.Count(); ++i)
            if (display[i].find(";L= ") != std::string::npos)
                lengths.emplace_back(display[i].substr(display[i].find(";L= ") + 1));
    };
    views.askAnimation = [](Session& s, bool singleStep) {
        AnimationSettings a = Animation(s, singleStep);
        a.frames = 4;
        a.repetitions = 2;
        a.pause = 20;
        a.largest = 66;
        a.smallest = 30;
        return std::optional(a);
    };
    EXPECT_TRUE(views.SpringAnimation(ViewKind::Cut));
    EXPECT_EQ(host.frames, 2 * 2 * 4);
    // Frame k of 4 from 66 to 30 and back, each length once per way.
    const std::vector<std::string> way = {"L= 66 mm", "L= 57 mm", "L= 48 mm", "L= 39 mm",
                                          "L= 30 mm", "L= 39 mm", "L= 48 mm", "L= 57 mm"};
    ASSERT_EQ(lengths.size(), 16u);
    for (std::size_t i = 0; i < lengths.size(); ++i)
        EXPECT_EQ(lengths[i], way[i % 8]) << i;
    // After it the list holds the last frame; the calculation has run again.
    EXPECT_EQ(TextsInDisplay("L= "), 1);
    EXPECT_EQ(TextsInDisplay("L= 57 mm"), 1);
    EXPECT_EQ(session.spring.Lview, session.spring.L2);
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_EQ(host.steps, 0);
}

TEST_F(ViewTest, EscStopsTheAnimationBetweenFrames) {
    Three();
    WatchingHost host;
    ViewControl control(display);
    host.onFrame = [&](int) {
        if (host.frames == 3) control.FormKeyDown(kKeyEscape);
    };
    views.animationHost = &host;
    views.askAnimation = [](Session& s, bool singleStep) {
        AnimationSettings a = Animation(s, singleStep);
        a.frames = 1000;
        a.repetitions = 100;
        return std::optional(a);
    };
    EXPECT_FALSE(views.SpringAnimation(ViewKind::Schema));
    EXPECT_EQ(host.frames, 3);
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(TextsInDisplay("L= "), 1);
    EXPECT_EQ(TextsInDisplay(" 1"), 1); // one schema: one label per slot
}

TEST_F(ViewTest, SingleStepAsksAfterEachFrameUntilPlayedThrough) {
    Three();
    WatchingHost host;
    host.onFrame = [&](int) { host.stepAnswer = host.frames < 3; };
    views.animationHost = &host;
    views.askAnimation = [](Session& s, bool) {
        AnimationSettings a = Animation(s, true);
        a.frames = 3;
        return std::optional(a);
    };
    EXPECT_TRUE(views.SpringAnimation(ViewKind::Sections));
    EXPECT_EQ(host.frames, 6);
    EXPECT_EQ(host.steps, 3); // "++" at the third frame plays the rest
    EXPECT_FALSE(display.singleStep);
}

TEST_F(ViewTest, AnimationWithEqualLengthsSaysSo) {
    Three();
    views.askAnimation = [](Session& s, bool singleStep) {
        AnimationSettings a = Animation(s, singleStep);
        a.smallest = a.largest; // both at L0
        return std::optional(a);
    };
    EXPECT_FALSE(views.SpringAnimation(ViewKind::Cut));
    ASSERT_EQ(dialogs.infos.size(), 1u);
    EXPECT_EQ(dialogs.infos[0], "Lmin = Lmax !");
    EXPECT_TRUE(display.Empty());
}

// ---- Overview page ----

TEST_F(ViewTest, OverviewShowsTheLxRowOnlyBetweenL2AndL1) {
    Three();
    auto overview = [&]() { return Records(TxtOf(views.ResultOverview(OutputKind::Txt))); };
    auto rs = overview();
    ASSERT_NE(TextRecord(rs, "Lx: 50"), nullptr);
    EXPECT_NE(
        TextRecord(rs, "Fx: " + ShowShort(session.config, Quantity::Force, session.spring.Fx)),
        nullptr);
    const Rec* tau = nullptr;
    for (const Rec& r : rs)
        if (r.type == "TEXT" && r.f[2].rfind("tau zul: ", 0) == 0) tau = &r;
    ASSERT_NE(tau, nullptr);
    EXPECT_NEAR(tau->N(1), 98.5L, kFile);
    // Rows: header, R0/L0, 1, 2, x, c, three millimetres apart.
    EXPECT_NEAR(TextRecord(rs, "L0: 66")->N(1), 113.5L, kFile);
    EXPECT_NEAR(TextRecord(rs, "Lc: 30")->N(1), 101.5L, kFile);
    EXPECT_NEAR(TextRecord(rs, "Lc: 30")->N(0), 120, kFile);

    for (real Lx : {70.0L, 40.0L, 60.0L}) { // beyond L1, at L2, at L1: no row
        SCOPED_TRACE((double)Lx);
        session.spring.Lx = Lx;
        CalculateSpring(session);
        rs = overview();
        EXPECT_FALSE(HasTextStarting(rs, "Lx:"));
        EXPECT_FALSE(HasTextStarting(rs, "Fx:"));
        EXPECT_NEAR(TextRecord(rs, "Lc: 30")->N(1), 104.5L, kFile);
        for (const Rec& r : rs) {
            if (r.type == "TEXT" && r.f[2].rfind("tau zul: ", 0) == 0) {
                EXPECT_NEAR(r.N(1), 101.5L, kFile);
            }
        }
    }
}

TEST_F(ViewTest, OverviewBlocksTablesAndMessages) {
    Three();
    session.spring.designation = "Ventilfeder";
    session.spring.drawingNumber = "K-0815";
    int goodmanCalls = 0;
    views.goodmanBlock = [&](DiagramContext& c) {
        ++goodmanCalls;
        c.cad.CadLine(0, 0, 160, 120);
    };
    const auto rs = Records(TxtOf(views.ResultOverview(OutputKind::Txt)));
    EXPECT_EQ(goodmanCalls, 1);
    const auto blocks = OfType(rs, "BLOCK");
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].f[0], "goodman");
    EXPECT_EQ(blocks[1].f[0], "feder");
    const auto inserts = OfType(rs, "INSERT");
    ASSERT_EQ(inserts.size(), 2u);
    EXPECT_EQ(inserts[0].f[0], "goodman");
    EXPECT_NEAR(inserts[0].N(1), 70, kFile);
    EXPECT_NEAR(inserts[0].N(4), 0.6L, kFile);
    EXPECT_EQ(inserts[1].f[0], "feder");
    EXPECT_NEAR(inserts[1].N(1), 25, kFile);
    EXPECT_NEAR(inserts[1].N(2), 70, kFile);
    EXPECT_NEAR(inserts[1].N(4), std::min(40.0L / 25, 45.0L / 66), kFile); // E, De = 25
    EXPECT_NEAR(inserts[1].N(5), std::min(40.0L / 25, 45.0L / 66), kFile);
    // The spring block: the cut at L0 without axis and without a force line.
    EXPECT_NE(TextRecord(rs, "L= 66 mm"), nullptr);
    EXPECT_FALSE(HasTextStarting(rs, "F= "));
    const Rec* title = TextRecord(rs, "Ventilfeder  K-0815");
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->N(0), 117.5L, kFile);
    EXPECT_NEAR(title->N(1), 1, kFile);
    // Coil sections with the end blocks: pitch, coils, length.
    for (const char* cell : {" i", "  P", "  n", "  L", "E1", " 1", " 2", " 3", "E2", "6.667"})
        EXPECT_NE(TextRecord(rs, cell), nullptr) << cell;
    EXPECT_TRUE(HasTextStarting(rs, "Dm = 22"));
    EXPECT_NE(TextRecord(rs, "nt = 10 Wdg."), nullptr);
    EXPECT_NE(TextRecord(rs, "Beanspruchung : dynamisch"), nullptr);
    EXPECT_NE(TextRecord(rs, "Meldungen"), nullptr);
    EXPECT_NE(TextRecord(rs, "tauk1: " +
                                 ShowShort(session.config, Quantity::Stress, session.spring.tauk1)),
              nullptr);
    // The small F-s diagram in its 50 x 50 frame at (8, 8).
    EXPECT_NE(TextRecord(rs, "Federkennlinie"), nullptr);
}

// Without a caller's block the overview carries the Goodman diagram itself: the block holds
// the lines and texts of the Goodman drawing on its own sheet, less the sheet's title lines
// (top) and caption (below the diagram), and is inserted at (70, 0), scale 0.6.
TEST_F(ViewTest, OverviewCarriesTheGoodmanDiagramAsItsBlock) {
    Three();
    session.spring.TitleLine = "Ventilfeder progressiv";
    const auto alone = Records(TxtOf(ShowGoodmanDiagram(ctx, OutputKind::Txt)));
    const auto rs = Records(TxtOf(views.ResultOverview(OutputKind::Txt)));
    std::vector<Rec> block;
    bool inside = false;
    for (const Rec& r : rs) {
        if (r.type == "BLOCK")
            inside = r.f.at(0) == "goodman";
        else if (r.type == "ENDBLK" || r.type == "BLOCKEND")
            inside = false;
        else if (inside)
            block.push_back(r);
    }
    auto joined = [](const Rec& r) {
        std::string line = r.type;
        for (const std::string& f : r.f)
            line += "|" + f;
        return line;
    };
    auto of = [&](const std::vector<Rec>& records, bool texts) {
        std::vector<std::string> out;
        for (const Rec& r : records) {
            const bool text = r.type == "TEXT";
            const bool geometry = r.type == "LINE" || r.type == "ARC" || r.type == "CIRCLE";
            if (texts ? text : geometry) out.push_back(joined(r));
        }
        return out;
    };
    const auto lines = of(alone, false);
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(of(block, false), lines);
    // Texts: the block's are the drawing's; the drawing's others are its sheet texts.
    const auto blockTexts = of(block, true);
    ASSERT_NE(TextRecord(block, "Goodman-Diagramm"), nullptr);
    for (const Rec& r : OfType(alone, "TEXT")) {
        const bool inBlock =
            std::find(blockTexts.begin(), blockTexts.end(), joined(r)) != blockTexts.end();
        const bool sheetText = r.N(1) < 10 || r.N(1) > 113; // caption at 6, titles from 116
        EXPECT_NE(inBlock, sheetText) << joined(r);
    }
    EXPECT_EQ(TextRecord(block, "Dauerfestigkeitsschaubild (Goodman-Diagramm)"), nullptr);
    EXPECT_EQ(TextRecord(block, "Ventilfeder progressiv"), nullptr);
    EXPECT_NE(TextRecord(alone, "Dauerfestigkeitsschaubild (Goodman-Diagramm)"), nullptr);
    EXPECT_NE(TextRecord(alone, "Ventilfeder progressiv"), nullptr);
    const auto inserts = OfType(rs, "INSERT");
    ASSERT_FALSE(inserts.empty());
    EXPECT_EQ(inserts[0].f[0], "goodman");
    EXPECT_NEAR(inserts[0].N(1), 70, kFile);
    EXPECT_NEAR(inserts[0].N(2), 0, kFile);
    EXPECT_NEAR(inserts[0].N(4), 0.6L, kFile);
}

TEST_F(ViewTest, OverviewWithoutMessagesSaysNone) {
    examples::QuietSpring(session);
    CalculateSpring(session);
    ASSERT_EQ(session.messages.Count(), 0);
    views.goodmanBlock = nullptr;
    const auto rs = Records(TxtOf(views.ResultOverview(OutputKind::Txt)));
    const Rec* heading = TextRecord(rs, "Meldungen");
    ASSERT_NE(heading, nullptr);
    EXPECT_NEAR(heading->N(0), 100, kFile);
    EXPECT_NEAR(heading->N(1), 95, kFile);
    EXPECT_NE(TextRecord(rs, " - keine -"), nullptr);
    EXPECT_EQ(OfType(rs, "BLOCK").size(), 1u); // no fatigue diagram given: no such block
    EXPECT_NE(TextRecord(rs, "E1"), nullptr);
    EXPECT_NE(TextRecord(rs, "tau [" + UnitLabel(session.config, Quantity::Stress) + "]"), nullptr);
    EXPECT_NE(TextRecord(rs, "tau 1: " +
                                 ShowShort(session.config, Quantity::Stress, session.spring.tau1)),
              nullptr); // static load
}

TEST_F(ViewTest, RedrawDrawsTheCutViewAndTheOverview) {
    Three();
    session.config.ResultGraphic = 5;
    RedrawCurrentView(ctx);
    EXPECT_EQ(TextsInDisplay("L= 66 mm"), 1);
    EXPECT_EQ(session.spring.Lview, 66);
    session.config.ResultGraphic = 0;
    RedrawCurrentView(ctx);
    EXPECT_EQ(TextsInDisplay("Meldungen"), 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(SpringViewsHooks, GoWithTheViews) {
    ScriptedDialogs dialogs;
    Session session(dialogs);
    CadOutput cad(session);
    DiagramContext ctx(session, cad);
    {
        SpringViews views(ctx);
        EXPECT_TRUE(ctx.cutView);
        EXPECT_TRUE(ctx.resultOverview);
    }
    EXPECT_FALSE(ctx.cutView);
    EXPECT_FALSE(ctx.resultOverview);
}

// ---- Golden TXT views ----

using test::Utf8Lines;

void ExpectGolden(const std::string& txt, const std::string& name) {
    test::ExpectGoldenFile(Utf8Lines(txt), "views", name);
}

// The length form's "L2" and OK: the exact L2.
bool AtL2(Session& s) {
    s.spring.Lview = s.spring.L2;
    s.AbortFlag = false;
    return true;
}

TEST_F(ViewTest, GoldenCutViewAtL2) {
    Three();
    views.askInstallLength = AtL2;
    ExpectGolden(TxtOf(views.SpringView(ViewKind::Cut, OutputKind::Txt, true)), "cut_l2.txt");
}

TEST_F(ViewTest, GoldenSchemaAtL2) {
    Three();
    views.askInstallLength = AtL2;
    ExpectGolden(TxtOf(views.SpringView(ViewKind::Schema, OutputKind::Txt, true)), "schema_l2.txt");
}

TEST_F(ViewTest, Golden3DViewAtL0) {
    Three();
    session.spring.resolution3D = 15; // 24 steps per coil keep the file readable
    ExpectGolden(TxtOf(views.Spring3DView(OutputKind::Txt, false)), "helix_3d.txt");
}

} // namespace
} // namespace kora

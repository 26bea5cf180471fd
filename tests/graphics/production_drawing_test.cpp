// The production drawing read back from the DXF it writes (blocks expanded through their
// inserts): everything on the sheet, no two texts over each other, the parts that depend on the
// spring and its drawing options, the title block, the guards, the options form with its
// dialog sequence, the logo block, and golden TXT files of two example springs.
#include "base/codepage.h"
#include "base/numformat.h"
#include "cad_test_support.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "common/example_springs.h"
#include "common/golden.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/diagram_sheets.h"
#include "graphics/display_list.h"
#include "graphics/drawing_dimensions.h"
#include "graphics/drawing_texts.h"
#include "graphics/dxf_block_reader.h"
#include "graphics/hatching.h"
#include "graphics/production_drawing.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;
namespace text = drawing_text;
using cadtest::ReadFile;
using Answer = ScriptedDialogs;

constexpr real kDeg = std::numbers::pi_v<real> / 180;

// ---- DXF read back, blocks expanded ----

struct Pt {
    real x = 0, y = 0;
};

struct Entity {
    std::string type, layer;
    std::multimap<int, std::string> groups;
    std::vector<Entity> vertices; // of a POLYLINE
    real Num(int code, real otherwise = NAN) const {
        auto it = groups.find(code);
        return it == groups.end() ? otherwise : std::strtold(it->second.c_str(), nullptr);
    }
    std::string Str(int code) const {
        auto it = groups.find(code);
        return it == groups.end() ? std::string() : it->second;
    }
};

struct Dxf {
    std::map<std::string, std::vector<Entity>> blocks;
    std::vector<Entity> entities;
};

Dxf ParseDxf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    Dxf dxf;
    std::string section;
    std::vector<Entity>* target = nullptr;
    bool blockHeader = false;
    std::string blockName;
    Entity* current = nullptr;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const int code = std::atoi(lines[i].c_str());
        const std::string& value = lines[i + 1];
        if (code == 0 && value == "SECTION") {
            section = lines[i + 3];
            i += 2;
            target = section == "ENTITIES" ? &dxf.entities : nullptr;
            current = nullptr;
            continue;
        }
        if (code == 0 && (value == "ENDSEC" || value == "EOF")) {
            target = nullptr;
            current = nullptr;
            continue;
        }
        if (section == "BLOCKS" && code == 0 && value == "BLOCK") {
            blockHeader = true;
            current = nullptr;
            continue;
        }
        if (blockHeader) {
            if (code == 2) blockName = value;
            if (code == 0) {
                blockHeader = false;
                target = &dxf.blocks[blockName];
            } else {
                continue;
            }
        }
        if (section == "BLOCKS" && code == 0 && value == "ENDBLK") {
            target = nullptr;
            current = nullptr;
            continue;
        }
        if (!target) continue;
        if (code == 0) {
            if (value == "VERTEX" && !target->empty() && target->back().type == "POLYLINE") {
                target->back().vertices.push_back({value, "", {}, {}});
                current = &target->back().vertices.back();
            } else if (value == "SEQEND") {
                current = nullptr;
            } else {
                target->push_back({value, "", {}, {}});
                current = &target->back();
            }
        } else if (current) {
            if (code == 8) current->layer = value;
            current->groups.emplace(code, value);
        }
    }
    return dxf;
}

// One entity on the sheet, after every insert it sits in.
struct Item {
    std::string type, layer, text, block; // block: the outermost insert it came from
    std::vector<Pt> points;               // line ends, solid corners, polyline vertices
    Pt centre;
    real r = 0, start = 0, end = 0; // circle and arc
    real h = 0, k = 1, angle = 0;   // text: height, width ratio, angle
};

struct Transform {
    real ox = 0, oy = 0, rotation = 0, sx = 1, sy = 1;
    Pt Apply(real x, real y) const {
        const real c = std::cos(rotation * kDeg), s = std::sin(rotation * kDeg);
        return {ox + sx * x * c - sy * y * s, oy + sx * x * s + sy * y * c};
    }
};

void Flatten(const Dxf& dxf, const std::vector<Entity>& es, const Transform& t,
             const std::string& block, std::vector<Item>& out) {
    for (const Entity& e : es) {
        Item it;
        it.type = e.type;
        it.layer = e.layer;
        it.block = block;
        if (e.type == "INSERT") {
            auto found = dxf.blocks.find(e.Str(2));
            if (found == dxf.blocks.end()) {
                it.text = e.Str(2); // an insert of a block that is not in the file
                out.push_back(it);
                continue;
            }
            Transform inner;
            const Pt o = t.Apply(e.Num(10), e.Num(20));
            inner.ox = o.x;
            inner.oy = o.y;
            inner.rotation = t.rotation + e.Num(50, 0);
            inner.sx = t.sx * e.Num(41, 1);
            inner.sy = t.sy * e.Num(42, 1);
            Flatten(dxf, found->second, inner, block.empty() ? e.Str(2) : block, out);
            continue;
        }
        if (e.type == "LINE") {
            it.points = {t.Apply(e.Num(10), e.Num(20)), t.Apply(e.Num(11), e.Num(21))};
        } else if (e.type == "SOLID") {
            for (int i = 0; i < 4; ++i)
                it.points.push_back(t.Apply(e.Num(10 + i), e.Num(20 + i)));
        } else if (e.type == "CIRCLE" || e.type == "ARC") {
            it.centre = t.Apply(e.Num(10), e.Num(20));
            it.r = e.Num(40) * t.sx;
            it.start = e.Num(50, 0) + t.rotation;
            it.end = e.Num(51, 0) + t.rotation;
        } else if (e.type == "TEXT") {
            it.points = {t.Apply(e.Num(10), e.Num(20))};
            it.h = e.Num(40) * t.sy;
            it.k = e.Num(41, 1) * t.sx / t.sy;
            it.angle = e.Num(50, 0) + t.rotation;
            it.text = e.Str(1);
        } else if (e.type == "POLYLINE") {
            for (const Entity& v : e.vertices)
                it.points.push_back(t.Apply(v.Num(10), v.Num(20)));
        }
        out.push_back(it);
    }
}

std::vector<Item> Items(const Dxf& dxf) {
    std::vector<Item> out;
    Flatten(dxf, dxf.entities, Transform{}, "", out);
    return out;
}

struct Box {
    real x0, y0, x1, y1;
};

// The box of the visible characters of a text: n characters of h × k from the insertion point
// along the text's direction, h high; leading and trailing blanks take room but show nothing.
std::optional<Box> TextBox(const Item& t) {
    const std::size_t first = t.text.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const std::size_t last = t.text.find_last_not_of(' ');
    const real w = t.h * t.k;
    const real s0 = w * static_cast<real>(first), s1 = w * static_cast<real>(last + 1);
    const real c = std::cos(t.angle * kDeg), s = std::sin(t.angle * kDeg);
    Box b{1e9, 1e9, -1e9, -1e9};
    for (real along : {s0, s1})
        for (real up : {0.0L, t.h}) {
            const real x = t.points[0].x + along * c - up * s;
            const real y = t.points[0].y + along * s + up * c;
            b.x0 = std::min(b.x0, x);
            b.y0 = std::min(b.y0, y);
            b.x1 = std::max(b.x1, x);
            b.y1 = std::max(b.y1, y);
        }
    return b;
}

// The extent of an entity (arcs by their whole circle).
Box Extent(const Item& e) {
    if (e.type == "TEXT") {
        auto b = TextBox(e);
        return b ? *b : Box{e.points[0].x, e.points[0].y, e.points[0].x, e.points[0].y};
    }
    if (e.type == "CIRCLE" || e.type == "ARC")
        return {e.centre.x - e.r, e.centre.y - e.r, e.centre.x + e.r, e.centre.y + e.r};
    Box b{1e9, 1e9, -1e9, -1e9};
    for (const Pt& p : e.points) {
        b.x0 = std::min(b.x0, p.x);
        b.y0 = std::min(b.y0, p.y);
        b.x1 = std::max(b.x1, p.x);
        b.y1 = std::max(b.y1, p.y);
    }
    return b;
}

bool Inside(const Box& b, const Box& sheet) {
    constexpr real eps = 1e-6L;
    return b.x0 >= sheet.x0 - eps && b.y0 >= sheet.y0 - eps && b.x1 <= sheet.x1 + eps &&
           b.y1 <= sheet.y1 + eps;
}

bool Overlap(const Box& a, const Box& b) {
    constexpr real eps = 1e-6L;
    return a.x0 < b.x1 - eps && b.x0 < a.x1 - eps && a.y0 < b.y1 - eps && b.y0 < a.y1 - eps;
}

// Every pair of texts whose boxes overlap.
std::vector<std::string> Overlaps(const std::vector<Item>& texts) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto a = TextBox(texts[i]);
        if (!a) continue;
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const auto b = TextBox(texts[j]);
            if (b && Overlap(*a, *b))
                out.push_back("\"" + texts[i].text + "\" and \"" + texts[j].text + "\" overlap");
        }
    }
    return out;
}

std::vector<Item> TextsOf(const std::vector<Item>& items) {
    std::vector<Item> out;
    for (const Item& i : items)
        if (i.type == "TEXT") out.push_back(i);
    return out;
}

std::optional<Item> Find(const std::vector<Item>& items, const std::string& text) {
    for (const Item& i : items)
        if (i.type == "TEXT" && i.text == text) return i;
    return std::nullopt;
}

bool HasTextStarting(const std::vector<Item>& items, const std::string& prefix) {
    for (const Item& i : items)
        if (i.type == "TEXT" && i.text.rfind(prefix, 0) == 0) return true;
    return false;
}

std::string TextStarting(const std::vector<Item>& items, const std::string& prefix) {
    for (const Item& i : items)
        if (i.type == "TEXT" && i.text.rfind(prefix, 0) == 0) return i.text;
    return {};
}

bool Near(real a, real b) {
    return std::fabs(a - b) < 1e-4L;
}

// A line between the two points, either way round.
bool HasLine(const std::vector<Item>& items, Pt a, Pt b, const std::string& layer = "") {
    for (const Item& i : items) {
        if (i.type != "LINE" || (!layer.empty() && i.layer != layer)) continue;
        const Pt& p = i.points[0];
        const Pt& q = i.points[1];
        if ((Near(p.x, a.x) && Near(p.y, a.y) && Near(q.x, b.x) && Near(q.y, b.y)) ||
            (Near(p.x, b.x) && Near(p.y, b.y) && Near(q.x, a.x) && Near(q.y, a.y)))
            return true;
    }
    return false;
}

bool HasCircle(const std::vector<Item>& items, Pt c, real r) {
    for (const Item& i : items)
        if (i.type == "CIRCLE" && Near(i.centre.x, c.x) && Near(i.centre.y, c.y) && Near(i.r, r))
            return true;
    return false;
}

// A tick circle at (x, y) and whether it is crossed.
bool Crossed(const std::vector<Item>& items, real x, real y) {
    return HasLine(items, {x - 1.5L, y - 1.5L}, {x + 1.5L, y + 1.5L}) &&
           HasLine(items, {x - 1.5L, y + 1.5L}, {x + 1.5L, y - 1.5L});
}

// Lines on layer 3 (hatch lines among them) whose both ends lie in the box.
int LinesWithin(const std::vector<Item>& items, const Box& box, const std::string& layer) {
    int n = 0;
    for (const Item& i : items)
        if (i.type == "LINE" && i.layer == layer && Inside(Extent(i), box)) ++n;
    return n;
}

// ---- Golden files ----

using test::Utf8Lines;

void ExpectGolden(const std::string& got, const std::string& name) {
    test::ExpectGoldenFile(got, "drawing", name);
}

std::string Replaced(std::string s, const std::string& what, const std::string& by) {
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + by.size()))
        s.replace(p, what.size(), by);
    return s;
}

// ---- Springs ----

// n sections of one coil each with a pitch growing from 4.5 mm.
void ManySections(Session& session, int n) {
    SpringRecord& s = session.spring;
    s.d = 3;
    s.Dm = 22;
    s.nsec = 0;
    real L0 = 0;
    for (int k = 1; k <= n; ++k) {
        ++s.nsec;
        s.sections[static_cast<std::size_t>(k)].ni = 1;
        s.sections[static_cast<std::size_t>(k)].L0i = 4 + 0.5L * k;
        L0 += 4 + 0.5L * k;
    }
    s.L1 = L0 - 2;
    s.Lx = L0 - 5;
    s.L2 = L0 - 8;
}

std::time_t FixedTime() {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 30;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// ---- Fixture ----

class DrawingTest : public ::testing::Test {
  public:
    DrawingTest() : session(dialogs), display(session), cad(session, &display) {
        cad.SetTempFolder(temp.str());
        cad.SetCommandLineRun(true);
        cad.SetSpringFile(temp / "feder.kra");
        setup.clock = FixedTime;
    }

    // The three-section spring under dynamic load with every option the drawing shows.
    void Rich() {
        examples::ThreeSections(session);
        examples::TypedSteel(session);
        SpringRecord& s = session.spring;
        s.loadType = 2;
        s.endType = 2;
        s.showForces = true;
        s.showLdPm = true;
        s.mandrelSleeve = 3;
        s.showSettingLength = true;
        s.settingLength = 30;
        s.presetting = 1;
        s.deburring = 5;
        s.coilingDirection = 1;
        s.tempFrom = -20;
        s.tempTo = 120;
        s.surfaceProtection = "phosphatiert";
        s.surfaceProtectionIndex = 1;
        s.extraInfo1 = "Enden verschliffen";
        s.extraInfo2 = "Pr\x81"
                       "fung nach Vereinbarung";
        s.designation = "Ventilfeder";
        s.drawingName2 = "Einlassventil Zylinderkopf";
        s.drawingNumber = "K-0815-3";
        s.compensationMode = 2;
        s.f = 25;
        DrawingInfo& info = s.drawingInfo;
        info.bearbDate = "05.03.2024";
        info.bearbName = "Meier";
        info.geprDate = "06.03.2024";
        info.geprName = "Schulz";
        info.ersatzFuer = "K-0815-2";
        info.ersetztDurch = "K-0815-4";
        info.textCount = 1;
        info.texts[0] = {130, 100, 2.5L, 0, "Muster"};
        s.changeCount = 2;
        s.changes[0] = {"Erstausgabe", "01.02.2024", "MEI", ""};
        s.changes[1] = {"L0 ge\x84ndert", "05.03.2024", "SCH", ""};
    }
    // The single-section spring under static load with the options off.
    void Plain() {
        examples::QuietSpring(session);
        SpringRecord& s = session.spring;
        s.showForces = false;
        s.showLdPm = false;
        s.mandrelSleeve = 4;
        s.endType = 1;
        s.designation = "Druckfeder";
        s.drawingNumber = "4711";
    }
    void Calculate() {
        CalculateSpring(session);
        ASSERT_FALSE(session.FatalFlag);
    }
    std::vector<Item> Drawing(OutputKind kind = OutputKind::Dxf) {
        EXPECT_TRUE(ProductionDrawing(session, cad, kind, setup));
        return Items(ParseDxf(ReadFile(temp / "feder.dxf")));
    }
    std::string Txt() {
        EXPECT_TRUE(ProductionDrawing(session, cad, OutputKind::Txt, setup));
        return Replaced(Utf8Lines(ReadFile(temp / "feder.txt")), temp.str(), "<folder>");
    }
    std::string Shown(std::string_view cp850) const { return WindowText(session.config, cp850); }

    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    DisplayList display;
    CadOutput cad;
    ProductionDrawingSetup setup;
};

// ---- The sheet ----

TEST_F(DrawingTest, EveryEntityLiesInsideTheSheet) {
    struct Case {
        const char* name;
        void (DrawingTest::*spring)();
        int sections; // 0: the spring's own
    };
    const Case cases[] = {{"rich", &DrawingTest::Rich, 0},
                          {"plain", &DrawingTest::Plain, 0},
                          {"ten sections", &DrawingTest::Rich, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session.spring = SpringRecord{};
        (this->*c.spring)();
        if (c.sections) ManySections(session, c.sections);
        Calculate();
        const auto items = Drawing();
        ASSERT_GT(items.size(), 300u);
        const Box cadSheet{-5, -5, 225, 310}, a4{0, 0, 210, 297};
        for (const Item& e : items) {
            EXPECT_NE(e.type, "INSERT") << "insert of a missing block " << e.text;
            const Box b = Extent(e);
            EXPECT_TRUE(Inside(b, cadSheet)) << e.type << " " << e.text << " " << b.x0 << ","
                                             << b.y0 << " - " << b.x1 << "," << b.y1;
            // Only the maker's line stands above the paper, on the drawing's margin.
            const bool makerLine = e.type == "TEXT" && e.text.rfind("KALDORN", 0) == 0;
            if (!makerLine) {
                EXPECT_TRUE(Inside(b, a4)) << e.type << " " << e.text << " " << b.x0 << "," << b.y0
                                           << " - " << b.x1 << "," << b.y1;
            }
        }
    }
}

TEST_F(DrawingTest, NoTwoTextsOverlap) {
    struct Case {
        const char* name;
        void (*change)(Session&);
    };
    const Case cases[] = {
        {"rich", [](Session&) {}},
        {"forces off", [](Session& s) { s.spring.showForces = false; }},
        {"F1 = 0", [](Session& s) { s.spring.L1 = 1e6; }},
        {"ten sections", [](Session& s) { ManySections(s, 10); }},
        {"long texts",
         [](Session& s) {
             SpringRecord& r = s.spring;
             r.designation = std::string(25, 'W');
             r.drawingName2 = std::string(30, 'W');
             r.drawingNumber = std::string(18, 'W');
             r.surfaceProtection = std::string(45, 'W');
             r.extraInfo1 = std::string(100, 'W');
             r.extraInfo2 = std::string(100, 'W');
             r.materialName = std::string(50, 'W');
             r.drawingInfo.ersatzFuer = std::string(15, 'W');
             r.drawingInfo.ersetztDurch = std::string(15, 'W');
             r.drawingInfo.bearbDate = std::string(10, 'W');
             r.drawingInfo.bearbName = std::string(10, 'W');
             r.changeCount = 25;
             for (AendRecord& a : r.changes)
                 a = {std::string(20, 'W'), std::string(10, 'W'), std::string(5, 'W'), ""};
             r.endType = 4;
             r.endText = std::string(40, 'W');
             s.config.ReleaseFieldCaption = "Freigabe";
             r.showSettingLength = true;
             r.settingLength = 123456.789L;
         }},
        {"imperial", [](Session& s) { s.config.unitSystem = 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session.spring = SpringRecord{};
        session.config = Configuration{};
        Rich();
        c.change(session);
        CalculateSpring(session);
        ASSERT_FALSE(session.FatalFlag);
        for (const std::string& pair : Overlaps(TextsOf(Drawing())))
            ADD_FAILURE() << pair;
    }
    // The check itself finds a text written over another one.
    session.spring.drawingInfo.textCount = 1;
    session.spring.drawingInfo.texts[0] = {125, 33, 2.5L, 0, "Muster"};
    session.spring.designation = "Ventilfeder";
    EXPECT_EQ(Overlaps(TextsOf(Drawing())),
              std::vector<std::string>{"\"Muster\" and \"Ventilfeder\" overlap"});
}

TEST_F(DrawingTest, BlocksAreDefinedAndInsertedWhereTheLayoutPutsThem) {
    Rich();
    Calculate();
    EXPECT_TRUE(ProductionDrawing(session, cad, OutputKind::Dxf, setup));
    const Dxf dxf = ParseDxf(ReadFile(temp / "feder.dxf"));
    for (const char* name : {"FRAME_1", "FEDER1", "FEDER2", "FEDER3", "TALMTEX"})
        EXPECT_EQ(dxf.blocks.count(name), 1u) << name;
    struct Insert {
        const char* name;
        real x, y, rotation;
    };
    const Insert wanted[] = {{"FRAME_1", 0, 0, 0},    {"TALMTEX", 0, 0, 0},
                             {"FEDER1", 46, 200, 0},  {"FEDER1", 46, 275, 180},
                             {"FEDER2", 124, 200, 0}, {"FEDER3", 168, 200, 0}};
    for (const Insert& w : wanted) {
        bool found = false;
        for (const Entity& e : dxf.entities)
            found |= e.type == "INSERT" && e.Str(2) == w.name && Near(e.Num(10), w.x) &&
                     Near(e.Num(20), w.y) && Near(e.Num(50, 0), w.rotation);
        EXPECT_TRUE(found) << w.name << " at " << w.x << "," << w.y;
    }
    // No logo in a DXF file: it belongs to the screen and the plotter.
    for (const Entity& e : dxf.entities)
        EXPECT_NE(e.Str(2), "logo_1");
}

// ---- Parts that depend on the spring ----

TEST_F(DrawingTest, TenSectionsGetTheTableElevenDoNot) {
    for (int n : {10, 11}) {
        SCOPED_TRACE(n);
        session.spring = SpringRecord{};
        Rich();
        ManySections(session, n);
        Calculate();
        ASSERT_EQ(session.spring.nsec, n);
        const auto items = Drawing();
        const bool table = n <= 10;
        EXPECT_EQ(Find(items, "L0i").has_value(), table);
        EXPECT_EQ(Find(items, "ni").has_value(), table);
        EXPECT_EQ(Find(items, "Pi").has_value(), table);
        if (table) {
            // Columns of 8 mm from x = 108, the numbers 1 .. 10 at x = 109 + 8 k.
            for (int k = 1; k <= n; ++k) {
                bool atColumn = false;
                for (const Item& t : TextsOf(items))
                    atColumn |= t.text == std::to_string(k) && Near(t.points[0].x, 109 + 8 * k) &&
                                Near(t.points[0].y, 236);
                EXPECT_TRUE(atColumn) << k;
            }
            EXPECT_TRUE(HasLine(items, {108, 220}, {196, 220}, "3")); // 11 columns, 4 rows
            EXPECT_TRUE(HasLine(items, {196, 220}, {196, 240}, "3"));
            const SpringRecord& s = session.spring;
            auto l0i = Find(items, FormatC("%.1f", static_cast<double>(s.sections[10].L0i)));
            ASSERT_TRUE(l0i);
            EXPECT_NEAR(l0i->points[0].x, 189, 1e-6);
            EXPECT_NEAR(l0i->points[0].y, 231, 1e-6);
            // Ld and m move above the table that reaches under them.
            EXPECT_NEAR(Find(items, TextStarting(items, "Ld = "))->points[0].y, 245.5L, 1e-6);
        } else {
            // Everything else is drawn.
            EXPECT_TRUE(HasTextStarting(items, "Ld = "));
            EXPECT_TRUE(HasTextStarting(items, "L0 = "));
        }
    }
}

TEST_F(DrawingTest, SectionTableOfThreeSectionsWithAndWithoutThePitchRow) {
    for (bool ldpm : {true, false}) {
        SCOPED_TRACE(ldpm);
        session.spring = SpringRecord{};
        Rich();
        session.spring.showLdPm = ldpm;
        Calculate();
        const auto items = Drawing();
        const real bottom = ldpm ? 220 : 225;
        EXPECT_TRUE(HasLine(items, {108, bottom}, {140, bottom}, "3")); // 4 columns of 8 mm
        EXPECT_TRUE(HasLine(items, {108, 240}, {140, 240}, "3"));
        EXPECT_EQ(Find(items, "Pi").has_value(), ldpm);
        // Section 2: 20 mm over 3 coils.
        auto ni = Find(items, "3.00");
        ASSERT_TRUE(ni);
        EXPECT_NEAR(ni->points[0].x, 125, 1e-6);
        EXPECT_NEAR(ni->points[0].y, 226, 1e-6);
        EXPECT_EQ(Find(items, "6.67").has_value(), ldpm); // its pitch
        EXPECT_EQ(HasTextStarting(items, "Ld = "), ldpm);
        EXPECT_EQ(HasTextStarting(items, "m = "), ldpm);
    }
}

TEST_F(DrawingTest, F1ZeroLabelsTheSecondPointAlone) {
    Rich();
    session.spring.L1 = 1e6; // beyond L0: no force at the first working length
    Calculate();
    ASSERT_EQ(session.spring.F1, 0);
    const auto items = Drawing();
    EXPECT_TRUE(HasTextStarting(items, "F = "));
    EXPECT_TRUE(HasTextStarting(items, "Tau k = ")); // dynamic load
    EXPECT_TRUE(HasTextStarting(items, "L = "));
    for (const char* absent : {"F1 = ", "F2 = ", "L1 = ", "L2 = ", "Tau k1 = ", "Tau k2 = "})
        EXPECT_FALSE(HasTextStarting(items, absent)) << absent;
    auto f = Find(items, TextStarting(items, "F = "));
    EXPECT_NEAR(f->points[0].x, 126, 1e-6);
    EXPECT_NEAR(f->points[0].y, 262, 1e-6);
    // No leader to a first point that is not there, the second one stays.
    EXPECT_FALSE(HasLine(items, {81, 268}, {102, 268}));
    EXPECT_TRUE(HasLine(items, {86, 261}, {102, 261}));
    // Static load: "Tau  = ".
    session.spring.loadType = 1;
    Calculate();
    EXPECT_TRUE(HasTextStarting(Drawing(), "Tau  = "));
}

TEST_F(DrawingTest, ForcesShownOrNot) {
    for (bool forces : {true, false}) {
        SCOPED_TRACE(forces);
        session.spring = SpringRecord{};
        Rich();
        session.spring.showForces = forces;
        Calculate();
        ASSERT_GT(session.spring.F1, 0);
        const auto items = Drawing();
        for (const char* label :
             {"F1 = ", "F2 = ", "L1 = ", "L2 = ", "Tau k1 = ", "Tau k2 = ", "Tau kh = ", "sh = "})
            EXPECT_EQ(HasTextStarting(items, label), forces) << label;
        EXPECT_EQ(Find(items, "Hubspannung").has_value(), forces);
        EXPECT_EQ(HasLine(items, {81, 268}, {102, 268}), forces);
        EXPECT_EQ(HasLine(items, {86, 261}, {102, 261}), forces);
        EXPECT_EQ(HasLine(items, {105.5L, 261}, {202, 261}), forces);
        for (const char* always : {"Fn = ", "Fc = ", "Ln = ", "Lc = ", "Tau n = ", "Tau c = "})
            EXPECT_TRUE(HasTextStarting(items, always)) << always;
        EXPECT_TRUE(HasLine(items, {91, 254}, {102, 254}));
        EXPECT_TRUE(HasLine(items, {96, 249}, {102, 249}));
    }
}

TEST_F(DrawingTest, WorkingPointTextsCarryValuesDeviationsAndUnits) {
    Rich();
    session.spring.loadType = 1;
    Calculate();
    const SpringRecord& s = session.spring;
    const Configuration& c = session.config;
    const auto items = Drawing();
    const std::string f1 = "F1 = " + ShortFormat(c, s.F1) +
                           DeviationText(c, Quantity::Force, s.tolF1Upper, s.tolF1Lower) + " N";
    auto t = Find(items, f1);
    ASSERT_TRUE(t) << f1;
    EXPECT_NEAR(t->points[0].x, 126, 1e-6);
    EXPECT_NEAR(t->points[0].y, 268, 1e-6);
    EXPECT_TRUE(Find(items, "Tau 1 = " + ShortFormat(c, s.tau1) + " MPa"));
    EXPECT_TRUE(Find(items, "Fc = " + ShortFormat(c, s.Fc) + " N"));
    EXPECT_FALSE(HasTextStarting(items, "Tau kh = ")); // static load
    EXPECT_FALSE(Find(items, "Hubspannung"));
    // The dimensions of the lengths, from the base line y = 200.
    auto l0 = Find(items, TextStarting(items, "L0 = "));
    ASSERT_TRUE(l0);
    EXPECT_EQ(l0->text, "L0 = " + ShortFormat(c, s.L0) +
                            DeviationText(c, Quantity::Length, s.tolL0Upper, s.tolL0Lower));
    EXPECT_NEAR(l0->angle, 90, 1e-6);
    EXPECT_NEAR(l0->points[0].x, 75.5L, 1e-6);
    EXPECT_TRUE(HasLine(items, {77, 200}, {77, 275}, "3"));
    EXPECT_TRUE(HasLine(items, {97, 200}, {97, 249}, "3"));
    EXPECT_TRUE(Find(items, "n  = " + FixedFormat(c, s.n, 4, 2)));
    EXPECT_TRUE(Find(items, "n = 25/s"));
}

TEST_F(DrawingTest, MandrelAndSleeve) {
    struct Case {
        word mandrelSleeve;
        bool mandrel, sleeve;
    };
    const Case cases[] = {{1, true, false}, {2, false, true}, {3, true, true}, {4, false, false}};
    const Box mandrelArea{33.5L, 260, 58.5L, 281};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mandrelSleeve);
        session.spring = SpringRecord{};
        Rich();
        session.spring.mandrelSleeve = c.mandrelSleeve;
        Calculate();
        const SpringRecord& s = session.spring;
        ASSERT_GT(s.mandrelMax, 0);
        ASSERT_GT(s.sleeveMin, 0);
        const auto items = Drawing();
        EXPECT_EQ(HasLine(items, {58.5L, 280}, {58.5L, 260}, "1"), c.mandrel);
        EXPECT_EQ(HasLine(items, {33.5L, 260}, {33.5L, 280}, "1"), c.mandrel);
        EXPECT_EQ(LinesWithin(items, mandrelArea, "3") >= 8, c.mandrel);
        EXPECT_EQ(HasTextStarting(items, "<= "), c.mandrel);
        EXPECT_EQ(HasLine(items, {27.5L, 195}, {27.5L, 207}, "1"), c.sleeve);
        EXPECT_EQ(HasLine(items, {23.06L, 195}, {68.94L, 195}, "1"), c.sleeve);
        EXPECT_EQ(HasTextStarting(items, ">= "), c.sleeve);
        // Hatch lines of the walls (FEDER1 draws nothing on layer 3 below y 200).
        const Box lowerWalls{23, 195, 69, 199.9L};
        EXPECT_EQ(LinesWithin(items, lowerWalls, "3") > 0, c.sleeve);
        if (c.sleeve) {
            // Rounded up to one decimal: the sleeve must not be narrower than the spring.
            const std::string shown = TextStarting(items, ">= ").substr(3);
            EXPECT_GE(std::stold(shown), s.sleeveMin);
            EXPECT_LT(std::stold(shown), s.sleeveMin + 0.1L + 1e-9L);
        }
        if (c.mandrel) {
            // Rounded down: the mandrel must not be thicker than the spring's bore.
            const std::string shown = TextStarting(items, "<= ").substr(3);
            EXPECT_LE(std::stold(shown), s.mandrelMax);
            EXPECT_GT(std::stold(shown), s.mandrelMax - 0.1L - 1e-9L);
            EXPECT_TRUE(HasLine(items, {33.5L, 280}, {33.5L, 288}, "3"));
        }
    }
}

TEST_F(DrawingTest, GroundEndsCarryPerpendicularityAndParallelism) {
    for (word endType : {1, 2, 3}) {
        SCOPED_TRACE(endType);
        session.spring = SpringRecord{};
        Rich();
        session.spring.endType = endType;
        Calculate();
        const auto items = Drawing();
        const bool ground = endType != 1;
        EXPECT_EQ(HasLine(items, {29, 200}, {24, 275}), ground);
        EXPECT_EQ(HasTextStarting(items, "     e1="), ground);
        EXPECT_EQ(HasTextStarting(items, "          e2="), ground);
        // The end-form tick: Form 1 for type 2, Form 2 for type 1, Form 3 for type 3.
        EXPECT_EQ(Crossed(items, 33, 187), endType == 2);
        EXPECT_EQ(Crossed(items, 113, 187), endType == 1);
        EXPECT_EQ(Crossed(items, 153, 187), endType == 3);
        EXPECT_TRUE(HasCircle(items, {33, 187}, 1.5L));
    }
}

TEST_F(DrawingTest, OwnEndFormIsTickedAndNamed) {
    Rich();
    session.spring.endType = 4;
    session.spring.endText = "angelegt, abgeschr\x84gt";
    session.spring.x = 0.5L;
    Calculate();
    const auto items = Drawing();
    EXPECT_TRUE(Crossed(items, 33, 183));
    auto t = Find(items, "Federenden angelegt, abgeschr\x84gt");
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->points[0].x, 40, 1e-6);
    EXPECT_NEAR(t->points[0].y, 182, 1e-6);
}

TEST_F(DrawingTest, CompensationModeDecidesDeviationsAndTicks) {
    struct Case {
        word mode;
        bool wireDeviation, l0Deviation, l0Tick, dTick, standard;
    };
    const Case cases[] = {
        {1, true, false, false, true, true},  {2, false, true, true, true, false},
        {3, true, true, true, false, true},   {4, false, false, false, true, false},
        {5, true, false, false, false, true}, {6, true, true, true, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        session.spring = SpringRecord{};
        Rich();
        SpringRecord& s = session.spring;
        s.compensationMode = c.mode;
        s.wireTolGrade = 9;
        s.tolGradeD = 1;
        s.tolGradeL0 = 2;
        s.tolGradeF1 = 3;
        s.tolGradeF2 = 4;
        Calculate();
        ASSERT_GT(s.wireTol, 0);
        ASSERT_GT(s.tolL0Upper, 0);
        const auto items = Drawing();
        const std::string d = TextStarting(items, "d = ");
        EXPECT_EQ(d.find(ToleranceSign(session.config)) != std::string::npos, c.wireDeviation) << d;
        const std::string l0 = TextStarting(items, "L0 = ");
        EXPECT_EQ(l0.size() > 5 + ShortFormat(session.config, s.L0).size(), c.l0Deviation) << l0;
        EXPECT_EQ(Crossed(items, 165, 157), c.l0Tick);
        EXPECT_EQ(Crossed(items, 149, 161), c.dTick);
        EXPECT_TRUE(Crossed(items, 181, 153)); // F1 grade 3
        EXPECT_TRUE(Crossed(items, 197, 149)); // F2 grade 4: DIN 2096
        EXPECT_EQ(Find(items, "nach EN 10270-1").has_value(), c.standard);
        const real compensationY[5] = {123, 113.5L, 104.5L, 95.5L, 86.5L};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Crossed(items, 200, compensationY[i]), c.mode == i + 1) << i;
    }
}

TEST_F(DrawingTest, OptionTicksAndValues) {
    Rich();
    Calculate();
    const auto items = Drawing();
    EXPECT_TRUE(Crossed(items, 104, 163)); // right-hand coiling
    EXPECT_FALSE(Crossed(items, 104, 158));
    EXPECT_FALSE(Crossed(items, 104, 150)); // deburring inside and outside
    EXPECT_TRUE(Crossed(items, 104, 146));
    EXPECT_TRUE(Crossed(items, 104, 142));
    EXPECT_TRUE(Crossed(items, 104, 110)); // drawn wire
    EXPECT_FALSE(Crossed(items, 104, 98)); // not shot peened
    EXPECT_TRUE(Crossed(items, 155, 67));  // test springs preset
    EXPECT_FALSE(Crossed(items, 155, 63));
    EXPECT_TRUE(Find(items, "Ls = 30 mm"));
    EXPECT_TRUE(Find(items, "phosphatiert"));
    EXPECT_TRUE(Find(items, "Werkstoff: Federstahl"));
    EXPECT_TRUE(Find(items, "Arbeitstemperaturbereich von -20 bis 120 \xF8"
                            "C"));
    EXPECT_TRUE(Find(items, "Enden verschliffen"));
    // Frequency 0 and a setting length of 0 show dots.
    session.spring.f = 0;
    session.spring.settingLength = 0;
    const auto dotted = Drawing();
    auto frequency = Find(dotted, "........");
    ASSERT_TRUE(frequency);
    EXPECT_TRUE(Find(dotted, "Ls = ........"));
}

TEST_F(DrawingTest, MaterialStandardDesignationFromTheTableRow) {
    Rich();
    Calculate();
    session.spring.materialKind = 0; // as if taken from the table
    session.CurrentMaterial.name3 = "EN 10270-1";
    session.CurrentMaterial.name4 = "DIN 17223-1 C";
    auto t = Find(Drawing(), "EN 10270-1  (DIN 17223-1 C)");
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->points[0].y, 73, 1e-6);
    session.CurrentMaterial.name4.clear();
    EXPECT_TRUE(Find(Drawing(), "EN 10270-1"));
    session.spring.materialKind = 11; // a typed material has none
    EXPECT_FALSE(Find(Drawing(), "EN 10270-1"));
}

// ---- Title block ----

TEST_F(DrawingTest, TitleBlockTexts) {
    Rich();
    session.config.ReleaseFieldCaption = "Frei";
    session.spring.drawingInfo.row4Date = "07.03.2024";
    session.spring.drawingInfo.row4Name = "Lang";
    Calculate();
    const auto items = Drawing();
    struct Want {
        std::string text;
        real x, y, h;
        const char* layer;
    };
    const Want wanted[] = {
        {"Ventilfeder", 120, 32.5L, 5, "5"},
        {"K-0815-3", 120, 12, 5, "5"},
        {"Einlassventil Zylinderkopf", 120, 25, 3.5L, "5"},
        {"05.03.2024", 83.5L, 35.6L, 1.8L, ""},
        {"Meier", 100, 35.6L, 1.8L, ""},
        {"06.03.2024", 83.5L, 31.2L, 1.8L, ""},
        {"Schulz", 100, 31.2L, 1.8L, ""},
        {"07.03.2024", 83.5L, 23.0L, 1.8L, ""},
        {"Lang", 100, 23.0L, 1.8L, ""},
        {"Frei", 74, 23.2L, 1.8L, ""},
        {"Bearb.", 74, 35.6L, 1.8L, ""},
        {"Ersatz f\x81r K-0815-2", 118, 6.5L, 1.8L, ""},
        {"Ersetzt durch K-0815-4", 162, 6.5L, 1.8L, ""},
        {"Blatt", 194, 18, 1.8L, ""},
        {"Zust.", 19, 6, 1.6L, ""},
        {"Muster", 130, 100, 2.5L, ""},
        {DateText(session.config, 2024, 3, 5) + " 14:30", 186, 1, 1.5L, ""},
        {Utf8ToCp850(temp / "feder.kra"), 18, 1, 1.5L, ""},
        {"KALDORN KORA - Progressive zyl. Druckfeder V11.4", 1, 300, 3.5L, ""},
    };
    for (const Want& w : wanted) {
        SCOPED_TRACE(w.text);
        auto t = Find(items, w.text);
        ASSERT_TRUE(t);
        EXPECT_NEAR(t->points[0].x, w.x, 1e-6);
        EXPECT_NEAR(t->points[0].y, w.y, 1e-6);
        EXPECT_NEAR(t->h, w.h, 1e-6);
        if (*w.layer) {
            EXPECT_EQ(t->layer, w.layer);
        }
        EXPECT_EQ(t->block, "FRAME_1");
    }
    // The protection notices stand turned along the left edge.
    auto notice = Find(items, std::string(text::kProtectionGerman[0]));
    ASSERT_TRUE(notice);
    EXPECT_NEAR(notice->angle, 90, 1e-6);
    EXPECT_NEAR(notice->points[0].x, 4, 1e-6);
    EXPECT_NEAR(notice->points[0].y, 200, 1e-6);
    // The drawing frame and the sheet edge.
    EXPECT_TRUE(HasLine(items, {18, 5}, {205, 5}, "5"));
    EXPECT_TRUE(HasLine(items, {0, 0}, {210, 0}, "3"));
}

TEST_F(DrawingTest, ConfigurationSwitchesOffFileNameDateAndMakerLine) {
    Rich();
    session.config.HideFileName = session.config.HideDate = session.config.HideMakerTitle = true;
    Calculate();
    const auto items = Drawing();
    EXPECT_FALSE(HasTextStarting(items, "KALDORN"));
    EXPECT_FALSE(Find(items, Utf8ToCp850(temp / "feder.kra")));
    EXPECT_FALSE(Find(items, DateText(session.config, 2024, 3, 5) + " 14:30"));
    EXPECT_TRUE(Find(items, "05.03.2024")); // the dates of the title block stay
}

TEST_F(DrawingTest, RevisionTableShowsTheLastEightInTheConfiguredStyle) {
    Rich();
    SpringRecord& s = session.spring;
    s.changeCount = 10;
    for (int i = 0; i < 10; ++i)
        s.changes[static_cast<std::size_t>(i)] = {"Aenderung " + std::to_string(i + 1),
                                                  "0" + std::to_string(i % 9 + 1) + ".01.2024",
                                                  "AB", ""};
    Calculate();
    struct Case {
        int style;         // ChangeIndexStyle of the configuration
        const char* first; // index of record 3, the oldest shown
        const char* last;  // index of record 10
    };
    const Case cases[] = {{0, "c", "j"}, {1, "3", "10"}, {2, "C", "J"}, {3, "", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        session.config.ChangeIndexStyle = c.style;
        const auto items = Drawing();
        EXPECT_FALSE(Find(items, "Aenderung 1"));
        EXPECT_FALSE(Find(items, "Aenderung 2"));
        for (int i = 3; i <= 10; ++i) {
            auto t = Find(items, "Aenderung " + std::to_string(i));
            ASSERT_TRUE(t) << i;
            EXPECT_NEAR(t->points[0].x, 27, 1e-6);
            EXPECT_NEAR(t->points[0].y, 6.5L + 4.2L * (i - 2), 1e-6);
            EXPECT_NEAR(t->h, 1.7L, 1e-6);
        }
        std::vector<std::string> indexes;
        for (const Item& t : TextsOf(items))
            if (Near(t.points[0].x, 21)) indexes.push_back(t.text);
        if (*c.first) {
            ASSERT_EQ(indexes.size(), 8u);
            EXPECT_EQ(indexes.front(), c.first);
            EXPECT_EQ(indexes.back(), c.last);
        } else {
            EXPECT_TRUE(indexes.empty());
        }
    }
}

TEST_F(DrawingTest, DrawingTextWithoutHeightTakesThePreviousStyle) {
    Rich();
    DrawingInfo& info = session.spring.drawingInfo;
    info.textCount = 2;
    info.texts[0] = {130, 100, 3, 90, "Erster"};
    info.texts[1] = {150, 100, 0, 0, "Zweiter"};
    Calculate();
    const auto items = Drawing();
    auto first = Find(items, "Erster"), second = Find(items, "Zweiter");
    ASSERT_TRUE(first && second);
    EXPECT_NEAR(first->h, 3, 1e-6);
    EXPECT_NEAR(first->angle, 90, 1e-6);
    EXPECT_NEAR(first->k, 0.8L, 1e-6);
    EXPECT_NEAR(second->h, 3, 1e-6);
    EXPECT_NEAR(second->angle, 90, 1e-6);
    EXPECT_NEAR(second->points[0].x, 150, 1e-6);
}

// ---- Guards ----

TEST_F(DrawingTest, FatalSpringOrNoSectionsShowsTheMessageListOnly) {
    struct Case {
        const char* name;
        void (*spoil)(Session&);
    };
    const Case cases[] = {
        {"fatal", [](Session& s) { s.Fatal("Fatal  : Test"); }},
        {"no sections",
         [](Session& s) {
             s.spring.nsec = 0;
             s.Message("Warnung: Test");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session.spring = SpringRecord{};
        Rich();
        Calculate();
        c.spoil(session);
        dialogs.shown.clear();
        for (OutputKind kind : {OutputKind::Dxf, OutputKind::Ask, OutputKind::Screen}) {
            dialogs.Push(Answer::Cancelled()); // leaves the message list
            display.Clear();
            EXPECT_FALSE(ProductionDrawing(session, cad, kind, setup));
            EXPECT_TRUE(display.Empty());
        }
        EXPECT_FALSE(fs::exists(temp / "feder.dxf"));
        EXPECT_TRUE(dialogs.script.empty());     // three times the message list
        EXPECT_TRUE(dialogs.unexpected.empty()); // no form, no output choice
        EXPECT_EQ(std::count(dialogs.shown.begin(), dialogs.shown.end(),
                             "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und "
                             "Abhilfe."),
                  3);
    }
}

TEST_F(DrawingTest, NonRoundWireIsRefused) {
    for (word wireType : {2, 3, 4}) {
        SCOPED_TRACE(wireType);
        session.spring = SpringRecord{};
        examples::NonRound(session, wireType, 4, 2);
        CalculateSpring(session); // the refusal comes first, whatever the calculation found
        dialogs.infos.clear();
        EXPECT_FALSE(ProductionDrawing(session, cad, OutputKind::Dxf, setup));
        ASSERT_EQ(dialogs.infos.size(), 1u);
        EXPECT_EQ(dialogs.infos[0], "nur f\xC3\xBCr runden Drahtquerschnitt");
        EXPECT_FALSE(fs::exists(temp / "feder.dxf"));
    }
}

// Passes the hatching on to the CAD output; the first hatch line of the mandrel fails as a
// boundary with too many crossings would: message, AbortFlag, nothing more of that face.
class FailingMandrelHatch : public HatchOutput {
  public:
    FailingMandrelHatch(Session& session, CadOutput& cad) : session_(session), cad_(cad) {}
    void CadLayer(int layer) override { cad_.CadLayer(layer); }
    void CadPolylineBegin(int flags) override { cad_.CadPolylineBegin(flags); }
    void CadPolylineVertex(real bulge, real x, real y) override {
        cad_.CadPolylineVertex(bulge, x, y);
    }
    void CadPolylineEnd() override { cad_.CadPolylineEnd(); }
    void CadLine(real x1, real y1, real x2, real y2) override {
        const bool mandrel = std::min(x1, x2) >= 33.5L && std::max(x1, x2) <= 58.5L &&
                             std::min(y1, y2) >= 260 && std::max(y1, y2) <= 281;
        if (mandrel && !failed) {
            failed = true;
            session_.Message(hatchtext::kTooManyIntersections);
            session_.AbortFlag = true;
        }
        if (!mandrel) cad_.CadLine(x1, y1, x2, y2);
    }
    void CadCircle(real x, real y, real r) override { cad_.CadCircle(x, y, r); }
    void CadArc(real x, real y, real r, real a, real b) override { cad_.CadArc(x, y, r, a, b); }
    void CadEllipse(real a, real b, real x, real y) override { cad_.CadEllipse(a, b, x, y); }
    bool failed = false;

  private:
    Session& session_;
    CadOutput& cad_;
};

TEST_F(DrawingTest, HatchingFailureKeepsTheFile) {
    Rich();
    Calculate();
    FailingMandrelHatch probe(session, cad);
    setup.hatchOutput = &probe;
    EXPECT_TRUE(ProductionDrawing(session, cad, OutputKind::Dxf, setup));
    ASSERT_TRUE(probe.failed);
    ASSERT_TRUE(fs::exists(temp / "feder.dxf"));
    const std::string dxf = ReadFile(temp / "feder.dxf");
    EXPECT_EQ(dxf.substr(dxf.size() - 10), "  0\r\nEOF\r\n");
    // Everything drawn after the mandrel is there.
    const auto items = Items(ParseDxf(dxf));
    EXPECT_TRUE(HasTextStarting(items, "Lc = "));
    EXPECT_TRUE(Find(items, "L0i"));
    EXPECT_TRUE(HasTextStarting(items, "m = "));
    EXPECT_NE(std::find(session.messages.begin(), session.messages.end(),
                        std::string(hatchtext::kTooManyIntersections)),
              session.messages.end());
}

// ---- Options before the output choice ----

// The kind Ask asks the options first (ui/drawing_options_form.h gives the form); the other
// kinds draw the spring's options as they are.
TEST_F(DrawingTest, AskKindAsksTheOptionsFirst) {
    Rich();
    Calculate();
    int asked = 0;
    setup.askOptions = [&](Session& s) {
        ++asked;
        s.spring.showLdPm = false;
        s.AbortFlag = false;
        return true;
    };
    dialogs.Push(Answer::Chosen(5)); // the output kind: TXT
    EXPECT_TRUE(ProductionDrawing(session, cad, OutputKind::Ask, setup));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_FALSE(session.spring.showLdPm);
    EXPECT_TRUE(fs::exists(temp / "feder.txt"));
    EXPECT_TRUE(ProductionDrawing(session, cad, OutputKind::Dxf, setup));
    EXPECT_EQ(asked, 1);
}

TEST_F(DrawingTest, CancelledOptionsWriteNothing) {
    Rich();
    Calculate();
    setup.askOptions = [](Session& s) {
        s.AbortFlag = true;
        return false;
    };
    EXPECT_FALSE(ProductionDrawing(session, cad, OutputKind::Ask, setup));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_TRUE(dialogs.shown.empty()); // no output choice
    EXPECT_TRUE(fs::is_empty(temp.str()));
}

// ---- Dimension helpers ----

TEST_F(DrawingTest, DimensionHelpers) {
    cad.CadBeginFile(OutputKind::Dxf, temp / "dim.dxf");
    cad.CadSheet(0, 0, 100, 100);
    cad.CadPageStart();
    DimHorizontal(cad, "abcd", 10, 30, 50);
    DimHorizontalSmall(cad, "xy", 40, 44, 60);
    DimVertical(cad, "L0 = 5", 70, 10, 40);
    DimVerticalSmall(cad, "d", 80, 20, 24);
    TickCircle(cad, 90, 90, true);
    TickCircle(cad, 90, 80, false);
    cad.CadSectionEnd();
    ASSERT_TRUE(cad.CadEnd());
    const auto items = Items(ParseDxf(ReadFile(temp / "dim.dxf")));
    // DimHorizontal: the line, arrows pointing out (their tails inside), centred text.
    EXPECT_TRUE(HasLine(items, {10, 50}, {30, 50}));
    EXPECT_TRUE(HasLine(items, {13.5L, 50}, {10, 50})); // arrow at x1, tail at +3.5
    EXPECT_TRUE(HasLine(items, {26.5L, 50}, {30, 50}));
    auto t = Find(items, "abcd");
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->points[0].x, 20 - 4 * 2.0L / 2, 1e-6);
    EXPECT_NEAR(t->points[0].y, 51, 1e-6);
    EXPECT_NEAR(t->h, 2, 1e-6);
    // DimHorizontalSmall: stubs outside, arrows pointing in.
    EXPECT_TRUE(HasLine(items, {35, 60}, {40, 60}));
    EXPECT_TRUE(HasLine(items, {44, 60}, {49, 60}));
    EXPECT_TRUE(HasLine(items, {36.5L, 60}, {40, 60}));
    t = Find(items, "xy");
    EXPECT_NEAR(t->points[0].x, 42 - 2 * 1.8L / 2, 1e-6);
    EXPECT_NEAR(t->points[0].y, 61.5L, 1e-6);
    // DimVertical: text turned, left of the line.
    EXPECT_TRUE(HasLine(items, {70, 10}, {70, 40}));
    EXPECT_TRUE(HasLine(items, {70, 13.5L}, {70, 10}));
    t = Find(items, "L0 = 5");
    EXPECT_NEAR(t->angle, 90, 1e-6);
    EXPECT_NEAR(t->points[0].x, 68.5L, 1e-6);
    EXPECT_NEAR(t->points[0].y, 25 - 6 * 1.8L / 2, 1e-6);
    // DimVerticalSmall: stubs, text right of the line.
    EXPECT_TRUE(HasLine(items, {80, 15}, {80, 20}));
    EXPECT_TRUE(HasLine(items, {80, 24}, {80, 29}));
    EXPECT_TRUE(HasLine(items, {80, 16.5L}, {80, 20}));
    t = Find(items, "d");
    EXPECT_NEAR(t->points[0].x, 84, 1e-6);
    EXPECT_NEAR(t->points[0].y, 22 - 1.8L / 2, 1e-6);
    // Tick circles.
    EXPECT_TRUE(HasCircle(items, {90, 90}, 1.5L));
    EXPECT_TRUE(Crossed(items, 90, 90));
    EXPECT_TRUE(HasCircle(items, {90, 80}, 1.5L));
    EXPECT_FALSE(Crossed(items, 90, 80));
    EXPECT_EQ(cad.Cursor().x, 90);
    EXPECT_EQ(cad.Cursor().y, 80);
}

// ---- Logo ----

std::string ExampleLogo() {
    const char* data = std::getenv("KORA_DATA");
    return std::string(data ? data : KORA_SOURCE_DATA_DIR) + "/logo_1.dxf";
}

TEST_F(DrawingTest, ExampleLogoFitsItsField) {
    std::vector<DxfEntity> entities;
    ASSERT_EQ(ReadDxfEntities(ExampleLogo(), entities), DxfReadStatus::Ok);
    ASSERT_FALSE(entities.empty());
    // Inserted at (75, 10) at scale 1 it stays in the title-block field 73..116 x 9.4..22.
    for (const DxfEntity& e : entities) {
        std::vector<Pt> pts;
        if (e.type == DxfEntity::Type::Polyline)
            for (const DxfVertex& v : e.vertices)
                pts.push_back({v.x, v.y});
        else if (e.type == DxfEntity::Type::Circle || e.type == DxfEntity::Type::Arc)
            pts = {{e.x[0] - e.radius, e.y[0] - e.radius}, {e.x[0] + e.radius, e.y[0] + e.radius}};
        else if (e.type == DxfEntity::Type::Text)
            pts = {{e.x[0], e.y[0]},
                   {e.x[0] + e.text.size() * e.height * e.widthFactor, e.y[0] + e.height}};
        else
            pts = {{e.x[0], e.y[0]}, {e.x[1], e.y[1]}};
        for (const Pt& p : pts) {
            EXPECT_GE(75 + p.x, 73.5L);
            EXPECT_LE(75 + p.x, 115.5L);
            EXPECT_GE(10 + p.y, 9.9L);
            EXPECT_LE(10 + p.y, 21.5L);
        }
    }
}

TEST_F(DrawingTest, LogoIsCopiedAtStartAndInsertedOnTheScreen) {
    Rich();
    Calculate();
    const std::string config = temp / "config";
    fs::create_directories(config);
    fs::copy_file(ExampleLogo(), LogoFileIn(config));
    const std::string tempFolder = temp / "tmp";
    fs::create_directories(tempFolder);
    cad.SetTempFolder(tempFolder);
    ASSERT_TRUE(InstallLogoBlock(LogoFileIn(config), tempFolder));
    EXPECT_EQ(ReadFile(tempFolder + "/$logo_1.dx$"), ReadFile(ExampleLogo()));
    EXPECT_FALSE(InstallLogoBlock(temp / "none/logo_1.dxf", tempFolder));

    std::vector<DxfEntity> logo;
    ReadDxfEntities(ExampleLogo(), logo);
    auto lines = [&] {
        std::size_t n = 0;
        for (std::size_t i = 0; i < display.Count(); ++i)
            n += display[i].rfind("4;", 0) == 0;
        return n;
    };
    setup.logoSource = LogoFileIn(config);
    ASSERT_TRUE(ProductionDrawing(session, cad, OutputKind::Screen, setup));
    const std::size_t withLogo = lines();
    // The screen output has removed its block files, the logo copy among them; the next
    // drawing copies it again.
    EXPECT_FALSE(fs::exists(tempFolder + "/$logo_1.dx$"));
    ASSERT_TRUE(ProductionDrawing(session, cad, OutputKind::Screen, setup));
    EXPECT_EQ(lines(), withLogo);
    session.config.HideLogo = true;
    ASSERT_TRUE(ProductionDrawing(session, cad, OutputKind::Screen, setup));
    std::size_t logoLines = 0;
    for (const DxfEntity& e : logo) {
        if (e.type == DxfEntity::Type::Line) ++logoLines;
        if (e.type == DxfEntity::Type::Polyline && e.vertices.size() > 1)
            logoLines += e.vertices.size() - 1;
    }
    EXPECT_GT(logoLines, 0u);
    EXPECT_EQ(lines() + logoLines, withLogo);
    // The plotter gets the logo's entities in its DXF file; a DXF file of its own does not.
    session.config.HideLogo = false;
    cadtest::LineLauncher launcher;
    session.launcher = &launcher;
    ASSERT_TRUE(ProductionDrawing(session, cad, OutputKind::Plotter, setup));
    EXPECT_NE(ReadFile(tempFolder + "/vektra.dxf").find("\r\nFedertechnik\r\n"), std::string::npos);
    ASSERT_TRUE(ProductionDrawing(session, cad, OutputKind::Dxf, setup));
    EXPECT_EQ(ReadFile(temp / "feder.dxf").find("Federtechnik"), std::string::npos);
    EXPECT_EQ(std::find(session.messages.begin(), session.messages.end(),
                        std::string("Invalid temp directory")),
              session.messages.end());
}

// ---- Screen and the redraw ----

TEST_F(DrawingTest, ScreenDrawingThroughTheRedraw) {
    Rich();
    Calculate();
    DiagramContext context(session, cad);
    session.config.ResultGraphic = 3; // "Fertigungszeichnung"
    RedrawCurrentView(context);
    EXPECT_GT(display.Count(), 500u);
    EXPECT_TRUE(dialogs.unexpected.empty());
    // The sheet is installed isotropic, so a portrait drawing keeps its proportions.
    EXPECT_TRUE(display.mapping.isotropic);
    EXPECT_EQ(display.mapping.world, (WorldRect{-5, -5, 225, 310}));
}

TEST_F(DrawingTest, EveryOutputKindDrawsWithoutAMessage) {
    Rich();
    Calculate();
    const int messages = session.messages.Count();
    std::vector<std::string> launched;
    cadtest::LineLauncher launcher;
    session.launcher = &launcher;
    launcher.start = [&](const std::string& line) {
        launched.push_back(line);
        return 0;
    };
    struct Case {
        OutputKind kind;
        const char* file; // "" = no file of its own
    };
    const Case cases[] = {{OutputKind::Dxf, "feder.dxf"},
                          {OutputKind::Iges, "feder.igs"},
                          {OutputKind::Txt, "feder.txt"},
                          {OutputKind::Plotter, "vektra.dxf"},
                          {OutputKind::Screen, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        display.Clear();
        EXPECT_TRUE(ProductionDrawing(session, cad, c.kind, setup));
        EXPECT_FALSE(session.AbortFlag);
        EXPECT_EQ(session.messages.Count(), messages);
        if (*c.file) {
            EXPECT_TRUE(fs::exists(temp / c.file));
        } else {
            EXPECT_FALSE(display.Empty());
        }
    }
    EXPECT_EQ(launched.size(), 1u);
    EXPECT_GT(fs::file_size(temp / "feder.igs"), 10000u);
}

// ---- Golden TXT files ----

TEST_F(DrawingTest, GoldenDrawingWithForcesAndPitchRow) {
    Rich();
    Calculate();
    ExpectGolden(Txt(), "rich.txt");
}

TEST_F(DrawingTest, GoldenDrawingWithoutThem) {
    Plain();
    Calculate();
    ExpectGolden(Txt(), "plain.txt");
}

} // namespace
} // namespace kora

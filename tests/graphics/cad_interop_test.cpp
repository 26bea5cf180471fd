// The test drawing written as DXF and read by ezdxf (a reader nobody here wrote), and written as
// TXT and IGES with the entity counts worked out by hand. OpenCASCADE reads the IGES file in
// tests/iges_occt.
#include "cad_test_drawing.h"
#include "cad_test_support.h"
#include "calc/session.h"
#include "graphics/cad_output.h"

#include "common/interop.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

namespace kora {
namespace {

namespace fs = std::filesystem;
using cadtest::CountOf;
using cadtest::ReadFile;

// Runs the summary script and returns its lines; empty when ezdxf cannot be run here.
std::vector<std::string> EzdxfSummary(const std::string& dxf) {
    const fs::path script =
        fs::path(KORA_FIXTURES_DIR).parent_path() / "graphics" / "dxf_ezdxf_summary.py";
    if (!fs::exists("/usr/bin/python3") ||
        std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0)
        return {};
    std::string command = "/usr/bin/python3 '" + script.string() + "' '" + dxf + "' 2>&1";
    std::vector<std::string> lines;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return lines;
    char buffer[8192];
    std::string line;
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            lines.push_back(line);
            line.clear();
        }
    }
    ::pclose(pipe);
    return lines;
}

std::vector<double> Numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<double> v;
    double d;
    while (in >> d)
        v.push_back(d);
    return v;
}

class CadInterop : public ::testing::Test {
  protected:
    CadInterop() : cad(session) { cad.SetTempFolder(temp.str()); }
    std::string Write(OutputKind kind, const std::string& name) {
        std::string path = temp / name;
        EXPECT_TRUE(cad.CadBeginFile(kind, path));
        testdrawing::Draw(cad);
        EXPECT_TRUE(cad.CadEnd());
        EXPECT_EQ(session.messages.Count(), 0) << session.messages[0];
        return path;
    }
    cadtest::TempFolder temp;
    Session session;
    CadOutput cad;
};

TEST_F(CadInterop, EzdxfReadsTheDrawingWithoutAuditErrors) {
    std::string path = Write(OutputKind::Dxf, "drawing.dxf");
    auto lines = EzdxfSummary(path);
    if (lines.empty()) KORA_SKIP_OR_FAIL("ezdxf is not installed for /usr/bin/python3");

    std::map<std::string, int> counts;
    std::vector<std::pair<std::string, std::string>> entities; // "TYPE layer", rest
    for (const auto& line : lines) {
        std::istringstream in(line);
        std::string tag;
        in >> tag;
        if (tag == "ERROR") ADD_FAILURE() << line;
        if (tag == "AUDIT") {
            EXPECT_EQ(line, "AUDIT 0 0");
        }
        // Loading may "fix" the SEQEND of a POLYLINE inside a BLOCK: ezdxf 0.18 does that for
        // R12 files of its own making too. Errors there would be ours.
        if (tag == "RECOVER") {
            EXPECT_EQ(line.substr(0, 9), "RECOVER 0") << line;
        }
        if (tag == "MS" || tag == "BLOCK") {
            std::string rest = line.substr(tag.size() + 1);
            std::size_t cut = rest.find_last_of(' ');
            counts[tag + " " + rest.substr(0, cut)] = std::stoi(rest.substr(cut + 1));
        }
        if (tag == "E") {
            std::string type, layer;
            in >> type >> layer;
            std::string rest;
            std::getline(in, rest);
            entities.emplace_back(type + " " + layer, rest);
        }
    }
    const std::map<std::string, int> expected = {{"MS LINE", testdrawing::kDxfLines},
                                                 {"MS CIRCLE", testdrawing::kDxfCircles},
                                                 {"MS ARC", testdrawing::kDxfArcs},
                                                 {"MS TEXT", testdrawing::kDxfTexts},
                                                 {"MS SOLID", testdrawing::kDxfSolids},
                                                 {"MS INSERT", testdrawing::kDxfInserts},
                                                 {"MS POLYLINE", testdrawing::kDxfPolylines},
                                                 {"BLOCK FEDER1 LINE", 1},
                                                 {"BLOCK FEDER1 CIRCLE", 1},
                                                 {"BLOCK FEDER1 ARC", 1},
                                                 {"BLOCK FEDER1 TEXT", 1},
                                                 {"BLOCK FEDER1 SOLID", 1},
                                                 {"BLOCK FEDER1 POLYLINE", 1},
                                                 {"BLOCK NEST INSERT", 1},
                                                 {"BLOCK NEST LINE", 1}};
    EXPECT_EQ(counts, expected);

    // Coordinates of the entities in drawing order, as ezdxf reads them.
    struct Probe {
        std::size_t index;
        const char* typeLayer;
        std::vector<double> numbers;
        const char* text;
    };
    const Probe probes[] = {
        {0, "LINE 1", {10, 10, 0, 100, 10, 0}, ""},
        {1, "CIRCLE 2", {50, 50, 10}, ""},
        {2, "ARC 3", {50, 50, 20, 30, 120}, ""},
        {3, "CIRCLE 3", {60, 60, 5}, ""},
        {5, "SOLID 4", {100, 100, 110, 100, 100, 110, 110, 110}, ""},
        // "Zentriert": 9 characters × 3.5 × 3/3.5 / 2 = 13.5 to the left, 1.75 down.
        {6, "TEXT 5", {186.5, 198.25, 3.5, 0.857, 0, 0}, "Zentriert"},
        {9, "TEXT 5", {300, 271.6, 3.5, 0.857, 0, 0}, "L0 = 52.5 mm"},
        {11, "LINE 16", {20, 0, 0, 20, 20, 0}, ""},
        {17, "INSERT 0", {250, 100, 2, 2, 90}, "FEDER1"},
        {19, "POLYLINE 18", {4, 10, 150, 0, 40, 150, -0.414214, 40, 180, 0, 60, 180, 0}, ""},
        {22, "POLYLINE 20", {static_cast<double>(testdrawing::kEllipseVertices), 320, 50, 0}, ""},
        {23, "LINE 21", {0, 0, 0, 10, 10, 10}, ""},
        {29, "LINE 24", {0, 290, 0, 10, 290, 0}, ""},
        {30, "LINE 24", {5, 5, 0, 6, 6, 0}, ""},
    };
    ASSERT_EQ(entities.size(), 31u);
    for (const Probe& p : probes) {
        const auto& [typeLayer, rest] = entities[p.index];
        EXPECT_EQ(typeLayer, p.typeLayer) << p.index;
        std::size_t bar = rest.find('|');
        std::vector<double> got = Numbers(rest.substr(0, bar));
        ASSERT_GE(got.size(), p.numbers.size()) << p.index;
        for (std::size_t i = 0; i < p.numbers.size(); ++i)
            EXPECT_NEAR(got[i], p.numbers[i], 1e-6) << p.index << " value " << i;
        EXPECT_EQ(rest.substr(bar + 1), p.text) << p.index;
    }
}

TEST_F(CadInterop, TxtHasEveryEntity) {
    std::string text = ReadFile(Write(OutputKind::Txt, "drawing.txt"));
    std::size_t entities = text.find("SECTION ENTITIES\r\n");
    ASSERT_NE(entities, std::string::npos);
    std::string page = text.substr(entities);
    EXPECT_EQ(CountOf(page, "\r\nLINE\t"), testdrawing::kTxtLines);
    EXPECT_EQ(CountOf(page, "\r\n3D_LINE\t"), testdrawing::kTxt3DLines);
    EXPECT_EQ(CountOf(page, "\r\nCIRCLE\t"), testdrawing::kTxtCircles);
    EXPECT_EQ(CountOf(page, "\r\nARC\t"), testdrawing::kTxtArcs);
    EXPECT_EQ(CountOf(page, "\r\nTEXT\t"), testdrawing::kTxtTexts);
    EXPECT_EQ(CountOf(page, "\r\nSOLID\t"), testdrawing::kTxtSolids);
    EXPECT_EQ(CountOf(page, "\r\nINSERT\t"), testdrawing::kTxtInserts);
    EXPECT_TRUE(text.starts_with("MINMAX\t0.000000\t0.000000\t420.000000\t297.000000\r\n"));
    EXPECT_TRUE(text.ends_with("\r\nEOF\r\n"));
    EXPECT_EQ(CountOf(text.substr(0, entities), "\r\nBLOCK\t"), 2);
}

TEST_F(CadInterop, IgesCountsEveryEntity) {
    std::string text = ReadFile(Write(OutputKind::Iges, "drawing.igs"));
    EXPECT_EQ(cad.IgesEntityCount(), testdrawing::kIgesEntities);
    // Every record is 80 columns and the D section holds two records per entity.
    std::istringstream in(text);
    std::string line;
    int directory = 0;
    while (std::getline(in, line)) {
        ASSERT_EQ(line.size(), 81u) << line; // with the CR
        directory += line[72] == 'D';
    }
    EXPECT_EQ(directory, 2 * testdrawing::kIgesEntities);
}

} // namespace
} // namespace kora

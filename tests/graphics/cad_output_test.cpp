#include "cad_test_support.h"
#include "calc/session.h"
#include "graphics/cad_format.h"
#include "graphics/cad_output.h"
#include "graphics/display_list.h"
#include "graphics/dxf_block_reader.h"
#include "graphics/hatching.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>

namespace kora {
namespace {

using cadtest::CountOf;
using cadtest::CrLf;
using cadtest::ReadFile;
namespace fs = std::filesystem;

class CadOutputTest : public ::testing::Test {
  protected:
    CadOutputTest() : session(dialogs), display(session), cad(session, &display) {
        cad.SetTempFolder(temp.str());
        cad.SetClock([] { return std::time_t(1733659200); }); // 2024-12-08 12:00 UTC
        session.launcher = &launcher;
        launcher.start = [this](const std::string& line) {
            launched.push_back(line);
            return launchResult;
        };
    }
    // Writes one drawing of the given kind and returns the file's text.
    std::string Write(OutputKind kind, const std::function<void(CadOutput&)>& draw,
                      const std::string& name = "out") {
        std::string path = temp / name;
        EXPECT_TRUE(cad.CadBeginFile(kind, path));
        draw(cad);
        EXPECT_TRUE(cad.CadEnd());
        return ReadFile(kind == OutputKind::Plotter ? temp / "vektra.dxf" : path);
    }
    std::vector<std::string> Records() const {
        std::vector<std::string> r;
        for (std::size_t i = 0; i < display.Count(); ++i)
            r.emplace_back(display[i]);
        return r;
    }
    bool HasRecord(const std::string& record) const {
        for (const auto& r : Records())
            if (r == record) return true;
        return false;
    }

    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    DisplayList display;
    CadOutput cad;
    cadtest::LineLauncher launcher;
    std::vector<std::string> launched;
    int launchResult = 0;
};

// --- number and text forms ---

TEST(CadFormat, FixedNumbersWithoutBlanksAndWithTheComma) {
    struct Case {
        real value;
        int decimals;
        bool comma;
        const char* text;
    };
    const Case cases[] = {{12.5L, 6, false, "12.500000"},
                          {0, 6, false, "0.000000"},
                          {-0.25L, 6, false, "-0.250000"},
                          {12.5L, 6, true, "12,500000"},
                          {-0.0000001L, 6, false, "0.000000"},
                          {2.345L, 2, false, "2.35"},
                          {1, 32, false, "1.00000000000000000000000000000000"}};
    for (const Case& c : cases)
        EXPECT_EQ(FixedNumber(c.value, c.decimals, c.comma), c.text);
}

TEST(CadFormat, ShortValueFormat) {
    struct Case {
        real value;
        int dezimalstellen;
        const char* text;
    };
    const Case cases[] = {{22, 3, "22"},      {22.5L, 3, "22.5"},      {1.23456L, 3, "1.235"},
                          {0.05L, 3, "0.05"}, {1234.6L, 3, "1235"},    {0.000001L, 3, "0"},
                          {-2.5L, 3, "-2.5"}, {0.857142L, 3, "0.857"}, {22.5L, 5, "22.500"}};
    for (const Case& c : cases)
        EXPECT_EQ(ShortNumber(c.value, c.dezimalstellen), c.text);
}

TEST(CadFormat, CadTextModes) {
    const std::string text =
        "Ma\xE1"
        "e \x84 \xF1 \xF8 \x81\x8E\x94\x99\x9A\x82\xA0\xA3\xA4\xC4\xCD\xE6\xFD";
    EXPECT_EQ(ConvertCadText(text, 1), text);
    EXPECT_EQ(ConvertCadText(text, 3), "Masse ae +/- deg ueAeoeOeUeeaun--u2");
    EXPECT_EQ(ConvertCadText("\x84\xF1\xF8\xE1\x8E", 2), "\xE4\xB1\xB0\xDF\xC4");
    EXPECT_EQ(ConvertCadText("\x9F", 2), "\x83"); // ƒ sits elsewhere in Windows-1252
    EXPECT_EQ(ConvertCadText("\xC4", 2), "?");    // a box-drawing line has no Windows-1252 byte
}

// --- file outputs ---

TEST_F(CadOutputTest, TxtRecordsWithTheDecimalComma) {
    session.config.decimalSeparator = 2;
    cad.settings.textMode = 3;
    std::string text = Write(OutputKind::Txt, [](CadOutput& c) {
        c.CadSheet(0, 0, 420, 297);
        c.CadBlocksBegin();
        c.CadBlockBegin("B1");
        c.CadLine(0, 0, 1, 0);
        c.CadBlockEnd();
        c.CadSectionEnd();
        c.CadPageStart();
        c.CadLayer(3); // layers and line types are not written
        c.CadLineType(2);
        c.CadLine(0, 0, 12.5L, -3);
        c.CadLine3D(1, 2, 3, 4, 5, 6);
        c.CadCircle(1, 2, 3);
        c.CadArc(1, 2, 3, 0, 360);
        c.CadArc(1, 2, 3, 10, 20);
        c.CadText("\x84 \xF1 \xF8", 1, 2);
        c.CadSolid(0, 0, 1, 0, 0, 1, 1, 1);
        c.CadInsert("B1", 5, 6, 90, 2, 3);
        c.CadSectionEnd();
    });
    EXPECT_EQ(
        text,
        CrLf({"MINMAX\t0,000000\t0,000000\t420,000000\t297,000000", "SECTION BLOCKS", "BLOCK\tB1",
              "LINE\t0,000000\t0,000000\t1,000000\t0,000000", "END OF BLOCK", "SECTION ENTITIES",
              "LINE\t0,000000\t0,000000\t12,500000\t-3,000000",
              "3D_LINE\t1,000000\t2,000000\t3,000000\t4,000000\t5,000000\t6,000000",
              "CIRCLE\t1,000000\t2,000000\t3,000000", "CIRCLE\t1,000000\t2,000000\t3,000000",
              "ARC\t1,000000\t2,000000\t3,000000\t10,000000\t20,000000",
              "TEXT\t1,000000\t2,000000\tae +/- deg",
              "SOLID\t0,000000\t0,000000\t1,000000\t0,000000\t0,000000\t1,000000\t1,000000\t1,"
              "000000",
              "INSERT\tB1\t5,000000\t6,000000\t90,000000\t2,000000\t3,000000", "EOF"}));
}

TEST_F(CadOutputTest, DxfNeverWritesTheDecimalComma) {
    session.config.decimalSeparator = 2;
    std::string text = Write(OutputKind::Dxf, [](CadOutput& c) {
        c.CadSheet(0, 0, 420, 297);
        c.CadPageStart();
        c.CadLine(0, 0, 12.5L, -3);
        c.CadText("x", 1, 2);
    });
    EXPECT_EQ(text.find(','), std::string::npos);
    EXPECT_NE(text.find("12.500000"), std::string::npos);
}

TEST_F(CadOutputTest, DecimalsOfTheConfiguration) {
    cad.settings.decimals = 2;
    std::string dxf = Write(OutputKind::Dxf, [](CadOutput& c) {
        c.CadPageStart();
        c.CadLine(0, 0, 12.5L, -3);
    });
    EXPECT_NE(dxf.find(" 11\r\n12.50\r\n 21\r\n-3.00\r\n"), std::string::npos);
    std::string txt = Write(
        OutputKind::Txt, [](CadOutput& c) { c.CadLine(0, 0, 12.5L, -3); }, "out.txt");
    EXPECT_NE(txt.find("LINE\t0.00\t0.00\t12.50\t-3.00\r\n"), std::string::npos);
    cad.settings.decimals = 40; // outside 1..32: the default 6
    dxf = Write(OutputKind::Dxf, [](CadOutput& c) { c.CadLine(0, 0, 12.5L, -3); });
    EXPECT_NE(dxf.find("12.500000\r\n"), std::string::npos);
}

TEST_F(CadOutputTest, DxfFileHasItsSectionsEvenWhenADrawingForgetsThem) {
    std::string text = Write(OutputKind::Dxf, [](CadOutput& c) {
        c.CadSheet(0, 0, 420, 297);
        c.CadLine(0, 0, 1, 1); // no CadPageStart
    });
    EXPECT_NE(text.find("ENDSEC\r\n  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("  0\r\nENDSEC\r\n  0\r\nEOF\r\n"));
    std::vector<DxfEntity> e;
    EXPECT_EQ(ParseDxfEntities(text, e), DxfReadStatus::Ok);
    EXPECT_EQ(e.size(), 1u);
}

TEST_F(CadOutputTest, TextAlignmentMovesTheInsertionPoint) {
    struct Case {
        int h, v;
        real x, y;
    };
    // "ABCD", height 2.5, width ratio 1: full width 10, half height 1.25.
    const Case cases[] = {{0, 0, 100, 50},     {1, 0, 95, 50},     {2, 0, 90, 50},
                          {0, 1, 100, 48.75L}, {2, 1, 90, 48.75L}, {1, 2, 95, 47.5L}};
    for (const Case& c : cases) {
        std::string text = Write(OutputKind::Txt, [&](CadOutput& o) {
            o.CadTextAlign(c.h, c.v);
            o.CadText("ABCD", 100, 50);
        });
        std::string expected =
            "TEXT\t" + FixedNumber(c.x, 6) + "\t" + FixedNumber(c.y, 6) + "\tABCD\r\n";
        EXPECT_NE(text.find(expected), std::string::npos) << c.h << "," << c.v << "\n" << text;
    }
}

TEST_F(CadOutputTest, TextStyleSetsTheWidthRatio) {
    cad.settings.textWidthFactor = 0.9L;
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Txt, temp / "t.txt"));
    // Before any text style the ratio is 1.0, whatever the factor.
    EXPECT_DOUBLE_EQ(static_cast<double>(cad.TextWidthRatio()), 1.0);
    cad.CadTextStyle(0, 30, 2, 1.5L);
    EXPECT_DOUBLE_EQ(static_cast<double>(cad.TextWidthRatio()), 1.5 / 2 * 0.9);
    cad.CadTextStyle(0, 30, 2, 0); // no width: 0.7 × the factor
    EXPECT_DOUBLE_EQ(static_cast<double>(cad.TextWidthRatio()), 0.7 * 0.9);
    cad.CadEnd();
}

TEST_F(CadOutputTest, LayerNumbersFoldAndNameTheLayer) {
    cad.settings.layerNames[1] = "MITTE";
    struct Case {
        int layer;
        int folded;
        const char* name;
    };
    const Case cases[] = {{0, 0, "0"},    {1, 1, "MITTE"}, {5, 5, "5"},    {7, 7, "7"},
                          {31, 31, "31"}, {40, 24, "24"},  {47, 31, "31"}, {-3, 0, "0"}};
    for (const Case& c : cases) {
        cad.CadLayer(c.layer);
        EXPECT_EQ(cad.Layer(), c.folded) << c.layer;
        EXPECT_EQ(cad.LayerName(), c.name) << c.layer;
    }
}

TEST_F(CadOutputTest, ArcWithZeroRadiusWritesNothingAndFullTurnsWriteCircles) {
    std::string text = Write(OutputKind::Dxf, [](CadOutput& c) {
        c.CadPageStart();
        c.CadArc(1, 1, 0, 0, 90);
        c.CadArc(1, 1, 2, 0, 360);
        c.CadArc(1, 1, 2, 360, 0);
    });
    EXPECT_EQ(CountOf(text, "\r\nARC\r\n"), 0);
    EXPECT_EQ(CountOf(text, "\r\nCIRCLE\r\n"), 2);
}

TEST_F(CadOutputTest, TextModesInDxf) {
    const std::string text = "\x84 \xF1 \xF8";
    struct Case {
        int mode;
        std::string written;
    };
    const Case cases[] = {{1, text}, {2, "\xE4 \xB1 \xB0"}, {3, "ae +/- deg"}};
    for (const Case& c : cases) {
        cad.settings.textMode = c.mode;
        std::string dxf = Write(OutputKind::Dxf, [&](CadOutput& o) { o.CadText(text, 0, 0); });
        EXPECT_NE(dxf.find("  1\r\n" + c.written + "\r\n"), std::string::npos) << c.mode;
    }
}

TEST_F(CadOutputTest, OffsetsMoveEveryEntityOnce) {
    std::string text = Write(OutputKind::Txt, [](CadOutput& c) {
        c.SetOffset(10, 20);
        c.CadRectangle(0, 0, 1, 1);
        c.CadArrow(0, 0, 0);
        c.CadPolylineBegin(0);
        c.CadPolylineVertex(0, 0, 0);
        c.CadPolylineVertex(0, 1, 0);
        c.CadPolylineEnd();
    });
    EXPECT_NE(text.find("LINE\t10.000000\t20.000000\t11.000000\t20.000000"), std::string::npos);
    EXPECT_NE(text.find("LINE\t10.000000\t21.000000\t10.000000\t20.000000"), std::string::npos);
    // The arrow's closing line from the tail (3.5 along 0°) back to the tip.
    EXPECT_NE(text.find("LINE\t13.500000\t20.000000\t10.000000\t20.000000"), std::string::npos);
    EXPECT_NE(text.find("SOLID\t10.000000\t20.000000\t13.446827\t20.607769\t13.446827\t19.392231"
                        "\t13.500000\t20.000000"),
              std::string::npos);
    EXPECT_EQ(CountOf(text, "LINE\t"), 4 + 1 + 1);
}

TEST_F(CadOutputTest, ArrowHeadScalesWithTheDrawingScale) {
    std::string text = Write(OutputKind::Txt, [](CadOutput& c) {
        c.SetDrawingScale(2);
        c.CadArrow(0, 0, 90);
    });
    EXPECT_NE(text.find("LINE\t0.000000\t7.000000\t0.000000\t0.000000"), std::string::npos);
}

TEST_F(CadOutputTest, EllipseIsAClosedPolyline) {
    std::string dxf = Write(OutputKind::Dxf, [](CadOutput& c) { c.CadEllipse(20, 10, 0, 0); });
    std::vector<DxfEntity> e;
    ASSERT_EQ(ParseDxfEntities(dxf, e), DxfReadStatus::Ok);
    ASSERT_EQ(e.size(), 1u);
    ASSERT_EQ(e[0].vertices.size(), 127u);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[0].vertices.front().x), 20);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[0].vertices.back().x), 20);
    EXPECT_NEAR(static_cast<double>(e[0].vertices[31].y), 10 * std::sin(1.55), 1e-6);
}

TEST_F(CadOutputTest, TextColumnHelpers) {
    session.config.unitSystem = 1;
    std::string text = Write(OutputKind::Txt, [](CadOutput& c) {
        c.CadTextStyle(0, 0, 2, 2);
        c.CadCursor(10, 100);
        c.CadLineSpacing(1.5L);
        c.CadTextLine("a");
        c.CadLineFeed(2);
        c.CadValueLine("L0", "2.1");
    });
    // 1.6 × 2 × 1.5 = 4.8 per line.
    EXPECT_NE(text.find("TEXT\t10.000000\t100.000000\ta\r\n"), std::string::npos);
    EXPECT_NE(text.find("TEXT\t10.000000\t85.600000\tL0 = 2.1 in\r\n"), std::string::npos);
    EXPECT_NEAR(static_cast<double>(cad.Cursor().y), 80.8, 1e-9);
}

TEST_F(CadOutputTest, ThreeDimensionalEntities) {
    cad.SetProjection([](real x, real y, real z) { return CadPoint{x + z, y - z}; });
    std::string dxf = Write(OutputKind::Dxf, [](CadOutput& c) {
        c.CadLine3D(1, 2, 3, 4, 5, 6);
        c.CadCircle3D(1, 1, 1, 5);
    });
    EXPECT_NE(dxf.find(" 30\r\n3.000000\r\n 11\r\n4.000000\r\n 21\r\n5.000000\r\n 31\r\n6.000000"),
              std::string::npos);
    EXPECT_NE(dxf.find("CIRCLE\r\n  8\r\n0\r\n 10\r\n2.000000\r\n 20\r\n0.000000"),
              std::string::npos);
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadLine3D(1, 2, 3, 4, 5, 6);
    cad.CadEnd();
    EXPECT_TRUE(HasRecord("4;4;-1;10;-1"));
}

TEST_F(CadOutputTest, GetArcCenter) {
    const real pi = std::acos(-1.0L);
    struct Case {
        real phi;
        real xc, yc, r, start, end;
    };
    const Case cases[] = {
        {pi, 0, 0, 1, 0, 180},
        {pi / 2, 0, -1, std::sqrt(2.0L), 45, 135},
        {-pi / 2, 0, 1, std::sqrt(2.0L), -135, -45},
        {3 * pi / 2, 0, 1, std::sqrt(2.0L), -45, -135},
    };
    for (const Case& c : cases) {
        ArcGeometry a = GetArcCenter(session, c.phi, -1, 0, 1, 0);
        ASSERT_TRUE(a.valid);
        EXPECT_NEAR(static_cast<double>(a.xc), static_cast<double>(c.xc), 1e-12);
        EXPECT_NEAR(static_cast<double>(a.yc), static_cast<double>(c.yc), 1e-12);
        EXPECT_NEAR(static_cast<double>(a.r), static_cast<double>(c.r), 1e-12);
        auto turn = [](real degrees) { return static_cast<double>(std::fmod(degrees + 720, 360)); };
        EXPECT_NEAR(turn(a.start), turn(c.start), 1e-9);
        EXPECT_NEAR(turn(a.end), turn(c.end), 1e-9);
    }
    EXPECT_EQ(session.messages.Count(), 0);
    EXPECT_FALSE(GetArcCenter(session, 0, -1, 0, 1, 0).valid);
    EXPECT_TRUE(session.messages.Contains("Fehler in GetArcCenter (dphi = 0 ! "));
    // A full turn through two distinct points is no arc either (not one of radius 1e19).
    EXPECT_FALSE(GetArcCenter(session, 2 * pi, -1, 0, 1, 0).valid);
    EXPECT_TRUE(session.messages.Contains("Fehler in GetArcCenter (dphi = 6.283 ! "));
    ArcGeometry same = GetArcCenter(session, 1, 2, 3, 2, 3);
    EXPECT_FALSE(same.valid);
    EXPECT_TRUE(session.messages.Contains("GetArcCenter l12=0"));
    EXPECT_EQ(same.xc, 2);
}

TEST_F(CadOutputTest, PolylineArcsAgreeWithTheDxfBulge) {
    // Bulge angle 90° from (0,0) to (2,0): in DXF the bulge tan(22.5°), counter-clockwise, so
    // the arc runs below the chord; the other kinds draw that same arc.
    auto draw = [](CadOutput& c) {
        c.CadPolylineBegin(0);
        c.CadPolylineVertex(90, 0, 0);
        c.CadPolylineVertex(0, 2, 0);
        c.CadPolylineEnd();
    };
    std::string dxf = Write(OutputKind::Dxf, draw);
    EXPECT_NE(dxf.find(" 42\r\n0.414214\r\n"), std::string::npos);
    std::string txt = Write(OutputKind::Txt, draw, "p.txt");
    EXPECT_NE(txt.find("ARC\t1.000000\t1.000000\t1.414214\t-135.000000\t-45.000000"),
              std::string::npos)
        << txt;
}

// --- the screen ---

TEST_F(CadOutputTest, ScreenAppendsToTheDisplayList) {
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadLayer(1);
    cad.CadLine(10, 10, 100, 10);
    cad.CadSolid(0, 0, 1, 0, 0, 1, 1, 1);
    cad.CadArc(0, 0, 1, 0, 90);
    cad.CadCircle(5, 5, 2);
    cad.CadTextStyle(2, 0, 3.5L, 3);
    cad.CadText("Hallo", 1, 2);
    cad.CadSleep(40);
    cad.CadLineType(3);
    EXPECT_TRUE(cad.CadEnd());
    std::vector<std::string> expected = {"11;2",
                                         "8;14",
                                         "4;10;10;100;10",
                                         "7;0;0;1;0;1;1;0;1",
                                         "5;-1;-1;1;1;1;0;",
                                         "3;5;5;2",
                                         "9;3.5;2.85;2;0",
                                         "6;1;2;Hallo",
                                         "13;40",
                                         "11;3"};
    auto records = Records();
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_TRUE(records[i].starts_with(expected[i])) << records[i];
}

TEST_F(CadOutputTest, ScreenLayerStyles) {
    cad.settings.upperLayerColors[2] = 5; // "Color Layer 18"
    cad.settings.upperLayerWidths[2] = 4; // "Strichstärke Layer 18"
    cad.settings.layerWidths[4] = 2;
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadLayer(2);  // dashed, CAD colour 2 → palette 14
    cad.CadLayer(4);  // solid, CAD colour 3 → palette 10, width 2
    cad.CadLayer(18); // configured colour 5 → palette 9, width 4
    cad.CadLayer(7);  // solid, colour unchanged, width 1
    cad.SetLayerMode(2);
    cad.CadLayer(0); // background colour
    cad.CadEnd();
    std::vector<std::string> expected = {"11;3", "8;14", "11;0", "8;10", "12;2",
                                         "8;9",  "12;4", "12;1", "8;0"};
    EXPECT_EQ(Records(), expected);
}

TEST_F(CadOutputTest, ScreenSheetHasWindowFooterAndBorder) {
    cad.settings.printBorder = true;
    cad.SetSpringFile("feder.kra");
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadSheet(0, 0, 420, 297);
    cad.CadPageStart(); // empties the list and lays the sheet out again
    cad.CadEnd();
    auto r = Records();
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r[0], "11;0"); // the emptied list starts with the solid pen
    EXPECT_TRUE(r[1].starts_with("10;")) << r[1];
    EXPECT_TRUE(HasRecord("4;0;0;420;0"));
    EXPECT_TRUE(HasRecord("4;0;297;0;0"));
    bool footer = false;
    for (const auto& rec : r)
        footer |= rec.starts_with("6;2.1;0.594;08.12.2024") &&
                  rec.ends_with(" - KALDORN KORA - Progressive zyl. Druckfeder V11.4 - feder.kra");
    EXPECT_TRUE(footer);
    EXPECT_TRUE(HasRecord("9;1.782;1.7955;0;0"));
}

TEST_F(CadOutputTest, ScreenBlocksGoThroughTemporaryFiles) {
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadBlocksBegin();
    cad.CadBlockBegin("b1");
    cad.CadLayer(3);
    cad.CadLine(0, 0, 10, 0);
    cad.CadText("T", 0, 0);
    cad.CadBlockEnd();
    cad.CadBlockBegin("B2");
    cad.CadInsert("B1", 0, 0, 90, 1, 1);
    cad.CadBlockEnd();
    cad.CadSectionEnd();
    EXPECT_TRUE(fs::exists(temp / "$B1.dx$"));
    EXPECT_TRUE(fs::exists(temp / "$B2.dx$"));
    EXPECT_EQ(display.Count(), 0u); // nothing drawn while the blocks were defined
    cad.CadPageStart();
    cad.CadLayer(5);
    cad.CadInsert("B1", 100, 50, 90, 2, 2);
    cad.CadInsert("B2", 200, 50, 0, 1, 1);
    EXPECT_EQ(cad.Layer(), 5); // an insert leaves the caller's layer
    EXPECT_TRUE(cad.CadEnd());
    EXPECT_TRUE(HasRecord("4;100;50;100;70"));
    EXPECT_TRUE(HasRecord("4;200;50;200;60"));
    EXPECT_TRUE(HasRecord("9;5;4.75;0;90"));    // the text scaled and turned with the insert
    EXPECT_FALSE(fs::exists(temp / "$B1.dx$")); // CadEnd removes the block files
    EXPECT_FALSE(session.AbortFlag);
}

TEST_F(CadOutputTest, InsertOfAMissingBlockFile) {
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadInsert("NOPE", 0, 0, 0, 1, 1);
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_TRUE(session.messages.Contains("Invalid temp directory"));
    session.AbortFlag = false;
    cad.CadInsert("../../etc", 0, 0, 0, 1, 1); // never a path outside the folder
    EXPECT_TRUE(session.AbortFlag);
    session.AbortFlag = false;
    cad.CadEnd();
}

TEST_F(CadOutputTest, BlocksNestedTooDeepStopWithAFatalMessage) {
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadBlockBegin("SELF");
    cad.CadLine(0, 0, 1, 1);
    cad.CadInsert("SELF", 1, 1, 0, 1, 1);
    cad.CadBlockEnd();
    cad.CadPageStart();
    EXPECT_FALSE(cad.ReadBlockFile("SELF", 0, 0, 0, 1, 1));
    EXPECT_TRUE(session.FatalFlag);
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_TRUE(session.messages.Contains("error blockno.5"));
    int lines = 0;
    for (const auto& r : Records())
        lines += r.starts_with("4;");
    EXPECT_EQ(lines, 4); // depths 1 to 4 are drawn
    cad.CadEnd();
}

TEST_F(CadOutputTest, MalformedBlockFileIsReported) {
    {
        std::ofstream f(temp / "$BAD.dx$", std::ios::binary);
        f << "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n1\r\n  0\r\nPOLYLINE\r\n  8\r\n0\r\n  0\r\nEOF\r\n";
    }
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadInsert("BAD", 0, 0, 0, 1, 1);
    EXPECT_TRUE(session.messages.Contains("Error in DXF File"));
    EXPECT_TRUE(HasRecord("4;1;0;0;0"));
    cad.CadEnd();
}

TEST_F(CadOutputTest, LogosAreInsertedOnScreenPagesWhenTheirFilesExist) {
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Screen, ""));
    cad.CadBlockBegin("LOGO_2");
    cad.CadLine(0, 0, 10, 0);
    cad.CadBlockEnd();
    cad.CadSheet(0, 0, 480, 360);
    cad.CadPageStart();
    EXPECT_TRUE(HasRecord("4;436.8;3.6;446.8;3.6"));
    cad.SetLogos(false);
    cad.CadPageStart();
    EXPECT_FALSE(HasRecord("4;436.8;3.6;446.8;3.6"));
    cad.CadEnd();
}

// --- bad names and paths ---

TEST_F(CadOutputTest, BadBlockNamesAreRefusedInEveryFileKind) {
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {{"NAMETOOLONG", "Fehler : Blockname zu lang: NAMETOOL"},
                          {"../x", "Fehler : Blockname ung\x81ltig: ../x"},
                          {"", "Fehler : Blockname ung\x81ltig: "}};
    for (OutputKind kind :
         {OutputKind::Dxf, OutputKind::Iges, OutputKind::Txt, OutputKind::Screen}) {
        for (const Case& c : cases) {
            session.ClearMessages();
            std::string path = temp / "bad";
            ASSERT_TRUE(cad.CadBeginFile(kind, path));
            cad.CadSheet(0, 0, 100, 100);
            cad.CadBlocksBegin();
            cad.CadBlockBegin(c.name);
            EXPECT_TRUE(session.AbortFlag);
            EXPECT_TRUE(session.messages.Contains(c.message)) << c.name;
            cad.CadLine(0, 0, 1, 1); // dropped
            cad.CadBlockEnd();
            EXPECT_FALSE(session.AbortFlag); // the drawing goes on
            cad.CadSectionEnd();
            cad.CadPageStart();
            cad.CadInsert(c.name, 0, 0, 0, 1, 1);
            EXPECT_TRUE(cad.CadEnd() || kind == OutputKind::Screen);
            if (kind == OutputKind::Screen) {
                session.AbortFlag = false;
                continue;
            }
            std::string text = ReadFile(path);
            EXPECT_EQ(CountOf(text, "LINE"), 0) << static_cast<int>(kind) << " " << c.name;
            if (kind != OutputKind::Txt) {
                EXPECT_TRUE(
                    session.messages.Contains("Blockname " + std::string(c.name) + " not found !"));
            }
        }
    }
}

TEST_F(CadOutputTest, UnwritableFolderGivesAMessageAndNoFile) {
    // A folder that is a file; its name beyond ASCII appears in the message as it is.
    const std::string plain = temp / "Gr\xC3\xB6\xC3\x9F"
                                     "e";
    { std::ofstream(plain.c_str()); }
    std::string path = plain + "/x.dxf";
    EXPECT_FALSE(cad.CadBeginFile(OutputKind::Dxf, path));
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Datei " + path + " kann nicht angelegt werden");
    cad.CadLine(0, 0, 1, 1); // harmless after the failure
    EXPECT_FALSE(cad.CadEnd());
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(CadOutputTest, FailedWriteIsNeverReportedAsSuccess) {
    std::string path = temp / "target.dxf";
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Dxf, path));
    cad.CadLine(0, 0, 1, 1);
    fs::create_directory(path); // the name turns into a folder while drawing: never replaced
    EXPECT_FALSE(cad.CadEnd());
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Datei " + path + " kann nicht geschrieben werden");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.str()), fs::directory_iterator{}), 1);
}

TEST_F(CadOutputTest, FileAppearsOnlyWhenComplete) {
    std::string path = temp / "x.igs";
    { std::ofstream(path) << "old"; }
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Iges, path));
    cad.CadSheet(0, 0, 10, 10);
    cad.CadLine(0, 0, 1, 1);
    EXPECT_EQ(ReadFile(path), "old"); // the old file stays until the new one is complete
    // An output abandoned before CadEnd (a new output begun) leaves the old file as well.
    ASSERT_TRUE(cad.CadBeginFile(OutputKind::Iges, path));
    cad.CadLine(0, 0, 1, 1);
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_TRUE(cad.CadEnd());
    EXPECT_TRUE(ReadFile(path).starts_with("IGES-Datei generiert von"));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.str()), fs::directory_iterator{}), 1);
}

TEST_F(CadOutputTest, AHatchingFailureKeepsTheDrawingWithItsMessage) {
    // A comb whose teeth a hatch line crosses more than ten times stops the hatching with
    // AbortFlag; what was drawn before and after stays in the file, which ends properly.
    for (auto [kind, end] :
         {std::pair{OutputKind::Dxf, "  0\r\nEOF\r\n"}, std::pair{OutputKind::Txt, "EOF\r\n"}}) {
        session.messages.Clear();
        session.AbortFlag = false;
        std::string path = temp / "comb.dxf";
        ASSERT_TRUE(cad.CadBeginFile(kind, path));
        cad.CadSheet(0, 0, 100, 100);
        cad.CadLine(0, 0, 50, 0);
        HatchOutputFor<CadOutput> out(cad);
        Hatching hatch(session, out);
        hatch.HatchPoint(0, 0);
        for (int i = 0; i < 12; ++i) {
            hatch.HatchPoint(2 * i + 0.5L, 10);
            hatch.HatchPoint(2 * i + 1.5L, 1);
        }
        hatch.HatchPoint(25, 0);
        hatch.HatchPolygon(0, 1, 0.5L);
        ASSERT_TRUE(session.AbortFlag);
        cad.CadLine(0, 50, 50, 50);
        EXPECT_TRUE(cad.CadEnd()) << static_cast<int>(kind);
        EXPECT_TRUE(session.messages.Contains("Fatal  : schraff schnittp"));
        ASSERT_TRUE(fs::exists(path));
        const std::string text = ReadFile(path);
        EXPECT_TRUE(text.ends_with(end)) << static_cast<int>(kind);
        EXPECT_GE(CountOf(text, "LINE"), 2) << static_cast<int>(kind);
        EXPECT_TRUE(dialogs.errors.empty());
        EXPECT_EQ(std::distance(fs::directory_iterator(temp.str()), fs::directory_iterator{}), 1);
        fs::remove(path);
    }
}

TEST_F(CadOutputTest, AWriteProtectedFileIsLeftAsItIs) {
    std::string path = temp / "x.dxf";
    { std::ofstream(path) << "old"; }
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(cad.CadBeginFile(OutputKind::Dxf, path));
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Schreibschutz entfernen !");
    cad.CadLine(0, 0, 1, 1);
    EXPECT_FALSE(cad.CadEnd());
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.str()), fs::directory_iterator{}), 1);
}

// --- CadBegin with its dialogs ---

TEST_F(CadOutputTest, BeginAsksForKindAndFile) {
    cad.settings.cadFolder = temp.str();
    cad.SetSpringFile("/somewhere/feder.kra");
    dialogs.Push(ScriptedDialogs::Chosen(5));
    dialogs.Push(ScriptedDialogs::Typed(temp / "zeichnung"));
    ASSERT_TRUE(cad.CadBegin(OutputKind::Ask, "KORAFERT"));
    EXPECT_EQ(cad.Kind(), OutputKind::Txt);
    EXPECT_EQ(cad.RequestedKind(), OutputKind::Ask);
    EXPECT_EQ(cad.FileName(), temp / "zeichnung.txt");
    EXPECT_TRUE(cad.CadEnd());
    EXPECT_TRUE(fs::exists(temp / "zeichnung.txt"));
    EXPECT_TRUE(dialogs.unexpected.empty());
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back(), temp / "feder.txt"); // the proposed name in the CAD folder
}

TEST_F(CadOutputTest, CancelInTheChoiceOrTheFileDialogSetsAbort) {
    dialogs.Push(ScriptedDialogs::Cancelled());
    EXPECT_FALSE(cad.CadBegin(OutputKind::Ask, "KORA"));
    EXPECT_TRUE(session.AbortFlag);
    session.AbortFlag = false;
    dialogs.Push(ScriptedDialogs::Typed(""));
    EXPECT_FALSE(cad.CadBegin(OutputKind::Dxf, "KORA"));
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(CadOutputTest, CommandLineRunWritesBesideTheSpringFile) {
    cad.SetCommandLineRun(true);
    cad.SetSpringFile(temp / "feder.kra");
    for (auto [kind, ext] : {std::pair{OutputKind::Dxf, "dxf"}, std::pair{OutputKind::Iges, "igs"},
                             std::pair{OutputKind::Txt, "txt"}}) {
        ASSERT_TRUE(cad.CadBegin(kind, "KORAFERT"));
        EXPECT_TRUE(cad.CadEnd());
        EXPECT_TRUE(fs::exists(temp / (std::string("feder.") + ext)));
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CadOutputTest, PlotterWritesVektraDxfAndStartsTheCommandLine) {
    cad.settings.plotterCommands = {"wvektra /tmp/gr\x94\xE1"
                                    "e/vektra /CHPL"};
    cad.settings.printBorder = true;
    std::string text = Write(OutputKind::Plotter, [](CadOutput& c) {
        c.CadSheet(0, 0, 420, 297);
        c.CadTables(0);
        c.CadPageStart();
        c.CadLine(1, 1, 2, 2);
    });
    ASSERT_EQ(dialogs.infos.size(), 1u);
    EXPECT_EQ(dialogs.infos[0], temp / "vektra.dxf" + " wird geplottet..");
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], "wvektra /tmp/größe/vektra /CHPL"); // the file system's UTF-8
    // The border lies in the ENTITIES section, not in the HEADER.
    std::size_t entities = text.find("ENTITIES");
    ASSERT_NE(entities, std::string::npos);
    EXPECT_EQ(CountOf(text.substr(0, entities), "LINE"), 0);
    EXPECT_EQ(CountOf(text.substr(entities), "  8\r\n19\r\n"), 4);
}

TEST_F(CadOutputTest, PlotterStartErrors) {
    struct Case {
        int code;
        const char* message;
    };
    const Case cases[] = {
        {ENOMEM, "out of memory !"}, {ENOENT, "file not found"}, {EACCES, "Exec error 13"}};
    for (const Case& c : cases) {
        dialogs.errors.clear();
        launchResult = c.code;
        ASSERT_TRUE(cad.CadBeginFile(OutputKind::Plotter, ""));
        EXPECT_FALSE(cad.CadEnd());
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], c.message);
    }
}

TEST_F(CadOutputTest, IgesInsertOfAnUnknownBlock) {
    std::string text = Write(OutputKind::Iges, [](CadOutput& c) {
        c.CadSheet(0, 0, 100, 100);
        c.CadInsert("XX", 1, 1, 0, 1, 1);
    });
    EXPECT_TRUE(session.messages.Contains("Blockname XX not found !"));
    EXPECT_EQ(CountOf(text, "408"), 0);
}

TEST_F(CadOutputTest, IgesLayerSetBeforeTheSheetStaysInForce) {
    // Layer 1 (centre line, colour 2): line font 4 and IGES colour 5 in both DE records.
    std::string text = Write(OutputKind::Iges, [](CadOutput& c) {
        c.CadLayer(1);
        c.CadSheet(0, 0, 100, 100);
        c.CadLine(0, 0, 1, 1);
    });
    const std::string blank(8, ' ');
    EXPECT_NE(text.find("     110       1       1       4       5" + blank + blank + blank +
                        "00000000D0000001"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("     110               5       1"), std::string::npos) << text;
}

} // namespace
} // namespace kora

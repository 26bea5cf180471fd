#include "cad_test_support.h"
#include "graphics/cad_file.h"
#include "graphics/dxf_block_reader.h"
#include "graphics/dxf_writer.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace kora {
namespace {

using cadtest::CrLf;

std::string Written(int decimals, const std::function<void(DxfWriter&)>& write) {
    CadFile file;
    DxfWriter dxf(file, decimals);
    write(dxf);
    return file.Text();
}

TEST(DxfWriter, LineOfTheWorkedExampleIsTwelveLines) {
    std::string text = Written(6, [](DxfWriter& d) { d.Line("0", 0, 0, 12.5L, -3); });
    EXPECT_EQ(text, CrLf({"  0", "LINE", "  8", "0", " 10", "0.000000", " 20", "0.000000", " 11",
                          "12.500000", " 21", "-3.000000"}));
}

TEST(DxfWriter, TwoDecimalsChangeCoordinatesButNotTheFixedLiterals) {
    std::string text = Written(2, [](DxfWriter& d) {
        d.Line("0", 0, 0, 12.5L, -3);
        d.Header(0, 0, 420, 297);
    });
    EXPECT_NE(text.find("12.50\r\n"), std::string::npos);
    EXPECT_NE(text.find("-3.00\r\n"), std::string::npos);
    EXPECT_NE(text.find("$LTSCALE\r\n 40\r\n15\r\n"), std::string::npos);
    EXPECT_EQ(text.find("12.500"), std::string::npos);
    CadSettings settings;
    std::string tables = Written(2, [&](DxfWriter& d) { d.Tables(0, settings); });
    EXPECT_EQ(tables, Written(6, [&](DxfWriter& d) { d.Tables(0, settings); }));
    EXPECT_NE(tables.find(" 49\r\n-0.25\r\n"), std::string::npos);
    EXPECT_NE(tables.find(" 40\r\n0.0\r\n"), std::string::npos);
}

TEST(DxfWriter, HeaderSection) {
    std::string text = Written(6, [](DxfWriter& d) { d.Header(-5, 0, 420, 297.5L); });
    EXPECT_EQ(text, CrLf({"  0", "SECTION",    "  2", "HEADER",     "  9", "$EXTMIN",
                          " 10", "-5.000000",  " 20", "0.000000",   "  9", "$EXTMAX",
                          " 10", "420.000000", " 20", "297.500000", "  9", "$LIMMIN",
                          " 10", "-5.000000",  " 20", "0.000000",   "  9", "$LIMMAX",
                          " 10", "420.000000", " 20", "297.500000", "  9", "$LTSCALE",
                          " 40", "15",         "  0", "ENDSEC"}));
}

// The TABLES section of each variant, spelled out line by line.
std::string ExpectedTables(int variant, const CadSettings& s) {
    const char* counts[3] = {"6", "17", "23"};
    std::string t = CrLf({"  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LTYPE", " 70",
                          counts[variant]});
    t += CrLf({"  0", "LTYPE", "  2", "CONTINUOUS", " 70", "64", "  3", "Ausgezogene Linie", " 72",
               "65", " 73", "0", " 40", "0.0"});
    t += CrLf({"  0", "LTYPE", "  2", "DASHDOT", " 70", "64",   "  3", "--. --. --.-",
               " 72", "65",    " 73", "4",       " 40", "1.0",  " 49", "0.5",
               " 49", "-0.25", " 49", "0.0",     " 49", "-0.25"});
    t += CrLf({"  0", "LTYPE", "  2", "DASHED", " 70", "64", "  3", "- - - - - - ", " 72", "65",
               " 73", "2", " 40", "0.375", " 49", "0.25", " 49", "-0.125"});
    t += CrLf({"  0", "ENDTAB", "  0", "TABLE", "  2", "LAYER", " 70", "24"});
    auto layer = [&](const std::string& name, int colour, const std::string& type) {
        t += CrLf({"  0", "LAYER", "  2", name, " 70", "0", " 62",
                   std::to_string(s.layerMonochrome ? 1 : colour), "  6", type});
    };
    if (variant == 1) {
        for (int n = 0; n <= 15; ++n)
            layer(std::to_string(n), n + 1, "CONTINUOUS");
    } else {
        layer("0", 1, "CONTINUOUS");
        layer(s.layerNames[1], s.layerColors[1], "DASHDOT");
        layer(s.layerNames[2], s.layerColors[2], "DASHED");
        for (int n = 3; n <= 5; ++n)
            layer(s.layerNames[n], s.layerColors[n], "CONTINUOUS");
        if (variant == 2)
            for (int n = 16; n <= 31; ++n)
                layer(std::to_string(n), s.upperLayerColors[n - 16], "CONTINUOUS");
    }
    t += CrLf({"  0", "ENDTAB", "  0", "TABLE",    "  2", "STYLE",  " 70", "1",
               "  0", "STYLE",  "  2", "STANDARD", " 70", "0",      " 40", "0.0",
               " 41", "1.0",    " 50", "0.0",      " 71", "0",      " 42", "3.5",
               "  3", "TXT8",   "  4", "",         "0",   "ENDTAB", "  0", "ENDSEC"});
    return t;
}

TEST(DxfWriter, TablesOfEachVariant) {
    struct Case {
        int variant;
        bool monochrome;
    };
    const Case cases[] = {{0, false}, {1, false}, {2, false}, {0, true}, {2, true}};
    for (const Case& c : cases) {
        CadSettings settings;
        settings.layerMonochrome = c.monochrome;
        settings.layerNames[3] = "KONTUR";
        settings.layerColors[4] = 6;
        settings.upperLayerColors[5] = 9; // "Color Layer 21"
        settings.textStyle = "txt8";      // written in upper case
        std::string text = Written(6, [&](DxfWriter& d) { d.Tables(c.variant, settings); });
        EXPECT_EQ(text, ExpectedTables(c.variant, settings))
            << "variant " << c.variant << " monochrome " << c.monochrome;
    }
}

TEST(DxfWriter, ArcWithFullTurnIsWrittenAsCircle) {
    struct Case {
        real start, end;
        bool circle;
    };
    const Case cases[] = {{0, 360, true},         {360, 0, true},     {45, 45, true},
                          {0.000001L, 360, true}, {0, 359.9L, false}, {30, 120, false},
                          {360, 10, false}};
    for (const Case& c : cases) {
        std::string text = Written(6, [&](DxfWriter& d) { d.Arc("3", 1, 2, 5, c.start, c.end); });
        if (c.circle)
            EXPECT_EQ(text, CrLf({"  0", "CIRCLE", "  8", "3", " 10", "1.000000", " 20", "2.000000",
                                  " 40", "5.000000"}))
                << c.start << " " << c.end;
        else
            EXPECT_EQ(text.substr(0, 12), "  0\r\nARC\r\n  ") << c.start << " " << c.end;
    }
}

TEST(DxfWriter, EntitiesAndTheirGroups) {
    std::string text = Written(6, [](DxfWriter& d) {
        d.Text("5", "Hallo", 1, 2, 3.5L, 0.857142L, 90, 0);
        const real x[4] = {0, 1, 0, 1}, y[4] = {0, 0, 1, 1};
        d.Solid("4", x, y);
        d.Insert("0", "FEDER1", 46, 200, 180, 1, 2);
        d.PolylineBegin("18", 0);
        d.Vertex("18", 1, 2, 0);
        d.Vertex("18", 3, 4, 0.5L);
        d.SeqEnd("18");
        d.PolylineBegin("18", 1);
        d.Line3D("21", 1, 2, 3, 4, 5, 6);
    });
    EXPECT_EQ(
        text,
        CrLf({"  0", "TEXT", "  8", "5", " 10", "1.000000", " 20", "2.000000", " 40", "3.500000",
              "  1", "Hallo", "  7", "STANDARD", " 41", "0.857", " 50", "90", " 51", "0",
              // SOLID
              "  0", "SOLID", "  8", "4", " 10", "0.000000", " 20", "0.000000", " 11", "1.000000",
              " 21", "0.000000", " 12", "0.000000", " 22", "1.000000", " 13", "1.000000", " 23",
              "1.000000",
              // INSERT
              "  0", "INSERT", "  8", "0", "  2", "FEDER1", " 10", "46.000000", " 20", "200.000000",
              " 41", "1.000000", " 42", "2.000000", " 50", "180.000000",
              // POLYLINE without flags, a VERTEX with bulge 0 has no group 42
              "  0", "POLYLINE", "  8", "18", " 66", "1", "  0", "VERTEX", "  8", "18", " 10",
              "1.000000", " 20", "2.000000", "  0", "VERTEX", "  8", "18", " 10", "3.000000", " 20",
              "4.000000", " 42", "0.500000", "  0", "SEQEND", "  8", "18",
              // POLYLINE with flags
              "  0", "POLYLINE", "  8", "18", " 66", "1", " 70", "1",
              // 3D LINE
              "  0", "LINE", "  8", "21", " 10", "1.000000", " 20", "2.000000", " 30", "3.000000",
              " 11", "4.000000", " 21", "5.000000", " 31", "6.000000"}));
}

// Width factor, angle and oblique angle take the short value format, decimals shifted by
// "Dezimalstellen", with a point whatever the decimal setting.
TEST(DxfWriter, TextGroupsInTheShortValueFormat) {
    struct Case {
        int dezimalstellen;
        real width, angle, oblique;
        const char *g41, *g50, *g51;
    };
    const Case cases[] = {
        {3, 0.857142L, 90, 0, "0.857", "90", "0"},
        {5, 0.857142L, 90, 0, "0.85714", "90.00", "0"},
        {2, 0.857142L, 22.6L, 0.000001L, "0.86", "23", "0"},
        {3, 1, -12.25L, 15, "1", "-12.25", "15"},
    };
    for (const Case& c : cases) {
        CadFile file;
        DxfWriter dxf(file, 6, c.dezimalstellen);
        dxf.Text("0", "A", 0, 0, 2.5L, c.width, c.angle, c.oblique);
        std::string tail = CrLf({" 41", c.g41, " 50", c.g50, " 51", c.g51});
        const std::string text = file.Text();
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail)
            << "Dezimalstellen " << c.dezimalstellen;
    }
}

TEST(DxfWriter, BlocksSectionAndEnd) {
    std::string text = Written(6, [](DxfWriter& d) {
        d.SectionBegin("BLOCKS");
        d.BlockBegin("0", "LOGO_2");
        d.BlockEnd();
        d.SectionEnd();
        d.Eof();
    });
    EXPECT_EQ(text, CrLf({"  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", "  8", "0",
                          "  2", "LOGO_2",  " 70", "0",      " 10", "0.0",   " 20", "0.0",
                          "  0", "ENDBLK",  "  0", "ENDSEC", "  0", "EOF"}));
}

TEST(DxfWriter, NegativeZeroAndNonFiniteValuesNeverReachTheFile) {
    std::string text = Written(3, [](DxfWriter& d) {
        d.Circle("0", -0.0001L, -0.0L, std::numeric_limits<real>::quiet_NaN());
    });
    EXPECT_EQ(text,
              CrLf({"  0", "CIRCLE", "  8", "0", " 10", "0.000", " 20", "0.000", " 40", "0.000"}));
}

// --- the block reader ---

TEST(DxfBlockReader, ReadsBackWhatTheWriterWrote) {
    CadFile file;
    DxfWriter d(file, 6);
    d.Line("1", 1, 2, 3, 4);
    d.Circle("2", 5, 6, 7);
    d.Arc("3", 1, 1, 2, 30, 60);
    d.Text("4", "Text; mit Semikolon", 1, 2, 2.5L, 0.8L, 45, 15);
    const real x[4] = {0, 1, 0, 1}, y[4] = {0, 0, 1, 1};
    d.Solid("5", x, y);
    d.Insert("17", "INNER", 10, 20, 90, 2, 3);
    d.PolylineBegin("18", 0);
    d.Vertex("18", 0, 0, 1);
    d.Vertex("18", 10, 0, 0);
    d.SeqEnd("18");
    d.Line("19", 9, 9, 8, 8);
    d.Eof();

    std::vector<DxfEntity> e;
    ASSERT_EQ(ParseDxfEntities(file.Text(), e), DxfReadStatus::Ok);
    ASSERT_EQ(e.size(), 8u);
    using T = DxfEntity::Type;
    EXPECT_EQ(e[0].type, T::Line);
    EXPECT_EQ(e[0].layer, "1");
    EXPECT_DOUBLE_EQ(static_cast<double>(e[0].x[1]), 3);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[0].y[1]), 4);
    EXPECT_EQ(e[1].type, T::Circle);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[1].radius), 7);
    EXPECT_EQ(e[2].type, T::Arc);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[2].start), 30);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[2].end), 60);
    EXPECT_EQ(e[3].type, T::Text);
    EXPECT_EQ(e[3].text, "Text; mit Semikolon");
    EXPECT_DOUBLE_EQ(static_cast<double>(e[3].height), 2.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[3].widthFactor), 0.8);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[3].angle), 45);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[3].oblique), 15);
    EXPECT_EQ(e[4].type, T::Solid);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[4].x[3]), 1);
    EXPECT_EQ(e[5].type, T::Insert);
    EXPECT_EQ(e[5].block, "INNER");
    EXPECT_DOUBLE_EQ(static_cast<double>(e[5].xScale), 2);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[5].yScale), 3);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[5].rotation), 90);
    EXPECT_EQ(e[6].type, T::Polyline);
    ASSERT_EQ(e[6].vertices.size(), 2u);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[6].vertices[0].bulge), 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(e[6].vertices[1].x), 10);
    EXPECT_EQ(e[7].layer, "19");
}

TEST(DxfBlockReader, PolylineWithoutVertexIsAnError) {
    CadFile file;
    DxfWriter d(file, 6);
    d.Line("0", 0, 0, 1, 1);
    d.PolylineBegin("0", 0);
    d.Line("0", 2, 2, 3, 3);
    std::vector<DxfEntity> e;
    EXPECT_EQ(ParseDxfEntities(file.Text(), e), DxfReadStatus::Malformed);
    EXPECT_EQ(e.size(), 1u); // what came before stays
}

TEST(DxfBlockReader, MissingFileCannotBeOpened) {
    std::vector<DxfEntity> e;
    EXPECT_EQ(ReadDxfEntities("/nonexistent/$X.dx$", e), DxfReadStatus::CannotOpen);
}

TEST(DxfBlockReader, LayerNamesBecomeNumbers) {
    std::array<std::string, 6> names{"0", "MITTE", "2", "3", "4", "5"};
    struct Case {
        const char* name;
        int layer;
    };
    const Case cases[] = {{"0", 0}, {"MITTE", 1}, {"5", 5}, {"24", 24}, {"KEINE", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(LayerNumberOf(c.name, names), c.layer) << c.name;
}

} // namespace
} // namespace kora

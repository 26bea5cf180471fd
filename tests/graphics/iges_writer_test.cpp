#include "cad_test_support.h"
#include "graphics/cad_file.h"
#include "graphics/iges_writer.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kora {
namespace {

// One 80-column record of the expected file: the text as written here, blanks to column 72,
// the section letter and the sequence number.
std::string Rec(const std::string& text, char section, int sequence) {
    char tail[16];
    std::snprintf(tail, sizeof tail, "%c%07d\r\n", section, sequence);
    return text + std::string(72 - text.size(), ' ') + tail;
}
// A Parameter Data record: text to column 64, the Directory Entry pointer to column 72.
std::string Par(const std::string& text, int de, int sequence) {
    char pointer[16];
    std::snprintf(pointer, sizeof pointer, "%8d", de);
    return Rec(text + std::string(64 - text.size(), ' ') + pointer, 'P', sequence);
}

IgesHeader TestHeader() {
    IgesHeader h;
    h.fileName = "T";
    h.version = "0.1";
    h.date = "241208";
    return h;
}

TEST(IgesWriter, OneEntityOfEachTypeAndASubfigureWithInserts) {
    IgesWriter w;
    w.Begin(TestHeader(), 420);
    w.Line(0, 0, 12.5L, -3);
    w.Line3D(1, 2, 3, 4, 5, 6);
    w.Arc(1, 2, 3, 0, 90);
    w.Circle(1, 2, 3);
    w.Text("Hallo", 1, 2, 2.5L, 1, 0);
    const real x[4] = {0, 1, 0, 1}, y[4] = {0, 0, 1, 1};
    w.Solid(x, y);
    ASSERT_EQ(w.BlockBegin("B1"), IgesWriter::BlockStatus::Ok);
    w.SetStyle({4, 5});
    w.Line(0, 0, 1, 1);
    w.BlockEnd();
    w.SetStyle({1, 0});
    ASSERT_EQ(w.Insert("B1", 5, 5, 0), IgesWriter::BlockStatus::Ok);
    ASSERT_EQ(w.Insert("B1", 5, 5, 90), IgesWriter::BlockStatus::Ok);
    CadFile out;
    w.End(out);
    EXPECT_EQ(w.EntityCount(), 11);

    std::string expected =
        Rec("IGES-Datei generiert von KORA - Progressive zyl. Druckfeder", 'S', 1) +
        Rec("KALDORN IGES-Translator Version 3.1", 'S', 2) +
        Rec("2D-Zeichnung, Einheit mm", 'S', 3) +
        Rec(",,4HFILE,1HT,39HKORA - Progressive zyl. Druckfeder V0.1,13HKORA IGES 3.1", 'G', 1) +
        Rec(",", 'G', 2) + Rec("16,38,6,99,15,", 'G', 3) +
        Rec("1HT,1.0,2,2HMM,32767,3.2767D1,", 'G', 4) +
        Rec("13H241208.081107,1.0D-8,420.000,", 'G', 5) + Rec("4HKORA,7HKALDORN,4,0;", 'G', 6) +
        // Directory Entry: type, P pointer, structure, line font, level, view, matrix, label
        // display, status / type, weight, colour, P count, form, -, -, label, subscript.
        Rec("     110       1       1       1       0                        00000000", 'D', 1) +
        Rec("     110               0       1                                        ", 'D', 2) +
        Rec("     110       2       1       1       0                        00000000", 'D', 3) +
        Rec("     110               0       1                                        ", 'D', 4) +
        Rec("     100       3       1       1       0               0        00000000", 'D', 5) +
        Rec("     100               0       1                                        ", 'D', 6) +
        Rec("     100       4       1       1       0               0        00000000", 'D', 7) +
        Rec("     100               0       1                                        ", 'D', 8) +
        Rec("     212       5       1       1       0               0        00000000", 'D', 9) +
        Rec("     212               0       1                                        ", 'D', 10) +
        Rec("     106       6       1       1       0               0        00000000", 'D', 11) +
        Rec("     106               0       2      11                                ", 'D', 12) +
        Rec("     110       8       1       4       5                        00010000", 'D', 13) +
        Rec("     110               5       1                                        ", 'D', 14) +
        Rec("     308       9       1       4       5                        00000000", 'D', 15) +
        Rec("     308               5       1                                        ", 'D', 16) +
        Rec("     408      10       1       1       0                        00000000", 'D', 17) +
        Rec("     408               0       1                                        ", 'D', 18) +
        Rec("     124      11       1       1       0                        00010000", 'D', 19) +
        Rec("     124               0       2                                        ", 'D', 20) +
        Rec("     408      13       1       1       0              19        00000000", 'D', 21) +
        Rec("     408               0       1                                        ", 'D', 22) +
        Par("110,0.000,0.000,0.0,12.500,-3.000,0.0;", 1, 1) +
        Par("110,1.000,2.000,3.000,4.000,5.000,6.000;", 3, 2) +
        Par("100,0.0,1.000,2.000,4.000,2.000,1.000,5.000;", 5, 3) +
        Par("100,0.0,1.000,2.000,4.000,2.000,4.000,2.000;", 7, 4) +
        Par("212,1,5,12.500,2.500,1,,0.000,0,0,1.000,2.000,0.0,5HHallo;", 9, 5) +
        Par("106,1,5,0.0,0.000,0.000,1.000,0.000,1.000,1.000,0.000,1.000,", 11, 6) +
        Par("0.000,0.000;", 11, 7) + Par("110,0.000,0.000,0.0,1.000,1.000,0.0;", 13, 8) +
        Par("308,0,2HB1,1,13;", 15, 9) + Par("408,15,5.000,5.000,0.0,1.0;", 17, 10) +
        Par("124,0.000000,-1.000000,0.0,5.000000,1.000000,0.000000,0.0,", 19, 11) +
        Par("5.000000,0.0,0.0,1.0,0.0;", 19, 12) + Par("408,15,0.0,0.0,0.0,1.0;", 21, 13) +
        Rec("S0000003G0000006D0000022P0000013", 'T', 1);
    EXPECT_EQ(out.Text(), expected);
}

TEST(IgesWriter, EmptyDrawingHasStartGlobalAndTerminate) {
    IgesWriter w;
    w.Begin(TestHeader(), 0);
    CadFile out;
    w.End(out);
    const std::string& text = out.Text();
    EXPECT_EQ(cadtest::CountOf(text, "\r\n"), 3 + 6 + 1);
    EXPECT_TRUE(text.ends_with(Rec("S0000003G0000006D0000000P0000000", 'T', 1)));
}

TEST(IgesWriter, LongParametersContinueWithTheSamePointer) {
    IgesWriter w;
    w.Begin(TestHeader(), 0);
    std::string text(100, 'x');
    w.Text(text, 0, 0, 2.5L, 1, 90);
    w.Line(0, 0, 1, 1);
    CadFile out;
    w.End(out);
    // 212 takes 3 records (a string longer than a record fills records completely); the next
    // entity's parameters start at P4.
    EXPECT_NE(out.Text().find("     110       4       1"), std::string::npos);
    EXPECT_NE(out.Text().find("     212               0       3"), std::string::npos);
    EXPECT_NE(out.Text().find("1.571,0,0,0.000,0.000,0.0,100Hxxx"), std::string::npos);
    for (const std::string& piece :
         IgesWriter::SplitParameters("212,1,100,0,0,1,,0,0,0,0,0,0.0,100H" + text + ";"))
        EXPECT_LE(piece.size(), 64u);
}

TEST(IgesWriter, SplitKeepsHollerithStringsWhole) {
    // A comma inside a string is no place to cut.
    std::string p = "212,1,40,1.000,2.500,1,,0.000,0,0,1.000,2.000,0.0,20Haaaaa,bbbbb,ccccc,dd;";
    auto pieces = IgesWriter::SplitParameters(p);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1], "20Haaaaa,bbbbb,ccccc,dd;");
    EXPECT_EQ(pieces[0] + pieces[1], p);
}

TEST(IgesWriter, SubfigureMembersBreakAfterTwelveNumbers) {
    IgesWriter w;
    w.Begin(TestHeader(), 0);
    w.BlockBegin("MANY");
    for (int i = 0; i < 14; ++i)
        w.Line(0, 0, i, 1);
    w.BlockEnd();
    CadFile out;
    w.End(out);
    EXPECT_NE(out.Text().find("308,0,4HMANY,14,1,3,5,7,9,11,13,15,17,19,21,23,"),
              std::string::npos);
    EXPECT_NE(out.Text().find(Par("25,27;", 29, 16)), std::string::npos);
}

TEST(IgesWriter, BlockRules) {
    IgesWriter w;
    w.Begin(TestHeader(), 0);
    EXPECT_EQ(w.BlockBegin("NAMETOOLONG"), IgesWriter::BlockStatus::NameTooLong);
    EXPECT_EQ(w.Insert("NONE", 0, 0, 0), IgesWriter::BlockStatus::NotFound);
    EXPECT_EQ(w.EntityCount(), 0);
    for (std::size_t i = 0; i < IgesWriter::kMaxBlocks; ++i) {
        ASSERT_EQ(w.BlockBegin("B" + std::to_string(i)), IgesWriter::BlockStatus::Ok);
        w.BlockEnd();
    }
    EXPECT_EQ(w.BlockBegin("ONEMORE"), IgesWriter::BlockStatus::TooManyBlocks);
}

TEST(IgesWriter, ColoursAndLayerStyles) {
    const int colours[16] = {0, 2, 5, 3, 7, 4, 6, 0, 8, 10, 11, 12, 13, 14, 15, 1};
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(IgesColorOf(c), colours[c]) << c;
    EXPECT_EQ(IgesColorOf(16), 0);
    CadSettings s;
    s.layerColors[3] = 6;
    s.upperLayerColors[4] = 3;
    struct Case {
        int layer, mode, fontBefore, font, colour;
    };
    const Case cases[] = {
        {0, 0, 1, 1, 0},  // layer 0: CAD colour 7 → no colour
        {1, 0, 1, 4, 5},  // centre line, colour 2 → yellow
        {2, 0, 1, 2, 5},  // dashed
        {3, 0, 4, 1, 6},  // configured colour 6 → magenta
        {20, 0, 2, 1, 3}, // "Color Layer 20" = 3 → green
        {7, 0, 2, 1, 8},  // (7 mod 16) + 1 = 8 → 8
        {7, 1, 2, 2, 8},  // numbered layers keep the line font
        {17, 2, 4, 4, 5}, // (17 mod 16) + 1 = 2 → yellow
    };
    for (const Case& c : cases) {
        IgesLayerStyle style = IgesStyleOfLayer(c.layer, c.mode, s, c.fontBefore);
        EXPECT_EQ(style.lineFont, c.font) << c.layer << "/" << c.mode;
        EXPECT_EQ(style.color, c.colour) << c.layer;
    }
}

} // namespace
} // namespace kora

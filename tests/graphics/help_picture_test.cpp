// The HP-GL interpreter of the help pictures: the records each command leaves in the display
// list (coordinates in plotter units of 0.025 mm), the pen colours, the encoded polylines of
// PE, labels with character set 3, and files that end inside a command or cannot be opened.
#include "graphics/help_picture.h"

#include "calc/session.h"
#include "graphics/display_list.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace kora {
namespace {

struct Fixture {
    ScriptedDialogs dialogs;
    Session session{dialogs};
    DisplayList list{session};
};

std::vector<std::string> Records(const DisplayList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.Count(); ++i)
        out.emplace_back(list[i]);
    return out;
}

// The records of one code, without the colour record every picture starts with.
std::vector<std::string> RecordsOf(const DisplayList& list, int code) {
    std::vector<std::string> out;
    const std::string prefix = std::to_string(code) + ";";
    for (const auto& record : Records(list))
        if (record.rfind(prefix, 0) == 0) out.push_back(record);
    return out;
}

// The numeric fields of a record after its code.
std::vector<double> Fields(const std::string& record) {
    std::vector<double> fields;
    std::size_t pos = record.find(';');
    while (pos != std::string::npos) {
        fields.push_back(std::strtod(record.c_str() + pos + 1, nullptr));
        pos = record.find(';', pos + 1);
    }
    return fields;
}

void ExpectFields(const std::string& record, const std::vector<double>& expected) {
    auto fields = Fields(record);
    ASSERT_EQ(fields.size(), expected.size()) << record;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(fields[i], expected[i], 1e-6) << record << " field " << i;
}

TEST(HelpPicture, PenUpMovesAndPenDownDrawsFromPointToPoint) {
    Fixture f;
    auto result = PlotHelpPictureText(f.list, "IN;PU400,400;PD800,400,800,800;PU0,0;");
    EXPECT_TRUE(result.complete);
    EXPECT_TRUE(result.unknownCommands.empty());
    const std::vector<std::string> expected{"8;12", "4;10;10;20;10", "4;20;10;20;20"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(HelpPicture, PenDownWithoutPointsDrawsNothingAndLeavesThePenDownForPa) {
    Fixture f;
    PlotHelpPictureText(f.list, "PU40,40;PD;PA80,40,80,120;");
    const std::vector<std::string> expected{"4;1;1;2;1", "4;2;1;2;3"};
    EXPECT_EQ(RecordsOf(f.list, 4), expected);

    Fixture up;
    PlotHelpPictureText(up.list, "PU40,40;PA80,40;PD;");
    EXPECT_TRUE(RecordsOf(up.list, 4).empty());
}

TEST(HelpPicture, ParametersDropBlanksLineEndsAndTheLettersPAndA) {
    Fixture f;
    // The two empty parameters are the point (0, 0).
    PlotHelpPictureText(f.list, "pu 4 0 , 40\r\n;pd P80,A40,,;");
    const std::vector<std::string> expected{"4;1;1;2;1", "4;2;1;0;0"};
    EXPECT_EQ(RecordsOf(f.list, 4), expected);
}

TEST(HelpPicture, PensOneToSevenDrawInTheirPaletteColours) {
    struct Case {
        const char* command;
        const char* colour;
    };
    const Case cases[] = {
        {"SP7;", "8;15"}, {"SP2;", "8;14"}, {"SP3;", "8;10"}, {"SP4;", "8;11"},
        {"SP5;", "8;9"},  {"SP6;", "8;13"}, {"SP9;", "8;9"},  {"SP0;", "8;0"},
    };
    for (const Case& c : cases) {
        Fixture f;
        PlotHelpPictureText(f.list, c.command);
        const std::vector<std::string> expected{"8;12", c.colour};
        EXPECT_EQ(Records(f.list), expected) << c.command;
    }
}

TEST(HelpPicture, AnEmptyPenParameterSelectsPenOne) {
    Fixture f;
    PlotHelpPictureText(f.list, "SP7;SP;");
    const std::vector<std::string> expected{"8;12", "8;15", "8;12"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(HelpPicture, CircleAroundTheCurrentPoint) {
    Fixture f;
    PlotHelpPictureText(f.list, "PU400,800;CI200;");
    const std::vector<std::string> expected{"3;10;20;5"};
    EXPECT_EQ(RecordsOf(f.list, 3), expected);
}

TEST(HelpPicture, ArcsRunCounterClockwiseForPositiveAndClockwiseForNegativeSweeps) {
    // Centre (10, 10) mm, radius 10 mm, starting at the right of the centre.
    Fixture ccw;
    PlotHelpPictureText(ccw.list, "PU800,400;PD;AA400,400,90;");
    auto arcs = RecordsOf(ccw.list, 5);
    ASSERT_EQ(arcs.size(), 1u);
    ExpectFields(arcs[0], {0, 0, 20, 20, 20, 10, 10, 20});

    // The same quarter clockwise ends below the centre: drawn from there to the start.
    Fixture cw;
    PlotHelpPictureText(cw.list, "PU800,400;PD;AA400,400,-90;");
    arcs = RecordsOf(cw.list, 5);
    ASSERT_EQ(arcs.size(), 1u);
    ExpectFields(arcs[0], {0, 0, 20, 20, 10, 0, 20, 10});
}

TEST(HelpPicture, AFullTurnIsACircle) {
    Fixture f;
    PlotHelpPictureText(f.list, "PU800,400;PD;AA400,400,360;");
    const std::vector<std::string> expected{"3;10;10;10"};
    EXPECT_EQ(RecordsOf(f.list, 3), expected);
    EXPECT_TRUE(RecordsOf(f.list, 5).empty());
}

TEST(HelpPicture, AfterAnArcThePenStandsAtItsEnd) {
    // With the pen up nothing is drawn, but the pen still travels to the arc's end (10, 20).
    Fixture f;
    PlotHelpPictureText(f.list, "PU800,400;AA400,400,90;PD400,0;");
    EXPECT_TRUE(RecordsOf(f.list, 5).empty());
    auto lines = RecordsOf(f.list, 4);
    ASSERT_EQ(lines.size(), 1u);
    ExpectFields(lines[0], {10, 20, 10, 0});
}

TEST(HelpPicture, LabelsTakeSizeAndDirectionAtTheCurrentPoint) {
    Fixture f;
    PlotHelpPictureText(f.list, "SI0.2,0.35;DI0,1;PU400,800;LBFeder d\x03;");
    const std::vector<std::string> expected{"8;12", "9;3.5;2;2;90", "6;10;20;Feder d"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(HelpPicture, CharacterSetThreeTurnsBracesIntoUmlauts) {
    struct Case {
        const char* set;
        const char* text;
    };
    const Case cases[] = {
        {"CS3;", "6;0;0;L\x94sen und \x84ndern}"},
        {"CS0;", "6;0;0;Lo}sen und a}ndern}"},
        {"", "6;0;0;Lo}sen und a}ndern}"},
    };
    for (const Case& c : cases) {
        Fixture f;
        PlotHelpPictureText(f.list, std::string(c.set) + "PU0,0;LBLo}sen und a}ndern}\x03");
        const std::vector<std::string> expected{c.text};
        EXPECT_EQ(RecordsOf(f.list, 6), expected) << c.set;
    }
    Fixture capitals;
    PlotHelpPictureText(capitals.list, "CS3;LBA}O}U}u}\x03");
    const std::vector<std::string> expected{"6;0;0;\x8E\x99\x9A\x81"};
    EXPECT_EQ(RecordsOf(capitals.list, 6), expected);
}

TEST(HelpPicture, ALabelKeepsItsFirst255Characters) {
    Fixture f;
    auto result = PlotHelpPictureText(f.list, "LB" + std::string(300, 'x') + "\x03");
    EXPECT_EQ(result.labelsCut, 1);
    auto texts = RecordsOf(f.list, 6);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "6;0;0;" + std::string(255, 'x'));
}

// An HP-GL/2 encoded number: twice the magnitude plus the sign bit, least significant digit
// first; base 32 digits 63..94 continue and 95..126 end, base 64 63..126 continue and 191..254.
std::string Encoded(long value, bool base32) {
    unsigned long n = 2 * static_cast<unsigned long>(std::labs(value)) + (value < 0 ? 1 : 0);
    const unsigned long base = base32 ? 32 : 64;
    std::string out;
    for (;;) {
        unsigned long digit = n % base;
        n /= base;
        if (n == 0) {
            out += static_cast<char>((base32 ? 95 : 191) + digit);
            return out;
        }
        out += static_cast<char>(63 + digit);
    }
}

TEST(HelpPicture, EncodedPointsDecodeAlikeInBase32AndBase64) {
    // 400 plotter units = 800 = 12 * 64 + 32 (base 64) = 25 * 32 + 0 (base 32).
    EXPECT_EQ(Encoded(400, false), "_\xCB");
    EXPECT_EQ(Encoded(400, true), "?x");
    const long values[][2] = {{400, -200}, {0, 0}, {1, -1}, {4000, 4800}, {-123456, 98765}};
    for (const auto& v : values) {
        Fixture b64, b32;
        PlotHelpPictureText(b64.list,
                            "PU40,40;PE=" + Encoded(v[0], false) + Encoded(v[1], false) + ";");
        PlotHelpPictureText(b32.list,
                            "PU40,40;PE7=" + Encoded(v[0], true) + Encoded(v[1], true) + ";");
        auto lines = RecordsOf(b64.list, 4);
        ASSERT_EQ(lines.size(), 1u) << v[0];
        ExpectFields(lines[0], {1, 1, v[0] * 0.025, v[1] * 0.025});
        EXPECT_EQ(RecordsOf(b32.list, 4), lines) << v[0];
    }
}

TEST(HelpPicture, EncodedPolylinesAreRelativeUnlessMarkedAndLiftThePenOnRequest) {
    Fixture f;
    std::string pe = "PU400,400;PE<" + Encoded(400, false) + Encoded(0, false) + Encoded(0, false) +
                     Encoded(400, false) + "=" + Encoded(0, false) + Encoded(0, false) + ":\x07;";
    auto result = PlotHelpPictureText(f.list, pe);
    EXPECT_TRUE(result.complete);
    const std::vector<std::string> expected{"8;12", "4;20;10;20;20", "4;20;20;0;0", "8;15"};
    EXPECT_EQ(Records(f.list), expected);
}

TEST(HelpPicture, AFileEndingInsideACommandKeepsWhatWasDrawn) {
    const char* cut[] = {"PU0,0;PD400,0;PD800", "PU0,0;PD400,0;LBunfinished", "PU0,0;PD400,0;PE=_",
                         "PU0,0;PD400,0;P"};
    for (const char* hpgl : cut) {
        Fixture f;
        auto result = PlotHelpPictureText(f.list, hpgl);
        EXPECT_FALSE(result.complete) << hpgl;
        const std::vector<std::string> expected{"4;0;0;10;0"};
        EXPECT_EQ(RecordsOf(f.list, 4), expected) << hpgl;
        EXPECT_TRUE(RecordsOf(f.list, 6).empty()) << hpgl;
    }
}

TEST(HelpPicture, SetUpCommandsAreSkippedAndOthersNoted) {
    Fixture f;
    auto result =
        PlotHelpPictureText(f.list, "\x1B.(;IN;IP0,0,4000,4000;IW;DF;VS10;LT;RO90;SC0,100,0,100;"
                                    "XX1,2;PU0,0;PD400,0;TL5;");
    const std::vector<std::string> unknown{"XX", "TL"};
    EXPECT_EQ(result.unknownCommands, unknown);
    const std::vector<std::string> expected{"4;0;0;10;0"};
    EXPECT_EQ(RecordsOf(f.list, 4), expected);
}

TEST(HelpPicture, GarbageDrawsOnlyFiniteRecords) {
    const std::string inputs[] = {
        "PE" + std::string(200, '?') + "\xC0" + std::string(200, '~') + "\xC0;PD100,100;",
        "SP99999999999999;CI1e400;PAinf,5;PD1e30,nan;AA0,0,1e300;",
        std::string("\0\x01\xFF;;;,,,PU,,,;LB\x03DI,;SI;CS;", 27),
        "SI-1,-1;DI0,0;LBx\x03"
        "AA;CI;PE:",
    };
    for (const auto& hpgl : inputs) {
        Fixture f;
        PlotHelpPictureText(f.list, hpgl);
        for (const auto& record : Records(f.list))
            for (double field : Fields(record))
                EXPECT_TRUE(std::isfinite(field)) << record;
    }
}

TEST(HelpPicture, AMissingFileIsReportedAndDrawsNothing) {
    Fixture f;
    auto result = PlotHelpPicture(f.list, "/nonexistent/hilfe.plt");
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(f.list.Count(), 0u);
    const std::vector<std::string> expected{"/nonexistent/hilfe.plt nicht gefunden !"};
    EXPECT_EQ(f.dialogs.infos, expected);
}

} // namespace
} // namespace kora

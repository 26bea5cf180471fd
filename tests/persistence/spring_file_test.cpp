#include "persistence/spring_file.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "calc/spring_fields.h"
#include "common/crlf_lines.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;

const std::string kChangesMarker = "\x8E"
                                   "NDERUNGEN";

using test::IndexOf;
using test::JoinLines;
using test::Lines;
using test::ReadBytes;

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// ---- Springs built in code ----

// Everything the file holds, with values that the long real format keeps exactly.
void RichSpring(Session& session) {
    examples::ThreeSections(session);
    examples::TypedSteel(session);
    SpringRecord& s = session.spring;
    s.designation = "Ventilfeder \x81"
                    "berlast"; // ü as CP850 0x81
    s.drawingNumber = "4711-0815";
    s.remark1 = "Bemerkung 1";
    s.remark2 = "Gr\x94\xE1"
                "e";
    s.tolGradeD = 5;
    s.tolDUpper = 0.25L;
    s.tolDLower = -0.125L;
    s.wireTolGrade = 12;
    s.wireTol = 0.02L;
    s.shotPeened = 'J';
    s.tempFrom = -40;
    s.tempTo = 120.5L;
    s.surfaceProtection = "verzinkt";
    s.compensationMode = 2;
    s.extraInfo1 = "Zusatz 1";
    s.extraInfo2 = "Zusatz 2";
    s.drawingName2 = "Zeile 2";
    s.showSettingLength = true;
    s.settingEqualsLc = true;
    s.presetting = 1;
    s.deburring = 5;
    s.mandrelSleeve = 3;
    s.edgeRadius = 0.5L;
    s.endType = 4;
    s.x = 0.75L;
    s.endText = "beidseitig angelegt";
    s.statsSwitch = 'J';
    s.statsGrade = 3;
    s.sigmaFactor = 3;
    s.showLdPm = true;
    s.tolGradeF2 = 4;
    s.tolGradeE2 = 3;
    s.fatigueTolMin = -10;
    s.fatigueTolMax = 10;
    s.diameterInput = 1;
    s.definitionMode = 2;
    s.charCoordinate = 2;
    s.charOrigin = 3;
    s.showForces = false;
    s.nchar = 2;
    s.points[0].L = 68;
    s.points[1] = {100, 5, 63, 0};
    s.points[2] = {250, 11.5L, 56.5L, 0};
    s.nfrl = 2;
    s.frl[1] = {120, 55, 20};
    s.frl[2] = {300, 45, 35.5L};
    s.changeCount = 2;
    s.changes[0] = {"Erstausgabe", "01.02.2003", "MUE", "neu"};
    s.changes[1] = {"Index b", "15.06.2004", "AB", "erste Zeile\r\nzweite Zeile"};
    DrawingInfo& info = s.drawingInfo;
    info.bearbDate = "01.02.2003";
    info.bearbName = "M\x81ller";
    info.geprDate = "02.02.2003";
    info.geprName = "Schmidt";
    info.normDate = "03.02.2003";
    info.normName = "Norm";
    info.ersatzFuer = "4711-0814";
    info.ersetztDurch = "";
    info.textCount = 2;
    info.texts[0] = {10, 20, 3.5L, 0,
                     "Werkstoff siehe St\x81"
                     "ckliste"};
    info.texts[1] = {150, 12.5L, 2.5L, 90, "Text | mit Strich"};
    s.documents[0] = {"xdg-open", "/home/a/zeichnung.pdf"};
    s.documents[4] = {"", "notiz.txt"};
}

using SpringBuilder = void (*)(Session&);
struct NamedSpring {
    const char* name;
    SpringBuilder build;
};
const NamedSpring kSprings[] = {
    {"single section", examples::QuietSpring},
    {"three sections",
     [](Session& s) {
         examples::ThreeSections(s);
         examples::TypedSteel(s);
     }},
    {"hot formed",
     [](Session& s) {
         examples::HotFormed(s, 3);
         examples::TypedSteel(s);
     }},
    {"rectangular wire",
     [](Session& s) {
         examples::NonRound(s, 4, 4, 2.5L);
         examples::TypedSteel(s);
     }},
    {"everything", RichSpring},
};

// ---- The file layout ----

TEST(SpringFileLayout, HeaderMarkersAndCountsOfASpringWithoutTables) {
    Session session;
    session.spring.nsec = 0;
    const auto lines = Lines(SpringFileText(session.config, session.spring));
    EXPECT_EQ(lines.size(), 132u); // 116 lines, "Zusatzwerte" and its six values
    EXPECT_EQ(lines[0], std::string(65, '-'));
    EXPECT_EQ(lines[2].rfind("Version 11.4", 0), 0u);
    EXPECT_EQ(lines[4], std::string(65, '-'));
    // A spring without coil sections: the marker, the rule, 0 and the closing rule.
    const std::size_t sections = IndexOf(lines, "Windungen");
    EXPECT_EQ(sections, 15u);
    EXPECT_EQ(lines[sections + 1], "---------");
    EXPECT_EQ(lines[sections + 2], "0");
    EXPECT_EQ(lines[sections + 3], "--------");
    // No characteristic points: the same four lines, and still one third value (point 0),
    // followed by x, the end text and the F,R-L table.
    const std::size_t points = IndexOf(lines, "Char.Line");
    EXPECT_EQ(lines[points + 1], "---------");
    EXPECT_EQ(lines[points + 2], "0");
    EXPECT_EQ(lines[points + 3], "--------");
    EXPECT_EQ(lines[points + 4 + 15], "0"); // third value of point 0
    EXPECT_EQ(lines[points + 4 + 18], "F,R - L");
    const std::size_t changes = IndexOf(lines, kChangesMarker);
    EXPECT_EQ(lines[changes + 1], "0");
    EXPECT_EQ(lines[changes + 2], std::string(20, '-'));
    EXPECT_EQ(lines[changes + 3], "||||||0||"); // title block: empty fields, 0 drawing texts
    const std::size_t documents = IndexOf(lines, "Dokumente");
    EXPECT_EQ(lines[documents + 1], "5");
    EXPECT_EQ(lines[documents + 2], std::string(20, '-'));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(lines[documents + 5 + 3 * i], std::string(14, '-'));
    EXPECT_EQ(lines[documents + 18], "3"); // materialNumber
    EXPECT_EQ(lines[documents + 19], "Char.Line");
    EXPECT_EQ(lines[125], "Zusatzwerte");
}

TEST(SpringFileLayout, ValuesOfTheMainLinesAndTheirForms) {
    Session session;
    RichSpring(session);
    SpringRecord& s = session.spring;
    s.L0 = 22;
    s.Dm = 0.5L;
    s.d = -1.25L;
    const auto lines = Lines(SpringFileText(session.config, s));
    const struct {
        std::size_t line; // 1-based, as the file layout counts
        std::string text;
    } cases[] = {
        {6, ""}, // TitleLine is rebuilt by the calculation; this spring was not calculated
        {7, "Bemerkung 1"},
        {9, "22.0000000"},
        {10, "0.5000000"},
        {11, "-1.2500000"},
        {16, "Windungen"},
        {18, "3"},
        {19, "10.0000000"},
        {20, "2.0000000"},
        {25, "--------"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lines[c.line - 1], c.text) << "line " << c.line;
    // Line group 19 is two lines per section: three sections shift the later lines by 5.
    const std::size_t shift = 5;
    EXPECT_EQ(lines[21 + shift - 1], "11");         // materialKind
    EXPECT_EQ(lines[22 + shift - 1], "Federstahl"); // materialName
    EXPECT_EQ(lines[51 + shift - 1], "J");          // shot peened
    EXPECT_EQ(lines[57 + shift - 1], "-40");        // a negative whole number, short form
    EXPECT_EQ(lines[58 + shift - 1], "120.5000000");
    EXPECT_EQ(lines[63 + shift - 1], "Ventilfeder \x81"
                                     "berlast");
    EXPECT_EQ(lines[64 + shift - 1], "4711-0815");
    EXPECT_EQ(lines[66 + shift - 1], kChangesMarker);
    const std::size_t documents = IndexOf(lines, "Dokumente");
    // The title block line and the drawing texts.
    EXPECT_EQ(lines[documents - 7], "02.02.2003|Schmidt|03.02.2003|Norm|||2||");
    EXPECT_EQ(lines[documents - 6], "01.02.2003");
    EXPECT_EQ(lines[documents - 3], "M\x81ller");
    EXPECT_EQ(lines[documents - 2], "10|20|3.5|0|Werkstoff siehe St\x81"
                                    "ckliste||");
    EXPECT_EQ(lines[documents - 1], "150|12.5|2.5|90|Text | mit Strich||");
    const std::size_t tail = IndexOf(lines, "Zusatzwerte");
    EXPECT_EQ(lines[tail - 8], "J");
    EXPECT_EQ(lines[tail - 5], "TRUE");
    EXPECT_EQ(lines[tail - 2], "-10");
    EXPECT_EQ(lines[tail + 1], "1");     // diameterInput
    EXPECT_EQ(lines[tail + 2], "2");     // definitionMode
    EXPECT_EQ(lines[tail + 3], "2");     // charCoordinate
    EXPECT_EQ(lines[tail + 4], "3");     // charOrigin
    EXPECT_EQ(lines[tail + 5], "FALSE"); // showForces
    EXPECT_EQ(lines[tail + 6], "0");     // surfaceProtectionIndex
}

TEST(SpringFileLayout, MatchesTheStoredFixture) {
    Session session;
    RichSpring(session);
    const std::string fixture = ReadBytes(std::string(KORA_FIXTURES_DIR) + "/springs/rich.kra");
    ASSERT_FALSE(fixture.empty());
    EXPECT_EQ(SpringFileText(session.config, session.spring), fixture);
}

TEST(SpringFileLayout, TwoLineChangeDescriptionKeepsItsLineFeed) {
    Session session;
    RichSpring(session);
    const std::string text = SpringFileText(session.config, session.spring);
    EXPECT_NE(text.find("\r\nerste Zeile|\nzweite Zeile\r\n"), std::string::npos);
    // The record itself is not changed by writing.
    EXPECT_EQ(session.spring.changes[1].description, "erste Zeile\r\nzweite Zeile");
    SpringRecord back{};
    ParseSpringFile(text, back);
    EXPECT_EQ(back.changes[1].description, "erste Zeile\r\nzweite Zeile");
}

TEST(SpringFileLayout, UmlautsAndTheChangeMarkerAreCodePage850Bytes) {
    Session session;
    RichSpring(session);
    const std::string text = SpringFileText(session.config, session.spring);
    EXPECT_NE(text.find("\r\n\x8E"
                        "NDERUNGEN\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("Ventilfeder \x81"
                        "berlast"),
              std::string::npos);
    EXPECT_EQ(text.find("\xC3"), std::string::npos); // no UTF-8 anywhere
}

TEST(SpringFileLayout, DezimalstellenShiftTheDecimalsOfTheLongReals) {
    const struct {
        int dezimalstellen;
        const char* text;
    } cases[] = {
        {3, "22.0000000"},    {5, "22.000000000"},   {1, "22.00000"},
        {9, "22.0000000000"}, {10, "22.0000000000"},
    };
    for (const auto& c : cases) {
        Session session;
        session.config.Dezimalstellen = c.dezimalstellen;
        session.spring.L0 = 22;
        EXPECT_EQ(Lines(SpringFileText(session.config, session.spring))[8], c.text)
            << c.dezimalstellen;
    }
}

TEST(SpringFileLayout, DecimalCommaIsWrittenAndBothFormsAreRead) {
    Session session;
    session.config.decimalSeparator = 2;
    session.spring.Dm = 0.5L;
    auto lines = Lines(SpringFileText(session.config, session.spring));
    EXPECT_EQ(lines[9], "0,5000000");
    for (const char* form : {"0,5000000", "0.5000000", "0,5"}) {
        lines[9] = form;
        SpringRecord back{};
        ParseSpringFile(JoinLines(lines), back);
        EXPECT_EQ(back.Dm, 0.5L) << form;
    }
}

TEST(SpringFileLayout, NegativeWholeNumbersAndZeroInShortForm) {
    const struct {
        real value;
        const char* text;
    } cases[] = {{-3, "-3"},      {0, "0"}, {-1, "-1"}, {-120, "-120"}, {-0.5L, "-0.5000000"},
                 {1, "1.0000000"}};
    for (const auto& c : cases) {
        Session session;
        session.spring.fatigueTolMin = c.value;
        const auto lines = Lines(SpringFileText(session.config, session.spring));
        EXPECT_EQ(lines[IndexOf(lines, "Zusatzwerte") - 2], c.text);
    }
}

// ---- Round trips ----

TEST(SpringFileRoundTrip, WriteReadWriteGivesTheSameBytes) {
    const Configuration configs[] = {
        Configuration{},
        [] {
            Configuration c;
            c.decimalSeparator = 2;
            return c;
        }(),
        [] {
            Configuration c;
            c.Dezimalstellen = 6;
            return c;
        }(),
    };
    for (const auto& spring : kSprings) {
        for (const auto& config : configs) {
            Session session;
            spring.build(session);
            CalculateSpring(session);
            const std::string first = SpringFileText(config, session.spring);
            SpringRecord back{};
            auto reading = ParseSpringFile(first, back);
            EXPECT_EQ(reading.status, SpringFileReading::Status::Complete) << spring.name;
            EXPECT_EQ(SpringFileText(config, back), first) << spring.name;
        }
    }
}

TEST(SpringFileRoundTrip, EveryStoredFieldComesBack) {
    Session session;
    RichSpring(session);
    const SpringRecord& s = session.spring;
    SpringRecord back{};
    ParseSpringFile(SpringFileText(session.config, s), back);
    for (int i = 1; i <= s.nsec; ++i) {
        EXPECT_EQ(back.sections[i].L0i, s.sections[i].L0i);
        EXPECT_EQ(back.sections[i].ni, s.sections[i].ni);
    }
    EXPECT_EQ(back.nsec, s.nsec);
    EXPECT_EQ(back.nchar, 2);
    EXPECT_EQ(back.points[2].F, 250);
    EXPECT_EQ(back.points[2].s, 11.5L);
    EXPECT_EQ(back.points[2].L, 56.5L);
    EXPECT_EQ(back.points[0].L, 68);
    EXPECT_EQ(back.nfrl, 2);
    EXPECT_EQ(back.frl[2].R, 35.5L);
    EXPECT_EQ(back.designation, s.designation);
    EXPECT_EQ(back.drawingNumber, s.drawingNumber);
    EXPECT_EQ(back.remark2, s.remark2);
    EXPECT_EQ(back.materialName, "Federstahl");
    EXPECT_EQ(back.tauz, s.tauz);
    EXPECT_EQ(back.tolDUpper, 0.25L);
    EXPECT_EQ(back.tolDLower, -0.125L);
    EXPECT_EQ(back.wireTolGrade, 12);
    EXPECT_EQ(back.shotPeened, 'J');
    EXPECT_EQ(back.tempFrom, -40);
    EXPECT_EQ(back.tempTo, 120.5L);
    EXPECT_EQ(back.surfaceProtection, "verzinkt");
    EXPECT_EQ(back.compensationMode, 2);
    EXPECT_EQ(back.extraInfo2, "Zusatz 2");
    EXPECT_EQ(back.drawingName2, "Zeile 2");
    EXPECT_TRUE(back.showSettingLength);
    EXPECT_TRUE(back.settingEqualsLc);
    EXPECT_TRUE(back.showLdPm);
    EXPECT_EQ(back.presetting, 1);
    EXPECT_EQ(back.deburring, 5);
    EXPECT_EQ(back.mandrelSleeve, 3);
    EXPECT_EQ(back.edgeRadius, 0.5L);
    EXPECT_EQ(back.endType, 4);
    EXPECT_EQ(back.x, 0.75L);
    EXPECT_EQ(back.endText, "beidseitig angelegt");
    EXPECT_EQ(back.statsSwitch, 'J');
    EXPECT_EQ(back.statsGrade, 3);
    EXPECT_EQ(back.sigmaFactor, 3);
    EXPECT_EQ(back.tolGradeF2, 4);
    EXPECT_EQ(back.tolGradeE2, 3);
    EXPECT_EQ(back.fatigueTolMin, -10);
    EXPECT_EQ(back.fatigueTolMax, 10);
    EXPECT_EQ(back.diameterInput, 1);
    EXPECT_EQ(back.definitionMode, 2);
    EXPECT_EQ(back.charCoordinate, 2);
    EXPECT_EQ(back.charOrigin, 3);
    EXPECT_EQ(back.changeCount, 2);
    EXPECT_EQ(back.changes[0].text, "Erstausgabe");
    EXPECT_EQ(back.changes[0].editor, "MUE");
    EXPECT_EQ(back.changes[1].date, "15.06.2004");
    const DrawingInfo& info = back.drawingInfo;
    EXPECT_EQ(info.bearbName, "M\x81ller");
    EXPECT_EQ(info.geprName, "Schmidt");
    EXPECT_EQ(info.normDate, "03.02.2003");
    EXPECT_EQ(info.ersatzFuer, "4711-0814");
    EXPECT_EQ(info.textCount, 2);
    EXPECT_EQ(info.texts[1].y, 12.5L);
    EXPECT_EQ(info.texts[1].phi, 90);
    EXPECT_EQ(info.texts[1].text, "Text | mit Strich");
    EXPECT_EQ(back.documents[0].document, "/home/a/zeichnung.pdf");
    EXPECT_EQ(back.documents[4].document, "notiz.txt");
}

// ---- The whole field catalogue ----

bool SameField(const SpringField& field, const SpringRecord& a, const SpringRecord& b) {
    return std::visit(
        [&](auto member) {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, TextMember> || std::is_same_v<M, FlagMember>)
                return a.*member.member == b.*member.member;
            else
                return a.*member == b.*member;
        },
        field.member);
}

// A value of the list other than the program-start value; the turn keeps neighbours apart.
int ListValue(const Choices& list, int start, int turn) {
    const int value = list.min + turn % (list.max - list.min + 1);
    if (value != start) return value;
    return value == list.max ? list.min : value + 1;
}

// Settings the reader forces into ranges that the plain values below would leave.
const struct {
    std::string_view name;
    real value;
} kNarrowSettings[] = {{"seps", 0.0625L}, {"faktorRFc", 0.03125L}};

// Gives the field a value of its own: never its program-start value, of its list when it has
// one, in range when it is a setting, exact in the file's number forms.
void SetOwnValue(SpringRecord& s, const SpringField& field, int turn) {
    const SpringRecord defaults{};
    std::visit(
        [&](auto member) {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, real SpringRecord::*>) {
                s.*member = 100 + turn + 0.25L;
                for (const auto& narrow : kNarrowSettings)
                    if (narrow.name == field.name) s.*member = narrow.value;
            } else if constexpr (std::is_same_v<M, word SpringRecord::*>) {
                s.*member = static_cast<word>(
                    field.choices ? ListValue(*field.choices, defaults.*member, turn)
                                  : 1000 + turn);
            } else if constexpr (std::is_same_v<M, std::int32_t SpringRecord::*>) {
                s.*member =
                    field.choices ? ListValue(*field.choices, defaults.*member, turn) : 500 + turn;
            } else if constexpr (std::is_same_v<M, bool SpringRecord::*>) {
                s.*member = !(defaults.*member);
            } else if constexpr (std::is_same_v<M, TextMember>) {
                s.*member.member =
                    std::string(field.name).append(" \x81").substr(0, member.maxLength);
            } else {
                s.*member.member = defaults.*member.member == 'J' ? 'N' : 'J';
            }
        },
        field.member);
}

bool IsStoredPlainField(const SpringField& field) {
    return field.group != FileGroup::None && field.group != FileGroup::TableCount;
}

// Every stored field of the catalogue with a value of its own, and every table the file holds
// filled with values of their own (what the file does not hold stays at the program start).
SpringRecord EveryStoredFieldSet() {
    SpringRecord s{};
    int turn = 0;
    for (const SpringField& field : SpringFields())
        if (IsStoredPlainField(field)) SetOwnValue(s, field, ++turn);
    s.nsec = 3;
    for (int i = 1; i <= s.nsec; ++i) {
        s.sections[i].L0i = 10.5L + i;
        s.sections[i].ni = 2.25L + i;
    }
    s.nchar = 2;
    s.points[0].L = 70.5L;
    s.points[1] = {150.5L, 4.75L, 65.75L, 0};
    s.points[2] = {310.25L, 9.5L, 61, 0};
    s.nfrl = 2;
    s.frl[1] = {120.5L, 55.25L, 20.125L};
    s.frl[2] = {300.75L, 45.5L, 35.375L};
    s.changeCount = 2;
    s.changes[0] = {"Erstausgabe", "01.02.2003", "MUE", "neu"};
    s.changes[1] = {"Index b", "15.06.2004", "AB", "erste Zeile\r\nzweite Zeile"};
    DrawingInfo& info = s.drawingInfo;
    info.bearbDate = "01.02.2003";
    info.bearbName = "Bearbeiter";
    info.geprDate = "02.02.2003";
    info.geprName = "Pr\x81"
                    "fer";
    info.normDate = "03.02.2003";
    info.normName = "Norm";
    info.row4Date = "04.02.2003";
    info.row4Name = "Vierter";
    info.ersatzFuer = "4711-0814";
    info.ersetztDurch = "4711-0816";
    info.textCount = 2;
    info.texts[0] = {10.5L, 20.25L, 3.5L, 0, "erster Text"};
    info.texts[1] = {150.5L, 12.75L, 2.5L, 90, "zweiter | Text"};
    for (std::size_t i = 0; i < s.documents.size(); ++i)
        s.documents[i] = {"programm" + std::to_string(i), "dokument" + std::to_string(i) + ".pdf"};
    return s;
}

TEST(SpringFileCatalogue, EveryStoredFieldComesBackInEveryNumberForm) {
    const SpringRecord defaults{};
    const SpringRecord saved = EveryStoredFieldSet();
    for (const SpringField& field : SpringFields())
        if (IsStoredPlainField(field)) {
            ASSERT_FALSE(SameField(field, saved, defaults)) << field.name;
        }
    Configuration comma, dezimalstellen;
    comma.decimalSeparator = 2;
    dezimalstellen.Dezimalstellen = 6;
    for (const Configuration& config : {Configuration{}, comma, dezimalstellen}) {
        SpringRecord back{};
        const SpringFileReading reading = ParseSpringFile(SpringFileText(config, saved), back);
        EXPECT_EQ(reading.status, SpringFileReading::Status::Complete);
        EXPECT_TRUE(reading.notices.empty());
        for (const SpringField& field : SpringFields())
            EXPECT_TRUE(SameField(field, back, saved)) << field.name;
        EXPECT_TRUE(back.sections == saved.sections);
        EXPECT_TRUE(back.points == saved.points);
        EXPECT_TRUE(back.frl == saved.frl);
        EXPECT_TRUE(back.changes == saved.changes);
        EXPECT_TRUE(back.drawingInfo == saved.drawingInfo);
        EXPECT_TRUE(back.documents == saved.documents);
        EXPECT_TRUE(back == saved); // and nothing else was touched
    }
}

// A field the catalogue calls unstored really does not reach the file.
TEST(SpringFileCatalogue, NoUnstoredFieldChangesTheFile) {
    const SpringRecord base = EveryStoredFieldSet();
    const std::string text = SpringFileText(Configuration{}, base);
    for (const SpringField* field : FieldsOfGroup(FileGroup::None)) {
        SpringRecord changed = base;
        SetOwnValue(changed, *field, 7);
        ASSERT_FALSE(SameField(*field, changed, base)) << field->name;
        EXPECT_EQ(SpringFileText(Configuration{}, changed), text) << field->name;
    }
}

// The names the writer writes are the catalogue's stored fields, each once, in the order of
// the catalogue's lines: a field marked stored that the writer leaves out, or writes in
// another place, fails here.
TEST(SpringFileCatalogue, TheWriterWritesEveryStoredFieldOnceInLineOrder) {
    const std::vector<std::string_view> written = SpringFileFieldNames();
    std::set<std::string_view> writtenSet(written.begin(), written.end());
    EXPECT_EQ(writtenSet.size(), written.size()) << "a field written twice";
    std::set<std::string_view> stored;
    for (const SpringField& field : SpringFields())
        if (field.group != FileGroup::None) stored.insert(field.name);
    EXPECT_EQ(writtenSet, stored);
    int previousLine = 0;
    for (std::string_view name : written) {
        const SpringField* field = FindSpringField(name);
        ASSERT_NE(field, nullptr) << name;
        EXPECT_GT(field->line, previousLine) << name;
        previousLine = field->line;
    }
}

// ---- Saving and loading through the dialogs ----

class SpringFileFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kora-kra-XXXXXX").string();
        root = mkdtemp(pattern.data());
        context.directory = root;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string root;
    ScriptedDialogs dialogs;
    Session session{dialogs};
    SpringFileContext context;
};

TEST_F(SpringFileFolder, SavedSpringReloadsAndCalculatesToTheSameResults) {
    for (const auto& spring : kSprings) {
        Session saved(dialogs);
        spring.build(saved);
        CalculateSpring(saved);
        auto path = SaveSpringFile(saved, context, "feder", false);
        ASSERT_TRUE(path) << spring.name;
        EXPECT_EQ(*path, root + "/feder.kra");
        Session loaded(dialogs);
        SpringFileContext other;
        ASSERT_TRUE(LoadSpringFile(loaded, other, *path)) << spring.name;
        EXPECT_FALSE(loaded.AbortFlag);
        EXPECT_EQ(other.directory, root);
        EXPECT_EQ(other.fileName, "feder");
        const SpringRecord& a = saved.spring;
        const SpringRecord& b = loaded.spring;
        EXPECT_EQ(saved.FatalFlag, loaded.FatalFlag) << spring.name;
        const real results[][2] = {{a.L0, b.L0},   {a.Lc, b.Lc},   {a.F1, b.F1}, {a.F2, b.F2},
                                   {a.Fc, b.Fc},   {a.R1, b.R1},   {a.sk, b.sk}, {a.tauk2, b.tauk2},
                                   {a.W12, b.W12}, {a.fe0, b.fe0}, {a.m, b.m},   {a.n, b.n}};
        for (const auto& pair : results)
            EXPECT_EQ(pair[0], pair[1]) << spring.name;
        EXPECT_EQ(a.TitleLine, b.TitleLine);
        EXPECT_EQ(saved.messages.Count(), loaded.messages.Count()) << spring.name;
    }
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(SpringFileFolder, LoadingLeavesTheSpringCalculated) {
    Session saved(dialogs);
    examples::QuietSpring(saved);
    CalculateSpring(saved);
    auto path = SaveSpringFile(saved, context, "q", false);
    ASSERT_TRUE(path);
    ASSERT_TRUE(LoadSpringFile(session, context, *path));
    EXPECT_GT(session.spring.F2, 0);
    EXPECT_EQ(session.spring.F2, saved.spring.F2);
}

TEST_F(SpringFileFolder, SaveUnderTheCurrentNameNeverAsks) {
    WriteBytes(root + "/feder.kra", "old");
    examples::QuietSpring(session);
    ASSERT_TRUE(SaveSpringFile(session, context, "feder", false));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_NE(ReadBytes(root + "/feder.kra"), "old");
}

TEST_F(SpringFileFolder, AWriteProtectedSpringFileStaysAsItWas) {
    // Protected for everybody, root included: no write bit at all.
    const std::string path = root + "/feder.kra";
    WriteBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    examples::QuietSpring(session);
    EXPECT_FALSE(SaveSpringFile(session, context, "feder", false));
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Schreibschutz entfernen !");
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"feder.kra"});
}

TEST_F(SpringFileFolder, NamesUpToTheFileNameLimitAreSaved) {
    examples::QuietSpring(session);
    for (std::size_t length : {244u, 251u}) { // with ".kra": 248 and 255 characters
        const std::string name(length, 'f');
        auto path = SaveSpringFile(session, context, name, false);
        ASSERT_TRUE(path) << length;
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{name + ".kra"});
        fs::remove(*path);
    }
}

TEST_F(SpringFileFolder, SaveAsAsksBeforeOverwriting) {
    const std::string path = root + "/feder.kra";
    WriteBytes(path, "old");
    examples::QuietSpring(session);
    dialogs.Push(ScriptedDialogs::No());
    EXPECT_FALSE(SaveSpringFile(session, context, "feder", true));
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], path + " existiert bereits.   \xC3\x9c"
                                       "berschreiben ?");
    EXPECT_EQ(ReadBytes(path), "old");
    dialogs.Push(ScriptedDialogs::Yes());
    EXPECT_TRUE(SaveSpringFile(session, context, "feder", true));
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_EQ(ReadBytes(path), SpringFileText(session.config, session.spring));
    EXPECT_TRUE(dialogs.unexpected.empty());
}

TEST_F(SpringFileFolder, ANameWithAktuellIsNeverQuestioned) {
    WriteBytes(root + "/aktuell.kra", "old");
    examples::QuietSpring(session);
    EXPECT_TRUE(SaveSpringFile(session, context, "aktuell", true));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SpringFileFolder, BareNamesAreCompletedNamesWithAPointAreNot) {
    const struct {
        std::string name;
        std::string path;
    } cases[] = {
        {"bare", root + "/bare.kra"},
        {root + "/other.dat", root + "/other.dat"},
        {root + "/with.point.kra", root + "/with.point.kra"},
    };
    for (const auto& c : cases) {
        auto path = ResolveSpringFileName(session, context, c.name, true);
        ASSERT_TRUE(path) << c.name;
        EXPECT_EQ(*path, c.path);
        EXPECT_FALSE(fs::exists(*path)) << "the test file is removed again";
    }
}

TEST_F(SpringFileFolder, SaveAsDialogTakesFolderAndNameAndReplacesTheExtension) {
    fs::create_directories(root + "/sub");
    examples::QuietSpring(session);
    dialogs.Push(ScriptedDialogs::Typed(root + "/sub/neu.txt"));
    auto path = SaveSpringFile(session, context, "", true);
    ASSERT_TRUE(path);
    EXPECT_EQ(*path, root + "/sub/neu.kra");
    EXPECT_EQ(context.directory, root + "/sub");
    EXPECT_EQ(context.fileName, "neu");
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown[0], root); // the dialog opens in the last directory
    dialogs.Push(ScriptedDialogs::Cancelled());
    EXPECT_FALSE(SaveSpringFile(session, context, "", true));
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(SpringFileFolder, InvalidNamesAreReportedAndNothingIsWritten) {
    fs::create_directories(root + "/folder.kra");
    const std::string cases[] = {root + "/missing/feder.kra", root + "/folder.kra"};
    for (const auto& name : cases) {
        dialogs.errors.clear();
        EXPECT_FALSE(SaveSpringFile(session, context, name, false));
        EXPECT_TRUE(session.AbortFlag);
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], "Ung\xC3\xBCltiger Dateiname \"" + name + "\" !");
    }
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"folder.kra"});
}

TEST_F(SpringFileFolder, ArchiveModeRefusesEveryNameButAktuell) {
    session.config.archiveFlag = true;
    context.archiveMode = true;
    EXPECT_FALSE(SaveSpringFile(session, context, "feder", false));
    ASSERT_EQ(dialogs.infos.size(), 1u);
    EXPECT_EQ(dialogs.infos[0],
              "File- und User- Befehle sind im Archivierungsmodus nicht m\xC3\xB6glich.");
    EXPECT_TRUE(FolderEntries().empty());
    EXPECT_TRUE(SaveSpringFile(session, context, "aktuell", false));
    EXPECT_TRUE(context.archiveMode);
    // Without the flag archive mode ends at the first save.
    session.config.archiveFlag = false;
    EXPECT_TRUE(SaveSpringFile(session, context, "feder", false));
    EXPECT_FALSE(context.archiveMode);
}

TEST_F(SpringFileFolder, LoadThroughTheOpenDialogAndItsCancel) {
    Session saved(dialogs);
    examples::QuietSpring(saved);
    const std::string path = root + "/offen.kra";
    WriteBytes(path, SpringFileText(saved.config, saved.spring));
    dialogs.Push(ScriptedDialogs::Typed(path));
    EXPECT_EQ(LoadSpringFile(session, context, ""), path);
    EXPECT_EQ(session.spring.nsec, 1);
    dialogs.Push(ScriptedDialogs::Cancelled());
    EXPECT_FALSE(LoadSpringFile(session, context, ""));
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(SpringFileFolder, MissingFileIsReported) {
    EXPECT_FALSE(LoadSpringFile(session, context, root + "/fehlt.kra"));
    EXPECT_TRUE(session.AbortFlag);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0],
              "Datei \"" + root + "/fehlt.kra\" nicht gefunden oder kein Zugriffsrecht !");
}

// ---- Mended faults ----

TEST(SpringFileMends, ExtraValuesFollowLine116AndOlderFilesKeepTheirDefaults) {
    Session session;
    RichSpring(session);
    session.spring.surfaceProtectionIndex = 3;
    const std::string text = SpringFileText(session.config, session.spring);
    const auto lines = Lines(text);
    const std::size_t marker = IndexOf(lines, "Zusatzwerte");
    EXPECT_EQ(marker + 7, lines.size());
    // Older files end earlier: after line 116, or after the first four values. What they hold
    // is read, the rest keeps its program-start value, and neither is a damaged file.
    const SpringRecord defaults{};
    const struct {
        std::size_t values; // values after the marker the file holds
        bool marker;
    } cases[] = {{0, false}, {0, true}, {4, true}, {5, true}, {6, true}};
    for (const auto& c : cases) {
        std::vector<std::string> older(lines.begin(), lines.begin() +
                                                          static_cast<long>(marker + c.values) +
                                                          (c.marker ? 1 : 0));
        SpringRecord old{};
        auto reading = ParseSpringFile(JoinLines(older), old);
        EXPECT_EQ(reading.status, SpringFileReading::Status::Complete) << c.values;
        EXPECT_TRUE(reading.notices.empty()) << c.values;
        EXPECT_EQ(old.fatigueTolMax, 10) << c.values; // line 116 itself was read
        EXPECT_EQ(old.diameterInput, c.values >= 1 ? 1 : 3) << c.values;
        EXPECT_EQ(old.definitionMode, c.values >= 2 ? 2 : 1) << c.values;
        EXPECT_EQ(old.charCoordinate, c.values >= 3 ? 2 : 1) << c.values;
        EXPECT_EQ(old.charOrigin, c.values >= 4 ? 3 : 0) << c.values;
        EXPECT_EQ(old.showForces, c.values >= 5 ? false : defaults.showForces) << c.values;
        EXPECT_EQ(old.surfaceProtectionIndex, c.values >= 6 ? 3 : 0) << c.values;
        // Saved again, the file starts with the lines it had and gains the missing values.
        const std::string again = SpringFileText(session.config, old);
        EXPECT_EQ(again.substr(0, JoinLines(older).size()), JoinLines(older)) << c.values;
        EXPECT_EQ(Lines(again).size(), lines.size()) << c.values;
    }
}

TEST(SpringFileMends, SettingsReadAreForcedIntoTheirRanges) {
    const struct {
        const char* seps;
        const char* wsteps;
        const char* faktorRFc;
        const char* ssteps;
        real wantSeps;
        std::int32_t wantWsteps;
        real wantFaktorRFc;
        std::int32_t wantSsteps;
    } cases[] = {
        {"5", "1", "0", "1000000", 0.1L, 3, 0.00001L, 10000},
        {"0", "-7", "1", "2", 0.0000000001L, 3, 0.1L, 10},
        {"abc", "x", "-1", "", 0.0000000001L, 3, 0.00001L, 10},
        {"0.002", "50", "0.05", "300", 0.002L, 50, 0.05L, 300},
    };
    Session session;
    auto lines = Lines(SpringFileText(session.config, session.spring));
    const std::size_t seps = IndexOf(lines, "Char.Line") + 4 + 4; // after drawing name, flag,
                                                                  // wire type and h
    for (const auto& c : cases) {
        lines[seps] = c.seps;
        lines[seps + 1] = c.wsteps;
        lines[seps + 2] = c.faktorRFc;
        lines[seps + 3] = c.ssteps;
        SpringRecord back{};
        ParseSpringFile(JoinLines(lines), back);
        EXPECT_EQ(back.seps, c.wantSeps) << c.seps;
        EXPECT_EQ(back.wsteps, c.wantWsteps) << c.wsteps;
        EXPECT_EQ(back.faktorRFc, c.wantFaktorRFc) << c.faktorRFc;
        EXPECT_EQ(back.ssteps, c.wantSsteps) << c.ssteps;
    }
}

TEST(SpringFileMends, NonZeroRealsNeverComeBackAsZero) {
    const struct {
        int dezimalstellen;
        real value;
    } cases[] = {{3, 3e-8L}, {3, 2e-9L},         {3, 4.4e-8L}, {1, 4e-6L},
                 {1, 1e-7L}, {3, 0.0000000001L}, {2, 3e-7L},   {3, -2e-8L}};
    for (const auto& c : cases) {
        Session session;
        session.config.Dezimalstellen = c.dezimalstellen;
        session.spring.seps = c.value;
        session.spring.e1 = c.value;
        SpringRecord back{};
        ParseSpringFile(SpringFileText(session.config, session.spring), back);
        EXPECT_NE(back.e1, 0) << c.dezimalstellen << " " << static_cast<double>(c.value);
        if (c.value > 0) {
            EXPECT_EQ(back.seps, c.value);
        }
    }
}

TEST(SpringFileMends, CountsBeyondTheTablesAreCutAndTheFileStaysInStep) {
    Session session;
    RichSpring(session);
    auto lines = Lines(SpringFileText(session.config, session.spring));
    // 60 sections where 50 fit: the file announces and holds all of them.
    std::vector<std::string> hostile(lines.begin(), lines.begin() + 17);
    hostile.push_back("60");
    for (int i = 1; i <= 60; ++i) {
        hostile.push_back(std::to_string(i));
        hostile.push_back("1");
    }
    const std::size_t afterSections = IndexOf(lines, "Windungen") + 3 + 6;
    hostile.insert(hostile.end(), lines.begin() + static_cast<long>(afterSections), lines.end());
    SpringRecord back{};
    auto reading = ParseSpringFile(JoinLines(hostile), back);
    EXPECT_EQ(reading.status, SpringFileReading::Status::Complete);
    EXPECT_EQ(back.nsec, 50);
    EXPECT_EQ(back.sections[50].L0i, 50);
    EXPECT_EQ(back.sections[51].L0i, 0); // the dead-coil slot was not written
    EXPECT_EQ(back.fatigueTolMax, 10);   // still in step at the end
    ASSERT_EQ(reading.cutCounts.size(), 1u);
    EXPECT_EQ(reading.cutCounts[0], 18);
    EXPECT_EQ(SpringFileReadingMessage(reading, "a.kra"),
              "Federdatei \"a.kra\": zu lange Tabelle gek\x81rzt, Zeile 18 !");
}

TEST(SpringFileMends, HugeAndNegativeCountsInEveryTable) {
    Session session;
    RichSpring(session);
    const auto lines = Lines(SpringFileText(session.config, session.spring));
    const std::size_t changes = IndexOf(lines, kChangesMarker);
    const std::size_t documents = IndexOf(lines, "Dokumente");
    const std::size_t points = IndexOf(lines, "Char.Line");
    const std::size_t frl = IndexOf(lines, "F,R - L");
    const std::size_t sections = IndexOf(lines, "Windungen");
    const struct {
        std::size_t line;
        std::string text;
    } cases[] = {
        {sections + 2, "2147483647"},
        {sections + 2, "-5"},
        {changes + 1, "2147483647"},
        {changes + 1, "-1"},
        {changes + 3 + 4 + 5 * 2, "x|y|z|a|b|c|99999|"},
        {documents + 1, "1000000"},
        {points + 2, "2147483647"},
        {points + 2, "-2147483648"},
        {frl + 2, "99999999"},
    };
    for (const auto& c : cases) {
        auto hostile = lines;
        hostile[c.line] = c.text;
        SpringRecord back{};
        auto reading = ParseSpringFile(JoinLines(hostile), back);
        EXPECT_GE(back.nsec, 0);
        EXPECT_LE(back.nsec, kMaxSections);
        EXPECT_GE(back.nchar, 0);
        EXPECT_LE(back.nchar, kMaxPoints);
        EXPECT_GE(back.nfrl, 0);
        EXPECT_LE(back.nfrl, kMaxPoints);
        EXPECT_GE(back.changeCount, 0);
        EXPECT_LE(back.changeCount, 25);
        EXPECT_GE(back.drawingInfo.textCount, 0);
        EXPECT_LE(back.drawingInfo.textCount, 8);
        (void)reading;
    }
}

// ---- Reading robustness ----

TEST(SpringFileReading, EveryTruncationKeepsTheDefaultsOfWhatIsMissing) {
    Session session;
    RichSpring(session);
    const auto lines = Lines(SpringFileText(session.config, session.spring));
    for (std::size_t n = 0; n <= lines.size(); ++n) {
        std::vector<std::string> cut(lines.begin(), lines.begin() + static_cast<long>(n));
        SpringRecord back{};
        auto reading = ParseSpringFile(JoinLines(cut), back);
        EXPECT_NE(reading.status, SpringFileReading::Status::OutOfStep) << n;
        if (n < 126) {
            EXPECT_EQ(back.charOrigin, 0) << n;
        }
        if (n < 9) {
            EXPECT_EQ(back.L0, 0) << n;
        }
        if (n < 116) {
            EXPECT_EQ(back.fatigueTolMax, 0) << n;
        }
    }
    // A file that ends before its first marker is no spring file.
    SpringRecord empty{};
    SpringFileReading reading = ParseSpringFile("\r\n\r\n", empty);
    EXPECT_EQ(SpringFileReadingMessage(reading, "x.kra"), "Datei \"x.kra\" ist keine Federdatei !");
}

TEST(SpringFileReading, ValuesThatDoNotParseReadAsZero) {
    Session session;
    RichSpring(session);
    auto lines = Lines(SpringFileText(session.config, session.spring));
    lines[8] = "zweiundzwanzig"; // L0
    lines[9] = "1e99999";        // Dm: out of range
    lines[10] = "nan";           // d
    lines[17] = "drei";          // nsec
    SpringRecord back{};
    back.Dm = 7;
    auto reading = ParseSpringFile(JoinLines(lines), back);
    EXPECT_EQ(back.L0, 0);
    EXPECT_EQ(back.Dm, 0);
    EXPECT_EQ(back.d, 0);
    // nsec 0: the six section lines are now out of step with the closing rule.
    EXPECT_EQ(reading.status, SpringFileReading::Status::OutOfStep);
    EXPECT_EQ(reading.line, 19);
    EXPECT_EQ(reading.expected, "--------");
}

TEST(SpringFileReading, BooleansFlagsAndEnumerations) {
    Session session;
    auto lines = Lines(SpringFileText(session.config, session.spring));
    const std::size_t points = IndexOf(lines, "Char.Line");
    lines[points + 5] = "true"; // show setting length: upper-cased "TRUE"
    lines[points + 6] = "9";    // wire type outside 1..6
    const std::size_t tail = IndexOf(lines, "Zusatzwerte");
    lines[tail - 8] = "";   // statistics switch: empty line
    lines[tail - 5] = "JA"; // not "TRUE"
    lines[tail + 4] = "17"; // charOrigin outside 0..3
    lines[tail + 5] = "tRuE";
    lines[tail + 6] = "-2"; // surfaceProtectionIndex outside 0..6
    SpringRecord back{};
    back.showLdPm = true;
    back.showForces = false;
    const SpringFileReading reading = ParseSpringFile(JoinLines(lines), back);
    EXPECT_TRUE(back.showSettingLength);
    EXPECT_EQ(back.wireType, 1);
    EXPECT_EQ(back.statsSwitch, 'N');
    EXPECT_FALSE(back.showLdPm);
    EXPECT_EQ(back.charOrigin, 0);
    EXPECT_TRUE(back.showForces);
    EXPECT_EQ(back.surfaceProtectionIndex, 0);
    ASSERT_EQ(reading.notices.size(), 3u);
    EXPECT_EQ(reading.notices[2].field, "surfaceProtectionIndex");
    EXPECT_EQ(reading.notices[2].line, static_cast<int>(tail + 7));
    EXPECT_EQ(reading.notices[2].read, "-2");
    EXPECT_EQ(reading.notices[2].used, "0");
}

// Where the reader changes a value it says which line held what; the end type is left for the
// calculation, which refuses it with its own message.
TEST(SpringFileReading, ChangedValuesAreNoticedAndTheEndTypeIsLeftToTheCalculation) {
    Session session;
    auto lines = Lines(SpringFileText(session.config, session.spring));
    const std::size_t material = IndexOf(lines, "--------") + 1; // after the sections table
    const std::size_t loadType = material + 24, manufacturing = material + 25,
                      endType = material + 26;
    const std::size_t wsteps = IndexOf(lines, "Char.Line") + 4 + 5;
    lines[loadType] = "7";
    lines[manufacturing] = "70000"; // beyond a word: must not wrap into 1..3
    lines[endType] = "0";
    lines[wsteps] = "20000";
    SpringRecord back{};
    SpringFileReading reading = ParseSpringFile(JoinLines(lines), back);
    ASSERT_EQ(reading.status, SpringFileReading::Status::Complete);
    EXPECT_EQ(back.endType, 0);
    EXPECT_EQ(back.loadType, 2);
    EXPECT_EQ(back.manufacturing, 1);
    EXPECT_EQ(back.wsteps, 10000);
    struct Want {
        std::size_t index;
        const char *field, *read, *used, *range;
    };
    const Want want[] = {{wsteps, "wsteps", "20000", "10000", "3 .. 10000"},
                         {loadType, "loadType", "7", "2", ""},
                         {manufacturing, "manufacturing", "70000", "1", ""}};
    ASSERT_EQ(reading.notices.size(), std::size(want));
    for (std::size_t i = 0; i < std::size(want); ++i) {
        const SpringFileNotice& n = reading.notices[i];
        EXPECT_EQ(n.line, static_cast<int>(want[i].index) + 1) << want[i].field;
        EXPECT_EQ(n.field, want[i].field);
        EXPECT_EQ(n.read, want[i].read);
        EXPECT_EQ(n.used, want[i].used);
        EXPECT_EQ(n.range, want[i].range);
    }
    const std::string text = SpringFileNoticeText(reading, "f.kra");
    EXPECT_NE(text.find("Zeile " + std::to_string(loadType + 1) + ": loadType = \"7\""),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("wsteps = \"20000\" liegt nicht im Bereich 3 .. 10000, 10000 eingesetzt !"),
              std::string::npos)
        << text;

    // A file that holds nothing unusual gives no notice.
    SpringRecord plain{};
    EXPECT_TRUE(
        ParseSpringFile(SpringFileText(session.config, session.spring), plain).notices.empty());
}

TEST(SpringFileReading, NumbersNoSpringCanMeanRefuseTheFile) {
    Session session;
    const auto good = Lines(SpringFileText(session.config, session.spring));
    const std::size_t L0 = 8, seps = IndexOf(good, "Char.Line") + 4 + 4;
    const struct {
        std::size_t index;
        const char* text;
        bool refused;
    } cases[] = {
        {L0, "1e3999", true}, {L0, "-1e31", true},    {seps, "1e-4000", true}, {L0, "1e30", false},
        {L0, "0", false},     {seps, "1e-30", false}, {L0, "12.5", false},
    };
    for (const auto& c : cases) {
        auto lines = good;
        lines[c.index] = c.text;
        SpringRecord back{};
        SpringFileReading reading = ParseSpringFile(JoinLines(lines), back);
        if (!c.refused) {
            EXPECT_EQ(reading.status, SpringFileReading::Status::Complete) << c.text;
            continue;
        }
        EXPECT_EQ(reading.status, SpringFileReading::Status::NumberOutOfRange) << c.text;
        EXPECT_EQ(reading.line, static_cast<int>(c.index) + 1) << c.text;
        EXPECT_EQ(SpringFileReadingMessage(reading, "f.kra"),
                  "Federdatei \"f.kra\" fehlerhaft: Zeile " + std::to_string(c.index + 1) +
                      ": Zahl \"" + c.text +
                      "\" au\xE1"
                      "erhalb des Zahlenbereichs. Die Datei wurde nicht geladen !");
    }
}

TEST_F(SpringFileFolder, LoadNoticesAreShownAndARefusedFileKeepsTheSpring) {
    auto lines = Lines(SpringFileText(session.config, session.spring));
    const std::size_t loadType = IndexOf(lines, "--------") + 1 + 24;
    lines[loadType] = "9";
    WriteBytes(root + "/notiz.kra", JoinLines(lines));
    ASSERT_TRUE(LoadSpringFile(session, context, root + "/notiz.kra"));
    ASSERT_EQ(dialogs.infos.size(), 1u);
    EXPECT_NE(dialogs.infos[0].find("loadType = \"9\""), std::string::npos) << dialogs.infos[0];

    session.spring.L0 = 77;
    lines[8] = "1e400";
    WriteBytes(root + "/gross.kra", JoinLines(lines));
    EXPECT_FALSE(LoadSpringFile(session, context, root + "/gross.kra"));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(session.spring.L0, 77);
    ASSERT_FALSE(dialogs.errors.empty());
    EXPECT_NE(dialogs.errors.back().find("Zeile 9: Zahl \"1e400\""), std::string::npos)
        << dialogs.errors.back();
}

TEST_F(SpringFileFolder, AnEndTypeOutsideItsListIsRefusedByTheCalculation) {
    Session saved(dialogs);
    examples::QuietSpring(saved);
    auto lines = Lines(SpringFileText(saved.config, saved.spring));
    lines[IndexOf(lines, "--------") + 1 + 26] = "0";
    WriteBytes(root + "/ende.kra", JoinLines(lines));
    ASSERT_TRUE(LoadSpringFile(session, context, root + "/ende.kra"));
    EXPECT_TRUE(dialogs.infos.empty());
    EXPECT_EQ(session.spring.endType, 0);
    EXPECT_EQ(session.spring.endText, "undefined");
    EXPECT_TRUE(session.messages.Contains("Fatal  : korend !"));
}

TEST(SpringFileReading, TextsAreCutToTheirFieldLength) {
    Session session;
    auto lines = Lines(SpringFileText(session.config, session.spring));
    lines[5] = std::string(300, 'T');                              // TitleLine, 65
    lines[IndexOf(lines, "Dokumente") + 3] = std::string(80, 'p'); // program path, 50
    SpringRecord back{};
    ParseSpringFile(JoinLines(lines), back);
    EXPECT_EQ(back.TitleLine.size(), 65u);
    EXPECT_EQ(back.documents[0].program.size(), 50u);
}

TEST(SpringFileReading, MarkerOutOfStepIsReportedAndTheSpringIsKept) {
    ScriptedDialogs dialogs;
    Session session(dialogs);
    examples::QuietSpring(session);
    auto lines = Lines(SpringFileText(session.config, session.spring));
    const std::size_t points = IndexOf(lines, "Char.Line");
    lines[points] = "Kennlinie";
    SpringRecord back{};
    auto reading = ParseSpringFile(JoinLines(lines), back);
    EXPECT_EQ(reading.status, SpringFileReading::Status::OutOfStep);
    EXPECT_EQ(reading.line, static_cast<int>(points) + 1);
    EXPECT_EQ(SpringFileReadingMessage(reading, "f.kra"),
              "Federdatei \"f.kra\" fehlerhaft: Zeile " + std::to_string(points + 1) +
                  " sollte \"Char.Line\" lauten. Die Datei wurde nicht geladen !");

    std::string pattern = (fs::temp_directory_path() / "kora-kra-XXXXXX").string();
    const std::string root = mkdtemp(pattern.data());
    WriteBytes(root + "/f.kra", JoinLines(lines));
    Session current(dialogs);
    examples::ThreeSections(current);
    SpringFileContext context;
    EXPECT_FALSE(LoadSpringFile(current, context, root + "/f.kra"));
    EXPECT_TRUE(current.AbortFlag);
    EXPECT_EQ(current.spring.nsec, 3); // unchanged
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("sollte \"Char.Line\" lauten"), std::string::npos);
    fs::remove_all(root);
}

TEST(SpringFileReading, LineEndsCtrlZAndLineFeedOnlyFiles) {
    Session session;
    RichSpring(session);
    session.spring.changes[1].description = "eine Zeile";
    const std::string text = SpringFileText(session.config, session.spring);
    // A file whose CRs were dropped by some tool reads the same.
    std::string lfOnly;
    for (char c : text)
        if (c != '\r') lfOnly.push_back(c);
    SpringRecord fromLf{};
    EXPECT_EQ(ParseSpringFile(lfOnly, fromLf).status, SpringFileReading::Status::Complete);
    EXPECT_EQ(SpringFileText(session.config, fromLf), text);
    // Ctrl-Z ends the file.
    const std::size_t cut = text.find("Char.Line");
    SpringRecord fromCtrlZ{};
    auto reading = ParseSpringFile(text.substr(0, cut) + "\x1A" + text.substr(cut), fromCtrlZ);
    EXPECT_EQ(reading.status, SpringFileReading::Status::EndedEarly);
    EXPECT_EQ(fromCtrlZ.nchar, 0);
    EXPECT_EQ(fromCtrlZ.nsec, 3);
    // A lone CR ends a line as well; a lone LF belongs to the text.
    LineReader reader("a\rb\nc\r\nd");
    EXPECT_EQ(reader.Next(), "a");
    EXPECT_EQ(reader.Next(), "b\nc");
    EXPECT_EQ(reader.Next(), "d");
    EXPECT_FALSE(reader.Next());
}

TEST(SpringFileReading, OneLineTextsCannotBreakTheLineOrder) {
    Session session;
    RichSpring(session);
    session.spring.designation = "Feder\rmit CR\x1A";
    session.spring.drawingInfo.geprName = "a|b";
    const std::string text = SpringFileText(session.config, session.spring);
    SpringRecord back{};
    EXPECT_EQ(ParseSpringFile(text, back).status, SpringFileReading::Status::Complete);
    EXPECT_EQ(back.designation, "Feder mit CR ");
    EXPECT_EQ(back.drawingInfo.geprName, "a b");
    EXPECT_EQ(back.drawingInfo.textCount, 2);
}

TEST(SpringFileReading, BinaryAndOversizedFilesAreRefused) {
    ScriptedDialogs dialogs;
    std::string pattern = (fs::temp_directory_path() / "kora-kra-XXXXXX").string();
    const std::string root = mkdtemp(pattern.data());
    std::mt19937 random(850);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(5000 + round * 997, '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        SpringRecord back{};
        ParseSpringFile(bytes, back); // must simply return
        EXPECT_LE(back.nsec, kMaxSections);
        WriteBytes(root + "/bin.kra", bytes);
        Session session(dialogs);
        examples::ThreeSections(session);
        SpringFileContext context;
        EXPECT_FALSE(LoadSpringFile(session, context, root + "/bin.kra")) << round;
        EXPECT_EQ(session.spring.nsec, 3);
    }
    // Random lines with CR LF: in step only by chance, never a crash.
    for (int round = 0; round < 50; ++round) {
        std::string bytes;
        for (int i = 0; i < 300; ++i) {
            bytes.append(std::to_string(byte(random) - 20));
            bytes.append(i % 7 == 0 ? "|" : "").append("\r\n");
        }
        SpringRecord back{};
        ParseSpringFile(bytes, back);
        EXPECT_LE(back.nfrl, kMaxPoints);
    }
    // Larger than any spring file.
    {
        std::ofstream big(root + "/big.kra", std::ios::binary);
        std::string block(1 << 20, '7');
        for (int i = 0; i < 5; ++i)
            big << block;
    }
    Session session(dialogs);
    SpringFileContext context;
    dialogs.errors.clear();
    EXPECT_FALSE(LoadSpringFile(session, context, root + "/big.kra"));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0],
              "Datei \"" + root + "/big.kra\" ist zu gro\xC3\x9f f\xC3\xBCr eine Federdatei !");
    // A folder is no file either.
    EXPECT_FALSE(LoadSpringFile(session, context, root));
    fs::remove_all(root);
}

} // namespace
} // namespace kora

#include "material_table_support.h"

#include "common/example_springs.h"
#include "engine/calculate.h"
#include "persistence/material_tables.h"
#include "persistence/relaxation_tables.h"
#include "persistence/spring_file.h"
#include "persistence/tempering_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kora::test {
namespace {

using Strings = std::vector<std::string>;

void ExpectSameRelaxation(const RelaxationRecord& a, const RelaxationRecord& b) {
    EXPECT_EQ(a.materialNumber, b.materialNumber);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.T1, b.T1);
    EXPECT_EQ(a.T2, b.T2);
    EXPECT_DOUBLE_EQ(a.d1, b.d1);
    EXPECT_DOUBLE_EQ(a.d2, b.d2);
    for (std::size_t p = 0; p < a.points.size(); ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(a.points[p].tau, b.points[p].tau);
        EXPECT_DOUBLE_EQ(a.points[p].relaxation, b.points[p].relaxation);
    }
}

// Every point distinct, so that a swapped column shows.
RelaxationRecord DistinctRelaxation(std::int32_t number) {
    RelaxationRecord r = RelaxationRow(number, "R\x84ume \x94");
    for (std::size_t p = 0; p < r.points.size(); ++p)
        r.points[p] = {static_cast<std::int32_t>(100 + 10 * p), 0.5 + static_cast<double>(p)};
    r.T1 = -10;
    r.T2 = 150;
    r.d1 = 0.5;
    r.d2 = 12.5;
    return r;
}

TemperingRecord Tempering(std::int32_t number, std::string name) {
    return {number,
            std::move(name),
            "Anlassen 30 min",
            "bei 250 \xF8"
            "C",
            "",
            "Info \x84"};
}

class RelaxationTemperingTest : public MaterialTablesTest {
  protected:
    void SetUp() override {
        MaterialTablesTest::SetUp();
        MakeRelaxation({RelaxationRow(1, "Eins"), DistinctRelaxation(3)});
        MakeTempering({Tempering(1, "Eins"), Tempering(2, "Zwei \x81")});
    }
};

TEST_F(RelaxationTemperingTest, ReadRelaxationRowCopiesTheTwentyTwoColumns) {
    DbfTable table(materialSession);
    ASSERT_TRUE(table.OpenTable("korwstr"));
    ASSERT_TRUE(table.GoRecord(2));
    ReadRelaxationRow(materialSession, table);
    ExpectSameRelaxation(materialSession.CurrentRelaxation, DistinctRelaxation(3));
}

TEST_F(RelaxationTemperingTest, WriteRelaxationRowRoundTripsAndCutsTheName) {
    RelaxationRecord r = DistinctRelaxation(5);
    r.name = "\x84\x94\x81 ein sehr langer Name";
    materialSession.CurrentRelaxation = r;
    {
        DbfTable table(materialSession);
        ASSERT_TRUE(table.OpenTable("korwstr"));
        table.BlankRecord();
        ASSERT_TRUE(WriteRelaxationRow(materialSession, table));
        ASSERT_TRUE(table.AppendRecord());
    }
    EXPECT_NE(ReadBytes(Path("korwstr")).find("\x84\x94\x81 ein sehr lange"), std::string::npos);
    ASSERT_TRUE(FindRelaxation(materialSession, 5));
    r.name = "\x84\x94\x81 ein sehr langer"; // cut to 20; the trailing blank is padding
    ExpectSameRelaxation(materialSession.CurrentRelaxation, r);

    materialSession.AbortFlag = true;
    DbfTable table(materialSession);
    ASSERT_TRUE(table.OpenTable("korwstr"));
    EXPECT_FALSE(WriteRelaxationRow(materialSession, table));
    materialSession.CurrentRelaxation = {};
    ReadRelaxationRow(materialSession, table);
    EXPECT_EQ(materialSession.CurrentRelaxation.materialNumber, 0);
}

TEST_F(RelaxationTemperingTest, FindRelaxationFoundMissingAndWithoutTable) {
    materialSession.AbortFlag = true;
    ASSERT_TRUE(FindRelaxation(materialSession, 3));
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_TRUE(materialSession.relaxationFound);
    ExpectSameRelaxation(materialSession.CurrentRelaxation, DistinctRelaxation(3));

    EXPECT_FALSE(FindRelaxation(materialSession, 2));
    EXPECT_FALSE(materialSession.relaxationFound);
    ExpectSameRelaxation(materialSession.CurrentRelaxation, RelaxationRecord{});
    EXPECT_TRUE(Messages().empty());

    ASSERT_TRUE(FindRelaxation(materialSession, 3));
    std::filesystem::remove(Path("korwstr"));
    EXPECT_FALSE(FindRelaxation(materialSession, 3));
    EXPECT_FALSE(materialSession.relaxationFound);
    EXPECT_EQ(materialSession.CurrentRelaxation.T2, 0); // the reset record
    EXPECT_EQ(Messages(), Strings{"Fatal  : KORWSTR.DBF error"});
}

TEST_F(RelaxationTemperingTest, BrowseRelaxationPositionsOnTheCurrentRow) {
    materialSession.CurrentRelaxation.materialNumber = 3;
    view.script = {ScriptedTableView::OkWhereShown(), ScriptedTableView::PickRecord(1),
                   ScriptedTableView::CancelBrowser()};
    ASSERT_TRUE(BrowseRelaxation(materialSession, 1, &view));
    EXPECT_EQ(view.captions[0], "Relaxation   korwstr.dbf");
    EXPECT_EQ(view.startRecords[0], 2);
    EXPECT_EQ(materialSession.HelpTopic, 9585);
    EXPECT_EQ(materialSession.CurrentRelaxation.T1, -10);

    ASSERT_TRUE(BrowseRelaxation(materialSession, 0, &view)); // edit mode, no positioning
    EXPECT_FALSE(view.choosing[1]);
    EXPECT_EQ(view.startRecords[1], 1);
    EXPECT_EQ(materialSession.CurrentRelaxation.materialNumber, 1);

    EXPECT_FALSE(BrowseRelaxation(materialSession, 1, &view));
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_EQ(materialSession.CurrentRelaxation.materialNumber, 1);

    std::filesystem::remove(Path("korwstr"));
    EXPECT_FALSE(BrowseRelaxation(materialSession, 1, &view));
    EXPECT_EQ(Messages(), Strings{"Fatal  : KORWSTR DBF error"});
}

TEST_F(RelaxationTemperingTest, TemperingRowsRoundTripAndAreCut) {
    ASSERT_TRUE(FindTempering(materialSession, 2));
    const TemperingRecord& t = materialSession.CurrentTempering;
    EXPECT_EQ(t.materialNumber, 2);
    EXPECT_EQ(t.name, "Zwei \x81");
    EXPECT_EQ(t.line1, "Anlassen 30 min");
    EXPECT_EQ(t.line2, "bei 250 \xF8"
                       "C");
    EXPECT_EQ(t.line3, "");
    EXPECT_EQ(t.info, "Info \x84");

    materialSession.CurrentTempering = {
        7, std::string(25, 'n'), std::string(45, 'a'), "b", "c", "\x84\x94"};
    {
        DbfTable table(materialSession);
        ASSERT_TRUE(table.OpenTable("korwstt"));
        table.BlankRecord();
        ASSERT_TRUE(WriteTemperingRow(materialSession, table));
        ASSERT_TRUE(table.AppendRecord());
    }
    ASSERT_TRUE(FindTempering(materialSession, 7));
    EXPECT_EQ(t.name, std::string(20, 'n'));
    EXPECT_EQ(t.line1, std::string(40, 'a'));
    EXPECT_EQ(t.line2, "b");
    EXPECT_EQ(t.line3, "c");
    EXPECT_EQ(t.info, "\x84\x94");

    materialSession.AbortFlag = true;
    DbfTable table(materialSession);
    ASSERT_TRUE(table.OpenTable("korwstt"));
    EXPECT_FALSE(WriteTemperingRow(materialSession, table));
}

TEST_F(RelaxationTemperingTest, FindTemperingResetsFirstAndReportsAMissingTable) {
    ASSERT_TRUE(FindTempering(materialSession, 1));
    EXPECT_FALSE(FindTempering(materialSession, 9));
    EXPECT_EQ(materialSession.CurrentTempering.line1, "");
    EXPECT_EQ(materialSession.CurrentTempering.materialNumber, 0);
    std::filesystem::remove(Path("korwstt"));
    EXPECT_FALSE(FindTempering(materialSession, 1));
    EXPECT_EQ(Messages(), Strings{"Fatal  : korwstt.dbf error"});
}

TEST_F(RelaxationTemperingTest, BrowseTempering) {
    materialSession.CurrentTempering.materialNumber = 2;
    view.script = {ScriptedTableView::OkWhereShown()};
    ASSERT_TRUE(BrowseTempering(materialSession, 3, &view));
    EXPECT_NE(view.captions[0].find("Tempering  korwstt.dbf  ("), std::string::npos);
    EXPECT_EQ(view.startRecords[0], 2);
    EXPECT_EQ(materialSession.HelpTopic, 9580);
    EXPECT_EQ(materialSession.CurrentTempering.name, "Zwei \x81");
    std::filesystem::remove(Path("korwstt"));
    EXPECT_FALSE(BrowseTempering(materialSession, 0, &view));
    EXPECT_EQ(Messages(), Strings{"Fatal  : korwstt DBF error"});
}

// The report prints the lines of the spring's own material, not those of the material last
// chosen in the tempering form.
TEST_F(RelaxationTemperingTest, TemperingOfTheSpringsOwnMaterial) {
    ASSERT_TRUE(FindTempering(materialSession, 1)); // as the tempering form would leave it
    materialSession.spring.materialKind = 0;
    materialSession.spring.materialNumber = 2;
    EXPECT_TRUE(LoadTemperingOfSpring(materialSession));
    EXPECT_EQ(materialSession.CurrentTempering.name, "Zwei \x81");

    materialSession.spring.materialNumber = 3; // no tempering row
    EXPECT_FALSE(LoadTemperingOfSpring(materialSession));
    EXPECT_EQ(materialSession.CurrentTempering.line1, "");

    ASSERT_TRUE(FindTempering(materialSession, 1));
    materialSession.spring.materialKind = 11;
    materialSession.spring.materialNumber = 1;
    EXPECT_FALSE(LoadTemperingOfSpring(materialSession));
    EXPECT_EQ(materialSession.CurrentTempering.line1, "");
}

TEST_F(RelaxationTemperingTest, ReferenceTablesForTheCalculation) {
    DbfReferenceTables tables;
    ReferenceTables& engineView = tables;
    materialSession.spring.materialKind = 0;
    engineView.FindRelaxation(materialSession, 3);
    EXPECT_TRUE(materialSession.relaxationFound);
    EXPECT_EQ(materialSession.CurrentRelaxation.T2, 150);
    materialSession.spring.materialKind = 11;
    engineView.FindRelaxation(materialSession, 3);
    EXPECT_FALSE(materialSession.relaxationFound);
    EXPECT_EQ(materialSession.CurrentRelaxation.T2, 0);
}

// Header damage of a table's bytes that was once read as a good table: names and rows shifted,
// rows lost.
struct HeaderDamage {
    const char* what;
    void (*apply)(std::string& bytes);
    const char* reason; // part of the refusal
};

void AddToWord16(std::string& b, std::size_t at, int delta) {
    int value = static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
    value += delta;
    b[at] = static_cast<char>(value & 0xFF);
    b[at + 1] = static_cast<char>(value >> 8);
}

const HeaderDamage kHeaderDamages[] = {
    {"second column of length 0", [](std::string& b) { b[32 + 32 + 16] = 0; },
     "hat keine gültige Länge"},
    {"header length 3 past the end mark", [](std::string& b) { AddToWord16(b, 8, 3); },
     "(Header-Länge passt nicht zu den Datenfeldern)"},
    {"more records counted than the file holds", [](std::string& b) { b[4] = 100; },
     "(Datei kürzer als ihre 100 Datensätze)"},
};

// A damaged table is refused with a message naming its file, and nothing is taken from it:
// the spring computes with no material rather than a shifted one, and no relaxation row or
// tempering line is silently missing.
TEST_F(RelaxationTemperingTest, DamagedTablesAreRefusedNamedAndNeverRead) {
    struct Lookup {
        const char* table;
        bool (*find)(Session&);
        const char* message;
    };
    const Lookup lookups[] = {
        {"korwst",
         [](Session& s) {
             s.spring.materialKind = 0;
             s.spring.materialNumber = 1;
             s.CurrentMaterial = SteelRow(77, "fremd");
             MaterialRefresh refresh = RefreshSpringMaterial(s);
             EXPECT_EQ(refresh.message, "Fatal  : KORWST DBF error");
             EXPECT_EQ(refresh.boxText, "");
             EXPECT_EQ(s.CurrentMaterial.name1, "");
             return refresh.found;
         },
         "Fatal  : KORWST DBF error"},
        {"korwstr",
         [](Session& s) {
             bool found = FindRelaxation(s, 3);
             EXPECT_FALSE(s.relaxationFound);
             EXPECT_EQ(s.CurrentRelaxation.T2, 0);
             return found;
         },
         "Fatal  : KORWSTR.DBF error"},
        {"korwstt",
         [](Session& s) {
             bool found = FindTempering(s, 1);
             EXPECT_EQ(s.CurrentTempering.line1, "");
             return found;
         },
         "Fatal  : korwstt.dbf error"},
    };
    for (const Lookup& lookup : lookups) {
        const std::string path = Path(lookup.table);
        const std::string good = ReadBytes(path);
        for (const HeaderDamage& damage : kHeaderDamages) {
            SCOPED_TRACE(std::string(lookup.table) + ": " + damage.what);
            std::string bytes = good;
            damage.apply(bytes);
            WriteBytes(path, bytes);
            recorder.errors.clear();
            materialSession.ClearMessages();
            EXPECT_FALSE(lookup.find(materialSession));
            EXPECT_EQ(Messages(), Strings{lookup.message});
            ASSERT_EQ(recorder.errors.size(), 1u);
            EXPECT_EQ(recorder.errors[0].find(path), recorder.errors[0].rfind("Field: ", 0) == 0
                                                         ? recorder.errors[0].find(" in ") + 4
                                                         : 0u);
            EXPECT_NE(recorder.errors[0].find(damage.reason), std::string::npos)
                << recorder.errors[0];
            EXPECT_EQ(ReadBytes(path), bytes);
        }
        WriteBytes(path, good);
    }
}

// Loading a spring whose material row is missing says so once: the error box carries its own
// "Fehler : " caption. The spring is not computed with another row.
TEST_F(RelaxationTemperingTest, ALoadedSpringWithoutItsMaterialRowSaysSoOnce) {
    examples::SingleSection(materialSession);
    materialSession.spring.materialKind = 0;
    materialSession.spring.materialNumber = 7;
    SpringFileContext files;
    const std::string file = root + "/seven.kra";
    ASSERT_TRUE(SaveSpringFile(materialSession, files, file, false));
    recorder.errors.clear();
    ASSERT_TRUE(LoadSpringFile(materialSession, files, file));
    EXPECT_EQ(recorder.errors, Strings{"7 not found"});
    EXPECT_TRUE(materialSession.FatalFlag);

    // With a damaged material table the table's own refusal is the only box.
    std::string bytes = ReadBytes(Path("korwst"));
    bytes[4] = 100;
    WriteBytes(Path("korwst"), bytes);
    materialSession.spring.materialNumber = 1;
    ASSERT_TRUE(SaveSpringFile(materialSession, files, file, false));
    recorder.errors.clear();
    ASSERT_TRUE(LoadSpringFile(materialSession, files, file));
    EXPECT_EQ(recorder.errors,
              Strings{Path("korwst") + " ist keine dBASE-Datenbank. (Datei kürzer als ihre 100 "
                                       "Datensätze) [Use/OpenDbf]"});
    EXPECT_TRUE(materialSession.FatalFlag);
}

} // namespace
} // namespace kora::test

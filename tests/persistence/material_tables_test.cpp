#include "material_table_support.h"

#include "base/codepage.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "persistence/material_tables.h"
#include "persistence/relaxation_tables.h"
#include "strength/material.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace kora::test {
namespace {

using Strings = std::vector<std::string>;

void ExpectSameMaterial(const KORWST_Record& a, const KORWST_Record& b) {
    EXPECT_EQ(a.name1, b.name1);
    EXPECT_EQ(a.name2, b.name2);
    EXPECT_EQ(a.name3, b.name3);
    EXPECT_EQ(a.name4, b.name4);
    EXPECT_EQ(a.G, b.G);
    EXPECT_EQ(a.E, b.E);
    EXPECT_DOUBLE_EQ(a.rho, b.rho);
    EXPECT_EQ(a.Rm0, b.Rm0);
    EXPECT_DOUBLE_EQ(a.d0, b.d0);
    EXPECT_EQ(a.RmMax, b.RmMax);
    EXPECT_EQ(a.kRm, b.kRm);
    EXPECT_DOUBLE_EQ(a.fatigueD0, b.fatigueD0);
    EXPECT_EQ(a.tauo0, b.tauo0);
    EXPECT_EQ(a.kTauo, b.kTauo);
    EXPECT_EQ(a.tauh0, b.tauh0);
    EXPECT_EQ(a.kTauh, b.kTauh);
    EXPECT_DOUBLE_EQ(a.mSlope, b.mSlope);
    EXPECT_EQ(a.tauo0Peened, b.tauo0Peened);
    EXPECT_EQ(a.kTauoPeened, b.kTauoPeened);
    EXPECT_EQ(a.tauh0Peened, b.tauh0Peened);
    EXPECT_EQ(a.kTauhPeened, b.kTauhPeened);
    EXPECT_DOUBLE_EQ(a.mSlopePeened, b.mSlopePeened);
    EXPECT_DOUBLE_EQ(a.dmin, b.dmin);
    EXPECT_DOUBLE_EQ(a.dmax, b.dmax);
    EXPECT_EQ(a.Tmax, b.Tmax);
    EXPECT_EQ(a.freeText, b.freeText);
    EXPECT_EQ(a.materialNumber, b.materialNumber);
}

// A peened row with every column distinct, to catch a column read into the wrong field.
KORWST_Record DistinctRow() {
    KORWST_Record m = SteelRow(9, "St\x84hle f\x81r Federn");
    m.name2 = "Zweiter \x94";
    m.name3 = "Dritter";
    m.name4 = "Vierter";
    m.tauo0Peened = 1001;
    m.kTauoPeened = 102;
    m.tauh0Peened = 503;
    m.kTauhPeened = 54;
    m.mSlopePeened = 0.6543;
    m.freeText = "Gr\x94\xE1"
                 "e frei";
    return m;
}

TEST_F(MaterialTablesTest, ReadMaterialRowCopiesColumnsOneToTwentySevenInOrder) {
    MakeMaterials({SteelRow(1, "Federstahl A"), DistinctRow()});
    DbfTable table(materialSession);
    ASSERT_TRUE(table.OpenTable("korwst"));
    ASSERT_TRUE(table.GoRecord(2));
    ReadMaterialRow(materialSession, table);
    ExpectSameMaterial(materialSession.CurrentMaterial, DistinctRow());
}

TEST_F(MaterialTablesTest, NumbersAreReadAsTextWithCommaAndFallbackZero) {
    std::vector<DbfColumn> columns;
    for (int c = 1; c <= 27; ++c)
        columns.push_back({"C" + std::to_string(c), 'C', 12, 0, 0});
    ASSERT_TRUE(CreateTable(session, Path("korwst"), columns));
    DbfTable writer(session);
    ASSERT_TRUE(writer.OpenTablePath(Path("korwst")));
    writer.BlankRecord();
    const struct {
        int column;
        const char* text;
    } cells[] = {{5, "abc"}, {6, " 206000 "}, {7, "7,85"},  {8, "2230.5"},
                 {9, "1.5"}, {10, "2231.5"},  {27, "   12"}};
    for (const auto& cell : cells)
        ASSERT_TRUE(writer.SetColumnText(cell.column, cell.text));
    ASSERT_TRUE(writer.AppendRecord());
    ASSERT_TRUE(writer.CloseTable());

    DbfTable table(materialSession);
    ASSERT_TRUE(table.OpenTable("korwst"));
    ReadMaterialRow(materialSession, table);
    const KORWST_Record& m = materialSession.CurrentMaterial;
    EXPECT_EQ(m.G, 0);             // no number
    EXPECT_EQ(m.E, 206000);        // blanks around
    EXPECT_DOUBLE_EQ(m.rho, 7.85); // decimal comma
    EXPECT_EQ(m.Rm0, 2230);        // halves to the even neighbour
    EXPECT_EQ(m.RmMax, 2232);
    EXPECT_DOUBLE_EQ(m.d0, 1.5);
    EXPECT_EQ(m.materialNumber, 12);
    EXPECT_DOUBLE_EQ(m.dmax, 0); // empty column
}

TEST_F(MaterialTablesTest, WriteMaterialRowRoundTripsCodePage850) {
    materialSession.CurrentMaterial = DistinctRow();
    {
        DbfTable table(materialSession);
        ASSERT_TRUE(table.OpenTable("korwst"));
        table.BlankRecord();
        ASSERT_TRUE(WriteMaterialRow(materialSession, table));
        ASSERT_TRUE(table.AppendRecord());
        ASSERT_TRUE(table.CloseTable());
    }
    // The file holds code page 850: "ä" is 0x84, "ß" 0xE1.
    std::string bytes = ReadBytes(Path("korwst"));
    EXPECT_NE(bytes.find("St\x84hle f\x81r Federn"), std::string::npos);
    EXPECT_NE(bytes.find("Gr\x94\xE1"
                         "e frei"),
              std::string::npos);

    Session fresh{dialogs};
    fresh.config = materialSession.config;
    DbfTable table(fresh);
    ASSERT_TRUE(table.OpenTable("korwst"));
    ASSERT_TRUE(table.GoRecord(4));
    EXPECT_EQ(table.ColumnText(1).substr(0, 7), "Stähle"); // the engine hands over UTF-8
    ReadMaterialRow(fresh, table);
    ExpectSameMaterial(fresh.CurrentMaterial, DistinctRow());
}

TEST_F(MaterialTablesTest, RowOperationsDoNothingWhileAborted) {
    DbfTable table(materialSession);
    ASSERT_TRUE(table.OpenTable("korwst"));
    materialSession.AbortFlag = true;
    ReadMaterialRow(materialSession, table);
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "");
    materialSession.CurrentMaterial = DistinctRow();
    table.BlankRecord();
    EXPECT_FALSE(WriteMaterialRow(materialSession, table));
    EXPECT_EQ(table.ColumnText(1), std::string(50, ' '));
}

TEST_F(MaterialTablesTest, ApplyMaterialCopiesNameAndElasticConstantsOnly) {
    SpringRecord& s = materialSession.spring;
    s.materialKind = 2;
    s.materialGrade = 3;
    s.Rm = 1234;
    s.tauz = 567;
    materialSession.CurrentMaterial = SteelRow(4, std::string(60, 'x'));
    ApplyMaterial(materialSession);
    EXPECT_EQ(s.materialKind, 0);
    EXPECT_EQ(s.materialGrade, 0);
    EXPECT_EQ(s.materialName, std::string(50, 'x'));
    EXPECT_EQ(s.G, 81500);
    EXPECT_EQ(s.E, 206000);
    EXPECT_DOUBLE_EQ(static_cast<double>(s.rho), 7.85);
    EXPECT_EQ(s.Rm, 1234); // Rm and tauz follow from d in the calculation
    EXPECT_EQ(s.tauz, 567);
}

TEST_F(MaterialTablesTest, FindMaterialKeysOnColumn27) {
    KORWST_Record five = SteelRow(5, "F\x81nf");
    five.G = 70000;
    MakeMaterials({SteelRow(1, "Eins"), five, SteelRow(3, "Drei")});
    materialSession.AbortFlag = true;
    ASSERT_TRUE(FindMaterial(materialSession, 5));
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "F\x81nf");
    EXPECT_EQ(materialSession.spring.materialName, "F\x81nf");
    EXPECT_EQ(materialSession.spring.G, 70000);

    // A number without a row changes nothing.
    EXPECT_FALSE(FindMaterial(materialSession, 2));
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "F\x81nf");
    EXPECT_EQ(materialSession.spring.materialName, "F\x81nf");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MaterialTablesTest, FindMaterialWithoutTableReportsAndKeepsTheRow) {
    materialSession.CurrentMaterial = SteelRow(2, "vorher");
    std::filesystem::remove(Path("korwst"));
    EXPECT_FALSE(FindMaterial(materialSession, 2));
    EXPECT_EQ(Messages(), Strings{"Fatal  : KORWST DBF error"});
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "vorher");
    EXPECT_FALSE(materialSession.FatalFlag);
}

TEST_F(MaterialTablesTest, MaterialListLinesInOrderOfNumber) {
    MakeMaterials({SteelRow(3, "Drei"), SteelRow(1, "Eins \x84"), SteelRow(2, "Zwei")});
    auto lines = MaterialListLines(materialSession);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines,
              (Strings{"        1: Eins \x84 DIN EN 10270-1 DH",
                       "        2: Zwei DIN EN 10270-1 DH", "        3: Drei DIN EN 10270-1 DH"}));
    EXPECT_EQ(MaterialNumberOfLine((*lines)[2]), 3);
    std::filesystem::remove(Path("korwst"));
    EXPECT_FALSE(MaterialListLines(materialSession));
}

TEST_F(MaterialTablesTest, BrowseMaterialsPicksFromTheNameOrderedList) {
    materialSession.spring.materialNumber = 2;
    materialSession.spring.materialName = "unchanged";
    view.script.push_back(ScriptedTableView::PickRecord(3));
    ASSERT_TRUE(BrowseMaterials(materialSession, 1, &view));
    ASSERT_EQ(view.captions.size(), 1u);
    EXPECT_EQ(view.captions[0], "Material   korwst.dbf");
    EXPECT_TRUE(view.choosing[0]);
    EXPECT_EQ(view.startRecords[0], 2);
    EXPECT_EQ(view.shownRecords[0], (std::vector<long>{1, 3, 2})); // by name
    EXPECT_EQ(materialSession.spring.materialNumber, 3);
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "Federstahl C");
    EXPECT_EQ(materialSession.spring.materialName, "unchanged"); // the caller applies it
}

TEST_F(MaterialTablesTest, BrowseMaterialsCancelledChangesNothing) {
    materialSession.spring.materialNumber = 2;
    materialSession.CurrentMaterial = SteelRow(2, "vorher");
    view.script.push_back(ScriptedTableView::CancelBrowser());
    EXPECT_FALSE(BrowseMaterials(materialSession, 1, &view));
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_EQ(materialSession.spring.materialNumber, 2);
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "vorher");
}

TEST_F(MaterialTablesTest, BrowseMaterialsWithoutRowsPicksNothing) {
    MakeMaterials({});
    for (int mode : {1, 3}) {
        SCOPED_TRACE(mode);
        materialSession.spring.materialNumber = 2;
        materialSession.CurrentMaterial = SteelRow(2, "vorher");
        view.script.push_back(ScriptedTableView::OkWhereShown());
        EXPECT_FALSE(BrowseMaterials(materialSession, mode, &view));
        EXPECT_TRUE(materialSession.AbortFlag);
        EXPECT_EQ(materialSession.spring.materialNumber, 2);
        EXPECT_EQ(materialSession.CurrentMaterial.name1, "vorher");
        EXPECT_EQ(materialSession.CurrentMaterial.rho, 7.85);
    }
}

TEST_F(MaterialTablesTest, BrowseMaterialsWithNumberZeroSkipsPositioning) {
    materialSession.spring.materialNumber = 0;
    view.script.push_back(ScriptedTableView::OkWhereShown());
    ASSERT_TRUE(BrowseMaterials(materialSession, 3, &view));
    EXPECT_FALSE(view.choosing[0]);
    EXPECT_EQ(view.shownRecords[0], (std::vector<long>{1, 2, 3})); // record order
    EXPECT_EQ(view.startRecords[0], 1);
    EXPECT_NE(view.captions[0].find("Material  korwst.dbf  ("), std::string::npos);
    EXPECT_EQ(materialSession.spring.materialNumber, 1);
}

TEST_F(MaterialTablesTest, BrowseMaterialsHidesDeletedRowsOnlyWhenPicking) {
    {
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTablePath(Path("korwst")));
        ASSERT_TRUE(table.GoRecord(2));
        ASSERT_TRUE(table.MarkDeleted(true));
    }
    materialSession.spring.materialNumber = 1;
    view.script = {ScriptedTableView::OkWhereShown(), ScriptedTableView::OkWhereShown()};
    ASSERT_TRUE(BrowseMaterials(materialSession, 1, &view));
    ASSERT_TRUE(BrowseMaterials(materialSession, 3, &view));
    EXPECT_EQ(view.shownRecords[0], (std::vector<long>{1, 3}));
    EXPECT_EQ(view.shownRecords[1], (std::vector<long>{1, 3, 2}));
}

TEST_F(MaterialTablesTest, BrowseMaterialsMaintainsWithoutTouchingTheSpring) {
    materialSession.spring.materialNumber = 3;
    materialSession.spring.materialName = "meine";
    recorder.Push(RecordingDialogs::No());
    view.script.push_back(ScriptedTableView::PickRow(1));
    ASSERT_TRUE(BrowseMaterials(materialSession, 0, &view));
    EXPECT_EQ(recorder.Prompts(), Strings{"Neuen Werkstoff eintragen ?"});
    EXPECT_FALSE(view.choosing[0]);
    EXPECT_EQ(materialSession.spring.materialNumber, 3);
    EXPECT_EQ(materialSession.spring.materialName, "meine");
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "Nirosta \x84\x94\x81"); // row closed on
}

TEST_F(MaterialTablesTest, BrowseMaterialsQuestionCancelledStops) {
    recorder.Push(RecordingDialogs::Cancelled());
    EXPECT_FALSE(BrowseMaterials(materialSession, 0, &view));
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_TRUE(view.captions.empty());
}

// After a pack the record numbers no longer match column 27: the pick keeps the number that
// every later lookup uses.
TEST_F(MaterialTablesTest, BrowseMaterialsAfterPackTakesTheRowsOwnNumber) {
    {
        DbfTable table(session);
        ASSERT_TRUE(table.OpenTablePath(Path("korwst")));
        ASSERT_TRUE(table.GoRecord(1));
        ASSERT_TRUE(table.MarkDeleted(true));
        ASSERT_TRUE(table.PackTable());
    }
    materialSession.spring.materialNumber = 3;
    view.script.push_back(ScriptedTableView::PickRecord(1));
    ASSERT_TRUE(BrowseMaterials(materialSession, 1, &view));
    EXPECT_EQ(view.startRecords[0], 2); // the row whose number is 3
    EXPECT_EQ(materialSession.spring.materialNumber, 2);
    ASSERT_TRUE(FindMaterial(materialSession, materialSession.spring.materialNumber));
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "Nirosta \x84\x94\x81");
}

TEST_F(MaterialTablesTest, BrowseMaterialsWithoutTable) {
    std::filesystem::remove(Path("korwst"));
    EXPECT_FALSE(BrowseMaterials(materialSession, 1, &view));
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_EQ(Messages(), Strings{"Fatal  : KORWST DBF error"});
    EXPECT_TRUE(view.captions.empty());
}

TEST_F(MaterialTablesTest, RefreshSpringMaterialForEveryKind) {
    KORWST_Record nirosta = SteelRow(18, "Nirosta 1.4310");
    MakeMaterials({SteelRow(1, "Eins"), SteelRow(2, "Zwei"), SteelRow(3, "Drei"), nirosta});
    const struct {
        word kind, grade, number;
        bool found;
        word numberAfter, kindAfter;
        const char* name; // the spring's name afterwards
        const char* message;
    } cases[] = {
        {0, 0, 2, true, 2, 0, "Zwei", ""},
        {1, 3, 99, true, 3, 0, "Drei", ""},           // grade C of DIN 17223 part 1
        {4, 1, 0, true, 18, 0, "Nirosta 1.4310", ""}, // the type's only number
        {0, 0, 7, false, 7, 0, "gespeichert", "Fehler : 7 not found"},
        {5, 1, 2, false, 19, 5, "gespeichert", "Fehler : 19 not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        materialSession.ClearMessages();
        SpringRecord& s = materialSession.spring;
        s.materialKind = c.kind;
        s.materialGrade = c.grade;
        s.materialNumber = c.number;
        s.materialName = "gespeichert";
        s.G = 12345;
        materialSession.CurrentMaterial = SteelRow(77, "fremd");
        MaterialRefresh refresh = RefreshSpringMaterial(materialSession);
        EXPECT_EQ(refresh.found, c.found);
        EXPECT_EQ(refresh.message, c.message);
        EXPECT_EQ(s.materialNumber, c.numberAfter);
        EXPECT_EQ(s.materialKind, c.kindAfter);
        EXPECT_EQ(s.materialName, c.name);
        if (c.found) {
            EXPECT_EQ(materialSession.CurrentMaterial.name1, c.name);
            EXPECT_EQ(s.G, 81500);
            EXPECT_TRUE(Messages().empty());
        } else {
            // No other material's data stays in use; the spring keeps its own values.
            EXPECT_EQ(materialSession.CurrentMaterial.name1, "");
            EXPECT_EQ(materialSession.CurrentMaterial.Rm0, 0);
            EXPECT_EQ(s.G, 12345);
            EXPECT_EQ(Messages(), Strings{c.message});
        }
    }
}

TEST_F(MaterialTablesTest, RefreshSpringMaterialOfATypedMaterial) {
    SpringRecord& s = materialSession.spring;
    s.materialKind = 11;
    s.materialNumber = 2;
    s.materialName = "eigener";
    s.G = 80000.4L;
    s.E = 200000.5L;
    s.rho = 8.1L;
    s.Rm = 1500.5L;
    materialSession.CurrentMaterial = SteelRow(2, "fremd");
    MaterialRefresh refresh = RefreshSpringMaterial(materialSession);
    EXPECT_FALSE(refresh.found);
    EXPECT_EQ(refresh.message, "");
    const KORWST_Record& m = materialSession.CurrentMaterial;
    EXPECT_EQ(m.name1, "eigener");
    EXPECT_EQ(m.G, 80000);
    EXPECT_EQ(m.E, 200000); // halves to even
    EXPECT_DOUBLE_EQ(m.rho, 8.1);
    EXPECT_EQ(m.Rm0, 1500);
    EXPECT_EQ(m.tauo0, 0);
    EXPECT_EQ(s.materialNumber, 2);
    EXPECT_EQ(s.materialKind, 11);
    EXPECT_TRUE(Messages().empty());
}

// A spring of the table material 3 computed with the table rows; the expected values follow
// the formulas of the tensile strength, the fatigue diagram and the relaxation curves.
TEST_F(MaterialTablesTest, CalculationWithATableMaterial) {
    MakeRelaxation({RelaxationRow(1, "Eins"), RelaxationRow(3, "Drei")});
    examples::SingleSection(materialSession);
    SpringRecord& s = materialSession.spring;
    s.materialKind = 0;
    s.materialNumber = 3;
    s.G = 1; // replaced from the table
    ASSERT_TRUE(RefreshSpringMaterial(materialSession).found);
    DbfReferenceTables tables;
    materialSession.tables = &tables;
    CalculateSpring(materialSession);
    ASSERT_FALSE(materialSession.FatalFlag) << testing::PrintToString(Messages());

    const long double L = std::log10(3.0L);
    EXPECT_EQ(s.G, 81500);
    EXPECT_NEAR(static_cast<double>(s.Rm), static_cast<double>(2230 - 770 * L), 1e-9);
    EXPECT_NEAR(static_cast<double>(s.tauz), static_cast<double>(0.56L * s.Rm), 1e-9);

    const long double tauo = 900 - 200 * L, tauh = 450 - 150 * L, m = 0.7L;
    const long double tauuLim = (tauo - tauh) / m;
    const long double tauhz = tauuLim > s.tauk1 ? m * s.tauk1 + tauh - s.tauk1 : tauo - s.tauk1;
    EXPECT_GT(s.tauk2, 0);
    EXPECT_NEAR(static_cast<double>(s.tauhz), static_cast<double>(tauhz), 1e-9);
    const long double N = std::pow(10.0L, 11 - 4 * (tauh + s.tauk2 - tauhz - s.tauk1) / tauh);
    EXPECT_NEAR(static_cast<double>(s.N / N), 1.0, 1e-9);

    // theta = 20 = T1: curves 1 (d1 = 1) and 2 (d2 = 10), interpolated on log d.
    const long double x = s.tau2 / 300;
    const long double r1 = std::pow(x, std::log(4.0L) / std::log(3.0L));
    const long double r2 = 2 * x;
    const long double rx2 = r1 + (r2 - r1) * std::log(3.0L) / std::log(10.0L);
    EXPECT_TRUE(materialSession.relaxationFound);
    EXPECT_GT(s.rx2, 0);
    EXPECT_NEAR(static_cast<double>(s.rx2), static_cast<double>(rx2), 1e-9);

    // Without the tables no relaxation row is found.
    materialSession.tables = nullptr;
    materialSession.relaxationFound = false;
    CalculateSpring(materialSession);
    EXPECT_EQ(s.rx2, 0);
}

// A loaded spring whose row is missing is not calculated with the row used before it.
TEST_F(MaterialTablesTest, CalculationAfterAMissingRowStopsInsteadOfUsingAnotherRow) {
    examples::SingleSection(materialSession);
    ASSERT_TRUE(FindMaterial(materialSession, 1));
    materialSession.spring.materialNumber = 7;
    MaterialRefresh refresh = RefreshSpringMaterial(materialSession);
    ASSERT_FALSE(refresh.found);
    EXPECT_EQ(refresh.message, "Fehler : 7 not found");
    CalculateSpring(materialSession);
    EXPECT_TRUE(materialSession.FatalFlag);
    EXPECT_TRUE(materialSession.messages.Contains("Fatal  : Rm = 0 !"));
}

TEST_F(MaterialTablesTest, TypedMaterialHasNoRelaxationWhateverTheLastRowWas) {
    MakeRelaxation({RelaxationRow(3, "Drei")});
    examples::SingleSection(materialSession);
    ASSERT_TRUE(FindMaterial(materialSession, 3)); // CurrentMaterial holds row 3
    SpringRecord& s = materialSession.spring;
    s.materialKind = 11;
    s.Rm = 1800;
    s.tauz = 1000;
    DbfReferenceTables tables;
    materialSession.tables = &tables;
    CalculateSpring(materialSession);
    EXPECT_FALSE(materialSession.relaxationFound);
    EXPECT_EQ(s.rx2, 0);
}

TEST_F(MaterialTablesTest, CalculationWithoutRelaxationTableGivesZeroAndItsMessage) {
    examples::SingleSection(materialSession);
    materialSession.spring.materialNumber = 3;
    ASSERT_TRUE(RefreshSpringMaterial(materialSession).found);
    DbfReferenceTables tables;
    materialSession.tables = &tables;
    CalculateSpring(materialSession);
    EXPECT_EQ(materialSession.spring.rx2, 0);
    EXPECT_TRUE(materialSession.messages.Contains("Fatal  : KORWSTR.DBF error"));
}

} // namespace
} // namespace kora::test

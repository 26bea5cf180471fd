#include "persistence/material_table_support.h"

#include "base/numformat.h"
#include "base/units.h"
#include "persistence/material_tables.h"
#include "persistence/relaxation_tables.h"
#include "persistence/tempering_tables.h"
#include "platform/scripted_dialogs.h"
#include "ui/material_forms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kora::test {
namespace {

using Strings = std::vector<std::string>;

double Dbl(real x) {
    return static_cast<double>(x);
}

class MaterialFormsTest : public MaterialTablesTest {
  protected:
    void SetUp() override {
        MaterialTablesTest::SetUp();
        SpringRecord& s = materialSession.spring;
        s.materialKind = 0;
        s.materialNumber = 2;
        s.d = 3;
        s.manufacturing = 1;
        s.wireTolGrade = 1;
        s.wireSurface = 1;
        s.fatigueTolMin = -3;
        s.fatigueTolMax = 4;
    }

    // A typed material as the spring holds it.
    void TypedMaterial() {
        SpringRecord& s = materialSession.spring;
        s.materialKind = 11;
        s.materialName = "eigener";
        s.E = 206123.7L;
        s.G = 79000;
        s.rho = 8.1L;
        s.Rm = 1500;
        s.tauz = 800;
        materialSession.CurrentMaterial = SteelRow(1, "Federstahl A");
    }

    std::unique_ptr<TForm_kormat> ShownForm() {
        auto form = std::make_unique<TForm_kormat>(materialSession, &view);
        form->FormCreate();
        form->FormShow();
        return form;
    }
};

// ---- TForm_kormat ----

TEST_F(MaterialFormsTest, KormatCreatedWithItsListsAndCaption) {
    TForm_kormat form(materialSession, &view);
    form.FormCreate();
    EXPECT_EQ(form.Caption, "KORA Werkstoff");
    EXPECT_EQ(form.RadioGroup_db.Items(), (Strings{"Datenbank", "andere ......"}));
    EXPECT_EQ(form.RadioGroup_oberflach.Items(),
              (Strings{"gezogen", "gewalzt", "geschliffen", "gesch\x84lt"}));
    ASSERT_EQ(form.ComboBox_toldd.Items().size(), 12u);
    EXPECT_EQ(form.ComboBox_toldd.Items()[2], "DIN 2077   (7 .. 80 mm)");
    EXPECT_EQ(form.ComboBox_toldd.Items()[11], "andere ...");
    EXPECT_EQ(form.ComboBox_db.Items(),
              (Strings{"        1: Federstahl A DIN EN 10270-1 DH",
                       "        2: Nirosta \x84\x94\x81 DIN EN 10270-1 DH",
                       "        3: Federstahl C DIN EN 10270-1 DH"}));
    EXPECT_EQ(form.Label_ddPrefix.Text(), "( d=");
    EXPECT_EQ(form.Button_helpClick(), 5140);
    EXPECT_EQ(materialSession.HelpTopic, 5140);
}

TEST_F(MaterialFormsTest, KormatWithoutTableShowsItsError) {
    std::filesystem::remove(Path("korwst"));
    TForm_kormat form(materialSession, &view);
    form.FormCreate();
    EXPECT_TRUE(form.ComboBox_db.Items().empty());
    ASSERT_FALSE(recorder.errors.empty());
    EXPECT_EQ(recorder.errors.back(), "korwst.dbf error");
}

TEST_F(MaterialFormsTest, KormatShowsTheTableMaterialAtD) {
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    const SpringRecord& s = materialSession.spring;
    const Configuration& config = materialSession.config;
    EXPECT_EQ(form.RadioGroup_db.Index(), TForm_kormat::kDatabase);
    EXPECT_FALSE(form.Edit_name.Enabled());
    EXPECT_TRUE(form.ComboBox_db.Enabled());
    EXPECT_EQ(form.ComboBox_db.Index(), 1);
    EXPECT_EQ(form.ComboBox_db.Text(), form.ComboBox_db.Items()[1]);
    EXPECT_EQ(form.Edit_name.Text(), "Nirosta \x84\x94\x81");
    EXPECT_EQ(form.Edit_emodul.Text(), "206000");
    EXPECT_EQ(form.Edit_gmodul.Text(), "81500");
    EXPECT_EQ(form.Edit_dichte.Text(), "7.85");
    const real Rm = 2230 - 770 * std::log10(3.0L);
    EXPECT_NEAR(Dbl(s.Rm), Dbl(Rm), 1e-9);
    EXPECT_NEAR(Dbl(s.tauz), Dbl(0.56L * Rm), 1e-9);
    EXPECT_EQ(form.Edit_rm.Text(), "1863");
    EXPECT_EQ(form.Edit_tauz.Text(), "1043");
    EXPECT_EQ(form.Edit_rm.Unit(), UnitLabel(config, Quantity::Stress));
    EXPECT_EQ(form.Edit_dichte.Unit(), UnitLabel(config, Quantity::Density));
    EXPECT_EQ(form.Edit_dd.Unit(), "mm");
    EXPECT_EQ(form.Edit_dd.Text(), "3");
    EXPECT_EQ(form.ComboBox_toldd.Index(), 0);
    EXPECT_FALSE(form.Edit_toldd.Enabled());
    EXPECT_EQ(form.RadioGroup_oberflach.Index(), 0);
    EXPECT_EQ(form.Edit_toludauerfest.Text(), "-3");
    EXPECT_EQ(form.Edit_tolodauerfest.Text(), "4");
    EXPECT_EQ(s.materialName, "Nirosta \x84\x94\x81");
}

TEST_F(MaterialFormsTest, KormatShowsATypedMaterialAsItIs) {
    TypedMaterial();
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    EXPECT_EQ(form.RadioGroup_db.Index(), TForm_kormat::kOther);
    EXPECT_TRUE(form.Edit_name.Enabled());
    EXPECT_FALSE(form.ComboBox_db.Enabled());
    EXPECT_EQ(form.Edit_name.Text(), "eigener");
    EXPECT_EQ(form.Edit_emodul.Text(), "206124");
    EXPECT_EQ(form.Edit_rm.Text(), "1500");
    EXPECT_EQ(form.Edit_tauz.Text(), "800");
    EXPECT_EQ(materialSession.spring.materialKind, 11);
}

TEST_F(MaterialFormsTest, KormatReportsAMissingMaterial) {
    materialSession.spring.materialNumber = 7;
    materialSession.spring.materialName = "alt";
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    EXPECT_EQ(Messages(), Strings{"Material 7 not found"});
    EXPECT_EQ(materialSession.spring.materialName, "alt");
    EXPECT_EQ(form.ComboBox_db.Index(), -1);
}

TEST_F(MaterialFormsTest, KormatWireDiameterChanges) {
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    SpringRecord& s = materialSession.spring;
    const struct {
        const char* typed;
        real d;
        const char* rm;
        const char* tolerance; // DIN 2076 B
    } cases[] = {
        {"10", 10, "1460", "0.07"},     {"0,48", 0.48L, "2475", "0.015"},
        {"0", 0.05L, "2800", "0.015"}, // capped by Rm max
        {"-2", 0.05L, "2800", "0.015"}, {"0.001", 0.05L, "2800", "0.015"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        form.Edit_dd.Type(c.typed);
        form.Edit_ddChange();
        EXPECT_EQ(s.d, c.d);
        EXPECT_EQ(form.Edit_rm.Text(), c.rm);
        EXPECT_EQ(form.Edit_toldd.Text(), c.tolerance);
    }
    // Hot formed: 840 - 250 log10(0.05 d).
    s.manufacturing = 2;
    form.Edit_dd.Type("20");
    form.Edit_ddChange();
    EXPECT_NEAR(Dbl(s.tauz), 840.0, 1e-9);
    EXPECT_EQ(form.Edit_tauz.Text(), "840");
}

TEST_F(MaterialFormsTest, KormatTypedMaterialKeepsItsValuesWhenDChanges) {
    TypedMaterial();
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    form.Edit_dd.Type("10");
    form.Edit_ddChange();
    EXPECT_EQ(materialSession.spring.d, 10);
    EXPECT_EQ(materialSession.spring.Rm, 1500);
}

TEST_F(MaterialFormsTest, KormatToleranceChoices) {
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    const struct {
        int index;
        bool typed;
        const char* shown; // at d = 3
    } cases[] = {{1, false, "0.02"}, {2, false, "0.15"}, {10, false, "0.02"}, {11, true, "0.02"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        form.ComboBox_toldd.SetIndex(c.index);
        form.ComboBox_tolddChange();
        EXPECT_EQ(form.Edit_toldd.Enabled(), c.typed);
        EXPECT_EQ(form.Edit_toldd.Text(), c.shown); // "andere ..." keeps the text for typing
    }
}

TEST_F(MaterialFormsTest, KormatChoosesFromTheListAndTheBrowser) {
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    form.ComboBox_db.SetIndex(2);
    form.ComboBox_dbChange();
    EXPECT_EQ(materialSession.spring.materialNumber, 3);
    EXPECT_EQ(form.Edit_name.Text(), "Federstahl C");
    EXPECT_EQ(form.ComboBox_db.Text(), form.ComboBox_db.Items()[2]);

    view.script.push_back(ScriptedTableView::PickRecord(1));
    form.Button_korwstClick();
    EXPECT_EQ(view.captions[0], "Werkstoff   korwst.dbf");
    EXPECT_EQ(view.startRecords[0], 3);
    EXPECT_EQ(materialSession.spring.materialNumber, 1);
    EXPECT_EQ(form.ComboBox_db.Index(), 0);
    EXPECT_EQ(form.Edit_name.Text(), "Federstahl A");

    view.script.push_back(ScriptedTableView::CancelBrowser());
    form.Button_korwstClick();
    EXPECT_EQ(materialSession.spring.materialNumber, 1);
}

TEST_F(MaterialFormsTest, KormatStandardDiameterPickLists) {
    MakeDiameters("din2076", {2.0, 2.25, 2.5});
    MakeDiameters("din2077", {7.0, 7.5});
    MakeDiameters("t10270_1", {0.5, 0.56});
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    const struct {
        int toleranceIndex;
        bool en10270;
        int row;
        const char* caption;
        real d;
    } cases[] = {
        {0, false, 1, "d DIN 2076   din2076.dbf", 2.25L},
        {2, false, 1, "d DIN 2077   din2077.dbf", 7.5L},
        {0, true, 1, "EN 10270-1   t10270_1.dbf", 0.56L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        view.script.push_back(ScriptedTableView::PickRow(c.row));
        form.ComboBox_toldd.SetIndex(c.toleranceIndex);
        if (c.en10270)
            form.Button_en10270Click();
        else
            form.Button_db2076Click();
        EXPECT_EQ(view.captions.back(), c.caption);
        EXPECT_TRUE(view.choosing.back());
        EXPECT_NEAR(Dbl(materialSession.spring.d), Dbl(c.d), 1e-12);
        EXPECT_EQ(form.Edit_dd.Text(), ShortFormat(materialSession.config, c.d));
    }
}

TEST_F(MaterialFormsTest, KormatEmptyPickListsLeaveD) {
    MakeDiameters("din2076", {});
    MakeDiameters("t10270_1", {});
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    const std::string shown = form.Edit_dd.Text();
    const real d = materialSession.spring.d;
    for (bool en10270 : {false, true}) {
        SCOPED_TRACE(en10270);
        view.script.push_back(ScriptedTableView::OkWhereShown());
        if (en10270)
            form.Button_en10270Click();
        else
            form.Button_db2076Click();
        EXPECT_TRUE(view.shownRecords.back().empty());
        EXPECT_EQ(materialSession.spring.d, d);
        EXPECT_EQ(form.Edit_dd.Text(), shown);
    }
}

TEST_F(MaterialFormsTest, KormatPickedDiameterIsShownInTheUnitOfLength) {
    MakeDiameters("din2076", {2.54});
    materialSession.config.unitSystem = 1;
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    view.script.push_back(ScriptedTableView::PickRow(0));
    form.Button_db2076Click();
    EXPECT_EQ(form.Edit_dd.Text(), ShowShort(materialSession.config, Quantity::Length, 2.54L));
    EXPECT_EQ(ParseReal(form.Edit_dd.Text()), 0.1L); // inches
    EXPECT_NEAR(Dbl(materialSession.spring.d), 2.54, 1e-9);
}

TEST_F(MaterialFormsTest, KormatOkTakesATypedMaterial) {
    TypedMaterial();
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    form.Edit_name.Type("neu \x84");
    form.Edit_rm.Type("1900");
    form.Edit_tauz.Type("1000,5");
    form.ComboBox_toldd.SetIndex(11);
    form.ComboBox_tolddChange();
    form.Edit_toldd.Type("0,03");
    form.RadioGroup_oberflach.SetIndex(2);
    form.Edit_toludauerfest.Type("5"); // given the wrong way round
    form.Edit_tolodauerfest.Type("-5");
    materialSession.AbortFlag = true;
    form.Button_okClick();
    const SpringRecord& s = materialSession.spring;
    EXPECT_TRUE(form.Closed());
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_EQ(s.materialKind, 11);
    EXPECT_EQ(s.materialName, "neu \x84");
    EXPECT_EQ(s.E, 206123.7L); // left as shown: the exact value stays
    EXPECT_EQ(s.Rm, 1900);
    EXPECT_DOUBLE_EQ(Dbl(s.tauz), 1000.5);
    EXPECT_EQ(s.wireTolGrade, 12);
    EXPECT_DOUBLE_EQ(Dbl(s.wireTol), 0.03);
    EXPECT_EQ(s.wireSurface, 3);
    EXPECT_EQ(s.fatigueTolMin, -5);
    EXPECT_EQ(s.fatigueTolMax, 5);
}

TEST_F(MaterialFormsTest, KormatOkWithTheDatabase) {
    materialSession.spring.materialKind = 1;
    materialSession.spring.materialGrade = 2;
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    form.Button_toldauerfestClick();
    EXPECT_EQ(form.Edit_toludauerfest.Text(), "-5");
    EXPECT_EQ(form.Edit_tolodauerfest.Text(), "+5");
    form.Button_okClick();
    const SpringRecord& s = materialSession.spring;
    EXPECT_EQ(s.materialKind, 0);
    EXPECT_EQ(s.materialGrade, 0);
    EXPECT_EQ(s.materialNumber, 2);
    EXPECT_EQ(s.wireTolGrade, 1);
    EXPECT_EQ(s.fatigueTolMin, -5);
    EXPECT_EQ(s.fatigueTolMax, 5);
}

// The form through the dialog family: a list line, a typed d (its change handler runs), OK.
TEST_F(MaterialFormsTest, KormatShownThroughTheDialogs) {
    ScriptedDialogs dialogs;
    TForm_kormat form(materialSession, &view);
    form.FormCreate();
    dialogs.Push(ScriptedDialogs::Filled(
        "TForm_kormat", {ScriptedDialogs::ChooseIn("ComboBox_db", 2),
                         ScriptedDialogs::TypeIn("Edit_dd", "10"), ScriptedDialogs::PressOk()}));
    EXPECT_TRUE(dialogs.ShowForm(form));
    const SpringRecord& s = materialSession.spring;
    EXPECT_EQ(s.materialNumber, 3);
    EXPECT_EQ(s.d, 10);
    EXPECT_EQ(form.Edit_name.Text(), "Federstahl C");
    EXPECT_FALSE(materialSession.AbortFlag);
    // A typed-material edit is disabled while the database is chosen.
    dialogs.Push(ScriptedDialogs::Filled(
        "TForm_kormat", {ScriptedDialogs::TypeIn("Edit_rm", "1"), ScriptedDialogs::PressCancel()}));
    EXPECT_FALSE(dialogs.ShowForm(form));
    EXPECT_EQ(dialogs.unexpected, Strings{"TForm_kormat: no usable field \"Edit_rm\""});
    dialogs.Settle();
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_EQ(s.d, 10);
}

// Cancel leaves the typed material typed, although showing the database applied a row.
TEST_F(MaterialFormsTest, KormatCancelRestoresEverything) {
    TypedMaterial();
    materialSession.spring.materialNumber = 1;
    auto owned = ShownForm();
    TForm_kormat& form = *owned;
    form.RadioGroup_db.SetIndex(TForm_kormat::kDatabase);
    form.RadioGroup_dbClick();
    EXPECT_EQ(materialSession.spring.materialKind, 0);
    form.ComboBox_db.SetIndex(2);
    form.ComboBox_dbChange();
    form.Edit_dd.Type("12");
    form.Edit_ddChange();
    form.Button_cancelClick();
    const SpringRecord& s = materialSession.spring;
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(s.materialKind, 11);
    EXPECT_EQ(s.materialName, "eigener");
    EXPECT_EQ(s.materialNumber, 1);
    EXPECT_EQ(s.E, 206123.7L);
    EXPECT_EQ(s.G, 79000);
    EXPECT_EQ(s.Rm, 1500);
    EXPECT_EQ(s.tauz, 800);
    EXPECT_EQ(s.d, 3);
    EXPECT_EQ(materialSession.CurrentMaterial.name1, "Federstahl A");
}

// ---- Tform_korrelax ----

class RelaxationFormTest : public MaterialFormsTest {
  protected:
    void SetUp() override {
        MaterialFormsTest::SetUp();
        MakeRelaxation({RelaxationRow(1, "Eins"), RelaxationRow(3, "Drei")});
        MakeTempering({{3, "Drei", "Anlassen",
                        "250 \xF8"
                        "C",
                        "", "Info"}});
    }
};

TEST_F(RelaxationFormTest, RelaxationFormCreated) {
    Tform_korrelax form(materialSession, &view);
    form.FormCreate();
    EXPECT_EQ(form.Caption, "KORA - Progressive zyl. Druckfeder - Relaxation");
    EXPECT_EQ(form.ComboBox_kormat.Items().size(), 3u);
    EXPECT_EQ(form.ComboBox_kormat.Index(), -1);
    EXPECT_EQ(form.StringGrid_td.Cell(1, 0), "T [\xF8"
                                             "C]");
    EXPECT_EQ(form.StringGrid_td.Cell(2, 0), "d [mm]");
    EXPECT_EQ(form.StringGrid_td.Cell(0, 1), "1 (min)");
    EXPECT_EQ(form.StringGrid_td.Cell(0, 2), "2 (max)");
    const Strings headers = {"T [\xF8"
                             "C]",
                             "d [mm]", "tau", "tau [N/mm\xFD]", "Relax. [%]"};
    for (std::size_t c = 0; c < headers.size(); ++c)
        EXPECT_EQ(form.StringGrid_relax.Cell(c, 0), headers[c]);
    for (std::size_t row = 1; row <= 8; ++row)
        EXPECT_EQ(form.StringGrid_relax.Cell(2, row), row % 2 ? "1 (min)" : "2 (max)");
    EXPECT_EQ(form.Button_helpClick(), 7400);
}

TEST_F(RelaxationFormTest, RelaxationFormShowsTheChosenMaterial) {
    Tform_korrelax form(materialSession, &view);
    form.FormCreate();
    form.ComboBox_kormat.SetIndex(2);
    form.ComboBox_kormatChange();
    EXPECT_EQ(form.Edit_matname.Text(), "Drei");
    EXPECT_EQ(form.StringGrid_td.Cell(1, 1), "20");
    EXPECT_EQ(form.StringGrid_td.Cell(1, 2), "100");
    EXPECT_EQ(form.StringGrid_td.Cell(2, 1), "1");
    EXPECT_EQ(form.StringGrid_td.Cell(2, 2), "10");
    const Strings T = {"20", "20", "20", "20", "100", "100", "100", "100"};
    const Strings d = {"1", "1", "10", "10", "1", "1", "10", "10"};
    const Strings tau = {"300", "900", "300", "900", "300", "900", "300", "900"};
    const Strings relax = {"1", "4", "2", "6", "3", "9", "5", "12"};
    for (std::size_t row = 1; row <= 8; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(form.StringGrid_relax.Cell(0, row), T[row - 1]);
        EXPECT_EQ(form.StringGrid_relax.Cell(1, row), d[row - 1]);
        EXPECT_EQ(form.StringGrid_relax.Cell(3, row), tau[row - 1]);
        EXPECT_EQ(form.StringGrid_relax.Cell(4, row), relax[row - 1]);
    }
    // A material without a row shows zeros and an empty name.
    form.ComboBox_kormat.SetIndex(1);
    form.ComboBox_kormatChange();
    EXPECT_EQ(form.Edit_matname.Text(), "");
    EXPECT_EQ(form.StringGrid_td.Cell(1, 2), "0");
    EXPECT_EQ(form.StringGrid_relax.Cell(4, 8), "0");
}

TEST_F(RelaxationFormTest, RelaxationFormGridOfTemperaturesAndDiameters) {
    Tform_korrelax form(materialSession, &view);
    form.FormCreate();
    form.StringGrid_td.TypeCell(1, 1, "-20");
    form.StringGrid_td.TypeCell(1, 2, "200");
    form.StringGrid_td.TypeCell(2, 1, "0.5");
    form.StringGrid_td.TypeCell(2, 2, "5");
    form.StringGrid_tdClick();
    EXPECT_EQ(form.StringGrid_relax.Cell(0, 3), "-20");
    EXPECT_EQ(form.StringGrid_relax.Cell(1, 3), "5");
    EXPECT_EQ(form.StringGrid_relax.Cell(0, 6), "200");
    EXPECT_EQ(form.StringGrid_relax.Cell(1, 6), "0.5");
}

TEST_F(RelaxationFormTest, RelaxationFormSavesAnExistingAndANewRow) {
    Tform_korrelax form(materialSession, &view);
    form.FormCreate();
    form.ComboBox_kormat.SetIndex(2);
    form.ComboBox_kormatChange();
    form.Edit_matname.Type("Drei \x84 mit langem Namen");
    form.StringGrid_td.TypeCell(1, 2, "120");
    form.StringGrid_relax.TypeCell(4, 1, "1,5");
    form.Button_okClick();
    EXPECT_TRUE(form.Closed());
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_EQ(RecordCountOf("korwstr"), 2);
    ASSERT_TRUE(FindRelaxation(materialSession, 3));
    const RelaxationRecord& r = materialSession.CurrentRelaxation;
    EXPECT_EQ(r.name, "Drei \x84 mit langem Na");
    EXPECT_EQ(r.T2, 120);
    EXPECT_DOUBLE_EQ(r.points[0].relaxation, 1.5);
    EXPECT_EQ(r.points[7].tau, 900);
    // The form ends with the spring's own material.
    EXPECT_EQ(materialSession.spring.materialName, "Nirosta \x84\x94\x81");

    Tform_korrelax second(materialSession, &view);
    second.FormCreate();
    second.ComboBox_kormat.SetIndex(1);
    second.ComboBox_kormatChange();
    second.Edit_matname.Type("Zwei");
    second.StringGrid_td.TypeCell(1, 1, "20");
    second.StringGrid_relax.TypeCell(3, 1, "250");
    second.StringGrid_relax.TypeCell(4, 1, "2");
    second.Button_okClick();
    EXPECT_EQ(RecordCountOf("korwstr"), 3);
    ASSERT_TRUE(FindRelaxation(materialSession, 2));
    EXPECT_EQ(materialSession.CurrentRelaxation.points[0].tau, 250);
}

TEST_F(RelaxationFormTest, RelaxationFormOkWithoutChoiceWritesNothing) {
    Tform_korrelax form(materialSession, &view);
    form.FormCreate();
    form.Button_okClick();
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_EQ(RecordCountOf("korwstr"), 2);
}

TEST_F(RelaxationFormTest, RelaxationFormWithoutTable) {
    Tform_korrelax form(materialSession, &view);
    form.FormCreate();
    form.ComboBox_kormat.SetIndex(0);
    form.ComboBox_kormatChange();
    std::filesystem::remove(Path("korwstr"));
    form.Button_okClick();
    EXPECT_TRUE(materialSession.AbortFlag); // the save failed
    EXPECT_TRUE(materialSession.messages.Contains("Fatal  : KORWSTR DBF error"));
}

TEST_F(RelaxationFormTest, RelaxationFormCancelAndBrowse) {
    TypedMaterial();
    Tform_korrelax form(materialSession, &view);
    form.FormCreate();
    view.script.push_back(ScriptedTableView::OkWhereShown());
    form.Button_browseClick();
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_FALSE(view.choosing[0]);
    EXPECT_NE(view.captions[0].find("Relaxation  korwstr.dbf  ("), std::string::npos);
    form.ComboBox_kormat.SetIndex(0);
    form.ComboBox_kormatChange();
    form.Edit_matname.Type("nicht gespeichert");
    form.Button_cancelClick();
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_TRUE(form.Closed());
    ASSERT_TRUE(FindRelaxation(materialSession, 1));
    EXPECT_EQ(materialSession.CurrentRelaxation.name, "Eins");
    // The typed material stays typed.
    EXPECT_EQ(materialSession.spring.materialKind, 11);
    EXPECT_EQ(materialSession.spring.materialName, "eigener");
    EXPECT_EQ(materialSession.spring.E, 206123.7L);
}

// ---- Tform_korwstt ----

TEST_F(RelaxationFormTest, TemperingFormShowsAndSaves) {
    Tform_korwstt form(materialSession, &view);
    form.FormCreate();
    EXPECT_EQ(form.Caption, "KORA - Progressive zyl. Druckfeder - Tempering");
    EXPECT_FALSE(form.Edit_info2.Visible());
    EXPECT_EQ(form.Button_helpClick(), 7410);
    form.ComboBox_kormat.SetIndex(2);
    form.ComboBox_kormatChange();
    EXPECT_EQ(form.Edit_matname.Text(), "Drei");
    EXPECT_EQ(form.Edit_temper1.Text(), "Anlassen");
    EXPECT_EQ(form.Edit_temper2.Text(), "250 \xF8"
                                        "C");
    EXPECT_EQ(form.Edit_temper3.Text(), "");
    EXPECT_EQ(form.Edit_info1.Text(), "Info");
    form.Edit_temper3.Type(std::string(50, 'z'));
    form.Button_okClick();
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_EQ(RecordCountOf("korwstt"), 1);
    ASSERT_TRUE(FindTempering(materialSession, 3));
    EXPECT_EQ(materialSession.CurrentTempering.line3, std::string(40, 'z'));
    EXPECT_EQ(materialSession.CurrentTempering.line1, "Anlassen");

    Tform_korwstt second(materialSession, &view);
    second.FormCreate();
    second.ComboBox_kormat.SetIndex(0);
    second.ComboBox_kormatChange();
    EXPECT_EQ(second.Edit_temper1.Text(), "");
    second.Edit_matname.Type("Eins");
    second.Edit_info1.Type("neu \x84");
    second.Button_okClick();
    EXPECT_EQ(RecordCountOf("korwstt"), 2);
    ASSERT_TRUE(FindTempering(materialSession, 1));
    EXPECT_EQ(materialSession.CurrentTempering.info, "neu \x84");
}

TEST_F(RelaxationFormTest, TemperingFormCancelBrowseAndMissingTable) {
    Tform_korwstt form(materialSession, &view);
    form.FormCreate();
    view.script.push_back(ScriptedTableView::CancelBrowser());
    form.Button_browseClick();
    EXPECT_FALSE(materialSession.AbortFlag);
    EXPECT_NE(view.captions[0].find("Tempering  korwstt.dbf"), std::string::npos);
    form.ComboBox_kormat.SetIndex(2);
    form.ComboBox_kormatChange();
    form.Edit_temper1.Type("verworfen");
    form.Button_cancelClick();
    EXPECT_TRUE(materialSession.AbortFlag);
    ASSERT_TRUE(FindTempering(materialSession, 3));
    EXPECT_EQ(materialSession.CurrentTempering.line1, "Anlassen");

    std::filesystem::remove(Path("korwstt"));
    Tform_korwstt missing(materialSession, &view);
    missing.FormCreate();
    missing.ComboBox_kormat.SetIndex(0);
    missing.Button_okClick();
    EXPECT_TRUE(materialSession.AbortFlag);
    EXPECT_TRUE(materialSession.messages.Contains("Fatal  : korwstt DBF error"));
}

} // namespace
} // namespace kora::test

#include "ui/drawing_options_form.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "calc/session.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/cad_test_support.h"
#include "graphics/display_list.h"
#include "graphics/production_drawing.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;
using D = ScriptedDialogs;

// The three-section spring with every option the drawing shows, calculated.
class DrawingOptionsTest : public ::testing::Test {
  public:
    DrawingOptionsTest() : session(dialogs), display(session), cad(session, &display) {
        cad.SetTempFolder(temp.str());
        cad.SetCommandLineRun(true);
        cad.SetSpringFile(temp / "feder.kra");
        setup.askOptions = AskDrawingOptions;
        examples::ThreeSections(session);
        examples::TypedSteel(session);
        SpringRecord& s = session.spring;
        s.showForces = true;
        s.showLdPm = true;
        s.mandrelSleeve = 3;
        s.showSettingLength = true;
        s.settingLength = 30;
        s.presetting = 1;
        s.deburring = 5;
        s.tempFrom = -20;
        s.tempTo = 120;
        s.surfaceProtection = "phosphatiert";
        s.surfaceProtectionIndex = 1;
        CalculateSpring(session);
        EXPECT_FALSE(session.FatalFlag);
    }

    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    DisplayList display;
    CadOutput cad;
    ProductionDrawingSetup setup;
};

TEST_F(DrawingOptionsTest, FormShowsTheSpringsOptions) {
    TForm_korFert form(session);
    EXPECT_EQ(form.Caption, "Fertigungszeichnung");
    EXPECT_EQ(form.RadioGroup_entgraten.Index(), 4);
    EXPECT_EQ(form.RadioGroup_setzen.Index(), 0);
    EXPECT_TRUE(form.CheckBox_setzlang.Checked());
    EXPECT_FALSE(form.CheckBox_ls.Checked());
    EXPECT_EQ(form.Edit_setzlaenge.Text(), "30");
    EXPECT_TRUE(form.Edit_setzlaenge.Enabled());
    EXPECT_EQ(form.Edit_setzlaenge.Unit(), "mm");
    EXPECT_EQ(form.Edit_vontemp.Text(), "-20");
    EXPECT_EQ(form.Edit_bistemp.Text(), "120");
    EXPECT_EQ(form.ComboBox_oflschutz.Index(), 1);
    EXPECT_FALSE(form.Edit_oberflaechenschutz.Enabled());
    EXPECT_TRUE(form.CheckBox_aufnahmedorn.Checked());
    EXPECT_TRUE(form.CheckBox_aufnahmehuelse.Checked());
    EXPECT_TRUE(form.CheckBox_f.Checked());
    EXPECT_TRUE(form.CheckBox_p.Checked());
    EXPECT_FALSE(form.RadioGroup_federenden.Visible());
    EXPECT_EQ(form.Button_helpClick(), 9010);
    EXPECT_EQ(form.HelpTopic, 9010);
}

TEST_F(DrawingOptionsTest, FormButtonsAndOk) {
    SpringRecord& s = session.spring;
    TForm_korFert form(session);
    form.CheckBox_ls.SetChecked(true);
    form.CheckBox_lsClick();
    EXPECT_EQ(form.Edit_setzlaenge.Text(), ShortFormat(session.config, s.Lc));
    EXPECT_FALSE(form.Edit_setzlaenge.Enabled());
    form.Button_L2Click(); // disabled while "Ls = Lc"
    EXPECT_EQ(form.Edit_setzlaenge.Text(), ShortFormat(session.config, s.Lc));
    form.CheckBox_ls.SetChecked(false);
    form.CheckBox_lsClick();
    form.Button_LnClick();
    EXPECT_EQ(form.Edit_setzlaenge.Text(), ShortFormat(session.config, s.Ln));
    form.Button_L2Click();
    EXPECT_EQ(form.Edit_setzlaenge.Text(), ShortFormat(session.config, s.L2));
    form.ComboBox_oflschutz.SetIndex(4);
    form.ComboBox_oflschutzChange();
    EXPECT_EQ(form.Edit_oberflaechenschutz.Text(), "Zink-Aluminium-\x9A"
                                                   "berzug");
    form.ComboBox_oflschutz.SetIndex(0);
    form.ComboBox_oflschutzChange();
    EXPECT_TRUE(form.Edit_oberflaechenschutz.Enabled());
    form.Edit_oberflaechenschutz.Type(std::string(60, 'x'));
    form.Edit_zus1.Type(std::string(120, 'y'));
    form.Edit_bistemp.Type("80");
    form.CheckBox_aufnahmehuelse.SetChecked(false);
    form.CheckBox_f.SetChecked(false);
    form.RadioGroup_entgraten.SetIndex(0);
    session.AbortFlag = true;
    form.Button_okClick();
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_EQ(s.settingLength, s.L2); // the exact value behind the shown text
    EXPECT_FALSE(s.settingEqualsLc);
    EXPECT_EQ(s.surfaceProtection, std::string(45, 'x'));
    EXPECT_EQ(s.surfaceProtectionIndex, 0);
    EXPECT_EQ(s.extraInfo1, std::string(100, 'y'));
    EXPECT_EQ(s.tempFrom, -20);
    EXPECT_EQ(s.tempTo, 80);
    EXPECT_EQ(s.mandrelSleeve, 1);
    EXPECT_FALSE(s.showForces);
    EXPECT_EQ(s.deburring, 1);
    // Cancel changes nothing.
    const SpringRecord before = s;
    TForm_korFert again(session);
    again.CheckBox_p.SetChecked(false);
    again.Button_cancelClick();
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(s.showLdPm, before.showLdPm);
}

TEST_F(DrawingOptionsTest, LsEqualsLcStoresTheSolidLength) {
    TForm_korFert form(session);
    form.CheckBox_ls.SetChecked(true);
    form.CheckBox_lsClick();
    form.Button_okClick();
    EXPECT_TRUE(session.spring.settingEqualsLc);
    EXPECT_EQ(session.spring.settingLength, session.spring.Lc);
}

// The form filled through the dialog family, then the output choice.
TEST_F(DrawingOptionsTest, FormThenOutputChoice) {
    const std::string chosen = "Zink-Aluminium-\xC3\x9C"
                               "berzug";
    dialogs.Push(
        D::Filled("TForm_korFert",
                  {D::ChooseIn("RadioGroup_entgraten", 1), D::ChooseIn("RadioGroup_setzen", 1),
                   D::CheckIn("CheckBox_ls", false), D::TypeIn("Edit_setzlaenge", "22,5"),
                   D::TypeIn("Edit_vontemp", "-10"), D::TypeIn("Edit_bistemp", "90"),
                   D::ChooseIn("ComboBox_oflschutz", 4),
                   D::TypeIn("Edit_zus1", "gepr\x81"
                                          "ft"),
                   D::TypeIn("Edit_zus2", ""), D::CheckIn("CheckBox_aufnahmedorn", false),
                   D::CheckIn("CheckBox_aufnahmehuelse", true), D::CheckIn("CheckBox_f", false),
                   D::CheckIn("CheckBox_p", true), D::PressOk()}));
    dialogs.Push(D::Chosen(5)); // the output kind: TXT
    EXPECT_TRUE(ProductionDrawing(session, cad, OutputKind::Ask, setup));
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_TRUE(dialogs.script.empty());
    const SpringRecord& s = session.spring;
    EXPECT_EQ(s.deburring, 2);
    EXPECT_EQ(s.presetting, 2);
    EXPECT_TRUE(s.showSettingLength);
    EXPECT_FALSE(s.settingEqualsLc);
    EXPECT_EQ(s.settingLength, 22.5L);
    EXPECT_EQ(s.tempFrom, -10);
    EXPECT_EQ(s.tempTo, 90);
    EXPECT_EQ(s.surfaceProtectionIndex, 4);
    EXPECT_EQ(Cp850ToUtf8(s.surfaceProtection), chosen);
    EXPECT_EQ(s.extraInfo1, "gepr\x81"
                            "ft");
    EXPECT_EQ(s.extraInfo2, "");
    EXPECT_EQ(s.mandrelSleeve, 2);
    EXPECT_FALSE(s.showForces);
    EXPECT_TRUE(s.showLdPm);
    EXPECT_TRUE(fs::exists(temp / "feder.txt")); // the fifth output kind
    std::vector<std::string> shown;
    for (const std::string& p : dialogs.shown)
        if (p.rfind("  ", 0) != 0) shown.push_back(p);
    EXPECT_EQ(shown, (std::vector<std::string>{"TForm_korFert", "CAD-Code"}));
}

TEST_F(DrawingOptionsTest, CancelInTheFormOrTheOutputChoiceWritesNothing) {
    const SpringRecord before = session.spring;
    dialogs.Push(
        D::Filled("TForm_korFert", {D::ChooseIn("RadioGroup_entgraten", 0), D::PressCancel()}));
    EXPECT_FALSE(ProductionDrawing(session, cad, OutputKind::Ask, setup));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(session.spring.deburring, before.deburring); // nothing stored
    EXPECT_TRUE(fs::is_empty(temp.str()));

    // OK in the form, then Cancel in the output choice: the options stay, no file.
    dialogs.Push(
        D::Filled("TForm_korFert", {D::ChooseIn("RadioGroup_entgraten", 0),
                                    D::CheckIn("CheckBox_aufnahmedorn", false),
                                    D::CheckIn("CheckBox_aufnahmehuelse", false), D::PressOk()}));
    dialogs.Push(D::Cancelled());
    EXPECT_FALSE(ProductionDrawing(session, cad, OutputKind::Ask, setup));
    EXPECT_TRUE(dialogs.script.empty());
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(session.spring.deburring, 1);
    EXPECT_EQ(session.spring.mandrelSleeve, 4);
    EXPECT_TRUE(fs::is_empty(temp.str()));
}

TEST_F(DrawingOptionsTest, DisabledFieldsRefuseInput) {
    // "Ls = Lc" locks the setting length and the L2 and Ln buttons; a short code locks the
    // surface text.
    dialogs.Push(
        D::Filled("TForm_korFert", {D::CheckIn("CheckBox_ls", true),
                                    D::TypeIn("Edit_setzlaenge", "1"), D::PressIn("Button_L2"),
                                    D::TypeIn("Edit_oberflaechenschutz", "x"), D::PressOk()}));
    EXPECT_TRUE(AskDrawingOptions(session));
    EXPECT_EQ(
        dialogs.unexpected,
        (std::vector<std::string>{"TForm_korFert: no usable field \"Edit_setzlaenge\"",
                                  "TForm_korFert: no usable field \"Button_L2\"",
                                  "TForm_korFert: no usable field \"Edit_oberflaechenschutz\""}));
    dialogs.Settle();
    EXPECT_EQ(session.spring.settingLength, session.spring.Lc);
    EXPECT_EQ(session.spring.surfaceProtection, "phosphatiert");
}

} // namespace
} // namespace kora

#include "ui/configuration_form.h"

#include "calc/session.h"
#include "common/crlf_lines.h"
#include "common/every_entry_configuration.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;
using D = ScriptedDialogs;
using test::EveryEntryChanged;
using test::Lines;
using test::ReadBytes;

class ConfigurationFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kora-cfgform-XXXXXX").string();
        root = mkdtemp(pattern.data());
        place.startFolder = "/start";
        place.programFolder = "/usr/share/kora";
        place.screen = {1920, 1080, 1000, 700, 990, 640, 96};
        place.folder = root + "/";
        session.config = InitialConfiguration(place);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    // Shows the dialog through the seam with these steps; true after OK.
    bool Run(std::vector<D::FormStep> steps) {
        dialogs.Push(D::Filled("Tconfig", std::move(steps)));
        return EditConfiguration(session, place, "ventilfeder.kra");
    }

    std::string root;
    ConfigurationPlace place;
    ScriptedDialogs dialogs;
    Session session{dialogs};
};

TEST_F(ConfigurationFormTest, NinePagesOpeningOnGraphicsWithUniqueIds) {
    Tconfig form(session, place);
    EXPECT_EQ(form.Caption, "KORA Konfiguration");
    EXPECT_EQ(form.StartPage, "Grafik");
    std::vector<std::string> pages;
    std::set<std::string> ids;
    for (const Field* f : form.Fields()) {
        EXPECT_TRUE(ids.insert(f->id).second) << f->id;
        if (!f->page.empty() && (pages.empty() || pages.back() != f->page))
            pages.push_back(f->page);
    }
    EXPECT_EQ(pages,
              (std::vector<std::string>{"Directories", "Grafik", "CAD", "Farbe", "Drucker",
                                        "Ausdruck", "Einstellungen", "Extern", "Zeichnung"}));
    EXPECT_EQ(form["Button_save"]->page, "");
}

// OK on fields left as shown gives back every entry exactly, whatever the fields show.
TEST_F(ConfigurationFormTest, OkWithoutChangesKeepsEveryEntry) {
    for (Configuration before : {EveryEntryChanged(), InitialConfiguration(place)}) {
        before.resolutionHorizontal = std::max(before.resolutionHorizontal, 1);
        before.resolutionVertical = std::max(before.resolutionVertical, 1);
        before.Dezimalstellen = 8; // read from a file, outside what the dialog takes typed
        session.config = before;
        ASSERT_TRUE(Run({D::PressOk()}));
        EXPECT_TRUE(session.config == before);
        EXPECT_FALSE(session.AbortFlag);
    }
}

TEST_F(ConfigurationFormTest, CancelTakesNothing) {
    const Configuration before = session.config;
    EXPECT_FALSE(Run({D::ChooseIn("RadioGroup_date", 2), D::PressCancel()}));
    EXPECT_TRUE(session.config == before);
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(ConfigurationFormTest, FieldsTakeTheirEntriesInTheStoredForm) {
    ASSERT_TRUE(Run({
        D::TypeIn("Edit_windowX", "801"),
        D::TypeIn("Edit_windowY", "1"), // 0 after the -1: screen + client - window
        D::TypeIn("Edit_angleX", "30"),
        D::TypeIn("Edit_zoom", "1,5"),
        D::TypeIn("Edit_dimensionSize", "0.005"), // below 0.01: 1
        D::TypeIn("Edit_decimalsDxf", "8"),
        D::ChooseIn("RadioGroup_date", 2),
        D::ChooseIn("RadioGroup_units", 1),
        D::ChooseIn("RadioGroup_colourGraphics", 1),
        D::ChooseIn("ListBox_device", 6),
        D::CheckIn("CheckBox_logo", false),
        D::TypeIn("Edit_dbfFolder", "/tabellen"),
        D::TypeInCell("Grid_layers", 1, 1, "KONTUR"), // top row: layer 5
        D::TypeInCell("Grid_layers", 3, 5, "4"),      // bottom row: layer 1
        D::TypeInCell("Grid_upperLayers", 1, 16, "9"),
        D::PressOk(),
    }));
    const Configuration& c = session.config;
    EXPECT_EQ(c.resolutionHorizontal, 800);
    EXPECT_EQ(c.resolutionVertical, 1080 + 640 - 700);
    EXPECT_NEAR(static_cast<double>(c.default3D[0]), 0.5235987755982988, 1e-15);
    EXPECT_NEAR(static_cast<double>(c.default3D[1]), 1.5707963267948966, 1e-15); // untouched
    EXPECT_EQ(c.zoomFactor, 1.5L);
    EXPECT_EQ(c.DimensionSizeFactor, 1);
    EXPECT_EQ(c.decimalsDxf, 8);
    EXPECT_EQ(c.dateCode, 3);
    EXPECT_EQ(c.unitSystem, 1);
    EXPECT_FALSE(c.colourGraphics);
    EXPECT_EQ(c.textDevice, 7);
    EXPECT_TRUE(c.HideLogo);
    EXPECT_FALSE(c.HideDate);
    EXPECT_EQ(c.tableFolder, "/tabellen");
    EXPECT_EQ(c.layerName[4], "KONTUR");
    EXPECT_EQ(c.lineThicknessLayer[1], 4);
    EXPECT_EQ(c.colourLayer[15], 9);
    EXPECT_FALSE(fs::exists(root + "/kora.cfg")); // OK keeps it in memory
}

TEST_F(ConfigurationFormTest, ATypedValueOutsideItsRangeIsRefusedAndTheDialogStays) {
    const struct {
        const char* field;
        const char* typed;
        const char* message;
        const char* valid;
    } cases[] = {
        {"Edit_decimals", "2", "Gültiger Wertebereich: 3 .. 6 !", "4"},
        {"Edit_decimalsDxf", "17", "Gültiger Wertebereich: 3 .. 16 !", "16"},
        {"Edit_headerLines", "31", "Gültiger Wertebereich: 0 .. 30 !", "30"},
        {"Edit_inputWindowScale", "5", "Gültiger Wertebereich: 10 .. 1000 !", "10"},
        {"Edit_linesPerPage", "4", "Gültiger Wertebereich: 5 .. 999 !", "5"},
    };
    for (const auto& c : cases) {
        dialogs.errors.clear();
        const Configuration before = session.config;
        ASSERT_TRUE(Run(
            {D::TypeIn(c.field, c.typed), D::PressOk(), D::TypeIn(c.field, c.valid), D::PressOk()}))
            << c.field;
        EXPECT_EQ(dialogs.errors, std::vector<std::string>{c.message});
        EXPECT_FALSE(session.config == before) << c.field;
        session.config = before;
    }
}

TEST_F(ConfigurationFormTest, ProposalButtons) {
    ::setenv("TEMP", "/var/tmp/kora", 1);
    ASSERT_TRUE(Run({
        D::TypeIn("Edit_zoom", "3"),
        D::PressIn("Button_zoomProposal"),
        D::TypeInCell("Grid_layers", 1, 1, "x"),
        D::TypeInCell("Grid_layers", 2, 2, "9"),
        D::PressIn("Button_layer5Proposal"),
        D::PressIn("Button_layer4Proposal"),
        D::PressIn("Button_upperWidths2"),
        D::TypeIn("Edit_printScaleX", "0.5"),
        D::PressIn("Button_printScaleYProposal"),
        D::PressIn("Button_releaseFieldProposal"),
        D::PressIn("Button_tempFolderProposal"),
        D::PressIn("Button_windowSizeProposal"),
        D::PressOk(),
    }));
    ::unsetenv("TEMP");
    const Configuration& c = session.config;
    EXPECT_EQ(c.zoomFactor, 1.02L);
    EXPECT_EQ(c.layerName[4], "5");
    EXPECT_EQ(c.layerColour[4], 1);
    EXPECT_EQ(c.lineThicknessLayer[5], 3);
    EXPECT_EQ(c.layerColour[3], 3);
    EXPECT_EQ(c.lineThicknessLayer[4], 2);
    EXPECT_EQ(c.lineThicknessUpperLayer[15], 2);
    EXPECT_EQ(c.printScaleVertical, 0.5L);
    EXPECT_EQ(c.ReleaseFieldCaption, "Frei");
    EXPECT_EQ(c.tempFolder, "/var/tmp/kora");
    EXPECT_EQ(c.resolutionHorizontal, 1920 + 990 - 1000 - 1);
}

TEST_F(ConfigurationFormTest, DialogSizesFromTheScreen) {
    // Screen factor ((700 / (640 + 46)) + 0.009) * 96 / 96 = 1.0294...
    const struct {
        const char* inputWindowScale;
        int dialogElementScale;
    } cases[] = {{"103", 100}, {"206", 200}, {"100", 97}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Run({D::TypeIn("Edit_inputWindowScale", c.inputWindowScale),
                         D::PressIn("Button_dialogElementScaleProposal"), D::PressOk()}));
        EXPECT_EQ(session.config.DialogElementScale, c.dialogElementScale) << c.inputWindowScale;
    }
    ASSERT_TRUE(Run({D::PressIn("Button_inputWindowScaleProposal"),
                     D::PressIn("Button_dialogElementScaleProposal"), D::PressOk()}));
    EXPECT_EQ(session.config.inputWindowScale, 103);
    EXPECT_EQ(session.config.DialogElementScale, 100); // a scale from the screen is 100 %
}

TEST_F(ConfigurationFormTest, ChoosersOfColoursFontsAndPlotterLines) {
    dialogs.Push(D::Filled("Tconfig", {
                                          D::TypeIn("Edit_zoom", "2"), // kept by the choosers
                                          D::PressIn("Button_background"),
                                          D::PressIn("Button_graphicsFont"),
                                          D::PressIn("Button_printoutFont"),
                                          D::ClickCell("Grid_upperLayers", 1, 3),
                                          D::PressIn("Button_upperLayerColour"),
                                          D::ClickCell("Grid_layers", 2, 5),
                                          D::PressIn("Button_layerColour"),
                                          D::ChooseIn("ListBox_vektraLines", 2),
                                          D::PressIn("Button_vektraEdit"),
                                          D::PressOk(),
                                      }));
    dialogs.Push(D::Colour(0x00FFEEDD));
    dialogs.Push(D::Font("DejaVu Sans", 12, 2));
    dialogs.Push(D::Font("DejaVu Sans Mono", 9, 1));
    dialogs.Push(D::Chosen(13)); // "braun" for layer 18
    dialogs.Push(D::Chosen(7));  // "weiß" for layer 1
    dialogs.Push(D::Typed("plot --a4"));
    Tconfig form(session, place);
    bool checked = false;
    dialogs.onForm = [&](const FormModel&) {
        checked = true;
        EXPECT_EQ(form["Label_graphicsFont"]->Text(), "Schrift: Arial");
    };
    ASSERT_TRUE(session.dialogs->ShowForm(form));
    EXPECT_TRUE(checked);
    const Configuration& c = session.config;
    EXPECT_EQ(c.backgroundColour, 0x00FFEEDD);
    EXPECT_EQ(c.zoomFactor, 2);
    EXPECT_EQ(c.graphicsTypeface, "DejaVu Sans");
    EXPECT_EQ(c.textStyleGraphics, 2);
    EXPECT_EQ(c.textFontPrintout, "DejaVu Sans Mono");
    EXPECT_EQ(c.textSizePrintout, 9);
    EXPECT_EQ(c.textStylePrintout, 1);
    EXPECT_EQ(c.colourLayer[2], 13);
    EXPECT_EQ(form["Grid_upperLayers"]->Cell(0, 3), "Farbe f\x81r Layer 18 (braun)");
    EXPECT_EQ(c.layerColour[0], 7);
    EXPECT_EQ(c.vektraCommandLines[2], "plot --a4");
    EXPECT_EQ(c.vektraCommandCount, 3); // the edited third line is offered from now on
}

TEST_F(ConfigurationFormTest, SaveWritesAndStaysOpenImportRefills) {
    Configuration other = EveryEntryChanged();
    std::ofstream(root + "/andere.cfg", std::ios::binary) << ConfigurationText(other);
    Tconfig form(session, place);
    dialogs.Push(D::Filled("Tconfig", {
                                          D::ChooseIn("RadioGroup_date", 3),
                                          D::PressIn("Button_save"),
                                          D::PressIn("Button_import"),
                                          D::PressCancel(),
                                      }));
    dialogs.Push(D::Typed(root + "/andere.cfg"));
    EXPECT_FALSE(session.dialogs->ShowForm(form));
    EXPECT_EQ(ReadBytes(root + "/kora.cfg"), [&] {
        Configuration saved = InitialConfiguration(place);
        saved.dateCode = 4;
        // A window size of 0 is taken as the screen gives it.
        saved.resolutionHorizontal = 1920 + 990 - 1000;
        saved.resolutionVertical = 1080 + 640 - 700;
        return ConfigurationText(saved);
    }());
    // Cancel after the import: the imported values are in memory, the fields show them.
    EXPECT_TRUE(session.config == other);
    EXPECT_EQ(form["Edit_windowX"]->Text(), std::to_string(other.resolutionHorizontal + 1));
    EXPECT_EQ(form["CheckBox_makerTitle"]->Checked(), !other.HideMakerTitle);
}

TEST_F(ConfigurationFormTest, CheckedDrawingBoxesGiveFourFalseLinesAtTheEnd) {
    session.config.HideDate = session.config.HideLogo = true;
    ASSERT_TRUE(
        Run({D::CheckIn("CheckBox_date", true), D::CheckIn("CheckBox_logo", true), D::PressOk()}));
    const auto lines = Lines(ConfigurationText(session.config));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 10, lines.end() - 6),
              (std::vector<std::string>{"FALSE", "FALSE", "FALSE", "FALSE"}));
}

} // namespace
} // namespace kora

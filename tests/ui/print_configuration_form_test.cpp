#include "ui/print_configuration_form.h"

#include "calc/session.h"
#include "persistence/dbf_table.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kora {
namespace {

namespace fs = std::filesystem;
using D = ScriptedDialogs;

// A printer that answers its dialog by turning to landscape.
class FakePrinters final : public PrinterHost {
  public:
    std::string Name() const override { return name; }
    bool Landscape() const override { return landscape; }
    bool Choose(bool) override {
        ++dialogs;
        landscape = true;
        name = "Laser im Flur";
        return true;
    }
    PrinterFacts Facts() const override {
        PrinterFacts f;
        f.name = name;
        f.dpiX = f.dpiY = 600;
        f.widthMm = 200.25;
        f.fonts = {"DejaVu Sans", "DejaVu Serif"};
        return f;
    }
    void SetBatch(bool) override {}
    std::string name = "PDF";
    bool landscape = false;
    int dialogs = 0;
};

class PrintConfigurationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kora-printconf-XXXXXX").string();
        start = mkdtemp(pattern.data());
        // A copy of the shipped setups in the working folder, which is looked at first.
        fs::copy_file(fs::path(KORA_SOURCE_DATA_DIR) / "tables" / "printout.dbf",
                      fs::path(start) / "printout.dbf");
        session.config.tempFolder = start;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(start, ec);
    }
    // The form with its steps, then the answers of the dialogs its buttons open.
    bool Run(std::vector<D::FormStep> steps, std::vector<D::Answer> then = {},
             PrintConfigurationMode mode = PrintConfigurationMode::Print) {
        dialogs.Push(D::Filled("TForm_printconf", std::move(steps)));
        for (D::Answer& a : then)
            dialogs.Push(std::move(a));
        return EditPrintConfiguration(session, &printers, start, lastRecord, mode, fit);
    }

    std::string start;
    ScriptedDialogs dialogs;
    Session session{dialogs};
    FakePrinters printers;
    long lastRecord = 0;
    bool fit = false;
};

TEST_F(PrintConfigurationTest, OkTakesTheFieldsIntoThePrintSettings) {
    ASSERT_TRUE(Run({D::TypeIn("Edit_scaleX", "0,5"), D::TypeIn("Edit_scaleY", "0.25"),
                     D::TypeIn("Edit_originX", "10"), D::TypeIn("Edit_originY", "-5"),
                     D::CheckIn("CheckBox_border", true), D::ChooseIn("RadioGroup_shading", 1),
                     D::ChooseIn("RadioGroup_orientation", 0), D::CheckIn("CheckBox_fit", true),
                     D::PressOk()}));
    const Configuration& c = session.config;
    EXPECT_EQ(c.screendumpScale, 0.5L);
    EXPECT_EQ(c.printScaleVertical, 0.25L);
    EXPECT_EQ(c.screendumpOriginX, 10);
    EXPECT_EQ(c.screendumpOriginY, -5);
    EXPECT_TRUE(c.screendumpBorder);
    EXPECT_EQ(c.windowsPrintMode, 2);
    EXPECT_EQ(c.printerOrientation, 1);
    EXPECT_TRUE(fit);
    EXPECT_FALSE(session.AbortFlag);
}

TEST_F(PrintConfigurationTest, CancelAndAZeroScale) {
    const Configuration before = session.config;
    EXPECT_FALSE(Run({D::TypeIn("Edit_scaleX", "3"), D::PressCancel()}));
    EXPECT_TRUE(session.config == before);
    EXPECT_TRUE(session.AbortFlag);
    // A scale of 0 would print nothing: both become 1.
    ASSERT_TRUE(Run({D::TypeIn("Edit_scaleX", "0"), D::TypeIn("Edit_scaleY", "2"), D::PressOk()}));
    EXPECT_EQ(session.config.screendumpScale, 1);
    EXPECT_EQ(session.config.printScaleVertical, 1);
}

TEST_F(PrintConfigurationTest, ThePrinterDialogSetsPrinterAndOrientation) {
    TForm_printconf form(session, &printers, start, lastRecord);
    dialogs.Push(D::Filled("TForm_printconf", {D::PressIn("Button_printer"), D::PressOk()}));
    ASSERT_TRUE(session.dialogs->ShowForm(form));
    EXPECT_EQ(printers.dialogs, 1);
    EXPECT_EQ(form.Label_printer.Text(), "Laser im Flur");
    EXPECT_EQ(session.config.printerOrientation, 2);
    // Without printers the button is off.
    TForm_printconf none(session, nullptr, start, lastRecord);
    EXPECT_FALSE(none.Button_printer.Enabled());
}

TEST_F(PrintConfigurationTest, ASetupFromTheTableFillsTheFieldsAndANewOneIsAppended) {
    // "A4 Querformat angepasst": landscape, monochrome, fitted.
    ASSERT_TRUE(Run({D::PressIn("Button_database"), D::PressOk()}, {D::Chosen(2)}));
    EXPECT_EQ(session.config.printerOrientation, 2);
    EXPECT_EQ(session.config.windowsPrintMode, 1);
    EXPECT_TRUE(fit);
    EXPECT_EQ(lastRecord, 2);

    ASSERT_TRUE(Run({D::TypeIn("Edit_originX", "7"), D::ChooseIn("RadioGroup_shading", 1),
                     D::PressIn("Button_storeDatabase"), D::PressOk()},
                    {D::Typed("Mein Blatt")}));
    DbfTable table(session);
    ASSERT_TRUE(OpenPrintoutTable(table, start));
    ASSERT_TRUE(table.GoRecord(table.RecordCount()));
    EXPECT_EQ(table.ColumnText("name").rfind("Mein Blatt ", 0), 0u); // padded to the width
    EXPECT_EQ(table.ColumnReal("xorigin"), 7);
    EXPECT_TRUE(table.ColumnFlag("landscape"));
    EXPECT_FALSE(table.ColumnFlag("monochrom"));
    EXPECT_FALSE(table.ColumnFlag("variable")); // "anpassen" starts unchecked
    EXPECT_EQ(lastRecord, table.RecordCount());
    table.CloseTable();

    // A cancelled choice changes nothing.
    ASSERT_TRUE(Run({D::PressIn("Button_database"), D::PressOk()}, {D::Cancelled()}));
    EXPECT_EQ(session.config.screendumpOriginX, 7);
    EXPECT_EQ(session.config.windowsPrintMode, 2);
}

TEST_F(PrintConfigurationTest, TheSetupModeShowsThePrinterInformation) {
    std::vector<std::string> labels, values;
    dialogs.onForm = [&](const FormModel& form) {
        if (form.Name() != "TForm_printerinfo") return;
        const Field& grid = *form.Find("Grid_info");
        for (std::size_t r = 0; r < grid.Rows(); ++r) {
            labels.push_back(grid.Cell(0, r));
            values.push_back(grid.Cell(1, r));
        }
    };
    dialogs.Push(D::Filled("TForm_printconf", {D::PressOk()}));
    dialogs.Push(D::Filled("TForm_printerinfo", {D::PressOk()}));
    ASSERT_TRUE(EditPrintConfiguration(session, &printers, start, lastRecord,
                                       PrintConfigurationMode::Setup, fit));
    ASSERT_EQ(labels.size(), 18u);
    EXPECT_EQ(labels[0], "Name");
    EXPECT_EQ(values[0], "PDF");
    EXPECT_EQ(labels[3], "Druckbreite (mm)");
    EXPECT_EQ(values[3], "200.2");
    EXPECT_EQ(labels[9], "DPI (horizontal)");
    EXPECT_EQ(values[9], "600");
    EXPECT_EQ(labels[15], "Schriften");
    EXPECT_EQ(values[15], "2");
    EXPECT_EQ(values[17], "DejaVu Serif");
}

} // namespace
} // namespace kora

#include "ui/plotter_form.h"

#include "calc/session.h"
#include "graphics/cad_settings.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <string>

namespace kora {
namespace {

using D = ScriptedDialogs;

TEST(PlotterForm, FieldsRecomposeTheLine) {
    TForm_confvektra form("/tmp/k", "C:\\VEKTRA\\WVEKTRA VEKTRA.DXF /M1.0");
    EXPECT_EQ(form.Caption, "VEKTRA");
    EXPECT_EQ(form.Label_commandLine.Text(), "C:\\VEKTRA\\WVEKTRA VEKTRA.DXF /M1.0"); // start
    EXPECT_TRUE(form.Edit_lpt.Enabled());
    EXPECT_FALSE(form.Edit_com.Enabled());
    EXPECT_FALSE(form.Edit_dir.Enabled());
    EXPECT_FALSE(form.ComboBox_font.Enabled());
    ASSERT_TRUE(form.Check("CheckBox_fit", true));
    EXPECT_FALSE(form.Edit_scale.Enabled());
    EXPECT_EQ(form.Label_commandLine.Text(), "c:\\vektra\\wvektra /tmp/k/vektra /CHPL /M*");
    ASSERT_TRUE(form.Choose("RadioGroup_interface", PlotterSettings::File));
    ASSERT_TRUE(form.Type("Edit_dir", "/out"));
    EXPECT_TRUE(form.Edit_dir.Enabled());
    EXPECT_EQ(form.Button_okClick(), "c:\\vektra\\wvektra /out/vektra /CHPL /D3 /F/out/vektra /M*");
    form.Button_resetDirClick();
    EXPECT_EQ(form.Edit_dir.Text(), "/tmp/k");
    ASSERT_TRUE(form.Check("CheckBox_fit", false));
    EXPECT_EQ(form.Edit_scale.Text(), "1");
    EXPECT_TRUE(form.Edit_scale.Enabled());
}

TEST(PlotterForm, PostscriptFontOnlyForPostscript) {
    TForm_confvektra form("/t", "");
    EXPECT_FALSE(form.Choose("ComboBox_font", 4)); // disabled for HP-GL
    ASSERT_TRUE(form.Choose("ComboBox_format", 1));
    ASSERT_TRUE(form.Choose("ComboBox_font", 4));
    EXPECT_EQ(form.ComboBox_font.Text(), "Helvetica");
    EXPECT_EQ(form.Label_commandLine.Text(), "c:\\vektra\\wvektra /t/vektra /CPS /THelvetica");
}

// The form between the list of lines and the one-line edit of the plotter output.
TEST(PlotterForm, ShownByTheCommandChoice) {
    ScriptedDialogs dialogs;
    Session session{dialogs};
    CadSettings settings;
    settings.plotterCommands = {"first", "second"};
    const PlotterForm form = [&](const std::string& line, std::string_view temp) {
        return ShowPlotterForm(session, line, temp);
    };
    dialogs.Push(D::Chosen(2));
    dialogs.Push(
        D::Filled("TForm_confvektra", {D::CheckIn("CheckBox_rotate", true), D::PressOk()}));
    dialogs.Push(D::Cancelled()); // the one-line edit
    EXPECT_FALSE(ChoosePlotterCommand(session, settings, "/t", form));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(settings.currentPlotterCommand, 1);
    EXPECT_EQ(settings.plotterCommands[0], "first");
    EXPECT_EQ(settings.plotterCommands[1], "c:\\vektra\\wvektra /t/vektra /CHPL /R");

    // Cancel in the form keeps the line.
    dialogs.Push(D::Chosen(1));
    dialogs.Push(
        D::Filled("TForm_confvektra", {D::CheckIn("CheckBox_rotate", true), D::PressCancel()}));
    EXPECT_FALSE(ChoosePlotterCommand(session, settings, "/t", form));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(settings.plotterCommands[0], "first");
}

} // namespace
} // namespace kora

#include "ui/diagram_limits_form.h"

#include "calc/session.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/cad_test_support.h"
#include "graphics/display_list.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kora {
namespace {

namespace fs = std::filesystem;
using D = ScriptedDialogs;

TEST(DiagramLimitsForm, KeepsExactValuesOfUntouchedEdits) {
    Session session;
    const DiagramLimitsQuestion question{
        "Federkennlinie", "s [mm]", "F [N]", {0, 25, 0, 387.48485L}, {0, 40, 0, 1000}};
    TEinDiagramLimits form(session, question);
    EXPECT_EQ(form.Caption, "Federkennlinie");
    EXPECT_EQ(form.Label_x.Text(), "s [mm]");
    EXPECT_EQ(form.Label_y.Text(), "F [N]");
    EXPECT_EQ(form.Edit_ymax.Caption(), "F [N] max");
    EXPECT_EQ(form.Edit_xmax.Text(), "40");
    EXPECT_EQ(form.Button_helpClick(), 1950);
    form.Button_calcClick();
    EXPECT_EQ(form.Edit_xmax.Text(), "25");
    EXPECT_EQ(form.Edit_ymax.Text(), "387.5");
    form.Edit_xmin.Type("1,5"); // a typed comma counts as the point
    session.AbortFlag = true;
    form.Button_okClick();
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_EQ(form.Result(), FormResult::Ok);
    EXPECT_EQ(form.Entered().xmin, 1.5L);
    EXPECT_EQ(form.Entered().ymax, 387.48485L); // shown as 387.5, kept exactly
    form.Button_cancelClick();
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(form.Result(), FormResult::Cancel);
}

// The sheet with the form shown through the dialog family.
class LimitsSheetTest : public ::testing::Test {
  protected:
    LimitsSheetTest()
        : session(dialogs), display(session), cad(session, &display), ctx(session, cad) {
        cad.SetTempFolder(temp.str());
        cad.SetCommandLineRun(true);
        cad.SetSpringFile(temp / "feder.kra");
        ctx.askLimits = ShowDiagramLimitsForm;
        examples::QuietSpring(session);
        CalculateSpring(session);
        EXPECT_FALSE(session.FatalFlag);
        session.config.enterDiagramLimits = true;
    }
    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    DisplayList display;
    CadOutput cad;
    DiagramContext ctx;
};

TEST_F(LimitsSheetTest, EnteredLimitsReplaceTheComputedOnes) {
    dialogs.Push(D::Chosen(5)); // "TXT"
    dialogs.Push(
        D::Filled("TEinDiagramLimits",
                  {D::TypeIn("Edit_xmin", "0"), D::TypeIn("Edit_xmax", "40"),
                   D::TypeIn("Edit_ymin", "0"), D::TypeIn("Edit_ymax", "1000"), D::PressOk()}));
    EXPECT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Ask));
    EXPECT_TRUE(dialogs.unexpected.empty());
    // NiceScale of the entered limits: 0 .. 40 in steps of 5, 0 .. 1000 in steps of 200.
    EXPECT_EQ(ctx.frame.xmax, 40);
    EXPECT_EQ(ctx.frame.xStep, 5);
    EXPECT_EQ(ctx.frame.ymax, 1000);
    EXPECT_EQ(ctx.frame.yStep, 200);
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_TRUE(fs::exists(temp / "feder.txt"));

    // The next time the form offers what was entered; "Calculate" and OK take the computed
    // limits; a cancel keeps the computed limits too.
    std::string offered;
    dialogs.onForm = [&](const FormModel& form) {
        offered = static_cast<const TEinDiagramLimits&>(form).Edit_xmax.Text();
    };
    dialogs.Push(D::Chosen(5));
    dialogs.Push(D::Filled("TEinDiagramLimits", {D::TypeIn("Edit_xmax", "50"), D::PressCancel()}));
    ASSERT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Ask));
    EXPECT_EQ(offered, "40");
    EXPECT_EQ(ctx.frame.xmax, 25);
    EXPECT_EQ(ctx.frame.ymax, 400);
    EXPECT_FALSE(session.AbortFlag);
    dialogs.Push(D::Chosen(5));
    dialogs.Push(D::Filled("TEinDiagramLimits", {D::PressIn("Button_calc"), D::PressOk()}));
    ASSERT_TRUE(DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Ask));
    EXPECT_EQ(ctx.frame.xmax, 25);
    EXPECT_EQ(ctx.frame.ymax, 400);
    EXPECT_TRUE(dialogs.unexpected.empty());
}

} // namespace
} // namespace kora

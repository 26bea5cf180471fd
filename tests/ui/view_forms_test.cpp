#include "ui/view_forms.h"

#include "base/numformat.h"
#include "calc/session.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "graphics/cad_output.h"
#include "graphics/cad_test_support.h"
#include "graphics/diagram_sheets.h"
#include "graphics/display_list.h"
#include "graphics/spring_views.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numbers>
#include <string>

namespace kora {
namespace {

namespace fs = std::filesystem;
using D = ScriptedDialogs;

constexpr real kPi = std::numbers::pi_v<real>;

// Three sections of typed steel under dynamic load: d 3, Dm 22, L0 = 66, Lc = 30, nt = 10; the
// views with their forms shown through the scripted dialogs.
class ViewFormsTest : public ::testing::Test {
  protected:
    ViewFormsTest()
        : session(dialogs), display(session), cad(session, &display), ctx(session, cad),
          views(ctx, &display) {
        cad.SetTempFolder(temp.str());
        cad.SetCommandLineRun(true);
        cad.SetSpringFile(temp / "feder.kra");
        session.config.edit3D = false;
        AttachViewForms(views);
        examples::ThreeSections(session);
        examples::TypedSteel(session);
        CalculateSpring(session);
        EXPECT_FALSE(session.FatalFlag);
        EXPECT_EQ(session.spring.L0, 66);
        EXPECT_EQ(session.spring.Lc, 30);
    }

    cadtest::TempFolder temp;
    ScriptedDialogs dialogs;
    Session session;
    DisplayList display;
    CadOutput cad;
    DiagramContext ctx;
    SpringViews views;
};

// What the frame loop sees of an animation.
struct CountingHost : GraphicsHost {
    int frames = 0;
    void ShowFrame(int) override { ++frames; }
};

// ---- Length form ----

TEST_F(ViewFormsTest, LengthFormStartsAtLviewAndKeepsExactValues) {
    session.spring.Lview = 40;
    TForm_talmdxf form(session);
    EXPECT_EQ(form.Caption, "KORA - Progressive zyl. Druckfeder");
    EXPECT_EQ(form.Edit_l.Caption(), "Einbaul\x84nge L");
    EXPECT_EQ(form.Edit_l.Unit(), "mm");
    EXPECT_EQ(form.Edit_l.Text(), "40");
    ASSERT_TRUE(form.TrackBar1.range);
    EXPECT_EQ(form.TrackBar1.range->min, 31); // round(Lc + 0.5)
    EXPECT_EQ(form.TrackBar1.range->max, 66); // round(L0 - 0.5), rounded half away from zero
    EXPECT_EQ(form.TrackBar1.Index(), 40);
    form.Edit_l.Type("44.6");
    form.Edit_lChange();
    EXPECT_EQ(form.TrackBar1.Index(), 45);
    form.Edit_l.Type("10");
    form.Edit_lChange();
    EXPECT_EQ(form.TrackBar1.Index(), 31);
    form.Button_upClick();
    EXPECT_EQ(form.Edit_l.Text(), "31");
    form.TrackBar1.SetIndex(50);
    form.TrackBar1Exit();
    EXPECT_EQ(form.Edit_l.Text(), "50");
    EXPECT_FALSE(form.Choose("TrackBar1", 67)); // beyond the bar
    // A length button keeps the exact length, whatever the edit shows.
    session.spring.L1 = 60.123456789L;
    form.Button_L1Click();
    EXPECT_EQ(form.Edit_l.Text(), "60.12");
    EXPECT_TRUE(form.Button_okClick());
    EXPECT_EQ(session.spring.Lview, 60.123456789L);
    EXPECT_EQ(form.Result(), FormResult::Ok);
    form.Button_LcClick();
    EXPECT_TRUE(form.Button_okClick());
    EXPECT_EQ(session.spring.Lview, 30);
    form.Button_cancelClick();
    EXPECT_TRUE(session.AbortFlag);
}

TEST_F(ViewFormsTest, LengthOutsideLcToL0IsRefusedWithTheRange) {
    // OK on a refused length leaves the form open for the next try.
    dialogs.Push(D::Filled("TForm_talmdxf",
                           {D::TypeIn("Edit_l", "70"), D::PressOk(),      // above L0: refused
                            D::TypeIn("Edit_l", "abc"), D::PressOk(),     // no number: 0, refused
                            D::TypeIn("Edit_l", "35,5"), D::PressOk()})); // a comma is the point
    EXPECT_TRUE(views.SpringView(ViewKind::Cut, OutputKind::Txt, true));
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_EQ(session.spring.Lview, 35.5L);
    ASSERT_EQ(dialogs.errors.size(), 2u);
    EXPECT_EQ(dialogs.errors[0], "G\xC3\xBCltiger Wertebereich: 30 .. 66 !");
    EXPECT_NE(cadtest::ReadFile(temp / "feder.txt").find("L= 35.5 mm"), std::string::npos);
    // The shown, rounded ends are accepted.
    session.spring.Lc = 30.00012L;
    TForm_talmdxf form(session);
    form.Edit_l.Type("30");
    EXPECT_TRUE(form.Button_okClick());
}

TEST_F(ViewFormsTest, CancelInTheLengthFormDrawsNothing) {
    dialogs.Push(D::Filled("TForm_talmdxf", {D::PressIn("Button_L1"), D::PressCancel()}));
    EXPECT_FALSE(views.SpringView(ViewKind::Cut, OutputKind::Txt, true));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_FALSE(fs::exists(temp / "feder.txt"));
    EXPECT_EQ(session.spring.Lview, session.spring.L2);
}

// ---- Rotation form ----

TEST_F(ViewFormsTest, RotationFormPresetsAndExactAngles) {
    const real deg = kPi / 180;
    TForm_cadutil8 form(session, {-15 * deg, 90 * deg, 210 * deg});
    EXPECT_EQ(form.Caption, "Coordinate System");
    EXPECT_EQ(form.Edit_x.Text(), "-15");
    EXPECT_EQ(form.ScrollBar_z.Index(), 210);
    form.Button_xzClick();
    EXPECT_EQ(form.Edit_y.Text(), "-360");
    EXPECT_EQ(form.ScrollBar_y.Index(), -360);
    EXPECT_EQ(form.Edit_z.Text(), "90");
    form.ScrollBar_x.SetIndex(30);
    form.ScrollBar_xChange();
    EXPECT_EQ(form.Edit_x.Text(), "30");
    form.Edit_z.Type("100.4");
    form.Edit_zExit();
    EXPECT_EQ(form.ScrollBar_z.Index(), 100);
    form.Button_resetClick();
    EXPECT_EQ(form.Edit_x.Text(), "15");
    EXPECT_EQ(form.Edit_y.Text(), "90");
    EXPECT_EQ(form.Edit_z.Text(), "210");
    form.Button_yzClick();
    session.AbortFlag = true;
    form.Button_okClick();
    EXPECT_FALSE(session.AbortFlag);
    EXPECT_TRUE(Projection3D{form.Angles()}.Suppressed(0));
    EXPECT_NEAR(form.Angles()[2], kPi / 2, 1e-15L);
    // An edit left as shown keeps the exact angle.
    TForm_cadutil8 exact(session, {0.123456789L, 1, 2});
    exact.Button_okClick();
    EXPECT_EQ(exact.Angles()[0], 0.123456789L);
}

TEST_F(ViewFormsTest, ThreeDViewAsksTheAnglesThroughTheForm) {
    session.config.edit3D = true;
    dialogs.Push(D::Filled("TForm_cadutil8",
                           {D::ChooseIn("ScrollBar_x", 0), D::PressIn("Button_xz"), D::PressOk()}));
    EXPECT_TRUE(views.Spring3DView(OutputKind::Txt, false));
    EXPECT_TRUE(dialogs.unexpected.empty());
    EXPECT_TRUE(Projection3D{views.angles3D}.Suppressed(1));
    EXPECT_NEAR(views.angles3D[2], kPi / 2, 1e-15L);
    fs::remove(temp / "feder.txt");
    dialogs.Push(D::Cancelled());
    EXPECT_FALSE(views.Spring3DView(OutputKind::Txt, false));
    EXPECT_FALSE(fs::exists(temp / "feder.txt"));
}

// ---- Animation form ----

TEST_F(ViewFormsTest, AnimationFormForcesItsValuesIntoRange) {
    struct Case {
        const char* l1;
        const char* l2;
        const char* frames;
        const char* repeats;
        const char* pause;
        real largest, smallest;
        int nFrames, nRepeats, nPause;
    };
    const Case cases[] = {
        {"66", "30.02", "25", "1", "50", 66, 30.02L, 25, 1, 50},
        {"80", "10", "1", "0", "-5", 66, 30, 2, 1, 0},
        {"50", "40", "5000", "500", "20", 50, 40, 1000, 100, 20},
        {"x", "45", "2", "100", "0", 30, 45, 2, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.l1);
        TForm_koraani form(session, false);
        form.Edit_l1.Type(c.l1);
        form.Edit_l2.Type(c.l2);
        form.Edit_frames.Type(c.frames);
        form.Edit_repeats.Type(c.repeats);
        form.Edit_pause.Type(c.pause);
        form.Button_okClick();
        EXPECT_NEAR(form.Settings().largest, c.largest, 1e-12L);
        EXPECT_NEAR(form.Settings().smallest, c.smallest, 1e-12L);
        EXPECT_EQ(form.Settings().frames, c.nFrames);
        EXPECT_EQ(form.Settings().repetitions, c.nRepeats);
        EXPECT_EQ(form.Settings().pause, c.nPause);
    }
}

TEST_F(ViewFormsTest, AnimationFormDefaultsAndButtons) {
    session.spring.Ln = 31.25L;
    TForm_koraani form(session, true);
    EXPECT_EQ(form.Caption, "KORA - Progressive zyl. Druckfeder Animation");
    EXPECT_EQ(form.Edit_l1.Caption(), "gr\x94\xe1te Federl\x84nge");
    EXPECT_EQ(form.Edit_l1.Text(), "66");
    EXPECT_EQ(form.Edit_l2.Text(), "30.02");
    EXPECT_EQ(form.Edit_frames.Text(), "25");
    EXPECT_EQ(form.Edit_repeats.Text(), "1");
    EXPECT_EQ(form.Edit_pause.Text(), "50");
    EXPECT_EQ(form.Edit_pause.Unit(), "ms");
    EXPECT_TRUE(form.CheckBox_step.Checked());
    form.Button_L1Click();
    EXPECT_EQ(form.Edit_l1.Text(), "60");
    form.Button_LnClick();
    EXPECT_EQ(form.Edit_l2.Text(), "31.25");
    form.Button_framesClick();
    form.Button_repeatsClick();
    form.Button_pauseClick();
    EXPECT_EQ(form.Edit_frames.Text(), "50");
    EXPECT_EQ(form.Edit_repeats.Text(), "1");
    EXPECT_EQ(form.Edit_pause.Text(), "20");
    form.Button_LcClick();
    form.Button_okClick();
    EXPECT_EQ(form.Settings().smallest, 30);
    EXPECT_EQ(form.Settings().largest, 60);
    EXPECT_TRUE(form.Settings().singleStep);
}

TEST_F(ViewFormsTest, AnimationThroughTheForm) {
    CountingHost host;
    views.animationHost = &host;
    dialogs.Push(
        D::Filled("TForm_koraani", {D::TypeIn("Edit_l1", "60"), D::TypeIn("Edit_l2", "40"),
                                    D::TypeIn("Edit_frames", "2"), D::TypeIn("Edit_repeats", "1"),
                                    D::TypeIn("Edit_pause", "0"),
                                    D::CheckIn("CheckBox_step", false), D::PressOk()}));
    EXPECT_TRUE(views.SpringAnimation(ViewKind::Cut));
    EXPECT_EQ(host.frames, 4);
    // Cancel in the form: no animation.
    dialogs.Push(D::Cancelled());
    EXPECT_FALSE(views.SpringAnimation(ViewKind::Cut));
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(host.frames, 4);
    EXPECT_TRUE(dialogs.unexpected.empty());
}

} // namespace
} // namespace kora

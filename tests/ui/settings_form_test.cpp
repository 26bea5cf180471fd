#include "ui/settings_form.h"

#include "calc/session.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace kora {
namespace {

TEST(SettingsForm, OpenFillsTheFieldsFromTheSpring) {
    Session session;
    session.spring.wireType = 3;
    session.spring.warnMode = 2;
    session.config.unitSystem = 1;
    TForm_settings form(session);
    form.FormCreate();
    EXPECT_EQ(form.RadioGroup_wireType.Index(), 2);
    EXPECT_EQ(form.RadioGroup_warnMode.Index(), 1);
    EXPECT_EQ(form.RadioGroup_unitSystem.Index(), 1);
    EXPECT_EQ(form.Edit_seps.Text(), "0.001");
    EXPECT_EQ(form.Edit_wsteps.Text(), "100");
    EXPECT_EQ(form.Edit_faktorRFc.Text(), "0.01");
    EXPECT_EQ(form.Edit_ssteps.Text(), "250");
    EXPECT_EQ(form.Edit_resolution3D.Text(), "2");
    EXPECT_EQ(form.Edit_resolution3D.Unit(), "\xF8");

    session.config.plainCharacters = true;
    form.FormCreate();
    EXPECT_EQ(form.Edit_resolution3D.Unit(), "deg");
}

// Typed text and what OK stores: out-of-range and unparsable input is forced into the range.
TEST(SettingsForm, OkParsesEachFieldAndForcesItIntoItsRange) {
    struct FieldCase {
        Field TForm_settings::*field;
        const char* typed;
        real seps, faktorRFc, resolution3D;
        std::int32_t wsteps, ssteps;
    };
    // Defaults for the fields a case does not touch.
    constexpr real s = 0.001L, f = 0.01L, r = 2;
    constexpr std::int32_t w = 100, n = 250;
    const FieldCase kCases[] = {
        {&TForm_settings::Edit_seps, "0,005", 0.005L, f, r, w, n},
        {&TForm_settings::Edit_seps, "letters", 0.0000000001L, f, r, w, n},
        {&TForm_settings::Edit_seps, "5", 0.1L, f, r, w, n},
        {&TForm_settings::Edit_seps, "1e-12", 0.0000000001L, f, r, w, n},
        {&TForm_settings::Edit_wsteps, "0", s, f, r, 3, n},
        {&TForm_settings::Edit_wsteps, "20000", s, f, r, 10000, n},
        {&TForm_settings::Edit_wsteps, "15.5", s, f, r, 3, n},
        {&TForm_settings::Edit_faktorRFc, "0.000001", s, 0.00001L, r, w, n},
        {&TForm_settings::Edit_faktorRFc, "0,05", s, 0.05L, r, w, n},
        {&TForm_settings::Edit_ssteps, "20000", s, f, r, w, 10000},
        {&TForm_settings::Edit_ssteps, "abc", s, f, r, w, 10},
        {&TForm_settings::Edit_ssteps, "500", s, f, r, w, 500},
        {&TForm_settings::Edit_resolution3D, "100", s, f, 90, w, n},
        {&TForm_settings::Edit_resolution3D, "0", s, f, 0.0001L, w, n},
        {&TForm_settings::Edit_resolution3D, "7,5", s, f, 7.5L, w, n},
    };
    for (const auto& c : kCases) {
        Session session;
        session.AbortFlag = true;
        TForm_settings form(session);
        form.FormCreate();
        (form.*c.field).Type(c.typed);
        form.Button_okClick();
        SCOPED_TRACE(c.typed);
        EXPECT_FALSE(session.AbortFlag);
        EXPECT_EQ(form.Result(), FormResult::Ok);
        EXPECT_EQ(session.spring.seps, c.seps);
        EXPECT_EQ(session.spring.faktorRFc, c.faktorRFc);
        EXPECT_EQ(session.spring.resolution3D, c.resolution3D);
        EXPECT_EQ(session.spring.wsteps, c.wsteps);
        EXPECT_EQ(session.spring.ssteps, c.ssteps);
    }
}

TEST(SettingsForm, OkStoresTheListChoices) {
    Session session;
    TForm_settings form(session);
    form.FormCreate();
    form.RadioGroup_wireType.SetIndex(3);
    form.RadioGroup_warnMode.SetIndex(1);
    form.RadioGroup_unitSystem.SetIndex(1);
    form.Button_okClick();
    EXPECT_EQ(session.spring.wireType, 4);
    EXPECT_EQ(session.spring.warnMode, 2);
    EXPECT_EQ(session.config.unitSystem, 1);

    // A selection outside the list is taken as the nearest entry.
    form.FormCreate();
    form.RadioGroup_wireType.SetIndex(-1);
    form.RadioGroup_warnMode.SetIndex(7);
    form.Button_okClick();
    EXPECT_EQ(session.spring.wireType, 1);
    EXPECT_EQ(session.spring.warnMode, 2);
}

TEST(SettingsForm, CancelSetsAbortFlagAndStoresNothing) {
    Session session;
    TForm_settings form(session);
    form.FormCreate();
    form.Edit_seps.Type("0.05");
    form.Edit_wsteps.Type("7");
    form.RadioGroup_wireType.SetIndex(2);
    form.RadioGroup_unitSystem.SetIndex(1);
    form.Button_cancelClick();
    EXPECT_TRUE(session.AbortFlag);
    EXPECT_EQ(form.Result(), FormResult::Cancel);
    EXPECT_EQ(session.spring.seps, 0.001L);
    EXPECT_EQ(session.spring.wsteps, 100);
    EXPECT_EQ(session.spring.wireType, 1);
    EXPECT_EQ(session.config.unitSystem, 0);
}

TEST(SettingsForm, ResetButtonsPutTheirTexts) {
    Session session;
    session.spring.wsteps = 400;
    TForm_settings form(session);
    form.FormCreate();
    for (Field* edit : {&form.Edit_seps, &form.Edit_wsteps, &form.Edit_faktorRFc, &form.Edit_ssteps,
                        &form.Edit_resolution3D})
        edit->Type("x");
    form.Button_resetSepsClick();
    form.Button_resetWstepsClick();
    form.Button_resetFaktorRFcClick();
    form.Button_resetSstepsClick();
    form.Button_resetResolution3DClick();
    EXPECT_EQ(form.Edit_seps.Text(), "0.001");
    EXPECT_EQ(form.Edit_wsteps.Text(), "15"); // not the program-start value 100
    EXPECT_EQ(form.Edit_faktorRFc.Text(), "0.01");
    EXPECT_EQ(form.Edit_ssteps.Text(), "250");
    EXPECT_EQ(form.Edit_resolution3D.Text(), "2");
    form.Button_okClick();
    EXPECT_EQ(session.spring.wsteps, 15);
}

// The short format rounds what it shows; OK on an untouched field must not store the rounding.
TEST(SettingsForm, UntouchedFieldsKeepTheirExactValues) {
    Session session;
    session.spring.seps = 5e-7L; // shown as "0"
    session.spring.faktorRFc = 0.0123456L;
    session.config.Dezimalstellen = 1; // shows 0.0123456 as "0.01"
    TForm_settings form(session);
    form.FormCreate();
    EXPECT_EQ(form.Edit_seps.Text(), "0");
    form.Button_okClick();
    EXPECT_EQ(session.spring.seps, 5e-7L);
    EXPECT_EQ(session.spring.faktorRFc, 0.0123456L);
}

// The form through the dialog family: typed fields, a reset button, a list choice and OK.
TEST(SettingsForm, ShownThroughTheDialogs) {
    ScriptedDialogs dialogs;
    Session session{dialogs};
    session.spring.ssteps = 900;
    dialogs.Push(ScriptedDialogs::Filled("TForm_settings",
                                         {ScriptedDialogs::TypeIn("Edit_seps", "0,0002"),
                                          ScriptedDialogs::PressIn("Button_resetSsteps"),
                                          ScriptedDialogs::ChooseIn("RadioGroup_wireType", 1),
                                          ScriptedDialogs::PressOk()}));
    EXPECT_TRUE(EditCalculationSettings(session));
    EXPECT_EQ(session.spring.seps, 0.0002L);
    EXPECT_EQ(session.spring.ssteps, 250);
    EXPECT_EQ(session.spring.wireType, 2);
    EXPECT_FALSE(session.AbortFlag);

    dialogs.Push(ScriptedDialogs::Cancelled());
    EXPECT_FALSE(EditCalculationSettings(session));
    EXPECT_TRUE(session.AbortFlag);
}

} // namespace
} // namespace kora

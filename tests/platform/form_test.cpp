#include "platform/form.h"

#include "base/configuration.h"
#include "platform/noninteractive_dialogs.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kora {
namespace {

// A small form: a length, a choice, a check box that enables the length, a proposal button.
class ProbeForm final : public FormModel {
  public:
    ProbeForm() : FormModel("ProbeForm") {
        Edit_L.quantity = Quantity::Length;
        Check_free.onEvent = [this] { Edit_L.SetEnabled(Check_free.Checked()); };
        Button_propose.onEvent = [this] { Edit_L.Show(config, 12.3456L); };
        Edit_L.onEvent = [this] { ++edits; };
        RadioGroup_kind.SetItems({"eins", "zwei", "drei"});
    }

    Field Edit_L{*this, "Edit_L", Control::Edit, "L"};
    Field RadioGroup_kind{*this, "RadioGroup_kind", Control::Choice};
    Field Check_free{*this, "Check_free", Control::Check};
    Field Button_propose{*this, "Button_propose", Control::Button, "<"};

    Configuration config;
    real L = 7.123456789L;
    real stored = 0;
    int kind = -1;
    int shows = 0, edits = 0, cancels = 0;

  private:
    void FormShow() override {
        ++shows;
        Edit_L.Show(config, L);
        RadioGroup_kind.SetIndex(1);
        Check_free.SetChecked(true);
    }
    void OkClick() override {
        stored = Edit_L.Value(config);
        kind = RadioGroup_kind.Index();
        Close(FormResult::Ok);
    }
    void CancelClick() override {
        ++cancels;
        Close(FormResult::Cancel);
    }
};

TEST(Field, AValueLeftAsShownKeepsItsExactValue) {
    const struct {
        const char* typed; // nullptr: left as shown
        real expected;
    } cases[] = {
        {nullptr, 7.123456789L}, // shown as "7.123", read back exactly
        {"7.123", 7.123456789L}, // the shown text typed again is still the shown text
        {"7.1230", 7.123L},      // another text is read
        {"8,5", 8.5L},           // a comma counts as decimal point
        {"x", 0},                // unparsable reads as 0
    };
    for (const auto& c : cases) {
        ProbeForm form;
        form.Open();
        ASSERT_EQ(form.Edit_L.Text(), "7.123");
        if (c.typed) form.Type("Edit_L", c.typed);
        form.Ok();
        EXPECT_EQ(form.stored, c.expected) << (c.typed ? c.typed : "(as shown)");
    }
}

TEST(Field, ReadInTheDisplayUnit) {
    ProbeForm form;
    form.config.unitSystem = 1;
    form.Open();
    EXPECT_EQ(form.Edit_L.Unit(), "in");
    form.Type("Edit_L", "2");
    form.Ok();
    EXPECT_NEAR(form.stored, 50.8L, 1e-12);
    EXPECT_EQ(form.Edit_L.ValueBy([](std::string_view) { return 99; }), 99); // any reader
}

TEST(FormModel, EventsReportTheFieldsTheirHandlersChanged) {
    ProbeForm form;
    form.Open();
    std::vector<std::vector<std::string>> reports;
    form.onChanged = [&](const std::vector<const Field*>& changed) {
        std::vector<std::string> ids;
        for (const Field* field : changed)
            ids.push_back(field->id);
        reports.push_back(ids);
    };
    EXPECT_TRUE(form.Press("Button_propose"));
    EXPECT_TRUE(form.Check("Check_free", false));
    EXPECT_TRUE(form.Type("Edit_L", "3") == false); // disabled now
    EXPECT_TRUE(form.Choose("RadioGroup_kind", 2));
    EXPECT_FALSE(form.Choose("RadioGroup_kind", 3)); // no such item
    EXPECT_FALSE(form.Press("Button_missing"));
    EXPECT_FALSE(form.Press("Edit_L")); // not a button
    const std::vector<std::vector<std::string>> expected = {
        {"Edit_L"}, {"Edit_L", "Check_free"}, {"RadioGroup_kind"}};
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(form.Edit_L.Text(), "12.35");
    EXPECT_EQ(form.edits, 0);
}

TEST(ScriptedDialogs, FillsAFormStepByStep) {
    ScriptedDialogs dialogs;
    ProbeForm form;
    dialogs.Push(
        ScriptedDialogs::Filled("ProbeForm", {ScriptedDialogs::TypeIn("Edit_L", "9"),
                                              ScriptedDialogs::ChooseIn("RadioGroup_kind", 0),
                                              ScriptedDialogs::PressOk()}));
    EXPECT_TRUE(dialogs.ShowForm(form));
    EXPECT_EQ(form.shows, 1);
    EXPECT_EQ(form.edits, 1);
    EXPECT_EQ(form.stored, 9);
    EXPECT_EQ(form.kind, 0);
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"ProbeForm"});
    EXPECT_TRUE(dialogs.unexpected.empty());
}

TEST(ScriptedDialogs, FormFaults) {
    using D = ScriptedDialogs;
    const struct {
        const char* name;
        D::Answer answer;
        bool ok;
        std::string fault; // empty: none
    } cases[] = {
        {"cancelled", D::Cancelled(), false, ""},
        {"cancel button", D::Filled("ProbeForm", {D::TypeIn("Edit_L", "9"), D::PressCancel()}),
         false, ""},
        {"other form", D::Filled("TForm_other", {D::PressOk()}), false,
         "ProbeForm (the script expected TForm_other)"},
        {"not a form", D::Typed("9"), false, "ProbeForm"},
        {"no such field", D::Filled("ProbeForm", {D::TypeIn("Edit_X", "1"), D::PressOk()}), true,
         "ProbeForm: no usable field \"Edit_X\""},
        {"disabled field",
         D::Filled("ProbeForm",
                   {D::CheckIn("Check_free", false), D::TypeIn("Edit_L", "1"), D::PressOk()}),
         true, "ProbeForm: no usable field \"Edit_L\""},
        {"steps after closing",
         D::Filled("ProbeForm", {D::PressOk(), D::PressIn("Button_propose")}), true,
         "ProbeForm: 1 step(s) left after the form closed"},
        {"left open", D::Filled("ProbeForm", {D::PressIn("Button_propose")}), false,
         "ProbeForm: left open when its steps ran out"},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        ProbeForm form;
        dialogs.Push(c.answer);
        EXPECT_EQ(dialogs.ShowForm(form), c.ok) << c.name;
        EXPECT_EQ(form.cancels, c.ok ? 0 : 1) << c.name;
        if (c.fault.empty()) {
            EXPECT_TRUE(dialogs.unexpected.empty()) << c.name;
        } else {
            EXPECT_EQ(dialogs.unexpected, std::vector<std::string>{c.fault}) << c.name;
        }
        dialogs.Settle();
    }
}

TEST(ScriptedDialogs, AFormNobodyScriptedIsUnexpected) {
    ScriptedDialogs dialogs;
    ProbeForm form;
    EXPECT_FALSE(dialogs.ShowForm(form));
    EXPECT_EQ(form.cancels, 1);
    EXPECT_EQ(dialogs.unexpected, std::vector<std::string>{"ProbeForm"});
    dialogs.Settle();
}

TEST(NonInteractiveDialogs, CancelsAForm) {
    for (bool silent : {false, true}) {
        std::ostringstream err;
        NonInteractiveDialogs dialogs(silent, &err);
        ProbeForm form;
        EXPECT_FALSE(dialogs.ShowForm(form));
        EXPECT_EQ(form.shows, 1);
        EXPECT_EQ(form.cancels, 1);
        EXPECT_EQ(form.Result(), FormResult::Cancel);
        EXPECT_EQ(err.str(), silent ? "" : "(abgebrochen) ProbeForm\n");
    }
}

TEST(NonInteractiveDialogs, WritesCodePage850TextsAsUtf8AndPathsAsTheyAre) {
    std::ostringstream err;
    NonInteractiveDialogs dialogs(false, &err);
    dialogs.ShowError("G\x81ltiger Wertebereich: 1 .. 10 !");
    dialogs.ShowInfo("Datei gespeichert", "Gr\x94\xE1"
                                          "e:");
    EXPECT_EQ(dialogs.ChooseItem("W\x84hlen",
                                 {"unterdr\x81"
                                  "cken"},
                                 1),
              std::nullopt);
    dialogs.ShowTextFile("\xF8", "/tmp/Gr\xC3\xB6\xC3\x9F"
                                 "e.txt");
    EXPECT_EQ(err.str(), "Fehler : Gültiger Wertebereich: 1 .. 10 !\n"
                         "Größe: Datei gespeichert\n"
                         "(abgebrochen) Wählen\n"
                         "  unterdrücken\n"
                         "° /tmp/Größe.txt\n");
}

} // namespace
} // namespace kora

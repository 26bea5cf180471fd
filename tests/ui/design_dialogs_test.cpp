#include "ui/design_dialogs.h"

#include "base/numformat.h"
#include "base/units.h"
#include "calc/characteristic.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "common/designed_springs.h"
#include "common/example_springs.h"
#include "engine/calculate.h"
#include "engine/design.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace kora {
namespace {

namespace text = design_dialog_text;
using Answer = ScriptedDialogs::Answer;

enum class Input { Fs, FL, Frl };

// A spring ready for the design dialog: wire material, the wished characteristic entered as
// F-s points, F-L points or F,R-L rows (converted), and no diameters yet.
struct DesignFixture {
    ScriptedDialogs dialogs;
    Session session{dialogs};
    SpringRecord& s = session.spring;

    explicit DesignFixture(Input input) {
        designed::SpringWire(session);
        s.Dm = 0;
        s.d = 0;
        s.L0 = 0;
        if (input == Input::Frl) {
            s.nfrl = 3;
            for (int i = 1; i <= 3; ++i)
                s.frl[i] = designed::kWishedRows[i - 1];
            EXPECT_TRUE(ConvertFrlToPoints(session));
            return;
        }
        s.charCoordinate = input == Input::Fs ? 1 : 2;
        s.nchar = 3;
        for (int i = 1; i <= 3; ++i) {
            s.points[i] = CharacteristicPoint{};
            s.points[i].F = designed::kWished[i - 1].F;
            if (input == Input::Fs)
                s.points[i].s = designed::kWished[i - 1].s;
            else
                s.points[i].L = designed::kWished[i - 1].L;
        }
    }

    void Script(const std::vector<Answer>& answers) {
        for (const auto& a : answers)
            dialogs.Push(a);
    }
    std::string Prompt(std::string_view cp850) const { return WindowText(session.config, cp850); }
};

Answer T(std::string text) {
    return ScriptedDialogs::Typed(std::move(text));
}

// The working-length form filled with three typed lengths and left with OK.
Answer WorkingLengths(std::string L1, std::string L2, std::string Lx) {
    return ScriptedDialogs::Filled("WorkingLengthForm",
                                   {ScriptedDialogs::TypeIn("Edit_L1", std::move(L1)),
                                    ScriptedDialogs::TypeIn("Edit_L2", std::move(L2)),
                                    ScriptedDialogs::TypeIn("Edit_Lx", std::move(Lx)),
                                    ScriptedDialogs::PressOk()});
}

// The answers of a complete run, dialog by dialog, per input kind.
struct DialogRun {
    Input input;
    const char* name;
    std::vector<Answer> answers;
};

const std::vector<DialogRun>& CompleteRuns() {
    static const std::vector<DialogRun> runs = {
        // Dm, d, (L1, L2, Lx), Lc, L0
        {Input::Fs, "F-s", {T("22"), T("3"), WorkingLengths("46", "41", "43.5"), T("40"), T("50")}},
        // Dm, d, L0, (L1, L2, Lx), Lc
        {Input::FL, "F-L", {T("22"), T("3"), T("50"), WorkingLengths("46", "41", "43.5"), T("40")}},
        // Dm, d, (L1, L2, Lx), Lc
        {Input::Frl, "F,R-L", {T("22"), T("3"), WorkingLengths("46", "41", "43.5"), T("40")}},
    };
    return runs;
}

void ExpectWishedCharacteristic(DesignFixture& f, const char* name) {
    ASSERT_FALSE(f.session.FatalFlag) << name;
    ASSERT_GE(f.s.nchar, 3) << name;
    EXPECT_NEAR(f.s.L0, designed::kWishedL0, 1e-9) << name;
    EXPECT_NEAR(f.s.Lc, 40, 1e-9) << name;
    for (int i = 1; i <= 3; ++i) {
        const auto& wished = designed::kWished[i - 1];
        EXPECT_NEAR(f.s.points[i].s, wished.s, 1e-9) << name << " point " << i;
        EXPECT_NEAR(f.s.points[i].L, wished.L, 1e-9) << name << " point " << i;
        EXPECT_NEAR(ForceAt(f.session, f.s.points[i].s), wished.F, 1e-3L * wished.F)
            << name << " point " << i;
    }
}

TEST(DesignDialog, CompleteRunsDesignTheWishedSpring) {
    for (const DialogRun& run : CompleteRuns()) {
        DesignFixture f(run.input);
        f.Script(run.answers);
        const bool done =
            run.input == Input::Frl ? FrlDesignDialog(f.session) : DesignDialog(f.session);
        EXPECT_TRUE(done) << run.name;
        EXPECT_FALSE(f.session.AbortFlag) << run.name;
        EXPECT_TRUE(f.dialogs.unexpected.empty()) << run.name;
        EXPECT_TRUE(f.dialogs.script.empty()) << run.name;
        EXPECT_EQ(f.s.Dm, 22);
        EXPECT_EQ(f.s.d, 3);
        EXPECT_EQ(f.s.L1, 46);
        EXPECT_EQ(f.s.L2, 41);
        EXPECT_EQ(f.s.Lx, 43.5L);
        EXPECT_EQ(f.s.definitionMode, 2);
        ExpectWishedCharacteristic(f, run.name);
        EXPECT_EQ(f.s.nchar, 3) << run.name; // L0 was reached without an extension
    }
}

TEST(DesignDialog, PromptsOfEachInput) {
    // "WorkingLengthForm" is the form of step 6; an empty entry is checked below.
    const struct {
        Input input;
        std::vector<std::string_view> prompts;
    } cases[] = {
        {Input::Fs,
         {text::kCoilDiameter, text::kWireDiameter, "WorkingLengthForm", "", text::kFreeLength}},
        {Input::FL, {text::kCoilDiameter, text::kWireDiameter, "", "WorkingLengthForm", ""}},
    };
    for (const auto& c : cases) {
        const DialogRun& run = CompleteRuns()[c.input == Input::Fs ? 0 : 1];
        DesignFixture f(c.input);
        f.Script(run.answers);
        DesignDialog(f.session);
        ASSERT_EQ(f.dialogs.shown.size(), c.prompts.size()) << run.name;
        for (std::size_t i = 0; i < c.prompts.size(); ++i) {
            if (c.prompts[i].empty()) continue;
            EXPECT_EQ(f.dialogs.shown[i], f.Prompt(c.prompts[i])) << run.name << " prompt " << i;
        }
    }
    // The prompts whose text carries numbers.
    DesignFixture fs(Input::Fs);
    fs.Script(CompleteRuns()[0].answers);
    DesignDialog(fs.session);
    EXPECT_EQ(fs.dialogs.shown[3], fs.Prompt("Blockl\x84nge Lc (ne=2)"));

    DesignFixture fl(Input::FL);
    fl.Script(CompleteRuns()[1].answers);
    DesignDialog(fl.session);
    EXPECT_EQ(fl.dialogs.shown[2], fl.Prompt("Federl\x84nge L0 (0=min, L1=45)"));
    const std::string solid = fl.dialogs.shown[4];
    EXPECT_EQ(solid.rfind(fl.Prompt("Blockl\x84nge Lc ("), 0), 0u) << solid;
    EXPECT_NE(solid.find(" .. 40.01)"), std::string::npos) << solid;
}

TEST(DesignDialog, EveryCancelStopsAndRecalculatesWithWhatWasEntered) {
    for (const DialogRun& run : CompleteRuns()) {
        for (std::size_t cancelAt = 0; cancelAt < run.answers.size(); ++cancelAt) {
            DesignFixture f(run.input);
            f.Script({run.answers.begin(), run.answers.begin() + static_cast<long>(cancelAt)});
            f.dialogs.Push(ScriptedDialogs::Cancelled());
            const bool done =
                run.input == Input::Frl ? FrlDesignDialog(f.session) : DesignDialog(f.session);
            const std::string where =
                std::string(run.name) + " cancel at " + std::to_string(cancelAt);
            EXPECT_FALSE(done) << where;
            EXPECT_TRUE(f.session.AbortFlag) << where;
            EXPECT_EQ(f.dialogs.shown.size(), cancelAt + 1) << where;
            EXPECT_TRUE(f.dialogs.unexpected.empty()) << where;
            if (cancelAt >= 1) {
                EXPECT_EQ(f.s.Dm, 22) << where;
            }
            if (cancelAt >= 2) {
                EXPECT_EQ(f.s.d, 3) << where;
            }
            if (f.s.nsec == 0) {
                // Cancelled before the design: the recalculation has nothing to work on.
                EXPECT_TRUE(f.session.messages.Contains("Fatal  : n = 0 !")) << where;
            } else {
                // The recalculation saw the working lengths as they were entered.
                EXPECT_EQ(f.s.sh, f.s.L1 - f.s.L2) << where;
                EXPECT_NEAR(f.s.L0, f.s.Lsec + f.s.Lend, 1e-12) << where;
            }
        }
    }
}

TEST(DesignDialog, CancelledWorkingLengthsAreNotStored) {
    // Index of the working-length form in each run.
    const std::size_t formAt[] = {2, 3, 2};
    // The form cancelled at once, and cancelled after a typed and a proposed length.
    const Answer cancels[] = {
        ScriptedDialogs::Cancelled(),
        ScriptedDialogs::Filled("WorkingLengthForm", {ScriptedDialogs::TypeIn("Edit_L2", "44"),
                                                      ScriptedDialogs::PressIn("Button_table"),
                                                      ScriptedDialogs::PressCancel()}),
    };
    for (std::size_t r = 0; r < CompleteRuns().size(); ++r) {
        const DialogRun& run = CompleteRuns()[r];
        for (std::size_t k = 0; k < std::size(cancels); ++k) {
            DesignFixture f(run.input);
            const real L1 = f.s.L1, L2 = f.s.L2, Lx = f.s.Lx;
            f.Script({run.answers.begin(), run.answers.begin() + static_cast<long>(formAt[r])});
            f.dialogs.Push(cancels[k]);
            if (run.input == Input::Frl)
                FrlDesignDialog(f.session);
            else
                DesignDialog(f.session);
            const std::string where = std::string(run.name) + " cancel " + std::to_string(k);
            ASSERT_EQ(f.dialogs.shown.size(), formAt[r] + 1) << where;
            EXPECT_EQ(f.dialogs.shown[formAt[r]], "WorkingLengthForm") << where;
            EXPECT_TRUE(f.dialogs.unexpected.empty()) << where;
            EXPECT_TRUE(f.session.AbortFlag) << where;
            EXPECT_EQ(f.s.L1, L1) << where;
            EXPECT_EQ(f.s.L2, L2) << where;
            EXPECT_EQ(f.s.Lx, Lx) << where;
        }
    }
}

TEST(DesignDialog, WorkingLengthFormByProposalsAndUnitToggle) {
    // F-L input: the three "<" buttons, Lx typed in inches, back to mm, OK.
    DesignFixture f(Input::FL);
    f.Script({T("22"), T("3"), T("50")});
    f.dialogs.Push(ScriptedDialogs::Filled(
        "WorkingLengthForm",
        {ScriptedDialogs::PressIn("Button_L1"), ScriptedDialogs::PressIn("Button_L2"),
         ScriptedDialogs::PressIn("Button_unit"), ScriptedDialogs::TypeIn("Edit_Lx", "1.75"),
         ScriptedDialogs::PressIn("Button_unit"), ScriptedDialogs::PressOk()}));
    f.dialogs.Push(ScriptedDialogs::Cancelled()); // the solid length
    real LcAtTheForm = 0;
    f.dialogs.onForm = [&](const FormModel&) { LcAtTheForm = f.s.Lc; };
    DesignDialog(f.session);
    EXPECT_TRUE(f.dialogs.unexpected.empty());
    EXPECT_EQ(f.session.config.unitSystem, 0);
    ASSERT_GT(LcAtTheForm, 0);
    // L0 = 50 is kept from the F-L input; 1.75 in = 44.45 mm.
    EXPECT_NEAR(f.s.L1, 50 - 0.1L * (50 - LcAtTheForm), 1e-9);
    EXPECT_NEAR(f.s.L2, (LcAtTheForm + 50) / 2, 1e-9);
    EXPECT_NEAR(f.s.Lx, 44.45L, 1e-9);
}

TEST(DesignDialog, FsInputHasNoProposalButtons) {
    DesignFixture f(Input::Fs);
    f.Script({T("22"), T("3")});
    f.dialogs.Push(ScriptedDialogs::Filled(
        "WorkingLengthForm",
        {ScriptedDialogs::PressIn("Button_L1"), ScriptedDialogs::TypeIn("Edit_L1", "46"),
         ScriptedDialogs::TypeIn("Edit_L2", "41"), ScriptedDialogs::TypeIn("Edit_Lx", "43.5"),
         ScriptedDialogs::PressOk()}));
    f.dialogs.Push(ScriptedDialogs::Cancelled()); // the solid length
    DesignDialog(f.session);
    ASSERT_EQ(f.dialogs.unexpected.size(), 1u);
    EXPECT_EQ(f.dialogs.unexpected[0], "WorkingLengthForm: no usable field \"Button_L1\"");
    f.dialogs.Settle();
    EXPECT_EQ(f.s.L1, 46);
    EXPECT_EQ(f.s.Lx, 43.5L);
}

TEST(DesignDialog, ZeroDiametersAskForProposals) {
    DesignFixture f(Input::Fs);
    // Dm 0 proposes again; d 0 proposes again; then both proposals are taken as shown.
    f.Script({T("0")});
    f.dialogs.Push(ScriptedDialogs::Cancelled());
    DesignDialog(f.session);
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[1], f.Prompt(text::kCoilDiameter));
    const real proposedDm = f.s.Dm;
    EXPECT_GT(proposedDm, 0);
    EXPECT_EQ(proposedDm, std::round(proposedDm * 10) / 10);

    DesignFixture g(Input::Fs);
    g.Script({T("22"), T("0")});
    g.dialogs.Push(ScriptedDialogs::Cancelled());
    DesignDialog(g.session);
    ASSERT_EQ(g.dialogs.shown.size(), 3u);
    EXPECT_EQ(g.dialogs.shown[2], g.Prompt(text::kWireDiameter));
    EXPECT_GT(g.s.d, 0);
    EXPECT_EQ(g.s.h, g.s.d);
}

TEST(DesignDialog, HeightOfRectangularWire) {
    for (auto [typed, expected] : {std::pair{"0", 3.0L}, std::pair{"1.5", 1.5L}}) {
        DesignFixture f(Input::Fs);
        f.s.wireType = 4;
        f.Script({T("22"), T("3"), T(typed)});
        f.dialogs.Push(ScriptedDialogs::Cancelled());
        DesignDialog(f.session);
        ASSERT_EQ(f.dialogs.shown.size(), 4u);
        EXPECT_EQ(f.dialogs.shown[2], f.Prompt(text::kWireHeight));
        EXPECT_EQ(f.s.h, expected) << typed;
    }
}

TEST(DesignDialog, FreeLengthOfFLInput) {
    // 40 is below Lmin = 47.5 (line through the first two points) and is asked again;
    // 0 takes Lmin itself.
    DesignFixture f(Input::FL);
    f.Script({T("22"), T("3"), T("40"), T("0")});
    f.dialogs.Push(ScriptedDialogs::Cancelled());
    DesignDialog(f.session);
    ASSERT_EQ(f.dialogs.shown.size(), 5u);
    EXPECT_EQ(f.dialogs.shown[3], f.dialogs.shown[2]);
    EXPECT_EQ(f.dialogs.shown[4], "WorkingLengthForm");
    EXPECT_NEAR(f.s.points[1].s, 2.5L, 1e-12); // 47.5 - 45
    EXPECT_NEAR(f.s.points[3].s, 7.5L, 1e-12);
}

TEST(DesignDialog, LargerFreeLengthExtendsTheSpring) {
    DesignFixture f(Input::Fs);
    f.Script({T("22"), T("3"), WorkingLengths("46", "41", "43.5"), T("40"), T("55")});
    ASSERT_TRUE(DesignDialog(f.session));
    EXPECT_FALSE(f.session.FatalFlag);
    EXPECT_NEAR(f.s.L0, 55, 1e-9);
    ASSERT_EQ(f.s.nchar, 4);
    EXPECT_NEAR(f.s.points[4].s, 15, 1e-9);
    EXPECT_NEAR(f.s.points[4].L, 40, 1e-9);
    EXPECT_NEAR(f.s.points[4].F, f.s.Fc, 1e-3L * f.s.Fc);
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(ForceAt(f.session, f.s.points[i].s), designed::kWished[i - 1].F,
                    1e-3L * designed::kWished[i - 1].F);
}

TEST(DesignDialog, TooFewPointsShowTheirBox) {
    const struct {
        Input input;
        int count;
        std::string_view box;
    } cases[] = {
        {Input::Fs, 1, text::kTooFewPoints},
        {Input::FL, 0, text::kTooFewPoints},
        {Input::Frl, 1, text::kFrlTooFewPoints},
    };
    for (const auto& c : cases) {
        DesignFixture f(c.input);
        f.s.nchar = c.count;
        f.session.FatalFlag = true;
        const bool done =
            c.input == Input::Frl ? FrlDesignDialog(f.session) : DesignDialog(f.session);
        EXPECT_FALSE(done);
        ASSERT_EQ(f.dialogs.infos.size(), 1u);
        EXPECT_EQ(f.dialogs.infos[0], f.Prompt(c.box));
        EXPECT_EQ(f.dialogs.shown.size(), 1u);                 // no prompt
        EXPECT_EQ(f.session.FatalFlag, c.input != Input::Frl); // the F,R-L dialog clears it
    }
}

TEST(DesignDialog, BadPointsShowTheMessageList) {
    DesignFixture f(Input::Fs);
    f.s.points[2].F = 40; // force falls
    f.Script({T("22"), T("3")});
    f.dialogs.Push(ScriptedDialogs::Cancelled()); // the message list
    EXPECT_FALSE(DesignDialog(f.session));
    EXPECT_TRUE(f.session.messages.Contains("Fatal  : Fi <= Fi-1 ! (2)"));
    ASSERT_EQ(f.dialogs.shown.size(), 2u + 3u); // Dm, d; one message, "Weiter", the list
    EXPECT_TRUE(f.dialogs.unexpected.empty());
    EXPECT_EQ(f.s.nsec, 0);
}

TEST(DesignDialog, WireProposalWithoutForceShowsTheMessageList) {
    DesignFixture f(Input::Fs);
    for (int i = 1; i <= 3; ++i)
        f.s.points[i].F = 0;
    f.Script({T("22")});
    f.dialogs.Push(ScriptedDialogs::Cancelled()); // the message list
    EXPECT_FALSE(DesignDialog(f.session));
    EXPECT_TRUE(f.session.messages.Contains("Fatal  : Fmax <= 0 !"));
    EXPECT_EQ(f.dialogs.shown.size(), 1u + 3u); // Dm; one message, "Weiter", the list
    EXPECT_TRUE(f.dialogs.unexpected.empty());
}

// --- Working-length form ---------------------------------------------------------------------

struct FormFixture {
    Session session;
    SpringRecord& s = session.spring;
    FormFixture() {
        s.L0 = 50;
        s.Lc = 30;
        s.L1 = 35.123456789L;
        s.L2 = 25;
        s.Lx = 30;
    }
};

TEST(WorkingLengthForm, LayoutBySource) {
    FormFixture f;
    WorkingLengthForm fs(f.session, DesignSource::FsPoints);
    for (const Field* button : {&fs.Button_L1, &fs.Button_L2, &fs.Button_Lx})
        EXPECT_FALSE(button->Visible()) << button->id;
    EXPECT_FALSE(fs.Label_L0.Visible());
    EXPECT_EQ(fs.Label_L0.Text(), "");
    EXPECT_EQ(fs.Edit_L1.Text(), "35.12");
    EXPECT_EQ(fs.Edit_L2.Text(), "25");
    EXPECT_EQ(fs.Edit_L1.Caption(), "Federl\x84nge L1");
    for (DesignSource source : {DesignSource::FlPoints, DesignSource::FrlRows}) {
        WorkingLengthForm fl(f.session, source);
        for (const Field* button : {&fl.Button_L1, &fl.Button_L2, &fl.Button_Lx}) {
            EXPECT_TRUE(button->Visible()) << button->id;
            EXPECT_EQ(button->Caption(), "<");
        }
        EXPECT_EQ(fl.Label_L0.Text(), "Federl\x84nge L0 =50  mm");
        EXPECT_EQ(fl.Edit_Lx.Unit(), "mm");
    }
}

TEST(WorkingLengthForm, QuickButtons) {
    FormFixture f;
    WorkingLengthForm form(f.session, DesignSource::FlPoints);
    form.Button_L1Click();
    form.Button_L2Click();
    EXPECT_EQ(form.Edit_L1.Text(), "48");
    EXPECT_EQ(form.Edit_L2.Text(), "40");
    form.Edit_L1.Type("46"); // Lx follows the fields, typed or not
    form.Button_LxClick();
    EXPECT_EQ(form.Edit_Lx.Text(), "43");
    form.Button_okClick();
    EXPECT_EQ(f.s.L1, 46);
    EXPECT_EQ(f.s.L2, 40);
    EXPECT_EQ(f.s.Lx, 43);
    EXPECT_FALSE(f.session.AbortFlag);
    EXPECT_EQ(form.Result(), FormResult::Ok);
}

TEST(WorkingLengthForm, HandlersReportTheFieldsTheyChanged) {
    FormFixture f;
    WorkingLengthForm form(f.session, DesignSource::FlPoints);
    std::vector<std::vector<std::string>> reports;
    form.onChanged = [&](const std::vector<const Field*>& changed) {
        std::vector<std::string> ids;
        for (const Field* field : changed)
            ids.push_back(field->id);
        reports.push_back(ids);
    };
    const struct {
        const char* button;
        std::vector<std::string> changed;
    } cases[] = {
        {"Button_L1", {"Edit_L1"}},
        {"Button_L2", {"Edit_L2"}},
        {"Button_Lx", {"Edit_Lx"}},
        {"Button_table", {"Edit_L1", "Edit_L2", "Edit_Lx"}},
        {"Button_unit", {"Label_L0", "Edit_L1", "Edit_L2", "Edit_Lx"}},
    };
    for (const auto& c : cases) {
        reports.clear();
        ASSERT_TRUE(form.Press(c.button)) << c.button;
        ASSERT_EQ(reports.size(), 1u) << c.button;
        EXPECT_EQ(reports[0], c.changed) << c.button;
    }
    reports.clear();
    EXPECT_TRUE(form.Type("Edit_L1", "47")); // typing alone changes nothing the view lacks
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(form.Type("Label_L0", "1")); // not an edit
}

TEST(WorkingLengthForm, TableButtonReadsTheEnteredRows) {
    FormFixture f;
    f.s.nfrl = 3;
    for (int i = 1; i <= 3; ++i)
        f.s.frl[i] = designed::kWishedRows[i - 1];
    WorkingLengthForm form(f.session, DesignSource::FrlRows);
    form.Button_tableClick();
    form.Button_okClick();
    EXPECT_EQ(f.s.L1, 47);
    EXPECT_EQ(f.s.Lx, 44);
    EXPECT_EQ(f.s.L2, 40);
}

TEST(WorkingLengthForm, UntouchedFieldsKeepTheirExactValue) {
    FormFixture f;
    WorkingLengthForm form(f.session, DesignSource::FsPoints);
    form.Button_okClick();
    EXPECT_EQ(f.s.L1, 35.123456789L);
}

TEST(WorkingLengthForm, UnitButtonKeepsTheFields) {
    FormFixture f;
    WorkingLengthForm form(f.session, DesignSource::FlPoints);
    form.Edit_L2.Type("26");
    form.Button_unitClick();
    EXPECT_EQ(f.session.config.unitSystem, 1);
    EXPECT_EQ(form.Edit_L2.Unit(), "in");
    EXPECT_EQ(form.Edit_L2.Text(), ShowShort(f.session.config, Quantity::Length, 26));
    EXPECT_EQ(form.Label_L0.Text(),
              "Federl\x84nge L0 =" + ShowShort(f.session.config, Quantity::Length, 50) + "  in");
    form.Button_okClick();
    EXPECT_EQ(f.s.L1, 35.123456789L);
    EXPECT_EQ(f.s.L2, 26);
    form.Button_unitClick();
    EXPECT_EQ(f.session.config.unitSystem, 0);
    EXPECT_EQ(form.Edit_L2.Text(), "26");
}

TEST(WorkingLengthForm, CancelLeavesTheSpring) {
    FormFixture f;
    WorkingLengthForm form(f.session, DesignSource::FlPoints);
    form.Edit_L1.Type("44");
    form.Button_cancelClick();
    EXPECT_TRUE(f.session.AbortFlag);
    EXPECT_EQ(f.s.L1, 35.123456789L);
    EXPECT_EQ(form.Result(), FormResult::Cancel);
}

// --- Multiplier ------------------------------------------------------------------------------

struct MultiplierFixture {
    ScriptedDialogs dialogs;
    Session session{dialogs};
    SpringRecord& s = session.spring;
    MultiplierFixture() {
        examples::ThreeSections(session);
        designed::SpringWire(session);
    }
};

TEST(Multiplier, EmptyTableFromTheSectionMenu) {
    MultiplierFixture f;
    f.s.nsec = 0;
    Multiplier(f.session, SectionCaller::SectionMenu);
    EXPECT_TRUE(f.session.messages.Contains(design_text::kNoSections));
    EXPECT_TRUE(f.session.messages.Contains("Fatal  : n = 0 !"));
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(Multiplier, EmptyTableFromTheTableForm) {
    MultiplierFixture f;
    f.s.nsec = 0;
    Multiplier(f.session, SectionCaller::TableForm);
    ASSERT_EQ(f.dialogs.errors.size(), 1u);
    EXPECT_EQ(f.dialogs.errors[0], "Fehler : keine Abschnitte eingegeben !");
    EXPECT_EQ(f.session.messages.Count(), 0);
    EXPECT_EQ(f.dialogs.shown.size(), 1u);
}

TEST(Multiplier, ScalesCoilsThenFreeLength) {
    MultiplierFixture f;
    CalculateSpring(f.session);
    const real Lend = f.s.Lend;
    f.dialogs.Push(ScriptedDialogs::Typed("12"));
    f.dialogs.Push(ScriptedDialogs::Typed("90"));
    Multiplier(f.session, SectionCaller::SectionMenu);
    EXPECT_TRUE(f.dialogs.unexpected.empty());
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[0], WindowText(f.session.config, text::kCoilCount));
    EXPECT_EQ(f.dialogs.shown[1], WindowText(f.session.config, text::kFreeLength) + " [mm]");
    EXPECT_FALSE(f.session.FatalFlag);
    EXPECT_NEAR(f.s.n, 12, 1e-12);
    EXPECT_NEAR(f.s.sections[1].ni, 3, 1e-12);
    EXPECT_NEAR(f.s.L0, 90, 1e-12);
    EXPECT_NEAR(f.s.Lend, Lend, 1e-12);
}

TEST(Multiplier, UnchangedAnswersChangeNothing) {
    MultiplierFixture f;
    CalculateSpring(f.session);
    const auto before = f.s.sections;
    f.dialogs.Push(ScriptedDialogs::Typed("8"));
    f.dialogs.Push(ScriptedDialogs::Typed(ShortFormat(f.session.config, f.s.L0)));
    Multiplier(f.session, SectionCaller::SectionMenu);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(f.s.sections[i].ni, before[i].ni);
        EXPECT_EQ(f.s.sections[i].L0i, before[i].L0i);
    }
}

TEST(Multiplier, CancelAtEachPrompt) {
    for (int cancelAt : {0, 1}) {
        MultiplierFixture f;
        if (cancelAt == 1) f.dialogs.Push(ScriptedDialogs::Typed("16"));
        f.dialogs.Push(ScriptedDialogs::Cancelled());
        Multiplier(f.session, SectionCaller::TableForm);
        EXPECT_TRUE(f.session.AbortFlag);
        EXPECT_EQ(f.dialogs.shown.size(), static_cast<std::size_t>(cancelAt + 1));
        EXPECT_NEAR(f.s.n, cancelAt == 1 ? 16 : 8, 1e-12);
        EXPECT_NEAR(f.s.sections[3].L0i, 30, 1e-12); // the lengths stay
    }
}

TEST(Multiplier, FatalSpringShowsTheMessageList) {
    MultiplierFixture f;
    f.s.L2 = f.s.L1;                              // sh = 0
    f.dialogs.Push(ScriptedDialogs::Cancelled()); // the message list
    Multiplier(f.session, SectionCaller::SectionMenu);
    EXPECT_TRUE(f.session.messages.Contains("Fatal  : sh <= 0 !"));
    EXPECT_TRUE(f.dialogs.unexpected.empty());
    for (const auto& shown : f.dialogs.shown)
        EXPECT_NE(shown, WindowText(f.session.config, text::kCoilCount));
}

TEST(Multiplier, LongSpringKeepsItsFreeLengthSelectable) {
    MultiplierFixture f;
    examples::SetSections(f.s, {{600, 10}, {600, 10}});
    f.s.L1 = 1100;
    f.s.L2 = 1000;
    f.s.Lx = 1050;
    CalculateSpring(f.session);
    ASSERT_GT(f.s.L0, 1000);
    f.dialogs.Push(ScriptedDialogs::Typed("20"));
    f.dialogs.Push(ScriptedDialogs::Typed(ShortFormat(f.session.config, f.s.L0)));
    Multiplier(f.session, SectionCaller::SectionMenu);
    EXPECT_TRUE(f.dialogs.errors.empty()); // no "Gültiger Wertebereich" for its own L0
    EXPECT_TRUE(f.dialogs.unexpected.empty());
}

} // namespace
} // namespace kora

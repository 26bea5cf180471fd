#include "ui/design_dialogs.h"

#include "base/numformat.h"
#include "base/units.h"
#include "calc/dialog_calls.h"
#include "calc/message_window.h"
#include "calc/session.h"
#include "engine/calculate.h"
#include "engine/design.h"

#include <algorithm>
#include <string>

namespace kora {
namespace {

namespace text = design_dialog_text;

constexpr real kProposalForceFactor = 1.33L; // margin above the last point's force
constexpr real kDiameterLimit = 10000;
constexpr real kLengthLimit = 100000;
constexpr real kMultiplierMinCoils = 0.5L;
constexpr real kMultiplierMaxCoils = 1000;
constexpr real kMultiplierMaxL0 = 1000;
constexpr real kLengthSlack = 0.01L;

// The platform's plain message box of the design dialogs.
void PlainBox(Session& session, std::string_view message) {
    session.dialogs->ShowInfo(DialogText(session.config, message), "");
}

// A cancelled step: recalculate with what was entered so far; AbortFlag stays set.
bool Cancelled(Session& session) {
    CalculateSpring(session);
    return false;
}

std::string Short(const Session& session, real x) {
    return ShortFormat(session.config, x);
}

// Step 2: Dm, proposed when 0 and again whenever 0 is entered.
bool AskCoilDiameter(Session& session, real F) {
    SpringRecord& s = session.spring;
    if (s.Dm == 0) s.Dm = ProposeCoilDiameter(session, F);
    for (;;) {
        real Dm = s.Dm;
        if (!InputReal(session, text::kCoilDiameter, Dm, kDiameterLimit, 0)) return false;
        if (Dm != 0) {
            s.Dm = Dm;
            return true;
        }
        s.Dm = ProposeCoilDiameter(session, F);
    }
}

// d from the force and the current Dm; false (list shown) when the proposal is fatal.
bool ProposeWire(Session& session, real F) {
    session.ClearMessages();
    ProposeWireDiameter(session, F);
    session.spring.h = session.spring.d;
    if (!session.FatalFlag) return true;
    ShowMessageList(session);
    return false;
}

enum class Step { Done, Cancelled, Failed };

// Step 3: d (proposed when 0) and, for elliptical and rectangular wire, h.
Step AskWireSize(Session& session, real F) {
    SpringRecord& s = session.spring;
    if (s.d == 0 && !ProposeWire(session, F)) return Step::Failed;
    for (;;) {
        real d = s.d;
        if (!InputReal(session, text::kWireDiameter, d, kDiameterLimit, 0)) return Step::Cancelled;
        if (d != 0) {
            s.d = d;
            break;
        }
        if (!ProposeWire(session, F)) return Step::Failed;
    }
    if (s.wireType != 2 && s.wireType != 4) return Step::Done;
    real h = s.h;
    if (!InputReal(session, text::kWireHeight, h, kDiameterLimit, 0)) return Step::Cancelled;
    s.h = h == 0 ? s.d : h;
    return Step::Done;
}

// Step 4 of F-L input: L0 no shorter than where the first two points put F = 0.
bool AskFreeLengthForPoints(Session& session) {
    SpringRecord& s = session.spring;
    const real Lmin = MinimumFreeLength(s);
    if (s.L0 == 0) s.L0 = Lmin;
    std::string prompt(text::kFreeLengthMinStart);
    prompt += Short(session, s.points[1].L);
    prompt += text::kFreeLengthMinEnd;
    for (;;) {
        real L0 = s.L0;
        if (!InputReal(session, prompt, L0, kLengthLimit, 0)) return false;
        s.L0 = L0 == 0 ? Lmin : L0;
        if (s.L0 >= Lmin - kLengthSlack) return true;
    }
}

void DeflectionsFromFreeLength(SpringRecord& s) {
    for (int i = 1; i <= std::min<std::int32_t>(s.nchar, kMaxPoints); ++i)
        s.points[i].s = s.L0 - s.points[i].L;
}

// Step 6: the working-length form; its OK stores the lengths, its Cancel sets AbortFlag.
bool AskWorkingLengths(Session& session, DesignSource source) {
    WorkingLengthForm form(session, source);
    return session.dialogs->ShowForm(form);
}

// Step 7: the solid length; its change goes into the dead coils.
bool AskSolidLength(Session& session, bool byLength) {
    SpringRecord& s = session.spring;
    std::string prompt;
    real maximum = kLengthLimit;
    if (byLength) {
        maximum = s.points[std::clamp<std::int32_t>(s.nchar, 1, kMaxPoints)].L + kLengthSlack;
        prompt.append(text::kSolidLengthRangeStart).append(Short(session, s.Lcth));
        prompt.append(text::kRangeMiddle).append(Short(session, maximum)).append(text::kClose);
    } else {
        prompt.append(text::kSolidLengthNeStart).append(Short(session, s.ne)).append(text::kClose);
    }
    real Lc = s.Lc;
    if (!InputReal(session, prompt, Lc, maximum, s.Lcth)) return false;
    SpreadSolidLength(s, Lc);
    return true;
}

enum class DesignInput { Points, FrlRows };

bool RunDesignDialog(Session& session, DesignInput input) {
    SpringRecord& s = session.spring;
    const bool frl = input == DesignInput::FrlRows;
    const bool byLength = frl || s.charCoordinate == 2;
    if (frl) session.FatalFlag = false;
    if (s.nchar < 2) {
        PlainBox(session, frl ? text::kFrlTooFewPoints : text::kTooFewPoints);
        return false;
    }
    const real F = kProposalForceFactor * s.points[std::min<std::int32_t>(s.nchar, kMaxPoints)].F;
    if (!AskCoilDiameter(session, F)) return Cancelled(session);
    switch (AskWireSize(session, F)) {
    case Step::Done:
        break;
    case Step::Cancelled:
        return Cancelled(session);
    case Step::Failed:
        return false;
    }
    if (byLength) {
        if (!frl && !AskFreeLengthForPoints(session)) return Cancelled(session);
        DeflectionsFromFreeLength(s);
    }
    const real keptL0 = s.L0;

    if (!DesignSections(session)) {
        ShowMessageList(session);
        return false;
    }
    CalculateSpring(session);
    if (byLength) s.L0 = keptL0;

    const DesignSource source = frl        ? DesignSource::FrlRows
                                : byLength ? DesignSource::FlPoints
                                           : DesignSource::FsPoints;
    if (!AskWorkingLengths(session, source)) return Cancelled(session);
    if (!AskSolidLength(session, byLength)) return Cancelled(session);
    CalculateSpring(session);

    real L0 = keptL0;
    if (!byLength) {
        L0 = s.L0;
        if (!InputReal(session, text::kFreeLength, L0, kLengthLimit, s.L0))
            return Cancelled(session);
    }
    ExtendFreeLength(s, L0);
    AlignPointsWithFreeLength(s);
    CalculateSpring(session);
    if (session.FatalFlag) ShowMessageList(session);
    return true;
}

} // namespace

WorkingLengthForm::WorkingLengthForm(Session& session, DesignSource source)
    : FormModel("WorkingLengthForm"), session_(session), source_(source) {
    for (Field* edit : {&Edit_L1, &Edit_L2, &Edit_Lx})
        edit->quantity = Quantity::Length;
    Button_L1.onEvent = [this] { Button_L1Click(); };
    Button_L2.onEvent = [this] { Button_L2Click(); };
    Button_Lx.onEvent = [this] { Button_LxClick(); };
    Button_table.onEvent = [this] { Button_tableClick(); };
    Button_unit.onEvent = [this] { Button_unitClick(); };
    FormShow();
}

void WorkingLengthForm::FormShow() {
    const SpringRecord& s = session_.spring;
    const bool quick = source_ != DesignSource::FsPoints; // the "<" buttons and the L0 line
    for (Field* button : {&Button_L1, &Button_L2, &Button_Lx})
        button->SetVisible(quick);
    Label_L0.SetVisible(quick);
    ShowL0();
    Edit_L1.Show(session_.config, s.L1);
    Edit_L2.Show(session_.config, s.L2);
    Edit_Lx.Show(session_.config, s.Lx);
}

// "Federlänge L0 =" + L0 + "  " + unit for F-L and F,R-L input, else empty.
void WorkingLengthForm::ShowL0() {
    if (source_ == DesignSource::FsPoints) {
        Label_L0.SetText({});
        return;
    }
    std::string label(text::kFreeLengthIs);
    label += ShowShort(session_.config, Quantity::Length, session_.spring.L0);
    label += text::kUnitGap;
    label += UnitLabel(session_.config, Quantity::Length);
    Label_L0.SetText(std::move(label));
}

void WorkingLengthForm::Button_L1Click() {
    Edit_L1.Show(session_.config, ProposedL1(session_.spring));
}
void WorkingLengthForm::Button_L2Click() {
    Edit_L2.Show(session_.config, ProposedL2(session_.spring));
}
void WorkingLengthForm::Button_LxClick() {
    Edit_Lx.Show(session_.config,
                 ProposedLx(Edit_L1.Value(session_.config), Edit_L2.Value(session_.config)));
}

void WorkingLengthForm::Button_tableClick() {
    const WorkingLengths lengths =
        WorkingLengthsFromTable(session_.spring, source_ == DesignSource::FrlRows);
    Edit_L1.Show(session_.config, lengths.L1);
    Edit_L2.Show(session_.config, lengths.L2);
    Edit_Lx.Show(session_.config, lengths.Lx);
}

void WorkingLengthForm::Button_unitClick() {
    const real L1 = Edit_L1.Value(session_.config);
    const real L2 = Edit_L2.Value(session_.config);
    const real Lx = Edit_Lx.Value(session_.config);
    int& unitSystem = session_.config.unitSystem;
    unitSystem = unitSystem == 1 ? 0 : 1;
    Edit_L1.Show(session_.config, L1);
    Edit_L2.Show(session_.config, L2);
    Edit_Lx.Show(session_.config, Lx);
    ShowL0();
}

void WorkingLengthForm::Button_okClick() {
    SpringRecord& s = session_.spring;
    s.L1 = Edit_L1.Value(session_.config);
    s.L2 = Edit_L2.Value(session_.config);
    s.Lx = Edit_Lx.Value(session_.config);
    session_.AbortFlag = false;
    Close(FormResult::Ok);
}

void WorkingLengthForm::Button_cancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

bool DesignDialog(Session& session) {
    return RunDesignDialog(session, DesignInput::Points);
}

bool FrlDesignDialog(Session& session) {
    return RunDesignDialog(session, DesignInput::FrlRows);
}

void Multiplier(Session& session, SectionCaller caller) {
    SpringRecord& s = session.spring;
    if (s.nsec == 0) {
        if (caller == SectionCaller::TableForm) {
            ShowError(session, design_text::kNoSections);
            return;
        }
        session.Message(design_text::kNoSections);
        CalculateSpring(session);
        return;
    }
    CalculateSpring(session);
    if (session.FatalFlag || session.AbortFlag || s.n == 0) {
        ShowMessageList(session);
        return;
    }
    // Each confirmed change is calculated at once, so a cancel leaves a calculated spring.
    real n = s.n;
    if (!InputReal(session, text::kCoilCount, n, kMultiplierMaxCoils, kMultiplierMinCoils)) return;
    if (n != s.n) {
        ScaleCoilCounts(s, n);
        CalculateSpring(session);
        if (session.FatalFlag) {
            ShowMessageList(session);
            return;
        }
    }
    // The upper limit never shuts out the spring's own free length.
    real L0 = s.L0;
    if (!InputLength(session, text::kFreeLength, L0, std::max(kMultiplierMaxL0, s.L0), s.Lc))
        return;
    if (s.Lend >= s.L0) return;
    if (L0 != s.L0 && ScaleFreeLength(s, L0)) CalculateSpring(session);
}

} // namespace kora

#include "ui/view_forms.h"

#include "base/numformat.h"
#include "base/program.h"
#include "base/units.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "graphics/spring_views.h"
#include "graphics/view_texts.h"
#include "graphics/window_mapping.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace kora {
namespace {

namespace text = view_text;

constexpr real kDegree = std::numbers::pi_v<real> / 180;
constexpr int kFullTurn = 360;

bool Finite(real v) {
    return std::isfinite(static_cast<double>(v));
}

real ReadLength(const Session& session, std::string_view typed) {
    return ReadValue(session.config, Quantity::Length, typed);
}

std::string LengthRangeError(const Configuration& c, real minimum, real maximum) {
    return kora::RangeError(ShowShort(c, Quantity::Length, minimum),
                            ShowShort(c, Quantity::Length, maximum));
}

} // namespace

// ---- Installation-length form ----

TForm_talmdxf::TForm_talmdxf(Session& session) : FormModel("TForm_talmdxf"), session_(session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    Caption = std::string(kProgramTitle);
    HelpTopic = session.HelpTopic;
    Edit_l.SetCaption(std::string(text::kInstallLength));
    Edit_l.quantity = Quantity::Length;
    auto whole = [&](real shown) {
        if (!Finite(shown)) return kTrackMin;
        return std::clamp(RoundToInt(std::clamp<real>(shown, kTrackMin, kTrackMax)), kTrackMin,
                          kTrackMax);
    };
    const int min = whole(ToDisplayUnit(c, Quantity::Length, s.Lc) + 0.5L);
    const int max = std::max(min, whole(ToDisplayUnit(c, Quantity::Length, s.L0) - 0.5L));
    TrackBar1.range = FieldRange{static_cast<real>(min), static_cast<real>(max)};
    Edit_l.onEvent = [this] { Edit_lChange(); };
    TrackBar1.onEvent = [this] { TrackBar1Exit(); };
    Button_up.onEvent = [this] { Button_upClick(); };
    Button_Lc.onEvent = [this] { Button_LcClick(); };
    Button_L2.onEvent = [this] { Button_L2Click(); };
    Button_L1.onEvent = [this] { Button_L1Click(); };
    Button_L0.onEvent = [this] { Button_L0Click(); };
    Put(s.Lview);
}

void TForm_talmdxf::Put(real L) {
    Edit_l.Show(session_.config, L);
    Edit_lChange();
}

real TForm_talmdxf::Take() const {
    return Edit_l.ValueBy([&](std::string_view typed) { return ReadLength(session_, typed); });
}

void TForm_talmdxf::Edit_lChange() {
    const real shown = ToDisplayUnit(session_.config, Quantity::Length, Take());
    if (!Finite(shown)) return;
    const int min = static_cast<int>(TrackBar1.range->min);
    const int max = static_cast<int>(TrackBar1.range->max);
    TrackBar1.SetIndex(std::clamp(RoundToInt(std::clamp<real>(shown, min, max)), min, max));
}

void TForm_talmdxf::TrackBar1Exit() {
    Edit_l.SetText(std::to_string(TrackBar1.Index()));
}

void TForm_talmdxf::Button_LcClick() {
    Put(session_.spring.Lc);
}
void TForm_talmdxf::Button_L2Click() {
    Put(session_.spring.L2);
}
void TForm_talmdxf::Button_L1Click() {
    Put(session_.spring.L1);
}
void TForm_talmdxf::Button_L0Click() {
    Put(session_.spring.L0);
}

bool TForm_talmdxf::Button_okClick() {
    SpringRecord& s = session_.spring;
    const real L = Take();
    // A typed length may be the shown, rounded Lc or L0: the short format is good to 5e-4.
    const real tolerance = 0.0005L * std::max(std::fabs(s.L0), std::fabs(s.Lc));
    if (!Finite(L) || L < s.Lc - tolerance || L > s.L0 + tolerance) {
        ShowError(session_, LengthRangeError(session_.config, s.Lc, s.L0));
        return false;
    }
    s.Lview = L;
    session_.AbortFlag = false;
    Close(FormResult::Ok);
    return true;
}

void TForm_talmdxf::Button_cancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

int TForm_talmdxf::Button_helpClick() const {
    return session_.HelpTopic;
}

// ---- Rotation form ----

TForm_cadutil8::TForm_cadutil8(Session& session, const std::array<real, 3>& angles)
    : FormModel("TForm_cadutil8"), session_(session), angles_(angles) {
    Caption = std::string(text::kRotationCaption);
    for (int i = 0; i < 3; ++i) {
        BarOf(i).range = FieldRange{-kFullTurn, kFullTurn};
        EditOf(i).SetUnit(UnitLabel(session.config, Quantity::Angle));
        EditOf(i).onEvent = [this, i] { MoveBar(i); };
        BarOf(i).onEvent = [this, i] { Put(i, BarOf(i).Index()); };
        Put(i, angles[static_cast<std::size_t>(i)] / kDegree);
    }
    Button_xy.onEvent = [this] { Button_xyClick(); };
    Button_xz.onEvent = [this] { Button_xzClick(); };
    Button_yz.onEvent = [this] { Button_yzClick(); };
    Button_reset.onEvent = [this] { Button_resetClick(); };
}

Field& TForm_cadutil8::EditOf(int i) {
    return i == 0 ? Edit_x : i == 1 ? Edit_y : Edit_z;
}

Field& TForm_cadutil8::BarOf(int i) {
    return i == 0 ? ScrollBar_x : i == 1 ? ScrollBar_y : ScrollBar_z;
}

void TForm_cadutil8::Put(int i, real degrees) {
    EditOf(i).Show(degrees, ShortFormat(session_.config, degrees));
    if (Finite(degrees))
        BarOf(i).SetIndex(std::clamp(RoundToInt(std::clamp<real>(degrees, -kFullTurn, kFullTurn)),
                                     -kFullTurn, kFullTurn));
}

real TForm_cadutil8::Take(int i) {
    return EditOf(i).ValueBy(ParseReal);
}

void TForm_cadutil8::MoveBar(int i) {
    const real v = Take(i);
    if (Finite(v)) BarOf(i).SetIndex(RoundToInt(std::clamp<real>(v, -kFullTurn, kFullTurn)));
}

void TForm_cadutil8::ScrollBar_xChange() {
    Put(0, ScrollBar_x.Index());
}
void TForm_cadutil8::ScrollBar_yChange() {
    Put(1, ScrollBar_y.Index());
}
void TForm_cadutil8::ScrollBar_zChange() {
    Put(2, ScrollBar_z.Index());
}
void TForm_cadutil8::Edit_xExit() {
    MoveBar(0);
}
void TForm_cadutil8::Edit_yExit() {
    MoveBar(1);
}
void TForm_cadutil8::Edit_zExit() {
    MoveBar(2);
}

void TForm_cadutil8::Button_xyClick() {
    Put(0, 0);
    Put(1, 90);
    Put(2, -kFullTurn);
}
void TForm_cadutil8::Button_xzClick() {
    Put(0, 0);
    Put(1, -kFullTurn);
    Put(2, 90);
}
void TForm_cadutil8::Button_yzClick() {
    Put(0, -kFullTurn);
    Put(1, 0);
    Put(2, 90);
}
void TForm_cadutil8::Button_resetClick() {
    for (int i = 0; i < 3; ++i) {
        EditOf(i).SetText(std::string(text::kProposedAngles[static_cast<std::size_t>(i)]));
        MoveBar(i);
    }
}

void TForm_cadutil8::Button_okClick() {
    for (int i = 0; i < 3; ++i) {
        const real degrees = Take(i);
        if (Finite(degrees)) angles_[static_cast<std::size_t>(i)] = degrees * kDegree;
    }
    session_.AbortFlag = false;
    Close(FormResult::Ok);
}

void TForm_cadutil8::Button_cancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

// ---- Animation form ----

TForm_koraani::TForm_koraani(Session& session, bool singleStep)
    : FormModel("TForm_koraani"), session_(session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    Caption = std::string(kProgramTitle) + std::string(text::kAnimationCaption);
    HelpTopic = session.HelpTopic;
    Edit_l1.SetCaption(std::string(text::kLargestLength));
    Edit_l2.SetCaption(std::string(text::kSmallestLength));
    Edit_frames.SetCaption(std::string(text::kFrames));
    Edit_repeats.SetCaption(std::string(text::kRepetitions));
    Edit_pause.SetCaption(std::string(text::kPause));
    Edit_pause.SetUnit(std::string(text::kPauseUnit));
    CheckBox_step.SetCaption(std::string(text::kSingleStep));
    Edit_l1.quantity = Edit_l2.quantity = Quantity::Length;
    Edit_l1.Show(c, s.L0);
    Edit_l2.Show(c, s.Lc + 0.02L);
    Edit_frames.SetText(std::string(text::kDefaultFrames));
    Edit_repeats.SetText(std::string(text::kDefaultRepetitions));
    Edit_pause.SetText(std::string(text::kDefaultPause));
    CheckBox_step.SetChecked(singleStep);
    Button_L1.onEvent = [this] { Button_L1Click(); };
    Button_L0.onEvent = [this] { Button_L0Click(); };
    Button_L2.onEvent = [this] { Button_L2Click(); };
    Button_Ln.onEvent = [this] { Button_LnClick(); };
    Button_Lc.onEvent = [this] { Button_LcClick(); };
    Button_frames.onEvent = [this] { Button_framesClick(); };
    Button_repeats.onEvent = [this] { Button_repeatsClick(); };
    Button_pause.onEvent = [this] { Button_pauseClick(); };
}

void TForm_koraani::Button_L1Click() {
    Edit_l1.Show(session_.config, session_.spring.L1);
}
void TForm_koraani::Button_L0Click() {
    Edit_l1.Show(session_.config, session_.spring.L0);
}
void TForm_koraani::Button_L2Click() {
    Edit_l2.Show(session_.config, session_.spring.L2);
}
void TForm_koraani::Button_LnClick() {
    Edit_l2.Show(session_.config, session_.spring.Ln);
}
void TForm_koraani::Button_LcClick() {
    Edit_l2.Show(session_.config, session_.spring.Lc);
}
void TForm_koraani::Button_framesClick() {
    Edit_frames.SetText(std::string(text::kProposedFrames));
}
void TForm_koraani::Button_repeatsClick() {
    Edit_repeats.SetText(std::string(text::kProposedRepetitions));
}
void TForm_koraani::Button_pauseClick() {
    Edit_pause.SetText(std::string(text::kProposedPause));
}

void TForm_koraani::Button_okClick() {
    const SpringRecord& s = session_.spring;
    const real lo = std::min(s.Lc, s.L0), hi = std::max(s.Lc, s.L0);
    auto length = [&](real L) { return L >= lo ? std::min(L, hi) : lo; }; // no number -> Lc
    settings_.largest = length(Edit_l1.Value(session_.config));
    settings_.smallest = length(Edit_l2.Value(session_.config));
    settings_.frames =
        std::clamp<int>(ParseInteger(Edit_frames.Text()), AnimationSettings::kMinFrames,
                        AnimationSettings::kMaxFrames);
    settings_.repetitions =
        std::clamp<int>(ParseInteger(Edit_repeats.Text()), AnimationSettings::kMinRepetitions,
                        AnimationSettings::kMaxRepetitions);
    settings_.pause = std::max<int>(0, ParseInteger(Edit_pause.Text()));
    settings_.singleStep = CheckBox_step.Checked();
    session_.AbortFlag = false;
    Close(FormResult::Ok);
}

void TForm_koraani::Button_cancelClick() {
    session_.AbortFlag = true;
    Close(FormResult::Cancel);
}

int TForm_koraani::Button_helpClick() const {
    return session_.HelpTopic;
}

// ---- Sequences ----

bool AskInstallLength(Session& session) {
    TForm_talmdxf form(session);
    return session.dialogs->ShowForm(form);
}

std::optional<AnimationSettings> AskAnimation(Session& session, bool singleStep) {
    TForm_koraani form(session, singleStep);
    if (!session.dialogs->ShowForm(form)) return std::nullopt;
    return form.Settings();
}

std::optional<std::array<real, 3>> AskRotation(Session& session,
                                               const std::array<real, 3>& angles) {
    TForm_cadutil8 form(session, angles);
    if (!session.dialogs->ShowForm(form)) return std::nullopt;
    return form.Angles();
}

void AttachViewForms(SpringViews& views) {
    views.askInstallLength = AskInstallLength;
    views.askAnimation = AskAnimation;
    views.askRotation = AskRotation;
}

} // namespace kora

#include "graphics/spring_animation.h"

#include "base/numformat.h"
#include "base/program.h"
#include "base/units.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "graphics/cad_output.h"
#include "graphics/display_list.h"
#include "graphics/spring_views.h"
#include "graphics/view_texts.h"

#include <algorithm>

namespace kora {
namespace text = view_text;

namespace {

constexpr int kFrameLayer = 5;
constexpr std::size_t kInputLength = 30;

} // namespace

TForm_koraani::TForm_koraani(Session& session, bool singleStep) : session_(session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    Caption = std::string(kProgramTitle) + std::string(text::kAnimationCaption);
    Label_l1 = std::string(text::kLargestLength);
    Label_l2 = std::string(text::kSmallestLength);
    Label_frames = std::string(text::kFrames);
    Label_repeats = std::string(text::kRepetitions);
    Label_pause = std::string(text::kPause);
    Label_lengthUnit = UnitLabel(c, Quantity::Length);
    Label_pauseUnit = std::string(text::kPauseUnit);
    CheckBox_stepCaption = std::string(text::kSingleStep);
    Put(Edit_l1, shownL1_, s.L0);
    Put(Edit_l2, shownL2_, s.Lc + 0.02L);
    Edit_frames = std::string(text::kDefaultFrames);
    Edit_repeats = std::string(text::kDefaultRepetitions);
    Edit_pause = std::string(text::kDefaultPause);
    CheckBox_step = singleStep;
}

void TForm_koraani::Put(std::string& edit, LengthEdit& shown, real L) {
    edit = ShowShort(session_.config, Quantity::Length, L);
    shown = {edit, L};
}

real TForm_koraani::Take(const std::string& edit, const LengthEdit& shown) const {
    if (edit == shown.shown) return shown.value;
    return ReadValue(session_.config, Quantity::Length, edit);
}

void TForm_koraani::Button_L1Click() {
    Put(Edit_l1, shownL1_, session_.spring.L1);
}
void TForm_koraani::Button_L0Click() {
    Put(Edit_l1, shownL1_, session_.spring.L0);
}
void TForm_koraani::Button_L2Click() {
    Put(Edit_l2, shownL2_, session_.spring.L2);
}
void TForm_koraani::Button_LnClick() {
    Put(Edit_l2, shownL2_, session_.spring.Ln);
}
void TForm_koraani::Button_LcClick() {
    Put(Edit_l2, shownL2_, session_.spring.Lc);
}
void TForm_koraani::Button_framesClick() {
    Edit_frames = std::string(text::kProposedFrames);
}
void TForm_koraani::Button_repeatsClick() {
    Edit_repeats = std::string(text::kProposedRepetitions);
}
void TForm_koraani::Button_pauseClick() {
    Edit_pause = std::string(text::kProposedPause);
}

void TForm_koraani::Button_okClick() {
    const SpringRecord& s = session_.spring;
    const real lo = std::min(s.Lc, s.L0), hi = std::max(s.Lc, s.L0);
    auto length = [&](real L) { return L >= lo ? std::min(L, hi) : lo; }; // no number -> Lc
    settings_.largest = length(Take(Edit_l1, shownL1_));
    settings_.smallest = length(Take(Edit_l2, shownL2_));
    settings_.frames = std::clamp<int>(ParseInteger(Edit_frames), AnimationSettings::kMinFrames,
                                       AnimationSettings::kMaxFrames);
    settings_.repetitions =
        std::clamp<int>(ParseInteger(Edit_repeats), AnimationSettings::kMinRepetitions,
                        AnimationSettings::kMaxRepetitions);
    settings_.pause = std::max<int>(0, ParseInteger(Edit_pause));
    settings_.singleStep = CheckBox_step;
    session_.AbortFlag = false;
    ModalResult = Result::Ok;
}

void TForm_koraani::Button_cancelClick() {
    session_.AbortFlag = true;
    ModalResult = Result::Cancel;
}

int TForm_koraani::Button_helpClick() const {
    return session_.HelpTopic;
}

bool AskAnimationOneByOne(Session& session, TForm_koraani& form) {
    struct Field {
        const std::string& label;
        const std::string& unit;
        std::string& edit;
    };
    const std::string none;
    const Field fields[] = {{form.Label_l1, form.Label_lengthUnit, form.Edit_l1},
                            {form.Label_l2, form.Label_lengthUnit, form.Edit_l2},
                            {form.Label_frames, none, form.Edit_frames},
                            {form.Label_repeats, none, form.Edit_repeats},
                            {form.Label_pause, form.Label_pauseUnit, form.Edit_pause}};
    for (const Field& f : fields) {
        std::string typed = f.edit;
        const std::string prompt = f.unit.empty() ? f.label : f.label + " [" + f.unit + "]";
        if (!InputText(session, prompt, kInputLength, typed)) {
            form.Button_cancelClick();
            return false;
        }
        f.edit = typed;
    }
    if (!AskYesNo(session, form.CheckBox_stepCaption, form.CheckBox_step)) {
        form.Button_cancelClick();
        return false;
    }
    form.Button_okClick();
    return true;
}

int AnimationFrames(CadOutput& cad, Session& session, DisplayList* display, GraphicsHost* host,
                    ViewKind kind, const AnimationSettings& settings) {
    const int frames =
        std::clamp(settings.frames, AnimationSettings::kMinFrames, AnimationSettings::kMaxFrames);
    const int repetitions = std::clamp(settings.repetitions, AnimationSettings::kMinRepetitions,
                                       AnimationSettings::kMaxRepetitions);
    const int pause = std::max(0, settings.pause);
    int shown = 0;
    // Frame k of the way from A to B lies at A + k (B - A) / N, so the turning lengths are
    // drawn once per way whatever the rounding.
    auto way = [&](real A, real B) {
        for (int k = 0; k < frames; ++k) {
            if (session.AbortFlag) return;
            const real C = A + (B - A) * k / frames;
            const real F = ForceAtLength(session, C);
            cad.CadPageStart(); // the display list holds the sheet and this frame only
            cad.CadLayer(kFrameLayer);
            if (kind == ViewKind::Schema)
                SectionSchema(cad, session, C, F, false);
            else
                CutDrawing(cad, session, kind, C, F, false);
            ++shown;
            if (!host) continue;
            host->ShowFrame(pause);
            if (display && display->singleStep && !session.AbortFlag && !host->AnimationStep())
                display->singleStep = false;
        }
    };
    for (int r = 0; r < repetitions && !session.AbortFlag; ++r) {
        way(settings.largest, settings.smallest);
        way(settings.smallest, settings.largest);
    }
    return shown;
}

} // namespace kora

// The animation of the spring compressing and relaxing between two lengths on the screen: its
// form (lengths, frames, repetitions, pause, single step) and the frame loop. Each frame
// replaces the one before in the display list, so the list never holds more than one frame.
#pragma once

#include "base/real.h"
#include "platform/graphics_host.h"

#include <string>

namespace kora {

class CadOutput;
class DisplayList;
struct Session;
enum class ViewKind : int;

// What the frame loop runs with, forced into range by the form.
struct AnimationSettings {
    static constexpr int kMinFrames = 2, kMaxFrames = 1000;
    static constexpr int kMinRepetitions = 1, kMaxRepetitions = 100;

    real largest = 0, smallest = 0; // spring lengths, mm, within [Lc, L0]
    int frames = 25;                // per direction
    int repetitions = 1;
    int pause = 50; // ms after each frame
    bool singleStep = false;
};

// The animation form without its window. Lengths are shown in the length unit; a length edit
// left as shown keeps its exact value.
class TForm_koraani {
  public:
    enum class Result { None, Ok, Cancel };

    // `singleStep` is the graphics window's switch the check box starts with.
    TForm_koraani(Session& session, bool singleStep);

    std::string Caption;
    std::string Label_l1, Label_l2, Label_frames, Label_repeats, Label_pause, Label_lengthUnit,
        Label_pauseUnit, CheckBox_stepCaption;
    std::string Edit_l1, Edit_l2, Edit_frames, Edit_repeats, Edit_pause;
    bool CheckBox_step = false;
    Result ModalResult = Result::None;

    // "< L1", "< L0": the largest length; "< L2", "< Ln", "< Lc": the smallest length.
    void Button_L1Click();
    void Button_L0Click();
    void Button_L2Click();
    void Button_LnClick();
    void Button_LcClick();
    // The three "<" buttons: 50 frames, 1 repetition, 20 ms.
    void Button_framesClick();
    void Button_repeatsClick();
    void Button_pauseClick();
    // Stores the settings forced into range (lengths to [Lc, L0], frames to 2..1000,
    // repetitions to 1..100, pause not below 0) and clears AbortFlag.
    void Button_okClick();
    // Sets AbortFlag.
    void Button_cancelClick();
    // "&Hilfetext": the help topic of the form (the one the caller set).
    int Button_helpClick() const;

    const AnimationSettings& Settings() const { return settings_; }

  private:
    struct LengthEdit {
        std::string shown;
        real value = 0;
    };
    void Put(std::string& edit, LengthEdit& shown, real L);
    real Take(const std::string& edit, const LengthEdit& shown) const;

    Session& session_;
    LengthEdit shownL1_, shownL2_;
    AnimationSettings settings_;
};

// Asks the form's fields one by one through the dialog family (no window of its own), then
// presses OK; false after Cancel.
bool AskAnimationOneByOne(Session& session, TForm_koraani& form);

// The frame loop on the open screen output: for each repetition, while AbortFlag is clear,
// frames from the largest to the smallest length and back; frame k of N at
// A + k (B - A) / N, k = 0 .. N - 1. AbortFlag is looked at between frames. Returns the number
// of frames shown.
int AnimationFrames(CadOutput& cad, Session& session, DisplayList* display, GraphicsHost* host,
                    ViewKind kind, const AnimationSettings& settings);

} // namespace kora

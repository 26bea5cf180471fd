// The animation of the spring compressing and relaxing between two lengths on the screen: its
// settings (lengths, frames, repetitions, pause, single step; the form is in ui/view_forms.h)
// and the frame loop. Each frame
// replaces the one before in the display list, so the list never holds more than one frame.
#pragma once

#include "base/real.h"
#include "platform/graphics_host.h"

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

// The frame loop on the open screen output: for each repetition, while AbortFlag is clear,
// frames from the largest to the smallest length and back; frame k of N at
// A + k (B - A) / N, k = 0 .. N - 1. AbortFlag is looked at between frames. Returns the number
// of frames shown.
int AnimationFrames(CadOutput& cad, Session& session, DisplayList* display, GraphicsHost* host,
                    ViewKind kind, const AnimationSettings& settings);

} // namespace kora

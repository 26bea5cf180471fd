// What the graphics window asks of its platform: repaints, the wait cursor, a turn for the
// window's messages during long replays, the pauses and the single-step dialog of the
// animation. One host for the display list, the replay and the animation; the defaults do
// nothing, which is the non-interactive host of the command line.
#pragma once

#include <deque>

namespace kora {

class GraphicsHost {
  public:
    virtual ~GraphicsHost() = default;
    // Invalidate the client area and show the window: the next paint replays the list.
    virtual void Invalidate() {}
    virtual void SetWaitCursor() {}
    virtual void SetOldCursor() {}
    // Called every 50 000 records of a replay so the window stays responsive; false ends the
    // replay (Esc pressed).
    virtual bool ServiceMessages() { return true; }
    // Record 13 on screen; false ends the replay.
    virtual bool Sleep(int /*milliseconds*/) { return true; }
    // The display list holds a new animation frame: paint it and pause for the given time
    // while the window's messages are served (Esc sets AbortFlag through the view control).
    virtual void ShowFrame(int /*pauseMs*/) {}
    // The modal step dialog "Animation" of single-step animation: true for "+" (go on
    // stepping), false for "++" (play the rest without stopping).
    virtual bool AnimationStep() { return true; }
};

// The command line: no window, nothing to paint, no pause.
class NonInteractiveGraphicsHost final : public GraphicsHost {};

// Tests: counts what the window was asked to do and answers the step dialog from a script
// ("+" when the script is empty).
class ScriptedGraphicsHost final : public GraphicsHost {
  public:
    void Invalidate() override { ++invalidations; }
    void SetWaitCursor() override { ++waitCursors; }
    void SetOldCursor() override { ++oldCursors; }
    bool ServiceMessages() override {
        ++messageTurns;
        return !stopAtMessageTurn || messageTurns < stopAtMessageTurn;
    }
    bool Sleep(int milliseconds) override {
        sleptMs += milliseconds;
        return true;
    }
    void ShowFrame(int pauseMs) override {
        ++frames;
        sleptMs += pauseMs;
    }
    bool AnimationStep() override {
        ++steps;
        if (stepAnswers.empty()) return true;
        bool answer = stepAnswers.front();
        stepAnswers.pop_front();
        return answer;
    }

    int invalidations = 0, waitCursors = 0, oldCursors = 0, messageTurns = 0, frames = 0;
    int steps = 0;
    long sleptMs = 0;
    int stopAtMessageTurn = 0; // ServiceMessages answers false from this turn on; 0 never
    std::deque<bool> stepAnswers;
};

} // namespace kora

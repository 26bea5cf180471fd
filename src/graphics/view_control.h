// Zoom and pan of the graphics window by keyboard and mouse: the pending keyboard command
// with its repeat, and the rubber band of the mouse zoom. Only the mapping state of the
// window changes; the caller repaints when told to.
#pragma once

#include "graphics/display_list.h"
#include "graphics/window_mapping.h"

namespace kora {

// Virtual key codes of the keys the window handles (the shell translates its key events).
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeyPageUp = 0x21;
inline constexpr int kKeyPageDown = 0x22;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyNumpadPlus = 0x6B;
inline constexpr int kKeyNumpadMinus = 0x6D;
inline constexpr int kKeyF5 = 0x74;

enum class ViewCommand {
    none,
    zoomIn,
    zoomOut,
    pageUp,
    pageDown,
    panUp,
    panDown,
    panLeft,
    panRight
};

enum class MouseButton { left, right, middle };

class ViewControl {
  public:
    explicit ViewControl(DisplayList& window) : window_(window) {}

    // FormKeyDown: passes the key to processKey. Returns true when a repaint is due.
    bool FormKeyDown(int key) { return processKey(key); }
    // Escape and F5 reset the zoom, Escape also sets AbortFlag (it stops a running animation);
    // the other keys of the table set the pending command;
    // every key but Escape and F5 then carries out the pending command, so an unknown key
    // repeats the last zoom or pan step.
    bool processKey(int key);
    ViewCommand PendingCommand() const { return pending_; }

    // Mouse events in client pixels. Each returns true when a repaint is due.
    bool FormMouseDown(MouseButton button, int x, int y);
    // True when the rubber band moved: the shell erases the previous rectangle and draws
    // RubberBand() with an inverting pen.
    bool FormMouseMove(int x, int y);
    // Ends the rubber band and zooms to it; clientWidth/clientHeight are CW and CH.
    bool FormMouseUp(MouseButton button, int x, int y, int clientWidth, int clientHeight);
    void FormDblClick() { doubleClick_ = true; }

    bool RubberBandActive() const { return rubberBand_; }
    DeviceRect RubberBand() const { return DeviceRect{anchorX_, anchorY_, currentX_, currentY_}; }
    DeviceRect PreviousRubberBand() const {
        return DeviceRect{anchorX_, anchorY_, previousX_, previousY_};
    }

  private:
    bool CarryOut(ViewCommand command);

    DisplayList& window_;
    ViewCommand pending_ = ViewCommand::none;
    bool rubberBand_ = false;
    bool doubleClick_ = false;
    int anchorX_ = 0, anchorY_ = 0;
    int currentX_ = 0, currentY_ = 0;
    int previousX_ = 0, previousY_ = 0;
};

} // namespace kora

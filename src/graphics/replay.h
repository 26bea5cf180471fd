// The paint of the graphics window: replays every record of the DisplayList onto the screen
// canvas and, for a printout, onto the paper canvas as well, through the window mapping.
#pragma once

#include "graphics/canvas.h"
#include "graphics/display_list.h"
#include "graphics/window_mapping.h"

#include <cstddef>

namespace kora {

// The printer page of a printout.
struct PaperTarget {
    Canvas* canvas = nullptr;
    PaperSettings page;
};

struct ReplayResult {
    std::size_t played = 0; // records taken from the list
    bool completed = true;  // false: stopped by a degenerate window or by the host
};

inline constexpr std::size_t kRecordsPerMessageService = 50000;

// FormPaint: replays the list onto `screen` and, when `paper` is given, onto paper as well.
// A record 10 with an empty world range sets the session's AbortFlag and ends the replay
// there; the records before it are drawn. Updates list.mapping as the records 10 pass by.
ReplayResult Replay(DisplayList& list, Canvas& screen, GraphicsHost* host = nullptr,
                    const PaperTarget* paper = nullptr);

} // namespace kora

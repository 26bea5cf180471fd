// The help pictures: a small HP-GL interpreter that draws a plotter file (units of 0.025 mm)
// into the display list, whose world window the caller has set to 0..160 x 0..120 mm.
// Commands: PU, PD, PA, SP, CI, AA, SI, DI, LB, PE (HP-GL/2 encoded polyline) and CS; the
// set-up commands and escape sequences are skipped, and any other command is noted.
#pragma once

#include "base/real.h"

#include <string>
#include <string_view>
#include <vector>

namespace kora {

class DisplayList;

inline constexpr real kPlotterUnit = 0.025L; // mm per plotter unit

struct HelpPictureResult {
    bool opened = false;
    bool complete = true;                     // false: the file ended inside a command
    std::vector<std::string> unknownCommands; // names neither drawn nor known as skipped
    int labelsCut = 0;                        // labels longer than 255 characters
};

// Draws the HP-GL bytes into the list (no cursor, no message).
HelpPictureResult PlotHelpPictureText(DisplayList& list, std::string_view hpgl);

// Draws the file with the hourglass cursor shown meanwhile. A file that cannot be opened
// gives the plain message path + " nicht gefunden !" and draws nothing.
HelpPictureResult PlotHelpPicture(DisplayList& list, const std::string& path);

} // namespace kora

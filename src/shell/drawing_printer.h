// The printout of the graphics window: the display list replayed onto a printer page (a real
// printer or a PDF file) with the print settings of the configuration: scale x and y, origin
// in mm, border, colour or monochrome, portrait or landscape.
#pragma once

#include "graphics/display_list.h"

class QPrinter;

namespace kora {

struct Configuration;

// Sets the printer's orientation from "Printer: Portrait=1, Landscape=2".
void ApplyPrintOrientation(QPrinter& printer, const Configuration& config);

// One page: the list replayed onto the screen's mapping and from there onto the paper's
// printable area. False when nothing could be drawn (no page could be begun).
bool PrintDrawing(DisplayList& list, QPrinter& printer, const Configuration& config);

} // namespace kora

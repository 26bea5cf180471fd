// Drawings as picture files: a drawing held in a display list replayed onto a PNG image, an
// SVG or a PDF page at the true size of its sheet in millimetres, and the one call that draws
// output j of a calculated spring (the numbering of the command line's "/CADi:j") into one.
#pragma once

#include "graphics/display_list.h"

#include <string>

namespace kora {

struct Session;

enum class ExportFormat { Png, Svg, Pdf };

// Pixels per inch of a PNG: 150, more for a small sheet so that its longer side has at least
// kMinPngPixels pixels (at most 1200). SVG and PDF are drawn at kVectorDpi.
inline constexpr int kPngDpi = 150;
inline constexpr int kMinPngPixels = 1200;
inline constexpr int kVectorDpi = 600;

// The page of a drawing in world millimetres: the world window of its first window record (its
// sheet); when ink falls outside the sheet (the texts beside a spring view), the sheet widened
// to all of it plus a margin. Measured by drawing the list once onto an image with room around
// the sheet. Empty (x0 == x1) for a list without a window record.
WorldRect ExportPage(const DisplayList& list);
// The sheet alone: the world window of the first window record.
WorldRect ExportSheet(const DisplayList& list);

struct ExportResult {
    bool ok = false;
    std::string message; // UTF-8, empty when ok
};

// The drawing in `list` as file bytes; false when it has no page or Qt could not render it.
bool RenderDrawing(DisplayList& list, ExportFormat format, std::string& bytes);

// Renders the list and stores it under `path` (temporary sibling, then rename).
ExportResult ExportDisplayList(DisplayList& list, ExportFormat format, const std::string& path);

// Draws output j of the calculated spring onto a display list and stores it: 1..7 the diagram
// sheets, 8 the cut view, 9 the sections, 10 the production drawing, 11 the 3D view, each as
// the screen shows it. `springFile` names the spring in the footer; `configurationFolder`
// holds the logo of the production drawing. A fatal spring, or one the drawing refuses, gets
// the message list as on the screen and no file.
ExportResult ExportDrawing(Session& session, int output, ExportFormat format,
                           const std::string& path, const std::string& springFile = {},
                           const std::string& configurationFolder = {});

} // namespace kora

// Dimension lines of the production drawing: horizontal and vertical dimensions with arrow heads
// inside, the small ones with arrows outside and extension stubs, and the tick circle of the
// option block. All on the current layer; the texts in font 2 with the style each one sets.
#pragma once

#include "base/real.h"

#include <string_view>

namespace kora {

class CadOutput;

// Line from (x1, y) to (x2, y), arrows at both ends pointing outwards; text in height 2,
// width 2, centred over the line at y + 1.
void DimHorizontal(CadOutput& cad, std::string_view text, real x1, real x2, real y);
// Stubs of 5 mm outside x1 and x2, arrows pointing inwards; text in height 2, width 1.8,
// centred at y + 1.5.
void DimHorizontalSmall(CadOutput& cad, std::string_view text, real x1, real x2, real y);
// Line from (x, y1) to (x, y2), arrows at both ends pointing outwards; text in height 2,
// width 1.8, turned 90 degrees, centred along the line with its baseline at x - 1.5.
void DimVertical(CadOutput& cad, std::string_view text, real x, real y1, real y2);
// Stubs of 5 mm outside y1 and y2, arrows pointing inwards; text as DimVertical at x + 4.
void DimVerticalSmall(CadOutput& cad, std::string_view text, real x, real y1, real y2);

// Circle of radius 1.5 at the text cursor, crossed by the diagonals of the 3 mm square around
// it when `selected`.
void TickCircle(CadOutput& cad, bool selected);
// The same after moving the text cursor to (x, y).
void TickCircle(CadOutput& cad, real x, real y, bool selected);

} // namespace kora

#include "graphics/drawing_dimensions.h"

#include "graphics/cad_output.h"

namespace kora {
namespace {

constexpr int kFont = 2;
constexpr real kStub = 5; // extension of the small dimensions
constexpr real kTickRadius = 1.5L;

// Half the estimated length of a text in the current style.
real HalfLength(const CadOutput& cad, std::string_view text) {
    return static_cast<real>(text.size()) * cad.TextHeight() * cad.TextWidthRatio() / 2;
}

} // namespace

void DimHorizontal(CadOutput& cad, std::string_view text, real x1, real x2, real y) {
    cad.CadLine(x1, y, x2, y);
    cad.CadArrow(x1, y, 0);
    cad.CadArrow(x2, y, 180);
    cad.CadTextStyle(kFont, 0, 2, 2);
    cad.CadText(text, (x1 + x2) / 2 - HalfLength(cad, text), y + 1);
}

void DimHorizontalSmall(CadOutput& cad, std::string_view text, real x1, real x2, real y) {
    cad.CadLine(x1 - kStub, y, x1, y);
    cad.CadLine(x2, y, x2 + kStub, y);
    cad.CadArrow(x1, y, 180);
    cad.CadArrow(x2, y, 0);
    cad.CadTextStyle(kFont, 0, 2, 1.8L);
    cad.CadText(text, (x1 + x2) / 2 - HalfLength(cad, text), y + 1.5L);
}

void DimVertical(CadOutput& cad, std::string_view text, real x, real y1, real y2) {
    cad.CadLine(x, y1, x, y2);
    cad.CadArrow(x, y1, 90);
    cad.CadArrow(x, y2, 270);
    cad.CadTextStyle(kFont, 90, 2, 1.8L);
    cad.CadText(text, x - 1.5L, (y1 + y2) / 2 - HalfLength(cad, text));
}

void DimVerticalSmall(CadOutput& cad, std::string_view text, real x, real y1, real y2) {
    cad.CadLine(x, y1 - kStub, x, y1);
    cad.CadLine(x, y2, x, y2 + kStub);
    cad.CadArrow(x, y1, -90);
    cad.CadArrow(x, y2, 90);
    cad.CadTextStyle(kFont, 90, 2, 1.8L);
    cad.CadText(text, x + 4, (y1 + y2) / 2 - HalfLength(cad, text));
}

void TickCircle(CadOutput& cad, bool selected) {
    const CadPoint c = cad.Cursor();
    const real r = kTickRadius;
    cad.CadCircle(c.x, c.y, r);
    if (!selected) return;
    cad.CadLine(c.x - r, c.y - r, c.x + r, c.y + r);
    cad.CadLine(c.x - r, c.y + r, c.x + r, c.y - r);
}

void TickCircle(CadOutput& cad, real x, real y, bool selected) {
    cad.CadCursor(x, y);
    TickCircle(cad, selected);
}

} // namespace kora

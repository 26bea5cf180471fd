// A canvas that records every call, for tests of the replay and of anything else that draws.
#pragma once

#include "graphics/canvas.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kora {

enum class CanvasOp { moveTo, lineTo, ellipse, arc, polygon, pen, brush, font, textColour, text };

// One recorded call; only the members of its kind are filled.
struct CanvasCall {
    CanvasOp op;
    std::vector<DevicePoint> points; // moveTo/lineTo 1; ellipse 2; arc 4; polygon n; text 1
    Pen pen;
    Brush brush;
    Font font; // typeface points into `typeface`
    std::string typeface;
    Rgb colour; // textColour
    std::string text;
};

class RecordingCanvas : public Canvas {
  public:
    void MoveTo(DevicePoint p) override;
    void LineTo(DevicePoint p) override;
    void Ellipse(DevicePoint corner1, DevicePoint corner2) override;
    void Arc(DevicePoint corner1, DevicePoint corner2, DevicePoint start, DevicePoint end) override;
    void Polygon(const DevicePoint* points, int count) override;
    void SetPen(const Pen& pen) override;
    void SetBrush(const Brush& brush) override;
    void SetFont(const Font& font) override;
    void SetTextColour(Rgb colour) override;
    void Text(DevicePoint topLeft, std::string_view text) override;

    std::vector<CanvasCall> calls;

    std::size_t Count(CanvasOp op) const;
    // The calls of one kind, in order.
    std::vector<const CanvasCall*> Of(CanvasOp op) const;
    // The pen, brush, font and text colour in force after the last call.
    Pen pen;
    Brush brush;
    Font font;
    Rgb textColour;
};

} // namespace kora

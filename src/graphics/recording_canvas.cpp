#include "graphics/recording_canvas.h"

namespace kora {

void RecordingCanvas::MoveTo(DevicePoint p) {
    calls.push_back(CanvasCall{CanvasOp::moveTo, {p}, pen, brush, font, {}, {}, {}});
}

void RecordingCanvas::LineTo(DevicePoint p) {
    calls.push_back(CanvasCall{CanvasOp::lineTo, {p}, pen, brush, font, {}, {}, {}});
}

void RecordingCanvas::Ellipse(DevicePoint corner1, DevicePoint corner2) {
    calls.push_back(
        CanvasCall{CanvasOp::ellipse, {corner1, corner2}, pen, brush, font, {}, {}, {}});
}

void RecordingCanvas::Arc(DevicePoint corner1, DevicePoint corner2, DevicePoint start,
                          DevicePoint end) {
    calls.push_back(
        CanvasCall{CanvasOp::arc, {corner1, corner2, start, end}, pen, brush, font, {}, {}, {}});
}

void RecordingCanvas::Polygon(const DevicePoint* points, int count) {
    calls.push_back(CanvasCall{CanvasOp::polygon,
                               std::vector<DevicePoint>(points, points + (count > 0 ? count : 0)),
                               pen,
                               brush,
                               font,
                               {},
                               {},
                               {}});
}

void RecordingCanvas::SetPen(const Pen& p) {
    pen = p;
    calls.push_back(CanvasCall{CanvasOp::pen, {}, pen, brush, font, {}, {}, {}});
}

void RecordingCanvas::SetBrush(const Brush& b) {
    brush = b;
    calls.push_back(CanvasCall{CanvasOp::brush, {}, pen, brush, font, {}, {}, {}});
}

void RecordingCanvas::SetFont(const Font& f) {
    font = f;
    font.typeface = {};
    CanvasCall call{CanvasOp::font, {}, pen, brush, font, std::string(f.typeface), {}, {}};
    calls.push_back(std::move(call));
}

void RecordingCanvas::SetTextColour(Rgb colour) {
    textColour = colour;
    calls.push_back(CanvasCall{CanvasOp::textColour, {}, pen, brush, font, {}, colour, {}});
}

void RecordingCanvas::Text(DevicePoint topLeft, std::string_view text) {
    calls.push_back(
        CanvasCall{CanvasOp::text, {topLeft}, pen, brush, font, {}, textColour, std::string(text)});
}

std::size_t RecordingCanvas::Count(CanvasOp op) const {
    std::size_t n = 0;
    for (const CanvasCall& c : calls)
        if (c.op == op) ++n;
    return n;
}

std::vector<const CanvasCall*> RecordingCanvas::Of(CanvasOp op) const {
    std::vector<const CanvasCall*> out;
    for (const CanvasCall& c : calls)
        if (c.op == op) out.push_back(&c);
    return out;
}

} // namespace kora

// The replay canvas on a QPainter: the graphics window, an image, an SVG or a PDF page. Pens,
// brushes and fonts follow the Canvas contract (fonts by cell height, average width and
// escapement); text arrives in code page 850 and is drawn as Unicode.
#pragma once

#include "graphics/canvas.h"

#include <QFont>
#include <QPoint>

class QPainter;

namespace kora {

class QPainterCanvas : public Canvas {
  public:
    // Draws on `painter`, which must stay active while the canvas is used. Pen widths are
    // multiplied by `penScale` (a page of finer pixels than the screen's).
    explicit QPainterCanvas(QPainter& painter, int penScale = 1);

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

  private:
    void ApplyPen();
    void ApplyBrush();

    QPainter& painter_;
    int penScale_;
    Pen pen_;
    Brush brush_;
    Rgb textColour_;
    QPoint position_;
    QFont font_;
    double stretch_ = 1;    // horizontal scale that brings the average width to the cell's
    double escapement_ = 0; // degrees, counter-clockwise
    double ascent_ = 0;     // pixels from the cell's top to the baseline
};

} // namespace kora

#include "shell/drawing_printer.h"

#include "base/configuration.h"
#include "graphics/replay.h"
#include "shell/qpainter_canvas.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace kora {
namespace {

// The screen side of a printout's replay: the window is not drawn again.
class UnseenCanvas final : public Canvas {
  public:
    void MoveTo(DevicePoint) override {}
    void LineTo(DevicePoint) override {}
    void Ellipse(DevicePoint, DevicePoint) override {}
    void Arc(DevicePoint, DevicePoint, DevicePoint, DevicePoint) override {}
    void Polygon(const DevicePoint*, int) override {}
    void SetPen(const Pen&) override {}
    void SetBrush(const Brush&) override {}
    void SetFont(const Font&) override {}
    void SetTextColour(Rgb) override {}
    void Text(DevicePoint, std::string_view) override {}
};

} // namespace

void ApplyPrintOrientation(QPrinter& printer, const Configuration& config) {
    printer.setPageOrientation(config.printerOrientation == 2 ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
}

bool PrintDrawing(DisplayList& list, QPrinter& printer, const Configuration& config) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    PaperTarget paper;
    QPainterCanvas canvas(painter);
    paper.canvas = &canvas;
    paper.page = PaperSettingsFrom(config, page.width(), page.height());
    UnseenCanvas screen;
    list.printing = true;
    Replay(list, screen, nullptr, &paper);
    list.printing = false;
    return painter.end();
}

} // namespace kora

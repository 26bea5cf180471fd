#include "shell/drawing_printer.h"

#include "base/configuration.h"
#include "graphics/replay.h"
#include "shell/qpainter_canvas.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace kora {

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
    DiscardingCanvas screen; // the window is not drawn again
    list.printing = true;
    Replay(list, screen, nullptr, &paper);
    list.printing = false;
    return painter.end();
}

} // namespace kora

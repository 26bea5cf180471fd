#include "shell/drawing_export.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "calc/session.h"
#include "graphics/cad_output.h"
#include "graphics/diagram_sheets.h"
#include "graphics/production_drawing.h"
#include "graphics/replay.h"
#include "graphics/spring_views.h"
#include "shell/dialog_texts.h"
#include "shell/qpainter_canvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string_view>
#include <vector>

namespace kora {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kMaxPngDpi = 1200;
constexpr int kScreenDpi = 150;     // a pen of width 1 is this fine
constexpr real kPageMargin = 0.02L; // of the larger side, around a drawing that leaves its sheet
constexpr int kWhite = 15;          // palette index of the paper
constexpr int kMeasurePixels = 600; // the sheet's longer side when the drawing is measured
constexpr int kSlackPixels = 2;     // ink this close to the sheet still lies on it

// The ';'-separated numbers of a record, from field `first` on (at most `count`).
std::vector<real> NumbersOf(std::string_view record, int count) {
    std::vector<real> out;
    std::size_t p = record.find(';');
    while (p != std::string_view::npos && static_cast<int>(out.size()) < count) {
        const char* begin = record.data() + p + 1;
        const char* end = record.data() + record.size();
        double v = 0;
        const auto [next, ec] = std::from_chars(begin, end, v);
        if (ec != std::errc{}) break;
        out.push_back(v);
        p = record.find(';', static_cast<std::size_t>(next - record.data()));
    }
    return out;
}

int CodeOf(std::string_view record) {
    int code = 0;
    std::from_chars(record.data(), record.data() + record.size(), code);
    return code;
}

int PngDpi(const WorldRect& page) {
    const double longer = static_cast<double>(std::max(page.x1 - page.x0, page.y1 - page.y0));
    if (!(longer > 0)) return kPngDpi;
    const int wanted = static_cast<int>(std::ceil(kMinPngPixels * kMmPerInch / longer));
    return std::clamp(wanted, kPngDpi, kMaxPngDpi);
}

// Where the sheet lies on a page of w x h pixels, and the reference resolution whose window
// record puts the sheet's device rectangle (border included) on those pixels.
struct PagePlacement {
    int A = 0, B = 0;   // reference resolution for the recording
    int dx = 0, dy = 0; // offset of device pixel (0, 0) on the page
    bool valid = false;
};

PagePlacement Place(const WorldRect& page, const WorldRect& sheet, int w, int h) {
    PagePlacement p;
    const double pw = static_cast<double>(page.x1 - page.x0);
    const double ph = static_cast<double>(page.y1 - page.y0);
    if (!(pw > 0) || !(ph > 0) || w < 4 || h < 4) return p;
    // A one-pixel frame stays free on every side (the window's border).
    const double s = std::min((w - 3) / pw, (h - 3) / ph);
    p.A = static_cast<int>(std::lround(static_cast<double>(sheet.x1 - sheet.x0) * s)) + 2;
    p.B = static_cast<int>(std::lround(static_cast<double>(sheet.y1 - sheet.y0) * s)) + 2;
    p.dx = static_cast<int>(std::lround(static_cast<double>(sheet.x0 - page.x0) * s));
    p.dy = static_cast<int>(std::lround(static_cast<double>(page.y1 - sheet.y1) * s));
    p.valid = p.A > 2 && p.B > 2;
    return p;
}

// Redraws the list's window records for the placement: they carry the device rectangle of the
// resolution at the time of drawing, so the list is built again from its records.
void Replace(DisplayList& list, const PagePlacement& p) {
    std::vector<std::string> records;
    records.reserve(list.Count());
    for (std::size_t i = 0; i < list.Count(); ++i)
        records.emplace_back(list[i]);
    list.FormCreate();
    list.settings.A = p.A;
    list.settings.B = p.B;
    for (const std::string& r : records) {
        if (CodeOf(r) != kRecordWindow) {
            list.Append(r);
            continue;
        }
        const auto v = NumbersOf(r, 8);
        if (v.size() != 8) {
            list.Append(r);
            continue;
        }
        // The device rectangle as fractions of the old reference resolution is not known any
        // more; every window of a drawing covers the whole viewport, so it becomes the page's.
        std::string out = std::to_string(kRecordWindow) + ";1;1;" + std::to_string(p.A - 1) + ";" +
                          std::to_string(p.B - 1);
        const std::size_t worldStart = [&] {
            std::size_t q = 0;
            for (int k = 0; k < 5; ++k)
                q = r.find(';', q) + 1;
            return q - 1;
        }();
        out += r.substr(worldStart);
        list.Append(out);
    }
    list.mapping.device = DeviceRect{1, 1, p.A - 1, p.B - 1};
    list.mapping.zoom = list.mapping.device; // not zoomed
}

} // namespace

WorldRect ExportSheet(const DisplayList& list) {
    for (std::size_t i = 0; i < list.Count(); ++i) {
        if (CodeOf(list[i]) != kRecordWindow) continue;
        const auto v = NumbersOf(list[i], 8);
        if (v.size() == 8) return WorldRect{v[4], v[5], v[6], v[7]};
        break;
    }
    return WorldRect{0, 0, 0, 0};
}

namespace {

// The list replayed onto a painter covering `page` with w x h pixels: white paper and black
// lines unless the printout is in colour. `list` is a copy that is rebuilt for the page.
void Paint(DisplayList list, const WorldRect& page, int w, int h, int penScale, bool smooth,
           QPainter& painter) {
    const PagePlacement placement = Place(page, ExportSheet(list), w, h);
    const GraphicsSettings kept = list.settings;
    Replace(list, placement);
    list.settings = kept;
    const bool colour = kept.printMode == 2;
    list.settings.colourGraphics = colour;
    if (!colour) list.settings.backgroundColour = kWhite;
    // Page pixels are square: the 4:3 correction of the screen mapping must be 1.
    list.settings.A = 640;
    list.settings.B = 480;
    const Rgb c = BackgroundColour(list.settings.backgroundColour);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.setRenderHint(QPainter::TextAntialiasing, smooth);
    painter.fillRect(QRect(0, 0, w, h), QColor(c.r, c.g, c.b));
    if (!placement.valid) return;
    painter.translate(placement.dx, placement.dy);
    QPainterCanvas canvas(painter, penScale);
    Replay(list, canvas);
}

struct PixelBox {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1; // x1 < x0: nothing inked
};

PixelBox InkBox(const QImage& image) {
    PixelBox box{image.width(), image.height(), -1, -1};
    const QRgb paper = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == paper) continue;
            box.x0 = std::min(box.x0, x);
            box.x1 = std::max(box.x1, x);
            box.y0 = std::min(box.y0, y);
            box.y1 = std::max(box.y1, y);
        }
    }
    return box;
}

int PixelsOf(real mm, double perMm) {
    return static_cast<int>(std::lround(static_cast<double>(mm) * perMm));
}

} // namespace

WorldRect ExportPage(const DisplayList& list) {
    const WorldRect sheet = ExportSheet(list);
    if (IsDegenerate(sheet)) return sheet;
    // Drawn once onto the sheet with a sheet's width and height of room on every side.
    const real sw = sheet.x1 - sheet.x0, sh = sheet.y1 - sheet.y0;
    const WorldRect room{sheet.x0 - sw, sheet.y0 - sh, sheet.x1 + sw, sheet.y1 + sh};
    const double perMm = kMeasurePixels / static_cast<double>(std::max(sw, sh));
    const int w = PixelsOf(3 * sw, perMm) + 3, h = PixelsOf(3 * sh, perMm) + 3;
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return sheet;
    {
        QPainter painter(&image);
        Paint(list, room, w, h, 1, false, painter);
    }
    const PixelBox ink = InkBox(image);
    if (ink.x1 < ink.x0) return sheet;
    // Pixel (1, 1) is the top-left corner of the room.
    const real x0 = room.x0 + (ink.x0 - 1) / perMm, x1 = room.x0 + (ink.x1 - 1) / perMm;
    const real y1 = room.y1 - (ink.y0 - 1) / perMm, y0 = room.y1 - (ink.y1 - 1) / perMm;
    const real slack = kSlackPixels / perMm;
    if (x0 >= sheet.x0 - slack && y0 >= sheet.y0 - slack && x1 <= sheet.x1 + slack &&
        y1 <= sheet.y1 + slack)
        return sheet;
    const WorldRect page{std::min(sheet.x0, x0), std::min(sheet.y0, y0), std::max(sheet.x1, x1),
                         std::max(sheet.y1, y1)};
    const real m = kPageMargin * std::max(page.x1 - page.x0, page.y1 - page.y0);
    return WorldRect{page.x0 - m, page.y0 - m, page.x1 + m, page.y1 + m};
}

bool RenderDrawing(DisplayList& list, ExportFormat format, std::string& bytes) {
    const WorldRect page = ExportPage(list);
    if (IsDegenerate(page)) return false;
    const double wmm = static_cast<double>(page.x1 - page.x0);
    const double hmm = static_cast<double>(page.y1 - page.y0);
    const int dpi = format == ExportFormat::Png ? PngDpi(page) : kVectorDpi;
    const int w = static_cast<int>(std::lround(wmm / kMmPerInch * dpi));
    const int h = static_cast<int>(std::lround(hmm / kMmPerInch * dpi));
    if (!Place(page, ExportSheet(list), w, h).valid) return false;
    const int penScale = std::max(1, static_cast<int>(std::lround(double(dpi) / kScreenDpi)));
    auto paint = [&](QPainter& painter) { Paint(list, page, w, h, penScale, true, painter); };

    QByteArray out;
    QBuffer buffer(&out);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    bool ok = false;
    switch (format) {
    case ExportFormat::Png: {
        QImage image(w, h, QImage::Format_RGB32);
        if (image.isNull()) break;
        const int dpm = static_cast<int>(std::lround(dpi / kMmPerInch * 1000));
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
        {
            QPainter painter(&image);
            paint(painter);
        }
        ok = image.save(&buffer, "PNG");
        break;
    }
    case ExportFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(dpi);
        svg.setSize(QSize(w, h));
        svg.setViewBox(QRect(0, 0, w, h));
        QPainter painter;
        if (!painter.begin(&svg)) break;
        paint(painter);
        ok = painter.end();
        break;
    }
    case ExportFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(dpi);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(wmm, hmm), QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&pdf)) break;
        paint(painter);
        ok = painter.end();
        break;
    }
    }
    buffer.close();
    if (!ok || out.isEmpty()) return false;
    bytes.assign(out.constData(), static_cast<std::size_t>(out.size()));
    return true;
}

ExportResult ExportDisplayList(DisplayList& list, ExportFormat format, const std::string& path) {
    ExportResult result;
    std::string bytes;
    if (!RenderDrawing(list, format, bytes)) {
        result.message = std::string(dialog_text::kRenderFailed);
        return result;
    }
    const FileWriteResult written = WriteFileAtomically(path, bytes);
    if (!written.ok()) {
        result.message = std::string(dialog_text::kWriteFailed) + path + " (" +
                         Cp850ToUtf8(FileWriteMessage(written, Utf8ToCp850(path))) + ")";
        return result;
    }
    result.ok = true;
    return result;
}

ExportResult ExportDrawing(Session& session, int output, ExportFormat format,
                           const std::string& path, const std::string& springFile,
                           const std::string& configurationFolder) {
    constexpr int kLastDiagram = 7, kCutView = 8, kSectionsView = 9, kProductionDrawing = 10,
                  k3DView = 11;
    ExportResult result;
    if (output < 1 || output > k3DView) {
        result.message = std::string(dialog_text::kUnknownOutput) + std::to_string(output);
        return result;
    }
    DisplayList display(session);
    CadOutput cad(session, &display);
    cad.SetCommandLineRun(true);
    if (!springFile.empty()) cad.SetSpringFile(springFile);
    DiagramContext context(session, cad);
    SpringViews views(context, &display);
    // A file is written without questions: the 3D view keeps the angles it has.
    views.askRotation = [](Session&, const std::array<real, 3>& angles) {
        return std::optional<std::array<real, 3>>(angles);
    };
    bool drawn = false;
    if (output <= kLastDiagram) {
        drawn = DrawDiagramSheet(context, static_cast<DiagramSheet>(output), OutputKind::Screen);
    } else if (output == kCutView || output == kSectionsView) {
        drawn = views.SpringView(output == kCutView ? ViewKind::Cut : ViewKind::Sections,
                                 OutputKind::Screen, false);
    } else if (output == kProductionDrawing) {
        ProductionDrawingSetup setup;
        if (!configurationFolder.empty()) setup.logoSource = LogoFileIn(configurationFolder);
        drawn = ProductionDrawing(session, cad, OutputKind::Screen, setup);
    } else {
        drawn = views.Spring3DView(OutputKind::Screen, false);
    }
    if (!drawn || display.Empty()) {
        result.message = std::string(dialog_text::kNotDrawn);
        return result;
    }
    return ExportDisplayList(display, format, path);
}

} // namespace kora

#include "shell/qpainter_canvas.h"

#include "base/codepage.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRectF>
#include <QString>

#include <cmath>
#include <numbers>
#include <vector>

namespace kora {
namespace {

QColor ColourOf(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

Qt::PenStyle QtStyleOf(PenStyle style) {
    switch (style) {
    case PenStyle::dotted:
        return Qt::DotLine;
    case PenStyle::dashDot:
        return Qt::DashDotLine;
    case PenStyle::dashed:
        return Qt::DashLine;
    default:
        return Qt::SolidLine;
    }
}

QPoint QtPoint(DevicePoint p) {
    return QPoint(p.x, p.y);
}

// The box of two opposite corners, in either order.
QRectF BoxOf(DevicePoint a, DevicePoint b) {
    return QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y)).normalized();
}

// Where the ray from the box centre towards p meets the inscribed ellipse, as the ellipse's
// parameter angle (Qt's arc angles), degrees counter-clockwise as seen on the device (whose y
// grows downwards). For a circle it is the ray's own direction.
double RayAngle(const QRectF& box, DevicePoint p) {
    const QPointF c = box.center();
    const double dx = p.x - c.x(), dy = c.y() - p.y;
    const double a = box.width() / 2, b = box.height() / 2;
    if ((dx == 0 && dy == 0) || a <= 0 || b <= 0) return 0;
    return std::atan2(dy / b, dx / a) * 180 / std::numbers::pi;
}

} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter, int penScale)
    : painter_(painter), penScale_(penScale < 1 ? 1 : penScale) {
    ApplyPen();
    ApplyBrush();
    painter_.setBackgroundMode(Qt::TransparentMode);
}

void QPainterCanvas::ApplyPen() {
    QPen pen(ColourOf(pen_.colour));
    pen.setStyle(QtStyleOf(pen_.style));
    const int width = (pen_.width < 1 ? 1 : pen_.width) * penScale_;
    pen.setWidth(width);
    // A thin pen keeps its pixels exact; a wide one gets round ends, as a geometric pen has.
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    painter_.setPen(pen);
}

void QPainterCanvas::ApplyBrush() {
    if (brush_.solid)
        painter_.setBrush(ColourOf(brush_.colour));
    else
        painter_.setBrush(Qt::NoBrush);
}

void QPainterCanvas::MoveTo(DevicePoint p) {
    position_ = QtPoint(p);
}

void QPainterCanvas::LineTo(DevicePoint p) {
    const QPoint to = QtPoint(p);
    painter_.drawLine(position_, to);
    position_ = to;
}

void QPainterCanvas::Ellipse(DevicePoint corner1, DevicePoint corner2) {
    painter_.drawEllipse(BoxOf(corner1, corner2));
}

void QPainterCanvas::Arc(DevicePoint corner1, DevicePoint corner2, DevicePoint start,
                         DevicePoint end) {
    const QRectF box = BoxOf(corner1, corner2);
    const double from = RayAngle(box, start);
    double sweep = std::fmod(RayAngle(box, end) - from, 360.0);
    if (sweep <= 0) sweep += 360; // equal rays: the whole ellipse
    painter_.drawArc(box, static_cast<int>(std::lround(from * 16)),
                     static_cast<int>(std::lround(sweep * 16)));
}

void QPainterCanvas::Polygon(const DevicePoint* points, int count) {
    if (!points || count < 2) return;
    QPolygon polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i)
        polygon << QtPoint(points[i]);
    painter_.drawPolygon(polygon, Qt::OddEvenFill);
}

void QPainterCanvas::SetPen(const Pen& pen) {
    pen_ = pen;
    ApplyPen();
}

void QPainterCanvas::SetBrush(const Brush& brush) {
    brush_ = brush;
    ApplyBrush();
}

// The cell height is ascent plus descent; the font's pixel size is chosen so that its cell
// has that height, and the text is stretched so that its average character is `width` wide.
void QPainterCanvas::SetFont(const Font& font) {
    QFont f(QString::fromUtf8(font.typeface.data(), static_cast<qsizetype>(font.typeface.size())));
    const int height = font.height == 0 ? 1 : std::abs(font.height);
    f.setPixelSize(height);
    const QFontMetricsF probe(f, painter_.device());
    if (probe.height() > 0) {
        const int fitted = static_cast<int>(std::lround(height * height / probe.height()));
        f.setPixelSize(fitted < 1 ? 1 : fitted);
    }
    f.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setKerning(false);
    const QFontMetricsF metrics(f, painter_.device());
    const double average = metrics.averageCharWidth();
    stretch_ = font.width > 0 && average > 0 ? font.width / average : 1;
    ascent_ = metrics.ascent();
    escapement_ = font.escapement / 10.0;
    font_ = f;
}

void QPainterCanvas::SetTextColour(Rgb colour) {
    textColour_ = colour;
}

void QPainterCanvas::Text(DevicePoint topLeft, std::string_view text) {
    if (text.empty()) return;
    const std::string utf8 = Cp850ToUtf8(text);
    const QString shown = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    painter_.save();
    painter_.setFont(font_);
    painter_.setPen(ColourOf(textColour_));
    painter_.translate(topLeft.x, topLeft.y);
    painter_.rotate(-escapement_); // Qt turns clockwise on a device whose y grows downwards
    painter_.scale(stretch_, 1);
    painter_.drawText(QPointF(0, ascent_), shown);
    painter_.restore();
}

} // namespace kora

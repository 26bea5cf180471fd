#include "graphics/diagram.h"

#include "base/numformat.h"
#include "base/units.h"
#include "calc/session.h"
#include "graphics/cad_output.h"
#include "graphics/diagram_texts.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace kora {
namespace text = diagram_text;

namespace {

constexpr real kNarrowRange = 1e-5L; // NiceScale widens a narrower range
constexpr real kTopShrink = 1e-5L;   // a maximum on a step gets no extra division
constexpr real kOnStep = 1e-9L;      // a quotient this close below a whole number is it
constexpr int kLinearDivisions = 6;
constexpr int kMaxDivisions = 1000; // more would only be a wrong step

// Layers of the diagram parts.
constexpr int kTitleLayer = 4;
constexpr int kAxisLayer = 17;
constexpr int kHeadingLayer = 21;
constexpr int kValueLayer = 19;

// Line types.
constexpr int kContinuous = 0;
constexpr int kDotted = 1;
constexpr int kDashed = 3;

// Text blocks of a sheet.
constexpr int kBlockFont = 2;
constexpr real kBlockHeight = 2.2L, kBlockWidth = 1.7L;
constexpr real kTitleX = 78, kTitleY = 116;
constexpr real kDataX = 126, kDataY = 103;
constexpr real kGroupGap = 0.3L;

// Number of divisions of a scale (at least 1).
int Divisions(const AxisScale& s) {
    if (!(s.step > 0)) return 1;
    real n = std::round((s.max - s.min) / s.step);
    if (!std::isfinite(n) || n < 1) return 1;
    return static_cast<int>(std::min<real>(n, kMaxDivisions));
}

// Whole decades on a logarithmic axis: the NiceScale of the logarithms with a step of at least
// one decade.
AxisScale DecadeScale(real lmin, real lmax) {
    AxisScale s = NiceScale(lmin, lmax, kLinearDivisions);
    if (s.step >= 1) {
        s.step = std::round(s.step);
        return s;
    }
    if (lmin > lmax) std::swap(lmin, lmax);
    s.step = 1;
    s.min = std::floor(lmin);
    s.max = std::floor(lmax - (lmax - lmin) * kTopShrink) + 1;
    if (s.max <= s.min) s.max = s.min + 1;
    return s;
}

// A scale whose range is empty or no number gets a unit range.
void EnsureRange(AxisScale& s) {
    if (!std::isfinite(s.min) || !std::isfinite(s.max)) s = AxisScale{};
    if (s.max < s.min) std::swap(s.min, s.max);
    if (s.max - s.min <= 0) s.max = s.min + 1;
    if (!(s.step > 0) || !std::isfinite(s.step)) s.step = s.max - s.min;
}

// Liang-Barsky: clips p + t (q - p), t in [0, 1], to the rectangle. False when nothing is left.
bool ClipSegment(real& x1, real& y1, real& x2, real& y2, real left, real bottom, real right,
                 real top) {
    const real dx = x2 - x1, dy = y2 - y1;
    real t0 = 0, t1 = 1;
    const real p[4] = {-dx, dx, -dy, dy};
    const real q[4] = {x1 - left, right - x1, y1 - bottom, top - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false; // parallel to this edge and outside it
            continue;
        }
        const real t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const real ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    const real bx = x1 + t1 * dx, by = y1 + t1 * dy;
    x1 = ax;
    y1 = ay;
    x2 = bx;
    y2 = by;
    return true;
}

bool Finite(real a, real b) {
    return std::isfinite(a) && std::isfinite(b);
}

} // namespace

AxisScale NiceScale(real min, real max, int n) {
    if (!Finite(min, max)) min = max = 0;
    if (min > max) std::swap(min, max);
    if (n < 1) n = 1;
    if (std::fabs(max - min) < kNarrowRange) {
        min -= 1;
        max += 1;
    }
    const real top = max - (max - min) * kTopShrink;
    const real e = (top - min) / n;
    const real p = e == 0 ? 1 : std::pow(10.0L, std::floor(std::log10(std::fabs(e))));
    const real m = e / p;
    const real step = m < 1.5L ? p : m < 3 ? 2 * p : m < 8 ? 5 * p : 10 * p;
    AxisScale s;
    s.step = step;
    s.max = (std::floor(top / step) + 1) * step;
    // A minimum on a step stays the first division: 1.0 / 0.1 may come out a hair below 10.
    s.min = std::floor(min / step + kOnStep) * step;
    return s;
}

DiagramFrame::DiagramFrame(CadOutput& cad, const Configuration& config)
    : cad_(cad), config_(config) {}

void DiagramFrame::DiagReset() {
    W = kSheetWidth;
    H = kSheetHeight;
    x0 = y0 = 0;
    xmin = ymin = 0;
    xmax = ymax = 1;
    xStep = yStep = 1;
    xLog = yLog = false;
    penX_ = penY_ = 0;
}

void DiagramFrame::DiagSetSize(real width, real height) {
    W = width;
    H = height;
}

void DiagramFrame::DiagSetOrigin(real x, real y) {
    x0 = x;
    y0 = y;
}

void DiagramFrame::DiagSetAxisKinds(bool xLogarithmic, bool yLogarithmic) {
    xLog = xLogarithmic;
    yLog = yLogarithmic;
}

void DiagramFrame::DiagSetRanges(real xFrom, real xTo, real yFrom, real yTo) {
    AxisScale x{xFrom, xTo, xTo - xFrom}, y{yFrom, yTo, yTo - yFrom};
    EnsureRange(x);
    EnsureRange(y);
    xmin = x.min;
    xmax = x.max;
    ymin = y.min;
    ymax = y.max;
}

real DiagramFrame::AxisValue(real v, bool logarithmic) const {
    if (!logarithmic) return v;
    return v > 0 ? std::log10(v) : kLogOfNonPositive;
}

real DiagramFrame::MapX(real x) const {
    const real range = XRange() != 0 ? XRange() : 1;
    return (AxisValue(x, xLog) - xmin) / range * W + x0;
}

real DiagramFrame::MapY(real y) const {
    const real range = YRange() != 0 ? YRange() : 1;
    return (AxisValue(y, yLog) - ymin) / range * H + y0;
}

bool DiagramFrame::Inside(real sx, real sy) const {
    return sx >= x0 && sx <= x0 + W && sy >= y0 && sy <= y0 + H;
}

void DiagramFrame::SetTextStyle(const TextStyle& style) {
    text_ = style;
    cad_.CadTextStyle(style.font, style.angle, style.height, style.width);
}

void DiagramFrame::DiagTextStyle(int font, real angle, real height, real width) {
    const real xr = XRange() != 0 ? XRange() : 1, yr = YRange() != 0 ? YRange() : 1;
    SetTextStyle({font, angle, std::fabs(height * H / yr), std::fabs(width * W / xr)});
}

void DiagramFrame::DiagScaledTextStyle(int font, real angle, real height, real width) {
    const real f = std::max(0.01L * H, 0.00625L * W);
    SetTextStyle({font, angle, height * f, width * f});
}

void DiagramFrame::Arrow(real tipX, real tipY, real direction, real size) {
    // CadArrow draws a head 3.5 drawing-scale units long; the diagram wants its own size.
    const real saved = cad_.DrawingScale();
    cad_.SetDrawingScale(size / 3.5L);
    cad_.CadArrow(tipX, tipY, direction);
    cad_.SetDrawingScale(saved);
}

void DiagramFrame::DiagAxes(std::string_view xName, std::string_view yName, std::string_view title,
                            real xFrom, real yFrom, real xTo, real yTo, int mode) {
    // 1. Title, centred over the frame but not left of the sheet.
    cad_.CadLayer(kTitleLayer);
    DiagScaledTextStyle(2, 0, 3.5L, 2.5L);
    const real titleX = std::max<real>(0, x0 + W / 2 - static_cast<real>(title.size()) * 3.5L / 2);
    cad_.CadText(title, titleX, y0 + H + 3);

    // 2. Scales (the logarithms of the limits on a logarithmic axis).
    cad_.CadLayer(kAxisLayer);
    AxisScale xs = xLog ? DecadeScale(AxisValue(xFrom, true), AxisValue(xTo, true))
                        : NiceScale(xFrom, xTo, kLinearDivisions);
    AxisScale ys = yLog ? DecadeScale(AxisValue(yFrom, true), AxisValue(yTo, true))
                        : NiceScale(yFrom, yTo, kLinearDivisions);

    // 3. The limits dialog may replace them.
    if (limitsHook) limitsHook(title, xName, yName, xs, ys);
    EnsureRange(xs);
    EnsureRange(ys);

    // 4. Install.
    xmin = xs.min;
    xmax = xs.max;
    ymin = ys.min;
    ymax = ys.max;
    xStep = xs.step;
    yStep = ys.step;
    const real xr = XRange(), yr = YRange();
    // Sheet point of axis values (logarithms already taken).
    auto sx = [&](real v) { return (v - xmin) / xr * W + x0; };
    auto sy = [&](real v) { return (v - ymin) / yr * H + y0; };
    auto label = [&](real v, bool logarithmic) {
        return EngineeringFormat(config_, logarithmic ? std::pow(10.0L, v) : v);
    };

    // 5. x axis line with its arrow head, when the y range holds 0.
    if (!yLog && ymin <= 0 && ymax >= 0) {
        const real tip = sx(xmax + 0.05L * xr);
        cad_.CadLine(sx(xmin), sy(0), tip, sy(0));
        Arrow(tip, sy(0), 180, 0.04L * W);
    }

    // 6. Ticks and labels of the x divisions, then the x name.
    DiagScaledTextStyle(2, 0, 2.3L, 1.9L);
    const int nx = Divisions(xs), ny = Divisions(ys);
    for (int i = 0; i <= nx; ++i) {
        const real v = xmin + i * xStep;
        cad_.CadLine(sx(v), sy(ymin), sx(v), sy(ymin - 0.01L * yr));
        cad_.CadText(label(v, xLog), sx(v - 0.01L * xr), sy(ymin - 0.10L * yr));
    }
    // The name sits 6 % of the range beyond the maximum (1.06 times it for an axis from 0).
    if (mode == 2)
        cad_.CadText(xName, sx(xmax + 0.01L * xr), sy(ymin + 0.03L * yr));
    else
        cad_.CadText(xName, sx(xmax + 0.06L * xr), sy(ymin - 0.07L * yr));

    // 7. y axis line with its arrow head, when the x range holds 0.
    if (!xLog && xmin <= 0 && xmax >= 0) {
        const real tip = sy(ymax + 0.05L * yr);
        cad_.CadLine(sx(0), sy(ymin), sx(0), tip);
        Arrow(sx(0), tip, 270, 0.04L * H);
    }

    // 8. Ticks and labels of the y divisions, then the y name above the axis.
    for (int i = 0; i <= ny; ++i) {
        const real v = ymin + i * yStep;
        cad_.CadLine(sx(xmin), sy(v), sx(xmin - 0.01L * xr), sy(v));
        cad_.CadText(label(v, yLog), sx(xmin - 0.10L * xr), sy(v - 0.01L * yr));
    }
    cad_.CadText(yName, sx(xmin - 0.10L * xr), sy(ymax + 0.07L * yr));

    // 9. Dotted grid at every division; a logarithmic axis adds 2..9 within each decade.
    cad_.CadLineType(kDotted);
    auto vertical = [&](real v) { cad_.CadLine(sx(v), sy(ymin), sx(v), sy(ymax)); };
    auto horizontal = [&](real v) { cad_.CadLine(sx(xmin), sy(v), sx(xmax), sy(v)); };
    for (int i = 0; i <= nx; ++i)
        vertical(xmin + i * xStep);
    for (int i = 0; i <= ny; ++i)
        horizontal(ymin + i * yStep);
    auto minorDecades = [](real from, real to, const auto& draw) {
        for (real decade = std::floor(from); decade < to && decade - from < kMaxDivisions; ++decade)
            for (int m = 2; m <= 9; ++m) {
                const real v = decade + std::log10(static_cast<real>(m));
                if (v > from && v < to) draw(v);
            }
    };
    if (xLog) minorDecades(xmin, xmax, vertical);
    if (yLog) minorDecades(ymin, ymax, horizontal);
    cad_.CadLineType(kContinuous);
}

void DiagramFrame::DiagUnitFactors(real fy, real fx) {
    auto divide = [](real& lo, real& hi, real f, bool logarithmic) {
        if (!(f > 0) || !std::isfinite(f)) return; // no factor to divide by
        if (logarithmic) {
            lo -= std::log10(f);
            hi -= std::log10(f);
        } else {
            lo /= f;
            hi /= f;
        }
    };
    divide(ymin, ymax, fy, yLog);
    divide(xmin, xmax, fx, xLog);
}

void DiagramFrame::LineInFrame(real x1, real y1, real x2, real y2) {
    if (!Finite(x1, y1) || !Finite(x2, y2)) return;
    const bool point = x1 == x2 && y1 == y2;
    if (!ClipSegment(x1, y1, x2, y2, x0, y0, x0 + W, y0 + H)) return;
    // A segment that only touches a corner of the frame leaves nothing to draw.
    if (!point && x1 == x2 && y1 == y2) return;
    cad_.CadLine(x1, y1, x2, y2);
}

void DiagramFrame::DiagMoveTo(real x, real y) {
    penX_ = x;
    penY_ = y;
}

void DiagramFrame::DiagLineTo(real x, real y) {
    LineInFrame(MapX(penX_), MapY(penY_), MapX(x), MapY(y));
    penX_ = x;
    penY_ = y;
}

void DiagramFrame::DiagLine(real x1, real y1, real x2, real y2) {
    LineInFrame(MapX(x1), MapY(y1), MapX(x2), MapY(y2));
}

void DiagramFrame::DiagText(std::string_view text, real x, real y) {
    const real sx = MapX(x), sy = MapY(y);
    if (Finite(sx, sy)) cad_.CadText(text, sx, sy);
}

void DiagramFrame::DiagRefLine(std::string_view text, real y, real x) {
    const int savedType = cad_.LineType();
    cad_.CadLineType(kDashed);
    DiagLine(0, y, x, y);
    DiagLine(x, y, x, 0);
    cad_.CadLineType(savedType);
    const TextStyle saved = text_;
    SetTextStyle({saved.font, 0, 0.025L * H, 0.02L * W});
    const real sx = (MapX(0) + MapX(x)) / 2, sy = MapY(y) + 0.01L * H;
    if (Finite(sx, sy)) {
        cad_.CadTextAlign(1, 0);
        cad_.CadText(text, sx, sy);
        cad_.CadTextAlign(0, 0);
    }
    SetTextStyle(saved);
}

void DiagramFrame::DiagMarker(int kind, real x, real y) {
    const real sx = MapX(x), sy = MapY(y);
    if (!Finite(sx, sy) || !Inside(sx, sy)) return;
    const real hx = W / 150, hy = H / 150; // 1/150 of the data range, on the sheet
    switch (kind) {
    case 1:
        cad_.CadCircle(sx, sy, 1.5L * hx);
        break;
    case 2:
        cad_.CadRectangle(sx - hx, sy - hy, sx + hx, sy + hy);
        break;
    case 3:
        cad_.CadMoveTo(sx - 1.5L * hx, sy);
        cad_.CadLineTo(sx, sy + 1.2L * hy);
        cad_.CadLineTo(sx + 1.5L * hx, sy);
        cad_.CadLineTo(sx, sy - 1.2L * hy);
        cad_.CadLineTo(sx - 1.5L * hx, sy);
        break;
    case 4:
        cad_.CadMoveTo(sx - hx, sy - hy);
        cad_.CadLineTo(sx + hx, sy - hy);
        cad_.CadLineTo(sx, sy + hy);
        cad_.CadLineTo(sx - hx, sy - hy);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Text blocks

void DrawTitleLines(CadOutput& cad, const SpringRecord& spring) {
    cad.CadLayer(kValueLayer);
    cad.CadTextStyle(kBlockFont, 0, kBlockHeight, kBlockWidth);
    cad.CadCursor(kTitleX, kTitleY);
    cad.CadTextLine(spring.TitleLine);
    cad.CadTextLine(spring.remark1);
    cad.CadTextLine(spring.remark2);
}

void DataBlock(CadOutput& cad, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    cad.CadTextStyle(kBlockFont, 0, kBlockHeight, kBlockWidth);
    cad.CadLineSpacing(1);
    cad.CadCursor(kDataX, kDataY);
    auto heading = [&](std::string_view textLine) {
        cad.CadLayer(kHeadingLayer);
        cad.CadTextLine(textLine);
        cad.CadLayer(kValueLayer);
    };
    // label, value, tolerance text, a blank and the unit
    auto line = [&](std::string_view label, Quantity q, real v, const std::string& tolerance = {}) {
        cad.CadTextLine(std::string(label) + ShowShort(c, q, v) + tolerance + " " +
                        UnitLabel(c, q));
    };
    auto pair = [&](Quantity q, real upper, real lower) {
        return DeviationText(c, q, upper, lower);
    };
    const Quantity L = Quantity::Length, F = Quantity::Force, R = Quantity::Rate;

    heading(text::kDimensions);
    const std::string wireTolerance = pair(L, s.wireTol, -s.wireTol);
    if (s.wireType == 2 || s.wireType == 4) {
        line(text::kWidthB, L, s.d);
        line(text::kHeightH, L, s.h);
    } else if (s.wireType == 3) {
        line(text::kSideA, L, s.d, wireTolerance);
    } else {
        line(text::kWireD, L, s.d, wireTolerance);
    }
    // Dm carries its pair one blank behind the value, as in the report; no unit.
    const std::string dmPair = pair(L, s.tolDUpper, s.tolDLower);
    cad.CadTextLine(std::string(text::kDm) + ShowShort(c, L, s.Dm) +
                    (dmPair.empty() ? std::string() : " " + dmPair));
    cad.CadTextLine(std::string(text::kCoils) + ShortFormat(c, s.n) + std::string(text::kCoilUnit));
    cad.CadTextLine(std::string(text::kTotalCoils) + ShortFormat(c, s.nt) +
                    std::string(text::kCoilUnit));
    line(text::kL0, L, s.L0, pair(L, s.tolL0Upper, s.tolL0Lower));
    cad.CadLineFeed(kGroupGap);

    heading(text::kLengths);
    line(text::kL1, L, s.L1);
    line(text::kLx, L, s.Lx);
    line(text::kL2, L, s.L2);
    line(text::kLn, L, s.Ln);
    line(text::kLc, L, s.Lc);
    cad.CadLineFeed(kGroupGap);

    heading(text::kDeflections);
    line(text::kS1, L, s.s1);
    line(text::kSx, L, s.sx);
    line(text::kS2, L, s.s2);
    cad.CadLineFeed(kGroupGap);

    heading(text::kForces);
    if (s.F1 <= 0)
        cad.CadTextLine(text::kF1Zero);
    else
        line(text::kF1, F, s.F1, pair(F, s.tolF1Upper, s.tolF1Lower));
    line(text::kFx, F, s.Fx);
    line(text::kF2, F, s.F2, pair(F, s.tolF2Upper, s.tolF2Lower));
    line(text::kFn, F, s.Fn);
    line(text::kFc, F, s.Fc);
    cad.CadLineFeed(kGroupGap);

    heading(text::kRates);
    line(text::kR0, R, s.R0);
    line(text::kR1, R, s.R1);
    line(text::kR2, R, s.R2);
    line(text::kRc, R, s.Rc);
}

} // namespace kora

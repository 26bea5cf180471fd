#include "graphics/hatching.h"

#include "calc/session.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kora {
namespace {

constexpr real kPi = std::numbers::pi_v<real>;
constexpr int kLayerBoundary = 5;
constexpr int kLayerHatch = 3;
constexpr int kMaxClipPoints = kEllipsePoints + 1;

real Radians(real degrees) {
    return degrees * kPi / 180;
}
real Degrees(real radians) {
    return radians * 180 / kPi;
}

// Hatch lines at angle beta: direction u and the normal n; a line is {p : p.n = d}.
struct HatchFrame {
    real ux, uy, nx, ny;
    explicit HatchFrame(real beta) {
        const real b = Radians(beta);
        ux = std::cos(b);
        uy = std::sin(b);
        nx = -uy;
        ny = ux;
    }
    real Along(real x, real y) const { return x * ux + y * uy; }
    real Across(real x, real y) const { return x * nx + y * ny; }
    HatchPointXY At(real t, real d) const { return {t * ux + d * nx, t * uy + d * ny}; }
};

// beta = 0 (and its multiples of 180 degrees) draws no hatch lines.
bool HasHatchLines(real beta) {
    return std::isfinite(beta) && std::fmod(std::fabs(beta), 180.0L) != 0;
}

// The distance between the lines: c, or a tenth of the face's extent across the lines.
real LineSpacing(real c, real extent) {
    return c != 0 ? std::fabs(c) : extent * 0.1L;
}

// Sorts at most kMaxIntersections values.
bool SortIntersections(real* t, int n) {
    if (n > Hatching::kMaxIntersections) return false;
    for (int i = 1; i < n; ++i)
        for (int j = i; j > 0 && t[j - 1] > t[j]; --j)
            std::swap(t[j - 1], t[j]);
    return true;
}

} // namespace

void Hatching::Fail(const char* text, bool abort) {
    session_.Message(text);
    if (abort) session_.AbortFlag = true;
}

bool Hatching::HatchPoint(real x, real y) {
    if (count_ >= kMaxPoints || !std::isfinite(x) || !std::isfinite(y)) {
        Fail(hatchtext::kHatchError, false);
        return false;
    }
    points_[static_cast<std::size_t>(count_++)] = {x, y};
    return true;
}

void Hatching::HatchBoundaryBegin(int flags) {
    boundaryDrawn_ = HatchMode != 2;
    if (HatchMode == 1) out_.CadLayer(kLayerBoundary);
    if (boundaryDrawn_) out_.CadPolylineBegin(flags);
    HatchClear();
    haveVertex_ = false;
    lastBulge_ = 0;
}

void Hatching::AddArcPoints(real bulge, const HatchPointXY& from, const HatchPointXY& to) {
    // Centre on the perpendicular bisector of the chord; left of from->to for a positive angle.
    const real dx = to.x - from.x, dy = to.y - from.y;
    const real chord = std::hypot(dx, dy);
    const real half = bulge / 2;
    if (chord == 0 || std::sin(half) == 0 || std::tan(half) == 0) return;
    const real h = (chord / 2) / std::tan(half);
    const real cx = (from.x + to.x) / 2 - dy / chord * h;
    const real cy = (from.y + to.y) / 2 + dx / chord * h;
    const real radius = std::hypot(from.x - cx, from.y - cy);
    const real start = std::atan2(from.y - cy, from.x - cx);
    const int steps = std::max(3, static_cast<int>(std::lround(Degrees(std::fabs(bulge)) / 15)));
    for (int k = 1; k <= steps; ++k) {
        const real a = start + bulge * k / (steps + 1);
        if (!HatchPoint(cx + radius * std::cos(a), cy + radius * std::sin(a))) return;
    }
}

void Hatching::HatchBoundaryVertex(real bulge, real x, real y) {
    if (boundaryDrawn_) out_.CadPolylineVertex(Degrees(bulge), x, y);
    const HatchPointXY p{x, y};
    if (haveVertex_ && lastBulge_ != 0) AddArcPoints(lastBulge_, lastVertex_, p);
    HatchPoint(x, y);
    haveVertex_ = true;
    lastVertex_ = p;
    lastBulge_ = std::isfinite(bulge) ? bulge : 0;
}

void Hatching::HatchBoundaryEnd(int n, real beta, real c) {
    if (boundaryDrawn_) out_.CadPolylineEnd();
    boundaryDrawn_ = false;
    haveVertex_ = false;
    // The polyline just ended is the boundary; only the lines are still to come, on the layer
    // of the hatch mode (the current one in mode 0).
    HatchCollected(n, beta, c, false);
}

void Hatching::HatchPolygon(int n, real beta, real c) {
    HatchCollected(n, beta, c, true);
}

void Hatching::HatchCollected(int n, real beta, real c, bool drawBoundary) {
    if (n == 0) n = count_;
    if (n < 0 || n > kMaxPoints || n > count_) {
        Fail(hatchtext::kTooManyPoints, false);
        return;
    }
    if (n == 0) return;
    const HatchPointXY first = points_[0];
    const HatchPointXY last = points_[static_cast<std::size_t>(n - 1)];
    if (first.x != last.x || first.y != last.y) points_[static_cast<std::size_t>(n++)] = first;
    count_ = n;

    if (drawBoundary && HatchMode == 1) out_.CadLayer(kLayerBoundary);
    if (drawBoundary && HatchMode != 2) {
        out_.CadPolylineBegin(0);
        for (int i = 0; i < n; ++i)
            out_.CadPolylineVertex(0, points_[i].x, points_[i].y);
        out_.CadPolylineEnd();
    }
    HatchLines(points_.data(), n, beta, c);
}

bool Hatching::HatchLines(const HatchPointXY* pts, int n, real beta, real c) {
    if (!HasHatchLines(beta) || n < 3 || n > kMaxClipPoints) return true;
    if (HatchMode == 1 || HatchMode == 2) out_.CadLayer(kLayerHatch);
    const HatchFrame frame(beta);
    std::array<real, kMaxClipPoints> along{}, across{};
    real dmin = 0, dmax = 0;
    for (int i = 0; i < n; ++i) {
        along[i] = frame.Along(pts[i].x, pts[i].y);
        across[i] = frame.Across(pts[i].x, pts[i].y);
        dmin = i == 0 ? across[i] : std::min(dmin, across[i]);
        dmax = i == 0 ? across[i] : std::max(dmax, across[i]);
    }
    const real step = LineSpacing(c, dmax - dmin);
    if (!(dmax > dmin) || !(step > 0) || !std::isfinite(step)) return true;
    if ((dmax - dmin) / step > kMaxLines) {
        Fail(hatchtext::kHatchError, false);
        return true;
    }
    for (int k = 1;; ++k) {
        const real d = dmin + k * step;
        if (!(d < dmax)) break;
        // An edge crosses the line when its ends lie on different sides; a vertex on the line
        // counts as below it, so a line through a vertex is met once where the boundary passes
        // and twice (in one point) or not at all at a tip.
        real t[kMaxIntersections];
        int hits = 0;
        for (int i = 1; i < n; ++i) {
            const real sa = across[i - 1] - d, sb = across[i] - d;
            if ((sa > 0) == (sb > 0)) continue;
            if (hits == kMaxIntersections) {
                Fail(hatchtext::kTooManyIntersections, true);
                return false;
            }
            t[hits++] = along[i - 1] + (along[i] - along[i - 1]) * sa / (sa - sb);
        }
        if (!SortIntersections(t, hits)) {
            Fail(hatchtext::kSortError, true);
            return false;
        }
        for (int i = 0; i + 1 < hits; i += 2) {
            if (t[i] == t[i + 1]) continue; // a tip touched: no single-point segment
            const HatchPointXY a = frame.At(t[i], d), b = frame.At(t[i + 1], d);
            out_.CadLine(a.x, a.y, b.x, b.y);
        }
    }
    return true;
}

void Hatching::HatchRectangle(real beta, real c, real x1, real y1, real x2, real y2) {
    if (c == 0) c = std::round(0.2L * std::max(std::fabs(x2 - x1), std::fabs(y2 - y1)));
    HatchClear();
    HatchPoint(x1, y1);
    HatchPoint(x2, y1);
    HatchPoint(x2, y2);
    HatchPoint(x1, y2);
    HatchPolygon(4, beta, c);
}

void Hatching::HatchRoundedRectangle(real beta, real c, real r, real x1, real y1, real x2,
                                     real y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    // A radius beyond half the smaller side would turn the outline inside out.
    r = std::clamp(std::fabs(r), 0.0L, std::min(x2 - x1, y2 - y1) / 2);
    const real q = r > 0 ? kPi / 2 : 0; // quarter arc, counter-clockwise
    struct Vertex {
        real bulge, x, y;
    };
    const Vertex outline[] = {
        {0, x1 + r, y1}, {q, x2 - r, y1}, {0, x2, y1 + r}, {q, x2, y2 - r}, {0, x2 - r, y2},
        {q, x1 + r, y2}, {0, x1, y2 - r}, {q, x1, y1 + r}, {0, x1 + r, y1},
    };
    HatchBoundaryBegin(0);
    for (const Vertex& v : outline)
        HatchBoundaryVertex(v.bulge, v.x, v.y);
    HatchBoundaryEnd(0, beta, c);
}

void Hatching::HatchOval(real beta, real c, real x1, real y1, real x2, real y2) {
    const real r = std::min(std::fabs(x2 - x1), std::fabs(y2 - y1)) / 2;
    HatchRoundedRectangle(beta, c, r, x1, y1, x2, y2);
}

void Hatching::HatchCircle(real c, real r, real x, real y) {
    HatchSector(45, 359.99999L, 0, c, r, x, y);
}

void Hatching::HatchSector(real beta, real endAngle, real startAngle, real c, real r, real x,
                           real y) {
    r = std::fabs(r);
    if (!(r > 0) || !std::isfinite(r)) return;
    const bool full = std::fabs(startAngle) <= 0.01L && std::fabs(endAngle - 360) <= 0.01L;
    if (HatchMode == 1) out_.CadLayer(kLayerBoundary);
    if (HatchMode != 2) {
        if (full) {
            out_.CadCircle(x, y, r);
        } else {
            out_.CadArc(x, y, r, startAngle, endAngle);
            out_.CadLine(x, y, x + r * std::cos(Radians(startAngle)),
                         y + r * std::sin(Radians(startAngle)));
            out_.CadLine(x, y, x + r * std::cos(Radians(endAngle)),
                         y + r * std::sin(Radians(endAngle)));
        }
    }
    if (!HasHatchLines(beta)) return;
    // The angle normalised to -90..90 degrees: the same lines, a fixed direction.
    beta = std::fmod(beta, 180.0L);
    if (beta > 90) beta -= 180;
    if (beta < -90) beta += 180;
    real sweep = std::fmod(endAngle - startAngle, 360.0L);
    if (sweep < 0) sweep += 360;
    if (sweep == 0 && endAngle == startAngle && !full) return; // an empty sector
    const bool whole = full || sweep == 0;
    const real step = LineSpacing(c, 2 * r);
    if (2 * r / step > kMaxLines) {
        Fail(hatchtext::kHatchError, false);
        return;
    }
    if (HatchMode == 1 || HatchMode == 2) out_.CadLayer(kLayerHatch);
    const HatchFrame frame(beta);
    const auto inSector = [&](real px, real py) {
        real a = std::fmod(Degrees(std::atan2(py, px)) - startAngle, 360.0L);
        if (a < 0) a += 360;
        return a <= sweep;
    };
    for (int k = 1;; ++k) {
        const real d = -r + k * step; // across the lines, from the centre
        if (!(d < r)) break;
        const real h = std::sqrt(r * r - d * d);
        if (whole) {
            const HatchPointXY a = frame.At(-h, d), b = frame.At(h, d);
            out_.CadLine(x + a.x, y + a.y, x + b.x, y + b.y);
            continue;
        }
        // Cut the chord where it meets the two radii, keep the pieces inside the sector.
        real cuts[4] = {-h, h, h, h};
        int nc = 1;
        for (real angle : {startAngle, endAngle}) {
            const real wx = std::cos(Radians(angle)), wy = std::sin(Radians(angle));
            const real wn = wx * frame.nx + wy * frame.ny;
            if (wn == 0) continue;
            const real s = d / wn; // distance along the radius
            if (s < 0 || s > r) continue;
            const real t = s * (wx * frame.ux + wy * frame.uy);
            if (t > -h && t < h) cuts[nc++] = t;
        }
        cuts[nc++] = h;
        SortIntersections(cuts, nc);
        nc = static_cast<int>(std::unique(cuts, cuts + nc) - cuts);
        const auto keep = [&](int i) {
            const HatchPointXY mid = frame.At((cuts[i] + cuts[i + 1]) / 2, d);
            return inSector(mid.x, mid.y);
        };
        for (int i = 0; i + 1 < nc;) {
            if (!keep(i)) {
                ++i;
                continue;
            }
            int j = i;
            while (j + 1 < nc && keep(j))
                ++j;
            const HatchPointXY p = frame.At(cuts[i], d), q = frame.At(cuts[j], d);
            out_.CadLine(x + p.x, y + p.y, x + q.x, y + q.y);
            i = j;
        }
    }
}

void Hatching::HatchEllipse(real a, real b, real x, real y, real c) {
    a = std::fabs(a);
    b = std::fabs(b);
    if (!(a > 0) || !(b > 0) || !std::isfinite(a) || !std::isfinite(b)) return;
    out_.CadLayer(kLayerBoundary);
    out_.CadEllipse(a, b, x, y);
    // Clipped to the outline as drawn, so no line pokes out of a flat polygon edge. The 50
    // points of HatchPoints could not hold a smooth ellipse, so the outline is kept here.
    std::array<HatchPointXY, kEllipsePoints + 1> outline{};
    for (int k = 0; k < kEllipsePoints; ++k) {
        const real t = 0.05L * k;
        outline[static_cast<std::size_t>(k)] = {x + a * std::cos(t), y + b * std::sin(t)};
    }
    outline[kEllipsePoints] = outline[0];
    HatchLines(outline.data(), kEllipsePoints + 1, 45, c);
}

} // namespace kora

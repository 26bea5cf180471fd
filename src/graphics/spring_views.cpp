#include "graphics/spring_views.h"

#include "base/numformat.h"
#include "base/program.h"
#include "base/units.h"
#include "calc/characteristic.h"
#include "calc/dialog_calls.h"
#include "calc/message_window.h"
#include "calc/session.h"
#include "calc/settings.h"
#include "engine/calculate.h"
#include "graphics/diagram.h"
#include "graphics/diagram_sheets.h"
#include "graphics/diagram_texts.h"
#include "graphics/display_list.h"
#include "graphics/hatching.h"
#include "graphics/strength_diagrams.h"
#include "graphics/view_texts.h"
#include "graphics/window_mapping.h"
#include "strength/stress.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

namespace kora {
namespace text = view_text;

namespace {

constexpr real kPi = std::numbers::pi_v<real>;
constexpr real kDegree = kPi / 180;
constexpr int kTablesVariant = 2;

// Layers.
constexpr int kAxisLayer = 1;     // centre line
constexpr int kOpenLayer = 1;     // schema: a section that still deflects
constexpr int kEdgeLayer = 5;     // visible wire edges; schema: a solid section
constexpr int kTextLayer = 4;     // force and length lines
constexpr int kHelixLayer = 0;    // 3D helix
constexpr int kGridLayer = 17;    // 3D axes, ticks and grid
constexpr int kPageLayer = 19;    // overview values
constexpr int kHeadingLayer = 21; // overview heading
constexpr int kContinuous = 0, kDotted = 1;
constexpr int kFont = 2;

// Wire sections: hatch angle and line distance per wire diameter.
constexpr real kHatchAngle = 45;
constexpr real kHatchDistance = 0.2L;

// 3D view: frame on the 160 x 120 sheet, text sizes, label distance from the box (mm).
constexpr real kSheetW = 160, kSheetH = 120;
constexpr real kFrame3DSize = 100, kFrame3DX = 25, kFrame3DY = 10;
constexpr real kLetterHeight = 1.8L, kLetterWidth = 1.5L;
constexpr real kTickHeight = 1.5L, kTickWidth = 1.2L;
constexpr real kTickLabelGap = 3;
constexpr real kBoxMargin = 1.08L; // room around the box for the axis letters and labels
constexpr int kMaxTicks = 1000;

// Overview page.
constexpr real kTitleX = 117.5L, kTitleY = 1;
constexpr std::size_t kTitleLength = 45;
constexpr real kSmallDiagramSize = 50, kSmallDiagramX = 8, kSmallDiagramY = 8;
constexpr real kGoodmanX = 70, kGoodmanY = 0, kGoodmanScale = 0.6L;
constexpr real kSpringX = 25, kSpringY = 70, kSpringWidth = 40, kSpringHeight = 45;
constexpr real kValueHeight = 1.5L, kValueWidth = 1.1L;
constexpr real kValueTableX = 60, kValueColumn = 15;
constexpr real kValueTableTop = 116.5L, kValueRow = 3;
constexpr real kTauX = 85, kTauY = 101.5L, kTauYWithLx = 98.5L;
constexpr real kLinesX = 60, kLinesY = 95;
constexpr real kMessagesX = 100, kMessagesY = 95;
constexpr real kSectionHeight = 1.5L, kSectionWidth = 1.2L, kSectionRows = 13.5L;
constexpr real kSectionTableX = 137, kSectionTableTop = 116.5L;
// Column starts of the coil-section table, in character widths.
constexpr std::array<real, 4> kSectionColumnAt = {0, 3, 8.5L, 14};

bool Finite(real v) {
    return std::isfinite(static_cast<double>(v));
}

// Height of the wire in the axial direction: h for the wires given as d x h.
real WireHeight(const SpringRecord& s) {
    switch (s.wireType) {
    case 2:
    case 4:
    case 5:
    case 6:
        return s.h;
    default:
        return s.d;
    }
}

bool RoundOutline(word wireType) {
    return wireType == 1 || wireType == 2 || wireType == 5 || wireType < 1 || wireType > 6;
}

std::string ValueAndUnit(const Configuration& c, Quantity q, real v) {
    return ShowShort(c, q, v) + " " + UnitLabel(c, q);
}

// The "F= " and "L= " lines of the cut drawing and the schema, from (x, L0 / 15).
void ForceAndLengthLines(CadOutput& cad, const Session& session, real L, real F, real x) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    cad.CadLayer(kTextLayer);
    cad.CadTextStyle(kFont, 0, s.L0 * 0.02L, s.L0 / 70);
    cad.CadCursor(x, s.L0 / 15);
    if (std::fabs(F) > 0.001L * s.Fc)
        cad.CadTextLine(std::string(text::kForceLine) + ValueAndUnit(c, Quantity::Force, F));
    cad.CadTextLine(std::string(text::kLengthLine) + ValueAndUnit(c, Quantity::Length, L));
}

// Unit normal of the segment times `half`; nullopt for a segment of no length.
std::optional<CadPoint> Normal(real x1, real y1, real x2, real y2, real half) {
    const real dx = x2 - x1, dy = y2 - y1;
    const real length = std::hypot(dx, dy);
    if (!(length > 0) || !Finite(length)) return std::nullopt;
    return CadPoint{-dy / length * half, dx / length * half};
}

// The two edges of the wire along the coil segment, `half` to either side of it.
void WireEdges(CadOutput& cad, real x1, real y1, real x2, real y2, real half) {
    const auto n = Normal(x1, y1, x2, y2, half);
    if (!n) return;
    cad.CadLine(x1 + n->x, y1 + n->y, x2 + n->x, y2 + n->y);
    cad.CadLine(x1 - n->x, y1 - n->y, x2 - n->x, y2 - n->y);
}

// Where the front half of a coil turns to the back: a half circle on the outer side of each
// end of the segment (round outlines), else a straight cap across the wire.
void WireTurns(CadOutput& cad, real x1, real y1, real x2, real y2, real half, bool round) {
    const auto n = Normal(x1, y1, x2, y2, half);
    if (!n) return;
    if (!round) {
        cad.CadLine(x1 + n->x, y1 + n->y, x1 - n->x, y1 - n->y);
        cad.CadLine(x2 + n->x, y2 + n->y, x2 - n->x, y2 - n->y);
        return;
    }
    const real angle = std::atan2(n->y, n->x) / kDegree;
    // Counter-clockwise from n to -n turns through the side before the first point, from -n
    // to n through the side beyond the second.
    cad.CadArc(x1, y1, half, angle, angle + 180);
    cad.CadArc(x2, y2, half, angle - 180, angle);
}

// ---- 3D view ----

struct Box3D {
    std::array<AxisScale, 3> scale{};       // display units
    std::array<real, 3> lo{}, hi{}, step{}; // mm
};

// Tick values of an axis, in mm, by the step count.
std::vector<real> Ticks(const Box3D& box, int axis) {
    std::vector<real> ticks;
    if (!(box.step[axis] > 0)) return ticks;
    const real count = std::round((box.hi[axis] - box.lo[axis]) / box.step[axis]);
    if (!Finite(count) || count < 0 || count > kMaxTicks) return ticks;
    for (int k = 0; k <= static_cast<int>(count); ++k)
        ticks.push_back(box.lo[axis] + k * box.step[axis]);
    return ticks;
}

std::array<real, 3> Along(int axis, real v, const std::array<real, 3>& rest) {
    std::array<real, 3> p = rest;
    p[static_cast<std::size_t>(axis)] = v;
    return p;
}

class View3D {
  public:
    View3D(DiagramContext& ctx, const Projection3D& projection)
        : ctx_(ctx), cad_(ctx.cad), frame_(ctx.frame), p_(projection) {}

    void Draw(real L, real F, bool trueVertices) {
        Session& session = ctx_.session;
        const Configuration& c = session.config;
        const SpringRecord& s = session.spring;
        frame_.DiagReset();
        frame_.DiagSetSize(kFrame3DSize, kFrame3DSize);
        frame_.DiagSetOrigin(kFrame3DX, kFrame3DY);

        // Scales of six divisions in the display unit; the box spans them.
        const real f = ScaleValue(c, Quantity::Length, 1);
        const real r = 0.6L * s.Dm * f;
        box_.scale = {NiceScale(-r, r, 6), NiceScale(-r, r, 6), NiceScale(0, L * f, 6)};
        for (int i = 0; i < 3; ++i) {
            box_.lo[i] = box_.scale[i].min / f;
            box_.hi[i] = box_.scale[i].max / f;
            box_.step[i] = box_.scale[i].step / f;
        }
        InstallRanges();

        cad_.CadLayer(kGridLayer);
        cad_.CadLineType(kContinuous);
        Axes();
        TickLabels();
        Grid();

        cad_.CadLayer(kHelixLayer);
        cad_.CadLineType(kContinuous);
        bool first = true;
        std::array<real, 3> previous{};
        WalkHelix(session, F, [&](real x, real y, real z) {
            const CadPoint q = p_.Project(x, y, z);
            if (first)
                frame_.DiagMoveTo(q.x, q.y);
            else
                frame_.DiagLineTo(q.x, q.y);
            if (trueVertices && !first)
                cad_.CadLine3D(previous[0], previous[1], previous[2], x, y, z);
            previous = {x, y, z};
            first = false;
        });
        frame_.DiagReset();
    }

  private:
    CadPoint Project(const std::array<real, 3>& v) const { return p_.Project(v[0], v[1], v[2]); }

    std::array<real, 3> AxisEnd(int axis) const {
        return Along(axis, box_.hi[axis] + 0.05L * box_.step[axis], {0, 0, 0});
    }

    // The projected box and axis ends fill the square frame at one scale in both directions,
    // so the helix is not distorted.
    void InstallRanges() {
        real xa = std::numeric_limits<real>::infinity(), xb = -xa, ya = xa, yb = -xa;
        auto extend = [&](const CadPoint& q) {
            if (!Finite(q.x) || !Finite(q.y)) return;
            xa = std::min(xa, q.x);
            xb = std::max(xb, q.x);
            ya = std::min(ya, q.y);
            yb = std::max(yb, q.y);
        };
        for (int corner = 0; corner < 8; ++corner)
            extend(
                Project({corner & 1 ? box_.hi[0] : box_.lo[0], corner & 2 ? box_.hi[1] : box_.lo[1],
                         corner & 4 ? box_.hi[2] : box_.lo[2]}));
        for (int axis = 0; axis < 3; ++axis)
            if (!p_.Suppressed(axis)) extend(Project(AxisEnd(axis)));
        if (!(xb >= xa) || !(yb >= ya)) {
            frame_.DiagSetRanges(0, 1, 0, 1);
            return;
        }
        const real cx = (xa + xb) / 2, cy = (ya + yb) / 2;
        real half = std::max(xb - xa, yb - ya) / 2 * kBoxMargin;
        if (!(half > 0) || !Finite(half)) half = 1;
        frame_.DiagSetRanges(cx - half, cx + half, cy - half, cy + half);
    }

    void Line(const std::array<real, 3>& a, const std::array<real, 3>& b) {
        const CadPoint qa = Project(a), qb = Project(b);
        if (std::hypot(qb.x - qa.x, qb.y - qa.y) < 1e-9L * (frame_.XRange() + 1)) return;
        frame_.DiagLine(qa.x, qa.y, qb.x, qb.y);
    }

    void Axes() {
        cad_.CadTextStyle(kFont, 0, kLetterHeight, kLetterWidth);
        for (int axis = 0; axis < 3; ++axis) {
            if (p_.Suppressed(axis)) continue;
            const auto end = AxisEnd(axis);
            Line({0, 0, 0}, end);
            const CadPoint q = Project(end);
            frame_.DiagText(text::kAxisLetters[static_cast<std::size_t>(axis)], q.x, q.y);
        }
    }

    // Three box edges without a common corner carry the tick values, moved away from the box
    // centre: x along y = ymin, z = zmax (z = zmin in the front view); y along x = xmax,
    // z = zmin; z along x = xmin, y = ymax.
    void TickLabels() {
        cad_.CadTextStyle(kFont, 0, kTickHeight, kTickWidth);
        cad_.CadTextAlign(1, 1);
        const std::array<real, 3> centre = {(box_.lo[0] + box_.hi[0]) / 2,
                                            (box_.lo[1] + box_.hi[1]) / 2,
                                            (box_.lo[2] + box_.hi[2]) / 2};
        const real xEdgeZ = p_.Suppressed(1) ? box_.lo[2] : box_.hi[2];
        const std::array<std::array<real, 3>, 3> edges = {
            {{0, box_.lo[1], xEdgeZ}, {box_.hi[0], 0, box_.lo[2]}, {box_.lo[0], box_.hi[1], 0}}};
        auto sheet = [&](const std::array<real, 3>& v) {
            const CadPoint q = Project(v);
            return CadPoint{frame_.MapX(q.x), frame_.MapY(q.y)};
        };
        const CadPoint c = sheet(centre);
        for (int axis = 0; axis < 3; ++axis) {
            if (p_.Suppressed(axis)) continue;
            const auto& edge = edges[static_cast<std::size_t>(axis)];
            // One direction for the whole edge: from the centre to the edge's middle.
            const CadPoint m = sheet(Along(axis, centre[static_cast<std::size_t>(axis)], edge));
            real dx = m.x - c.x, dy = m.y - c.y;
            const real d = std::hypot(dx, dy);
            if (d > 0 && Finite(d)) {
                dx = dx / d * kTickLabelGap;
                dy = dy / d * kTickLabelGap;
            } else {
                dx = 0;
                dy = -kTickLabelGap;
            }
            const AxisScale& scale = box_.scale[static_cast<std::size_t>(axis)];
            int k = 0;
            for (real v : Ticks(box_, axis)) {
                const CadPoint q = sheet(Along(axis, v, edge));
                if (Finite(q.x) && Finite(q.y))
                    cad_.CadText(EngineeringFormat(ctx_.session.config, scale.min + k * scale.step),
                                 q.x + dx, q.y + dy);
                ++k;
            }
        }
        cad_.CadTextAlign(0, 0);
    }

    // Dotted lines at every tick across the three faces through the scale minima; a face
    // that holds a suppressed axis is seen edge-on and left out.
    void Grid() {
        cad_.CadLineType(kDotted);
        constexpr int kFaces[3][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}}; // two axes, fixed axis
        for (const auto& face : kFaces) {
            const int i = face[0], j = face[1], fixed = face[2];
            if (p_.Suppressed(i) || p_.Suppressed(j)) continue;
            std::array<real, 3> base{};
            base[static_cast<std::size_t>(fixed)] = box_.lo[fixed];
            for (int across : {i, j}) {
                const int other = across == i ? j : i;
                for (real v : Ticks(box_, across)) {
                    auto a = Along(across, v, base), b = a;
                    a[static_cast<std::size_t>(other)] = box_.lo[other];
                    b[static_cast<std::size_t>(other)] = box_.hi[other];
                    Line(a, b);
                }
            }
        }
        cad_.CadLineType(kContinuous);
    }

    DiagramContext& ctx_;
    CadOutput& cad_;
    DiagramFrame& frame_;
    Projection3D p_;
    Box3D box_;
};

// ---- Overview page ----

struct Cell {
    std::string_view label;
    Quantity quantity;
    real value;
};

// The working points: columns F, tau, s, R, L; the Lx row only when L2 < Lx < L1.
bool ValueTable(CadOutput& cad, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const bool dynamic = !IsStaticLoad(s);
    const bool withLx = s.L2 < s.Lx && s.Lx < s.L1;
    using Q = Quantity;
    using Row = std::array<std::optional<Cell>, 5>;
    std::vector<Row> rows;
    rows.push_back({std::nullopt, std::nullopt, std::nullopt, Cell{text::kR0, Q::Rate, s.R0},
                    Cell{text::kL0Row, Q::Length, s.L0}});
    rows.push_back(
        {Cell{text::kF1, Q::Force, s.F1},
         dynamic ? Cell{text::kTauk1, Q::Stress, s.tauk1} : Cell{text::kTau1, Q::Stress, s.tau1},
         Cell{text::kS1, Q::Length, s.s1}, Cell{text::kR1, Q::Rate, s.R1},
         Cell{text::kL1, Q::Length, s.L1}});
    rows.push_back(
        {Cell{text::kF2, Q::Force, s.F2},
         dynamic ? Cell{text::kTauk2, Q::Stress, s.tauk2} : Cell{text::kTau2, Q::Stress, s.tau2},
         Cell{text::kS2, Q::Length, s.s2}, Cell{text::kR2, Q::Rate, s.R2},
         Cell{text::kL2, Q::Length, s.L2}});
    if (withLx)
        rows.push_back({Cell{text::kFx, Q::Force, s.Fx}, std::nullopt,
                        Cell{text::kSx, Q::Length, s.sx}, Cell{text::kRx, Q::Rate, s.Rx},
                        Cell{text::kLx, Q::Length, s.Lx}});
    rows.push_back({Cell{text::kFc, Q::Force, s.Fc}, Cell{text::kTauc, Q::Stress, s.tauc},
                    Cell{text::kSc, Q::Length, s.sc}, Cell{text::kRc, Q::Rate, s.Rc},
                    Cell{text::kLc, Q::Length, s.Lc}});

    const std::array<std::pair<std::string_view, Q>, 5> heads = {{{text::kColumnF, Q::Force},
                                                                  {text::kColumnTau, Q::Stress},
                                                                  {text::kColumnS, Q::Length},
                                                                  {text::kColumnR, Q::Rate},
                                                                  {text::kColumnL, Q::Length}}};
    cad.CadLayer(kPageLayer);
    cad.CadTextStyle(kFont, 0, kValueHeight, kValueWidth);
    for (std::size_t j = 0; j < heads.size(); ++j)
        cad.CadText(std::string(heads[j].first) + UnitLabel(c, heads[j].second) +
                        std::string(text::kUnitClose),
                    kValueTableX + j * kValueColumn, kValueTableTop);
    real y = kValueTableTop;
    for (const Row& row : rows) {
        y -= kValueRow;
        for (std::size_t j = 0; j < row.size(); ++j)
            if (row[j])
                cad.CadText(std::string(row[j]->label) + " " +
                                ShowShort(c, row[j]->quantity, row[j]->value),
                            kValueTableX + j * kValueColumn, y);
    }
    return withLx;
}

// The coil sections: i, pitch, coils, length; the end blocks when one of them has a length.
void SectionTable(CadOutput& cad, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const int nsec = std::clamp(s.nsec, 0, kMaxSections);
    if (nsec == 0) return;
    const real height = std::min(kSectionRows / nsec * kSectionHeight, kSectionHeight);
    const real width = kSectionWidth / kSectionHeight * height;
    const bool ends = s.sections[0].L0i > 0 || s.sections[nsec + 1].L0i > 0;
    cad.CadLayer(kPageLayer);
    cad.CadTextStyle(kFont, 0, height, width);
    auto row = [&](real y, const std::array<std::string, 4>& cells) {
        for (std::size_t j = 0; j < cells.size(); ++j)
            cad.CadText(cells[j], kSectionTableX + kSectionColumnAt[j] * width, y);
    };
    real y = kSectionTableTop;
    row(y, {std::string(text::kSectionColumns[0]), std::string(text::kSectionColumns[1]),
            std::string(text::kSectionColumns[2]), std::string(text::kSectionColumns[3])});
    for (int slot = ends ? 0 : 1; slot <= (ends ? nsec + 1 : nsec); ++slot) {
        const CoilSection& sec = s.sections[static_cast<std::size_t>(slot)];
        y -= 1.6L * height;
        row(y, {SlotName(s, slot), ShowShort(c, Quantity::Length, sec.P), ShortFormat(c, sec.ni),
                ShowShort(c, Quantity::Length, sec.L0i)});
    }
}

// Main data of the spring from (60, 95) and "tau zul" above them.
void DataLines(CadOutput& cad, const Session& session, bool withLx) {
    namespace dt = diagram_text;
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const Quantity L = Quantity::Length;
    auto name = [](const auto& names, int oneBased) {
        if (oneBased < 1 || oneBased > static_cast<int>(names.size())) return std::string();
        return std::string(names[static_cast<std::size_t>(oneBased - 1)]);
    };
    cad.CadLayer(kPageLayer);
    cad.CadTextStyle(kFont, 0, kValueHeight, kValueWidth);
    cad.CadText(std::string(text::kTauPermissible) + ValueAndUnit(c, Quantity::Stress, s.tauz),
                kTauX, withLx ? kTauYWithLx : kTauY);
    cad.CadLineSpacing(1);
    cad.CadCursor(kLinesX, kLinesY);
    // Dm carries its deviations one blank behind the value, as the data block does.
    const std::string dmPair = DeviationText(c, L, s.tolDUpper, s.tolDLower);
    cad.CadTextLine(std::string(text::kDm) + ShowShort(c, L, s.Dm) +
                    (dmPair.empty() ? std::string() : " " + dmPair));
    cad.CadTextLine(std::string(text::kCoils) + ShortFormat(c, s.n) + std::string(text::kCoilUnit));
    cad.CadTextLine(std::string(text::kTotalCoils) + ShortFormat(c, s.nt) +
                    std::string(text::kCoilUnit));
    cad.CadTextLine(std::string(text::kL0) + ShowShort(c, L, s.L0) +
                    DeviationText(c, L, s.tolL0Upper, s.tolL0Lower) + " " + UnitLabel(c, L));
    cad.CadTextLine(std::string(text::kLoad) + name(dt::kLoadNames, s.loadType));
    cad.CadTextLine(std::string(text::kWireLength) + ValueAndUnit(c, L, s.L));
    cad.CadTextLine(std::string(text::kMass) + ShortFormat(c, s.m) + std::string(text::kGram));
    cad.CadTextLine(std::string(text::kManufacturing) +
                    name(dt::kManufacturingNames, s.manufacturing));
    cad.CadTextLine(std::string(text::kEnds) + s.endText);
    if (s.theta != 20) {
        const std::string t = ShowShort(c, Quantity::Temperature, s.theta);
        cad.CadTextLine(std::string(text::kTemperature) + t + " " +
                        UnitLabel(c, Quantity::Temperature));
        cad.CadTextLine(std::string(text::kModulusAtT) + t + std::string(text::kModulusEquals) +
                        ValueAndUnit(c, Quantity::Stress, s.Gtheta));
    }
}

void MessageLines(CadOutput& cad, const Session& session) {
    cad.CadTextStyle(kFont, 0, kValueHeight, kValueWidth);
    cad.CadCursor(kMessagesX, kMessagesY);
    cad.CadLayer(kHeadingLayer);
    cad.CadTextLine(text::kMessages);
    cad.CadLayer(kPageLayer);
    if (session.messages.Count() == 0) {
        cad.CadTextLine(" ");
        cad.CadTextLine(text::kNoMessages);
        return;
    }
    for (const std::string& message : session.messages)
        cad.CadTextLine(message);
}

bool Interactive(const Session& session) {
    return session.arguments.size() < 2;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Drawings

std::string_view ViewBaseName(ViewKind kind) {
    const int k = std::clamp(static_cast<int>(kind), 1, 4);
    return text::kBaseNames[static_cast<std::size_t>(k - 1)];
}

real ForceAtLength(Session& session, real L) {
    const SpringRecord& spring = session.spring;
    const real s = spring.L0 - L;
    if (!(s > 0)) return 0;
    // At the solid length every section is solid: the iteration would stop just short of it.
    if (s >= spring.sc) return spring.Fc;
    return ForceAt(session, s);
}

void WireSection(CadOutput& cad, Session& session, real x, real y) {
    const SpringRecord& s = session.spring;
    HatchOutputFor<CadOutput> out(cad);
    Hatching hatching(session, out);
    const real c = kHatchDistance * s.d;
    const real a = s.d / 2, b = s.h / 2;
    hatching.HatchMode = s.wireType == 2 ? 2 : 1; // the ellipse draws its own outline
    switch (s.wireType) {
    case 2:
        hatching.HatchEllipse(a, b, x, y, c);
        break;
    case 3:
        hatching.HatchRectangle(kHatchAngle, c, x - a, y - a, x + a, y + a);
        break;
    case 4:
        hatching.HatchRectangle(kHatchAngle, c, x - a, y - b, x + a, y + b);
        break;
    case 5:
        hatching.HatchOval(kHatchAngle, c, x - a, y - b, x + a, y + b);
        break;
    case 6:
        hatching.HatchRoundedRectangle(kHatchAngle, c, s.edgeRadius, x - a, y - b, x + a, y + b);
        break;
    default:
        hatching.HatchCircle(c, a, x, y);
        break;
    }
}

void CutDrawing(CadOutput& cad, Session& session, ViewKind kind, real L, real F, bool axis) {
    const SpringRecord& s = session.spring;
    if (s.nsec <= 0) return;
    if (axis) {
        cad.CadLayer(kAxisLayer);
        cad.CadLine(0, 0, 0, L);
    }
    const real r = s.Dm / 2;
    const real half = WireHeight(s) / 2;
    const bool leftHand = s.coilingDirection == 2;
    const real last = std::floor(s.nt - 0.5L);
    for (long k = 0; Finite(last) && k <= last; ++k) {
        const real y0 = CoilPositionUnderForce(session, k, F);
        const real yHalf = CoilPositionUnderForce(session, k + 0.5L, F);
        // The front half of the coil: it rises to the left for right-hand coiling.
        const real yLeft = leftHand ? y0 : yHalf, yRight = leftHand ? yHalf : y0;
        switch (kind) {
        case ViewKind::Side:
            cad.CadLayer(kEdgeLayer);
            WireEdges(cad, -r, yLeft, r, yRight, half);
            WireTurns(cad, -r, yLeft, r, yRight, half, RoundOutline(s.wireType));
            break;
        case ViewKind::Cut:
            if (s.wireType == 1) {
                cad.CadLayer(kEdgeLayer);
                WireEdges(cad, -r, yLeft, r, yRight, half);
            }
            WireSection(cad, session, -r, yLeft);
            WireSection(cad, session, r, yRight);
            break;
        default:
            WireSection(cad, session, -r, yLeft);
            WireSection(cad, session, r, yRight);
            break;
        }
    }
    ForceAndLengthLines(cad, session, L, F, r + 2 * s.d);
}

void SectionSchema(CadOutput& cad, Session& session, real L, real F, bool axis) {
    const SpringRecord& s = session.spring;
    if (axis) {
        cad.CadLayer(kAxisLayer);
        cad.CadLine(0, 0, 0, L);
    }
    const int last = std::clamp(s.nsec + 1, 1, kSectionSlots - 1);
    real y = 0;
    for (int slot = 0; slot <= last; ++slot) {
        const CoilSection& sec = s.sections[static_cast<std::size_t>(slot)];
        const real t = SectionLength(session, slot, F);
        const bool solid = std::fabs(t - sec.Lci) < 0.00001L;
        cad.CadLayer(solid ? kEdgeLayer : kOpenLayer);
        cad.CadRectangle(-s.Dm / 2, y, s.Dm / 2, y + t);
        const real B = std::min(0.05L * s.Dm, 0.8L * t);
        if (B > 0) {
            cad.CadTextStyle(kFont, 0, B, 0.8L * B);
            cad.CadText(SlotName(s, slot), 0.02L * s.Dm, y + t / 2 - B / 2);
        }
        y += t;
    }
    ForceAndLengthLines(cad, session, L, F, 0.55L * s.Dm);
}

bool Projection3D::Suppressed(int axis) const {
    return std::fabs(angles[static_cast<std::size_t>(axis)] + 2 * kPi) < 1e-6L;
}

CadPoint Projection3D::Project(real x, real y, real z) const {
    const real v[3] = {x, y, z};
    CadPoint p;
    for (int i = 0; i < 3; ++i) {
        if (Suppressed(i)) continue;
        p.x += v[i] * std::cos(angles[static_cast<std::size_t>(i)]);
        p.y += v[i] * std::sin(angles[static_cast<std::size_t>(i)]);
    }
    return p;
}

long WalkHelix(Session& session, real F, const std::function<void(real x, real y, real z)>& point) {
    const SpringRecord& s = session.spring;
    struct Block {
        real turns, rise; // coils, and the length one coil takes
    };
    std::vector<Block> blocks;
    const real endPitch = s.d + s.wireTol;
    const real startTurns = s.nend1;
    blocks.push_back({startTurns, endPitch});
    real turns = startTurns;
    const int nsec = std::clamp(s.nsec, 0, kMaxSections);
    for (int i = 1; i <= nsec; ++i) {
        const real ni = s.sections[static_cast<std::size_t>(i)].ni;
        blocks.push_back({ni, ni > 0 ? SectionLength(session, i, F) / ni : 0});
        turns += ni;
    }
    blocks.push_back({s.nt - turns, endPitch}); // end block 2 up to u = nt

    real total = 0;
    long count = 0; // blocks with coils
    for (const Block& b : blocks)
        if (b.turns > 0 && Finite(b.turns)) {
            total += b.turns;
            ++count;
        }
    // Turns per step: the configured angle, grown when the helix would take too many points.
    real a = kResolution3DRange.Force(s.resolution3D) / 360;
    if (total > 0) a = std::max(a, total / static_cast<real>(kMaxHelixPoints - 1 - count));

    const real R = s.Dm / 2;
    const real sign = s.coilingDirection == 2 ? -1 : 1;
    real u = 0, z = (s.Lc - s.nt * endPitch) / 2;
    long points = 1;
    point(R, 0, z);
    for (const Block& b : blocks) {
        if (!(b.turns > 0) || !Finite(b.turns)) continue; // a block of no coils takes no step
        const long steps = std::max(1L, static_cast<long>(std::ceil(b.turns / a - 1e-9L)));
        const real du = b.turns / steps;
        const real u0 = u, z0 = z;
        for (long k = 1; k <= steps; ++k) {
            u = u0 + k * du;
            z = z0 + k * du * b.rise;
            const real phi = sign * 2 * kPi * (u - std::floor(u));
            point(R * std::cos(phi), R * std::sin(phi), z);
            ++points;
        }
    }
    return points;
}

// ---------------------------------------------------------------------------------------------
// The view commands

SpringViews::SpringViews(DiagramContext& context, DisplayList* display)
    : goodmanBlock([](DiagramContext& c) {
          // Inserted at kGoodmanX with kGoodmanScale, it ends at the page's right edge.
          GoodmanOnOpenOutput(c, (kSheetW - kGoodmanX) / kGoodmanScale);
      }),
      angles3D(context.session.config.default3D), context_(context), display_(display) {
    context_.cutView = [this](OutputKind kind) { SpringView(ViewKind::Cut, kind, false); };
    context_.resultOverview = [this](OutputKind kind) { ResultOverview(kind); };
}

SpringViews::~SpringViews() {
    context_.cutView = nullptr;
    context_.resultOverview = nullptr;
}

bool SpringViews::Drawable() {
    Session& session = context_.session;
    if (session.FatalFlag || session.spring.nsec <= 0) {
        ShowMessageList(session);
        return false;
    }
    return true;
}

bool SpringViews::InstallLengthDialog() {
    Session& session = context_.session;
    if (askInstallLength && askInstallLength(session)) return true;
    session.AbortFlag = true;
    return false;
}

bool SpringViews::RotationDialog() {
    Session& session = context_.session;
    const auto angles = askRotation ? askRotation(session, angles3D) : std::nullopt;
    if (!angles) {
        session.AbortFlag = true;
        return false;
    }
    angles3D = *angles;
    return true;
}

bool SpringViews::SpringView(ViewKind kind, OutputKind output, bool askLength) {
    Session& session = context_.session;
    const int number = static_cast<int>(kind);
    if (number < 1 || number > 4) return false;
    session.AbortFlag = false; // an Esc pressed earlier does not stop this view
    if (!Drawable()) return false;
    SpringRecord& s = session.spring;
    if (askLength) {
        if (!InstallLengthDialog()) return false;
    } else {
        s.Lview = s.L0;
    }
    CadOutput& cad = context_.cad;
    if (!cad.CadBegin(output, ViewBaseName(kind))) return false;
    const real L = s.Lview;
    cad.CadSheet(-s.Dm / 2 - s.d, -s.d / 2, s.Dm / 2 + s.d, L + s.d / 2);
    cad.CadTables(kTablesVariant);
    cad.CadPageStart();
    const real F = ForceAtLength(session, L);
    if (kind == ViewKind::Schema)
        SectionSchema(cad, session, L, F, true);
    else
        CutDrawing(cad, session, kind, L, F, true);
    cad.CadSectionEnd();
    return cad.CadEnd();
}

bool SpringViews::SpringAnimation(ViewKind kind) {
    Session& session = context_.session;
    const int number = static_cast<int>(kind);
    if (number < 1 || number > 4) return false;
    session.AbortFlag = false;
    if (!Drawable()) return false;
    const auto settings =
        askAnimation ? askAnimation(session, display_ && display_->singleStep) : std::nullopt;
    if (!settings) {
        session.AbortFlag = true;
        return false;
    }
    const AnimationSettings& a = *settings;
    if (display_) display_->singleStep = a.singleStep;
    if (a.largest == a.smallest) {
        ShowInfo(session, text::kEqualLengths);
        return false;
    }
    CadOutput& cad = context_.cad;
    if (!cad.CadBegin(OutputKind::Screen, text::kAnimationBaseName)) return false;
    const SpringRecord& s = session.spring;
    cad.CadSheet(-s.Dm / 2 - s.d, -s.d / 2, s.Dm / 2 + s.d,
                 std::max(a.largest, a.smallest) + s.d / 2);
    cad.CadTables(kTablesVariant);
    AnimationFrames(cad, session, display_, animationHost, kind, a);
    const bool stopped = session.AbortFlag;
    cad.CadEnd();
    // The results belong to the spring's own data again.
    CalculateSpring(session);
    session.AbortFlag = stopped;
    return !stopped;
}

bool SpringViews::Spring3DView(OutputKind output, bool askLength) {
    Session& session = context_.session;
    session.AbortFlag = false;
    if (!Drawable()) return false;
    SpringRecord& s = session.spring;
    if (askLength) {
        if (!InstallLengthDialog()) return false;
    } else {
        s.Lview = s.L0;
    }
    if (std::fabs(angles3D[0] - angles3D[1]) < 0.00001L)
        angles3D = {DegreesToRadians(-15), DegreesToRadians(90), DegreesToRadians(210)};
    // The rotation form comes before the output is opened, so its Cancel leaves no file.
    if (session.config.edit3D && Interactive(session) && !RotationDialog()) return false;
    CadOutput& cad = context_.cad;
    if (!cad.CadBegin(output, "")) return false;
    cad.CadLayer(0);
    cad.CadSheet(0, 0, kSheetW, kSheetH);
    cad.CadTables(kTablesVariant);
    cad.CadPageStart();
    const real L = s.Lview;
    const real F = ForceAtLength(session, L);
    const OutputKind kind = cad.Kind();
    const bool trueVertices =
        session.config.output3D &&
        (kind == OutputKind::Dxf || kind == OutputKind::Iges || kind == OutputKind::Txt);
    View3D(context_, Projection3D{angles3D}).Draw(L, F, trueVertices);
    cad.CadSectionEnd();
    return cad.CadEnd();
}

bool SpringViews::ResultOverview(OutputKind output) {
    Session& session = context_.session;
    session.AbortFlag = false;
    if (!Drawable()) return false;
    CadOutput& cad = context_.cad;
    DiagramFrame& frame = context_.frame;
    const SpringRecord& s = session.spring;
    if (!cad.CadBegin(output, text::kOverviewBaseName)) return false;
    cad.CadSheet(0, 0, kSheetW, kSheetH);
    cad.CadTables(kTablesVariant);

    cad.CadBlocksBegin();
    const bool goodman = static_cast<bool>(goodmanBlock);
    if (goodman) {
        cad.CadBlockBegin(text::kGoodmanBlock);
        frame.DiagReset();
        goodmanBlock(context_);
        frame.DiagReset();
        cad.CadBlockEnd();
    }
    cad.CadBlockBegin(text::kSpringBlock);
    CutDrawing(cad, session, ViewKind::Cut, s.L0, 0, false);
    cad.CadBlockEnd();
    cad.CadSectionEnd();

    cad.CadPageStart();
    cad.CadLayer(kPageLayer);
    cad.CadTextStyle(0, 0, 1.8L, 1.4L);
    std::string title = s.designation + std::string(text::kDesignationGap) + s.drawingNumber;
    if (title.size() > kTitleLength) title.resize(kTitleLength);
    cad.CadText(title, kTitleX, kTitleY);
    cad.CadLayer(kPageLayer);
    frame.DiagReset();
    frame.DiagSetSize(kSmallDiagramSize, kSmallDiagramSize);
    frame.DiagSetOrigin(kSmallDiagramX, kSmallDiagramY);
    DrawSheetDiagram(context_, DiagramSheet::Fs);
    frame.DiagReset();
    if (goodman)
        cad.CadInsert(text::kGoodmanBlock, kGoodmanX, kGoodmanY, 0, kGoodmanScale, kGoodmanScale);
    if (s.De > 0 && s.L0 > 0) {
        const real E = std::min(kSpringWidth / s.De, kSpringHeight / s.L0);
        if (Finite(E)) cad.CadInsert(text::kSpringBlock, kSpringX, kSpringY, 0, E, E);
    }
    SectionTable(cad, session);
    const bool withLx = ValueTable(cad, session);
    DataLines(cad, session, withLx);
    MessageLines(cad, session);
    cad.CadSectionEnd();
    return cad.CadEnd();
}

} // namespace kora

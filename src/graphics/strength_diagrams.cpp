#include "graphics/strength_diagrams.h"

#include "base/numformat.h"
#include "base/units.h"
#include "calc/dialog_calls.h"
#include "calc/message_window.h"
#include "calc/session.h"
#include "graphics/diagram.h"
#include "graphics/diagram_sheets.h"
#include "graphics/strength_diagram_texts.h"
#include "strength/fatigue.h"
#include "strength/material.h"
#include "strength/material_texts.h"
#include "strength/reject.h"
#include "strength/relaxation.h"
#include "strength/stress.h"
#include "strength/tolerances.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace kora {
namespace txt = strength_diagram_text;

namespace {

// Sheet of every diagram, mm.
constexpr real kSheetW = 160, kSheetH = 120;
constexpr int kTablesVariant = 2;
constexpr int kAxesMode = 1;
constexpr int kFont = 2;

// Layers.
constexpr int kAxisLayer = 17;
constexpr int kSolidLayer = 16;
constexpr int kFirstLayer = 18;
constexpr int kSecondLayer = 19;
constexpr int kThirdLayer = 20;
constexpr int kCurveLayer = 21;

// Text blocks, mm.
constexpr real kBlockHeight = 2.2L, kBlockWidth = 1.7L;
constexpr real kNoteWidth = 1.6L; // notes written into a diagram frame
constexpr real kSideMargin = 1;   // kept free at the right edge of the sheet

// Longest curve a drawing loop walks (a guard against a step that is no step).
constexpr std::int64_t kMaxSteps = 100000;

// A fixed step: x = x0 + k·dx, always computed from the step count.
struct Steps {
    real x0, dx;
    real At(std::int64_t k) const { return x0 + static_cast<real>(k) * dx; }
};

// The first k >= 0 whose x reaches `end` (x >= end), or passes it (x > end) when `strict`.
std::int64_t FirstStepReaching(const Steps& steps, real end, bool strict) {
    if (!(steps.dx > 0) || !std::isfinite(steps.x0) || !std::isfinite(end)) return 0;
    auto reached = [&](std::int64_t k) {
        const real x = steps.At(k);
        return strict ? x > end : x >= end;
    };
    const real estimate = std::ceil((end - steps.x0) / steps.dx);
    std::int64_t k = std::isfinite(estimate)
                         ? static_cast<std::int64_t>(std::clamp<real>(estimate, 0, kMaxSteps))
                         : kMaxSteps;
    while (k > 0 && reached(k - 1))
        --k;
    while (k < kMaxSteps && !reached(k))
        ++k;
    return k;
}

std::string AxisName(std::string_view prefix, const std::string& unit) {
    return std::string(prefix) + unit + std::string(txt::kUnitClose);
}

// A value in the display unit as a whole number.
std::string Whole(const Configuration& c, Quantity q, real internal) {
    const real shown = std::round(ToDisplayUnit(c, q, internal));
    return FormatC("%.0Lf", shown == 0 ? 0.0L : shown); // never "-0"
}

// Whole number, a blank and the unit.
std::string WholeWithUnit(const Configuration& c, Quantity q, real internal) {
    return Whole(c, q, internal) + " " + UnitLabel(c, q);
}

std::string ShortWithUnit(const Configuration& c, Quantity q, real internal) {
    return ShowShort(c, q, internal) + " " + UnitLabel(c, q);
}

// Percentages and the values of the Gauss diagram are written as given: a quantity whose
// deviation pair is never converted.
constexpr Quantity kUnconverted = Quantity::Angle;

void BlockStyle(CadOutput& cad) {
    cad.CadTextStyle(kFont, 0, kBlockHeight, kBlockWidth);
    cad.CadLineSpacing(1);
}

// Writes a side text of the given style from (x, y); the characters are narrowed where the
// longest line would not fit between x and the right edge of the sheet.
void WriteSideText(CadOutput& cad, real x, real y, real height, real width,
                   const std::vector<std::string>& lines, real right = kSheetW) {
    std::size_t longest = 0;
    for (const std::string& line : lines)
        longest = std::max(longest, line.size());
    const real factor = cad.settings.textWidthFactor > 0 ? cad.settings.textWidthFactor : 1;
    const real room = right - kSideMargin - x;
    if (longest > 0) width = std::min(width, room / (static_cast<real>(longest) * factor));
    cad.CadTextStyle(kFont, 0, height, width);
    cad.CadLineSpacing(1);
    cad.CadCursor(x, y);
    for (const std::string& line : lines)
        cad.CadTextLine(line);
}

void WriteLines(CadOutput& cad, real x, real y, const std::vector<std::string>& lines) {
    cad.CadCursor(x, y);
    for (const std::string& line : lines)
        cad.CadTextLine(line);
}

// Opens the output with the 160 x 120 sheet and a reset frame. The limits dialog may follow
// in DiagAxes when the user chose the output in an interactive run, as for the sheets.
bool BeginDrawing(DiagramContext& ctx, OutputKind kind, std::string_view baseName) {
    CadOutput& cad = ctx.cad;
    if (!cad.CadBegin(kind, baseName)) return false;
    cad.CadSheet(0, 0, kSheetW, kSheetH);
    ctx.frame.DiagReset();
    cad.CadTables(kTablesVariant);
    cad.CadPageStart();
    const Session& session = ctx.session;
    if (session.config.enterDiagramLimits && cad.RequestedKind() == OutputKind::Ask &&
        session.arguments.size() < 2)
        ctx.frame.limitsHook = [&ctx](std::string_view title, std::string_view xName,
                                      std::string_view yName, AxisScale& x, AxisScale& y) {
            AskDiagramLimits(ctx, title, xName, yName, x, y);
        };
    return true;
}

bool EndDrawing(DiagramContext& ctx) {
    ctx.frame.limitsHook = nullptr;
    ctx.cad.CadSectionEnd();
    const bool written = ctx.cad.CadEnd();
    ctx.frame.DiagReset();
    return written;
}

// A fatal spring shows the message list instead of a drawing.
bool Fatal(Session& session) {
    if (!session.FatalFlag) return false;
    ShowMessageList(session);
    return true;
}

// Labels inside a diagram: about 1/35 of the y range high and 1/45 of the x range wide.
void LabelStyle(DiagramFrame& frame) {
    frame.DiagTextStyle(kFont, 0, frame.YRange() / 35, frame.XRange() / 45);
}

// ---------------------------------------------------------------------------------------------
// tau-d diagram

constexpr real kTauFrameW = 95, kTauFrameH = 70, kTauFrameX = 15, kTauFrameY = 35;
constexpr real kDefaultDmax = 20; // mm, for a material row without a diameter range
constexpr real kFirstD = 0.1L;    // mm
constexpr real kDStepShare = 0.005L;
constexpr real kTauAxisTop = 2500; // N/mm²
constexpr real kTableX = 3, kTableFirstColumn = 28, kTableColumn = 19, kTableY = 21;

void TauDiagram(DiagramContext& ctx) {
    Session& session = ctx.session;
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const KORWST_Record& m = session.CurrentMaterial;
    CadOutput& cad = ctx.cad;
    DiagramFrame& frame = ctx.frame;

    DrawTitleLines(cad, s);
    frame.DiagSetSize(kTauFrameW, kTauFrameH);
    frame.DiagSetOrigin(kTauFrameX, kTauFrameY);
    // The material row is not changed: a row without dmax is drawn up to 20 mm.
    const real dmax =
        m.dmax > 0 && std::isfinite(m.dmax) ? static_cast<real>(m.dmax) : kDefaultDmax;
    frame.DiagAxes(AxisName(txt::kAxisD, UnitLabel(c, Quantity::Length)),
                   AxisName(txt::kAxisRmTauz, UnitLabel(c, Quantity::Stress)), txt::kTauTitle, 0, 0,
                   ScaleValue(c, Quantity::Length, dmax),
                   ScaleValue(c, Quantity::Stress, kTauAxisTop), kAxesMode);
    frame.DiagUnitFactors(ScaleValue(c, Quantity::Stress, 1), ScaleValue(c, Quantity::Length, 1));
    LabelStyle(frame);

    // Rm needs a reference diameter; without one there is no Rm curve and no table.
    const bool haveRm = m.d0 > 0 && std::isfinite(m.d0);
    const bool other = s.materialKind >= kOtherMaterialKind;
    const bool hot = IsHotFormed(s);
    auto Rm = [&](real d) { return TensileStrengthAt(session, d); };
    auto tauz = [&](real d) -> real {
        if (other) return s.tauz;
        if (hot) return HotFormedShearLimit(d);
        return haveRm ? 0.56L * Rm(d) : 0;
    };
    const Steps steps{kFirstD, kDStepShare * dmax};
    const std::int64_t last = FirstStepReaching(steps, dmax, false);
    const real dLast = steps.At(last);
    auto curve = [&](int layer, const auto& value, std::string_view label) {
        cad.CadLayer(layer);
        frame.DiagMoveTo(steps.x0, value(steps.x0));
        for (std::int64_t k = 1; k <= last; ++k) {
            const real d = steps.At(k);
            frame.DiagLineTo(d, value(d));
        }
        frame.DiagText(label, 1.02L * dLast, value(dLast));
    };
    if (other || hot || haveRm) curve(kCurveLayer, tauz, txt::kCurveTauz);
    if (haveRm) curve(kSolidLayer, Rm, txt::kCurveRm);

    // The working stresses at the spring's d.
    const bool dynamic = !IsStaticLoad(s);
    const real lower = dynamic ? s.tauk1 : s.tau1, upper = dynamic ? s.tauk2 : s.tau2;
    const real labelX = s.d + 0.02L * frame.XRange();
    cad.CadLayer(kSecondLayer);
    frame.DiagLine(s.d, lower, s.d, upper);
    cad.CadLayer(kFirstLayer);
    frame.DiagMarker(1, s.d, lower);
    frame.DiagText(dynamic ? txt::kPointTauk1 : txt::kPointTau1, labelX, lower);
    cad.CadLayer(kSecondLayer);
    frame.DiagMarker(1, s.d, upper);
    frame.DiagText(dynamic ? txt::kPointTauk2 : txt::kPointTau2, labelX, upper);

    // Value table and the Rm formula of the material.
    BlockStyle(cad);
    cad.CadLayer(kSecondLayer);
    const real line = 1.6L * kBlockHeight;
    real y = kTableY;
    if (haveRm) {
        const std::string stress = UnitLabel(c, Quantity::Stress);
        struct Row {
            std::string label;
            real factor; // of Rm; 0 = the diameters
        };
        const Row rows[] = {{AxisName(txt::kAxisD, UnitLabel(c, Quantity::Length)), 0},
                            {std::string(txt::kRowRm) + stress, 1},
                            {std::string(txt::kRowTauz) + stress, 0.56L}};
        for (const Row& row : rows) {
            cad.CadText(row.label, kTableX, y);
            real x = kTableFirstColumn;
            for (double d : txt::kTableDiameters) {
                const std::string value = row.factor == 0
                                              ? ShowShort(c, Quantity::Length, d)
                                              : ShowShort(c, Quantity::Stress, row.factor * Rm(d));
                cad.CadText(value, x, y);
                x += kTableColumn;
            }
            y -= line;
        }
        cad.CadText(std::string(txt::kRmFormula) + ShortFormat(c, m.Rm0) +
                        std::string(txt::kRmFormulaMinus) + ShortFormat(c, m.kRm) +
                        std::string(txt::kRmFormulaLog) + ShortFormat(c, m.d0) +
                        std::string(txt::kRmFormulaClose),
                    kTableX, y);
        y -= line;
    }
    cad.CadText(txt::kTauzFormula, kTableX, y);
}

// ---------------------------------------------------------------------------------------------
// Stress correction factor diagram

constexpr real kFrameSize = 95, kFrameX = 15, kFrameY = 10;
constexpr real kKAxisW = 18, kKAxisFrom = 1.0L, kKAxisTo = 1.6L;
constexpr real kFirstW = 2.5L, kLastW = 20;
constexpr real kWStep = 1.0L / 15;

void KDiagram(DiagramContext& ctx) {
    const Configuration& c = ctx.session.config;
    const SpringRecord& s = ctx.session.spring;
    CadOutput& cad = ctx.cad;
    DiagramFrame& frame = ctx.frame;

    DrawTitleLines(cad, s);
    frame.DiagSetSize(kFrameSize, kFrameSize);
    frame.DiagSetOrigin(kFrameX, kFrameY);
    const bool haveW = std::isfinite(s.w) && s.w > 0;
    const real xTo = haveW ? std::max(s.w, kKAxisW) : kKAxisW;
    frame.DiagAxes(txt::kAxisW, txt::kAxisK, txt::kKTitle, 0, kKAxisFrom, xTo, kKAxisTo, kAxesMode);
    LabelStyle(frame);

    cad.CadLayer(kCurveLayer);
    const Steps steps{kFirstW, kWStep};
    const std::int64_t last = FirstStepReaching(steps, kLastW, false);
    frame.DiagMoveTo(steps.x0, StressCorrectionFactor(steps.x0));
    for (std::int64_t i = 1; i <= last; ++i) {
        const real w = steps.At(i);
        frame.DiagLineTo(w, StressCorrectionFactor(w));
    }

    if (!haveW || !std::isfinite(s.k)) return;
    cad.CadLayer(kSecondLayer);
    frame.DiagLine(s.w, frame.ymin, s.w, s.k);
    frame.DiagMarker(1, s.w, s.k);
    const real x = s.w + 0.02L * frame.XRange();
    frame.DiagText(std::string(txt::kPointW) + ShortFormat(c, s.w), x,
                   s.k + 0.01L * frame.YRange());
    frame.DiagText(std::string(txt::kPointK) + ShortFormat(c, s.k), x,
                   s.k - 0.04L * frame.YRange());
}

// ---------------------------------------------------------------------------------------------
// Goodman and Haigh diagrams

constexpr real kFatigueFrameW = 90, kFatigueFrameH = 85, kFatigueFrameX = 15, kFatigueFrameY = 20;
constexpr real kSideX = 115, kSideY = 102;
constexpr real kSideHeight = 2.5L, kSideWidth = 2.0L;
constexpr real kFatigueAxisTop = 1200; // N/mm²
constexpr real kCaptionX = 15, kCaptionY = 6;
constexpr real kMillion = 1e6L, kTenMillion = 1e7L;
constexpr real kSecondsPerHour = 3600;

// One cycle line of the fatigue diagram: from the upper stress `start` at lower stress 0
// rising to tauo at `bend`, then along tauo to `end` (Goodman coordinates).
struct CycleLine {
    int layer;
    real start, bend, end;
    std::string_view goodmanLabel, haighLabel;
    real labelOffset; // Goodman: share of the y range above tauo, so the labels stack
};

void DrawCycleLine(DiagramContext& ctx, const CycleLine& l, real tauo, bool haigh) {
    DiagramFrame& frame = ctx.frame;
    ctx.cad.CadLayer(l.layer);
    // Haigh plots the stroke, upper minus lower stress.
    auto y = [&](real lower, real upper) { return haigh ? upper - lower : upper; };
    frame.DiagMoveTo(0, y(0, l.start));
    frame.DiagLineTo(l.bend, y(l.bend, tauo));
    frame.DiagLineTo(l.end, y(l.end, tauo));
    const real xr = frame.XRange(), yr = frame.YRange();
    if (!haigh) {
        frame.DiagText(l.goodmanLabel, l.bend, tauo + l.labelOffset * yr);
        return;
    }
    // At the stroke axis, along the first segment.
    const real dx = l.bend * frame.W / xr, dy = (y(l.bend, tauo) - l.start) * frame.H / yr;
    const real angle = dx == 0 && dy == 0 ? 0 : std::atan2(dy, dx) * 180 / std::numbers::pi_v<real>;
    frame.DiagTextStyle(kFont, std::isfinite(angle) ? angle : 0, yr / 35, xr / 45);
    const real x = 0.02L * xr;
    const real slope = l.bend != 0 ? (y(l.bend, tauo) - l.start) / l.bend : 0;
    frame.DiagText(l.haighLabel, x, l.start + slope * x + 0.01L * yr);
    LabelStyle(frame);
}

void Note(DiagramContext& ctx, std::string_view note) {
    DiagramFrame& frame = ctx.frame;
    ctx.cad.CadLayer(kSolidLayer);
    ctx.cad.CadTextStyle(kFont, 0, kBlockHeight, kNoteWidth);
    frame.DiagText(note, frame.xmin + 0.03L * frame.XRange(), frame.ymin + 0.9L * frame.YRange());
    LabelStyle(frame);
}

// How much of the sheet a fatigue drawing fills: on its own sheet the title lines, the caption
// below the diagram and the whole width; as the overview's block only the diagram with its
// side text, kept left of `right`.
struct FatigueSheet {
    bool sheetTexts = true;
    real right = kSheetW;
};

void FatigueDrawing(DiagramContext& ctx, const FatigueResult& r, bool haigh,
                    const FatigueSheet& sheet = {}) {
    Session& session = ctx.session;
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    CadOutput& cad = ctx.cad;
    DiagramFrame& frame = ctx.frame;

    if (sheet.sheetTexts) DrawTitleLines(cad, s);
    cad.CadLayer(kSecondLayer);
    WriteSideText(cad, kSideX, kSideY, kSideHeight, kSideWidth, FatigueSideText(session, r),
                  sheet.right);

    frame.DiagSetSize(kFatigueFrameW, kFatigueFrameH);
    frame.DiagSetOrigin(kFatigueFrameX, kFatigueFrameY);
    const real top = std::isfinite(r.tauo) ? std::max(kFatigueAxisTop, r.tauo) : kFatigueAxisTop;
    const real shown = ScaleValue(c, Quantity::Stress, top);
    frame.DiagAxes(txt::kAxisLower, haigh ? txt::kAxisStroke : txt::kAxisUpper,
                   haigh ? txt::kHaighTitle : txt::kGoodmanTitle, 0, 0, shown, shown, kAxesMode);
    const real f = ScaleValue(c, Quantity::Stress, 1);
    frame.DiagUnitFactors(f, f);
    LabelStyle(frame);

    if (!haigh) { // the diagonal tau o = tau u
        cad.CadLayer(kAxisLayer);
        frame.DiagLine(0, 0, frame.xmax, frame.xmax);
    }

    // The evaluation has already set tauhz = 0 for a material without data.
    if (r.tauo == 0 && r.tauh == 0 && r.m == 0) {
        Note(ctx, txt::kNoData);
    } else if (s.materialKind != 0) {
        Note(ctx, txt::kNoDataOther);
    } else if (r.m == 0) {
        // No slope: not one of the lines can be placed.
        session.Message(txt::kSlopeZero);
        Note(ctx, txt::kSlopeZero);
    } else {
        const real tauo = r.tauo, tauh = r.tauh, m = r.m;
        const real g6 = std::min(tauo, 1.25L * tauh), h = (tauo - g6) / m;
        const real g5 = std::min(tauo, 1.5L * tauh), u = (tauo - g5) / m;
        const CycleLine lines[] = {
            {kCurveLayer, tauh, r.tauuLim, tauo, txt::kGoodman10M, txt::kHaigh10M, 0.01L},
            {kFirstLayer, g6, h, r.tauuLim, txt::kGoodman1M, txt::kHaigh1M, 0.045L},
            {kThirdLayer, g5, u, h, txt::kGoodman100k, txt::kHaigh100k, 0.08L},
        };
        for (const CycleLine& line : lines)
            DrawCycleLine(ctx, line, tauo, haigh);
    }

    // The working stroke.
    cad.CadLayer(kSecondLayer);
    const real lowerY = haigh ? 0 : s.tauk1, upperY = haigh ? s.taukh : s.tauk2;
    frame.DiagLine(s.tauk1, lowerY, s.tauk1, upperY);
    frame.DiagMarker(1, s.tauk1, lowerY);
    frame.DiagMarker(1, s.tauk1, upperY);
    const real labelX = s.tauk1 + 0.02L * frame.XRange();
    frame.DiagText(txt::kStrokeTauk1, labelX, lowerY - 0.03L * frame.YRange());
    frame.DiagText(haigh ? txt::kStrokeTaukh : txt::kStrokeTauk2, labelX, upperY);

    // Below the diagram.
    if (!sheet.sheetTexts) return;
    BlockStyle(cad);
    cad.CadLayer(kSecondLayer);
    cad.CadCursor(kCaptionX, kCaptionY);
    if (!haigh) cad.CadTextLine(txt::kGoodmanCaption);
    cad.CadTextLine(r.title);
}

bool FatigueDiagram(DiagramContext& ctx, OutputKind kind, bool haigh) {
    Session& session = ctx.session;
    if (Fatal(session)) return false;
    const FatigueResult r = FatigueEvaluation(session);
    if (Fatal(session)) return false; // the evaluation found a zero stress
    if (!BeginDrawing(ctx, kind, haigh ? txt::kHaighBaseName : txt::kGoodmanBaseName)) return false;
    FatigueDrawing(ctx, r, haigh);
    return EndDrawing(ctx);
}

// ---------------------------------------------------------------------------------------------
// Relaxation diagrams

constexpr real kRelaxFrameW = 100, kRelaxFrameH = 90, kRelaxFrameX = 15, kRelaxFrameY = 10;
constexpr real kRelaxSideX = 120, kRelaxSideY = 100;
constexpr int kRelaxAxesMode = 0;
constexpr real kRelaxStressTop = 1200; // N/mm²
constexpr real kRelaxShareTop = 20;    // %
constexpr int kCurvePieces = 100;
constexpr real kLegendShift = 340; // N/mm² left of the axis maximum
constexpr real kLegendHeight = 2.0L, kLegendWidth = 1.3L;
constexpr real kHours = 60;
constexpr real kShareStep = 0.25L, kForceStep = 0.05L; // h
constexpr real kTimeExponent = -0.55L;
constexpr real kTenHourShare = 5.0L / 6.0L;

// Share of the final relaxation reached after t hours.
real RelaxedShare(real t) {
    return 1 - std::pow(t + 1, kTimeExponent);
}

// Curve k = 1..4 of the row: its two points, temperature and diameter.
struct RelaxationCurve {
    RelaxationRecord::Point p1, p2;
    real T, d;
};

RelaxationCurve CurveOf(const RelaxationRecord& r, int k) {
    const auto i = static_cast<std::size_t>(2 * (k - 1));
    return {r.points[i], r.points[i + 1], static_cast<real>(k <= 2 ? r.T1 : r.T2),
            k % 2 == 1 ? r.d1 : r.d2};
}

void StressCurves(DiagramContext& ctx) {
    Session& session = ctx.session;
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const RelaxationRecord& row = session.CurrentRelaxation;
    CadOutput& cad = ctx.cad;
    DiagramFrame& frame = ctx.frame;

    const RelaxationCurve first = CurveOf(row, 1);
    frame.DiagAxes(AxisName(txt::kAxisTau, UnitLabel(c, Quantity::Stress)), txt::kAxisRelaxation,
                   txt::kRelaxationTitle, 0, 0,
                   ScaleValue(c, Quantity::Stress, std::max<real>(kRelaxStressTop, first.p2.tau)),
                   std::max<real>(kRelaxShareTop, first.p2.relaxation), kRelaxAxesMode);
    // x divisions in N/mm² (the axis is labelled in the display unit).
    const real fx = ScaleValue(c, Quantity::Stress, 1);
    const real divisionFrom = frame.xmin, divisionStep = frame.xStep;
    frame.DiagUnitFactors(1, fx);
    auto division = [&](std::int64_t j) {
        return (divisionFrom + static_cast<real>(j) * divisionStep) / fx;
    };
    // The divisions j with from < x <= to (from <= x <= to for the first piece).
    auto markDivisions = [&](int kind, const auto& curve, real from, real to, bool first) {
        if (!(divisionStep > 0)) return;
        const real lo = std::min(from, to), hi = std::max(from, to);
        const real j0 = std::floor((lo * fx - divisionFrom) / divisionStep);
        if (!std::isfinite(j0) || std::fabs(j0) > kMaxSteps) return;
        for (auto j = static_cast<std::int64_t>(j0); division(j) <= hi; ++j) {
            const real x = division(j);
            if (x < lo || (x == lo && !first)) continue;
            frame.DiagMarker(kind, x, curve(x));
        }
    };

    cad.CadTextStyle(kFont, 0, kLegendHeight, kLegendWidth);
    // Legend rows from the top: curves 4, 2, 3, 1 (offsets in units of a 0..20 % axis).
    constexpr real kLegendOffsets[] = {4, 2, 3, 1};
    const real legendX = frame.xmax - kLegendShift;
    const real legendUnit = frame.YRange() / kRelaxShareTop;
    for (int k = 1; k <= 4; ++k) {
        const RelaxationCurve rc = CurveOf(row, k);
        cad.CadLayer(kAxisLayer + k);
        const real x1 = rc.p1.tau, y1 = rc.p1.relaxation, x2 = rc.p2.tau, y2 = rc.p2.relaxation;
        auto curve = [&](real x) { return PowerCurve(session, x, x1, y1, x2, y2); };
        if (x1 != x2) { // a curve of one stress has no course to draw
            const Steps pieces{x1, (x2 - x1) / kCurvePieces};
            frame.DiagMoveTo(x1, curve(x1));
            for (int i = 1; i <= kCurvePieces; ++i) {
                const real x = pieces.At(i);
                frame.DiagLineTo(x, curve(x));
                markDivisions(k, curve, pieces.At(i - 1), x, i == 1);
            }
        }
        const real legendY = frame.ymax - kLegendOffsets[k - 1] * legendUnit;
        frame.DiagMarker(k, legendX, legendY);
        frame.DiagText(std::string(txt::kLegendT) + ShortFormat(c, rc.T) +
                           std::string(txt::kLegendD) + ShowShort(c, Quantity::Length, rc.d) + " " +
                           UnitLabel(c, Quantity::Length),
                       legendX, legendY);
    }

    // The working point (tau2, rx2) and the working stresses.
    cad.CadLayer(kSolidLayer);
    const real sx = frame.MapX(s.tau2), sy = frame.MapY(s.rx2);
    if (std::isfinite(sx) && std::isfinite(sy) && frame.Inside(sx, sy)) {
        const real perUnit = frame.H / frame.YRange();
        cad.CadCircle(sx, sy, 0.15L * perUnit);
        cad.CadCircle(sx, sy, 0.1L * perUnit);
    }
    frame.DiagText(txt::kWorkingPoint, s.tau2 + 15, s.rx2);
    if (s.tau1 > 0) frame.DiagLine(s.tau1, frame.ymin, s.tau1, frame.ymax);
    if (s.tau2 > 0) frame.DiagLine(s.tau2, frame.ymin, s.tau2, frame.ymax);
}

// Types 2 and 3: the time course up to the first t above 60 h, t = k·dt.
void TimeCurve(DiagramContext& ctx, real dt, real start, const auto& value) {
    DiagramFrame& frame = ctx.frame;
    ctx.cad.CadLayer(kFirstLayer);
    frame.DiagMoveTo(0, start);
    const Steps steps{0, dt};
    const std::int64_t last = FirstStepReaching(steps, kHours, true);
    for (std::int64_t k = 1; k <= last; ++k) {
        const real t = steps.At(k);
        frame.DiagLineTo(t, value(t));
    }
}

void RelaxationDrawing(DiagramContext& ctx, int type, real F2) {
    Session& session = ctx.session;
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    CadOutput& cad = ctx.cad;
    DiagramFrame& frame = ctx.frame;

    DrawTitleLines(cad, s);
    cad.CadLayer(kSecondLayer);
    WriteSideText(cad, kRelaxSideX, kRelaxSideY, kBlockHeight, kBlockWidth,
                  RelaxationSideText(session, F2));

    frame.DiagSetSize(kRelaxFrameW, kRelaxFrameH);
    frame.DiagSetOrigin(kRelaxFrameX, kRelaxFrameY);
    switch (type) {
    case 1:
        StressCurves(ctx);
        break;
    case 2:
        frame.DiagAxes(txt::kAxisHours, txt::kAxisRelaxationShare, txt::kRelaxationTitle, 0, 0,
                       kHours, 100, kRelaxAxesMode);
        TimeCurve(ctx, kShareStep, 0, [](real t) { return 100 * RelaxedShare(t); });
        break;
    default: {
        frame.DiagAxes(txt::kAxisHours, AxisName(txt::kAxisF2, UnitLabel(c, Quantity::Force)),
                       txt::kRelaxationTitle, 0, 0, kHours, ScaleValue(c, Quantity::Force, F2),
                       kRelaxAxesMode);
        frame.DiagUnitFactors(ScaleValue(c, Quantity::Force, 1), 1);
        // 0.88 of the final relaxation (reached after 48 h) equals rx2.
        const real rx2 = s.rx2;
        TimeCurve(ctx, kForceStep, F2,
                  [&](real t) { return F2 * (1 - RelaxedShare(t) * rx2 / 88); });
        break;
    }
    }
}

// ---------------------------------------------------------------------------------------------
// Gauss diagram

constexpr real kGaussTextHeight = 2.2L, kGaussTextWidth = 1.8L;
constexpr real kGaussTopX = 3, kGaussTopY = 115, kGaussRangesY = 100;
constexpr int kMaxHalfWidth = 5;
constexpr real kBellStep = 0.1L;
constexpr real kScaleStep = 0.5L;
constexpr real kTick = 0.03L;
constexpr int kForceDivisions = 10;

struct GaussBand {
    int layer;
    real top, bottom;
    std::string_view title;
    real titleOffset, labelOffset;
    bool lowerAxis;
};

void GaussDrawing(DiagramContext& ctx, std::string_view name, real F, real D, real k, real up,
                  real lo) {
    const Configuration& c = ctx.session.config;
    CadOutput& cad = ctx.cad;
    DiagramFrame& frame = ctx.frame;
    auto S = [&](real v) { return ShortFormat(c, v); };
    auto pair = [&](real upper, real lower) {
        return DeviationText(c, kUnconverted, upper, lower);
    };

    const real centre = F + (up + lo) / 2;
    const real z = (up - lo) * k / (2 * D);
    const int B = GaussHalfWidth(z, k);
    const real rejectK = RejectPercent(k), rejectZ = RejectPercent(z);

    cad.CadLayer(kSecondLayer);
    cad.CadTextStyle(kFont, 0, kGaussTextHeight, kGaussTextWidth);
    cad.CadLineSpacing(1);
    const std::string prefix = std::string(name) + std::string(txt::kNameSeparator);
    WriteLines(cad, kGaussTopX, kGaussTopY,
               {prefix + S(centre) + pair(D, -D) + std::string(txt::kArrow) + S(rejectK) +
                    std::string(txt::kSigmaOpen) + S(k) + std::string(txt::kClose),
                prefix + S(F) + pair(up, lo) + std::string(txt::kArrow) + S(rejectZ) +
                    std::string(txt::kPercentSuffix)});
    WriteLines(cad, kGaussTopX, kGaussRangesY,
               {S(centre - D) + std::string(txt::kRange) + S(centre + D) +
                    std::string(txt::kRangeArrow) + S(rejectK) + std::string(txt::kPercentSuffix),
                S(F + lo) + std::string(txt::kRange) + S(F + up) + std::string(txt::kRangeArrow) +
                    S(rejectZ) + std::string(txt::kPercentSuffix)});

    const real halfRange = B + 0.5L;
    frame.DiagSetRanges(-halfRange, halfRange, -1.0L, 1.05L);

    // The bell curve, hatched by a vertical line at every step.
    cad.CadLayer(kCurveLayer);
    const int points = 2 * B * 10; // steps of 0.1 from -B to B
    for (int i = 0; i <= points; ++i) {
        const real x = -B + i * kBellStep;
        const real y = std::exp(-x * x / 2);
        if (i == 0)
            frame.DiagMoveTo(x, y);
        else
            frame.DiagLineTo(x, y);
        frame.DiagLine(x, 0, x, y);
    }

    // Both limits of the spring's tolerance; a limit beyond the diagram is only in the texts.
    struct Limit {
        real x, value;
        std::string share;
    };
    const Limit limits[] = {
        {-z, F + lo, S(rejectZ / 2) + std::string(txt::kPercent)},
        {z, F + up, FixedFormat(c, 100 - rejectZ / 2, 0, 4) + std::string(txt::kPercent)},
    };
    for (const Limit& limit : limits) {
        if (!(std::fabs(limit.x) <= halfRange)) continue;
        cad.CadLayer(kSolidLayer);
        frame.DiagLine(limit.x, 0, limit.x, 0.6L);
        cad.CadCursor(frame.MapX(limit.x - 0.2L), frame.MapY(0.8L));
        cad.CadTextLine(S(rejectZ) + std::string(txt::kPercent));
        cad.CadLayer(kAxisLayer);
        cad.CadTextLine(S(limit.value));
        cad.CadLayer(kFirstLayer);
        cad.CadTextLine(limit.share);
        cad.CadLayer(kSecondLayer);
        cad.CadTextLine(S(limit.x));
    }

    cad.CadLayer(kAxisLayer);
    frame.DiagLine(0, 0, 0, 1.05L);
    const real yUnit = frame.H / frame.YRange(); // mm per unit of the y axis
    cad.CadTextStyle(kFont, 90, 0.04L * yUnit, 0.035L * yUnit);

    // The three scales under the curve.
    const GaussBand bands[] = {
        {kAxisLayer, 0, -0.4L, name, 0.05L, 0.08L, false},
        {kFirstLayer, -0.4L, -0.75L, txt::kScalePercent, 0.1L, 0.12L, false},
        {kSecondLayer, -0.75L, -0.95L, txt::kScaleSigma, 0.05L, 0.04L, true},
    };
    auto axisLine = [&](real y) {
        frame.DiagLine(-B, y, B + 0.02L, y);
        const real saved = cad.DrawingScale();
        cad.SetDrawingScale(0.04L * frame.W / 3.5L); // arrow head 4 % of the frame width
        cad.CadArrow(frame.MapX(B + 0.02L), frame.MapY(y), 180);
        cad.SetDrawingScale(saved);
    };
    auto mark = [&](const GaussBand& band, real x, const std::string& label) {
        if (!(std::fabs(x) <= halfRange)) return;
        frame.DiagLine(x, band.top, x, band.top - kTick);
        frame.DiagLine(x, band.bottom, x, band.bottom + kTick);
        frame.DiagText(label, x + 0.05L, (band.top + band.bottom) / 2 - band.labelOffset);
    };
    for (const GaussBand& band : bands) {
        cad.CadLayer(band.layer);
        axisLine(band.top);
        if (band.lowerAxis) frame.DiagLine(-B, band.bottom, B + 0.02L, band.bottom);
        frame.DiagText(band.title, B + 0.4L, (band.top + band.bottom) / 2 - band.titleOffset);
    }

    // Values of the quantity.
    cad.CadLayer(bands[0].layer);
    const AxisScale scale = NiceScale(F + lo, F + up, kForceDivisions);
    const real divisions = std::round((scale.max - scale.min) / scale.step);
    if (std::isfinite(divisions) && divisions <= kMaxSteps) {
        for (std::int64_t j = 1; j < static_cast<std::int64_t>(divisions); ++j) {
            const real U = scale.min + static_cast<real>(j) * scale.step;
            mark(bands[0], (U - centre) * k / D, U >= 1000 ? S(U) : FixedFormat(c, U, 0, 3));
        }
    }
    // Cumulative percentage and sigma every half standard deviation.
    const Steps halves{static_cast<real>(-B), kScaleStep};
    for (int i = 0; i <= 4 * B; ++i) {
        const real x = halves.At(i);
        cad.CadLayer(bands[1].layer);
        mark(bands[1], x, FixedFormat(c, RejectPercent(-x) / 2, 3, 4));
        cad.CadLayer(bands[2].layer);
        mark(bands[2], x, FixedFormat(c, x, 0, 1));
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------

bool ShowTauDiagram(DiagramContext& ctx, OutputKind kind) {
    if (Fatal(ctx.session)) return false;
    if (!BeginDrawing(ctx, kind, txt::kTauBaseName)) return false;
    TauDiagram(ctx);
    return EndDrawing(ctx);
}

bool ShowKDiagram(DiagramContext& ctx, OutputKind kind) {
    if (Fatal(ctx.session)) return false;
    if (!BeginDrawing(ctx, kind, txt::kKBaseName)) return false;
    KDiagram(ctx);
    return EndDrawing(ctx);
}

bool ShowGoodmanDiagram(DiagramContext& ctx, OutputKind kind) {
    return FatigueDiagram(ctx, kind, false);
}

bool ShowHaighDiagram(DiagramContext& ctx, OutputKind kind) {
    return FatigueDiagram(ctx, kind, true);
}

bool GoodmanOnOpenOutput(DiagramContext& ctx, real right) {
    Session& session = ctx.session;
    if (session.FatalFlag || !ctx.cad.IsOpen()) return false;
    const FatigueResult r = FatigueEvaluation(session);
    if (session.FatalFlag) return false;
    FatigueDrawing(ctx, r, false, FatigueSheet{false, std::min(right, kSheetW)});
    return true;
}

std::vector<std::string> FatigueSideText(const Session& session, const FatigueResult& r) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const Quantity stress = Quantity::Stress;
    auto S = [&](real v) { return ShortFormat(c, v); };
    std::vector<std::string> lines;
    auto add = [&](std::string_view label, const std::string& value) {
        lines.push_back(std::string(label) + value);
    };
    add(txt::kSideD, ShortWithUnit(c, Quantity::Length, s.d));
    add(txt::kSideTauk1, WholeWithUnit(c, stress, s.tauk1));
    add(txt::kSideTauk2, WholeWithUnit(c, stress, s.tauk2));
    add(txt::kSideTaukh, WholeWithUnit(c, stress, s.taukh));
    lines.emplace_back();
    add(txt::kSideE, WholeWithUnit(c, stress, s.E));
    add(txt::kSideG, WholeWithUnit(c, stress, s.G));
    add(txt::kSideRho,
        ShowFixed(c, Quantity::Density, s.rho, 1, 2) + " " + UnitLabel(c, Quantity::Density));
    add(txt::kSideRm, WholeWithUnit(c, stress, s.Rm));
    if (s.tauhz > 0) {
        add(txt::kSideTauoz, WholeWithUnit(c, stress, r.tauo));
        add(txt::kSideTauhz, WholeWithUnit(c, stress, s.tauhz));
    } else {
        add(txt::kSideTauz, WholeWithUnit(c, stress, s.tauz));
    }
    const bool tolerance = s.fatigueTolMin != 0 || s.fatigueTolMax != 0;
    if (tolerance)
        add(txt::kSideTolerance, DeviationText(c, kUnconverted, s.fatigueTolMax, s.fatigueTolMin) +
                                     std::string(txt::kPercentSuffix));
    lines.emplace_back();
    if (!(s.tauhz > 0) || IsStaticLoad(s)) return lines;

    const std::string millions = " " + std::string(txt::kMillionCycles);
    auto cycleRange = [&] {
        lines.push_back(std::string(txt::kOpen) + S(s.Nmin / kMillion) + std::string(txt::kRange) +
                        S(s.Nmax / kMillion) + millions + std::string(txt::kClose));
    };
    // Hours of a number of cycles; only with a load frequency.
    const bool haveF = s.f > 0;
    auto hours = [&](real cycles) { return S(cycles / (s.f * kSecondsPerHour)); };
    if (s.Sh >= 1) {
        lines.emplace_back(txt::kEndurance);
        if (s.Nmin < kTenMillion) {
            cycleRange();
            if (haveF)
                add(txt::kLife, hours(s.Nmin) + std::string(txt::kRange) + hours(s.Nmax) +
                                    std::string(txt::kHours));
        }
    } else {
        add(txt::kCycles, S(s.N / kMillion) + millions);
        if (tolerance) cycleRange();
        if (haveF) {
            add(txt::kLife,
                hours(s.N) + std::string(txt::kFrequency) + S(s.f) + std::string(txt::kPerSecond));
            if (tolerance)
                lines.push_back(std::string(txt::kOpen) + hours(s.Nmin) + std::string(txt::kRange) +
                                hours(s.Nmax) + std::string(txt::kHours) +
                                std::string(txt::kClose));
        }
    }
    return lines;
}

std::vector<std::string> RelaxationSideText(const Session& session, real F2) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const RelaxationRecord& row = session.CurrentRelaxation;
    const Quantity force = Quantity::Force;
    std::vector<std::string> lines;
    lines.push_back(s.materialName);
    auto stressLine = [&](std::string_view name, real tau) {
        lines.push_back(std::string(name) + std::string(txt::kStressEquals) +
                        WholeWithUnit(c, Quantity::Stress, tau));
    };
    stressLine(txt::kSideTau1, s.tau1);
    stressLine(txt::kSideTau2, s.tau2);
    lines.push_back(std::string(txt::kSideTemperature) +
                    ShortWithUnit(c, Quantity::Temperature, s.theta));
    lines.push_back(std::string(txt::kSideDiameter) + ShortWithUnit(c, Quantity::Length, s.d));
    lines.push_back(std::string(txt::kSideRelaxation) + ShortFormat(c, s.rx2) +
                    std::string(txt::kPercentSuffix));
    auto forceLine = [&](std::string_view name, real F) {
        lines.push_back(std::string(name) + std::string(txt::kForceEquals) +
                        ShortWithUnit(c, force, F));
    };
    forceLine(txt::kSideF2, F2);
    forceLine(txt::kSideF2After10h, F2 * (1 - s.rx2 * 0.01L * kTenHourShare));
    forceLine(txt::kSideF2After48h, F2 * (1 - s.rx2 * 0.01L));
    lines.emplace_back(" ");
    if (s.rx2 > 0 && s.warnMode == 1) {
        auto degrees = [&](std::int32_t T) {
            return AutoWidthFormat(c, T, 0) + std::string(kora::text::kDegreesClose);
        };
        if (s.theta > row.T2)
            lines.push_back(std::string(kora::text::kAboveT2Relax) + degrees(row.T2));
        if (s.theta < row.T1)
            lines.push_back(std::string(kora::text::kBelowT1Relax) + degrees(row.T1));
    }
    return lines;
}

bool ShowRelaxationDiagram(DiagramContext& ctx, int type, real F2, OutputKind kind) {
    Session& session = ctx.session;
    if (Fatal(session)) return false;
    if (!session.relaxationFound) {
        ShowInfo(session, txt::kNoRelaxationData);
        return false;
    }
    if (session.spring.materialKind != 0 || session.CurrentRelaxation.points[0].relaxation == 0 ||
        type < 1 || type > 3)
        return false;
    if (!BeginDrawing(ctx, kind, {})) return false;
    RelaxationDrawing(ctx, type, F2);
    return EndDrawing(ctx);
}

int GaussHalfWidth(real z, real sigma) {
    const real larger = std::fmax(z, sigma); // a value that is no number is left out
    if (!(larger >= 0)) return 1;            // both negative, or neither a number
    if (larger >= kMaxHalfWidth) return kMaxHalfWidth;
    return static_cast<int>(std::trunc(larger)) + 1;
}

bool ShowGaussDiagram(DiagramContext& ctx, OutputKind kind, std::string_view name, real F, real D,
                      real sigma, real upper, real lower) {
    Session& session = ctx.session;
    if (Fatal(session)) return false;
    // Without a reference deviation there is no scale in standard deviations.
    if (D == 0 || !std::isfinite(D)) return false;
    for (real v : {F, sigma, upper, lower})
        if (!std::isfinite(v)) return false;
    if (!BeginDrawing(ctx, kind, txt::kGaussBaseName)) return false;
    GaussDrawing(ctx, name, F, D, sigma, upper, lower);
    return EndDrawing(ctx);
}

bool ShowF2GaussDiagram(DiagramContext& ctx, OutputKind kind) {
    Session& session = ctx.session;
    const SpringRecord& s = session.spring;
    if (session.FatalFlag || s.statsSwitch == 'N') return false;
    const real D = ForceDeviation(session, false, s.statsGrade, s.manufacturing, s.F2, s.s2, s.Dm,
                                  s.d, s.n, s.L0, s.R2);
    return ShowGaussDiagram(ctx, kind, txt::kF2Name, s.F2, D, s.sigmaFactor, s.tolF2Upper,
                            s.tolF2Lower);
}

} // namespace kora

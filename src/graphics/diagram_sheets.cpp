#include "graphics/diagram_sheets.h"

#include "base/numformat.h"
#include "base/units.h"
#include "calc/characteristic.h"
#include "calc/derived.h"
#include "calc/dialog_calls.h"
#include "calc/message_window.h"
#include "calc/session.h"
#include "graphics/diagram_texts.h"
#include "graphics/production_drawing.h"
#include "graphics/strength_diagrams.h"
#include "strength/stress.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kora {
namespace text = diagram_text;

namespace {

// Sheet layout, mm.
constexpr real kSheetW = 160, kSheetH = 120;
constexpr real kFrameSize = 95, kFrameX = 15, kFrameY = 10;
constexpr real kQuickFrameSize = 60, kQuickFrameX = 9, kQuickFrameY = 50;
constexpr int kTablesVariant = 2;
constexpr int kAxesMode = 1;

// Layers.
constexpr int kSketchAxisLayer = 1;
constexpr int kSketchLayer = 0;
constexpr int kSolidLayer = 16;
constexpr int kFirstLayer = 18;
constexpr int kSecondLayer = 19;
constexpr int kCurveLayer = 21;
constexpr int kFnLayer = 24;
constexpr int kFxLayer = 29;

constexpr int kContinuous = 0, kDashed = 3;

// Quick page blocks.
constexpr int kFont = 2;
constexpr real kBlockHeight = 2.2L, kBlockWidth = 1.7L;
constexpr real kStressX = 78, kStressY = 20;
constexpr real kMaterialX = 3, kMaterialY = 40;
constexpr std::size_t kMaterialLine = 61;
constexpr real kMessageGap = 0.5L;  // lines between the material block and the messages
constexpr real kBottomMargin = 1;   // lowest baseline of the messages
constexpr int kSketchSections = 20; // fewer sections get the sketch
constexpr int kTableSections = 8;   // fewer sections get the point table
constexpr int kTablePoints = 6;
constexpr real kSketchLeft = 82, kSketchRight = 100, kSketchBottom = 33, kSketchTop = 104;
constexpr real kTableLeft = 102, kTableRight = 125, kTableTop = 104;
constexpr real kTableColumn2 = 113.5L;
constexpr real kTableHeight = 1.8L, kTableWidth = 1.4L;

// Curve steps: the accepted range of ssteps.
constexpr std::int32_t kMinSteps = 10, kMaxSteps = 10000;

bool Dynamic(const SpringRecord& s) {
    return !IsStaticLoad(s);
}

template <std::size_t N>
std::string NameOf(const std::array<std::string_view, N>& names, int oneBased) {
    if (oneBased < 1 || oneBased > static_cast<int>(N)) return {};
    return std::string(names[oneBased - 1]);
}

const text::SheetTexts& TextsOf(DiagramSheet type) {
    int i = std::clamp(static_cast<int>(type), 1, 7);
    return text::kSheets[i - 1];
}

std::string AxisName(std::string_view prefix, const std::string& unit) {
    return std::string(prefix) + unit + std::string(text::kUnitClose);
}

// Correction factor k of the spring index Dm / d; 0 when d is not positive.
real CorrectionFactor(const SpringRecord& s) {
    return s.d > 0 ? StressCorrectionFactor(s.Dm / s.d) : 0;
}

// Axis names, title, y quantity and the ranges of a type, the ranges in display units.
struct AxesOfType {
    std::string xName, yName, title;
    real xTo = 0, yTo = 0;
    real fy = 1; // display value of one internal unit on the y axis
};

AxesOfType AxesOf(const Session& session, DiagramSheet type) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const bool dynamic = Dynamic(s);
    const text::SheetTexts& t = TextsOf(type);
    AxesOfType a;
    a.title = std::string(dynamic ? t.titleDynamic : t.title);
    const std::string length = UnitLabel(c, Quantity::Length);
    a.xName = AxisName(type == DiagramSheet::Frequency ? text::kAxisSFrequency
                       : type == DiagramSheet::FL      ? text::kAxisL
                                                       : text::kAxisS,
                       length);
    a.xTo = ScaleValue(c, Quantity::Length, type == DiagramSheet::FL ? s.L0 : s.sc);
    auto y = [&](std::string_view prefix, Quantity q, real value) {
        a.yName = AxisName(prefix, UnitLabel(c, q));
        a.yTo = ScaleValue(c, q, value);
        a.fy = ScaleValue(c, q, 1);
    };
    switch (type) {
    case DiagramSheet::Tau:
        if (dynamic)
            y(text::kAxisTauk, Quantity::Stress, CorrectionFactor(s) * s.tauc);
        else
            y(text::kAxisTau, Quantity::Stress, s.tauc);
        break;
    case DiagramSheet::Rs:
        y(text::kAxisR, Quantity::Rate, s.Rc);
        break;
    case DiagramSheet::Ws:
        y(text::kAxisW, Quantity::Work, s.W0c);
        break;
    case DiagramSheet::Frequency:
        a.yName = std::string(text::kAxisFe);
        a.yTo = s.fec;
        a.fy = 1; // only the x axis is converted
        break;
    default: // F-s, F-L and the Quick page's F-s
        y(text::kAxisF, Quantity::Force, s.Fc);
        break;
    }
    return a;
}

// A reference mark of the F-s, F-L, R-s and fe-s diagrams: dashed lines from the point to both
// axes and the label at its own place.
struct Mark {
    int layer;
    real x, y;
    std::string label;
    real labelX, labelY;
};

void DrawMark(DiagramContext& ctx, const Mark& m) {
    ctx.cad.CadLayer(m.layer);
    ctx.cad.CadLineType(kDashed);
    ctx.frame.DiagLine(m.x, m.y, 0, m.y);
    ctx.frame.DiagLine(m.x, m.y, m.x, 0);
    ctx.cad.CadLineType(kContinuous);
    ctx.frame.DiagText(m.label, m.labelX, m.labelY);
}

void ForceMarks(DiagramContext& ctx, bool overLength) {
    const Configuration& c = ctx.session.config;
    const SpringRecord& s = ctx.session.spring;
    auto label = [&](std::string_view name, real F) {
        return std::string(name) + ShowShort(c, Quantity::Force, F);
    };
    struct Row {
        int layer;
        real deflection, length, force;
        std::string_view name;
    };
    const Row rows[] = {
        {kFirstLayer, s.s1, s.L1, s.F1, text::kMarkF1},
        {kSecondLayer, s.s2, s.L2, s.F2, text::kMarkF2},
        {kFxLayer, s.sx, s.Lx, s.Fx, text::kMarkFx},
        {kFnLayer, s.sn, s.Ln, s.Fn, text::kMarkFn},
        {kSolidLayer, s.sc, s.Lc, s.Fc, text::kMarkFc},
    };
    for (const Row& r : rows) {
        const real x = overLength ? r.length : r.deflection;
        DrawMark(ctx,
                 {r.layer, x, r.force, label(r.name, r.force), 0.3L * x, r.force + 0.01L * s.Fc});
    }
}

void RateMarks(DiagramContext& ctx) {
    const Configuration& c = ctx.session.config;
    const SpringRecord& s = ctx.session.spring;
    auto label = [&](std::string_view name, real R) {
        return std::string(name) + ShowShort(c, Quantity::Rate, R);
    };
    DrawMark(ctx, {kFirstLayer, s.s1, s.R1, label(text::kMarkR1, s.R1), 0.3L * s.s1,
                   s.R1 + 0.02L * s.R2});
    DrawMark(ctx, {kSecondLayer, s.s2, s.R2, label(text::kMarkR2, s.R2), 0.3L * s.s2,
                   s.R2 + 0.02L * s.R2});
}

void FrequencyMarks(DiagramContext& ctx) {
    const Configuration& c = ctx.session.config;
    const SpringRecord& s = ctx.session.spring;
    auto label = [&](std::string_view name, real fe) {
        return std::string(name) + ShortFormat(c, fe);
    };
    ctx.cad.CadLayer(kCurveLayer);
    ctx.frame.DiagText(label(text::kMarkFe0, s.fe0), 0.02L * s.sc, s.fe0 + 0.01L * s.fec);
    DrawMark(ctx, {kFirstLayer, s.s1, s.fe1, label(text::kMarkFe1, s.fe1), 0.3L * s.s1,
                   s.fe1 + 0.01L * s.fec});
    DrawMark(ctx, {kSecondLayer, s.s2, s.fe2, label(text::kMarkFe2, s.fe2), 0.3L * s.s2,
                   s.fe2 + 0.01L * s.fe2});
}

void RefLine(DiagramContext& ctx, int layer, std::string_view name, Quantity q, real value,
             real x) {
    ctx.cad.CadLayer(layer);
    ctx.frame.DiagRefLine(std::string(name) + ShowShort(ctx.session.config, q, value), value, x);
}

void StressMarks(DiagramContext& ctx) {
    const SpringRecord& s = ctx.session.spring;
    const Quantity q = Quantity::Stress;
    if (Dynamic(s)) {
        if (s.tau1 > 0.1L) RefLine(ctx, kFirstLayer, text::kMarkTauk1, q, s.tauk1, s.s1);
        RefLine(ctx, kSecondLayer, text::kMarkTauk2, q, s.tauk2, s.s2);
        RefLine(ctx, kSolidLayer, text::kMarkTaukc, q, CorrectionFactor(s) * s.tauc, s.sc);
    } else {
        if (s.tau1 > 0.1L) RefLine(ctx, kFirstLayer, text::kMarkTau1, q, s.tau1, s.s1);
        RefLine(ctx, kSecondLayer, text::kMarkTau2, q, s.tau2, s.s2);
        RefLine(ctx, kSolidLayer, text::kMarkTauc, q, s.tauc, s.sc);
    }
}

void WorkMarks(DiagramContext& ctx) {
    const SpringRecord& s = ctx.session.spring;
    const Quantity q = Quantity::Work;
    if (s.W01 > 0.1L) RefLine(ctx, kFirstLayer, text::kMarkW01, q, s.W01, s.s1);
    RefLine(ctx, kSecondLayer, text::kMarkW02, q, s.W02, s.s2);
    RefLine(ctx, kSolidLayer, text::kMarkW0c, q, s.W0c, s.sc);
}

// The curve: the force in steps of Fc / ssteps, k = 1 .. ssteps - 1, each point from the
// deflection at that force.
void Curve(DiagramContext& ctx, DiagramSheet type) {
    Session& session = ctx.session;
    const SpringRecord& s = session.spring;
    DiagramFrame& frame = ctx.frame;
    if (!(s.Fc > 0) || !std::isfinite(s.Fc)) return; // no characteristic to draw
    ctx.cad.CadLayer(kCurveLayer);
    ctx.cad.CadLineType(kContinuous);
    const std::int32_t steps = std::clamp(s.ssteps, kMinSteps, kMaxSteps);
    const real dF = s.Fc / steps;
    const real tauPerForce = s.d > 0 ? 8 * s.Dm / (std::numbers::pi_v<real> * s.d * s.d * s.d) *
                                           (Dynamic(s) ? CorrectionFactor(s) : 1)
                                     : 0;
    frame.DiagMoveTo(type == DiagramSheet::FL ? s.L0 : 0, 0);
    bool penPlaced = false; // R-s and fe-s: the first point only moves the pen
    real previous = 0, W = 0;
    for (std::int32_t k = 1; k < steps; ++k) {
        const real F = k * dF;
        const real sk = DeflectionAt(session, F);
        switch (type) {
        case DiagramSheet::FL:
            frame.DiagLineTo(s.L0 - sk, F);
            break;
        case DiagramSheet::Tau:
            frame.DiagLineTo(sk, tauPerForce * F);
            break;
        case DiagramSheet::Rs: {
            const real ds = sk - previous;
            if (ds > 0) { // a step without deflection has no rate
                const real R = dF / ds;
                if (penPlaced) {
                    frame.DiagLineTo(sk, R);
                } else {
                    frame.DiagMoveTo(sk, R);
                    penPlaced = true;
                }
            }
            break;
        }
        case DiagramSheet::Ws:
            W += (sk - previous) * F;
            if (k == 1)
                frame.DiagMoveTo(sk, 0);
            else
                frame.DiagLineTo(sk, W);
            break;
        case DiagramSheet::Frequency: {
            const real fe = NaturalFrequency(session, F);
            if (k == 1)
                frame.DiagMoveTo(sk, fe);
            else
                frame.DiagLineTo(sk, fe);
            break;
        }
        default:
            frame.DiagLineTo(sk, F);
            break;
        }
        previous = sk;
    }
}

// ---- Quick page blocks ----

void BlockStyle(CadOutput& cad) {
    cad.CadTextStyle(kFont, 0, kBlockHeight, kBlockWidth);
    cad.CadLineSpacing(1);
}

void Heading(CadOutput& cad, std::string_view line) {
    cad.CadLayer(kCurveLayer);
    cad.CadTextLine(line);
    cad.CadLayer(kSecondLayer);
}

// The front half of every coil from end 1 to end 2 with the wire sections at both ends, at
// rest, fitted into a box beside the data.
void SpringSketch(CadOutput& cad, const SpringRecord& s) {
    const real wireHeight = s.wireType == 2 || s.wireType == 4 ? s.h : s.d;
    const real width = s.Dm + s.d, height = s.L0 + wireHeight;
    if (!(s.Dm > 0) || !(s.d > 0) || !(s.L0 > 0) || !(wireHeight > 0) || !std::isfinite(height))
        return;
    const real boxW = kSketchRight - kSketchLeft, boxH = kSketchTop - kSketchBottom;
    const real scale = std::min(boxW / width, boxH / height);
    const real cx = (kSketchLeft + kSketchRight) / 2;
    const real base = kSketchBottom + (boxH - height * scale) / 2 + wireHeight / 2 * scale;
    auto X = [&](real x) { return cx + x * scale; };
    auto Y = [&](real y) { return base + y * scale; };
    const real r = s.Dm / 2;

    cad.CadLayer(kSketchAxisLayer);
    cad.CadLine(X(0), Y(-wireHeight), X(0), Y(s.L0 + wireHeight));

    cad.CadLayer(kSketchLayer);
    auto section = [&](real x, real y) {
        const real a = s.d / 2 * scale, b = wireHeight / 2 * scale;
        switch (s.wireType) {
        case 1:
            cad.CadCircle(X(x), Y(y), a);
            break;
        case 2:
            cad.CadEllipse(a, b, X(x), Y(y));
            break;
        default:
            cad.CadRectangle(X(x) - a, Y(y) - b, X(x) + a, Y(y) + b);
            break;
        }
    };
    const bool leftHand = s.coilingDirection == 2;
    const real last = std::trunc(s.nt - 0.5L);
    for (real k = 0; k <= last; ++k) {
        const real yStart = CoilPosition(s, k), yHalf = CoilPosition(s, k + 0.5L);
        const real yLeft = leftHand ? yStart : yHalf, yRight = leftHand ? yHalf : yStart;
        cad.CadLine(X(-r), Y(yLeft), X(r), Y(yRight));
        section(-r, yLeft);
        section(r, yRight);
    }
}

// The entered characteristic points as a small ruled table: F and L (F-L input) or s.
void PointTable(CadOutput& cad, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const bool overLength = s.charCoordinate == 2;
    const real line = 1.6L * kTableHeight;
    cad.CadLayer(kSecondLayer);
    cad.CadTextStyle(kFont, 0, kTableHeight, kTableWidth);
    const real top = kTableTop + kTableHeight + 0.6L;
    cad.CadText(text::kPointF, kTableLeft + 0.5L, kTableTop);
    cad.CadText(overLength ? text::kPointL : text::kPointS, kTableColumn2 + 0.5L, kTableTop);
    real y = kTableTop;
    for (int i = 1; i <= s.nchar; ++i) {
        y -= line;
        const CharacteristicPoint& p = s.points[i];
        cad.CadText(ShowShort(c, Quantity::Force, p.F), kTableLeft + 0.5L, y);
        cad.CadText(ShowShort(c, Quantity::Length, overLength ? p.L : p.s), kTableColumn2 + 0.5L,
                    y);
    }
    const real bottom = y - 0.6L;
    const real rule = kTableTop - 0.6L;
    cad.CadRectangle(kTableLeft, bottom, kTableRight, top);
    cad.CadLine(kTableLeft, rule, kTableRight, rule);
    cad.CadLine(kTableColumn2, bottom, kTableColumn2, top);
}

void StressBlock(CadOutput& cad, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    BlockStyle(cad);
    cad.CadCursor(kStressX, kStressY);
    Heading(cad, text::kStressHeading);
    auto line = [&](std::string_view label, real tau) {
        cad.CadTextLine(std::string(label) + ShowShort(c, Quantity::Stress, tau) + " " +
                        UnitLabel(c, Quantity::Stress));
    };
    if (Dynamic(s)) {
        line(text::kTauk1, s.tauk1);
        line(text::kTauk2, s.tauk2);
        line(text::kTaukh, s.taukh);
    } else {
        line(text::kTau1, s.tau1);
        line(text::kTau2, s.tau2);
    }
    line(text::kTauz, s.tauz);
    if (s.tauhz > 0) line(text::kTauhz, s.tauhz);
}

void MaterialBlock(CadOutput& cad, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    BlockStyle(cad);
    cad.CadLayer(kSecondLayer);
    cad.CadCursor(kMaterialX, kMaterialY);
    std::string material = std::string(text::kMaterial) + s.materialName;
    if (material.size() > kMaterialLine) material.resize(kMaterialLine);
    cad.CadTextLine(material);
    cad.CadTextLine(std::string(text::kManufacturing) +
                    NameOf(text::kManufacturingNames, s.manufacturing));
    cad.CadTextLine(std::string(text::kLoad) + NameOf(text::kLoadNames, s.loadType));
    cad.CadTextLine(std::string(text::kSurface) + NameOf(text::kSurfaceNames, s.wireSurface));
    if (IsShotPeened(s)) cad.CadTextLine(text::kShotPeened);
    const std::string stress = " " + UnitLabel(c, Quantity::Stress);
    cad.CadTextLine(std::string(text::kShearModulus) + ShowFixed(c, Quantity::Stress, s.G, 6, 0) +
                    stress);
    if (s.theta != 20) { // an operating temperature other than room temperature
        cad.CadTextLine(std::string(text::kTemperature) +
                        ShowFixed(c, Quantity::Temperature, s.theta, 6, 0) + " " +
                        UnitLabel(c, Quantity::Temperature));
        cad.CadTextLine(std::string(text::kShearModulusAtT) +
                        ShowFixed(c, Quantity::Stress, s.Gtheta, 6, 0) + stress);
    }
    cad.CadTextLine(std::string(text::kWireLength) + ShowShort(c, Quantity::Length, s.L) + " " +
                    UnitLabel(c, Quantity::Length) + std::string(text::kWeight) +
                    ShortFormat(c, s.m) + std::string(text::kGram));

    const int count = session.messages.Count();
    if (count == 0) return;
    cad.CadLineFeed(kMessageGap);
    // The messages must stay on the sheet: a long list is written smaller.
    const real top = cad.Cursor().y;
    const real room = (top - kBottomMargin) / (1.6L * count); // count + 1 lines, count gaps
    const real height = std::clamp(room, 0.2L, kBlockHeight);
    cad.CadTextStyle(kFont, 0, height, kBlockWidth * height / kBlockHeight);
    Heading(cad, text::kMessagesHeading);
    for (const std::string& message : session.messages)
        cad.CadTextLine(message);
}

void DrawSheet(DiagramContext& ctx, DiagramSheet type) {
    if (type == DiagramSheet::Quick) {
        QuickPage(ctx);
        return;
    }
    DrawTitleLines(ctx.cad, ctx.session.spring);
    DataBlock(ctx.cad, ctx.session);
    DrawSheetDiagram(ctx, type);
}

std::string LimitsKey(std::string_view title, std::string_view xName, std::string_view yName) {
    std::string key(title);
    key += '\n';
    key += xName;
    key += '\n';
    key += yName;
    return key;
}

} // namespace

// ---------------------------------------------------------------------------------------------

DiagramContext::DiagramContext(Session& s, CadOutput& c) : session(s), cad(c), frame(c, s.config) {
    goodmanDiagram = [this](OutputKind kind) { ShowGoodmanDiagram(*this, kind); };
    haighDiagram = [this](OutputKind kind) { ShowHaighDiagram(*this, kind); };
    productionDrawing = [this](OutputKind kind) { ProductionDrawing(session, cad, kind); };
}

std::string_view DiagramMenuText(DiagramSheet type) {
    return TextsOf(type).menu;
}

std::string_view DiagramBaseName(DiagramSheet type) {
    return TextsOf(type).baseName;
}

void AskDiagramLimits(DiagramContext& ctx, std::string_view title, std::string_view xName,
                      std::string_view yName, AxisScale& x, AxisScale& y) {
    Session& session = ctx.session;
    const DiagramFrame& frame = ctx.frame;
    // The form shows values; a logarithmic axis scales their logarithms.
    auto shown = [](real v, bool logarithmic) { return logarithmic ? std::pow(10.0L, v) : v; };
    const DiagramLimits computed{shown(x.min, frame.xLog), shown(x.max, frame.xLog),
                                 shown(y.min, frame.yLog), shown(y.max, frame.yLog)};
    const std::string key = LimitsKey(title, xName, yName);
    auto found = ctx.enteredLimits.find(key);
    const DiagramLimits last = found != ctx.enteredLimits.end() ? found->second : computed;

    if (!ctx.askLimits) return;
    const auto entered = ctx.askLimits(session, {title, xName, yName, computed, last});
    if (!entered) {
        session.AbortFlag = false; // the computed limits stay, the drawing goes on
        return;
    }
    const DiagramLimits& e = *entered;
    ctx.enteredLimits[key] = e;
    auto scaled = [](real v, bool logarithmic) {
        return logarithmic ? (v > 0 ? std::log10(v) : DiagramFrame::kLogOfNonPositive) : v;
    };
    x = NiceScale(scaled(e.xmin, frame.xLog), scaled(e.xmax, frame.xLog), 6);
    y = NiceScale(scaled(e.ymin, frame.yLog), scaled(e.ymax, frame.yLog), 6);
}

void DrawSheetDiagram(DiagramContext& ctx, DiagramSheet type) {
    const Configuration& c = ctx.session.config;
    DiagramFrame& frame = ctx.frame;
    const AxesOfType axes = AxesOf(ctx.session, type);
    frame.DiagAxes(axes.xName, axes.yName, axes.title, 0, 0, axes.xTo, axes.yTo, kAxesMode);

    // Curves and marks are given in mm, N, N/mm², N/mm and N·mm.
    frame.DiagUnitFactors(axes.fy, ScaleValue(c, Quantity::Length, 1));
    if (type == DiagramSheet::Frequency)
        frame.DiagTextStyle(kFont, 0, frame.YRange() / 40, frame.XRange() / 62.5L);
    else
        frame.DiagTextStyle(kFont, 0, frame.YRange() / 35, frame.XRange() / 45);

    switch (type) {
    case DiagramSheet::FL:
        ForceMarks(ctx, true);
        break;
    case DiagramSheet::Rs:
        RateMarks(ctx);
        break;
    case DiagramSheet::Frequency:
        FrequencyMarks(ctx);
        break;
    case DiagramSheet::Tau:
        StressMarks(ctx);
        break;
    case DiagramSheet::Ws:
        WorkMarks(ctx);
        break;
    default:
        ForceMarks(ctx, false);
        break;
    }
    Curve(ctx, type);
}

void QuickPage(DiagramContext& ctx) {
    const SpringRecord& s = ctx.session.spring;
    DrawTitleLines(ctx.cad, s);
    DataBlock(ctx.cad, ctx.session);
    if (s.nsec < kSketchSections) SpringSketch(ctx.cad, s);
    if (s.nsec < kTableSections && s.definitionMode == 2 && s.nchar >= 1 && s.nchar <= kTablePoints)
        PointTable(ctx.cad, ctx.session);
    StressBlock(ctx.cad, ctx.session);
    MaterialBlock(ctx.cad, ctx.session);
    ctx.frame.DiagSetSize(kQuickFrameSize, kQuickFrameSize);
    ctx.frame.DiagSetOrigin(kQuickFrameX, kQuickFrameY);
    DrawSheetDiagram(ctx, DiagramSheet::Fs);
    ctx.frame.DiagReset();
}

bool DrawDiagramSheet(DiagramContext& ctx, DiagramSheet type, OutputKind kind) {
    Session& session = ctx.session;
    const int number = static_cast<int>(type);
    if (number < 1 || number > 7) return false;
    if (session.FatalFlag || session.spring.nsec <= 0) {
        ShowMessageList(session);
        return false;
    }
    CadOutput& cad = ctx.cad;
    if (!cad.CadBegin(kind, DiagramBaseName(type))) return false;
    cad.CadSheet(0, 0, kSheetW, kSheetH);
    ctx.frame.DiagReset();
    if (type != DiagramSheet::Quick) {
        ctx.frame.DiagSetSize(kFrameSize, kFrameSize);
        ctx.frame.DiagSetOrigin(kFrameX, kFrameY);
    }
    cad.CadTables(kTablesVariant);
    cad.CadPageStart();
    // The limits dialog only when the user chose the output in an interactive run.
    const bool askLimits = session.config.enterDiagramLimits &&
                           cad.RequestedKind() == OutputKind::Ask && session.arguments.size() < 2;
    if (askLimits)
        ctx.frame.limitsHook = [&ctx](std::string_view title, std::string_view xName,
                                      std::string_view yName, AxisScale& x, AxisScale& y) {
            AskDiagramLimits(ctx, title, xName, yName, x, y);
        };
    DrawSheet(ctx, type);
    ctx.frame.limitsHook = nullptr;
    cad.CadSectionEnd();
    return cad.CadEnd();
}

void ChooseDiagram(DiagramContext& ctx) {
    std::vector<std::string> items;
    for (const text::SheetTexts& t : text::kSheets)
        items.emplace_back(t.menu);
    items.emplace_back(text::kGoodman);
    items.emplace_back(text::kHaigh);
    items.emplace_back(text::kBack);
    const int back = static_cast<int>(items.size());
    int index = 1;
    while (ChooseItem(ctx.session, text::kChooseCaption, items, index) && index != back) {
        if (index <= 7) {
            DrawDiagramSheet(ctx, static_cast<DiagramSheet>(index), OutputKind::Ask);
        } else if (index == 8) {
            if (ctx.goodmanDiagram) ctx.goodmanDiagram(OutputKind::Ask);
        } else if (ctx.haighDiagram) {
            ctx.haighDiagram(OutputKind::Ask);
        }
    }
}

void RedrawCurrentView(DiagramContext& ctx) {
    const Session& session = ctx.session;
    if (session.config.helpLevel == 0 || !session.messagesEnabled || session.FatalFlag ||
        session.spring.nsec <= 0)
        return;
    auto call = [](const std::function<void(OutputKind)>& draw) {
        if (draw) draw(OutputKind::Screen);
    };
    switch (session.config.ResultGraphic) {
    case 1: // "Quick 1"
        DrawDiagramSheet(ctx, DiagramSheet::Quick, OutputKind::Screen);
        break;
    case 3: // "Fertigungszeichnung"
        call(ctx.productionDrawing);
        break;
    case 4: // "Diagramm"
        DrawDiagramSheet(ctx, DiagramSheet::Fs, OutputKind::Screen);
        break;
    case 5: // "Zeichnung"
        call(ctx.cutView);
        break;
    default: // 0 "egal", 2 "Quick 2"
        call(ctx.resultOverview);
        break;
    }
}

} // namespace kora

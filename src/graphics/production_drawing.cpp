#include "graphics/production_drawing.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "base/numformat.h"
#include "base/program.h"
#include "base/text.h"
#include "base/units.h"
#include "calc/dialog_calls.h"
#include "calc/message_window.h"
#include "calc/session.h"
#include "graphics/drawing_dimensions.h"
#include "graphics/drawing_texts.h"
#include "graphics/hatching.h"
#include "strength/stress.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sys/stat.h>

namespace kora {
namespace text = drawing_text;

namespace {

constexpr real kPi = std::numbers::pi_v<real>;
constexpr int kFont = 2;
constexpr real kNoLimit = 1e9L;

// Sheet (A4 portrait with a margin for the maker's line) and layers.
constexpr real kSheetXmin = -5, kSheetYmin = -5, kSheetXmax = 225, kSheetYmax = 310;
constexpr int kTablesVariant = 0;
constexpr int kOutline = 0, kCentre = 1, kThin = 3, kMedium = 4, kThick = 5;

// End-form sketches: pitch angle, wire thickness and coil diameter on the sheet.
constexpr real kAlpha = 0.13L, kWire = 4, kCoil = 30;
constexpr real kR = kCoil / 2, kHalfWire = kWire / 2;
constexpr real kSectionHatch = 0.2L * kWire; // distance of the hatch lines in a wire section

// Ends of the main view and the insertion points of the sketches.
constexpr real kAxisX = 46, kBaseY = 200, kTopY = 275;
constexpr real kForm2X = 124, kForm3X = 168;

// Short deviation texts of a pair, as the data block writes them.
std::string Pair(const Configuration& c, Quantity q, real upper, real lower) {
    return DeviationText(c, q, upper, lower);
}

std::string Cut(std::string s, std::size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

bool Dynamic(const SpringRecord& s) {
    return !IsStaticLoad(s);
}

// The CAD output with the text style the drawing has set, so that a text that would run into
// its neighbour can be written narrower.
class Pen {
  public:
    explicit Pen(CadOutput& cad) : cad(cad) {}

    void Style(real height, real width, real angle = 0) {
        height_ = height;
        width_ = width;
        angle_ = angle;
        cad.CadTextStyle(kFont, angle, height, width);
    }
    // The text at (x, y); when its estimated length would pass `right` (a line or the next
    // text), it is written just narrow enough to end there.
    void Text(std::string_view t, real x, real y, real right = kNoLimit) {
        std::size_t last = t.find_last_not_of(' ');
        if (last == std::string_view::npos) return; // nothing to see
        const real visible = static_cast<real>(last + 1);
        const real h = cad.TextHeight(), k = cad.TextWidthRatio();
        if (angle_ == 0 && x + visible * h * k > right && right > x && h > 0 && k > 0) {
            const real narrower = width_ * (right - x) / (visible * h * k);
            cad.CadTextStyle(kFont, angle_, height_, narrower);
            cad.CadText(t, x, y);
            cad.CadTextStyle(kFont, angle_, height_, width_);
            return;
        }
        cad.CadText(t, x, y);
    }
    void Line(real x1, real y1, real x2, real y2) { cad.CadLine(x1, y1, x2, y2); }
    void Layer(int layer) { cad.CadLayer(layer); }

    CadOutput& cad;

  private:
    real height_ = 2.5L, width_ = 0, angle_ = 0;
};

std::string Now(const ProductionDrawingSetup& setup, const Configuration& c) {
    const std::time_t t = setup.clock ? setup.clock() : std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char time[16];
    std::strftime(time, sizeof time, "%H:%M", &local);
    return DateText(c, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) + " " + time;
}

// ---- Frame and title block ("FRAME_1") ----

// Index of change record i (1-based) in drawing style 1 "a", 2 "1", 3 "A" or 4 none.
std::string ChangeIndex(int style, int i) {
    switch (style) {
    case 2:
        return std::to_string(i);
    case 3:
        return std::string(1, static_cast<char>('A' + i - 1));
    case 4:
        return {};
    default:
        return std::string(1, static_cast<char>('a' + i - 1));
    }
}

void FrameLines(Pen& p) {
    p.Layer(kThick);
    p.cad.CadRectangle(18, 5, 205, 292);
    p.Line(18, 43, 205, 43);
    p.Layer(kMedium);
    p.Line(73, 5, 73, 43);
    p.Line(116, 5, 116, 43);
    p.Line(73, 22, 205, 22);
    p.Line(192, 9.4L, 192, 22);
    p.Layer(kThin);
    p.cad.CadRectangle(0, 0, 210, 297);
    for (real x : {26.0L, 52.0L, 65.0L})
        p.Line(x, 5, x, 43);
    for (real x : {82.0L, 98.0L})
        p.Line(x, 22, x, 43);
    p.Line(73, 9.4L, 205, 9.4L);
    p.Line(160, 5, 160, 9.4L);
    p.Line(192, 14, 205, 14);
    p.Line(0, 148.5L, 15, 148.5L); // folding mark
}

void RevisionTable(Pen& p, const Session& session) {
    const SpringRecord& s = session.spring;
    const int count = std::clamp(s.changeCount, 0, static_cast<int>(s.changes.size()));
    const int first = std::max(1, count - 7); // the last eight records
    const int style = std::clamp(session.config.ChangeIndexStyle, 0, 3) + 1;
    p.Layer(kThin);
    p.Style(1.7L, 1.3L);
    for (int i = first; i <= count; ++i) {
        const real y = 6.5L + 4.2L * (i - first + 1);
        const AendRecord& r = s.changes[static_cast<std::size_t>(i - 1)];
        p.Text(ChangeIndex(style, i), 21, y, 25.5L);
        p.Text(r.text, 27, y, 51.5L);
        p.Text(r.date, 52.5L, y, 64.5L);
        p.Text(r.editor, 66, y, 72.5L);
    }
}

void DrawingTexts(Pen& p, const DrawingInfo& info) {
    const int count = std::clamp(info.textCount, 0, static_cast<int>(info.texts.size()));
    for (int i = 0; i < count; ++i) {
        const DrawingText& t = info.texts[static_cast<std::size_t>(i)];
        if (t.h > 0) p.Style(t.h, 0.8L * t.h, t.phi); // h = 0: the style in force
        p.cad.CadText(t.text, t.x, t.y);
    }
}

void FrameBlock(Pen& p, const Session& session, const ProductionDrawingSetup& setup) {
    const SpringRecord& s = session.spring;
    const Configuration& c = session.config;
    const DrawingInfo& info = s.drawingInfo;
    p.cad.CadBlockBegin(text::kFrameBlock);
    FrameLines(p);

    p.Style(1.6L, 1.3L);
    p.Text(text::kRevState, 19, 6, 25.5L);
    p.Text(text::kRevChange, 30, 6, 51.5L);
    p.Text(text::kDate, 54, 6, 64.5L);
    p.Text(text::kName, 65.6L, 6, 72.5L);

    p.Style(1.8L, 1.5L);
    p.Text(text::kDate, 85, 39.8L, 97.5L);
    p.Text(text::kName, 100, 39.8L, 115.5L);
    const std::string rowCaptions[4] = {std::string(text::kDrawn), std::string(text::kChecked),
                                        std::string(text::kStandard), c.ReleaseFieldCaption};
    const real captionY[4] = {35.6L, 31.4L, 27.2L, 23.2L};
    for (int i = 0; i < 4; ++i)
        p.Text(rowCaptions[i], 74, captionY[i], 81.5L);

    p.Style(1.8L, 1.5L, 90);
    const real noticeX[5] = {4, 6.7L, 9.4L, 12.1L, 14.8L};
    for (int i = 0; i < 5; ++i) {
        p.Text(text::kProtectionEnglish[i], noticeX[i], 10);
        p.Text(text::kProtectionGerman[i], noticeX[i], 200);
    }

    p.Style(1.8L, 1.5L);
    const std::string* dates[4] = {&info.bearbDate, &info.geprDate, &info.normDate, &info.row4Date};
    const std::string* names[4] = {&info.bearbName, &info.geprName, &info.normName, &info.row4Name};
    const real rowY[4] = {35.6L, 31.2L, 27.0L, 23.0L};
    for (int i = 0; i < 4; ++i) {
        p.Text(*dates[i], 83.5L, rowY[i], 97.5L);
        p.Text(*names[i], 100, rowY[i], 115.5L);
    }
    p.Text(text::kSheet, 194, 18, 204.5L);
    p.Text(text::kSheetShort, 200, 10.4L, 204.5L);
    if (!info.ersatzFuer.empty())
        p.Text(Cut(std::string(text::kReplaces) + info.ersatzFuer, 26), 118, 6.5L, 159.5L);
    if (!info.ersetztDurch.empty())
        p.Text(Cut(std::string(text::kReplacedBy) + info.ersetztDurch, 29), 162, 6.5L, 204.5L);

    RevisionTable(p, session);
    DrawingTexts(p, info);

    p.Layer(kThick);
    p.Style(5, 4);
    p.Text(s.designation, 120, 32.5L, 204.5L);
    p.Text(s.drawingNumber, 120, 12, 191.5L);
    p.Style(3.5L, 2.8L);
    p.Text(s.drawingName2, 120, 25, 204.5L);

    p.Style(1.5L, 1.2L);
    if (!c.HideFileName) {
        // The end of the name tells the file; a long path loses its beginning.
        std::string name = Utf8ToCp850(p.cad.SpringFile());
        if (name.size() > 150) name = name.substr(name.size() - 150);
        p.Text(name, 18, 1, c.HideDate ? 209.5L : 185.5L);
    }
    if (!c.HideDate) p.Text(Now(setup, c), 186, 1, 209.5L);
    if (!c.HideMakerTitle) {
        p.Style(3.5L, 3);
        p.Text(std::string(kMakerName) + " " + std::string(kProgramTitle) + " V" +
                   p.cad.settings.programVersion,
               1, 300, 224.5L);
    }
    p.cad.CadBlockEnd();
}

// ---- End-form sketches ("FEDER1" to "FEDER3") ----

struct Centre {
    real x, y;
};

// Sections of the first active coils: left and right of the axis by turns, half a pitch
// (kCoil tan alpha) apart, from `firstY` up to the top of the sketch.
std::array<Centre, 4> ActiveSections(real firstY) {
    const real rise = kCoil * std::tan(kAlpha);
    return {
        {{-kR, firstY}, {kR, firstY + rise}, {-kR, firstY + 2 * rise}, {kR, firstY + 3 * rise}}};
}

// The two edges of the wire from section a to section b (the front half of a coil).
void WireBetween(Pen& p, const Centre& a, const Centre& b) {
    const real dx = b.x - a.x, dy = b.y - a.y;
    const real len = std::hypot(dx, dy);
    const real nx = -dy / len * kHalfWire, ny = dx / len * kHalfWire;
    p.Line(a.x + nx, a.y + ny, b.x + nx, b.y + ny);
    p.Line(a.x - nx, a.y - ny, b.x - nx, b.y - ny);
}

void HatchedSection(Hatching& h, const Centre& c) {
    h.HatchMode = 1;
    h.HatchCircle(kSectionHatch, kHalfWire, c.x, c.y);
}

void CentreLines(Pen& p) {
    p.Layer(kCentre);
    for (real x : {-kR, 0.0L, kR})
        p.Line(x, -2, x, 18);
}

void ActiveCoils(Pen& p, Hatching& h, real firstY) {
    const auto c = ActiveSections(firstY);
    p.Layer(kThick);
    WireBetween(p, c[0], c[1]);
    WireBetween(p, c[2], c[3]);
    for (const Centre& section : c)
        HatchedSection(h, section);
}

// Ground ends: the end coil ground flat on the seating plane.
void GroundEnd(Pen& p, Hatching& h) {
    const real firstY = kR * std::tan(kAlpha) + 3;
    p.Layer(kThick);
    p.Line(-kR - kHalfWire * std::sin(kPi / 3), 0, (kCoil + kWire) / 2, 0); // seating line
    p.Line(-kR, 1, kR, 2);                                                  // end coil
    p.cad.CadArc(-kR, -1, kHalfWire, 90, 150);
    p.cad.CadArc(kR, 0, kHalfWire, 0, 90);
    // The edge of the first active coil leaves the right end section at the pitch angle and
    // runs until it meets the first section of the active coils.
    const real ax = kR + kHalfWire * std::sin(kAlpha), ay = kHalfWire * std::cos(kAlpha);
    const real ux = -std::cos(kAlpha), uy = std::sin(kAlpha);
    const Centre first = ActiveSections(firstY)[0];
    const real fx = ax - first.x, fy = ay - first.y;
    const real b = fx * ux + fy * uy, cc = fx * fx + fy * fy - kHalfWire * kHalfWire;
    const real disc = b * b - cc;
    const real along = disc >= 0 ? -b - std::sqrt(disc) : (kCoil + kWire) / std::cos(kAlpha);
    p.Line(ax, ay, ax + along * ux, ay + along * uy);
    ActiveCoils(p, h, firstY);
}

// Closed ends without grinding: the end coil lies on the seat with its full section.
void ClosedEnd(Pen& p, Hatching& h) {
    p.Layer(kThick);
    p.Line(-kR - kWire / 2, 0, kR + kWire / 2, 0);
    const Centre left{-kR, kHalfWire}, right{kR, kHalfWire};
    p.Line(left.x, kWire, right.x, kWire); // the end coil's upper edge; the lower is the seat
    HatchedSection(h, left);
    HatchedSection(h, right);
    ActiveCoils(p, h, kWire + kHalfWire); // the first active coil rests on the end coil
}

// Forged and ground ends: the wire tapers towards its end and is ground flat.
void ForgedEnd(Pen& p, Hatching& h) {
    constexpr real tip = 0.5L, sectionY = 1.5L;
    p.Layer(kThick);
    p.Line(-kR - kHalfWire, 0, kR + kHalfWire, 0);
    p.Line(-kR - kHalfWire, 0, -kR - kHalfWire, tip);
    // Upper edge of the tapered end coil up to the ground section at the right.
    const real meet = 120 * kPi / 180;
    p.Line(-kR - kHalfWire, tip, kR + kHalfWire * std::cos(meet),
           sectionY + kHalfWire * std::sin(meet));
    // The ground section: the part of the wire circle above the seating plane, hatched.
    const real cut = std::asin(sectionY / kHalfWire); // below the seat from -cut .. 180 + cut
    const real halfChord = kHalfWire * std::cos(cut);
    h.HatchMode = 1;
    h.HatchBoundaryBegin(0);
    h.HatchBoundaryVertex(kPi + 2 * cut, kR + halfChord, 0);
    h.HatchBoundaryVertex(0, kR - halfChord, 0);
    h.HatchBoundaryVertex(0, kR + halfChord, 0);
    h.HatchBoundaryEnd(0, 45, kSectionHatch);
    ActiveCoils(p, h, 3);
}

void EndBlocks(Pen& p, Hatching& h) {
    void (*const draw[3])(Pen&, Hatching&) = {GroundEnd, ClosedEnd, ForgedEnd};
    for (int i = 0; i < 3; ++i) {
        p.cad.CadBlockBegin(text::kEndBlocks[i]);
        draw[i](p, h);
        CentreLines(p);
        p.cad.CadBlockEnd();
    }
}

// ---- Fixed texts of the data-sheet form ("TALMTEX") ----

struct FixedText {
    std::string_view text;
    real x, y;
    real right = kNoLimit; // where it must end (a line or the next text)
};

void Texts(Pen& p, std::initializer_list<FixedText> texts) {
    for (const FixedText& t : texts)
        p.Text(t.text, t.x, t.y, t.right);
}

void FormBlock(Pen& p, const SpringRecord& s) {
    using namespace text;
    p.cad.CadBlockBegin(kFormBlock);
    p.Layer(kThin);
    p.Style(2, 1.8L);
    Texts(p, {{kForm1, 30, 190},
              {kEndsClosed, 43, 190, 108.5L},
              {kAndGround, 43, 186, 108.5L},
              {kForm2, 110, 190},
              {kEnds, 123, 190},
              {kClosed, 123, 186},
              {kForm3, 150, 190},
              {kEnds, 163, 190, 204.5L},
              {kClosedForged, 163, 186, 204.5L},
              {kAndGround, 163, 182, 204.5L}});
    Texts(p, {{kActiveCoils, 27, 176, 81.5L},
              {kTotalCoils, 27, 170, 81.5L},
              {kCoilingDirection, 27, 162, 86.5L},
              {kRight, 87, 162, 102},
              {kLeft, 87, 157, 102},
              {kDeburring, 27, 149, 88.5L},
              {kNot, 89, 149, 102},
              {kInside, 89, 145, 102},
              {kOutside, 89, 141, 102},
              {kStroke, 27, 134, 81.5L},
              {kFrequency, 27, 125, 81.5L},
              {kWireOr, 27, 109, 85.5L},
              {kDrawn2, 86, 109, 102},
              {kBarSurface, 27, 105, 85.5L},
              {kRolled, 86, 105, 102},
              {kCentrelessGround, 64, 101, 102},
              {kShotPeened, 66, 97, 102},
              {kSurfaceProtectionColon, 27, 90, 108.5L},
              {kPermissibleStress, 27, 68, 71.5L},
              {kShearModulus, 27, 63, 76.5L},
              {kExtraInfoColon, 27, 55, 108.5L}});
    Texts(p, {{kDeviations, 148, 176, 204.5L},
              {kAfterEn15800, 150, 172, 188.5L},
              {kGrade, 150, 168, 188.5L},
              {kAfter, 192, 172, 204.5L},
              {kDin2096, 190, 168, 204.5L},
              {"De, Di", 121, 160, 140.5L},
              {"L0", 121, 156, 140.5L},
              {"F1", 121, 152, 140.5L},
              {"F2", 121, 148, 140.5L},
              {"e1", 121, 144, 140.5L},
              {"e2", 121, 140, 140.5L},
              {"d", 121, 135, 140.5L},
              {kCompensation, 121, 130, 177.5L},
              {kBy, 180, 130, 204.5L}});
    p.Style(2, 1.55L);
    const real caseY[7] = {124, 120, 111, 107, 94, 90, 86};
    for (int i = 0; i < 7; ++i)
        p.Text(kCompensationCases[i], 121, caseY[i], 177.5L);
    p.Style(2, 1.6L);
    Texts(p, {{"L0", 180, 122, 198},
              {"n und", 180, 113.5L, 198},
              {"d", 180, 110.5L, 198},
              {"n und", 180, 105.5L, 198},
              {"De, Di", 180, 101.5L, 198},
              {"L0, n und", 180, 96.5L, 198},
              {"d", 180, 92.5L, 198},
              {"L0, n und", 180, 87.5L, 198},
              {"De, Di", 180, 83.5L, 198},
              {kSettingLength, 121, 77, 140.5L},
              {kPresetTestSprings, 121, 71, 169.5L}});
    p.Style(2, 1.4L);
    Texts(p, {{kOthersPreset, 121, 66, 153},
              {kNotPreset, 135.5L, 62, 153},
              {kDeliver, 159, 62, 169.5L},
              {kNotPresetNote[0], 170, 77, 204.5L},
              {kNotPresetNote[1], 170, 73, 204.5L},
              {kNotPresetNote[2], 170, 69, 204.5L}});
    if (Dynamic(s) && s.showForces) {
        p.Style(2.5L, 2);
        p.Text(kStrokeStress, 128, 276, 160.5L);
    }
    p.cad.CadBlockEnd();
}

// ---- Option and value block ----

void TableLines(Pen& p) {
    p.Layer(kThin);
    for (real y : {181.0L, 167.0L, 154.0L, 138.0L, 130.0L, 121.0L, 114.0L, 95.0L, 82.0L, 60.0L})
        p.Line(18, y, 109, y);
    p.Line(23, 43, 23, 181);
    p.Line(109, 60, 109, 181);
    // The right-hand table: tolerance grades, compensation and presetting.
    p.Line(114, 60, 114, 181);
    p.Line(119, 60, 119, 181);
    p.Line(178, 82, 178, 134);
    p.Line(141, 134, 141, 172);
    p.Line(157, 139, 157, 166);
    p.Line(173, 139, 173, 166);
    p.Line(189, 139, 189, 172);
    p.Line(114, 181, 205, 181);
    p.Line(141, 172, 205, 172);
    p.Line(141, 166, 189, 166);
    p.Line(119, 139, 205, 139);
    p.Line(119, 134, 205, 134);
    p.Line(119, 82, 205, 82);
    p.Line(114, 60, 205, 60);
}

void RowNumbers(Pen& p) {
    p.Layer(kMedium);
    p.Style(2.5L, 1.9L);
    const real leftY[9] = {176, 162, 149, 133.5L, 125, 116.5L, 109, 90, 77};
    for (int i = 0; i < 9; ++i)
        p.Text(std::to_string(i + 1), 20, leftY[i], 22.5L);
    const real rightY[3] = {176, 129, 77};
    for (int i = 0; i < 3; ++i)
        p.Text(std::to_string(10 + i), 114.8L, rightY[i], 118.8L);
    p.Text("13", 18.8L, 55, 22.8L);
    p.Style(2, 1.8L);
    const real headX[3] = {148, 164, 180};
    for (int i = 0; i < 3; ++i)
        p.Text(std::to_string(i + 1), headX[i], 164);
}

// The standard designation of a table material: column 3, then "  (" column 4 ")".
std::string StandardDesignation(const Session& session) {
    if (session.spring.materialKind != 0) return {};
    const std::string standard(TrimmedControls(session.CurrentMaterial.name3));
    const std::string number(TrimmedControls(session.CurrentMaterial.name4));
    if (standard.empty()) return {};
    if (number.empty()) return standard;
    return standard + std::string(text::kNumberOpen) + number + std::string(text::kNumberClose);
}

void Values(Pen& p, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const std::string length = " " + UnitLabel(c, Quantity::Length);
    const std::string stress = " " + UnitLabel(c, Quantity::Stress);
    p.Layer(kThin);
    p.Style(2, 1.8L);
    p.Text(std::string(text::kN) + FixedFormat(c, s.n, 4, 2), 82, 176, 108.5L);
    p.Text(std::string(text::kNt) + FixedFormat(c, s.nt, 4, 2), 82, 170, 108.5L);
    if (s.showForces)
        p.Text(std::string(text::kSh) + ShowShort(c, Quantity::Length, s.sh) + length, 82, 134,
               108.5L);
    p.Text(s.f == 0 ? std::string(text::kNoValue)
                    : std::string(text::kLoadFrequency) + ShortFormat(c, s.f) +
                          std::string(text::kPerSecond),
           82, 125, 108.5L);
    p.Text(std::string(text::kTemperatureRange) + ShowShort(c, Quantity::Temperature, s.tempFrom) +
               " " + std::string(text::kTemperatureTo) + " " +
               ShowShort(c, Quantity::Temperature, s.tempTo) + " " +
               UnitLabel(c, Quantity::Temperature),
           27, 116.5L, 108.5L);

    p.Text(s.surfaceProtection, 27, 85, 108.5L);
    p.Text(std::string(text::kMaterial) + s.materialName, 27, 77, 108.5L);
    p.Text(StandardDesignation(session), 27, 73, 108.5L);
    p.Text(std::string(text::kTauz) + ShowFixed(c, Quantity::Stress, s.tauz, 6, 0) + stress, 72, 68,
           108.5L);
    p.Text(std::string(text::kG) + ShowFixed(c, Quantity::Stress, s.G, 6, 0) + stress, 77, 63,
           108.5L);
    p.Style(2, 1.8L);
    p.Text(s.extraInfo1, 27, 50, 204.5L);
    p.Text(s.extraInfo2, 27, 46, 204.5L);
}

void OptionTicks(Pen& p, const SpringRecord& s) {
    CadOutput& cad = p.cad;
    p.Layer(kThin);
    TickCircle(cad, 104, 163, s.coilingDirection == 1);
    TickCircle(cad, 104, 158, s.coilingDirection == 2);
    TickCircle(cad, 104, 150, s.deburring == 1);
    TickCircle(cad, 104, 146, s.deburring == 2 || s.deburring == 5);
    TickCircle(cad, 104, 142, s.deburring == 3 || s.deburring == 5);
    TickCircle(cad, 104, 110, s.wireSurface == 1);
    TickCircle(cad, 104, 106, s.wireSurface == 2);
    TickCircle(cad, 104, 102, s.wireSurface == 3);
    TickCircle(cad, 104, 98, IsShotPeened(s));
}

void ToleranceTicks(Pen& p, const Session& session) {
    const SpringRecord& s = session.spring;
    const word mode = s.compensationMode;
    struct Row {
        real y;
        word grade;
        bool ticked; // the row may carry a tick at all
    };
    const Row rows[6] = {
        {161, s.tolGradeD, mode != 3 && mode != 5},
        {157, s.tolGradeL0, mode != 1 && mode != 4 && mode != 5},
        {153, s.tolGradeF1, true},
        {149, s.tolGradeF2, true},
        {145, s.tolGradeE1, s.e1 != 0},
        {141, s.tolGradeE2, s.e2 != 0},
    };
    const real columnX[4] = {149, 165, 181, 197}; // grades 1, 2, 3 and DIN 2096 (4)
    p.Layer(kThin);
    for (const Row& r : rows)
        for (int g = 1; g <= 4; ++g)
            TickCircle(p.cad, columnX[g - 1], r.y, r.ticked && r.grade == g);
    if (mode != 2 && mode != 4 && s.wireTolGrade >= 1 && s.wireTolGrade <= 11) {
        p.Style(2, 1.8L);
        p.Text(std::string(text::kAfterStandard) +
                   std::string(text::kWireToleranceNames[s.wireTolGrade - 1]),
               143, 135, 204.5L);
    }
    const real compensationY[5] = {123, 113.5L, 104.5L, 95.5L, 86.5L};
    for (int i = 0; i < 5; ++i)
        TickCircle(p.cad, 200, compensationY[i], mode == i + 1);
}

void SettingTexts(Pen& p, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    if (s.showSettingLength) {
        p.Style(2, 1.8L);
        p.Text(s.settingLength == 0
                   ? std::string(text::kLs) + std::string(text::kNoValue)
                   : std::string(text::kLs) + ShowShort(c, Quantity::Length, s.settingLength) +
                         " " + UnitLabel(c, Quantity::Length),
               141, 77, 169.5L);
    }
    p.Layer(kThin);
    TickCircle(p.cad, 155, 67, s.presetting == 1);
    TickCircle(p.cad, 155, 63, s.presetting == 2);
}

void EndFormTicks(Pen& p, const SpringRecord& s) {
    p.Layer(kThin);
    p.Style(2, 1.6L);
    TickCircle(p.cad, 33, 187, s.endType == 2);
    TickCircle(p.cad, 113, 187, s.endType == 1);
    TickCircle(p.cad, 153, 187, s.endType == 3);
    if (s.endType == 4) {
        TickCircle(p.cad, 33, 183, true);
        p.Text(std::string(text::kEndsCaption) + s.endText, 40, 182, 162);
    }
}

// ---- Views: mandrel and sleeve ----

// A length limit rounded outwards to the decimals shown: up (sleeve) or down (mandrel).
std::string LimitText(const Configuration& c, real limit, bool up) {
    const int decimals = Imperial(c) ? 3 : 1;
    const int shown = std::clamp(decimals + c.Dezimalstellen - 3, 0, 10);
    const real half = 0.5L * std::pow(10.0L, -shown);
    const real value = ToDisplayUnit(c, Quantity::Length, limit) + (up ? half : -half);
    return FixedFormat(c, value, 0, decimals);
}

void Sleeve(Pen& p, Hatching& h, const Session& session) {
    constexpr real bottom = 195, top = 207, left = 27.5L, right = 64.5L;
    constexpr real wall = 0.62L * (right - left) - (right - left) / 2; // 4.44 mm
    p.Layer(kCentre);
    p.Line(left, bottom, left, top);
    p.Line(right, bottom, right, top);
    p.Line(left - wall, bottom, right + wall, bottom);
    p.Line(left - wall, top, right + wall, top);
    p.Layer(kThin);
    h.HatchMode = 2;
    h.HatchRectangle(45, 0, left - wall, bottom, left, top);
    h.HatchRectangle(45, 0, right, bottom, right + wall, top);
    h.HatchMode = 1;
    const real limit = session.spring.sleeveMin;
    if (limit > 0)
        DimHorizontal(p.cad, std::string(text::kAtLeast) + LimitText(session.config, limit, true),
                      left, right, 196);
    p.Layer(kThick);
}

void Mandrel(Pen& p, Hatching& h, const Session& session) {
    constexpr real left = 33.5L, right = 58.5L, bottom = 260, top = 280;
    // The mandrel goes on beyond the drawing: its upper end is a break line, two waves.
    constexpr int breakPoints = 43; // with the four corners 47 boundary points
    constexpr real amplitude = 0.8L;
    p.Layer(kThin);
    h.HatchMode = 0;
    h.HatchClear();
    h.HatchPoint(right, top);
    h.HatchPoint(right, bottom);
    h.HatchPoint(left, bottom);
    h.HatchPoint(left, top);
    for (int i = 1; i <= breakPoints; ++i) {
        const real f = static_cast<real>(i) / (breakPoints + 1);
        h.HatchPoint(left + f * (right - left), top + amplitude * std::sin(4 * kPi * f));
    }
    h.HatchPolygon(0, 45, 0);
    h.HatchMode = 1;
    p.Layer(kCentre);
    p.cad.CadMoveTo(right, top);
    p.cad.CadLineTo(right, bottom);
    p.cad.CadLineTo(left, bottom);
    p.cad.CadLineTo(left, top);
    const real limit = session.spring.mandrelMax;
    if (limit > 0) {
        p.Layer(kThin);
        p.Line(left, top, left, top + 8);
        p.Line(right, top, right, top + 8);
        DimHorizontal(p.cad, std::string(text::kAtMost) + LimitText(session.config, limit, false),
                      left, right, 287);
    }
    p.Layer(kThick);
}

void Views(Pen& p, Hatching& h, const Session& session) {
    const word ms = session.spring.mandrelSleeve;
    CadOutput& cad = p.cad;
    p.Layer(kOutline);
    cad.CadInsert(text::kEndBlocks[0], kAxisX, kBaseY, 0, 1, 1);
    if (ms == 2 || ms == 3) Sleeve(p, h, session);
    if (ms == 1 || ms == 3) Mandrel(p, h, session);
    p.Layer(kOutline);
    cad.CadInsert(text::kEndBlocks[0], kAxisX, kTopY, 180, 1, 1);
    cad.CadInsert(text::kEndBlocks[1], kForm2X, kBaseY, 0, 1, 1);
    cad.CadInsert(text::kEndBlocks[2], kForm3X, kBaseY, 0, 1, 1);
    // The wire between the two ends, by its centre lines.
    p.Layer(kCentre);
    p.Line(kAxisX - kR, 218, kAxisX - kR, 257);
    p.Line(kAxisX + kR, 218, kAxisX + kR, 257);
}

// ---- Characteristic sketch ----

void CharacteristicSketch(Pen& p, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const bool forces = s.showForces, firstPoint = s.showForces && s.F1 > 0;
    CadOutput& cad = p.cad;
    p.Layer(kOutline);
    cad.CadPolylineBegin(0);
    for (auto [x, y] : {std::pair{102.0L, 249.0L},
                        {120.0L, 249.0L},
                        {112.0L, 252.0L},
                        {107.0L, 258.0L},
                        {104.0L, 264.0L},
                        {102.0L, 275.0L},
                        {102.0L, 249.0L}})
        cad.CadPolylineVertex(0, x, y);
    cad.CadPolylineEnd();
    p.Line(102, 268, 103.5L, 268);
    p.Line(102, 261, 105.5L, 261);
    p.Line(102, 254, 110, 254);

    p.Layer(kThin);
    if (firstPoint) {
        cad.CadMoveTo(103.5L, 268);
        cad.CadLineTo(124, 267);
        cad.CadLineTo(202, 267);
    }
    if (forces) p.Line(105.5L, 261, 202, 261);
    cad.CadMoveTo(110, 254);
    cad.CadLineTo(124, 255);
    cad.CadLineTo(202, 255);
    p.Line(120, 249, 202, 249);

    const Quantity F = Quantity::Force, T = Quantity::Stress;
    const std::string force = " " + UnitLabel(c, F), stress = " " + UnitLabel(c, T);
    const bool dynamic = Dynamic(s);
    auto forceText = [&](std::string_view name, real value, const std::string& deviation) {
        return std::string(name) + ShowShort(c, F, value) + deviation + force;
    };
    auto stressText = [&](std::string_view name, real value) {
        return std::string(name) + ShowShort(c, T, value) + stress;
    };
    p.Style(2.5L, 2);
    if (firstPoint) {
        p.Text(forceText(text::kF1, s.F1, Pair(c, F, s.tolF1Upper, s.tolF1Lower)), 126, 268,
               165.5L);
        p.Text(dynamic ? stressText(text::kTauk1, s.tauk1) : stressText(text::kTau1, s.tau1), 166,
               268, 204.5L);
        p.Text(forceText(text::kF2, s.F2, Pair(c, F, s.tolF2Upper, s.tolF2Lower)), 126, 262,
               165.5L);
        p.Text(dynamic ? stressText(text::kTauk2, s.tauk2) : stressText(text::kTau2, s.tau2), 166,
               262, 204.5L);
    } else if (forces) {
        p.Text(forceText(text::kF, s.F2, Pair(c, F, s.tolF2Upper, s.tolF2Lower)), 126, 262, 165.5L);
        p.Text(dynamic ? stressText(text::kTauk, s.tauk2) : stressText(text::kTau, s.tau2), 166,
               262, 204.5L);
    }
    p.Text(forceText(text::kFn, s.Fn, {}), 126, 256, 165.5L);
    p.Text(stressText(text::kTaun, s.taun), 166, 256, 204.5L);
    p.Text(forceText(text::kFc, s.Fc, {}), 126, 250, 165.5L);
    p.Text(stressText(text::kTauc, s.tauc), 166, 250, 204.5L);
    if (dynamic && forces) p.Text(stressText(text::kTaukh, s.taukh), 161, 276, 204.5L);

    p.Layer(kThin);
    p.Line(kAxisX, kTopY, 102, kTopY);
    p.Line(kAxisX, kBaseY, 153, kBaseY);
    if (firstPoint) p.Line(81, 268, 102, 268);
    if (forces) p.Line(86, 261, 102, 261);
    p.Line(91, 254, 102, 254);
    p.Line(96, 249, 102, 249);
}

// ---- Dimensions ----

void Dimensions(Pen& p, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    const word mode = s.compensationMode;
    const Quantity L = Quantity::Length;
    auto value = [&](real v) { return ShowShort(c, L, v); };
    CadOutput& cad = p.cad;
    p.Layer(kThin);
    if (s.endType != 1) { // ground ends: perpendicularity and parallelism
        p.Line(29, 200, 24, 275);
        p.Line(24, 275, 24, 283);
        p.Line(29, 275, 29, 283);
        cad.CadMoveTo(29, 275);
        cad.CadLineTo(63, 277);
        cad.CadLineTo(72, 277);
        DimHorizontalSmall(cad, std::string(text::kE1) + value(s.e1), 24, 29, 282);
        DimVerticalSmall(cad, std::string(text::kE2) + value(s.e2), 71, 275, 277);
    }
    p.Line(61, 262, 67, 262);
    p.Line(61, 266, 67, 266);
    const std::string wireDeviation =
        mode == 2 || mode == 4 ? std::string() : Pair(c, L, s.wireTol, -s.wireTol);
    DimVerticalSmall(
        cad, std::string(text::kWire) + value(s.d) + wireDeviation + std::string(text::kWireTail),
        66, 262, 266);

    const bool l0Deviation = mode != 1 && mode != 4 && mode != 5;
    DimVertical(cad,
                std::string(text::kL0) + value(s.L0) +
                    (l0Deviation ? Pair(c, L, s.tolL0Upper, s.tolL0Lower) : std::string()),
                77, kBaseY, kTopY);
    if (s.showForces && s.F1 > 0) {
        DimVertical(cad, std::string(text::kL1) + value(s.L1), 82, kBaseY, 268);
        DimVertical(cad, std::string(text::kL2) + value(s.L2), 87, kBaseY, 261);
    } else if (s.showForces) {
        DimVertical(cad, std::string(text::kL) + value(s.L2), 87, kBaseY, 261);
    }
    DimVertical(cad, std::string(text::kLn) + value(s.Ln), 92, kBaseY, 254);
    DimVertical(cad, std::string(text::kLc) + value(s.Lc), 97, kBaseY, 249);

    p.Line(29, 211, 29, 247);
    p.Line(63, 245, 63, 264);
    p.Line(33, 211, 33, 231);
    p.Line(59, 229, 59, 264);
    // The entered diameter carries the deviation, unless compensation goes through it.
    const bool withDeviation = mode != 3 && mode != 5;
    const std::string deviation = Pair(c, L, s.tolDUpper, s.tolDLower);
    auto diameter = [&](word input, std::string_view plain, std::string_view open, real v) {
        if (s.diameterInput == input && withDeviation)
            return std::string(plain) + value(v) + deviation;
        return std::string(open) + value(v) + std::string(text::kClose);
    };
    DimHorizontal(cad, diameter(1, text::kDe, text::kDeOpen, s.De), 29, 63, 246);
    DimHorizontal(cad, diameter(2, text::kDi, text::kDiOpen, s.Di), 33, 59, 230);
    DimHorizontal(cad, diameter(3, text::kDm, text::kDmOpen, s.Dm), 31, 61, 238);
}

// ---- Coil sections, wire length and mass ----

void SectionTable(Pen& p, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    if (s.nsec < 1 || s.nsec > 10) return; // more sections do not fit
    const int rows = s.showLdPm ? 4 : 3;
    const real x0 = 108, y0 = s.showLdPm ? 220 : 225, w = 8, hRow = 5;
    const real x1 = x0 + w * (s.nsec + 1), y1 = y0 + hRow * rows;
    p.Layer(kThin);
    for (int j = 0; j <= rows; ++j)
        p.Line(x0, y0 + hRow * j, x1, y0 + hRow * j);
    for (int i = 0; i <= s.nsec + 1; ++i)
        p.Line(x0 + w * i, y0, x0 + w * i, y1);
    p.Style(2, 1.5L);
    if (s.showLdPm) p.Text(text::kPitchRow, 110, 221, 115.5L);
    p.Text(text::kCoilsRow, 110, 226, 115.5L);
    p.Text(text::kLengthRow, 110, 231, 115.5L);
    for (int k = 1; k <= s.nsec; ++k) {
        const CoilSection& section = s.sections[static_cast<std::size_t>(k)];
        const real x = 109 + w * k, right = x0 + w * (k + 1) - 0.5L;
        if (s.showLdPm) p.Text(ShowFixed(c, Quantity::Length, section.P, 0, 2), x, 221, right);
        p.Text(FixedFormat(c, section.ni, 0, 2), x, 226, right);
        p.Text(ShowFixed(c, Quantity::Length, section.L0i, 0, 1), x, 231, right);
        p.Text(std::to_string(k), x, 236, right);
    }
}

void WireLengthAndMass(Pen& p, const Session& session) {
    const Configuration& c = session.config;
    const SpringRecord& s = session.spring;
    if (!s.showLdPm) return;
    // Beside a table that reaches under them, the two lines move up above it.
    const bool tableBelow = s.nsec >= 7 && s.nsec <= 10;
    const real y = tableBelow ? 245.5L : 242;
    p.Layer(kThin);
    p.Style(2.5L, 2);
    p.Text(std::string(text::kLd) + ShowShort(c, Quantity::Length, s.L) + " " +
               UnitLabel(c, Quantity::Length),
           170, y, 204.5L);
    p.Text(std::string(text::kMass) + ShortFormat(c, s.m) + std::string(text::kGram), 170, y - 4,
           204.5L);
}

// The logo block, copied again from its source when the start-up copy has gone.
void Logo(CadOutput& cad, const Session& session, const ProductionDrawingSetup& setup) {
    if (session.config.HideLogo) return;
    if (cad.Kind() != OutputKind::Screen && cad.Kind() != OutputKind::Plotter) return;
    const std::string file = cad.TempFolder() + "/" + std::string(text::kLogoBlockFile);
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 && !setup.logoSource.empty())
        InstallLogoBlock(setup.logoSource, cad.TempFolder());
    if (::stat(file.c_str(), &st) != 0) return;
    cad.CadLayer(kOutline);
    cad.CadInsert(text::kLogoBlock, 75, 10, 0, 1, 1);
}

void Draw(Session& session, CadOutput& cad, const ProductionDrawingSetup& setup) {
    const SpringRecord& s = session.spring;
    Pen p(cad);
    HatchOutputFor<CadOutput> toCad(cad);
    Hatching hatching(session, setup.hatchOutput ? *setup.hatchOutput : toCad);

    cad.CadLayer(kOutline);
    cad.CadSheet(kSheetXmin, kSheetYmin, kSheetXmax, kSheetYmax);
    cad.CadTables(kTablesVariant);
    cad.CadBlocksBegin();
    FrameBlock(p, session, setup);
    EndBlocks(p, hatching);
    FormBlock(p, s);
    cad.CadPageStart();
    cad.CadLayer(kOutline);
    cad.CadInsert(text::kFrameBlock, 0, 0, 0, 1, 1);
    cad.CadInsert(text::kFormBlock, 0, 0, 0, 1, 1);
    Logo(cad, session, setup);

    TableLines(p);
    RowNumbers(p);
    Values(p, session);
    OptionTicks(p, s);
    ToleranceTicks(p, session);
    SettingTexts(p, session);
    Views(p, hatching, session);
    EndFormTicks(p, s);
    CharacteristicSketch(p, session);
    Dimensions(p, session);
    SectionTable(p, session);
    WireLengthAndMass(p, session);
    cad.CadSectionEnd();
}

} // namespace

bool ProductionDrawing(Session& session, CadOutput& cad, OutputKind kind,
                       const ProductionDrawingSetup& setup) {
    const SpringRecord& s = session.spring;
    session.AbortFlag = false;
    if (s.wireType >= 2 && s.wireType <= 4) {
        ShowInfo(session, text::kRoundWireOnly);
        return false;
    }
    if (session.FatalFlag || s.nsec <= 0) {
        ShowMessageList(session);
        return false;
    }
    if (kind == OutputKind::Ask && setup.askOptions && !setup.askOptions(session)) return false;
    if (!cad.CadBegin(kind, text::kBaseName)) return false;
    // A hatching failure leaves its message and AbortFlag; the drawing goes on with what was
    // drawn and the file is kept.
    Draw(session, cad, setup);
    return cad.CadEnd();
}

bool InstallLogoBlock(const std::string& logoFile, const std::string& tempFolder) {
    constexpr std::size_t kMaxLogoBytes = 4u << 20;
    const auto bytes = ReadSmallFile(logoFile, kMaxLogoBytes);
    if (!bytes || tempFolder.empty()) return false;
    return WriteFileAtomically(tempFolder + "/" + std::string(text::kLogoBlockFile), *bytes).ok();
}

std::string LogoFileIn(const std::string& configurationFolder) {
    return configurationFolder + "/" + std::string(text::kLogoFile);
}

} // namespace kora

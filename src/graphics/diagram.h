// The diagram engine: a frame on the sheet onto which data values are mapped, axis scaling with
// ticks, labels and grid, clipped polylines, texts and text sizes in data units, reference lines
// and markers; plus the two text blocks every diagram sheet carries (the spring's title lines
// and the data block). Everything is drawn through the CAD output; sheet units are mm.
#pragma once

#include "base/real.h"

#include <functional>
#include <string_view>

namespace kora {

class CadOutput;
struct Configuration;
struct Session;
struct SpringRecord;

// One scaled axis: its limits and the step between two divisions.
struct AxisScale {
    real min = 0, max = 1, step = 1;
};

// Axis limits with about n divisions of a round step (1, 2 or 5 times a power of ten). A range
// narrower than 1e-5 is widened by one unit on each side first; a maximum lying on a step gets
// no extra division.
AxisScale NiceScale(real min, real max, int n);

// Step 3 of DiagAxes: may replace the computed axis limits (the diagram-limits dialog). Given
// the diagram title and the axis names; the scales are in axis units (the logarithms on a
// logarithmic axis).
using DiagramLimitsHook = std::function<void(std::string_view title, std::string_view xName,
                                             std::string_view yName, AxisScale& x, AxisScale& y)>;

class DiagramFrame {
  public:
    // Sheet of every diagram sheet (DiagReset makes it the frame).
    static constexpr real kSheetWidth = 160, kSheetHeight = 120;
    // What a value <= 0 becomes on a logarithmic axis.
    static constexpr real kLogOfNonPositive = -1e10L;

    DiagramFrame(CadOutput& cad, const Configuration& config);

    // --- the frame: plotting area on the sheet and the data ranges mapped onto it ---
    real W = kSheetWidth, H = kSheetHeight; // size of the plotting area, mm
    real x0 = 0, y0 = 0;                    // its lower-left corner on the sheet, mm
    real xmin = 0, xmax = 1, ymin = 0, ymax = 1;
    bool xLog = false, yLog = false;
    real xStep = 1, yStep = 1; // division steps installed by DiagAxes (axis units)
    DiagramLimitsHook limitsHook;

    real XRange() const { return xmax - xmin; }
    real YRange() const { return ymax - ymin; }

    // Frame = whole sheet 160 x 120 at (0, 0), both axes linear, unit data ranges.
    void DiagReset();
    void DiagSetSize(real width, real height);
    void DiagSetOrigin(real x, real y);
    // Linear or logarithmic per axis (DiagReset makes both linear).
    void DiagSetAxisKinds(bool xLogarithmic, bool yLogarithmic);
    // Installs data ranges directly (views that scale their own axes). An empty range becomes
    // a unit range.
    void DiagSetRanges(real xFrom, real xTo, real yFrom, real yTo);

    // Scales both axes (NiceScale, 6 divisions), offers the limits hook, installs the ranges
    // and draws title (layer 4), axes with arrow heads, ticks, labels and the dotted grid
    // (layer 17). Mode 2 writes the x name just above the x axis; other modes below it.
    void DiagAxes(std::string_view xName, std::string_view yName, std::string_view title,
                  real xFrom, real yFrom, real xTo, real yTo, int mode);
    // Divides the installed y range by fy and the x range by fx: axes labelled in display
    // units then take curves in internal units (fy, fx = display value of one internal unit).
    void DiagUnitFactors(real fy, real fx);

    // Sheet point of a data point.
    real MapX(real x) const;
    real MapY(real y) const;
    bool Inside(real sheetX, real sheetY) const;

    // Polyline pen in data units; DiagLineTo draws the part of the segment inside the frame.
    void DiagMoveTo(real x, real y);
    void DiagLineTo(real x, real y);
    // Mapped line clipped to the frame; nothing when it lies wholly outside.
    void DiagLine(real x1, real y1, real x2, real y2);
    // CadText at the mapped point (texts are not clipped).
    void DiagText(std::string_view text, real x, real y);
    // Text height and width given in data units of the y and x axis.
    void DiagTextStyle(int font, real angle, real height, real width);
    // Text height and width in mm times f = max(0.01 H, 0.00625 W).
    void DiagScaledTextStyle(int font, real angle, real height, real width);
    // Dashed reference mark for the value y at x: from (0, y) to (x, y) to (x, 0), the text
    // centred above the horizontal part. The text style in force is kept; the text alignment is
    // left at left-bottom, the alignment every diagram writes with.
    void DiagRefLine(std::string_view text, real y, real x);
    // Symbol at a data point inside the frame: 1 circle, 2 square, 3 diamond, 4 triangle.
    void DiagMarker(int kind, real x, real y);

  private:
    struct TextStyle {
        int font = 0;
        real angle = 0, height = 2.5L, width = 0;
    };
    real AxisValue(real v, bool logarithmic) const;
    void SetTextStyle(const TextStyle& style);
    void Arrow(real tipX, real tipY, real direction, real size);
    void LineInFrame(real x1, real y1, real x2, real y2); // sheet coordinates

    CadOutput& cad_;
    const Configuration& config_;
    real penX_ = 0, penY_ = 0;
    TextStyle text_;
};

// The three title lines of the spring (TitleLine, remark 1, remark 2) from (78, 116): layer 19,
// font 2, height 2.2, width 1.7.
void DrawTitleLines(CadOutput& cad, const SpringRecord& spring);

// The data block from (126, 103): dimensions, lengths, deflections, forces and rates with their
// tolerances and units; headings on layer 21, values on layer 19.
void DataBlock(CadOutput& cad, const Session& session);

} // namespace kora

// The graphics window without its platform: the DisplayList of text records that every
// drawing appends to, the published drawing operations that append them, and the window
// state they keep (mapping, saved limit and viewport, colour/style/width caches).
// Nothing is drawn here; replay.h plays the records onto a Canvas on every paint.
//
// Record format, one record per entry, fields separated by ';':
//   3;x;y;r                     circle            4;x1;y1;x2;y2         line
//   5;x0;y0;x1;y1;xs;ys;xe;ye   arc (box, start, end point, counter-clockwise)
//   6;x;y;text                  text (everything after the third ';', may contain ';')
//   7;x1;y1;x2;y2;x3;y3;x4;y4   filled quadrilateral
//   8;index  9;height;width;font;angle  10;px0;py0;px1;py1;wx0;wy0;wx1;wy1
//   11;style  12;width  13;milliseconds
// Reals are written "%.8Lg" (8 significant digits, '.' as decimal point), integers plainly.
#pragma once

#include "base/real.h"
#include "graphics/canvas.h"
#include "graphics/window_mapping.h"
#include "platform/graphics_host.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

// Record codes of the display list.
enum RecordCode : int {
    kRecordCircle = 3,
    kRecordLine = 4,
    kRecordArc = 5,
    kRecordText = 6,
    kRecordSolid = 7,
    kRecordColour = 8,
    kRecordTextStyle = 9,
    kRecordWindow = 10,
    kRecordLineStyle = 11,
    kRecordLineWidth = 12,
    kRecordSleep = 13,
};

class DisplayList {
  public:
    // The session receives the AbortFlag of a degenerate world window.
    explicit DisplayList(Session& session);

    Session& session() const { return *session_; }

    GraphicsSettings settings; // filled from the configuration
    WindowMapping mapping;     // device rectangle, world window, zoom, scales
    GraphicsHost* host = nullptr;
    bool singleStep = false; // single-step animation: the replay pauses at colour-0 records
    bool printing = false;   // the replay also draws on the printer

    // --- the records ---
    std::size_t Count() const { return ends_.size(); }
    bool Empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const;
    // Appends one raw record (used by the operations below; records are trusted by the replay,
    // so other code should append through the operations).
    void Append(std::string_view record);

    // --- published operations (world coordinates unless stated) ---

    // Initial state: mapping 0,0,1,1, zoom 0,0,640,480, colour none, style none, width 1,
    // zoom factor 1.2, pan factor 0.1, list empty.
    void FormCreate();
    // Maps the world window onto the viewport (fractions 0..1 of A and B, y from the bottom);
    // appends record 10 and resets the zoom. A world window of zero width or height sets the
    // AbortFlag and leaves the mapping as it was (the record is still appended, so the replay
    // stops there as well).
    void SetWindow(bool isotropic, bool border, real vx1, real vy1, real vx2, real vy2, real wx0,
                   real wy0, real wx1, real wy1);
    // Zoom rectangle in device pixels; ignored when it has zero width or height.
    void SetScale(int x1, int y1, int x2, int y2);
    // The aspect factor F, then SetWindow(isotropic, border, whole viewport, world window),
    // SetLineStyle(0) and SaveLimit.
    void Header(real x0, real y0, real x1, real y1);
    // Copies the world window away.
    void SaveLimit();
    // SetWindow(isotropic, border, whole viewport, saved world window).
    void RestoreLimit();
    // SetWindow(not isotropic, no border, whole viewport, world 0,0,1,1), then ResetZoom.
    void ReSetWindow();
    // RestoreLimit, SetWindow(isotropic, border, viewport and world 0,0,1,1), ResetZoom,
    // re-applies the zoom rectangle in force before, ClearViewPort.
    void Regen();
    // SetScale with the whole device rectangle.
    void ResetZoom();
    // Copies the device rectangle away / back (no record, no repaint).
    void SaveViewPort();
    void RetrieveViewPort();
    // A length given as a fraction of the world window's width / height.
    real EinX(real f) const;
    real EinY(real f) const;
    // Empties the list and asks for a repaint.
    void Clear();
    // Wait cursor and a repaint request; the list stays.
    void ClearViewPort();

    // Appends record 4.
    void line(real x1, real y1, real x2, real y2);
    // Four line records: bottom, right, top, left edge in this order.
    void Rectangle(real x1, real y1, real x2, real y2);
    // Appends record 3.
    void circle(real x, real y, real r);
    // Appends record 5 when the counter-clockwise sweep from start to end (degrees, reduced to
    // 0..360) is at least 4 degrees; otherwise the chord as a line record.
    void Arc(real xc, real yc, real r, real startAngle, real endAngle);
    // Appends record 6; (x, y) is the lower-left corner of the text.
    void OutTextXY(std::string_view text, real x, real y);
    // Appends record 7: the quadrilateral through the four points in this order.
    void Solid(real x1, real y1, real x2, real y2, real x3, real y3, real x4, real y4);

    // Appends record 8 when 0 <= index <= 16 and index differs from the current colour.
    void SetColor(int index);
    // SetColor(GetColorTurbo(cadColour)).
    void SetColorAcad(int cadColour);
    // Palette index of a CAD colour number (taken as a byte): 0->0, 1->12, 2->14, 3->10, 4->11,
    // 5->9, 6->13, 7->15, 8..15 -> number-7; above 15 first (number mod 16)+1, whose 16 maps
    // like 8..15 to 9.
    static int GetColorTurbo(int cadColour);
    // The current colour (-1 before the first SetColor).
    int GetColor() const { return colour_; }
    // Appends record 11 when the style differs from the current one.
    void SetLineStyle(int style);
    // "DOTTED"/"PUNKT" 1, "CENTER"/"DASHDOT"/"STRICHPUNKT" 2, "DASHED"/"HIDDEN"/"VERDECKT" 3,
    // else 0 (case-sensitive), then SetLineStyle.
    void SetLineStyleName(std::string_view name);
    // Appends record 12 when the width differs from the current one.
    void SetLineWidth(int width);
    int GetLineStyle() const { return lineStyle_; }
    int GetLineWidth() const { return lineWidth_; }
    // Appends record 9 (fields: height, width, font, angle). Angle in degrees.
    void SetTextStyle(int font, real angle, real height, real width);
    // Appends record 13 (a pause on screen during the replay).
    void SleepMs(int milliseconds);

    // Immediate screen drawing through the current mapping; nothing is recorded.
    void MoveTo(Canvas& screen, real x, real y) const;
    void LineTo(Canvas& screen, real x, real y) const;
    // The rubber-band rectangle in device pixels, drawn directly with the current pen.
    static void DrawRectangle(Canvas& screen, int x1, int y1, int x2, int y2);
    // True when the angle (degrees) lies in (45,135), (225,315) or (-135,-45).
    static bool GetDirection(real angle);
    // Header for a small fixed world window, then the maker's logo as filled quadrilaterals in
    // colours 9 and 13.
    void DrawKaldornLogo();
    void SetWaitCursor();
    void SetOldCursor();
    // Stored for the callers; the replay does not read it.
    void SetTextSizeMode(int mode) { textSizeMode_ = mode; }
    int TextSizeMode() const { return textSizeMode_; }

    // Aspect factor F of the mouse zoom in isotropic mode.
    real AspectFactor() const { return aspectF_; }
    const WorldRect& SavedLimit() const { return savedLimit_; }
    // Forgets the line style and width last recorded, so that the next SetLineStyle and
    // SetLineWidth are always recorded (the replay calls it).
    void ForgetStyleCache() {
        lineStyle_ = 99;
        lineWidth_ = -32768; // no 16-bit width a caller sets
    }

  private:
    void AppendRecord(int code, std::initializer_list<real> reals);

    Session* session_;
    std::string text_;              // all records back to back
    std::vector<std::size_t> ends_; // end offset of each record in text_
    WorldRect savedLimit_;
    DeviceRect savedViewport_;
    real aspectF_ = 1;
    int colour_ = -1;
    int lineStyle_ = 99;
    int lineWidth_ = 1;
    int textSizeMode_ = 0;
};

} // namespace kora

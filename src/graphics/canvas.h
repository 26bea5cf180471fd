// The drawing surface the display list is replayed onto: a window, a printer page, an image,
// or a recording for tests. Device coordinates are integer pixels, y growing downwards.
#pragma once

#include <cstdint>
#include <string_view>

namespace kora {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

struct DevicePoint {
    int x = 0, y = 0;
    friend bool operator==(DevicePoint, DevicePoint) = default;
};

enum class PenStyle { solid, dotted, dashDot, dashed };

struct Pen {
    Rgb colour;
    PenStyle style = PenStyle::solid;
    int width = 1;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// Filled shapes use the brush; `solid` false means a clear (hollow) brush.
struct Brush {
    Rgb colour;
    bool solid = true;
    friend bool operator==(const Brush&, const Brush&) = default;
};

// A font cell: height and average character width in device pixels, escapement in tenths of
// a degree counter-clockwise. The typeface view is valid only during the SetFont call.
struct Font {
    std::string_view typeface;
    int height = 0;
    int width = 0;
    int escapement = 0;
    int weight = 100; // 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual void MoveTo(DevicePoint p) = 0;
    // Draws with the pen from the current position to p, which becomes the current position.
    virtual void LineTo(DevicePoint p) = 0;
    // Ellipse inscribed in the box, outlined with the pen and filled with the brush.
    virtual void Ellipse(DevicePoint corner1, DevicePoint corner2) = 0;
    // Arc of the ellipse inscribed in the box, counter-clockwise as seen on the device, from
    // the ray towards `start` to the ray towards `end`.
    virtual void Arc(DevicePoint corner1, DevicePoint corner2, DevicePoint start,
                     DevicePoint end) = 0;
    // Closed polygon outlined with the pen and filled with the brush.
    virtual void Polygon(const DevicePoint* points, int count) = 0;
    virtual void SetPen(const Pen& pen) = 0;
    virtual void SetBrush(const Brush& brush) = 0;
    virtual void SetFont(const Font& font) = 0;
    virtual void SetTextColour(Rgb colour) = 0;
    // Text with a transparent background; `topLeft` is the top-left corner of the font cell
    // (rotated with the escapement). The bytes are the program's text (code page 850).
    virtual void Text(DevicePoint topLeft, std::string_view text) = 0;
};

// A surface that draws nothing: the screen side of a printout's replay, or a replay measured
// without any drawing.
class DiscardingCanvas final : public Canvas {
  public:
    void MoveTo(DevicePoint) override {}
    void LineTo(DevicePoint) override {}
    void Ellipse(DevicePoint, DevicePoint) override {}
    void Arc(DevicePoint, DevicePoint, DevicePoint, DevicePoint) override {}
    void Polygon(const DevicePoint*, int) override {}
    void SetPen(const Pen&) override {}
    void SetBrush(const Brush&) override {}
    void SetFont(const Font&) override {}
    void SetTextColour(Rgb) override {}
    void Text(DevicePoint, std::string_view) override {}
};

} // namespace kora

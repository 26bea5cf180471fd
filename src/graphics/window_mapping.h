// The graphics window's mapping from world coordinates (drawing millimetres or diagram units)
// to device pixels: device rectangle, world window, zoom rectangle, isotropic scales, and the
// screen and paper formulas. Also the window settings taken from the configuration.
#pragma once

#include "base/real.h"
#include "graphics/canvas.h"

#include <string>

namespace kora {

// Settings of the graphics window; the configuration file fills them at start-up. The
// defaults are the window's own start values (before the configuration is read).
struct GraphicsSettings {
    int A = 640;                    // "Auflösung horizontal": ReferenceResolution, pixels
    int B = 480;                    // "Auflösung vertikal"
    real zoomFactor = 1.2L;         // "Zoomfaktor"
    real panFactor = 0.1L;          // "Pan-Faktor"
    int backgroundColour = 1;       // "Hintergrundfarbe": 1..16 palette number, else 0x00BBGGRR
    bool colourGraphics = true;     // "Farbgrafik"
    int printMode = 1;              // "Windows-Druckmodus (1=mono 2=color)"
    std::string typeface = "Arial"; // "Textstil Grafik"
    real textWidthFactor = 0.8L;    // "Textbreitenfaktor Grafik"
    real textHeightFactor = 1.0L;   // "Text Height Factor"
    int textStyle = 0;              // "Text Style Graphics": bit 0 bold, 1 italic, 2 underline,
                                    // 3 strike-out; only 1..15 apply
};

struct Configuration;

// The window settings from the configuration; a resolution of 0 or -1 (not yet derived from
// the screen) keeps the value in `s`.
void ApplyConfiguration(GraphicsSettings& s, const Configuration& c);

// Palette colour of index 1..16 (anything else gives black).
Rgb PaletteColour(int index);
// The configured background colour: a palette number 1..16 or a Windows colour value.
Rgb BackgroundColour(int configured);

// Rounds half away from zero; NaN gives 0 and huge or infinite values are clamped to
// +-1e9, so a broken coordinate can never reach the device as undefined behaviour.
int RoundToInt(real value);

struct DeviceRect {
    int x1 = 0, y1 = 0, x2 = 1, y2 = 1;
    friend bool operator==(const DeviceRect&, const DeviceRect&) = default;
};

struct WorldRect {
    real x0 = 0, y0 = 0, x1 = 1, y1 = 1;
    friend bool operator==(const WorldRect&, const WorldRect&) = default;
};

// True when the rectangle has zero (or non-finite) width or height.
bool IsDegenerate(const WorldRect& w);

// Printable page and printout settings ("Windows Screendump Scale", "Print Scale Vertical",
// "Windows Screendump Origin X/Y", "Windows Screendump Border ?").
struct PaperSettings {
    int PW = 4960; // printable width, printer pixels
    int PH = 7016; // printable height
    int ox = 0;    // print origin, millimetres
    int oy = 0;
    real qx = 1; // print scale factors
    real qy = 1;
    bool border = false; // outline the world window on paper
};

// The printout settings from the configuration, for a page of PW x PH printer pixels.
PaperSettings PaperSettingsFrom(const Configuration& c, int PW, int PH);

// The mapping state of the window.
struct WindowMapping {
    DeviceRect device; // px0, py0, px1, py1
    WorldRect world;   // wx0, wy0, wx1, wy1
    bool isotropic = true;
    DeviceRect zoom{0, 0, 640, 480}; // ZoomRectangle zx1, zy1, zx2, zy2
    WorldRect view;                  // ViewWindow vx0, vy0, vx1, vy1
    real sx = 1, sy = 1;             // device pixels per world unit

    // Sets the ZoomRectangle and derives ViewWindow and scales; a rectangle of zero width or
    // height, or a degenerate device rectangle or world window, is ignored (returns false).
    bool SetScale(const DeviceRect& z, const GraphicsSettings& s);
    // SetScale with the whole device rectangle.
    bool ResetZoom(const GraphicsSettings& s) { return SetScale(device, s); }

    // World to device on the screen.
    int ScreenX(real x) const { return RoundToInt((x - view.x0) * sx) + device.x1; }
    int ScreenY(real y) const { return device.y2 - RoundToInt((y - view.y0) * sy); }
    DevicePoint Screen(real x, real y) const { return {ScreenX(x), ScreenY(y)}; }
    int ScreenWidth(real w) const { return RoundToInt(w * sx); }
    int ScreenHeight(real h) const { return RoundToInt(h * sy); }

    // World to device on paper.
    int PaperX(real x, const PaperSettings& p, const GraphicsSettings& s) const;
    int PaperY(real y, const PaperSettings& p, const GraphicsSettings& s) const;
    DevicePoint Paper(real x, real y, const PaperSettings& p, const GraphicsSettings& s) const {
        return {PaperX(x, p, s), PaperY(y, p, s)};
    }
    int PaperWidth(real w, const PaperSettings& p, const GraphicsSettings& s) const;
    int PaperHeight(real h, const PaperSettings& p, const GraphicsSettings& s) const;
};

} // namespace kora

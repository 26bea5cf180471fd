#include "graphics/window_mapping.h"

#include "base/configuration.h"

#include <array>
#include <cmath>
#include <limits>

namespace kora {
namespace {

// Screen colours of the palette indices 1..16.
constexpr std::array<Rgb, 16> kPalette{{
    {0, 0, 128},     // 1 dark blue
    {0, 255, 0},     // 2 green
    {0, 255, 255},   // 3 cyan
    {255, 0, 0},     // 4 red
    {128, 0, 128},   // 5 purple
    {128, 0, 0},     // 6 dark red
    {192, 192, 192}, // 7 silver
    {176, 176, 176}, // 8 light grey
    {0, 0, 255},     // 9 blue
    {0, 255, 0},     // 10 green
    {0, 255, 255},   // 11 cyan
    {255, 0, 0},     // 12 red
    {255, 0, 255},   // 13 magenta
    {255, 255, 0},   // 14 yellow
    {255, 255, 255}, // 15 white
    {0, 0, 0},       // 16 black
}};

// A, B as divisors: a broken configuration must not divide by zero.
real ResolutionA(const GraphicsSettings& s) {
    return s.A > 0 ? s.A : 1;
}
real ResolutionB(const GraphicsSettings& s) {
    return s.B > 0 ? s.B : 1;
}

} // namespace

void ApplyConfiguration(GraphicsSettings& s, const Configuration& c) {
    if (c.resolutionHorizontal > 0) s.A = c.resolutionHorizontal;
    if (c.resolutionVertical > 0) s.B = c.resolutionVertical;
    s.zoomFactor = c.zoomFactor;
    s.panFactor = c.panFactor;
    s.backgroundColour = c.backgroundColour;
    s.colourGraphics = c.colourGraphics;
    s.printMode = c.windowsPrintMode;
    s.typeface = c.graphicsTypeface;
    s.textWidthFactor = c.graphicsTextWidthFactor;
    s.textHeightFactor = c.textHeightFactor;
    s.textStyle = c.textStyleGraphics;
}

PaperSettings PaperSettingsFrom(const Configuration& c, int PW, int PH) {
    PaperSettings p;
    p.PW = PW;
    p.PH = PH;
    p.ox = c.screendumpOriginX;
    p.oy = c.screendumpOriginY;
    p.qx = c.screendumpScale;
    p.qy = c.printScaleVertical;
    p.border = c.screendumpBorder;
    return p;
}

Rgb PaletteColour(int index) {
    if (index < 1 || index > 16) return Rgb{};
    return kPalette[static_cast<std::size_t>(index - 1)];
}

Rgb BackgroundColour(int configured) {
    if (configured >= 1 && configured <= 16) return PaletteColour(configured);
    const auto v = static_cast<std::uint32_t>(configured); // Windows order 0x00BBGGRR
    return Rgb{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
               static_cast<std::uint8_t>((v >> 16) & 0xFF)};
}

int RoundToInt(real value) {
    if (std::isnan(value)) return 0;
    constexpr real kLimit = 1e9L; // far beyond any device, far inside int
    if (value > kLimit) return static_cast<int>(kLimit);
    if (value < -kLimit) return -static_cast<int>(kLimit);
    return static_cast<int>(std::lround(value));
}

bool IsDegenerate(const WorldRect& w) {
    if (!std::isfinite(w.x0) || !std::isfinite(w.y0) || !std::isfinite(w.x1) ||
        !std::isfinite(w.y1))
        return true;
    return w.x1 == w.x0 || w.y1 == w.y0;
}

bool WindowMapping::SetScale(const DeviceRect& z, const GraphicsSettings& s) {
    if (z.x1 == z.x2 || z.y1 == z.y2) return false;
    if (device.x1 == device.x2 || device.y1 == device.y2 || IsDegenerate(world)) return false;
    zoom = z;
    const real dw = device.x2 - device.x1;
    const real dh = device.y2 - device.y1;
    const real ww = world.x1 - world.x0;
    const real wh = world.y1 - world.y0;
    view.x0 = world.x0 + (z.x1 - device.x1) / dw * ww;
    view.x1 = world.x0 + (z.x2 - device.x1) / dw * ww;
    view.y0 = world.y0 + (z.y1 - device.y1) / dh * wh;
    view.y1 = world.y0 + (z.y2 - device.y1) / dh * wh;
    sx = dw / (view.x1 - view.x0);
    sy = dh / (view.y1 - view.y0);
    if (isotropic) {
        // The display is taken to be 4:3; the picture stays anchored at (vx0, vy0).
        const real k = 0.75L * ResolutionA(s) / ResolutionB(s);
        if (sx >= k * sy)
            sx = k * sy;
        else
            sy = sx / k;
    }
    return true;
}

int WindowMapping::PaperX(real x, const PaperSettings& p, const GraphicsSettings& s) const {
    return RoundToInt(p.PW * static_cast<real>(p.ox) / 210) +
           RoundToInt(p.PW * ((x - view.x0) * sx + device.x1) * p.qx / ResolutionA(s));
}

int WindowMapping::PaperY(real y, const PaperSettings& p, const GraphicsSettings& s) const {
    // Both origin terms use the page width: 210 mm is the reference width.
    return RoundToInt(p.PW * static_cast<real>(p.oy) / 210) +
           RoundToInt(p.PH * (device.y2 - (y - view.y0) * sy) * p.qy / ResolutionB(s));
}

int WindowMapping::PaperWidth(real w, const PaperSettings& p, const GraphicsSettings& s) const {
    return RoundToInt(p.PW * w * sx * p.qx / ResolutionA(s));
}

int WindowMapping::PaperHeight(real h, const PaperSettings& p, const GraphicsSettings& s) const {
    return RoundToInt(p.PH * h * sy * p.qy / ResolutionB(s));
}

} // namespace kora

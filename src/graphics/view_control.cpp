#include "graphics/view_control.h"

#include "calc/session.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kora {
namespace {

// The keys that choose a pending command.
struct KeyCommand {
    int key;
    ViewCommand command;
};
constexpr std::array<KeyCommand, 8> kKeyCommands{{
    {kKeyPageUp, ViewCommand::pageUp},
    {kKeyPageDown, ViewCommand::pageDown},
    {kKeyUp, ViewCommand::panUp},
    {kKeyDown, ViewCommand::panDown},
    {kKeyLeft, ViewCommand::panLeft},
    {kKeyRight, ViewCommand::panRight},
    {kKeyNumpadPlus, ViewCommand::zoomIn},
    {kKeyNumpadMinus, ViewCommand::zoomOut},
}};

// Device coordinates stay far inside int, however often the user zooms out.
int ClampDevice(long long v) {
    constexpr long long kLimit = 1000000000LL;
    return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

DeviceRect Shifted(const DeviceRect& z, long long dx, long long dy) {
    return DeviceRect{ClampDevice(z.x1 + dx), ClampDevice(z.y1 + dy), ClampDevice(z.x2 + dx),
                      ClampDevice(z.y2 + dy)};
}

// The rectangle of the given size around the centre of z (half sizes rounded, then halved).
DeviceRect Scaled(const DeviceRect& z, real factor) {
    const long long cx = (static_cast<long long>(z.x1) + z.x2) / 2;
    const long long cy = (static_cast<long long>(z.y1) + z.y2) / 2;
    const long long hw = RoundToInt((z.x2 - z.x1) * factor) / 2;
    const long long hh = RoundToInt((z.y2 - z.y1) * factor) / 2;
    return DeviceRect{ClampDevice(cx - hw), ClampDevice(cy - hh), ClampDevice(cx + hw),
                      ClampDevice(cy + hh)};
}

} // namespace

bool ViewControl::processKey(int key) {
    if (key == kKeyEscape || key == kKeyF5) {
        // Esc also stops an animation or a long replay: they look at AbortFlag between steps.
        if (key == kKeyEscape) window_.session().AbortFlag = true;
        window_.ResetZoom();
        return true;
    }
    for (const KeyCommand& row : kKeyCommands)
        if (row.key == key) pending_ = row.command;
    // Carrying out before the repaint shows each step at once.
    return CarryOut(pending_);
}

bool ViewControl::CarryOut(ViewCommand command) {
    const DeviceRect z = window_.mapping.zoom;
    const real pan = window_.settings.panFactor;
    const real zoom = window_.settings.zoomFactor;
    const long long dy = RoundToInt(pan * (z.y2 - z.y1));
    const long long dx = RoundToInt(pan * (z.x2 - z.x1));
    DeviceRect next = z;
    switch (command) {
    case ViewCommand::none:
        return false;
    case ViewCommand::pageUp:
        next = Shifted(z, 0, -RoundToInt(5 * pan * (z.y2 - z.y1)));
        break;
    case ViewCommand::pageDown:
        next = Shifted(z, 0, RoundToInt(5 * pan * (z.y2 - z.y1)));
        break;
    case ViewCommand::panUp:
        next = Shifted(z, 0, -dy);
        break;
    case ViewCommand::panDown:
        next = Shifted(z, 0, dy);
        break;
    case ViewCommand::panLeft:
        next = Shifted(z, dx, 0);
        break;
    case ViewCommand::panRight:
        next = Shifted(z, -dx, 0);
        break;
    case ViewCommand::zoomIn:
        if (!(zoom > 0) || !std::isfinite(zoom)) return false;
        next = Scaled(z, 1 / zoom);
        break;
    case ViewCommand::zoomOut:
        if (!(zoom > 0) || !std::isfinite(zoom)) return false;
        next = Scaled(z, zoom);
        break;
    }
    window_.SetScale(next.x1, next.y1, next.x2, next.y2);
    return true;
}

bool ViewControl::FormMouseDown(MouseButton button, int x, int y) {
    const bool afterDoubleClick = doubleClick_;
    doubleClick_ = false;
    if (button == MouseButton::right) {
        window_.ResetZoom();
        return true;
    }
    if (button != MouseButton::left) return false;
    if (afterDoubleClick) {
        // The replay sets the drawing's window up again with the flag left in force: keeping
        // the drawing's own flag keeps a portrait sheet from being stretched to the window.
        const bool isotropic = window_.mapping.isotropic;
        window_.RestoreLimit();
        window_.ResetZoom();
        window_.ReSetWindow();
        window_.mapping.isotropic = isotropic;
        window_.mapping.ResetZoom(window_.settings);
        return true;
    }
    if (rubberBand_) return false;
    rubberBand_ = true;
    anchorX_ = currentX_ = previousX_ = x;
    anchorY_ = currentY_ = previousY_ = y;
    return false;
}

bool ViewControl::FormMouseMove(int x, int y) {
    if (!rubberBand_) return false;
    previousX_ = currentX_;
    previousY_ = currentY_;
    currentX_ = x;
    currentY_ = y;
    return true;
}

bool ViewControl::FormMouseUp(MouseButton button, int x, int y, int clientWidth, int clientHeight) {
    if (button != MouseButton::left || !rubberBand_) return false;
    rubberBand_ = false;
    currentX_ = x;
    currentY_ = y;
    if (anchorX_ == x || anchorY_ == y || clientWidth <= 0 || clientHeight <= 0) return false;
    const DeviceRect z = window_.mapping.zoom;
    const real cw = clientWidth, ch = clientHeight;
    const real f = window_.mapping.isotropic ? window_.AspectFactor() : 1;
    const auto zoomX = [&](int px) { return RoundToInt((px / cw * (z.x2 - z.x1) + z.x1) * f); };
    const auto zoomY = [&](int py) { return RoundToInt((ch - py) / ch * (z.y2 - z.y1) + z.y1); };
    const int x1 = zoomX(std::min(anchorX_, x));
    const int x2 = zoomX(std::max(anchorX_, x));
    const int y1 = zoomY(std::max(anchorY_, y));
    const int y2 = zoomY(std::min(anchorY_, y));
    window_.SetScale(x1, y1, x2, y2);
    return true;
}

} // namespace kora

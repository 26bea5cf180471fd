#include "graphics/display_list.h"

#include "base/numformat.h"
#include "calc/session.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

namespace kora {
namespace {

// Powers of ten from 10^-27 to 10^27; the non-negative ones are exact (at most 64 significant
// bits up to 10^27), the negative ones rounded once.
constexpr int kPowerRange = 27;
constexpr std::array<long double, 2 * kPowerRange + 1> kPowersOfTen = [] {
    std::array<long double, 2 * kPowerRange + 1> p{};
    long double v = 1;
    for (int k = 0; k <= kPowerRange; ++k) {
        p[kPowerRange + k] = v;
        v *= 10;
    }
    p[kPowerRange - 1] = 0.1L;
    for (int k = 2; k <= kPowerRange; ++k)
        p[kPowerRange - k] = 1 / p[kPowerRange + k];
    return p;
}();

// Writes at p the eight digits of `mantissa` (10^7 <= mantissa < 10^8) with decimal exponent X as
// "%.8g" does: fixed for -4 <= X < 8, else with an exponent, trailing zeros dropped.
char* WriteDigits(char* p, bool negative, std::uint32_t mantissa, int X) {
    if (negative) *p++ = '-';
    // Two digits at a time from the pairs "00" to "99".
    static constexpr std::array<char, 200> kPairs = [] {
        std::array<char, 200> t{};
        for (int i = 0; i < 100; ++i) {
            t[2 * i] = static_cast<char>('0' + i / 10);
            t[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
        return t;
    }();
    char digits[8];
    for (int i = 6; i >= 0; i -= 2) {
        const std::uint32_t pair = mantissa % 100;
        mantissa /= 100;
        digits[i] = kPairs[2 * pair];
        digits[i + 1] = kPairs[2 * pair + 1];
    }
    int n = 8; // significant digits without trailing zeros
    while (n > 1 && digits[n - 1] == '0')
        --n;
    if (X >= -4 && X < 8) {
        if (X >= 0) {
            for (int i = 0; i <= X; ++i)
                *p++ = digits[i];
            if (n > X + 1) {
                *p++ = '.';
                for (int i = X + 1; i < n; ++i)
                    *p++ = digits[i];
            }
        } else {
            *p++ = '0';
            *p++ = '.';
            for (int i = 0; i < -X - 1; ++i)
                *p++ = '0';
            for (int i = 0; i < n; ++i)
                *p++ = digits[i];
        }
    } else {
        *p++ = digits[0];
        if (n > 1) {
            *p++ = '.';
            for (int i = 1; i < n; ++i)
                *p++ = digits[i];
        }
        *p++ = 'e';
        *p++ = X < 0 ? '-' : '+';
        const int e = X < 0 ? -X : X; // below 100 within the scalings used
        *p++ = static_cast<char>('0' + e / 10);
        *p++ = static_cast<char>('0' + e % 10);
    }
    return p;
}

// The eight-digit mantissa and decimal exponent of a positive `scaled` = value * 10^(7-X)
// computed with an absolute error below `error`; false when the rounding is not certain.
template <class F> bool RoundEightDigits(F scaled, int& X, F error, std::uint32_t& mantissa) {
    if (scaled < 1e7) {
        scaled *= 10;
        --X;
    } else if (scaled >= 1e8) {
        scaled /= 10;
        ++X;
    }
    if (scaled < 1e7 || scaled >= 1e8) return false;
    mantissa = static_cast<std::uint32_t>(static_cast<std::int64_t>(scaled));
    const F fraction = scaled - static_cast<F>(mantissa);
    if (std::fabs(fraction - F(0.5)) < error) return false;
    if (fraction > F(0.5)) ++mantissa;
    if (mantissa == 100000000) {
        mantissa = 10000000;
        ++X;
    }
    return true;
}

// Powers of ten as doubles from 10^-27 to 10^27, each the nearest double.
constexpr std::array<double, 2 * kPowerRange + 1> kDoublePowers = [] {
    std::array<double, 2 * kPowerRange + 1> p{};
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<double>(kPowersOfTen[i]);
    return p;
}();

// "%.8Lg" in the C locale without printf, which the records of a long animation would spend
// most of their time in. First in doubles (the value rounded to a double, then scaled: an
// error far below 1e-7 of the last digit), then, near a rounding tie, in long doubles (error
// far below 1e-9); false, writing nothing, for what neither can round with certainty (not
// finite, beyond the scalings, within 1e-9 of a tie): printf does those.
char* WriteGeneral8(char* p, long double value) {
    const double d = static_cast<double>(value);
    if (!std::isfinite(d)) return nullptr;
    const bool negative = std::signbit(d);
    if (value == 0) {
        if (negative) *p++ = '-';
        *p++ = '0';
        return p;
    }
    const long double magnitude = negative ? -value : value;
    const double approx = negative ? -d : d;
    if (approx == 0) return nullptr; // below the doubles
    // Decimal exponent X from the double's binary exponent and one comparison; where either is
    // one off (a power of ten rounded), RoundEightDigits sets it right.
    const int binary =
        static_cast<int>((std::bit_cast<std::uint64_t>(approx) >> 52) & 0x7FF) - 1023;
    // floor(binary * log10(2)) in integers (78913 / 2^18 is log10(2) to six digits), the shift
    // rounding towards minus infinity.
    int X = (binary * 78913) >> 18;
    if (X + 1 > kPowerRange || X + 1 < -kPowerRange) return nullptr;
    if (approx >= kDoublePowers[kPowerRange + X + 1]) ++X;
    const int k = 7 - X;
    if (k < -kPowerRange || k > kPowerRange) return nullptr;
    std::uint32_t mantissa = 0;
    int fastX = X;
    if (RoundEightDigits(approx * kDoublePowers[kPowerRange + k], fastX, 1e-7, mantissa))
        return WriteDigits(p, negative, mantissa, fastX);
    if (RoundEightDigits(magnitude * kPowersOfTen[kPowerRange + k], X, 1e-9L, mantissa))
        return WriteDigits(p, negative, mantissa, X);
    return nullptr;
}

// Room for ';' and one real of either writer.
constexpr std::size_t kRealRoom = 48;

// Writes ';' and the real at p; returns the end.
char* WriteReal(char* p, real value) {
    *p++ = ';';
    if (char* end = WriteGeneral8(p, value)) return end;
    CNumericLocale classic;
    const int n = std::snprintf(p, kRealRoom - 1, "%.8Lg", value);
    return p + (n > 0 ? std::min<int>(n, kRealRoom - 2) : 0);
}

void AppendReal(std::string& out, real value) {
    char buffer[kRealRoom];
    out.append(buffer, WriteReal(buffer, value));
}

void AppendInt(std::string& out, long value) {
    char buffer[24];
    buffer[0] = ';';
    const auto [end, ec] = std::to_chars(buffer + 1, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

void AppendCode(std::string& out, int code) {
    char buffer[16];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, code);
    out.append(buffer, end);
}

real Radians(real degrees) {
    return degrees * std::numbers::pi_v<real> / 180;
}

// CAD line type names of the line styles 1..3; anything else is continuous (0).
struct LineTypeName {
    std::string_view name;
    int style;
};
constexpr std::array<LineTypeName, 8> kLineTypeNames{{
    {"DOTTED", 1},
    {"PUNKT", 1},
    {"CENTER", 2},
    {"DASHDOT", 2},
    {"STRICHPUNKT", 2},
    {"DASHED", 3},
    {"HIDDEN", 3},
    {"VERDECKT", 3},
}};

// Palette indices of the CAD colour numbers 0..7; 8..15 map to number - 7.
constexpr std::array<int, 8> kCadColourToPalette{0, 12, 14, 10, 11, 9, 13, 15};

} // namespace

DisplayList::DisplayList(Session& session) : session_(&session) {
    FormCreate();
}

std::string_view DisplayList::operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(begin, ends_[i] - begin);
}

void DisplayList::Append(std::string_view record) {
    text_.append(record);
    ends_.push_back(text_.size());
}

void DisplayList::AppendRecord(int code, std::initializer_list<real> reals) {
    // One append per record: the animation writes hundreds of thousands of them.
    constexpr std::size_t kMaxReals = 8; // no record has more
    if (reals.size() > kMaxReals) {
        AppendCode(text_, code);
        for (real v : reals)
            AppendReal(text_, v);
    } else {
        char buffer[16 + kMaxReals * kRealRoom];
        char* p = std::to_chars(buffer, buffer + 16, code).ptr;
        for (real v : reals)
            p = WriteReal(p, v);
        text_.append(buffer, p);
    }
    ends_.push_back(text_.size());
}

void DisplayList::FormCreate() {
    mapping = WindowMapping{};
    settings.zoomFactor = 1.2L;
    settings.panFactor = 0.1L;
    savedLimit_ = WorldRect{};
    savedViewport_ = DeviceRect{};
    aspectF_ = 1;
    colour_ = -1;
    lineStyle_ = 99;
    lineWidth_ = 1;
    singleStep = false;
    printing = false;
    text_.clear();
    ends_.clear();
}

void DisplayList::SetWindow(bool isotropic, bool border, real vx1, real vy1, real vx2, real vy2,
                            real wx0, real wy0, real wx1, real wy1) {
    DeviceRect d{RoundToInt(settings.A * vx1), RoundToInt(settings.B * (1 - vy2)),
                 RoundToInt(settings.A * vx2), RoundToInt(settings.B * (1 - vy1))};
    if (border) {
        ++d.x1;
        ++d.y1;
        --d.x2;
        --d.y2;
    }
    AppendCode(text_, kRecordWindow);
    for (int v : {d.x1, d.y1, d.x2, d.y2})
        AppendInt(text_, v);
    for (real v : {wx0, wy0, wx1, wy1})
        AppendReal(text_, v);
    ends_.push_back(text_.size());

    const WorldRect world{wx0, wy0, wx1, wy1};
    if (IsDegenerate(world)) {
        // Keeping the old mapping leaves nothing to divide by zero later.
        session_->AbortFlag = true;
        return;
    }
    mapping.device = d;
    mapping.world = world;
    mapping.isotropic = isotropic;
    mapping.ResetZoom(settings);
}

void DisplayList::SetScale(int x1, int y1, int x2, int y2) {
    mapping.SetScale(DeviceRect{x1, y1, x2, y2}, settings);
}

void DisplayList::Header(real x0, real y0, real x1, real y1) {
    // F belongs to the drawing being installed, so it is taken from the new world window.
    const WorldRect world{x0, y0, x1, y1};
    if (!IsDegenerate(world) && settings.B != 0)
        aspectF_ = (0.75L * settings.A / settings.B) * (640 / (x1 - x0)) / (480 / (y1 - y0));
    SetWindow(true, true, 0, 0, 1, 1, x0, y0, x1, y1);
    SetLineStyle(0);
    SaveLimit();
}

void DisplayList::SaveLimit() {
    savedLimit_ = mapping.world;
}

void DisplayList::RestoreLimit() {
    SetWindow(true, true, 0, 0, 1, 1, savedLimit_.x0, savedLimit_.y0, savedLimit_.x1,
              savedLimit_.y1);
}

void DisplayList::ReSetWindow() {
    SetWindow(false, false, 0, 0, 1, 1, 0, 0, 1, 1);
    ResetZoom();
}

void DisplayList::Regen() {
    const DeviceRect zoom = mapping.zoom;
    RestoreLimit();
    SetWindow(true, true, 0, 0, 1, 1, 0, 0, 1, 1);
    ResetZoom();
    mapping.SetScale(zoom, settings);
    ClearViewPort();
}

void DisplayList::ResetZoom() {
    mapping.ResetZoom(settings);
}

void DisplayList::SaveViewPort() {
    savedViewport_ = mapping.device;
}

void DisplayList::RetrieveViewPort() {
    mapping.device = savedViewport_;
}

real DisplayList::EinX(real f) const {
    return f * (mapping.world.x1 - mapping.world.x0);
}

real DisplayList::EinY(real f) const {
    return f * (mapping.world.y1 - mapping.world.y0);
}

void DisplayList::Clear() {
    text_.clear();
    ends_.clear();
    // The replay of the new list starts at colour 1, pen width 1 and a solid pen, so the
    // caches must forget the old list: otherwise the first colour of the next drawing could
    // be dropped as "unchanged" and the drawing replayed in the wrong colour.
    colour_ = -1;
    lineStyle_ = 99;
    lineWidth_ = 1;
    if (host) host->Invalidate();
}

void DisplayList::ClearViewPort() {
    if (host) {
        host->SetWaitCursor();
        host->Invalidate();
    }
}

void DisplayList::line(real x1, real y1, real x2, real y2) {
    AppendRecord(kRecordLine, {x1, y1, x2, y2});
}

void DisplayList::Rectangle(real x1, real y1, real x2, real y2) {
    line(x1, y1, x2, y1);
    line(x2, y1, x2, y2);
    line(x2, y2, x1, y2);
    line(x1, y2, x1, y1);
}

void DisplayList::circle(real x, real y, real r) {
    AppendRecord(kRecordCircle, {x, y, r});
}

void DisplayList::Arc(real xc, real yc, real r, real startAngle, real endAngle) {
    const real difference = endAngle - startAngle;
    real sweep = std::fmod(difference, 360.0L);
    if (sweep < 0) sweep += 360;
    if (sweep == 0 && difference != 0 && std::isfinite(difference)) {
        // A whole turn reduces to a zero sweep; it is a full circle, not an empty chord.
        circle(xc, yc, r);
        return;
    }
    const real xs = xc + r * std::cos(Radians(startAngle));
    const real ys = yc + r * std::sin(Radians(startAngle));
    const real xe = xc + r * std::cos(Radians(endAngle));
    const real ye = yc + r * std::sin(Radians(endAngle));
    if (sweep >= 4)
        AppendRecord(kRecordArc, {xc - r, yc - r, xc + r, yc + r, xs, ys, xe, ye});
    else
        line(xs, ys, xe, ye);
}

void DisplayList::OutTextXY(std::string_view text, real x, real y) {
    AppendCode(text_, kRecordText);
    AppendReal(text_, x);
    AppendReal(text_, y);
    text_.push_back(';');
    text_.append(text);
    ends_.push_back(text_.size());
}

void DisplayList::Solid(real x1, real y1, real x2, real y2, real x3, real y3, real x4, real y4) {
    AppendRecord(kRecordSolid, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void DisplayList::SetColor(int index) {
    if (index < 0 || index > 16 || index == colour_) return;
    colour_ = index;
    AppendCode(text_, kRecordColour);
    AppendInt(text_, index);
    ends_.push_back(text_.size());
}

void DisplayList::SetColorAcad(int cadColour) {
    SetColor(GetColorTurbo(cadColour));
}

int DisplayList::GetColorTurbo(int cadColour) {
    int n = cadColour & 0xFF; // the CAD colour number is a byte
    if (n > 15) n = n % 16 + 1;
    if (n <= 7) return kCadColourToPalette[static_cast<std::size_t>(n)];
    return n - 7;
}

void DisplayList::SetLineStyle(int style) {
    if (style == lineStyle_) return;
    lineStyle_ = style;
    AppendCode(text_, kRecordLineStyle);
    AppendInt(text_, style);
    ends_.push_back(text_.size());
}

void DisplayList::SetLineStyleName(std::string_view name) {
    int style = 0;
    for (const LineTypeName& row : kLineTypeNames)
        if (row.name == name) style = row.style;
    SetLineStyle(style);
}

void DisplayList::SetLineWidth(int width) {
    if (width == lineWidth_) return;
    lineWidth_ = width;
    AppendCode(text_, kRecordLineWidth);
    AppendInt(text_, width);
    ends_.push_back(text_.size());
}

void DisplayList::SetTextStyle(int font, real angle, real height, real width) {
    AppendCode(text_, kRecordTextStyle);
    AppendReal(text_, height);
    AppendReal(text_, width);
    AppendInt(text_, font);
    AppendReal(text_, angle);
    ends_.push_back(text_.size());
}

void DisplayList::SleepMs(int milliseconds) {
    AppendCode(text_, kRecordSleep);
    AppendInt(text_, milliseconds);
    ends_.push_back(text_.size());
}

void DisplayList::MoveTo(Canvas& screen, real x, real y) const {
    screen.MoveTo(mapping.Screen(x, y));
}

void DisplayList::LineTo(Canvas& screen, real x, real y) const {
    screen.LineTo(mapping.Screen(x, y));
}

void DisplayList::DrawRectangle(Canvas& screen, int x1, int y1, int x2, int y2) {
    screen.MoveTo({x1, y1});
    screen.LineTo({x2, y1});
    screen.LineTo({x2, y2});
    screen.LineTo({x1, y2});
    screen.LineTo({x1, y1});
}

bool DisplayList::GetDirection(real angle) {
    return (angle > 45 && angle < 135) || (angle > 225 && angle < 315) ||
           (angle > -135 && angle < -45);
}

void DisplayList::DrawKaldornLogo() {
    // A "K" of three bars on a 100 x 75 world window: the stem in blue, the arms in magenta.
    struct Quad {
        int colour;
        real x1, y1, x2, y2, x3, y3, x4, y4;
    };
    static constexpr std::array<Quad, 3> kLogo{{
        {9, 20, 10, 32, 10, 32, 65, 20, 65},
        {13, 32, 34, 46, 34, 70, 65, 56, 65},
        {13, 32, 30, 46, 30, 72, 10, 58, 10},
    }};
    Header(0, 0, 100, 75);
    for (const Quad& q : kLogo) {
        SetColor(q.colour);
        Solid(q.x1, q.y1, q.x2, q.y2, q.x3, q.y3, q.x4, q.y4);
    }
}

void DisplayList::SetWaitCursor() {
    if (host) host->SetWaitCursor();
}

void DisplayList::SetOldCursor() {
    if (host) host->SetOldCursor();
}

} // namespace kora

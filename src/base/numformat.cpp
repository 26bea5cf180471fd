#include "base/numformat.h"
#include "base/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <locale.h>

namespace kora {
namespace {

constexpr real kShortZero = 0.00001L;    // the short format writes "0" below this
constexpr real kFixedZero = 0.00000001L; // the fixed formats write 0 below this
constexpr real kEngineeringZero = 1e-12L;
constexpr real kEngineeringLarge = 10000;
constexpr real kWholeNumberGap = 1e-10L; // long real format: "within 1e-10 of a whole number"
constexpr real kSymmetricGap = 0.0001L;  // deviation pair counts as symmetric below this
constexpr int kLongRealDecimals = 7;
constexpr int kDefaultDezimalstellen = 3;
constexpr int kMaxDecimals = 10;
constexpr int kRoundTripDigits = 20; // decimals after the first digit that restore any real

// "Dezimalstellen" shifts every count of decimals; 3 is neutral.
int AdjustedDecimals(const Configuration& config, int d) {
    if (config.Dezimalstellen != kDefaultDezimalstellen)
        d = std::clamp(d + config.Dezimalstellen - kDefaultDezimalstellen, 0, kMaxDecimals);
    return std::max(d, 0);
}

std::string WithDecimalSeparator(const Configuration& config, std::string text) {
    if (config.decimalSeparator == 2) std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// floor(log10 ax) for ax > 0, corrected where log10 lands a hair beside a power of ten.
int DecimalExponent(real ax) {
    int c = static_cast<int>(std::floor(std::log10(ax)));
    if (std::pow(10.0L, c) > ax)
        --c;
    else if (std::pow(10.0L, c + 1) <= ax)
        ++c;
    return c;
}

struct ShortLayout {
    int width;
    int decimals;
};

// Width and decimals of the short format with digit budget a (steps 2 to 6).
ShortLayout ShortFormatLayout(real ax, int a) {
    int c = ax == 0 ? -1 : DecimalExponent(ax);
    if (c >= a) return {c + 1, 0};
    int width = c < 0 ? 0 : c + 1;
    int q = c < 0 ? a - 1 - c : a - c;
    // e holds one digit more than q decimals; each trailing zero of it costs one decimal.
    auto e = static_cast<long long>(std::llround(ax * std::pow(10.0L, q + 1)));
    do {
        e /= 10;
        if (e % 10 == 0) --q;
    } while (e != 0 && e % 10 == 0);
    return {width, std::max(q, 0)};
}

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

// Exponent form with the fewest digits that read back as the same value.
std::string ExponentText(const Configuration& config, real x) {
    std::string text;
    for (int p = 0; p <= kRoundTripDigits; ++p) {
        text = FormatC("%.*LE", p, x);
        if (ParseReal(text) == x) break;
    }
    return WithDecimalSeparator(config, text);
}

// from_chars takes no leading "+"; a typed one is harmless.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

std::string DeviationValue(const Configuration& config, Quantity quantity, real value) {
    if (Imperial(config) && (quantity == Quantity::Length || quantity == Quantity::Force))
        return ShortFormat(config, ToImperial(quantity, value), 3);
    return ShortFormat(config, value, 2);
}

} // namespace

locale_t ClassicLocale() {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

CNumericLocale::CNumericLocale() : previous_(uselocale(ClassicLocale())) {}

CNumericLocale::~CNumericLocale() {
    uselocale(static_cast<locale_t>(previous_));
}

std::string FormatC(const char* format, ...) {
    CNumericLocale classic;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char buffer[128];
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    std::string text;
    if (n >= static_cast<int>(sizeof buffer)) {
        text.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<std::size_t>(n));
    } else if (n > 0) {
        text.assign(buffer, static_cast<std::size_t>(n));
    }
    va_end(again);
    va_end(args);
    return text;
}

std::string FixedFormat(const Configuration& config, real x, int w, int d) {
    d = AdjustedDecimals(config, d);
    if (std::fabs(x) < kFixedZero) x = 0;
    std::string text = FormatC("%.*Lf", d, x);
    int width = d == 0 ? w : w + d + 1;
    return WithDecimalSeparator(
        config, PadLeft(std::move(text), static_cast<std::size_t>(std::max(width, 0))));
}

std::string ShortFormat(const Configuration& config, real x, int budget) {
    if (!std::isfinite(x)) return FixedFormat(config, x, 0, 0);
    real ax = std::fabs(x);
    if (ax < kShortZero) return "0";
    ShortLayout layout = ShortFormatLayout(ax, budget);
    return FixedFormat(config, x, layout.width, layout.decimals);
}

std::string AutoWidthFormat(const Configuration& config, real x, int d) {
    int width = std::isfinite(x) ? ShortFormatLayout(std::fabs(x), kShortBudget).width : 0;
    return FixedFormat(config, x, width, d);
}

std::string ToleranceFormat(const Configuration& config, real x) {
    return ShortFormat(config, x, Imperial(config) ? kShortBudget : kShortBudget - 1);
}

std::string EngineeringFormat(const Configuration& config, real x) {
    if (!std::isfinite(x)) return FixedFormat(config, x, 0, 0);
    real ax = std::fabs(x);
    if (ax < kEngineeringZero) x = ax = 0;
    if (ax >= kShortZero && ax < kEngineeringLarge) return ShortFormat(config, x);
    int c = ax == 0 ? -1 : DecimalExponent(ax);
    int b = c % 3; // remainder with the sign of c
    std::string exponent = "E" + std::to_string(c / 3 * 3);
    if (c >= 4) return ShortFormat(config, x / std::pow(10.0L, c - b)) + exponent;
    if (c < -2) return ShortFormat(config, x * std::pow(10.0L, b - c)) + exponent;
    return ShortFormat(config, x);
}

std::string NeverZero(const Configuration& config, real x, std::string text) {
    if (x != 0 && std::isfinite(x) && ParseReal(text) == 0) return ExponentText(config, x);
    return text;
}

std::string LongRealFormat(const Configuration& config, real x) {
    if (!std::isfinite(x)) return FixedFormat(config, x, 0, 0);
    // Writing a tiny value as 0 would change it on reload (a seps of 5e-9 would come back
    // as the lower limit); the exponent form keeps it.
    if (std::fabs(x) < kFixedZero) return x == 0 ? "0" : ExponentText(config, x);
    if (x < 1 && std::fabs(x - std::round(x)) < kWholeNumberGap) return ShortFormat(config, x);
    int k = AdjustedDecimals(config, kLongRealDecimals);
    return NeverZero(config, x, WithDecimalSeparator(config, FormatC("%.*Lf", k, x)));
}

std::string DeviationText(const Configuration& config, Quantity quantity, real deviation) {
    if (deviation == 0) return {};
    std::string value = DeviationValue(config, quantity, deviation);
    return deviation > 0 ? "+" + value : value;
}

std::string DeviationText(const Configuration& config, Quantity quantity, real upper, real lower) {
    if (upper == 0 && lower == 0) return {};
    if (std::fabs(upper + lower) < kSymmetricGap)
        return ToleranceSign(config) + DeviationValue(config, quantity, upper);
    if (upper == 0) return DeviationText(config, quantity, lower);
    if (lower == 0) return DeviationText(config, quantity, upper);
    return DeviationText(config, quantity, upper) + "/" + DeviationText(config, quantity, lower);
}

std::string DateText(const Configuration& config, int year, int month, int day) {
    switch (config.dateCode) {
    case 1:
        return FormatC("%02d.%02d.%d", day, month, year);
    case 2:
        return FormatC("%02d/%02d/%d", month, day, year);
    case 4:
        return FormatC("%02d/%02d/%d", day, month, year);
    default: // 3 and any other value
        return FormatC("%d/%02d/%02d", year, month, day);
    }
}

std::string TodayText(const Configuration& config) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateText(config, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

real ParseReal(std::string_view text) {
    std::string copy(TrimmedWhiteSpace(text));
    if (auto comma = copy.find(','); comma != std::string::npos) copy[comma] = '.';
    std::string_view number = WithoutPlus(copy);
    real value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return 0;
    return value;
}

std::int32_t ParseInteger(std::string_view text) {
    std::string_view number = WithoutPlus(TrimmedWhiteSpace(text));
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) return 0;
    return value;
}

} // namespace kora

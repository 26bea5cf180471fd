#include "graphics/cad_format.h"

#include "base/codepage.h"
#include "base/numformat.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kora {
namespace {

constexpr int kMaxDecimals = 32;

// Windows-1252 bytes 0x80..0x9F and the code points they stand for; 0xA0..0xFF equal Latin-1.
struct Cp1252Special {
    char32_t codePoint;
    unsigned char byte;
};
constexpr Cp1252Special kCp1252Specials[] = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
};

char32_t DecodeUtf8(const std::string& s) {
    auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<std::uint8_t>(s[i])); };
    if (s.size() == 2) return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    if (s.size() == 3) return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    return b(0);
}

unsigned char Windows1252Of(char32_t c) {
    if (c >= 0xA0 && c <= 0xFF) return static_cast<unsigned char>(c);
    for (const auto& s : kCp1252Specials)
        if (s.codePoint == c) return s.byte;
    return '?';
}

// Upper half of code page 850 → Windows-1252, built once from the code page table.
const std::array<unsigned char, 128>& Cp850To1252Table() {
    static const std::array<unsigned char, 128> table = [] {
        std::array<unsigned char, 128> t{};
        for (int i = 0; i < 128; ++i) {
            std::string one(1, static_cast<char>(0x80 + i));
            t[i] = Windows1252Of(DecodeUtf8(Cp850ToUtf8(one)));
        }
        return t;
    }();
    return table;
}

// Mode 3: the code page 850 bytes that get a plain ASCII spelling.
struct Transliteration {
    unsigned char cp850;
    const char* ascii;
};
constexpr Transliteration kTransliterations[] = {
    {0x81, "ue"}, {0x82, "e"}, {0x84, "ae"},  {0x8E, "Ae"},  {0x94, "oe"}, {0x99, "Oe"},
    {0x9A, "Ue"}, {0xA0, "a"}, {0xA3, "u"},   {0xA4, "n"},   {0xC4, "-"},  {0xCD, "-"},
    {0xE1, "ss"}, {0xE6, "u"}, {0xF1, "+/-"}, {0xF8, "deg"}, {0xFD, "2"},
};

} // namespace

void AppendFixedNumber(std::string& out, real value, int decimals, bool comma) {
    if (decimals < 0) decimals = 0;
    if (decimals > kMaxDecimals) decimals = kMaxDecimals;
    if (!std::isfinite(value)) value = 0; // a file never carries "nan" or "inf"
    char buffer[512];
    CNumericLocale classic;
    int n = std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
    if (n < 0) return;
    if (n >= static_cast<int>(sizeof buffer)) n = sizeof buffer - 1;
    const char* text = buffer;
    if (buffer[0] == '-') {
        bool allZero = true;
        for (int i = 1; i < n && allZero; ++i)
            allZero = buffer[i] == '0' || buffer[i] == '.';
        if (allZero) {
            ++text;
            --n;
        }
    }
    std::size_t start = out.size();
    out.append(text, n);
    if (comma)
        for (std::size_t i = start; i < out.size(); ++i)
            if (out[i] == '.') out[i] = ',';
}

std::string FixedNumber(real value, int decimals, bool comma) {
    std::string out;
    AppendFixedNumber(out, value, decimals, comma);
    return out;
}

std::string ShortNumber(real value, int dezimalstellen) {
    constexpr int a = 3; // digit budget
    if (!std::isfinite(value) || std::fabs(value) < 0.00001L) return "0";
    real magnitude = std::fabs(value);
    int c = static_cast<int>(std::floor(std::log10(magnitude)));
    int q = 0;
    if (c < a) {
        long double e = c < 0 ? std::round(magnitude * std::pow(10.0L, a - c))
                              : std::round(magnitude * std::pow(10.0L, a - c + 1));
        q = c < 0 ? a - 1 - c : a - c;
        do { // strip trailing zeros
            e = std::floor(e / 10);
            if (std::fmod(e, 10.0L) == 0) --q;
        } while (e >= 1 && std::fmod(e, 10.0L) == 0);
        if (q < 0) q = 0;
    }
    int d = q;
    if (dezimalstellen != 3) d = q + dezimalstellen - 3;
    if (d < 0) d = 0;
    if (d > 10) d = 10;
    char buffer[128];
    CNumericLocale classic;
    std::snprintf(buffer, sizeof buffer, "%.*Lf", d, value);
    return buffer;
}

std::string Cp850ToWindows1252(std::string_view cp850) {
    const auto& table = Cp850To1252Table();
    std::string out(cp850);
    for (char& ch : out) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80) ch = static_cast<char>(table[b - 0x80]);
    }
    return out;
}

std::string ConvertCadText(std::string_view cp850, int mode) {
    if (mode == 2) return Cp850ToWindows1252(cp850);
    if (mode != 3) return std::string(cp850);
    std::string out;
    out.reserve(cp850.size());
    for (char ch : cp850) {
        auto b = static_cast<unsigned char>(ch);
        const char* ascii = nullptr;
        for (const auto& t : kTransliterations)
            if (t.cp850 == b) ascii = t.ascii;
        if (ascii)
            out += ascii;
        else
            out += ch;
    }
    return out;
}

} // namespace kora

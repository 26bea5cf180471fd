#include "base/units.h"

#include "base/numformat.h"

#include <algorithm>
#include <array>

namespace kora {
namespace {

// One quantity: conversion constants in each direction, its labels (code page 850: 0xF8 "°",
// 0xFC "³") and how its fixed format changes in imperial mode.
struct UnitRow {
    Quantity quantity;
    real toImperial, toImperialOffset;
    real fromImperial, fromImperialOffset; // applied as (x - offset) * factor
    const char* metric;
    const char* imperial;
    const char* plainMetric;
    const char* plainImperial;
    int widthDelta, widthMin, decimalsDelta; // imperial fixed w.d -> max(w+dw, min).(d+dd)
};

// Hex escapes end at the literal's end, so the letter after the degree sign goes in its own.
constexpr const char kDegreeC[] = "\xF8"
                                  "C";
constexpr const char kDegreeF[] = "\xF8"
                                  "F";

constexpr std::array<UnitRow, 8> kUnits = {{
    {Quantity::Length, 0.03937007874015748L, 0, 25.4L, 0, "mm", "in", "mm", "in", -1, 1, 1},
    {Quantity::Force, 0.2248090247334889L, 0, 4.44822L, 0, "N", "lbf", "N", "lbf", -1, 1, 1},
    {Quantity::Stress, 145.037L, 0, 0.006894792363327978L, 0, "MPa", "psi", "MPa", "psi", 2, 0, -2},
    {Quantity::Rate, 5.7101492L, 0, 0.17512677251935904L, 0, "N/mm", "lbf/in", "N/mm", "lbf/in", 0,
     0, 0},
    {Quantity::Work, 0.008850749005255468L, 0, 1 / 0.008850749005255468L, 0, "Nmm", "lbfin", "Nmm",
     "lbfin", -2, 1, 2},
    {Quantity::Temperature, 1.8L, 32, 0.5555555555555556L, 32, kDegreeC, kDegreeF, " C", " F", 0, 0,
     0},
    {Quantity::Density, 1, 0, 1, 0, "kg/dm\xFC", "kg/dm\xFC", "kg/dm3", "kg/dm3", 0, 0, 0},
    {Quantity::Angle, 1, 0, 1, 0, "\xF8", "\xF8", "deg", "deg", 0, 0, 0},
}};

const UnitRow& Row(Quantity quantity) {
    for (const auto& row : kUnits)
        if (row.quantity == quantity) return row;
    return kUnits[0];
}

// The "2 u  deg" setting, and "+/-" for the tolerance sign.
struct PlainRow {
    char special;
    const char* plain;
};
constexpr std::array<PlainRow, 5> kPlain = {{
    {'\xFD', "2"},
    {'\xFC', "3"},
    {'\xE6', "u"},
    {'\xF8', "deg"},
    {'\xF1', "+/-"},
}};

constexpr const char* kToleranceSign = " \xF1 ";
constexpr const char* kPlainToleranceSign = "+/-";

int ImperialWidth(const UnitRow& row, int w) {
    return std::max(w + row.widthDelta, row.widthMin);
}
int ImperialDecimals(const UnitRow& row, int d) {
    return std::max(d + row.decimalsDelta, 0);
}

} // namespace

real ToImperial(Quantity quantity, real internal) {
    const UnitRow& row = Row(quantity);
    return internal * row.toImperial + row.toImperialOffset;
}

real FromImperial(Quantity quantity, real imperial) {
    const UnitRow& row = Row(quantity);
    return (imperial - row.fromImperialOffset) * row.fromImperial;
}

real ToDisplayUnit(const Configuration& config, Quantity quantity, real internal) {
    return Imperial(config) ? ToImperial(quantity, internal) : internal;
}

real FromDisplayUnit(const Configuration& config, Quantity quantity, real shown) {
    return Imperial(config) ? FromImperial(quantity, shown) : shown;
}

std::string UnitLabel(const Configuration& config, Quantity quantity) {
    const UnitRow& row = Row(quantity);
    if (config.plainCharacters) return Imperial(config) ? row.plainImperial : row.plainMetric;
    return Imperial(config) ? row.imperial : row.metric;
}

std::string ToleranceSign(const Configuration& config) {
    return config.plainCharacters ? kPlainToleranceSign : kToleranceSign;
}

std::string PlainCharacters(std::string_view cp850) {
    std::string out;
    out.reserve(cp850.size());
    for (char c : cp850) {
        auto hit = std::find_if(kPlain.begin(), kPlain.end(),
                                [c](const PlainRow& row) { return row.special == c; });
        if (hit != kPlain.end())
            out += hit->plain;
        else
            out += c;
    }
    return out;
}

std::string ShowShort(const Configuration& config, Quantity quantity, real internal) {
    if (!Imperial(config)) return ShortFormat(config, internal);
    real shown = ToImperial(quantity, internal);
    if (quantity == Quantity::Length) return AutoWidthFormat(config, shown, 4);
    return ShortFormat(config, shown);
}

std::string ShowFixed(const Configuration& config, Quantity quantity, real internal, int w, int d) {
    if (!Imperial(config)) return FixedFormat(config, internal, w, d);
    const UnitRow& row = Row(quantity);
    return FixedFormat(config, ToImperial(quantity, internal), ImperialWidth(row, w),
                       ImperialDecimals(row, d));
}

std::string ShowAutoWidth(const Configuration& config, Quantity quantity, real internal, int d) {
    if (!Imperial(config)) return AutoWidthFormat(config, internal, d);
    const UnitRow& row = Row(quantity);
    return AutoWidthFormat(config, ToImperial(quantity, internal), ImperialDecimals(row, d));
}

real ReadValue(const Configuration& config, Quantity quantity, std::string_view text) {
    return FromDisplayUnit(config, quantity, ParseReal(text));
}

real ScaleValue(const Configuration& config, Quantity quantity, real internal) {
    switch (quantity) {
    case Quantity::Length:
    case Quantity::Force:
    case Quantity::Stress:
    case Quantity::Rate:
    case Quantity::Work:
        return ToDisplayUnit(config, quantity, internal);
    default:
        return internal;
    }
}

} // namespace kora

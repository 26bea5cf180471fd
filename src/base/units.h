// Units of measure: every value is held in metric units (mm, N, N/mm, N/mm², N·mm, °C, kg/dm³,
// degree); in imperial mode (`unitSystem` 1) it is converted only when it is shown or typed.
// Unit labels and the tolerance sign are code page 850 texts.
#pragma once

#include "base/configuration.h"
#include "base/real.h"

#include <string>
#include <string_view>

namespace kora {

enum class Quantity { Length, Force, Stress, Rate, Work, Temperature, Density, Angle };

inline bool Imperial(const Configuration& config) {
    return config.unitSystem == 1;
}

// Each direction has its own constant, so a value converted there and back may differ in the
// last digits. Density and angle are never converted.
real ToImperial(Quantity quantity, real internal);
// Work is never typed; it is brought back with the inverse of its forward constant.
real FromImperial(Quantity quantity, real imperial);

// Conversions by the current unit system.
real ToDisplayUnit(const Configuration& config, Quantity quantity, real internal);
real FromDisplayUnit(const Configuration& config, Quantity quantity, real shown);

// "mm"/"in", "N"/"lbf", "MPa"/"psi", "N/mm"/"lbf/in", "Nmm"/"lbfin", "°C"/"°F", "kg/dm³", "°";
// with plain characters " C"/" F", "kg/dm3", "deg".
std::string UnitLabel(const Configuration& config, Quantity quantity);

// " ± ", or "+/-" with plain characters.
std::string ToleranceSign(const Configuration& config);

// "²", "³", "µ", "°", "±" replaced by "2", "3", "u", "deg", "+/-" (the "2 u  deg" setting).
std::string PlainCharacters(std::string_view cp850);

// A value in the display unit, in the display form of its quantity:
// short, fixed w.d, and auto width with d decimals.
std::string ShowShort(const Configuration& config, Quantity quantity, real internal);
std::string ShowFixed(const Configuration& config, Quantity quantity, real internal, int w, int d);
std::string ShowAutoWidth(const Configuration& config, Quantity quantity, real internal, int d);

// A typed value in the display unit, returned in the internal unit (unparsable text gives 0).
real ReadValue(const Configuration& config, Quantity quantity, std::string_view text);

// Diagram and drawing scales: lengths, forces, stresses, rates and works in the display unit;
// other quantities unchanged.
real ScaleValue(const Configuration& config, Quantity quantity, real internal);

} // namespace kora

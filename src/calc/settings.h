// The accepted ranges of the calculation settings of the characteristic-line routines (seps,
// wsteps, faktorRFc, ssteps) and of the 3D line step, and the forcing into them that the
// settings form and the spring file reader share (ui/settings_form.h holds the form).
#pragma once

#include "base/real.h"

#include <cstdint>

namespace kora {

struct SpringRecord;

template <typename T> struct SettingRange {
    T min, max;
    // Below -> min, above -> max, not a number -> min.
    constexpr T Force(T value) const {
        if (!(value >= min)) return min;
        return value > max ? max : value;
    }
};

inline constexpr SettingRange<real> kSepsRange{0.0000000001L, 0.1L};
inline constexpr SettingRange<std::int32_t> kWstepsRange{3, 10000};
inline constexpr SettingRange<real> kFaktorRFcRange{0.00001L, 0.1L};
inline constexpr SettingRange<std::int32_t> kSstepsRange{10, 10000};
inline constexpr SettingRange<real> kResolution3DRange{0.0001L, 90};

// Forces seps, wsteps, faktorRFc and ssteps into their accepted ranges (also used after a
// spring file is read).
void ForceSettingsIntoRange(SpringRecord& spring);

} // namespace kora

// Number formats of every display, report and file: the short format of about four significant
// digits, the fixed format w.d with the "Dezimalstellen" adjustment and the decimal comma, the
// engineering format of axis labels, the long real format of the spring file, deviation and date
// texts, and the readers of typed numbers. Formatting never depends on the C locale.
#pragma once

#include "base/configuration.h"
#include "base/real.h"
#include "base/units.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kora {

inline constexpr int kShortBudget = 3;

// Short format: "0" below 0.00001, else about budget + 1 significant digits, trailing zeros
// dropped (22, 22.5, 1.235, 0.05, 1235).
std::string ShortFormat(const Configuration& config, real x, int budget = kShortBudget);

// Fixed format w.d: d decimals (shifted by "Dezimalstellen" - 3, kept in 0..10), padded on the
// left to w characters when d = 0, else to w + d + 1; decimal comma when configured.
std::string FixedFormat(const Configuration& config, real x, int w, int d);

// Fixed format with d decimals and the width the short format would give.
std::string AutoWidthFormat(const Configuration& config, real x, int d);

// Short format of a tolerance value: budget 2 in metric mode, 3 in imperial mode.
std::string ToleranceFormat(const Configuration& config, real x);

// Axis labels: short format between 0.00001 and 10000, otherwise mantissa + "E" + exponent
// in steps of three (123456 -> 123.5E3).
std::string EngineeringFormat(const Configuration& config, real x);

// The reals of the spring data file: 7 decimals (shifted by "Dezimalstellen"), whole numbers
// below 1 in the short format; tiny non-zero values in exponent form so that they reload.
std::string LongRealFormat(const Configuration& config, real x);

// One signed deviation: "+0.2", "-0.1", or "" for zero. Lengths and forces are converted and
// written with budget 3 in imperial mode; everything else is written with budget 2 as it is.
std::string DeviationText(const Configuration& config, Quantity quantity, real deviation);
// A pair of deviations: "", " ± 0.2" (symmetric), "+0.2", "-0.1" or "+0.2/-0.1" (code page 850).
std::string DeviationText(const Configuration& config, Quantity quantity, real upper, real lower);

// Date by "Date Code": 1 dd.mm.yyyy, 2 mm/dd/yyyy, 3 yyyy/mm/dd, 4 dd/mm/yyyy, else yyyy/mm/dd.
std::string DateText(const Configuration& config, int year, int month, int day);
std::string TodayText(const Configuration& config);

// The text itself, or, when it would read back as 0 for a non-zero x, the shortest exponent
// form that reads back as x (few decimals must not turn a value into 0).
std::string NeverZero(const Configuration& config, real x, std::string text);

// A typed real: the first "," counts as decimal point; blanks around the number are ignored;
// anything that is not a finite decimal number gives 0.
real ParseReal(std::string_view text);
// A typed whole number (32 bits); anything else gives 0.
std::int32_t ParseInteger(std::string_view text);

// printf-style formatting in the "C" locale, whatever locale the process has set.
[[gnu::format(printf, 1, 2)]] std::string FormatC(const char* format, ...);

// While it lives, printf and strtod of this thread write and read numbers with a point,
// whatever locale the process has set (a window toolkit sets the user's). Allocates nothing.
class CNumericLocale {
  public:
    CNumericLocale();
    ~CNumericLocale();
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

  private:
    void* previous_; // the thread's locale_t before
};

} // namespace kora

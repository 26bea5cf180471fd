#include "strength/wire_tolerance.h"

#include "calc/session.h"

#include <cmath>
#include <limits>
#include <span>

namespace kora {
namespace {

constexpr real kNoLimit = std::numeric_limits<real>::infinity();

// DIN 2076 B (A) and C (B): each row holds d up to and including its bound; no lower limit.
struct Din2076Row {
    real dUpTo, tolB, tolC;
};
constexpr Din2076Row kDin2076[] = {
    {0.18L, 0.015L, 0.004L}, {0.34L, 0.015L, 0.008L}, {0.48L, 0.015L, 0.01L},
    {0.8L, 0.02L, 0.01L},    {1.4L, 0.025L, 0.015L},  {3.2L, 0.035L, 0.02L},
    {5.6L, 0.045L, 0.025L},  {8.5L, 0.06L, 0.035L},   {10.0L, 0.07L, 0.05L},
    {15.0L, 0.09L, 0.07L},   {17.0L, 0.12L, 0.08L},   {kNoLimit, 0.15L, 0.1L},
};

// DIN 2077 (C): tolerance = tol + perMm × d; above 65 mm it grows with d.
struct Din2077Row {
    real dUpTo, tol, perMm;
};
constexpr Din2077Row kDin2077[] = {
    {11.5L, 0.15L, 0}, {21.5L, 0.2L, 0}, {30.0L, 0.25L, 0},    {39.0L, 0.3L, 0},
    {50.0L, 0.4L, 0},  {65.0L, 0.5L, 0}, {kNoLimit, 0, 0.01L},
};

// EN 10218-2 classes T1..T5 and EN 10270-3 (E): each row holds d from its bound up to the
// next row's bound (excluded); the table ends at dMax.
struct FromRow {
    real dFrom, tol;
};
struct FromTable {
    std::span<const FromRow> rows;
    real dMax;
    bool dMaxIncluded;
    std::string_view message; // d outside the table
};

constexpr FromRow kT1[] = {
    {0.3L, 0.025L}, {0.52L, 0.03L}, {0.74L, 0.035L}, {1.01L, 0.04L},  {1.31L, 0.045L},
    {1.66L, 0.05L}, {2.05L, 0.06L}, {2.94L, 0.07L},  {4.01L, 0.08L},  {5.23L, 0.09L},
    {6.62L, 0.1L},  {8.17L, 0.12L}, {11.76L, 0.14L}, {16.01L, 0.16L}, {20.9L, 0.18L},
};
constexpr FromRow kT2[] = {
    {0.2L, 0.015L}, {0.31L, 0.02L}, {0.55L, 0.025L}, {0.86L, 0.03L},  {1.24L, 0.035L},
    {1.69L, 0.04L}, {2.2L, 0.045L}, {2.78L, 0.05L},  {3.43L, 0.06L},  {4.94L, 0.07L},
    {6.73L, 0.08L}, {8.78L, 0.09L}, {11.12L, 0.1L},  {13.72L, 0.12L}, {19.76L, 0.14L},
};
constexpr FromRow kT3[] = {
    {0.05L, 0.006L}, {0.12L, 0.008L}, {0.15L, 0.01L},  {0.23L, 0.012L}, {0.33L, 0.015L},
    {0.52L, 0.02L},  {0.91L, 0.025L}, {1.42L, 0.03L},  {2.05L, 0.035L}, {2.78L, 0.04L},
    {3.63L, 0.045L}, {4.6L, 0.05L},   {5.67L, 0.06L},  {8.17L, 0.07L},  {11.12L, 0.08L},
    {14.52L, 0.09L}, {18.37L, 0.1L},  {22.68L, 0.12L},
};
constexpr FromRow kT4[] = {
    {0.05L, 0.004L}, {0.072L, 0.005L}, {0.12L, 0.006L}, {0.17L, 0.008L}, {0.29L, 0.01L},
    {0.45L, 0.012L}, {0.65L, 0.015L},  {1.01L, 0.02L},  {1.78L, 0.025L}, {2.78L, 0.03L},
    {4.01L, 0.035L}, {5.45L, 0.04L},   {7.12L, 0.045L}, {9.01L, 0.05L},  {11.12L, 0.06L},
    {16.01L, 0.07L}, {21.77L, 0.08L},
};
constexpr FromRow kT5[] = {
    {0.05L, 0.003L}, {0.091L, 0.004L}, {0.17L, 0.005L}, {0.26L, 0.006L},  {0.37L, 0.008L},
    {0.65L, 0.01L},  {1.01L, 0.012L},  {1.45L, 0.015L}, {2.26L, 0.02L},   {4.01L, 0.025L},
    {6.26L, 0.03L},  {9.01L, 0.035L},  {12.26L, 0.04L}, {16.01L, 0.045L}, {20.26L, 0.05L},
};
constexpr FromRow kE[] = {
    {-kNoLimit, 0.005L}, {0.26L, 0.008L}, {0.65L, 0.01L}, {1.01L, 0.015L},
    {2.26L, 0.02L},      {4.01L, 0.025L}, {6.26L, 0.03L}, {9.01L, 0.035L},
};

// The T3 text also serves T5: the two tables share their range.
constexpr FromTable kTableT1{kT1, 25.0L, true, "Fehler : EN10218-2,T1: 0.3 < d < 25.0 !"};
constexpr FromTable kTableT2{kT2, 25.0L, true, "Fehler : EN10218-2,T2: 0.2 < d < 25.0 !"};
constexpr FromTable kTableT3{kT3, 25.0L, true, "Fehler : EN10218-3,T2: 0.05 < d < 25.0 !"};
constexpr FromTable kTableT4{kT4, 25.0L, true, "Fehler : EN10218-3,T4: 0.05 < d < 25.0 !"};
constexpr FromTable kTableT5{kT5, 25.0L, true, "Fehler : EN10218-3,T2: 0.05 < d < 25.0 !"};
constexpr FromTable kTableE{kE, 10.01L, false, "Fehler : EN10270-3: d < 10.0 !"};

real Din2076Tolerance(real d, bool gradeC) {
    for (const Din2076Row& row : kDin2076)
        if (d <= row.dUpTo) return gradeC ? row.tolC : row.tolB;
    return 0; // not a number
}

real Din2077Tolerance(real d) {
    for (const Din2077Row& row : kDin2077)
        if (d <= row.dUpTo) return std::isfinite(d) ? row.tol + row.perMm * d : 0;
    return 0;
}

real FromTableTolerance(Session& session, const FromTable& table, real d) {
    bool belowMax = table.dMaxIncluded ? d <= table.dMax : d < table.dMax;
    if (!(d >= table.rows.front().dFrom && belowMax)) {
        session.Message(table.message);
        return 0;
    }
    real tol = 0;
    for (const FromRow& row : table.rows)
        if (d >= row.dFrom) tol = row.tol;
    return tol;
}

// EN 10270-1 and -2 wire: fine wire holds T5, medium T4, thick T3.
const FromTable& En10270Table(real d) {
    if (d < 0.8L) return kTableT5;
    if (d <= 10.0L) return kTableT4;
    return kTableT3;
}

} // namespace

real WireDiameterTolerance(Session& session, word choice, real d) {
    switch (choice) {
    case 1:
        return Din2076Tolerance(d, false);
    case 2:
        return Din2076Tolerance(d, true);
    case 3:
        return Din2077Tolerance(d);
    case 4:
        return FromTableTolerance(session, kTableT1, d);
    case 5:
        return FromTableTolerance(session, kTableT2, d);
    case 6:
        return FromTableTolerance(session, kTableT3, d);
    case 7:
        return FromTableTolerance(session, kTableT4, d);
    case 8:
        return FromTableTolerance(session, kTableT5, d);
    case 9:
    case 10:
        return FromTableTolerance(session, En10270Table(d), d);
    case 11:
        return FromTableTolerance(session, kTableE, d);
    default:
        return 0;
    }
}

void SpringWireTolerance(Session& session) {
    SpringRecord& spring = session.spring;
    if (spring.wireTolGrade <= 11)
        spring.wireTol = WireDiameterTolerance(session, spring.wireTolGrade, spring.d);
}

namespace {

constexpr real kDin2076Series[] = {
    0.07L, 0.08L, 0.09L, 0.1L,  0.11L, 0.12L, 0.14L, 0.16L, 0.18L, 0.2L,  0.22L, 0.25L, 0.28L,
    0.3L,  0.32L, 0.34L, 0.36L, 0.38L, 0.4L,  0.43L, 0.45L, 0.48L, 0.5L,  0.53L, 0.56L, 0.6L,
    0.63L, 0.65L, 0.7L,  0.75L, 0.8L,  0.85L, 0.9L,  0.95L, 1.0L,  1.05L, 1.1L,  1.2L,  1.25L,
    1.3L,  1.4L,  1.5L,  1.6L,  1.7L,  1.8L,  1.9L,  2.0L,  2.1L,  2.25L, 2.4L,  2.5L,  2.6L,
    2.8L,  3.0L,  3.2L,  3.4L,  3.6L,  3.8L,  4.0L,  4.25L, 4.5L,  4.75L, 5.0L,  5.3L,  5.6L,
    6.0L,  6.3L,  6.5L,  7.0L,  7.5L,  8.0L,  8.5L,  9.0L,  9.5L,  10.0L, 10.5L, 11.0L, 12.0L,
    12.5L, 13.0L, 14.0L, 15.0L, 16.0L, 17.0L, 18.0L, 19.0L, 20.0L,
};
static_assert(std::size(kDin2076Series) == 87);

constexpr real kDin2077Series[] = {
    7.0L,  7.5L,  8.0L,  8.5L,  9.0L,  9.5L,  10.0L, 10.5L, 11.0L, 11.5L, 12.0L, 12.5L,
    13.0L, 13.5L, 14.0L, 14.5L, 15.0L, 15.5L, 16.0L, 16.5L, 17.0L, 17.5L, 18.0L, 18.5L,
    19.0L, 19.5L, 20.0L, 20.5L, 21.0L, 21.5L, 22.0L, 22.5L, 23.0L, 23.5L, 24.0L, 24.5L,
    25.0L, 25.5L, 26.0L, 26.5L, 27.0L, 27.5L, 28.0L, 28.5L, 29.0L, 29.5L, 30.0L, 31.0L,
    32.0L, 33.0L, 34.0L, 35.0L, 36.0L, 37.0L, 38.0L, 39.0L, 40.0L, 42.0L, 44.0L, 46.0L,
    48.0L, 50.0L, 52.0L, 54.0L, 56.0L, 58.0L, 60.0L, 65.0L, 70.0L, 75.0L, 80.0L,
};
static_assert(std::size(kDin2077Series) == 71);

constexpr std::string_view kNotDin2076 = "Drahtdurchmesser nicht nach DIN 2076 !";
constexpr std::string_view kNotDin2077 = "Drahtdurchmesser nicht nach DIN 2077 !";

} // namespace

std::span<const real> StandardWireDiameterSeries(word series) {
    if (series == kSeriesDin2077) return kDin2077Series;
    return kDin2076Series;
}

real StandardWireDiameter(Session& session, word series, int mode, real d) {
    bool din2077 = series == kSeriesDin2077;
    std::span<const real> values = StandardWireDiameterSeries(series);
    std::size_t found = 0;
    while (found < values.size() && !(values[found] >= d))
        ++found;
    if (found == values.size()) {
        session.Warning(din2077 ? kNotDin2077 : kNotDin2076);
        // A d that is no number cannot be kept: 0 lets the calculation stop on d <= 0.
        return std::isfinite(d) ? d : 0;
    }
    if (session.AbortFlag) return d;
    if (mode == -1) return values[found == 0 ? 0 : found - 1];
    if (mode == 2) return values[found + 1 < values.size() ? found + 1 : found];
    return values[found];
}

} // namespace kora

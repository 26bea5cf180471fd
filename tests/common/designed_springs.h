// Springs designed from a wished characteristic, built in code for the tests: the same steps
// as the design dialogs without the prompts. Each leaves a designed spring whose points agree
// with its free length; run the calculation afterwards.
#pragma once

#include "calc/session.h"
#include "engine/calculate.h"
#include "engine/design.h"

#include <array>

namespace kora::designed {

// The characteristic both springs are designed for: rates 10, 20 and 40 N/mm, closing at
// 50, 100 and 200 N. As F over s from the free length, and as F over L for L0 = 50.
struct WishedPoint {
    real s, L, F;
};
inline constexpr std::array<WishedPoint, 3> kWished = {
    {{5, 45, 50}, {7.5L, 42.5L, 100}, {10, 40, 200}}};
inline constexpr real kWishedL0 = 50;

// F,R-L rows on the three segments of the wished characteristic.
inline constexpr std::array<FrlPoint, 3> kWishedRows = {
    {{30, 47, 10}, {70, 44, 20}, {200, 40, 40}}};

// A cold-formed patented wire (Rm = 1980 - 740·log10 d), round, d = 3, Dm = 22.
inline void SpringWire(Session& session) {
    KORWST_Record& m = session.CurrentMaterial;
    m.Rm0 = 1980;
    m.d0 = 1;
    m.kRm = 740;
    m.G = 81500;
    m.E = 206000;
    m.dmin = 0.3;
    m.dmax = 20;
    m.Tmax = 120;
    SpringRecord& s = session.spring;
    s.materialKind = 0;
    s.G = m.G;
    s.E = m.E;
    s.d = 3;
    s.Dm = 22;
    s.loadType = 1;
}

// Working lengths at 40, 160 and 80 N on the wished line.
inline void WorkingLengthsOnWishedLine(SpringRecord& s) {
    s.L1 = s.L0 - 4;
    s.L2 = s.L0 - 9;
    s.Lx = s.L0 - 6.5L;
}

// F-s points 1..3 designed into sections; L of the points follows the calculated L0.
inline void DesignedFromPoints(Session& session) {
    SpringWire(session);
    SpringRecord& s = session.spring;
    s.charCoordinate = 1;
    s.charOrigin = 1;
    s.nchar = static_cast<std::int32_t>(kWished.size());
    for (std::size_t i = 0; i < kWished.size(); ++i) {
        s.points[i + 1] = CharacteristicPoint{};
        s.points[i + 1].s = kWished[i].s;
        s.points[i + 1].F = kWished[i].F;
    }
    DesignSections(session);
    CalculateSpring(session);
    WorkingLengthsOnWishedLine(s);
    AlignPointsWithFreeLength(s);
}

// F,R-L rows converted into points, designed, and the solid length moved to the length of the
// last row so that the free length becomes L1 + F1/R1 = 50.
inline void DesignedFromFrlRows(Session& session) {
    SpringWire(session);
    SpringRecord& s = session.spring;
    s.charOrigin = 3;
    s.nfrl = static_cast<std::int32_t>(kWishedRows.size());
    for (std::size_t i = 0; i < kWishedRows.size(); ++i)
        s.frl[i + 1] = kWishedRows[i];
    ConvertFrlToPoints(session);
    const real keptL0 = s.L0;
    DesignSections(session);
    WorkingLengthsOnWishedLine(s); // any lengths that let the calculation run through
    CalculateSpring(session);
    SpreadSolidLength(s, s.points[s.nchar].L);
    CalculateSpring(session);
    ExtendFreeLength(s, keptL0);
    AlignPointsWithFreeLength(s);
    WorkingLengthsOnWishedLine(s);
}

} // namespace kora::designed

// In-memory copies of one row of the material, relaxation and tempering tables.
// Texts are held in code page 850, as in the spring.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kora {

// One row of korwst.dbf, fields in column order 1..27. The fatigue data (columns 12..22)
// describe the 10^7-cycle diagram once not shot peened and once shot peened; each stress
// is given at fatigueD0 with its decrease per decade of d.
struct KORWST_Record {
    std::string name1, name2, name3, name4; // 1..4; name1 becomes the spring's materialName
    std::int32_t G = 0, E = 0;              // 5, 6
    double rho = 7.8;                       // 7
    std::int32_t Rm0 = 0;                   // 8: tensile strength at d0
    double d0 = 1.0;                        // 9
    std::int32_t RmMax = 0;                 // 10: cap of Rm; below 2 means no cap
    std::int32_t kRm = 0;                   // 11: decrease of Rm per decade of d
    double fatigueD0 = 1.0;                 // 12
    std::int32_t tauo0 = 0, kTauo = 0, tauh0 = 0, kTauh = 0; // 13..16, not shot peened
    double mSlope = 0;                                       // 17
    std::int32_t tauo0Peened = 0, kTauoPeened = 0, tauh0Peened = 0, kTauhPeened = 0; // 18..21
    double mSlopePeened = 0;                                                         // 22
    double dmin = 0, dmax = 0;       // 23, 24: diameter range of the data
    std::int32_t Tmax = 0;           // 25: highest operating temperature, °C
    std::string freeText;            // 26: kept, never interpreted
    std::int32_t materialNumber = 0; // 27: equals the record number
};

// One row of korwstr.dbf: four curves (T1,d1) (T1,d2) (T2,d1) (T2,d2), two points each.
struct RelaxationRecord {
    std::int32_t materialNumber = 0;
    std::string name;
    std::int32_t T1 = 0, T2 = 0;
    double d1 = 0, d2 = 0;
    struct Point {
        std::int32_t tau = 0;
        double relaxation = 0;
    };
    std::array<Point, 8> points{};
};

// One row of korwstt.dbf.
struct TemperingRecord {
    std::int32_t materialNumber = 0;
    std::string name;
    std::string line1, line2, line3, info;
};

} // namespace kora

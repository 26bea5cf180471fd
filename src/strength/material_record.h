// In-memory copies of one row of the material, relaxation and tempering tables.
// Texts are held in code page 850, as in the spring.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kora {

// One row of korwst.dbf, fields in column order 1..27.
struct KORWST_Record {
    std::string name1, name2, name3, name4;
    std::int32_t G = 0, E = 0;
    double rho = 7.8;
    std::int32_t Rm0 = 0;
    double d0 = 1.0;
    std::int32_t RmMax = 0, kRm = 0;
    double fatigueD0 = 1.0;
    std::int32_t tauo0 = 0, kTauo = 0, tauh0 = 0, kTauh = 0;  // not shot peened
    double mSlope = 0;
    std::int32_t tauo0Peened = 0, kTauoPeened = 0, tauh0Peened = 0, kTauhPeened = 0;
    double mSlopePeened = 0;
    double dmin = 0, dmax = 0;
    std::int32_t Tmax = 0;
    std::string freeText;
    std::int32_t materialNumber = 0;
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

}  // namespace kora

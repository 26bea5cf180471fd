// The current spring: every input and result of one progressive compression spring,
// with its coil sections and the two characteristic input tables (fixed slots, counts say
// how many rows are valid). Units: mm, N, N/mm, N/mm², Hz, N·mm, °C, kg/dm³, g.
#pragma once

#include "base/real.h"

#include <array>
#include <cstdint>
#include <string>

namespace kora {

using word = std::uint16_t;

inline constexpr int kMaxSections = 50;
inline constexpr int kSectionSlots = 52; // slot 0 and nsec+1 hold the dead-coil blocks
inline constexpr int kMaxPoints = 50;
inline constexpr int kPointSlots = 51; // slot 0 is the zero point

struct CoilSection {
    real L0i = 0; // unloaded length of the section
    real Lci = 0; // solid length, ni * h
    real spare = 0;
    real P = 0;   // pitch, L0i / ni
    real ni = 1;  // coils in the section
    real Ri = 0;  // rate of the section alone
    real Fci = 0; // force at which the section becomes solid

    bool operator==(const CoilSection&) const = default;
};

struct CharacteristicPoint {
    real F = 0;
    real s = 0;
    real L = 0;
    real R = 0; // rate between this and the previous point

    bool operator==(const CharacteristicPoint&) const = default;
};

struct FrlPoint {
    real F = 0;
    real L = 0;
    real R = 0;

    bool operator==(const FrlPoint&) const = default;
};

// One entry of the change documentation kept with the spring (CP850 texts).
struct AendRecord {
    std::string text;        // up to 20
    std::string date;        // up to 10
    std::string editor;      // up to 5
    std::string description; // any length, may hold CR

    bool operator==(const AendRecord&) const = default;
};

struct DrawingText {
    real x = 0, y = 0, h = 0, phi = 0;
    std::string text; // up to 80

    bool operator==(const DrawingText&) const = default;
};

// Title-block data of the production drawing.
struct DrawingInfo {
    std::string bearbDate, bearbName;
    std::string geprDate, geprName;
    std::string normDate, normName;
    std::string row4Date, row4Name;
    std::string ersatzFuer, ersetztDurch;
    int textCount = 0; // 0..8
    std::array<DrawingText, 8> texts{};

    bool operator==(const DrawingInfo&) const = default;
};

struct DocumentLink {
    std::string program;  // up to 50
    std::string document; // up to 50

    bool operator==(const DocumentLink&) const = default;
};

struct SpringRecord {
    // Main block, in the order of the record.
    real Lc = 0, L0 = 0, Lsec = 0;
    real L1 = 35, L2 = 25, Lx = 30;
    real Lcth = 0, Ln = 0;
    real sc = 0, s1 = 0, s2 = 0, sx = 0, sh = 0;
    real Sa = 0, sn = 0, sk = 0;
    real Fc = 0, F1 = 0, F2 = 0, Fx = 0, Fn = 0;
    real Rc = 0, R0 = 0, R1 = 0, R2 = 0, Rx = 0;
    real fec = 0, fe0 = 0, fe1 = 0, fe2 = 0, fex = 0;
    real taun = 0, tauc = 0;
    real Dm = 22, Di = 0, De = 0, w = 0;
    real n = 0, nt = 0;
    real Lview = 20;
    word tolGradeD = 2, tolGradeL0 = 2, tolGradeE1 = 2, tolGradeF1 = 2, tolGradeE2 = 2,
         tolGradeF2 = 2;
    real tolDUpper = 0, tolDLower = 0; // coil diameter deviations
    real tolL0Upper = 0, tolL0Lower = 0;
    real e1 = 0, e2 = 0; // perpendicularity, parallelism
    real tolF1Upper = 0, tolF1Lower = 0;
    real tolF2Upper = 0, tolF2Lower = 0;
    real ne = 2, nend1 = 1, nend2 = 1;
    real Lend = 0, Lend1 = 0, Lend2 = 0;
    word endType = 2;
    real nue = 1;
    real L = 0, m = 0;
    real W12 = 0, W0c = 0, W01 = 0, W02 = 0;
    std::int32_t ssteps = 250, wsteps = 100;
    real faktorRFc = 0.01L, seps = 0.001L;
    std::int32_t nsec = 0, nchar = 0, nfrl = 0;
    real taux = 0, taukx = 0;
    word diameterInput = 3;
    real deltaDe = 0;
    word charCoordinate = 1, definitionMode = 1, charOrigin = 0;

    std::array<CoilSection, kSectionSlots> sections{};
    std::array<CharacteristicPoint, kPointSlots> points{};
    std::array<FrlPoint, kPointSlots> frl{};

    // Companion values.
    real d = 3, h = 1.2L;
    word wireType = 1;
    real E = 210000, G = 80000, rho = 7.85L, Rm = 0, tauz = 0;
    real theta = 20, Gtheta = 80000;
    real k = 0;
    real tau1 = 0, tau2 = 0, tauk1 = 0, tauk2 = 0, taukh = 0, tauhz = 0;
    real S1 = 0, S2 = 0, Sh = 0;    // safety factors: tauz at F1 and F2, tauhz for the stroke
    real N = 0, Nmin = 0, Nmax = 0; // load cycles to fracture and the fatigue-tolerance band
    real wireTol = 0;
    word wireTolGrade = 1;
    word loadType = 2;      // 1 static, 2 dynamic
    real f = 1;             // load frequency
    word manufacturing = 1; // 1 cold formed, 2/3 hot formed
    word coilingDirection = 3;
    char shotPeened = 'N';
    real x = 0; // end-coil addend of the solid length
    std::string endText;
    std::string materialName;
    word materialKind = 0, materialGrade = 0, materialNumber = 3, wireSurface = 1;
    word warnMode = 1;
    std::string designation, drawingNumber, remark1, remark2, TitleLine;
    char statsSwitch = 'N';
    word statsGrade = 1;
    real sigmaFactor = 2.6L;
    // Statistical evaluation results (not saved): reject rate at sigmaFactor and the
    // deviations of statsGrade for this spring.
    real rejectAtSigma = 0, statDevDm = 0, statDevF1 = 0, statDevF2 = 0;
    real fatigueTolMin = 0, fatigueTolMax = 0;
    real rx2 = 0;
    real resolution3D = 2;

    // Manufacturing and production-drawing values stored with the spring.
    real tempFrom = 0, tempTo = 0;
    std::string surfaceProtection;
    word compensationMode = 6;
    std::string extraInfo1, extraInfo2;
    std::string drawingName2;
    bool showSettingLength = false, settingEqualsLc = false, showLdPm = false;
    bool showForces = true;         // "anzeigen F1, F2" on the production drawing
    int surfaceProtectionIndex = 0; // short code of surfaceProtection, 0 = typed freely (0..6)
    real settingLength = 0;
    word presetting = 3, deburring = 4, mandrelSleeve = 4;
    real edgeRadius = 0;
    real mandrelMax = 0, sleeveMin = 0; // results: largest mandrel, smallest sleeve

    // Change documentation.
    int changeCount = 0; // 0..25
    std::array<AendRecord, 25> changes{};
    DrawingInfo drawingInfo{};
    std::array<DocumentLink, 5> documents{};

    bool operator==(const SpringRecord&) const = default;
};

// Program-start values of every field, sections and point tables cleared (ni = 1).
void ResetSpringRecord(SpringRecord& spring);

} // namespace kora

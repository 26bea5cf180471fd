#include "calc/spring_fields.h"

#include <array>
#include <cstddef>

namespace kora {
namespace {

using S = SpringRecord;
using enum Quantity;

constexpr std::nullopt_t kNone = std::nullopt; // no unit: never converted

constexpr FileGroup kMain = FileGroup::TitleAndMain;
constexpr FileGroup kMaterial = FileGroup::MaterialAndManufacturing;
constexpr FileGroup kNumber = FileGroup::MaterialNumber;
constexpr FileGroup kSettings = FileGroup::DrawingAndSettings;
constexpr FileGroup kEnds = FileGroup::EndCoils;
constexpr FileGroup kTail = FileGroup::StatisticsAndTail;
constexpr FileGroup kExtra = FileGroup::ExtraValues;
constexpr FileGroup kCount = FileGroup::TableCount;

constexpr TextMember Text(std::string S::*member, std::size_t maxLength) {
    return {member, maxLength};
}
constexpr FlagMember Flag(char S::*member) {
    return {member};
}

// Every plain field, in the order of the record. Columns: name, member, unit quantity, file
// group, line of the file layout, turn in the number check, enumeration values.
// clang-format off
constexpr SpringField kFields[] = {
    // Main block.
    {"Lc",               &S::Lc,               Length},
    {"L0",               &S::L0,               Length,      kMain,     9},
    {"Lsec",             &S::Lsec,             Length},
    {"L1",               &S::L1,               Length,      kMain,     13,  4},
    {"L2",               &S::L2,               Length,      kMain,     14,  5},
    {"Lx",               &S::Lx,               Length,      kMaterial, 65,  6},
    {"Lcth",             &S::Lcth,             Length},
    {"Ln",               &S::Ln,               Length},
    {"sc",               &S::sc,               Length},
    {"s1",               &S::s1,               Length},
    {"s2",               &S::s2,               Length},
    {"sx",               &S::sx,               Length},
    {"sh",               &S::sh,               Length},
    {"Sa",               &S::Sa,               Length},
    {"sn",               &S::sn,               Length},
    {"sk",               &S::sk,               Length},
    {"Fc",               &S::Fc,               Force},
    {"F1",               &S::F1,               Force},
    {"F2",               &S::F2,               Force},
    {"Fx",               &S::Fx,               Force},
    {"Fn",               &S::Fn,               Force},
    {"Rc",               &S::Rc,               Rate},
    {"R0",               &S::R0,               Rate},
    {"R1",               &S::R1,               Rate},
    {"R2",               &S::R2,               Rate},
    {"Rx",               &S::Rx,               Rate},
    {"fec",              &S::fec,              kNone},
    {"fe0",              &S::fe0,              kNone},
    {"fe1",              &S::fe1,              kNone},
    {"fe2",              &S::fe2,              kNone},
    {"fex",              &S::fex,              kNone},
    {"taun",             &S::taun,             Stress},
    {"tauc",             &S::tauc,             Stress},
    {"Dm",               &S::Dm,               Length,      kMain,     10,  3},
    {"Di",               &S::Di,               Length},
    {"De",               &S::De,               Length},
    {"w",                &S::w,                kNone},
    {"n",                &S::n,                kNone,       kMain,     12},
    {"nt",               &S::nt,               kNone},
    {"Lview",            &S::Lview,            Length,      kMain,     15},
    {"tolGradeD",        &S::tolGradeD,        kNone,       kMaterial, 31,  0, Choices{1, 5}},
    {"tolGradeL0",       &S::tolGradeL0,       kNone,       kMaterial, 34,  0, Choices{1, 5}},
    {"tolGradeE1",       &S::tolGradeE1,       kNone,       kMaterial, 42,  0, Choices{1, 5}},
    {"tolGradeF1",       &S::tolGradeF1,       kNone,       kMaterial, 37,  0, Choices{1, 5}},
    {"tolGradeE2",       &S::tolGradeE2,       kNone,       kTail,     114, 0, Choices{1, 5}},
    {"tolGradeF2",       &S::tolGradeF2,       kNone,       kTail,     113, 0, Choices{1, 5}},
    {"tolDUpper",        &S::tolDUpper,        Length,      kMaterial, 32},
    {"tolDLower",        &S::tolDLower,        Length,      kMaterial, 33},
    {"tolL0Upper",       &S::tolL0Upper,       Length,      kMaterial, 35},
    {"tolL0Lower",       &S::tolL0Lower,       Length,      kMaterial, 36},
    {"e1",               &S::e1,               Length,      kMaterial, 43},
    {"e2",               &S::e2,               Length,      kMaterial, 44},
    {"tolF1Upper",       &S::tolF1Upper,       Force,       kMaterial, 38},
    {"tolF1Lower",       &S::tolF1Lower,       Force,       kMaterial, 39},
    {"tolF2Upper",       &S::tolF2Upper,       Force,       kMaterial, 40},
    {"tolF2Lower",       &S::tolF2Lower,       Force,       kMaterial, 41},
    {"ne",               &S::ne,               kNone,       kMaterial, 55},
    {"nend1",            &S::nend1,            kNone,       kMaterial, 53,  7},
    {"nend2",            &S::nend2,            kNone,       kMaterial, 54,  8},
    {"Lend",             &S::Lend,             Length},
    {"Lend1",            &S::Lend1,            Length},
    {"Lend2",            &S::Lend2,            Length},
    {"endType",          &S::endType,          kNone,       kMaterial, 47,  0, Choices{1, 4, true}},
    {"nue",              &S::nue,              kNone,       kMaterial, 48,  10},
    {"L",                &S::L,                Length},
    {"m",                &S::m,                kNone},
    {"W12",              &S::W12,              Work},
    {"W0c",              &S::W0c,              Work},
    {"W01",              &S::W01,              Work},
    {"W02",              &S::W02,              Work},
    {"ssteps",           &S::ssteps,           kNone,       kSettings, 93},
    {"wsteps",           &S::wsteps,           kNone,       kSettings, 91},
    {"faktorRFc",        &S::faktorRFc,        kNone,       kSettings, 92,  20},
    {"seps",             &S::seps,             kNone,       kSettings, 90,  18}, // mm, shown as typed
    {"nsec",             &S::nsec,             kNone,       kCount,    18},
    {"nchar",            &S::nchar,            kNone,       kCount,    83},
    {"nfrl",             &S::nfrl,             kNone,       kCount,    106},
    {"taux",             &S::taux,             Stress},
    {"taukx",            &S::taukx,            Stress},
    {"diameterInput",    &S::diameterInput,    kNone,       kExtra,    118, 0, Choices{1, 3}},
    {"deltaDe",          &S::deltaDe,          Length},
    {"charCoordinate",   &S::charCoordinate,   kNone,       kExtra,    120, 0, Choices{1, 2}},
    {"definitionMode",   &S::definitionMode,   kNone,       kExtra,    119, 0, Choices{1, 2}},
    {"charOrigin",       &S::charOrigin,       kNone,       kExtra,    121, 0, Choices{0, 3}},

    // Companion values.
    {"d",                &S::d,                Length,      kMain,     11,  1},
    {"h",                &S::h,                Length,      kSettings, 89,  2},
    {"wireType",         &S::wireType,         kNone,       kSettings, 88,  0, Choices{1, 6}},
    {"E",                &S::E,                Stress,      kMaterial, 23,  11},
    {"G",                &S::G,                Stress,      kMaterial, 24,  12},
    {"rho",              &S::rho,              Density,     kMaterial, 25,  13},
    {"Rm",               &S::Rm,               Stress,      kMaterial, 26,  14},
    {"tauz",             &S::tauz,             Stress,      kMaterial, 27,  15},
    {"theta",            &S::theta,            Temperature, kMaterial, 52,  16},
    {"Gtheta",           &S::Gtheta,           Stress},
    {"k",                &S::k,                kNone},
    {"tau1",             &S::tau1,             Stress},
    {"tau2",             &S::tau2,             Stress},
    {"tauk1",            &S::tauk1,            Stress},
    {"tauk2",            &S::tauk2,            Stress},
    {"taukh",            &S::taukh,            Stress},
    {"tauhz",            &S::tauhz,            Stress},
    {"S1",               &S::S1,               kNone},
    {"S2",               &S::S2,               kNone},
    {"Sh",               &S::Sh,               kNone},
    {"N",                &S::N,                kNone},
    {"Nmin",             &S::Nmin,             kNone},
    {"Nmax",             &S::Nmax,             kNone},
    {"wireTol",          &S::wireTol,          Length,      kMaterial, 30,  19},
    {"wireTolGrade",     &S::wireTolGrade,     kNone,       kMaterial, 29,  0, Choices{1, 12}},
    {"loadType",         &S::loadType,         kNone,       kMaterial, 45,  0, Choices{1, 2}},
    {"f",                &S::f,                kNone,       kMaterial, 49,  17},
    {"manufacturing",    &S::manufacturing,    kNone,       kMaterial, 46,  0, Choices{1, 3}},
    {"coilingDirection", &S::coilingDirection, kNone,       kMaterial, 56,  0, Choices{1, 3}},
    {"shotPeened",       Flag(&S::shotPeened), kNone,       kMaterial, 51},
    {"x",                &S::x,                kNone,       kEnds,     102, 9},
    {"endText",          Text(&S::endText, 40),           kNone, kEnds,     103},
    {"materialName",     Text(&S::materialName, 50),      kNone, kMaterial, 22},
    {"materialKind",     &S::materialKind,     kNone,       kMaterial, 21,  0, Choices{0, 11}},
    {"materialGrade",    &S::materialGrade,    kNone,       kMaterial, 28},
    {"materialNumber",   &S::materialNumber,   kNone,       kNumber,   80},
    {"wireSurface",      &S::wireSurface,      kNone,       kMaterial, 50,  0, Choices{1, 4}},
    {"warnMode",         &S::warnMode,         kNone,       kSettings, 94,  0, Choices{1, 2}},
    {"designation",      Text(&S::designation, 25),       kNone, kMaterial, 63},
    {"drawingNumber",    Text(&S::drawingNumber, 18),     kNone, kMaterial, 64},
    {"remark1",          Text(&S::remark1, 65),           kNone, kMain,     7},
    {"remark2",          Text(&S::remark2, 65),           kNone, kMain,     8},
    {"TitleLine",        Text(&S::TitleLine, 65),         kNone, kMain,     6},
    {"statsSwitch",      Flag(&S::statsSwitch), kNone,      kTail,     109},
    {"statsGrade",       &S::statsGrade,       kNone,       kTail,     110, 0, Choices{1, 4}},
    {"sigmaFactor",      &S::sigmaFactor,      kNone,       kTail,     111},
    {"rejectAtSigma",    &S::rejectAtSigma,    kNone},
    {"statDevDm",        &S::statDevDm,        Length},
    {"statDevF1",        &S::statDevF1,        Force},
    {"statDevF2",        &S::statDevF2,        Force},
    {"fatigueTolMin",    &S::fatigueTolMin,    kNone,       kTail,     115},
    {"fatigueTolMax",    &S::fatigueTolMax,    kNone,       kTail,     116},
    {"rx2",              &S::rx2,              kNone},
    {"resolution3D",     &S::resolution3D,     Angle},

    // Manufacturing and production-drawing values.
    {"tempFrom",         &S::tempFrom,         Temperature, kMaterial, 57},
    {"tempTo",           &S::tempTo,           Temperature, kMaterial, 58},
    {"surfaceProtection", Text(&S::surfaceProtection, 45), kNone, kMaterial, 59},
    {"compensationMode", &S::compensationMode, kNone,       kMaterial, 60,  0, Choices{1, 6}},
    {"extraInfo1",       Text(&S::extraInfo1, 100),       kNone, kMaterial, 61},
    {"extraInfo2",       Text(&S::extraInfo2, 100),       kNone, kMaterial, 62},
    {"drawingName2",     Text(&S::drawingName2, 30),      kNone, kSettings, 86},
    {"showSettingLength", &S::showSettingLength, kNone,     kSettings, 87},
    {"settingEqualsLc",  &S::settingEqualsLc,  kNone,       kSettings, 95},
    {"showLdPm",         &S::showLdPm,         kNone,       kTail,     112},
    {"showForces",       &S::showForces,       kNone,       kExtra,    122},
    {"surfaceProtectionIndex", &S::surfaceProtectionIndex, kNone, kExtra, 123, 0, Choices{0, 6}},
    {"settingLength",    &S::settingLength,    Length,      kSettings, 96},
    {"presetting",       &S::presetting,       kNone,       kSettings, 97,  0, Choices{1, 3}},
    {"deburring",        &S::deburring,        kNone,       kSettings, 98,  0, Choices{1, 5}},
    {"mandrelSleeve",    &S::mandrelSleeve,    kNone,       kSettings, 99,  0, Choices{1, 4}},
    {"edgeRadius",       &S::edgeRadius,       Length,      kSettings, 100},
    {"mandrelMax",       &S::mandrelMax,       Length},
    {"sleeveMin",        &S::sleeveMin,        Length},

    // Change documentation.
    {"changeCount",      &S::changeCount,      kNone,       kCount,    67},
};
// clang-format on

// ---- The table's own rules, checked by the compiler ----

constexpr bool NamesAreUnique() {
    for (std::size_t i = 0; i < std::size(kFields); ++i)
        for (std::size_t j = i + 1; j < std::size(kFields); ++j)
            if (kFields[i].name == kFields[j].name) return false;
    return true;
}
static_assert(NamesAreUnique());

// A stored field has its line, an unstored one has none; enumerations are whole numbers;
// the number check reads reals.
constexpr bool RowsAreConsistent() {
    for (const SpringField& f : kFields) {
        if ((f.group == FileGroup::None) != (f.line == 0)) return false;
        const FieldKind kind = KindOf(f);
        if (f.choices && kind != FieldKind::Word && kind != FieldKind::Int32) return false;
        if (f.finiteCheck != 0 && kind != FieldKind::Real) return false;
    }
    return true;
}
static_assert(RowsAreConsistent());

// ---- Orders derived from the table ----

template <typename Keep> constexpr std::size_t CountRows(Keep keep) {
    std::size_t count = 0;
    for (const SpringField& f : kFields)
        if (keep(f)) ++count;
    return count;
}

// The rows kept, sorted by a key; rows of the same key stay in the order of the record.
template <std::size_t N, typename Keep, typename Key>
constexpr std::array<const SpringField*, N> RowsSortedBy(Keep keep, Key key) {
    std::array<const SpringField*, N> rows{};
    std::size_t next = 0;
    for (const SpringField& f : kFields) {
        if (!keep(f)) continue;
        std::size_t i = next++;
        for (; i > 0 && key(*rows[i - 1]) > key(f); --i)
            rows[i] = rows[i - 1];
        rows[i] = &f;
    }
    return rows;
}

template <FileGroup group> constexpr auto GroupRows() {
    constexpr auto inGroup = [](const SpringField& f) { return f.group == group; };
    constexpr auto line = [](const SpringField& f) { return f.line; };
    return RowsSortedBy<CountRows(inGroup)>(inGroup, line);
}

constexpr auto kTitleAndMainRows = GroupRows<FileGroup::TitleAndMain>();
constexpr auto kMaterialRows = GroupRows<FileGroup::MaterialAndManufacturing>();
constexpr auto kMaterialNumberRows = GroupRows<FileGroup::MaterialNumber>();
constexpr auto kSettingsRows = GroupRows<FileGroup::DrawingAndSettings>();
constexpr auto kEndCoilRows = GroupRows<FileGroup::EndCoils>();
constexpr auto kTailRows = GroupRows<FileGroup::StatisticsAndTail>();
constexpr auto kExtraRows = GroupRows<FileGroup::ExtraValues>();
constexpr auto kCountRows = GroupRows<FileGroup::TableCount>();
constexpr auto kUnstoredRows = GroupRows<FileGroup::None>();

// The lines of a group follow each other without a gap, so a field cannot be left out of the
// middle of one, nor two fields share a line.
template <std::size_t N>
constexpr bool LinesFollowEachOther(const std::array<const SpringField*, N>& rows) {
    for (std::size_t i = 1; i < N; ++i)
        if (rows[i]->line != rows[i - 1]->line + 1) return false;
    return true;
}
static_assert(LinesFollowEachOther(kTitleAndMainRows));
static_assert(LinesFollowEachOther(kMaterialRows));
static_assert(LinesFollowEachOther(kSettingsRows));
static_assert(LinesFollowEachOther(kEndCoilRows));
static_assert(LinesFollowEachOther(kTailRows));
static_assert(LinesFollowEachOther(kExtraRows));

constexpr auto kFiniteRows = [] {
    constexpr auto checked = [](const SpringField& f) { return f.finiteCheck != 0; };
    constexpr auto turn = [](const SpringField& f) { return f.finiteCheck; };
    return RowsSortedBy<CountRows(checked)>(checked, turn);
}();

constexpr bool TurnsCountFromOne() {
    for (std::size_t i = 0; i < kFiniteRows.size(); ++i)
        if (kFiniteRows[i]->finiteCheck != static_cast<int>(i) + 1) return false;
    return true;
}
static_assert(TurnsCountFromOne());

} // namespace

std::span<const SpringField> SpringFields() {
    return kFields;
}

std::span<const SpringField* const> FieldsOfGroup(FileGroup group) {
    switch (group) {
    case FileGroup::None:
        return kUnstoredRows;
    case FileGroup::TitleAndMain:
        return kTitleAndMainRows;
    case FileGroup::MaterialAndManufacturing:
        return kMaterialRows;
    case FileGroup::MaterialNumber:
        return kMaterialNumberRows;
    case FileGroup::DrawingAndSettings:
        return kSettingsRows;
    case FileGroup::EndCoils:
        return kEndCoilRows;
    case FileGroup::StatisticsAndTail:
        return kTailRows;
    case FileGroup::ExtraValues:
        return kExtraRows;
    case FileGroup::TableCount:
        return kCountRows;
    }
    return {};
}

std::span<const SpringField* const> FiniteInputs() {
    return kFiniteRows;
}

const SpringField* FindSpringField(std::string_view name) {
    for (const SpringField& f : kFields)
        if (f.name == name) return &f;
    return nullptr;
}

} // namespace kora

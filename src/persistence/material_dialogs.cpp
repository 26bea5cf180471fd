#include "persistence/material_dialogs.h"

#include "base/numformat.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "persistence/material_table_texts.h"
#include "persistence/material_tables.h"
#include "strength/material.h"
#include "strength/material_texts.h"
#include "strength/wire_tolerance.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace kora {
namespace t = table_text;

namespace {

constexpr std::size_t kNameLength = 50;
constexpr std::size_t kName2Length = 30;
constexpr std::size_t kShortNameLength = 20;
constexpr int kNumberColumn = 27;
constexpr word kStandardNumbers = 24; // rows 1..24 belong to the standard grades

struct Range {
    real min, max;
};
constexpr Range kModulusRange{10, 1e8L};
constexpr Range kDensityRange{0.1L, 100};
constexpr Range kTypedStressRange{1e-8L, 10000};
constexpr Range kDiameterRange{0.01L, 100};
constexpr Range kStrengthRange{1, 10000};
constexpr Range kStressRange{0, 10000};
constexpr Range kLimitRange{0, 1000};
constexpr Range kWireTolRange{0, 100};
constexpr real kPresetDx = 5;
constexpr real kPresetRmx = 500;
constexpr real kTauoShare = 0.56L; // presets of the permissible stresses from Rm
constexpr real kTauhShare = 0.3L;

bool Ask(Session& session, std::string_view prompt, real& value, Range range) {
    return InputReal(session, prompt, value, range.max, range.min);
}

std::string Short(const Session& session, real x) {
    return ShortFormat(session.config, x);
}

std::string AtDiameter(const Session& session, std::string_view head, real d,
                       std::string_view tail) {
    return std::string(head) + Short(session, d) + std::string(tail);
}

// A second diameter: equal to d0 it would leave no decade for the decrease, so it is refused.
bool AskSecondDiameter(Session& session, real& dx, real d0) {
    for (;;) {
        if (!Ask(session, t::kDx, dx, kDiameterRange)) return false;
        if (dx != d0) return true;
        ShowError(session, t::kDxEqualsD0);
    }
}

// Decrease per decade of d between the values at d0 and at dx; 0 unless all three are given.
real DecreasePerDecade(real atD0, real atDx, real d0, real dx) {
    if (d0 == 0 || atD0 == 0 || atDx == 0) return 0;
    return (atD0 - atDx) / std::log10(dx / d0);
}

// The next free material number: after the record count and after every number in use.
std::int32_t NextMaterialNumber(DbfTable& table) {
    std::int32_t largest = static_cast<std::int32_t>(table.RecordCount());
    for (long n = 1; n <= table.RecordCount(); ++n) {
        if (!table.GoRecord(n)) break;
        largest = std::max(largest, TableWhole(table, kNumberColumn));
    }
    return largest + 1;
}

std::vector<std::string> Items(auto&& texts) {
    return std::vector<std::string>(std::begin(texts), std::end(texts));
}

bool Cancelled(Session& session, const SpringMaterialState& before) {
    before.Restore(session);
    session.AbortFlag = true;
    return false;
}

} // namespace

void TakeTypedMaterial(Session& session) {
    const SpringRecord& s = session.spring;
    ResetCurrentMaterial(session);
    KORWST_Record& m = session.CurrentMaterial;
    m.name1 = s.materialName;
    m.G = RoundedWhole(s.G);
    m.E = RoundedWhole(s.E);
    m.rho = static_cast<double>(s.rho);
    m.Rm0 = RoundedWhole(s.Rm);
}

bool EnterOtherMaterial(Session& session, int mode) {
    SpringRecord& s = session.spring;
    std::string name = s.materialName;
    real E = s.E, G = s.G, rho = s.rho, Rm = s.Rm, tauz = s.tauz;
    bool confirmed = InputText(session, t::kMaterialName, kNameLength, name) &&
                     Ask(session, t::kE, E, kModulusRange) &&
                     Ask(session, t::kG, G, kModulusRange) &&
                     Ask(session, t::kRho, rho, kDensityRange);
    if (confirmed && mode != 2)
        confirmed = Ask(session, t::kRm, Rm, kTypedStressRange) &&
                    Ask(session, t::kTauz, tauz, kTypedStressRange);
    if (!confirmed) return false; // the spring keeps its material, also its kind
    s.materialKind = kOtherMaterialKind;
    s.materialGrade = 0;
    s.materialName = name;
    s.E = E;
    s.G = G;
    s.rho = rho;
    s.Rm = Rm;
    s.tauz = tauz;
    TakeTypedMaterial(session);
    return true;
}

bool EnterNewMaterial(Session& session) {
    const SpringMaterialState before = SpringMaterialState::Take(session);
    const KORWST_Record start = session.CurrentMaterial; // presets of the row's own prompts
    if (!EnterOtherMaterial(session, 2)) return Cancelled(session, before);

    std::string name2 = start.name2, name3 = start.name3, name4 = start.name4;
    real d0 = start.d0, Rm0 = start.Rm0, dx = kPresetDx, Rmx = kPresetRmx;
    real RmMax = start.RmMax, dmin = start.dmin, dmax = start.dmax, Tmax = start.Tmax;
    if (!InputText(session, t::kName2, kName2Length, name2) ||
        !InputText(session, t::kName3, kShortNameLength, name3) ||
        !InputText(session, t::kName4, kShortNameLength, name4) ||
        !Ask(session, t::kD0, d0, kDiameterRange) ||
        !Ask(session, AtDiameter(session, t::kRm0Head, d0, t::kMmStressTail), Rm0,
             kStrengthRange) ||
        !AskSecondDiameter(session, dx, d0) ||
        !Ask(session, AtDiameter(session, t::kRmxHead, dx, t::kMmStressTail), Rmx,
             kStrengthRange) ||
        !Ask(session, t::kRmMax, RmMax, kStressRange) ||
        !Ask(session, t::kDmin, dmin, kLimitRange) ||
        !Ask(session, t::kDmax, dmax, {dmin, kLimitRange.max}) ||
        !Ask(session, t::kTmax, Tmax, kLimitRange))
        return Cancelled(session, before);

    real tauo0 = kTauoShare * Rm0;
    real dx2 = dx;
    if (!Ask(session, AtDiameter(session, t::kTauo0Head, d0, t::kMmStressTail), tauo0,
             kStressRange) ||
        !AskSecondDiameter(session, dx2, d0))
        return Cancelled(session, before);
    real tauox = kTauoShare * Rmx, tauh0 = kTauhShare * Rm0, tauhx = kTauhShare * Rmx;
    if (!Ask(session, AtDiameter(session, t::kTauoxHead, dx2, t::kMmStressTail), tauox,
             kStressRange) ||
        !Ask(session, AtDiameter(session, t::kTauh0Head, d0, t::kTauh0Tail), tauh0, kStressRange) ||
        !Ask(session, AtDiameter(session, t::kTauhxHead, dx2, t::kMmStressTail), tauhx,
             kStressRange))
        return Cancelled(session, before);
    real tauuLim = 4.0L / 3.0L * (tauo0 - tauh0);
    if (!Ask(session, AtDiameter(session, t::kTauuLimHead, d0, t::kMmStressTail), tauuLim,
             kStressRange))
        return Cancelled(session, before);

    DbfTable table(session);
    if (!table.OpenTable(t::kKorwst)) {
        before.Restore(session);
        session.Message(t::kKorwstError);
        session.AbortFlag = true;
        return false;
    }
    const std::int32_t number = NextMaterialNumber(table);
    const SpringRecord& s = session.spring;
    ResetCurrentMaterial(session);
    KORWST_Record& m = session.CurrentMaterial;
    m.name1 = s.materialName;
    m.G = RoundedWhole(s.G);
    m.E = RoundedWhole(s.E);
    m.rho = static_cast<double>(s.rho);
    m.name2 = name2;
    m.name3 = name3;
    m.name4 = name4;
    m.Rm0 = RoundedWhole(Rm0);
    m.d0 = static_cast<double>(d0);
    m.RmMax = RoundedWhole(RmMax);
    m.kRm = RoundedWhole(DecreasePerDecade(Rm0, Rmx, d0, dx));
    m.fatigueD0 = static_cast<double>(d0);
    m.tauo0 = RoundedWhole(tauo0);
    m.kTauo = RoundedWhole(DecreasePerDecade(tauo0, tauox, d0, dx2));
    m.tauh0 = RoundedWhole(tauh0);
    m.kTauh = RoundedWhole(DecreasePerDecade(tauh0, tauhx, d0, dx2));
    m.mSlope = tauuLim > 0 ? static_cast<double>((tauo0 - tauh0) / tauuLim) : 0;
    m.dmin = static_cast<double>(dmin);
    m.dmax = static_cast<double>(dmax);
    m.Tmax = RoundedWhole(Tmax);
    m.materialNumber = number;

    table.BlankRecord();
    bool written = WriteMaterialRow(session, table) && table.AppendRecord();
    written = table.CloseTable() && written;
    if (!written) {
        before.Restore(session);
        session.AbortFlag = true;
        return false;
    }
    return true;
}

bool ChooseStandardGrade(Session& session) {
    SpringRecord& s = session.spring;
    int type = 1, presetGrade = 1;
    if (s.materialNumber >= 1 && s.materialNumber <= kStandardNumbers) {
        MaterialType known = MaterialTypeOf(session, s.materialNumber);
        type = known.type;
        presetGrade = known.grade;
    }
    const int presetType = type;
    std::vector<std::string> types;
    for (const StandardGrade& g : StandardGradeList)
        types.emplace_back(g.entry);
    types.emplace_back(text::kOtherMaterials);
    if (!ChooseItem(session, text::kChooseGradePrompt, types, type)) return false;
    if (type == kOtherMaterialKind) return EnterOtherMaterial(session, 0);

    const StandardGrade& chosen = StandardGradeList[static_cast<std::size_t>(type - 1)];
    int grade = 0;
    if (!chosen.grades.empty()) {
        grade = type == presetType ? presetGrade : 1;
        if (!ChooseItem(session, chosen.gradePrompt, Items(chosen.grades), grade)) return false;
    }
    s.materialName = chosen.entry;
    s.materialKind = static_cast<word>(type);
    s.materialGrade = static_cast<word>(grade);
    const word number = MaterialNumberOf(session, s.materialKind, s.materialGrade);
    s.materialNumber = number;
    if (!FindMaterial(session, number)) session.Message(MaterialNotFoundMessage(number));
    return true;
}

bool ChooseWireTolerance(Session& session) {
    SpringRecord& s = session.spring;
    int choice = s.wireTolGrade;
    if (!ChooseItem(session, t::kChooseWireTolerance, Items(kWireTolChoiceShortNames), choice))
        return false;
    if (choice == kWireTolTyped) {
        real tolerance = s.wireTol;
        if (!Ask(session, t::kTypedWireTolerance, tolerance, kWireTolRange)) return false;
        s.wireTol = tolerance;
    }
    s.wireTolGrade = static_cast<word>(choice);
    return true;
}

bool ChooseMaterial(Session& session, TableView* view) {
    std::vector<std::string> sources = Items(t::kSourceItems);
    sources.emplace_back(text::kOtherMaterials);
    int source = t::kSourcePreset;
    if (!ChooseItem(session, text::kChooseGradePrompt, sources, source)) return false;
    const SpringMaterialState before = SpringMaterialState::Take(session);
    bool chosen = false;
    switch (source) {
    case 1:
    case 3:
        chosen = BrowseMaterials(session, source, view);
        if (chosen) ApplyMaterial(session);
        break;
    case 2:
        chosen = ChooseStandardGrade(session);
        break;
    default:
        chosen = EnterOtherMaterial(session, 0);
        break;
    }
    if (!chosen || !ChooseWireTolerance(session)) return Cancelled(session, before);
    return true;
}

} // namespace kora

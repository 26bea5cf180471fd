#include "persistence/material_tables.h"

#include "base/codepage.h"
#include "base/numformat.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "persistence/material_dialogs.h"
#include "persistence/material_table_texts.h"
#include "strength/material.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace kora {
namespace t = table_text;

namespace {

constexpr int kNumberColumn = 27;
constexpr std::size_t kMaterialNameLength = 50;
constexpr std::size_t kKeyWidth = 9;

// One column of korwst.dbf and the field of KORWST_Record it fills; exactly one member is set.
struct MaterialColumn {
    int column;
    std::string KORWST_Record::*text;
    std::int32_t KORWST_Record::*whole;
    double KORWST_Record::*decimal;
};
using R = KORWST_Record;
constexpr MaterialColumn kMaterialColumns[] = {
    {1, &R::name1, nullptr, nullptr},
    {2, &R::name2, nullptr, nullptr},
    {3, &R::name3, nullptr, nullptr},
    {4, &R::name4, nullptr, nullptr},
    {5, nullptr, &R::G, nullptr},
    {6, nullptr, &R::E, nullptr},
    {7, nullptr, nullptr, &R::rho},
    {8, nullptr, &R::Rm0, nullptr},
    {9, nullptr, nullptr, &R::d0},
    {10, nullptr, &R::RmMax, nullptr},
    {11, nullptr, &R::kRm, nullptr},
    {12, nullptr, nullptr, &R::fatigueD0},
    {13, nullptr, &R::tauo0, nullptr},
    {14, nullptr, &R::kTauo, nullptr},
    {15, nullptr, &R::tauh0, nullptr},
    {16, nullptr, &R::kTauh, nullptr},
    {17, nullptr, nullptr, &R::mSlope},
    {18, nullptr, &R::tauo0Peened, nullptr},
    {19, nullptr, &R::kTauoPeened, nullptr},
    {20, nullptr, &R::tauh0Peened, nullptr},
    {21, nullptr, &R::kTauhPeened, nullptr},
    {22, nullptr, nullptr, &R::mSlopePeened},
    {23, nullptr, nullptr, &R::dmin},
    {24, nullptr, nullptr, &R::dmax},
    {25, nullptr, &R::Tmax, nullptr},
    {26, &R::freeText, nullptr, nullptr},
    {27, nullptr, &R::materialNumber, nullptr},
};

bool OpenMaterialTable(Session& session, DbfTable& table) {
    if (table.OpenTable(t::kKorwst)) return true;
    session.Message(t::kKorwstError);
    return false;
}

// The row whose column 27 holds the number; else record `number` when there is one.
void GoMaterialRow(DbfTable& table, long number) {
    for (long n = 1; n <= table.RecordCount(); ++n) {
        if (!table.GoRecord(n)) break;
        if (TableWhole(table, kNumberColumn) == number) return;
    }
    if (number >= 1 && number <= table.RecordCount()) table.GoRecord(number);
}

} // namespace

std::int32_t RoundedWhole(real value) {
    if (!std::isfinite(value)) return 0;
    constexpr real kLow = std::numeric_limits<std::int32_t>::min();
    constexpr real kHigh = std::numeric_limits<std::int32_t>::max();
    if (value <= kLow) return std::numeric_limits<std::int32_t>::min();
    if (value >= kHigh) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::nearbyint(value)); // halves to the even neighbour
}

// Column 27 rather than the record number: the two part once the table has been packed, and
// every lookup keys on column 27.
std::int32_t MaterialNumberOfRow(const DbfTable& table) {
    std::int32_t number = TableWhole(table, kNumberColumn);
    return number > 0 ? number : static_cast<std::int32_t>(table.RecordNumber());
}

std::string MaterialNotFoundMessage(long number) {
    return std::string(t::kNotFoundHead) + MaterialNotFoundBoxText(number);
}

std::string MaterialNotFoundBoxText(long number) {
    return std::to_string(number) + std::string(t::kNotFoundTail);
}

std::int32_t WholeNumberOf(std::string_view text) {
    return RoundedWhole(ParseReal(text));
}

std::string TableText(const DbfTable& table, int column) {
    std::string text = Utf8ToCp850(table.ColumnText(column));
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::int32_t TableWhole(const DbfTable& table, int column) {
    return WholeNumberOf(table.ColumnText(column));
}

double TableDecimal(const DbfTable& table, int column) {
    return static_cast<double>(ParseReal(table.ColumnText(column)));
}

bool PutTableText(DbfTable& table, int column, std::string_view cp850) {
    return table.SetColumnText(column, Cp850ToUtf8(cp850));
}

bool OpenNumberKeyedTable(DbfTable& table, std::string_view name) {
    if (!table.OpenTable(name)) return false;
    table.BuildIndex(table.ColumnName(1), name);
    return true;
}

std::string MaterialKey(long number) {
    char key[32];
    std::snprintf(key, sizeof key, "%*ld", static_cast<int>(kKeyWidth), number);
    return key;
}

void ReadMaterialRow(Session& session, const DbfTable& table) {
    if (session.AbortFlag) return;
    KORWST_Record& m = session.CurrentMaterial;
    for (const MaterialColumn& c : kMaterialColumns) {
        if (c.text) m.*c.text = TableText(table, c.column);
        if (c.whole) m.*c.whole = TableWhole(table, c.column);
        if (c.decimal) m.*c.decimal = TableDecimal(table, c.column);
    }
}

bool WriteMaterialRow(Session& session, DbfTable& table) {
    if (session.AbortFlag) return false;
    const KORWST_Record& m = session.CurrentMaterial;
    bool ok = true;
    for (const MaterialColumn& c : kMaterialColumns) {
        if (c.text) ok = PutTableText(table, c.column, m.*c.text) && ok;
        if (c.whole) ok = table.SetColumnInteger(c.column, m.*c.whole) && ok;
        if (c.decimal) ok = table.SetColumnReal(c.column, m.*c.decimal) && ok;
    }
    return ok;
}

void ApplyMaterial(Session& session) {
    SpringRecord& s = session.spring;
    const KORWST_Record& m = session.CurrentMaterial;
    s.materialKind = 0;
    s.materialGrade = 0;
    s.materialName = m.name1.substr(0, kMaterialNameLength);
    s.G = m.G;
    s.E = m.E;
    s.rho = m.rho;
}

namespace {

enum class Lookup { Found, NotFound, TableError };

Lookup LookUpMaterial(Session& session, long materialNumber) {
    session.AbortFlag = false;
    DbfTable table(session);
    if (!OpenMaterialTable(session, table)) return Lookup::TableError;
    table.BuildIndex(table.ColumnName(kNumberColumn), t::kKorwst);
    bool found = table.HasIndex() && table.FindKey(MaterialKey(materialNumber));
    if (found) {
        ReadMaterialRow(session, table);
        ApplyMaterial(session);
    }
    table.CloseTable();
    return found ? Lookup::Found : Lookup::NotFound;
}

} // namespace

bool FindMaterial(Session& session, long materialNumber) {
    return LookUpMaterial(session, materialNumber) == Lookup::Found;
}

bool BrowseMaterials(Session& session, int mode, TableView* view) {
    if (mode == 0) {
        bool add = false;
        if (!AskYesNo(session, t::kAskNewMaterial, add)) return false;
        if (add && !EnterNewMaterial(session)) return false;
    }
    DbfTable table(session);
    if (!OpenMaterialTable(session, table)) {
        session.AbortFlag = true;
        return false;
    }
    table.SetBrowseTitle(t::kTitleMaterial, t::kCaptionKorwst);
    const bool picking = mode == 1 || mode == 3;
    const long number = session.spring.materialNumber;
    if (picking && number != 0) {
        table.BuildIndex(table.ColumnName(1), t::kKorwst); // listed in order of the names
        GoMaterialRow(table, number);
    }
    if (!BrowseTable(table, mode, view)) {
        table.CloseTable();
        return false;
    }
    if (picking) session.spring.materialNumber = static_cast<word>(MaterialNumberOfRow(table));
    ReadMaterialRow(session, table);
    table.CloseTable();
    return true;
}

std::optional<std::vector<std::string>> MaterialListLines(Session& session) {
    DbfTable table(session);
    if (!table.OpenTable(t::kKorwst)) return std::nullopt;
    table.BuildIndex(table.ColumnName(kNumberColumn), t::kKorwst);
    std::vector<std::string> lines;
    for (table.FirstRecord(); !table.AtEnd(); table.SkipRecords(1)) {
        std::string line = Utf8ToCp850(table.ColumnText(kNumberColumn));
        line.append(t::kListSeparator);
        line.append(TableText(table, 1)).append(" ");
        line.append(TableText(table, 2)).append(" ");
        line.append(TableText(table, 3));
        lines.push_back(std::move(line));
    }
    table.CloseTable();
    return lines;
}

std::int32_t MaterialNumberOfLine(std::string_view line) {
    return WholeNumberOf(line.substr(0, kKeyWidth));
}

MaterialRefresh RefreshSpringMaterial(Session& session) {
    SpringRecord& s = session.spring;
    const word keptNumber = s.materialNumber;
    if (s.materialKind >= kOtherMaterialKind) {
        TakeTypedMaterial(session);
        s.materialNumber = keptNumber;
        return {};
    }
    long number = s.materialNumber;
    if (s.materialKind >= 1) {
        word mapped = MaterialNumberOf(session, s.materialKind, s.materialGrade);
        if (mapped != 0) number = mapped;
    }
    s.materialNumber = static_cast<word>(number);
    const Lookup lookup = LookUpMaterial(session, number);
    if (lookup == Lookup::Found) return {true, {}, {}};
    session.CurrentMaterial = KORWST_Record{};
    // A table that cannot be opened has shown why and put its own message in the list; the
    // material is then unknown rather than missing.
    if (lookup == Lookup::TableError) return {false, std::string(t::kKorwstError), {}};
    MaterialRefresh refresh{false, MaterialNotFoundMessage(number),
                            MaterialNotFoundBoxText(number)};
    session.Message(refresh.message);
    return refresh;
}

} // namespace kora

namespace kora {

SpringMaterialState SpringMaterialState::Take(const Session& session) {
    const SpringRecord& s = session.spring;
    SpringMaterialState state;
    state.materialName = s.materialName;
    state.materialKind = s.materialKind;
    state.materialGrade = s.materialGrade;
    state.materialNumber = s.materialNumber;
    state.wireSurface = s.wireSurface;
    state.wireTolGrade = s.wireTolGrade;
    state.E = s.E;
    state.G = s.G;
    state.rho = s.rho;
    state.Rm = s.Rm;
    state.tauz = s.tauz;
    state.d = s.d;
    state.wireTol = s.wireTol;
    state.fatigueTolMin = s.fatigueTolMin;
    state.fatigueTolMax = s.fatigueTolMax;
    state.material = session.CurrentMaterial;
    return state;
}

void SpringMaterialState::Restore(Session& session) const {
    SpringRecord& s = session.spring;
    s.materialName = materialName;
    s.materialKind = materialKind;
    s.materialGrade = materialGrade;
    s.materialNumber = materialNumber;
    s.wireSurface = wireSurface;
    s.wireTolGrade = wireTolGrade;
    s.E = E;
    s.G = G;
    s.rho = rho;
    s.Rm = Rm;
    s.tauz = tauz;
    s.d = d;
    s.wireTol = wireTol;
    s.fatigueTolMin = fatigueTolMin;
    s.fatigueTolMax = fatigueTolMax;
    session.CurrentMaterial = material;
}

} // namespace kora

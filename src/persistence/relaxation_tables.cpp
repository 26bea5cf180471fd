#include "persistence/relaxation_tables.h"

#include "persistence/material_table_texts.h"
#include "persistence/material_tables.h"
#include "strength/material.h"

namespace kora {
namespace t = table_text;

namespace {

constexpr std::size_t kNameLength = 20;
constexpr int kFirstPointColumn = 7; // stress and relaxation of the eight points follow

int StressColumn(std::size_t point) {
    return kFirstPointColumn + 2 * static_cast<int>(point);
}

} // namespace

void ResetCurrentRelaxation(Session& session) {
    session.CurrentRelaxation = RelaxationRecord{};
    session.relaxationFound = false;
}

void ReadRelaxationRow(Session& session, const DbfTable& table) {
    if (session.AbortFlag) return;
    RelaxationRecord& r = session.CurrentRelaxation;
    r.materialNumber = TableWhole(table, 1);
    r.name = TableText(table, 2).substr(0, kNameLength);
    r.T1 = TableWhole(table, 3);
    r.T2 = TableWhole(table, 4);
    r.d1 = TableDecimal(table, 5);
    r.d2 = TableDecimal(table, 6);
    for (std::size_t p = 0; p < r.points.size(); ++p) {
        r.points[p].tau = TableWhole(table, StressColumn(p));
        r.points[p].relaxation = TableDecimal(table, StressColumn(p) + 1);
    }
}

bool WriteRelaxationRow(Session& session, DbfTable& table) {
    if (session.AbortFlag) return false;
    const RelaxationRecord& r = session.CurrentRelaxation;
    bool ok = table.SetColumnInteger(1, r.materialNumber);
    ok = PutTableText(table, 2, r.name.substr(0, kNameLength)) && ok;
    ok = table.SetColumnInteger(3, r.T1) && ok;
    ok = table.SetColumnInteger(4, r.T2) && ok;
    ok = table.SetColumnReal(5, r.d1) && ok;
    ok = table.SetColumnReal(6, r.d2) && ok;
    for (std::size_t p = 0; p < r.points.size(); ++p) {
        ok = table.SetColumnInteger(StressColumn(p), r.points[p].tau) && ok;
        ok = table.SetColumnReal(StressColumn(p) + 1, r.points[p].relaxation) && ok;
    }
    return ok;
}

bool FindRelaxation(Session& session, long materialNumber) {
    session.AbortFlag = false;
    ResetCurrentRelaxation(session);
    DbfTable table(session);
    if (!OpenNumberKeyedTable(table, t::kKorwstr)) {
        session.Message(t::kKorwstrLookupError);
        return false;
    }
    session.relaxationFound = table.HasIndex() && table.FindKey(MaterialKey(materialNumber));
    if (session.relaxationFound) ReadRelaxationRow(session, table);
    table.CloseTable();
    return session.relaxationFound;
}

bool BrowseRelaxation(Session& session, int mode, TableView* view) {
    DbfTable table(session);
    if (!OpenNumberKeyedTable(table, t::kKorwstr)) {
        session.Message(t::kKorwstrError);
        session.AbortFlag = true;
        return false;
    }
    session.HelpTopic = t::kHelpBrowseRelaxation;
    table.SetBrowseTitle(t::kTitleRelaxation, t::kCaptionKorwstr);
    if ((mode == 1 || mode == 3) && table.HasIndex())
        table.FindKey(MaterialKey(session.CurrentRelaxation.materialNumber));
    bool shown = BrowseTable(table, mode, view);
    ReadRelaxationRow(session, table); // skipped when the browser was cancelled
    table.CloseTable();
    return shown;
}

void DbfReferenceTables::FindRelaxation(Session& session, int materialNumber) {
    if (session.spring.materialKind >= kOtherMaterialKind) {
        ResetCurrentRelaxation(session);
        return;
    }
    kora::FindRelaxation(session, materialNumber);
}

} // namespace kora

#include "persistence/tempering_tables.h"

#include "calc/session.h"
#include "persistence/material_table_texts.h"
#include "persistence/material_tables.h"
#include "strength/material.h"

namespace kora {
namespace t = table_text;

namespace {

constexpr std::size_t kNameLength = 20;
constexpr std::size_t kLineLength = 40;

// Columns 3..6 and their fields.
constexpr std::string TemperingRecord::*kLines[] = {
    &TemperingRecord::line1, &TemperingRecord::line2, &TemperingRecord::line3,
    &TemperingRecord::info};
constexpr int kFirstLineColumn = 3;

} // namespace

void ResetCurrentTempering(Session& session) {
    session.CurrentTempering = TemperingRecord{};
}

void ReadTemperingRow(Session& session, const DbfTable& table) {
    if (session.AbortFlag) return;
    TemperingRecord& r = session.CurrentTempering;
    r.materialNumber = TableWhole(table, 1);
    r.name = TableText(table, 2).substr(0, kNameLength);
    int column = kFirstLineColumn;
    for (auto line : kLines)
        r.*line = TableText(table, column++).substr(0, kLineLength);
}

bool WriteTemperingRow(Session& session, DbfTable& table) {
    if (session.AbortFlag) return false;
    const TemperingRecord& r = session.CurrentTempering;
    bool ok = table.SetColumnInteger(1, r.materialNumber);
    ok = PutTableText(table, 2, r.name.substr(0, kNameLength)) && ok;
    int column = kFirstLineColumn;
    for (auto line : kLines)
        ok = PutTableText(table, column++, (r.*line).substr(0, kLineLength)) && ok;
    return ok;
}

bool FindTempering(Session& session, long materialNumber) {
    session.AbortFlag = false;
    ResetCurrentTempering(session);
    DbfTable table(session);
    if (!OpenNumberKeyedTable(table, t::kKorwstt)) {
        session.Message(t::kKorwsttLookupError);
        return false;
    }
    bool found = table.HasIndex() && table.FindKey(MaterialKey(materialNumber));
    if (found) ReadTemperingRow(session, table);
    table.CloseTable();
    return found;
}

bool BrowseTempering(Session& session, int mode, TableView* view) {
    DbfTable table(session);
    if (!OpenNumberKeyedTable(table, t::kKorwstt)) {
        session.Message(t::kKorwsttError);
        session.AbortFlag = true;
        return false;
    }
    session.HelpTopic = t::kHelpBrowseTempering;
    table.SetBrowseTitle(t::kTitleTempering, t::kCaptionKorwstt);
    if ((mode == 1 || mode == 3) && table.HasIndex())
        table.FindKey(MaterialKey(session.CurrentTempering.materialNumber));
    bool shown = BrowseTable(table, mode, view);
    ReadTemperingRow(session, table); // skipped when the browser was cancelled
    table.CloseTable();
    return shown;
}

bool LoadTemperingOfSpring(Session& session) {
    if (session.spring.materialKind >= kOtherMaterialKind) {
        ResetCurrentTempering(session);
        return false;
    }
    return FindTempering(session, session.spring.materialNumber);
}

} // namespace kora

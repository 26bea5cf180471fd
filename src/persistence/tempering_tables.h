// The tempering table korwstt.dbf: up to three heat-treatment lines and one information line
// per material, read into and written from CurrentTempering, the lookup by material number,
// the table browser, and the lookup for the spring's own material that the report prints.
#pragma once

#include "persistence/dbf_table.h"
#include "persistence/table_browser.h"

namespace kora {

struct Session;

// Number 0, every text empty.
void ResetCurrentTempering(Session& session);

// Copies columns 1..6 of the current row into CurrentTempering (name cut to 20, the lines to
// 40 characters). Nothing while AbortFlag is set.
void ReadTemperingRow(Session& session, const DbfTable& table);
// Puts the 6 fields of CurrentTempering into the record buffer. Nothing (false) while
// AbortFlag is set.
bool WriteTemperingRow(Session& session, DbfTable& table);

// Clears AbortFlag and CurrentTempering, then reads the row keyed by the material number.
// A table that cannot be opened adds "Fatal  : korwstt.dbf error".
bool FindTempering(Session& session, long materialNumber);

// The table browser over korwstt.dbf, as BrowseRelaxation ("Fatal  : korwstt DBF error").
bool BrowseTempering(Session& session, int mode, TableView* view);

// The tempering lines of the spring's own material, for the report: FindTempering with the
// spring's materialNumber; a typed material (kind 11) has none. True when a row was found.
bool LoadTemperingOfSpring(Session& session);

} // namespace kora

// The relaxation table korwstr.dbf: one row per material (number, name, temperature and
// diameter range, four two-point curves) read into and written from CurrentRelaxation, the
// lookup by material number, the table browser, and the dBase implementation of the
// engine's ReferenceTables.
#pragma once

#include "calc/session.h"
#include "persistence/dbf_table.h"
#include "persistence/table_browser.h"

namespace kora {

// Every number 0, the name empty, relaxationFound false.
void ResetCurrentRelaxation(Session& session);

// Copies columns 1..22 of the current row into CurrentRelaxation (name cut to 20 characters).
// Nothing while AbortFlag is set.
void ReadRelaxationRow(Session& session, const DbfTable& table);
// Puts the 22 fields of CurrentRelaxation into the record buffer. Nothing (false) while
// AbortFlag is set; false when a column does not take its value.
bool WriteRelaxationRow(Session& session, DbfTable& table);

// Clears AbortFlag and CurrentRelaxation, then reads the row keyed by the material number
// (column 1) and sets relaxationFound. A table that cannot be opened adds
// "Fatal  : KORWSTR.DBF error" and leaves the reset record.
bool FindRelaxation(Session& session, long materialNumber);

// The table browser over korwstr.dbf (mode 1 picks, others edit); modes 1 and 3 start on the
// row of CurrentRelaxation's material. The row the browser closed on is read into
// CurrentRelaxation. False when cancelled (AbortFlag set) or when the table could not be
// opened ("Fatal  : KORWSTR DBF error").
bool BrowseRelaxation(Session& session, int mode, TableView* view);

// The reference tables of the dBase files: the calculation's relaxation lookup. A typed
// material (materialKind 11) has no relaxation row, whatever CurrentMaterial still holds.
class DbfReferenceTables final : public ReferenceTables {
  public:
    void FindRelaxation(Session& session, int materialNumber) override;
};

} // namespace kora

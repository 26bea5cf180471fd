// The material table korwst.dbf as the program uses it: reading and writing one row into
// CurrentMaterial, applying it to the spring, the lookup by material number, the table
// browser for maintaining and picking, and the list lines of the material forms.
#pragma once

#include "base/real.h"
#include "calc/material_record.h"
#include "calc/spring_record.h"
#include "persistence/dbf_table.h"
#include "persistence/table_browser.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

// ---- Column conversions shared by the three tables ----

// A column's text in code page 850 without its trailing blanks.
std::string TableText(const DbfTable& table, int column);
// An integer column: the decimal text rounded to the nearest whole number (halves to even);
// text that does not convert gives 0.
std::int32_t TableWhole(const DbfTable& table, int column);
// A real column: a comma counts as the decimal point; text that does not convert gives 0.
double TableDecimal(const DbfTable& table, int column);
// Puts a code page 850 text (converted for the table).
bool PutTableText(DbfTable& table, int column, std::string_view cp850);
// The key of the number columns: the number right-aligned in 9 characters.
std::string MaterialKey(long number);
// A typed or listed number taken as a whole number the same way as TableWhole.
std::int32_t WholeNumberOf(std::string_view text);
// A value rounded for an integer column: halves to the even neighbour, cut to 32 bits, 0 for
// a value that is no number.
std::int32_t RoundedWhole(real value);

// Opens a table of the table folder whose column 1 holds the material number and indexes
// it over that column (the index is named as the table). False when it cannot be opened.
bool OpenNumberKeyedTable(DbfTable& table, std::string_view name);

// ---- korwst.dbf ----

// Copies columns 1..27 of the current row into CurrentMaterial. Nothing while AbortFlag is set.
void ReadMaterialRow(Session& session, const DbfTable& table);
// Puts the 27 fields of CurrentMaterial into the record buffer. Nothing (false) while
// AbortFlag is set; false when a column does not take its value.
bool WriteMaterialRow(Session& session, DbfTable& table);
// The row in CurrentMaterial becomes the spring's material: materialKind and materialGrade 0,
// materialName (column 1, at most 50 characters), G, E and rho. Rm and tauz follow from d.
void ApplyMaterial(Session& session);
// Clears AbortFlag, looks the number up in column 27 and, when found, reads and applies the
// row. A table that cannot be opened adds "Fatal  : KORWST DBF error".
bool FindMaterial(Session& session, long materialNumber);
// The table browser over korwst.dbf: mode 0 maintains the table (after offering a new row),
// mode 1 picks from the list, mode 3 picks in the full browser. A pick sets the spring's
// materialNumber; the row the browser closed on is left in CurrentMaterial. False when
// cancelled (AbortFlag set) or when the table could not be opened.
bool BrowseMaterials(Session& session, int mode, TableView* view);

// The material number of the current row: its column 27, which every lookup keys on; the
// record number only for a row without one.
std::int32_t MaterialNumberOfRow(const DbfTable& table);

// The lines of the material forms' lists, one per row in order of material number:
// column 27 as stored + ": " + names 1, 2 and 3 (code page 850). nullopt when the table
// cannot be opened.
std::optional<std::vector<std::string>> MaterialListLines(Session& session);
// The material number a list line stands for (its first 9 characters).
std::int32_t MaterialNumberOfLine(std::string_view line);

// "Fehler : " + number + " not found".
std::string MaterialNotFoundMessage(long number);
// number + " not found": the same message in an error box, whose caption is "Fehler : ".
std::string MaterialNotFoundBoxText(long number);

// Makes CurrentMaterial the row of the spring's own material: for materialKind 0 the row of
// materialNumber, for kinds 1..10 the row the standard grade maps to (materialNumber follows
// the mapping); a found row is applied to the spring (FindMaterial). A typed material (kind
// 11) only puts its typed values into CurrentMaterial. When the row is missing, the spring
// keeps its values, CurrentMaterial is cleared (no other material's data is used) and
// "Fehler : " + number + " not found" is added to the MessageList and returned. When the
// material table cannot be opened (its message has been shown), CurrentMaterial is cleared
// as well and "Fatal  : KORWST DBF error" is returned, with no box text. The relaxation and
// tempering forms end with it, and the spring-file loader calls it before the calculation
// (which clears the MessageList: show the returned message).
struct MaterialRefresh {
    bool found = false;
    std::string message; // the message of the MessageList, or empty (code page 850)
    std::string boxText; // the same for an error box, which puts its own "Fehler : " before it
};
MaterialRefresh RefreshSpringMaterial(Session& session);

// The spring's material fields (with d and the wire choices the material form edits) and
// CurrentMaterial, kept so that a cancelled dialog or form leaves everything as it was.
struct SpringMaterialState {
    std::string materialName;
    word materialKind = 0, materialGrade = 0, materialNumber = 0, wireSurface = 0;
    word wireTolGrade = 0;
    real E = 0, G = 0, rho = 0, Rm = 0, tauz = 0, d = 0, wireTol = 0;
    real fatigueTolMin = 0, fatigueTolMax = 0;
    KORWST_Record material;

    static SpringMaterialState Take(const Session& session);
    void Restore(Session& session) const;
};

} // namespace kora

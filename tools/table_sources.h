// The reference tables shipped in data/tables: their dBase layouts, their readable sources
// (one CSV per table, a "source" note per row) and the checks, writing and read-back that turn
// a source into the .dbf the program opens. Shared by the generator and the table tests.
#pragma once

#include "base/codepage.h"
#include "base/real.h"
#include "base/text.h"
#include "persistence/dbf_format.h"
#include "persistence/dbf_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kora::tables {

struct ColumnLayout {
    std::string_view name; // as stored: upper case, at most 10 characters
    char type;             // C, N or L
    int length;
    int decimals;
};

// What the first (or last) column must hold across the rows.
enum class KeyRule {
    None,
    RecordNumber,   // the last column equals the record number (korwst.dbf)
    MaterialNumber, // the first column names a row of korwst.dbf, each at most once
    Ascending,      // the first column rises strictly (diameter lists)
};

struct TableLayout {
    std::string_view file; // without ".dbf"
    std::span<const ColumnLayout> columns;
    KeyRule key;
};

// The material table: columns 1..27 as the material code reads them by position. Widths leave
// room for what the new-material dialog may write (G and E up to 1e8, slopes of either sign).
inline constexpr std::array<ColumnLayout, 27> kKorwstColumns = {{
    {"NAME", 'C', 50, 0},  {"NAME2", 'C', 30, 0}, {"NAME3", 'C', 20, 0}, {"NAME4", 'C', 20, 0},
    {"G", 'N', 9, 0},      {"E", 'N', 9, 0},      {"RHO", 'N', 7, 3},    {"RM0", 'N', 6, 0},
    {"D0", 'N', 8, 3},     {"RMMAX", 'N', 6, 0},  {"KRM", 'N', 6, 0},    {"DF0", 'N', 8, 3},
    {"TAUO0", 'N', 6, 0},  {"KTAUO", 'N', 6, 0},  {"TAUH0", 'N', 6, 0},  {"KTAUH", 'N', 6, 0},
    {"M", 'N', 8, 4},      {"TAUO0K", 'N', 6, 0}, {"KTAUOK", 'N', 6, 0}, {"TAUH0K", 'N', 6, 0},
    {"KTAUHK", 'N', 6, 0}, {"MK", 'N', 8, 4},     {"DMIN", 'N', 8, 3},   {"DMAX", 'N', 8, 3},
    {"TMAX", 'N', 5, 0},   {"INFO", 'C', 60, 0},  {"NUMBER", 'N', 9, 0},
}};

// Relaxation after 48 h: T1, T2, d1, d2 and four curves (T1,d1) (T1,d2) (T2,d1) (T2,d2) of two
// points (tau, percent) each.
inline constexpr std::array<ColumnLayout, 22> kKorwstrColumns = {{
    {"NUMBER", 'N', 9, 0}, {"NAME", 'C', 20, 0}, {"T1", 'N', 5, 0},     {"T2", 'N', 5, 0},
    {"D1", 'N', 8, 3},     {"D2", 'N', 8, 3},    {"TAU1_1", 'N', 6, 0}, {"RX1_1", 'N', 7, 3},
    {"TAU1_2", 'N', 6, 0}, {"RX1_2", 'N', 7, 3}, {"TAU2_1", 'N', 6, 0}, {"RX2_1", 'N', 7, 3},
    {"TAU2_2", 'N', 6, 0}, {"RX2_2", 'N', 7, 3}, {"TAU3_1", 'N', 6, 0}, {"RX3_1", 'N', 7, 3},
    {"TAU3_2", 'N', 6, 0}, {"RX3_2", 'N', 7, 3}, {"TAU4_1", 'N', 6, 0}, {"RX4_1", 'N', 7, 3},
    {"TAU4_2", 'N', 6, 0}, {"RX4_2", 'N', 7, 3},
}};

inline constexpr std::array<ColumnLayout, 6> kKorwsttColumns = {{
    {"NUMBER", 'N', 9, 0},
    {"NAME", 'C', 20, 0},
    {"TEMPER1", 'C', 40, 0},
    {"TEMPER2", 'C', 40, 0},
    {"TEMPER3", 'C', 40, 0},
    {"INFO", 'C', 40, 0},
}};

// The standard-diameter lists: column 1 is the diameter in mm.
inline constexpr std::array<ColumnLayout, 1> kDin2076Columns = {{{"D", 'N', 6, 2}}};
inline constexpr std::array<ColumnLayout, 1> kDin2077Columns = {{{"D", 'N', 6, 1}}};
inline constexpr std::array<ColumnLayout, 1> kT10270Columns = {{{"D", 'N', 6, 2}}};

// Printer set-ups: scales, origin in mm, orientation, colour mode, fit to page, border, name.
inline constexpr std::array<ColumnLayout, 9> kPrintoutColumns = {{
    {"XSCALE", 'N', 8, 4},
    {"YSCALE", 'N', 8, 4},
    {"XORIGIN", 'N', 5, 0},
    {"YORIGIN", 'N', 5, 0},
    {"LANDSCAPE", 'L', 1, 0},
    {"MONOCHROM", 'L', 1, 0},
    {"VARIABLE", 'L', 1, 0},
    {"BORDERLINE", 'L', 1, 0},
    {"NAME", 'C', 25, 0},
}};

// korwst first: the keys of the relaxation and tempering tables are checked against it.
inline constexpr std::array<TableLayout, 7> kShippedTables = {{
    {"korwst", kKorwstColumns, KeyRule::RecordNumber},
    {"korwstr", kKorwstrColumns, KeyRule::MaterialNumber},
    {"korwstt", kKorwsttColumns, KeyRule::MaterialNumber},
    {"din2076", kDin2076Columns, KeyRule::Ascending},
    {"din2077", kDin2077Columns, KeyRule::Ascending},
    {"t10270_1", kT10270Columns, KeyRule::Ascending},
    {"printout", kPrintoutColumns, KeyRule::None},
}};

// The last CSV column: where a row's values come from. Not written into the table.
inline constexpr std::string_view kSourceColumn = "source";

// ---- CSV (RFC 4180: comma, double quotes, "" inside quotes, LF or CRLF) ----

struct CsvRecord {
    int line = 0; // where the record starts, from 1
    std::vector<std::string> fields;
};

struct CsvParse {
    std::vector<CsvRecord> records;
    std::string error; // empty when the text parsed
    int errorLine = 0;
};

// Records of the text; blank lines are skipped. A UTF-8 byte-order mark is ignored.
inline CsvParse ParseCsv(std::string_view text) {
    CsvParse out;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\n' || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += text[i] == '\r' ? 2 : 1;
            ++line;
            continue;
        }
        CsvRecord record;
        record.line = line;
        std::string field;
        bool endOfRecord = false;
        while (!endOfRecord) {
            field.clear();
            if (i < text.size() && text[i] == '"') {
                int opened = line;
                ++i;
                while (true) {
                    if (i >= text.size()) {
                        out.error = "quoted field not closed";
                        out.errorLine = opened;
                        return out;
                    }
                    char c = text[i++];
                    if (c == '"') {
                        if (i < text.size() && text[i] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line;
                    field += c;
                }
                if (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
                    out.error = "text after a closing quote";
                    out.errorLine = line;
                    return out;
                }
            } else {
                while (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
                    if (text[i] == '"') {
                        out.error = "quote inside an unquoted field";
                        out.errorLine = line;
                        return out;
                    }
                    field += text[i++];
                }
            }
            record.fields.push_back(field);
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            if (i < text.size() && text[i] == '\r') {
                if (i + 1 >= text.size() || text[i + 1] != '\n') {
                    out.error = "carriage return without line feed";
                    out.errorLine = line;
                    return out;
                }
                ++i;
            }
            if (i < text.size() && text[i] == '\n') {
                ++i;
                ++line;
            }
            endOfRecord = true;
        }
        out.records.push_back(std::move(record));
    }
    return out;
}

// ---- One table's source ----

struct SourceRow {
    int line = 0;
    std::vector<std::string> values; // one per column of the layout, as written in the CSV
    std::string source;
};

struct SourceTable {
    const TableLayout* layout = nullptr;
    std::vector<SourceRow> rows;
};

// A decimal number as the sources write it: optional minus, digits, optional point and digits.
// nullopt for anything else (no exponent, no comma, no blanks).
inline std::optional<real> ParseSourceNumber(std::string_view text, int* decimalsWritten) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    std::size_t digits = 0, fraction = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++fraction;
        }
        if (fraction == 0) return std::nullopt;
    }
    if (digits == 0 || i != text.size()) return std::nullopt;
    if (decimalsWritten) *decimalsWritten = static_cast<int>(fraction);
    return std::strtold(std::string(text).c_str(), nullptr);
}

// Why a value cannot be stored in the column without loss; empty when it can.
inline std::string CheckValue(const ColumnLayout& column, std::string_view value) {
    switch (column.type) {
    case 'C': {
        for (unsigned char c : value)
            if (c < 0x20 || c == 0x7F) return "control character in text";
        if (!value.empty() && value.back() == ' ') return "trailing blank in text";
        std::string cp850 = Utf8ToCp850(value);
        if (Cp850ToUtf8(cp850) != value) return "character outside code page 850";
        if (cp850.size() > static_cast<std::size_t>(column.length))
            return "text of " + std::to_string(cp850.size()) + " characters, column holds " +
                   std::to_string(column.length);
        return {};
    }
    case 'N': {
        int written = 0;
        auto number = ParseSourceNumber(value, &written);
        if (!number) return "not a number: \"" + std::string(value) + "\"";
        if (written > column.decimals)
            return "more decimals than the column's " + std::to_string(column.decimals);
        if (FormatNumberColumn(*number, column.length, column.decimals).front() == '*')
            return "number wider than the column's " + std::to_string(column.length);
        return {};
    }
    case 'L':
        if (value != "T" && value != "F") return "logical value must be T or F";
        return {};
    default:
        return "column type not supported by the generator";
    }
}

inline real NumberOf(std::string_view value) {
    return ParseSourceNumber(value, nullptr).value_or(0);
}

// Reads one table's CSV: the header must name the layout's columns in order (case does not
// matter) and end with "source"; every row needs every column and a source note. Problems are
// appended to errors as "file:line: reason"; the table is returned only without problems.
inline std::optional<SourceTable> ReadSourceTable(const TableLayout& layout, std::string_view csv,
                                                  std::string_view fileName,
                                                  std::vector<std::string>& errors) {
    std::size_t before = errors.size();
    auto fail = [&](int line, const std::string& why) {
        errors.push_back(std::string(fileName) + ":" + std::to_string(line) + ": " + why);
    };
    CsvParse parsed = ParseCsv(csv);
    if (!parsed.error.empty()) {
        fail(parsed.errorLine, parsed.error);
        return std::nullopt;
    }
    if (parsed.records.empty()) {
        fail(1, "no header row");
        return std::nullopt;
    }
    const std::size_t n = layout.columns.size();
    const CsvRecord& header = parsed.records.front();
    bool headerOk = header.fields.size() == n + 1 && header.fields.back() == kSourceColumn;
    for (std::size_t c = 0; headerOk && c < n; ++c)
        headerOk = UpperAscii(header.fields[c]) == layout.columns[c].name;
    if (!headerOk) {
        std::string expected;
        for (const ColumnLayout& c : layout.columns)
            expected += std::string(c.name) + ",";
        fail(header.line, "header must be " + expected + std::string(kSourceColumn));
        return std::nullopt;
    }
    SourceTable table{&layout, {}};
    for (std::size_t r = 1; r < parsed.records.size(); ++r) {
        const CsvRecord& record = parsed.records[r];
        if (record.fields.size() != n + 1) {
            fail(record.line, std::to_string(record.fields.size()) + " fields, expected " +
                                  std::to_string(n + 1));
            continue;
        }
        SourceRow row{
            record.line, {record.fields.begin(), record.fields.begin() + n}, record.fields.back()};
        if (row.source.empty()) fail(record.line, "no source note");
        for (std::size_t c = 0; c < n; ++c)
            if (std::string why = CheckValue(layout.columns[c], row.values[c]); !why.empty())
                fail(record.line, std::string(layout.columns[c].name) + ": " + why);
        table.rows.push_back(std::move(row));
    }
    if (parsed.records.size() == 1) fail(header.line, "no rows");
    if (errors.size() != before) return std::nullopt;

    // Key rules.
    if (layout.key == KeyRule::RecordNumber) {
        for (std::size_t r = 0; r < table.rows.size(); ++r)
            if (NumberOf(table.rows[r].values.back()) != static_cast<real>(r + 1))
                fail(table.rows[r].line,
                     "material number must equal the record number " + std::to_string(r + 1));
    } else if (layout.key == KeyRule::Ascending) {
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            real value = NumberOf(table.rows[r].values.front());
            if (value <= 0) fail(table.rows[r].line, "value must be positive");
            if (r > 0 && !(value > NumberOf(table.rows[r - 1].values.front())))
                fail(table.rows[r].line, "values must rise strictly");
        }
    }
    if (errors.size() != before) return std::nullopt;
    return table;
}

// Keys of the relaxation and tempering tables: each names an existing material, once.
inline void CheckMaterialKeys(const SourceTable& table, long materialCount, std::string_view file,
                              std::vector<std::string>& errors) {
    std::set<long> seen;
    for (const SourceRow& row : table.rows) {
        real key = NumberOf(row.values.front());
        long number = std::lround(key);
        std::string where = std::string(file) + ":" + std::to_string(row.line) + ": ";
        if (static_cast<real>(number) != key || number < 1 || number > materialCount)
            errors.push_back(where + "no material " + row.values.front() + " in korwst");
        else if (!seen.insert(number).second)
            errors.push_back(where + "material " + row.values.front() + " appears twice");
    }
}

// A numeric value of a row by column name (the layouts name every column).
inline real ValueOf(const SourceTable& table, const SourceRow& row, std::string_view column) {
    for (std::size_t c = 0; c < table.layout->columns.size(); ++c)
        if (table.layout->columns[c].name == column) return NumberOf(row.values[c]);
    return 0;
}

// Material rows the calculation can use without a fatal stop or a meaningless diagram: positive
// constants, a diameter range with a positive Rm throughout, and fatigue sets that are either
// empty or complete with tauo above tauh above 0 over the whole range.
inline void CheckMaterialRows(const SourceTable& table, std::vector<std::string>& errors) {
    for (const SourceRow& row : table.rows) {
        auto v = [&](std::string_view column) { return ValueOf(table, row, column); };
        std::string where = "korwst.csv:" + std::to_string(row.line) + ": ";
        for (std::string_view c : {"G", "E", "RHO", "RM0", "D0", "DMIN", "TMAX"})
            if (v(c) <= 0) errors.push_back(where + std::string(c) + " must be positive");
        if (v("DMAX") <= v("DMIN")) errors.push_back(where + "DMAX must exceed DMIN");
        if (v("D0") <= 0 || v("DMIN") <= 0) continue;
        for (real d : {v("DMIN"), v("DMAX")}) {
            real Rm = v("RM0") - v("KRM") * std::log10(d / v("D0"));
            if (v("RMMAX") >= 2) Rm = std::min(Rm, v("RMMAX"));
            if (Rm <= 0) errors.push_back(where + "Rm not positive at d = " + std::to_string(d));
        }
        struct FatigueSet {
            std::string_view tauo, kTauo, tauh, kTauh, m;
        };
        for (FatigueSet set : {FatigueSet{"TAUO0", "KTAUO", "TAUH0", "KTAUH", "M"},
                               FatigueSet{"TAUO0K", "KTAUOK", "TAUH0K", "KTAUHK", "MK"}}) {
            if (v(set.tauo) == 0 && v(set.tauh) == 0 && v(set.m) == 0) continue;
            if (v("DF0") <= 0 || v(set.m) <= 0 || v(set.tauo) == 0 || v(set.tauh) == 0) {
                errors.push_back(where + std::string(set.tauo) + " set incomplete");
                continue;
            }
            for (real d : {v("DMIN"), v("DMAX")}) {
                real L = std::log10(d / v("DF0"));
                real tauo = v(set.tauo) - v(set.kTauo) * L;
                real tauh = v(set.tauh) - v(set.kTauh) * L;
                if (!(tauo > tauh && tauh > 0))
                    errors.push_back(where + std::string(set.tauo) +
                                     " set needs tauo > tauh > 0 at d = " + std::to_string(d));
            }
        }
    }
}

// Relaxation rows whose four power curves are defined: T1 < T2, 0 < d1 < d2, and on every curve
// a rising stress and a rising positive relaxation.
inline void CheckRelaxationRows(const SourceTable& table, std::vector<std::string>& errors) {
    for (const SourceRow& row : table.rows) {
        auto v = [&](std::string_view column) { return ValueOf(table, row, column); };
        std::string where = "korwstr.csv:" + std::to_string(row.line) + ": ";
        if (!(v("T1") < v("T2"))) errors.push_back(where + "T1 must be below T2");
        if (!(v("D1") > 0 && v("D1") < v("D2"))) errors.push_back(where + "needs 0 < D1 < D2");
        for (int k = 1; k <= 4; ++k) {
            std::string n = std::to_string(k);
            real tau1 = v("TAU" + n + "_1"), tau2 = v("TAU" + n + "_2");
            real rx1 = v("RX" + n + "_1"), rx2 = v("RX" + n + "_2");
            if (!(tau1 > 0 && tau1 < tau2 && rx1 > 0 && rx1 < rx2))
                errors.push_back(where + "curve " + n + " needs 0 < tau1 < tau2, 0 < rx1 < rx2");
        }
    }
}

// Reads every shipped table from the source folder ("<name>.csv") and checks the keys across
// tables. Returns the tables in kShippedTables order, or nothing with errors filled.
inline std::optional<std::vector<SourceTable>> ReadAllSources(const std::string& folder,
                                                              std::vector<std::string>& errors) {
    std::size_t before = errors.size();
    std::vector<SourceTable> tables;
    for (const TableLayout& layout : kShippedTables) {
        std::string file = std::string(layout.file) + ".csv";
        std::ifstream in(folder + "/" + file, std::ios::binary);
        if (!in) {
            errors.push_back(folder + "/" + file + ": cannot be read");
            continue;
        }
        std::string text{std::istreambuf_iterator<char>(in), {}};
        if (auto table = ReadSourceTable(layout, text, file, errors)) tables.push_back(*table);
    }
    if (errors.size() != before) return std::nullopt;
    long materials = static_cast<long>(tables.front().rows.size());
    for (const SourceTable& table : tables) {
        if (table.layout->key == KeyRule::MaterialNumber)
            CheckMaterialKeys(table, materials, std::string(table.layout->file) + ".csv", errors);
        if (table.layout->file == "korwst") CheckMaterialRows(table, errors);
        if (table.layout->file == "korwstr") CheckRelaxationRows(table, errors);
    }
    if (errors.size() != before) return std::nullopt;
    return tables;
}

// ---- dBase side ----

inline std::vector<DbfColumn> DbfColumnsOf(const TableLayout& layout) {
    std::vector<DbfColumn> columns;
    for (const ColumnLayout& c : layout.columns)
        columns.push_back({std::string(c.name), c.type, c.length, c.decimals, 0});
    return columns;
}

// The stored bytes of a value as the engine writes them, for comparing with a read-back field.
inline std::string StoredText(const ColumnLayout& column, std::string_view value) {
    if (column.type == 'N')
        return FormatNumberColumn(NumberOf(value), column.length, column.decimals);
    if (column.type == 'L') return std::string(value);
    return PadRight(Utf8ToCp850(value), column.length);
}

// Writes the table through the project's engine: a new, empty table, then one appended record
// per source row. False, with the reason in error, when any step fails.
inline bool WriteSourceTable(Session& session, const SourceTable& table, const std::string& path,
                             std::string& error) {
    const TableLayout& layout = *table.layout;
    if (!CreateTable(session, path, DbfColumnsOf(layout))) {
        error = "cannot create " + path;
        return false;
    }
    DbfTable dbf(session);
    if (!dbf.OpenTablePath(path)) {
        error = "cannot open " + path + ": " + dbf.LastMessage();
        return false;
    }
    for (const SourceRow& row : table.rows) {
        dbf.BlankRecord();
        for (std::size_t c = 0; c < layout.columns.size(); ++c) {
            const ColumnLayout& column = layout.columns[c];
            const std::string& value = row.values[c];
            int i = static_cast<int>(c) + 1;
            bool put = column.type == 'N'   ? dbf.SetColumnReal(i, NumberOf(value))
                       : column.type == 'L' ? dbf.SetColumnFlag(i, value == "T")
                                            : dbf.SetColumnText(i, value);
            if (!put) {
                error = "line " + std::to_string(row.line) + ": column " +
                        std::string(column.name) + " does not take \"" + value + "\"";
                return false;
            }
        }
        if (!dbf.AppendRecord()) {
            error = "line " + std::to_string(row.line) + ": append failed: " + dbf.LastMessage();
            return false;
        }
    }
    if (!dbf.CloseTable()) {
        error = "closing " + path + " failed: " + dbf.LastMessage();
        return false;
    }
    return true;
}

// Reads the table at path with the engine and lists every difference from the source: the
// column structure, the record count, deleted records and each stored field. Empty when the
// table holds exactly the source.
inline std::vector<std::string> CompareWithSource(Session& session, const SourceTable& table,
                                                  const std::string& path) {
    std::vector<std::string> differences;
    const TableLayout& layout = *table.layout;
    DbfTable dbf(session);
    if (!dbf.OpenTablePath(path)) {
        differences.push_back(path + ": cannot be opened: " + dbf.LastMessage());
        return differences;
    }
    if (dbf.Layout() != DbfLayout::DBase3 || dbf.VersionByte() != 0x03)
        differences.push_back(path + ": not a dBase III table");
    bool sameColumns = dbf.ColumnCount() == static_cast<int>(layout.columns.size());
    for (int i = 1; sameColumns && i <= dbf.ColumnCount(); ++i) {
        const DbfColumn* c = dbf.Column(i);
        const ColumnLayout& want = layout.columns[static_cast<std::size_t>(i - 1)];
        sameColumns = c->name == want.name && c->type == want.type && c->length == want.length &&
                      c->decimals == want.decimals;
    }
    if (!sameColumns) {
        differences.push_back(path + ": columns differ from the layout");
        return differences;
    }
    if (dbf.RecordCount() != static_cast<long>(table.rows.size()))
        differences.push_back(path + ": " + std::to_string(dbf.RecordCount()) + " records, " +
                              std::to_string(table.rows.size()) + " source rows");
    long records = std::min<long>(dbf.RecordCount(), static_cast<long>(table.rows.size()));
    for (long n = 1; n <= records; ++n) {
        const SourceRow& row = table.rows[static_cast<std::size_t>(n - 1)];
        if (!dbf.GoRecord(n)) {
            differences.push_back(path + ": record " + std::to_string(n) + " unreadable");
            continue;
        }
        if (dbf.RecordDeleted())
            differences.push_back(path + ": record " + std::to_string(n) + " is deleted");
        for (std::size_t c = 0; c < layout.columns.size(); ++c) {
            const ColumnLayout& column = layout.columns[c];
            int i = static_cast<int>(c) + 1;
            std::string stored = Utf8ToCp850(dbf.ColumnText(i));
            if (column.type == 'L') stored = dbf.ColumnFlag(column.name) ? "T" : "F";
            if (stored != StoredText(column, row.values[c]))
                differences.push_back(path + ": record " + std::to_string(n) + " " +
                                      std::string(column.name) + " holds \"" + Cp850ToUtf8(stored) +
                                      "\", source line " + std::to_string(row.line) + " says \"" +
                                      row.values[c] + "\"");
        }
    }
    dbf.CloseTable();
    return differences;
}

// Two table files alike except for the date of last update (bytes 1..3).
inline bool SameTableIgnoringDate(std::string_view a, std::string_view b) {
    if (a.size() != b.size() || a.size() < 4) return false;
    return a.substr(0, 1) == b.substr(0, 1) && a.substr(4) == b.substr(4);
}

} // namespace kora::tables

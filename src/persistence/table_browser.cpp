#include "persistence/table_browser.h"
#include "base/codepage.h"
#include "base/file_io.h"
#include "base/file_texts.h"
#include "base/program.h"
#include "base/text.h"

#include "calc/session.h"
#include "persistence/dbf_texts.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kora {
namespace t = dbf_texts;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kChoosingButtons[] = {"first", "prior", "next", "last"};
constexpr std::string_view kEditingButtons[] = {"first",  "prior", "next", "last",   "insert",
                                                "delete", "edit",  "post", "cancel", "refresh"};

// One delimited field: texts in double quotes (a quote doubled), numbers and flags as they are.
std::string DelimitedField(const DbfColumn& column, std::string_view text) {
    std::string_view trimmed = column.type == 'C' ? TrimRightBlanks(text) : TrimBlanks(text);
    if (column.type != 'C' && column.type != 'D') return std::string(trimmed);
    std::string out = "\"";
    for (char c : trimmed) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::vector<std::string> SplitDelimited(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

std::string NowText(int dateCode) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[40], time[40];
    std::snprintf(date, sizeof date, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return DateForDisplay(date, dateCode) + " - " + time;
}

} // namespace

TableBrowser::TableBrowser(DbfTable& table, int mode) : table_(table), mode_(mode) {
    Reload(table_.AtEnd() ? 0 : table_.RecordNumber());
}

void TableBrowser::Reload(long keepRecord) {
    rows_.clear();
    table_.SetHideDeleted(Choosing());
    for (table_.FirstRecord(); table_.IsOpen() && !table_.AtEnd(); table_.SkipRecords(1))
        rows_.push_back(table_.RecordNumber());
    auto at = std::find(rows_.begin(), rows_.end(), keepRecord);
    row_ = at == rows_.end() ? 0 : static_cast<int>(at - rows_.begin());
    row_ = std::min(row_, std::max(RowCount() - 1, 0));
    GoRow(row_);
}

bool TableBrowser::GoRow(int row) {
    if (row < 0 || row >= RowCount()) return false;
    return table_.GoRecord(rows_[static_cast<std::size_t>(row)]);
}

void TableBrowser::ShowError(std::string_view text) {
    Session& s = table_.session();
    if (s.messagesEnabled && s.dialogs) s.dialogs->ShowError(Utf8ToCp850(text));
}

std::string TableBrowser::Caption() const {
    if (Choosing()) return table_.BrowseTitle() + "   " + table_.BrowseCaption();
    return table_.BrowseTitle() + "  " + table_.BrowseCaption() + "  (" + table_.Path() + ")";
}

std::vector<std::string> TableBrowser::NavigatorButtons() const {
    std::vector<std::string> out;
    if (Choosing())
        for (auto b : kChoosingButtons)
            out.emplace_back(b);
    else
        for (auto b : kEditingButtons)
            out.emplace_back(b);
    return out;
}

std::vector<std::string> TableBrowser::FileCommands() const {
    std::vector<std::string> out = {std::string(t::kExportHtml), std::string(t::kSaveAsDelimited),
                                    std::string(t::kPrint)};
    if (!Choosing())
        for (auto c : {t::kAppendDbf, t::kAppendDelimited, t::kAppend, t::kPack})
            out.emplace_back(c);
    return out;
}

std::vector<std::string> TableBrowser::HelpCommands() const {
    return {std::string(t::kStructure)};
}

long TableBrowser::RecordOfRow(int row) const {
    return row >= 0 && row < RowCount() ? rows_[static_cast<std::size_t>(row)] : 0;
}

std::string TableBrowser::Cell(int row, int column) {
    if (row == row_) {
        auto edit = pending_.find(column);
        if (edit != pending_.end()) return edit->second;
    }
    return GoRow(row) ? table_.ColumnText(column) : std::string();
}

bool TableBrowser::RowDeleted(int row) {
    return GoRow(row) && table_.RecordDeleted();
}

bool TableBrowser::MoveTo(int row, int column) {
    if (row < 0 || row >= RowCount() || column < 1 || column > ColumnCount()) return false;
    if (row != row_ && !Post()) return false;
    row_ = row;
    column_ = column;
    return GoRow(row_);
}

bool TableBrowser::EditCell(std::string_view text) {
    if (Choosing() || RowCount() == 0) return false;
    pending_[column_] = std::string(text);
    return true;
}

bool TableBrowser::Post() {
    if (pending_.empty()) return true;
    if (!GoRow(row_)) return false;
    for (const auto& [column, text] : pending_) {
        if (!table_.SetColumnText(column, text)) {
            ShowError(std::string(t::kInvalidValue) + text);
            GoRow(row_); // drop what was set in the buffer
            return false;
        }
    }
    if (!table_.ReplaceRecord()) return false;
    pending_.clear();
    return true;
}

bool TableBrowser::SetDeleted(bool deleted) {
    if (Choosing() || !Post() || !GoRow(row_)) return false;
    return table_.MarkDeleted(deleted);
}

bool TableBrowser::Append() {
    if (Choosing() || !Post()) return false;
    table_.BlankRecord();
    if (!table_.AppendRecord()) return false;
    Reload(table_.RecordNumber());
    return true;
}

bool TableBrowser::Pack() {
    if (Choosing() || !Post()) return false;
    // The current record keeps its place among the records that stay.
    long keep = RecordOfRow(row_), deletedBefore = 0;
    for (long n = 1; n < keep; ++n)
        if (table_.GoRecord(n) && table_.RecordDeleted()) ++deletedBefore;
    if (!table_.PackTable()) return false;
    Reload(keep - deletedBefore);
    return true;
}

bool TableBrowser::Search(std::string_view text) {
    search_ = LowerAscii(text);
    for (int row = 0; row < RowCount(); ++row)
        for (int column = 1; column <= ColumnCount(); ++column)
            if (LowerAscii(Cell(row, column)).find(search_) != std::string::npos)
                return MoveTo(row, column);
    GoRow(row_);
    return false;
}

bool TableBrowser::SearchNext() {
    if (search_.empty()) return false;
    for (int row = row_ + 1; row < RowCount(); ++row)
        for (int column = 1; column <= ColumnCount(); ++column)
            if (LowerAscii(Cell(row, column)).find(search_) != std::string::npos)
                return MoveTo(row, column);
    GoRow(row_);
    return false;
}

namespace {

// A write-protected target and a folder have their own message; every other failure of an
// export is "file write error".
std::string ExportFailureMessage(const FileWriteResult& written, const std::string& path) {
    if (written.stage == FileWriteResult::Stage::Protected || written.error == EISDIR)
        return Cp850ToUtf8(FileWriteMessage(written, Utf8ToCp850(path)));
    return std::string(file_text::kCreateFailed);
}

} // namespace

bool TableBrowser::WriteHtml(const std::string& path) {
    std::ostringstream out;
    auto line = [&](std::string_view text) { out << text << '\n'; };
    std::string name = fs::path(table_.Path()).filename().string();
    line("<HTML>");
    line("<head><title>" + name + "</title></head>");
    line("<BODY BGCOLOR=\"C0C0C0\">");
    line(kProgramTitle);
    line("<P>" + UpperAscii(path) + "</P>");
    line("<P>" + NowText(table_.session().config.dateCode) + "</P>");
    line("<HR>");
    line("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
    line("<TR>");
    for (int c = 1; c <= ColumnCount(); ++c)
        line("<TD><CENTER>" + ColumnTitle(c) + "</CENTER></TD>");
    line("</TR>");
    bool read = true;
    for (long n = 1; n <= table_.RecordCount(); ++n) {
        read = table_.GoRecord(n) && read;
        line("<TR>");
        for (int c = 1; c <= ColumnCount(); ++c)
            line("<TD>" + HtmlEscaped(table_.ColumnText(c)) + "</TD>");
        line("</TR>");
    }
    line("</TABLE>");
    line("</BODY>");
    line("</HTML>");
    GoRow(row_);
    // A table that could not be read completely is not exported at all.
    FileWriteResult written = read ? WriteFileAtomically(path, out.str())
                                   : FileWriteResult{FileWriteResult::Stage::Write, EIO};
    if (!written.ok()) {
        ShowError(ExportFailureMessage(written, path));
        table_.session().AbortFlag = true;
        return false;
    }
    return true;
}

bool TableBrowser::ExportHtml() {
    Session& s = table_.session();
    if (!Post()) return false;
    std::string preset = fs::path(table_.Path()).replace_extension(".htm").filename().string();
    auto path = s.dialogs->ChooseSaveFile(preset, t::kHtmlFilter);
    if (!path) {
        s.AbortFlag = true;
        return false;
    }
    if (!WriteHtml(*path)) return false;
    if (openHtml) openHtml(*path);
    return true;
}

bool TableBrowser::WriteDelimited(const std::string& path) {
    std::ostringstream out;
    for (int row = 0; row < RowCount(); ++row) {
        if (!GoRow(row)) break;
        for (int c = 1; c <= ColumnCount(); ++c) {
            if (c > 1) out << ',';
            out << DelimitedField(*table_.Column(c), table_.ColumnText(c));
        }
        out << "\r\n";
    }
    GoRow(row_);
    FileWriteResult written = WriteFileAtomically(path, out.str());
    if (!written.ok()) {
        ShowError(ExportFailureMessage(written, path));
        table_.session().AbortFlag = true;
        return false;
    }
    return true;
}

bool TableBrowser::SaveAsDelimited() {
    Session& s = table_.session();
    if (!Post()) return false;
    std::string preset = fs::path(table_.Path()).replace_extension(".txt").filename().string();
    auto path = s.dialogs->ChooseSaveFile(preset, t::kDelimitedFilter);
    if (!path) {
        s.AbortFlag = true;
        return false;
    }
    return WriteDelimited(*path);
}

bool TableBrowser::AppendDelimitedFrom(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ShowError(std::string(t::kFile) + path + " " + std::string(t::kNotFound) +
                  std::string(t::kExclamation));
        return false;
    }
    long last = 0;
    for (std::string line; std::getline(in, line);) {
        if (TrimBlanks(line).empty() || line == "\r") continue;
        std::vector<std::string> fields = SplitDelimited(line);
        table_.BlankRecord();
        for (int c = 1; c <= ColumnCount() && c <= static_cast<int>(fields.size()); ++c)
            table_.SetColumnText(c, fields[static_cast<std::size_t>(c - 1)]);
        if (!table_.AppendRecord()) return false;
        last = table_.RecordNumber();
    }
    Reload(last ? last : RecordOfRow(row_));
    return true;
}

bool TableBrowser::AppendDelimited() {
    Session& s = table_.session();
    if (Choosing() || !Post()) return false;
    auto path = s.dialogs->ChooseFile("", t::kDelimitedFilter);
    if (!path) {
        s.AbortFlag = true;
        return false;
    }
    return AppendDelimitedFrom(*path);
}

bool TableBrowser::AppendDbfFrom(const std::string& path) {
    DbfTable other(table_.session());
    if (!other.OpenTablePath(path)) return false;
    // Columns are matched by name; the others stay blank.
    std::vector<std::pair<int, int>> pairs;
    for (int c = 1; c <= ColumnCount(); ++c)
        if (int o = other.ColumnNumber(ColumnTitle(c)); o > 0) pairs.emplace_back(c, o);
    long last = 0;
    for (long n = 1; n <= other.RecordCount(); ++n) {
        if (!other.GoRecord(n)) return false;
        if (other.RecordDeleted()) continue;
        table_.BlankRecord();
        for (auto [mine, theirs] : pairs)
            table_.SetColumnText(mine, other.ColumnText(theirs));
        if (!table_.AppendRecord()) return false;
        last = table_.RecordNumber();
    }
    Reload(last ? last : RecordOfRow(row_));
    return true;
}

bool TableBrowser::AppendDbf() {
    Session& s = table_.session();
    if (Choosing() || !Post()) return false;
    auto path = s.dialogs->ChooseFile("", t::kDbfFilter);
    if (!path) {
        s.AbortFlag = true;
        return false;
    }
    return AppendDbfFrom(*path);
}

std::vector<std::string> TableBrowser::Structure() const {
    std::vector<std::string> lines = {
        table_.Path(), std::string(t::kRecordsLabel) + std::to_string(table_.RecordCount()),
        std::string(t::kStructureHead)};
    for (int c = 1; c <= ColumnCount(); ++c) {
        const DbfColumn& col = *table_.Column(c);
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "%2d  %-10s   %c   %5d  %3d", c, col.name.c_str(),
                      col.type, col.length, col.decimals);
        lines.emplace_back(buffer);
    }
    return lines;
}

void TableBrowser::Ok() {
    if (!Post()) return; // the window stays open on a value the column cannot take
    chosen_ = RecordOfRow(row_);
    accepted_ = true;
    closed_ = true;
}

void NonInteractiveTableView::Show(TableBrowser& browser) {
    browser.Cancel();
}

void ScriptedTableView::Show(TableBrowser& browser) {
    captions.push_back(browser.Caption());
    if (steps.empty()) {
        unexpected.push_back(browser.Caption());
        browser.Cancel();
        return;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step(browser);
}

bool BrowseTable(DbfTable& table, int mode, TableView* view) {
    Session& s = table.session();
    s.AbortFlag = false;
    if (!table.IsOpen() || !view) {
        s.AbortFlag = true;
        return false;
    }
    if (mode != 1 && table.InTempFolder() && s.dialogs)
        s.dialogs->ShowInfo(Utf8ToCp850(t::kNoWriteRight), "Meldung:");
    TableBrowser browser(table, mode);
    view->Show(browser);
    table.SetHideDeleted(false);
    // OK on a window without rows closes on no record: nothing was chosen.
    if (!browser.Accepted() || browser.ChosenRecord() < 1) {
        s.AbortFlag = true;
        return false;
    }
    table.GoRecord(browser.ChosenRecord());
    return true;
}

} // namespace kora

// The table window as a model without widgets: the rows it shows, the navigator, the search,
// editing, appending, deleting and packing, "Export HTML", "Save As Delimited", "Append dbf",
// "Append Delimited" and "dbf Structure". A view (the Qt shell, or a test) shows it modally.
#pragma once

#include "persistence/dbf_table.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

class TableBrowser;

// The window that shows a browser; it returns after the user pressed OK (browser.Ok()) or
// cancelled (browser.Cancel(), the Esc key or the close box).
class TableView {
  public:
    virtual ~TableView() = default;
    virtual void Show(TableBrowser& browser) = 0;
};

// The command line has no table window: every window closes at once with Cancel.
class NonInteractiveTableView final : public TableView {
  public:
    void Show(TableBrowser& browser) override;
};

// Tests: each window shown runs the next scripted step on the browser; a window no step was
// left for is cancelled and its caption noted in `unexpected`.
class ScriptedTableView final : public TableView {
  public:
    void Show(TableBrowser& browser) override;

    std::deque<std::function<void(TableBrowser&)>> steps;
    std::vector<std::string> captions; // of every window shown
    std::vector<std::string> unexpected;
};

class TableBrowser {
  public:
    // Mode 1 chooses a record (read-only, deleted records hidden); other modes edit.
    TableBrowser(DbfTable& table, int mode);

    bool Choosing() const { return mode_ == 1; }
    std::string Caption() const;
    std::vector<std::string> NavigatorButtons() const;
    std::vector<std::string> FileCommands() const; // the File menu, in order
    std::vector<std::string> HelpCommands() const;

    // The grid: rows count from 0 in the order shown, columns from 1.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColumnCount() const { return table_.ColumnCount(); }
    std::string ColumnTitle(int column) const { return table_.ColumnName(column); }
    std::string Cell(int row, int column);
    bool RowDeleted(int row);
    long RecordOfRow(int row) const;
    int CurrentRow() const { return row_; }
    int CurrentColumn() const { return column_; }
    bool MoveTo(int row, int column); // posts a pending edit of another row first

    // Navigator.
    bool First() { return MoveTo(0, column_); }
    bool Prior() { return MoveTo(row_ - 1, column_); }
    bool Next() { return MoveTo(row_ + 1, column_); }
    bool Last() { return MoveTo(RowCount() - 1, column_); }

    // Editing (not while choosing). An edit is pending until posted.
    bool EditCell(std::string_view text);
    bool Post();
    void CancelEdit() { pending_.clear(); }
    bool HasPendingEdit() const { return !pending_.empty(); }
    bool SetDeleted(bool deleted); // marks the current row's record
    bool Append();                 // a blank record at the end, made current
    bool Pack();

    // Search field: the first row (from the top, or after the current row) with a cell that
    // contains the text, compared without regard to case.
    bool Search(std::string_view text);
    bool SearchNext();

    // File menu; each asks for its file through the dialogs. False when cancelled or failed.
    bool ExportHtml();
    bool SaveAsDelimited();
    bool AppendDbf();
    bool AppendDelimited();
    // Help menu "dbf Structure": the column list.
    std::vector<std::string> Structure() const;

    // Writes the HTML export to a path (the file part of ExportHtml).
    bool WriteHtml(const std::string& path);
    bool WriteDelimited(const std::string& path);
    bool AppendDelimitedFrom(const std::string& path);
    bool AppendDbfFrom(const std::string& path);

    // Started with the written HTML file (the configured "HTML Browser"); may be empty.
    std::function<void(const std::string& path)> openHtml;

    void Ok();
    void Cancel() { accepted_ = false, closed_ = true; }
    bool Accepted() const { return accepted_; }
    bool Closed() const { return closed_; }
    long ChosenRecord() const { return chosen_; }

  private:
    void Reload(long keepRecord);
    bool GoRow(int row);
    void ShowError(std::string_view text);

    DbfTable& table_;
    int mode_;
    std::vector<long> rows_;
    int row_ = 0;
    int column_ = 1;
    std::map<int, std::string> pending_; // column -> typed text of the current row
    std::string search_;
    bool accepted_ = false;
    bool closed_ = false;
    long chosen_ = 0;
};

// Shows the current table in the table window (mode 1 chooses, others edit) and leaves the
// table on the chosen record. Cancel, no view to show it in, or OK in a window without rows
// (no record to close on) sets AbortFlag and gives false.
bool BrowseTable(DbfTable& table, int mode, TableView* view);

} // namespace kora

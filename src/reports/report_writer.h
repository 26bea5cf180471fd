// The report writer: renders the report primitives (plain lines, value rows, rules, column
// tables, page headers and page breaks) on one output device and hands the result on at the
// end. Report text is code page 850; windows, browsers and outside programs get UTF-8.
#pragma once

#include "base/file_io.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Configuration;
struct Session;
struct SpringFileContext;

// Output devices, numbered as stored in "Text Device".
enum ReportDevice : int {
    kDeviceScreen = 1,           // temporary file, shown in the text window
    kDeviceTextPrinter = 2,      // raw text to the printer device, or a spool command
    kDeviceFile = 3,             // text file chosen by the user, plus the copy "outwin.txt"
    kDeviceWindowsPrinter = 4,   // temporary file handed to the print command
    kDeviceTextProgram = 5,      // temporary file, copy opened with "Textprogramm"
    kDeviceSpreadsheet = 6,      // tab-separated file, copy "$$" + n + ".txt"
    kDeviceHtml = 7,             // HTML file, opened with "HTML Browser"
    kDeviceDosFile = 8,          // "OUTDOS.TXT" in the temporary folder, plus "outwin.txt"
    kDeviceSpreadsheetNamed = 9, // like 6, copy named after the spring
};

enum class Rule { Single, Double };

// How a report ended, or where it stands.
enum class ReportState {
    Idle,      // no report open
    Open,      // writing
    Cancelled, // a dialog, a refused page or the device choice ended it
    Failed,    // the device or file could not be written (message shown, AbortFlag set)
};

struct TableColumn {
    std::string title;
    int width = 0;
};

struct ReportTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
};

// Width of a value row on paper; the value is never cut there.
inline constexpr int kRowWidth = 72;
inline constexpr int kRuleWidth = 70;
inline constexpr int kLineIndent = 7;

// The rule line of a style (1 "*", 2 box drawing, 3 blanks, other: suppressed = "").
enum class RuleShape { Single, Double, BoxTop, BoxBottom, BoxMiddle };
std::string RuleText(int style, RuleShape shape);
// The frame character of the page-header box: '*', CP850 0xBA or a blank.
char FrameCharacter(int style);

// A value row: label from column 1, symbol at 35, unit at 44, value at 56, padded to 72
// characters. A text that would start inside the one before it moves behind it (one blank
// apart); nothing is cut, so a long value makes the row longer than 72.
std::string RowText(std::string_view label, std::string_view symbol, std::string_view unit,
                    std::string_view value);
// The two-value row: the values at columns 51 and 62.
std::string RowText(std::string_view label, std::string_view symbol, std::string_view unit,
                    std::string_view value1, std::string_view value2);

// A message text cut into pieces of at most 64 characters at blanks when it is longer than
// 72 characters; shorter texts stay whole.
std::vector<std::string> WrapMessage(std::string_view text);

// The decimal sign of a number (a '.' or ',' between digits) as the spreadsheet setting wants
// it: a point for "English x.xx" (1), a comma otherwise.
std::string SpreadsheetNumber(const Configuration& config, std::string_view text);

class ReportWriter {
  public:
    // The writer reads the session's configuration and dialogs, and the spring file names for
    // the page header; both must outlive it.
    ReportWriter(Session& session, const SpringFileContext& files);
    ~ReportWriter(); // an open report is abandoned: nothing is stored
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    Session& session() const { return session_; }
    const SpringFileContext& files() const { return files_; }

    // ---- Settings that hold for the following reports ----
    // The five page-header lines: program title with version, drawing name and number,
    // drawing name 2, remark 1, remark 2 (code page 850).
    void SetHeader(const std::array<std::string, 5>& lines) { header_ = lines; }
    const std::array<std::string, 5>& Header() const { return header_; }
    // The total page count shown as "Bl. p/total"; 0 when not known.
    void SetTotalPages(int total) { totalPages_ = total; }
    // Date and time of the page header (tests fix them).
    void SetClock(std::function<ReportTime()> clock) { clock_ = std::move(clock); }
    // Command-line run: device 3 takes the suggested name as its file, without a dialog.
    void SetFileWithoutDialog(bool on) { fileWithoutDialog_ = on; }
    // A file no report file or copy may replace (the spring file a command-line run reads,
    // under any of its names); such a report fails with a message. "" for none.
    void SetKeptFile(std::string path) { keptFile_ = std::move(path); }

    // ---- One report ----
    // Kind 0: the configured "Text Device" (with the choice dialog when "Text Device Window ?"
    // is set); kinds 1..9 select that device. False when the report cannot start (cancelled
    // or failed; see State()).
    bool OpenReport(int kind, std::string_view suggestedName);
    void WriteLine(std::string_view text);
    void WriteRow(std::string_view label, std::string_view symbol, std::string_view unit,
                  std::string_view value);
    void WriteRow(std::string_view label, std::string_view symbol, std::string_view unit,
                  std::string_view value1, std::string_view value2);
    void WriteSeparator(Rule rule = Rule::Single);
    // columns[0] is the first column. With rulesBetweenRows a single rule follows every row
    // on the text devices; otherwise EndTable closes the table with one.
    void BeginTable(const std::vector<TableColumn>& columns, bool rulesBetweenRows = false);
    void TableRow(const std::vector<std::string>& cells);
    void EndTable();
    void FormFeed();
    // New page once more than max(lines per page - 10, 10) lines are on the page.
    void PageCheck();
    void PageHeader(bool firstPage);
    // "BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN" with every message of the list, its cause and
    // its remedy.
    void MessagesSection();
    // Stores the report, writes its UTF-8 copy and shows or hands it on. True only when every
    // file was written; a failure is shown with its message and sets AbortFlag.
    bool CloseReport();

    // ---- State ----
    ReportState State() const { return state_; }
    // Open and neither cancelled nor failed: the builders stop writing when this is false.
    bool Active() const { return state_ == ReportState::Open; }
    int Device() const { return device_; }
    const std::string& OutputPath() const { return path_; }
    // The UTF-8 copy the last CloseReport wrote ("outwin.txt", "$$n.txt" …), or "".
    const std::string& CopyPath() const { return copyPath_; }
    int Page() const { return page_; }
    int LinesOnPage() const { return lines_; }
    int SpreadsheetFiles() const { return spreadsheetCount_; }

  private:
    bool TextDevice() const;
    bool SpreadsheetDevice() const;
    bool HtmlDevice() const { return device_ == kDeviceHtml; }
    bool Streaming() const { return printerFd_ >= 0; }
    int RuleStyle() const;
    int LinesPerPage() const;

    bool ChooseDevice(int kind);
    bool ChooseOutputFile(std::string_view suggestedName, std::string_view extension);
    bool PrepareDevice(std::string_view suggestedName);
    bool OpenPrinter();
    std::string TempPath(std::string_view name) const;

    // A value row on every device; textRow is its rendering on the text devices.
    void WriteRowOf(std::string_view label, std::string_view symbol, std::string_view unit,
                    std::initializer_list<std::string_view> values, const std::string& textRow);
    void Emit(std::string_view bytes);              // raw bytes to the output
    void EmitLine(std::string_view line);           // one line with its line end
    void EmitTextLine(std::string_view line);       // indented, counted, after a page-break check
    void CountedLine(std::string_view line);        // indented and counted, no page-break check
    void EmitHtml(std::string_view utf8Line);       // a line of markup as it is
    std::string Html(std::string_view cp850) const; // converted and escaped text
    void CloseHtmlTable();
    void BreakPage();
    void WriteTextHeader();
    void WriteHtmlHeader();
    void WriteSpreadsheetHeader();
    std::string FramedLine(std::string_view text, char frame) const;
    std::string SpringPathText() const;
    ReportTime Now() const;
    void Cancel();
    // Shows the file error (path: the file it concerns, if any) and sets AbortFlag.
    void Fail(FileWriteResult result, const std::string& path = {});
    void FailMessage(const std::string& message); // the same with a message of its own
    bool Store(const std::string& path, std::string_view bytes);
    bool StoreProduct();
    bool StoreCopy(const std::string& path);
    bool HandOn(); // shows, prints or opens the stored report; false when that failed
    bool IsRule(std::string_view text, bool boxesToo) const;

    Session& session_;
    const SpringFileContext& files_;
    std::array<std::string, 5> header_{};
    int totalPages_ = 0;
    std::function<ReportTime()> clock_;
    bool fileWithoutDialog_ = false;
    std::string keptFile_;

    ReportState state_ = ReportState::Idle;
    int device_ = kDeviceScreen;
    std::string path_;         // the report file (or the printer device)
    std::string copyPath_;     // UTF-8 copy of the last report
    std::string spoolCommand_; // device 2 through a spool command
    std::string out_;          // the report bytes, stored at CloseReport
    int printerFd_ = -1;       // device 2 written directly
    bool pause_ = false;
    int page_ = 0;
    int lines_ = 0;
    enum class HtmlTable { None, Rows, Columns };
    HtmlTable htmlTable_ = HtmlTable::None;
    std::vector<int> tableWidths_;
    bool tableRules_ = false;
    int spreadsheetCount_ = 0;
    int chosenDevice_ = 0; // last answer of the device choice, 0 before the first
};

} // namespace kora

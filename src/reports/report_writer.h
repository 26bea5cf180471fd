// The report writer: the device end of a report. It chooses the output device (with the
// choice dialog, the file choice and the pause question), passes the report primitives (plain
// lines, value rows, rules, column tables, page headers and page breaks) to the sink of the
// device's format, and at the end stores the bytes, writes the UTF-8 copy and shows or hands
// them on. Report text is code page 850; windows, browsers and outside programs get UTF-8.
#pragma once

#include "base/file_io.h"
#include "base/real.h"
#include "reports/report_devices.h"
#include "reports/report_sink.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kora {

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

// How a report ended, or where it stands.
enum class ReportState {
    Idle,      // no report open
    Open,      // writing
    Cancelled, // a dialog, a refused page or the device choice ended it
    Failed,    // the device or file could not be written (message shown, AbortFlag set)
};

// The writer stays the output of its sink: Emit takes the bytes into memory (stored at
// CloseReport) or streams them to the text printer written directly.
class ReportWriter : private ReportOutput {
  public:
    // The writer reads the session's configuration and dialogs, and the spring file names for
    // the page header; both must outlive it.
    ReportWriter(Session& session, const SpringFileContext& files);
    ~ReportWriter(); // an open report is abandoned: nothing is stored
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    const SpringFileContext& files() const { return files_; }

    // ---- Settings that hold for the following reports ----
    // The five page-header lines: program title with version, drawing name and number,
    // drawing name 2, remark 1, remark 2 (code page 850).
    void SetHeader(const std::array<std::string, 5>& lines) { heading_.lines = lines; }
    const std::array<std::string, 5>& Header() const { return heading_.lines; }
    // The total page count shown as "Bl. p/total"; 0 when not known.
    void SetTotalPages(int total) { heading_.totalPages = total; }
    // Date and time of the page header (tests fix them).
    void SetClock(std::function<ReportTime()> clock) { heading_.clock = std::move(clock); }
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

    // ---- The dialogs of the report builders ----
    // The message window, in place of a report of a calculation that ended fatally.
    void ShowMessageWindow();
    void ShowNote(std::string_view text); // message box "Meldung:"
    // A number within minimum..maximum, asked with its help topic.
    bool AskNumber(std::string_view prompt, int helpTopic, real& value, real maximum, real minimum);
    bool AskYesNo(std::string_view prompt, bool& yes);

    // ---- State ----
    ReportState State() const { return state_; }
    // Open and neither cancelled nor failed: the builders stop writing when this is false.
    bool Active() const override { return state_ == ReportState::Open; }
    int Device() const { return device_; }
    const std::string& OutputPath() const { return path_; }
    // The UTF-8 copy the last CloseReport wrote ("outwin.txt", "$$n.txt" …), or "".
    const std::string& CopyPath() const { return copyPath_; }
    int Page() const { return sink_ ? sink_->Page() : 0; }
    int LinesOnPage() const { return sink_ ? sink_->LinesOnPage() : 0; }
    int SpreadsheetFiles() const { return spreadsheetCount_; }

  private:
    // ReportOutput
    void Emit(std::string_view bytes) override;
    bool NextSheet() override;

    bool ChooseDevice(int kind);
    bool ChooseOutputFile(std::string_view suggestedName, std::string_view extension);
    bool PrepareDevice(std::string_view suggestedName);
    bool OpenPrinter();
    std::unique_ptr<ReportSink> SinkOfDevice();
    std::string TempPath(std::string_view name) const;
    void Cancel();
    // Shows the file error (path: the file it concerns, if any) and sets AbortFlag.
    void Fail(FileWriteResult result, const std::string& path = {});
    void FailMessage(const std::string& message); // the same with a message of its own
    void Abandon();                               // the bytes go, the printer is let go
    bool Store(const std::string& path, std::string_view bytes);
    bool StoreCopy(const std::string& path);
    bool HandOn(); // shows, prints or opens the stored report; false when that failed

    Session& session_;
    const SpringFileContext& files_;
    ReportHeading heading_;
    bool fileWithoutDialog_ = false;
    std::string keptFile_;

    ReportState state_ = ReportState::Idle;
    int device_ = kDeviceScreen;
    std::unique_ptr<ReportSink> sink_;
    std::string path_;         // the report file (or the printer device)
    std::string copyPath_;     // UTF-8 copy of the last report
    std::string spoolCommand_; // device 2 through a spool command
    std::string out_;          // the report bytes, stored at CloseReport
    PrinterPort printer_;      // device 2 written directly
    bool pause_ = false;
    int spreadsheetCount_ = 0;
    int chosenDevice_ = 0; // last answer of the device choice, 0 before the first
};

} // namespace kora

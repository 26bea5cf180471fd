// The formats a report is rendered in. A sink turns the report primitives (lines, value rows,
// rules, column tables, page headers and breaks, messages) into the bytes of one format and
// hands them to the writer's output, the device end: paginated plain text with rule styles
// and page headers, HTML, or tab-separated text for a spreadsheet.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Configuration;
struct MessageHelp;
struct SpringFileContext;
struct SpringRecord;

enum class Rule { Single, Double };

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
// Whether a line is a single or double rule of the style; with boxesToo a box line as well.
bool IsRuleLine(int style, std::string_view line, bool boxesToo);
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

// What the page headers show; the writer keeps it for the reports to come.
struct ReportHeading {
    // Program title with version, drawing name and number, drawing name 2, remark 1, remark 2
    // (code page 850).
    std::array<std::string, 5> lines{};
    int totalPages = 0;                // shown as "Bl. p/total"; 0 when not known
    std::function<ReportTime()> clock; // none: the local time
    ReportTime Now() const;
};

// The device end a sink writes through.
class ReportOutput {
  public:
    virtual void Emit(std::string_view bytes) = 0; // ignored once the report has ended
    virtual bool Active() const = 0;               // open, neither cancelled nor failed
    // Asked before each page header of the paginated text; false when the sheet is refused,
    // which cancels the report.
    virtual bool NextSheet() = 0;

  protected:
    ~ReportOutput() = default;
};

// One report in one format. The writer calls the primitives only while its output is active;
// a sink checks again wherever a page break or a failed write may end the report midway.
class ReportSink {
  public:
    virtual ~ReportSink() = default;
    ReportSink(const ReportSink&) = delete;
    ReportSink& operator=(const ReportSink&) = delete;

    virtual void Line(std::string_view text) = 0;
    // One or two values.
    virtual void Row(std::string_view label, std::string_view symbol, std::string_view unit,
                     std::span<const std::string_view> values) = 0;
    virtual void Separator(Rule) {} // only the paginated text draws rules
    virtual void BeginTable(const std::vector<TableColumn>& columns, bool rulesBetweenRows) = 0;
    virtual void TableRow(const std::vector<std::string>& cells) = 0;
    virtual void EndTable() = 0;
    virtual void FormFeed() {}
    virtual void PageCheck() {}
    void PageHeader(bool firstPage); // counts the page on every format
    // The messages section: its heading, then one message with its cause and remedy a call.
    virtual void MessagesHeading(std::string_view heading);
    virtual void Message(const std::string& message, const MessageHelp& help) = 0;
    virtual void Finish() {} // what ends the report's last page

    int Page() const { return page_; }
    virtual int LinesOnPage() const { return 0; }

  protected:
    ReportSink(ReportOutput& output, std::string_view lineEnd)
        : output_(output), lineEnd_(lineEnd) {}
    virtual void Header(bool firstPage) = 0;
    bool Active() const { return output_.Active(); }
    void Emit(std::string_view bytes) { output_.Emit(bytes); }
    void EmitLine(std::string_view line); // with the format's line end
    ReportOutput& output_;

  private:
    std::string_view lineEnd_;
    int page_ = 0;
};

// How a device takes the paginated text.
struct TextPaper {
    bool bareFormFeed = false; // the printer gets the form feed without a line end
    // A last page that carries no header or is compressed is ended by a form feed.
    bool closingFormFeed = false;
};

// Paginated text in code page 850 with CR LF: lines indented by 7, page breaks with headers,
// rules in the configured style ("Textdruckmodus"; 4 compresses and spares half-empty pages).
class TextSink final : public ReportSink {
  public:
    TextSink(ReportOutput& output, const Configuration& config, const ReportHeading& heading,
             const SpringFileContext& files, TextPaper paper);
    void Line(std::string_view text) override;
    void Row(std::string_view label, std::string_view symbol, std::string_view unit,
             std::span<const std::string_view> values) override;
    void Separator(Rule rule) override;
    void BeginTable(const std::vector<TableColumn>& columns, bool rulesBetweenRows) override;
    void TableRow(const std::vector<std::string>& cells) override;
    void EndTable() override;
    void FormFeed() override;
    // New page once more than max(lines per page - 10, 10) lines are on the page.
    void PageCheck() override;
    void Message(const std::string& message, const MessageHelp& help) override;
    void Finish() override;
    int LinesOnPage() const override { return lines_; }

  private:
    void Header(bool firstPage) override;
    int RuleStyle() const;
    int LinesPerPage() const;
    void EmitFormFeed();
    void CountedLine(std::string_view line);
    void BreakPage();
    void NewPageWithHeader();
    void WriteHeaderBox();
    std::string FramedLine(std::string_view text, char frame) const;
    std::string SpringPathText() const;

    const Configuration& config_;
    const ReportHeading& heading_;
    const SpringFileContext& files_;
    TextPaper paper_;
    int lines_ = 0;
    std::vector<int> tableWidths_;
    bool tableRules_ = false;
};

// HTML in UTF-8 with LF: value rows and column tables as bordered tables, the header on the
// first page only; rules and page breaks are left out.
class HtmlSink final : public ReportSink {
  public:
    HtmlSink(ReportOutput& output, const Configuration& config, const ReportHeading& heading,
             std::string reportPath);
    void Line(std::string_view text) override;
    void Row(std::string_view label, std::string_view symbol, std::string_view unit,
             std::span<const std::string_view> values) override;
    void BeginTable(const std::vector<TableColumn>& columns, bool rulesBetweenRows) override;
    void TableRow(const std::vector<std::string>& cells) override;
    void EndTable() override;
    void Message(const std::string& message, const MessageHelp& help) override;
    void Finish() override;

  private:
    enum class Table { None, Rows, Columns };
    void Header(bool firstPage) override;
    std::string Html(std::string_view cp850) const; // converted and escaped text
    void OpenTable(Table kind);
    void CloseTable();

    const Configuration& config_;
    const ReportHeading& heading_;
    std::string reportPath_;
    Table table_ = Table::None;
};

// Tab-separated text in code page 850 with CR LF: one line per value row or table row, numbers
// with the spreadsheet's decimal sign; rules and page breaks are left out.
class SpreadsheetSink final : public ReportSink {
  public:
    SpreadsheetSink(ReportOutput& output, const Configuration& config, const ReportHeading& heading,
                    const SpringRecord& spring, std::string reportPath);
    void Line(std::string_view text) override;
    void Row(std::string_view label, std::string_view symbol, std::string_view unit,
             std::span<const std::string_view> values) override;
    void BeginTable(const std::vector<TableColumn>& columns, bool rulesBetweenRows) override;
    void TableRow(const std::vector<std::string>& cells) override;
    void EndTable() override {}
    void MessagesHeading(std::string_view heading) override;
    void Message(const std::string& message, const MessageHelp& help) override;

  private:
    void Header(bool firstPage) override;

    const Configuration& config_;
    const ReportHeading& heading_;
    const SpringRecord& spring_;
    std::string reportPath_;
};

} // namespace kora

#include "base/codepage.h"
#include "base/configuration.h"
#include "base/program.h"
#include "base/text.h"
#include "calc/dialog_calls.h"
#include "calc/message_help.h"
#include "reports/report_sink.h"
#include "reports/report_texts.h"

namespace kora {
namespace text = report_text;

namespace {

constexpr std::string_view kHtmlLineEnd = "\n";
constexpr std::string_view kRowsTable = "<TABLE BORDER = \"2\" WIDTH= \"100%\">";
constexpr std::string_view kColumnsTable = "<TABLE BORDER = \"1\" WIDTH= \"100%\">";

std::string ProgramTitleVersion() {
    return std::string(kProgramTitle) + std::string(text::kHtmlVersion) +
           std::string(kProgramVersion);
}

std::string Trimmed(std::string_view s) {
    return std::string(TrimmedSpaces(s));
}

} // namespace

HtmlSink::HtmlSink(ReportOutput& output, const Configuration& config, const ReportHeading& heading,
                   std::string reportPath)
    : ReportSink(output, kHtmlLineEnd), config_(config), heading_(heading),
      reportPath_(std::move(reportPath)) {}

std::string HtmlSink::Html(std::string_view cp850) const {
    return HtmlEscaped(WindowText(config_, cp850));
}

void HtmlSink::OpenTable(Table kind) {
    CloseTable();
    EmitLine(kind == Table::Rows ? kRowsTable : kColumnsTable);
    table_ = kind;
}

void HtmlSink::CloseTable() {
    if (table_ == Table::None) return;
    EmitLine("</TABLE>");
    table_ = Table::None;
}

void HtmlSink::Line(std::string_view line) {
    if (!Active()) return;
    // A rule between table rows leaves the table open.
    if (IsRuleLine(config_.textPrintMode, line, true)) return;
    CloseTable();
    EmitLine("<br>" + Html(line));
}

void HtmlSink::Row(std::string_view label, std::string_view symbol, std::string_view unit,
                   std::span<const std::string_view> values) {
    if (!Active()) return;
    if (table_ != Table::Rows) OpenTable(Table::Rows);
    std::string row =
        "<TR><TD>" + Html(label) + "</TD><TD>" + Html(symbol) + "</TD><TD>" + Html(unit) + "</TD>";
    for (std::string_view value : values)
        row += "<TD><DIV ALIGN=RIGHT>" + Html(value) + "</DIV></TD>";
    EmitLine(row + "</TR>");
}

void HtmlSink::BeginTable(const std::vector<TableColumn>& columns, bool) {
    if (!Active()) return;
    OpenTable(Table::Columns);
    std::string row = "<TR>";
    for (const TableColumn& c : columns)
        row += "<TD><CENTER>" + Html(Trimmed(c.title)) + "</CENTER></TD>";
    EmitLine(row + "</TR>");
}

void HtmlSink::TableRow(const std::vector<std::string>& cells) {
    if (!Active()) return;
    if (table_ != Table::Columns) OpenTable(Table::Columns);
    std::string row = "<TR>";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string cell = Html(Trimmed(cells[i]));
        row += i == 0 ? "<TD>" + cell + "</TD>" : "<TD><DIV ALIGN=RIGHT>" + cell + "</DIV></TD>";
    }
    EmitLine(row + "</TR>");
}

void HtmlSink::EndTable() {
    if (!Active()) return;
    CloseTable();
}

// A table of its own: the message, then its cause and its remedy where they are given.
void HtmlSink::Message(const std::string& message, const MessageHelp& help) {
    if (!Active()) return;
    CloseTable();
    EmitLine(kColumnsTable);
    EmitLine("<TR><TD>" + Html(message) + "</TD></TR>");
    for (const std::string* t : {&help.cause, &help.remedy})
        if (!Trimmed(*t).empty()) EmitLine("<TR><TD>" + Html(*t) + "</TD></TR>");
    EmitLine("</TABLE>");
}

void HtmlSink::Finish() {
    CloseTable();
    EmitLine("</BODY>");
    EmitLine("</HTML>");
}

void HtmlSink::Header(bool firstPage) {
    if (!firstPage) return;
    // A comment must not hold "--".
    std::string name = reportPath_;
    for (std::size_t p; (p = name.find("--")) != std::string::npos;)
        name.replace(p, 2, "-");
    EmitLine("<!-- " + HtmlEscaped(name) + " -->");
    EmitLine("<HTML>");
    // The browser is told the encoding, so umlauts show whatever its default.
    EmitLine("<head><meta charset=\"utf-8\"><title>" + HtmlEscaped(ProgramTitleVersion()) +
             "</title></head>");
    EmitLine("<BODY BGCOLOR=\"C0C0C0\">");
    EmitLine("<hr>");
    EmitLine("<h4>" + HtmlEscaped(ProgramTitleVersion()) + " #" + Html(text::kIdentification) +
             "</h4>");
    EmitLine("<h4>" + Html(text::kIdentification2) + "</h4>");
    EmitLine("<hr>");
    for (int i = 1; i < 5; ++i)
        EmitLine("<h5>" + Html(std::string(TrimmedRightSpaces(heading_.lines[i]))) + "</h5>");
    EmitLine("<hr>");
}

} // namespace kora

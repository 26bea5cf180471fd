#include "base/codepage.h"
#include "base/configuration.h"
#include "base/numformat.h"
#include "base/program.h"
#include "base/text.h"
#include "calc/message_help.h"
#include "calc/spring_record.h"
#include "reports/report_sink.h"
#include "reports/report_texts.h"

#include <cctype>

namespace kora {
namespace text = report_text;

namespace {

constexpr std::string_view kDosLineEnd = "\r\n";

// Trimmed cells separated by tabs.
std::string TabbedLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) line += '\t';
        line += TrimmedSpaces(cells[i]);
    }
    return line;
}

} // namespace

std::string SpreadsheetNumber(const Configuration& config, std::string_view value) {
    const char sign = config.SpreadsheetDecimal == 1 ? '.' : ',';
    std::string out(value);
    auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t i = 1; i + 1 < out.size(); ++i)
        if ((out[i] == '.' || out[i] == ',') && digit(out[i - 1]) && digit(out[i + 1]))
            out[i] = sign;
    return out;
}

SpreadsheetSink::SpreadsheetSink(ReportOutput& output, const Configuration& config,
                                 const ReportHeading& heading, const SpringRecord& spring,
                                 std::string reportPath)
    : ReportSink(output, kDosLineEnd), config_(config), heading_(heading), spring_(spring),
      reportPath_(std::move(reportPath)) {}

void SpreadsheetSink::Line(std::string_view line) {
    if (!Active()) return;
    if (!IsRuleLine(config_.textPrintMode, line, false)) EmitLine(line);
}

void SpreadsheetSink::Row(std::string_view label, std::string_view symbol, std::string_view unit,
                          std::span<const std::string_view> values) {
    if (!Active()) return;
    std::string line(label);
    line.append("\t").append(symbol).append("\t").append(unit);
    for (std::string_view value : values)
        line.append("\t").append(SpreadsheetNumber(config_, std::string(TrimmedSpaces(value))));
    EmitLine(line);
}

void SpreadsheetSink::BeginTable(const std::vector<TableColumn>& columns, bool) {
    if (!Active()) return;
    std::vector<std::string> titles;
    for (const TableColumn& c : columns)
        titles.push_back(c.title);
    EmitLine(TabbedLine(titles));
}

void SpreadsheetSink::TableRow(const std::vector<std::string>& cells) {
    if (!Active()) return;
    std::vector<std::string> numbers;
    for (const std::string& cell : cells)
        numbers.push_back(SpreadsheetNumber(config_, TrimmedSpaces(cell)));
    EmitLine(TabbedLine(numbers));
}

void SpreadsheetSink::MessagesHeading(std::string_view heading) {
    Line("");
    Line(heading);
}

void SpreadsheetSink::Message(const std::string& message, const MessageHelp& help) {
    if (!Active()) return;
    EmitLine(message + "\t" + help.cause + "\t" + help.remedy);
}

void SpreadsheetSink::Header(bool firstPage) {
    if (!firstPage) return;
    const ReportTime now = heading_.Now();
    // A tab keeps the version and the date in cells of their own.
    EmitLine(std::string(kProgramTitle) + std::string(text::kHtmlVersion) +
             std::string(kProgramVersion) + "\t" + DateText(config_, now.year, now.month, now.day) +
             "\t" + FormatC("%02d:%02d", now.hour, now.minute));
    EmitLine(Utf8ToCp850(reportPath_));
    EmitLine(spring_.TitleLine);
    EmitLine(spring_.remark1);
    EmitLine(spring_.remark2);
    EmitLine(" ");
}

} // namespace kora

#include "base/codepage.h"
#include "base/configuration.h"
#include "base/numformat.h"
#include "base/text.h"
#include "calc/message_help.h"
#include "persistence/spring_file.h"
#include "reports/report_sink.h"
#include "reports/report_texts.h"

#include <algorithm>
#include <filesystem>

namespace kora {
namespace fs = std::filesystem;
namespace text = report_text;

namespace {

constexpr std::string_view kDosLineEnd = "\r\n";
constexpr char kFormFeed = '\f';
constexpr std::size_t kMessageWidth = 72, kMessagePiece = 64;
constexpr int kFirstPageLimit = 10; // PageCheck never breaks before this many lines

// Row columns (1-based).
constexpr int kSymbolColumn = 35, kUnitColumn = 44, kValueColumn = 56;
constexpr int kValue1Column = 51, kValue2Column = 62;
// Page-header columns (1-based).
constexpr int kHeaderTextColumn = 6, kPageColumn = 64, kPageTotalColumn = 60;
constexpr int kDateColumn = 53, kTimeColumn = 64, kFrameColumn = 70;

// Places a text at a 1-based column of a line built from the left. A text that would start
// inside what is already there moves behind it, one blank apart; nothing is cut.
void PlaceAt(std::string& line, std::string_view placed, int column) {
    if (placed.empty()) return;
    const std::size_t start = static_cast<std::size_t>(column - 1);
    std::size_t used = line.find_last_not_of(' ');
    used = used == std::string::npos ? 0 : used + 1;
    line.resize(used);
    if (used <= start)
        line.append(start - used, ' ');
    else
        line.push_back(' ');
    line.append(placed);
}

void PadTo(std::string& line, std::size_t width) {
    if (line.size() < width) line.append(width - line.size(), ' ');
}

std::string RightAligned(std::string_view cell, int width) {
    std::string out;
    if (static_cast<int>(cell.size()) < width) out.assign(width - cell.size(), ' ');
    out.append(cell);
    return out;
}

// A header line in its frame, padded to the row width.
std::string Framed(std::string line, char frame) {
    if (frame != ' ') PlaceAt(line, std::string(1, frame), kFrameColumn);
    PadTo(line, kRowWidth);
    return line;
}

} // namespace

std::string RuleText(int style, RuleShape shape) {
    auto box = [](char left, char right) {
        std::string s(1, left);
        s.append(kRuleWidth - 2, '\xCD');
        s.push_back(right);
        return s;
    };
    switch (style) {
    case 1:
        return std::string(kRuleWidth, shape == RuleShape::Single   ? '-'
                                       : shape == RuleShape::Double ? '='
                                                                    : '*');
    case 2:
        switch (shape) {
        case RuleShape::Single:
            return std::string(kRuleWidth, '\xC4');
        case RuleShape::Double:
            return std::string(kRuleWidth, '\xCD');
        case RuleShape::BoxTop:
            return box('\xC9', '\xBB');
        case RuleShape::BoxBottom:
            return box('\xC8', '\xBC');
        case RuleShape::BoxMiddle:
            return box('\xCC', '\xB9');
        }
        return {};
    case 3:
        return std::string(kRuleWidth, ' ');
    default:
        return {}; // suppressed
    }
}

bool IsRuleLine(int style, std::string_view line, bool boxesToo) {
    if (style < 1 || style > 3 || line.empty()) return false;
    if (line == RuleText(style, RuleShape::Single) || line == RuleText(style, RuleShape::Double))
        return true;
    return boxesToo && (line == RuleText(style, RuleShape::BoxTop) ||
                        line == RuleText(style, RuleShape::BoxBottom) ||
                        line == RuleText(style, RuleShape::BoxMiddle));
}

char FrameCharacter(int style) {
    return style == 1 ? '*' : style == 2 ? '\xBA' : ' ';
}

std::string RowText(std::string_view label, std::string_view symbol, std::string_view unit,
                    std::string_view value) {
    std::string line(label);
    PlaceAt(line, symbol, kSymbolColumn);
    PlaceAt(line, unit, kUnitColumn);
    PlaceAt(line, value, kValueColumn);
    PadTo(line, kRowWidth);
    return line;
}

std::string RowText(std::string_view label, std::string_view symbol, std::string_view unit,
                    std::string_view value1, std::string_view value2) {
    std::string line(label);
    PlaceAt(line, symbol, kSymbolColumn);
    PlaceAt(line, unit, kUnitColumn);
    PlaceAt(line, value1, kValue1Column);
    PlaceAt(line, value2, kValue2Column);
    PadTo(line, kRowWidth);
    return line;
}

std::vector<std::string> WrapMessage(std::string_view message) {
    if (message.size() <= kMessageWidth) return {std::string(message)};
    std::vector<std::string> pieces;
    while (!message.empty()) {
        if (message.size() <= kMessagePiece) {
            pieces.push_back(std::string(TrimmedRightSpaces(message)));
            break;
        }
        // The last blank that leaves at most 64 characters before it.
        std::size_t cut = message.substr(0, kMessagePiece + 1).rfind(' ');
        std::size_t next = cut;
        if (cut == std::string_view::npos || cut == 0) {
            cut = kMessagePiece; // one word longer than a piece
            next = cut;
        } else {
            next = cut + 1;
        }
        pieces.push_back(std::string(TrimmedRightSpaces(message.substr(0, cut))));
        message.remove_prefix(next);
        while (!message.empty() && message.front() == ' ')
            message.remove_prefix(1);
    }
    return pieces;
}

// ---- TextSink ----

TextSink::TextSink(ReportOutput& output, const Configuration& config, const ReportHeading& heading,
                   const SpringFileContext& files, TextPaper paper)
    : ReportSink(output, kDosLineEnd), config_(config), heading_(heading), files_(files),
      paper_(paper) {}

int TextSink::RuleStyle() const {
    return config_.textPrintMode;
}

int TextSink::LinesPerPage() const {
    const int lines = config_.linesPerPage;
    return lines < 5 ? 66 : lines;
}

void TextSink::Line(std::string_view text) {
    if (!Active()) return;
    if (lines_ >= LinesPerPage()) BreakPage();
    CountedLine(text);
}

// Header lines and the blank line after a header never start a page themselves, so that a
// page shorter than its header cannot break forever.
void TextSink::CountedLine(std::string_view line) {
    if (!Active()) return;
    EmitLine(std::string(kLineIndent, ' ') + std::string(line));
    ++lines_;
}

void TextSink::Separator(Rule rule) {
    const int style = RuleStyle();
    if (style < 1 || style > 3) return; // suppressed
    Line(RuleText(style, rule == Rule::Double ? RuleShape::Double : RuleShape::Single));
}

void TextSink::Row(std::string_view label, std::string_view symbol, std::string_view unit,
                   std::span<const std::string_view> values) {
    if (!Active()) return;
    Line(values.size() == 2 ? RowText(label, symbol, unit, values[0], values[1])
                            : RowText(label, symbol, unit, values[0]));
    Separator(Rule::Single);
}

void TextSink::BeginTable(const std::vector<TableColumn>& columns, bool rulesBetweenRows) {
    if (!Active()) return;
    tableWidths_.clear();
    for (const TableColumn& c : columns)
        tableWidths_.push_back(c.width);
    tableRules_ = rulesBetweenRows;
    Separator(Rule::Double);
    std::string line;
    for (const TableColumn& c : columns)
        line += RightAligned(c.title, c.width);
    Line(line);
    Separator(Rule::Double);
}

void TextSink::TableRow(const std::vector<std::string>& cells) {
    if (!Active()) return;
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int width = i < tableWidths_.size() ? tableWidths_[i] : 0;
        line += RightAligned(cells[i], width);
    }
    Line(line);
    if (tableRules_) Separator(Rule::Single);
}

void TextSink::EndTable() {
    if (!Active()) return;
    if (!tableRules_) Separator(Rule::Single);
    tableWidths_.clear();
    tableRules_ = false;
}

void TextSink::EmitFormFeed() {
    if (paper_.bareFormFeed)
        Emit(std::string(1, kFormFeed));
    else
        EmitLine(std::string(1, kFormFeed));
    lines_ = 0;
}

void TextSink::FormFeed() {
    if (!Active()) return;
    // Compressed printing spares the paper of a page that is less than half full.
    if (RuleStyle() == 4 && lines_ < LinesPerPage() / 2) return;
    EmitFormFeed();
}

void TextSink::BreakPage() {
    FormFeed();
    if (config_.printoutHeader == 2) {
        lines_ = 0;
        return;
    }
    PageHeader(false);
    CountedLine("");
}

void TextSink::PageCheck() {
    if (!Active()) return;
    if (lines_ <= std::max(LinesPerPage() - 10, kFirstPageLimit)) return;
    FormFeed();
    lines_ = 0;
    PageHeader(false);
    CountedLine("");
}

void TextSink::Message(const std::string& message, const MessageHelp& help) {
    // Message, cause and remedy are three lines even when a help text is empty.
    for (const std::string* t : {&message, &help.cause, &help.remedy})
        for (const std::string& piece : WrapMessage(*t))
            Line(piece);
    Separator(Rule::Single);
}

void TextSink::Finish() {
    if (paper_.closingFormFeed && (config_.printoutHeader == 2 || RuleStyle() == 4) && lines_ > 0)
        EmitFormFeed();
}

// ---- Page header ----

void TextSink::Header(bool firstPage) {
    if (!output_.NextSheet()) return;
    if (!firstPage && config_.printoutHeader == 2) {
        CountedLine("");
        return;
    }
    WriteHeaderBox();
}

std::string TextSink::FramedLine(std::string_view line, char frame) const {
    std::string out(1, frame);
    PlaceAt(out, std::string(TrimmedRightSpaces(line)), kHeaderTextColumn);
    return Framed(std::move(out), frame);
}

std::string TextSink::SpringPathText() const {
    std::string name = Utf8ToCp850(files_.fileName);
    if (files_.archiveMode) return name;
    std::string withExtension = name + "." + std::string(kSpringFileExtension);
    if (files_.directory.empty()) return withExtension;
    std::string full = Utf8ToCp850((fs::path(files_.directory) / files_.fileName).string()) + "." +
                       std::string(kSpringFileExtension);
    return full.size() >= static_cast<std::size_t>(kRuleWidth) ? withExtension : full;
}

void TextSink::WriteHeaderBox() {
    const int style = RuleStyle();
    const char frame = FrameCharacter(style);
    auto rule = [&](RuleShape shape) {
        if (style >= 1 && style <= 3) CountedLine(RuleText(style, shape));
    };
    const int spaceLines = std::max(0, config_.headerSpaceLines) + (style == 4 ? 1 : 0);
    for (int i = 0; i < spaceLines; ++i)
        CountedLine("");
    rule(RuleShape::BoxTop);

    const ReportTime now = heading_.Now();
    const std::array<std::string, 5>& lines = heading_.lines;
    std::string first(1, frame);
    PlaceAt(first, std::string(TrimmedRightSpaces(lines[0])), kHeaderTextColumn);
    if (heading_.totalPages > 0)
        PlaceAt(first, FormatC("%.*s%d/%d", 3, text::kPage.data(), Page(), heading_.totalPages),
                kPageTotalColumn);
    else
        PlaceAt(first, FormatC("%.*s%2d", 3, text::kPage.data(), Page()), kPageColumn);
    CountedLine(Framed(std::move(first), frame));

    std::string second(1, frame);
    PlaceAt(second, text::kIdentification, kHeaderTextColumn);
    PlaceAt(second, DateText(config_, now.year, now.month, now.day), kDateColumn);
    PlaceAt(second, FormatC("%02d:%02d", now.hour, now.minute), kTimeColumn);
    CountedLine(Framed(std::move(second), frame));

    CountedLine(FramedLine(SpringPathText(), frame));
    rule(RuleShape::BoxMiddle);
    for (int i = 1; i < 5; ++i) {
        if (i == 4 && std::string(TrimmedSpaces(lines[4])).empty())
            continue; // remark 2 only when given
        CountedLine(FramedLine(lines[i], frame));
    }
    rule(RuleShape::BoxBottom);
}

} // namespace kora

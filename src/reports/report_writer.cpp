#include "reports/report_writer.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "base/numformat.h"
#include "base/temp_folder.h"
#include "base/text.h"
#include "calc/dialog_calls.h"
#include "calc/message_help.h"
#include "calc/session.h"
#include "graphics/cad_settings.h"
#include "persistence/spring_file.h"
#include "reports/report_devices.h"
#include "reports/report_texts.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace kora {
namespace fs = std::filesystem;
namespace text = report_text;

namespace {

constexpr std::string_view kDosLineEnd = "\r\n";
constexpr std::string_view kHtmlLineEnd = "\n";
constexpr char kFormFeed = '\f';
constexpr std::size_t kMessageWidth = 72, kMessagePiece = 64;
constexpr std::size_t kMaxPrinterSetupBytes = 64 * 1024;
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

// The UTF-8 copy of a code page 850 report, line by line.
std::string Utf8Copy(std::string_view cp850) {
    std::string copy;
    while (!cp850.empty()) {
        std::size_t end = cp850.find(kDosLineEnd);
        std::string_view line = cp850.substr(0, end);
        copy += Cp850ToUtf8(line);
        copy += '\n';
        if (end == std::string_view::npos) break;
        cp850.remove_prefix(end + kDosLineEnd.size());
    }
    return copy;
}

std::string ProgramTitleVersion() {
    return std::string(kProgramTitle) + std::string(text::kHtmlVersion) +
           std::string(kProgramVersion);
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

std::string SpreadsheetNumber(const Configuration& config, std::string_view value) {
    const char sign = config.SpreadsheetDecimal == 1 ? '.' : ',';
    std::string out(value);
    auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t i = 1; i + 1 < out.size(); ++i)
        if ((out[i] == '.' || out[i] == ',') && digit(out[i - 1]) && digit(out[i + 1]))
            out[i] = sign;
    return out;
}

// ---- ReportWriter ----

ReportWriter::ReportWriter(Session& session, const SpringFileContext& files)
    : session_(session), files_(files) {}

ReportWriter::~ReportWriter() {
    if (printerFd_ >= 0) ::close(printerFd_);
}

bool ReportWriter::TextDevice() const {
    return !SpreadsheetDevice() && !HtmlDevice();
}

bool ReportWriter::SpreadsheetDevice() const {
    return device_ == kDeviceSpreadsheet || device_ == kDeviceSpreadsheetNamed;
}

int ReportWriter::RuleStyle() const {
    return session_.config.textPrintMode;
}

int ReportWriter::LinesPerPage() const {
    int lines = session_.config.linesPerPage;
    return lines < 5 ? 66 : lines;
}

ReportTime ReportWriter::Now() const {
    if (clock_) return clock_();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

std::string ReportWriter::TempPath(std::string_view name) const {
    std::string folder = TempFolder(session_.config);
    if (folder.empty()) return {};
    return (fs::path(folder) / std::string(name)).string();
}

// ---- Opening ----

bool ReportWriter::OpenReport(int kind, std::string_view suggestedName) {
    if (printerFd_ >= 0) ::close(printerFd_);
    printerFd_ = -1;
    state_ = ReportState::Idle;
    out_.clear();
    path_.clear();
    copyPath_.clear();
    spoolCommand_.clear();
    pause_ = false;
    page_ = 0;
    lines_ = 0;
    htmlTable_ = HtmlTable::None;
    tableWidths_.clear();
    tableRules_ = false;

    if (!ChooseDevice(kind)) {
        Cancel();
        return false;
    }
    std::string name(suggestedName);
    if (name.find('.') == std::string::npos) name += ".txt";
    if (!PrepareDevice(name)) return false;
    state_ = ReportState::Open;
    session_.AbortFlag = false;
    return true;
}

bool ReportWriter::ChooseDevice(int kind) {
    if (fileWithoutDialog_) {
        device_ = kDeviceFile;
        return true;
    }
    if (kind != 0) {
        device_ = kind >= kDeviceScreen && kind <= kDeviceSpreadsheetNamed ? kind : kDeviceScreen;
        return true;
    }
    const Configuration& config = session_.config;
    device_ = config.textDevice >= kDeviceScreen && config.textDevice <= kDeviceSpreadsheetNamed
                  ? config.textDevice
                  : kDeviceScreen;
    if (!config.textDeviceWindow) return true;
    std::vector<std::string> items(text::kDeviceNames.begin(), text::kDeviceNames.end());
    // The device chosen last in this run is offered first.
    int index = chosenDevice_ ? chosenDevice_ : device_;
    if (index > static_cast<int>(items.size())) index = 1;
    session_.HelpTopic = text::kChooseDeviceHelp;
    if (!ChooseItem(session_, text::kChooseDevice, items, index)) return false;
    device_ = chosenDevice_ = index;
    return true;
}

bool ReportWriter::ChooseOutputFile(std::string_view suggestedName, std::string_view extension) {
    fs::path start = files_.directory.empty()
                         ? fs::path(std::string(suggestedName))
                         : fs::path(files_.directory) / std::string(suggestedName);
    start.replace_extension(std::string(extension));
    std::string chosen = start.string();
    if (!ChooseSaveFile(session_, chosen, "*." + std::string(extension)) || chosen.empty()) {
        Cancel();
        return false;
    }
    fs::path path(chosen);
    path.replace_extension(std::string(extension)); // as the spring file's save dialog does
    path_ = path.string();
    std::error_code ec;
    if (fs::exists(path, ec)) {
        std::string question = Utf8ToCp850(path_);
        question.append(" ").append(text::kExists).append(text::kOverwrite);
        bool overwrite = false;
        if (!AskYesNo(session_, question, overwrite) || !overwrite) {
            Cancel();
            return false;
        }
    }
    return true;
}

bool ReportWriter::PrepareDevice(std::string_view name) {
    const Configuration& config = session_.config;
    auto needTemp = [&](std::string path) {
        if (path.empty()) { // the temporary folder cannot be made
            Fail({FileWriteResult::Stage::Create, errno ? errno : ENOENT});
            return false;
        }
        path_ = std::move(path);
        return true;
    };
    auto tempFile = [&] {
        std::string folder = TempFolder(session_.config);
        if (folder.empty()) return std::string();
        std::string last;
        for (int i = 1; i <= text::kTempFileTries; ++i) {
            last = (fs::path(folder) / (std::string(text::kTempFilePrefix) + std::to_string(i) +
                                        std::string(text::kTempFileExtension)))
                       .string();
            if (IsWriteProtected(last)) continue; // another user's leftover, never replaced
            int fd = ::open(last.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            if (fd >= 0) {
                ::close(fd);
                return last;
            }
        }
        return last; // the write at the end fails and says so
    };

    switch (device_) {
    case kDeviceScreen:
    case kDeviceWindowsPrinter:
    case kDeviceTextProgram:
        return needTemp(tempFile());
    case kDeviceTextPrinter: {
        std::string target = TextPrinterTarget(config);
        if (IsDevicePath(target)) {
            bool yes = false;
            session_.HelpTopic = text::kPauseQuestionHelp;
            if (!AskYesNo(session_, text::kPauseQuestion, yes)) {
                Cancel();
                return false;
            }
            pause_ = yes;
            path_ = target;
        } else {
            spoolCommand_ = target;
            if (!needTemp(tempFile())) return false;
        }
        ShowInfo(session_, text::kPrinting);
        return spoolCommand_.empty() ? OpenPrinter() : true;
    }
    case kDeviceFile:
        if (fileWithoutDialog_) {
            path_ = std::string(name);
            return true;
        }
        return ChooseOutputFile(name, text::kTextExtension);
    case kDeviceSpreadsheet:
    case kDeviceSpreadsheetNamed:
        if (config.textDeviceWindow) return ChooseOutputFile(name, text::kTextExtension);
        return needTemp(TempPath(std::to_string(spreadsheetCount_ + 1) +
                                 std::string(text::kSpreadsheetFileTail)));
    case kDeviceHtml:
        if (!std::string(TrimmedSpaces(config.htmlBrowser)).empty())
            return needTemp(TempPath(text::kHtmlFile));
        return ChooseOutputFile(name, text::kHtmlExtension);
    default: // kDeviceDosFile
        return needTemp(TempPath(text::kDosFile));
    }
}

bool ReportWriter::OpenPrinter() {
    // A printer is never created: a missing device is an error, not a new file in /dev. A file
    // standing in for one is appended to, as a printer would go on printing.
    printerFd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
    if (printerFd_ < 0) {
        Fail({FileWriteResult::Stage::Create, errno}, path_);
        return false;
    }
    state_ = ReportState::Open; // Emit needs an open report
    // The printer set-up sequence goes first when the file is there.
    if (auto setup = ReadSmallFile(std::string(text::kPrinterSetupFile), kMaxPrinterSetupBytes))
        Emit(*setup);
    return state_ == ReportState::Open;
}

// ---- Low-level output ----

void ReportWriter::Emit(std::string_view bytes) {
    if (state_ != ReportState::Open) return;
    if (printerFd_ < 0) {
        out_.append(bytes);
        return;
    }
    while (!bytes.empty()) {
        ssize_t n = ::write(printerFd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail({FileWriteResult::Stage::Write, n < 0 ? errno : EIO}, path_);
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void ReportWriter::EmitLine(std::string_view line) {
    std::string bytes(line);
    bytes.append(HtmlDevice() ? kHtmlLineEnd : kDosLineEnd);
    Emit(bytes);
}

void ReportWriter::EmitTextLine(std::string_view line) {
    if (!Active()) return;
    if (lines_ >= LinesPerPage()) BreakPage();
    CountedLine(line);
}

// Header lines and the blank line after a header never start a page themselves, so that a
// page shorter than its header cannot break forever.
void ReportWriter::CountedLine(std::string_view line) {
    if (!Active()) return;
    EmitLine(std::string(kLineIndent, ' ') + std::string(line));
    ++lines_;
}

void ReportWriter::EmitHtml(std::string_view utf8Line) {
    EmitLine(utf8Line);
}

std::string ReportWriter::Html(std::string_view cp850) const {
    return HtmlEscaped(WindowText(session_.config, cp850));
}

void ReportWriter::CloseHtmlTable() {
    if (htmlTable_ == HtmlTable::None) return;
    EmitHtml("</TABLE>");
    htmlTable_ = HtmlTable::None;
}

bool ReportWriter::IsRule(std::string_view line, bool boxesToo) const {
    const int style = RuleStyle();
    if (style < 1 || style > 3 || line.empty()) return false;
    if (line == RuleText(style, RuleShape::Single) || line == RuleText(style, RuleShape::Double))
        return true;
    return boxesToo && (line == RuleText(style, RuleShape::BoxTop) ||
                        line == RuleText(style, RuleShape::BoxBottom) ||
                        line == RuleText(style, RuleShape::BoxMiddle));
}

void ReportWriter::Cancel() {
    if (printerFd_ >= 0) ::close(printerFd_);
    printerFd_ = -1;
    out_.clear();
    state_ = ReportState::Cancelled;
    session_.AbortFlag = true;
}

void ReportWriter::Fail(FileWriteResult result, const std::string& path) {
    FailMessage(FileWriteMessage(result, Utf8ToCp850(path)));
}

void ReportWriter::FailMessage(const std::string& message) {
    if (printerFd_ >= 0) ::close(printerFd_);
    printerFd_ = -1;
    out_.clear();
    state_ = ReportState::Failed;
    ShowError(session_, message);
    session_.AbortFlag = true;
}

// ---- Primitives ----

void ReportWriter::WriteLine(std::string_view line) {
    if (!Active()) return;
    if (SpreadsheetDevice()) {
        if (!IsRule(line, false)) EmitLine(line);
    } else if (HtmlDevice()) {
        if (IsRule(line, true)) return; // a rule between table rows leaves the table open
        CloseHtmlTable();
        EmitHtml("<br>" + Html(line));
    } else {
        EmitTextLine(line);
    }
}

void ReportWriter::WriteSeparator(Rule rule) {
    const int style = RuleStyle();
    if (style < 1 || style > 3) return; // suppressed: no device writes it
    WriteLine(RuleText(style, rule == Rule::Double ? RuleShape::Double : RuleShape::Single));
}

void ReportWriter::WriteRow(std::string_view label, std::string_view symbol, std::string_view unit,
                            std::string_view value) {
    WriteRowOf(label, symbol, unit, {value}, RowText(label, symbol, unit, value));
}

void ReportWriter::WriteRow(std::string_view label, std::string_view symbol, std::string_view unit,
                            std::string_view value1, std::string_view value2) {
    WriteRowOf(label, symbol, unit, {value1, value2}, RowText(label, symbol, unit, value1, value2));
}

void ReportWriter::WriteRowOf(std::string_view label, std::string_view symbol,
                              std::string_view unit, std::initializer_list<std::string_view> values,
                              const std::string& textRow) {
    if (!Active()) return;
    if (SpreadsheetDevice()) {
        std::string line(label);
        line.append("\t").append(symbol).append("\t").append(unit);
        for (std::string_view value : values)
            line.append("\t").append(
                SpreadsheetNumber(session_.config, std::string(TrimmedSpaces(value))));
        EmitLine(line);
    } else if (HtmlDevice()) {
        if (htmlTable_ == HtmlTable::Columns) CloseHtmlTable();
        if (htmlTable_ == HtmlTable::None) {
            EmitHtml("<TABLE BORDER = \"2\" WIDTH= \"100%\">");
            htmlTable_ = HtmlTable::Rows;
        }
        std::string row = "<TR><TD>" + Html(label) + "</TD><TD>" + Html(symbol) + "</TD><TD>" +
                          Html(unit) + "</TD>";
        for (std::string_view value : values)
            row += "<TD><DIV ALIGN=RIGHT>" + Html(value) + "</DIV></TD>";
        EmitHtml(row + "</TR>");
    } else {
        EmitTextLine(textRow);
        WriteSeparator(Rule::Single);
    }
}

void ReportWriter::BeginTable(const std::vector<TableColumn>& columns, bool rulesBetweenRows) {
    if (!Active()) return;
    tableWidths_.clear();
    for (const TableColumn& c : columns)
        tableWidths_.push_back(c.width);
    tableRules_ = rulesBetweenRows;
    if (SpreadsheetDevice()) {
        std::string line;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i) line += '\t';
            line += std::string(TrimmedSpaces(columns[i].title));
        }
        EmitLine(line);
    } else if (HtmlDevice()) {
        CloseHtmlTable();
        EmitHtml("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
        htmlTable_ = HtmlTable::Columns;
        std::string row = "<TR>";
        for (const TableColumn& c : columns)
            row += "<TD><CENTER>" + Html(std::string(TrimmedSpaces(c.title))) + "</CENTER></TD>";
        EmitHtml(row + "</TR>");
    } else {
        WriteSeparator(Rule::Double);
        std::string line;
        for (const TableColumn& c : columns)
            line += RightAligned(c.title, c.width);
        EmitTextLine(line);
        WriteSeparator(Rule::Double);
    }
}

void ReportWriter::TableRow(const std::vector<std::string>& cells) {
    if (!Active()) return;
    if (SpreadsheetDevice()) {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) line += '\t';
            line += SpreadsheetNumber(session_.config, std::string(TrimmedSpaces(cells[i])));
        }
        EmitLine(line);
    } else if (HtmlDevice()) {
        if (htmlTable_ != HtmlTable::Columns) {
            CloseHtmlTable();
            EmitHtml("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
            htmlTable_ = HtmlTable::Columns;
        }
        std::string row = "<TR>";
        for (std::size_t i = 0; i < cells.size(); ++i) {
            std::string cell = Html(std::string(TrimmedSpaces(cells[i])));
            row +=
                i == 0 ? "<TD>" + cell + "</TD>" : "<TD><DIV ALIGN=RIGHT>" + cell + "</DIV></TD>";
        }
        EmitHtml(row + "</TR>");
    } else {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            int width = i < tableWidths_.size() ? tableWidths_[i] : 0;
            line += RightAligned(cells[i], width);
        }
        EmitTextLine(line);
        if (tableRules_) WriteSeparator(Rule::Single);
    }
}

void ReportWriter::EndTable() {
    if (!Active()) return;
    if (HtmlDevice())
        CloseHtmlTable();
    else if (TextDevice() && !tableRules_)
        WriteSeparator(Rule::Single);
    tableWidths_.clear();
    tableRules_ = false;
}

void ReportWriter::FormFeed() {
    if (!Active() || !TextDevice()) return;
    // Compressed printing spares the paper of a page that is less than half full.
    if (RuleStyle() == 4 && lines_ < LinesPerPage() / 2) return;
    if (device_ == kDeviceTextPrinter)
        Emit(std::string(1, kFormFeed));
    else
        EmitLine(std::string(1, kFormFeed));
    lines_ = 0;
}

void ReportWriter::BreakPage() {
    FormFeed();
    if (session_.config.printoutHeader == 2) {
        lines_ = 0;
        return;
    }
    PageHeader(false);
    CountedLine("");
}

void ReportWriter::PageCheck() {
    if (!Active() || !TextDevice()) return;
    if (lines_ <= std::max(LinesPerPage() - 10, kFirstPageLimit)) return;
    FormFeed();
    lines_ = 0;
    PageHeader(false);
    CountedLine("");
}

// ---- Page headers ----

std::string ReportWriter::FramedLine(std::string_view line, char frame) const {
    std::string out(1, frame);
    PlaceAt(out, std::string(TrimmedRightSpaces(line)), kHeaderTextColumn);
    if (frame != ' ') PlaceAt(out, std::string(1, frame), kFrameColumn);
    PadTo(out, kRowWidth);
    return out;
}

std::string ReportWriter::SpringPathText() const {
    std::string name = Utf8ToCp850(files_.fileName);
    if (files_.archiveMode) return name;
    std::string withExtension = name + "." + std::string(kSpringFileExtension);
    if (files_.directory.empty()) return withExtension;
    std::string full = Utf8ToCp850((fs::path(files_.directory) / files_.fileName).string()) + "." +
                       std::string(kSpringFileExtension);
    return full.size() >= static_cast<std::size_t>(kRuleWidth) ? withExtension : full;
}

void ReportWriter::PageHeader(bool firstPage) {
    if (!Active()) return;
    ++page_;
    if (HtmlDevice()) {
        if (firstPage) WriteHtmlHeader();
        return;
    }
    if (SpreadsheetDevice()) {
        if (firstPage) WriteSpreadsheetHeader();
        return;
    }
    if (pause_) {
        bool yes = true;
        if (!AskYesNo(session_, text::kInsertSheet, yes) || !yes) {
            Cancel();
            return;
        }
    }
    if (!firstPage && session_.config.printoutHeader == 2) {
        CountedLine("");
        return;
    }
    WriteTextHeader();
}

void ReportWriter::WriteTextHeader() {
    const int style = RuleStyle();
    const char frame = FrameCharacter(style);
    auto headerLine = [&](std::string_view line) { CountedLine(line); };
    auto rule = [&](RuleShape shape) {
        if (style >= 1 && style <= 3) headerLine(RuleText(style, shape));
    };
    const int spaceLines = std::max(0, session_.config.headerSpaceLines) + (style == 4 ? 1 : 0);
    for (int i = 0; i < spaceLines; ++i)
        headerLine("");
    rule(RuleShape::BoxTop);

    const ReportTime now = Now();
    std::string first(1, frame);
    PlaceAt(first, std::string(TrimmedRightSpaces(header_[0])), kHeaderTextColumn);
    if (totalPages_ > 0)
        PlaceAt(first, FormatC("%.*s%d/%d", 3, text::kPage.data(), page_, totalPages_),
                kPageTotalColumn);
    else
        PlaceAt(first, FormatC("%.*s%2d", 3, text::kPage.data(), page_), kPageColumn);
    if (frame != ' ') PlaceAt(first, std::string(1, frame), kFrameColumn);
    PadTo(first, kRowWidth);
    headerLine(first);

    std::string second(1, frame);
    PlaceAt(second, text::kIdentification, kHeaderTextColumn);
    PlaceAt(second, DateText(session_.config, now.year, now.month, now.day), kDateColumn);
    PlaceAt(second, FormatC("%02d:%02d", now.hour, now.minute), kTimeColumn);
    if (frame != ' ') PlaceAt(second, std::string(1, frame), kFrameColumn);
    PadTo(second, kRowWidth);
    headerLine(second);

    headerLine(FramedLine(SpringPathText(), frame));
    rule(RuleShape::BoxMiddle);
    for (int i = 1; i < 5; ++i) {
        if (i == 4 && std::string(TrimmedSpaces(header_[4])).empty())
            continue; // remark 2 only when given
        headerLine(FramedLine(header_[i], frame));
    }
    rule(RuleShape::BoxBottom);
}

void ReportWriter::WriteHtmlHeader() {
    // A comment must not hold "--".
    std::string name = path_;
    for (std::size_t p; (p = name.find("--")) != std::string::npos;)
        name.replace(p, 2, "-");
    EmitHtml("<!-- " + HtmlEscaped(name) + " -->");
    EmitHtml("<HTML>");
    // The browser is told the encoding, so umlauts show whatever its default.
    EmitHtml("<head><meta charset=\"utf-8\"><title>" + HtmlEscaped(ProgramTitleVersion()) +
             "</title></head>");
    EmitHtml("<BODY BGCOLOR=\"C0C0C0\">");
    EmitHtml("<hr>");
    EmitHtml("<h4>" + HtmlEscaped(ProgramTitleVersion()) + " #" + Html(text::kIdentification) +
             "</h4>");
    EmitHtml("<h4>" + Html(text::kIdentification2) + "</h4>");
    EmitHtml("<hr>");
    for (int i = 1; i < 5; ++i)
        EmitHtml("<h5>" + Html(std::string(TrimmedRightSpaces(header_[i]))) + "</h5>");
    EmitHtml("<hr>");
}

void ReportWriter::WriteSpreadsheetHeader() {
    const ReportTime now = Now();
    // A tab keeps the version and the date in cells of their own.
    EmitLine(std::string(kProgramTitle) + std::string(text::kHtmlVersion) +
             std::string(kProgramVersion) + "\t" +
             DateText(session_.config, now.year, now.month, now.day) + "\t" +
             FormatC("%02d:%02d", now.hour, now.minute));
    EmitLine(Utf8ToCp850(path_));
    const SpringRecord& s = session_.spring;
    EmitLine(s.TitleLine);
    EmitLine(s.remark1);
    EmitLine(s.remark2);
    EmitLine(" ");
}

// ---- Messages ----

void ReportWriter::MessagesSection() {
    if (!Active()) return;
    WriteLine("");
    WriteLine(text::kMessagesHeading);
    if (!SpreadsheetDevice()) {
        WriteSeparator(Rule::Double);
        WriteLine("");
        WriteSeparator(Rule::Single);
    }
    for (const std::string& message : session_.messages) {
        MessageHelp help = LookUpMessageHelp(session_.config, message);
        if (SpreadsheetDevice()) {
            EmitLine(message + "\t" + help.cause + "\t" + help.remedy);
        } else if (HtmlDevice()) {
            CloseHtmlTable();
            EmitHtml("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
            for (const std::string* t :
                 std::initializer_list<const std::string*>{&message, &help.cause, &help.remedy})
                if (t == &message || !std::string(TrimmedSpaces(*t)).empty())
                    EmitHtml("<TR><TD>" + Html(*t) + "</TD></TR>");
            EmitHtml("</TABLE>");
        } else {
            // Message, cause and remedy are three lines even when a help text is empty.
            for (const std::string* t :
                 std::initializer_list<const std::string*>{&message, &help.cause, &help.remedy})
                for (const std::string& piece : WrapMessage(*t))
                    WriteLine(piece);
            WriteSeparator(Rule::Single);
        }
        if (!Active()) return;
    }
}

// ---- Closing ----

bool ReportWriter::Store(const std::string& path, std::string_view bytes) {
    if (!keptFile_.empty() && IsSameFile(path, keptFile_)) {
        FailMessage(std::string(text::kKeptFileStart) + "\"" + Utf8ToCp850(path) + "\"" +
                    std::string(text::kKeptFileEnd));
        return false;
    }
    FileWriteResult result = path.empty() ? FileWriteResult{FileWriteResult::Stage::Create, ENOENT}
                                          : WriteFileAtomically(path, bytes);
    if (!result.ok()) {
        Fail(result, path);
        return false;
    }
    return true;
}

bool ReportWriter::StoreProduct() {
    return Store(path_, out_);
}

bool ReportWriter::StoreCopy(const std::string& path) {
    if (!Store(path, Utf8Copy(out_))) return false;
    copyPath_ = path;
    return true;
}

bool ReportWriter::CloseReport() {
    if (state_ != ReportState::Open) {
        if (printerFd_ >= 0) ::close(printerFd_);
        printerFd_ = -1;
        out_.clear();
        return false;
    }
    const bool pagedPrinter = device_ == kDeviceScreen || device_ == kDeviceTextPrinter ||
                              device_ == kDeviceWindowsPrinter;
    if (pagedPrinter && (session_.config.printoutHeader == 2 || RuleStyle() == 4) && lines_ > 0) {
        if (device_ == kDeviceTextPrinter)
            Emit(std::string(1, kFormFeed));
        else
            EmitLine(std::string(1, kFormFeed));
        lines_ = 0;
    }
    if (HtmlDevice()) {
        CloseHtmlTable();
        EmitHtml("</BODY>");
        EmitHtml("</HTML>");
    }
    if (state_ != ReportState::Open) return false;

    if (printerFd_ >= 0) { // device 2 written directly
        int fd = printerFd_;
        printerFd_ = -1;
        if (::close(fd) != 0) {
            Fail({FileWriteResult::Stage::Close, errno}, path_);
            return false;
        }
        state_ = ReportState::Idle;
        return true;
    }
    if (!StoreProduct()) return false;
    const bool handedOn = HandOn();
    if (state_ == ReportState::Open) state_ = ReportState::Idle;
    out_.clear();
    return handedOn;
}

bool ReportWriter::HandOn() {
    const Configuration& config = session_.config;
    // A missing program leaves the report file where it is and says so.
    auto start = [&](std::string_view command, const std::string& file) {
        if (ProgramExists(command)) {
            std::vector<std::string> words = CommandWords(command);
            words.push_back(file);
            if (session_.launcher->Start(words) == 0) return true;
        }
        std::string program = std::string(TrimmedSpaces(command));
        if (program.empty()) program = kDefaultOpenCommand;
        ShowError(session_, Utf8ToCp850(program) + std::string(text::kNotFound));
        session_.AbortFlag = true;
        return false;
    };
    const std::string windowsCopy = TempPath(text::kWindowsCopy);
    std::error_code ec;
    switch (device_) {
    case kDeviceScreen:
        if (!StoreCopy(windowsCopy)) return false;
        session_.dialogs->ShowTextFile(
            WindowText(config, std::string(TrimmedRightSpaces(header_[0]))), copyPath_);
        fs::remove(path_, ec);
        return true;
    case kDeviceFile:
    case kDeviceDosFile:
        if (!StoreCopy(windowsCopy)) return false;
        if (device_ == kDeviceFile) {
            std::string info = Utf8ToCp850(path_);
            info.append(" ")
                .append(text::kFileCreated1)
                .append(text::kFileCreated2)
                .append(text::kFileCreated3);
            ShowInfo(session_, info);
        }
        return true;
    case kDeviceTextPrinter: // through the spool command
    case kDeviceWindowsPrinter: {
        if (!fs::exists(path_, ec)) {
            ShowError(session_, Utf8ToCp850(path_) + std::string(text::kFileNotFound));
            session_.AbortFlag = true;
            return false;
        }
        // The printing program gets its own UTF-8 copy, which it may read at leisure.
        std::string copy = fs::path(path_).replace_extension(".txt").string();
        if (!StoreCopy(copy)) return false;
        fs::remove(path_, ec);
        // The window's own printer, where the platform has one.
        if (device_ == kDeviceWindowsPrinter) {
            if (const auto printed = session_.dialogs->PrintTextFile(copy)) {
                if (!*printed) session_.AbortFlag = true;
                return *printed;
            }
        }
        return start(device_ == kDeviceTextPrinter ? std::string_view(spoolCommand_)
                                                   : std::string_view(config.printCommand),
                     copy);
    }
    case kDeviceTextProgram:
        if (!ProgramExists(config.textProgram)) return start(config.textProgram, {});
        if (!StoreCopy(windowsCopy)) return false;
        return start(config.textProgram, copyPath_);
    case kDeviceSpreadsheet: {
        std::string copy = TempPath(std::string(text::kSpreadsheetCopyPrefix) +
                                    std::to_string(spreadsheetCount_ + 1) + ".txt");
        if (!StoreCopy(copy)) return false;
        ++spreadsheetCount_;
        return true;
    }
    case kDeviceSpreadsheetNamed: {
        fs::path copy = files_.directory.empty()
                            ? fs::path(files_.fileName + ".txt")
                            : fs::path(files_.directory) / (files_.fileName + ".txt");
        return StoreCopy(copy.string());
    }
    case kDeviceHtml:
        if (std::string(TrimmedSpaces(config.htmlBrowser)).empty()) return true;
        return start(config.htmlBrowser, path_);
    default:
        return true;
    }
}

} // namespace kora

#include "reports/report_writer.h"

#include "base/codepage.h"
#include "base/file_io.h"
#include "base/temp_folder.h"
#include "base/text.h"
#include "calc/dialog_calls.h"
#include "calc/message_help.h"
#include "calc/message_window.h"
#include "calc/session.h"
#include "persistence/spring_file.h"
#include "reports/report_texts.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace kora {
namespace fs = std::filesystem;
namespace text = report_text;

namespace {

constexpr std::string_view kDosLineEnd = "\r\n";
constexpr std::size_t kMaxPrinterSetupBytes = 64 * 1024;

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

} // namespace

ReportWriter::ReportWriter(Session& session, const SpringFileContext& files)
    : session_(session), files_(files) {}

ReportWriter::~ReportWriter() = default;

std::string ReportWriter::TempPath(std::string_view name) const {
    std::string folder = TempFolder(session_.config);
    if (folder.empty()) return {};
    return (fs::path(folder) / std::string(name)).string();
}

// ---- Opening ----

bool ReportWriter::OpenReport(int kind, std::string_view suggestedName) {
    Abandon();
    sink_.reset();
    state_ = ReportState::Idle;
    path_.clear();
    copyPath_.clear();
    spoolCommand_.clear();
    pause_ = false;

    if (!ChooseDevice(kind)) {
        Cancel();
        return false;
    }
    std::string name(suggestedName);
    if (name.find('.') == std::string::npos) name += ".txt";
    if (!PrepareDevice(name)) return false;
    sink_ = SinkOfDevice();
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
        if (!kora::AskYesNo(session_, question, overwrite) || !overwrite) {
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
            if (!kora::AskYesNo(session_, text::kPauseQuestion, yes)) {
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
    if (FileWriteResult result = printer_.Open(path_); !result.ok()) {
        Fail(result, path_);
        return false;
    }
    state_ = ReportState::Open; // Emit needs an open report
    // The printer set-up sequence goes first when the file is there.
    if (auto setup = ReadSmallFile(std::string(text::kPrinterSetupFile), kMaxPrinterSetupBytes))
        Emit(*setup);
    return state_ == ReportState::Open;
}

std::unique_ptr<ReportSink> ReportWriter::SinkOfDevice() {
    const Configuration& config = session_.config;
    ReportOutput& output = *this;
    switch (device_) {
    case kDeviceSpreadsheet:
    case kDeviceSpreadsheetNamed:
        return std::make_unique<SpreadsheetSink>(output, config, heading_, session_.spring, path_);
    case kDeviceHtml:
        return std::make_unique<HtmlSink>(output, config, heading_, path_);
    default: {
        const bool paged = device_ == kDeviceScreen || device_ == kDeviceTextPrinter ||
                           device_ == kDeviceWindowsPrinter;
        return std::make_unique<TextSink>(output, config, heading_, files_,
                                          TextPaper{device_ == kDeviceTextPrinter, paged});
    }
    }
}

// ---- Output ----

void ReportWriter::Emit(std::string_view bytes) {
    if (state_ != ReportState::Open) return;
    if (!printer_.IsOpen()) {
        out_.append(bytes);
        return;
    }
    if (FileWriteResult result = printer_.Write(bytes); !result.ok()) Fail(result, path_);
}

bool ReportWriter::NextSheet() {
    if (!pause_) return true;
    bool yes = true;
    if (AskYesNo(text::kInsertSheet, yes) && yes) return true;
    Cancel();
    return false;
}

void ReportWriter::Abandon() {
    printer_.Close();
    out_.clear();
}

void ReportWriter::Cancel() {
    Abandon();
    state_ = ReportState::Cancelled;
    session_.AbortFlag = true;
}

void ReportWriter::Fail(FileWriteResult result, const std::string& path) {
    FailMessage(FileWriteMessage(result, Utf8ToCp850(path)));
}

void ReportWriter::FailMessage(const std::string& message) {
    Abandon();
    state_ = ReportState::Failed;
    ShowError(session_, message);
    session_.AbortFlag = true;
}

// ---- Primitives ----

void ReportWriter::WriteLine(std::string_view line) {
    if (Active()) sink_->Line(line);
}

void ReportWriter::WriteSeparator(Rule rule) {
    if (Active()) sink_->Separator(rule);
}

void ReportWriter::WriteRow(std::string_view label, std::string_view symbol, std::string_view unit,
                            std::string_view value) {
    const std::string_view values[] = {value};
    if (Active()) sink_->Row(label, symbol, unit, values);
}

void ReportWriter::WriteRow(std::string_view label, std::string_view symbol, std::string_view unit,
                            std::string_view value1, std::string_view value2) {
    const std::string_view values[] = {value1, value2};
    if (Active()) sink_->Row(label, symbol, unit, values);
}

void ReportWriter::BeginTable(const std::vector<TableColumn>& columns, bool rulesBetweenRows) {
    if (Active()) sink_->BeginTable(columns, rulesBetweenRows);
}

void ReportWriter::TableRow(const std::vector<std::string>& cells) {
    if (Active()) sink_->TableRow(cells);
}

void ReportWriter::EndTable() {
    if (Active()) sink_->EndTable();
}

void ReportWriter::FormFeed() {
    if (Active()) sink_->FormFeed();
}

void ReportWriter::PageCheck() {
    if (Active()) sink_->PageCheck();
}

void ReportWriter::PageHeader(bool firstPage) {
    if (Active()) sink_->PageHeader(firstPage);
}

void ReportWriter::MessagesSection() {
    if (!Active()) return;
    sink_->MessagesHeading(text::kMessagesHeading);
    for (const std::string& message : session_.messages) {
        if (!Active()) return;
        sink_->Message(message, LookUpMessageHelp(session_.config, message));
    }
}

// ---- The builders' dialogs ----

void ReportWriter::ShowMessageWindow() {
    ShowMessageList(session_);
}

void ReportWriter::ShowNote(std::string_view text) {
    ShowInfo(session_, text);
}

bool ReportWriter::AskNumber(std::string_view prompt, int helpTopic, real& value, real maximum,
                             real minimum) {
    session_.HelpTopic = helpTopic;
    return InputReal(session_, prompt, value, maximum, minimum);
}

bool ReportWriter::AskYesNo(std::string_view prompt, bool& yes) {
    return kora::AskYesNo(session_, prompt, yes);
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

bool ReportWriter::StoreCopy(const std::string& path) {
    if (!Store(path, Utf8Copy(out_))) return false;
    copyPath_ = path;
    return true;
}

bool ReportWriter::CloseReport() {
    if (state_ != ReportState::Open) {
        Abandon();
        return false;
    }
    sink_->Finish();
    if (state_ != ReportState::Open) return false;

    if (printer_.IsOpen()) { // device 2 written directly
        if (FileWriteResult result = printer_.Close(); !result.ok()) {
            Fail(result, path_);
            return false;
        }
        state_ = ReportState::Idle;
        return true;
    }
    if (!Store(path_, out_)) return false;
    const bool handedOn = HandOn();
    if (state_ == ReportState::Open) state_ = ReportState::Idle;
    out_.clear();
    return handedOn;
}

bool ReportWriter::HandOn() {
    const Configuration& config = session_.config;
    // A missing program leaves the report file where it is and says so.
    auto start = [&](std::string_view command, const std::string& file) {
        return StartProgram(session_, command, file);
    };
    const std::string windowsCopy = TempPath(text::kWindowsCopy);
    std::error_code ec;
    switch (device_) {
    case kDeviceScreen:
        if (!StoreCopy(windowsCopy)) return false;
        session_.dialogs->ShowTextFile(
            DialogText(config, std::string(TrimmedRightSpaces(heading_.lines[0]))), copyPath_);
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

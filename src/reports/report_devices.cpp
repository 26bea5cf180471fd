#include "reports/report_devices.h"

#include "base/codepage.h"
#include "base/configuration.h"
#include "base/text.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "reports/report_texts.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kora {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

bool ProgramFound(const std::string& program) {
    if (program.empty()) return false;
    if (program.find('/') != std::string::npos) return IsExecutableFile(program);
    const char* path = std::getenv("PATH");
    std::string_view dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        std::size_t colon = dirs.find(':');
        std::string_view dir = dirs.substr(0, colon);
        if (IsExecutableFile(std::string(dir.empty() ? "." : dir) + "/" + program)) return true;
        if (colon == std::string_view::npos) break;
        dirs.remove_prefix(colon + 1);
    }
    return false;
}

std::string CommandOrDefault(std::string_view command) {
    std::string_view trimmed = command;
    while (!trimmed.empty() && trimmed.front() == ' ')
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.remove_suffix(1);
    return std::string(trimmed.empty() ? kDefaultOpenCommand : trimmed);
}

} // namespace

std::string TextPrinterTarget(const Configuration& config) {
    std::string target = config.textPrinterTarget;
    while (!target.empty() && target.back() == ' ')
        target.pop_back();
    while (!target.empty() && target.front() == ' ')
        target.erase(0, 1);
    if (!target.empty()) return target;
    int port = std::clamp(config.printerPort, 1, 4);
    return "/dev/lp" + std::to_string(port - 1);
}

std::vector<std::string> CommandWords(std::string_view command) {
    std::string whole = CommandOrDefault(command);
    if (ProgramFound(whole)) return {whole};
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < whole.size()) {
        while (i < whole.size() && whole[i] == ' ')
            ++i;
        std::size_t end = whole.find(' ', i);
        if (end == std::string::npos) end = whole.size();
        if (end > i) words.emplace_back(whole.substr(i, end - i));
        i = end;
    }
    return words;
}

bool ProgramExists(std::string_view command) {
    auto words = CommandWords(command);
    return !words.empty() && ProgramFound(words.front());
}

FileWriteResult PrinterPort::Open(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) return {FileWriteResult::Stage::Create, errno};
    return {};
}

FileWriteResult PrinterPort::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {FileWriteResult::Stage::Write, n < 0 ? errno : EIO};
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

FileWriteResult PrinterPort::Close() {
    if (fd_ < 0) return {};
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return {FileWriteResult::Stage::Close, errno};
    return {};
}

bool StartProgram(Session& session, std::string_view command, const std::string& argument) {
    if (ProgramExists(command)) {
        std::vector<std::string> words = CommandWords(command);
        words.push_back(argument);
        if (session.launcher->Start(words) == 0) return true;
    }
    std::string program = std::string(TrimmedSpaces(command));
    if (program.empty()) program = kDefaultOpenCommand;
    ShowError(session, Utf8ToCp850(program) + std::string(report_text::kNotFound));
    session.AbortFlag = true;
    return false;
}

} // namespace kora

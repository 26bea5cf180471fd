#include "reports/report_devices.h"

#include "base/configuration.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

// Children started before that have ended are collected, so that none stays a zombie.
std::vector<pid_t>& StartedChildren() {
    static std::vector<pid_t> children;
    return children;
}

void ReapEndedChildren() {
    auto& children = StartedChildren();
    children.erase(std::remove_if(children.begin(), children.end(),
                                  [](pid_t pid) {
                                      int status = 0;
                                      pid_t r = ::waitpid(pid, &status, WNOHANG);
                                      return r == pid || r < 0;
                                  }),
                   children.end());
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

std::optional<pid_t> StartDetached(std::string_view command, const std::string& argument) {
    ReapEndedChildren();
    std::vector<std::string> words = CommandWords(command);
    if (words.empty() || !ProgramFound(words.front())) return std::nullopt;
    words.push_back(argument);
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    // The program reads nothing from us and outlives our terminal session.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
#ifdef POSIX_SPAWN_SETSID
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
#endif
    pid_t pid = 0;
    int error = ::posix_spawnp(&pid, argv.front(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return std::nullopt;
    StartedChildren().push_back(pid);
    return pid;
}

} // namespace kora

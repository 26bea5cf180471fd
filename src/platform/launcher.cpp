#include "platform/launcher.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kora {
namespace {

// Children started before; those that have ended are collected on the next start.
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

int StartDetached(const std::vector<std::string>& words) {
    ReapEndedChildren();
    if (words.empty() || words.front().empty()) return ENOENT;
    std::vector<std::string> copy = words;
    std::vector<char*> argv;
    for (std::string& w : copy)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    // The program reads nothing from us, writes nothing into our terminal and outlives our
    // terminal session.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
#ifdef POSIX_SPAWN_SETSID
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
#endif
    pid_t pid = 0;
    // glibc reports a failed exec (a missing or unusable program) as the spawn's error.
    int error = ::posix_spawnp(&pid, argv.front(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return error;
    StartedChildren().push_back(pid);
    return 0;
}

int ScriptedLauncher::Start(const std::vector<std::string>& words) {
    started.push_back(words);
    if (codes.empty()) return 0;
    int code = codes.front();
    codes.pop_front();
    return code;
}

std::string ScriptedLauncher::Joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words) {
        if (!line.empty()) line += ' ';
        line += w;
    }
    return line;
}

Launcher& DefaultLauncher() {
    static DetachedLauncher launcher;
    return launcher;
}

} // namespace kora

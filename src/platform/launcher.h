// Outside programs (text program, browser, print and spool commands, the plotting program,
// linked documents) started detached and never waited for: one launcher interface with the
// real start for the command line and the default, and a scripted one for tests.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace kora {

// Starts a program with its arguments (words[0] is the program, looked up on $PATH when it
// holds no "/"). The result is 0 when the program runs, else the errno value of the failed
// start (ENOENT for a missing program or an empty command).
class Launcher {
  public:
    virtual ~Launcher() = default;
    virtual int Start(const std::vector<std::string>& words) = 0;
};

// The start itself: its own session, standard input and output on /dev/null, not waited for;
// children that ended before are collected on the next start, so none stays a zombie.
int StartDetached(const std::vector<std::string>& words);

// The launcher of the command line and of every session that is given no other.
class DetachedLauncher final : public Launcher {
  public:
    int Start(const std::vector<std::string>& words) override { return StartDetached(words); }
};

// Tests: nothing is started; every command is recorded and answered with the next scripted
// code (0 when the script is empty).
class ScriptedLauncher final : public Launcher {
  public:
    int Start(const std::vector<std::string>& words) override;
    // A command's words joined by blanks, as a test compares them.
    static std::string Joined(const std::vector<std::string>& words);

    std::deque<int> codes;
    std::vector<std::vector<std::string>> started;
};

// The launcher a session uses when it is given none.
Launcher& DefaultLauncher();

} // namespace kora

// Helpers of the CAD output tests: a private temporary folder per test, whole-file reads, and
// DXF/TXT texts spelled as lists of lines.
#pragma once

#include "platform/launcher.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kora::cadtest {

class TempFolder {
  public:
    TempFolder() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("kora-cad-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::string str() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Lines joined with CR LF, each line ended by it.
inline std::string CrLf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

inline int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}

// The plotter start of a test: the command line (its words joined by blanks) goes to a function
// that answers with the start code.
class LineLauncher final : public Launcher {
  public:
    std::function<int(const std::string&)> start;
    int Start(const std::vector<std::string>& words) override {
        return start ? start(ScriptedLauncher::Joined(words)) : 0;
    }
};

} // namespace kora::cadtest

// What the report devices need from the system: the text printer's target, the printer
// written directly, and the command lines of the outside programs (text program, browser,
// print and spool commands) that the session's launcher starts detached.
#pragma once

#include "base/file_io.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace kora {

struct Configuration;
struct Session;

// Used when "Textprogramm", "HTML Browser" or the print command is left empty.
inline constexpr std::string_view kDefaultOpenCommand = "xdg-open";

// The text printer's target in place of "LPT" + "Druckerschnittstelle": the configured text,
// or "/dev/lp" + (port - 1) when it is empty. A target starting with "/" is a device written
// directly; anything else is a spool command that receives the finished report file.
std::string TextPrinterTarget(const Configuration& config);
inline bool IsDevicePath(std::string_view target) {
    return !target.empty() && target.front() == '/';
}

// A command line split into the program and its arguments: the whole text when it names an
// existing program (a path with blanks), else the words separated by blanks.
std::vector<std::string> CommandWords(std::string_view command);

// Whether the program of a command exists: an executable file for a name with "/", else a
// name found on $PATH.
bool ProgramExists(std::string_view command);

// Starts the command detached through the session's launcher with `argument` as its last
// word. A program that is not there or does not start: "<program> not found" (the default
// open command named for an empty one), AbortFlag set, false.
bool StartProgram(Session& session, std::string_view command, const std::string& argument);

// The text printer written directly. A printer is never created: a missing device is an
// error, not a new file in /dev; a file standing in for one is appended to, as a printer
// would go on printing.
class PrinterPort {
  public:
    PrinterPort() = default;
    ~PrinterPort() { Close(); }
    PrinterPort(const PrinterPort&) = delete;
    PrinterPort& operator=(const PrinterPort&) = delete;

    FileWriteResult Open(const std::string& path);
    FileWriteResult Write(std::string_view bytes);
    FileWriteResult Close(); // done when nothing is open
    bool IsOpen() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

} // namespace kora

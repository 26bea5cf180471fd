// The command-line runs: load a spring file, calculate, write one output and end with an exit
// code. What a window would have shown goes to stderr, unless "/NOGUI" asks for silence.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kora {

enum ExitCode : int {
    kExitOk = 0,
    kExitLoadRefused = 1,     // the spring file could not be loaded
    kExitNoWindow = 2,        // a run that needs the window, where none can be shown
    kExitOutputFailed = 4,    // the report or CAD file could not be written
    kExitUnknownFileType = 5, // "/CADi:j" with a file type i other than 1, 2 and 5
};

// Whether the arguments ask for the window: none at all, or a spring file (with its extension)
// without a switch that writes an output; never with "/NOGUI".
bool IsWindowRun(const std::vector<std::string>& args);

// args: the arguments after the program name.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kora

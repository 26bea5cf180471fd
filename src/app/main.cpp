// The program entry: the desktop window, or a command-line run that writes one output.
#include "app/command_line.h"
#include "shell/main_window.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with EFBIG, reported like any write error, instead
    // of ending the program without a word and leaving a partial file.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (kora::IsWindowRun(args)) return kora::RunWindow(argc, argv, args);
    return kora::RunCommandLine(args, std::cout, std::cerr);
}

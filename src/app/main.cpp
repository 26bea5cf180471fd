// The program entry: a command-line run (the window comes with the desktop shell).
#include "app/command_line.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with EFBIG, reported like any write error, instead
    // of ending the program without a word and leaving a partial file.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    return kora::RunCommandLine(args, std::cout, std::cerr);
}

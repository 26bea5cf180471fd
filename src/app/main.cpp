// The program entry: a command-line run (the window comes with the desktop shell).
#include "app/command_line.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return kora::RunCommandLine(args, std::cout, std::cerr);
}

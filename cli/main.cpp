#include "cli/CliCommands.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const CliArgs args(argv + 1, argv + argc);
    return RunCli(args, std::cout, std::cerr);
}

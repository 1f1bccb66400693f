#include "cli/RenderCommand.h"

#include <iostream>

// yonatama-render: the `render` command of yonatama-cli, started by it.
int main(int argc, char** argv) {
    const CliArgs args(argv + 1, argv + argc);
    return RenderCommand(args, std::cout, std::cerr);
}

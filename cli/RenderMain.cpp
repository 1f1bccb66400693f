#include "cli/RenderCommand.h"
#include "cli/StudyPicture.h"

#include <iostream>

// yonatama-render: the `render` command of yonatama-cli, started by it.
int main(int argc, char** argv) {
    const CliArgs args(argv + 1, argv + argc);
    if (!args.empty() && args.front() == StudyPictureCommandName)
        return StudyPictureCommand(CliArgs(args.begin() + 1, args.end()), std::cout, std::cerr);
    return RenderCommand(args, std::cout, std::cerr);
}

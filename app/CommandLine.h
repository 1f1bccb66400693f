#pragma once
// The window program's command line: `yonatama [FILE.sim]`, --help and
// --version. Qt's own options are taken off before the rest is read.

#include <string>
#include <vector>

struct CommandLine {
    enum class Action { Start, Help, Version, Refused };
    Action What = Action::Start;
    std::string File;    // the run file to open once the window shows, or ""
    std::string Problem; // why the line was refused
};

// --help and --version, looked for before the window system is started so
// that they work without a display; Start when neither is there.
CommandLine::Action InfoRequest(const std::vector<std::string>& args);
// The words left after Qt's options (without the program name).
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
// "yonatama <version>", the version the build was made as.
std::string VersionLine();
// Exit code of a refused command line.
inline constexpr int CommandLineError = 2;

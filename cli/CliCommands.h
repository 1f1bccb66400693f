#pragma once
// Command parsing and the commands of yonatama-cli, kept apart from main() so
// that further subcommands can be added and the commands tested in-process.

#include <iosfwd>
#include <string>
#include <vector>

// Exit codes: success, a file that cannot be read, written or shown, and a
// refused or malformed command line.
inline constexpr int CliOk = 0;
inline constexpr int CliFileError = 1;
inline constexpr int CliInputError = 2;

using CliArgs = std::vector<std::string>;
using CliHandler = int (*)(const CliArgs& args, std::ostream& out, std::ostream& err);

struct CliCommand {
    const char* Name;
    const char* Usage; // one line, shown by --help
    CliHandler Run;    // gets the arguments after the command name
};

// The built-in commands: run and show.
const std::vector<CliCommand>& BuiltinCliCommands();

// Dispatches args (without the program name) to the built-in commands and
// `extra`. Only results go to `out`; messages go to `err`.
int RunCli(const CliArgs& args, std::ostream& out, std::ostream& err,
           const std::vector<CliCommand>& extra = {});

int RunCommand(const CliArgs& args, std::ostream& out, std::ostream& err);
int ShowCommand(const CliArgs& args, std::ostream& out, std::ostream& err);

#pragma once
// Command parsing and the commands of yonatama-cli, kept apart from main() so
// that further subcommands can be added and the commands tested in-process.

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
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

// A command line taken apart: value options, flags and the other arguments.
struct ParsedOptions {
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::vector<std::string> positional;

    std::string Value(const std::string& name, const std::string& fallback) const;
};

// Accepts "--name value" and "--name=value" for value options and "--name" for
// flags. Returns a message on a malformed line.
std::string ParseOptions(const CliArgs& args, const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions, ParsedOptions& out);

inline constexpr const char* SeedRefusal = "--seed は、0から4294967295の整数にしてください。";
// A seed is a plain decimal of 0 .. 2^32-1; anything else is refused.
std::optional<std::uint32_t> ParseSeed(const std::string& text);

// The built-in commands: run, show and render.
const std::vector<CliCommand>& BuiltinCliCommands();

// Dispatches args (without the program name) to the built-in commands and
// `extra`. Only results go to `out`; messages go to `err`.
int RunCli(const CliArgs& args, std::ostream& out, std::ostream& err,
           const std::vector<CliCommand>& extra = {});

int RunCommand(const CliArgs& args, std::ostream& out, std::ostream& err);
int ShowCommand(const CliArgs& args, std::ostream& out, std::ostream& err);

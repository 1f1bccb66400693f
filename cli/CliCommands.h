#pragma once
// Command parsing and the commands of yonatama-cli, kept apart from main() so
// that the commands can be tested in-process. One parser (CLI11) reads every
// subcommand, so they share option rules, help text and messages.

#include "cli/ExitCodes.h"

#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

using CliArgs = std::vector<std::string>;

// A subcommand line taken apart: value options, flags and the other arguments.
struct ParsedOptions {
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::vector<std::string> positional;

    std::string Value(const std::string& name, const std::string& fallback) const;
    bool Has(const std::string& name) const { return values.count(name) != 0; }
};

struct CliCommand;
using CliHandler = int (*)(const ParsedOptions& options, std::ostream& out, std::ostream& err);

struct CliCommand {
    const char* Name;
    const char* Usage; // one line, shown by --help
    std::vector<std::string> ValueOptions;
    std::vector<std::string> Flags;
    CliHandler Run;
};

inline constexpr const char* SeedRefusal = "--seed は、0から4294967295の整数にしてください。";

// The built-in commands: run, show, render and theory.
const std::vector<CliCommand>& BuiltinCliCommands();

// Reads the options of `command` from `args` (the words after its name).
// Returns the message for a malformed line, or "" with `out` filled; `help`
// is set when --help was asked for.
std::string ParseCommandLine(const CliCommand& command, const CliArgs& args, ParsedOptions& out,
                             bool& help);

// Dispatches args (without the program name). Only results go to `out`;
// messages go to `err`.
int RunCli(const CliArgs& args, std::ostream& out, std::ostream& err);

// A bash completion script for the commands and their options.
void WriteBashCompletion(std::ostream& out);

// The options of `render`, checked as yonatama-cli and yonatama-render both
// need them.
struct RenderOptions {
    std::string File;
    std::optional<std::string> Plays;
    std::optional<std::uint32_t> Seed;
    std::string Rate = "4.0";
    std::string Border = "12.5";
    bool Markers = false;
    std::string Out;
};
// The message for a refused render line, or "" with `o` filled.
std::string RenderOptionsFrom(const ParsedOptions& parsed, RenderOptions& o);
// Parses a whole render line: CliOk with `o` filled, or the exit code after
// the usage (help) or a message was written.
std::optional<int> ParseRenderLine(const CliArgs& args, RenderOptions& o, std::ostream& out,
                                   std::ostream& err);

int RunCommand(const ParsedOptions& options, std::ostream& out, std::ostream& err);
int ShowCommand(const ParsedOptions& options, std::ostream& out, std::ostream& err);
// `show` on a stream already opened on `path` (read, not closed, here).
int ShowStream(std::FILE* file, const std::string& path, const ParsedOptions& options,
               std::ostream& out, std::ostream& err);
int TheoryCommand(const ParsedOptions& options, std::ostream& out, std::ostream& err);

#pragma once
// `study`: thousands of independent runs on every core, the spread of their
// balances beside the theory's figures, as text, JSON, CSV and a PNG picture.
// Free of the GUI toolkit: the picture is drawn by yonatama-render.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The command line as given, each value still text so that the refusals read
// like those of `run`. Empty Sweep: the single Border.
struct StudyOptions {
    std::string Plays;
    std::string Runs;
    std::string Border = "12.5";
    std::string Sweep; // "A:B:STEP"
    std::string Rate = "4.0";
    std::string Seed; // empty: from the clock, and printed
    std::string Jobs; // empty: every core
    bool Json = false;
    std::string Png;
    std::string Csv;
    // The progress line on `err`; unset: only when standard error is a terminal.
    std::optional<bool> Progress;
    // The drawing program (the companion gives RendererProgramPath()).
    std::string Renderer;
};

inline constexpr const char* StudyUsage =
    "study --plays N --runs R [--border B | --sweep A:B:STEP] [--rate Y] [--seed S] [--jobs J] "
    "[--json] [--png FILE] [--csv FILE]";

// Runs the study. Results go to `out` (text, or JSON with Json); refusals,
// the clock seed and progress go to `err`. Returns 0, 1 for a file that cannot
// be written, 2 for a refused command line.
int StudyCommand(const StudyOptions& options, std::ostream& out, std::ostream& err);

// The borders of "A:B:STEP": A, A + STEP, ... up to B (inclusive, within
// rounding); nothing for a malformed text, STEP <= 0, A > B or over 1000 borders.
std::optional<std::vector<double>> ParseSweep(const std::string& text);

#pragma once
// `render` needs the whole window library; it lives in its own program,
// yonatama-render, so that `run` and `show` start without loading the GUI
// toolkit. This hands the command over to that program.

#include "cli/CliCommands.h"

#include <iosfwd>

// Replaces this process by yonatama-render (from this executable's folder)
// with the same arguments; returns only when it cannot be started.
int LaunchRenderer(const CliArgs& args, std::ostream& out, std::ostream& err);

#pragma once
// `render` needs the whole window library; it lives in its own program,
// yonatama-render, so that `run` and `show` start without loading the GUI
// toolkit. This hands the command over to that program.

#include "cli/CliCommands.h"

#include <iosfwd>
#include <string>

inline constexpr const char* RendererName = "yonatama-render";
// Where the package puts yonatama-render, from the companion's folder.
inline constexpr const char* InstalledRendererFolder = "../lib/yonatama";

// yonatama-render beside this executable (a build folder), else in the
// installed helper folder; the first place when neither holds it, so that a
// message names it.
std::string RendererProgramPath();

// Replaces this process by yonatama-render (from this executable's folder, or
// the installed helper folder) with the same arguments; returns only when it
// cannot be started.
int LaunchRenderer(const CliArgs& args, std::ostream& out, std::ostream& err);

#pragma once
// `render`: builds the real main window off screen, shows a run file or a
// fresh fast run in it, and writes the window and its three charts as PNGs.

#include "cli/CliCommands.h"

#include <iosfwd>

// render FILE.sim --out DIR
// render --plays N [--seed S] [--border B] [--rate Y] [--markers] --out DIR
// Writes window.png, SlumpChart.png, SlumpChart2.png and KeizokuChart.png
// into DIR and lists their paths on `out`.
int RenderCommand(const CliArgs& args, std::ostream& out, std::ostream& err);

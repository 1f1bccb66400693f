#pragma once
// The study's picture, drawn off screen by yonatama-render on our chart engine
// from the figures yonatama-cli's `study` hands over as JSON.

#include <iosfwd>
#include <string>
#include <vector>

inline constexpr const char* StudyPictureCommandName = "study-picture";
inline constexpr int StudyPictureWidth = 960;
inline constexpr int StudyPictureHeight = 600;

// study-picture FIGURES.json OUT.png: 0 when written, 1 when a file cannot be
// read or written, 2 for a wrong command line.
int StudyPictureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

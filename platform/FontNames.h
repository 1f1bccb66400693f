#pragma once
// The forms name the Japanese UI fonts of their original desktop; this maps
// those names to the fonts installed here. Qt-free so any layer may call it.

#include <string>

// The installed family that stands in for a form's font name; unknown names
// are returned unchanged.
std::string MappedFontFamily(const std::string& formFontName);

#pragma once
// Writes encoded picture bytes to a file the tests look at afterwards; false
// when nothing was encoded or the file cannot be written.

#include <fstream>
#include <string>

inline bool WritePngFile(const std::string& path, const std::string& png) {
    if (png.empty())
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out.flush());
}

#pragma once
// The exit codes of every command of both programs: success; a file or folder
// that cannot be read or written, or memory that ran out mid-work; a refused
// or malformed command line, or work too large for the memory left.

inline constexpr int CliOk = 0;
inline constexpr int CliFileError = 1;
inline constexpr int CliInputError = 2;

#pragma once
// Hands a document, program or address to the desktop, as the shell's
// "open" does. The result is not reported: callers never examine it.

#include <string>

void ShellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                  int showCommand);

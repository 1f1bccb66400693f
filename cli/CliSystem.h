#pragma once
// What the companion asks of the system before it works: whether an output
// folder can be used, and the reasons of failed calls in Japanese.

#include <cstdint>
#include <string>
#include <vector>

// The reason of a failed system call (an errno value), in Japanese.
std::string SystemErrorText(int error);

// "" when `folder` exists as a folder this user may write into, or when it can
// be made (its missing names fit the file system, the nearest existing folder
// is writable); else the message to show. Touches nothing.
std::string CheckOutputFolder(const std::string& folder);

// Makes the missing folders of `folder`; `created` gets those made, outermost
// first. False with errno set when one cannot be made.
bool MakeOutputFolder(const std::string& folder, std::vector<std::string>& created);

// Removes the folders in `created` that are still empty, innermost first.
void RemoveEmptyFolders(const std::vector<std::string>& created);

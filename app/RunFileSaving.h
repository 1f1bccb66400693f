#pragma once
// Saving a run file from the window: complete-or-nothing for ordinary files,
// and never replacing a device, pipe or folder that happens to be chosen.

#include "runfile/RunFile.h"

#include <string>

WriteStatus SaveRunFileFromWindow(const std::string& path, std::int32_t count, double rate,
                                  double border, const RunRecords& records);

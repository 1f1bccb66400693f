#pragma once
// What a batch tells the user when it ends or is stopped: the runs made, the
// spread of their final balances in balls and yen, the share ahead, and the
// files written. The same figures the companion prints after `run --runs`.

#include <cstdint>
#include <string>
#include <vector>

struct BatchReport {
    int RunsAsked = 0;
    bool Stopped = false;
    double Rate = 0.0;
    // One final balance and one path per file written, in run order.
    std::vector<std::int32_t> FinalBalances;
    std::vector<std::string> Paths;
};

// The text of the report box, one figure per line.
std::string BatchReportText(const BatchReport& report);
// The status line after the batch: how many files were written.
std::string BatchStatusText(const BatchReport& report);

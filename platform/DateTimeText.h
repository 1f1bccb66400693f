#pragma once
// Date and time as the system writes them: its short date format, a space,
// its long time format.

#include <ctime>
#include <string>

std::string NowText();
// The same for a given calendar time (local time zone).
std::string DateTimeText(std::time_t when);

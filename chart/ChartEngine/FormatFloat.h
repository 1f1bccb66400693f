#pragma once
// Picture formatting of numbers ("#,##0.###", "##0.## %", "0", ...).
// '#' an optional digit, '0' a required digit, ',' in the integer part turns on thousands
// grouping, '.' the decimal point; every other character (blank, '%', letters) is copied
// as it stands, so "##0.## %" writes 25 as "25 %". Up to three sections separated by ';'
// give the formats of positive, negative and zero values. Rounding is half away from zero.

#include <string>

std::string FormatFloat(const std::string& format, double value);

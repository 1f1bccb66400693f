#pragma once
// Number-to-text formats shared by the texts, the lists and the chart engine.
// None follows the process locale: the point is always '.'.

#include <string>

// Two decimals after rounding to five significant digits; scientific beyond
// five integer digits (123456 -> "1.2346E5"). Halves round away from zero.
std::string FormatAverage(float value);

// Shortest general form with at most 15 significant digits; scientific below
// 0.0001 and from 1E15. Halves round away from zero.
std::string FormatGeneral15(double value);

// Fixed-point text with `decimals` digits after the point ("-1.92"); "-" for
// a value that is not finite.
std::string FixedText(double value, int decimals);

// Picture formatting of numbers ("#,##0.###", "##0.## %", "0", ...).
// '#' an optional digit, '0' a required digit, ',' in the integer part turns on thousands
// grouping, '.' the decimal point; every other character (blank, '%', letters) is copied
// as it stands, so "##0.## %" writes 25 as "25 %". Up to three sections separated by ';'
// give the formats of positive, negative and zero values. Rounding is half away from zero.
std::string FormatFloat(const std::string& format, double value);

#pragma once
// Text-to-number conversions with the framework's error texts. Accepted: blanks
// around the text, an optional sign and decimal digits; floats may add a
// fraction and an exponent. Rejected: empty text, hex, full-width digits, "inf",
// "nan", integers outside 32 bits and floats that overflow.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const std::string& message) : std::runtime_error(message) {}
};

// "'%s' は整数ではありません" with the text in place of %s.
std::string NotIntegerText(const std::string& text);
// "'%s' は浮動小数点数ではありません" with the text in place of %s.
std::string NotFloatText(const std::string& text);

std::optional<int> TryStrToInt(const std::string& text);
std::optional<double> TryStrToFloat(const std::string& text);

// Throw EConvertError when the text is not a number.
int StrToInt(const std::string& text);
double StrToFloat(const std::string& text);

// A seed is a plain decimal of 0 .. 2^32-1; anything else is refused.
std::optional<std::uint32_t> ParseSeed(const std::string& text);

#include "numfmt/NumberFormats.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

// A non-negative decimal: digits d0 d1 ... meaning d0.d1d2... x 10^Exponent.
// No digits means zero. Trailing zeros are kept out of Digits.
struct Decimal {
    std::string Digits;
    int Exponent = 0;
    bool IsZero() const { return Digits.empty(); }
};

void StripTrailingZeros(Decimal& d) {
    while (!d.Digits.empty() && d.Digits.back() == '0') {
        d.Digits.pop_back();
    }
}

// The exact decimal expansion of |x| (finite x); 767 digits cover every double.
// Written without the C library's printf, whose decimal point follows the
// process locale (a comma under de_DE).
Decimal ExactDecimal(double x) {
    std::array<char, 1024> buf{};
    const auto written = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(x),
                                       std::chars_format::scientific, 800);
    Decimal d;
    const char* p = buf.data();
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            d.Digits.push_back(*p);
        }
    }
    ++p;
    const bool negative = *p == '-';
    int exponent = 0;
    std::from_chars(p + 1, written.ptr, exponent);
    d.Exponent = negative ? -exponent : exponent;
    StripTrailingZeros(d);
    if (d.IsZero()) {
        d.Exponent = 0;
    }
    return d;
}

// Rounds to a multiple of 10^position, halves away from zero.
Decimal RoundAt(Decimal d, int position) {
    if (d.IsZero()) {
        return d;
    }
    const long keep = static_cast<long>(d.Exponent) - position + 1;
    if (keep >= static_cast<long>(d.Digits.size())) {
        return d;
    }
    if (keep < 0) {
        return {};
    }
    const bool up = d.Digits[static_cast<std::size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = d.Digits.size();
        while (i > 0 && d.Digits[i - 1] == '9') {
            d.Digits[--i] = '0';
        }
        if (i == 0) {
            // Every kept digit carried (or none was kept): the value becomes 10^(position + keep).
            d.Digits.insert(d.Digits.begin(), '1');
            d.Exponent = position + static_cast<int>(keep);
            d.Digits.resize(1);
        } else {
            ++d.Digits[i - 1];
        }
    }
    StripTrailingZeros(d);
    if (d.IsZero()) {
        d.Exponent = 0;
    }
    return d;
}

char DigitAt(const Decimal& d, int power) {
    const long index = static_cast<long>(d.Exponent) - power;
    if (index < 0 || index >= static_cast<long>(d.Digits.size())) {
        return '0';
    }
    return d.Digits[static_cast<std::size_t>(index)];
}

std::string IntegerPart(const Decimal& d) {
    if (d.IsZero() || d.Exponent < 0) {
        return "0";
    }
    std::string s;
    for (int p = d.Exponent; p >= 0; --p) {
        s.push_back(DigitAt(d, p));
    }
    return s;
}

// Digits with the point after the first, "E" and the exponent ("-" only when negative).
std::string Scientific(const Decimal& d) {
    std::string s(1, d.Digits[0]);
    if (d.Digits.size() > 1) {
        s += '.';
        s.append(d.Digits, 1);
    }
    return s + "E" + std::to_string(d.Exponent);
}

std::string NonFinite(double x) {
    if (std::isnan(x)) {
        return "NAN";
    }
    return x < 0 ? "-INF" : "INF";
}

} // namespace

std::string FormatAverage(float value) {
    const double x = value;
    if (!std::isfinite(x)) {
        return NonFinite(x);
    }
    const Decimal exact = ExactDecimal(x);
    // Two decimals or five significant digits, whichever keeps fewer.
    const Decimal r = RoundAt(exact, std::max(-2, exact.Exponent - 4));
    if (r.IsZero()) {
        return "0.00";
    }
    const std::string sign = x < 0 ? "-" : "";
    if (r.Exponent >= 5) {
        return sign + Scientific(r);
    }
    return sign + IntegerPart(r) + "." + DigitAt(r, -1) + DigitAt(r, -2);
}

std::string FormatGeneral15(double value) {
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    const Decimal exact = ExactDecimal(value);
    if (exact.IsZero()) {
        return "0";
    }
    const Decimal r = RoundAt(exact, exact.Exponent - 14);
    const std::string sign = value < 0 ? "-" : "";
    if (r.Exponent >= 15 || r.Exponent < -4) {
        return sign + Scientific(r);
    }
    std::string s = sign + IntegerPart(r);
    const int lowest = r.Exponent - static_cast<int>(r.Digits.size()) + 1;
    if (lowest < 0) {
        s += '.';
        for (int p = -1; p >= lowest; --p) {
            s.push_back(DigitAt(r, p));
        }
    }
    return s;
}

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "-";
    }
    // to_chars, not printf: the point must not follow the process locale.
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed, decimals);
    std::string text(buffer.data(), written.ptr);
    // Never "-0.00": a value that rounds to zero reads as zero.
    if (text.find_first_of("123456789") == std::string::npos && text[0] == '-') {
        text.erase(0, 1);
    }
    return text;
}

#include "numfmt/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The text without surrounding blanks.
std::string_view Trim(const std::string& text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && IsBlank(text[b])) {
        ++b;
    }
    while (e > b && IsBlank(text[e - 1])) {
        --e;
    }
    return std::string_view(text).substr(b, e - b);
}

// Power of ten of the leading non-zero digit of a syntactically valid unsigned
// float text, clamped to a few digits more than any double needs.
long DecimalMagnitude(std::string_view s) {
    long exponent = 0;
    const std::size_t e = s.find_first_of("eE");
    if (e != std::string_view::npos) {
        std::size_t i = e + 1;
        const bool negative = s[i] == '-';
        if (s[i] == '+' || s[i] == '-') {
            ++i;
        }
        for (; i < s.size(); ++i) {
            exponent = std::min(exponent * 10 + (s[i] - '0'), 100000L);
        }
        if (negative) {
            exponent = -exponent;
        }
        s = s.substr(0, e);
    }
    const std::size_t point = std::min(s.find('.'), s.size());
    const std::size_t first = s.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return -100000L;
    }
    const long position =
        first < point ? static_cast<long>(point - first - 1) : -static_cast<long>(first - point);
    return position + exponent;
}

} // namespace

std::string NotIntegerText(const std::string& text) {
    return "'" + text + "' は整数ではありません";
}

std::string NotFloatText(const std::string& text) {
    return "'" + text + "' は浮動小数点数ではありません";
}

std::optional<int> TryStrToInt(const std::string& text) {
    std::string_view s = Trim(text);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : s) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > std::int64_t{1} << 31) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<double> TryStrToFloat(const std::string& text) {
    std::string_view s = Trim(text);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    // digits [ "." digits ] [ ("e"|"E") [sign] digits ], with at least one mantissa digit.
    std::size_t i = 0;
    std::size_t mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            ++i;
        }
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (end != s.data() + s.size()) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        // from_chars reports underflow and overflow alike; only overflow is refused,
        // an underflow reads as zero.
        if (DecimalMagnitude(s) > 0) {
            return std::nullopt;
        }
        value = 0.0;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

int StrToInt(const std::string& text) {
    if (const auto v = TryStrToInt(text)) {
        return *v;
    }
    throw EConvertError(NotIntegerText(text));
}

double StrToFloat(const std::string& text) {
    if (const auto v = TryStrToFloat(text)) {
        return *v;
    }
    throw EConvertError(NotFloatText(text));
}

std::optional<std::uint32_t> ParseSeed(const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const unsigned long long v = std::stoull(text);
    if (v > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(v);
}

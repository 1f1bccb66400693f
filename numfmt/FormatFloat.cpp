#include "numfmt/NumberFormats.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace {

struct Picture {
    std::string prefix;
    std::string suffix;
    int requiredIntDigits = 0;
    int requiredDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
    bool hasDigits = false;
};

bool IsPlaceholder(char c) {
    return c == '0' || c == '#' || c == '.' || c == ',';
}

std::vector<std::string> SplitSections(const std::string& format) {
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : format) {
        if (quote) {
            if (c == quote)
                quote = 0;
            sections.back() += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            sections.back() += c;
        } else if (c == ';' && sections.size() < 3) {
            sections.emplace_back();
        } else {
            sections.back() += c;
        }
    }
    return sections;
}

Picture ParsePicture(const std::string& section) {
    Picture p;
    int first = -1;
    int last = -1;
    char quote = 0;
    for (int i = 0; i < static_cast<int>(section.size()); ++i) {
        const char c = section[static_cast<std::size_t>(i)];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            continue;
        }
        if (IsPlaceholder(c)) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    auto literal = [](const std::string& s) {
        std::string out;
        char q = 0;
        for (char c : s) {
            if (q) {
                if (c == q)
                    q = 0;
                else
                    out += c;
            } else if (c == '"' || c == '\'') {
                q = c;
            } else {
                out += c;
            }
        }
        return out;
    };
    if (first < 0) {
        p.prefix = literal(section);
        return p;
    }
    p.prefix = literal(section.substr(0, static_cast<std::size_t>(first)));
    p.suffix = literal(section.substr(static_cast<std::size_t>(last) + 1));
    bool afterPoint = false;
    int decimals = 0;
    for (int i = first; i <= last; ++i) {
        const char c = section[static_cast<std::size_t>(i)];
        if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            if (!afterPoint)
                p.grouping = true;
        } else if (c == '0' || c == '#') {
            p.hasDigits = true;
            if (afterPoint) {
                ++decimals;
                if (c == '0')
                    p.requiredDecimals = decimals;
            } else if (c == '0') {
                ++p.requiredIntDigits;
            }
        }
    }
    p.maxDecimals = decimals;
    return p;
}

// Shortest round-trip decimal digits of |value| split at the point.
void DecimalDigits(double value, std::string& intPart, std::string& fracPart) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    std::string s(buf, res.ptr);
    const auto dot = s.find('.');
    if (dot == std::string::npos) {
        intPart = s;
        fracPart.clear();
    } else {
        intPart = s.substr(0, dot);
        fracPart = s.substr(dot + 1);
    }
}

// Rounds the decimal digits to `decimals` places, halves away from zero.
void RoundDigits(std::string& intPart, std::string& fracPart, int decimals) {
    const auto keep = static_cast<std::size_t>(decimals);
    if (fracPart.size() <= keep)
        return;
    const bool up = fracPart[keep] >= '5';
    fracPart.resize(keep);
    if (!up)
        return;
    std::string digits = intPart + fracPart;
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
        digits[static_cast<std::size_t>(i)] = '0';
        --i;
    }
    if (i < 0)
        digits.insert(digits.begin(), '1');
    else
        ++digits[static_cast<std::size_t>(i)];
    intPart = digits.substr(0, digits.size() - keep);
    fracPart = digits.substr(digits.size() - keep);
}

std::string Apply(const Picture& p, double value, bool withMinus) {
    if (!p.hasDigits)
        return (withMinus ? "-" : "") + p.prefix + p.suffix;
    std::string intPart;
    std::string fracPart;
    DecimalDigits(value, intPart, fracPart);
    RoundDigits(intPart, fracPart, p.maxDecimals);
    while (static_cast<int>(fracPart.size()) > p.requiredDecimals && !fracPart.empty() &&
           fracPart.back() == '0')
        fracPart.pop_back();
    while (static_cast<int>(fracPart.size()) < p.requiredDecimals)
        fracPart += '0';
    std::size_t nz = 0;
    while (nz < intPart.size() && intPart[nz] == '0')
        ++nz;
    intPart.erase(0, nz);
    while (static_cast<int>(intPart.size()) < p.requiredIntDigits)
        intPart.insert(intPart.begin(), '0');
    const bool isZero = intPart.find_first_not_of('0') == std::string::npos &&
                        fracPart.find_first_not_of('0') == std::string::npos;
    if (p.grouping && intPart.size() > 3) {
        std::string grouped;
        const std::size_t n = intPart.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped += ',';
            grouped += intPart[i];
        }
        intPart = grouped;
    }
    std::string out = (withMinus && !isZero) ? "-" : "";
    out += p.prefix + intPart;
    if (!fracPart.empty())
        out += "." + fracPart;
    return out + p.suffix;
}

} // namespace

std::string FormatFloat(const std::string& format, double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    const std::vector<std::string> sections = SplitSections(format);
    if (value == 0 && sections.size() >= 3 && !sections[2].empty())
        return Apply(ParsePicture(sections[2]), value, false);
    if (value < 0 && sections.size() >= 2 && !sections[1].empty())
        return Apply(ParsePicture(sections[1]), value, false);
    return Apply(ParsePicture(sections[0]), value, value < 0);
}

#include "platform/FontNames.h"

#include <array>
#include <utility>

std::string MappedFontFamily(const std::string& formFontName) {
    static const std::array<std::pair<const char*, const char*>, 7> table{{
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"MS UI Gothic", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"ＭＳ 明朝", "IPAMincho"},
        {"Arial", "IPAPGothic"},
        {"Tahoma", "IPAPGothic"},
    }};
    for (const auto& [from, to] : table)
        if (formFontName == from)
            return to;
    return formFontName;
}

#include "platform/MessageText.h"

#include <string_view>
#include <vector>

namespace {

// Length in bytes of the UTF-8 sequence starting with `lead`.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead >> 5) == 0x6)
        return 2;
    if ((lead >> 4) == 0xE)
        return 3;
    if ((lead >> 3) == 0x1E)
        return 4;
    return 1;
}

std::vector<std::string_view> CodePoints(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n =
            std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

bool IsSpace(std::string_view c) {
    return c == " " || c == "\u3000";
}

// Marks after which a line may end.
bool EndsClause(std::string_view c) {
    return c == "、" || c == "。" || c == "，" || c == "．" || c == "！" || c == "？";
}

// Marks that may not begin a line: they stay with what precedes them.
bool MayNotStartLine(std::string_view c) {
    static constexpr std::string_view marks[] = {
        "、", "。", "，", "．", "！", "？", "」", "』", "）", ")",  "】", "〉", "》", "〕",
        "］", "｝", "ー", "・", "：", "；", "ぁ", "ぃ", "ぅ", "ぇ", "ぉ", "っ", "ゃ", "ゅ",
        "ょ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ッ", "ャ", "ュ", "ョ", "々", "…"};
    for (std::string_view m : marks)
        if (c == m)
            return true;
    return false;
}

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    if (s.size() >= 3 && s.compare(s.size() - 3, 3, "\u3000") == 0)
        s.resize(s.size() - 3);
    return s;
}

// One paragraph (no line feeds) broken greedily at the allowed places.
std::string WrapParagraph(std::string_view paragraph, int maxWidth,
                          const std::function<int(const std::string&)>& width) {
    const std::vector<std::string_view> cps = CodePoints(paragraph);
    std::vector<std::string> pieces;
    std::string piece;
    for (std::size_t i = 0; i < cps.size(); ++i) {
        piece += cps[i];
        const bool last = i + 1 == cps.size();
        const bool breakAfter = IsSpace(cps[i]) || EndsClause(cps[i]);
        if (last || (breakAfter && !MayNotStartLine(cps[i + 1]) && !IsSpace(cps[i + 1]))) {
            pieces.push_back(piece);
            piece.clear();
        }
    }
    std::string out, line;
    for (const std::string& p : pieces) {
        if (!line.empty() && width(TrimRight(line + p)) > maxWidth) {
            out += TrimRight(line) + "\n";
            line = p;
        } else {
            line += p;
        }
    }
    return out + line;
}

} // namespace

std::string WrapMessageText(const std::string& text, int maxWidth,
                            const std::function<int(const std::string&)>& width) {
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        out += WrapParagraph(std::string_view(text).substr(start, end - start), maxWidth, width);
        if (end == std::string::npos)
            break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

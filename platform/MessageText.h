#pragma once
// Line breaking for message texts in Japanese. A line ends only after 、 or 。
// (with any closing marks that follow them), at a space, or at a line feed
// already in the text; a word of kana or kanji is never split, so no line
// starts with 、。」）ー or the second half of a word.

#include <functional>
#include <string>

// Breaks `text` (UTF-8) into lines of at most maxWidth as `width` measures
// them, where such a break is allowed; a piece with no break in it stays whole
// even when it is wider.
std::string WrapMessageText(const std::string& text, int maxWidth,
                            const std::function<int(const std::string&)>& width);

// Line breaking of Japanese message texts.

#include "platform/MessageText.h"

#include <gtest/gtest.h>

namespace {

// Half-width characters 6 pixels, everything else 12, as the dialog font.
int Width(const std::string& s) {
    int w = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80)
            w += 6;
        else if ((c & 0xC0) != 0x80)
            w += 12;
    }
    return w;
}

struct WrapCase {
    const char* Name;
    std::string Text;
    int MaxWidth;
    std::string Expected;
};

class MessageTextWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(MessageTextWrap, BreaksOnlyWhereJapaneseAllows) {
    const WrapCase& c = GetParam();
    EXPECT_EQ(WrapMessageText(c.Text, c.MaxWidth, Width), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageTextWrap,
    ::testing::Values(
        WrapCase{"FitsOnOneLine", "Play数は、1以上にしてください。", 400,
                 "Play数は、1以上にしてください。"},
        WrapCase{
            "TooManyPlaysBreaksAfterClauses",
            "Play数が大きすぎて、記録をメモリに保持できません。Play数を減らしてください。", 290,
            "Play数が大きすぎて、\n記録をメモリに保持できません。\nPlay数を減らしてください。"},
        WrapCase{"KeepsBothClausesWhenTheyFit",
                 "Play数が大きすぎて、記録をメモリに保持できません。Play数を減らしてください。",
                 340,
                 "Play数が大きすぎて、記録をメモリに保持できません。\nPlay数を減らしてください。"},
        WrapCase{"WordIsNeverSplit", "ください。ください。", 50, "ください。\nください。"},
        WrapCase{"LongPieceStaysWhole", "記録をメモリに保持できません", 60,
                 "記録をメモリに保持できません"},
        WrapCase{"ClosingMarkStaysWithItsSentence", "「はい。」と言った。次です。", 80,
                 "「はい。」と言った。\n次です。"},
        WrapCase{"NoLineStartsWithALongVowelMark", "データ。ーー続き", 60, "データ。ーー続き"},
        WrapCase{"SpaceIsABreakAndIsDropped", "abc defgh ij", 40, "abc\ndefgh\nij"},
        WrapCase{"LineFeedsStay", "保存できませんでした。\n/tmp/a.sim", 400,
                 "保存できませんでした。\n/tmp/a.sim"},
        WrapCase{"EachParagraphWrapsByItself", "あいう、えお。\nかき、くけこ。", 60,
                 "あいう、\nえお。\nかき、\nくけこ。"},
        WrapCase{"EmptyText", "", 100, ""}),
    [](const ::testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.Name); });

} // namespace
